// The record key that ties child rows to their achievement record, as statement values.
#pragma once

#include "store/database.h"

namespace xb::parties {

inline store::Params recordKey(const store::Cursor& record) {
    return {{"item_4", record.text("ITEM_4")}, {"item_dqdm", record.text("ITEM_DQDM")}};
}

} // namespace xb::parties
