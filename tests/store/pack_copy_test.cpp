// The files a pack writes for a table of our own layout: every live row kept byte for byte but
// for its memo pointers, every memo moved to consecutive blocks of the new memo file, whatever
// order, length or state the old memos were in.
#include "store/pack.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

using namespace xb::store;

namespace {

const FieldList& noteFields() {
    static const FieldList fields{charField("TITLE", 20), memoField("BODY"), memoField("NOTE")};
    return fields;
}
constexpr int kBody = 1, kNote = 2;

struct LiveRow {
    std::string raw;
    std::vector<std::string> memos; // BODY, NOTE as the old table gives them
};

// The live rows of the table before the pack, with their memos read the ordinary way.
std::vector<LiveRow> liveRows(const std::string& path) {
    auto table = TableFile::open(path, OpenMode::Shared);
    EXPECT_TRUE(table.ok()) << table.message();
    std::vector<LiveRow> rows;
    if (!table) return rows;
    (void)(*table)->scan([&](uint32_t, std::string_view raw) {
        rows.push_back(
            {std::string(raw), {(*table)->memoBytes(raw, kBody), (*table)->memoBytes(raw, kNote)}});
        return true;
    });
    return rows;
}

uint32_t le32(std::string_view bytes, size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Packs the table and checks the new files against the rows it held.
void expectPackedCopy(const TempDir& dir) {
    const std::string dbfPath = dir.file("note.dbf"), dbtPath = dir.file("note.dbt");
    const std::vector<LiveRow> rows = liveRows(dbfPath);
    const std::string oldDbf = readBytes(dbfPath);
    ASSERT_TRUE(packTable(dbfPath).ok());
    const std::string dbf = readBytes(dbfPath), dbt = readBytes(dbtPath);

    const uint32_t headerLength = le32(oldDbf, 8) & 0xFFFF;
    const uint32_t rowLength = le32(oldDbf, 10) & 0xFFFF;
    ASSERT_EQ(dbf.size(), headerLength + rows.size() * rowLength + 1);
    EXPECT_EQ(le32(dbf, 4), rows.size());
    // The header is the old one but for the date of the last change and the row count.
    EXPECT_EQ(dbf.substr(0, 1), oldDbf.substr(0, 1));
    EXPECT_EQ(dbf.substr(8, headerLength - 8), oldDbf.substr(8, headerLength - 8));
    EXPECT_EQ(dbf.back(), '\x1A');

    const auto table = TableFile::open(dbfPath, OpenMode::Shared);
    ASSERT_TRUE(table.ok()) << table.message();
    uint32_t nextBlock = 1;
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string_view raw =
            std::string_view(dbf).substr(headerLength + i * rowLength, rowLength);
        std::string expected = rows[i].raw;
        for (int f : {kBody, kNote}) {
            const std::string& memo = rows[i].memos[f - kBody];
            std::string pointer(10, ' ');
            if (!memo.empty()) {
                const std::string number = std::to_string(nextBlock);
                pointer.replace(10 - number.size(), number.size(), number);
                const size_t blocks = (memo.size() + 2 + 511) / 512;
                std::string stored = memo + "\x1A\x1A";
                stored.resize(blocks * 512, '\0');
                EXPECT_EQ(dbt.substr(nextBlock * 512ul, stored.size()), stored) << "row " << i;
                nextBlock += static_cast<uint32_t>(blocks);
            }
            expected.replace((*table)->fieldOffset(f), 10, pointer);
        }
        EXPECT_EQ(raw, expected) << "row " << i;
    }
    EXPECT_EQ(dbt.size(), nextBlock * 512ul);
    EXPECT_EQ(le32(dbt, 0), nextBlock);
    EXPECT_FALSE(std::filesystem::exists(dir.file(".xbpack-note")));
}

struct NoteTable {
    TempDir dir;
    std::shared_ptr<TableFile> table;

    NoteTable() {
        EXPECT_TRUE(TableFile::create(dir.file("note.dbf"), noteFields()).ok());
        table = *TableFile::open(dir.file("note.dbf"), OpenMode::Exclusive);
    }
    uint32_t add(const std::string& title, const std::string& body, const std::string& note) {
        auto recno = table->append({Value(title), Value(body), Value(note)});
        EXPECT_TRUE(recno.ok()) << recno.message();
        return recno ? *recno : 0;
    }
    void close() { table.reset(); }
};

} // namespace

TEST(PackCopy, KeepsRowsAndMovesMemosOfEveryShape) {
    NoteTable t;
    t.add("empty", "", "");
    t.add("short", "one line", "");
    const uint32_t gone = t.add("deleted", std::string(2000, 'd'), "deleted note");
    t.add("fills a block", std::string(510, 'a'), std::string(511, 'b')); // 1 and 2 blocks
    const uint32_t rewritten = t.add("rewritten", "first text", "kept note");
    t.add("multi-block", std::string(3000, 'm'), "  \r\n");
    t.add("blanks", "   ", "x");
    ASSERT_TRUE(t.table->markDeleted(gone).ok());
    // A memo written again goes to the end of the memo file: its row's memos are out of order.
    ASSERT_TRUE(t.table
                    ->write(rewritten,
                            {Value("rewritten"), Value(std::string(1500, 'r')), Value("kept note")})
                    .ok());
    t.add("after", "last body", "last note");
    t.close();
    expectPackedCopy(t.dir);
}

TEST(PackCopy, ReadsMemosLongerThanAReadAndAcrossReads) {
    NoteTable t;
    // Memos of half a megabyte and more fill several of the large reads the pack makes, so some
    // lie across the end of one read, and one is longer than a read.
    for (int i = 0; i < 12; ++i)
        t.add("row" + std::to_string(i), std::string(500000 + i * 777, static_cast<char>('a' + i)),
              i % 3 == 0 ? "" : "note " + std::to_string(i));
    t.add("long", std::string(5 << 20, 'L'), "after the long one");
    t.add("tail", "end", "");
    ASSERT_TRUE(t.table->markDeleted(3).ok());
    t.close();
    expectPackedCopy(t.dir);
}

TEST(PackCopy, CopesWithDamagedMemoPointersAndAnUnendedLastMemo) {
    NoteTable t;
    t.add("fine", "fine body", "fine note");
    const uint32_t far = t.add("points past the end", "soon gone", "");
    t.add("last", "fine", "the last memo of the file");
    t.close();
    {
        // One pointer leads past the memo file's end, another holds letters.
        std::string dbf = readBytes(t.dir.file("note.dbf"));
        const size_t header = le32(dbf, 8) & 0xFFFF, length = le32(dbf, 10) & 0xFFFF;
        const size_t body = 1 + 20; // after the deletion flag and TITLE
        dbf.replace(header + (far - 1) * length + body, 10, "    999999");
        dbf.replace(header + body, 10, "     12ab ");
        writeBytes(t.dir.file("note.dbf"), dbf);
        // The last memo lost its end mark: the file ends in the middle of its text.
        std::string dbt = readBytes(t.dir.file("note.dbt"));
        dbt.resize(dbt.rfind("the last memo") + 8);
        writeBytes(t.dir.file("note.dbt"), dbt);
    }
    expectPackedCopy(t.dir);
}

TEST(PackCopy, OfATableWhoseRowsAreAllDeleted) {
    NoteTable t;
    t.add("a", "body a", "note a");
    t.add("b", "body b", "");
    ASSERT_TRUE(t.table->markDeleted(1).ok());
    ASSERT_TRUE(t.table->markDeleted(2).ok());
    t.close();
    expectPackedCopy(t.dir);
    EXPECT_EQ(std::filesystem::file_size(t.dir.file("note.dbt")), 512u);
}
