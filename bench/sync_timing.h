// The operating system's file layer with the time spent waiting for the disk counted: what the
// syncs that make a success durable cost the user, beside the whole of the work.
#pragma once

#include "store/file_system.h"

#include <chrono>

namespace xb::bench {

struct SyncCost {
    int syncs = 0;
    double seconds = 0;
};

class SyncTiming : public store::FileSystem {
  public:
    SyncTiming() : real_(store::fileSystem()) {}
    SyncCost cost() const { return cost_; }
    void reset() { cost_ = {}; }

    int open(const std::string& path, store::OpenAs how,
             std::unique_ptr<store::File>& file) override {
        std::unique_ptr<store::File> opened;
        const int error = real_.open(path, how, opened);
        if (error == 0) file = std::make_unique<TimedFile>(std::move(opened), cost_);
        return error;
    }
    int rename(const std::string& from, const std::string& to) override {
        return real_.rename(from, to);
    }
    int remove(const std::string& path) override { return real_.remove(path); }
    int createDirectory(const std::string& path) override { return real_.createDirectory(path); }
    int copyPermissions(const std::string& from, const std::string& to) override {
        return real_.copyPermissions(from, to);
    }
    int syncDirectory(const std::string& path) override {
        return timed(cost_, [&] { return real_.syncDirectory(path); });
    }

  private:
    template <class F> static int timed(SyncCost& cost, F sync) {
        const auto start = std::chrono::steady_clock::now();
        const int error = sync();
        cost.seconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++cost.syncs;
        return error;
    }

    class TimedFile : public store::File {
      public:
        TimedFile(std::unique_ptr<store::File> real, SyncCost& cost)
            : real_(std::move(real)), cost_(cost) {}
        int readAt(void* data, size_t size, uint64_t offset, size_t& got) override {
            return real_->readAt(data, size, offset, got);
        }
        int writeAt(const void* data, size_t size, uint64_t offset) override {
            return real_->writeAt(data, size, offset);
        }
        int size(uint64_t& bytes) override { return real_->size(bytes); }
        int truncate(uint64_t bytes) override { return real_->truncate(bytes); }
        int sync() override {
            return timed(cost_, [&] { return real_->sync(); });
        }
        int tryLock(store::LockKind kind) override { return real_->tryLock(kind); }

      private:
        std::unique_ptr<store::File> real_;
        SyncCost& cost_;
    };

    store::FileSystem& real_;
    SyncCost cost_;
};

} // namespace xb::bench
