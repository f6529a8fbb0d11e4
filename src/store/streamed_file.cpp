#include "streamed_file.h"

#include "file_io.h"

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace xb::store {
namespace {

// Writes of a few megabytes: few calls, and the disk writes one while the next is filled.
constexpr size_t kBuffer = 4 << 20;

void startWriteback(int fd, off_t from, off_t to) {
#ifdef __linux__
    if (to > from) ::sync_file_range(fd, from, to - from, SYNC_FILE_RANGE_WRITE);
#else
    (void)fd, (void)from, (void)to;            // the sync at the end writes everything
#endif
}

} // namespace

StreamedFile::StreamedFile(const std::string& path, off_t from)
    : fd_(::open(path.c_str(), O_WRONLY | O_CLOEXEC)), written_(from), writebackFrom_(from) {
    buffer_.reserve(kBuffer);
}

StreamedFile::~StreamedFile() {
    if (fd_ >= 0) ::close(fd_);
}

char* StreamedFile::extend(size_t size) {
    if (buffer_.size() + size > kBuffer) writeBuffer();
    const size_t at = buffer_.size();
    buffer_.resize(at + size);
    return buffer_.data() + at;
}

void StreamedFile::append(std::string_view bytes) {
    while (bytes.size() > kBuffer - buffer_.size()) {
        const size_t part = kBuffer - buffer_.size();
        buffer_.append(bytes.substr(0, part));
        bytes.remove_prefix(part);
        writeBuffer();
    }
    buffer_.append(bytes);
}

void StreamedFile::appendZeros(size_t size) {
    std::memset(extend(size), 0, size);
}

void StreamedFile::writeAt(off_t offset, std::string_view bytes) {
    if (ok() && !writeAll(fd_, bytes.data(), bytes.size(), offset)) failed_ = true;
}

void StreamedFile::writeBuffer() {
    if (ok() && !writeAll(fd_, buffer_.data(), buffer_.size(), written_)) failed_ = true;
    written_ += static_cast<off_t>(buffer_.size());
    buffer_.clear();
    if (ok()) startWriteback(fd_, writebackFrom_, written_);
    writebackFrom_ = written_;
}

void StreamedFile::finish() {
    if (!buffer_.empty()) writeBuffer();
}

bool StreamedFile::sync() {
    finish();
#ifdef __APPLE__
    const bool synced = ::fsync(fd_) == 0;
#else
    const bool synced = ::fdatasync(fd_) == 0; // size and placement included; times are not
#endif
    return ok() && synced;
}

} // namespace xb::store
