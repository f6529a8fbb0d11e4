// The completer pool cgwcrNew keeps one row per completer name; imported completers refresh it.
#pragma once

#include "store/database.h"
#include "store/layouts.h"
#include "store/result.h"
#include "store/value.h"

#include <vector>

namespace xb::exchange {

// `completer` is a completer row whose values follow `fields` (cgwcr's layout unless given). With
// no pool row of the same trimmed name it is added; one such row is overwritten with it, field by
// field of the same name; two or more leave the pool as it is, since the pool cannot tell which
// of them is meant.
store::Status updateCompleterPool(store::Database& db, const std::vector<store::Value>& completer,
                                  const store::FieldList& fields = store::layoutOf("cgwcr").fields);

// The same for many completers, one after another, with few writes: the pool ends as it would
// after one call for each. When one fails, those before it are in the pool.
store::Status updateCompleterPool(store::Database& db,
                                  const std::vector<std::vector<store::Value>>& completers,
                                  const store::FieldList& fields);

} // namespace xb::exchange
