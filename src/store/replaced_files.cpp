#include "replaced_files.h"

#include <fcntl.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace xb::store {

void ReplacedFiles::hold(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) fds_.push_back(fd);
}

ReplacedFiles::~ReplacedFiles() {
    if (fds_.empty()) return;
    const auto closeAll = [](const std::vector<int>& fds) {
        for (int fd : fds)
            ::close(fd);
    };
    try {
        std::thread(closeAll, fds_).detach();
    } catch (const std::system_error&) {
        closeAll(fds_); // no thread to be had: wait for the disk here
    }
}

} // namespace xb::store
