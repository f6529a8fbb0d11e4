#include "data_directory.h"
#include "store/lookups.h"
#include "store/record_store.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace xb::store;
using xb::install::buildDataDirectory;
using xb::install::repositorySources;

namespace {

std::string buildShipped(const TempDir& dir) {
    const std::string data = dir.file("data");
    auto created = buildDataDirectory(data, repositorySources(XB_SOURCE_DIR));
    EXPECT_TRUE(created.ok()) << (created.ok() ? "" : created.message());
    return data;
}

} // namespace

TEST(Installation, AFreshDataDirectoryOpensWithEveryTableAndBothClassifications) {
    TempDir dir;
    const std::string data = buildShipped(dir);
    for (const TableLayout& layout : allLayouts())
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(data) / layout.fileName))
            << layout.fileName;
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(data) / "welcome.jpg"));
    RecordStore store(data);
    Status opened = store.open();
    ASSERT_TRUE(opened.ok()) << opened.message();
    EXPECT_TRUE(store.hasLibraryClassification());
    EXPECT_TRUE(store.hasDisciplineClassification());
    EXPECT_TRUE((*store.db().table("kjcg"))->isEmpty());
    EXPECT_TRUE((*store.db().table("unit"))->isEmpty());
}

TEST(Installation, EveryDictionaryThePagesNameHasRows) {
    TempDir dir;
    Database db(buildShipped(dir));
    const char* dictionaries[] = {
        "item_1",     "item_2",    "item_16",    "item_21",   "item_21_l", "item_32",  "item_32_1",
        "item_33",    "item_41_3", "item_46",    "item_47",   "item_51",   "item_62",  "item_123",
        "item_124_1", "item_125",  "item_125_1", "item_126",  "item_140",  "item_160", "item_161",
        "item_181",   "item_183",  "item_184",   "item_188",  "item_191",  "item_193", "item_198",
        "item_200",   "item_201",  "item_210",   "patent_st", "patent_ty"};
    for (const char* name : dictionaries) {
        auto entries = dictionaryEntries(db, name, false);
        ASSERT_TRUE(entries.ok()) << name;
        EXPECT_FALSE(entries->empty()) << name;
    }
    for (const char* table : {"province", "lsbw", "xkfl", "ztflh", "gxjs", "DFJHZDXX", "zdxx1"})
        EXPECT_GT((*db.table(table))->count(), 0) << table;
    // The query builder's hint promises version-1.0 items somewhere.
    auto withOld = dictionaryEntries(db, "item_125", false, true);
    auto withoutOld = dictionaryEntries(db, "item_125", false, false);
    EXPECT_GT(withOld->size(), withoutOld->size());
}

TEST(Installation, EveryCompletenessRuleNamesAnAchievementField) {
    TempDir dir;
    Database db(buildShipped(dir));
    auto rules = db.query("select * from checkup");
    ASSERT_TRUE(rules.ok());
    const TableLayout& kjcg = layoutOf("kjcg");
    for ((*rules)->first(); !(*rules)->eof(); (*rules)->next()) {
        const std::string field = (*rules)->text("id");
        const bool known = std::any_of(kjcg.fields.begin(), kjcg.fields.end(),
                                       [&](const FieldDef& f) { return sameName(f.name, field); });
        EXPECT_TRUE(known) << field;
        const std::string group = (*rules)->text("lb");
        EXPECT_TRUE(group == "a" || group == "1" || group == "2") << group;
        const std::string section = (*rules)->text("button");
        EXPECT_TRUE(section == "01" || section == "02" || section == "03" || section == "04")
            << section;
    }
    // Every query item names a field of the achievement table too; the soft-science evaluation
    // form names its dictionary, and the query builder writes item_21 for it.
    auto items = db.query("select * from zdxx1");
    for ((*items)->first(); !(*items)->eof(); (*items)->next()) {
        const std::string field = (*items)->value(1).toText();
        if (field == "item_21_l") {
            EXPECT_EQ((*items)->text("Name"), "评价形式(软、基)");
            continue;
        }
        EXPECT_TRUE(std::any_of(kjcg.fields.begin(), kjcg.fields.end(), [&](const FieldDef& f) {
            return sameName(f.name, field);
        })) << field;
    }
}

TEST(Installation, ASecondBuildLeavesStoredRecordsAlone) {
    TempDir dir;
    const std::string data = buildShipped(dir);
    {
        Database db(data);
        addRow(db, "kjcg", {{"ITEM_4", "2024000001"}, {"ITEM_3", "已有成果"}});
        addRow(db, "zdxx", {{"zddm", "item_1"}, {"xxdm", "9"}, {"xxmc", "用户更新的代码"}});
    }
    std::filesystem::remove(std::filesystem::path(data) / "province.dbf");
    auto again = buildDataDirectory(data, repositorySources(XB_SOURCE_DIR));
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(*again, std::vector<std::string>{"province.dbf"});
    Database db(data);
    EXPECT_EQ((*db.table("kjcg"))->text("ITEM_3"), "已有成果");
    EXPECT_EQ(labelOf(db, "item_1", "9").value(), "用户更新的代码");
}

TEST(Installation, ABadRowsFileLeavesNoHalfFilledTable) {
    TempDir dir;
    const std::filesystem::path rows = dir.path() / "rows";
    std::filesystem::create_directory(rows);
    writeBytes((rows / "province.tsv").string(),
               "Province_i\tProvince_n\n11\t北京市\n12\t天津市\textra\n");
    xb::install::InstallSources sources{rows.string(), {}};
    auto built = buildDataDirectory(dir.file("data"), sources);
    ASSERT_FALSE(built.ok());
    EXPECT_NE(built.message().find("province.tsv"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "data" / "province.dbf"));
}
