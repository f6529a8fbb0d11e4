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
    return e;
}

// "control:message" ("plain:" before plain messages), or "ok".
QString verdict(CompleterEntry e) {
    const auto failure = checkCompleterEntry(e, 2024);
    if (!failure) return QStringLiteral("ok");
    return (failure->plain ? QStringLiteral("plain:") : QString()) + failure->control + u':' +
           failure->message;
}

} // namespace

// Each check in its place of the order (an entry failing two reports the first), with the limits
// of the birth year and month; a letter in the year fails before the month is looked at.
TEST(CompleterChecks, FirstFailureInOrder) {
    const auto with = [](auto change) {
        CompleterEntry e = complete();
        change(e);
        return verdict(e);
    };
    EXPECT_EQ(with([](auto& e) { e.name = " ", e.sex.reset(); }), "edtry_180:姓名不能为空！");
    EXPECT_EQ(with([](auto& e) { e.sex.reset(), e.year.clear(); }), "cbry_181:性别不能为空！");
    EXPECT_EQ(with([](auto& e) { e.month.clear(); }), "edt_182_y:出生年月不能为空！");
    EXPECT_EQ(with([](auto& e) { e.year = "1899"; }), "edt_182_y:出生年份不合法！");
    EXPECT_EQ(with([](auto& e) { e.year = "2025"; }), "edt_182_y:出生年份不合法！");
    EXPECT_EQ(with([](auto& e) { e.year = "19a5", e.month = "13"; }), "edt_182_y:出生年份不合法！");
    EXPECT_EQ(with([](auto& e) { e.month = "0"; }), "edt_182_m:出生月份不合法！");
    EXPECT_EQ(with([](auto& e) { e.month = "13"; }), "edt_182_m:出生月份不合法！");
    EXPECT_EQ(with([](auto& e) { e.title.reset(), e.education.reset(); }),
              "cbry_183:技术职称不能为空！");
    EXPECT_EQ(with([](auto& e) { e.education.reset(), e.order.clear(); }),
              "cbry_184:文化程度不能为空！");
    EXPECT_EQ(with([](auto& e) { e.order = " "; }), "edtry_187:序号不能为空！");
    EXPECT_EQ(with([](auto& e) { e.order = "2a"; }), "plain:edtry_187:输入序号必须为数字！");
    EXPECT_EQ(with([](auto& e) { e.year = "1900", e.month = "12"; }), "ok");
    EXPECT_EQ(with([](auto& e) { e.year = "2024", e.month = "1"; }), "ok");
}

// A one-digit month is padded once the birth checks passed, even when a later check fails.
TEST(CompleterChecks, PadsTheMonth) {
    CompleterEntry e = complete();
    e.title.reset();
    EXPECT_TRUE(checkCompleterEntry(e, 2024));
    EXPECT_EQ(completerBirthText(e.year, e.month), "1965.03");
    e.year = QStringLiteral("1899");
    e.month = QStringLiteral("4");
    (void)checkCompleterEntry(e, 2024);
    EXPECT_EQ(e.month, "4");
}

// A completer moved by a typed number: down to a held number it goes before the holders, up to
// one after them; the others keep their listed order.
TEST(CompleterOrder, TypedNumbersPlaceTheMovedRow) {
    using V = std::vector<int>;
    EXPECT_EQ(completerOrder({1, 1, 2}, 1, -1), (V{1, 0, 2}));
    EXPECT_EQ(completerOrder({1, 2, 2}, 1, 1), (V{0, 2, 1}));
    EXPECT_EQ(completerOrder({2, 2, 3}, 0, 1), (V{1, 0, 2}));
    EXPECT_EQ(completerOrder({1, 1, 2}, -1, 0), (V{0, 1, 2}));
}
