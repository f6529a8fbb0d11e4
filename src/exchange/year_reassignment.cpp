#include "year_reassignment.h"

#include "import_numbering.h"
#include "import_staging.h"
#include "store/backup.h"
#include "store/history.h"
#include "store/lookups.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace xb::exchange {
namespace {

constexpr int FirstYear = 1900;
constexpr int LastYear = 2050;

store::Status moveKey(store::Database& db, const std::string& table, const std::string& from,
                      const std::string& to, const std::string& region) {
    auto changed = db.execute("update " + table +
                                  " set item_4=:new_number where item_4=:item_4 and "
                                  "item_dqdm=:item_dqdm",
                              {{"new_number", to}, {"item_4", from}, {"item_dqdm", region}});
    if (!changed) return changed.error();
    return {};
}

} // namespace

bool isRecordYear(const std::string& year) {
    if (year.size() != 4 || !std::all_of(year.begin(), year.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        }))
        return false;
    const int value = std::stoi(year);
    return value >= FirstYear && value <= LastYear;
}

store::Result<std::string> nextStagedNumber(store::Database& db, const std::string& year) {
    auto max = db.query("select max(item_4) from kjcgtemp where item_4 like :year",
                        {{"year", year + "%"}});
    if (!max) return max.error();
    const std::string greatest = store::trimmed((*max)->value(0).toText());
    if (greatest.size() != 10) return year + "000001";
    return followingRecordNumber(greatest);
}

store::Result<std::string> reassignYear(store::Database& db, const std::string& number,
                                        const std::string& region, const std::string& year) {
    auto next = nextStagedNumber(db, year);
    if (!next) return next.error();
    if (auto backup = store::backupBefore(db.directory(), "年度调整"); !backup)
        return backup.error();
    // The child rows move first and the achievement row last, each table put back on failure.
    std::vector<std::string> order = childStagingTables();
    order.push_back(stagingTables().front());
    std::vector<std::string> moved;
    for (const std::string& table : order) {
        if (store::Status s = moveKey(db, table, number, *next, region); !s) {
            std::string unrestored;
            for (const std::string& done : moved)
                if (store::Status back = moveKey(db, done, *next, number, region); !back)
                    unrestored += "；表 " + done + " 未能恢复：" + back.message();
            return store::fail(s.message() + unrestored);
        }
        moved.push_back(table);
    }
    // The staged record is the one whose number moves; the import's own line follows it.
    if (store::Status s = store::appendHistory(db.directory(), "年度调整", "导入",
                                               {{"kjcg", *next, "item_4", number, *next}});
        !s)
        return s.error();
    return next;
}

} // namespace xb::exchange
