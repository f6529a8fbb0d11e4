// One run of `xunbao-cli gather`: the packages named are gathered one after another, each
// reported on its own line of `out` (tab-separated: outcome, package, organization, counts or
// the reason), progress goes to `err`, and the report is written last when one is asked for.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace xb::authority {

struct GatherRequest {
    std::string conninfo;            // as libpq takes it
    std::vector<std::string> inputs; // packages and folders of packages
    std::string reportPath;          // .csv or .xlsx; empty for none
    std::string rowsFolder;          // the installation's dictionary rows
};

// The exit status: 0 when every package was gathered or had been already, 1 when any was
// refused or the server could not be used, 2 for a request that names nothing to do.
int runGather(const GatherRequest& request, std::ostream& out, std::ostream& err);

} // namespace xb::authority
