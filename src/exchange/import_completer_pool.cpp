#include "import_completer_pool.h"

#include "store/gbk.h"
#include "store/lookups.h"
#include "store/row_batch.h"
#include "store/sync_scope.h"
#include "store/table_file.h"
#include "store/values_by_name.h"

#include <set>
#include <string>

namespace xb::exchange {
namespace {

// The bytes of a character field as the pool's index will hold them once the row is written.
std::string storedName(const store::FieldDef& field, const store::Value& name) {
    const std::string bytes = store::toGbk(name.text() ? *name.text() : name.toText());
    return store::trimRight(store::cutGbkBytes(bytes, field.width));
}

} // namespace

store::Status updateCompleterPool(store::Database& db, const std::vector<store::Value>& completer,
                                  const store::FieldList& fields) {
    return updateCompleterPool(db, std::vector<std::vector<store::Value>>{completer}, fields);
}

store::Status updateCompleterPool(store::Database& db,
                                  const std::vector<std::vector<store::Value>>& completers,
                                  const store::FieldList& fields) {
    auto pool = db.openTable("cgwcrNew");
    if (!pool) return pool.error();
    store::TableFile& table = **pool;
    const int nameField = table.fieldIndex("ITEM_180");
    const int givenName = store::fieldPosition(fields, "ITEM_180");
    const store::Error noName = store::fail("完成人名录 cgwcrNew 中没有字段 ITEM_180");
    if (nameField < 0 || givenName < 0) return noName;
    const store::FieldDef& field = table.fields()[static_cast<size_t>(nameField)];
    store::SyncScope scope; // the pool goes to the disk once, after the last completer
    store::RowBatch batch(table);
    // Names of rows added but not yet in the index, which sees rows only once they are written:
    // a name met again is looked up after the rows are written.
    std::set<std::string> added;
    const auto stop = [&](store::Error error) -> store::Status {
        (void)batch.flush(); // the completers before the failed one are in
        return error;
    };
    for (const std::vector<store::Value>& completer : completers) {
        if (static_cast<size_t>(givenName) >= completer.size()) return stop(noName);
        const std::string name =
            store::toGbk(store::trimmed(completer[static_cast<size_t>(givenName)].toText()));
        const std::string key(store::cutGbkBytes(name, field.width));
        if (added.count(key) != 0) {
            if (store::Status s = batch.flush(); !s) return s;
            added.clear();
        }
        const std::vector<store::Value> row = store::valuesByName(completer, fields, table);
        // Straight from the name index, keyed by the stored bytes: reading pool rows to compare
        // them would cost a block read for every completer.
        auto same = store::indexedRows(table, nameField, key, false);
        if (!same) return stop(same.error());
        if (same->empty()) {
            if (store::Status s = batch.add(row); !s) return stop(s.error());
            if (field.type != store::FieldType::Character) {
                if (store::Status s = batch.flush(); !s) return s;
                continue;
            }
            added.insert(key);
            added.insert(storedName(field, row[static_cast<size_t>(nameField)]));
        } else if (same->size() == 1) {
            if (store::Status s = table.write(same->front(), row); !s) return stop(s.error());
        }
    }
    if (store::Status s = batch.flush(); !s) return s;
    return scope.commit();
}

} // namespace xb::exchange
