#include "Watchdog.h"

#include <chrono>

Watchdog::Watchdog(ILuneth* luneth, double seconds) {
    if (!luneth || !(seconds > 0)) return;
    auto limit = std::chrono::duration<double>(seconds);
    thread_ = std::thread([this, luneth, limit] {
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, limit, [this] { return done_; })) return;
        fired_ = true;
        luneth->CancelComputation();  // thread-safe: the load stops at its next check
    });
}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(mutex_);
        done_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

bool Watchdog::Fired() const {
    std::lock_guard lock(mutex_);
    return fired_;
}
