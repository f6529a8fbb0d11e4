// The subject leaders of the own organization: rows of `unitexpert` tied to the profile by
// `unitcode`, listed in stored order and numbered 1 to n in `item_187`. A leader is addressed
// by its position in the list of its organization.
#pragma once

#include "forms/check_failure.h"
#include "forms/child_rows.h"
#include "store/database.h"

#include <QList>
#include <QString>
#include <optional>

namespace xb::parties {

// One listed subject leader, with the labels of its sex and research field codes.
struct SubjectLeader {
    uint32_t record = 0; // the physical record of the row
    QString order;       // item_187
    QString name;        // item_180
    QString sex;         // item_181, code
    QString birth;       // item_182, "year.month"
    QString field;       // item_124_1, code
    QString description; // item_186
    QString sexLabel;    // V_181
    QString fieldLabel;  // V_124_1
};

// What the entry dialog holds, for its checks.
struct LeaderEntry {
    QString name;
    std::optional<QString> sex; // the chosen sex code; nothing when no entry is chosen
    QString year;
    QString month;
    QString field; // the chosen research field code, or ""
    QString description;
};

// The statement that lists an organization's subject leaders in stored order, and its values.
inline constexpr const char* kLeadersOfUnit = "select * from unitexpert where unitcode=:uncode";
store::Params leaderParams(const QString& unitCode);

// The subject leaders of an organization in stored order.
store::Result<QList<SubjectLeader>> loadSubjectLeaders(store::Database& db,
                                                       const QString& unitCode);

// The first failing check of an entry, in the fixed order: name, sex, both birth boxes, the
// year (1900 to `currentYear`), the month (1 to 12).
std::optional<forms::CheckFailure> checkLeaderEntry(const LeaderEntry& entry, int currentYear);

// The stored birth text: trimmed year, ".", trimmed month, the month not padded.
QString birthText(const QString& year, const QString& month);

// Appends a leader to the organization (the own unit code when `unitCode` is empty) with the
// next order number, its fields written by `entry`; the name is stored trimmed.
store::Status addSubjectLeader(store::Database& db, const QString& unitCode,
                               const forms::RowWriter& entry);
// Rewrites the leader stored in physical record `record`; its order number and unit code stay.
store::Status changeSubjectLeader(store::Database& db, uint32_t record,
                                  const forms::RowWriter& entry);

} // namespace xb::parties
