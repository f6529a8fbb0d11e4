#include "pack.h"

#include "row_batch.h"
#include "system_error.h"
#include "table_file.h"
#include "whole_files.h"

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace xb::store {
namespace {

fs::path workFolder(const fs::path& table) {
    return table.parent_path() / (".xbpack-" + lowerName(table.stem().string()));
}

// The memo file that belongs to a table, whatever the letter case of its name.
fs::path memoOf(const fs::path& table) {
    const std::string want = table.stem().string() + ".dbt";
    const std::string found = findFile(table.parent_path().string(), want);
    return table.parent_path() / (found.empty() ? want : found);
}

Error packError(const fs::path& table, int error) {
    return fail("无法压缩表 " + table.filename().string() + "：" + systemErrorText(error));
}

int syncFile(const fs::path& path) {
    std::unique_ptr<File> file;
    if (const int error = openFile(path.string(), OpenAs::Read, file)) return error;
    return file->sync();
}

// The fields of the new table. Another writer's layout becomes ours: memo pointers become ten
// digits, and fields of types this program cannot hold refuse the conversion before anything is
// written, rather than losing what they store. Our own layout keeps its fields as they are,
// memo pointers of any width included.
Result<FieldList> packedFields(const TableFile& old) {
    FieldList fields = old.fields();
    if (old.ownLayout()) return fields;
    for (size_t i = 0; i < fields.size(); ++i) {
        const char code = old.fieldCode(static_cast<int>(i));
        const bool plain = code == 'C' || code == 'N' || code == 'F' || code == 'D' || code == 'L';
        if (code == 'M') {
            fields[i].width = 10;
        } else if (!plain) {
            return fail("表文件 " + old.fileName() + " 的字段 " + fields[i].name + "（类型 " +
                        std::string(1, code) + "）无法转换为本程序的表格式，表文件未作改动");
        }
    }
    return fields;
}

// Every live row copied as the table reads it, each memo moved to the new memo file; both new
// files are on the disk when this returns.
Status copyLiveRows(const TableFile& old, const fs::path& newTable) {
    {
        auto target = TableFile::open(newTable.string(), OpenMode::Exclusive);
        if (!target) return target.error();
        (*target)->writeAsDraft();
        RowBatch batch(**target);
        Status copied;
        Status s = old.scan([&](uint32_t, std::string_view raw) {
            copied = batch.addFrom(old, raw);
            return copied.ok();
        });
        if (!s) return s;
        if (!copied) return copied;
        if (Status flushed = batch.flush(); !flushed) return flushed;
    }
    const fs::path newMemo = newTable.parent_path() / "table.dbt";
    std::error_code ec;
    int error = syncFile(newTable);
    if (!error && fs::exists(newMemo, ec)) error = syncFile(newMemo);
    if (error) return packError(newTable, error);
    return {};
}

// The new table and memo file in the work folder, then the marker that says they are whole:
// from then on the swap is finished, not undone.
Status writeNewFiles(const TableFile& old, const fs::path& work, const FieldList& fields) {
    const fs::path newTable = work / "table.dbf";
    if (Status s = TableFile::create(newTable.string(), fields); !s) return s;
    if (Status s = copyLiveRows(old, newTable); !s) return s;
    // The new files keep the protection of the old ones.
    int error = fileSystem().copyPermissions(old.path(), newTable.string());
    std::error_code ec;
    if (const fs::path memo = memoOf(old.path()); !error && fs::exists(memo, ec))
        error = fileSystem().copyPermissions(memo.string(), (work / "table.dbt").string());
    if (error) return packError(old.path(), error);
    std::unique_ptr<File> marker;
    error = openFile((work / "complete").string(), OpenAs::CreateNew, marker);
    if (!error) error = marker->writeAt("complete\n", 9, 0);
    if (!error) error = marker->sync();
    if (!error) error = fileSystem().syncDirectory(work.string());
    if (error) return packError(old.path(), error);
    return {};
}

// Puts the new files of a whole pack in place of the old ones, as one: the old files go aside
// into the work folder first, so that a table that cannot be replaced (a file the system keeps
// from being changed) stops the swap before anything is swapped. Each step finds what is left to
// do, so a swap cut short anywhere is finished by the next opening.
Status swapIn(const fs::path& table, const fs::path& work) {
    FileSystem& files = fileSystem();
    const fs::path memo = memoOf(table);
    const fs::path newTable = work / "table.dbf", newMemo = work / "table.dbt";
    const fs::path oldTable = work / "old.dbf", oldMemo = work / "old.dbt";
    std::error_code ec;
    const bool memoToSwap = fs::exists(newMemo, ec);
    if (fs::exists(newTable, ec) && fs::exists(table, ec)) {
        if (const int error = files.rename(table.string(), oldTable.string())) {
            (void)removeFolder(work.string());
            return packError(table, error);
        }
    }
    if (memoToSwap && fs::exists(memo, ec)) {
        if (const int error = files.rename(memo.string(), oldMemo.string())) {
            // Nothing is swapped yet: the table goes back, and the pack is given up.
            if (fs::exists(oldTable, ec)) (void)files.rename(oldTable.string(), table.string());
            (void)removeFolder(work.string());
            return packError(table, error);
        }
    }
    if (memoToSwap)
        if (const int error = files.rename(newMemo.string(), memo.string()))
            return packError(table, error);
    if (fs::exists(newTable, ec))
        if (const int error = files.rename(newTable.string(), table.string()))
            return packError(table, error);
    if (const int error = files.syncDirectory(table.parent_path().string()))
        return packError(table, error);
    return {};
}

// Live rows are visited in order: the first one out of step shows a deleted row, and the rest of
// the table need not be read to know the pack is needed.
Result<bool> needsPack(const TableFile& table) {
    uint32_t live = 0;
    if (Status s = table.scan([&](uint32_t recno, std::string_view) { return recno == ++live; });
        !s)
        return s.error();
    return live != table.recordCount() || !table.ownLayout();
}

} // namespace

Result<bool> packNeeded(const std::string& path) {
    auto table = TableFile::open(path, OpenMode::Reading);
    if (!table) return table.error();
    // A table only read is never rewritten: the pack says so.
    if (!(*table)->damage().empty()) return fail((*table)->damage() + "，无法压缩");
    return needsPack(**table);
}

Status recoverInterruptedPack(const std::string& path) {
    const fs::path table(path);
    const fs::path work = workFolder(table);
    std::error_code ec;
    if (!fs::exists(work, ec)) return {};
    // New files without the marker were not finished: they go, the old ones stay.
    if (fs::exists(work / "complete", ec))
        if (Status s = swapIn(table, work); !s) return s;
    if (const int error = removeFolder(work.string())) return packError(table, error);
    return {};
}

void waitForPackSwap(const std::string& path) {
    const fs::path marker = workFolder(path) / "complete";
    std::error_code ec;
    for (int i = 0; i < 150 && fs::exists(marker, ec); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

Status packTable(const std::string& path, PackNeed need) {
    {
        auto opened = TableFile::open(path, OpenMode::Exclusive);
        if (!opened) return opened.error();
        TableFile& old = **opened;
        if (need == PackNeed::WhenNeeded) {
            auto needed = needsPack(old);
            if (!needed) return needed.error();
            if (!*needed) return {};
        }
        // A table only read (a damaged one, a read-only file) is never rewritten.
        if (!old.damage().empty()) return fail(old.damage() + "，无法压缩");

        auto fields = packedFields(old);
        if (!fields) return fields.error();
        const fs::path table(path);
        const fs::path work = workFolder(table);
        if (const int error = removeFolder(work.string())) return packError(table, error);
        // The folder's name is on the disk before what goes into it is relied on.
        int error = fileSystem().createDirectory(work.string());
        if (!error) error = fileSystem().syncDirectory(table.parent_path().string());
        if (error) return packError(table, error);
        if (Status s = writeNewFiles(old, work, *fields); !s) {
            // What was written goes again, so that a full disk gets its room back.
            (void)removeFolder(work.string());
            return s;
        }
    } // the old table is closed before its files are replaced
    return recoverInterruptedPack(path);
}

} // namespace xb::store
