#include "parties/committee_rules.h"
#include "support/row_writer.h"
#include "support/shipped_data.h"

#include <gtest/gtest.h>

using namespace xb::parties;
using xb::store::Database;

namespace {

MemberEntry member(const char* duty, const char* name) {
    MemberEntry e;
    e.duty = QString::fromUtf8(duty);
    e.name = QString::fromUtf8(name);
    e.sex = QStringLiteral("0");
    e.title = QStringLiteral("2");
    e.unit = QStringLiteral("中国农业大学");
    return e;
}

// The duty and name the dialog writes for such a member.
xb::forms::RowWriter written(const MemberEntry& e) {
    return writing({{"item_191", e.duty->toStdString()}, {"item_192", e.name.toStdString()}});
}

// number:region:duty:rank of every committee row of the record number, in stored order.
std::vector<std::string> stored(Database& db, const char* number) {
    auto rows = db.query("select * from jdwyhmd where item_4=:n", {{"n", number}});
    std::vector<std::string> out;
    for ((*rows)->first(); !(*rows)->eof(); (*rows)->next())
        out.push_back((*rows)->text("item_190") + ":" + (*rows)->text("item_dqdm") + ":" +
                      (*rows)->text("item_192") + ":" + (*rows)->text("item_194"));
    return out;
}

} // namespace

// Ranks of the three duties (none for another text), chairmen counted once each (imports may
// hold several), and the checks in order, the blank title entry being a choice.
TEST(CommitteeRules, RanksConflictsAndChecks) {
    EXPECT_EQ(dutyRank(QStringLiteral(" 主任委员 ")), QStringLiteral("1"));
    EXPECT_EQ(dutyRank(QStringLiteral("副主任委员")), QStringLiteral("2"));
    EXPECT_EQ(dutyRank(QStringLiteral("委员")), QStringLiteral("3"));
    EXPECT_FALSE(dutyRank(QStringLiteral("秘书")));
    EXPECT_EQ(chairmanConflicts({QStringLiteral("主任委员"), QStringLiteral("委员"),
                                 QStringLiteral("主任委员 ")}),
              2);
    auto message = [](const MemberEntry& e) {
        auto failure = checkMemberEntry(e);
        return failure ? failure->control + u':' + failure->message : QStringLiteral("ok");
    };
    MemberEntry e = member("委员", "  ");
    e.duty.reset();
    e.sex.reset();
    e.title.reset();
    EXPECT_EQ(message(e), QStringLiteral("cbwy_191:\"评价委员会职务\"不能为空！"));
    e.duty = QStringLiteral("委员");
    EXPECT_EQ(message(e), QStringLiteral("Edtwy_192:\"姓名\"不能为空！"));
    e.name = QStringLiteral("王");
    EXPECT_EQ(message(e), QStringLiteral("cbwy_193:\"性别\"不能为空！"));
    e.sex = QStringLiteral("1");
    EXPECT_EQ(message(e), QStringLiteral("cbwy_198:\"职称\"不能为空！"));
    e.title = QString();
    EXPECT_EQ(message(e), QStringLiteral("ok"));
}

// Numbers count over every region code of the record number, but a record's first member is 1;
// changes and ranks touch only the rows of the record itself.
TEST(CommitteeRules, NumbersAndChangesStayWithinTheRecord) {
    ShippedData data;
    ASSERT_TRUE(data.ok()) << data.error();
    Database& db = data.db();
    const CommitteeKey other{QStringLiteral("2024000001"), QStringLiteral("AB")};
    const CommitteeKey own{QStringLiteral("2024000001"), QStringLiteral(".")};
    ASSERT_TRUE(addMember(db, other, written(member("委员", "外甲"))).ok());
    ASSERT_TRUE(addMember(db, other, written(member("委员", "外乙"))).ok());
    auto first = addMember(db, own, written(member("主任委员", "本甲")));
    ASSERT_TRUE(first.ok()) << first.message();
    ASSERT_TRUE(addMember(db, own, written(member("委员", "本乙"))).ok());
    ASSERT_TRUE(rankMembers(db, own).ok());
    EXPECT_EQ(*nextMemberNumber(db, own), 4);
    EXPECT_EQ(*nextMemberNumber(db, {QStringLiteral("2024000002"), QStringLiteral(".")}), 1);

    // The chairman becomes 秘书, a text of no rank: his row keeps rank 1 while the other record's
    // rows stay unranked.
    MemberEntry changed = member("秘书", "本甲改");
    ASSERT_TRUE(changeMember(db, *first, own, written(changed)).ok());
    ASSERT_TRUE(rankMembers(db, own).ok());
    EXPECT_EQ(stored(db, "2024000001"),
              (std::vector<std::string>{"1:AB:外甲:", "2:AB:外乙:", "1:.:本甲改:1", "3:.:本乙:3"}));
    EXPECT_FALSE(changeMember(db, 999, own, written(changed)).ok());
}
