#include "import_duplicates.h"

#include "store/gbk.h"
#include "store/lookups.h"
#include "store/table_file.h"

namespace xb::exchange {
namespace {

// The statement the twin is defined by; for achievement tables without character name fields.
store::Result<std::optional<std::string>>
twinByStatement(store::Database& db, const std::string& name, const std::string& unit) {
    auto twins = db.query("select * from kjcg where item_3=:item_3 and item_9=:item_9",
                          {{"item_3", store::trimmed(name)}, {"item_9", store::trimmed(unit)}});
    if (!twins) return twins.error();
    if ((*twins)->isEmpty()) return std::optional<std::string>();
    (*twins)->first();
    return std::optional<std::string>(store::trimmed((*twins)->text("item_4")));
}

} // namespace

store::Result<std::optional<std::string>>
findStoredTwin(store::Database& db, const std::string& name, const std::string& unit) {
    auto opened = db.openTable("kjcg");
    if (!opened) return opened.error();
    store::TableFile& kjcg = **opened;
    const int nameField = kjcg.fieldIndex("ITEM_3");
    const int unitField = kjcg.fieldIndex("ITEM_9");
    const int numberField = kjcg.fieldIndex("ITEM_4");
    const auto isCharacter = [&](int field) {
        return field >= 0 &&
               kjcg.fields()[static_cast<size_t>(field)].type == store::FieldType::Character;
    };
    if (!isCharacter(nameField) || !isCharacter(unitField) || numberField < 0)
        return twinByStatement(db, name, unit);
    // As the statement compares texts: the stored bytes without trailing blanks, here straight
    // from the name index, since a statement per staged achievement is parsed ten thousand
    // times in a large import.
    auto rows = store::indexedRows(kjcg, nameField,
                                   store::trimRight(store::toGbk(store::trimmed(name))), false);
    if (!rows) return rows.error();
    const std::string wanted = store::trimRight(store::toGbk(store::trimmed(unit)));
    std::string raw;
    for (uint32_t row : *rows) {
        if (store::Status s = kjcg.readRecord(row, raw); !s) return s.error();
        if (kjcg.fieldBytes(raw, unitField) == wanted)
            return std::optional<std::string>(
                store::trimmed(kjcg.decode(raw, numberField).toText()));
    }
    return std::optional<std::string>();
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
