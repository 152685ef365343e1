// What the fuzz targets share: a headless engine for the ones that go through its services, a
// deadline that cancels a computation which runs too long (so that a slow input is a cancelled
// one, as in the hosts, and only work that can't be stopped shows as a hang), and a reader of
// little-endian numbers from the input.
#pragma once

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "common/Progress.h"
#include "kiv/engine.h"

namespace fuzz {

// A file of our own for inputs that must come from a path: in memory where /dev/shm exists.
inline std::string ScratchPath(const char* extension) {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/brisel-fuzz-" + std::to_string(getpid()) + "." + extension;
}

inline bool WriteScratch(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

// The engine without a window, with a configuration of its own: no log on standard error,
// the given modules and memory budget.
inline bool StartEngine(const char* modules, int budgetMiB) {
    std::string ini = ScratchPath("ini");
    std::string text = "[KivCore]\nLogFile=/dev/null\nLogLevel=5\nModules=" + std::string(modules) +
                       "\nMemoryBudgetMiB=" + std::to_string(budgetMiB) + "\n";
    if (!WriteScratch(ini, reinterpret_cast<const uint8_t*>(text.data()), text.size()))
        return false;
    bool ok = KivEngineSetup(nullptr, 0, nullptr, ini.c_str());
    std::remove(ini.c_str());
    return ok;
}

// Cancels `control` when an input has run for `limit`; one thread for the whole campaign.
class Deadline {
public:
    explicit Deadline(std::chrono::milliseconds limit) : limit_(limit) {
        thread_ = std::thread([this] { Watch(); });
        thread_.detach();  // lives as long as the process
    }
    // Arms the deadline for the next input.
    void Start(luneth::ComputeControl* control) {
        std::lock_guard lock(mutex_);
        control_ = control;
        end_ = std::chrono::steady_clock::now() + limit_;
        wake_.notify_all();
    }
    void Stop() {
        std::lock_guard lock(mutex_);
        control_ = nullptr;
    }

private:
    void Watch() {
        std::unique_lock lock(mutex_);
        for (;;) {
            if (!control_) {
                wake_.wait(lock);
                continue;
            }
            if (wake_.wait_until(lock, end_) == std::cv_status::timeout && control_ &&
                std::chrono::steady_clock::now() >= end_) {
                control_->RequestCancel();
                control_ = nullptr;
            }
        }
    }

    std::chrono::milliseconds limit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    luneth::ComputeControl* control_ = nullptr;
    std::chrono::steady_clock::time_point end_;
    std::thread thread_;
};

// Reads the input front to back; past its end every number is 0.
struct Reader {
    const uint8_t* data;
    size_t size;

    bool Empty() const { return size == 0; }
    uint32_t Bytes(int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) v |= uint32_t(Byte()) << (8 * i);
        return v;
    }
    uint8_t Byte() {
        if (!size) return 0;
        --size;
        return *data++;
    }
    float Float() {
        uint32_t bits = Bytes(4);
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
};

}  // namespace fuzz
