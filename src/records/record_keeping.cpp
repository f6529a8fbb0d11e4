#include "record_keeping.h"

#include "forms/patent_summary.h"
#include "store/backup.h"
#include "store/history.h"
#include "store/row_values.h"

#include "store/lookups.h"

#include <cctype>

namespace xb::records {
namespace {

bool isWholeNumber(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string firstChars(const std::string& s, size_t n) {
    return s.substr(0, std::min(n, s.size()));
}

} // namespace

bool isRecordNumber(std::string_view text) {
    return text.size() == 10 && isWholeNumber(text);
}

store::Result<std::string> followingRecordNumber(const std::string& number) {
    if (!isRecordNumber(number)) return store::fail("“" + number + "”不是成果管理编号");
    const std::string next = std::to_string(std::stoll(number) + 1);
    if (next.size() != 10 || next.compare(0, 4, number, 0, 4) != 0)
        return store::fail(number.substr(0, 4) + " 年的成果管理编号已经用完");
    return next;
}

const std::vector<std::string>& childTables() {
    static const std::vector<std::string> tables{"cgwcdw", "zlqk", "jdwyhmd", "cgwcr"};
    return tables;
}

store::Result<std::string> nextRecordNumber(store::Database& db, const std::string& year) {
    auto max =
        db.query("select max(item_4) from kjcg where item_4 like :year", {{"year", year + "%"}});
    if (!max) return max.error();
    const std::string greatest = store::trimmed((*max)->value(0).toText());
    if (!isRecordNumber(greatest)) return year + "000001";
    return followingRecordNumber(greatest);
}

store::Status rekeyChildren(store::Database& db, const std::string& oldNumber,
                            const std::string& newNumber) {
    if (oldNumber == newNumber) return {};
    for (const std::string& table : childTables()) {
        auto view = db.table(table);
        if (!view) return view.error();
        store::Cursor& c = **view;
        if (store::Status s = c.setFilter("item_4='" + store::quoteForSql(oldNumber) + "'"); !s)
            return s;
        // Each posted row leaves the filtered view, so the loop ends when none is left.
        while (!c.isEmpty() && c.text("item_4") != newNumber) {
            if (store::Status s = c.edit(); !s) return s;
            if (store::Status s =
                    store::setValuesAndPost(c, {{"item_4", newNumber}, {"item_dqdm", "."}});
                !s)
                return s;
        }
    }
    return {};
}

store::Result<int> recordsNamed(store::Database& db, const std::string& name) {
    auto same = db.query("select count(*) from kjcg where item_3=:name", {{"name", name}});
    if (!same) return same.error();
    return static_cast<int>((*same)->value(0).toInteger());
}

store::Result<std::string> createRecord(store::Database& db, const MainItems& items, int position) {
    store::HistoryScope history("新增", "新增成果");
    auto number = nextRecordNumber(db, items.year);
    if (!number) return number.error();
    auto kjcg = db.table("kjcg");
    if (!kjcg) return kjcg.error();
    store::Cursor& row = **kjcg;
    if (store::Status s = row.append(); !s) return s.error();
    if (store::Status s = store::setValuesAndPost(row, {{"no", std::to_string(position)},
                                                        {"item_cglb", items.category},
                                                        {"item_4", *number},
                                                        {"item_dqdm", "."},
                                                        {"item_120", items.secrecy},
                                                        {"item_3", items.name},
                                                        {"item_9", items.unit}});
        !s)
        return s.error();
    if (store::Status s = history.commit(); !s) return s.error();
    return *number;
}

store::Result<std::string> changeMainItems(store::Database& db, const std::string& number,
                                           const MainItems& items) {
    store::HistoryScope history("修改主项", "修改主项");
    std::string target = number;
    if (items.year != number.substr(0, 4)) {
        auto next = nextRecordNumber(db, items.year);
        if (!next) return next.error();
        target = *next;
    }
    store::Status s = rekeyChildren(db, number, target);
    if (s) {
        // The record is selected by its key, never by its name, which need not be unique.
        auto kjcg = db.table("kjcg");
        if (!kjcg) {
            s = kjcg.error();
        } else {
            store::Cursor& row = **kjcg;
            s = row.setFilter("item_4='" + store::quoteForSql(number) + "'");
            if (s && row.isEmpty()) s = store::fail("找不到成果管理编号为 " + number + " 的记录");
            if (s) s = row.edit();
            if (s) {
                s = applyCategory(row, items.category);
                if (!s) row.cancel();
            }
            if (s)
                s = store::setValuesAndPost(row, {{"item_4", target},
                                                  {"item_120", items.secrecy},
                                                  {"item_3", items.name},
                                                  {"item_9", items.unit}});
        }
    }
    if (!s) {
        // The children go back to the record they belong to.
        if (store::Status back = rekeyChildren(db, target, number); !back)
            return store::fail(s.message() + "；子表记录未能恢复到 " + number + "：" +
                               back.message());
        return s.error();
    }
    if (store::Status s = history.commit(); !s) return s.error();
    return target;
}

store::Status applyCategory(store::Cursor& record, const std::string& category) {
    if (store::Status s = record.setValue("item_cglb", category); !s) return s;
    const std::string form = store::trimmed(record.text("ITEM_21"));
    store::FieldValues cleared;
    auto clear = [&](std::initializer_list<const char*> fields) {
        for (const char* f : fields)
            cleared.emplace_back(f, "");
    };
    if (category == "1") {
        clear({"ITEM_210", "ITEM_200"});
        if (form != "1" && form != "2" && form != "3" && form != "5" && form != "9")
            clear({"ITEM_21"});
    } else {
        clear(
            {"ITEM_123", "ITEM_124_1", "ITEM_16", "ITEM_33", "ITEM_32", "ITEM_32_1", "ITEM_125_1"});
        if (form != "2" && form != "4" && form != "6" && form != "9") clear({"ITEM_21"});
    }
    return store::setValues(record, cleared);
}

store::Status deleteRecord(store::Database& db, const std::string& number,
                           const std::string& region) {
    // A record deleted by mistake comes back with its parts from the backup.
    if (auto backup = store::backupBefore(db.directory(), "删除"); !backup) return backup.error();
    for (const std::string& table : childTables()) {
        auto view = db.table(table);
        if (!view) return view.error();
        store::Cursor& c = **view;
        const std::string filter = "item_4='" + store::quoteForSql(number) + "' and item_dqdm='" +
                                   store::quoteForSql(region) + "'";
        if (store::Status s = c.setFilter(filter); !s) return s;
        while (!c.isEmpty())
            if (store::Status s = c.remove(); !s) return s;
    }
    auto title = db.query("select item_3 from kjcg where item_4=:item_4", {{"item_4", number}});
    if (!title) return title.error();
    const std::string name = (*title)->isEmpty() ? std::string() : (*title)->text("item_3");
    auto deleted = db.execute("DELETE FROM kjcg WHERE item_4=:item_4", {{"item_4", number}});
    if (!deleted) return deleted.error();
    // One line for the record: its parts are in the backup, not in the history.
    return store::appendHistory(db.directory(), "删除", "成果", {{"kjcg", number, "", name, ""}});
}

store::Status numberList(store::Cursor& list) {
    int i = 1;
    for (list.first(); !list.eof(); list.next(), ++i) {
        const std::string position = std::to_string(i);
        if (list.text("NO") == position) continue;
        if (store::Status s = list.edit(); !s) return s;
        if (store::Status s = store::setValuesAndPost(list, {{"NO", position}}); !s) return s;
    }
    list.first();
    return {};
}

store::Result<std::vector<std::string>> yearEntries(store::Database& db) {
    auto numbers = db.query("select item_4 from kjcg order by item_4 desc");
    if (!numbers) return numbers.error();
    std::vector<std::string> years;
    std::string previous;
    store::Cursor& c = **numbers;
    for (c.first(); !c.eof(); c.next()) {
        const std::string candidate = firstChars(store::trimmed(c.text("item_4")), 4);
        if (candidate == previous) continue;
        previous = candidate;
        if (candidate.size() == 4 && isWholeNumber(candidate)) years.push_back(candidate);
    }
    return years;
}

store::Status normalizeIntellectualProperty(store::Cursor& record) {
    const std::string forms = record.text("ITEM_51");
    if (store::trimmed(forms).empty() || forms.find(';') != std::string::npos) return {};
    if (store::Status s = record.edit(); !s) return s;
    return store::setValuesAndPost(record, {{"ITEM_51", forms + ";"}});
}

store::Result<bool> derivePatentSummary(store::Database& db, store::Cursor& record) {
    if (!record.isNull("ITEM_51_1") || !record.isNull("patent_ty")) return false;
    auto summary = forms::summarizePatents(db, forms::patentParams(record));
    if (!summary) return summary.error();
    if (summary->rows == 0) return false;
    if (store::Status s = record.edit(); !s) return s.error();
    if (store::Status s = store::setValuesAndPost(
            record, {{"patent_ty", summary->typeList().toStdString()},
                     {"ITEM_51_1", summary->statusSummary().toStdString()}});
        !s)
        return s.error();
    return true;
}

} // namespace xb::records
