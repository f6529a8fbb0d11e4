#include "pack.h"

#include "row_batch.h"
#include "system_error.h"
#include "table_file.h"

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace xb::store {
namespace {

fs::path workFolder(const fs::path& table) {
    return table.parent_path() / (".xbpack-" + lowerName(table.stem().string()));
}

// The memo file that belongs to a table, whatever the letter case of its name.
fs::path memoOf(const fs::path& table) {
    std::error_code ec;
    const std::string want = table.stem().string() + ".dbt";
    for (const auto& e : fs::directory_iterator(table.parent_path(), ec))
        if (sameName(e.path().filename().string(), want)) return e.path();
    return table.parent_path() / want;
}

Error packError(const fs::path& table, int error) {
    return fail("无法压缩表 " + table.filename().string() + "：" + systemErrorText(error));
}

int syncFile(const fs::path& path) {
    std::unique_ptr<File> file;
    if (const int error = openFile(path.string(), OpenAs::Read, file)) return error;
    return file->sync();
}

// Removes the work folder and what is in it.
int removeWork(const fs::path& work) {
    std::error_code ec;
    std::vector<fs::path> inside;
    for (const auto& e : fs::directory_iterator(work, ec))
        inside.push_back(e.path());
    for (const fs::path& p : inside)
        if (const int error = fileSystem().remove(p.string()); error && error != ENOENT)
            return error;
    const int error = fileSystem().remove(work.string());
    return error == ENOENT ? 0 : error;
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
    std::unique_ptr<File> marker;
    int error = openFile((work / "complete").string(), OpenAs::CreateNew, marker);
    if (!error) error = marker->writeAt("complete\n", 9, 0);
    if (!error) error = marker->sync();
    if (!error) error = fileSystem().syncDirectory(work.string());
    if (error) return packError(old.path(), error);
    return {};
}

} // namespace

Status recoverInterruptedPack(const std::string& path) {
    const fs::path table(path);
    const fs::path work = workFolder(table);
    std::error_code ec;
    if (!fs::exists(work, ec)) return {};
    if (fs::exists(work / "complete", ec)) {
        // The new files were complete: finish swapping them in (memo first, then the table, so
        // that a repeat after another interruption still finds what is left to move).
        FileSystem& files = fileSystem();
        if (fs::exists(work / "table.dbt", ec))
            if (const int error =
                    files.rename((work / "table.dbt").string(), memoOf(table).string()))
                return packError(table, error);
        if (fs::exists(work / "table.dbf", ec))
            if (const int error = files.rename((work / "table.dbf").string(), path))
                return packError(table, error);
        if (const int error = files.syncDirectory(table.parent_path().string()))
            return packError(table, error);
    }
    if (const int error = removeWork(work)) return packError(table, error);
    return {};
}

Status packTable(const std::string& path, PackNeed need) {
    {
        auto opened = TableFile::open(path, OpenMode::Exclusive);
        if (!opened) return opened.error();
        TableFile& old = **opened;
        if (!old.damage().empty()) return fail(old.damage() + "，无法压缩");

        if (need == PackNeed::WhenNeeded) {
            // Live rows are visited in order: the first one out of step shows a deleted row, and
            // the rest of the table need not be read to know the pack is needed.
            uint32_t live = 0;
            if (Status s =
                    old.scan([&](uint32_t recno, std::string_view) { return recno == ++live; });
                !s)
                return s;
            if (live == old.recordCount() && old.ownLayout()) return {};
        }

        auto fields = packedFields(old);
        if (!fields) return fields.error();
        const fs::path table(path);
        const fs::path work = workFolder(table);
        if (const int error = removeWork(work)) return packError(table, error);
        if (const int error = fileSystem().createDirectory(work.string()))
            return packError(table, error);
        if (Status s = writeNewFiles(old, work, *fields); !s) {
            // What was written goes again, so that a full disk gets its room back.
            (void)removeWork(work);
            return s;
        }
    } // the old table is closed before its files are replaced
    return recoverInterruptedPack(path);
}

} // namespace xb::store
