// The rules of the overview page (成果概况) without widgets: the stored forms of the research
// period, the registration date and the keywords, the two layouts by category, and the checks
// that run before 储存 and 退出.
#pragma once

#include "forms/check_failure.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace xb::pages {

// Fields that only the applied-technology layout shows; the other layout writes them empty.
inline const QStringList kAppliedOnlyFields = {
    QStringLiteral("item_123"), QStringLiteral("item_124_1"), QStringLiteral("item_16"),
    QStringLiteral("item_33"), QStringLiteral("item_125_1")};
// Fields that only the layout of soft science and basic theory shows.
inline const QStringList kOtherOnlyFields = {QStringLiteral("item_210"),
                                             QStringLiteral("item_200")};
// The unit code an applied-technology record gets when its overview is saved.
inline const QString kOwnUnitCode = QStringLiteral("9990001000");

// Whether a record of this category code is laid out as applied technology.
bool isAppliedCategory(const QString& categoryCode);
// Whether the field belongs to the layout of the category (fields of both layouts do).
bool fieldInLayout(const QString& field, bool applied);

// The four boxes of the research period.
struct PeriodBoxes {
    QString startYear;
    QString startMonth;
    QString endYear;
    QString endMonth;
};

// The boxes as the checks see them: trimmed, a one-character month with a leading "0".
PeriodBoxes tidyPeriod(PeriodBoxes boxes);
// "2003.05   至2005.12" from tidied boxes.
QString periodText(const PeriodBoxes& boxes);
// The boxes of a stored period: start year and month from characters 1-4 and 6-7, end year and
// month from characters 1-4 and 6-7 of the text after "至".
PeriodBoxes splitPeriod(const QString& stored);

// The registration date as "yyyy-MM-dd" from its three boxes, "" unless they form a valid date.
QString registrationDateText(const QString& year, const QString& month, const QString& day);
// The three boxes (four-digit year, two-digit month and day) of a stored "yyyy-MM-dd" date.
QStringList registrationBoxes(const QString& stored);

// item_14 from the three keyword boxes: "a;b;c" when all three hold text, "a;b" when the first
// two do, otherwise the first alone; texts as typed.
QString joinKeywords(const QString& first, const QString& second, const QString& third);

// What a classification box stores: the text before its first double blank, trimmed.
QString classificationCode(const QString& boxText);
// What the attribute list stores: the first two characters of its entry text, trimmed.
QString attributeCode(const QString& entryText);

// What the checks read from the page.
struct OverviewEntry {
    bool applied = true;
    PeriodBoxes period; // tidied
    QString registrationYear;
    QString registrationMonth;
    QString registrationDay;
    QString secrecyText;      // CB_1
    QStringList keywords;     // the three keyword boxes
    QString stageCode;        // cb_16 entry code
    QString transferCode;     // cb_33 entry code
    bool formChosen = false;  // a button of PL_123 is chosen
    QString outcomeFormCode;  // cb_210 entry code
    QString goals;            // PL_200 code list
    QString attributeText;    // Cb_125_1 entry text
    QString researchFormText; // cb_201
    QString industries;       // PL_125 code list
    QString abstractText;     // Mo_13_1
    QString bulletinText;     // Mo_13
};

// The first failing check in the page's order, with the control that gets the focus (an empty
// name leaves the focus where it is); nothing when all pass.
std::optional<forms::CheckFailure> checkOverview(const OverviewEntry& entry, int currentYear);

} // namespace xb::pages
