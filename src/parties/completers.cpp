#include "completers.h"

#include "exchange/import_completer_pool.h"
#include "forms/child_rows.h"

#include <algorithm>

namespace xb::parties {
namespace {

constexpr const char* kCompletersInStoredOrder =
    "select * from cgwcr where item_4=:item_4 and item_dqdm=:item_dqdm";
constexpr const char* kCompletersOfNumber = "select * from cgwcr where item_4=:item_4";

} // namespace

store::Status numberCompleters(store::Database& db, const store::Params& key) {
    forms::ChildRows rows(db, "cgwcr");
    rows.select(kCompletersInStoredOrder, key);
    if (store::Status s = rows.reload(); !s) return s;
    return rows.renumber("item_no");
}

store::Result<long long> nextRunningNumber(store::Database& db, const store::Params& key) {
    auto listed = db.query(kCompletersInStoredOrder, key);
    if (!listed) return listed.error();
    if ((*listed)->isEmpty()) return 1;
    auto same = db.query(kCompletersOfNumber, {{"item_4", key.at("item_4")}});
    if (!same) return same.error();
    long long largest = 0;
    for ((*same)->first(); !(*same)->eof(); (*same)->next())
        largest = std::max(largest, (*same)->integer("item_no"));
    return largest + 1;
}

store::Result<uint32_t> addCompleter(store::Database& db, const store::Params& key,
                                     const forms::RowWriter& entry) {
    auto listed = db.query(kCompletersOfRecord, key);
    if (!listed) return listed.error();
    const int count = (*listed)->count();
    auto running = nextRunningNumber(db, key);
    if (!running) return running.error();

    auto table = db.table("cgwcr");
    if (!table) return table.error();
    store::Cursor& row = **table;
    if (store::Status s = row.append(); !s) return s.error();
    if (store::Status s = forms::writeEntry(row, forms::trimming(entry, "item_180"),
                                            {{"item_no", *running},
                                             {"item_4", key.at("item_4")},
                                             {"item_dqdm", key.at("item_dqdm")},
                                             {"item_187", count + 1}});
        !s)
        return s.error();
    const uint32_t record = row.recNo();
    if (store::Status s = exchange::updateCompleterPool(db, row.row(), row.fields()); !s)
        return s.error();
    if (store::Status s = renumberCompleters(db, key); !s) return s.error();
    return record;
}

store::Status changeCompleter(store::Database& db, const store::Params& key, uint32_t record,
                              const QString& order, const forms::RowWriter& entry) {
    auto table = db.table("cgwcr");
    if (!table) return table.error();
    store::Cursor& row = **table;
    if (!forms::moveToRecord(row, record)) return store::fail("所选的完成人已不存在");
    const long long before = row.integer("item_187");
    const long long typed = order.trimmed().toLongLong();
    if (store::Status s = row.edit(); !s) return s;
    if (store::Status s = forms::writeEntry(row, forms::trimming(entry, "item_180"),
                                            {{"item_4", key.at("item_4")},
                                             {"item_dqdm", key.at("item_dqdm")},
                                             {"item_187", typed}});
        !s)
        return s;
    return renumberCompleters(db, key, record, typed < before ? -1 : typed > before ? 1 : 0);
}

store::Status renumberCompleters(store::Database& db, const store::Params& key, uint32_t moved,
                                 int direction) {
    auto listed = db.query(kCompletersOfRecord, key);
    if (!listed) return listed.error();
    store::Cursor& rows = **listed;
    std::vector<long long> numbers;
    int movedAt = -1;
    for (rows.first(); !rows.eof(); rows.next()) {
        if (moved != 0 && rows.recNo() == moved) movedAt = rows.position();
        numbers.push_back(rows.integer("item_187"));
    }
    const std::vector<int> order = completerOrder(numbers, movedAt, direction);
    for (size_t place = 0; place < order.size(); ++place) {
        rows.moveTo(order[place]);
        const long long number = static_cast<long long>(place) + 1;
        if (!rows.isNull("item_187") && rows.integer("item_187") == number) continue;
        if (store::Status s = rows.edit(); !s) return s;
        if (store::Status s = store::setValuesAndPost(rows, {{"item_187", number}}); !s) return s;
    }
    return {};
}

} // namespace xb::parties
