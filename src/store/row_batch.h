// Appends many rows to one table with few writes: rows are gathered and written together every
// `rowsPerWrite` rows and by flush(), each time as one TableFile::appendRows (memos, rows, then
// the header's count), so a process killed at any moment leaves the rows of the group being
// written all there or none.
#pragma once

#include "result.h"
#include "table_file.h"
#include "value.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xb::store {

class RowBatch {
  public:
    // Nothing else may append to the table while rows are gathered.
    explicit RowBatch(TableFile& table, uint32_t rowsPerWrite = 4096);
    // Rows still gathered are dropped: a batch is written by flush() or not at all.
    ~RowBatch() = default;
    RowBatch(const RowBatch&) = delete;
    RowBatch& operator=(const RowBatch&) = delete;

    // A new row from values, as TableFile::append takes them.
    Status add(const std::vector<Value>& values);
    // A row of `source` as TableFile::encodeCopy takes it.
    Status addFrom(const TableFile& source, std::string_view sourceRaw,
                   const std::vector<std::pair<int, std::string>>& texts = {});
    // A new row as TableFile::encodeWithBytes takes it.
    Status addWithBytes(const std::vector<Value>& values,
                        const std::vector<std::pair<int, std::string_view>>& bytes);
    // Writes the gathered rows.
    Status flush();
    // Record numbers of the rows written so far by this batch, in the order they were added.
    const std::vector<uint32_t>& written() const { return written_; }
    uint32_t pending() const { return rows_.count(); }

  private:
    Status added(Status encoded);

    TableFile& table_;
    uint32_t rowsPerWrite_;
    PendingRows rows_;
    std::vector<uint32_t> written_;
};

} // namespace xb::store
