// The tables of the data directory, each declared once with its fields in stored order.
// Staging tables and the completer pool repeat their live table's fields by construction,
// since rows are copied between them by position.
#pragma once

#include "field.h"

#include <string>
#include <vector>

namespace xb::store {

struct TableLayout {
    std::string name;     // table name as SQL and the pages use it
    std::string fileName; // file name in the data directory
    FieldList fields;
};

// Every table of the data directory, live tables first.
const std::vector<TableLayout>& allLayouts();
// The layout of a table by name (case-insensitive, with or without ".dbf"); null when unknown.
const TableLayout* findLayout(const std::string& name);
const TableLayout& layoutOf(const std::string& name); // the name must be known

} // namespace xb::store
