#include "temp_dir.h"

#include "store/row_batch.h"

#include <gtest/gtest.h>

using namespace xb::store;

namespace {

class CursorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        createTables(dir, {"kjcg", "cgwcr"});
        for (const char* number : {"2024000001", "2024000002", "2024000003"})
            addRow(db, "cgwcr", {{"ITEM_4", number}, {"ITEM_DQDM", "."}, {"ITEM_180", "张三"}});
        addRow(db, "cgwcr", {{"ITEM_4", "2024000002"}, {"ITEM_DQDM", "."}, {"ITEM_180", "李四"}});
    }
    TempDir dir;
    Database db{dir.path().string()};
};

} // namespace

TEST_F(CursorTest, NavigationAndEndOfData) {
    auto c = std::move(*db.table("cgwcr"));
    EXPECT_EQ(c->count(), 4);
    EXPECT_FALSE(c->eof());
    EXPECT_EQ(c->recNo(), 1u);
    c->moveBy(2);
    EXPECT_EQ(c->recNo(), 3u);
    c->next();
    c->next();
    EXPECT_TRUE(c->eof());
    EXPECT_EQ(c->recNo(), 4u); // stays on the last row
    int seen = 0;
    for (c->first(); !c->eof(); c->next())
        ++seen;
    EXPECT_EQ(seen, 4);
    EXPECT_EQ(c->fieldIndex("item_180"), c->fieldIndex("ITEM_180"));
    EXPECT_EQ(c->fieldIndex("nonsense"), -1);
    EXPECT_TRUE(c->value("nonsense").isNull());
}

TEST_F(CursorTest, FilterSelectsByEqualityAndPrefix) {
    auto c = std::move(*db.table("cgwcr"));
    ASSERT_TRUE(c->setFilter("item_4='2024000002' and item_dqdm='.'").ok());
    EXPECT_EQ(c->count(), 2);
    ASSERT_TRUE(c->setFilter("item_4='2024*'").ok());
    EXPECT_EQ(c->count(), 4);
    ASSERT_TRUE(c->setFilter("ITEM_180='李四'").ok());
    ASSERT_EQ(c->count(), 1);
    EXPECT_EQ(c->text("item_4"), "2024000002");
    ASSERT_TRUE(c->setFilter("").ok());
    EXPECT_EQ(c->count(), 4);
    EXPECT_FALSE(c->setFilter("item_4 = 2024").ok());
    EXPECT_FALSE(c->setFilter("nofield='x'").ok());
    ASSERT_TRUE(c->setFilter("item_180='O''Brien'").ok());
    EXPECT_EQ(c->count(), 0);
    EXPECT_EQ(c->recNo(), 0u);
}

TEST_F(CursorTest, PostingARowOutOfTheFilterMovesToTheNextRow) {
    // The re-keying loop: while the view is not empty, rewrite the key; each row leaves the view.
    auto c = std::move(*db.table("cgwcr"));
    ASSERT_TRUE(c->setFilter("item_4='2024000002'").ok());
    int rewritten = 0;
    while (!c->isEmpty() && c->text("item_4") != "2025000001") {
        ASSERT_TRUE(c->edit().ok());
        ASSERT_TRUE(c->setValue("item_4", "2025000001").ok());
        ASSERT_TRUE(c->post().ok());
        ++rewritten;
    }
    EXPECT_EQ(rewritten, 2);
    auto moved = std::move(*db.table("cgwcr"));
    ASSERT_TRUE(moved->setFilter("item_4='2025000001'").ok());
    EXPECT_EQ(moved->count(), 2);
}

TEST_F(CursorTest, DeletingUntilEndOfDataEmptiesTheView) {
    auto c = std::move(*db.table("cgwcr"));
    ASSERT_TRUE(c->setFilter("item_4='2024000002'").ok());
    while (!c->eof())
        ASSERT_TRUE(c->remove().ok());
    EXPECT_EQ(c->count(), 0);
    auto all = std::move(*db.table("cgwcr"));
    EXPECT_EQ(all->count(), 2);
    // Deleting a middle row leaves the cursor on the row that followed it.
    all->first();
    ASSERT_TRUE(all->remove().ok());
    EXPECT_EQ(all->text("item_4"), "2024000003");
}

TEST_F(CursorTest, PostsAreSeenByOtherCursorsAtOnce) {
    auto a = std::move(*db.table("cgwcr"));
    auto b = std::move(*db.table("cgwcr"));
    ASSERT_TRUE(a->edit().ok());
    ASSERT_TRUE(a->setValue("ITEM_180", "王五").ok());
    EXPECT_EQ(b->text("ITEM_180"), "张三"); // not posted yet
    ASSERT_TRUE(a->post().ok());
    EXPECT_EQ(b->text("ITEM_180"), "王五");
    a->cancel();
    ASSERT_TRUE(a->edit().ok());
    ASSERT_TRUE(a->setValue("ITEM_180", "丢弃").ok());
    a->cancel();
    EXPECT_EQ(a->text("ITEM_180"), "王五");
}

TEST_F(CursorTest, LocateFindsTheFirstMatchingRow) {
    auto c = std::move(*db.table("cgwcr"));
    EXPECT_TRUE(c->locate("item_180", "李四"));
    EXPECT_EQ(c->recNo(), 4u);
    EXPECT_FALSE(c->locate("item_180", "无此人"));
    EXPECT_EQ(c->recNo(), 1u);
}

// A result in number order whose rows lie scattered over the file (every tenth row a year, as
// records of ten years appended in turn) reads each row right, whether walked, walked back or
// jumped about, and sees rows changed or deleted meanwhile.
TEST(ScatteredResult, RowsReadInFileOrderComeBackInResultOrder) {
    TempDir dir;
    createTables(dir, {"cgwcr"});
    Database db(dir.path().string());
    {
        auto table = std::move(*db.openTable("cgwcr"));
        RowBatch batch(*table, 700);
        std::vector<Value> values(table->fields().size());
        for (int i = 0; i < 3000; ++i) {
            values[table->fieldIndex("ITEM_4")] =
                std::to_string(2000 + i % 10) + std::to_string(1000000 + i / 10).substr(1);
            values[table->fieldIndex("ITEM_180")] = "人" + std::to_string(i);
            ASSERT_TRUE(batch.add(values).ok());
        }
        ASSERT_TRUE(batch.flush().ok());
        ASSERT_EQ(batch.written().size(), 3000u);
        EXPECT_EQ(batch.written().front(), 1u);
    }
    auto expected = [](int position) { // the row at `position` of the list by number
        const int year = position / 300, sequence = position % 300;
        return "人" + std::to_string(sequence * 10 + year);
    };
    auto list = std::move(*db.query("select * from cgwcr order by item_4"));
    ASSERT_EQ(list->count(), 3000);
    int position = 0;
    for (list->first(); !list->eof(); list->next(), ++position)
        ASSERT_EQ(list->text("ITEM_180"), expected(position)) << position;
    for (list->last(); !list->bof(); list->prior())
        ASSERT_EQ(list->text("ITEM_180"), expected(--position)) << position;
    for (int at : {2999, 0, 1500, 17, 2500}) {
        ASSERT_TRUE(list->moveTo(at));
        EXPECT_EQ(list->text("ITEM_180"), expected(at)) << at;
    }

    // Another cursor changes a row ahead and deletes one: the walk sees both.
    list->moveTo(40);
    EXPECT_EQ(list->text("ITEM_180"), expected(40));
    auto other = std::move(*db.table("cgwcr"));
    ASSERT_TRUE(other->locate("ITEM_180", Value(expected(41))));
    ASSERT_TRUE(other->edit().ok());
    ASSERT_TRUE(other->setValue("ITEM_180", "改过").ok());
    ASSERT_TRUE(other->post().ok());
    list->next();
    EXPECT_EQ(list->text("ITEM_180"), "改过");
    ASSERT_TRUE(list->refresh().ok());
    ASSERT_TRUE(other->locate("ITEM_180", Value(expected(42))));
    ASSERT_TRUE(other->remove().ok());
    ASSERT_TRUE(list->refresh().ok());
    EXPECT_EQ(list->count(), 2999);
    ASSERT_TRUE(list->moveTo(42));
    EXPECT_EQ(list->text("ITEM_180"), expected(43));
}
