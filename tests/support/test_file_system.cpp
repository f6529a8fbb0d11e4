#include "support/test_file_system.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace xb::test {
namespace {

std::string normal(const std::string& path) {
    std::string p = fs::absolute(path).lexically_normal().string();
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

std::string folderOf(const std::string& path) {
    return fs::path(normal(path)).parent_path().string();
}

uint64_t inodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<uint64_t>(st.st_ino) : 0;
}

class TestFile final : public store::File {
  public:
    TestFile(TestFileSystem& layer, std::unique_ptr<store::File> real, std::string path,
             uint64_t inode)
        : layer_(layer), real_(std::move(real)), path_(std::move(path)), inode_(inode) {}

    int readAt(void* data, size_t size, uint64_t offset, size_t& got) override {
        got = 0;
        if (const int error = layer_.check(Call::Read, path_)) return error;
        return real_->readAt(data, size, offset, got);
    }

    int writeAt(const void* data, size_t size, uint64_t offset) override {
        if (const int error = layer_.check(Call::Write, path_)) return error;
        uint64_t oldSize = 0;
        if (const int error = real_->size(oldSize)) return error;
        if (offset + size > oldSize)
            if (const int error = layer_.grow()) return error;
        std::string before;
        if (offset < oldSize) {
            before.resize(static_cast<size_t>(std::min<uint64_t>(size, oldSize - offset)));
            size_t got = 0;
            if (const int error = real_->readAt(before.data(), before.size(), offset, got))
                return error;
            before.resize(got);
        }
        if (const int error = real_->writeAt(data, size, offset)) return error;
        layer_.wrote(inode_, offset, std::move(before),
                     std::string(static_cast<const char*>(data), size), oldSize);
        return 0;
    }

    int size(uint64_t& bytes) override {
        if (const int error = layer_.check(Call::Size, path_)) return error;
        return real_->size(bytes);
    }

    int truncate(uint64_t bytes) override {
        if (const int error = layer_.check(Call::Truncate, path_)) return error;
        uint64_t oldSize = 0;
        if (const int error = real_->size(oldSize)) return error;
        std::string before;
        if (bytes < oldSize) {
            before.resize(static_cast<size_t>(oldSize - bytes));
            size_t got = 0;
            if (const int error = real_->readAt(before.data(), before.size(), bytes, got))
                return error;
        }
        if (const int error = real_->truncate(bytes)) return error;
        // A truncation is kept as a write of nothing at the new end.
        layer_.wrote(inode_, bytes, std::move(before), {}, oldSize);
        return 0;
    }

    int sync() override {
        if (const int error = layer_.check(Call::Sync, path_)) return error;
        if (const int error = real_->sync()) return error;
        layer_.synced(inode_);
        return 0;
    }

    int tryLock(store::LockKind kind) override {
        if (const int error = layer_.check(Call::Lock, path_)) return error;
        return real_->tryLock(kind);
    }

  private:
    TestFileSystem& layer_;
    std::unique_ptr<store::File> real_;
    std::string path_;
    uint64_t inode_;
};

} // namespace

TestFileSystem::TestFileSystem()
    : real_(store::fileSystem()), counts_(static_cast<size_t>(Call::SyncDirectory) + 1, 0) {
    saves_ = (fs::temp_directory_path() / ("xunbao-power-" + std::to_string(::getpid()) + "-" +
                                           std::to_string(reinterpret_cast<uintptr_t>(this))))
                 .string();
    fs::create_directories(saves_);
}

TestFileSystem::~TestFileSystem() {
    handles_.clear();
    std::error_code ec;
    fs::remove_all(saves_, ec);
}

int TestFileSystem::check(Call call, const std::string& path) {
    ++counts_[static_cast<size_t>(call)];
    if (dead_) return EIO;
    if ((call == Call::Sync || call == Call::SyncDirectory) && dieAt_ > 0 && syncs() == dieAt_) {
        dead_ = true;
        return EIO;
    }
    return fault ? fault(call, path) : 0;
}

int TestFileSystem::grow() {
    if (roomLeft_ == 0) return ENOSPC;
    if (roomLeft_ > 0) --roomLeft_;
    ++growing_;
    return 0;
}

store::File* TestFileSystem::handleOf(uint64_t inode) {
    auto it = handles_.find(inode);
    return it == handles_.end() ? nullptr : it->second.get();
}

void TestFileSystem::wrote(uint64_t inode, uint64_t offset, std::string before, std::string after,
                           uint64_t oldSize) {
    Change change{Change::Write};
    change.inode = inode;
    change.offset = offset;
    change.before = std::move(before);
    change.after = std::move(after);
    change.oldSize = oldSize;
    changes_.push_back(std::move(change));
}

void TestFileSystem::synced(uint64_t inode) {
    for (Change& change : changes_)
        if (change.kind == Change::Write && change.inode == inode) change.durable = true;
}

int TestFileSystem::open(const std::string& path, store::OpenAs how,
                         std::unique_ptr<store::File>& file) {
    if (const int error = check(Call::Open, path)) return error;
    if (how != store::OpenAs::Read)
        if (const int error = check(Call::OpenToWrite, path)) return error;
    std::error_code ec;
    const bool existed = fs::exists(path, ec);
    const uint64_t oldSize = existed ? fs::file_size(path, ec) : 0;
    std::string before;
    if (existed && how == store::OpenAs::Replace && oldSize > 0) {
        // Emptying a file is a write that a power cut may undo.
        std::unique_ptr<store::File> old;
        if (real_.open(path, store::OpenAs::Read, old) == 0) {
            before.resize(static_cast<size_t>(oldSize));
            size_t got = 0;
            (void)old->readAt(before.data(), before.size(), 0, got);
        }
    }
    std::unique_ptr<store::File> real;
    if (const int error = real_.open(path, how, real)) return error;
    const uint64_t inode = inodeOf(path);
    if (!handleOf(inode)) {
        std::unique_ptr<store::File> kept;
        if (real_.open(path, store::OpenAs::ReadWrite, kept) != 0)
            (void)real_.open(path, store::OpenAs::Read, kept);
        handles_[inode] = std::move(kept);
    }
    if (!existed) {
        Change change{Change::Create};
        change.inode = inode;
        change.path = normal(path);
        changes_.push_back(std::move(change));
    } else if (how == store::OpenAs::Replace && oldSize > 0) {
        wrote(inode, 0, std::move(before), {}, oldSize);
    }
    file = std::make_unique<TestFile>(*this, std::move(real), normal(path), inode);
    return 0;
}

std::string TestFileSystem::saveCopy(const std::string& path) {
    // A second name of the same file, so that a file brought back is the very file it was and
    // undoing later writes to it still reaches it.
    const std::string saved = saves_ + "/" + std::to_string(++copies_);
    return ::link(path.c_str(), saved.c_str()) == 0 ? saved : std::string();
}

int TestFileSystem::rename(const std::string& from, const std::string& to) {
    if (const int error = check(Call::Rename, from)) return error;
    std::error_code ec;
    Change change{Change::Rename};
    change.path = normal(from);
    change.to = normal(to);
    if (fs::is_regular_file(to, ec)) change.saved = saveCopy(to);
    if (const int error = real_.rename(from, to)) return error;
    changes_.push_back(std::move(change));
    return 0;
}

int TestFileSystem::remove(const std::string& path) {
    if (const int error = check(Call::Remove, path)) return error;
    std::error_code ec;
    Change change{Change::Remove};
    change.path = normal(path);
    if (fs::is_regular_file(path, ec)) change.saved = saveCopy(path);
    if (const int error = real_.remove(path)) return error;
    changes_.push_back(std::move(change));
    return 0;
}

int TestFileSystem::createDirectory(const std::string& path) {
    if (const int error = check(Call::CreateDirectory, path)) return error;
    if (const int error = real_.createDirectory(path)) return error;
    Change change{Change::MakeFolder};
    change.path = normal(path);
    changes_.push_back(std::move(change));
    return 0;
}

int TestFileSystem::syncDirectory(const std::string& path) {
    if (const int error = check(Call::SyncDirectory, path)) return error;
    if (const int error = real_.syncDirectory(path)) return error;
    const std::string folder = normal(path);
    for (Change& change : changes_)
        if (change.kind != Change::Write && (folderOf(change.path) == folder ||
                                             (!change.to.empty() && folderOf(change.to) == folder)))
            change.durable = true;
    return 0;
}

void TestFileSystem::undo(const Change& change) {
    std::error_code ec;
    switch (change.kind) {
    case Change::Write:
        if (store::File* file = handleOf(change.inode)) {
            if (!change.before.empty())
                (void)file->writeAt(change.before.data(), change.before.size(), change.offset);
            (void)file->truncate(change.oldSize);
        }
        break;
    case Change::Create:
        if (inodeOf(change.path) == change.inode) fs::remove(change.path, ec);
        break;
    case Change::MakeFolder:
        fs::remove_all(change.path, ec);
        break;
    case Change::Rename:
        fs::rename(change.to, change.path, ec);
        if (!change.saved.empty()) fs::create_hard_link(change.saved, change.to, ec);
        break;
    case Change::Remove:
        if (!change.saved.empty())
            fs::create_hard_link(change.saved, change.path, ec);
        else
            fs::create_directory(change.path, ec);
        break;
    }
}

void TestFileSystem::redo(const Change& change) {
    std::error_code ec;
    switch (change.kind) {
    case Change::Write:
        if (store::File* file = handleOf(change.inode)) {
            if (change.after.empty())
                (void)file->truncate(change.offset);
            else
                (void)file->writeAt(change.after.data(), change.after.size(), change.offset);
        }
        break;
    case Change::Create:
        // The name comes back for the very file it named.
        if (!change.saved.empty()) fs::create_hard_link(change.saved, change.path, ec);
        break;
    case Change::MakeFolder:
        fs::create_directory(change.path, ec);
        break;
    case Change::Rename:
        fs::rename(change.path, change.to, ec);
        break;
    case Change::Remove:
        fs::remove(change.path, ec);
        break;
    }
}

void TestFileSystem::cutPower(std::mt19937* rng) {
    // Names created and never synced into their folder need a second name to come back by.
    for (Change& change : changes_)
        if (change.kind == Change::Create && !change.durable &&
            inodeOf(change.path) == change.inode)
            change.saved = saveCopy(change.path);
    std::vector<const Change*> lost;
    for (const Change& change : changes_)
        if (!change.durable) lost.push_back(&change);
    for (auto it = lost.rbegin(); it != lost.rend(); ++it)
        undo(**it);
    if (rng) {
        // What the disk kept after all: a random part of the writes, the name changes before a
        // random point, done again in their order.
        size_t names = 0;
        for (const Change* change : lost)
            if (change->kind != Change::Write) ++names;
        const size_t namesKept = std::uniform_int_distribution<size_t>(0, names)(*rng);
        size_t namesSeen = 0;
        for (const Change* change : lost) {
            if (change->kind == Change::Write) {
                if (std::bernoulli_distribution(0.5)(*rng)) redo(*change);
            } else if (namesSeen++ < namesKept) {
                redo(*change);
            }
        }
    }
    changes_.clear();
    dead_ = false;
    dieAt_ = 0;
}

} // namespace xb::test
