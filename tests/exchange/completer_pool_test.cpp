// The completer pool refreshed from many completers at once ends byte for byte as when each
// completer was looked up and written on its own: names stored, new, met twice, ambiguous, cut at
// the field's width, with blanks around them, and rows far apart and close together.
#include "exchange/import_completer_pool.h"
#include "import_fixture.h"
#include "store/gbk.h"
#include "store/lookups.h"
#include "store/table_file.h"
#include "store/values_by_name.h"

namespace xb::exchange::testing {
namespace {

// One completer: looked up by its trimmed name in the pool's index, then appended, written over
// the one row of that name, or left out when the name has more rows.
store::Status refreshOneByOne(store::Database& db, const std::vector<store::Value>& completer) {
    const store::FieldList& fields = store::layoutOf("cgwcr").fields;
    auto pool = db.openTable("cgwcrNew");
    if (!pool) return pool.error();
    const int nameField = (*pool)->fieldIndex("ITEM_180");
    const std::string name = store::toGbk(store::trimmed(
        completer[static_cast<size_t>(store::fieldPosition(fields, "ITEM_180"))].toText()));
    const std::vector<store::Value> row = store::valuesByName(completer, fields, **pool);
    auto same =
        store::indexedRows(**pool, nameField,
                           std::string(store::cutGbkBytes(
                               name, (*pool)->fields()[static_cast<size_t>(nameField)].width)),
                           false);
    if (!same) return same.error();
    if (same->empty()) {
        auto added = (*pool)->append(row);
        if (!added) return added.error();
        return {};
    }
    if (same->size() == 1) return (*pool)->write(same->front(), row);
    return {};
}

class CompleterPool : public ImportFixture {
  protected:
    void SetUp() override {
        ImportFixture::SetUp();
        other = openNewDataDirectory(QDir(root.path()).filePath("other").toStdString());
        for (store::Database* each : {&db(), &other->db()}) {
            auto pool = each->openTable("cgwcrNew");
            ASSERT_TRUE(pool.ok());
            for (int i = 0; i < 300; ++i)
                ASSERT_TRUE((*pool)->append(poolRow("人" + std::to_string(i), "旧单位")).ok());
            ASSERT_TRUE((*pool)->append(poolRow("李四", "甲")).ok());
            ASSERT_TRUE((*pool)->append(poolRow("李四", "乙")).ok());
        }
    }
    static std::vector<store::Value> poolRow(const std::string& name, const std::string& unit,
                                             const store::Value& rank = 1) {
        const store::FieldList& fields = store::layoutOf("cgwcr").fields;
        std::vector<store::Value> row(fields.size());
        const auto set = [&](const char* field, store::Value value) {
            row[static_cast<size_t>(store::fieldPosition(fields, field))] = std::move(value);
        };
        set("ITEM_4", "2001000001");
        set("ITEM_DQDM", ".");
        set("ITEM_180", name);
        set("ITEM_185", unit);
        set("ITEM_187", rank);
        return row;
    }
    std::string poolBytes(const std::string& folder) {
        return readBytes(QDir(QString::fromStdString(folder)).filePath("cgwcrNew.dbf"));
    }

    std::unique_ptr<store::RecordStore> other;
};

TEST_F(CompleterPool, ManyAtOnceEndAsOneAfterAnother) {
    std::string longName;
    for (int i = 0; i < 15; ++i)
        longName += "长";
    std::vector<std::vector<store::Value>> completers{poolRow("人3", "新单位"),
                                                      poolRow("赵六", "丙"),
                                                      poolRow("赵六", "丁", 2),
                                                      poolRow("李四", "戊"),
                                                      poolRow(" 钱七", "己"),
                                                      poolRow(" 钱七", "庚"),
                                                      poolRow("人3 ", "又一单位", store::Value()),
                                                      poolRow(longName, "辛"),
                                                      poolRow(longName + "长", "壬"),
                                                      poolRow("", "无名"),
                                                      poolRow("  ", "空白"),
                                                      poolRow("人299", "末行"),
                                                      poolRow("人0", "首行")};
    // Rows close together and far apart.
    for (int i = 10; i < 250; i += 7)
        completers.push_back(poolRow("人" + std::to_string(i), "单位" + std::to_string(i)));

    for (const auto& completer : completers) {
        const store::Status s = refreshOneByOne(db(), completer);
        ASSERT_TRUE(s.ok()) << s.message();
    }
    const store::Status s =
        updateCompleterPool(other->db(), completers, store::layoutOf("cgwcr").fields);
    ASSERT_TRUE(s.ok()) << s.message();
    db().closeTable("cgwcrNew");
    other->db().closeTable("cgwcrNew");
    EXPECT_EQ(poolBytes(dataPath()), poolBytes(QDir(root.path()).filePath("other").toStdString()));

    // The single completer takes the same way.
    ASSERT_TRUE(refreshOneByOne(db(), poolRow("赵六", "再次")).ok());
    const store::Status one = updateCompleterPool(other->db(), poolRow("赵六", "再次"));
    ASSERT_TRUE(one.ok()) << one.message();
    db().closeTable("cgwcrNew");
    other->db().closeTable("cgwcrNew");
    EXPECT_EQ(poolBytes(dataPath()), poolBytes(QDir(root.path()).filePath("other").toStdString()));
}

} // namespace
} // namespace xb::exchange::testing
