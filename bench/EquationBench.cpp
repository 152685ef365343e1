// Pixel equations: million pixels per second of each family, computed one GetPixel call
// through the interface per pixel, row by row; and the time of a whole picture as the image
// object computes it (RenderEquation on two threads, from a freshly built equation, so that
// accumulating equations accumulate every time).
//
//     build/bench/bench_equations                        per family, then per equation
//     build/bench/bench_equations --benchmark_filter=Render   whole pictures only
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "equations/EquationCatalogue.h"
#include "equations/EquationFamilies.h"
#include "equations/EquationRenderer.h"
#include "functions/RandomTexture.h"

namespace {

using namespace luneth;

struct Family {
    const char* name;
    EquationClassTable (*classes)();
};
const Family kFamilies[] = {
    {"BitPattern", BitPatternEquations},
    {"Emblem", EmblemEquations},
    {"ClosedForm", ClosedFormEquations},
    {"TestFunction", TestFunctionEquations},
    {"Field", FieldEquations},
    {"Scene", SceneEquations},
    {"Painter", PainterEquations},
    {"Raycaster", RaycasterEquations},
    {"IteratedMap", IteratedMapEquations},
};

std::vector<std::unique_ptr<IPixelEquation>> FamilyEquations(const Family& family) {
    std::vector<std::unique_ptr<IPixelEquation>> list;
    for (const EquationInfo& row : EquationCatalogue())
        for (const EquationClass& c : family.classes())
            if (std::strcmp(c.className, row.className) == 0)
                list.push_back(CreateEquation(row.index));
    return list;
}

// Computes every picture once per iteration into one reused texture-sized buffer.
void ComputePictures(benchmark::State& state, const std::vector<IPixelEquation*>& equations) {
    size_t most = 0;
    for (IPixelEquation* e : equations) most = std::max<size_t>(most, size_t{e->width} * e->height);
    std::vector<uint32_t> texture(most);
    uint64_t pixels = 0;
    for (auto _ : state) {
        for (IPixelEquation* e : equations) {
            uint32_t* out = texture.data();
            for (uint32_t y = 0; y < e->height; ++y)
                for (uint32_t x = 0; x < e->width; ++x) *out++ = e->GetPixel(x, y);
            benchmark::DoNotOptimize(texture.data());
            pixels += uint64_t{e->width} * e->height;
        }
    }
    state.counters["Mpixel/s"] =
        benchmark::Counter(static_cast<double>(pixels) / 1e6, benchmark::Counter::kIsRate);
}

void BenchFamily(benchmark::State& state, const Family* family) {
    auto owned = FamilyEquations(*family);
    std::vector<IPixelEquation*> equations;
    for (auto& e : owned) equations.push_back(e.get());
    ComputePictures(state, equations);
}

void BenchEquation(benchmark::State& state, uint32_t index) {
    auto e = CreateEquation(index);
    ComputePictures(state, {e.get()});
}

// One whole picture on two threads (the machines the pictures are sized for), its equation
// built afresh outside the timing.
void BenchRender(benchmark::State& state, uint32_t index) {
    const EquationInfo& row = EquationCatalogue()[index];
    std::vector<uint32_t> texture(size_t{row.width} * row.height);
    for (auto _ : state) {
        state.PauseTiming();
        auto e = CreateEquation(index);
        RandomStream random = texture::StreamAfterFill();
        EquationContext context{random};
        state.ResumeTiming();
        RenderEquation(*e, context, texture.data(), e->width, 2);
        benchmark::DoNotOptimize(texture.data());
    }
}

const bool kRegistered = [] {
    for (const Family& f : kFamilies)
        benchmark::RegisterBenchmark((std::string("Family/") + f.name).c_str(), BenchFamily, &f)
            ->Unit(benchmark::kMillisecond);
    for (const Family& f : kFamilies)
        for (const EquationInfo& row : EquationCatalogue())
            for (const EquationClass& c : f.classes())
                if (std::strcmp(c.className, row.className) == 0)
                    benchmark::RegisterBenchmark(
                        (std::string("Equation/") + std::to_string(row.index) + " " + row.name)
                            .c_str(),
                        BenchEquation, row.index)
                        ->Unit(benchmark::kMillisecond);
    for (const Family& f : kFamilies)
        for (const EquationInfo& row : EquationCatalogue())
            for (const EquationClass& c : f.classes())
                if (std::strcmp(c.className, row.className) == 0)
                    benchmark::RegisterBenchmark(
                        (std::string("Render/") + std::to_string(row.index) + " " + row.name)
                            .c_str(),
                        BenchRender, row.index)
                        ->Unit(benchmark::kMillisecond)
                        ->UseRealTime();
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
