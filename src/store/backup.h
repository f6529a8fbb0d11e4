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
    std::string time;               // when it was taken, "2026-12-11 09:30:00"
    std::string operation;          // the change it was taken before ("导入", "删除", ...)
    std::vector<std::string> files; // file names copied
    std::vector<std::pair<std::string, int>> recordsPerYear; // achievements by year, ascending
};

// The tables every backup holds: the achievements with their parts, the unit's own tables and
// the dictionaries an update replaces. Templates and fixed code lists never change and stay out.
const std::vector<std::string>& backedUpTables();

// The backups of `dataDirectory`: beside it, "backups" for a directory named "data", else the
// directory's name followed by "-backups".
std::string backupsFolder(const std::string& dataDirectory);

// Copies the files of `tables` (table names; their memo files go with them, missing tables are
// left out) into a new backup named by the time and `operation`, synced before it returns. A
// backup that cannot be written leaves nothing behind and says why: the change must not start.
// Older backups beyond what is kept are removed afterwards (keepRecentBackups).
Result<BackupInfo> backupTables(const std::string& dataDirectory, const std::string& operation,
                                const std::vector<std::string>& tables);
// A backup of backedUpTables() before `operation`; `into` a folder of its own choosing (a USB
// stick) instead of the backups folder when given.
Result<BackupInfo> backupBefore(const std::string& dataDirectory, const std::string& operation,
                                const std::string& into = {});

// "2023 年 12 项，2024 年 3 项", or "无成果": what a backup holds, as lists show it.
std::string recordsPerYearText(const BackupInfo& backup);

// What a backup folder holds, from its list; fails for a folder that is not a whole backup.
Result<BackupInfo> readBackup(const std::string& folder);
// The backups of the data directory, newest first.
std::vector<BackupInfo> listBackups(const std::string& dataDirectory);
// Copies a whole backup to `folder`/its own name (另存到…); yields the new folder.
Result<std::string> copyBackup(const std::string& backup, const std::string& folder);

// Removes the backups of `folder` that are neither among the newest 30 nor from the 7 days
// before `now`; yields how many went.
Result<int> keepRecentBackups(const std::string& folder, std::time_t now);

} // namespace xb::store
