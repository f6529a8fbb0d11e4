#include "app/date_text.h"

#include <QLocale>
#include <QtTest>

using namespace xb::app;
using namespace Qt::StringLiterals;

class DateTextTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void parsesOnlyYearMonthDayWithDashes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("canonical") << "2005-06-01" << QDate(2005, 6, 1);
        QTest::newRow("one-digit month and day") << "2005-6-1" << QDate(2005, 6, 1);
        QTest::newRow("blanks around") << " 2005-06-01 " << QDate(2005, 6, 1);
        QTest::newRow("no such day") << "2005-02-30" << QDate();
        QTest::newRow("month 13") << "2005-13-01" << QDate();
        QTest::newRow("slashes") << "2005/06/01" << QDate();
        QTest::newRow("two-digit year") << "05-06-01" << QDate();
        QTest::newRow("year and month only") << "2005-06" << QDate();
        QTest::newRow("trailing text") << "2005-06-01x" << QDate();
        QTest::newRow("full-width digits") << u"２００５-06-01"_s << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void parsesOnlyYearMonthDayWithDashes() {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(parseDateText(text), date);
    }

    // Written dates have two-digit months and days and read back to the same date, whatever
    // locale is in force; an empty date is an empty text.
    void writtenDatesReadBackUnderAnyLocale() {
        for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::English, QLocale::UnitedStates)}) {
            QLocale::setDefault(locale);
            QCOMPARE(dateText(QDate(2005, 3, 7)), u"2005-03-07"_s);
            QCOMPARE(parseDateText(dateText(QDate(1949, 10, 1))), QDate(1949, 10, 1));
            QCOMPARE(dateText(QDate()), QString());
        }
    }

    // After the program's locale is set, numbers show with "." and without group separators,
    // even when the desktop's locale writes them otherwise.
    void programLocaleShowsPlainNumbers() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        useApplicationLocale();
        const QLocale locale;
        QCOMPARE(locale.toString(12345.5, 'f', 2), u"12345.50"_s);
        bool ok = false;
        QCOMPARE(locale.toDouble(u"12345.5"_s, &ok), 12345.5);
        QVERIFY(ok);
        QCOMPARE(locale.language(), QLocale::Chinese);
    }
};

int runDateTextTests(int argc, char** argv) {
    DateTextTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "date_text_test.moc"
