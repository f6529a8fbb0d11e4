#include "store/database.h"
#include "store/layouts.h"
#include "store/table_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace xb::store;

namespace {

// A unit table with two rows and memos: a small table with every kind of field.
std::string makeUnitTable(const TempDir& dir) {
    const std::string path = dir.file("unit.dbf");
    EXPECT_TRUE(TableFile::create(path, layoutOf("unit").fields).ok());
    auto t = TableFile::open(path, OpenMode::Shared);
    std::vector<Value> row((*t)->fields().size());
    row[0] = Value("01;02;");
    row[1] = Value("单位简介");
    row[12] = Value("第一单位");
    EXPECT_TRUE((*t)->append(row).ok());
    row[12] = Value("第二单位");
    EXPECT_TRUE((*t)->append(row).ok());
    return path;
}

void patch(const std::string& path, size_t offset, std::string bytes) {
    std::string all = readBytes(path);
    all.replace(offset, bytes.size(), bytes);
    writeBytes(path, all);
}

void expectErrorNaming(const std::string& path, const std::string& file) {
    auto t = TableFile::open(path, OpenMode::Shared);
    ASSERT_FALSE(t.ok());
    EXPECT_NE(t.message().find(file), std::string::npos) << t.message();
}

} // namespace

TEST(DamagedTable, StructuralDamageIsReportedNamingTheFile) {
    TempDir dir;
    const std::string path = makeUnitTable(dir);
    const std::string good = readBytes(path);

    writeBytes(path, good.substr(0, 20)); // truncated inside the header
    expectErrorNaming(path, "unit.dbf");

    writeBytes(path, good);
    patch(path, 0, "\x42"); // unknown version byte
    expectErrorNaming(path, "unit.dbf");

    writeBytes(path, good);
    patch(path, 10, std::string("\x05\x00", 2)); // record length that does not match the fields
    expectErrorNaming(path, "unit.dbf");

    writeBytes(path, good);
    patch(path, 8, std::string("\xFF\x7F", 2)); // header length beyond the file
    expectErrorNaming(path, "unit.dbf");

    const size_t header = static_cast<unsigned char>(good[8]) | good[9] << 8;
    writeBytes(path, good);
    patch(path, 8,
          std::string{static_cast<char>(header + 1), static_cast<char>((header + 1) >> 8)});
    expectErrorNaming(path, "unit.dbf"); // the header said one byte longer than its descriptors

    writeBytes(path, good);
    const size_t record = static_cast<unsigned char>(good[10]) | good[11] << 8;
    patch(path, header + record, "X"); // the second row does not start with its flag
    expectErrorNaming(path, "unit.dbf");

    // Zeros after the descriptors, as some writers pad the header, are no damage.
    std::string padded = good;
    padded.insert(header, 1, '\0');
    ++padded[8];
    writeBytes(path, padded);
    auto t = TableFile::open(path, OpenMode::Shared);
    ASSERT_TRUE(t.ok()) << t.message();
    std::string raw;
    ASSERT_TRUE((*t)->readRecord(2, raw).ok());
    EXPECT_EQ((*t)->decode(raw, 12).toText(), "第二单位");
    t = Result<std::shared_ptr<TableFile>>(Error{"closed"});

    writeBytes(path, good);
    std::filesystem::rename(dir.file("unit.dbt"), dir.file("moved.dbt"));
    expectErrorNaming(path, "unit.dbt");
}

TEST(DamagedTable, RowsBeyondTheFileEndAreNotInventedAndNothingIsWritten) {
    TempDir dir;
    const std::string path = makeUnitTable(dir);
    patch(path, 4, std::string("\x09\x00\x00\x00", 4)); // claims nine rows, holds two
    const std::string before = readBytes(path);
    auto t = TableFile::open(path, OpenMode::Shared);
    ASSERT_TRUE(t.ok()) << t.message();
    EXPECT_EQ((*t)->recordCount(), 2u);
    std::string raw;
    ASSERT_TRUE((*t)->readRecord(2, raw).ok());
    EXPECT_EQ((*t)->decode(raw, 12).toText(), "第二单位");
    EXPECT_FALSE((*t)->append(std::vector<Value>((*t)->fields().size())).ok());
    EXPECT_FALSE((*t)->markDeleted(1).ok());
    EXPECT_EQ(readBytes(path), before);
    t = Result<std::shared_ptr<TableFile>>(Error{"closed"});
    // Packing such a table would drop what cannot be read: it is left as it is.
    Database db(dir.path().string());
    db.pack("unit");
    EXPECT_EQ(readBytes(path), before);
}

TEST(DamagedTable, MemoPointerPastTheMemoFileReadsAsEmpty) {
    TempDir dir;
    const std::string path = makeUnitTable(dir);
    auto t = TableFile::open(path, OpenMode::Shared);
    ASSERT_TRUE(t.ok());
    const std::string bytes = readBytes(path);
    const size_t headerLength =
        static_cast<unsigned char>(bytes[8]) | (static_cast<unsigned char>(bytes[9]) << 8);
    // unitintrod is the second field, right after item_124_1 (100 bytes) and the deletion flag.
    patch(path, headerLength + 1 + 100, "     99999");
    auto reopened = TableFile::open(path, OpenMode::Shared);
    ASSERT_TRUE(reopened.ok());
    std::string raw;
    ASSERT_TRUE((*reopened)->readRecord(1, raw).ok());
    EXPECT_TRUE((*reopened)->decode(raw, 1).isNull());
    EXPECT_EQ((*reopened)->decode(raw, 12).toText(), "第一单位");
}

// A memo header naming a next free block far beyond the file's end would make the next memo
// write a sparse file of hundreds of gigabytes; the file's real end is used instead.
TEST(DamagedTable, AMemoHeaderBeyondTheFileEndIsNotTrusted) {
    TempDir dir;
    const std::string path = makeUnitTable(dir);
    const std::string memo = dir.file("unit.dbt");
    const auto before = std::filesystem::file_size(memo);
    patch(memo, 0, std::string("\xF0\xFF\xFF\x7F", 4));
    auto t = TableFile::open(path, OpenMode::Shared);
    ASSERT_TRUE(t.ok()) << t.message();
    std::vector<Value> row((*t)->fields().size());
    row[1] = Value("新的简介");
    row[12] = Value("第三单位");
    auto added = (*t)->append(row);
    ASSERT_TRUE(added.ok()) << added.message();
    EXPECT_EQ(std::filesystem::file_size(memo), before + 512);
    std::string raw;
    ASSERT_TRUE((*t)->readRecord(*added, raw).ok());
    EXPECT_EQ((*t)->decode(raw, 1).toText(), "新的简介");
    ASSERT_TRUE((*t)->readRecord(1, raw).ok());
    EXPECT_EQ((*t)->decode(raw, 1).toText(), "单位简介");
}

TEST(DamagedTable, RandomCorruptionNeverCrashes) {
    TempDir dir;
    const std::string path = makeUnitTable(dir);
    const std::string good = readBytes(path);
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        std::string bad = good;
        const int flips = 1 + static_cast<int>(rng() % 8);
        for (int i = 0; i < flips; ++i)
            bad[rng() % bad.size()] = static_cast<char>(rng());
        if (rng() % 4 == 0) bad.resize(rng() % bad.size());
        writeBytes(path, bad);
        auto t = TableFile::open(path, OpenMode::Shared);
        if (!t.ok()) {
            EXPECT_FALSE(t.message().empty());
            continue;
        }
        (void)(*t)->scan([&](uint32_t, std::string_view raw) {
            (void)(*t)->decodeRow(raw);
            return true;
        });
    }
}
