// The completers of an achievement record: rows of `cgwcr` tied to it by the record key
// (item_4, item_dqdm), listed by their order number item_187 (1 to n after every change) and
// carrying a running number item_no. Rows are addressed by their physical record, since
// imported rows may repeat or lack numbers.
#pragma once

#include "forms/child_rows.h"
#include "parties/completer_rules.h"
#include "parties/record_key.h"
#include "store/database.h"

namespace xb::parties {

// The statement that lists a record's completers in shown order, and its values.
inline constexpr const char* kCompletersOfRecord = "select *  from  cgwcr  where  item_4=:item_4\n"
                                                   "and  item_dqdm=:item_dqdm\n"
                                                   "order  by  item_187 ";

// Gives the record's completers the running numbers 1 to n in stored order.
store::Status numberCompleters(store::Database& db, const store::Params& key);

// The running number of a new completer: 1 for the record's first, otherwise one more than the
// largest over every completer with the same record number, whatever its region code.
store::Result<long long> nextRunningNumber(store::Database& db, const store::Params& key);

// Appends a completer after the listed ones, refreshes the completer pool with it and
// renumbers the list; yields its physical record.
// `entry` writes the fields the dialog shows; the name is stored trimmed.
store::Result<uint32_t> addCompleter(store::Database& db, const store::Params& key,
                                     const forms::RowWriter& entry);

// Rewrites the completer stored in physical record `record` with the entry and its typed
// order number, then renumbers the list so that it takes the typed place. The running number
// and the completer pool stay as they are.
store::Status changeCompleter(store::Database& db, const store::Params& key, uint32_t record,
                              const QString& order, const forms::RowWriter& entry);

// Gives the listed completers the order numbers 1 to n in the order of completerOrder(); the
// row in `moved` (0: none) took its number by typing, moving in `direction`.
store::Status renumberCompleters(store::Database& db, const store::Params& key, uint32_t moved = 0,
                                 int direction = 0);

} // namespace xb::parties
