#include "memo_stream.h"

#include "file_io.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xb::store {
namespace {

constexpr off_t kBlock = 512;
// Far below the longest memo the memo file reads, so a memo taken from a window is always the
// whole memo.
constexpr size_t kWindow = 4 << 20;

} // namespace

MemoStream::MemoStream(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    struct stat st {};
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0) fileSize_ = st.st_size;
}

MemoStream::~MemoStream() {
    if (fd_ >= 0) ::close(fd_);
}

bool MemoStream::moveTo(off_t offset) {
    const off_t windowEnd = windowAt_ + static_cast<off_t>(window_.size());
    size_t kept = 0;
    if (offset >= windowAt_ && offset < windowEnd) {
        kept = static_cast<size_t>(windowEnd - offset);
        std::memmove(window_.data(), window_.data() + (offset - windowAt_), kept);
    }
    window_.resize(kWindow);
    const ssize_t n =
        readAt(fd_, window_.data() + kept, kWindow - kept, offset + static_cast<off_t>(kept));
    if (n < 0) {
        window_.clear();
        return false;
    }
    window_.resize(kept + static_cast<size_t>(n));
    windowAt_ = offset;
    return true;
}

std::optional<std::string_view> MemoStream::read(uint32_t block) {
    const off_t offset = static_cast<off_t>(block) * kBlock;
    if (fd_ < 0 || block == 0 || offset >= fileSize_ || offset < windowAt_) return std::nullopt;
    for (bool moved = false;; moved = true) {
        const off_t windowEnd = windowAt_ + static_cast<off_t>(window_.size());
        if (offset < windowEnd) {
            const std::string_view rest =
                std::string_view(window_).substr(static_cast<size_t>(offset - windowAt_));
            const size_t end = rest.find('\x1A');
            if (end != std::string_view::npos) return rest.substr(0, end);
            if (windowEnd >= fileSize_) return rest; // a last memo without its end mark
        }
        if (moved || !moveTo(offset)) return std::nullopt;
    }
}

} // namespace xb::store
