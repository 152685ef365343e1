// What a long computation polls: a cancel request and a progress report.
//
//   RequestCancel()         from any thread: the computation stops at its next check and
//                           reports failure; what it was making is dropped
//   Cancelled()             whether a cancel was requested since the last Reset()
//   SetReport(fn, user)     fn(user, done, total) receives the progress
//   Progress(done, total)   reports, from any thread of the computation; reports never
//                           overlap and `done` never goes back (an older count is dropped)
//
// The image object owns one; its script and the equations it computes check it between lines,
// repeats, tiles, rows and accumulation steps.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

namespace luneth {

class ComputeControl {
public:
    using Report = void (*)(void* user, int64_t done, int64_t total);

    void RequestCancel() { cancel_.store(true, std::memory_order_relaxed); }
    bool Cancelled() const { return cancel_.load(std::memory_order_relaxed); }
    // Clears the request and the progress for the next computation.
    void Reset() {
        cancel_.store(false, std::memory_order_relaxed);
        std::lock_guard lock(mutex_);
        last_ = -1;
    }

    void SetReport(Report report, void* user) {
        std::lock_guard lock(mutex_);
        report_ = report;
        user_ = user;
    }

    void Progress(int64_t done, int64_t total) {
        std::lock_guard lock(mutex_);
        if (!report_ || done <= last_) return;
        last_ = done;
        report_(user_, done, total);
    }

private:
    std::atomic<bool> cancel_{false};
    std::mutex mutex_;
    Report report_ = nullptr;
    void* user_ = nullptr;
    int64_t last_ = -1;
};

}  // namespace luneth
