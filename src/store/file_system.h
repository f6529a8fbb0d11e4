// Every call the engine makes to the operating system for files goes through this interface: one
// implementation per operating system (POSIX today), and a test implementation that fails calls
// and cuts the power. Errors are the system's error numbers (errno values; another system's
// layer maps its codes onto them), 0 for success; systemErrorText() words them for users.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace xb::store {

enum class OpenAs {
    Read,      // an existing file, read only
    ReadWrite, // an existing file
    CreateNew, // a new file, read and written; refused when the name exists
    Replace,   // a new empty file, an existing one of that name emptied first
};

enum class LockKind { Shared, Exclusive };

class File {
  public:
    virtual ~File() = default;
    // Reads up to `size` bytes at `offset` into `data`; `got` is fewer only at the file's end.
    virtual int readAt(void* data, size_t size, uint64_t offset, size_t& got) = 0;
    // Writes every byte at `offset`, or fails.
    virtual int writeAt(const void* data, size_t size, uint64_t offset) = 0;
    virtual int size(uint64_t& bytes) = 0;
    virtual int truncate(uint64_t bytes) = 0;
    // Returns when what was written is on the disk.
    virtual int sync() = 0;
    // Takes the lock without waiting (EWOULDBLOCK while another process holds a conflicting one);
    // the system releases it when the file is closed or the process ends.
    virtual int tryLock(LockKind kind) = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    virtual int open(const std::string& path, OpenAs how, std::unique_ptr<File>& file) = 0;
    // Replaces `to` by `from` in one step.
    virtual int rename(const std::string& from, const std::string& to) = 0;
    virtual int remove(const std::string& path) = 0;
    virtual int createDirectory(const std::string& path) = 0;
    // Gives `to` the permission bits of `from` (who may read and write it).
    virtual int copyPermissions(const std::string& from, const std::string& to) = 0;
    // Returns when the names in the folder (files created, renamed, removed) are on the disk.
    virtual int syncDirectory(const std::string& path) = 0;
};

// The layer the engine uses: the operating system's, unless a test put its own in place.
FileSystem& fileSystem();

// Puts `layer` in place of the operating system's for the engine while this lives.
class FileSystemOverride {
  public:
    explicit FileSystemOverride(FileSystem& layer);
    ~FileSystemOverride();
    FileSystemOverride(const FileSystemOverride&) = delete;
    FileSystemOverride& operator=(const FileSystemOverride&) = delete;

  private:
    FileSystem* previous_;
};

// Convenience over fileSystem() for the engine's callers.
int openFile(const std::string& path, OpenAs how, std::unique_ptr<File>& file);
// The number the operating system knows this process by.
int currentProcessId();
// Reads exactly `size` bytes at `offset`; ENODATA when the file ends before.
int readExactly(File& file, void* data, size_t size, uint64_t offset);

} // namespace xb::store
