#include "parties/committee_rules.h"

#include "forms/child_rows.h"
#include "store/row_values.h"

#include <algorithm>

namespace xb::parties {
namespace {

constexpr const char* kTable = "jdwyhmd";

store::Value valueOf(const QString& text) {
    return store::Value(text.toStdString());
}

forms::CheckFailure missing(const char* control, const QString& label) {
    return {QString::fromLatin1(control), u'"' + label + QStringLiteral("\"不能为空！")};
}

store::FieldValues keyValues(const CommitteeKey& key) {
    return {{"item_4", valueOf(key.number)}, {"item_dqdm", valueOf(key.region)}};
}

} // namespace

QStringList committeeDuties() {
    return {kChairman, kViceChairman, kMember};
}

std::optional<QString> dutyRank(const QString& duty) {
    const int index = static_cast<int>(committeeDuties().indexOf(duty.trimmed()));
    if (index < 0) return std::nullopt;
    return QString::number(index + 1);
}

int chairmanConflicts(const QStringList& listedDuties) {
    return static_cast<int>(
        std::count_if(listedDuties.begin(), listedDuties.end(),
                      [](const QString& d) { return d.trimmed() == kChairman; }));
}

store::Params committeeParams(const CommitteeKey& key) {
    return {{"item_4", key.number.toStdString()}, {"item_dqdm", key.region.toStdString()}};
}

std::optional<forms::CheckFailure> checkMemberEntry(const MemberEntry& entry) {
    if (!entry.duty || entry.duty->trimmed().isEmpty())
        return missing("cbwy_191", QStringLiteral("评价委员会职务"));
    if (entry.name.trimmed().isEmpty()) return missing("Edtwy_192", QStringLiteral("姓名"));
    if (!entry.sex) return missing("cbwy_193", QStringLiteral("性别"));
    if (!entry.title) return missing("cbwy_198", QStringLiteral("职称"));
    return std::nullopt;
}

store::Result<long long> nextMemberNumber(store::Database& db, const CommitteeKey& key) {
    auto own = db.query(kCommitteeOfRecord, committeeParams(key));
    if (!own) return own.error();
    if ((*own)->isEmpty()) return 1;
    auto rows = db.query("select * from jdwyhmd where item_4=:item_4",
                         {{"item_4", key.number.toStdString()}});
    if (!rows) return rows.error();
    long long largest = 0;
    for ((*rows)->first(); !(*rows)->eof(); (*rows)->next())
        largest = std::max(largest, (*rows)->integer("item_190"));
    return largest + 1;
}

store::Result<uint32_t> addMember(store::Database& db, const CommitteeKey& key,
                                  const forms::RowWriter& entry) {
    auto number = nextMemberNumber(db, key);
    if (!number) return number.error();
    auto table = db.table(kTable);
    if (!table) return table.error();
    store::Cursor& cursor = **table;
    store::FieldValues values = keyValues(key);
    values.emplace_back("item_190", store::Value(*number));
    if (store::Status s = cursor.append(); !s) return s.error();
    if (store::Status s = forms::writeEntry(cursor, entry, values); !s) return s.error();
    return cursor.recNo();
}

store::Status changeMember(store::Database& db, uint32_t record, const CommitteeKey& key,
                           const forms::RowWriter& entry) {
    return forms::rewriteEntry(db, kTable, record, entry, keyValues(key), "所选的评价委员已不存在");
}

store::Status rankMembers(store::Database& db, const CommitteeKey& key) {
    auto rows = db.query(kCommitteeOfRecord, committeeParams(key));
    if (!rows) return rows.error();
    store::Cursor& cursor = **rows;
    for (cursor.first(); !cursor.eof(); cursor.next()) {
        const auto rank = dutyRank(QString::fromStdString(cursor.text("item_191")));
        if (!rank || QString::fromStdString(cursor.text("item_194")).trimmed() == *rank) continue;
        if (store::Status s = cursor.edit(); !s) return s;
        if (store::Status s = store::setValuesAndPost(cursor, {{"item_194", valueOf(*rank)}}); !s)
            return s;
    }
    return {};
}

} // namespace xb::parties
