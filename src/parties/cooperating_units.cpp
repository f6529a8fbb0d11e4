#include "cooperating_units.h"

#include "forms/child_rows.h"

namespace xb::parties {

std::optional<forms::CheckFailure> checkCooperatingUnit(const CooperatingUnitEntry& entry) {
    const QString order = entry.order.trimmed();
    if (order.isEmpty()) return forms::CheckFailure{QStringLiteral("edt_176"), {}};
    bool ok = false;
    order.toLongLong(&ok);
    if (!ok)
        return forms::CheckFailure{QStringLiteral("edt_176"),
                                   QStringLiteral("输入序号必须为数字！"), true};
    return std::nullopt;
}

store::FieldValues cooperatingUnitValues(const store::Params& key,
                                         const CooperatingUnitEntry& entry) {
    return {
        {"item_4", key.at("item_4")},
        {"item_dqdm", key.at("item_dqdm")},
        {"item_170", entry.name.trimmed().toStdString()},
        {"item_171", entry.address.toStdString()},
        {"item_172", entry.postcode.toStdString()},
        {"item_173", entry.contact.toStdString()},
        {"item_176", entry.order.trimmed().toLongLong()},
        {"item_174", entry.telephone.toStdString()},
    };
}

store::Result<uint32_t> addCooperatingUnit(store::Database& db, const store::Params& key,
                                           const CooperatingUnitEntry& entry) {
    forms::ChildRows rows(db, "cgwcdw");
    return rows.append(cooperatingUnitValues(key, entry));
}

store::Status changeCooperatingUnit(store::Database& db, const store::Params& key, uint32_t record,
                                    const CooperatingUnitEntry& entry) {
    auto table = db.table("cgwcdw");
    if (!table) return table.error();
    store::Cursor& row = **table;
    if (!forms::moveToRecord(row, record)) return store::fail("所选的合作完成单位已不存在");
    if (store::Status s = row.edit(); !s) return s;
    return store::setValuesAndPost(row, cooperatingUnitValues(key, entry));
}

} // namespace xb::parties
