// The commands of xunbao-cli that count, list for spreadsheets, look for duplicates and show
// the records' history.
#pragma once

#include "app/cli_commands.h"

#include <string>
#include <vector>

namespace xb::store {
class Database;
}

namespace xb::app::cli {

// Where a table goes: `format` "tsv", "csv", "xlsx" or empty (from the file's ending, else tsv);
// `out` a file or empty for the standard output; an existing file only with `force`.
struct SheetOutput {
    std::string format;
    std::string out;
    bool force = false;
};

// `years` and `categories` may each hold comma-separated lists; empty means all.
int statistics(store::Database& db, const std::vector<std::string>& years,
               const std::vector<std::string>& categories, const std::string& by,
               const SheetOutput& output, Streams io);
int recordSheet(store::Database& db, const std::vector<std::string>& years,
                const std::vector<std::string>& categories, const SheetOutput& output, Streams io);
int duplicates(store::Database& db, const std::string& threshold, const SheetOutput& output,
               Streams io);
// The history of record `number` ("" for every record), newest first, a line per change.
int history(store::Database& db, const std::string& number, Streams io);

} // namespace xb::app::cli
