// The achievement records the export window lists: every row of `kjcg`, all years and all
// categories, with what the list shows and what the export needs to find the row again.
#pragma once

#include "store/database.h"
#include "store/result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace xb::exchange {

struct ExportRecord {
    uint32_t row = 0;         // physical row of kjcg, the handle the export writes from
    std::string number;       // ITEM_4, trimmed
    std::string name;         // ITEM_3
    std::string organization; // ITEM_9
};

// Every live row of `kjcg` in stored order.
store::Result<std::vector<ExportRecord>> loadExportRecords(store::Database& db);

// The year under which a record is filed: the first four characters of its number.
std::string recordYear(const std::string& number);

// The years of the records (the first four characters of the record numbers), newest first,
// each once; records without a number give no year.
std::vector<std::string> exportYears(const std::vector<ExportRecord>& records);

} // namespace xb::exchange
