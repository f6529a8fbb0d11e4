// The two ways of merging every staged achievement into the live tables: storing them all as
// new records, and the overwrite import, which replaces stored records of the same name and
// first completing organization.
#pragma once

#include "store/database.h"

#include <functional>
#include <string>
#include <vector>

namespace xb::exchange {

struct MergeOutcome {
    int added = 0;       // stored without replacing a record
    int overwritten = 0; // stored in place of a stored twin
    int skipped = 0;     // overwrite import: staged achievements without a name, left staged
    // One text per staged achievement that could not be stored (it stays staged), and per
    // stored one whose later steps failed.
    std::vector<std::string> problems;
    // Whether staged achievements remain, so that the staging tables were not emptied.
    bool stagedLeft = false;
};

// Called after each staged achievement: `done` of `total`.
using MergeProgress = std::function<void(int done, int total)>;

// Stores each staged achievement in table order under the next record number of its year
// (several of one year take consecutive numbers). Afterwards the staging tables are emptied,
// unless an achievement could not be stored.
MergeOutcome storeStagedAchievements(store::Database& db, const MergeProgress& progress = {});

// For each staged achievement with a name, in table order: stores it, and when a stored record
// had the same name and first completing organization before, deletes that record with its
// child rows. The new copy is stored before the old one is deleted, so a failure never loses
// both; it always gets a number of its own. Staged achievements without a name are skipped and
// stay staged.
MergeOutcome overwriteImport(store::Database& db, const MergeProgress& progress = {});

} // namespace xb::exchange
