#include "forms/list_page.h"

#include "ui/modal.h"
#include "ui/prompter.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace xb::forms {

ListColumn fieldColumn(const QString& title, const char* field, int width, bool maroon) {
    const std::string name = field;
    return {title,
            [name](const store::Cursor& row) { return QString::fromStdString(row.text(name)); },
            width, maroon};
}

ListPage::ListPage(store::Database& db, const QString& objectName, const QString& header,
                   const std::string& table, ListPageButtons buttons, QWidget* parent)
    : QDialog(parent), rows_(db, table), grid_(new QTableWidget(this)),
      frame_(*this, header, grid_, true) {
    setObjectName(objectName);
    setWindowTitle(header);

    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->setVisible(false);
    grid_->horizontalHeader()->setStretchLastSection(true);

    if (!buttons.help.isEmpty()) {
        auto* help = new QPushButton(QStringLiteral("帮助"), this);
        help->setObjectName(buttons.help);
        frame_.addLeftButton(help, [this] { this->help(); });
    }
    frame_.addButton(QStringLiteral("新增"), buttons.add, [this] { addClicked(); });
    change_ = frame_.addButton(QStringLiteral("修改"), buttons.change, [this] { changeClicked(); });
    remove_ = frame_.addButton(QStringLiteral("删除"), buttons.remove, [this] { removeClicked(); });
    frame_.addButton(QStringLiteral("退出"), buttons.quit, [this] { quitClicked(); });
}

void ListPage::setColumns(QList<ListColumn> columns) {
    columns_ = std::move(columns);
    grid_->setColumnCount(static_cast<int>(columns_.size()));
    for (int c = 0; c < columns_.size(); ++c) {
        auto* item = new QTableWidgetItem(columns_[c].title);
        if (columns_[c].maroon) item->setForeground(QColor(128, 0, 0));
        grid_->setHorizontalHeaderItem(c, item);
        grid_->setColumnWidth(c, columns_[c].width);
    }
}

void ListPage::offerCloseBox() {
    closeBox_ = true;
    setWindowFlag(Qt::WindowCloseButtonHint, true);
}

bool ListPage::open(store::Cursor& record, int categoryPosition) {
    record_ = &record;
    categoryPosition_ = categoryPosition;
    setWindowTitle(QStringLiteral("成果名称：") + QString::fromStdString(record.text("item_3")));
    selectRowsOf(record);
    const bool done = showList();
    record_ = nullptr;
    return done;
}

bool ListPage::showList() {
    done_ = false;
    if (store::Status s = rows_.reload(); !s) ui::prompter().showError(s.error());
    prepareRows();
    reload(0);
    ui::showModal(*this);
    return done_;
}

void ListPage::reload(int row, uint32_t record) {
    if (store::Status s = rows_.reload(); !s) ui::prompter().showError(s.error());
    fillGrid();
    const int count = rows_.count();
    change_->setEnabled(count > 0 || !disablesChangeWhenEmpty());
    remove_->setEnabled(count > 0);
    if (count == 0) return;
    if (record != 0 && rows_.rowOf(record) >= 0) row = rows_.rowOf(record);
    grid_->selectRow(std::clamp(row, 0, count - 1));
}

void ListPage::fillGrid() {
    grid_->clearContents();
    const int count = rows_.count();
    grid_->setRowCount(count);
    std::unique_ptr<store::Cursor> labelled = shownRows();
    store::Cursor* shown = labelled ? labelled.get() : rows_.rows();
    if (!shown) return;
    for (int row = 0; row < count && shown->moveTo(row); ++row)
        for (int c = 0; c < columns_.size(); ++c)
            grid_->setItem(row, c, new QTableWidgetItem(columns_[c].text(*shown)));
}

int ListPage::selectedRow() const {
    if (rows_.count() == 0) return -1;
    const int row = grid_->currentRow();
    return row >= 0 && row < rows_.count() ? row : 0;
}

void ListPage::addClicked() {
    const uint32_t selected = selectedRow() >= 0 ? rows_.recordOf(selectedRow()) : 0;
    const int before = rows_.count();
    const bool stored = addRow();
    // A new row is selected; otherwise the selection stays where it was.
    reload(stored ? before : selectedRow(), stored ? 0 : selected);
    if (stored && rows_.count() > before) grid_->selectRow(rows_.count() - 1);
}

void ListPage::changeClicked() {
    if (rows_.count() == 0) {
        addClicked();
        return;
    }
    const int row = selectedRow();
    const uint32_t record = rows_.recordOf(row);
    changeRow(row);
    reload(row, record);
}

void ListPage::removeClicked() {
    if (rows_.count() == 0) return;
    const ui::Message question{QStringLiteral("提示信息"), QStringLiteral("是否删除该项目？!"),
                               ui::MessageIcon::Information, ui::Buttons::YesNo};
    if (ui::prompter().ask(question) != ui::Answer::Yes) return;
    const int row = selectedRow();
    store::Status s = rows_.remove(row);
    if (s && !numberField().empty()) {
        s = rows_.reload();
        if (s) s = rows_.renumber(numberField());
    }
    if (!s) ui::prompter().showError(s.error());
    reload(afterDelete() == AfterDelete::FirstRow ? 0 : row);
}

void ListPage::quitClicked() {
    if (!mayLeave()) return;
    done_ = leavingMarksDone();
    frame_.close(QDialog::Accepted);
}

void ListPage::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    frame_.shown();
    grid_->setFocus();
}

void ListPage::closeEvent(QCloseEvent* event) {
    if (frame_.closing()) return;
    if (!closeBox_) {
        event->ignore();
        return;
    }
    done_ = false;
    frame_.close(QDialog::Rejected);
}

} // namespace xb::forms
