#include "records/record_keeping.h"
#include "store/restore.h"
#include "support/record_fixture.h"

using namespace xb::records;
using xb::store::Value;

using RecordKeeping = RecordFixture;

TEST_F(RecordKeeping, NumbersContinueEachYearInTextOrder) {
    EXPECT_EQ(*nextRecordNumber(db(), "2024"), "2024000001");
    addRecord("2024000009", "1", "九");
    EXPECT_EQ(*nextRecordNumber(db(), "2024"), "2024000010");
    addRecord("2024000010", "2", "十"); // whatever its category
    addRecord("2025000001", "1", "次年");
    EXPECT_EQ(*nextRecordNumber(db(), "2024"), "2024000011");
    EXPECT_EQ(*nextRecordNumber(db(), "2025"), "2025000002");
    addRecord("2023999999", "1", "满");
    EXPECT_FALSE(nextRecordNumber(db(), "2023").ok());
}

TEST_F(RecordKeeping, RekeyingMovesEveryChildRowAndOnlyThose) {
    addRecord("2024000001", "1", "甲");
    addRecord("2024000002", "1", "乙");
    for (const char* table : {"cgwcdw", "zlqk", "jdwyhmd", "cgwcr"}) {
        addChild(table, "2024000001");
        addChild(table, "2024000001");
        addChild(table, "2024000002");
    }
    ASSERT_TRUE(rekeyChildren(db(), "2024000001", "2025000001").ok());
    for (const char* table : {"cgwcdw", "zlqk", "jdwyhmd", "cgwcr"}) {
        const std::string t = table;
        EXPECT_EQ(
            count("select count(*) from " + t + " where item_4='2025000001' and item_dqdm='.'"), 2)
            << t;
        EXPECT_EQ(count("select count(*) from " + t + " where item_4='2024000001'"), 0) << t;
        EXPECT_EQ(count("select count(*) from " + t + " where item_4='2024000002'"), 1) << t;
    }
}

TEST_F(RecordKeeping, CategoryChangeClearsTheOtherCategorysFields) {
    addRecord("2024000001", "1", "应用",
              {{"ITEM_123", "1"},
               {"ITEM_124_1", "01;"},
               {"ITEM_16", "2"},
               {"ITEM_33", "1"},
               {"ITEM_32", "1"},
               {"ITEM_32_1", "1;"},
               {"ITEM_125_1", "1"},
               {"ITEM_21", "4"},
               {"ITEM_2", "1"}});
    auto row = std::move(*db().table("kjcg"));
    ASSERT_TRUE(row->edit().ok());
    ASSERT_TRUE(applyCategory(*row, "2").ok());
    ASSERT_TRUE(row->post().ok());
    for (const char* f :
         {"ITEM_123", "ITEM_124_1", "ITEM_16", "ITEM_33", "ITEM_32", "ITEM_32_1", "ITEM_125_1"})
        EXPECT_EQ(field("2024000001", f), "") << f;
    EXPECT_EQ(field("2024000001", "ITEM_21"), "4"); // a form the soft sciences have
    EXPECT_EQ(field("2024000001", "ITEM_2"), "1");
    EXPECT_EQ(field("2024000001", "ITEM_CGLB"), "2");

    ASSERT_TRUE(row->edit().ok());
    (void)row->setValue("ITEM_210", "1");
    (void)row->setValue("ITEM_200", "01;");
    ASSERT_TRUE(applyCategory(*row, "1").ok());
    ASSERT_TRUE(row->post().ok());
    EXPECT_EQ(field("2024000001", "ITEM_210"), "");
    EXPECT_EQ(field("2024000001", "ITEM_200"), "");
    EXPECT_EQ(field("2024000001", "ITEM_21"), ""); // 4 is no form of applied technology
}

TEST_F(RecordKeeping, DeletingARecordTakesItsChildrenAndNothingElseAndARestoreBringsThemBack) {
    addRecord("2024000001", "1", "O'Brien");
    addRecord("2024000002", "1", "留下");
    for (const char* table : {"cgwcdw", "zlqk", "jdwyhmd", "cgwcr"}) {
        addChild(table, "2024000001");
        addChild(table, "2024000002");
    }
    ASSERT_TRUE(deleteRecord(db(), "2024000001", ".").ok());
    EXPECT_EQ(count("select count(*) from kjcg"), 1);
    for (const char* table : {"cgwcdw", "zlqk", "jdwyhmd", "cgwcr"})
        EXPECT_EQ(count(std::string("select count(*) from ") + table), 1) << table;

    const auto backups = xb::store::listBackups(db().directory());
    ASSERT_FALSE(backups.empty());
    EXPECT_EQ(backups.front().operation, "删除");
    db().closeAll();
    auto before = xb::store::restoreBackup(db().directory(), backups.front().folder);
    ASSERT_TRUE(before.ok()) << before.message();
    EXPECT_EQ(count("select count(*) from kjcg where item_3='O''Brien'"), 1);
    for (const char* table : {"cgwcdw", "zlqk", "jdwyhmd", "cgwcr"})
        EXPECT_EQ(count(std::string("select count(*) from ") + table), 2) << table;
}

TEST_F(RecordKeeping, YearListAndListNumbering) {
    EXPECT_TRUE(yearEntries(db())->empty());
    addRecord("2023000001", "1", "a");
    addRecord("2025000001", "1", "b");
    addRecord("2023000002", "1", "c");
    addRecord("abcd000001", "1", "bad");
    EXPECT_EQ(*yearEntries(db()), (std::vector<std::string>{"2025", "2023"}));
    auto list = std::move(*db().query("select * from kjcg where item_4 like '2023%'"));
    ASSERT_TRUE(numberList(*list).ok());
    EXPECT_EQ(field("2023000001", "NO"), "1");
    EXPECT_EQ(field("2023000002", "NO"), "2");
}

TEST_F(RecordKeeping, PrintPreparationCompletesIntellectualPropertyAndPatentSummary) {
    addRecord("2024000001", "1", "专利", {{"ITEM_51", "1"}});
    addChild("zlqk", "2024000001", {{"PATENT_TY", "1"}, {"PATENT_ST", "1"}});
    addChild("zlqk", "2024000001", {{"PATENT_TY", "3"}, {"PATENT_ST", "1"}});
    auto record = std::move(*db().query("select * from kjcg where item_4='2024000001'"));
    ASSERT_TRUE(normalizeIntellectualProperty(*record).ok());
    EXPECT_EQ(field("2024000001", "ITEM_51"), "1;");
    ASSERT_TRUE(normalizeIntellectualProperty(*record).ok());
    EXPECT_EQ(field("2024000001", "ITEM_51"), "1;");
    EXPECT_TRUE(*derivePatentSummary(db(), *record));
    EXPECT_EQ(field("2024000001", "patent_ty"), "1;3;");
    EXPECT_EQ(field("2024000001", "ITEM_51_1"), "2");
    // A summary already there is left alone, even when the patents change.
    addChild("zlqk", "2024000001", {{"PATENT_TY", "2"}, {"PATENT_ST", "2"}});
    EXPECT_FALSE(*derivePatentSummary(db(), *record));
    EXPECT_EQ(field("2024000001", "ITEM_51_1"), "2");

    addRecord("2024000002", "1", "授权");
    addChild("zlqk", "2024000002", {{"PATENT_TY", "2"}, {"PATENT_ST", "2"}});
    auto granted = std::move(*db().query("select * from kjcg where item_4='2024000002'"));
    EXPECT_TRUE(*derivePatentSummary(db(), *granted));
    EXPECT_EQ(field("2024000002", "ITEM_51_1"), "3");
    addRecord("2024000003", "1", "无专利");
    auto none = std::move(*db().query("select * from kjcg where item_4='2024000003'"));
    EXPECT_FALSE(*derivePatentSummary(db(), *none));
    EXPECT_EQ(field("2024000003", "ITEM_51_1"), "");
}

// A new record gets the next number of its year and its position; a change of year gives the
// record the next number of the new year and its children follow; a refused change puts the
// children back where they were.
TEST_F(RecordKeeping, CreateAndChangeMainItems) {
    using xb::records::MainItems;
    addRecord("2024000001", "1", "甲");
    const MainItems items{"2024", "2", "乙", "某研究所", "1"};
    auto created = xb::records::createRecord(db(), items, 2);
    ASSERT_TRUE(created.ok()) << created.message();
    EXPECT_EQ(*created, "2024000002");
    EXPECT_EQ(field("2024000002", "item_cglb"), "2");
    EXPECT_EQ(field("2024000002", "item_9"), "某研究所");
    EXPECT_EQ(field("2024000002", "no"), "2");
    EXPECT_EQ(*xb::records::recordsNamed(db(), "乙"), 1);

    addChild("cgwcr", "2024000002", {{"ITEM_180", "张三"}});
    addRecord("2025000001", "1", "丙");
    auto moved =
        xb::records::changeMainItems(db(), "2024000002", {"2025", "1", "乙改", "某研究所", ""});
    ASSERT_TRUE(moved.ok()) << moved.message();
    EXPECT_EQ(*moved, "2025000002");
    EXPECT_EQ(field("2025000002", "item_3"), "乙改");
    EXPECT_EQ(field("2024000002", "item_3"), "<none>");
    EXPECT_EQ(count("select count(*) from cgwcr where item_4='2025000002'"), 1);

    // Children of a number that has no record: the change is refused and they stay put.
    addChild("cgwcr", "2023000009", {{"ITEM_180", "李四"}});
    auto refused =
        xb::records::changeMainItems(db(), "2023000009", {"2026", "1", "丁", "某研究所", ""});
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(count("select count(*) from cgwcr where item_4='2023000009'"), 1);
    EXPECT_EQ(count("select count(*) from cgwcr where item_4 like '2026%'"), 0);
}
