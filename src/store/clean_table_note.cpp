#include "clean_table_note.h"

#include "field.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace xb::store {
namespace {

constexpr const char* kNoteName = ".xbclean";
// File times are kept in coarse ticks; a write this close to the look may not show in them.
constexpr std::time_t kClockMargin = 2;

int64_t nanoseconds(const timespec& t) {
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

CleanTableNote::CleanTableNote(std::string directory)
    : path_((fs::path(directory) / kNoteName).string()) {
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name;
        FileState s;
        if (fields >> name >> s.size >> s.inode >> s.modified >> s.changed) clean_[name] = s;
    }
}

std::string CleanTableNote::keyOf(const std::string& path) {
    return lowerName(fs::path(path).filename().string());
}

bool CleanTableNote::stateOf(const std::string& path, FileState& state) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    state = {static_cast<uint64_t>(st.st_size), static_cast<uint64_t>(st.st_ino),
             nanoseconds(st.st_mtim), nanoseconds(st.st_ctim)};
    return true;
}

bool CleanTableNote::unchanged(const std::string& path) const {
    const auto noted = clean_.find(keyOf(path));
    FileState now;
    return noted != clean_.end() && stateOf(path, now) && now == noted->second;
}

void CleanTableNote::noteClean(const std::string& path, std::time_t lookedSince) {
    FileState now;
    const int64_t settled = static_cast<int64_t>(lookedSince - kClockMargin) * 1000000000;
    if (!stateOf(path, now) || now.modified >= settled || now.changed >= settled) {
        forget(path);
        return;
    }
    auto& noted = clean_[keyOf(path)];
    if (noted == now) return;
    noted = now;
    changed_ = true;
}

void CleanTableNote::forget(const std::string& path) {
    if (clean_.erase(keyOf(path)) > 0) changed_ = true;
}

void CleanTableNote::save() const {
    if (!changed_) return;
    const std::string temporary = path_ + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const auto& [name, s] : clean_)
            out << name << ' ' << s.size << ' ' << s.inode << ' ' << s.modified << ' ' << s.changed
                << '\n';
        if (!out) {
            std::error_code ec;
            fs::remove(temporary, ec);
            return;
        }
    }
    std::error_code ec;
    fs::rename(temporary, path_, ec);
}

} // namespace xb::store
