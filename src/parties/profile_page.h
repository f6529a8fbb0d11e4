// The own-organization profile page (caption "单位情况"): edits the one row of table `unit`.
// The main window opens it from its button 单位情况, and at start before anything else when
// `unit` has no row:
//
//     page.fillFromProfile();
//     if (ui::showModal(page) == QDialog::Accepted) /* enable the record controls */;
//
// The page has no close box: it is left only by 退出, which runs the checks first and closes
// the page with Accepted once they pass. It owns the classification picker it uses, the three
// text dialogs and the subject leaders page. Saving writes the current `unit` row, appending
// the first row to an empty table, with the own organization's fixed values.
#pragma once

#include "forms/record_page.h"
#include "parties/unit_profile.h"
#include "store/record_store.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

namespace xb::forms {
class ChangeMarker;
class ClassificationBox;
class ClickableTextArea;
} // namespace xb::forms

namespace xb::pages {
class TFormTree;
} // namespace xb::pages

namespace xb::parties {

class TFormstudy;
class TFpage11;
class Tformadvantage;
class Tformunitintrod;

class TFpage4a : public forms::RecordPage {
    Q_OBJECT

  public:
    explicit TFpage4a(store::RecordStore& store, QWidget* parent = nullptr);
    ~TFpage4a() override;

    // Fills every control from the current `unit` row, or empties them when there is none.
    void fillFromProfile();
    // Fills the page and shows it modally; Accepted once the user left it with 退出.
    int showProfile();

    // What the page shows, in the form it is stored.
    UnitProfile shownProfile() const;
    // Whether a code box was edited since the page was filled or saved.
    bool changeMarkerSet() const;

    pages::TFormTree& picker() const { return *picker_; }
    TFpage11& subjectLeadersPage() const { return *leadersPage_; }

  public slots:
    void btnSave01Click() { save(); }
    void quit01Click() { quit(); }
    void BitBtndtrClick();
    void cb_62Change();
    void Memo1Click();
    void Memo2Click();
    void Memo3Click();
    // The drop-down of any of the forty code boxes: the picker on the box's classification.
    void codeBoxDropDown(forms::ClassificationBox* box);

  protected:
    QString caption(const store::Cursor& record) const override;
    void prepareFill(const store::Cursor& record) override;
    void afterFill(const store::Cursor& record) override;
    std::optional<forms::CheckFailure> check() override;
    store::Status beginEdit(store::Cursor& record) override;
    store::Status writeMore(store::Cursor& record) override;
    bool differsMore(const store::Cursor& record) const override;

  private:
    struct CodeList {
        QString table;
        const char* field;
        QList<forms::ClassificationBox*> boxes;
    };

    QWidget* buildBasicTab();
    QWidget* buildCodeListTab(int first, int second, const QString& textCaption,
                              forms::ClickableTextArea* text);
    QLineEdit* addLineEdit(const char* name, const char* field);
    forms::ClassificationBox* addCodeBox(const QString& name, const QString& table);
    void createCodeLists();
    void bindFields();

    store::RecordStore& store_;
    std::unique_ptr<store::Cursor> profileRow_;
    QTabWidget* tabs_;
    QLineEdit* edt_9_;
    QLineEdit* edt_420_;
    QLineEdit* edt_37_;
    QLineEdit* edt_38_;
    QLineEdit* edt_39_;
    QLineEdit* edt_40_;
    QLineEdit* edt_60_;
    QLineEdit* edt_41_;
    QLineEdit* edt_41_2_;
    QLineEdit* edt_61_;
    QComboBox* cb_62_;
    QComboBox* cb_41_3_;
    QComboBox* cb_64_;
    QCheckBox* cb_163_;
    forms::ClickableTextArea* memo1_;
    forms::ClickableTextArea* memo2_;
    forms::ClickableTextArea* memo3_;
    // 研究领域, 研究所属学科, 优势领域, 优势学科, in this order.
    QList<CodeList> codeLists_;
    // Set by edits of the code boxes, which the comparison with the row does not cover.
    forms::ChangeMarker* codeMarker_;
    pages::TFormTree* picker_;
    TFormstudy* studyDialog_;
    Tformadvantage* advantageDialog_;
    Tformunitintrod* introductionDialog_;
    TFpage11* leadersPage_;
};

} // namespace xb::parties
