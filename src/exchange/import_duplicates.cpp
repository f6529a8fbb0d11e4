#include "import_duplicates.h"

#include "store/lookups.h"

namespace xb::exchange {

store::Result<std::optional<std::string>>
findStoredTwin(store::Database& db, const std::string& name, const std::string& unit) {
    auto twins = db.query("select * from kjcg where item_3=:item_3 and item_9=:item_9",
                          {{"item_3", store::trimmed(name)}, {"item_9", store::trimmed(unit)}});
    if (!twins) return twins.error();
    if ((*twins)->isEmpty()) return std::optional<std::string>();
    (*twins)->first();
    return std::optional<std::string>(store::trimmed((*twins)->text("item_4")));
}

store::Status deleteStoredRecord(store::Database& db, const std::string& number) {
    for (const char* table : {"zlqk", "cgwcdw", "cgwcr", "jdwyhmd", "kjcg"}) {
        auto deleted = db.execute(std::string("delete from ") + table + " where item_4=:item_4",
                                  {{"item_4", number}});
        if (!deleted) return deleted.error();
    }
    return {};
}

} // namespace xb::exchange
