// Three terrain generators against the fractal sums they build on, each run as a whole script
// through the engine (CMathScript::LoadText: ramps, parsing and the element-wise calls) over a
// 1024 x 1024 grid, in million points per second (Mpoints_per_s). Each generator appears with
// its default octave count N, next to its matching fbm at N octaves and at one octave: the
// generator should cost no more than N times the one-octave fbm.
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

#define TERRAIN_BENCH(name, line) \
    BENCHMARK_CAPTURE(ThroughScript, name, line)->Unit(benchmark::kMillisecond)

// heightfield_2d: coherent value noise, 12 octaves.
TERRAIN_BENCH(heightfield_2d_12, "v = heightfield_2d(x, y)");
TERRAIN_BENCH(coherent_fbm2_12, "v = coherent_fbm2(x, y, 12)");
TERRAIN_BENCH(coherent_fbm2_1, "v = coherent_fbm2(x, y, 1)");
// mars_2d: value noise with its derivatives, 6 octaves.
TERRAIN_BENCH(mars_2d_6, "v = mars_2d(x, y)");
TERRAIN_BENCH(iquilezles_fbm2_6, "v = iquilezles_fbm2(x, y, 6)");
TERRAIN_BENCH(iquilezles_fbm2_1, "v = iquilezles_fbm2(x, y, 1)");
// alps_tx_2d: the texture's value noise with its derivatives, 6 octaves.
TERRAIN_BENCH(alps_tx_2d_6, "v = alps_tx_2d(x, y)");
TERRAIN_BENCH(tex_iquilezles_fbm2_6, "v = tex_iquilezles_fbm2(x, y, 6)");
TERRAIN_BENCH(tex_iquilezles_fbm2_1, "v = tex_iquilezles_fbm2(x, y, 1)");

BENCHMARK_MAIN();
