#include "import_merge.h"

#include "import_duplicates.h"
#include "import_staging.h"
#include "import_store.h"
#include "store/lookups.h"

#include <optional>

namespace xb::exchange {
namespace {

enum class Mode { Store, Overwrite };

// Merges one staged achievement; false when it stays staged.
bool mergeOne(store::Database& db, ImportNumbering& numbering, store::ImportJournal& journal,
              Mode mode, const StagedAchievement& achievement, MergeOutcome& outcome) {
    std::optional<std::string> twin;
    if (mode == Mode::Overwrite) {
        if (store::trimmed(achievement.name).empty()) {
            ++outcome.skipped;
            return false;
        }
        auto found = findStoredTwin(db, achievement.name, achievement.unit);
        if (!found) {
            outcome.problems.push_back(found.message());
            return false;
        }
        twin = *found;
    }
    auto stored =
        storeStagedAchievement(db, numbering, journal, achievement, twin ? *twin : std::string());
    if (!stored) {
        outcome.problems.push_back(stored.message());
        return false;
    }
    if (!stored->warning.empty()) outcome.problems.push_back(stored->warning);
    if (!twin) {
        ++outcome.added;
        return true;
    }
    ++outcome.overwritten;
    store::Status removed = deleteStoredRecord(db, *twin);
    if (removed) removed = journal.replaced(*twin);
    if (!removed)
        outcome.problems.push_back("同名成果（" + *twin + "）未能删除：" + removed.message());
    return true;
}

MergeOutcome merge(store::Database& db, Mode mode, const MergeProgress& progress) {
    MergeOutcome outcome;
    auto staged = loadStagedAchievements(db);
    if (!staged) {
        outcome.problems.push_back(staged.message());
        outcome.stagedLeft = true;
        return outcome;
    }
    auto journal = store::ImportJournal::begin(db);
    if (!journal) {
        outcome.problems.push_back(journal.message());
        outcome.stagedLeft = true;
        return outcome;
    }
    const int total = static_cast<int>(staged->size());
    int done = 0;
    std::vector<const StagedAchievement*> merged;
    ImportNumbering numbering(db);
    for (const StagedAchievement& achievement : *staged) {
        if (mergeOne(db, numbering, *journal, mode, achievement, outcome))
            merged.push_back(&achievement);
        else
            outcome.stagedLeft = true;
        if (progress) progress(++done, total);
    }
    if (store::Status finished = journal->finish(); !finished)
        outcome.problems.push_back(finished.message());
    // Staged rows are removed once, at the end: all of them, or only those that were stored, so
    // that nothing stored can be stored a second time.
    if (!outcome.stagedLeft) {
        const store::Status emptied = emptyStagingTables(db);
        if (emptied) return outcome;
        outcome.problems.push_back(emptied.message());
    }
    for (const StagedAchievement* achievement : merged)
        if (store::Status s = removeStagedAchievement(db, *achievement); !s) {
            outcome.problems.push_back("已入库的成果未能从暂存表中删除：" + s.message());
            break;
        }
    return outcome;
}

} // namespace

MergeOutcome storeStagedAchievements(store::Database& db, const MergeProgress& progress) {
    return merge(db, Mode::Store, progress);
}

MergeOutcome overwriteImport(store::Database& db, const MergeProgress& progress) {
    return merge(db, Mode::Overwrite, progress);
}

} // namespace xb::exchange
