// Stored twins of staged achievements: achievement records of the same name and first
// completing organization.
#pragma once

#include "store/database.h"
#include "store/result.h"

#include <optional>
#include <string>

namespace xb::exchange {

// The record number of the first stored achievement record (in stored order) whose ITEM_3 and
// ITEM_9 equal the trimmed name and organization; std::nullopt when there is none.
store::Result<std::optional<std::string>>
findStoredTwin(store::Database& db, const std::string& name, const std::string& unit);

// Deletes the stored record of this number with its patents, cooperating organizations,
// completers and committee members, whatever their region code.
store::Status deleteStoredRecord(store::Database& db, const std::string& number);

} // namespace xb::exchange
