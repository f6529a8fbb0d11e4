// Table filters: equality tests of fields against quoted values joined by " and ", e.g.
// "item_4='2024000001' and item_dqdm='.'"; a value ending in "*" matches by prefix.
#pragma once

#include "result.h"

#include <string>
#include <string_view>
#include <vector>

namespace xb::store {

class TableFile;

struct FilterTerm {
    int field = -1;
    std::string value; // GBK bytes, trailing blanks removed
    bool prefix = false;
};

Result<std::vector<FilterTerm>> parseFilter(const std::string& expression, const TableFile& table);
bool filterMatches(const std::vector<FilterTerm>& terms, const TableFile& table,
                   std::string_view raw);

} // namespace xb::store
