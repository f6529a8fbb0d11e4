// Writing several fields of a row in edit state at once: the first value the engine refuses
// cancels the edit and is returned, so a row is never left half written or in edit state.
#pragma once

#include "cursor.h"

#include <string>
#include <utility>
#include <vector>

namespace xb::store {

using FieldValues = std::vector<std::pair<std::string, Value>>;

Status setValues(Cursor& row, const FieldValues& values);

// setValues() and then post(); a refused post cancels the edit as well.
Status setValuesAndPost(Cursor& row, const FieldValues& values);

} // namespace xb::store
