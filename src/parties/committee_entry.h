// The entry dialog of a committee member, in new mode ("新增－－【评价委员会名单】") or modify mode
// ("修改－－【评价委员会名单】"). Choosing the chairman duty while the list already holds a
// chairman gives "只能有一个主任委员" and sets the duty back to 委员. 储存 checks, writes the
// row, gives every member of the record its duty rank and closes; 退出 asks to save unsaved
// changes.
#pragma once

#include "forms/entry_dialog.h"
#include "parties/committee_rules.h"
#include "store/database.h"

class QComboBox;
class QLineEdit;

namespace xb::parties {

class TFinto7 : public forms::EntryDialog {
    Q_OBJECT

  public:
    explicit TFinto7(store::Database& db, QWidget* parent = nullptr);

    // Shows the dialog modally for a new member of the record; `listedDuties` are the stored
    // duties of the members listed on the page. True when a member was stored.
    bool showNew(const CommitteeKey& key, const QStringList& listedDuties);
    // Shows the dialog modally for the member stored in physical record `record`.
    bool showModify(const CommitteeKey& key, uint32_t record, const QStringList& listedDuties);

    MemberEntry entry() const;

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
    void dutyChosen(int index);

    store::Database& db_;
    QComboBox* duty_;
    QLineEdit* name_;
    QComboBox* sex_;
    QComboBox* title_;
    QLineEdit* unit_;
    QLineEdit* studied_;
    QLineEdit* practised_;
    CommitteeKey key_;
    uint32_t record_ = 0;
    QStringList listedDuties_;
};

} // namespace xb::parties
