#include "row_batch.h"

namespace xb::store {

RowBatch::RowBatch(TableFile& table, uint32_t rowsPerWrite)
    : table_(table), rowsPerWrite_(rowsPerWrite == 0 ? 1 : rowsPerWrite) {}

Status RowBatch::add(const std::vector<Value>& values) {
    return added(table_.encodeNew(values, rows_));
}

Status RowBatch::addFrom(const TableFile& source, std::string_view sourceRaw,
                         const std::vector<std::pair<int, std::string>>& texts) {
    return added(table_.encodeCopy(source, sourceRaw, rows_, texts));
}

Status RowBatch::addWithBytes(const std::vector<Value>& values,
                              const std::vector<std::pair<int, std::string_view>>& bytes) {
    return added(table_.encodeWithBytes(values, bytes, rows_));
}

Status RowBatch::added(Status encoded) {
    if (!encoded) return encoded;
    if (rows_.count() >= rowsPerWrite_) return flush();
    return {};
}

Status RowBatch::flush() {
    const uint32_t rows = rows_.count();
    if (rows == 0) return {};
    auto first = table_.appendRows(rows_);
    if (!first) return first.error();
    for (uint32_t i = 0; i < rows; ++i)
        written_.push_back(*first + i);
    return {};
}

} // namespace xb::store
