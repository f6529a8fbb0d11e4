#include "record_store.h"

#include "backup.h"
#include "import_journal.h"
#include "pack.h"
#include "restore.h"
#include "table_file.h"

namespace xb::store {

RecordStore::RecordStore(std::string dataDirectory, StoreUse use, std::string holder)
    : use_(use), holder_(std::move(holder)), db_(std::move(dataDirectory), use == StoreUse::Read) {}

const std::vector<std::string>& RecordStore::packingList() {
    static const std::vector<std::string> list{
        "kjcg.DBF",        "kjcgtemp.DBF",   "cgwcr.DBF",      "cgwcrtemp.DBF", "jdwyhmd.DBF",
        "jdwyhmdtemp.DBF", "cgwcdw.DBF",     "cgwcdwtemp.DBF", "zlqk.DBF",      "zlqktemp.DBF",
        "cgwcrNew.dbf",    "ZTFLH.dbf",      "XKFL.dbf",       "LSBW.dbf",      "DFJHZDXX.DBF",
        "unit.dbf",        "unitexpert.dbf", "gxjs.dbf"};
    return list;
}

const std::vector<std::string>& RecordStore::openingList() {
    static const std::vector<std::string> list{
        "kjcg", "cgwcdw",   "jdwyhmd", "cgwcr", "dwqk",  "CheckUp",  "unit", "unitexpert",
        "gxjs", "DFJHZDXX", "zdxx",    "zlqk",  "zdxx1", "province", "lsbw", "cgwcrNew"};
    return list;
}

void RecordStore::settleAndPack() {
    // An import killed while storing left its journal: its half-stored records go first.
    if (Status s = settleImportJournal(db_); !s)
        openingWarnings_.push_back("上次中断的导入未能清理（" + s.message() +
                                   "），请重新启动程序再试");
    std::vector<std::string> toPack;
    bool rewrites = false;
    for (const std::string& file : packingList()) {
        // The classification tables are optional: a missing one is not packed rather than
        // ending the start.
        if ((sameName(file, "ZTFLH.dbf") && !hasZtflh_) ||
            (sameName(file, "XKFL.dbf") && !hasXkfl_))
            continue;
        // A table that cannot be read is handed to the pack too, which says why; it rewrites
        // nothing, so it needs no backup (a damaged table would take one at every start).
        auto needed = packNeeded(db_.tablePath(file));
        if (!needed || *needed) toPack.push_back(file);
        rewrites = rewrites || (needed && *needed);
    }
    if (toPack.empty()) return;
    // The pack rewrites the tables: a copy of them first, and no pack without one.
    if (rewrites)
        if (auto backup = backupBefore(db_.directory(), "启动压缩"); !backup) {
            openingWarnings_.push_back("数据表未压缩：" + backup.message());
            return;
        }
    for (const std::string& file : toPack) {
        if (Status s = db_.pack(file); !s)
            openingWarnings_.push_back("表 " + file + " 未能压缩（" + s.message() +
                                       "），已删除记录占用的空间将在下次启动时再释放");
    }
}

Status RecordStore::open() {
    hasZtflh_ = db_.hasTable("ztflh.dbf");
    hasXkfl_ = db_.hasTable("xkfl.dbf");
    if (use_ == StoreUse::Write) {
        if (!lock_) {
            auto lock = WriterLock::take(db_.directory(), holder_);
            lockRefused_ = !lock;
            if (!lock) return lock.error();
            lock_ = std::move(*lock);
        }
        // A restore cut short is finished (or dropped) before any table is read.
        if (Status s = recoverInterruptedRestore(db_.directory()); !s) return s;
        settleAndPack();
    }
    std::vector<std::string> tables = openingList();
    if (hasZtflh_) tables.insert(tables.begin() + 8, "ztflh");
    if (hasXkfl_) tables.insert(tables.begin() + 8, "xkfl");
    for (const std::string& name : tables) {
        auto table = db_.openTable(name);
        if (!table) return table.error();
        // Every command and the application say so, not only the first write refused.
        if (!(*table)->damage().empty()) openingWarnings_.push_back((*table)->readOnlyText());
        opened_.push_back(name);
    }
    return {};
}

} // namespace xb::store
