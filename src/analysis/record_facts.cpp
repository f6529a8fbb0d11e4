#include "record_facts.h"

#include "records/completeness.h"
#include "store/cursor.h"
#include "store/lookups.h"

#include <algorithm>
#include <unordered_map>

namespace xb::analysis {
namespace {

// Completers by record number: how many, and the name of the one listed first.
struct Team {
    int count = 0;
    double firstPosition = 0;
    std::string first;
};

store::Result<std::unordered_map<std::string, Team>> readTeams(store::Database& db) {
    auto table = db.table("cgwcr");
    if (!table) return table.error();
    store::Cursor& c = **table;
    std::unordered_map<std::string, Team> teams;
    for (c.first(); !c.eof(); c.next()) {
        Team& team = teams[store::trimmed(c.text("item_4"))];
        const double position = c.value("item_187").toNumber();
        if (team.count == 0 || position < team.firstPosition) {
            team.firstPosition = position;
            team.first = store::trimmed(c.text("item_180"));
        }
        ++team.count;
    }
    return teams;
}

} // namespace

std::string firstCode(const std::string& codes) {
    return store::trimmed(codes.substr(0, codes.find(';')));
}

store::Result<std::vector<RecordFacts>> readFacts(store::Database& db, const FactsFilter& filter,
                                                  const Progress& progress) {
    auto teams = readTeams(db);
    if (!teams) return teams.error();
    auto table = db.table("kjcg");
    if (!table) return table.error();
    store::Cursor& c = **table;
    records::CompletenessChecker checker(db);
    std::vector<RecordFacts> out;
    const int total = c.count();
    int done = 0;
    for (c.first(); !c.eof(); c.next(), ++done) {
        if (progress && done % 500 == 0 && !progress(done, total)) return store::fail("已取消");
        const std::string number = store::trimmed(c.text("item_4"));
        const std::string year = number.substr(0, 4);
        const std::string category = store::trimmed(c.text("item_cglb"));
        if (!filter.admits(year, category)) continue;
        RecordFacts f;
        f.row = static_cast<uint32_t>(done);
        f.number = number;
        f.year = year;
        f.category = category;
        f.name = store::trimmed(c.text("item_3"));
        f.organization = store::trimmed(c.text("item_9"));
        f.registrationNumber = store::trimmed(c.text("item_120"));
        f.registered = c.date("item_121");
        const bool applied = category == "1";
        f.level = store::trimmed(c.text("item_2"));
        f.form = store::trimmed(c.text(applied ? "item_123" : "item_210"));
        f.discipline = store::trimmed(c.text("item_15"));
        f.highTech = firstCode(c.text("item_124_1"));
        f.goal = firstCode(c.text("item_200"));
        f.application = store::trimmed(c.text("item_32"));
        f.research = store::trimmed(c.text("item_201"));
        for (size_t i = 0; i < kAmountFields.size(); ++i)
            f.amounts[i] = c.value(kAmountFields[i].field).toNumber();
        f.patentsGranted = c.value("item_51_3").toInteger();
        f.patentsAccepted = c.value("item_51_2").toInteger();
        if (const auto team = teams->find(number); team != teams->end()) {
            f.completers = team->second.count;
            f.firstCompleter = team->second.first;
        }
        records::MissingFields missing;
        if (store::Status s = checker.findMissing(c, applied, missing); !s) return s.error();
        for (const auto& [section, fields] : missing.fields) {
            if (fields.empty() || (section == records::Section::Property && !applied)) continue;
            f.missing += (f.missing.empty() ? "" : "、") + std::string(sectionCaption(section));
        }
        if (missing.noCompleter)
            f.missing += (f.missing.empty() ? "" : "、") +
                         std::string(sectionCaption(records::Section::Completers));
        f.complete = f.missing.empty();
        out.push_back(std::move(f));
    }
    if (progress) progress(total, total);
    std::stable_sort(out.begin(), out.end(), [](const RecordFacts& a, const RecordFacts& b) {
        return a.number < b.number;
    });
    return out;
}

} // namespace xb::analysis
