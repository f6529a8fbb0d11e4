#include "restore.h"

#include "field.h"
#include "file_system.h"
#include "system_error.h"
#include "table_file.h"
#include "whole_files.h"

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace xb::store {
namespace {

// The work folder: "new" holds the backup's files under the names they take, "old" what they
// replace; "plan" names every file the restore changes, "complete" says "new" is whole.
fs::path workOf(const std::string& dataDirectory) {
    return fs::path(dataDirectory) / ".xbrestore";
}

Error restoreError(const std::string& what, int error) {
    return fail("无法恢复备份（" + what + "：" + systemErrorText(error) + "）");
}

bool sameLayout(const FieldList& a, const FieldList& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!sameName(a[i].name, b[i].name) || a[i].type != b[i].type || a[i].width != b[i].width ||
            a[i].decimals != b[i].decimals)
            return false;
    return true;
}

// Every table of the backup reads whole and has the fields of the table it replaces: a backup
// of another version or installation is refused before anything changes.
Status checkBackup(const std::string& dataDirectory, const BackupInfo& backup) {
    bool records = false;
    for (const std::string& file : backup.files) {
        if (!sameName(fs::path(file).extension().string(), ".dbf")) continue;
        records = records || sameName(file, "kjcg.dbf");
        auto saved = TableFile::open((fs::path(backup.folder) / file).string(), OpenMode::Reading);
        if (!saved) return fail("备份中的表 " + file + " 无法读取：" + saved.message());
        if (!(*saved)->damage().empty())
            return fail("备份中的表 " + file + " 已损坏（" + (*saved)->damage() + "）");
        const std::string present = findFile(dataDirectory, file);
        if (present.empty()) continue;
        auto now = TableFile::open((fs::path(dataDirectory) / present).string(), OpenMode::Reading);
        if (now && !sameLayout((*saved)->fields(), (*now)->fields()))
            return fail("备份中的表 " + file +
                        " 的字段与本程序的表不同（备份来自其他版本或其他程序），未作恢复");
    }
    if (!records) return fail("文件夹 " + backup.folder + " 中没有成果表，不是本程序的备份");
    return {};
}

// The files the restore changes, a line each: "in NAME" for a file of the backup under its
// present name (letter case as in the data directory), "out NAME" for a present file of a
// backed-up table that the backup does not hold (a memo file its table came back without).
std::vector<std::string> planOf(const std::string& dataDirectory, const BackupInfo& backup) {
    std::vector<std::string> plan;
    for (const std::string& file : backup.files) {
        const std::string present = findFile(dataDirectory, file);
        plan.push_back("in " + (present.empty() ? file : present));
    }
    for (const std::string& table : backedUpTables())
        for (const char* extension : {".dbf", ".dbt"}) {
            const std::string present = findFile(dataDirectory, table + extension);
            bool kept = present.empty();
            for (const std::string& file : backup.files)
                kept = kept || sameName(file, present);
            if (!kept) plan.push_back("out " + present);
        }
    return plan;
}

// The backup's files copied into "new" under their planned names, then the plan and the mark.
Status prepare(const std::string& dataDirectory, const BackupInfo& backup) {
    const fs::path work = workOf(dataDirectory);
    FileSystem& files = fileSystem();
    int error = files.createDirectory(work.string());
    if (!error) error = files.createDirectory((work / "new").string());
    if (!error) error = files.createDirectory((work / "old").string());
    if (!error) error = files.syncDirectory(dataDirectory);
    if (error) return restoreError(work.string(), error);
    const std::vector<std::string> plan = planOf(dataDirectory, backup);
    std::string planText;
    for (const std::string& line : plan) {
        planText += line + "\n";
        const std::string name = line.substr(line.find(' ') + 1);
        for (const std::string& file : backup.files)
            if (line.starts_with("in ") && sameName(file, name))
                if (int e = copyFile((fs::path(backup.folder) / file).string(),
                                     (work / "new" / name).string()))
                    return restoreError("复制 " + file, e);
    }
    error = files.syncDirectory((work / "new").string());
    if (!error) error = writeNewFile((work / "plan").string(), planText);
    if (!error) error = writeNewFile((work / "complete").string(), "complete\n");
    if (!error) error = files.syncDirectory(work.string());
    if (error) return restoreError(work.string(), error);
    return {};
}

// Each planned file: the present one set aside into "old", then the new one moved in. Every
// step looks at what is there, so a swap cut short anywhere is finished by running it again.
Status swapIn(const std::string& dataDirectory) {
    const fs::path work = workOf(dataDirectory), data(dataDirectory);
    std::string plan;
    if (int error = readWholeFile((work / "plan").string(), plan))
        return restoreError("恢复计划", error);
    FileSystem& files = fileSystem();
    std::istringstream names(plan);
    std::error_code ec;
    for (std::string line; std::getline(names, line);) {
        const size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        const std::string name = line.substr(space + 1);
        const fs::path present = data / name, aside = work / "old" / name,
                       incoming = work / "new" / name;
        // A file to come still waits in "new"; once it is in, its line has nothing left to do.
        const bool toCome = fs::exists(incoming, ec);
        if ((toCome || line.starts_with("out ")) && fs::exists(present, ec))
            if (int error = files.rename(present.string(), aside.string()))
                return restoreError(name, error);
        if (toCome)
            if (int error = files.rename(incoming.string(), present.string()))
                return restoreError(name, error);
    }
    if (int error = files.syncDirectory(dataDirectory)) return restoreError(dataDirectory, error);
    return {};
}

} // namespace

Status recoverInterruptedRestore(const std::string& dataDirectory) {
    const fs::path work = workOf(dataDirectory);
    std::error_code ec;
    if (!fs::exists(work, ec)) return {};
    if (fs::exists(work / "complete", ec)) {
        if (Status s = swapIn(dataDirectory); !s) return s;
        // The mark goes first and alone: a removal cut short must never leave the mark
        // without the plan it vouches for.
        int error = fileSystem().remove((work / "complete").string());
        if (!error) error = fileSystem().syncDirectory(work.string());
        if (error) return restoreError(work.string(), error);
    }
    if (int error = removeFolder(work.string())) return restoreError(work.string(), error);
    if (int error = fileSystem().syncDirectory(dataDirectory))
        return restoreError(dataDirectory, error);
    return {};
}

Result<BackupInfo> restoreBackup(const std::string& dataDirectory, const std::string& backup) {
    auto info = readBackup(backup);
    if (!info) return info.error();
    if (Status s = checkBackup(dataDirectory, *info); !s) return s.error();
    // What a restore left behind goes first, so that the work folder is this restore's own.
    if (Status s = recoverInterruptedRestore(dataDirectory); !s) return s.error();
    auto before = backupBefore(dataDirectory, "恢复前");
    if (!before) return before.error();
    if (Status s = prepare(dataDirectory, *info); !s) {
        (void)removeFolder(workOf(dataDirectory).string()); // a full disk gets its room back
        return s.error();
    }
    if (Status s = recoverInterruptedRestore(dataDirectory); !s) return s.error();
    return before;
}

} // namespace xb::store
