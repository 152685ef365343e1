// Accumulating equations: the time one picture takes, per equation, at default parameters.
// The fill (the whole cost; the pixels afterwards are lookups) runs on a fresh equation each
// iteration, as a fresh image object computes it.
//
//     build/bench/bench_accumulation                       every accumulating equation
//     taskset -c 0 build/bench/bench_accumulation          the same on one core
#include <benchmark/benchmark.h>

#include <string>

#include "equations/EquationCatalogue.h"
#include "equations/EquationFamilies.h"
#include "equations/EquationRenderer.h"
#include "functions/RandomTexture.h"

namespace {

using namespace luneth;

void BenchPicture(benchmark::State& state, uint32_t index) {
    std::vector<uint32_t> texels;
    for (auto _ : state) {
        state.PauseTiming();
        auto e = CreateEquation(index);
        texels.resize(size_t(e->width) * e->height);
        RandomStream random = texture::StreamAfterFill();
        EquationContext context{random};
        state.ResumeTiming();
        RenderEquation(*e, context, texels.data(), e->width, 1);
        benchmark::DoNotOptimize(texels.data());
    }
}

const bool kRegistered = [] {
    for (auto family : {DragonEquations, CountColouredEquations, OrbitEquations, CanvasEquations})
        for (const EquationClass& c : family())
            for (const EquationInfo& row : EquationCatalogue())
                if (std::string(c.className) == row.className)
                    benchmark::RegisterBenchmark(
                        (std::to_string(row.index) + " " + row.name).c_str(), BenchPicture,
                        row.index)
                        ->Unit(benchmark::kMillisecond)
                        ->MeasureProcessCPUTime()
                        ->Iterations(2);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
