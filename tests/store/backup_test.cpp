#include "store/backup.h"
#include "store/database.h"
#include "support/test_file_system.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace xb::store;

namespace {

class BackupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(data());
        for (const char* name : {"kjcg", "cgwcr"}) {
            const TableLayout& layout = layoutOf(name);
            ASSERT_TRUE(TableFile::create(data() + "/" + layout.fileName, layout.fields).ok());
        }
        Database db(data());
        addRow(db, "kjcg", {{"ITEM_4", "2024000001"}, {"ITEM_3", "成果甲"}, {"ITEM_13", "备注"}});
        addRow(db, "cgwcr", {{"ITEM_4", "2024000001"}, {"ITEM_180", "张三"}});
    }
    std::string data() const { return dir.file("data"); }
    TempDir dir;
};

TEST_F(BackupTest, CopiesTablesAndMemosByteForByteBesideTheData) {
    auto backup = backupTables(data(), "导入", {"kjcg", "cgwcr", "zlqk"});
    ASSERT_TRUE(backup.ok()) << backup.message();
    EXPECT_EQ(fs::path(backup->folder).parent_path(), dir.path() / "backups");
    EXPECT_EQ(backup->files.size(), 3u); // kjcg.dbf, kjcg.dbt, cgwcr.dbf; no zlqk here
    for (const std::string& file : backup->files)
        EXPECT_EQ(readBytes((fs::path(backup->folder) / file).string()),
                  readBytes((fs::path(data()) / file).string()))
            << file;
}

TEST_F(BackupTest, AFullDiskLeavesNoBackupAndSaysSo) {
    xb::test::TestFileSystem layer;
    FileSystemOverride use(layer);
    layer.fillDiskAfter(1);
    auto backup = backupTables(data(), "删除", {"kjcg", "cgwcr"});
    ASSERT_FALSE(backup.ok());
    EXPECT_NE(backup.message().find("本次操作未进行"), std::string::npos) << backup.message();
    std::error_code ec;
    EXPECT_TRUE(fs::is_empty(dir.path() / "backups", ec));
}

TEST_F(BackupTest, KeepsTheNewestThirtyAndEveryOneOfTheLastWeek) {
    const fs::path root = dir.path() / "backups";
    const std::time_t now = std::time(nullptr);
    auto name = [](std::time_t t) {
        std::tm local{};
        localtime_r(&t, &local);
        char text[32];
        std::strftime(text, sizeof text, "%Y%m%d-%H%M%S-导入", &local);
        return std::string(text);
    };
    // 40 from the last three days, 10 older than a week: the recent ones all stay, old ones go.
    for (int i = 0; i < 40; ++i)
        fs::create_directories(root / name(now - i * 3600));
    for (int i = 0; i < 10; ++i)
        fs::create_directories(root / name(now - (10 + i) * 24 * 3600));
    auto removed = keepRecentBackups(root.string(), now);
    ASSERT_TRUE(removed.ok());
    EXPECT_EQ(*removed, 10);
    // With few recent ones, the newest 30 stay whatever their age.
    for (int i = 0; i < 40; ++i)
        fs::remove_all(root / name(now - i * 3600));
    for (int i = 0; i < 35; ++i)
        fs::create_directories(root / name(now - (10 + i) * 24 * 3600));
    removed = keepRecentBackups(root.string(), now);
    ASSERT_TRUE(removed.ok());
    EXPECT_EQ(*removed, 5);
    EXPECT_TRUE(fs::exists(root / name(now - 10 * 24 * 3600)));
    EXPECT_FALSE(fs::exists(root / name(now - 44 * 24 * 3600)));
}

} // namespace
