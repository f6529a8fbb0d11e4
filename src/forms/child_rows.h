// The rows of a list page: the child rows of one record (or one organization), read with a
// statement whose values are bound, never spliced into its text. Each row is addressed by its
// physical record, so rows that carry duplicate or missing numbers (imports can write such rows)
// are still changed and deleted one at a time.
#pragma once

#include "store/database.h"
#include "store/row_values.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace xb::forms {

using store::FieldValues;

// Writes the fields an entry dialog shows (through its binder) into a row in edit state; the
// row's own numbers and keys are the rules' to write.
using RowWriter = std::function<store::Status(store::Cursor&)>;
// `entry`, then the text it wrote into `field` without surrounding blanks.
RowWriter trimming(RowWriter entry, const char* field);
// Writes `entry`, then `more`, into the row (appended or in edit state) and posts it; a refused
// value cancels the row.
store::Status writeEntry(store::Cursor& row, const RowWriter& entry, const FieldValues& more = {});
// Rewrites the row stored in physical record `record` of `table` likewise; `gone` is the
// failure when it holds none.
store::Status rewriteEntry(store::Database& db, const std::string& table, uint32_t record,
                           const RowWriter& entry, const FieldValues& more, const char* gone);

// Moves the cursor to the row stored in physical record `record`; false when it holds none.
bool moveToRecord(store::Cursor& cursor, uint32_t record);

class ChildRows {
  public:
    // `table` receives appended rows; `sql` (with `params`) lists the rows in their shown order.
    ChildRows(store::Database& db, std::string table);

    void select(std::string sql, store::Params params);
    // Reads the rows again.
    store::Status reload();
    // The listed rows: position i is row i of the list.
    store::Cursor* rows() { return rows_.get(); }
    int count() const;
    // The physical record of row `row`; 0 when there is no such row.
    uint32_t recordOf(int row) const;
    // The row showing a physical record; -1 when it is not listed.
    int rowOf(uint32_t record) const;

    // Appends a row; yields its physical record.
    store::Result<uint32_t> append(const FieldValues& values);
    // Writes the values into row `row`; a refused value cancels the edit.
    store::Status update(int row, const FieldValues& values);
    store::Status remove(int row);
    // Gives the rows the numbers 1 to n in their listed order, in `field` (text or number
    // field); only rows whose number differs are written.
    store::Status renumber(const std::string& field);
    // Whether the numbers in `field` are exactly 1 to n in the listed order.
    bool numberedInOrder(const std::string& field) const;
    // The largest number in `field` over the listed rows; 0 for an empty list.
    long long largestNumber(const std::string& field) const;

  private:
    store::Database& db_;
    std::string table_;
    std::string sql_;
    store::Params params_;
    std::unique_ptr<store::Cursor> rows_;
};

} // namespace xb::forms
