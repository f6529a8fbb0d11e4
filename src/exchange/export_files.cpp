#include "export_files.h"

#include "exchange_writer.h"
#include "export_rows.h"
#include "store/table_file.h"

namespace xb::exchange {

store::Status writeExportFiles(store::Database& db, const std::filesystem::path& folder,
                               const std::vector<uint32_t>& records,
                               const std::function<void()>& step) {
    auto notify = [&step] {
        if (step) step();
    };
    auto kjcg = db.openTable("kjcg");
    if (!kjcg) return kjcg.error();
    auto numbers = recordNumbersAt(**kjcg, records);
    if (!numbers) return numbers.error();
    if (auto s = writeTableRows(**kjcg, records, ColumnRule::Kjcg,
                                folder / exchangeFileName(ColumnRule::Kjcg), notify);
        !s)
        return s;

    for (ColumnRule rule :
         {ColumnRule::Cgwcdw, ColumnRule::Cgwcr, ColumnRule::Jdwyhmd, ColumnRule::Zlqk}) {
        auto table = db.openTable(sourceTableName(rule));
        if (!table) return table.error();
        auto rows = rowsWithRecordNumbers(db, sourceTableName(rule), *numbers);
        if (!rows) return rows.error();
        if (auto s = writeTableRows(**table, *rows, rule, folder / exchangeFileName(rule)); !s)
            return s;
        notify();
    }

    // The own organization and its subject leaders travel whole with every package.
    for (ColumnRule rule : {ColumnRule::Expert, ColumnRule::Unit}) {
        auto table = db.openTable(sourceTableName(rule));
        if (!table) return table.error();
        auto rows = store::allRows(**table);
        if (!rows) return rows.error();
        if (auto s = writeTableRows(**table, *rows, rule, folder / exchangeFileName(rule)); !s)
            return s;
        notify();
    }
    return {};
}

} // namespace xb::exchange
