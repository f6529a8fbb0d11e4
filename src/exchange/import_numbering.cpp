#include "import_numbering.h"

#include "store/lookups.h"

#include <algorithm>
#include <cctype>

namespace xb::exchange {
namespace {

// The greatest ten-digit number of the year, found by walking the year's numbers; only needed
// when the greatest text of the year is not a record number.
store::Result<std::string> walkForGreatest(store::Database& db, const std::string& year) {
    auto numbers =
        db.query("select item_4 from kjcg where item_4 like :year", {{"year", year + "%"}});
    if (!numbers) return numbers.error();
    std::string greatest;
    store::Cursor& c = **numbers;
    for (c.first(); !c.eof(); c.next()) {
        const std::string number = store::trimmed(c.text("item_4"));
        if (isRecordNumber(number)) greatest = std::max(greatest, number);
    }
    return greatest;
}

// The greatest ten-digit record number of the year in kjcg; empty when there is none.
store::Result<std::string> greatestOfYear(store::Database& db, const std::string& year) {
    auto max =
        db.query("select max(item_4) from kjcg where item_4 like :year", {{"year", year + "%"}});
    if (!max) return max.error();
    const std::string greatest = store::trimmed((*max)->value(0).toText());
    if (greatest.empty() || isRecordNumber(greatest)) return greatest;
    return walkForGreatest(db, year);
}

} // namespace

store::Result<std::string> ImportNumbering::next(const std::string& stagedNumber) {
    const std::string staged = store::trimmed(stagedNumber);
    if (!isRecordNumber(staged)) return store::fail("“" + staged + "”不是成果管理编号");
    const std::string year = staged.substr(0, 4);
    auto known = greatest_.find(year);
    if (known == greatest_.end()) {
        auto greatest = greatestOfYear(db_, year);
        if (!greatest) return greatest.error();
        known = greatest_.emplace(year, *greatest).first;
    }
    if (known->second.empty()) return staged;
    return followingRecordNumber(known->second);
}

void ImportNumbering::taken(const std::string& number) {
    std::string& greatest = greatest_[number.substr(0, 4)];
    greatest = std::max(greatest, number);
}

} // namespace xb::exchange
