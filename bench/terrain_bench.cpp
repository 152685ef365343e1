// Three terrain generators against the fractal sums they build on, each through the script
// engine over 1024 x 1024 points (ScriptBench.h). Each generator appears with its default octave
// count N, next to its matching fbm at N octaves and at one octave: the generator should cost
// no more than N times the one-octave fbm.
#include "ScriptBench.h"

using bench::ThroughScript;

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
