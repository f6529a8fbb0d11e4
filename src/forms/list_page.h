// The base of every list page: a read-only grid over child rows with 新增, 修改, 删除, 退出 and
// 帮助. A page names its columns and buttons, says how its rows are selected, and opens its
// entry dialog; the base does the rest:
// - 修改 on an empty list opens 新增;
// - 删除 asks "是否删除该项目？!", deletes the selected physical row, renumbers when the page
//   numbers its rows, and selects the row that now holds the deleted one's place (or the first);
// - 退出 closes the page (a page may refuse, e.g. an empty list that must not stay empty);
// - a page may also offer the window's close box, which closes it without marking it done;
// - open() reports whether leaving the page marks its section done.
#pragma once

#include "forms/child_rows.h"
#include "forms/page_frame.h"
#include "forms/section_page.h"

#include <QDialog>
#include <QList>
#include <functional>
#include <optional>

class QPushButton;
class QTableWidget;

namespace xb::forms {

struct ListColumn {
    QString title;
    // The cell text of the current row of the shown rows.
    std::function<QString(const store::Cursor&)> text;
    int width = 100;
    bool maroon = false; // the title of a column the form requires
};

// A column that shows a field as stored.
ListColumn fieldColumn(const QString& title, const char* field, int width, bool maroon = false);

struct ListPageButtons {
    QString add = QStringLiteral("Button2");
    QString change = QStringLiteral("Button3");
    QString remove = QStringLiteral("Button1");
    QString quit = QStringLiteral("quit01");
    QString help; // none when empty
};

// Which row is selected after a deletion.
enum class AfterDelete {
    SamePlace, // the row that now stands where the deleted one stood (the last when it was last)
    FirstRow,
};

class ListPage : public QDialog, public SectionPage {
    Q_OBJECT

  public:
    // Shows the child rows of the record the cursor stands on.
    bool open(store::Cursor& record, int categoryPosition) override;

    QTableWidget* grid() const { return grid_; }
    ChildRows& rows() { return rows_; }
    // The selected row; -1 when the list is empty.
    int selectedRow() const;
    int categoryPosition() const { return categoryPosition_; }
    store::Cursor* record() const { return record_; }

  public slots:
    void addClicked();
    void changeClicked();
    void removeClicked();
    void quitClicked();

  protected:
    ListPage(store::Database& db, const QString& objectName, const QString& header,
             const std::string& table, ListPageButtons buttons, QWidget* parent);

    void setColumns(QList<ListColumn> columns);
    // Gives the page the window's close box: it closes the page, and leaving so never marks the
    // section done.
    void offerCloseBox();
    // Shows the page modally over the rows selected so far; true when left as done.
    bool showList();
    // Reads the rows again and selects `row` (clamped to the list); keeps the selection by
    // physical record when `record` is given and still listed.
    void reload(int row, uint32_t record = 0);

    // The statement and values that select the record's rows, in shown order.
    virtual void selectRowsOf(const store::Cursor& record) = 0;
    // After the rows were read on opening: bring numbers in order, etc.
    virtual void prepareRows() {}
    // The rows as shown (with label fields); by default the listed rows themselves.
    virtual std::unique_ptr<store::Cursor> shownRows() { return nullptr; }
    // Opens the entry dialog in new mode; true when a row was stored.
    virtual bool addRow() = 0;
    // Opens the entry dialog in modify mode for `row`; true when it was stored.
    virtual bool changeRow(int row) = 0;
    // The number field renumbered 1 to n after a deletion; empty when rows keep their numbers.
    virtual std::string numberField() const { return {}; }
    virtual AfterDelete afterDelete() const { return AfterDelete::SamePlace; }
    // 退出: whether the page may close now (it shows its own message when not), and whether
    // leaving marks the section done.
    virtual bool mayLeave() { return true; }
    virtual bool leavingMarksDone() const { return true; }
    virtual void help() {}
    // 修改 is disabled on an empty list instead of opening 新增.
    virtual bool disablesChangeWhenEmpty() const { return false; }

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override {}

  private:
    void fillGrid();

    ChildRows rows_;
    QList<ListColumn> columns_;
    QTableWidget* grid_;
    PageFrame frame_;
    QPushButton* change_;
    QPushButton* remove_;
    store::Cursor* record_ = nullptr;
    int categoryPosition_ = 0;
    bool done_ = false;
    bool closeBox_ = false;
};

} // namespace xb::forms
