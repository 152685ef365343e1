// Escape-time equations: whole pictures as the image object computes them (RenderEquation, rows
// through ComputeRow in vector lanes), at default parameters, on 1 and 2 threads, and pixel by
// pixel through GetPixel for comparison; "Mandelbrot 1" also on the baseline (SSE2) lanes, with
// its rate in iterations of z <- z^2 + c per second (the picture's iteration total is counted
// once beforehand).
//
//     build/bench/escape_time_bench
//     build/bench/escape_time_bench --benchmark_filter=Mandelbrot1
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "equations/EquationCatalogue.h"
#include "equations/EquationRenderer.h"
#include "equations/LaneMath.h"

namespace {

using namespace luneth;

constexpr uint32_t kMandelbrot1 = 140;
constexpr uint32_t kMembers[] = {140, 141, 142, 143, 144, 145, 146,
                                 147, 148, 151, 169, 170, 174, 175};

// Steps of "Mandelbrot 1" over its picture: a pixel leaving at step i took i steps, one that
// stays took all 100.
double Mandelbrot1Iterations() {
    static const double total = [] {
        double sum = 0.0;
        for (uint32_t y = 0; y < 600; ++y)
            for (uint32_t x = 0; x < 800; ++x) {
                const float cr = 3.1999998f / 800.0f * float(x) - 2.3f;
                const float ci = 2.4f / 600.0f * float(y) - 1.2f;
                float zr = 0.0f, zi = 0.0f;
                int i = 1;
                for (; i <= 100; ++i) {
                    const float nr = zr * zr - zi * zi + cr;
                    zi = 2.0f * zr * zi + ci;
                    zr = nr;
                    if (zr * zr + zi * zi > 500.0f) break;
                }
                sum += i > 100 ? 100 : i;
            }
        return sum;
    }();
    return total;
}

void Report(benchmark::State& state, const IPixelEquation& e) {
    const double pixels = double(e.width) * e.height * double(state.iterations());
    state.counters["Mpixel/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsRate);
    if (state.range(0) == kMandelbrot1) {
        const double steps = Mandelbrot1Iterations() * double(state.iterations());
        state.counters["Giter/s"] = benchmark::Counter(steps / 1e9, benchmark::Counter::kIsRate);
    }
}

// range(0): catalogue index, range(1): threads, range(2): 1 for the wide lanes, 0 baseline.
void BM_Render(benchmark::State& state) {
    auto e = CreateEquation(uint32_t(state.range(0)));
    if (!e) return state.SkipWithError("not built");
    std::vector<uint32_t> texels(size_t(e->width) * e->height);
    lanes::UseWideLanes(state.range(2) != 0);
    for (auto _ : state) {
        RandomStream random;
        EquationContext context{random};
        RenderEquation(*e, context, texels.data(), e->width, int(state.range(1)));
        benchmark::DoNotOptimize(texels.data());
    }
    lanes::UseWideLanes(true);
    state.SetLabel(e->GetName());
    Report(state, *e);
}

// One GetPixel call a pixel, row by row: the single-pixel formula.
void BM_PixelByPixel(benchmark::State& state) {
    auto e = CreateEquation(uint32_t(state.range(0)));
    if (!e) return state.SkipWithError("not built");
    std::vector<uint32_t> texels(size_t(e->width) * e->height);
    for (auto _ : state) {
        uint32_t* out = texels.data();
        for (uint32_t y = 0; y < e->height; ++y)
            for (uint32_t x = 0; x < e->width; ++x) *out++ = e->GetPixel(x, y);
        benchmark::DoNotOptimize(texels.data());
    }
    state.SetLabel(e->GetName());
    Report(state, *e);
}

const bool kRegistered = [] {
    // One thread: rates per CPU second; two: per wall-clock second.
    for (int threads : {1, 2}) {
        auto* render = benchmark::RegisterBenchmark("Render", BM_Render);
        for (uint32_t index : kMembers) render->Args({index, threads, 1});
        if (threads == 1) render->Args({kMandelbrot1, 1, 0});
        render->ArgNames({"index", "threads", "wide"})->Unit(benchmark::kMillisecond);
        if (threads == 2) render->UseRealTime();
    }
    auto* single = benchmark::RegisterBenchmark("PixelByPixel", BM_PixelByPixel);
    for (uint32_t index : kMembers) single->Arg(index);
    single->ArgName("index")->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
