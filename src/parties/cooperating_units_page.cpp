#include "cooperating_units_page.h"

#include "parties/cooperating_unit_entry.h"
#include "parties/cooperating_units.h"
#include "ui/help_window.h"
#include "ui/prompter.h"

namespace xb::parties {

TFpage5::TFpage5(store::Database& db, QWidget* parent)
    : ListPage(db, QStringLiteral("TFpage5"), QStringLiteral("合作完成单位情况"), "cgwcdw",
               {QStringLiteral("Button2"), QStringLiteral("btnSave01"), QStringLiteral("Button1"),
                QStringLiteral("quit01"), QStringLiteral("Button3")},
               parent),
      db_(db), dialog_(new TFinto5(db, this)),
      help_(new ui::HelpWindow(QStringLiteral("THelpHzdw"), this)) {
    setColumns({forms::fieldColumn(QStringLiteral("序号"), "item_176", 40),
                forms::fieldColumn(QStringLiteral("单位名称"), "item_170", 200),
                forms::fieldColumn(QStringLiteral("详细通信地址"), "item_171", 220),
                forms::fieldColumn(QStringLiteral("邮政编码"), "item_172", 70),
                forms::fieldColumn(QStringLiteral("联系人"), "item_173", 80),
                forms::fieldColumn(QStringLiteral("联系人电话"), "item_174", 110)});
}

void TFpage5::selectRowsOf(const store::Cursor& record) {
    key_ = recordKey(record);
    rows().select(kCooperatingUnitsOfRecord, key_);
}

void TFpage5::prepareRows() {
    // Rows brought in from elsewhere may repeat or skip numbers; a new row takes rows + 1, so
    // the list is numbered 1 to n first (equal numbers keep their stored order).
    if (rows().numberedInOrder(numberField())) return;
    if (store::Status s = rows().renumber(numberField()); !s) ui::prompter().showError(s.error());
}

bool TFpage5::addRow() {
    return dialog_->showNew(key_, rows().count());
}

bool TFpage5::changeRow(int row) {
    store::Cursor* listed = rows().rows();
    if (!listed || !listed->moveTo(row)) return false;
    return dialog_->showModify(key_, *listed);
}

void TFpage5::help() {
    if (categoryPosition() == 0) help_->showHelp();
}

} // namespace xb::parties
