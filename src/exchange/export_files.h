// The seven exchange files of an export, written into one folder.
#pragma once

#include "store/database.h"
#include "store/result.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace xb::exchange {

// Steps writeExportFiles() reports through its callback besides one per achievement record.
inline constexpr int ExportFileSteps = 6;

// Writes KJCG.TXT from the achievement rows at `records` (physical rows of kjcg, in that order),
// CGWCDW.TXT, CGWCR.TXT, JDWYHMD.TXT and ZLQK.TXT from the child rows that carry their record
// numbers, EXPERT.TXT from every row of unitexpert and UNIT.TXT from every row of unit, each by
// its column rule. Existing files of those names are replaced. `step` is called after each
// achievement record and after each further file.
store::Status writeExportFiles(store::Database& db, const std::filesystem::path& folder,
                               const std::vector<uint32_t>& records,
                               const std::function<void()>& step = {});

} // namespace xb::exchange
