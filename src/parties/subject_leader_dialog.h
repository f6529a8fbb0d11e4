// The entry dialog of a subject leader, in new mode ("新增－－【学科带头人名单】") or modify mode
// ("修改－－【学科带头人名单】"). 储存 checks and writes the row, then closes; 退出 asks to save
// unsaved changes.
#pragma once

#include "forms/entry_dialog.h"
#include "parties/subject_leaders.h"
#include "store/database.h"

class QComboBox;
class QLineEdit;

namespace xb::parties {

class TFinto11 : public forms::EntryDialog {
    Q_OBJECT

  public:
    explicit TFinto11(store::Database& db, QWidget* parent = nullptr);

    // Shows the dialog modally for a new leader of the organization; true when one was stored.
    bool showNew(const QString& unitCode);
    // Shows the dialog modally for a listed leader; true when it was stored.
    bool showModify(const SubjectLeader& leader);

    bool isNewMode() const { return mode() == forms::EntryMode::New; }
    LeaderEntry entry() const;

  public slots:
    void btnSave01Click() { save(); }
    void quit01Click() { quit(); }

  protected:
    void prepareFill() override;
    bool isEmpty() const override;
    bool savesSilentlyWhenEmpty() const override { return false; }
    std::optional<forms::CheckFailure> check() override;
    store::Status store() override;

  private:
    store::Database& db_;
    QLineEdit* name_;
    QComboBox* sex_;
    QLineEdit* year_;
    QLineEdit* month_;
    QComboBox* field_;
    QLineEdit* description_;
    forms::ChangeMarker* fieldMarker_;
    QString unitCode_;
    uint32_t record_ = 0;
};

} // namespace xb::parties
