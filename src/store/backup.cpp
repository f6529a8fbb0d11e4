#include "backup.h"

#include "file_system.h"
#include "system_error.h"
#include "table_file.h"
#include "whole_files.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace xb::store {
namespace {

constexpr size_t kKeptAlways = 30;
constexpr std::time_t kKeptDays = 7;
constexpr const char* kList = "backup.txt";

Error backupError(const std::string& what, int error) {
    return fail("无法建立备份（" + what + "：" + systemErrorText(error) + "），本次操作未进行");
}

std::string stamp(std::time_t t, const char* format) {
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

// The time a backup's name begins with ("20261211-073326-..."); -1 for a name of another kind.
std::time_t timeOfName(const std::string& name) {
    std::tm t{};
    if (name.size() < 15 || name[8] != '-') return -1;
    for (size_t i : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 9u, 10u, 11u, 12u, 13u, 14u})
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return -1;
    t.tm_year = std::stoi(name.substr(0, 4)) - 1900;
    t.tm_mon = std::stoi(name.substr(4, 2)) - 1;
    t.tm_mday = std::stoi(name.substr(6, 2));
    t.tm_hour = std::stoi(name.substr(9, 2));
    t.tm_min = std::stoi(name.substr(11, 2));
    t.tm_sec = std::stoi(name.substr(13, 2));
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// Achievements by year, as the numbers (year first) of the table copied into the backup say.
std::vector<std::pair<std::string, int>> recordsPerYear(const std::string& kjcg) {
    std::map<std::string, int> years;
    auto table = TableFile::open(kjcg, OpenMode::Reading);
    if (!table) return {};
    const int number = (*table)->fieldIndex("ITEM_4");
    if (number < 0) return {};
    (void)(*table)->scan([&](uint32_t, std::string_view raw) {
        ++years[std::string((*table)->fieldBytes(raw, number).substr(0, 4))];
        return true;
    });
    return {years.begin(), years.end()};
}

} // namespace

const std::vector<std::string>& backedUpTables() {
    static const std::vector<std::string> tables{
        "kjcg",     "cgwcdw",     "cgwcr",      "jdwyhmd",   "zlqk",        "cgwcrNew",
        "unit",     "unitexpert", "lsbw",       "xkfl",      "ztflh",       "gxjs",
        "DFJHZDXX", "kjcgtemp",   "cgwcdwtemp", "cgwcrtemp", "jdwyhmdtemp", "zlqktemp"};
    return tables;
}

std::string backupsFolder(const std::string& dataDirectory) {
    fs::path data = fs::path(dataDirectory).lexically_normal();
    if (data.filename().empty()) data = data.parent_path();
    const std::string name = data.filename().string();
    return (data.parent_path() / (name == "data" ? std::string("backups") : name + "-backups"))
        .string();
}

namespace {

Result<BackupInfo> writeBackup(const std::string& dataDirectory, const std::string& root,
                               const std::string& operation,
                               const std::vector<std::string>& tables) {
    FileSystem& files = fileSystem();
    if (int error = files.createDirectory(root); error && error != EEXIST)
        return backupError("备份文件夹 " + root, error);
    const std::time_t now = std::time(nullptr);
    std::string name = stamp(now, "%Y%m%d-%H%M%S") + "-" + operation;
    std::error_code ec;
    // A backup cut short (a power cut) may have left its hidden folder under the same name.
    for (int n = 2; fs::exists(fs::path(root) / name, ec) ||
                    fs::exists(fs::path(root) / ("." + name + ".partial"), ec);
         ++n)
        name = stamp(now, "%Y%m%d-%H%M%S") + "-" + operation + "-" + std::to_string(n);
    const std::string partial = (fs::path(root) / ("." + name + ".partial")).string();
    const std::string folder = (fs::path(root) / name).string();

    BackupInfo info{folder, stamp(now, "%Y-%m-%d %H:%M:%S"), operation, {}, {}};
    auto failed = [&](const std::string& what, int error) {
        (void)removeFolder(partial);
        return backupError(what, error);
    };
    if (int error = files.createDirectory(partial)) return failed("文件夹 " + partial, error);
    std::string list = "时间\t" + info.time + "\n操作\t" + operation + "\n";
    for (const std::string& table : tables) {
        const std::string base = fs::path(table).stem().string();
        for (const char* extension : {".dbf", ".dbt"}) {
            const std::string file = findFile(dataDirectory, base + extension);
            if (file.empty()) continue;
            const std::string from = (fs::path(dataDirectory) / file).string();
            if (int error = copyFile(from, (fs::path(partial) / file).string()))
                return failed("复制 " + file, error);
            info.files.push_back(file);
            list += "文件\t" + file + "\n";
        }
    }
    if (const std::string kjcg = findFile(partial, "kjcg.dbf"); !kjcg.empty())
        info.recordsPerYear = recordsPerYear((fs::path(partial) / kjcg).string());
    for (const auto& [year, count] : info.recordsPerYear)
        list += "年度\t" + year + "\t" + std::to_string(count) + "\n";
    int error = writeNewFile((fs::path(partial) / kList).string(), list);
    if (!error) error = files.syncDirectory(partial);
    if (!error) error = files.rename(partial, folder);
    if (!error) error = files.syncDirectory(root);
    if (error) return failed(name, error);
    return info;
}

} // namespace

Result<BackupInfo> backupTables(const std::string& dataDirectory, const std::string& operation,
                                const std::vector<std::string>& tables) {
    const std::string root = backupsFolder(dataDirectory);
    auto info = writeBackup(dataDirectory, root, operation, tables);
    if (info) (void)keepRecentBackups(root, std::time(nullptr));
    return info;
}

Result<BackupInfo> backupBefore(const std::string& dataDirectory, const std::string& operation,
                                const std::string& into) {
    if (into.empty()) return backupTables(dataDirectory, operation, backedUpTables());
    return writeBackup(dataDirectory, into, operation, backedUpTables());
}

Result<BackupInfo> readBackup(const std::string& folder) {
    std::string text;
    if (readWholeFile((fs::path(folder) / kList).string(), text))
        return fail("文件夹 " + folder + " 不是完整的备份（没有备份清单）");
    BackupInfo info{folder, {}, {}, {}, {}};
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        const std::string key = line.substr(0, tab), rest = line.substr(tab + 1);
        if (key == "时间")
            info.time = rest;
        else if (key == "操作")
            info.operation = rest;
        else if (key == "文件")
            info.files.push_back(rest);
        else if (const size_t t = rest.find('\t'); key == "年度" && t != std::string::npos)
            info.recordsPerYear.emplace_back(rest.substr(0, t), std::atoi(rest.c_str() + t + 1));
    }
    if (info.time.empty() || info.files.empty())
        return fail("文件夹 " + folder + " 不是完整的备份（备份清单不全）");
    return info;
}

std::vector<BackupInfo> listBackups(const std::string& dataDirectory) {
    // Backups of one second (a restore's own backup right after another) go by when their
    // lists were written, so that the newest is first.
    std::vector<std::pair<std::pair<std::string, fs::file_time_type>, BackupInfo>> found;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(backupsFolder(dataDirectory), ec))
        if (timeOfName(e.path().filename().string()) >= 0)
            if (auto info = readBackup(e.path().string()))
                found.push_back({{e.path().filename().string().substr(0, 15),
                                  fs::last_write_time(e.path() / kList, ec)},
                                 std::move(*info)});
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<BackupInfo> backups;
    for (auto& [when, info] : found)
        backups.push_back(std::move(info));
    return backups;
}

Result<std::string> copyBackup(const std::string& backup, const std::string& folder) {
    auto info = readBackup(backup);
    if (!info) return info.error();
    const fs::path target = fs::path(folder) / fs::path(backup).filename();
    const std::string partial =
        (fs::path(folder) / ("." + fs::path(backup).filename().string() + ".partial")).string();
    FileSystem& files = fileSystem();
    auto failed = [&](const std::string& what, int error) -> Error {
        (void)removeFolder(partial);
        return fail("无法另存备份（" + what + "：" + systemErrorText(error) + "）");
    };
    std::error_code ec;
    if (fs::exists(target, ec)) return fail("文件夹 " + target.string() + " 已存在，备份未另存");
    if (int error = files.createDirectory(partial)) return failed(partial, error);
    std::vector<std::string> names = info->files;
    names.push_back(kList);
    for (const std::string& name : names)
        if (int error =
                copyFile((fs::path(backup) / name).string(), (fs::path(partial) / name).string()))
            return failed(name, error);
    int error = files.syncDirectory(partial);
    if (!error) error = files.rename(partial, target.string());
    if (!error) error = files.syncDirectory(folder);
    if (error) return failed(target.string(), error);
    return target.string();
}

Result<int> keepRecentBackups(const std::string& folder, std::time_t now) {
    std::vector<std::pair<std::time_t, std::string>> backups;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        if (name.starts_with(".") && name.ends_with(".partial")) {
            (void)removeFolder(e.path().string()); // left by a backup that was cut short
            continue;
        }
        if (const std::time_t t = timeOfName(name); t >= 0 && e.is_directory())
            backups.emplace_back(t, e.path().string());
    }
    std::sort(backups.begin(), backups.end(), std::greater<>());
    int removed = 0;
    for (size_t i = kKeptAlways; i < backups.size(); ++i) {
        if (now - backups[i].first <= kKeptDays * 24 * 3600) continue;
        (void)removeFolder(backups[i].second);
        ++removed;
    }
    if (removed)
        if (int error = fileSystem().syncDirectory(folder))
            return fail("无法整理备份文件夹：" + systemErrorText(error));
    return removed;
}

std::string recordsPerYearText(const BackupInfo& backup) {
    std::string text;
    for (const auto& [year, count] : backup.recordsPerYear)
        text += (text.empty() ? "" : "，") + year + " 年 " + std::to_string(count) + " 项";
    return text.empty() ? "无成果" : text;
}

} // namespace xb::store
