// Whether an exchange file ends where a record ends. A file cut short, in the middle of a line
// or inside a quoted value that runs over several lines, would otherwise be read as if it were
// whole, with its last record silently shortened.
#pragma once

#include "store/result.h"

#include <filesystem>
#include <string>

namespace xb::exchange {

// Refuses a file whose last record is still inside a quoted value at the end of the file, or
// whose last line has no line end: every line of an exchange file ends with CR LF. Files that
// cannot be read pass: reading them reports the failure.
store::Status checkFileComplete(const std::filesystem::path& path, const std::string& fileName);

} // namespace xb::exchange
