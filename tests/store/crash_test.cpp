// A process killed in the middle of posting leaves every table openable with every row that was
// posted before the kill.
#include "temp_dir.h"

#include "store/row_batch.h"
#include "support/shell_run.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sstream>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

using namespace xb::store;

TEST(KilledWriter, TablesStayOpenableWithEveryPostedRow) {
    TempDir dir;
    createTables(dir, {"kjcg"});
    int progress[2];
    ASSERT_EQ(::pipe(progress), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(progress[0]);
        Database db(dir.path().string());
        auto cursor = db.table("kjcg");
        if (!cursor.ok()) ::_exit(1);
        for (uint32_t i = 1;; ++i) {
            (void)(*cursor)->append();
            (void)(*cursor)->setValue("ITEM_4", std::to_string(2024000000 + i));
            (void)(*cursor)->setValue("ITEM_13", "备注" + std::string(i % 700, 'm'));
            if (!(*cursor)->post().ok()) ::_exit(1);
            // Every tenth row also edits an earlier one, so the kill may hit an edit too.
            if (i % 10 == 0) {
                (*cursor)->first();
                (void)(*cursor)->edit();
                (void)(*cursor)->setValue("ITEM_3", "修改" + std::to_string(i));
                (void)(*cursor)->post();
                (*cursor)->last();
            }
            // Tell the parent which row is safely posted.
            (void)!::write(progress[1], &i, sizeof i);
        }
    }
    ::close(progress[1]);
    uint32_t posted = 0;
    for (int reads = 0; reads < 400; ++reads)
        if (::read(progress[0], &posted, sizeof posted) != sizeof posted) break;
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(progress[0]);
    ASSERT_GT(posted, 0u);

    Database db(dir.path().string());
    auto all = db.table("kjcg");
    ASSERT_TRUE(all.ok()) << all.message();
    EXPECT_GE((*all)->count(), static_cast<int>(posted));
    int row = 0;
    for ((*all)->first(); !(*all)->eof(); (*all)->next()) {
        ++row;
        ASSERT_EQ((*all)->text("ITEM_4"), std::to_string(2024000000 + row));
        ASSERT_EQ((*all)->text("ITEM_13"), "备注" + std::string(row % 700, 'm'));
    }
    // The table is still writable after the crash.
    addRow(db, "kjcg", {{"ITEM_4", "2099000001"}});
}

namespace {

// What row `recno` of the batched tables holds, so any row can be checked on its own.
std::string batchNumber(uint32_t recno) {
    return std::to_string(3000000000u + recno);
}
std::string batchName(uint32_t recno) {
    return "成果第" + std::to_string(recno) + "项";
}
std::string batchMemo(uint32_t recno) {
    return "备注" + std::to_string(recno) + std::string(recno % 600, 'm');
}

// Appends batches of 10,000 rows to kjcg (with a memo each) and cgwcr for ever, telling the
// parent through `ready` when the first batch starts.
[[noreturn]] void appendBatchesForEver(const TempDir& dir, int ready) {
    Database db(dir.path().string());
    auto kjcg = db.openTable("kjcg");
    auto cgwcr = db.openTable("cgwcr");
    if (!kjcg || !cgwcr) ::_exit(1);
    const int kjcgNumber = (*kjcg)->fieldIndex("ITEM_4"), kjcgName = (*kjcg)->fieldIndex("ITEM_3"),
              memo = (*kjcg)->fieldIndex("ITEM_13");
    const int cgwcrNumber = (*cgwcr)->fieldIndex("ITEM_4"),
              person = (*cgwcr)->fieldIndex("ITEM_180");
    (void)!::write(ready, "r", 1);
    for (;;) {
        for (auto* table : {kjcg->get(), cgwcr->get()}) {
            const bool achievements = table == kjcg->get();
            RowBatch batch(*table, 10000);
            std::vector<Value> values(table->fields().size());
            for (uint32_t k = 1; k <= 10000; ++k) {
                const uint32_t recno = table->recordCount() + k;
                values[achievements ? kjcgNumber : cgwcrNumber] = batchNumber(recno);
                values[achievements ? kjcgName : person] = batchName(recno);
                if (achievements) values[memo] = batchMemo(recno);
                if (!batch.add(values)) ::_exit(1);
            }
            if (batch.pending() != 0 || batch.written().size() != 10000) ::_exit(1);
        }
    }
}

// The rows an outside reader finds: number, name and memo length, one line per live row.
std::string outsideRows(const std::string& path, const char* nameField, bool withMemo) {
    const std::string field = lowerName(nameField);
    const std::string program =
        std::string("import dbf\nt = dbf.Table(\"") + path +
        "\")\nt.open(dbf.READ_ONLY)\nfor r in t:\n print(r.item_4.strip(), r." + field +
        ".strip(), " + (withMemo ? "len(r.item_13.rstrip())" : "0") + ")\nt.close()\n";
    const ShellRun run = runShell("/usr/bin/python3 -c '" + program + "' 2>&1");
    EXPECT_EQ(run.status, 0) << run.out.substr(0, 2000);
    return run.out;
}

// Every counted row of the table is complete and in its place, for the engine and for
// python3-dbf; yields the number of rows.
uint32_t checkBatchedTable(Database& db, const std::string& name, const char* nameField,
                           bool withMemo) {
    db.closeTable(name);
    auto table = db.table(name);
    EXPECT_TRUE(table.ok()) << table.message();
    if (!table.ok()) return 0;
    Cursor& c = **table;
    uint32_t recno = 0;
    for (c.first(); !c.eof(); c.next()) {
        ++recno;
        EXPECT_EQ(c.recNo(), recno);
        EXPECT_EQ(c.text("ITEM_4"), batchNumber(recno)) << name;
        EXPECT_EQ(c.text(nameField), batchName(recno)) << name;
        if (withMemo) {
            EXPECT_EQ(c.text("ITEM_13"), batchMemo(recno)) << name;
        }
        if (::testing::Test::HasFailure()) return recno;
    }
    // Whole batches only: a kill in the middle of one leaves none of its rows counted.
    EXPECT_EQ(recno % 10000, 0u) << name;

    std::istringstream outside(outsideRows(db.tablePath(name), nameField, withMemo));
    uint32_t seen = 0;
    for (std::string line; std::getline(outside, line);) {
        ++seen;
        std::istringstream words(line);
        std::string number, text;
        size_t memoLength = 0;
        words >> number >> text >> memoLength;
        EXPECT_EQ(number, batchNumber(seen)) << line;
        EXPECT_EQ(text, batchName(seen)) << line;
        if (withMemo) { // python counts characters: the two Chinese ones are one each
            EXPECT_EQ(memoLength, batchMemo(seen).size() - 4) << line;
        }
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_EQ(seen, recno) << name;
    return recno;
}

} // namespace

TEST(KilledWriter, BatchedAppendsLeaveOnlyWholeBatches) {
    TempDir dir;
    createTables(dir, {"kjcg", "cgwcr"});
    std::random_device seedSource;
    const unsigned seed = seedSource();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    uint32_t before = 0;
    for (int round = 0; round < 6; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(ready[0]);
            appendBatchesForEver(dir, ready[1]);
        }
        ::close(ready[1]);
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        // A random moment within the first few batches: encoding, memo writes, row writes or
        // the header update.
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 400000)(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped on its own";

        Database db(dir.path().string());
        const uint32_t achievements = checkBatchedTable(db, "kjcg", "ITEM_3", true);
        const uint32_t people = checkBatchedTable(db, "cgwcr", "ITEM_180", false);
        ASSERT_FALSE(::testing::Test::HasFailure()) << "round " << round;
        EXPECT_GE(achievements + people, before);
        before = achievements + people;
    }
    // The table takes further rows after the kills.
    Database db(dir.path().string());
    addRow(db, "cgwcr", {{"ITEM_4", "2099000001"}});
}
