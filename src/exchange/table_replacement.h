// Replacing a table file of the data directory as a whole. The new file is built in a private
// folder inside the data directory, under the table's own file name, and moved over the old one
// by one rename once it is complete; until then the table stays as it was, and a failure never
// leaves it half replaced.
#pragma once

#include "store/database.h"
#include "store/result.h"

#include <QTemporaryDir>

#include <filesystem>
#include <memory>
#include <string>

namespace xb::exchange {

class TableReplacement {
  public:
    // Prepares the replacement of `table` (a table name such as "lsbw"); the table need not
    // exist yet.
    static store::Result<TableReplacement> begin(store::Database& db, const std::string& table);

    // Where the new file is to be built. Nothing may hold it open when commit() is called.
    const std::filesystem::path& newFile() const { return newFile_; }

    // Moves the new file over the table's file: the table is closed in the database, so that
    // the next use opens the new file, and then opened again to prove it. Cursors opened before
    // keep reading the old rows.
    store::Status commit();

  private:
    TableReplacement(store::Database& db, std::string table, std::filesystem::path target,
                     std::unique_ptr<QTemporaryDir> work);

    store::Database* db_;
    std::string table_;
    std::filesystem::path target_;
    std::unique_ptr<QTemporaryDir> work_;
    std::filesystem::path newFile_;
};

} // namespace xb::exchange
