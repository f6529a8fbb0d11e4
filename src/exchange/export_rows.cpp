#include "export_rows.h"

#include "exchange_values.h"
#include "store/lookups.h"
#include "store/table_file.h"

#include <set>

namespace xb::exchange {
namespace {

store::Status readLiveRow(const store::TableFile& table, uint32_t row, std::string& raw) {
    if (auto s = table.readRecord(row, raw); !s) return s;
    if (store::TableFile::isDeleted(raw))
        return store::fail("表 " + table.fileName() + " 的第 " + std::to_string(row) +
                           " 条记录已被删除，请重新打开导出窗口后再导出。");
    return {};
}

} // namespace

store::Result<std::vector<std::string>> recordNumbersAt(const store::TableFile& kjcg,
                                                        const std::vector<uint32_t>& rows) {
    const int numberField = kjcg.fieldIndex("ITEM_4");
    if (numberField < 0) return store::fail("表 " + kjcg.fileName() + " 中没有字段 ITEM_4");
    std::vector<std::string> numbers;
    numbers.reserve(rows.size());
    std::string raw;
    for (uint32_t row : rows) {
        if (auto s = readLiveRow(kjcg, row, raw); !s) return s.error();
        numbers.push_back(store::trimmed(kjcg.decode(raw, numberField).toText()));
    }
    return numbers;
}

store::Result<std::vector<uint32_t>>
rowsWithRecordNumbers(store::Database& db, const std::string& table,
                      const std::vector<std::string>& numbers) {
    const std::string sql = "select * from " + table + " where item_4 = :item_4";
    const std::set<std::string> distinct(numbers.begin(), numbers.end());
    std::set<uint32_t> rows;
    for (const std::string& number : distinct) {
        // The children of a record without a number cannot be told from rows that lost theirs.
        if (number.empty()) continue;
        auto cursor = db.query(sql, {{"item_4", number}});
        if (!cursor) return cursor.error();
        for (auto& c = **cursor; !c.eof(); c.next())
            rows.insert(c.recNo());
    }
    return std::vector<uint32_t>(rows.begin(), rows.end());
}

store::Status writeTableRows(const store::TableFile& table, const std::vector<uint32_t>& rows,
                             ColumnRule rule, const std::filesystem::path& path,
                             const std::function<void()>& afterRow) {
    auto writer = ExchangeFileWriter::create(path);
    if (!writer) return writer.error();
    std::string raw;
    for (uint32_t row : rows) {
        if (auto s = readLiveRow(table, row, raw); !s) return s;
        const std::string line =
            exchangeLine(rule, table.fields(), exchangeTexts(table.decodeRow(raw)));
        if (auto s = writer->writeLine(line); !s) return s;
        if (afterRow) afterRow();
    }
    return writer->close();
}

} // namespace xb::exchange
