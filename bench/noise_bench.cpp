// Fractal-sum and cellular built-ins over a 1024 x 1024 grid, evaluated through the script
// engine as a script line is (parse, call per element, store), in million points per second.
#include <benchmark/benchmark.h>

#include <cstring>

#include "functions/Groups.h"
#include "script/Evaluate.h"
#include "script/MathScript.h"

namespace {

constexpr int kSide = 1024;

luneth::CMathScript& Script() {
    static luneth::CMathScript script;
    static bool ready = [] {
        luneth::RegisterLibraryGroups();
        const char* text =
            "pixels = width:1024 height:1024\n"
            "x = from 0.0 to 64.0 W\n"
            "y = from 0.0 to 64.0 H\n";
        return script.LoadText(text, std::strlen(text));
    }();
    (void)ready;
    return script;
}

void EvaluateLine(benchmark::State& state, const char* expression) {
    luneth::CMathScript& script = Script();
    luneth::ScriptValue z;
    for (auto _ : state) {
        if (!luneth::ParseExpression(&script, expression, &z)) state.SkipWithError("failed");
        benchmark::DoNotOptimize(z.data);
    }
    const double millions = static_cast<double>(kSide) * kSide / 1e6;
    state.counters["Mpoints_per_s"] =
        benchmark::Counter(millions, benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK_CAPTURE(EvaluateLine, xor_value_fbm2_4_octaves, "xor_value_fbm2(x, y, 4)")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EvaluateLine, xor_worley2d, "xor_worley2d(x, y)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EvaluateLine, xor_fast_worley2d, "xor_fast_worley2d(x, y)")
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
