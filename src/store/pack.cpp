#include "pack.h"

#include "row_batch.h"
#include "table_file.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
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

// Rows of our own layout are copied as they are stored, each memo moved to the next free block
// of the new memo file; both files are written sequentially, and only into the work folder.
Status copyRaw(const TableFile& old, const fs::path& work) {
    const fs::path dbfPath = work / "table.dbf";
    // Large buffers: the files are written in few large writes rather than one per page.
    constexpr size_t kBuffer = 1 << 20;
    std::vector<char> dbfBuffer(kBuffer), dbtBuffer(kBuffer);
    std::fstream dbf;
    dbf.rdbuf()->pubsetbuf(dbfBuffer.data(), static_cast<std::streamsize>(kBuffer));
    dbf.open(dbfPath, std::ios::in | std::ios::out | std::ios::binary);
    std::fstream dbt;
    dbt.rdbuf()->pubsetbuf(dbtBuffer.data(), static_cast<std::streamsize>(kBuffer));
    const FieldList& fields = old.fields();
    std::vector<int> memoFields;
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].type == FieldType::Memo) memoFields.push_back(static_cast<int>(i));
    if (!memoFields.empty())
        dbt.open(work / "table.dbt", std::ios::in | std::ios::out | std::ios::binary);
    if (!dbf || (!memoFields.empty() && !dbt)) return fail("无法写入压缩后的表");

    dbf.seekp(old.headerLength());
    if (dbt.is_open()) dbt.seekp(512); // memos are written one after another from block 1
    uint32_t count = 0;
    uint32_t nextBlock = 1;
    std::string row;
    Status s = old.scan([&](uint32_t, std::string_view raw) {
        row.assign(raw);
        for (int f : memoFields) {
            const std::string bytes = old.memoBytes(raw, f);
            std::string pointer(10, ' ');
            if (!bytes.empty()) {
                std::string block = bytes + "\x1A\x1A";
                const uint32_t blocks = static_cast<uint32_t>((block.size() + 511) / 512);
                block.resize(static_cast<size_t>(blocks) * 512, '\0');
                dbt.write(block.data(), static_cast<std::streamsize>(block.size()));
                const std::string number = std::to_string(nextBlock);
                pointer.replace(10 - number.size(), number.size(), number);
                nextBlock += blocks;
            }
            row.replace(old.fieldOffset(f), 10, pointer);
        }
        dbf.write(row.data(), static_cast<std::streamsize>(row.size()));
        ++count;
        return true;
    });
    if (!s) return s;
    dbf.put('\x1A');
    const unsigned char countBytes[4] = {static_cast<unsigned char>(count & 0xFF),
                                         static_cast<unsigned char>((count >> 8) & 0xFF),
                                         static_cast<unsigned char>((count >> 16) & 0xFF),
                                         static_cast<unsigned char>((count >> 24) & 0xFF)};
    dbf.seekp(4);
    dbf.write(reinterpret_cast<const char*>(countBytes), 4);
    if (dbt.is_open()) {
        const unsigned char next[4] = {static_cast<unsigned char>(nextBlock & 0xFF),
                                       static_cast<unsigned char>((nextBlock >> 8) & 0xFF),
                                       static_cast<unsigned char>((nextBlock >> 16) & 0xFF),
                                       static_cast<unsigned char>((nextBlock >> 24) & 0xFF)};
        dbt.seekp(0);
        dbt.write(reinterpret_cast<const char*>(next), 4);
        dbt.flush();
    }
    dbf.flush();
    if (!dbf || (dbt.is_open() && !dbt)) return fail("无法写入压缩后的表（磁盘已满？）");
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
    if (Status s = TableFile::create(newTable.string(), *fields); !s) return s;
    if (Status s = old.ownLayout() ? copyRaw(old, work) : copyConverted(old, newTable); !s)
        return s;
    const bool hasMemo = fs::exists(work / "table.dbt", ec);
    if (!syncPath(newTable) || (hasMemo && !syncPath(work / "table.dbt")))
        return fail("无法压缩表 " + table.filename().string() + "：写入失败");
    {
        std::ofstream marker(work / "complete");
        marker << "complete\n";
        if (!marker) return fail("无法压缩表 " + table.filename().string() + "：写入失败");
    }
    syncPath(work / "complete");
    syncPath(work);
    return recoverInterruptedPack(path);
}

} // namespace xb::store
