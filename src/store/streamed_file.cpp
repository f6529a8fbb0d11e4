#include "streamed_file.h"

#include "file_io.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace xb::store {
namespace {

// Writes of 16 MB: the disk gets several requests at once (it takes 4 MB a request here), and
// buffers untouched by a small table cost no memory.
constexpr size_t kBuffer = 16 << 20;
// Direct writes start, end and lie in memory on this boundary (a page; disks ask at most that).
constexpr size_t kAlign = 4096;

void startWriteback(int fd, off_t from, off_t to) {
#ifdef __linux__
    if (to > from) ::sync_file_range(fd, from, to - from, SYNC_FILE_RANGE_WRITE);
#else
    (void)fd, (void)from, (void)to; // the sync at the end writes everything
#endif
}

char* alignedBuffer() {
    void* p = nullptr;
    return ::posix_memalign(&p, kAlign, kBuffer) == 0 ? static_cast<char*>(p) : nullptr;
}

} // namespace

StreamedFile::StreamedFile(const std::string& path, off_t from)
    : buffer_(alignedBuffer(), std::free), writing_(alignedBuffer(), std::free), written_(from),
      writebackFrom_(from) {
#ifdef O_DIRECT
    // Direct writes start at the file's beginning: the header written already is taken in.
    const int reader = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (reader >= 0 && buffer_ && static_cast<size_t>(from) <= kBuffer &&
        readAt(reader, buffer_.get(), static_cast<size_t>(from), 0) == from) {
        fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_DIRECT);
        direct_ = fd_ >= 0;
        if (direct_) {
            used_ = static_cast<size_t>(from);
            written_ = writebackFrom_ = 0;
        }
    }
    if (reader >= 0) ::close(reader);
#endif
    // Without direct writes (tmpfs, some network folders, other systems): through the cache.
    if (fd_ < 0) fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (!buffer_ || !writing_) failed_ = true;
}

StreamedFile::~StreamedFile() {
    if (pending_.valid()) pending_.wait();
    if (fd_ >= 0) ::close(fd_);
}

char* StreamedFile::extend(size_t size) {
    if (used_ + size > kBuffer) writeBuffer();
    if (!ok() || used_ + size > kBuffer) {
        failed_ = true; // longer than the buffer: nothing the pack asks for
        return nullptr;
    }
    char* at = buffer_.get() + used_;
    used_ += size;
    return at;
}

void StreamedFile::append(std::string_view bytes) {
    while (!bytes.empty() && ok()) {
        if (used_ == kBuffer) writeBuffer();
        const size_t part = std::min(bytes.size(), kBuffer - used_);
        std::memcpy(buffer_.get() + used_, bytes.data(), part);
        used_ += part;
        bytes.remove_prefix(part);
    }
}

void StreamedFile::appendZeros(size_t size) {
    while (size > 0 && ok()) {
        if (used_ == kBuffer) writeBuffer();
        const size_t part = std::min(size, kBuffer - used_);
        std::memset(buffer_.get() + used_, 0, part);
        used_ += part;
        size -= part;
    }
}

bool StreamedFile::stopWritingDirectly() {
    if (!direct_) return true;
    direct_ = false;
#ifdef O_DIRECT
    const int flags = ::fcntl(fd_, F_GETFL);
    return flags != -1 && ::fcntl(fd_, F_SETFL, flags & ~O_DIRECT) == 0;
#else
    return true;
#endif
}

void StreamedFile::waitForWrite() {
    if (!pending_.valid()) return;
    if (pending_.get()) return;
    // A disk asking for another alignment refuses the direct write: the cache takes it.
    if (!direct_ || !stopWritingDirectly() ||
        !writeAll(fd_, writing_.get(), pendingSize_, pendingAt_))
        failed_ = true;
}

void StreamedFile::writeBuffer() {
    waitForWrite();
    if (!ok()) return;
    // Directly, whole aligned blocks are written and the rest waits for more.
    const size_t whole = direct_ ? used_ / kAlign * kAlign : used_;
    std::swap(buffer_, writing_);
    std::memcpy(buffer_.get(), writing_.get() + whole, used_ - whole);
    used_ -= whole;
    pendingSize_ = whole;
    pendingAt_ = written_;
    const auto write = [fd = fd_, data = writing_.get(), size = whole, at = written_,
                        writeback = !direct_ ? writebackFrom_ : -1] {
        const bool written = writeAll(fd, data, size, at);
        if (written && writeback >= 0) startWriteback(fd, writeback, at + off_t(size));
        return written;
    };
    try {
        pending_ = std::async(std::launch::async, write);
    } catch (const std::system_error&) {
        std::promise<bool> done; // no thread to be had: write here
        done.set_value(write());
        pending_ = done.get_future();
    }
    written_ += static_cast<off_t>(whole);
    writebackFrom_ = written_;
}

void StreamedFile::finish() {
    if (used_ > 0) writeBuffer();
    waitForWrite();
    // The last partial block, if any, goes through the cache.
    if (used_ > 0 && !stopWritingDirectly()) failed_ = true;
    if (used_ > 0) writeBuffer();
    waitForWrite();
}

void StreamedFile::writeAt(off_t offset, std::string_view bytes) {
    finish();
    if (!stopWritingDirectly()) failed_ = true;
    if (ok() && !writeAll(fd_, bytes.data(), bytes.size(), offset)) failed_ = true;
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
