#include "output/print_record.h"

#include "output/text_parts.h"
#include "store/lookups.h"
#include "store/people_labels.h"

namespace xb::output {
namespace {

using store::PeopleCode;

std::string trimmedField(const FieldText& row, const char* field) {
    return store::trimmed(row(field));
}

std::string people(const FieldText& row, const char* field, PeopleCode code) {
    return store::peopleOutputText(code, trimmedField(row, field));
}

} // namespace

PrintedForm printedFormOf(const std::string& category) {
    return store::trimmed(category) == "1" ? PrintedForm::Applied : PrintedForm::Basic;
}

store::Result<PrintRecord> loadPrintRecord(store::Database& db, const std::string& number,
                                           const std::string& region) {
    const store::Params key{{"n", number}, {"r", region}};
    const std::string where = " where item_4=:n and item_dqdm=:r";
    auto record = readRows(db, "select * from kjcg" + where, key);
    if (!record) return record.error();
    if (record->empty()) return store::fail("没有成果管理编号为 " + number + " 的成果");
    PrintRecord out;
    out.field = record->front();
    const std::pair<std::vector<FieldText>*, std::string> lists[] = {
        {&out.granted, "select * from zlqk" + where + " and patent_st='2'"},
        {&out.accepted, "select * from zlqk" + where + " and patent_st='1'"},
        {&out.organizations, "select * from cgwcdw" + where + " order by item_176"},
        {&out.completers, "select * from cgwcr" + where + " order by item_187"},
        {&out.committee, "select * from jdwyhmd" + where + " order by item_194"},
    };
    for (const auto& [list, sql] : lists) {
        auto rows = readRows(db, sql, key);
        if (!rows) return rows.error();
        *list = std::move(*rows);
    }
    return out;
}

TextRows organizationRows(const PrintRecord& record, PrintedForm form) {
    const bool applied = form == PrintedForm::Applied;
    const int width = applied ? 24 : 20;
    TextRows rows;
    for (const FieldText& o : record.organizations) {
        if (rows.size() == 8) break;
        rows.push_back({trimmedField(o, "item_176"), wrapLines(trimmedField(o, "item_170"), width),
                        wrapLines(trimmedField(o, "item_171"), width), trimmedField(o, "item_172"),
                        trimmedField(o, "item_173"), trimmedField(o, "item_174")});
    }
    if (applied)
        while (rows.size() < 8)
            rows.push_back(std::vector<std::string>(6));
    return rows;
}

TextRows completerRows(const PrintRecord& record, PrintedForm form) {
    const bool applied = form == PrintedForm::Applied;
    TextRows rows;
    for (const FieldText& c : record.completers)
        rows.push_back({trimmedField(c, "item_187"), trimmedField(c, "item_180"),
                        people(c, "item_181", PeopleCode::Sex), trimmedField(c, "item_182"),
                        people(c, "item_183", PeopleCode::Title),
                        people(c, "item_184", PeopleCode::Education),
                        people(c, "item_188", PeopleCode::StudyAbroad),
                        wrapLines(trimmedField(c, "item_185"), applied ? 24 : 22),
                        wrapLines(trimmedField(c, "item_186"), applied ? 26 : 24)});
    rows.push_back(std::vector<std::string>(9));
    return rows;
}

int committeeRowCount(int members, PrintedForm form) {
    return form == PrintedForm::Applied ? 21 * ((members + 7) / 21) + 13
                                        : 22 * ((members + 6) / 22) + 15;
}

TextRows committeeRows(const PrintRecord& record, PrintedForm form) {
    TextRows rows;
    for (const FieldText& m : record.committee)
        rows.push_back({trimmedField(m, "item_191"), trimmedField(m, "item_192"),
                        people(m, "item_193", PeopleCode::Sex), trimmedField(m, "item_195"),
                        trimmedField(m, "item_196"), trimmedField(m, "item_197"),
                        people(m, "item_198", PeopleCode::Title)});
    const int total = committeeRowCount(static_cast<int>(rows.size()), form);
    while (static_cast<int>(rows.size()) < total)
        rows.push_back(std::vector<std::string>(7));
    return rows;
}

} // namespace xb::output
