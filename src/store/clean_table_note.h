// The tables an earlier start found without deleted rows, each with the state of its file then
// (size, change times, inode). A table whose file is still in that state needs no look through
// its rows at this start: every write, ours or another program's, changes the times, and a pack
// replaces the file. The note is only a shortcut; a lost or damaged note means the tables are
// looked through again. It lives beside the tables as ".xbclean"; other programs ignore it.
#pragma once

#include <cstdint>
#include <ctime>
#include <map>
#include <string>

namespace xb::store {

class CleanTableNote {
  public:
    // Reads the note of the data directory, if there is one.
    explicit CleanTableNote(std::string directory);

    // Whether the table file at `path` is in the state it was noted clean in.
    bool unchanged(const std::string& path) const;
    // Notes the table at `path` as clean, as its file is now. A file changed after `lookedSince`
    // (or so shortly before that the file system's clock may not tell) is not noted: it may have
    // changed while it was looked through.
    void noteClean(const std::string& path, std::time_t lookedSince);
    // Forgets the table at `path`.
    void forget(const std::string& path);
    // Writes the note back when it changed; a note that cannot be written is simply not kept.
    void save() const;

  private:
    struct FileState {
        uint64_t size = 0, inode = 0;
        int64_t modified = 0, changed = 0; // nanoseconds
        bool operator==(const FileState&) const = default;
    };
    static bool stateOf(const std::string& path, FileState& state);
    static std::string keyOf(const std::string& path);

    std::string path_;
    std::map<std::string, FileState> clean_;
    bool changed_ = false;
};

} // namespace xb::store
