// The checks of the evaluation certificate page's date boxes, without widgets.
#pragma once

#include "forms/check_failure.h"

#include <optional>

namespace xb::pages {

// The first failing check of the three date boxes, in the page's order: month, day, year, then
// the calendar date as a whole. Boxes that are all empty pass.
std::optional<forms::CheckFailure> checkCertificateDate(const QString& year, const QString& month,
                                                        const QString& day, int currentYear);

} // namespace xb::pages
