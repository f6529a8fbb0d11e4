// The child lists show their rows with label fields beside the stored codes: cached views over
// the rows of a query, in the field order the list pages address.
#pragma once

#include "database.h"

namespace xb::store {

enum class LabelView { Completers, Committee, Patents, SubjectLeaders };

// Runs `sql` with `params` over the view's table and yields its rows with the label fields.
Result<std::unique_ptr<Cursor>> labelledView(Database& db, LabelView view, const std::string& sql,
                                             const Params& params = {});

} // namespace xb::store
