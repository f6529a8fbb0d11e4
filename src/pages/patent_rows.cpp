#include "pages/patent_rows.h"

#include "forms/child_rows.h"

namespace xb::pages {

namespace {

QString textOf(const store::Cursor& row, const char* field) {
    return QString::fromStdString(row.text(field)).trimmed();
}

forms::CheckFailure missing(const char* control, const char* label) {
    return {QString::fromLatin1(control),
            QStringLiteral("\"") + QString::fromUtf8(label) + QStringLiteral("\"不能为空！")};
}

std::string keyValue(const store::Params& key, const char* name) {
    const auto found = key.find(name);
    return found == key.end() ? std::string() : found->second;
}

} // namespace

std::optional<forms::CheckFailure> checkPatentEntry(const PatentEntry& entry) {
    if (entry.status.trimmed().isEmpty()) return missing("cb_st", "专利状况");
    if (entry.type.trimmed().isEmpty()) return missing("cb_ty", "专利类型");
    if (entry.number.trimmed().isEmpty()) return missing("edtzl_no", "专利号");
    if (entry.name.trimmed().isEmpty()) return missing("edtzl_name", "专利名称");
    return std::nullopt;
}

store::Status addPatent(store::Database& db, const store::Params& key,
                        const forms::RowWriter& entry) {
    forms::ChildRows patents(db, "zlqk");
    patents.select(kPatentsOfRecord, key);
    if (store::Status s = patents.reload(); !s) return s;
    auto table = db.table("zlqk");
    if (!table) return table.error();
    store::Cursor& row = **table;
    if (store::Status s = row.append(); !s) return s;
    if (store::Status s = forms::writeEntry(row, entry,
                                            {{"ITEM_4", keyValue(key, "item_4")},
                                             {"ITEM_DQDM", keyValue(key, "item_dqdm")},
                                             {"ITEM_NO", store::Value(patents.count() + 1)}});
        !s)
        return s;
    if (store::Status s = patents.reload(); !s) return s;
    return patents.renumber("ITEM_NO");
}

store::Status changePatent(store::Database& db, uint32_t record, const forms::RowWriter& entry) {
    return forms::rewriteEntry(db, "zlqk", record, entry, {}, "所选的专利已不存在");
}

store::Result<PatentSummary> renumberPatents(store::Database& db, const store::Params& key) {
    forms::ChildRows patents(db, "zlqk");
    patents.select(kPatentsOfRecord, key);
    if (store::Status s = patents.reload(); !s) return s.error();
    if (store::Status s = patents.renumber("ITEM_NO"); !s) return s.error();
    PatentSummary summary;
    store::Cursor* rows = patents.rows();
    for (rows->first(); !rows->eof(); rows->next())
        summary.add(textOf(*rows, "PATENT_ST"), textOf(*rows, "PATENT_TY"));
    return summary;
}

store::Status deletePatents(store::Database& db, const store::Params& key) {
    auto deleted =
        db.execute("delete from zlqk where item_4=:item_4 and item_dqdm=:item_dqdm", key);
    if (!deleted) return deleted.error();
    return {};
}

} // namespace xb::pages
