#include "store/sql_parser.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace xb::store;

TEST(SqlParser, AcceptsTheDialect) {
    const char* accepted[] = {
        "select * from kjcg",
        "SELECT DISTINCT item_4 FROM kjcg ORDER BY item_4 DESC",
        "select max(item_4) from kjcg where item_4 like'2024%'",
        "select item_4, item_3 from kjcg where item_cglb='1' and item_4 like '2024%'",
        "select *  from  cgwcr  where  item_4=:item_4\nand  item_dqdm=:item_dqdm\norder  by  "
        "item_187 ",
        "select * from kjcg\n where  (\n item_3 like '%a%' and not item_2 = '1' or (item_45 >= "
        "3)\n ) and (item_cglb='1')",
        "select count(*) from kjcg where item_45 <> 0 and item_45 <= -1.5 and item_121 is not null",
        "DELETE FROM kjcg WHERE item_4='2024000001'",
        "insert into zlqk (item_4, item_dqdm, item_no) values ('2024000001', '.', 1)",
        "insert into zlqk values (:a, :b)",
        "update kjcg set item_3='x', item_45=2 where item_4='1';",
    };
    for (const char* sql : accepted) {
        auto st = sql::parse(sql);
        EXPECT_TRUE(st.ok()) << sql << ": " << (st.ok() ? "" : st.message());
    }
}

TEST(SqlParser, RejectsMalformedStatementsWithAMessage) {
    const char* rejected[] = {
        "",
        "select",
        "select * kjcg",
        "select * from",
        "select * from kjcg where",
        "select * from kjcg where item_3 'x'", // the query builder's empty operator
        "select * from kjcg where (item_3='x'",
        "select * from kjcg where item_3='x",
        "select * from kjcg order item_4",
        "select * from kjcg where item_3 = 'a' extra",
        "drop table kjcg",
        "insert into kjcg (item_3) values ('a', 'b')",
        "update kjcg item_3='x'",
        "select * from kjcg where item_3 # 'x'",
    };
    for (const char* sql : rejected) {
        auto st = sql::parse(sql);
        EXPECT_FALSE(st.ok()) << sql;
        if (!st.ok()) {
            EXPECT_NE(st.message().find("SQL"), std::string::npos) << st.message();
        }
    }
}

namespace {

// Deep conditions are refused with a message instead of exhausting the stack; the depths the
// query window produces parse and evaluate.
TEST(SqlParser, BoundsTheDepthOfConditions) {
    const auto where = [](const std::string& condition) {
        return sql::parse("select * from kjcg where " + condition);
    };
    const auto repeat = [](const std::string& part, int times) {
        std::string text;
        for (int i = 0; i < times; ++i)
            text += part;
        return text;
    };
    auto parens = where(repeat("(", 50000) + "item_3='x'" + repeat(")", 50000));
    ASSERT_FALSE(parens.ok());
    EXPECT_NE(parens.message().find("嵌套太深"), std::string::npos) << parens.message();
    auto nots = where(repeat("not ", 50000) + "item_3='x'");
    ASSERT_FALSE(nots.ok());
    EXPECT_NE(nots.message().find("嵌套太深"), std::string::npos) << nots.message();
    auto chain = where("item_3='x'" + repeat(" or item_3='x'", 50000));
    ASSERT_FALSE(chain.ok());
    EXPECT_NE(chain.message().find("太长"), std::string::npos) << chain.message();

    EXPECT_TRUE(where(repeat("(", 150) + "item_3='x'" + repeat(")", 150)).ok());
    EXPECT_TRUE(where("item_3='x'" + repeat(" and item_3<>'y'", 500)).ok());
}

class SqlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        createTables(dir, {"kjcg", "cgwcr"});
        add("2023000007", "1", "旧成果", 1);
        add("2024000009", "1", "第九项", 5);
        add("2024000010", "1", "第十项", 20);
        add("2024000001", "2", "软科学项目", 0);
        add("2025000001", "1", "O'Brien's work", 3);
    }
    void add(const char* number, const char* category, const char* name, double transfers) {
        addRow(db, "kjcg",
               {{"ITEM_4", number},
                {"ITEM_DQDM", "."},
                {"ITEM_CGLB", category},
                {"ITEM_3", name},
                {"ITEM_45", transfers}});
    }
    std::vector<std::string> column(const std::string& sql, const char* field,
                                    const Params& params = {}) {
        auto c = db.query(sql, params);
        EXPECT_TRUE(c.ok()) << sql << ": " << (c.ok() ? "" : c.message());
        std::vector<std::string> out;
        if (!c.ok()) return out;
        for ((*c)->first(); !(*c)->eof(); (*c)->next())
            out.push_back((*c)->text(field));
        return out;
    }
    TempDir dir;
    Database db{dir.path().string()};
};

using Texts = std::vector<std::string>;

} // namespace

TEST_F(SqlTest, RecordListSelectsByCategoryAndYearInStoredOrder) {
    EXPECT_EQ(column("select * from kjcg where item_cglb='1' and item_4 like '2024%'", "item_4"),
              (Texts{"2024000009", "2024000010"}));
    EXPECT_EQ(
        column("select * from kjcg where item_cglb='1' and item_4 like '20%'", "item_4").size(),
        4u);
}

TEST_F(SqlTest, RecordNumbersCompareAsText) {
    auto max = db.query("select max(item_4) from kjcg where item_4 like'2024%'");
    ASSERT_TRUE(max.ok());
    EXPECT_EQ((*max)->value(0).toText(), "2024000010");
    auto none = db.query("select max(item_4) from kjcg where item_4 like'1999%'");
    ASSERT_TRUE(none.ok());
    ASSERT_EQ((*none)->count(), 1);
    EXPECT_TRUE((*none)->value(0).isNull());
    EXPECT_EQ(column("select item_4 from kjcg order by item_4 desc", "item_4"),
              (Texts{"2025000001", "2024000010", "2024000009", "2024000001", "2023000007"}));
    EXPECT_EQ(column("select * from kjcg where item_4 > '2024000009' order by item_4", "item_4"),
              (Texts{"2024000010", "2025000001"}));
    // max without an index-friendly condition takes the general path and must agree.
    auto general =
        db.query("select max(item_4) from kjcg where item_cglb='1' and item_4 like '2024%'");
    ASSERT_TRUE(general.ok());
    EXPECT_EQ((*general)->value(0).toText(), "2024000010");
}

TEST_F(SqlTest, ConditionsWithOrNotParenthesesNumbersAndLike) {
    EXPECT_EQ(column("select * from kjcg where\n (\n item_3 like '%项%' \n) and (item_cglb='1')",
                     "item_4"),
              (Texts{"2024000009", "2024000010"}));
    EXPECT_EQ(column("select * from kjcg where item_45 >= 5 or item_cglb = '2'", "item_4"),
              (Texts{"2024000009", "2024000010", "2024000001"}));
    EXPECT_EQ(column("select * from kjcg where not (item_cglb = '1') ", "item_4"),
              (Texts{"2024000001"}));
    EXPECT_EQ(column("select * from kjcg where item_3 like '第_项'", "item_4"),
              (Texts{"2024000009", "2024000010"}));
    EXPECT_EQ(column("select distinct item_cglb from kjcg order by item_cglb", "item_cglb"),
              (Texts{"1", "2"}));
    std::string deep = "item_cglb = '2'";
    for (int i = 0; i < 60; ++i) // 120 levels
        deep = (i % 2 ? "(" : "not not (") + deep + ")";
    EXPECT_EQ(column("select * from kjcg where " + deep, "item_4"), (Texts{"2024000001"}));
    auto count = db.query("select count(*) from kjcg where item_45 < 4");
    ASSERT_TRUE(count.ok());
    EXPECT_EQ((*count)->value(0).toInteger(), 3);
}

TEST_F(SqlTest, ParametersAreBoundAsValues) {
    EXPECT_EQ(
        column("select * from kjcg where item_3=:name", "item_4", {{"name", "O'Brien's work"}}),
        (Texts{"2025000001"}));
    EXPECT_TRUE(
        column("select * from kjcg where item_3=:name", "item_4", {{"name", "x' or '1'='1"}})
            .empty());
    EXPECT_EQ(column("select * from kjcg where item_3='O''Brien''s work'", "item_4"),
              (Texts{"2025000001"}));
    auto missing = db.query("select * from kjcg where item_3=:name");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.message().find(":name"), std::string::npos);
}

TEST_F(SqlTest, LiveResultWritesThroughAndKeepsPostedRows) {
    auto list = db.query("select * from kjcg where item_cglb='1' and item_4 like '2024%'");
    ASSERT_TRUE(list.ok());
    ASSERT_TRUE((*list)->edit().ok());
    ASSERT_TRUE((*list)->setValue("item_cglb", "3").ok());
    ASSERT_TRUE((*list)->post().ok());
    EXPECT_EQ((*list)->count(), 2); // stays until the statement runs again
    EXPECT_EQ(column("select * from kjcg where item_cglb='3'", "item_4"), (Texts{"2024000009"}));
    auto names = db.query("select item_3 from kjcg");
    ASSERT_TRUE(names.ok());
    EXPECT_FALSE((*names)->edit().ok());
}

TEST_F(SqlTest, DeleteInsertUpdate) {
    auto deleted = db.execute("DELETE FROM kjcg WHERE item_4='2024000009'");
    ASSERT_TRUE(deleted.ok());
    EXPECT_EQ(*deleted, 1);
    auto inserted = db.execute("insert into cgwcr (item_4, item_dqdm, item_187, item_180) values "
                               "('2024000010', '.', 1, '张三')");
    ASSERT_TRUE(inserted.ok()) << inserted.message();
    auto updated = db.execute("update kjcg set item_3=:name, item_45=7 where item_4 like '2024%'",
                              {{"name", "改名"}});
    ASSERT_TRUE(updated.ok()) << updated.message();
    EXPECT_EQ(*updated, 2);
    EXPECT_EQ(column("select * from kjcg where item_45 = 7", "item_3"), (Texts{"改名", "改名"}));
    EXPECT_EQ(column("select * from cgwcr", "item_180"), (Texts{"张三"}));
}

TEST_F(SqlTest, EngineErrorsNameWhatIsWrong) {
    auto noTable = db.query("select * from nosuch");
    ASSERT_FALSE(noTable.ok());
    EXPECT_NE(noTable.message().find("nosuch"), std::string::npos);
    auto noField = db.query("select * from kjcg where item_999='1'");
    ASSERT_FALSE(noField.ok());
    EXPECT_NE(noField.message().find("item_999"), std::string::npos);
    EXPECT_FALSE(db.query("select * from kjcg where item_45 = 'abc'").ok());
    EXPECT_FALSE(db.execute("select * from kjcg").ok());
    EXPECT_FALSE(db.query("delete from kjcg").ok());
    // A failed statement changes nothing.
    EXPECT_EQ(column("select * from kjcg", "item_4").size(), 5u);
}

// Each refusal of the parser, with the place it names and what it expected.
TEST(SqlParser, EveryRefusalSaysWhereAndWhat) {
    const std::pair<const char*, const char*> cases[] = {
        {"select * from kjcg where item_3='x", "SQL 语句有误：引号不配对"},
        {"select * from kjcg where item_3 # 'x'", "SQL 语句有误：不能识别的字符“#”"},
        {"drop table kjcg",
         "SQL 语句有误：“drop” 处语句必须以 SELECT、DELETE、INSERT 或 UPDATE 开始"},
        {"select * from kjcg where item_3 = 'a' extra",
         "SQL 语句有误：“extra” 处语句结尾有多余的内容"},
        {"select * kjcg", "SQL 语句有误：“kjcg” 处应为 FROM"},
        {"select * from", "SQL 语句有误：语句结尾 处应为表名"},
        {"select * from kjcg order item_4", "SQL 语句有误：“item_4” 处应为 BY"},
        {"select max(item_4 from kjcg", "SQL 语句有误：“from” 处应为“)”"},
        {"delete kjcg", "SQL 语句有误：“kjcg” 处应为 FROM"},
        {"insert kjcg values (1)", "SQL 语句有误：“kjcg” 处应为 INTO"},
        {"insert into kjcg (item_3)", "SQL 语句有误：语句结尾 处应为 VALUES"},
        {"insert into kjcg values 1", "SQL 语句有误：“1” 处应为“(”"},
        {"insert into kjcg (item_3) values ('a', 'b')", "字段数与值的个数不符"},
        {"update kjcg item_3='x'", "SQL 语句有误：“item_3” 处应为 SET"},
        {"select * from kjcg where item_3 is 'x'", "SQL 语句有误：“x” 处应为 NULL"},
        {"select * from kjcg where item_3 not = 'x'", "SQL 语句有误：“=” 处应为 LIKE"},
        {"select * from kjcg where item_3 'x'", "SQL 语句有误：“x” 处应为比较运算符"},
        {"select * from kjcg where = 'x'", "SQL 语句有误：“=” 处应为字段名或值"},
        {"select * from kjcg where (item_3='x'", "SQL 语句有误：语句结尾 处应为“)”"},
    };
    for (const auto& [sql, expected] : cases) {
        auto st = sql::parse(sql);
        ASSERT_FALSE(st.ok()) << sql;
        EXPECT_NE(st.message().find(expected), std::string::npos) << sql << " → " << st.message();
    }
}

// Every statement form the windows use, and each refusal of the executor naming its cause; a
// refused statement changes nothing.
TEST_F(SqlTest, EveryStatementFormAndEveryExecutorRefusal) {
    auto min = db.query("select min(item_4) from kjcg where item_cglb='1'");
    ASSERT_TRUE(min.ok()) << min.message();
    EXPECT_EQ((*min)->text("item_4"), "2023000007");
    auto fields = db.query("select item_4, item_3 from kjcg where item_4 like '2024%' order by "
                           "item_4 desc");
    ASSERT_TRUE(fields.ok()) << fields.message();
    EXPECT_EQ((*fields)->text("item_4"), "2024000010");
    EXPECT_EQ(column("select * from kjcg where item_3 not like '第%' and item_121 is null order "
                     "by item_4",
                     "item_4"),
              (Texts{"2023000007", "2024000001", "2025000001"}));
    EXPECT_EQ(column("select * from kjcg where item_3 = 'O''Brien''s work'", "item_4"),
              (Texts{"2025000001"}));
    auto positional = db.execute("insert into cgwcr values ('2024000009', '.')");
    ASSERT_TRUE(positional.ok()) << positional.message();
    EXPECT_EQ(column("select * from cgwcr", "item_dqdm"), (Texts{"."}));

    const std::pair<const char*, const char*> refusals[] = {
        {"select * from kjcg where item_999='1'", "中没有字段 item_999"},
        {"select * from kjcg order by item_999", "中没有字段 item_999"},
        {"select max(item_999) from kjcg", "中没有字段 item_999"},
        {"select * from kjcg where item_4=:missing", "参数 :missing 没有赋值"},
        {"select * from kjcg where item_45 = 'abc'", "类型不匹配：“abc”不是数值"},
        {"select * from kjcg where item_121 = '2024/1/5'",
         "类型不匹配：“2024/1/5”不是日期（yyyy-MM-dd）"},
        {"update kjcg set item_999='x'", "中没有字段 item_999"},
        {"insert into cgwcr (item_4) values (item_180)", "INSERT 的值不能是字段名 item_180"},
        {"select * from nosuch", "nosuch"},
    };
    const auto refusal = [this](const std::string& sql) -> std::string {
        if (sql.rfind("select", 0) == 0) {
            auto result = db.query(sql);
            return result.ok() ? "<accepted>" : result.message();
        }
        auto result = db.execute(sql);
        return result.ok() ? "<accepted>" : result.message();
    };
    for (const auto& [sql, expected] : refusals) {
        EXPECT_NE(refusal(sql).find(expected), std::string::npos) << sql << " → " << refusal(sql);
    }
    std::string surplus = "insert into cgwcr values ('1'";
    for (int i = 0; i < 200; ++i)
        surplus += ", '1'";
    auto tooMany = db.execute(surplus + ")");
    ASSERT_FALSE(tooMany.ok());
    EXPECT_EQ(tooMany.message(), "INSERT 的值多于表的字段数");
    EXPECT_EQ(column("select * from kjcg", "item_4").size(), 5u);
    EXPECT_EQ(column("select * from cgwcr", "item_4").size(), 1u);
}

// Text sorts in the order of its stored GBK bytes (啊 B0A1 before 张 D5C5 before 中 D6D0, though
// Unicode orders 中 first), blanks first; ties keep stored order. A field list, distinct values
// and a plain field beside an aggregate come back in the result's order, whatever file order the
// rows lie in.
TEST_F(SqlTest, TextOrderFollowsStoredBytesAndResultsKeepTheirOrder) {
    add("2026000001", "1", "张三的成果", 1);
    add("2026000002", "1", "中国的成果", 2);
    add("2026000003", "1", "啊呀成果", 3);
    add("2026000004", "1", "", 4);
    add("2026000005", "1", "张三的成果", 5);
    const std::string year = "select item_4, item_3 from kjcg where item_4 like '2026%' ";
    EXPECT_EQ(column(year + "order by item_3", "item_3"),
              (Texts{"", "啊呀成果", "张三的成果", "张三的成果", "中国的成果"}));
    EXPECT_EQ(column(year + "order by item_3", "item_4"),
              (Texts{"2026000004", "2026000003", "2026000001", "2026000005", "2026000002"}));
    EXPECT_EQ(column(year + "order by item_3 desc", "item_4"),
              (Texts{"2026000002", "2026000001", "2026000005", "2026000003", "2026000004"}));
    EXPECT_EQ(column("select distinct item_3 from kjcg where item_4 like '2026%' order by item_3 "
                     "desc",
                     "item_3"),
              (Texts{"中国的成果", "张三的成果", "啊呀成果", ""}));
    // The first row of the result in its own order gives the plain field's value.
    auto first = db.query("select item_4, max(item_45) from kjcg where item_4 like '2026%' "
                          "order by item_4 desc");
    ASSERT_TRUE(first.ok()) << first.message();
    EXPECT_EQ((*first)->value(0).toText(), "2026000005");
    EXPECT_EQ((*first)->value(1).toInteger(), 5);
    // The same statement text with other parameter values gives other rows.
    const std::string byNumber = "select item_3 from kjcg where item_4=:item_4";
    EXPECT_EQ(column(byNumber, "item_3", {{"item_4", "2026000003"}}), (Texts{"啊呀成果"}));
    EXPECT_EQ(column(byNumber, "item_3", {{"item_4", "2026000002"}}), (Texts{"中国的成果"}));
}
