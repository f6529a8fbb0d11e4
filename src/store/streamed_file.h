// A file written front to back from one large buffer, as a pack writes its new table and memo
// file. Each full buffer is written on a thread of its own while the next one is filled, and its
// writeback is started at once, so the sync at the end has little left to wait for. The file
// goes through the page cache: a table read right after its pack (every start) is read from
// memory, not from the disk.
#pragma once

#include <cstddef>
#include <future>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace xb::store {

class StreamedFile {
  public:
    // Continues the existing file at `path` (its header written already) from `from` on.
    StreamedFile(const std::string& path, off_t from);
    ~StreamedFile();
    StreamedFile(const StreamedFile&) = delete;
    StreamedFile& operator=(const StreamedFile&) = delete;

    // False once the file could not be opened or a write failed; every later call does nothing.
    bool ok() const { return fd_ >= 0 && !failed_; }
    // `size` bytes at the end for the caller to fill; valid until the next call.
    char* extend(size_t size);
    void append(std::string_view bytes);
    void appendZeros(size_t size);
    // Writes what is buffered; through the cache, its writeback is started.
    void finish();
    // Overwrites bytes already written (a header field); finishes the streamed part first.
    void writeAt(off_t offset, std::string_view bytes);
    // Waits until everything written is on the disk.
    bool sync();

  private:
    void writeBuffer();
    // Waits for the write under way.
    void waitForWrite();

    int fd_ = -1;
    bool failed_ = false;
    using Buffer = std::unique_ptr<char, void (*)(void*)>;
    Buffer buffer_;  // being filled
    Buffer writing_; // being written by `pending_`
    std::future<bool> pending_;
    size_t used_ = 0; // bytes in the buffer, which holds the file from written_ on
    off_t written_ = 0;
    off_t writebackFrom_ = 0;
};

} // namespace xb::store
