#include "parties/profile_checks.h"
#include "parties/unit_profile.h"
#include "store/lookups.h"
#include "support/shipped_data.h"

#include <gtest/gtest.h>

using namespace xb::parties;
using xb::store::Database;

namespace {

std::string field(Database& db, const char* name) {
    auto unit = db.table("unit");
    return (*unit)->text(name);
}

} // namespace

// A text dialog stores its text at once; on an empty table it creates the row with that text
// alone, which is enough for the profile to count as present.
TEST(UnitProfileStore, TextDialogsCreateTheRowOnAFreshInstallation) {
    ShippedData data;
    ASSERT_TRUE(data.ok()) << data.error();
    Database& db = data.db();
    ASSERT_TRUE(storeProfileText(db, QStringLiteral("studydirec"), QStringLiteral("茶学")).ok());
    EXPECT_TRUE(*hasProfile(db));
    EXPECT_EQ(field(db, "studydirec"), "茶学");
    EXPECT_EQ(field(db, "item_9"), "");
    EXPECT_EQ(field(db, "unitcode"), "");
    ASSERT_TRUE(storeProfileText(db, QStringLiteral("advantage"), QStringLiteral("绿茶")).ok());
    EXPECT_EQ((*db.table("unit"))->count(), 1);
    EXPECT_EQ(field(db, "studydirec"), "茶学");
    EXPECT_FALSE(storeProfileText(db, QStringLiteral("nosuchfield"), QStringLiteral("x")).ok());
    EXPECT_EQ(field(db, "advantage"), "绿茶");
}

// The checks run in their fixed order, each message naming its field.
TEST(ProfileChecks, MessagesInOrder) {
    UnitProfile p;
    QStringList messages;
    auto fix = [&](auto&& step) {
        auto failure = checkProfile(p);
        messages << (failure ? failure->control + u':' + failure->message : QStringLiteral("ok"));
        step();
    };
    fix([&] { p.name = QStringLiteral("   "); });
    fix([&] { p.name = QStringLiteral("茶叶研究所"); });
    fix([&] { p.address = QStringLiteral("杭州"); });
    fix([&] { p.postcode = QStringLiteral("31000"); });
    fix([&] { p.postcode = QStringLiteral("31000a"); });
    fix([&] { p.postcode = QStringLiteral("310008"); });
    fix([&] { p.phone = QStringLiteral("1"); });
    fix([&] { p.fax = QStringLiteral("2"); });
    fix([&] {
        p.introduction = QStringLiteral(" ") + QString(49, QChar(0x8336)) + QStringLiteral(" ");
    });
    fix([&] { p.introduction += QChar(0x8336); });
    fix([&] { p.department = QStringLiteral("科研处"); });
    fix([&] { p.departmentPhone = QStringLiteral("3"); });
    fix([] {});
    const QStringList expected{
        QStringLiteral("edt_9:\"单位名称\"不能为空！"),
        QStringLiteral("edt_9:\"单位名称\"不能为空！"),
        QStringLiteral("Edt_37:\"通讯地址\"不能为空！"),
        QStringLiteral("Edt_38:\"邮政编码\"不能为空！"),
        QStringLiteral("Edt_38:\"邮政编码\"应该为6位数字！"),
        QStringLiteral("Edt_38:\"邮政编码\"必须为数字！"),
        QStringLiteral("Edt_39:\"单位电话\"不能为空！"),
        QStringLiteral("Edt_40:\"单位传真\"不能为空！"),
        QStringLiteral("Memo3:\"单位简介\"不能为空！"),
        QStringLiteral("Memo3:\"单位简介\"内容不得小于50字！"),
        QStringLiteral("Edt_41:\"联系部门\"不能为空！"),
        QStringLiteral("Edt_41_2:\"联系部门电话\"不能为空！"),
        QStringLiteral("ok"),
    };
    EXPECT_EQ(messages, expected);
    // The organization code has no format check here.
    p.orgCode = QStringLiteral("abc");
    EXPECT_FALSE(checkProfile(p));
    // A signed number is no postcode.
    p.postcode = QStringLiteral("-31000");
    EXPECT_TRUE(checkProfile(p));
}
