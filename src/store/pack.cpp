#include "pack.h"

#include "memo_stream.h"
#include "replaced_files.h"
#include "row_batch.h"
#include "streamed_file.h"
#include "table_file.h"

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>
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

bool syncPath(const fs::path& p) {
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// The fields of another writer's table as our layout declares them: memo pointers become ten
// digits. Fields of types this program cannot hold refuse the conversion before anything is
// written, rather than losing what they store.
Result<FieldList> convertedFields(const TableFile& old) {
    FieldList fields = old.fields();
    for (size_t i = 0; i < fields.size(); ++i) {
        const char code = old.fieldCode(static_cast<int>(i));
        const bool plain = code == 'C' || code == 'N' || code == 'F' || code == 'D' || code == 'L';
        if (code == 'M' && (fields[i].width == 4 || fields[i].width == 10)) {
            fields[i].width = 10;
        } else if (!plain) {
            return fail("表文件 " + old.fileName() + " 的字段 " + fields[i].name + "（类型 " +
                        std::string(1, code) + "）无法转换为本程序的表格式，表文件未作改动");
        }
    }
    return fields;
}

// Rows of another writer's layout are copied field by field into ours, each with its memos.
Status copyConverted(const TableFile& old, const fs::path& newTable) {
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
    return batch.flush();
}

std::string littleEndian(uint32_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
            static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
}

// Rows of our own layout are copied as they are stored, each memo moved to the next free block
// of the new memo file; both files are written sequentially, only into the work folder, and are
// on the disk when this returns.
Status copyRaw(const TableFile& old, const fs::path& oldMemo, const fs::path& work) {
    const FieldList& fields = old.fields();
    std::vector<int> memoFields;
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].type == FieldType::Memo) memoFields.push_back(static_cast<int>(i));
    StreamedFile dbf((work / "table.dbf").string(), old.headerLength());
    std::optional<StreamedFile> dbt;
    std::optional<MemoStream> memos;
    if (!memoFields.empty()) {
        dbt.emplace((work / "table.dbt").string(), 512); // memos follow one another from block 1
        memos.emplace(oldMemo.string());
    }
    if (!dbf.ok() || (dbt && !dbt->ok())) return fail("无法写入压缩后的表");

    const size_t rowLength = old.recordLength();
    uint32_t count = 0;
    uint32_t nextBlock = 1;
    std::string memo; // a memo the stream could not give, read through the table
    Status s = old.scan([&](uint32_t, std::string_view raw) {
        char* row = dbf.extend(rowLength);
        if (!row) return false;
        std::memcpy(row, raw.data(), rowLength);
        for (int f : memoFields) {
            char* pointer = row + old.fieldOffset(f);
            std::string_view bytes;
            const uint32_t block = old.memoBlock(raw, f);
            if (auto streamed = block != 0 ? memos->read(block) : std::nullopt) {
                bytes = *streamed;
            } else {
                memo = old.memoBytes(raw, f);
                bytes = memo;
            }
            std::memset(pointer, ' ', 10);
            if (bytes.empty()) continue;
            const uint32_t blocks = static_cast<uint32_t>((bytes.size() + 2 + 511) / 512);
            dbt->append(bytes);
            dbt->append("\x1A\x1A");
            dbt->appendZeros(static_cast<size_t>(blocks) * 512 - bytes.size() - 2);
            const std::string number = std::to_string(nextBlock);
            std::memcpy(pointer + 10 - number.size(), number.data(), number.size());
            nextBlock += blocks;
        }
        ++count;
        return true;
    });
    if (!s) return s;
    dbf.append("\x1A");
    dbf.writeAt(4, littleEndian(count));
    if (dbt) dbt->writeAt(0, littleEndian(nextBlock));
    // Both files were written while they filled; each is now waited for until on the disk.
    if (!dbf.sync() || (dbt && !dbt->sync())) return fail("无法写入压缩后的表（磁盘已满？）");
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
        if (fs::exists(work / "table.dbt", ec)) fs::rename(work / "table.dbt", memoOf(table), ec);
        if (ec) return fail("无法完成表 " + table.filename().string() + " 的压缩：" + ec.message());
        if (fs::exists(work / "table.dbf", ec)) fs::rename(work / "table.dbf", table, ec);
        if (ec) return fail("无法完成表 " + table.filename().string() + " 的压缩：" + ec.message());
    }
    fs::remove_all(work, ec);
    return {};
}

Status packTable(const std::string& path, PackNeed need) {
    // Declared before the old table, so the old files are let go of after it is closed.
    ReplacedFiles replaced;
    auto opened = TableFile::open(path, OpenMode::Exclusive);
    if (!opened) return opened.error();
    TableFile& old = **opened;
    if (!old.damage().empty()) return fail(old.damage() + "，无法压缩");

    if (need == PackNeed::WhenNeeded) {
        // Live rows are visited in order: the first one out of step shows a deleted row, and
        // the rest of the table need not be read to know the pack is needed.
        uint32_t live = 0;
        if (Status s = old.scan([&](uint32_t recno, std::string_view) { return recno == ++live; });
            !s)
            return s;
        const bool ourLayout = [&] {
            std::ifstream in(path, std::ios::binary);
            const int v = in.get();
            return v == 0x03 || v == 0x83;
        }();
        if (live == old.recordCount() && ourLayout) return {};
    }

    auto fields = old.ownLayout() ? Result<FieldList>(old.fields()) : convertedFields(old);
    if (!fields) return fields.error();
    const fs::path table(path);
    const fs::path work = workFolder(table);
    std::error_code ec;
    fs::remove_all(work, ec);
    if (!fs::create_directory(work, ec))
        return fail("无法压缩表 " + table.filename().string() + "：" + ec.message());
    const fs::path newTable = work / "table.dbf";
    const fs::path oldMemo = memoOf(table);
    if (Status s = TableFile::create(newTable.string(), *fields); !s) return s;
    if (old.ownLayout()) {
        if (Status s = copyRaw(old, oldMemo, work); !s) return s;
    } else {
        if (Status s = copyConverted(old, newTable); !s) return s;
        const bool hasMemo = fs::exists(work / "table.dbt", ec);
        if (!syncPath(newTable) || (hasMemo && !syncPath(work / "table.dbt")))
            return fail("无法压缩表 " + table.filename().string() + "：写入失败");
    }
    {
        std::ofstream marker(work / "complete");
        marker << "complete\n";
        if (!marker) return fail("无法压缩表 " + table.filename().string() + "：写入失败");
    }
    syncPath(work / "complete");
    syncPath(work);
    replaced.hold(path);
    replaced.hold(oldMemo.string());
    return recoverInterruptedPack(path);
}

} // namespace xb::store
