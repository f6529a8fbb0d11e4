// Runs parsed statements against the open tables of a database.
#pragma once

#include "cursor.h"
#include "database.h"
#include "sql_ast.h"

namespace xb::store::sql {

Result<std::unique_ptr<Cursor>> runSelect(Database& db, const Select& select, const Params& params);
Result<int> runChange(Database& db, const Statement& statement, const Params& params);

} // namespace xb::store::sql
