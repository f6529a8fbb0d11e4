#include "folder_on_termination.h"

#include <array>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace xb::exchange {
namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};
constexpr int kMaxDepth = 8;

constexpr int kSlots = 8;
char folderPaths[kSlots][4096];
volatile sig_atomic_t slotUsed[kSlots] = {};
int guards = 0;
struct sigaction previous[kSignals.size()];

// Directory entries as the kernel returns them; only system calls are used from here on, since
// they are all a signal handler may rely on.
struct DirEntry {
    uint64_t inode;
    int64_t offset;
    unsigned short length;
    unsigned char type;
    char name[1];
};

bool isDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

void removeContents(int dir, int depth) {
    bool removed = true;
    // Entries removed while reading may shift the rest: read again until a pass removes nothing.
    while (removed) {
        removed = false;
        ::lseek(dir, 0, SEEK_SET);
        alignas(8) char buffer[4096];
        for (;;) {
            const long n = ::syscall(SYS_getdents64, dir, buffer, sizeof buffer);
            if (n <= 0) break;
            for (long at = 0; at < n;) {
                const auto* entry = reinterpret_cast<const DirEntry*>(buffer + at);
                at += entry->length;
                if (isDotEntry(entry->name)) continue;
                if (::unlinkat(dir, entry->name, 0) == 0) {
                    removed = true;
                    continue;
                }
                if (depth >= kMaxDepth) continue;
                const int sub =
                    ::openat(dir, entry->name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (sub < 0) continue;
                removeContents(sub, depth + 1);
                ::close(sub);
                if (::unlinkat(dir, entry->name, AT_REMOVEDIR) == 0) removed = true;
            }
        }
    }
}

void restorePrevious() {
    for (size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &previous[i], nullptr);
}

void onTermination(int signal) {
    for (int i = 0; i < kSlots; ++i) {
        if (!slotUsed[i]) continue;
        slotUsed[i] = 0;
        const int dir = ::open(folderPaths[i], O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (dir >= 0) {
            removeContents(dir, 0);
            ::close(dir);
            ::rmdir(folderPaths[i]);
        }
    }
    // The signal is raised again under the handling the process had before; it is delivered
    // once this handler returns.
    restorePrevious();
    ::raise(signal);
}

} // namespace

RemoveOnTermination::RemoveOnTermination(const std::string& folder) {
    if (folder.empty() || folder.size() >= sizeof folderPaths[0]) return;
    int slot = 0;
    while (slot < kSlots && slotUsed[slot])
        ++slot;
    if (slot == kSlots) return;
    if (guards == 0) {
        struct sigaction action {};
        action.sa_handler = onTermination;
        sigemptyset(&action.sa_mask);
        for (int s : kSignals)
            sigaddset(&action.sa_mask, s);
        for (size_t i = 0; i < kSignals.size(); ++i) {
            ::sigaction(kSignals[i], &action, &previous[i]);
            // A signal the process ignores does not end it: the folder is still in use then.
            if (previous[i].sa_handler == SIG_IGN) ::sigaction(kSignals[i], &previous[i], nullptr);
        }
    }
    ++guards;
    std::memcpy(folderPaths[slot], folder.c_str(), folder.size() + 1);
    slotUsed[slot] = 1;
    slot_ = slot;
}

RemoveOnTermination::~RemoveOnTermination() {
    if (slot_ < 0) return;
    slotUsed[slot_] = 0;
    if (--guards == 0) restorePrevious();
}

} // namespace xb::exchange
