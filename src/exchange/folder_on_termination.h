// A private folder that must not outlive the process: when the process is ended by SIGTERM,
// SIGINT or SIGHUP while the guard lives, the folder and what it holds are removed before the
// process ends as it otherwise would. Up to eight guards at a time; the guards belong to the
// main thread.
#pragma once

#include <string>

namespace xb::exchange {

class RemoveOnTermination {
  public:
    explicit RemoveOnTermination(const std::string& folder);
    ~RemoveOnTermination();
    RemoveOnTermination(const RemoveOnTermination&) = delete;
    RemoveOnTermination& operator=(const RemoveOnTermination&) = delete;

  private:
    int slot_ = -1;
};

} // namespace xb::exchange
