#include "file_io.h"

#include <unistd.h>

namespace xb::store {

bool writeAll(int fd, const void* data, size_t size, off_t offset) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, p, size, offset);
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
        offset += n;
    }
    return true;
}

ssize_t readAt(int fd, void* data, size_t size, off_t offset) {
    size_t done = 0;
    auto* p = static_cast<char*>(data);
    while (done < size) {
        const ssize_t n = ::pread(fd, p + done, size - done, offset + static_cast<off_t>(done));
        if (n < 0) return -1;
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

} // namespace xb::store
