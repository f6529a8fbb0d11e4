// Appends many rows to one table with few writes. Rows are encoded into one buffer and their
// memos into another; each flush writes the memos, then the rows with the end marker, then the
// header's row count once. A process killed at any moment leaves a table whose header counts
// only complete rows: the rows of the batch being written are all there or none is.
//
// A batch also rewrites stored rows in place: they go to the file with the flush, after the
// appended rows, stored rows close to each other with one write.
#pragma once

#include "result.h"
#include "table_file.h"
#include "value.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xb::store {

class RowBatch {
  public:
    // Writes every `rowsPerWrite` rows on its own; nothing else may append to the table while
    // rows are gathered.
    explicit RowBatch(TableFile& table, uint32_t rowsPerWrite = 4096);
    // Rows still gathered are dropped: a batch is written by flush() or not at all. The table
    // forgets rewrites not written.
    ~RowBatch() { forgetRewrites(); }
    RowBatch(const RowBatch&) = delete;
    RowBatch& operator=(const RowBatch&) = delete;

    // A new row from values, as TableFile::append takes them.
    Status add(const std::vector<Value>& values);
    // A row of `source`, a table with the same fields, as TableFile::appendFrom takes it;
    // `texts` then replace the values of character fields, given by position.
    Status addFrom(const TableFile& source, std::string_view sourceRaw,
                   const std::vector<std::pair<int, std::string>>& texts = {});
    // A new row from values, where the character and memo fields given by position in `bytes`
    // (ascending) take those stored bytes (GBK) instead of their values: cut at the field's width
    // like a text, or put in the memo file. Texts read in the table's own code page go in
    // undecoded. The row is the one add() makes when those bytes are decoded into its values.
    Status addWithBytes(const std::vector<Value>& values,
                        const std::vector<std::pair<int, std::string_view>>& bytes);
    // Rewrites stored row `recno` from values as TableFile::write does: a field whose value is
    // unchanged keeps its stored bytes. The indexes the table holds show the new row at once; the
    // file, and what is read from it, gets it with the next flush.
    Status rewrite(uint32_t recno, const std::vector<Value>& values);
    // Writes the gathered rows, then the rewritten ones.
    Status flush();
    // Record numbers of the rows written so far by this batch, in the order they were added.
    const std::vector<uint32_t>& written() const { return written_; }
    uint32_t pending() const { return rows_; }

  private:
    Status added();
    Status counted();
    void beginMemos();
    Status writeRewrites();
    // After a failed rewrite the table's index and read-ahead may show rows the file lacks.
    void forgetRewrites();

    TableFile& table_;
    uint32_t rowsPerWrite_;
    std::string raw_;
    std::string memos_;
    std::string row_;
    uint32_t rows_ = 0;
    uint32_t memoBase_ = 0;
    std::vector<uint32_t> written_;
    std::map<uint32_t, std::string> rewrites_; // row number to its new bytes
};

} // namespace xb::store
