#include "parties/completer_rules.h"

#include <gtest/gtest.h>

using namespace xb::parties;

namespace {

CompleterEntry complete() {
    CompleterEntry e;
    e.order = QStringLiteral("2");
    e.name = QStringLiteral("张三");
    e.sex = QStringLiteral("0");
    e.year = QStringLiteral("1965");
    e.month = QStringLiteral("3");
    e.title = QStringLiteral("b");
    e.education = QStringLiteral("2");
    e.studyAbroad = QStringLiteral("0");
    e.workUnit = QStringLiteral("中国农业科学院茶叶研究所");
    e.contribution = QStringLiteral("主持");
    return e;
}

// "control:message", "plain:" before plain messages, or "ok".
QString verdict(CompleterEntry e, int year = 2024) {
    const auto failure = checkCompleterEntry(e, year);
    if (!failure) return QStringLiteral("ok");
    return (failure->plain ? QStringLiteral("plain:") : QString()) + failure->control + u':' +
           failure->message;
}

} // namespace

// Each check in its place of the order: an entry failing several reports the first.
TEST(CompleterChecks, FirstFailureInOrder) {
    CompleterEntry e = complete();
    e.name = QStringLiteral("  ");
    e.sex.reset();
    EXPECT_EQ(verdict(e), "edtry_180:姓名不能为空！");
    e = complete();
    e.sex.reset();
    e.year.clear();
    EXPECT_EQ(verdict(e), "cbry_181:性别不能为空！");
    e = complete();
    e.month.clear();
    EXPECT_EQ(verdict(e), "edt_182_y:出生年月不能为空！");
    e = complete();
    e.title.reset();
    e.education.reset();
    EXPECT_EQ(verdict(e), "cbry_183:技术职称不能为空！");
    e = complete();
    e.education.reset();
    e.order.clear();
    EXPECT_EQ(verdict(e), "cbry_184:文化程度不能为空！");
    e = complete();
    e.order = QStringLiteral(" ");
    EXPECT_EQ(verdict(e), "edtry_187:序号不能为空！");
    e = complete();
    e.order = QStringLiteral("2a");
    EXPECT_EQ(verdict(e), "plain:edtry_187:输入序号必须为数字！");
    EXPECT_EQ(verdict(complete()), "ok");
}

// Birth years from 1900 to the current year, months from 1 to 12; a letter in the year fails
// before the month is looked at.
TEST(CompleterChecks, BirthLimits) {
    const auto birth = [](const char* year, const char* month) {
        CompleterEntry e = complete();
        e.year = QString::fromLatin1(year);
        e.month = QString::fromLatin1(month);
        return verdict(e, 2024);
    };
    EXPECT_EQ(birth("1900", "1"), "ok");
    EXPECT_EQ(birth("2024", "12"), "ok");
    EXPECT_EQ(birth("1899", "1"), "edt_182_y:出生年份不合法！");
    EXPECT_EQ(birth("2025", "1"), "edt_182_y:出生年份不合法！");
    EXPECT_EQ(birth("19a5", "13"), "edt_182_y:出生年份不合法！");
    EXPECT_EQ(birth("1965", "0"), "edt_182_m:出生月份不合法！");
    EXPECT_EQ(birth("1965", "13"), "edt_182_m:出生月份不合法！");
    EXPECT_EQ(birth("1965", "x"), "edt_182_m:出生月份不合法！");
}

// A one-digit month is padded once the birth checks passed, also when a later check fails.
TEST(CompleterChecks, PadsTheMonth) {
    CompleterEntry e = complete();
    e.title.reset();
    EXPECT_TRUE(checkCompleterEntry(e, 2024));
    EXPECT_EQ(e.month, "03");
    e = complete();
    e.year = QStringLiteral("1899");
    (void)checkCompleterEntry(e, 2024);
    EXPECT_EQ(e.month, "3");
    e = complete();
    ASSERT_FALSE(checkCompleterEntry(e, 2024));
    EXPECT_EQ(completerBirthText(e.year, e.month), "1965.03");
}

// Academician entries "1a".."1c" store their letter and are found again by it; the other titles
// and the other lists store the first character.
TEST(CompleterCodes, TitlesAndOtherCodes) {
    EXPECT_EQ(storedTitleCode(QStringLiteral("1b  中科院院士")), "b");
    EXPECT_EQ(storedTitleCode(QStringLiteral("1a  两院院士")), "a");
    EXPECT_EQ(storedTitleCode(QStringLiteral("1  **院士")), "1");
    EXPECT_EQ(storedTitleCode(QStringLiteral("2  正高")), "2");
    EXPECT_EQ(titleEntryCode(QStringLiteral("c")), "1c");
    EXPECT_EQ(titleEntryCode(QStringLiteral("3")), "3");
    EXPECT_EQ(storedPeopleCode(QStringLiteral("0  男")), "0");
}

TEST(CompleterCodes, ValuesWritten) {
    CompleterEntry e = complete();
    e.name = QStringLiteral("  张三 ");
    e.month = QStringLiteral("03");
    e.workUnit = QStringLiteral(" 单位 ");
    const auto values = completerValues(e);
    const auto find = [&](const char* field) {
        for (const auto& [name, value] : values)
            if (name == field) return value.toText();
        return std::string("<missing>");
    };
    EXPECT_EQ(find("item_180"), "张三");
    EXPECT_EQ(find("item_182"), "1965.03");
    EXPECT_EQ(find("item_183"), "b");
    EXPECT_EQ(find("item_185"), " 单位 "); // as typed
    EXPECT_EQ(find("item_187"), "<missing>");
}

// A completer moved by a typed number: down to a held number it goes before the holders, up to
// one after them; a number beyond the others puts it first or last.
TEST(CompleterOrder, TypedNumbersPlaceTheMovedRow) {
    using V = std::vector<int>;
    // Listed by number; equal numbers in stored order.
    EXPECT_EQ(completerOrder({0, 1, 2}, 0, -1), (V{0, 1, 2}));
    EXPECT_EQ(completerOrder({1, 1, 2}, 1, -1), (V{1, 0, 2}));
    EXPECT_EQ(completerOrder({1, 2, 2}, 1, 1), (V{0, 2, 1}));
    EXPECT_EQ(completerOrder({2, 2, 3}, 1, 1), (V{0, 1, 2}));
    EXPECT_EQ(completerOrder({2, 2, 3}, 0, 1), (V{1, 0, 2}));
    EXPECT_EQ(completerOrder({1, 2, 9}, 2, 1), (V{0, 1, 2}));
    EXPECT_EQ(completerOrder({1, 1, 2}, -1, 0), (V{0, 1, 2}));
}
