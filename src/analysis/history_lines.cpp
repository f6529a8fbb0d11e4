#include "analysis/history_lines.h"

#include "output/output_labels.h"
#include "store/field.h"
#include "store/field_captions.h"
#include "store/lookups.h"
#include "store/people_labels.h"

namespace xb::analysis {
namespace {

std::optional<store::PeopleCode> peopleCodeOf(const std::string& table, const std::string& field) {
    if (table != "cgwcr" && table != "jdwyhmd" && table != "unitexpert") return std::nullopt;
    if (field == "item_181" || field == "item_193") return store::PeopleCode::Sex;
    if (field == "item_183" || field == "item_198") return store::PeopleCode::Title;
    if (field == "item_184") return store::PeopleCode::Education;
    if (field == "item_188") return store::PeopleCode::StudyAbroad;
    return std::nullopt;
}

// The words for one stored code of the field; "" when it has none.
std::string codeWords(output::OutputLabels& labels, const store::HistoryChange& change,
                      const std::string& code) {
    const std::string& f = change.field;
    if (const auto people = peopleCodeOf(change.table, f)) return store::peopleLabel(*people, code);
    if (f == "item_15" || f == "item_15_1") return labels.disciplineName(code);
    if (f == "item_64") return labels.provinceName(code);
    if (f == "item_63") return labels.ministryName(code);
    return labels.label(f, code);
}

// A code, or a list of codes each followed by ";", in words; any other text as it stands.
std::string shown(output::OutputLabels& labels, const store::HistoryChange& change,
                  const std::string& value) {
    // Long texts are names and memos, never codes.
    if (value.empty() || change.field.empty() || value.size() > 80) return value;
    std::vector<std::string> codes;
    for (size_t from = 0; from < value.size();) {
        const size_t end = value.find(';', from);
        codes.push_back(store::trimmed(value.substr(from, end - from)));
        if (end == std::string::npos) break;
        from = end + 1;
    }
    std::string words;
    for (const std::string& code : codes) {
        const std::string word = code.empty() ? std::string() : codeWords(labels, change, code);
        if (word.empty()) return value;
        words += (words.empty() ? "" : "；") + word;
    }
    return words;
}

} // namespace

store::Result<std::vector<HistoryLine>> historyLines(store::Database& db,
                                                     const std::string& number) {
    auto entries = store::readHistory(db.directory(), number);
    if (!entries) return entries.error();
    output::OutputLabels labels(db);
    std::vector<HistoryLine> lines;
    lines.reserve(entries->size());
    for (const store::HistoryEntry& e : *entries) {
        const store::HistoryChange& c = e.change;
        std::string item = c.field.empty() ? "整项成果" : store::fieldCaption(c.table, c.field);
        if (item.empty()) item = store::upperName(c.field);
        lines.push_back({e.time, c.number, e.operation, e.section, std::move(item),
                         shown(labels, c, c.before), shown(labels, c, c.after)});
    }
    return lines;
}

} // namespace xb::analysis
