// The base of every single-record page. A page lays out its controls in body(), binds them to
// the fields of its row (binder()), and says its checks; the base does the rest:
// - open(): fills the page from the row, sets the caption "成果名称：" + item_3, shows it modally
//   (fixed 800 × 600, no close box; Escape and the window manager do not close it);
// - Save: the checks in order (the first failure shows its message in the warning box and moves
//   the focus, switching to the tab that holds the control) → edit → write → post → "储存成功！";
//   a refused value or post cancels the edit, so the row is never left in edit state, and shows
//   the engine's message in the "提示" box;
// - Quit: the checks (when the page runs them on quit) → the question "记录已经更改,是否保存？"
//   when the page differs from the row → Save → close (or stay open when that save failed, for
//   pages that keep the user on a failed save).
// open() reports whether a save succeeded while the page was shown.
#pragma once

#include "forms/check_failure.h"
#include "forms/field_binder.h"
#include "forms/page_frame.h"
#include "forms/section_page.h"

#include <QDialog>
#include <optional>

class QPushButton;

namespace xb::forms {

class ChangeMarker;

// Object names of the page's buttons; an empty help name means the page has no help button.
struct RecordPageButtons {
    QString save = QStringLiteral("btnSave01");
    QString quit = QStringLiteral("quit01");
    QString help;
};

// What the page does when 退出 is pressed.
struct QuitRules {
    bool runsChecks = true;             // the checks run before the unsaved-change question
    bool staysOpenOnFailedSave = false; // a save answered with Yes that fails keeps the page open
};

class RecordPage : public QDialog, public SectionPage {
    Q_OBJECT

  public:
    bool open(store::Cursor& record, int categoryPosition) override;
    // Fills the page from the row without showing it.
    void load(store::Cursor& record, int categoryPosition = 0);

    FieldBinder& binder() { return binder_; }
    ChangeMarker& marker() { return *marker_; }
    // The row being edited while the page is open; null otherwise.
    store::Cursor* row() const { return row_; }
    int categoryPosition() const { return categoryPosition_; }

  public slots:
    // 储存: true when the row was stored.
    bool save();
    // 退出.
    void quit();

  protected:
    // `table` names the table of the row (for the field widths).
    RecordPage(const QString& objectName, const QString& banner, const std::string& table,
               RecordPageButtons buttons, QuitRules quitRules, QWidget* parent);

    // The area below the banner where the page lays out its controls.
    QWidget* body() const { return body_; }
    QPushButton* helpButton() const { return help_; }
    // Puts a button of the page's own at the left of the button row.
    void addButton(QPushButton* button);
    // Writes the row as 储存 does, without checks and messages; a refusal cancels the edit.
    store::Status writeRow();

    // Before the binder fills the controls: refill lists, clear check boxes.
    virtual void prepareFill(const store::Cursor& record) { (void)record; }
    // After the binder filled the controls: enable or hide controls by what was filled.
    virtual void afterFill(const store::Cursor& record) { (void)record; }
    // The page's checks in their order; the first failure, or nothing when all pass. A failure
    // without a message was reported by the check itself.
    virtual std::optional<CheckFailure> check() { return std::nullopt; }
    // 储存, once the checks passed and before the row is written: questions the save depends on.
    virtual void beforeWrite() {}
    // 储存, after the row was posted: what follows a stored row (before "储存成功！").
    virtual void afterPost() {}
    // After the bound fields were written: the page's computed fields and write rules.
    virtual store::Status writeMore(store::Cursor& record) {
        (void)record;
        return {};
    }
    // Differences the bindings cannot see.
    virtual bool differsMore(const store::Cursor& record) const {
        (void)record;
        return false;
    }
    // Puts the row in edit state; a page whose row may not exist yet appends it.
    virtual store::Status beginEdit(store::Cursor& record);
    // The caption shown while the page is open.
    virtual QString caption(const store::Cursor& record) const;
    // 帮助.
    virtual void help() {}

    // Reports a failure while the page is being filled: open() then says "读入数据时出错:" with
    // the error and does not show the page (the first failure of a filling is the one shown).
    void fillFailed(const store::Error& error);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override {}

  private:
    void fill();

    ChangeMarker* marker_;
    FieldBinder binder_;
    QuitRules quitRules_;
    QWidget* body_;
    PageFrame frame_;
    QPushButton* help_ = nullptr;
    store::Cursor* row_ = nullptr;
    int categoryPosition_ = 0;
    bool saved_ = false;
    std::optional<store::Error> fillError_;
};

} // namespace xb::forms
