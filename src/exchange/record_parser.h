// Cuts one record text into the field texts of a target table, by position.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace xb::exchange {

struct ParseRules {
    int valueCount = 0;         // fields filled from the record (n); the last takes the rest
    int fieldCount = 0;         // fields of the target; those past valueCount stay empty
    std::string sixthValueDate; // when not empty: a sixth value that is not a date becomes this
};

struct ParsedRecord {
    std::vector<std::string> fields; // fieldCount texts
    bool surplus = false;            // the last field's text still held a TAB: more values
};

// True for a record of nothing but blanks and control characters; it gives no row.
bool isBlankRecord(std::string_view record);

ParsedRecord parseRecord(std::string_view record, const ParseRules& rules);
// The same into `parsed`, whose texts keep their memory for the next record.
void parseRecord(std::string_view record, const ParseRules& rules, ParsedRecord& parsed);

} // namespace xb::exchange
