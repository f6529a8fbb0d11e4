#include "import_twin_check.h"

#include "import_duplicates.h"

namespace xb::exchange {

store::Result<size_t> checkStagedTwins(store::Database& db, std::vector<StagedAchievement>& staged,
                                       size_t from, const TwinQuestion& ask,
                                       const std::function<void(size_t)>& dropped) {
    size_t at = from;
    while (at < staged.size()) {
        auto twin = findStoredTwin(db, staged[at].name, staged[at].unit);
        if (!twin) return twin.error();
        const TwinChoice choice = *twin ? ask(staged[at], **twin) : TwinChoice::Keep;
        if (choice == TwinChoice::Stop) return at;
        if (choice == TwinChoice::Keep) {
            ++at;
            continue;
        }
        if (store::Status s = removeStagedAchievement(db, staged[at]); !s) return s.error();
        // Those before it had no stored twin and still have none: the check goes on here.
        staged.erase(staged.begin() + static_cast<std::ptrdiff_t>(at));
        if (dropped) dropped(at);
    }
    return at;
}

} // namespace xb::exchange
