// The export flag ITEM_SJDC of the achievement records: "1" marks the records of the last export
// made since the export window was opened, "0" all others.
#pragma once

#include "store/database.h"
#include "store/result.h"

#include <cstdint>
#include <vector>

namespace xb::exchange {

// Sets the flag to "0" in every achievement record; yields how many rows had to be written.
store::Result<int> clearExportFlags(store::Database& db);

// Sets the flag to "1" in the achievement records at the given physical rows of `kjcg`.
store::Status markExported(store::Database& db, const std::vector<uint32_t>& rows);

} // namespace xb::exchange
