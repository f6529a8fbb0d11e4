#include "backup.h"

#include "field.h"
#include "file_system.h"
#include "system_error.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace xb::store {
namespace {

constexpr size_t kKeptAlways = 30;
constexpr std::time_t kKeptDays = 7;
constexpr const char* kList = "backup.txt";

Error backupError(const std::string& what, int error) {
    return fail("无法建立备份（" + what + "：" + systemErrorText(error) + "），本次操作未进行");
}

// A file of the data directory by name, whatever its letter case; empty when missing.
std::string findFile(const std::string& directory, const std::string& name) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(directory, ec))
        if (sameName(e.path().filename().string(), name)) return e.path().filename().string();
    return {};
}

int copyFile(const std::string& from, const std::string& to) {
    std::unique_ptr<File> in, out;
    if (int error = openFile(from, OpenAs::Read, in)) return error;
    if (int error = openFile(to, OpenAs::CreateNew, out)) return error;
    std::string buffer(1 << 20, '\0');
    for (uint64_t offset = 0;;) {
        size_t got = 0;
        if (int error = in->readAt(buffer.data(), buffer.size(), offset, got)) return error;
        if (got == 0) break;
        if (int error = out->writeAt(buffer.data(), got, offset)) return error;
        offset += got;
    }
    return out->sync();
}

void removeFolder(const std::string& folder) {
    std::error_code ec;
    std::vector<std::string> inside;
    for (const auto& e : fs::directory_iterator(folder, ec))
        inside.push_back(e.path().string());
    for (const std::string& p : inside)
        (void)fileSystem().remove(p);
    (void)fileSystem().remove(folder);
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

} // namespace

std::string backupsFolder(const std::string& dataDirectory) {
    fs::path data = fs::path(dataDirectory).lexically_normal();
    if (data.filename().empty()) data = data.parent_path();
    const std::string name = data.filename().string();
    return (data.parent_path() / (name == "data" ? std::string("backups") : name + "-backups"))
        .string();
}

Result<BackupInfo> backupTables(const std::string& dataDirectory, const std::string& operation,
                                const std::vector<std::string>& tables) {
    const std::string root = backupsFolder(dataDirectory);
    FileSystem& files = fileSystem();
    if (int error = files.createDirectory(root); error && error != EEXIST)
        return backupError("备份文件夹 " + root, error);
    const std::time_t now = std::time(nullptr);
    std::string name = stamp(now, "%Y%m%d-%H%M%S") + "-" + operation;
    std::error_code ec;
    for (int n = 2; fs::exists(fs::path(root) / name, ec); ++n)
        name = stamp(now, "%Y%m%d-%H%M%S") + "-" + operation + "-" + std::to_string(n);
    const std::string partial = (fs::path(root) / ("." + name + ".partial")).string();
    const std::string folder = (fs::path(root) / name).string();

    BackupInfo info{folder, operation, {}};
    auto failed = [&](const std::string& what, int error) {
        removeFolder(partial);
        return backupError(what, error);
    };
    if (int error = files.createDirectory(partial)) return failed("文件夹 " + partial, error);
    std::string list = "时间\t" + stamp(now, "%Y-%m-%d %H:%M:%S") + "\n操作\t" + operation + "\n";
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
    std::unique_ptr<File> listFile;
    const std::string listPath = (fs::path(partial) / kList).string();
    int error = openFile(listPath, OpenAs::CreateNew, listFile);
    if (!error) error = listFile->writeAt(list.data(), list.size(), 0);
    if (!error) error = listFile->sync();
    listFile.reset();
    if (!error) error = files.syncDirectory(partial);
    if (!error) error = files.rename(partial, folder);
    if (!error) error = files.syncDirectory(root);
    if (error) return failed(name, error);
    (void)keepRecentBackups(root, now);
    return info;
}

Result<int> keepRecentBackups(const std::string& folder, std::time_t now) {
    std::vector<std::pair<std::time_t, std::string>> backups;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        if (name.starts_with(".") && name.ends_with(".partial")) {
            removeFolder(e.path().string()); // left by a backup that was cut short
            continue;
        }
        if (const std::time_t t = timeOfName(name); t >= 0 && e.is_directory())
            backups.emplace_back(t, e.path().string());
    }
    std::sort(backups.begin(), backups.end(), std::greater<>());
    int removed = 0;
    for (size_t i = kKeptAlways; i < backups.size(); ++i) {
        if (now - backups[i].first <= kKeptDays * 24 * 3600) continue;
        removeFolder(backups[i].second);
        ++removed;
    }
    if (removed)
        if (int error = fileSystem().syncDirectory(folder))
            return fail("无法整理备份文件夹：" + systemErrorText(error));
    return removed;
}

} // namespace xb::store
