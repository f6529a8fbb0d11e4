// Dates as the program writes and reads them: "yyyy-MM-dd", whatever the desktop's locale.
// Every date turned into text, or read back from text, goes through these functions; the
// locale's own date formats are never used for that.
#pragma once

#include <QDate>
#include <QString>

namespace xb::app {

inline constexpr char dateFormat[] = "yyyy-MM-dd";

// "2005-06-01"; the empty string for a null or invalid date (an empty date field).
QString dateText(const QDate& date);

// The date of a text of the form year-month-day with "-": four digits of year, one or two of
// month and day, blanks around ignored ("2005-06-01", "2005-6-1"). An invalid QDate for any
// other text and for days that do not exist ("2005-02-30").
QDate parseDateText(const QString& text);

// Makes the program's default locale Chinese (China) with "." as decimal separator and no
// group separators, so numbers shown by widgets and QLocale() read like the stored values,
// whatever the desktop's locale. Call once at start, before any window is created.
void useApplicationLocale();

} // namespace xb::app
