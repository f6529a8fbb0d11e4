// The checks of the own-organization profile before it is stored or left, in their fixed order.
#pragma once

#include "forms/check_failure.h"
#include "parties/unit_profile.h"

#include <optional>

namespace xb::parties {

// The first failing check, or nothing when the profile may be stored. Required texts must not
// be empty (the name not even of blanks, since it is stored trimmed), the postcode must be six
// digits, and the introduction at least 100 GBK bytes (50 Chinese characters) once trimmed.
std::optional<forms::CheckFailure> checkProfile(const UnitProfile& shown);

} // namespace xb::parties
