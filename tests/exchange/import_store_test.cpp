// Storing staged achievements: the numbering of each year, child rows that follow their own
// achievement, a record that cannot be stored, the completer pool and the overwrite import.
#include "exchange/import_duplicates.h"
#include "exchange/import_merge.h"
#include "exchange/import_staging.h"
#include "import_fixture.h"
#include "store/layouts.h"
#include "store/lookups.h"
#include "store/table_file.h"

#include <QDir>
#include <QFile>

namespace xb::exchange::testing {
namespace {

class ImportStoring : public ImportFixture {
  protected:
    void stage(const std::string& number, const std::string& name, const std::string& region = ".",
               const std::string& unit = "第一单位") {
        addRow("kjcgtemp", {{"ITEM_4", number},
                            {"ITEM_DQDM", region},
                            {"ITEM_3", name},
                            {"ITEM_9", unit},
                            {"ITEM_CGLB", "1"},
                            {"ITEM_13", "简介\r\n第二行"}});
    }
    void stageChild(const std::string& table, const std::string& number, const Fields& more,
                    const std::string& region = ".") {
        Fields fields{{"ITEM_4", number}, {"ITEM_DQDM", region}};
        fields.insert(fields.end(), more.begin(), more.end());
        addRow(table, fields);
    }
    // Raises the row count in the table's header by one, past what the file holds.
    void announceOneRowMore(const std::string& table) {
        QFile file(QString::fromStdString(db().tablePath(table)));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.seek(4));
        QByteArray countBytes = file.read(4);
        countBytes[0] = static_cast<char>(countBytes[0] + 1);
        ASSERT_TRUE(file.seek(4));
        ASSERT_EQ(file.write(countBytes), 4);
    }
    // Each stored row of a child table as (record number, region code, `field`).
    std::vector<std::string> children(const std::string& table, const std::string& field) {
        std::vector<std::string> out;
        auto c = db().query("select * from " + table);
        for ((*c)->first(); !(*c)->eof(); (*c)->next())
            out.push_back((*c)->text("ITEM_4") + " " + (*c)->text("ITEM_DQDM") + " " +
                          (*c)->text(field));
        return out;
    }
    std::string nameOf(const std::string& number) {
        const auto names = column("select * from kjcg where item_4=:n", "ITEM_3", {{"n", number}});
        return names.size() == 1 ? names[0] : "<" + std::to_string(names.size()) + " rows>";
    }
};

using Texts = std::vector<std::string>;

TEST_F(ImportStoring, NumbersContinueEachYearAndChildRowsFollowTheirAchievement) {
    addRecord("2008000004", "旧一");
    addRecord("2008000005", "旧二");
    addRecord("2008x", "编号不对的旧记录");
    stage("2008000001", "甲");
    stageChild("cgwcrtemp", "2008000001", {{"ITEM_180", "张三"}});
    stageChild("zlqktemp", "2008000001", {{"PATENT_NAM", "专利一"}});
    stage("2008000002", "乙", "AB");
    stageChild("cgwcrtemp", "2008000002", {{"ITEM_180", "李四"}}, "AB");
    stageChild("cgwcdwtemp", "2008000002", {{"ITEM_170", "合作乙"}}, "AB");
    // Same number, another region code: a different achievement's row.
    stageChild("cgwcdwtemp", "2008000002", {{"ITEM_170", "不属于乙"}}, ".");
    stage("2011000007", "丙");
    stageChild("jdwyhmdtemp", "2011000007", {{"ITEM_192", "赵六"}});
    stageChild("cgwcrtemp", "2009000009", {{"ITEM_180", "无主的人"}});

    std::vector<std::pair<int, int>> progress;
    const MergeOutcome outcome = storeStagedAchievements(db(), [&](int done, int total) {
        progress.push_back({done, total});
    });
    EXPECT_TRUE(outcome.problems.empty()) << outcome.problems.front();
    EXPECT_EQ(outcome.added, 3);
    EXPECT_FALSE(outcome.stagedLeft);
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));

    // The year's greatest record number plus one, in table order; a year without stored
    // records keeps the staged number.
    EXPECT_EQ(nameOf("2008000006"), "甲");
    EXPECT_EQ(nameOf("2008000007"), "乙");
    EXPECT_EQ(nameOf("2011000007"), "丙");
    EXPECT_EQ(column("select * from kjcg where item_4=:n", "ITEM_13", {{"n", "2008000006"}}),
              Texts{"简介\r\n第二行"});
    EXPECT_EQ(children("cgwcr", "ITEM_180"), (Texts{"2008000006 . 张三", "2008000007 . 李四"}));
    EXPECT_EQ(children("zlqk", "PATENT_NAM"), Texts{"2008000006 . 专利一"});
    EXPECT_EQ(children("cgwcdw", "ITEM_170"), Texts{"2008000007 . 合作乙"});
    EXPECT_EQ(children("jdwyhmd", "ITEM_192"), Texts{"2011000007 . 赵六"});
    EXPECT_EQ(
        column("select * from kjcg where item_4 like '2008%' and item_dqdm='.'", "ITEM_4").size(),
        5u);
    EXPECT_EQ(stagedRows(), 0);
}

TEST_F(ImportStoring, AnAchievementThatCannotBeStoredStaysStagedWithItsRows) {
    addRecord("2009999999", "最后一个编号");
    stage("2008000001", "甲");
    stageChild("cgwcrtemp", "2008000001", {{"ITEM_180", "张三"}});
    stage("2009000001", "乙");
    stageChild("cgwcrtemp", "2009000001", {{"ITEM_180", "李四"}});

    const MergeOutcome outcome = storeStagedAchievements(db());
    EXPECT_EQ(outcome.added, 1);
    ASSERT_EQ(outcome.problems.size(), 1u);
    EXPECT_NE(
        outcome.problems[0].find("成果“乙”（2009000001）未能入库：2009 年的成果管理编号已经用完"),
        std::string::npos)
        << outcome.problems[0];
    EXPECT_TRUE(outcome.stagedLeft);
    EXPECT_EQ(nameOf("2008000001"), "甲");
    EXPECT_EQ(children("cgwcr", "ITEM_180"), Texts{"2008000001 . 张三"});
    EXPECT_EQ(column("select * from kjcgtemp", "ITEM_3"), Texts{"乙"});
    EXPECT_EQ(column("select * from cgwcrtemp", "ITEM_180"), Texts{"李四"});
}

TEST_F(ImportStoring, ChildRowsAddedBeforeAFailedAchievementRowAreRemoved) {
    stage("2008000001", "甲");
    stageChild("cgwcrtemp", "2008000001", {{"ITEM_180", "张三"}});
    stageChild("zlqktemp", "2008000001", {{"PATENT_NAM", "专利一"}});
    // An achievement table whose header announces a row more than the file holds is only read.
    announceOneRowMore("kjcg");
    store::Database reopened(dataPath());

    const MergeOutcome outcome = storeStagedAchievements(reopened);
    EXPECT_EQ(outcome.added, 0);
    ASSERT_EQ(outcome.problems.size(), 1u);
    EXPECT_NE(outcome.problems[0].find("未能入库"), std::string::npos);
    EXPECT_TRUE(outcome.stagedLeft);
    for (const char* table : {"cgwcr", "zlqk"}) {
        auto rows = reopened.query(std::string("select * from ") + table);
        ASSERT_TRUE(rows.ok());
        EXPECT_EQ((*rows)->count(), 0) << table;
    }
    auto staged = loadStagedAchievements(reopened);
    ASSERT_TRUE(staged.ok());
    EXPECT_EQ(staged->size(), 1u);
}

TEST_F(ImportStoring, CompleterPoolKeepsOneRowPerName) {
    addRow("cgwcrNew", {{"ITEM_4", "2001000001"}, {"ITEM_180", "张三"}, {"ITEM_185", "旧单位"}});
    addRow("cgwcrNew", {{"ITEM_4", "2001000002"}, {"ITEM_180", "李四"}, {"ITEM_185", "甲"}});
    addRow("cgwcrNew", {{"ITEM_4", "2001000003"}, {"ITEM_180", "李四"}, {"ITEM_185", "乙"}});
    addRecord("2008000003", "已有");
    stage("2008000001", "新成果");
    stageChild("cgwcrtemp", "2008000001", {{"ITEM_180", "张三 "}, {"ITEM_185", "新单位"}});
    stageChild("cgwcrtemp", "2008000001", {{"ITEM_180", "李四"}, {"ITEM_185", "丙"}});
    stageChild("cgwcrtemp", "2008000001", {{"ITEM_180", "王五"}, {"ITEM_185", "丁"}});

    const MergeOutcome outcome = storeStagedAchievements(db());
    EXPECT_TRUE(outcome.problems.empty());
    // The pool takes the staged row as it came, its staged record number included.
    EXPECT_EQ(children("cgwcrNew", "ITEM_185"), (Texts{"2008000001 . 新单位", "2001000002  甲",
                                                       "2001000003  乙", "2008000001 . 丁"}));
}

// Live tables another program wrote: fields in another order, with one of its own, are written by
// name; a table that lacks a field the program writes is refused with its name, nothing stored.
TEST_F(ImportStoring, TablesOfOtherWritersAreWrittenByNameOrRefused) {
    const auto replaceTable = [this](const char* name, const store::FieldList& fields) {
        db().closeTable(name);
        const std::string path = db().tablePath(name);
        for (const QString& file : QDir(QString::fromStdString(dataPath()))
                                       .entryList({QString::fromLatin1(name) + ".*"}, QDir::Files))
            ASSERT_TRUE(QDir(QString::fromStdString(dataPath())).remove(file));
        auto created = store::TableFile::create(path, fields);
        ASSERT_TRUE(created.ok()) << created.message();
    };
    store::FieldList reversed(store::layoutOf("cgwcr").fields.rbegin(),
                              store::layoutOf("cgwcr").fields.rend());
    reversed.push_back(store::charField("THEIRS", 8));
    replaceTable("cgwcr", reversed);
    stage("2008000001", "甲");
    stageChild("cgwcrtemp", "2008000001", {{"ITEM_180", "张三"}, {"ITEM_185", "某大学"}});
    MergeOutcome outcome = storeStagedAchievements(db());
    ASSERT_TRUE(outcome.problems.empty()) << outcome.problems.front();
    EXPECT_EQ(children("cgwcr", "ITEM_180"), (Texts{"2008000001 . 张三"}));
    EXPECT_EQ(children("cgwcr", "ITEM_185"), (Texts{"2008000001 . 某大学"}));

    for (const char* missing : {"ITEM_9", "ITEM_4"}) {
        store::FieldList lacking;
        for (const store::FieldDef& field : store::layoutOf("kjcg").fields)
            if (!store::sameName(field.name, missing)) lacking.push_back(field);
        replaceTable("kjcg", lacking);
        ASSERT_TRUE(emptyStagingTables(db()).ok());
        stage("2008000002", "乙");
        stageChild("cgwcrtemp", "2008000002", {{"ITEM_180", "李四"}});
        outcome = storeStagedAchievements(db());
        ASSERT_EQ(outcome.problems.size(), 1u) << missing;
        EXPECT_NE(outcome.problems.front().find("kjcg"), std::string::npos)
            << outcome.problems.front();
        EXPECT_NE(store::lowerName(outcome.problems.front()).find(store::lowerName(missing)),
                  std::string::npos)
            << outcome.problems.front();
        EXPECT_EQ(children("cgwcr", "ITEM_180"), (Texts{"2008000001 . 张三"})) << missing;
        EXPECT_TRUE(outcome.stagedLeft);
    }
}

TEST_F(ImportStoring, OverwriteReplacesTwinsAndLeavesUnnamedOnesStaged) {
    addRecord("2008000001", "别的成果");
    addRecord("2008000003", "O'Neil的成果", "单位'甲");
    addRow("cgwcr", {{"ITEM_4", "2008000003"}, {"ITEM_DQDM", "."}, {"ITEM_180", "旧人"}});
    addRow("zlqk", {{"ITEM_4", "2008000003"}, {"ITEM_DQDM", "."}, {"PATENT_NAM", "旧专利"}});
    stage("2008000009", "  O'Neil的成果 ", ".", "单位'甲");
    stageChild("cgwcrtemp", "2008000009", {{"ITEM_180", "新人"}});
    stage("2008000010", "新成果");
    stage("2008000011", "");
    stageChild("cgwcrtemp", "2008000011", {{"ITEM_180", "无名成果的人"}});

    const MergeOutcome outcome = overwriteImport(db());
    EXPECT_TRUE(outcome.problems.empty()) << outcome.problems.front();
    EXPECT_EQ(outcome.added, 1);
    EXPECT_EQ(outcome.overwritten, 1);
    EXPECT_EQ(outcome.skipped, 1);
    EXPECT_TRUE(outcome.stagedLeft);

    // The new copy is stored before its twin goes, so it never takes the twin's number.
    EXPECT_EQ(column("select * from kjcg", "ITEM_4"),
              (Texts{"2008000001", "2008000004", "2008000005"}));
    EXPECT_EQ(nameOf("2008000004"), "  O'Neil的成果");
    EXPECT_EQ(nameOf("2008000005"), "新成果");
    EXPECT_EQ(children("cgwcr", "ITEM_180"), Texts{"2008000004 . 新人"});
    EXPECT_EQ(count("zlqk"), 0);
    EXPECT_EQ(column("select * from kjcgtemp", "ITEM_4"), Texts{"2008000011"});
    EXPECT_EQ(column("select * from cgwcrtemp", "ITEM_180"), Texts{"无名成果的人"});
}

// Achievements of one name in one package: each overwrite finds the copy stored just before it,
// so one copy stays, the last; records of other names in between are stored as usual.
TEST_F(ImportStoring, OverwriteOfTwinsWithinOnePackageLeavesTheLastCopy) {
    addRecord("2008000001", "甲");
    addRow("cgwcr", {{"ITEM_4", "2008000001"}, {"ITEM_DQDM", "."}, {"ITEM_180", "旧人"}});
    stage("2008000011", "甲");
    stageChild("cgwcrtemp", "2008000011", {{"ITEM_180", "第一份"}});
    stage("2008000012", "乙");
    stage("2008000013", "甲 ");
    stageChild("cgwcrtemp", "2008000013", {{"ITEM_180", "第二份"}});
    stage("2008000014", "丙");
    stage("2008000015", "丙");
    stage("2008000016", "甲", ".", "另一单位");

    const MergeOutcome outcome = overwriteImport(db());
    EXPECT_TRUE(outcome.problems.empty()) << outcome.problems.front();
    EXPECT_EQ(outcome.added, 3);
    EXPECT_EQ(outcome.overwritten, 3);
    EXPECT_FALSE(outcome.stagedLeft);
    EXPECT_EQ(column("select * from kjcg", "ITEM_3"), (Texts{"乙", "甲", "丙", "甲"}));
    EXPECT_EQ(column("select * from kjcg", "ITEM_4"),
              (Texts{"2008000003", "2008000004", "2008000006", "2008000007"}));
    EXPECT_EQ(children("cgwcr", "ITEM_180"), Texts{"2008000004 . 第二份"});
}

// A child table that refuses its rows in the middle of a group: every achievement of the group is
// refused with the reason, the rows written for them are taken back and all stay staged.
TEST_F(ImportStoring, AGroupThatCannotBeWrittenIsRefusedWhole) {
    for (int i = 1; i <= 3; ++i) {
        const std::string number = "200800000" + std::to_string(i);
        stage(number, "成果" + std::to_string(i));
        stageChild("zlqktemp", number, {{"PATENT_NAM", "专利"}});
        stageChild("cgwcrtemp", number, {{"ITEM_180", "人" + std::to_string(i)}});
        stageChild("cgwcdwtemp", number, {{"ITEM_170", "单位"}});
    }
    // A table whose header announces a row more than the file holds is only read.
    announceOneRowMore("cgwcdw");
    store::Database reopened(dataPath());

    const MergeOutcome outcome = storeStagedAchievements(reopened);
    EXPECT_EQ(outcome.added, 0);
    // One message for the cause, with the count it stopped, not one per record.
    ASSERT_EQ(outcome.problems.size(), 1u);
    const std::string& problem = outcome.problems.front();
    EXPECT_EQ(problem.find("从成果“成果1”（2008000001）起，3 项成果未能入库"), 0u) << problem;
    EXPECT_NE(problem.find("cgwcdw"), std::string::npos) << problem;
    EXPECT_TRUE(outcome.stagedLeft);
    for (const char* table : {"kjcg", "zlqk", "cgwcr"}) {
        auto rows = reopened.query(std::string("select * from ") + table);
        ASSERT_TRUE(rows.ok());
        EXPECT_EQ((*rows)->count(), 0) << table;
    }
    auto pool = reopened.query("select * from cgwcrNew");
    ASSERT_TRUE(pool.ok());
    EXPECT_EQ((*pool)->count(), 0);
    auto staged = loadStagedAchievements(reopened);
    ASSERT_TRUE(staged.ok());
    EXPECT_EQ(staged->size(), 3u);
}

// The twin of an overwrite is the first stored record the statement on name and organization
// finds: blanks around the texts, an empty organization, deleted records and names met twice.
TEST_F(ImportStoring, TwinsAreTheRecordsTheStatementFinds) {
    addRecord("2008000001", "甲", "单位");
    addRecord("2008000002", "甲", "单位");
    addRecord("2008000003", "乙", "");
    addRecord("2008000004", "  丙", "单位");
    addRecord("2008000005", "丁 ", "单位 ");
    addRecord("2008000006", "", "");
    const std::vector<std::pair<std::string, std::string>> asked{
        {"甲", "单位"},   {" 甲 ", "单位"}, {"乙", ""},     {"乙", "  "}, {"丙", "单位"},
        {"  丙", "单位"}, {"丁", "单位"},   {"戊", "单位"}, {"", ""},     {"甲", "别的"}};
    const auto expectAsTheStatement = [&] {
        for (const auto& [name, unit] : asked) {
            const auto found =
                column("select * from kjcg where item_3=:item_3 and item_9=:item_9", "ITEM_4",
                       {{"item_3", store::trimmed(name)}, {"item_9", store::trimmed(unit)}});
            auto twin = findStoredTwin(db(), name, unit);
            ASSERT_TRUE(twin.ok()) << twin.message();
            EXPECT_EQ(twin->value_or("<none>"), found.empty() ? "<none>" : found.front())
                << name << "/" << unit;
        }
    };
    expectAsTheStatement();
    ASSERT_TRUE(deleteStoredRecord(db(), "2008000001").ok());
    expectAsTheStatement();
}

} // namespace
} // namespace xb::exchange::testing
