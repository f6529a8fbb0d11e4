// The shipped data directory in a folder of its own, with helpers to add achievement records and
// child rows.
#pragma once

#include "store/temp_dir.h"
#include "support/shipped_data.h"

#include <gtest/gtest.h>

class RecordFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        store = openShippedData(data(), error);
        ASSERT_TRUE(store) << error;
    }
    std::string data() const { return dir.file("data"); }
    xb::store::Database& db() { return store->db(); }

    void addRecord(const std::string& number, const std::string& category, const std::string& name,
                   std::initializer_list<std::pair<const char*, xb::store::Value>> more = {}) {
        auto kjcg = db().table("kjcg");
        ASSERT_TRUE(kjcg.ok());
        ASSERT_TRUE((*kjcg)->append().ok());
        (void)(*kjcg)->setValue("ITEM_4", number);
        (void)(*kjcg)->setValue("ITEM_DQDM", ".");
        (void)(*kjcg)->setValue("ITEM_CGLB", category);
        (void)(*kjcg)->setValue("ITEM_3", name);
        (void)(*kjcg)->setValue("ITEM_9", "测试单位");
        for (const auto& [field, value] : more)
            ASSERT_TRUE((*kjcg)->setValue(field, value).ok()) << field;
        ASSERT_TRUE((*kjcg)->post().ok());
    }
    void addChild(const std::string& table, const std::string& number,
                  std::initializer_list<std::pair<const char*, xb::store::Value>> more = {}) {
        auto t = db().table(table);
        ASSERT_TRUE(t.ok());
        ASSERT_TRUE((*t)->append().ok());
        (void)(*t)->setValue("ITEM_4", number);
        (void)(*t)->setValue("ITEM_DQDM", ".");
        for (const auto& [field, value] : more)
            ASSERT_TRUE((*t)->setValue(field, value).ok()) << field;
        ASSERT_TRUE((*t)->post().ok());
    }
    // Fills every field the shipped completeness rules require, for both category groups.
    void fillRequired(const std::string& number) {
        auto rules = std::move(*db().query("select * from checkup"));
        auto row = std::move(*db().query("select * from kjcg where item_4=:n", {{"n", number}}));
        ASSERT_TRUE(row->edit().ok());
        for (rules->first(); !rules->eof(); rules->next()) {
            const std::string f = rules->text("id");
            const auto type = row->fields()[static_cast<size_t>(row->fieldIndex(f))].type;
            (void)row->setValue(f, type == xb::store::FieldType::Date
                                       ? xb::store::Value(xb::store::Date{2024, 1, 2})
                                       : xb::store::Value("1"));
        }
        ASSERT_TRUE(row->post().ok());
    }
    // A record no section holds back: every required field filled and one completer.
    void completeRecord(const std::string& number) {
        fillRequired(number);
        addChild("cgwcr", number, {{"ITEM_180", "张三"}});
    }
    int count(const std::string& sql, const xb::store::Params& params = {}) {
        auto c = db().query(sql, params);
        EXPECT_TRUE(c.ok()) << (c.ok() ? "" : c.message());
        return c.ok() ? static_cast<int>((*c)->value(0).toInteger()) : -1;
    }
    std::string field(const std::string& number, const std::string& name) {
        auto c = db().query("select * from kjcg where item_4=:n", {{"n", number}});
        return c.ok() && !(*c)->isEmpty() ? (*c)->text(name) : std::string("<none>");
    }

    TempDir dir;
    std::unique_ptr<xb::store::RecordStore> store;
};
