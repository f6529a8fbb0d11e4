// Deletion marks taken through a mapping of the table file.
#include "store/database.h"
#include "store/layouts.h"
#include "store/strided_bytes.h"
#include "store/table_file.h"
#include "temp_dir.h"

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

using namespace xb::store;

TEST(StridedBytes, ALargeTableListsTheRowsAScanVisits) {
    TempDir dir;
    const std::string path = dir.file("cgwcr.dbf");
    ASSERT_TRUE(TableFile::create(path, layoutOf("cgwcr").fields).ok());
    auto table = *TableFile::open(path, OpenMode::Shared);
    const int number = table->fieldIndex("ITEM_4");
    std::vector<Value> row(table->fields().size());
    for (int i = 0; i < 2000; ++i) { // well beyond what is read whole
        // Repeated keys, keys with inner blanks, an empty one.
        row[static_cast<size_t>(number)] = Value(i % 7 == 0 ? "" : "20 " + std::to_string(i % 13));
        ASSERT_TRUE(table->append(row).ok());
    }
    for (uint32_t recno : {1u, 2u, 777u, 1999u, 2000u})
        ASSERT_TRUE(table->markDeleted(recno).ok());

    ASSERT_TRUE(table->deletionMarks().has_value());
    std::vector<uint32_t> scanned;
    ASSERT_TRUE(table
                    ->scan([&](uint32_t recno, std::string_view) {
                        scanned.push_back(recno);
                        return true;
                    })
                    .ok());
    auto listed = allRows(*table);
    ASSERT_TRUE(listed.ok());
    EXPECT_EQ(*listed, scanned);
    EXPECT_EQ(listed->size(), 1995u);

    // The index taken through the mapping holds what one built from the rows would.
    CharIndex expected;
    ASSERT_TRUE(table
                    ->scan([&](uint32_t recno, std::string_view raw) {
                        expected.emplace(std::string(table->fieldBytes(raw, number)), recno);
                        return true;
                    })
                    .ok());
    auto index = table->index(number);
    ASSERT_TRUE(index.ok());
    EXPECT_EQ(**index, expected);
}

TEST(StridedBytes, AFileCutShortUnderTheMappingIsReadInsteadOfEndingTheProgram) {
    TempDir dir;
    const std::string path = dir.file("rows.bin");
    { std::ofstream(path, std::ios::binary) << std::string(3 * 4096, 'r'); }
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    std::string marks(10, '\0');
    EXPECT_TRUE(gatherRowPieces(fd, 100, 1000, 10, {{0, 1}}, marks.data()));
    EXPECT_EQ(marks, std::string(10, 'r'));
    // Another program shortens the file; the pages past its new end are gone.
    std::filesystem::resize_file(path, 100);
    EXPECT_FALSE(gatherRowPieces(fd, 100, 1000, 10, {{0, 1}}, marks.data()));
    ::close(fd);
}
