// The commands of xunbao-cli: the application's store, exchange and checks for scripts. Each
// writes its results to `out` (UTF-8, tab-separated) and its progress and messages to `err`, and
// yields the exit status.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace xb::store {
class RecordStore;
}

namespace xb::app::cli {

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// The print command: the record's registration form (`form` "applied", "basic" or "" for the
// record's own) written as a PDF file `out`. It draws with Qt Gui, which this library does not
// link, so the program passes it in.
using PrintCommand =
    std::function<int(store::RecordStore& store, const std::string& number, const std::string& form,
                      const std::string& out, Streams io)>;

// The gather command: packages into the authority's PostgreSQL database (`db` as libpq takes
// it), then the report file when one is named. It links libpq, which this library does not.
using GatherCommand =
    std::function<int(const std::string& db, const std::vector<std::string>& inputs,
                      const std::string& report, Streams io)>;

// Runs `xunbao-cli ARGS...`; `defaultData` is the data directory beside the executable.
int run(const std::vector<std::string>& args, const std::string& defaultData, Streams io,
        const PrintCommand& print = {}, const GatherCommand& gather = {});

} // namespace xb::app::cli
