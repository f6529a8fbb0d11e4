#include "export_flags.h"

#include "store/backup.h"
#include "store/sync_scope.h"
#include "store/table_file.h"

namespace xb::exchange {

store::Result<int> clearExportFlags(store::Database& db) {
    // Rows that already hold "0" are left alone, so that opening the window does not rewrite a
    // whole large table, nor take a backup when there is nothing to clear.
    auto flagged = db.query("select count(*) from kjcg where item_sjdc <> :flag", {{"flag", "0"}});
    if (!flagged) return flagged.error();
    if ((*flagged)->value(0).toInteger() == 0) return 0;
    if (auto backup = store::backupBefore(db.directory(), "导出"); !backup) return backup.error();
    return db.execute("update kjcg set item_sjdc = :flag where item_sjdc <> :flag",
                      {{"flag", "0"}});
}

store::Status markExported(store::Database& db, const std::vector<uint32_t>& rows) {
    auto table = db.openTable("kjcg");
    if (!table) return table.error();
    store::Cursor cursor(*table, rows, false);
    store::SyncScope scope; // the table goes to the disk once, after the last row
    for (; !cursor.eof(); cursor.next()) {
        if (auto s = cursor.edit(); !s) return s;
        if (auto s = cursor.setValue("ITEM_SJDC", store::Value("1")); !s) return s;
        if (auto s = cursor.post(); !s) return s;
    }
    return scope.commit();
}

} // namespace xb::exchange
