// A row batch beside rewrites of stored rows, as the completer pool takes them: the file ends as
// writes one by one leave it, an index built while rows are gathered sees every change after the
// flush, and rows never flushed leave no trace.
#include "store/layouts.h"
#include "store/row_batch.h"
#include "store/table_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace xb::store;

namespace {

std::shared_ptr<TableFile> openTable(const std::string& path) {
    auto table = TableFile::open(path, OpenMode::Shared);
    EXPECT_TRUE(table.ok()) << (table.ok() ? "" : table.message());
    return *table;
}

std::vector<Value> completer(const TableFile& t, const std::string& name, const Value& rank,
                             const std::string& unit) {
    std::vector<Value> row(t.fields().size());
    row[static_cast<size_t>(t.fieldIndex("ITEM_180"))] = name;
    row[static_cast<size_t>(t.fieldIndex("ITEM_187"))] = rank;
    row[static_cast<size_t>(t.fieldIndex("ITEM_185"))] = unit;
    return row;
}

// Two copies of a pool of 400 completers, one written row by row, one through a batch.
class RowRewrites : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto& layout = layoutOf("cgwcrNew");
        ASSERT_TRUE(TableFile::create(single.file(layout.fileName), layout.fields).ok());
        auto table = openTable(single.file(layout.fileName));
        for (int i = 0; i < 400; ++i)
            ASSERT_TRUE(
                table->append(completer(*table, "p" + std::to_string(i), i % 3, "单位")).ok());
        table.reset();
        std::filesystem::copy_file(single.file(layout.fileName), batched.file(layout.fileName));
        one = openTable(single.file(layout.fileName));
        many = openTable(batched.file(layout.fileName));
        name = many->fieldIndex("ITEM_180");
    }
    std::vector<uint32_t> rowsNamed(TableFile& table, const std::string& text) {
        auto rows = indexedRows(table, name, text, false);
        EXPECT_TRUE(rows.ok());
        return rows.ok() ? *rows : std::vector<uint32_t>{};
    }
    std::string fileBytes(const TempDir& dir) { return readBytes(dir.file("cgwcrNew.dbf")); }

    TempDir single, batched;
    std::shared_ptr<TableFile> one, many;
    int name = -1;
};

} // namespace

// Rows near each other, far apart, rewritten twice and the last one, with appends in between.
TEST_F(RowRewrites, AnIndexBuiltWhileRowsAreGatheredSeesEveryChangeAfterTheFlush) {
    struct Change {
        uint32_t row; // 0: append
        std::string name;
        Value rank;
        std::string unit;
    };
    const std::vector<Change> changes{
        {3, "p2", 2, "新单位"},   {6, "q5", Value(), "单位"}, {9, "p8", 1, "单位"},
        {0, "new", 1, "甲"},      {3, "p2", 2, "又一单位"},   {200, "p199", 7, "远处"},
        {400, "last", 1, "末行"}, {0, "new2", Value(), ""},   {1, "p0", 0, "单位"}};
    RowBatch batch(*many);
    for (size_t i = 0; i < changes.size(); ++i) {
        const Change& change = changes[i];
        const auto values = completer(*one, change.name, change.rank, change.unit);
        if (change.row == 0) {
            ASSERT_TRUE(one->append(values).ok());
            ASSERT_TRUE(batch.add(values).ok());
        } else {
            ASSERT_TRUE(one->write(change.row, values).ok());
            ASSERT_TRUE(many->write(change.row, values).ok());
        }
        // The index is built in the middle, while an appended row is still gathered.
        if (i == 4) ASSERT_EQ(rowsNamed(*many, "q5"), std::vector<uint32_t>{6});
    }
    ASSERT_TRUE(batch.flush().ok());
    EXPECT_EQ(batch.written(), (std::vector<uint32_t>{401, 402}));
    EXPECT_EQ(fileBytes(single), fileBytes(batched));
    EXPECT_EQ(rowsNamed(*many, "q5"), std::vector<uint32_t>{6});
    EXPECT_TRUE(rowsNamed(*many, "p5").empty());
    EXPECT_EQ(rowsNamed(*many, "last"), std::vector<uint32_t>{400});
    EXPECT_TRUE(rowsNamed(*many, "p399").empty());
    EXPECT_EQ(rowsNamed(*many, "new"), std::vector<uint32_t>{401});
    EXPECT_EQ(rowsNamed(*many, "new2"), std::vector<uint32_t>{402});

    // A row out of range is refused.
    EXPECT_FALSE(many->write(403, completer(*many, "x", 1, "")).ok());
}

TEST_F(RowRewrites, RowsNeverFlushedLeaveTheFileAndIndexAsTheyWere) {
    const std::string before = fileBytes(batched);
    ASSERT_EQ(rowsNamed(*many, "p7"), std::vector<uint32_t>{8});
    {
        RowBatch batch(*many);
        ASSERT_TRUE(batch.add(completer(*many, "gone", 1, "单位")).ok());
        EXPECT_EQ(batch.pending(), 1u);
    }
    EXPECT_EQ(fileBytes(batched), before);
    EXPECT_TRUE(rowsNamed(*many, "gone").empty());
    EXPECT_EQ(many->recordCount(), 400u);
}
