#include "parties/profile_checks.h"
#include "parties/unit_profile.h"
#include "shipped_data.h"
#include "store/lookups.h"

#include <gtest/gtest.h>

using namespace xb::parties;
using xb::store::Database;

namespace {

UnitProfile completeProfile() {
    UnitProfile p;
    p.name = QStringLiteral("  中国农业科学院茶叶研究所 ");
    p.orgCode = QStringLiteral("12345678-9");
    p.address = QStringLiteral("浙江省杭州市梅灵南路9号");
    p.postcode = QStringLiteral("310008");
    p.phone = QStringLiteral("0571-86650000");
    p.fax = QStringLiteral("0571-86650001");
    p.website = QStringLiteral("www.tricaas.com");
    p.department = QStringLiteral("科研处");
    p.departmentPhone = QStringLiteral("0571-86650002");
    p.email = QStringLiteral("kyc@tricaas.com");
    p.attribute = QStringLiteral("1");
    p.ownership = QStringLiteral("05");
    p.converted = QStringLiteral("1");
    p.province = QStringLiteral("33");
    p.researchFields = QStringLiteral("0101 ;0201 ;");
    p.advantageDisciplines = QStringLiteral("110 ;");
    p.introduction = QString(50, QChar(0x8336)); // 50 × 茶
    p.studyDirection = QStringLiteral("茶树育种\t栽培");
    return p;
}

std::string field(Database& db, const char* name) {
    auto unit = db.table("unit");
    return (*unit)->text(name);
}

} // namespace

// The first save creates the one row with the fixed values of the own organization; the next
// edits that row. The name is trimmed; a non-enterprise stores no enterprise fields; tabs of
// the texts become blanks.
TEST(UnitProfileStore, SavingWritesTheOneRow) {
    ShippedData data;
    ASSERT_TRUE(data.ok()) << data.error();
    Database db(data.path());
    EXPECT_FALSE(*hasProfile(db));
    ASSERT_TRUE(storeProfile(db, completeProfile()).ok());
    EXPECT_TRUE(*hasProfile(db));
    EXPECT_EQ(field(db, "item_9"), "中国农业科学院茶叶研究所");
    EXPECT_EQ(field(db, "unitcode"), "9990001000");
    EXPECT_EQ(field(db, "unitlevel"), "1");
    EXPECT_EQ((*db.table("unit"))->integer("endlevel"), 1);
    EXPECT_EQ((*db.table("unit"))->value("chiefexper").toText(), "   9999999999");
    EXPECT_EQ(field(db, "item_41_3"), "");
    EXPECT_EQ(field(db, "item_163"), "");
    EXPECT_EQ(field(db, "item_124_2"), "0101 ;0201 ;");
    EXPECT_EQ(field(db, "item_15"), "110 ;");
    EXPECT_EQ(field(db, "studydirec"), "茶树育种 栽培");

    UnitProfile enterprise = completeProfile();
    enterprise.attribute = QStringLiteral("3");
    enterprise.converted = QStringLiteral("0");
    ASSERT_TRUE(storeProfile(db, enterprise).ok());
    EXPECT_EQ((*db.table("unit"))->count(), 1);
    EXPECT_EQ(field(db, "item_62"), "3");
    EXPECT_EQ(field(db, "item_41_3"), "05");
    EXPECT_EQ(field(db, "item_163"), "0");

    auto loaded = loadProfile(db);
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded->address, completeProfile().address);
    EXPECT_EQ(loaded->unitCode, QStringLiteral("9990001000"));
    EXPECT_EQ(loaded->introduction, completeProfile().introduction);
}

// A text dialog stores its text at once; on an empty table it creates the row with that text
// alone, which is enough for the profile to count as present.
TEST(UnitProfileStore, TextDialogsCreateTheRowOnAFreshInstallation) {
    ShippedData data;
    ASSERT_TRUE(data.ok()) << data.error();
    Database db(data.path());
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

// Unsaved changes: any compared text, a code, the converted flag, the introduction or the
// marker; the texts that their dialogs store and the code lists (behind the marker) do not count.
TEST(UnitProfileChanges, WhatCountsAsAChange) {
    const UnitProfile stored = completeProfile();
    EXPECT_FALSE(profileDiffers(stored, stored, false));
    EXPECT_TRUE(profileDiffers(stored, stored, true));

    UnitProfile shown = stored;
    shown.orgCode = QStringLiteral("12345678-0");
    EXPECT_TRUE(profileDiffers(stored, shown, false));
    shown = stored;
    shown.province = QStringLiteral("11");
    EXPECT_TRUE(profileDiffers(stored, shown, false));
    shown = stored;
    shown.converted = QStringLiteral("0");
    EXPECT_TRUE(profileDiffers(stored, shown, false));
    shown = stored;
    shown.introduction += QStringLiteral("。");
    EXPECT_TRUE(profileDiffers(stored, shown, false));

    shown = stored;
    shown.researchFields.clear();
    shown.studyDirection = QStringLiteral("另");
    shown.advantage = QStringLiteral("另");
    EXPECT_FALSE(profileDiffers(stored, shown, false));
    // A stored text with Windows line breaks equals what the text area shows.
    UnitProfile windows = stored;
    windows.introduction = QStringLiteral("第一行\r\n第二行");
    shown = stored;
    shown.introduction = QStringLiteral("第一行\n第二行");
    EXPECT_FALSE(profileDiffers(windows, shown, false));
    // An empty stored flag and an unchecked box agree.
    UnitProfile other = stored;
    other.converted.clear();
    shown = other;
    shown.converted = QStringLiteral("0");
    EXPECT_FALSE(profileDiffers(other, shown, false));
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
