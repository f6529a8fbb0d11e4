#include "store/pack.h"
#include "support/test_file_system.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace xb::store;

namespace {

std::vector<std::string> names(Database& db) {
    std::vector<std::string> out;
    auto c = db.table("unit");
    for ((*c)->first(); !(*c)->eof(); (*c)->next())
        out.push_back((*c)->text("item_9") + "|" + (*c)->text("unitintrod"));
    return out;
}

size_t occurrences(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

// The disk fills up at each write of a pack in turn: the pack says so once, the table opens
// with every row it had, and nothing of the pack stays behind.
TEST(Pack, ADiskFullAtAnyWriteLosesNothingAndSaysSoOnce) {
    TempDir dir;
    createTables(dir, {"unit"});
    {
        Database db(dir.path().string());
        for (int i = 0; i < 40; ++i)
            addRow(db, "unit",
                   {{"item_9", "单位" + std::to_string(i)},
                    {"unitintrod", std::string(700 + i * 13, static_cast<char>('a' + i % 26))}});
        auto c = std::move(*db.table("unit"));
        c->moveBy(5);
        ASSERT_TRUE(c->remove().ok());
    }
    const std::vector<std::string> before = [&] {
        Database db(dir.path().string());
        return names(db);
    }();
    const std::string dbf = readBytes(dir.file("unit.dbf")), dbt = readBytes(dir.file("unit.dbt"));
    int writes = 0;
    for (int room = 0;; ++room) {
        writeBytes(dir.file("unit.dbf"), dbf);
        writeBytes(dir.file("unit.dbt"), dbt);
        xb::test::TestFileSystem layer;
        {
            FileSystemOverride files(layer);
            layer.fillDiskAfter(room);
            const Status packed = packTable(dir.file("unit.dbf"));
            if (packed.ok()) {
                writes = layer.growingWrites();
                break;
            }
            EXPECT_EQ(occurrences(packed.message(), "磁盘空间不足"), 1u) << packed.message();
        }
        EXPECT_FALSE(std::filesystem::exists(dir.file(".xbpack-unit"))) << room;
        Database db(dir.path().string());
        EXPECT_EQ(names(db), before) << room;
    }
    EXPECT_GT(writes, 3);
    Database db(dir.path().string());
    EXPECT_EQ(names(db), before);
}

// The power goes at each sync of a pack in turn, every write since the last sync lost or only a
// random part of them: the next opening finds every live row with its memos, in the old table or
// the new one, never a mix.
TEST(Pack, APowerCutAtAnySyncLeavesTheOldTableOrTheNewOne) {
    TempDir dir;
    createTables(dir, {"unit"});
    {
        Database db(dir.path().string());
        for (int i = 0; i < 30; ++i)
            addRow(db, "unit",
                   {{"item_9", "单位" + std::to_string(i)},
                    {"unitintrod", std::string(600 + i * 31, static_cast<char>('a' + i % 26))}});
        auto c = std::move(*db.table("unit"));
        c->moveBy(3);
        ASSERT_TRUE(c->remove().ok());
    }
    const std::vector<std::string> before = [&] {
        Database db(dir.path().string());
        return names(db);
    }();
    const std::string dbf = readBytes(dir.file("unit.dbf")), dbt = readBytes(dir.file("unit.dbt"));
    std::mt19937 rng(20261210);
    int states = 0;
    for (int round = 0; round < 2; ++round)
        for (int cut = 1;; ++cut) {
            std::filesystem::remove_all(dir.file(".xbpack-unit"));
            writeBytes(dir.file("unit.dbf"), dbf);
            writeBytes(dir.file("unit.dbt"), dbt);
            bool died = false;
            {
                xb::test::TestFileSystem layer;
                FileSystemOverride files(layer);
                layer.dieAtSync(cut);
                (void)packTable(dir.file("unit.dbf"));
                died = layer.died();
                layer.cutPower(round ? &rng : nullptr);
            }
            if (!died) break;
            ++states;
            Database db(dir.path().string());
            auto opened = db.openTable("unit");
            ASSERT_TRUE(opened.ok()) << opened.message() << ", round " << round << ", cut " << cut;
            EXPECT_EQ(names(db), before) << "round " << round << ", cut at sync " << cut;
        }
    EXPECT_GT(states, 8);
}

TEST(Pack, RemovesDeletedRowsAndReclaimsMemoSpace) {
    TempDir dir;
    createTables(dir, {"unit"});
    {
        Database db(dir.path().string());
        const std::string big(3000, 'x');
        for (int i = 0; i < 5; ++i)
            addRow(
                db, "unit",
                {{"item_9", "单位" + std::to_string(i)}, {"unitintrod", big + std::to_string(i)}});
        auto c = std::move(*db.table("unit"));
        c->moveBy(1);
        ASSERT_TRUE(c->remove().ok());
        ASSERT_TRUE(c->remove().ok());
    }
    const auto memoBefore = std::filesystem::file_size(dir.file("unit.dbt"));
    // A protected table stays protected; only the superuser may pack it at all.
    namespace fs = std::filesystem;
    const fs::perms readOnly =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(dir.file("unit.dbf"), readOnly);
    Database db(dir.path().string());
    if (geteuid() != 0) {
        const Status refused = db.pack("UNIT.DBF");
        EXPECT_NE(refused.message().find("表文件 unit.dbf 是只读文件"), std::string::npos)
            << refused.message();
        fs::permissions(dir.file("unit.dbf"), readOnly | fs::perms::owner_write);
    }
    const fs::perms kept = fs::status(dir.file("unit.dbf")).permissions();
    ASSERT_TRUE(db.pack("UNIT.DBF").ok());
    EXPECT_EQ(fs::status(dir.file("unit.dbf")).permissions(), kept);
    EXPECT_LT(std::filesystem::file_size(dir.file("unit.dbt")), memoBefore);
    const auto rows = names(db);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "单位0|" + std::string(3000, 'x') + "0");
    EXPECT_EQ(rows[2], "单位4|" + std::string(3000, 'x') + "4");
    auto t = db.openTable("unit");
    EXPECT_EQ((*t)->recordCount(), 3u);
    EXPECT_FALSE(std::filesystem::exists(dir.file(".xbpack-unit")));
}

TEST(Pack, IsRefusedWhileTheTableIsInUse) {
    TempDir dir;
    createTables(dir, {"unit"});
    Database db(dir.path().string());
    {
        auto cursor = db.table("unit");
        ASSERT_TRUE(cursor.ok());
        EXPECT_FALSE(db.pack("unit").ok());
    }
    db.closeTable("unit");
    // Another process holding the file refuses exclusive use as well.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        auto held = TableFile::open(dir.file("unit.dbf"), OpenMode::Shared);
        char c = held.ok() ? 'y' : 'n';
        (void)!::write(ready[1], &c, 1);
        ::sleep(30);
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    auto refused = packTable(dir.file("unit.dbf"));
    EXPECT_FALSE(refused.ok());
    if (!refused.ok()) {
        EXPECT_NE(refused.message().find("unit.dbf"), std::string::npos);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(packTable(dir.file("unit.dbf")).ok());
}

TEST(Pack, AnInterruptedPackLeavesTheOldOrTheNewTable) {
    TempDir dir;
    createTables(dir, {"unit"});
    {
        Database db(dir.path().string());
        addRow(db, "unit", {{"item_9", "旧"}, {"unitintrod", "旧简介"}});
    }
    const std::string oldTable = readBytes(dir.file("unit.dbf"));
    const std::filesystem::path work = dir.path() / ".xbpack-unit";

    // Killed while writing: the half-written copy is discarded, the old table stays.
    std::filesystem::create_directory(work);
    writeBytes((work / "table.dbf").string(), "half");
    {
        Database db(dir.path().string());
        EXPECT_EQ(names(db), (std::vector<std::string>{"旧|旧简介"}));
    }
    EXPECT_FALSE(std::filesystem::exists(work));
    EXPECT_EQ(readBytes(dir.file("unit.dbf")), oldTable);

    // Killed after the copy was complete: the next open finishes the swap.
    TempDir other;
    createTables(other, {"unit"});
    {
        Database db(other.path().string());
        addRow(db, "unit", {{"item_9", "新"}, {"unitintrod", "新简介"}});
    }
    std::filesystem::create_directory(work);
    std::filesystem::copy_file(other.file("unit.dbf"), work / "table.dbf");
    std::filesystem::copy_file(other.file("unit.dbt"), work / "table.dbt");
    writeBytes((work / "complete").string(), "complete\n");
    Database db(dir.path().string());
    EXPECT_EQ(names(db), (std::vector<std::string>{"新|新简介"}));
    EXPECT_FALSE(std::filesystem::exists(work));
}
