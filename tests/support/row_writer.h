// What an entry dialog's binder writes, given as fixed values: the rows a test adds through the
// rules without a dialog.
#pragma once

#include "forms/child_rows.h"

inline xb::forms::RowWriter writing(xb::store::FieldValues values) {
    return [values = std::move(values)](xb::store::Cursor& row) {
        return xb::store::setValues(row, values);
    };
}
