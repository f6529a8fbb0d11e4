// The entry dialog of one patent, in new mode ("新增－－【专利情况】") or modify mode
// ("修改－－【专利情况】"): status and type from their dictionaries, number and name. 储存 checks
// and writes the row at once, then closes; 退出 asks to save unsaved changes, and a failed check
// then keeps the dialog open with what was typed.
#pragma once

#include "forms/entry_dialog.h"
#include "pages/patent_rows.h"
#include "store/database.h"

class QComboBox;
class QLineEdit;

namespace xb::pages {

class TFinto6 : public forms::EntryDialog {
    Q_OBJECT

  public:
    explicit TFinto6(store::Database& db, QWidget* parent = nullptr);

    // Shows the dialog modally for a new patent of the record with this key; true when stored.
    bool showNew(const store::Params& key);
    // Shows the dialog modally for the patent stored in physical record `record`.
    bool showModify(uint32_t record);

    PatentEntry entry() const;

  public slots:
    void Button1Click() { save(); } // 储存
    void Button2Click() { quit(); } // 退出

  protected:
    void prepareFill() override;
    bool isEmpty() const override;
    bool savesSilentlyWhenEmpty() const override { return false; }
    std::optional<forms::CheckFailure> check() override;
    store::Status store() override;

  private:
    store::Database& db_;
    QComboBox* status_;
    QComboBox* type_;
    QLineEdit* number_;
    QLineEdit* name_;
    store::Params key_;
    uint32_t record_ = 0;
};

} // namespace xb::pages
