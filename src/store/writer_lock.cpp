#include "writer_lock.h"

#include "system_error.h"

#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <thread>

namespace xb::store {
namespace {

std::string lockPath(const std::string& directory) {
    return (std::filesystem::path(directory) / WriterLock::fileName).string();
}

std::string now() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

// Who the lock file says holds the directory: "命令 xunbao-cli import（进程号 4242，自 … 起）".
std::string holderOf(File& file) {
    uint64_t size = 0;
    std::string text;
    if (file.size(size) == 0 && size < 4096) {
        text.resize(static_cast<size_t>(size));
        size_t got = 0;
        if (file.readAt(text.data(), text.size(), 0, got) != 0) got = 0;
        text.resize(got);
    }
    std::istringstream lines(text);
    std::string holder, process, since;
    std::getline(lines, holder);
    std::getline(lines, process);
    std::getline(lines, since);
    if (holder.empty()) return {};
    return holder + "（进程号 " + process + "，自 " + since + " 起）";
}

int openLockFile(const std::string& path, std::unique_ptr<File>& file) {
    int error = openFile(path, OpenAs::ReadWrite, file);
    if (error == ENOENT) {
        error = openFile(path, OpenAs::CreateNew, file);
        if (error == EEXIST) error = openFile(path, OpenAs::ReadWrite, file);
    }
    return error;
}

} // namespace

Result<std::unique_ptr<WriterLock>> WriterLock::take(const std::string& directory,
                                                     const std::string& holder) {
    std::unique_ptr<File> file;
    if (const int error = openLockFile(lockPath(directory), file))
        return fail("无法锁定数据目录 " + directory + "：" + systemErrorText(error));
    if (const int error = file->tryLock(LockKind::Exclusive)) {
        if (error != EWOULDBLOCK && error != EAGAIN)
            return fail("无法锁定数据目录 " + directory + "：" + systemErrorText(error));
        // A holder names itself just after it takes the lock and clears its name as it lets
        // go: an empty name is a holder that has only just begun.
        std::string holding = holderOf(*file);
        for (int wait = 0; holding.empty() && wait < 40; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            holding = holderOf(*file);
        }
        return fail("数据目录 " + directory + " 正由" + (holding.empty() ? "另一个程序" : holding) +
                    "使用，现在不能写入。请等它结束后再试");
    }
    // The holder is named only once the lock is ours; a name that cannot be written leaves the
    // lock as good.
    const std::string text =
        holder + "\n" + std::to_string(currentProcessId()) + "\n" + now() + "\n";
    if (file->truncate(0) == 0) (void)file->writeAt(text.data(), text.size(), 0);
    return std::unique_ptr<WriterLock>(new WriterLock(std::move(file)));
}

WriterLock::~WriterLock() {
    (void)file_->truncate(0);
}

} // namespace xb::store
