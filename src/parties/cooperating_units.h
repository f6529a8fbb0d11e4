// The cooperating organizations of an achievement record: rows of `cgwcdw` tied to it by the
// record key (item_4, item_dqdm) and numbered 1 to n in item_176 in the order they were added.
// Rows are addressed by their physical record, so rows brought in with repeated numbers are
// still changed one at a time.
#pragma once

#include "forms/check_failure.h"
#include "forms/child_rows.h"
#include "parties/record_key.h"
#include "store/database.h"
#include "store/row_values.h"

#include <QString>
#include <optional>

namespace xb::parties {

// The statement that lists a record's cooperating organizations in number order.
inline constexpr const char* kCooperatingUnitsOfRecord =
    "select *  from  cgwcdw  where  item_4=:item_4\n"
    "and  item_dqdm=:item_dqdm\n"
    "order  by  item_176 ";

// What the entry dialog holds, as typed.
// 储存's check of the order number (序号): empty refuses without a word, anything but an integer
// refuses with "输入序号必须为数字！" in the plain box.
std::optional<forms::CheckFailure> checkCooperatingUnit(const QString& order);

// Appends a cooperating organization under the record key with the order number typed in
// `order`, its texts written by `entry` (the name stored trimmed); yields its physical record.
store::Result<uint32_t> addCooperatingUnit(store::Database& db, const store::Params& key,
                                           const QString& order, const forms::RowWriter& entry);
// Rewrites the organization stored in physical record `record`.
store::Status changeCooperatingUnit(store::Database& db, const store::Params& key, uint32_t record,
                                    const QString& order, const forms::RowWriter& entry);

} // namespace xb::parties
