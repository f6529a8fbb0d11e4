#include "parties/completers.h"
#include "support/row_writer.h"
#include "support/shipped_data.h"

#include <gtest/gtest.h>

using namespace xb::parties;
using xb::store::Database;
using xb::store::Params;

namespace {

const Params kKey{{"item_4", "2024000001"}, {"item_dqdm", "."}};
const Params kOtherRegion{{"item_4", "2024000001"}, {"item_dqdm", "X"}};

CompleterEntry person(const char* name, const char* work = "茶叶研究所") {
    CompleterEntry e;
    e.name = QString::fromUtf8(name);
    e.sex = QStringLiteral("1");
    e.year = QStringLiteral("1970");
    e.month = QStringLiteral("05");
    e.title = QStringLiteral("2");
    e.education = QStringLiteral("3");
    e.studyAbroad = QStringLiteral("0");
    e.workUnit = QString::fromUtf8(work);
    e.contribution = QStringLiteral("试验");
    return e;
}

// What the dialog writes for such a completer.
xb::forms::RowWriter written(const CompleterEntry& e) {
    return writing({{"item_180", e.name.toStdString()},
                    {"item_181", e.sex->toStdString()},
                    {"item_182", completerBirthText(e.year, e.month).toStdString()},
                    {"item_183", e.title->toStdString()},
                    {"item_184", e.education->toStdString()},
                    {"item_185", e.workUnit.toStdString()},
                    {"item_186", e.contribution.toStdString()},
                    {"item_188", e.studyAbroad.toStdString()}});
}

class Completers : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(data.ok()) << data.error();
        db = &data.db();
    }
    void insert(const Params& key, const char* name, int order, int running) {
        ASSERT_TRUE(db->execute("insert into cgwcr (item_4, item_dqdm, item_180, item_187, "
                                "item_no) values (:item_4, :item_dqdm, :name, :o, :n)",
                                {{"item_4", key.at("item_4")},
                                 {"item_dqdm", key.at("item_dqdm")},
                                 {"name", name},
                                 {"o", std::to_string(order)},
                                 {"n", std::to_string(running)}})
                        .ok());
    }
    // "name:order:running" of the record's completers in listed order.
    std::vector<std::string> listed(const Params& key = kKey) {
        std::vector<std::string> out;
        auto rows = db->query(kCompletersOfRecord, key);
        EXPECT_TRUE(rows.ok());
        for ((*rows)->first(); !(*rows)->eof(); (*rows)->next())
            out.push_back((*rows)->text("item_180") + ":" + (*rows)->text("item_187") + ":" +
                          (*rows)->text("item_no"));
        return out;
    }
    // "name/work organization" of the pool rows.
    std::vector<std::string> pool() {
        std::vector<std::string> out;
        auto rows = db->table("cgwcrNew");
        EXPECT_TRUE(rows.ok());
        for ((*rows)->first(); !(*rows)->eof(); (*rows)->next())
            out.push_back((*rows)->text("item_180") + "/" + (*rows)->text("item_185"));
        return out;
    }
    uint32_t recordOf(const char* name) {
        auto rows = db->query("select * from cgwcr where item_180=:n", {{"n", name}});
        return rows.ok() && !(*rows)->isEmpty() ? (*rows)->recNo() : 0;
    }

    ShippedData data;
    Database* db = nullptr;
};

} // namespace

// Running numbers count over every region code of the record number, but the record's first
// completer gets 1; order numbers follow the listed ones.
TEST_F(Completers, NumbersOfNewCompleters) {
    insert(kOtherRegion, "外地甲", 1, 5);
    ASSERT_TRUE(addCompleter(*db, kKey, written(person("张三"))).ok());
    ASSERT_TRUE(addCompleter(*db, kKey, written(person("李四"))).ok());
    ASSERT_TRUE(addCompleter(*db, kKey, written(person("王五"))).ok());
    EXPECT_EQ(listed(), (std::vector<std::string>{"张三:1:1", "李四:2:6", "王五:3:7"}));
    EXPECT_EQ(listed(kOtherRegion), (std::vector<std::string>{"外地甲:1:5"}));
}

// A new name adds a pool row, a name held by one pool row overwrites it, a name held by two
// leaves the pool alone; changing a completer never touches the pool.
TEST_F(Completers, PoolFollowsNewCompletersOnly) {
    ASSERT_TRUE(
        db->execute("insert into cgwcrNew (item_180, item_185) values ('李四', '旧单位')").ok());
    ASSERT_TRUE(
        db->execute("insert into cgwcrNew (item_180, item_185) values ('王五', '甲')").ok());
    ASSERT_TRUE(
        db->execute("insert into cgwcrNew (item_180, item_185) values ('王五', '乙')").ok());
    ASSERT_TRUE(addCompleter(*db, kKey, written(person("张三", "新单位"))).ok());
    ASSERT_TRUE(addCompleter(*db, kKey, written(person(" 李四 ", "新单位"))).ok());
    ASSERT_TRUE(addCompleter(*db, kKey, written(person("王五", "新单位"))).ok());
    // Quotes in a name are a value to compare, never part of a statement.
    ASSERT_TRUE(addCompleter(*db, kKey, written(person("O'B' or '1'='1"))).ok());
    ASSERT_TRUE(addCompleter(*db, kKey, written(person("O'B' or '1'='1", "新单位"))).ok());
    const std::vector<std::string> after{"李四/新单位", "王五/甲", "王五/乙", "张三/新单位",
                                         "O'B' or '1'='1/新单位"};
    EXPECT_EQ(pool(), after);

    // The overwritten pool row is a copy of the completer row, key and numbers included.
    auto li = db->query("select * from cgwcrNew where item_180='李四'");
    ASSERT_TRUE(li.ok());
    EXPECT_EQ((*li)->text("item_4"), "2024000001");
    EXPECT_EQ((*li)->text("item_187"), "2");
    EXPECT_EQ((*li)->text("item_182"), "1970.05");

    CompleterEntry changed = person("张三", "改过的单位");
    changed.order = QStringLiteral("1");
    ASSERT_TRUE(changeCompleter(*db, kKey, recordOf("张三"), changed.order, written(changed)).ok());
    EXPECT_EQ(pool(), after);
}
