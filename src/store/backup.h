// Copies of the tables taken before a change of many rows, so that a wrong import, deletion or
// year reassignment can be undone. A backup is a folder of table and memo files copied byte for
// byte, with a list of what it holds; it is written under a hidden name, synced, and only then
// given its own name, so a backup that can be seen is whole. Backups live in a folder beside the
// data directory, never inside it, so that nothing that reads or packs the tables meets them.
#pragma once

#include "result.h"

#include <ctime>
#include <string>
#include <vector>

namespace xb::store {

struct BackupInfo {
    std::string folder;             // the backup's folder
    std::string operation;          // the change it was taken before ("导入", "删除", ...)
    std::vector<std::string> files; // file names copied
};

// The backups of `dataDirectory`: beside it, "backups" for a directory named "data", else the
// directory's name followed by "-backups".
std::string backupsFolder(const std::string& dataDirectory);

// Copies the files of `tables` (table names; their memo files go with them, missing tables are
// left out) into a new backup named by the time and `operation`, synced before it returns. A
// backup that cannot be written leaves nothing behind and says why: the change must not start.
// Older backups beyond what is kept are removed afterwards (keepRecentBackups).
Result<BackupInfo> backupTables(const std::string& dataDirectory, const std::string& operation,
                                const std::vector<std::string>& tables);

// Removes the backups of `folder` that are neither among the newest 30 nor from the 7 days
// before `now`; yields how many went.
Result<int> keepRecentBackups(const std::string& folder, std::time_t now);

} // namespace xb::store
