// Evaluation speed of the script engine over two 1024 x 1024 arrays, one line at a time, as a
// script line is evaluated (parse, read variables, apply, store into the target).
// compare_numpy.py runs this next to the same computations in numpy float32.
#include <benchmark/benchmark.h>

#include <cstring>

#include "script/Evaluate.h"
#include "script/MathScript.h"

namespace {

constexpr int kSide = 1024;

luneth::CMathScript& Script() {
    static luneth::CMathScript script;
    static bool ready = [] {
        const char* text =
            "pixels = width:1024 height:1024\n"
            "x = from 0.0 to 1.0 W\n"
            "y = from 0.0 to 1.0 H\n"
            "w = x * 0.5 + 0.25\n";
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
    const double elements = static_cast<double>(kSide) * kSide;
    state.counters["ns_per_element"] = benchmark::Counter(
        elements, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK_CAPTURE(EvaluateLine, arithmetic, "x * y + w")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EvaluateLine, sin, "sin(x)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EvaluateLine, smoothstep, "smoothstep(0.2, 0.8, x)")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EvaluateLine, variadic, "distance_v3(x, y, w, 0.5, 0.5, 0.5)")
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
