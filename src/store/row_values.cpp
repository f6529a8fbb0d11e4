#include "row_values.h"

namespace xb::store {

Status setValues(Cursor& row, const FieldValues& values) {
    for (const auto& [field, value] : values) {
        if (Status s = row.setValue(field, value); !s) {
            row.cancel();
            return s;
        }
    }
    return {};
}

Status setValuesAndPost(Cursor& row, const FieldValues& values) {
    if (Status s = setValues(row, values); !s) return s;
    if (Status s = row.post(); !s) {
        if (row.editing()) row.cancel();
        return s;
    }
    return {};
}

} // namespace xb::store
