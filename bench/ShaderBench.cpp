// Shader-style equations: the time of each default picture (indices 16-41), computed as the
// image object computes it: RenderEquation on two threads. "Time" is the wall time, "CPU" the
// processor time of all threads together (what the picture costs on a busy machine).
//
//     build/bench/bench_shader                 every member
//     build/bench/bench_shader --benchmark_filter=Galaxy
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "equations/EquationCatalogue.h"
#include "equations/EquationRenderer.h"
#include "functions/RandomTexture.h"

namespace {

using namespace luneth;

constexpr int kThreads = 2;

void BenchPicture(benchmark::State& state, uint32_t index) {
    auto e = CreateEquation(index);
    std::vector<uint32_t> texels(size_t{e->width} * e->height);
    for (auto _ : state) {
        RandomStream random = texture::StreamAfterFill();
        EquationContext context{random};
        RenderEquation(*e, context, texels.data(), e->width, kThreads);
        benchmark::DoNotOptimize(texels.data());
    }
}

const bool kRegistered = [] {
    for (uint32_t index = 16; index <= 41; ++index)
        benchmark::RegisterBenchmark(
            (std::to_string(index) + " " + EquationCatalogue()[index].name).c_str(), BenchPicture,
            index)
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime()
            ->UseRealTime()
            ->Iterations(3);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
