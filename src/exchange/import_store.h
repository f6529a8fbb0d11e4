// Storing one staged achievement in the live tables under a new record number.
#pragma once

#include "import_numbering.h"
#include "import_staging.h"
#include "store/database.h"
#include "store/import_journal.h"
#include "store/result.h"

#include <string>

namespace xb::exchange {

struct StoredAchievement {
    std::string number; // the record number it was stored under
    // Set when the record was stored but the completer pool could not be refreshed.
    std::string warning;
};

// Copies the staged achievement's patents, completers, committee members and cooperating
// organizations, then its kjcgtemp row, into the live tables: every row by position, with the
// record key (new number, "."). Child rows are those of the staged record key, so each goes to
// the achievement it came with. Then the completer pool is refreshed from the completers. The
// staged rows stay: the caller empties the staging tables once the whole package is stored.
//
// When a row cannot be added, the rows already added for this achievement are removed again and
// the error is returned: a record is stored whole or not at all, and stays staged when it fails.
// `numbering` gives the record number and learns of it. The journal names the record before its
// first row and after its last, with the stored twin it `replaces` in an overwrite, so that a
// kill at any moment is settled at the next opening.
store::Result<StoredAchievement> storeStagedAchievement(store::Database& db,
                                                        ImportNumbering& numbering,
                                                        store::ImportJournal& journal,
                                                        const StagedAchievement& staged,
                                                        const std::string& replaces = {});

} // namespace xb::exchange
