#include "import_staged_rows.h"

#include "store/gbk.h"
#include "store/table_file.h"

namespace xb::exchange {

store::Result<StagedChildRows> StagedChildRows::load(store::Database& db) {
    StagedChildRows found;
    for (const std::string& name : childStagingTables()) {
        auto opened = db.openTable(name);
        if (!opened) return opened.error();
        const store::TableFile& table = **opened;
        const int number = table.fieldIndex("ITEM_4");
        const int region = table.fieldIndex("ITEM_DQDM");
        const auto isCharacter = [&](int field) {
            return field >= 0 &&
                   table.fields()[static_cast<size_t>(field)].type == store::FieldType::Character;
        };
        if (!isCharacter(number) || !isCharacter(region)) continue;
        auto& rows = found.byKey_[name];
        found.rowBytes_[name] = table.recordLength();
        store::Status scanned = table.scan([&](uint32_t row, std::string_view raw) {
            rows[Key(table.fieldBytes(raw, number), table.fieldBytes(raw, region))].push_back(row);
            return true;
        });
        if (!scanned) return scanned.error();
    }
    return found;
}

uint64_t StagedChildRows::bytes(const StagedAchievement& staged) const {
    const Key key(store::trimRight(store::toGbk(staged.number)),
                  store::trimRight(store::toGbk(staged.region)));
    uint64_t total = 0;
    for (const auto& [table, byKey] : byKey_)
        if (const auto rows = byKey.find(key); rows != byKey.end())
            total += uint64_t{rows->second.size()} * rowBytes_.at(table);
    return total;
}

store::Result<std::vector<uint32_t>> StagedChildRows::rows(store::Database& db,
                                                           const std::string& table,
                                                           const StagedAchievement& staged) const {
    const auto loaded = byKey_.find(table);
    if (loaded == byKey_.end()) return rowsWithKey(db, table, staged.number, staged.region);
    const auto rows = loaded->second.find(Key(store::trimRight(store::toGbk(staged.number)),
                                              store::trimRight(store::toGbk(staged.region))));
    if (rows == loaded->second.end()) return std::vector<uint32_t>{};
    return rows->second;
}

} // namespace xb::exchange
