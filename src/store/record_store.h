// Opening the record store at start. A writer (the application, a command that writes) first
// takes the data directory for itself, settles what an interrupted import left and packs the
// tables of the packing list; then every table the windows use is opened and kept open until the
// program ends. A reader takes no lock and writes nothing: it reads beside the writer. Packing
// only reclaims the room of deleted rows, so a table that cannot be packed (a full disk) is
// reported as a warning and the start goes on. An error while opening ends the sequence at its
// step; the tables opened so far stay usable and the error text is kept for the window to show.
#pragma once

#include "database.h"
#include "writer_lock.h"

#include <memory>
#include <string>
#include <vector>

namespace xb::store {

enum class StoreUse { Write, Read };

class RecordStore {
  public:
    // `holder` names the writer to whoever is refused while it holds the directory.
    explicit RecordStore(std::string dataDirectory, StoreUse use = StoreUse::Write,
                         std::string holder = "程序 Xunbao");

    // Runs the opening sequence once; yields the first error, if any.
    Status open();
    // A writer that already took the data directory (to fill it) opens with that lock.
    void adoptLock(std::unique_ptr<WriterLock> lock) { lock_ = std::move(lock); }
    // What open() could not do but did not need to stop for (a table it could not pack, a
    // journal it could not settle), one text each.
    const std::vector<std::string>& openingWarnings() const { return openingWarnings_; }

    // Whether open() failed because the data directory could not be taken for writing (another
    // writer holds it).
    bool lockRefused() const { return lockRefused_; }

    Database& db() { return db_; }
    const std::string& dataDirectory() const { return db_.directory(); }
    // Whether the optional classification tables are present.
    bool hasLibraryClassification() const { return hasZtflh_; }
    bool hasDisciplineClassification() const { return hasXkfl_; }
    const std::vector<std::string>& openedTables() const { return opened_; }

    // Tables packed at every start, in this order.
    static const std::vector<std::string>& packingList();
    // Tables opened after packing, in this order (the classification tables when present).
    static const std::vector<std::string>& openingList();

  private:
    void settleAndPack();

    StoreUse use_;
    std::string holder_;
    std::unique_ptr<WriterLock> lock_;
    Database db_;
    std::vector<std::string> opened_;
    std::vector<std::string> openingWarnings_;
    bool lockRefused_ = false;
    bool hasZtflh_ = false;
    bool hasXkfl_ = false;
};

} // namespace xb::store
