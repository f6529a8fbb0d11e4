// The journal of an import that is storing records, kept beside the tables as "import.jnl" while
// the import runs. A line names each record before its first row is written and another says
// when its last row is in; an overwrite also names the stored twin the new copy replaces, and
// says when the twin is gone. A process killed at any moment leaves the journal behind, and the
// next opening of the data directory settles it: a record that is not whole is removed from
// every table, and a twin whose new copy is whole is removed too. So after any interruption each
// record is there with all its rows or not at all, and an overwrite leaves exactly one copy.
//
// The tables keep their own layout; other programs never see the journal.
#pragma once

#include "database.h"
#include "file_system.h"
#include "result.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace xb::store {

class ImportJournal {
  public:
    // Starts the journal in the database's directory, settling one left by an earlier run first.
    static Result<ImportJournal> begin(Database& db);
    ImportJournal(ImportJournal&& other) noexcept;
    ImportJournal& operator=(ImportJournal&&) = delete;
    // An unfinished journal stays on disk for the next opening to settle.
    ~ImportJournal();

    // Before the first row of record `number` is written; `replaces` names the stored twin an
    // overwrite removes once the new copy is whole.
    Status storing(const std::string& number, const std::string& replaces = {});
    // After the last row of `number` is written.
    Status stored(const std::string& number);
    // The same for many records with one write: the rows of a group of records go in together,
    // between the lines that name them all and the lines that say they are whole. Each pair is
    // a record's number and the twin it replaces ("" for none).
    Status storing(const std::vector<std::pair<std::string, std::string>>& records);
    Status stored(const std::vector<std::string>& numbers);
    // After every row of the `twins` is removed and on the disk.
    Status replaced(const std::vector<std::string>& twins);
    // Settles what a failed record left and removes the journal.
    Status finish();

  private:
    ImportJournal(Database& db, std::unique_ptr<File> file);
    Status line(const std::string& text);
    // Whole lines, each ending with its line end, in one write.
    Status lines(const std::string& bytes);

    Database* db_;
    std::shared_ptr<File> file_;
    uint64_t size_ = 0; // lines are appended here
};

// Settles a journal left by an interrupted import, if there is one, and removes it.
Status settleImportJournal(Database& db);

} // namespace xb::store
