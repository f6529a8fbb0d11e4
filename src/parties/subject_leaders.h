// The subject leaders of the own organization: rows of `unitexpert` tied to the profile by
// `unitcode`, listed in stored order and numbered 1 to n in `item_187`. A leader is addressed
// by its position in the list of its organization.
#pragma once

#include "forms/check_failure.h"
#include "store/database.h"

#include <QList>
#include <QString>
#include <optional>

namespace xb::parties {

// One listed subject leader, with the labels of its sex and research field codes.
struct SubjectLeader {
    QString order;       // item_187
    QString name;        // item_180
    QString sex;         // item_181, code
    QString birth;       // item_182, "year.month"
    QString field;       // item_124_1, code
    QString description; // item_186
    QString sexLabel;    // V_181
    QString fieldLabel;  // V_124_1
};

// What the entry dialog holds.
struct LeaderEntry {
    QString name;
    std::optional<QString> sex; // the chosen sex code; nothing when no entry is chosen
    QString year;
    QString month;
    QString field; // the chosen research field code, or ""
    QString description;
};

// The subject leaders of an organization in stored order.
store::Result<QList<SubjectLeader>> loadSubjectLeaders(store::Database& db,
                                                       const QString& unitCode);

// The first failing check of an entry, in the fixed order: name, sex, both birth boxes, the
// year (1900 to `currentYear`), the month (1 to 12).
std::optional<forms::CheckFailure> checkLeaderEntry(const LeaderEntry& entry, int currentYear);

// The stored birth text: trimmed year, ".", trimmed month, the month not padded.
QString birthText(const QString& year, const QString& month);

// Appends a leader to the organization (the own unit code when `unitCode` is empty) with the
// next order number; the name is stored trimmed.
store::Status addSubjectLeader(store::Database& db, const QString& unitCode,
                               const LeaderEntry& entry);
// Rewrites the leader at `position`; its order number and unit code stay.
store::Status changeSubjectLeader(store::Database& db, const QString& unitCode, int position,
                                  const LeaderEntry& entry);
// Deletes the leader at `position`, numbers the others 1 to n in stored order, and yields the
// position to select: the row that now carries the deleted number, or the last row.
store::Result<int> removeSubjectLeader(store::Database& db, const QString& unitCode, int position);

// Whether the dialog holds something other than the row it started from (an empty one in new mode):
// name, sex, birth and description are compared, the research field goes by the change marker.
bool leaderEntryDiffers(const SubjectLeader& from, const LeaderEntry& entry,
                        bool researchFieldChanged);

} // namespace xb::parties
