#include "app/date_text.h"
#include "support/qt_printing.h"

#include <QDate>
#include <QLocale>
#include <gtest/gtest.h>

using namespace xb::app;
using namespace Qt::StringLiterals;

namespace {

class DateText : public ::testing::Test {
  protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

} // namespace

TEST_F(DateText, ParsesOnlyYearMonthDayWithDashes) {
    const QList<std::pair<QString, QDate>> cases{
        {u"2005-06-01"_s, QDate(2005, 6, 1)}, // canonical
        {u"2005-6-1"_s, QDate(2005, 6, 1)},   // one-digit month and day
        {u" 2005-06-01 "_s, QDate(2005, 6, 1)},
        {u"2005-02-30"_s, QDate()}, // no such day
        {u"2005-13-01"_s, QDate()},
        {u"2005/06/01"_s, QDate()},
        {u"05-06-01"_s, QDate()},
        {u"2005-06"_s, QDate()},
        {u"2005-06-01x"_s, QDate()},
        {u"２００５-06-01"_s, QDate()}, // full-width digits
        {u""_s, QDate()},
    };
    for (const auto& [text, date] : cases)
        EXPECT_EQ(parseDateText(text), date) << text.toStdString();
}

// Written dates have two-digit months and days and read back to the same date, whatever locale is
// in force; an empty date is an empty text.
TEST_F(DateText, WrittenDatesReadBackUnderAnyLocale) {
    for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        QLocale::setDefault(locale);
        EXPECT_EQ(dateText(QDate(2005, 3, 7)), u"2005-03-07"_s);
        EXPECT_EQ(parseDateText(dateText(QDate(1949, 10, 1))), QDate(1949, 10, 1));
        EXPECT_EQ(dateText(QDate()), QString());
    }
}

// After the program's locale is set, numbers show with "." and without group separators, even
// when the desktop's locale writes them otherwise.
TEST_F(DateText, ProgramLocaleShowsPlainNumbers) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    useApplicationLocale();
    const QLocale locale;
    EXPECT_EQ(locale.toString(12345.5, 'f', 2), u"12345.50"_s);
    bool ok = false;
    EXPECT_EQ(locale.toDouble(u"12345.5"_s, &ok), 12345.5);
    EXPECT_TRUE(ok);
    EXPECT_EQ(locale.language(), QLocale::Chinese);
}
