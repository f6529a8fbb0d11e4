// The first completing organization page (banner "第一完成单位情况"): name, code, address and
// contacts of the organization that completed the achievement first, its attribute, province
// and ministry, and a contact for the transfer of the achievement; all fields of the achievement
// record. When the record's organization is the own organization, the profile's current data are
// shown, so that the next save copies them into the record.
#pragma once

#include "forms/record_page.h"
#include "parties/first_unit_rules.h"
#include "store/database.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace xb::ui {
class HelpWindow;
}

namespace xb::parties {

class TFpage4 : public forms::RecordPage {
    Q_OBJECT

  public:
    explicit TFpage4(store::Database& db, QWidget* parent = nullptr);

    ui::HelpWindow& helpWindow() const { return *help_; }
    FirstUnitEntry entry() const;

  public slots:
    void cb_62Change();

  protected:
    void prepareFill(const store::Cursor& record) override;
    void afterFill(const store::Cursor& record) override;
    std::optional<forms::CheckFailure> check() override;
    store::Status writeMore(store::Cursor& record) override;
    void help() override;

  private:
    QLineEdit* addText(const char* name, const char* field);
    QComboBox* addList(const char* name, const char* field);

    store::Database& db_;
    QLineEdit* edt_9_;
    QLineEdit* edt_420_;
    QLineEdit* edt_37_;
    QLineEdit* edt_38_;
    QLineEdit* edt_39_;
    QLineEdit* edt_40_;
    QLineEdit* edt_60_;
    QComboBox* cb_62_;
    QComboBox* cb_41_3_;
    QCheckBox* cb_163_;
    QComboBox* cb_64_;
    QComboBox* cb_63_;
    QLineEdit* edt_41_;
    QLineEdit* edt_41_2_;
    QLineEdit* edt_61_;
    QLineEdit* linkMan_;
    QLineEdit* linkManTel_;
    QLineEdit* linkManEmail_;
    ui::HelpWindow* help_;
};

} // namespace xb::parties
