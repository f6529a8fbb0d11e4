// What the pages call the fields: the caption beside each field's control, by table. The
// history of a record names its changes by these.
#pragma once

#include <string>

namespace xb::store {

// The caption of `field` of `table` (names compared without letter case); "" when no page
// shows the field.
std::string fieldCaption(const std::string& table, const std::string& field);

} // namespace xb::store
