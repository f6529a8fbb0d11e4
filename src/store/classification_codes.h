// The fixed choices of two classifications of an achievement, in the order of the form: the
// high-tech field (item_124_1) and the socio-economic goal (item_200). The overview page offers
// them and the printed form marks them from this one table.
#pragma once

#include <span>

namespace xb::store {

struct CodeCaption {
    const char* code;
    const char* caption;
};

std::span<const CodeCaption> highTechFields();
std::span<const CodeCaption> socioEconomicGoals();

} // namespace xb::store
