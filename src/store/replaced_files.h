// The files a pack replaces, held open past the swap. Giving back the blocks of a table of some
// hundred megabytes waits for the disk (a volume mounted with discard trims them there and
// then), so the last descriptors are closed on a thread of their own instead of keeping the
// caller waiting; the names are already gone, and the space follows shortly.
#pragma once

#include <string>
#include <vector>

namespace xb::store {

class ReplacedFiles {
  public:
    ReplacedFiles() = default;
    // Closes what it holds in the background.
    ~ReplacedFiles();
    ReplacedFiles(const ReplacedFiles&) = delete;
    ReplacedFiles& operator=(const ReplacedFiles&) = delete;

    // Keeps the file at `path` (if there is one) until this is destroyed.
    void hold(const std::string& path);

  private:
    std::vector<int> fds_;
};

} // namespace xb::store
