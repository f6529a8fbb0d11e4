#include "values_by_name.h"

namespace xb::store {

namespace {

// Tables of one layout, as staging and live tables are: the values stay where they are.
bool sameOrder(const FieldList& from, const FieldList& to) {
    if (from.size() != to.size()) return false;
    for (size_t i = 0; i < from.size(); ++i)
        if (!sameName(from[i].name, to[i].name)) return false;
    return true;
}

} // namespace

std::vector<Value> valuesByName(const std::vector<Value>& row, const FieldList& from,
                                const TableFile& to) {
    if (row.size() == from.size() && sameOrder(from, to.fields())) return row;
    std::vector<Value> values(to.fields().size());
    for (size_t i = 0; i < from.size() && i < row.size(); ++i)
        if (const int field = to.fieldIndex(from[i].name); field >= 0)
            values[static_cast<size_t>(field)] = row[i];
    return values;
}

} // namespace xb::store
