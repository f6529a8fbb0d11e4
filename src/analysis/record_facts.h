// What the statistics, the spreadsheets and the duplicate finder read of each achievement record:
// one pass over `kjcg` and one over `cgwcr`, kept in memory as plain values so that grouping and
// comparing never touch the tables again.
#pragma once

#include "store/database.h"
#include "store/value.h"

#include <array>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace xb::analysis {

// The funding amounts (万元) in the order of the form: the total first, then its parts.
struct AmountField {
    const char* field;
    const char* caption;
};
inline constexpr std::array<AmountField, 9> kAmountFields{{{"item_149", "经费实际投入额"},
                                                           {"item_141", "国家投入"},
                                                           {"item_148", "部门投入"},
                                                           {"item_142", "地方投入"},
                                                           {"item_143", "基金投入"},
                                                           {"item_144", "自有资金"},
                                                           {"item_243", "银行贷款"},
                                                           {"item_244", "国外资金"},
                                                           {"item_145", "其他"}}};

struct RecordFacts {
    uint32_t row = 0;                      // position in `kjcg`, stored order
    std::string number;                    // item_4
    std::string year;                      // its first four characters
    std::string category;                  // item_cglb
    std::string name;                      // item_3
    std::string organization;              // item_9, trimmed
    std::string registrationNumber;        // item_120
    std::optional<store::Date> registered; // item_121
    std::string level;                     // item_2
    std::string form;                      // item_123 (applied technology) or item_210 (the others)
    std::string discipline;                // item_15
    std::string highTech;                  // first code of item_124_1
    std::string goal;                      // first code of item_200
    std::string application;               // item_32
    std::string research;                  // item_201
    std::array<double, kAmountFields.size()> amounts{};
    long long patentsGranted = 0;  // item_51_3
    long long patentsAccepted = 0; // item_51_2
    int completers = 0;
    std::string firstCompleter; // the completer of the lowest 序号
    bool complete = false;
    std::string missing; // the captions of the incomplete sections, joined by "、"
};

struct FactsFilter {
    std::set<std::string> years;      // empty: every year
    std::set<std::string> categories; // empty: every category
    bool admits(const std::string& year, const std::string& category) const {
        return (years.empty() || years.count(year)) &&
               (categories.empty() || categories.count(category));
    }
};

// Calls `progress(done, total)` now and then while reading; returning false stops the reading.
using Progress = std::function<bool(int done, int total)>;

// The records the filter lets through, in the order of their record numbers.
store::Result<std::vector<RecordFacts>> readFacts(store::Database& db, const FactsFilter& filter,
                                                  const Progress& progress = {});

// The first code of a code list ("03;05;" gives "03"); a text without ";" is one code.
std::string firstCode(const std::string& codes);

} // namespace xb::analysis
