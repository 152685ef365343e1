// fractal_mandelbrot over an 800 x 600 grid with its default count (128), run as a whole
// script through the engine (CMathScript::LoadText) and, for comparison, as a plain loop over
// the registered function. Both report million iterations of z <- z^2 + c per second; the
// iteration total of the grid is counted once beforehand (a pixel that escapes after k steps
// inside took k + 1 steps, one that never escapes 128).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "functions/Groups.h"
#include "script/FunctionRegistry.h"
#include "script/MathScript.h"

namespace {

constexpr int kWidth = 800, kHeight = 600, kDefaultCount = 128;

const char kScript[] =
    "pixels = width:800 height:600\n"
    "x = from -2.5 to 1.0 W\n"
    "y = from -1.2 to 1.2 H\n"
    "m = fractal_mandelbrot(x, y)\n";

luneth::VariadicFn Mandelbrot() {
    static bool registered = (luneth::RegisterLibraryGroups(), true);
    (void)registered;
    const luneth::FunctionRecord* r =
        luneth::GetFunctionRecord(luneth::LookupFunction("fractal_mandelbrot"));
    return r ? r->slots.variadic : nullptr;
}

// The grid's coordinates as the script's ramps make them.
std::vector<float> Ramp(int n, float from, float to) {
    std::vector<float> v(n);
    for (int k = 0; k < n; ++k) v[k] = static_cast<float>(k) * ((to - from) / (n - 1)) + from;
    return v;
}

double GridIterations() {
    static const double total = [] {
        luneth::VariadicFn f = Mandelbrot();
        std::vector<float> xs = Ramp(kWidth, -2.5f, 1.0f), ys = Ramp(kHeight, -1.2f, 1.2f);
        double sum = 0.0;
        for (float y : ys)
            for (float x : xs) {
                float args[24] = {x, y};
                float inside = f(args, 2);
                sum += inside < kDefaultCount ? inside + 1.0 : kDefaultCount;
            }
        return sum;
    }();
    return total;
}

void Report(benchmark::State& state) {
    state.counters["Miter_per_s"] =
        benchmark::Counter(GridIterations() / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void MandelbrotScript(benchmark::State& state) {
    Mandelbrot();
    luneth::CMathScript script;
    for (auto _ : state) {
        if (!script.LoadText(kScript, std::strlen(kScript))) state.SkipWithError("script failed");
        benchmark::DoNotOptimize(script.Letter('m'));
    }
    Report(state);
}

void MandelbrotLoop(benchmark::State& state) {
    luneth::VariadicFn f = Mandelbrot();
    std::vector<float> xs = Ramp(kWidth, -2.5f, 1.0f), ys = Ramp(kHeight, -1.2f, 1.2f);
    std::vector<float> out(static_cast<size_t>(kWidth) * kHeight);
    for (auto _ : state) {
        size_t i = 0;
        for (float y : ys)
            for (float x : xs) {
                float args[24] = {x, y};
                out[i++] = f(args, 2);
            }
        benchmark::DoNotOptimize(out.data());
    }
    Report(state);
}

}  // namespace

BENCHMARK(MandelbrotScript)->Unit(benchmark::kMillisecond);
BENCHMARK(MandelbrotLoop)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
