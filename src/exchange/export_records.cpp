#include "export_records.h"

#include "store/lookups.h"

#include <functional>
#include <set>

namespace xb::exchange {

store::Result<std::vector<ExportRecord>> loadExportRecords(store::Database& db) {
    auto cursor = db.table("kjcg");
    if (!cursor) return cursor.error();
    std::vector<ExportRecord> records;
    records.reserve(static_cast<std::size_t>((*cursor)->count()));
    for (auto& c = **cursor; !c.eof(); c.next())
        records.push_back(
            {c.recNo(), store::trimmed(c.text("ITEM_4")), c.text("ITEM_3"), c.text("ITEM_9")});
    return records;
}

std::string recordYear(const std::string& number) {
    // Characters, not bytes: a number typed by hand may hold more than digits.
    std::size_t end = 0;
    for (int characters = 0; end < number.size() && characters < 4; ++characters) {
        ++end;
        while (end < number.size() && (static_cast<unsigned char>(number[end]) & 0xC0) == 0x80)
            ++end;
    }
    return number.substr(0, end);
}

std::vector<std::string> exportYears(const std::vector<ExportRecord>& records) {
    std::set<std::string, std::greater<>> years;
    for (const ExportRecord& record : records)
        if (!record.number.empty()) years.insert(recordYear(record.number));
    return {years.begin(), years.end()};
}

} // namespace xb::exchange
