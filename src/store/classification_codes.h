// The fixed choices of three classifications of an achievement: the high-tech field
// (item_124_1), the socio-economic goal (item_200) and the industry of application (item_125).
// The overview page offers them and the printed form marks them from these tables.
#pragma once

#include <span>

namespace xb::store {

struct CodeCaption {
    const char* code;
    const char* caption;
};

std::span<const CodeCaption> highTechFields();
std::span<const CodeCaption> socioEconomicGoals();
// In the order of their codes, as the overview page offers them.
std::span<const CodeCaption> industries();
// In the order of the printed form.
std::span<const CodeCaption> industriesAsPrinted();

} // namespace xb::store
