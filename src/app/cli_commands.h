// The commands of xunbao-cli: the application's store, exchange and checks for scripts. Each
// writes its results to `out` (UTF-8, tab-separated) and its progress and messages to `err`, and
// yields the exit status.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace xb::app::cli {

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// Runs `xunbao-cli ARGS...`; `defaultData` is the data directory beside the executable.
int run(const std::vector<std::string>& args, const std::string& defaultData, Streams io);

} // namespace xb::app::cli
