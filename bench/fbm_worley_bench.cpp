// A fractal sum and a Worley noise over a 1024 x 1024 grid, each run as a whole script through
// the engine (CMathScript::LoadText: ramps, parsing and the element-wise calls), in million
// points per second (Mpoints_per_s).
#include <benchmark/benchmark.h>

#include <string>

#include "functions/Groups.h"
#include "script/MathScript.h"

namespace {

constexpr int kSide = 1024;

void ThroughScript(benchmark::State& state, const char* line) {
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

}  // namespace

BENCHMARK_CAPTURE(ThroughScript, xor_value_fbm2_4_octaves, "v = xor_value_fbm2(x, y, 4)")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ThroughScript, xor_worley2d, "v = xor_worley2d(x, y)")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ThroughScript, xor_fast_worley2d, "v = xor_fast_worley2d(x, y)")
    ->Unit(benchmark::kMillisecond);
// The engine alone: the same script around the cheapest two-argument built-in.
BENCHMARK_CAPTURE(ThroughScript, engine_floor_max, "v = max(x, y)")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
