#include "strided_bytes.h"

#include <algorithm>
#include <atomic>
#include <csetjmp>
#include <csignal>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace xb::store {
namespace {

// A file cut short under a mapping raises SIGBUS on the next touch of the lost pages. While a
// gather runs on this thread, that signal ends the gather instead of the program.
thread_local sigjmp_buf* tGuard = nullptr;
struct sigaction gPrevious {};

void onBusError(int signal, siginfo_t* info, void* context) {
    if (tGuard != nullptr) siglongjmp(*tGuard, 1);
    // Not ours: whoever handled it before does, or the default ends the program as it would have.
    if (gPrevious.sa_flags & SA_SIGINFO) {
        if (gPrevious.sa_sigaction != nullptr) gPrevious.sa_sigaction(signal, info, context);
        return;
    }
    if (gPrevious.sa_handler == SIG_IGN) return;
    if (gPrevious.sa_handler != SIG_DFL && gPrevious.sa_handler != nullptr) {
        gPrevious.sa_handler(signal);
        return;
    }
    ::signal(SIGBUS, SIG_DFL);
    ::raise(SIGBUS);
}

void installGuard() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &gPrevious);
    });
}

// Touches the bytes; nothing in here owns anything, so leaving it by the guard's jump is safe.
bool copyGuarded(const char* from, size_t stride, size_t count, const RowPiece* pieces,
                 size_t pieceCount, char* out) {
    sigjmp_buf guard;
    if (sigsetjmp(guard, 0) != 0) {
        tGuard = nullptr;
        return false;
    }
    tGuard = &guard;
    // The fences keep the touches between setting the guard and clearing it.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    for (size_t i = 0; i < count; ++i) {
        const volatile char* row = from + i * stride;
        for (size_t p = 0; p < pieceCount; ++p)
            for (size_t b = 0; b < pieces[p].width; ++b)
                *out++ = row[pieces[p].offset + b];
    }
    std::atomic_signal_fence(std::memory_order_seq_cst);
    tGuard = nullptr;
    return true;
}

} // namespace

bool gatherRowPieces(int fd, off_t first, size_t stride, size_t count,
                     const std::vector<RowPiece>& pieces, char* out) {
    // A few megabytes of the file are mapped at a time: the pages touched count as the program's
    // memory while they are mapped.
    constexpr size_t kSpan = 8 << 20;
    const size_t rowsPerSpan = std::max<size_t>(1, kSpan / stride);
    size_t pieceBytes = 0;
    for (const RowPiece& piece : pieces)
        pieceBytes += piece.width;
    const long page = ::sysconf(_SC_PAGESIZE);
    installGuard();
    for (size_t done = 0; done < count;) {
        const size_t rows = std::min(rowsPerSpan, count - done);
        const off_t from = first + static_cast<off_t>(done * stride);
        const off_t start = from - from % page;
        const size_t length = static_cast<size_t>(from - start) + rows * stride;
        void* map = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, fd, start);
        if (map == MAP_FAILED) return false;
        const bool ok = copyGuarded(static_cast<const char*>(map) + (from - start), stride, rows,
                                    pieces.data(), pieces.size(), out + done * pieceBytes);
        ::munmap(map, length);
        if (!ok) return false;
        done += rows;
    }
    return true;
}

} // namespace xb::store
