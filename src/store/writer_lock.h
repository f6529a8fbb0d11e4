// The one writer of a data directory: the application for as long as it runs, a command that
// writes for as long as it works. The lock is taken on a file in the directory and held by the
// operating system, which lets go of it when the holder ends, however it ends, so a killed
// holder never blocks anyone. The file names the holder for whoever is refused.
#pragma once

#include "file_system.h"
#include "result.h"

#include <memory>
#include <string>

namespace xb::store {

class WriterLock {
  public:
    // The file in the data directory that is locked; it stays there between holders.
    static constexpr const char* fileName = ".xunbao-writer";

    // Takes the data directory for `holder` ("应用程序 Xunbao", "命令 xunbao-cli import"); refused
    // at once, with who holds it and since when, while another holds it.
    static Result<std::unique_ptr<WriterLock>> take(const std::string& directory,
                                                    const std::string& holder);
    // Clears the holder's name; the lock goes with the file.
    ~WriterLock();

  private:
    explicit WriterLock(std::unique_ptr<File> file) : file_(std::move(file)) {}
    std::unique_ptr<File> file_;
};

} // namespace xb::store
