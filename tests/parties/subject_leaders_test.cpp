#include "parties/subject_leaders.h"
#include "support/row_writer.h"
#include "support/shipped_data.h"

#include <gtest/gtest.h>

using namespace xb::parties;
using xb::store::Database;

namespace {

LeaderEntry entry(const char* name, const char* year = "1970", const char* month = "3") {
    LeaderEntry e;
    e.name = QString::fromUtf8(name);
    e.sex = QStringLiteral("1");
    e.year = QString::fromLatin1(year);
    e.month = QString::fromLatin1(month);
    e.field = QStringLiteral("05");
    e.description = QStringLiteral("茶树种质资源");
    return e;
}

// What the dialog writes for such a leader.
xb::forms::RowWriter written(const LeaderEntry& e) {
    return writing({{"item_180", e.name.toStdString()},
                    {"item_181", e.sex->toStdString()},
                    {"item_182", birthText(e.year, e.month).toStdString()},
                    {"item_124_1", e.field.toStdString()},
                    {"item_186", e.description.toStdString()}});
}

QStringList column(const QList<SubjectLeader>& leaders, QString SubjectLeader::*member) {
    QStringList out;
    for (const SubjectLeader& leader : leaders)
        out << leader.*member;
    return out;
}

const QString kOwn = QStringLiteral("9990001000");

} // namespace

// The checks in order, with the limits of the birth year and month.
TEST(SubjectLeaderChecks, MessagesAndLimits) {
    auto message = [](const LeaderEntry& e) {
        auto failure = checkLeaderEntry(e, 2024);
        return failure ? failure->control + u':' + failure->message : QStringLiteral("ok");
    };
    LeaderEntry e = entry("  ");
    EXPECT_EQ(message(e), QStringLiteral("edtry_180:姓名不能为空！"));
    e = entry("王");
    e.sex.reset();
    EXPECT_EQ(message(e), QStringLiteral("cbry_181:性别不能为空！"));
    EXPECT_EQ(message(entry("王", "", "3")), QStringLiteral("Edt_both_1:出生年月均不能为空！"));
    EXPECT_EQ(message(entry("王", "1970", "")), QStringLiteral("Edt_both_1:出生年月均不能为空！"));
    EXPECT_EQ(message(entry("王", "1899")), QStringLiteral("Edt_both_1:出生年份不合法！"));
    EXPECT_EQ(message(entry("王", "2025")), QStringLiteral("Edt_both_1:出生年份不合法！"));
    EXPECT_EQ(message(entry("王", "19a0")), QStringLiteral("Edt_both_1:出生年份不合法！"));
    EXPECT_EQ(message(entry("王", "1900", "0")), QStringLiteral("edt_both_2:出生月份不合法！"));
    EXPECT_EQ(message(entry("王", "2024", "13")), QStringLiteral("edt_both_2:出生月份不合法！"));
    EXPECT_EQ(message(entry("王", "1900", "1")), QStringLiteral("ok"));
    EXPECT_EQ(message(entry("王", "2024", "12")), QStringLiteral("ok"));
    // No check of the research field or the description.
    LeaderEntry bare = entry("王");
    bare.field.clear();
    bare.description.clear();
    EXPECT_EQ(message(bare), QStringLiteral("ok"));
    EXPECT_EQ(birthText(QStringLiteral(" 1970 "), QStringLiteral("3 ")), QStringLiteral("1970.3"));
}

// Added leaders get the next number of their organization and the unit code; changing keeps
// number and code, and hits only the row it was given.
TEST(SubjectLeaderRows, AddChangeDeleteWithNumbering) {
    ShippedData data;
    ASSERT_TRUE(data.ok()) << data.error();
    Database& db = data.db();
    // A leader of another organization is neither listed nor counted.
    ASSERT_TRUE(db.execute("insert into unitexpert (unitcode, item_187, item_180) values "
                           "('1234567890', '1', '外单位')")
                    .ok());
    for (const char* name : {" 张三 ", "李四", "王五"})
        ASSERT_TRUE(addSubjectLeader(db, kOwn, written(entry(name))).ok());
    auto leaders = loadSubjectLeaders(db, kOwn);
    ASSERT_TRUE(leaders.ok()) << leaders.message();
    EXPECT_EQ(
        column(*leaders, &SubjectLeader::name),
        (QStringList{QStringLiteral("张三"), QStringLiteral("李四"), QStringLiteral("王五")}));
    EXPECT_EQ(column(*leaders, &SubjectLeader::order),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(leaders->first().birth, QStringLiteral("1970.3"));
    EXPECT_EQ(leaders->first().sexLabel, QStringLiteral("女"));
    EXPECT_EQ(leaders->first().fieldLabel, QStringLiteral("生物、医药和医疗器械"));

    LeaderEntry changed = entry(" 李四 ", "1980", "11");
    changed.field = QStringLiteral("01");
    ASSERT_TRUE(changeSubjectLeader(db, leaders->at(1).record, written(changed)).ok());
    leaders = loadSubjectLeaders(db, kOwn);
    EXPECT_EQ(leaders->at(1).name, QStringLiteral(" 李四"));
    EXPECT_EQ(leaders->at(1).birth, QStringLiteral("1980.11"));
    EXPECT_EQ(leaders->at(1).order, QStringLiteral("2"));
    EXPECT_EQ(leaders->at(1).fieldLabel, QStringLiteral("电子信息"));

    EXPECT_FALSE(changeSubjectLeader(db, 999, written(changed)).ok());

    auto other = loadSubjectLeaders(db, QStringLiteral("1234567890"));
    EXPECT_EQ(column(*other, &SubjectLeader::order), QStringList{QStringLiteral("1")});
}

// A profile without a unit code still gets its leaders under the own unit code.
TEST(SubjectLeaderRows, EmptyUnitCodeFallsBackToTheOwnCode) {
    ShippedData data;
    ASSERT_TRUE(data.ok()) << data.error();
    Database& db = data.db();
    ASSERT_TRUE(addSubjectLeader(db, QString(), written(entry("张三"))).ok());
    EXPECT_EQ(loadSubjectLeaders(db, kOwn)->size(), 1);
}
