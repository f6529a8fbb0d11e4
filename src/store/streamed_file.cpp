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
// Buffers lie on page boundaries.
constexpr size_t kAlign = 4096;

void startWriteback(int fd, off_t from, off_t to) {
#ifdef __linux__
    if (to > from) ::sync_file_range(fd, from, to - from, SYNC_FILE_RANGE_WRITE);
#else
    (void)fd, (void)from, (void)to;            // the sync at the end writes everything
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
    fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
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

void StreamedFile::waitForWrite() {
    if (pending_.valid() && !pending_.get()) failed_ = true;
}

void StreamedFile::writeBuffer() {
    waitForWrite();
    if (!ok()) return;
    const size_t whole = used_;
    std::swap(buffer_, writing_);
    used_ = 0;
    const auto write = [fd = fd_, data = writing_.get(), size = whole, at = written_,
                        writeback = writebackFrom_] {
        const bool written = writeAll(fd, data, size, at);
        if (written) startWriteback(fd, writeback, at + off_t(size));
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
}

void StreamedFile::writeAt(off_t offset, std::string_view bytes) {
    finish();
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
