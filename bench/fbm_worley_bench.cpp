// A fractal sum and a Worley noise over a 1024 x 1024 grid, each run as a whole script through
// the engine (CMathScript::LoadText: ramps, parsing and the element-wise calls), in million
// points per second (Mpoints_per_s).
#include "ScriptBench.h"

using bench::ThroughScript;

BENCHMARK_CAPTURE(ThroughScript, xor_value_fbm2_4_octaves, "v = xor_value_fbm2(x, y, 4)")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ThroughScript, xor_worley2d, "v = xor_worley2d(x, y)")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ThroughScript, xor_fast_worley2d, "v = xor_fast_worley2d(x, y)")
    ->Unit(benchmark::kMillisecond);
// The engine alone: the same script around the cheapest two-argument built-in.
BENCHMARK_CAPTURE(ThroughScript, engine_floor_max, "v = max(x, y)")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
