// Parses one statement of the dialect: SELECT (*, field lists, distinct, max/min/count) with
// WHERE (= < > <= >= <>, like with %, and/or/not, parentheses) and ORDER BY one field;
// DELETE, INSERT and UPDATE. Keywords and names are case-insensitive; line breaks are blanks.
#pragma once

#include "result.h"
#include "sql_ast.h"

#include <string>

namespace xb::store::sql {

Result<Statement> parse(const std::string& text);

} // namespace xb::store::sql
