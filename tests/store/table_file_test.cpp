#include "store/layouts.h"
#include "store/row_batch.h"
#include "store/table_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace xb::store;

namespace {

std::shared_ptr<TableFile> createAndOpen(const TempDir& dir, const std::string& name) {
    const std::string path = dir.file(layoutOf(name).fileName);
    EXPECT_TRUE(TableFile::create(path, layoutOf(name).fields).ok());
    auto table = TableFile::open(path, OpenMode::Shared);
    EXPECT_TRUE(table.ok()) << (table.ok() ? "" : table.message());
    return *table;
}

std::vector<Value> rowWith(const TableFile& t,
                           std::initializer_list<std::pair<const char*, Value>> values) {
    std::vector<Value> row(t.fields().size());
    for (const auto& [name, v] : values)
        row[static_cast<size_t>(t.fieldIndex(name))] = v;
    return row;
}

} // namespace

TEST(TableFile, WritesTheDbase3PlusLayoutWithGbkLanguageDriver) {
    TempDir dir;
    auto kjcg = createAndOpen(dir, "kjcg");
    ASSERT_TRUE(kjcg->append(rowWith(*kjcg, {{"ITEM_4", "2024000001"}})).ok());
    const std::string bytes = readBytes(dir.file("kjcg.dbf"));
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x83); // memo fields present
    EXPECT_EQ(static_cast<unsigned char>(bytes[29]), 0x7A);
    EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 1); // record count
    const size_t headerLength =
        static_cast<unsigned char>(bytes[8]) | (static_cast<unsigned char>(bytes[9]) << 8);
    EXPECT_EQ(headerLength, 32 + 32 * layoutOf("kjcg").fields.size() + 1);
    EXPECT_EQ(bytes[headerLength - 1], '\x0D');
    EXPECT_EQ(bytes.back(), '\x1A');

    auto province = createAndOpen(dir, "province");
    EXPECT_EQ(static_cast<unsigned char>(readBytes(dir.file("province.dbf"))[0]), 0x03);
}

TEST(TableFile, ValuesOfEveryTypeRoundTrip) {
    TempDir dir;
    auto kjcg = createAndOpen(dir, "kjcg");
    const std::string memo = "第一行\r\n第二行\twith tab";
    auto recno = kjcg->append(rowWith(*kjcg, {{"ITEM_3", "成果名称"},
                                              {"ITEM_13", memo},
                                              {"ITEM_121", Date{2024, 2, 29}},
                                              {"ITEM_45", 12.5},
                                              {"ITEM_51_2", 3},
                                              {"ITEM_120", ""}}));
    ASSERT_TRUE(recno.ok()) << recno.message();
    std::string raw;
    ASSERT_TRUE(kjcg->readRecord(*recno, raw).ok());
    EXPECT_EQ(kjcg->decode(raw, kjcg->fieldIndex("ITEM_3")).toText(), "成果名称");
    EXPECT_EQ(kjcg->decode(raw, kjcg->fieldIndex("ITEM_13")).toText(), memo);
    EXPECT_EQ(kjcg->decode(raw, kjcg->fieldIndex("ITEM_121")).toText(), "2024-02-29");
    EXPECT_EQ(kjcg->decode(raw, kjcg->fieldIndex("ITEM_45")).toText(), "12.5");
    EXPECT_EQ(kjcg->decode(raw, kjcg->fieldIndex("ITEM_51_2")).toInteger(), 3);
    // Empty and never-written character fields read alike, as null.
    EXPECT_TRUE(kjcg->decode(raw, kjcg->fieldIndex("ITEM_120")).isNull());
    EXPECT_TRUE(kjcg->decode(raw, kjcg->fieldIndex("ITEM_9")).isNull());
    EXPECT_TRUE(kjcg->decode(raw, kjcg->fieldIndex("ITEM_13_1")).isNull());
}

TEST(TableFile, LongTextIsCutAtACharacterBoundary) {
    TempDir dir;
    auto province = createAndOpen(dir, "province"); // Province_i is 3 bytes wide
    auto recno =
        province->append(rowWith(*province, {{"Province_i", "a北京"}, {"Province_n", "北京市"}}));
    ASSERT_TRUE(recno.ok());
    std::string raw;
    ASSERT_TRUE(province->readRecord(*recno, raw).ok());
    EXPECT_EQ(province->decode(raw, 0).toText(), "a北");
    ASSERT_TRUE(province->write(*recno, rowWith(*province, {{"Province_i", "ab北"}})).ok());
    ASSERT_TRUE(province->readRecord(*recno, raw).ok());
    EXPECT_EQ(province->decode(raw, 0).toText(), "ab");
}

TEST(TableFile, BadValuesAreRefusedWithoutWriting) {
    TempDir dir;
    auto kjcg = createAndOpen(dir, "kjcg");
    auto bad = kjcg->append(rowWith(*kjcg, {{"ITEM_45", "twelve"}}));
    ASSERT_FALSE(bad.ok());
    EXPECT_NE(bad.message().find("twelve"), std::string::npos);
    auto badDate = kjcg->append(rowWith(*kjcg, {{"ITEM_121", "2024-13-01"}}));
    EXPECT_FALSE(badDate.ok());
    auto tooBig = kjcg->append(rowWith(*kjcg, {{"ITEM_51_2", 1234567.0}}));
    EXPECT_FALSE(tooBig.ok());
    EXPECT_EQ(kjcg->recordCount(), 0u);
}

TEST(TableFile, ChangedMemoGetsNewSpaceAndUnchangedKeepsItsBlock) {
    TempDir dir;
    auto unit = createAndOpen(dir, "unit");
    auto recno = unit->append(rowWith(*unit, {{"unitintrod", "简介"}, {"advantage", "优势"}}));
    ASSERT_TRUE(recno.ok());
    const auto sizeAfterFirst = readBytes(dir.file("unit.dbt")).size();
    ASSERT_TRUE(
        unit->write(*recno, rowWith(*unit, {{"unitintrod", "简介"}, {"advantage", "优势"}})).ok());
    EXPECT_EQ(readBytes(dir.file("unit.dbt")).size(), sizeAfterFirst);
    ASSERT_TRUE(
        unit->write(*recno, rowWith(*unit, {{"unitintrod", "新的简介"}, {"advantage", "优势"}}))
            .ok());
    EXPECT_GT(readBytes(dir.file("unit.dbt")).size(), sizeAfterFirst);
    std::string raw;
    ASSERT_TRUE(unit->readRecord(*recno, raw).ok());
    EXPECT_EQ(unit->decode(raw, unit->fieldIndex("unitintrod")).toText(), "新的简介");
    EXPECT_EQ(unit->decode(raw, unit->fieldIndex("advantage")).toText(), "优势");
}

TEST(TableFile, CreateNeverReplacesAnExistingTable) {
    TempDir dir;
    auto kjcg = createAndOpen(dir, "kjcg");
    ASSERT_TRUE(kjcg->append(rowWith(*kjcg, {{"ITEM_4", "2024000001"}})).ok());
    EXPECT_FALSE(TableFile::create(dir.file("kjcg.dbf"), layoutOf("kjcg").fields).ok());
    EXPECT_EQ(kjcg->recordCount(), 1u);
}

TEST(TableFile, IndexFollowsWritesAndDeletes) {
    TempDir dir;
    auto kjcg = createAndOpen(dir, "kjcg");
    const int item4 = kjcg->fieldIndex("ITEM_4");
    ASSERT_TRUE(kjcg->append(rowWith(*kjcg, {{"ITEM_4", "2024000001"}})).ok());
    auto rows = indexedRows(*kjcg, item4, "2024", true);
    ASSERT_TRUE(rows.ok());
    EXPECT_EQ(rows->size(), 1u);
    ASSERT_TRUE(kjcg->append(rowWith(*kjcg, {{"ITEM_4", "2024000002"}})).ok());
    ASSERT_TRUE(kjcg->write(1, rowWith(*kjcg, {{"ITEM_4", "2025000001"}})).ok());
    ASSERT_TRUE(kjcg->markDeleted(2).ok());
    EXPECT_TRUE(indexedRows(*kjcg, item4, "2024", true)->empty());
    EXPECT_EQ(indexedRows(*kjcg, item4, "2025000001", false)->size(), 1u);
}

// A batch writes its rows and their memos like single appends would, byte for byte, keeps the
// bytes of rows copied from another table, and places its memos where the memo file ends when it
// is written, whatever was appended meanwhile.
TEST(RowBatch, WritesWhatSingleAppendsWriteAndPlacesMemosAtTheFlush) {
    TempDir single, batched;
    auto one = createAndOpen(single, "kjcg");
    auto many = createAndOpen(batched, "kjcg");
    RowBatch batch(*many, 3);
    for (int i = 0; i < 7; ++i) {
        const auto values = rowWith(*one, {{"ITEM_4", std::to_string(2024000001 + i)},
                                           {"ITEM_3", "成果" + std::to_string(i)},
                                           {"ITEM_13", i % 2 ? "备注\r\n" + std::to_string(i) : ""},
                                           {"ITEM_45", 1.5 * i},
                                           {"ITEM_121", Date{2024, 2, 1 + i}}});
        ASSERT_TRUE(one->append(values).ok());
        ASSERT_TRUE(batch.add(values).ok());
    }
    EXPECT_EQ(batch.pending(), 1u); // two writes of three rows each went out on their own
    EXPECT_EQ(many->recordCount(), 6u);
    ASSERT_TRUE(batch.flush().ok());
    EXPECT_EQ(many->recordCount(), 7u);
    EXPECT_EQ(batch.written(), (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(readBytes(single.file("kjcg.dbf")), readBytes(batched.file("kjcg.dbf")));
    EXPECT_EQ(readBytes(single.file("kjcg.dbt")), readBytes(batched.file("kjcg.dbt")));

    // Rows copied from another table keep their bytes, memos included.
    TempDir copied;
    auto copy = createAndOpen(copied, "kjcg");
    RowBatch copying(*copy);
    ASSERT_TRUE(
        one->scan([&](uint32_t, std::string_view raw) { return copying.addFrom(*one, raw).ok(); })
            .ok());
    ASSERT_TRUE(copying.flush().ok());
    EXPECT_EQ(readBytes(copied.file("kjcg.dbt")), readBytes(single.file("kjcg.dbt")));
    std::string from, to;
    for (uint32_t recno = 1; recno <= 7; ++recno) {
        ASSERT_TRUE(one->readRecord(recno, from).ok());
        ASSERT_TRUE(copy->readRecord(recno, to).ok());
        EXPECT_EQ(from, to) << recno;
    }

    // A copied row may take new texts for character fields; numbers cannot be given so.
    RowBatch rekeyed(*copy);
    ASSERT_TRUE(one->readRecord(2, from).ok());
    const int number = copy->fieldIndex("ITEM_4"), name = copy->fieldIndex("ITEM_3");
    ASSERT_TRUE(rekeyed.addFrom(*one, from, {{number, "2025000009"}, {name, "新名"}}).ok());
    EXPECT_FALSE(rekeyed.addFrom(*one, from, {{copy->fieldIndex("ITEM_45"), "1"}}).ok());
    ASSERT_TRUE(rekeyed.flush().ok());
    ASSERT_EQ(rekeyed.written(), (std::vector<uint32_t>{8}));
    ASSERT_TRUE(copy->readRecord(8, to).ok());
    for (int field = 0; field < static_cast<int>(copy->fields().size()); ++field) {
        if (field == number || field == name || copy->fields()[field].type == FieldType::Memo)
            continue;
        EXPECT_EQ(copy->fieldBytes(to, field), one->fieldBytes(from, field)) << field;
    }
    EXPECT_EQ(copy->decode(to, number).toText(), "2025000009");
    EXPECT_EQ(copy->decode(to, name).toText(), "新名");
    EXPECT_EQ(copy->decode(to, copy->fieldIndex("ITEM_13")).toText(), "备注\r\n1");

    // A memo appended while the batch gathers takes blocks the batch's memo does not share.
    RowBatch late(*copy);
    ASSERT_TRUE(late.add(rowWith(*copy, {{"ITEM_13", "批内备注"}})).ok());
    ASSERT_TRUE(copy->append(rowWith(*copy, {{"ITEM_13", "批外备注"}})).ok());
    ASSERT_TRUE(late.flush().ok());
    EXPECT_EQ(copy->recordCount(), 10u);
    ASSERT_TRUE(copy->readRecord(9, to).ok());
    EXPECT_EQ(copy->decode(to, copy->fieldIndex("ITEM_13")).toText(), "批外备注");
    ASSERT_TRUE(copy->readRecord(10, to).ok());
    EXPECT_EQ(copy->decode(to, copy->fieldIndex("ITEM_13")).toText(), "批内备注");
}

// A small table is scanned from the rows read ahead: every change of this process shows in the
// next scan, and rows a scan appends wait for the next one.
TEST(TableFile, RepeatedScansOfASmallTableSeeEveryChange) {
    TempDir dir;
    auto table = createAndOpen(dir, "cgwcr");
    auto names = [&] {
        std::vector<std::string> seen;
        EXPECT_TRUE(table
                        ->scan([&](uint32_t, std::string_view raw) {
                            seen.push_back(
                                table->decode(raw, table->fieldIndex("ITEM_180")).toText());
                            return true;
                        })
                        .ok());
        return seen;
    };
    for (const char* name : {"甲", "乙", "丙"})
        ASSERT_TRUE(table->append(rowWith(*table, {{"ITEM_180", name}})).ok());
    EXPECT_EQ(names(), (std::vector<std::string>{"甲", "乙", "丙"}));
    ASSERT_TRUE(table->write(2, rowWith(*table, {{"ITEM_180", "改"}})).ok());
    ASSERT_TRUE(table->markDeleted(1).ok());
    ASSERT_TRUE(table->append(rowWith(*table, {{"ITEM_180", "丁"}})).ok());
    EXPECT_EQ(names(), (std::vector<std::string>{"改", "丙", "丁"}));

    int visits = 0;
    ASSERT_TRUE(table
                    ->scan([&](uint32_t, std::string_view) {
                        ++visits;
                        return table->append(rowWith(*table, {{"ITEM_180", "新"}})).ok();
                    })
                    .ok());
    EXPECT_EQ(visits, 3);
    EXPECT_EQ(names().size(), 6u);
    // The file holds every row written.
    table.reset();
    auto reopened = TableFile::open(dir.file("cgwcr.dbf"), OpenMode::Shared);
    ASSERT_TRUE(reopened.ok());
    EXPECT_EQ((*reopened)->recordCount(), 7u);
}
