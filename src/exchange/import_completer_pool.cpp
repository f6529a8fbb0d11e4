#include "import_completer_pool.h"

#include "store/gbk.h"
#include "store/lookups.h"
#include "store/table_file.h"
#include "store/values_by_name.h"

namespace xb::exchange {

store::Status updateCompleterPool(store::Database& db, const std::vector<store::Value>& completer,
                                  const store::FieldList& fields) {
    auto pool = db.openTable("cgwcrNew");
    if (!pool) return pool.error();
    const int nameField = (*pool)->fieldIndex("ITEM_180");
    const int givenName = store::fieldPosition(fields, "ITEM_180");
    if (nameField < 0 || givenName < 0 || static_cast<size_t>(givenName) >= completer.size())
        return store::fail("完成人名录 cgwcrNew 中没有字段 ITEM_180");
    const store::FieldDef& field = (*pool)->fields()[static_cast<size_t>(nameField)];
    const std::string name =
        store::toGbk(store::trimmed(completer[static_cast<size_t>(givenName)].toText()));
    const std::vector<store::Value> row = store::valuesByName(completer, fields, **pool);
    // Straight from the name index, keyed by the stored bytes: reading pool rows to compare them
    // would cost a block read each time the pool has just been written.
    auto same = store::indexedRows(**pool, nameField,
                                   std::string(store::cutGbkBytes(name, field.width)), false);
    if (!same) return same.error();
    switch (same->size()) {
    case 0: {
        auto added = (*pool)->append(row);
        if (!added) return added.error();
        return {};
    }
    case 1:
        return (*pool)->write(same->front(), row);
    default:
        return {};
    }
}

} // namespace xb::exchange
