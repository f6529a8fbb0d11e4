// A record's history as the office reads it: each change named by the caption of its field and
// its values in the words of the registration form, as the printed form shows them.
#pragma once

#include "store/database.h"
#include "store/history.h"

#include <string>
#include <vector>

namespace xb::analysis {

struct HistoryLine {
    std::string time;
    std::string number;
    std::string operation;
    std::string section;
    std::string item; // the field's caption; "整项成果" for a line about the whole record
    std::string before;
    std::string after;
};

// The history of record `number` ("" for every record), newest first.
store::Result<std::vector<HistoryLine>> historyLines(store::Database& db,
                                                     const std::string& number);

} // namespace xb::analysis
