#include "cooperating_units.h"

#include "forms/child_rows.h"

namespace xb::parties {

namespace {

store::FieldValues keyAndOrder(const store::Params& key, const QString& order) {
    return {{"item_4", key.at("item_4")},
            {"item_dqdm", key.at("item_dqdm")},
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
    if (store::Status s =
            forms::writeEntry(row, forms::trimming(entry, "item_170"), keyAndOrder(key, order));
        !s)
        return s.error();
    return row.recNo();
}

store::Status changeCooperatingUnit(store::Database& db, const store::Params& key, uint32_t record,
                                    const QString& order, const forms::RowWriter& entry) {
    return forms::rewriteEntry(db, "cgwcdw", record, forms::trimming(entry, "item_170"),
                               keyAndOrder(key, order), "所选的合作完成单位已不存在");
}

} // namespace xb::parties
