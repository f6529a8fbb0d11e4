#include "sync_scope.h"

#include "system_error.h"

#include <utility>
#include <vector>

namespace xb::store {
namespace {

struct Waiting {
    std::shared_ptr<File> file;
    std::string what;
};

int depth = 0;
std::vector<Waiting>& waiting() {
    static std::vector<Waiting> files;
    return files;
}

// Syncs the waiting files; yields the first failure.
Status syncWaiting() {
    std::vector<Waiting> files = std::move(waiting());
    waiting().clear();
    Status first;
    for (const Waiting& w : files)
        if (Status s = syncNow(*w.file, w.what); !s && first) first = s;
    return first;
}

} // namespace

SyncScope::SyncScope() {
    ++depth;
}

SyncScope::~SyncScope() {
    if (!committed_) (void)commit();
}

Status SyncScope::commit() {
    if (committed_) return {};
    committed_ = true;
    if (--depth > 0) return {};
    return syncWaiting();
}

Status syncNow(File& file, const std::string& what) {
    if (const int error = file.sync())
        return fail("无法写入" + what + "：" + systemErrorText(error));
    return {};
}

Status syncWhenDone(const std::shared_ptr<File>& file, const std::string& what) {
    if (depth == 0) return syncNow(*file, what);
    for (const Waiting& w : waiting())
        if (w.file == file) return {};
    waiting().push_back({file, what});
    return {};
}

} // namespace xb::store
