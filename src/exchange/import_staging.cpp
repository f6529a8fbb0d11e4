#include "import_staging.h"

#include "store/field.h"
#include "store/gbk.h"
#include "store/lookups.h"
#include "store/sync_scope.h"
#include "store/table_file.h"

namespace xb::exchange {
namespace {

const std::string AchievementStaging = "kjcgtemp";

store::Params keyParams(const std::string& number, const std::string& region) {
    return {{"item_4", number}, {"item_dqdm", region}};
}

store::Status deleteEveryRow(store::Database& db, const std::string& table) {
    if (auto deleted = db.execute("delete from " + table); !deleted) return deleted.error();
    // Only reached while a cursor holds the table, which refuses the pack; the rows are gone
    // either way, and the pack at the next start takes their space back.
    (void)db.pack(table);
    return {};
}

// Empties the table in place: its files shrink to an empty table, which frees the room of a
// full disk too. Marking a hundred thousand staged rows deleted one by one and packing
// afterwards takes seconds; this does not.
store::Status removeAllRows(store::Database& db, const std::string& name) {
    auto opened = db.openTable(name);
    if (!opened) return opened.error();
    std::shared_ptr<store::TableFile> table = std::move(*opened);
    if (table->recordCount() == 0) return {};
    // A cursor elsewhere would go on reading rows that are gone: its rows are deleted instead.
    if (table.use_count() > 2) return deleteEveryRow(db, name);
    return table->removeAllRows();
}

} // namespace

const std::vector<std::string>& stagingTables() {
    static const std::vector<std::string> tables{"kjcgtemp", "cgwcdwtemp", "cgwcrtemp",
                                                 "jdwyhmdtemp", "zlqktemp"};
    return tables;
}

const std::vector<std::string>& childStagingTables() {
    static const std::vector<std::string> tables(stagingTables().begin() + 1,
                                                 stagingTables().end());
    return tables;
}

store::Status emptyStagingTables(store::Database& db) {
    for (const std::string& table : stagingTables())
        if (store::Status s = removeAllRows(db, table); !s) return s;
    return {};
}

store::Result<std::vector<StagedAchievement>> loadStagedAchievements(store::Database& db) {
    auto opened = db.openTable(AchievementStaging);
    if (!opened) return opened.error();
    const store::TableFile& table = **opened;
    const int number = table.fieldIndex("ITEM_4");
    const int region = table.fieldIndex("ITEM_DQDM");
    const int name = table.fieldIndex("ITEM_3");
    const int unit = table.fieldIndex("ITEM_9");
    const int category = table.fieldIndex("ITEM_CGLB");
    std::vector<StagedAchievement> staged;
    auto text = [&](std::string_view raw, int field) { return table.decode(raw, field).toText(); };
    store::Status scanned = table.scan([&](uint32_t row, std::string_view raw) {
        staged.push_back({row, store::trimmed(text(raw, number)), store::trimmed(text(raw, region)),
                          text(raw, name), text(raw, unit), store::trimmed(text(raw, category))});
        return true;
    });
    if (!scanned) return scanned.error();
    return staged;
}

store::Result<std::vector<uint32_t>> rowsWithKey(store::Database& db, const std::string& table,
                                                 const std::string& number,
                                                 const std::string& region) {
    auto opened = db.openTable(table);
    if (!opened) return opened.error();
    store::TableFile& staged = **opened;
    const int numberField = staged.fieldIndex("ITEM_4");
    const int regionField = staged.fieldIndex("ITEM_DQDM");
    if (numberField >= 0 && regionField >= 0 &&
        staged.fields()[static_cast<size_t>(numberField)].type == store::FieldType::Character &&
        staged.fields()[static_cast<size_t>(regionField)].type == store::FieldType::Character) {
        // Straight from the number's index: one statement per table and achievement would be
        // parsed ten thousand times in a large import.
        auto rows =
            store::indexedRows(staged, numberField, store::trimRight(store::toGbk(number)), false);
        if (!rows) return rows.error();
        const std::string wanted = store::trimRight(store::toGbk(region));
        std::vector<uint32_t> found;
        std::string raw;
        for (uint32_t row : *rows) {
            if (store::Status s = staged.readRecord(row, raw); !s) return s.error();
            if (store::trimRight(staged.fieldBytes(raw, regionField)) == wanted)
                found.push_back(row);
        }
        return found;
    }
    auto rows =
        db.query("select * from " + table + " where item_4=:item_4 and item_dqdm=:item_dqdm",
                 keyParams(number, region));
    if (!rows) return rows.error();
    std::vector<uint32_t> found;
    for ((*rows)->first(); !(*rows)->eof(); (*rows)->next())
        found.push_back((*rows)->recNo());
    return found;
}

store::Status removeStagedAchievement(store::Database& db, const StagedAchievement& staged) {
    for (const std::string& table : childStagingTables()) {
        auto deleted =
            db.execute("delete from " + table + " where item_4=:item_4 and item_dqdm=:item_dqdm",
                       keyParams(staged.number, staged.region));
        if (!deleted) return deleted.error();
    }
    auto table = db.openTable(AchievementStaging);
    if (!table) return table.error();
    return (*table)->markDeleted(staged.row);
}

store::Status numberStagedAchievements(store::Database& db) {
    auto rows = db.table(AchievementStaging);
    if (!rows) return rows.error();
    store::Cursor& c = **rows;
    store::SyncScope scope;
    int position = 1;
    for (c.first(); !c.eof(); c.next(), ++position) {
        const std::string text = std::to_string(position);
        if (store::trimmed(c.text("NO")) == text) continue;
        if (store::Status s = c.edit(); !s) return s;
        if (store::Status s = c.setValue("NO", text); !s) return s;
        if (store::Status s = c.post(); !s) return s;
    }
    return scope.commit();
}

store::Status renameStagedAchievement(store::Database& db, const StagedAchievement& staged,
                                      const std::string& name) {
    auto opened = db.openTable(AchievementStaging);
    if (!opened) return opened.error();
    store::TableFile& table = **opened;
    std::string raw;
    if (store::Status s = table.readRecord(staged.row, raw); !s) return s;
    const int nameField = table.fieldIndex("ITEM_3");
    if (nameField < 0) return store::fail("表文件 " + table.fileName() + " 缺少字段 ITEM_3");
    std::vector<store::Value> values = table.decodeRow(raw);
    values[static_cast<size_t>(nameField)] = store::Value(name);
    return table.write(staged.row, values);
}

} // namespace xb::exchange
