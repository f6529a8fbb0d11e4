// The entry dialog of one completer, in new mode ("新增－－【成果完成人员名单】") or modify mode
// ("修改－－【成果完成人员名单】"). 储存 checks the entry and stores it, with the completer pool
// refreshed for a new completer and the list renumbered; 退出 asks to save unsaved changes.
#pragma once

#include "forms/entry_dialog.h"
#include "parties/completer_rules.h"
#include "store/database.h"

class QComboBox;
class QLineEdit;

namespace xb::parties {

class TFinto8 : public forms::EntryDialog {
    Q_OBJECT

  public:
    explicit TFinto8(store::Database& db, QWidget* parent = nullptr);

    // Shows the dialog modally for a new completer of the record `key` after `listed` ones;
    // the work organization is preset to `firstUnit`. True when one was stored.
    bool showNew(const store::Params& key, const QString& firstUnit, int listed);
    // Shows the dialog modally for the completer the cursor stands on; true when it was stored.
    bool showModify(const store::Params& key, const store::Cursor& row);

    CompleterEntry entry() const;

  public slots:
    void btnSave01Click() { save(); }
    void quit01Click() { quit(); }

  protected:
    void prepareFill() override;
    void prepareNew() override;
    bool isEmpty() const override;
    bool quitsSilently() const override;
    std::optional<forms::CheckFailure> check() override;
    store::Status store() override;
    QString leaveQuestion() const override { return QStringLiteral("记录已更改,是否保存后退出？"); }

  private:
    void bindCode(QComboBox* list, const char* field);

    store::Database& db_;
    QLineEdit* order_;
    QLineEdit* name_;
    QComboBox* sex_;
    QLineEdit* year_;
    QLineEdit* month_;
    QComboBox* title_;
    QComboBox* education_;
    QComboBox* studyAbroad_;
    QLineEdit* workUnit_;
    QLineEdit* contribution_;
    store::Params key_;
    QString firstUnit_;
    int listed_ = 0;
    uint32_t record_ = 0;
};

} // namespace xb::parties
