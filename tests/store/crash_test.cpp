// A process killed in the middle of posting leaves every table openable with every row that was
// posted before the kill.
#include "temp_dir.h"

#include <gtest/gtest.h>

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
