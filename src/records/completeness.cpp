#include "completeness.h"

#include "store/lookups.h"

namespace xb::records {

namespace {

using Rule = CompletenessChecker::Rule;

store::Result<std::vector<Rule>> readRules(store::Database& db, bool appliedTechnology) {
    auto rules = db.query(std::string("select * from checkup where \n") +
                          (appliedTechnology ? "lb='a' or lb='1'" : "lb='a' or lb='2'"));
    if (!rules) return rules.error();
    std::vector<Rule> out;
    store::Cursor& r = **rules;
    for (r.first(); !r.eof(); r.next())
        out.push_back({store::trimmed(r.text("id")), store::trimmed(r.text("button"))});
    return out;
}

// The record's field of every rule; a rule naming a field that does not exist stops the search
// there (the positions found before it stay).
store::Status resolve(const std::vector<Rule>& rules, const store::Cursor& record,
                      std::vector<int>& positions) {
    positions.clear();
    for (const Rule& rule : rules) {
        const int position = record.fieldIndex(rule.field);
        if (position < 0) return store::fail("表 kjcg 中没有字段 " + rule.field);
        positions.push_back(position);
    }
    return {};
}

void applyRules(const std::vector<Rule>& rules, const std::vector<int>& positions,
                const store::Cursor& record, MissingFields& missing) {
    for (size_t i = 0; i < positions.size(); ++i) {
        if (!record.isNull(positions[i])) continue;
        const std::string& button = rules[i].button;
        if (button == "01")
            missing.fields[Section::Overview].push_back(rules[i].field);
        else if (button == "02")
            missing.fields[Section::Property].push_back(rules[i].field);
        else if (button == "03")
            missing.fields[Section::Project].push_back(rules[i].field);
        else if (button == "04")
            missing.fields[Section::FirstUnit].push_back(rules[i].field);
    }
}

std::string recordKey(const std::string& number, const std::string& region) {
    return number + '\t' + region;
}

} // namespace

store::Status findMissing(store::Database& db, const store::Cursor& record, bool appliedTechnology,
                          MissingFields& missing) {
    missing = {};
    if (record.isEmpty()) return {};
    auto rules = readRules(db, appliedTechnology);
    if (!rules) return rules.error();
    std::vector<int> positions;
    const store::Status resolved = resolve(*rules, record, positions);
    applyRules(*rules, positions, record, missing);
    if (!resolved) return resolved;
    auto completers =
        db.query("select count(*) from cgwcr where item_4=:item_4 and item_dqdm=:item_dqdm",
                 {{"item_4", record.text("ITEM_4")}, {"item_dqdm", record.text("ITEM_DQDM")}});
    if (!completers) return completers.error();
    missing.noCompleter = (*completers)->value(0).toInteger() == 0;
    return {};
}

store::Status CompletenessChecker::prepare(Kind& kind, bool appliedTechnology,
                                           const store::Cursor& record) {
    if (!kind.read) {
        auto rules = readRules(db_, appliedTechnology);
        if (!rules) return rules.error();
        kind.rules = std::move(*rules);
        kind.read = true;
    }
    if (kind.resolvedFor != &record) {
        if (store::Status s = resolve(kind.rules, record, kind.positions); !s) return s;
        kind.resolvedFor = &record;
    }
    if (!withCompleters_) {
        auto completers = db_.query("select item_4, item_dqdm from cgwcr");
        if (!completers) return completers.error();
        withCompleters_.emplace();
        store::Cursor& c = **completers;
        for (c.first(); !c.eof(); c.next())
            withCompleters_->insert(recordKey(c.text("item_4"), c.text("item_dqdm")));
    }
    return {};
}

store::Status CompletenessChecker::findMissing(const store::Cursor& record, bool appliedTechnology,
                                               MissingFields& missing) {
    missing = {};
    if (record.isEmpty()) return {};
    Kind& kind = appliedTechnology ? applied_ : other_;
    if (store::Status s = prepare(kind, appliedTechnology, record); !s) {
        // As the single search: the fields of the rules before the unknown one are reported.
        if (kind.read) applyRules(kind.rules, kind.positions, record, missing);
        kind.resolvedFor = nullptr;
        return s;
    }
    applyRules(kind.rules, kind.positions, record, missing);
    missing.noCompleter =
        !withCompleters_->contains(recordKey(record.text("ITEM_4"), record.text("ITEM_DQDM")));
    return {};
}

store::Status computeMarks(store::Database& db, const store::Cursor& record, bool appliedTechnology,
                           SectionMarks& marks) {
    MissingFields missing;
    const store::Status found = findMissing(db, record, appliedTechnology, missing);
    marks.setAll(true);
    for (const auto& [section, fields] : missing.fields)
        marks.set(section, false);
    if (missing.noCompleter) marks.set(Section::Completers, false);
    return found;
}

const char* sectionCaption(Section s) {
    switch (s) {
    case Section::Overview:
        return "成果概况";
    case Section::Property:
        return "知识产权，成果应用情况";
    case Section::Project:
        return "课题立项，评价情况";
    case Section::FirstUnit:
        return "第一完成单位情况";
    case Section::Partners:
        return "合作完成单位情况";
    case Section::Committee:
        return "评价委员会名单";
    case Section::Completers:
        return "成果完成人员名单";
    case Section::Certificate:
        return "评价证书内容";
    }
    return "";
}

bool isComplete(const SectionMarks& marks, const std::string& category) {
    const bool property = category != "1" || marks.done(Section::Property);
    return marks.done(Section::Overview) && marks.done(Section::Project) &&
           marks.done(Section::FirstUnit) && marks.done(Section::Completers) && property;
}

std::optional<std::string> closeRefusal(const SectionMarks& marks, const std::string& category) {
    if (!marks.done(Section::Overview)) return "成果概况没有填完,请继续填写完成该项目！";
    if (!marks.done(Section::Property) && category == "1")
        return "知识产权，成果应用情况没有填完,请继续填写完成该项目！";
    if (!marks.done(Section::Project)) return "课题立项，评价没有填完,请继续填写完成该项目！";
    if (!marks.done(Section::FirstUnit)) return "第一完成单位情况没有填完,请继续填写完成该项目！";
    if (!marks.done(Section::Completers)) return "成果完成人员名单没有填完,请继续填写完成该项目！";
    return std::nullopt;
}

} // namespace xb::records
