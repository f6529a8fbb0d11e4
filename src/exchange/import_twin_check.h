// The check for duplicates after a package is read: each staged achievement whose name and first
// completing organization stand in the store already is put to the caller, who drops it, keeps
// it, or stops the check there (the window, to let the user rename it). The import window and
// the command line ask their own way; the check itself is this one.
#pragma once

#include "import_staging.h"
#include "store/database.h"
#include "store/result.h"

#include <functional>
#include <string>
#include <vector>

namespace xb::exchange {

enum class TwinChoice { Drop, Keep, Stop };

// Asked for a staged achievement with the number of its stored twin.
using TwinQuestion =
    std::function<TwinChoice(const StagedAchievement& staged, const std::string& twinNumber)>;

// Checks `staged` from position `from` on. A dropped achievement leaves the staging tables and
// `staged`, and `dropped` learns its position. Yields where the check stopped: `staged.size()`
// when it went through.
store::Result<size_t> checkStagedTwins(store::Database& db, std::vector<StagedAchievement>& staged,
                                       size_t from, const TwinQuestion& ask,
                                       const std::function<void(size_t position)>& dropped = {});

} // namespace xb::exchange
