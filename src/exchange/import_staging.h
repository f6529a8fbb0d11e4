// The staging tables of an import: kjcgtemp and its four child tables hold a package's records
// between reading and storing. A staged achievement is one kjcgtemp row together with the child
// staging rows that carry its record key.
#pragma once

#include "store/database.h"
#include "store/result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace xb::exchange {

struct StagedAchievement {
    uint32_t row = 0;     // physical row of kjcgtemp
    std::string number;   // ITEM_4, trimmed
    std::string region;   // ITEM_DQDM, trimmed
    std::string name;     // ITEM_3
    std::string unit;     // ITEM_9
    std::string category; // ITEM_CGLB, trimmed
    std::string year() const { return number.substr(0, 4); }
};

// kjcgtemp first, then the child staging tables in the order of the exchange files.
const std::vector<std::string>& stagingTables();
// The child staging tables alone.
const std::vector<std::string>& childStagingTables();

// Empties the five staging tables: each becomes a new empty file with the same fields.
store::Status emptyStagingTables(store::Database& db);

// Every staged achievement in table order.
store::Result<std::vector<StagedAchievement>> loadStagedAchievements(store::Database& db);

// Physical rows of `table` that carry the record key, in stored order.
store::Result<std::vector<uint32_t>> rowsWithKey(store::Database& db, const std::string& table,
                                                 const std::string& number,
                                                 const std::string& region);

// Deletes the staged achievement's child staging rows, then its kjcgtemp row.
store::Status removeStagedAchievement(store::Database& db, const StagedAchievement& staged);

// Writes the running number 1, 2, ... in table order into `NO` of every kjcgtemp row.
store::Status numberStagedAchievements(store::Database& db);

// Gives the staged achievement another name (ITEM_3).
store::Status renameStagedAchievement(store::Database& db, const StagedAchievement& staged,
                                      const std::string& name);

} // namespace xb::exchange
