// How page values are stored and compared, without widgets: the text forms of dates and
// year-months, memo texts, and the comparison rules by which a page decides whether it differs
// from the stored row.
#pragma once

#include <QString>

namespace xb::forms {

// How a shown value is compared with the stored one.
enum class Comparison {
    Exact,   // the texts are equal as they stand
    Trimmed, // equal once leading and trailing blanks are trimmed from both
    Number,  // equal as plain number texts ("12.50" equals "12.5"; "" equals "")
};

bool sameValue(Comparison rule, const QString& stored, const QString& shown);

// A memo as the pages store it and show it: every tab replaced by one blank.
QString tabsToBlanks(QString text);

// Whether a memo box shows the stored memo: tabs shown as blanks, Windows line breaks as the box
// shows them, leading and trailing blanks and line breaks aside.
bool sameMemo(const QString& stored, const QString& shown);

// One-character months and days get a leading "0".
QString padToTwo(const QString& part);

// The three parts of a "YYYY.MM.DD" date text; all empty for an empty text.
struct DateParts {
    QString year;
    QString month;
    QString day;
};

// "YYYY.MM.DD" from three boxes (month and day padded), or "" unless all three are filled.
QString dateText(const QString& year, const QString& month, const QString& day);
// Characters 1-4, 6-7 and 9-10 of a stored date text, trimmed.
DateParts splitDateText(const QString& stored);
// Whether the boxes show another date than the stored one: each box is compared with its part
// (month and day after padding), so a year typed alone also counts as a change.
bool dateBoxesDiffer(const QString& stored, const QString& year, const QString& month,
                     const QString& day);

// "YYYY.MM" from two boxes (month padded), or "" unless both are filled.
QString yearMonthText(const QString& year, const QString& month);

} // namespace xb::forms
