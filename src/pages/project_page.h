// The project and evaluation page (banner "课题立项，评价情况"): where the project came from
// (its source, the national plan or the sub-plan below the source), its number and name, the funds
// invested by source with the computed local subtotal and total, and how, by whom and when the
// achievement was evaluated; all fields of the achievement record. The evaluation form comes from
// the dictionary of the record's category.
#pragma once

#include "forms/record_page.h"
#include "pages/option_panel.h"
#include "pages/project_rules.h"
#include "store/database.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace xb::ui {
class HelpWindow;
}
namespace xb::forms {
class AmountSum;
}

namespace xb::pages {

class TFpage3 : public forms::RecordPage {
    Q_OBJECT

  public:
    explicit TFpage3(store::Database& db, QWidget* parent = nullptr);
    ~TFpage3() override;

    ProjectEntry entry() const;

  protected:
    void prepareFill(const store::Cursor& record) override;
    void afterFill(const store::Cursor& record) override;
    std::optional<forms::CheckFailure> check() override;
    void help() override;

  private:
    QWidget* buildSources();
    QWidget* buildAmounts();
    QLineEdit* amountBox(const char* name, bool computed);
    void bindFields();
    // A source box checked or unchecked, by the user or by the program.
    void sourceToggled(QCheckBox* source, bool checked);
    // Fills the sub-plan list with the plans below a source; true when it has any.
    bool fillSubPlans(const QString& sourceCode);
    void showSubPlans(bool visible);
    QComboBox* evaluationList() const;

    store::Database& db_;
    QWidget* pl_126_;
    QWidget* pl_140_;
    QCheckBox* national_; // 国家计划, checked only through a national plan or a stored 01;
    std::unique_ptr<OptionPanel> sources_;
    std::unique_ptr<OptionPanel> plans_;
    QLabel* subPlanLabel_;
    QComboBox* cb_41_;
    QLineEdit* edt_127_1_;
    QLineEdit* edt_127_;
    QLabel* numberLabel_;
    QLineEdit* edt_149_;
    QLineEdit* edt_141_;
    QLineEdit* edt_148_;
    QLineEdit* edt_142_;
    QLineEdit* edt_142_1_;
    QLineEdit* edt_142_2_;
    QLineEdit* edt_142_3_;
    QLineEdit* edt_143_;
    QLineEdit* edt_144_;
    QLineEdit* edt_243_;
    QLineEdit* edt_244_;
    QLineEdit* edt_145_;
    QComboBox* cb_21_;
    QComboBox* cb_21_l_;
    QLineEdit* edt_130_;
    QLineEdit* edt_34_y_;
    QLineEdit* edt_34_m_;
    QLineEdit* edt_34_d_;
    QLineEdit* edt_22_;
    forms::AmountSum* localSum_ = nullptr;
    forms::AmountSum* totalSum_ = nullptr;
    ui::HelpWindow* appliedHelp_;
    ui::HelpWindow* otherHelp_;
    bool applied_ = true;   // the record is of applied technology
    QString storedSources_; // item_126 as the page was filled from it
};

} // namespace xb::pages
