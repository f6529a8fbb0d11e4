// The child staging rows of every staged achievement, found with one pass over each child
// staging table in stored order: looking them up per achievement and table costs a lookup and a
// read for each of tens of thousands of rows.
#pragma once

#include "import_staging.h"
#include "store/database.h"
#include "store/result.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace xb::exchange {

class StagedChildRows {
  public:
    static store::Result<StagedChildRows> load(store::Database& db);

    // Physical rows of the child staging table `table` that carry the achievement's record key,
    // in stored order: the rows rowsWithKey finds.
    store::Result<std::vector<uint32_t>> rows(store::Database& db, const std::string& table,
                                              const StagedAchievement& staged) const;

    // Bytes of the achievement's child staging rows, to bound how many are held at once.
    uint64_t bytes(const StagedAchievement& staged) const;

  private:
    using Key = std::pair<std::string, std::string>; // GBK bytes of number and region, trimmed
    // Tables without character key fields are not here; they are looked up per achievement.
    std::map<std::string, std::map<Key, std::vector<uint32_t>>> byKey_;
    std::map<std::string, uint32_t> rowBytes_; // record length of each table in byKey_
};

} // namespace xb::exchange
