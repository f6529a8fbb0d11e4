// A file layer for tests over the real files of a test's folder: it fails any call a test asks
// it to (a full disk, a read error, a refused rename), and it cuts the power: what was not synced
// when the power goes is undone (all of it, or a random part of it, as a disk may keep some
// writes and lose others), names created, renamed or removed in a folder that was not synced
// with them included.
#pragma once

#include "store/file_system.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace xb::test {

enum class Call {
    Open,
    OpenToWrite, // an open for writing is checked as this too
    Read,
    Write,
    Size,
    Truncate,
    Sync,
    Lock,
    Rename,
    Remove,
    CreateDirectory,
    SyncDirectory
};

class TestFileSystem final : public store::FileSystem {
  public:
    // Works over the layer in place when it is made (the operating system's).
    TestFileSystem();
    ~TestFileSystem() override;

    // Decides every call before it is made: 0 lets it through, an error number fails it.
    std::function<int(Call call, const std::string& path)> fault;
    // How many calls of the kind were made (failed ones included).
    int count(Call call) const { return counts_[static_cast<size_t>(call)]; }

    // The disk fills up after `n` more writes that make a file longer: from then on every such
    // write fails with ENOSPC (writes within a file's length still go in, as on a real disk),
    // until freeDisk(). Yields the growing writes made so far.
    void fillDiskAfter(int n) { roomLeft_ = n; }
    void freeDisk() { roomLeft_ = -1; }
    int growingWrites() const { return growing_; }

    // The power goes at the `n`th sync (of a file or a folder, counted from 1): that sync and
    // every call after it fail with EIO and change nothing. cutPower() then undoes what was not
    // on the disk.
    void dieAtSync(int n) { dieAt_ = n; }
    bool died() const { return dead_; }
    // Undoes every write and name change not synced; with `rng`, only a random part of them (a
    // random part of the writes, and the name changes after a random point: a file system keeps
    // its names in order). Then works on as a disk just powered up.
    void cutPower(std::mt19937* rng = nullptr);
    // Syncs seen so far, of files and folders.
    int syncs() const { return count(Call::Sync) + count(Call::SyncDirectory); }

    int open(const std::string& path, store::OpenAs how,
             std::unique_ptr<store::File>& file) override;
    int rename(const std::string& from, const std::string& to) override;
    int remove(const std::string& path) override;
    int createDirectory(const std::string& path) override;
    int syncDirectory(const std::string& path) override;
    int copyPermissions(const std::string& from, const std::string& to) override {
        return real_.copyPermissions(from, to);
    }

    // For the files this layer opens.
    int check(Call call, const std::string& path);
    // For a write that makes a file longer.
    int grow();
    void wrote(uint64_t inode, uint64_t offset, std::string before, std::string after,
               uint64_t oldSize);
    void synced(uint64_t inode);

  private:
    struct Change {
        enum Kind { Write, Create, MakeFolder, Rename, Remove } kind;
        uint64_t inode = 0;
        uint64_t offset = 0, oldSize = 0;
        std::string before, after; // bytes of a write
        std::string path, to;      // names; the folder of `path` decides when it is durable
        std::string saved;         // a copy of the file a rename replaced or a removal took
        bool durable = false;
    };
    void undo(const Change& change);
    void redo(const Change& change);
    std::string saveCopy(const std::string& path);
    store::File* handleOf(uint64_t inode);

    store::FileSystem& real_;
    std::vector<int> counts_;
    std::vector<Change> changes_;
    std::map<uint64_t, std::unique_ptr<store::File>> handles_; // inode to a handle kept for undo
    std::string saves_;                                        // a folder for copies
    int dieAt_ = 0;
    int roomLeft_ = -1; // growing writes the disk still takes; -1 for no end
    int growing_ = 0;
    bool dead_ = false;
    int copies_ = 0;
};

} // namespace xb::test
