#include "forms/patent_summary.h"

namespace xb::forms {

namespace {

QString textOf(const store::Cursor& row, const char* field) {
    return QString::fromStdString(row.text(field)).trimmed();
}

} // namespace

store::Params patentParams(const std::string& number, const std::string& region) {
    return {{"item_4", number}, {"item_dqdm", region}};
}

store::Params patentParams(const store::Cursor& record) {
    return patentParams(record.text("ITEM_4"), record.text("ITEM_DQDM"));
}

void PatentSummary::add(const QString& status, const QString& typeCode) {
    ++rows;
    const QString s = status.trimmed();
    if (s == kAcceptedPatent) ++accepted;
    if (s == kGrantedPatent) ++granted;
    const QString t = typeCode.trimmed();
    for (int k = 0; k < 3; ++k)
        if (t == QString::number(k + 1)) type[k] = true;
}

QString PatentSummary::typeList() const {
    QString list;
    for (int k = 0; k < 3; ++k)
        if (type[k]) list += QString::number(k + 1) + u';';
    return list;
}

QString PatentSummary::statusSummary() const {
    return granted > 0    ? QStringLiteral("3")
           : accepted > 0 ? QStringLiteral("2")
                          : QStringLiteral("1");
}

store::Result<PatentSummary> summarizePatents(store::Database& db, const store::Params& key) {
    auto rows = db.query(kPatentsOfRecord, key);
    if (!rows) return rows.error();
    PatentSummary summary;
    store::Cursor& patents = **rows;
    for (patents.first(); !patents.eof(); patents.next())
        summary.add(textOf(patents, "PATENT_ST"), textOf(patents, "PATENT_TY"));
    return summary;
}

} // namespace xb::forms
