// Runs one script line over a 1024 x 1024 grid (x and y from 0 to 64) as a whole script through
// the engine (CMathScript::LoadText: ramps, parsing and the element-wise calls) and reports
// million points per second (Mpoints_per_s). The line assigns the letter v.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "functions/Groups.h"
#include "script/MathScript.h"

namespace bench {

inline void ThroughScript(benchmark::State& state, const char* line) {
    constexpr int kSide = 1024;
    static bool registered = (luneth::RegisterLibraryGroups(), true);
    (void)registered;
    const std::string text = std::string(
                                 "pixels = width:1024 height:1024\n"
                                 "x = from 0.0 to 64.0 W\n"
                                 "y = from 0.0 to 64.0 H\n") +
                             line + "\n";
    luneth::CMathScript script;
    for (auto _ : state) {
        if (!script.LoadText(text.c_str(), text.size()) || script.ElementCount() != kSide * kSide) {
            state.SkipWithError("script failed");
            break;
        }
        benchmark::DoNotOptimize(script.Letter('v')->At(kSide * kSide - 1));
    }
    state.counters["Mpoints_per_s"] = benchmark::Counter(
        static_cast<double>(kSide) * kSide / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace bench
