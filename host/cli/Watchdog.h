// Watchdog: stops a computation of the image object that runs past its time.
//
//   Watchdog dog(luneth, seconds);   from now, after `seconds` (0 or less: never) it calls
//                                    luneth->CancelComputation() from a thread of its own
//   dog.Fired()                      whether it did; the load then returned false and left
//                                    the previous image
// The destructor ends the thread at once when the computation finished first.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "module/ILuneth.h"

class Watchdog {
public:
    Watchdog(ILuneth* luneth, double seconds);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    bool Fired() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    bool fired_ = false;
    std::thread thread_;
};
