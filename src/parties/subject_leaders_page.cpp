#include "subject_leaders_page.h"

#include "parties/subject_leader_dialog.h"
#include "store/label_views.h"

namespace xb::parties {

TFpage11::TFpage11(store::Database& db, QWidget* parent)
    : ListPage(db, QStringLiteral("TFpage11"), QStringLiteral("学科带头人情况"), "unitexpert",
               {QStringLiteral("Button2"),
                QStringLiteral("Button3"),
                QStringLiteral("Button1"),
                QStringLiteral("quit01"),
                {}},
               parent),
      db_(db), dialog_(new TFinto11(db, this)) {
    setColumns({forms::fieldColumn(QStringLiteral("姓名"), "item_180", 110),
                forms::fieldColumn(QStringLiteral("出生年月"), "item_182", 90),
                forms::fieldColumn(QStringLiteral("性别"), "V_181", 60),
                forms::fieldColumn(QStringLiteral("研究领域"), "V_124_1", 200),
                forms::fieldColumn(QStringLiteral("简要说明"), "item_186", 200)});
}

int TFpage11::showLeaders(const QString& unitCode) {
    unitCode_ = unitCode;
    rows().select(kLeadersOfUnit, leaderParams(unitCode));
    showList();
    return result();
}

void TFpage11::selectRowsOf(const store::Cursor&) {
    // The leaders belong to the own organization, not to an achievement record.
    rows().select(kLeadersOfUnit, leaderParams(unitCode_));
}

std::unique_ptr<store::Cursor> TFpage11::shownRows() {
    auto view = store::labelledView(db_, store::LabelView::SubjectLeaders, kLeadersOfUnit,
                                    leaderParams(unitCode_));
    return view ? std::move(*view) : nullptr;
}

bool TFpage11::addRow() {
    return dialog_->showNew(unitCode_);
}

bool TFpage11::changeRow(int row) {
    auto leaders = loadSubjectLeaders(db_, unitCode_);
    if (!leaders || row >= leaders->size()) return false;
    return dialog_->showModify(leaders->at(row));
}

} // namespace xb::parties
