// Storing staged achievements in the live tables under new record numbers, a group at a time.
#pragma once

#include "import_numbering.h"
#include "import_staged_rows.h"
#include "import_staging.h"
#include "store/database.h"
#include "store/import_journal.h"
#include "store/result.h"

#include <string>
#include <vector>

namespace xb::exchange {

struct StoredAchievement {
    std::string number; // the record number it was stored under
};

// A staged achievement to store, with the stored twin an overwrite replaces ("" for none).
struct StoringAchievement {
    const StagedAchievement* staged = nullptr;
    std::string replaces;
};

// Copies each staged achievement's patents, completers, committee members and cooperating
// organizations, then its kjcgtemp row, into the live tables: every row by position, with the
// record key (new number, "."). Child rows are those of the staged record key, so each goes to
// the achievement it came with. Then the completer pool is refreshed from the completers. The
// staged rows stay: the caller empties the staging tables once the whole package is stored.
// Yields one result per achievement, in the order given.
//
// The rows of the whole group go in with one write per table, child tables first, the
// achievements last, each table in the order of the group: the tables end as if the achievements
// had been stored one after another. The journal names every record of the group, with the
// stored twin it replaces, before the first row and says after the last row that all are whole,
// so that a kill at any moment is settled at the next opening. An achievement whose number cannot
// be given or whose staged row is gone is refused alone; when a row cannot be written, the rows
// of the whole group are removed again and each achievement is refused with the reason: a record
// is stored whole or not at all, and stays staged when it fails. `numbering` gives the record
// numbers and learns of those used.
struct StoredGroup {
    std::vector<store::Result<StoredAchievement>> results; // one per achievement, in order
    // Why the rows of the whole group were refused ("" when they were not): a row that could
    // not be written, which every group after it would meet again.
    std::string failure;
    // Set when the records were stored but the completer pool could not be refreshed.
    std::string warning;
};
StoredGroup storeStagedGroup(store::Database& db, ImportNumbering& numbering,
                             store::ImportJournal& journal, const StagedChildRows& children,
                             const std::vector<StoringAchievement>& group);

} // namespace xb::exchange
