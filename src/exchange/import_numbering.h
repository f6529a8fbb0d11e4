// Record numbers of imported achievements: the year's next number in the achievement table.
#pragma once

#include "records/record_keeping.h"
#include "store/database.h"
#include "store/result.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace xb::exchange {

// Record numbers follow the same rules as for records created in the main window.
using records::followingRecordNumber;
using records::isRecordNumber;

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

    // What is known now, to go back to when the records numbered since are not stored after all.
    using Mark = std::map<std::string, std::string>;
    Mark mark() const { return greatest_; }
    void rewind(Mark mark) { greatest_ = std::move(mark); }

  private:
    store::Database& db_;
    std::map<std::string, std::string> greatest_; // year -> greatest stored number, "" for none
};

} // namespace xb::exchange
