// The overview page (banner "成  果  概  况"): registration number and date, recommending
// organization, research period, secrecy level, keywords, the form, level, stage and attributes
// of the achievement, its discipline and library classifications, its high-tech field or
// socio-economic goal, its industries and the two long texts, all fields of the achievement
// record. It has two layouts: applied technology, and soft science with basic theory; the
// record's own category chooses the layout, which decides what is shown, checked, written and
// compared. 退出 runs the checks before it asks about unsaved changes.
#pragma once

#include "forms/record_page.h"
#include "pages/overview_rules.h"

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

namespace xb::forms {
class ClassificationBox;
}
namespace xb::store {
class RecordStore;
}
namespace xb::ui {
class HelpWindow;
}

namespace xb::pages {

class OptionPanel;
class TFormTree;

class TFpage1 : public forms::RecordPage {
    Q_OBJECT

  public:
    // `picker` is the program's classification picker, used for the four classification boxes.
    TFpage1(store::RecordStore& store, TFormTree& picker, QWidget* parent = nullptr);
    ~TFpage1() override;

    bool appliedLayout() const { return applied_; }

  protected:
    void prepareFill(const store::Cursor& record) override;
    void afterFill(const store::Cursor& record) override;
    std::optional<forms::CheckFailure> check() override;
    store::Status writeMore(store::Cursor& record) override;
    void help() override;

  private:
    struct Classification {
        forms::ClassificationBox* box;
        const char* field;
        QString table;
    };

    QWidget* buildFields();
    QWidget* buildFormTab();
    QWidget* buildIndustryTab();
    void bindFields();
    // A pick list bound to a field of one layout: outside it, it stores "" and never differs.
    void bindLayoutCode(QComboBox* list, const char* field, bool attribute = false);
    void bindPanel(OptionPanel& panel, const char* field);
    void bindClassification(const Classification& c);
    void applyLayout();
    void keywordChain();
    void tabChanged(int index);
    bool tableMode(const Classification& c) const;
    void pickClassification(const Classification& c);
    OverviewEntry entry() const;

    store::RecordStore& store_;
    TFormTree& picker_;
    bool applied_ = true;
    int shownTab_ = 0;

    QLineEdit* edt_120_;
    QLineEdit* edt_128_;
    QLineEdit* edt_121_y_;
    QLineEdit* edt_121_m_;
    QLineEdit* edt_121_d_;
    QLineEdit* edt_8_y_s_;
    QLineEdit* edt_8_m_s_;
    QLineEdit* edt_8_y_e_;
    QLineEdit* edt_8_m_e_;
    QComboBox* cb_1_;
    QComboBox* cb_125_1_;
    QLineEdit* edt_14_[3];
    QComboBox* cb_210_;
    QComboBox* cb_2_;
    QComboBox* cb_16_;
    QComboBox* cb_201_;
    QComboBox* cb_33_;
    QList<Classification> classifications_;
    std::unique_ptr<OptionPanel> pl_123_;
    std::unique_ptr<OptionPanel> pl_124_1_;
    std::unique_ptr<OptionPanel> pl_200_;
    std::unique_ptr<OptionPanel> pl_125_;
    QPlainTextEdit* mo_13_1_;
    QPlainTextEdit* mo_13_;
    QTabWidget* tabs_;
    QList<QWidget*> appliedOnly_; // controls and labels of the applied layout
    QList<QWidget*> otherOnly_;   // those of the other layout
    QLabel* fieldLabel_; // 所属高新科技领域, or 社会经济目标 in the other layout
    ui::HelpWindow* helpApplied_;
    ui::HelpWindow* helpOther_;
};

} // namespace xb::pages
