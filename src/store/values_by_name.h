// Rows moved between tables whose fields may differ in order or number (tables other programs
// wrote, the exchange format's fixed order): each value goes to the field of the same name.
#pragma once

#include "field.h"
#include "table_file.h"
#include "value.h"

#include <vector>

namespace xb::store {

// `row`, whose values follow `from`, in the field order of `to`. Fields of `to` that `from`
// lacks get no value; values of fields `to` lacks are left out.
std::vector<Value> valuesByName(const std::vector<Value>& row, const FieldList& from,
                                const TableFile& to);

} // namespace xb::store
