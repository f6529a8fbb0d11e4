#include "pack.h"

#include "table_file.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

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
        uint32_t live = 0;
        if (Status s = old.scan([&](uint32_t, std::string_view) { return ++live, true; }); !s)
            return s;
        const bool ourLayout = [&] {
            std::ifstream in(path, std::ios::binary);
            const int v = in.get();
            return v == 0x03 || v == 0x83;
        }();
        if (live == old.recordCount() && ourLayout) return {};
    }

    const fs::path table(path);
    const fs::path work = workFolder(table);
    std::error_code ec;
    fs::remove_all(work, ec);
    if (!fs::create_directory(work, ec))
        return fail("无法压缩表 " + table.filename().string() + "：" + ec.message());
    const fs::path newTable = work / "table.dbf";
    if (Status s = TableFile::create(newTable.string(), old.fields()); !s) return s;
    {
        auto target = TableFile::open(newTable.string(), OpenMode::Exclusive);
        if (!target) return target.error();
        Status copied;
        Status s = old.scan([&](uint32_t, std::string_view raw) {
            auto appended = (*target)->append(old.decodeRow(raw));
            if (!appended) copied = appended.error();
            return appended.ok();
        });
        if (!s) return s;
        if (!copied) return copied;
    }
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
