#include "subject_leaders.h"

#include "forms/child_rows.h"
#include "parties/unit_profile.h"
#include "store/label_views.h"

namespace xb::parties {
namespace {

QString textOf(const store::Cursor& row, const char* field) {
    return QString::fromStdString(row.text(field));
}

store::Value valueOf(const QString& text) {
    return store::Value(text.toStdString());
}

forms::CheckFailure failure(const char* control, const char* message) {
    return {QString::fromLatin1(control), QString::fromUtf8(message)};
}

} // namespace

store::Params leaderParams(const QString& unitCode) {
    return {{"uncode", unitCode.toStdString()}};
}

store::Result<QList<SubjectLeader>> loadSubjectLeaders(store::Database& db,
                                                       const QString& unitCode) {
    auto view = store::labelledView(db, store::LabelView::SubjectLeaders, kLeadersOfUnit,
                                    leaderParams(unitCode));
    if (!view) return view.error();
    auto live = db.query(kLeadersOfUnit, leaderParams(unitCode));
    if (!live) return live.error();
    store::Cursor& rows = **view;
    QList<SubjectLeader> leaders;
    for (rows.first(); !rows.eof(); rows.next()) {
        (*live)->moveTo(rows.position());
        leaders.append({(*live)->recNo(), textOf(rows, "item_187"), textOf(rows, "item_180"),
                        textOf(rows, "item_181"), textOf(rows, "item_182"),
                        textOf(rows, "item_124_1"), textOf(rows, "item_186"), textOf(rows, "V_181"),
                        textOf(rows, "V_124_1")});
    }
    return leaders;
}

std::optional<forms::CheckFailure> checkLeaderEntry(const LeaderEntry& entry, int currentYear) {
    if (entry.name.trimmed().isEmpty()) return failure("edtry_180", "姓名不能为空！");
    if (!entry.sex) return failure("cbry_181", "性别不能为空！");
    if (entry.year.isEmpty() || entry.month.isEmpty())
        return failure("Edt_both_1", "出生年月均不能为空！");
    bool ok = false;
    const int year = entry.year.trimmed().toInt(&ok);
    if (!ok || year < 1900 || year > currentYear) return failure("Edt_both_1", "出生年份不合法！");
    const int month = entry.month.trimmed().toInt(&ok);
    if (!ok || month > 12 || month <= 0) return failure("edt_both_2", "出生月份不合法！");
    return std::nullopt;
}

QString birthText(const QString& year, const QString& month) {
    return year.trimmed() + u'.' + month.trimmed();
}

store::Status addSubjectLeader(store::Database& db, const QString& unitCode,
                               const forms::RowWriter& entry) {
    const QString unit = unitCode.trimmed().isEmpty() ? kOwnUnitCode : unitCode;
    auto rows = db.query(kLeadersOfUnit, leaderParams(unit));
    if (!rows) return rows.error();
    store::Cursor& cursor = **rows;
    const int order = cursor.count() + 1;
    if (store::Status s = cursor.append(); !s) return s;
    return forms::writeEntry(
        cursor, forms::trimming(entry, "item_180"),
        {{"unitcode", valueOf(unit)}, {"item_187", valueOf(QString::number(order))}});
}

store::Status changeSubjectLeader(store::Database& db, uint32_t record,
                                  const forms::RowWriter& entry) {
    return forms::rewriteEntry(db, "unitexpert", record, entry, {}, "所选的学科带头人已不存在");
}

} // namespace xb::parties
