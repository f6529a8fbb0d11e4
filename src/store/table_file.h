// One open dBASE table file with its memo file. Cursors of one process share it, so every
// posted row is written to the file at once and seen by every cursor.
#pragma once

#include "database.h"
#include "field.h"
#include "file_system.h"
#include "memo_file.h"
#include "result.h"
#include "value.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace xb::store {

// Character-field index: trimmed GBK bytes to record numbers, kept in memory while the table is
// open and updated by every write.
using CharIndex = std::multimap<std::string, uint32_t, std::less<>>;

// New rows encoded for one append, with the memos they point at: TableFile::appendRows writes
// the memos, then the rows with the end marker, then the header's row count, so a process killed
// at any moment leaves a table whose header counts only complete rows.
class PendingRows {
  public:
    uint32_t count() const { return count_; }
    // Bytes held: rows and memos.
    size_t bytes() const { return rows_.size() + memoBytes_; }

  private:
    friend class TableFile;
    struct Memo {
        uint32_t row;
        int field;
        std::string bytes; // GBK
    };
    std::string rows_;
    std::vector<Memo> memos_;
    size_t memoBytes_ = 0;
    uint32_t count_ = 0;
};

class TableFile {
  public:
    ~TableFile();
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;

    static Result<std::shared_ptr<TableFile>> open(const std::string& path, OpenMode mode);
    // A new empty table in the dBASE III+ layout, with a memo file when a field needs one.
    // Refuses to replace an existing file.
    static Status create(const std::string& path, const FieldList& fields);

    const std::string& path() const { return path_; }
    std::string fileName() const;
    const FieldList& fields() const { return fields_; }
    int fieldIndex(const std::string& name) const;
    uint32_t recordCount() const { return count_; }
    OpenMode mode() const { return mode_; }
    // Why the table may only be read ("" when it is sound).
    const std::string& damage() const { return damage_; }
    // From now on the table is only read; every write is refused with `why`.
    void refuseWrites(const std::string& why);
    // What a refused write says.
    std::string readOnlyText() const;
    // Fails with readOnlyText() when the table is only read.
    Status writable() const;
    // Changes with every write, so cursors know when a row they hold may be stale.
    uint64_t version() const { return version_; }

    // Raw record bytes: the deletion flag, then the fields at their offsets.
    Status readRecord(uint32_t recno, std::string& raw) const;
    // The stored bytes of a memo field (GBK), without decoding.
    std::string memoBytes(std::string_view raw, int field) const;
    uint32_t headerLength() const { return headerLength_; }
    uint32_t recordLength() const { return recordLength_; }
    uint32_t fieldOffset(int field) const { return offsets_[static_cast<size_t>(field)]; }
    // True for the dBASE III+ layout this program writes itself, ten-digit memo pointers included.
    bool ownLayout() const;
    static bool isDeleted(std::string_view raw) { return !raw.empty() && raw[0] == '*'; }
    // The field's bytes in a raw record, trailing blanks removed.
    std::string_view fieldBytes(std::string_view raw, int field) const;
    Value decode(std::string_view raw, int field) const;
    // Whether the field is empty as decode(...).isNull() says, without reading whole memos.
    bool isNull(std::string_view raw, int field) const;
    std::vector<Value> decodeRow(std::string_view raw) const;

    // Reads the rows `recnos` (ascending) in file order, neighbours with one read, and calls
    // `visit` with each row's index in `recnos` and its bytes, deleted rows included.
    Status readRows(const std::vector<uint32_t>& recnos,
                    const std::function<void(size_t index, std::string_view raw)>& visit) const;
    // The memo block a memo field of the raw row points at; 0 for none.
    uint32_t memoBlock(std::string_view raw, int field) const;
    // Calls `visit` for every row not marked deleted, in stored order, reading in large blocks.
    // `visit` returns false to stop early.
    Status scan(const std::function<bool(uint32_t recno, std::string_view raw)>& visit) const;

    // Rewrites stored row `recno`: a field whose value is unchanged keeps its stored bytes.
    Status write(uint32_t recno, const std::vector<Value>& values);
    Result<uint32_t> append(const std::vector<Value>& values);
    // Appends a row of `source`, a table with the same fields, keeping every field's bytes and
    // moving each memo into this table's memo file.
    Result<uint32_t> appendFrom(const TableFile& source, std::string_view sourceRaw);

    // New rows gathered for appendRows(), each as append() or appendFrom() would make it.
    Status encodeNew(const std::vector<Value>& values, PendingRows& rows) const;
    // `texts` replace the values of character fields of the copied row, given by position.
    Status encodeCopy(const TableFile& source, std::string_view sourceRaw, PendingRows& rows,
                      const std::vector<std::pair<int, std::string>>& texts = {}) const;
    // A new row from values, where the character and memo fields given by position in `bytes`
    // (ascending) take those stored bytes (GBK) instead of their values: cut at the field's width
    // like a text, or put in the memo file. Texts read in the table's own code page go in
    // undecoded. The row is the one encodeNew() makes when those bytes are decoded.
    Status encodeWithBytes(const std::vector<Value>& values,
                           const std::vector<std::pair<int, std::string_view>>& bytes,
                           PendingRows& rows) const;
    // Appends the gathered rows (emptying `rows`); yields the first one's record number.
    Result<uint32_t> appendRows(PendingRows& rows);
    // The field's type letter as the file declares it.
    char fieldCode(int field) const { return codes_[static_cast<size_t>(field)]; }
    Status markDeleted(uint32_t recno);
    // Leaves the table without rows and its memo file without memos, both shrunk in place.
    Status removeAllRows();

    // The index of a character field, built on first use.
    Result<const CharIndex*> index(int field);

    // For a table written whole where nobody reads it before it is complete (a pack's new
    // table): its writes need no order on the disk, and whoever completes it syncs it once. The
    // syncs between writes cost a pack of 60,000 rows 0.33-2.4 s instead of 0.21-0.28 s here.
    void writeAsDraft() { draft_ = true; }

  private:
    TableFile() = default;
    Status readHeader();
    // Whether the header ends where the field descriptors' terminator says it does.
    bool headerEndsAt(std::string_view descriptors, size_t terminator) const;
    // Every row begins with a blank or "*"; any other byte means the rows are misplaced.
    Status checkFlags(const char* rows, uint32_t first, uint32_t count) const;
    Status forEachReadGroup(const std::vector<uint32_t>& recnos,
                            const std::function<Status(size_t from, size_t to, uint32_t first,
                                                       uint32_t rows)>& read) const;
    // Reads `rows` rows from record `first` on into `out`.
    Status readSpan(uint32_t first, uint32_t rows, char* out) const;
    // Encodes the row into `out` (the record's length); changed memos go to `memos` with the
    // pointer left blank, for the caller to place.
    Status encode(const std::vector<Value>& values, std::string_view old, char* out,
                  std::vector<PendingRows::Memo>& memos, uint32_t row) const;
    // Puts the memo's block number into its pointer field of `raw`.
    Status pointAt(char* raw, int field, uint32_t block) const;
    bool unchanged(std::string_view old, int field, const Value& value) const;
    static std::string memoText(const Value& value);
    Status writeHeader(bool withCount);
    // The sync that later writes depend on, and the closing sync of a write; a draft skips both.
    Status syncInOrder();
    Status syncWhenWritten();
    Error writeError(int error, const std::string& file) const;
    void indexRemove(std::string_view raw, uint32_t recno);
    void indexAdd(std::string_view raw, uint32_t recno);
    std::string damagedText(const std::string& what) const;
    void updateCache(uint32_t recno, size_t offset, std::string_view bytes);

    std::string path_;
    std::shared_ptr<File> file_;
    OpenMode mode_ = OpenMode::Shared;
    unsigned char dbfVersion_ = 0x03;
    unsigned char changed_[3] = {}; // the header's date of the last change, as stored
    uint32_t count_ = 0;
    uint32_t headerLength_ = 0;
    uint32_t recordLength_ = 0;
    bool readOnly_ = false; // damaged tables and other writers' layouts are only read
    bool draft_ = false;
    std::string damage_;
    FieldList fields_;
    std::vector<uint32_t> offsets_;
    std::vector<char> codes_;
    std::unordered_map<std::string, int> fieldByName_; // lower-case name to position
    std::unique_ptr<MemoFile> memo_;
    std::map<int, CharIndex> indexes_;
    uint64_t version_ = 0;
    // Rows read ahead for cursors that walk the table; writes update them in place.
    mutable std::string cache_;
    mutable uint32_t cacheFirst_ = 0;
    mutable uint32_t cacheRows_ = 0;
};

// Record numbers, ascending, of the live rows whose character field equals `key` (or starts
// with it), found through the field's index.
Result<std::vector<uint32_t>> indexedRows(TableFile& table, int field, const std::string& key,
                                          bool prefix);
// Record numbers of every live row, ascending.
Result<std::vector<uint32_t>> allRows(const TableFile& table);

// Bytes without trailing blanks and NULs: the comparison key of character fields.
std::string trimRight(std::string_view bytes);

} // namespace xb::store
