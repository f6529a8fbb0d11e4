// The own-organization profile: the one row of table `unit`. The same structure holds what is
// stored and what the profile page shows, so that the two can be compared and the page written.
#pragma once

#include "store/database.h"

#include <QString>

namespace xb::parties {

// The unit code of the own organization, written with every profile and subject leader.
inline const QString kOwnUnitCode = QStringLiteral("9990001000");

struct UnitProfile {
    QString name;                 // item_9
    QString orgCode;              // item_420
    QString address;              // item_37
    QString postcode;             // item_38
    QString phone;                // item_39
    QString fax;                  // item_40
    QString website;              // item_60
    QString department;           // item_41
    QString departmentPhone;      // item_41_2
    QString email;                // item_61
    QString attribute;            // item_62, code; "3" is an enterprise
    QString ownership;            // item_41_3, code
    QString converted;            // item_163: "1" converted research institute, "0" not, "" n/a
    QString province;             // item_64, code
    QString researchFields;       // item_124_2, code list of gxjs
    QString researchDisciplines;  // item_15_1, code list of xkfl
    QString advantageFields;      // item_124_1, code list of gxjs
    QString advantageDisciplines; // item_15, code list of xkfl
    QString studyDirection;       // studydirec
    QString advantage;            // advantage
    QString introduction;         // unitintrod
    QString unitCode;             // unitcode (read only; storing writes the own unit code)
};

// Whether table `unit` has a row: the main window keeps its record controls locked without one.
store::Result<bool> hasProfile(store::Database& db);

// The current (first) row of `unit`; an empty profile when the table has no row.
store::Result<UnitProfile> loadProfile(store::Database& db);

// Writes one multi-line text field of the profile row at once (its text dialogs), creating the
// row when the table has none.
store::Status storeProfileText(store::Database& db, const QString& field, const QString& text);

} // namespace xb::parties
