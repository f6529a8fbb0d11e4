// The memo file beside a table: dBASE III (.dbt, text ended by 0x1A), dBASE IV (.dbt with a
// length header per memo) and FoxPro (.fpt) are read; dBASE III is written.
#pragma once

#include "file_system.h"
#include "result.h"

#include <cstdint>
#include <memory>
#include <string>

namespace xb::store {

enum class MemoStyle { DBase3, DBase4, FoxPro };

class MemoFile {
  public:
    ~MemoFile();
    MemoFile(const MemoFile&) = delete;
    MemoFile& operator=(const MemoFile&) = delete;

    static Result<std::unique_ptr<MemoFile>> open(const std::string& path, MemoStyle style,
                                                  bool writable);
    // An empty dBASE III memo file.
    static Status create(const std::string& path);

    const std::string& path() const { return path_; }
    // The bytes of the memo at `block`; empty when the block lies outside the file.
    std::string read(uint32_t block) const;
    // Whether the memo at `block` holds nothing but blanks and line breaks (or nothing); most
    // memos answer from their first block.
    bool isBlank(uint32_t block) const;
    // Appends the bytes as a new memo and yields its first block.
    Result<uint32_t> append(const std::string& bytes);
    // Places the bytes as the next memo of `pending`, memos gathered to be written together from
    // the next free block, and yields the block the memo will have.
    uint32_t stage(const std::string& bytes, std::string& pending) const;
    // Writes the memos of `pending` with one write, then moves the next free block past them.
    Status writeStaged(const std::string& pending);
    // Drops every memo: the file shrinks to its header.
    Status clear();
    // Returns when what was written is on the disk.
    Status sync();
    uint32_t nextFree() const { return nextFree_; }
    uint32_t blockSize() const { return blockSize_; }

  private:
    MemoFile(std::string path, std::unique_ptr<File> file, MemoStyle style, bool writable);
    Status readHeader();
    // Makes the bytes at `at` part of the bytes read ahead; false when nothing is there.
    bool readAhead(int64_t at, bool continuing) const;

    std::string path_;
    std::shared_ptr<File> file_;
    MemoStyle style_;
    bool writable_;
    uint32_t blockSize_ = 512;
    uint32_t nextFree_ = 1;
    mutable int64_t fileSize_ = 0; // known size; memos are only ever appended
    // Bytes read ahead: a scan reads the memos of consecutive rows, which lie one after another.
    mutable std::string ahead_;
    mutable int64_t aheadAt_ = -1;
};

} // namespace xb::store
