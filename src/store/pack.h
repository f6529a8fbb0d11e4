// Packing rewrites a table without its deleted rows and with only the memo space still in use.
// The new files are written beside the old ones and swapped in only when complete, so a pack
// that is interrupted leaves either the old table or the new one, never a half-written one.
#pragma once

#include "result.h"

#include <string>

namespace xb::store {

enum class PackNeed {
    Always,     // rewrite in every case
    WhenNeeded, // only when rows are marked deleted or the file is not in our own layout
};

// Packs the table file at `path`; refused while any other holder has the file open.
Status packTable(const std::string& path, PackNeed need = PackNeed::Always);
// Whether packTable(path, WhenNeeded) would rewrite the table; it is only read.
Result<bool> packNeeded(const std::string& path);
// Completes or discards a pack that a killed process left behind; called before every open.
Status recoverInterruptedPack(const std::string& path);
// Waits a little while the writer swaps a packed table's files in, so that a reader does not
// take the new table file with the old memo file.
void waitForPackSwap(const std::string& path);

} // namespace xb::store
