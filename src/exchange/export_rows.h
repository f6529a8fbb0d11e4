// Finding and writing the table rows of an exchange package. Rows are addressed by their
// physical row number, so each file lists its rows in the table's stored order, as a query
// over the table without an ordering returns them.
#pragma once

#include "exchange_writer.h"
#include "store/database.h"
#include "store/result.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace xb::store {
class TableFile;
}

namespace xb::exchange {

// The record numbers (ITEM_4, trimmed) of the achievement rows at `rows`, in that order. A row
// that has been deleted since it was listed is an error.
store::Result<std::vector<std::string>> recordNumbersAt(const store::TableFile& kjcg,
                                                        const std::vector<uint32_t>& rows);

// The physical rows, ascending, of the rows of `table` whose ITEM_4 is one of `numbers`. Each
// number is looked up through the field's index, so the cost follows the rows found, not the
// size of the table. Empty numbers select nothing.
store::Result<std::vector<uint32_t>> rowsWithRecordNumbers(store::Database& db,
                                                           const std::string& table,
                                                           const std::vector<std::string>& numbers);

// Writes the rows at `rows` of `table`, in that order, to the exchange file `path` by `rule`.
// `afterRow` is called after each row written.
store::Status writeTableRows(const store::TableFile& table, const std::vector<uint32_t>& rows,
                             ColumnRule rule, const std::filesystem::path& path,
                             const std::function<void()>& afterRow = {});

} // namespace xb::exchange
