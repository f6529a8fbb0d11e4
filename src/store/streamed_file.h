// A file written front to back from one large buffer, as a pack writes its new table and memo
// file. Writeback to the disk is started every few megabytes, so the sync at the end waits only
// for the last of them instead of the whole file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace xb::store {

class StreamedFile {
  public:
    // Writes into the existing file at `path` from `from` on.
    StreamedFile(const std::string& path, off_t from);
    ~StreamedFile();
    StreamedFile(const StreamedFile&) = delete;
    StreamedFile& operator=(const StreamedFile&) = delete;

    // False once the file could not be opened or a write failed; every later call does nothing.
    bool ok() const { return fd_ >= 0 && !failed_; }
    // Where the next byte goes.
    off_t end() const { return written_ + static_cast<off_t>(buffer_.size()); }
    // `size` bytes at the end for the caller to fill; valid until the next call.
    char* extend(size_t size);
    void append(std::string_view bytes);
    void appendZeros(size_t size);
    // Writes bytes before the streamed part (a header field), at once.
    void writeAt(off_t offset, std::string_view bytes);
    // Writes what is buffered and starts its writeback.
    void finish();
    // Waits until everything written is on the disk.
    bool sync();

  private:
    void writeBuffer();

    int fd_ = -1;
    bool failed_ = false;
    std::string buffer_;
    off_t written_ = 0;       // bytes of the file written so far
    off_t writebackFrom_ = 0; // first byte whose writeback has not been started
};

} // namespace xb::store
