// Record numbers of imported achievements: the year's next number in the achievement table.
#pragma once

#include "store/database.h"
#include "store/result.h"

#include <map>
#include <string>
#include <string_view>

namespace xb::exchange {

// A record number: four digits of the year followed by a six-digit sequence number.
bool isRecordNumber(std::string_view text);

// One more than a record number, refused when the year's sequence is used up.
store::Result<std::string> followingRecordNumber(const std::string& number);

// The numbers under which staged achievements are stored: one more than the greatest record
// number of the year in kjcg; a year without stored records keeps the staged number. Stored
// numbers that are not ten digits are passed over, so a number never repeats a stored one.
// Refused when the year's numbers are used up.
//
// One object serves one run of storing: each year's greatest number is looked up once and then
// carried forward, as the run is the only writer of the achievement table meanwhile.
class ImportNumbering {
  public:
    explicit ImportNumbering(store::Database& db) : db_(db) {}

    // The number the staged achievement would be stored under now.
    store::Result<std::string> next(const std::string& stagedNumber);
    // Records that `number` is now used in kjcg.
    void taken(const std::string& number);

  private:
    store::Database& db_;
    std::map<std::string, std::string> greatest_; // year -> greatest stored number, "" for none
};

} // namespace xb::exchange
