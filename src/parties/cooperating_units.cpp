#include "cooperating_units.h"

#include "forms/child_rows.h"

namespace xb::parties {

namespace {

// After the entry: the key, the order number and the name without surrounding blanks.
store::FieldValues keyAndOrder(const store::Cursor& row, const store::Params& key,
                               const QString& order) {
    return {{"item_4", key.at("item_4")},
            {"item_dqdm", key.at("item_dqdm")},
            {"item_170", QString::fromStdString(row.text("item_170")).trimmed().toStdString()},
            {"item_176", order.trimmed().toLongLong()}};
}

} // namespace

std::optional<forms::CheckFailure> checkCooperatingUnit(const QString& typed) {
    const QString order = typed.trimmed();
    if (order.isEmpty()) return forms::CheckFailure{QStringLiteral("edt_176"), {}};
    bool ok = false;
    order.toLongLong(&ok);
    if (!ok)
        return forms::CheckFailure{QStringLiteral("edt_176"),
                                   QStringLiteral("输入序号必须为数字！"), true};
    return std::nullopt;
}

store::Result<uint32_t> addCooperatingUnit(store::Database& db, const store::Params& key,
                                           const QString& order, const forms::RowWriter& entry) {
    auto table = db.table("cgwcdw");
    if (!table) return table.error();
    store::Cursor& row = **table;
    if (store::Status s = row.append(); !s) return s.error();
    if (store::Status s = entry(row); !s) {
        row.cancel();
        return s.error();
    }
    if (store::Status s = store::setValuesAndPost(row, keyAndOrder(row, key, order)); !s)
        return s.error();
    return row.recNo();
}

store::Status changeCooperatingUnit(store::Database& db, const store::Params& key, uint32_t record,
                                    const QString& order, const forms::RowWriter& entry) {
    auto table = db.table("cgwcdw");
    if (!table) return table.error();
    store::Cursor& row = **table;
    if (!forms::moveToRecord(row, record)) return store::fail("所选的合作完成单位已不存在");
    if (store::Status s = row.edit(); !s) return s;
    if (store::Status s = entry(row); !s) {
        row.cancel();
        return s;
    }
    return store::setValuesAndPost(row, keyAndOrder(row, key, order));
}

} // namespace xb::parties
