// Putting a backup back in place of the data directory's tables. The backup is checked first
// (every table whole, each in the layout of the table it replaces), the present state is backed
// up, and the files are swapped as one: the backup's files are copied into a work folder inside
// the data directory and marked whole, and only then moved in, each present file set aside
// first. A restore cut short before the mark leaves the tables as they were; after it, the next
// writer to open the data directory finishes the swap. Either way the tables are whole.
#pragma once

#include "backup.h"
#include "result.h"

#include <string>

namespace xb::store {

// Restores `backup` (a backup folder) into `dataDirectory`; no table of it may be open. Yields
// the backup taken of the state before.
Result<BackupInfo> restoreBackup(const std::string& dataDirectory, const std::string& backup);

// Finishes a restore that was cut short after its files were whole, or drops one cut short
// before; run by a writer before it opens any table.
Status recoverInterruptedRestore(const std::string& dataDirectory);

} // namespace xb::store
