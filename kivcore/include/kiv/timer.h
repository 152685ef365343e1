// TimerStack: nested high-resolution timings shared through the engine (GetTimerStack).
//
// Start pushes the current counter; Stop pops the latest start and gives the milliseconds since
// then, computed in double precision and returned as float. A Stop on an empty stack gives 0.
// Starts and stops are meant to be strictly paired; starts beyond the 32 saved slots are still
// counted (so the pairing holds) but their Stop gives 0.
#pragma once

#include <chrono>
#include <cstdint>

struct TimerStack {
    static constexpr int kCapacity = 32;

    int64_t frequency = 1000000000;  // counts per second of the counter (nanoseconds)
    int64_t starts[kCapacity] = {};
    int32_t depth = 0;

    static int64_t Counter() {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    void Start() {
        if (depth < kCapacity) starts[depth] = Counter();
        if (depth < INT32_MAX) ++depth;
    }

    float Stop() {
        if (depth <= 0) return 0.0f;
        --depth;
        if (depth >= kCapacity) return 0.0f;
        int64_t now = Counter();
        return static_cast<float>(static_cast<double>(now - starts[depth]) * 1000.0 /
                                  static_cast<double>(frequency));
    }
};
