// The tables the program hands to spreadsheets: the record list and a statistics table, with
// codes shown as their labels and, where users filter by them, the code in a column of its own.
#pragma once

#include "analysis/duplicates.h"
#include "analysis/spreadsheet.h"
#include "analysis/statistics.h"

namespace xb::analysis {

Sheet recordSheet(const std::vector<RecordFacts>& facts, GroupLabels& labels);
// The groups and a last row "合计"; `name` names the worksheet.
Sheet statisticsSheet(const StatisticsTable& table, const std::string& name);
// Each pair on one row: how alike, why, and both records side by side.
Sheet duplicatesSheet(const std::vector<RecordFacts>& facts,
                      const std::vector<DuplicatePair>& pairs);
// "按年份、成果类型统计" and the like.
std::string statisticsTitle(const std::vector<Dimension>& by);

} // namespace xb::analysis
