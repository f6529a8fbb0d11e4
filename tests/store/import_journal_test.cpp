// The journal an import keeps while storing: what an interruption left is settled at the next
// opening, by the journal's lines alone.
#include "store/import_journal.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace xb::store;

namespace {

class ImportJournalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        createTables(dir, {"kjcg", "cgwcr", "zlqk", "jdwyhmd", "cgwcdw"});
        for (const char* number : {"2024000001", "2024000002", "2024000003"}) {
            addRow(db, "kjcg", {{"ITEM_4", number}, {"ITEM_DQDM", "."}});
            addRow(db, "cgwcr", {{"ITEM_4", number}, {"ITEM_DQDM", "."}});
        }
    }
    // Record numbers of the live rows of a table, in stored order.
    std::vector<std::string> numbers(const char* table) {
        std::vector<std::string> found;
        auto c = db.query(std::string("select * from ") + table);
        for (auto& cursor = **c; !cursor.eof(); cursor.next())
            found.push_back(cursor.text("item_4"));
        return found;
    }
    void leaveJournal(const std::string& lines) { writeBytes(dir.file("import.jnl"), lines); }

    TempDir dir;
    Database db{dir.path().string()};
};

using Numbers = std::vector<std::string>;

} // namespace

// Record 3 was being stored (its completer row is in, the achievement row may be too): it goes
// whole; records whose last row was in stay.
TEST_F(ImportJournalTest, ARecordThatWasNotWholeIsRemovedFromEveryTable) {
    leaveJournal("S 2024000002\nW 2024000002\nS 2024000003\n");
    ASSERT_TRUE(settleImportJournal(db).ok());
    EXPECT_EQ(numbers("kjcg"), (Numbers{"2024000001", "2024000002"}));
    EXPECT_EQ(numbers("cgwcr"), (Numbers{"2024000001", "2024000002"}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("import.jnl")));
    EXPECT_TRUE(settleImportJournal(db).ok()); // nothing left to settle
}

// An overwrite: the twin stays while its new copy is not whole, and goes once the copy is, even
// when the kill came before its removal began; a line cut short by the kill counts for nothing.
TEST_F(ImportJournalTest, AnOverwriteLeavesExactlyOneCopy) {
    leaveJournal("S 2024000003 2024000001\n");
    ASSERT_TRUE(settleImportJournal(db).ok());
    EXPECT_EQ(numbers("kjcg"), (Numbers{"2024000001", "2024000002"}));

    addRow(db, "kjcg", {{"ITEM_4", "2024000004"}, {"ITEM_DQDM", "."}});
    leaveJournal("S 2024000004 2024000002\nW 2024000004\nR 20240");
    ASSERT_TRUE(settleImportJournal(db).ok());
    EXPECT_EQ(numbers("kjcg"), (Numbers{"2024000001", "2024000004"}));
    EXPECT_EQ(numbers("cgwcr"), (Numbers{"2024000001"}));
}

// A run that ends normally removes its journal and keeps what it stored.
TEST_F(ImportJournalTest, AFinishedRunLeavesNoJournal) {
    auto journal = ImportJournal::begin(db);
    ASSERT_TRUE(journal.ok()) << journal.message();
    ASSERT_TRUE(journal->storing("2024000003").ok());
    ASSERT_TRUE(journal->stored("2024000003").ok());
    EXPECT_TRUE(std::filesystem::exists(dir.file("import.jnl")));
    ASSERT_TRUE(journal->finish().ok());
    EXPECT_FALSE(std::filesystem::exists(dir.file("import.jnl")));
    EXPECT_EQ(numbers("kjcg").size(), 3u);
}

// A group of records named with one write and declared whole with another: a kill after the
// rows of the group but before every "whole" line was in leaves only the records declared whole,
// and an overwrite among them has removed its twin.
TEST_F(ImportJournalTest, AGroupCutShortKeepsOnlyTheRecordsDeclaredWhole) {
    addRow(db, "kjcg", {{"ITEM_4", "2024000004"}, {"ITEM_DQDM", "."}});
    addRow(db, "kjcg", {{"ITEM_4", "2024000005"}, {"ITEM_DQDM", "."}});
    {
        auto journal = ImportJournal::begin(db);
        ASSERT_TRUE(journal.ok()) << journal.message();
        const std::vector<std::pair<std::string, std::string>> group{{"2024000004", "2024000001"},
                                                                     {"2024000005", ""}};
        ASSERT_TRUE(journal->storing(group).ok());
        ASSERT_TRUE(journal->stored(std::vector<std::string>{"2024000004"}).ok());
    } // killed here: the journal stays
    ASSERT_TRUE(settleImportJournal(db).ok());
    EXPECT_EQ(numbers("kjcg"), (Numbers{"2024000002", "2024000003", "2024000004"}));
    EXPECT_EQ(numbers("cgwcr"), (Numbers{"2024000002", "2024000003"}));
}
