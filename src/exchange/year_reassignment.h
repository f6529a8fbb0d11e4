// Filing a staged achievement under another year before it is stored: its record number, and
// that of its child staging rows, becomes the next staged number of the new year.
#pragma once

#include "store/database.h"
#include "store/result.h"

#include <string>

namespace xb::exchange {

// A year that record numbers can start with: four digits from 1900 to 2050.
bool isRecordYear(const std::string& year);

// One more than the greatest staged record number of the year, or the year followed by "000001"
// when no staged number of the year is ten characters long.
store::Result<std::string> nextStagedNumber(store::Database& db, const std::string& year);

// Gives the staged achievement of the record key (`number`, `region`) and its child staging rows
// the next staged number of `year`, which yields it. When a table cannot be changed, the tables
// already changed are put back, so the achievement and its rows keep one number.
store::Result<std::string> reassignYear(store::Database& db, const std::string& number,
                                        const std::string& region, const std::string& year);

} // namespace xb::exchange
