// Whole pictures of the drawn families (random pictures, cloths, stripes, spirals, patterns),
// computed as the image object computes them: a fresh equation at its defaults, prepared (its
// random numbers drawn) and rendered on two threads. "Time" is the wall clock; "CPU" is the
// work of all threads together, which is what a picture costs on a machine that other work
// shares (half of it is the wall time on two free cores).
//
//     build/bench/bench_pictures                      every member, one row each
//     build/bench/bench_pictures --benchmark_filter=Spiral
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "equations/EquationCatalogue.h"
#include "equations/EquationFamilies.h"
#include "equations/EquationRenderer.h"

namespace {

using namespace luneth;

constexpr int kThreads = 2;

struct Family {
    const char* name;
    EquationClassTable (*classes)();
};
const Family kFamilies[] = {
    {"Random", RandomPictureEquations}, {"Cloth", ClothEquations},     {"Stripe", StripeEquations},
    {"Spiral", SpiralEquations},        {"Pattern", PatternEquations},
};

void RenderFresh(benchmark::State& state, uint32_t index) {
    std::vector<uint32_t> texels;
    for (auto _ : state) {
        auto e = CreateEquation(index);
        texels.resize(size_t{e->width} * e->height);
        RandomStream stream(1);
        EquationContext context{stream};
        RenderEquation(*e, context, texels.data(), e->width, kThreads);
        benchmark::DoNotOptimize(texels.data());
    }
}

const bool kRegistered = [] {
    for (const Family& f : kFamilies)
        for (const EquationInfo& row : EquationCatalogue())
            for (const EquationClass& c : f.classes())
                if (std::strcmp(c.className, row.className) == 0)
                    benchmark::RegisterBenchmark(
                        (std::string(f.name) + "/" + std::to_string(row.index) + " " + row.name)
                            .c_str(),
                        RenderFresh, row.index)
                        ->Unit(benchmark::kMillisecond)
                        ->UseRealTime()
                        ->MeasureProcessCPUTime()
                        ->MinTime(0.5);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
