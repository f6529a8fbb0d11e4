// The rows of a query read into memory, each as a reader of its fields' texts by name (any
// case); a field the row does not have reads empty.
#pragma once

#include "store/database.h"

#include <functional>
#include <string>
#include <vector>

namespace xb::output {

using FieldText = std::function<std::string(const std::string& field)>;

store::Result<std::vector<FieldText>> readRows(store::Database& db, const std::string& sql,
                                               const store::Params& params);

} // namespace xb::output
