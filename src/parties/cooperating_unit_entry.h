// The entry dialog of one cooperating organization, in new mode ("新增－－【合作完成单位情况】")
// or modify mode ("修改－－【合作完成单位情况】"). No field is required: 储存 stores what was typed
// (an empty dialog closes without storing) and 退出 asks to save unsaved changes.
#pragma once

#include "forms/entry_dialog.h"
#include "parties/cooperating_units.h"

class QLineEdit;

namespace xb::parties {

class TFinto5 : public forms::EntryDialog {
    Q_OBJECT

  public:
    explicit TFinto5(store::Database& db, QWidget* parent = nullptr);

    // Shows the dialog modally for a new organization of the record `key` after `listed` ones;
    // true when one was stored.
    bool showNew(const store::Params& key, int listed);
    // Shows the dialog modally for the organization the cursor stands on; true when stored.
    bool showModify(const store::Params& key, const store::Cursor& row);

  public slots:
    void btnSave01Click() { save(); }
    void quit01Click() { quit(); }

  protected:
    void prepareNew() override;
    bool isEmpty() const override;
    bool quitsSilently() const override;
    std::optional<forms::CheckFailure> check() override;
    store::Status store() override;

  private:
    store::Database& db_;
    QLineEdit* order_;
    QLineEdit* name_;
    QLineEdit* address_;
    QLineEdit* postcode_;
    QLineEdit* contact_;
    QLineEdit* telephone_;
    store::Params key_;
    int listed_ = 0;
    uint32_t record_ = 0;
};

} // namespace xb::parties
