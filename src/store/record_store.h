// Opening the record store at start: the tables of the packing list are packed, then every table
// the windows use is opened and kept open until the program ends. Packing only reclaims the room
// of deleted rows, so a table that cannot be packed (a full disk) is reported as a warning and the
// start goes on. An error while opening ends the sequence at its step; the tables opened so far
// stay usable and the error text is kept for the window to show.
#pragma once

#include "database.h"

#include <memory>
#include <string>
#include <vector>

namespace xb::store {

class RecordStore {
  public:
    explicit RecordStore(std::string dataDirectory);

    // Runs the opening sequence once; yields the first error, if any.
    Status open();
    // What open() could not do but did not need to stop for (a table it could not pack, a
    // journal it could not settle), one text each.
    const std::vector<std::string>& openingWarnings() const { return openingWarnings_; }

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
    Database db_;
    std::vector<std::string> opened_;
    std::vector<std::string> openingWarnings_;
    bool hasZtflh_ = false;
    bool hasXkfl_ = false;
};

} // namespace xb::store
