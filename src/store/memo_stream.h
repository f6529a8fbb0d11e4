// The memos of a dBASE III memo file read front to back in large windows. A pack reads the memos
// of consecutive rows, and these usually lie one after another in the file, so most memos come
// out of a window already read; the others are left to the memo file's own reading.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace xb::store {

class MemoStream {
  public:
    explicit MemoStream(const std::string& path);
    ~MemoStream();
    MemoStream(const MemoStream&) = delete;
    MemoStream& operator=(const MemoStream&) = delete;

    // The bytes of the memo at `block` up to its end mark, valid until the next call; nothing
    // when the memo lies before the window (memos out of order), does not fit in a window, or
    // lies outside the file: the caller then reads it through the table.
    std::optional<std::string_view> read(uint32_t block);

  private:
    // Makes the window start at `offset`, keeping what it already holds from there on.
    bool moveTo(off_t offset);

    int fd_ = -1;
    off_t fileSize_ = 0;
    std::string window_;
    off_t windowAt_ = 0;
};

} // namespace xb::store
