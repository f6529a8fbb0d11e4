#include "pages/patent_list.h"

#include "pages/patent_entry.h"
#include "pages/patent_rows.h"
#include "store/label_views.h"
#include "ui/help_window.h"
#include "ui/prompter.h"

namespace xb::pages {

TFpage6::TFpage6(store::Database& db, QWidget* parent)
    : ListPage(db, QStringLiteral("TFpage6"), QStringLiteral("专利情况"), "zlqk",
               {QStringLiteral("Button2"), QStringLiteral("btnSave01"), QStringLiteral("Button1"),
                QStringLiteral("quit01"), QStringLiteral("Button3")},
               parent),
      db_(db), dialog_(new TFinto6(db, this)),
      help_(new ui::HelpWindow(QStringLiteral("THelpForm"), this)),
      helpOther_(new ui::HelpWindow(QStringLiteral("THelpForm_rj"), this)) {
    // Every column of the list is one the form requires.
    setColumns({forms::fieldColumn(QStringLiteral("序号"), "ITEM_NO", 50, true),
                forms::fieldColumn(QStringLiteral("专利状况"), "V_st", 90, true),
                forms::fieldColumn(QStringLiteral("专利类型"), "V_ty", 110, true),
                forms::fieldColumn(QStringLiteral("专利号"), "PATENT_NO", 140, true),
                forms::fieldColumn(QStringLiteral("专利名称"), "PATENT_NAM", 220, true),
                forms::fieldColumn(QStringLiteral("PATENT_ST"), "PATENT_ST", 75, true),
                forms::fieldColumn(QStringLiteral("PATENT_TY"), "PATENT_TY", 75, true)});
}

void TFpage6::selectRowsOf(const store::Cursor& record) {
    key_ = patentParams(record);
    rows().select(kPatentsOfRecord, key_);
}

void TFpage6::prepareRows() {
    if (store::Status s = rows().renumber("ITEM_NO"); !s) ui::prompter().showError(s.error());
}

std::unique_ptr<store::Cursor> TFpage6::shownRows() {
    auto view = store::labelledView(db_, store::LabelView::Patents, kPatentsOfRecord, key_);
    return view ? std::move(*view) : nullptr;
}

bool TFpage6::addRow() {
    return dialog_->showNew(key_);
}

bool TFpage6::changeRow(int row) {
    return dialog_->showModify(rows().recordOf(row));
}

void TFpage6::help() {
    (categoryPosition() == 0 ? help_ : helpOther_)->showHelp();
}

} // namespace xb::pages
