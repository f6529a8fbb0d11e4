// Reading unpacked packages into the staging tables: what a hand-written package stages, which
// packages are refused, and that a refused package leaves nothing staged and the live tables
// as they were.
#include "exchange/import_reading.h"
#include "exchange/import_staging.h"
#include "exchange/import_statistics.h"
#include "import_sample_package.h"

namespace xb::exchange::testing {
namespace {

class ImportReading : public ImportFixture {
  protected:
    store::Result<int> read() {
        ReadingOptions options;
        options.today = store::Date{2024, 1, 2};
        options.progress = [this](const QString& step, int) { steps << step; };
        return readPackage(db(), packageFolder(), options);
    }
    std::string staged(const std::string& number, const std::string& field) {
        auto c = db().query("select * from kjcgtemp where item_4=:n", {{"n", number}});
        return c.ok() && !(*c)->isEmpty() ? (*c)->value(field).toText() : "<none>";
    }
    QStringList steps;
};

TEST_F(ImportReading, HandWrittenPackageIsStagedValueByValue) {
    writeSamplePackage(packageFolder());
    auto read = this->read();
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(*read, 3);

    EXPECT_EQ(staged("2008000001", "ITEM_3"), "水稻新品种选育");
    EXPECT_EQ(staged("2008000001", "ITEM_120"), "a\"b");
    EXPECT_EQ(staged("2008000001", "ITEM_8"), "2001.01\t至2003.12");
    EXPECT_EQ(staged("2008000001", "ITEM_13"), "第一行\r\n第二行");
    EXPECT_EQ(staged("2008000001", "ITEM_14"), "\"关键词");
    EXPECT_EQ(staged("2008000001", "ITEM_45"), "12.5");
    // An achievement without a registration date gets the day of the import.
    EXPECT_EQ(staged("2008000001", "ITEM_121"), "2024-01-02");
    EXPECT_EQ(staged("2008000002", "ITEM_121"), "2009-05-06");
    EXPECT_EQ(staged("2008000002", "ITEM_303"), "评价意见");
    // Running numbers replace whatever the package carried.
    EXPECT_EQ(column("select * from kjcgtemp", "NO"), (std::vector<std::string>{"1", "2", "3"}));

    EXPECT_EQ(column("select * from cgwcrtemp", "ITEM_180"),
              (std::vector<std::string>{"张三", "李四", "王五"}));
    EXPECT_EQ(column("select * from cgwcrtemp", "ITEM_188"),
              (std::vector<std::string>{"1", "0", "0"}));
    EXPECT_EQ(count("cgwcdwtemp"), 2);
    EXPECT_EQ(column("select * from jdwyhmdtemp", "ITEM_192"), std::vector<std::string>{"赵六"});
    EXPECT_EQ(column("select * from zlqktemp", "PATENT_NAM"), std::vector<std::string>{"专利名称"});

    auto achievements = loadStagedAchievements(db());
    ASSERT_TRUE(achievements.ok());
    const ImportStatistics statistics = statisticsOf(*achievements);
    EXPECT_EQ(countLabelText(statistics), "记录条数:3条；");
    EXPECT_EQ(statisticsLabelText(statistics), "其中：应用技术1条，基础理论1条，软科学1条。");
    EXPECT_EQ(steps.first(), "正在导入科技成果主表……");
    EXPECT_EQ(steps.last(), "正在导入专利情况……");
}

TEST_F(ImportReading, UnitFileMayBeMissingButNotTwoFiles) {
    writeSamplePackage(packageFolder(), false);
    auto read = this->read();
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(*read, 3);

    // File names arrive in any letter case.
    ASSERT_TRUE(QFile::rename(inPackage("CGWCR.TXT"), inPackage("cgwcr.txt")));
    EXPECT_TRUE(checkPackageFiles(packageFolder()).ok());

    ASSERT_TRUE(QFile::remove(inPackage("ZLQK.TXT")));
    auto refused = this->read();
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.message(), "文件的格式不正确");
    // Nothing was read: what was staged before stays as it was.
    EXPECT_EQ(count("kjcgtemp"), 3);
}

TEST_F(ImportReading, EmptyFilesStageNothing) {
    for (const char* name : {"KJCG.TXT", "CGWCDW.TXT", "CGWCR.TXT", "JDWYHMD.TXT", "ZLQK.TXT"})
        writePackageFile(name, "");
    addRow("kjcgtemp", {{"ITEM_4", "2001000001"}, {"ITEM_3", "上次留下的"}});
    auto read = this->read();
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(*read, 0);
    EXPECT_EQ(stagedRows(), 0);

    // The emptied staging tables are sound files that the next start packs and opens.
    EXPECT_TRUE(QDir(QString::fromStdString(dataPath()))
                    .entryList({".xbempty*"}, QDir::Files | QDir::Hidden)
                    .isEmpty());
    store.reset();
    store = std::make_unique<store::RecordStore>(dataPath());
    auto reopened = store->open();
    ASSERT_TRUE(reopened.ok()) << reopened.message();
    addRow("kjcgtemp", {{"ITEM_4", "2002000001"}, {"ITEM_13", "备注\r\n两行"}});
    EXPECT_EQ(column("select * from kjcgtemp", "ITEM_13"),
              std::vector<std::string>{"备注\r\n两行"});
}

TEST_F(ImportReading, AValueHoldingABareLineFeedIsStagedWhole) {
    writeSamplePackage(packageFolder());
    RawTexts achievement = sampleAchievement(2);
    achievement["ITEM_13_1"] = "第一行\n第二行";
    achievement["ITEM_3"] = store::fromGbk("\xD5\xC5\xAA\xA1");
    achievement["ITEM_45"] = "9999999999999.9999";
    writePackageFile("KJCG.TXT", linesOf({kjcgLine(achievement)}));
    auto read = this->read();
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(*read, 1);
    EXPECT_EQ(staged("2008000002", "ITEM_13_1"), "第一行\n第二行");
    EXPECT_EQ(staged("2008000002", "ITEM_303"), "评价意见");
    EXPECT_EQ(store::toGbk(staged("2008000002", "ITEM_3")), "\xD5\xC5\xAA\xA1");
    EXPECT_EQ(staged("2008000002", "ITEM_45"), "9999999999999.9999");
}

struct BrokenFile {
    const char* what;
    const char* file;
    std::string bytes;
    const char* expected; // part of the message
};

TEST_F(ImportReading, BrokenFilesAreRefusedAndNothingStaysStaged) {
    addRecord("2008000001", "已有成果");
    addRow("cgwcr", {{"ITEM_4", "2008000001"}, {"ITEM_DQDM", "."}, {"ITEM_180", "已有的人"}});
    const auto before = liveSnapshot();

    const std::string first = kjcgLine(sampleAchievement(1));
    const std::string second = kjcgLine(sampleAchievement(2));
    const std::string memoStart = store::toGbk("\"第一行\r\n");
    const std::string cutInMemo = first.substr(0, first.find(memoStart) + memoStart.size());
    const std::vector<BrokenFile> cases{
        {"cut inside a quoted memo", "KJCG.TXT", linesOf({second}) + cutInMemo,
         "第 2 行起的记录在文件结尾处中断"},
        {"cut in the middle of a line", "KJCG.TXT",
         linesOf({second}) + first.substr(0, first.size() - 5), "最后一行不完整"},
        {"garbage without values", "KJCG.TXT", "\x01\x02\xfe\xfe garbage\r\nmore\r\n",
         "第 1 行的成果管理编号“”不是年份加六位序号"},
        {"bytes that are not code page 936", "KJCG.TXT",
         linesOf({second, "2008000003\t.\t\xD5\xC5\xFF\xAA\xA1"}),
         "第 2 行第 3 项含有不属于 GBK 编码的字节 FF"},
        {"a record number that is not one", "KJCG.TXT",
         linesOf({kjcgLine({{"ITEM_4", "2008-1"}, {"ITEM_3", "x"}})}), "“2008-1”"},
        {"two achievements of one record key", "KJCG.TXT", linesOf({second, second}),
         "第 2 行的成果管理编号“2008000002”与前面的成果重复"},
        {"text in a number field", "CGWCR.TXT",
         linesOf({childLine("cgwcr", {{"ITEM_4", "2008000001"}, {"ITEM_187", "abc"}})}),
         "不是数字"},
        {"a child row of no record number", "ZLQK.TXT", linesOf({"garbage line"}),
         "ZLQK.TXT 第 1 行的成果管理编号"},
        {"more values than fields", "CGWCDW.TXT",
         linesOf({childLine("cgwcdw", {{"ITEM_4", "2008000001"}}) + "\tx\ty\tz"}), "多于"},
    };
    for (const BrokenFile& broken : cases) {
        SCOPED_TRACE(broken.what);
        writeSamplePackage(packageFolder());
        writePackageFile(broken.file, broken.bytes);
        auto read = this->read();
        ASSERT_FALSE(read.ok());
        EXPECT_NE(read.message().find(broken.file), std::string::npos) << read.message();
        EXPECT_NE(read.message().find(broken.expected), std::string::npos) << read.message();
        EXPECT_EQ(stagedRows(), 0);
        EXPECT_EQ(liveSnapshot(), before);
    }
}

} // namespace
} // namespace xb::exchange::testing
