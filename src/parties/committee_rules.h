// The evaluation committee of an achievement: rows of `jdwyhmd` tied to the achievement record by
// its key (`item_4`, `item_dqdm`). A member keeps the number `item_190` given when it was added;
// the list is ordered by the duty rank `item_194`, which follows from the duty text `item_191`
// (chairman 1, vice-chairman 2, member 3). Rows are changed by their physical record, so
// imported rows with equal numbers are still told apart.
#pragma once

#include "forms/check_failure.h"
#include "forms/child_rows.h"
#include "store/database.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace xb::parties {

// The duties as the pick list offers them and as they are stored.
inline const QString kChairman = QStringLiteral("主任委员");
inline const QString kViceChairman = QStringLiteral("副主任委员");
inline const QString kMember = QStringLiteral("委员");
QStringList committeeDuties();

// The rank of a duty ("1", "2", "3"); nothing for a text that is none of the three duties.
std::optional<QString> dutyRank(const QString& duty);

// How many "只能有一个主任委员" messages choosing the chairman duty gives: one for each listed
// member already stored as chairman (the member being changed included).
int chairmanConflicts(const QStringList& listedDuties);

// The achievement record a committee belongs to.
struct CommitteeKey {
    QString number; // item_4
    QString region; // item_dqdm
};

// The statement listing a committee in duty-rank order, and its values.
inline constexpr const char* kCommitteeOfRecord = "select *  from  Jdwyhmd  where  item_4=:item_4\n"
                                                  "and  item_dqdm=:item_dqdm\n"
                                                  "order  by  item_194";
store::Params committeeParams(const CommitteeKey& key);

// What the entry dialog holds, for its checks.
struct MemberEntry {
    std::optional<QString> duty; // nothing when no duty is chosen
    QString name;
    std::optional<QString> sex;   // the chosen sex code
    std::optional<QString> title; // the chosen title code; "" for the blank entry
    QString unit;                 // 工作单位
    QString studied;              // 所学专业
    QString practised;            // 从事专业
};

// The first failing check in the fixed order: duty, name, sex, title.
std::optional<forms::CheckFailure> checkMemberEntry(const MemberEntry& entry);

// The number a new member of the record gets: 1 for its first member, otherwise one more than
// the largest `item_190` among all rows with the same record number (of every region code).
store::Result<long long> nextMemberNumber(store::Database& db, const CommitteeKey& key);

// Appends a member with the next number, its fields written by `entry`; yields the physical
// record of the new row.
store::Result<uint32_t> addMember(store::Database& db, const CommitteeKey& key,
                                  const forms::RowWriter& entry);
// Rewrites the member stored in physical record `record`; its number stays.
store::Status changeMember(store::Database& db, uint32_t record, const CommitteeKey& key,
                           const forms::RowWriter& entry);
// Gives every member of the record the rank of its duty; only rows whose rank changes are
// written, and rows with another duty text keep theirs.
store::Status rankMembers(store::Database& db, const CommitteeKey& key);

} // namespace xb::parties
