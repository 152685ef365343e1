// Colour maps over a 1024 x 1024 grid: a whole script through the engine (CMathScript::LoadText:
// ramp, parsing and the element-wise calls), beside the same script around the cheapest
// one-argument built-in, and the maps called directly through their registry records. Figures
// in million points per second (Mpoints_per_s); the difference to the engine-only script is the
// colour map's own cost.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "functions/Groups.h"
#include "script/FunctionRegistry.h"
#include "script/MathScript.h"

namespace {

constexpr int kSide = 1024;
constexpr int kPoints = kSide * kSide;

void RegisterOnce() {
    static bool registered = (luneth::RegisterLibraryGroups(), true);
    (void)registered;
}

void SetRate(benchmark::State& state) {
    state.counters["Mpoints_per_s"] = benchmark::Counter(
        static_cast<double>(kPoints) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void ThroughScript(benchmark::State& state, const char* function) {
    RegisterOnce();
    const std::string text = std::string(
                                 "pixels = width:1024 height:1024\n"
                                 "x = from 0.0 to 1.0 W\n"
                                 "v = ") +
                             function + "(x)\n";
    luneth::CMathScript script;
    for (auto _ : state) {
        if (!script.LoadText(text.c_str(), text.size()) || script.ElementCount() != kPoints) {
            state.SkipWithError("script failed");
            break;
        }
        benchmark::DoNotOptimize(script.Letter('v')->At(kPoints - 1));
    }
    SetRate(state);
}

void Direct(benchmark::State& state, const char* function) {
    RegisterOnce();
    const luneth::FunctionRecord* record =
        luneth::GetFunctionRecord(luneth::LookupFunction(function));
    if (!record || !record->slots.float1) {
        state.SkipWithError("not a one-argument built-in");
        return;
    }
    std::vector<float> out(kPoints);
    for (auto _ : state) {
        for (int i = 0; i < kPoints; ++i)
            out[i] = record->slots.float1(static_cast<float>(i % kSide) / kSide);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    SetRate(state);
}

}  // namespace

BENCHMARK_CAPTURE(ThroughScript, quintic_viridis, "quintic_viridis")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ThroughScript, LUT_HotIron, "LUT_HotIron")->Unit(benchmark::kMillisecond);
// The engine alone: the same script around the cheapest one-argument built-in.
BENCHMARK_CAPTURE(ThroughScript, engine_abs, "abs")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Direct, quintic_viridis, "quintic_viridis")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Direct, LUT_HotIron, "LUT_HotIron")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
