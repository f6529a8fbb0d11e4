// The data directory as the program sees it: tables opened by file name, and the SQL dialect
// the windows use. All cursors on one table share one open file, so a row posted through one
// cursor is what every other cursor reads next.
#pragma once

#include "cursor.h"
#include "result.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace xb::store {

class TableFile;

// Named parameters of a statement (":item_4" is given as "item_4"), bound as text values.
using Params = std::map<std::string, std::string>;

// Shared: read and written beside other cursors of this process; Exclusive: for a pack, no one
// else may have the file open; Reading: only read, beside a writer in another process.
enum class OpenMode { Shared, Exclusive, Reading };

class Database {
  public:
    // `reading`: tables are only read, never written, beside the data directory's writer.
    explicit Database(std::string directory, bool reading = false);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::string& directory() const { return directory_; }
    // True when the directory holds a table file of that name (letter case ignored).
    bool hasTable(const std::string& name) const;
    // Full path of a table file in the directory, found regardless of letter case.
    std::string tablePath(const std::string& name) const;

    // The open table of that name ("kjcg", "KJCG.DBF", ...), opening it shared when needed.
    Result<std::shared_ptr<TableFile>> openTable(const std::string& name);
    // A cursor over every row of a table, in stored order.
    Result<std::unique_ptr<Cursor>> table(const std::string& name);
    // Runs a SELECT; "select * from t ..." gives a live cursor, anything else a cached one.
    Result<std::unique_ptr<Cursor>> query(const std::string& sql, const Params& params = {});
    // Runs DELETE, INSERT or UPDATE; yields the number of rows affected.
    Result<int> execute(const std::string& sql, const Params& params = {});

    // Opens the table exclusively, removes deleted rows and unused memo space, and closes it.
    // Refused while another process, or a cursor of this one, has the table open.
    Status pack(const std::string& name);
    // Forgets the open table so that its file may be replaced; cursors keep the old file.
    void closeTable(const std::string& name);
    // Forgets every open table, so that the tables may be replaced (a restore).
    void closeAll() { open_.clear(); }

  private:
    std::string directory_;
    bool reading_ = false;
    std::map<std::string, std::shared_ptr<TableFile>> open_;
};

} // namespace xb::store
