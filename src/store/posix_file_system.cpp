// The file layer on POSIX systems: the only place of the engine that calls the system for files.
#include "file_system.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xb::store {
namespace {

class PosixFile final : public File {
  public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { ::close(fd_); }

    int readAt(void* data, size_t size, uint64_t offset, size_t& got) override {
        got = 0;
        auto* p = static_cast<char*>(data);
        while (got < size) {
            const ssize_t n = ::pread(fd_, p + got, size - got, static_cast<off_t>(offset + got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return errno;
            if (n == 0) break;
            got += static_cast<size_t>(n);
        }
        return 0;
    }

    int writeAt(const void* data, size_t size, uint64_t offset) override {
        const auto* p = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t n = ::pwrite(fd_, p, size, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return errno;
            if (n == 0) return ENOSPC;
            p += n;
            size -= static_cast<size_t>(n);
            offset += static_cast<uint64_t>(n);
        }
        return 0;
    }

    int size(uint64_t& bytes) override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) return errno;
        bytes = static_cast<uint64_t>(st.st_size);
        return 0;
    }

    int truncate(uint64_t bytes) override {
        return ::ftruncate(fd_, static_cast<off_t>(bytes)) == 0 ? 0 : errno;
    }

    int sync() override { return ::fdatasync(fd_) == 0 ? 0 : errno; }

    int tryLock(LockKind kind) override {
        const int how = (kind == LockKind::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
        while (::flock(fd_, how) != 0) {
            if (errno != EINTR) return errno;
        }
        return 0;
    }

  private:
    int fd_;
};

class PosixFileSystem final : public FileSystem {
  public:
    int open(const std::string& path, OpenAs how, std::unique_ptr<File>& file) override {
        int flags = O_CLOEXEC;
        switch (how) {
        case OpenAs::Read:
            flags |= O_RDONLY;
            break;
        case OpenAs::ReadWrite:
            flags |= O_RDWR;
            break;
        case OpenAs::CreateNew:
            flags |= O_RDWR | O_CREAT | O_EXCL;
            break;
        case OpenAs::Replace:
            flags |= O_RDWR | O_CREAT | O_TRUNC;
            break;
        }
        const int fd = ::open(path.c_str(), flags, 0644);
        if (fd < 0) return errno;
        file = std::make_unique<PosixFile>(fd);
        return 0;
    }

    int rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }

    int remove(const std::string& path) override {
        if (::unlink(path.c_str()) == 0) return 0;
        if (errno == EISDIR || errno == EPERM) return ::rmdir(path.c_str()) == 0 ? 0 : errno;
        return errno;
    }

    int createDirectory(const std::string& path) override {
        return ::mkdir(path.c_str(), 0755) == 0 ? 0 : errno;
    }

    int copyPermissions(const std::string& from, const std::string& to) override {
        struct stat st {};
        if (::stat(from.c_str(), &st) != 0) return errno;
        return ::chmod(to.c_str(), st.st_mode & 07777) == 0 ? 0 : errno;
    }

    int syncDirectory(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return errno;
        const int error = ::fsync(fd) == 0 ? 0 : errno;
        ::close(fd);
        return error;
    }
};

FileSystem*& current() {
    static PosixFileSystem system;
    static FileSystem* layer = &system;
    return layer;
}

} // namespace

FileSystem& fileSystem() {
    return *current();
}

FileSystemOverride::FileSystemOverride(FileSystem& layer) : previous_(current()) {
    current() = &layer;
}

FileSystemOverride::~FileSystemOverride() {
    current() = previous_;
}

int openFile(const std::string& path, OpenAs how, std::unique_ptr<File>& file) {
    return fileSystem().open(path, how, file);
}

int currentProcessId() {
    return static_cast<int>(::getpid());
}

int readExactly(File& file, void* data, size_t size, uint64_t offset) {
    size_t got = 0;
    if (const int error = file.readAt(data, size, offset, got)) return error;
    return got == size ? 0 : ENODATA;
}

} // namespace xb::store
