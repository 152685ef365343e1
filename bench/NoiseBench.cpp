// Lattice noise over a 1024 x 1024 grid: through the script engine (ramps, parsing and the
// element-wise call included) and as raw function calls. Items are grid points, so
// items_per_second / 1e6 is million points per second.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "functions/LatticeNoise.h"
#include "script/MathScript.h"

namespace {

constexpr int kSide = 1024;

void ThroughScript(benchmark::State& state, const char* function) {
    const std::string text = std::string(
                                 "pixels = width:1024 height:1024\n"
                                 "x = from 0.0 to 64.0 W\n"
                                 "y = from 0.0 to 64.0 H\n"
                                 "v = ") +
                             function + "(x, y)\n";
    luneth::CMathScript script;
    for (auto _ : state) {
        bool ok = script.LoadText(text.c_str(), text.size());
        if (!ok || script.ElementCount() != kSide * kSide) {
            state.SkipWithError("script failed");
            break;
        }
        benchmark::DoNotOptimize(script.Letter('v')->At(kSide * kSide - 1));
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

template <float (*Noise)(float, float)>
void Raw(benchmark::State& state) {
    std::vector<float> out(kSide * kSide);
    for (auto _ : state) {
        for (int j = 0; j < kSide; ++j) {
            float y = 64.0f * static_cast<float>(j) / kSide;
            for (int i = 0; i < kSide; ++i)
                out[j * kSide + i] = Noise(64.0f * static_cast<float>(i) / kSide, y);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

using namespace luneth::noise;

BENCHMARK_CAPTURE(ThroughScript, xor_value_noise2, "xor_value_noise2")->Unit(benchmark::kMillisecond);
// The engine alone: the same script around the cheapest two-argument built-in.
BENCHMARK_CAPTURE(ThroughScript, engine_floor_max, "max")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ThroughScript, xor_gradient_noise2, "xor_gradient_noise2")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ThroughScript, xor_simplex_noise2, "xor_simplex_noise2")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Raw<ValueNoise2<XorHash>>)->Name("Raw/xor_value_noise2")->Unit(benchmark::kMillisecond);
BENCHMARK(Raw<GradientNoise2<XorHash>>)
    ->Name("Raw/xor_gradient_noise2")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Raw<SimplexNoise2<XorHash>>)
    ->Name("Raw/xor_simplex_noise2")
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
