#include "statistics.h"

#include "store/cursor.h"
#include "store/lookups.h"

#include <cstdlib>

namespace xb::analysis {
namespace {

constexpr DimensionInfo kDimensions[] = {
    {Dimension::Year, "year", "年份", false},
    {Dimension::Category, "category", "成果类型", true},
    {Dimension::Level, "level", "成果水平", true},
    {Dimension::Form, "form", "成果体现形式", true},
    {Dimension::Discipline, "discipline", "学科分类", true},
    {Dimension::HighTech, "hightech", "所属高新科技领域", true},
    {Dimension::Goal, "goal", "社会经济目标", true},
    {Dimension::Application, "application", "应用状态", true},
    {Dimension::Research, "research", "研究形式", true},
    {Dimension::Organization, "organization", "第一完成单位", false},
};

const char* const kUnfilled = "（未填）";

} // namespace

std::span<const DimensionInfo> dimensions() {
    return kDimensions;
}

const DimensionInfo& dimensionInfo(Dimension d) {
    return kDimensions[static_cast<size_t>(d)];
}

std::optional<Dimension> dimensionByKey(const std::string& key) {
    for (const DimensionInfo& info : kDimensions)
        if (key == info.key) return info.dimension;
    return std::nullopt;
}

std::string GroupLabels::topDiscipline(const std::string& code) {
    if (!tops_) {
        // Rows are stored in tree order: a row of the first level starts a new branch.
        tops_.emplace();
        if (db_.hasTable("xkfl")) {
            if (auto table = db_.table("xkfl")) {
                store::Cursor& c = **table;
                std::string top;
                for (c.first(); !c.eof(); c.next()) {
                    const std::string row = store::trimmed(c.value(1).toText());
                    if (std::atoi(c.value(0).toText().c_str()) <= 1) top = row;
                    if (!top.empty()) tops_->emplace(row, top);
                }
            }
        }
    }
    const auto it = tops_->find(code);
    // A code the table does not know keeps its first level by the numbering: three digits.
    return it != tops_->end() ? it->second : code.substr(0, 3);
}

std::string GroupLabels::code(Dimension d, const RecordFacts& f) {
    switch (d) {
    case Dimension::Year:
        return f.year;
    case Dimension::Category:
        return f.category;
    case Dimension::Level:
        return f.level;
    case Dimension::Form:
        return f.form;
    case Dimension::Discipline:
        return f.discipline.empty() ? "" : topDiscipline(f.discipline);
    case Dimension::HighTech:
        return f.highTech;
    case Dimension::Goal:
        return f.goal;
    case Dimension::Application:
        return f.application;
    case Dimension::Research:
        return f.research;
    case Dimension::Organization:
        return f.organization;
    }
    return "";
}

std::string GroupLabels::label(Dimension d, const std::string& code, const std::string& category) {
    if (code.empty()) return kUnfilled;
    std::string text;
    switch (d) {
    case Dimension::Year:
    case Dimension::Organization:
        return code;
    case Dimension::Category:
        text = code == "1" ? "应用技术" : code == "2" ? "软科学" : code == "3" ? "基础理论" : "";
        break;
    case Dimension::Level:
        text = labels_.label("item_2", code);
        break;
    case Dimension::Form:
        text = labels_.label(category == "1" ? "item_123" : "item_210", code);
        break;
    case Dimension::Discipline:
        text = labels_.disciplineName(code);
        break;
    case Dimension::HighTech:
        text = labels_.label("item_124_1", code);
        break;
    case Dimension::Goal:
        text = labels_.label("item_200", code);
        break;
    case Dimension::Application:
        text = labels_.label("item_32", code);
        break;
    case Dimension::Research:
        text = labels_.label("item_201", code);
        break;
    }
    return text.empty() ? "（代码表中没有 " + code + "）" : text;
}

void Totals::add(const RecordFacts& f) {
    ++count;
    for (size_t i = 0; i < amounts.size(); ++i)
        amounts[i] += f.amounts[i];
    patentsGranted += f.patentsGranted;
    patentsAccepted += f.patentsAccepted;
    completers += f.completers;
    if (f.complete) ++complete;
}

StatisticsTable computeStatistics(const std::vector<RecordFacts>& facts,
                                  const std::vector<Dimension>& by, GroupLabels& labels) {
    StatisticsTable table;
    table.by = by;
    // The key carries the category kind for forms, whose codes mean different things.
    std::map<std::vector<std::string>, StatisticsRow> groups;
    for (const RecordFacts& f : facts) {
        std::vector<std::string> key, codes;
        for (Dimension d : by) {
            codes.push_back(labels.code(d, f));
            key.push_back(d == Dimension::Form && !codes.back().empty()
                              ? (f.category == "1" ? "1:" : "2:") + codes.back()
                              : codes.back());
        }
        auto [it, added] = groups.try_emplace(key);
        if (added) {
            it->second.codes = codes;
            for (size_t i = 0; i < by.size(); ++i)
                it->second.labels.push_back(labels.label(by[i], codes[i], f.category));
        }
        it->second.totals.add(f);
        table.total.add(f);
    }
    for (auto& [key, row] : groups)
        table.rows.push_back(std::move(row));
    return table;
}

} // namespace xb::analysis
