#include "values_by_name.h"

namespace xb::store {

std::vector<Value> valuesByName(const std::vector<Value>& row, const FieldList& from,
                                const TableFile& to) {
    std::vector<Value> values(to.fields().size());
    for (size_t i = 0; i < from.size() && i < row.size(); ++i)
        if (const int field = to.fieldIndex(from[i].name); field >= 0)
            values[static_cast<size_t>(field)] = row[i];
    return values;
}

} // namespace xb::store
