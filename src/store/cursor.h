// A cursor over rows of one table: the whole table (optionally filtered), the live result of a
// "select *" statement, or a cached result (field lists, distinct, max). Live cursors write
// every posted row straight to the table file; cached cursors are read-only.
#pragma once

#include "field.h"
#include "result.h"
#include "value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace xb::store {

class TableFile;

class Cursor {
  public:
    // A cursor over the live rows `recnos` of `table` (kept in that order).
    Cursor(std::shared_ptr<TableFile> table, std::vector<uint32_t> recnos, bool tableView);
    // A read-only cursor over computed rows.
    Cursor(FieldList fields, std::vector<std::vector<Value>> rows);
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    // Navigation. Positions are 0-based; eof() is true past the last row and on an empty cursor.
    void first();
    void next();
    void prior();
    void last();
    void moveBy(int rows);
    bool moveTo(int position);
    bool eof() const;
    bool bof() const;
    bool isEmpty() const { return count() == 0; }
    int count() const;
    int position() const; // -1 when empty
    // Physical record number (1-based) of the current row; 0 when the cursor is empty or cached.
    uint32_t recNo() const;

    // Fields of the rows.
    const FieldList& fields() const;
    int fieldCount() const { return fieldCount_; }
    int fieldIndex(const std::string& name) const; // -1 when there is no such field

    // Reading the current row (an edit buffer while editing). Unknown fields read as null.
    Value value(int index) const;
    Value value(const std::string& name) const;
    std::string text(const std::string& name) const; // trimmed of trailing blanks
    long long integer(const std::string& name) const;
    std::optional<Date> date(const std::string& name) const;
    bool isNull(int index) const;
    bool isNull(const std::string& name) const;
    std::vector<Value> row() const;

    // Editing. edit() starts changing the current row, append() a new empty row; set*() change
    // the buffer; post() writes it to the file at once; cancel() drops the buffer.
    bool editable() const;
    bool editing() const;
    Status edit();
    Status append();
    Status setValue(int index, const Value& value);
    Status setValue(const std::string& name, const Value& value);
    Status post();
    void cancel();
    // Deletes the current row; the cursor then stands on the row that followed it.
    Status remove();

    // Table views only. Equality tests of character fields against quoted values joined by
    // " and "; a value ending in "*" matches by prefix; an empty text shows all rows.
    Status setFilter(const std::string& expression);
    const std::string& filter() const;

    // Moves to the first row whose field equals the value (text compared trimmed).
    bool locate(const std::string& field, const Value& value);
    // Reads the table again: rows appended or deleted elsewhere show up.
    Status refresh();

  private:
    struct Impl;
    std::unique_ptr<Impl> d;
    int fieldCount_ = 0; // the fields of a cursor never change
};

} // namespace xb::store
