#include "import_merge.h"

#include "import_duplicates.h"
#include "import_staged_rows.h"
#include "import_staging.h"
#include "import_store.h"
#include "store/backup.h"
#include "store/history.h"
#include "store/lookups.h"
#include "store/sync_scope.h"
#include "store/table_file.h"

#include <cstdint>
#include <optional>
#include <set>
#include <utility>

namespace xb::exchange {
namespace {

enum class Mode { Store, Overwrite };

// Achievements are stored a group at a time: few enough that a group's rows are held in memory,
// enough that each table gets few writes.
constexpr size_t GroupRecords = 256;
constexpr uint64_t GroupBytes = uint64_t{8} << 20;

// A staged achievement in table order with what becomes of it: stored, or settled before.
struct Pending {
    StoringAchievement achievement;
    bool skipped = false; // an overwrite passes over an achievement without a name
    std::string problem;  // why it is not stored, when known before storing
    bool stored() const { return !skipped && problem.empty(); }
};

// Gathers the next group of staged achievements, in table order.
class GroupGatherer {
  public:
    GroupGatherer(store::Database& db, Mode mode, const std::vector<StagedAchievement>& staged,
                  const StagedChildRows& children)
        : db_(db), mode_(mode), staged_(staged), children_(children) {}

    bool atEnd() const { return next_ == staged_.size(); }
    std::vector<Pending> next();

  private:
    store::Database& db_;
    Mode mode_;
    const std::vector<StagedAchievement>& staged_;
    const StagedChildRows& children_;
    size_t next_ = 0;
};

std::vector<Pending> GroupGatherer::next() {
    std::vector<Pending> group;
    size_t storing = 0;
    uint64_t bytes = 0;
    // An overwrite looks up each twin before the group is stored. The answer is the one found
    // after storing the achievements before it as long as none of them could be the twin or have
    // the same twin: a name met again starts the next group, which looks up once this group is
    // stored and its twins are gone.
    std::set<std::pair<std::string, std::string>> names;
    std::set<std::string> twins;
    while (next_ < staged_.size() && storing < GroupRecords && bytes < GroupBytes) {
        const StagedAchievement& achievement = staged_[next_];
        Pending pending{{&achievement, {}}, false, {}};
        if (mode_ == Mode::Overwrite) {
            const std::pair<std::string, std::string> name(store::trimmed(achievement.name),
                                                           store::trimmed(achievement.unit));
            if (name.first.empty()) {
                pending.skipped = true;
            } else if (names.count(name) != 0) {
                break;
            } else if (auto found = findStoredTwin(db_, achievement.name, achievement.unit);
                       !found) {
                pending.problem = found.message();
            } else if (*found && !twins.insert(**found).second) {
                break;
            } else {
                names.insert(name);
                pending.achievement.replaces = found->value_or(std::string());
            }
        }
        if (pending.stored()) {
            ++storing;
            bytes += children_.bytes(achievement);
        }
        group.push_back(std::move(pending));
        ++next_;
    }
    return group;
}

// One message for an import stopped at `first` with `left` achievements not stored.
std::string stoppedText(const StagedAchievement& first, int left, const std::string& why) {
    const std::string name = "成果“" + store::trimmed(first.name) + "”（" + first.number + "）";
    if (left <= 1) return name + "未能入库：" + why;
    return "从" + name + "起，" + std::to_string(left) + " 项成果未能入库，仍在暂存表中：" + why;
}

// Settles what storing an achievement came to; false when it stays staged. The twin an
// overwrite replaces is added to `twins`, removed with the group's other twins.
bool settle(const StoringAchievement& member, const store::Result<StoredAchievement>& stored,
            MergeOutcome& outcome, std::vector<std::string>& twins) {
    if (!stored) {
        outcome.problems.push_back(stored.message());
        return false;
    }
    if (member.replaces.empty()) {
        ++outcome.added;
        return true;
    }
    ++outcome.overwritten;
    twins.push_back(member.replaces);
    return true;
}

// The twins of a group go together: their rows are on the disk, once per table, before the
// journal says they are gone (until it says so, settling the journal removes them again).
void removeTwins(store::Database& db, store::ImportJournal& journal,
                 const std::vector<std::string>& twins, MergeOutcome& outcome) {
    if (twins.empty()) return;
    store::SyncScope scope;
    std::vector<std::string> gone;
    for (const std::string& twin : twins) {
        if (store::Status s = deleteStoredRecord(db, twin); !s)
            outcome.problems.push_back("同名成果（" + twin + "）未能删除：" + s.message());
        else
            gone.push_back(twin);
    }
    store::Status s = scope.commit();
    if (s) s = journal.replaced(gone);
    if (!s) outcome.problems.push_back("同名成果未能删除：" + s.message());
}

MergeOutcome merge(store::Database& db, Mode mode, const MergeProgress& progress) {
    MergeOutcome outcome;
    auto staged = loadStagedAchievements(db);
    if (!staged) {
        outcome.problems.push_back(staged.message());
        outcome.stagedLeft = true;
        return outcome;
    }
    auto children = StagedChildRows::load(db);
    if (!children) {
        outcome.problems.push_back(children.message());
        outcome.stagedLeft = true;
        return outcome;
    }
    // A wrong package can be taken back: the tables as they were go into a backup first.
    if (auto backup =
            store::backupBefore(db.directory(), mode == Mode::Store ? "导入" : "覆盖导入");
        !backup) {
        outcome.problems.push_back(backup.message());
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
    GroupGatherer gatherer(db, mode, *staged, *children);
    while (!gatherer.atEnd()) {
        const std::vector<Pending> group = gatherer.next();
        std::vector<StoringAchievement> storing;
        for (const Pending& pending : group)
            if (pending.stored()) storing.push_back(pending.achievement);
        const StoredGroup stored =
            storing.empty() ? StoredGroup{}
                            : storeStagedGroup(db, numbering, *journal, *children, storing);
        if (!stored.failure.empty()) {
            // A row that could not be written (a full disk, a read-only table) stops the import
            // with one message: every group after this one would meet the same.
            int left = total - done - static_cast<int>(group.size());
            for (const Pending& pending : group)
                if (pending.skipped)
                    ++outcome.skipped;
                else if (!pending.problem.empty())
                    outcome.problems.push_back(pending.problem);
                else
                    ++left;
            outcome.problems.push_back(stoppedText(*storing.front().staged, left, stored.failure));
            outcome.stagedLeft = true;
            break;
        }
        size_t result = 0;
        std::vector<std::string> twins;
        std::vector<store::HistoryChange> history;
        for (const Pending& pending : group) {
            bool kept = false;
            if (pending.skipped) {
                ++outcome.skipped;
            } else if (!pending.problem.empty()) {
                outcome.problems.push_back(pending.problem);
            } else {
                const auto& one = stored.results[result++];
                kept = settle(pending.achievement, one, outcome, twins);
                // A line per record: the number it replaced (an overwrite), the name it came with.
                if (kept)
                    history.push_back({"kjcg", one->number, "", pending.achievement.replaces,
                                       pending.achievement.staged->name});
            }
            if (kept)
                merged.push_back(pending.achievement.staged);
            else
                outcome.stagedLeft = true;
            ++done;
            if (progress) progress(done, total);
        }
        removeTwins(db, *journal, twins, outcome);
        std::string warning = stored.warning;
        if (store::Status s = store::appendHistory(
                db.directory(), mode == Mode::Store ? "导入" : "覆盖导入", "导入", history);
            !s && warning.empty())
            warning = std::to_string(outcome.added + outcome.overwritten) + " 项成果已入库，但" +
                      s.message();
        if (!warning.empty()) {
            // The pool or the history could not be written: the next group would meet the same,
            // so the import stops here with one message.
            const int left = total - done;
            outcome.problems.push_back(warning + (left > 0 ? "；其后 " + std::to_string(left) +
                                                                 " 项成果未能入库，仍在暂存表中"
                                                           : std::string()));
            if (left > 0) outcome.stagedLeft = true;
            break;
        }
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
