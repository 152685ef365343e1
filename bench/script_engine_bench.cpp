// The script engine over 1024 x 1024 arrays and whole sample scripts, at 1, 2 and every thread.
//
//   EvaluateLine/<case>/<threads>   one line as a script line runs it (compiled, fused over
//                                   tiles); ns_per_element counts the 1024 x 1024 elements
//   RunSample/<script>/<threads>    a sample script end to end (text to letters)
//   RenderEquation/<index>/<threads> a pure equation's whole picture
// Threads 0 means every hardware thread. compare_numpy.py runs this next to numpy float32.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "equations/EquationCatalogue.h"
#include "equations/EquationRenderer.h"
#include "functions/CoreGroup.h"
#include "functions/Groups.h"
#include "functions/RandomTexture.h"
#include "script/Evaluate.h"
#include "script/MathScript.h"

namespace {

constexpr int kSide = 1024;

void StartLibrary() {
    static bool started = (luneth::InstallCoreFunctions(), luneth::RegisterLibraryGroups(), true);
    (void)started;
}

luneth::CMathScript& Script() {
    static luneth::CMathScript script;
    static bool ready = [] {
        StartLibrary();
        const char* text =
            "pixels = width:1024 height:1024\n"
            "x = from 0.0 to 1.0 W\n"
            "y = from 0.0 to 1.0 H\n"
            "w = x * 0.5 + 0.25\n";
        return script.LoadText(text, std::strlen(text));
    }();
    (void)ready;
    return script;
}

void EvaluateLine(benchmark::State& state, const char* expression) {
    luneth::CMathScript& script = Script();
    script.SetThreadCount(int(state.range(0)));
    luneth::CompiledExpression program;
    program.Compile(&script, expression);
    for (auto _ : state) {
        // A fresh target each time, dropped after the run, as numpy drops its result.
        luneth::ScriptValue z;
        if (!program.Run(&script, &z)) state.SkipWithError("failed");
        benchmark::DoNotOptimize(z.data);
    }
    const double elements = static_cast<double>(kSide) * kSide;
    state.counters["ns_per_element"] = benchmark::Counter(
        elements, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void RunSample(benchmark::State& state, const char* name) {
    StartLibrary();
    std::ifstream file(std::string(SAMPLE_SCRIPT_DIR) + "/" + name + ".txt", std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const std::string script = text.str();
    luneth::CMathScript s;
    s.SetThreadCount(int(state.range(0)));
    for (auto _ : state) {
        if (!s.LoadText(script.data(), script.size())) state.SkipWithError("failed");
        benchmark::DoNotOptimize(s.Letter('r')->data);
    }
}

void RenderEquation(benchmark::State& state) {
    StartLibrary();
    auto equation = luneth::CreateEquation(uint32_t(state.range(0)));
    if (!equation) {
        state.SkipWithError("not built");
        return;
    }
    std::vector<uint32_t> texels(size_t(equation->width) * equation->height);
    for (auto _ : state) {
        luneth::RandomStream random = luneth::texture::StreamAfterFill();
        luneth::EquationContext context{random};
        luneth::RenderEquation(*equation, context, texels.data(), equation->width,
                               int(state.range(1)));
        benchmark::DoNotOptimize(texels.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(texels.size()));
}

void Threads(benchmark::internal::Benchmark* b) {
    b->Arg(1)->Arg(2)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

BENCHMARK_CAPTURE(EvaluateLine, arithmetic, "x * y + w")->Apply(Threads);
BENCHMARK_CAPTURE(EvaluateLine, sin, "sin(x)")->Apply(Threads);
BENCHMARK_CAPTURE(EvaluateLine, smoothstep, "smoothstep(0.2, 0.8, x)")->Apply(Threads);
BENCHMARK_CAPTURE(EvaluateLine, variadic, "distance_v3(x, y, w, 0.5, 0.5, 0.5)")->Apply(Threads);
BENCHMARK_CAPTURE(RunSample, plasma, "plasma")->Apply(Threads);
BENCHMARK_CAPTURE(RunSample, clouds, "clouds")->Apply(Threads);
BENCHMARK_CAPTURE(RunSample, voronoi_cells, "voronoi_cells")->Apply(Threads);
// "Pow FTW", a pure equation.
BENCHMARK(RenderEquation)
    ->Args({3, 1})
    ->Args({3, 2})
    ->Args({3, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
