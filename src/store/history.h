// Each record's history: who changed what is kept in a table of its own in the data directory,
// a row per changed field (or per record for the bulk operations), with the values before and
// after. The history is the office's own: no export, package or backup carries it, and a
// restore leaves it as it is, so that the restore itself stays on it.
//
// The changes of a user's action are gathered while a HistoryScope is open: every row a cursor
// posts or removes in that time is compared with what it was, and commit() writes what changed
// under one time, the scope's operation and section. Writes outside a scope (numbering, the
// print preparation, the staging tables) are the program's own and are not recorded.
#pragma once

#include "result.h"

#include <string>
#include <vector>

namespace xb::store {

class TableFile;
class Value;

struct HistoryChange {
    std::string table;  // the table the field belongs to ("kjcg", "cgwcr", ...)
    std::string number; // the record number, "" for the unit's own tables
    std::string field;  // lower case; "" when the line stands for the whole record
    std::string before;
    std::string after;
};

struct HistoryEntry {
    std::string time; // "2026-12-11 09:30:00" (stored to the millisecond)
    std::string operation;
    std::string section;
    HistoryChange change;
};

// The history table's file name in the data directory.
extern const char* const kHistoryFile;

class HistoryScope {
  public:
    // Scopes nest: the changes of a cursor go to the innermost one.
    HistoryScope(std::string operation, std::string section);
    ~HistoryScope(); // what was not committed is dropped
    HistoryScope(const HistoryScope&) = delete;
    HistoryScope& operator=(const HistoryScope&) = delete;

    // The open scope of this thread, or null.
    static HistoryScope* current();

    // A change the cursors cannot see (a whole record stored by an import, a deletion).
    void add(const std::string& directory, HistoryChange change);
    // Called by the cursors: a row of `table` as it was (empty for a new row) and as it is
    // (empty for a removed one).
    void noteRow(const TableFile& table, const std::vector<Value>& before,
                 const std::vector<Value>& after);
    // Writes the gathered changes into the history of their data directory, synced.
    Status commit();

  private:
    std::string operation_, section_;
    std::string directory_;
    std::vector<HistoryChange> changes_;
    HistoryScope* outer_;
};

// Appends `changes` to the history of `directory` under one time, synced before it returns.
Status appendHistory(const std::string& directory, const std::string& operation,
                     const std::string& section, const std::vector<HistoryChange>& changes);

// The history of record `number` ("" for every line), newest first. A directory without a
// history yields nothing.
Result<std::vector<HistoryEntry>> readHistory(const std::string& directory,
                                              const std::string& number);

} // namespace xb::store
