// The intellectual property and application page (banner "知识产权，成果应用情况"), for applied
// technology only: the forms of intellectual property with the patent counts derived from the
// record's patents and the software registration, the application status with its reasons, the
// transfers and benefits, the forms of promotion and the expected investment and profit; all
// fields of the achievement record. The patents themselves are kept in the patent list, which
// this page opens.
//
// While 专利 is checked the counts, status summary and type list shown and saved are computed from
// the patent rows. Unchecking 专利 while patents exist asks, once the checks have passed, whether
// to delete them; they are deleted only after the record has been stored.
#pragma once

#include "forms/record_page.h"
#include "pages/patent_rows.h"
#include "store/database.h"

#include <QList>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace xb::ui {
class HelpWindow;
}

namespace xb::pages {

class OptionPanel;
class TFpage6;

class TFpage2 : public forms::RecordPage {
    Q_OBJECT

  public:
    explicit TFpage2(store::Database& db, QWidget* parent = nullptr);
    ~TFpage2() override;

    TFpage6& patentList() const { return *patentList_; }
    // Called after the patent list was left (the main window re-evaluates its controls).
    void setPatentListLeft(std::function<void()> action) { patentListLeft_ = std::move(action); }

  public slots:
    void Button1Click(); // 进入填写专利
    void cb_51_1Click(); // 专利 or 软件著作权 clicked
    void cb_32Change();  // 应用状态 changed by the user

  protected:
    void prepareFill(const store::Cursor& record) override;
    void afterFill(const store::Cursor& record) override;
    std::optional<forms::CheckFailure> check() override;
    void beforeWrite() override;
    void afterPost() override;
    void help() override;

  private:
    void buildLayout();
    QLineEdit* addAmountBox(const char* name, const char* field, int maxDigits);
    QCheckBox* addOption(QWidget* panel, const char* name, const QString& caption);
    void bindPanel(const char* field, const OptionPanel& panel, bool onlyWhenNotStable);
    // The forms of intellectual property refreshed: patent counts and groups shown or hidden.
    // On opening the stored texts stay in the boxes of the hidden groups.
    void refreshProperty(bool opening);
    void applyStatus(bool clearsReasons, bool emptiesAmounts, const QList<QLineEdit*>& amounts);
    bool patentsChecked() const;
    void showStored(QLineEdit* box, const char* field);

    store::Database& db_;
    QWidget* pl51_;
    QCheckBox* patents_;
    QCheckBox* software_;
    QWidget* patentGroup_;
    QWidget* softwareGroup_;
    QLineEdit* edt_51_2_;
    QLineEdit* edt_51_3_;
    QPushButton* enterPatents_;
    QLineEdit* edt_53_;
    QLineEdit* edt_52_;
    QComboBox* cb_32_;
    QLineEdit* edt_45_;
    QLineEdit* edt_150_;
    QLineEdit* edt_162_;
    QLineEdit* edt_151_1_;
    QLineEdit* edt_152_1_;
    QLineEdit* edt_153_;
    QLineEdit* edt_154_;
    QWidget* pl_161_;
    QComboBox* cb_46_;
    QComboBox* cb_47_;
    QWidget* pl_32_1_;
    QWidget* pl_160_;
    std::unique_ptr<OptionPanel> forms_;
    std::unique_ptr<OptionPanel> promotion_;
    std::unique_ptr<OptionPanel> reasons_;
    std::unique_ptr<OptionPanel> subReasons_;
    PatentSummary summary_;
    bool deletePatents_ = false;
    TFpage6* patentList_;
    ui::HelpWindow* help_;
    std::function<void()> patentListLeft_;
};

} // namespace xb::pages
