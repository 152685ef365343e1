// The engine and the image object: loading a large PNG, turning a script result into a
// texture, and copying an equation's pixels into its texture.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "kiv/engine.h"
#include "module/Luneth.h"
#include "module/ScriptChannels.h"

namespace {

// One headless engine with the image module for the whole program.
struct Engine {
    std::filesystem::path dir;
    KivEngineAPI* api = nullptr;
    CLuneth* luneth = nullptr;

    Engine() {
        dir = std::filesystem::temp_directory_path() / "brisel-engine-bench";
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "kivcore.ini") << "[KivCore]\nLogFile=\nModules=Luneth\n";
        if (!KivEngineSetup(nullptr, 0, "CLuneth", (dir / "kivcore.ini").c_str())) return;
        api = KivEngineGetAPI();
        if (api->GetGame()) luneth = static_cast<CLuneth*>(static_cast<ILuneth*>(api->GetGame()));
    }
    ~Engine() {
        KivEngineShutdown();
        std::filesystem::remove_all(dir);
    }
    KcTexturesMgr* Textures() {
        return static_cast<KcTexturesMgr*>(api->FindService("KcTexturesMgr"));
    }
};

Engine& TheEngine() {
    static Engine engine;
    return engine;
}

// A 4096 x 4096 PNG with smooth gradients and some grain, made once.
std::string LargePng() {
    Engine& e = TheEngine();
    std::string path = (e.dir / "large.png").string();
    if (std::filesystem::exists(path)) return path;
    KcTexture* t = e.Textures()->CreateTexture(4096, 4096, 1, kKivFormatA8R8G8B8, kKivPoolManaged);
    uint32_t pitch = 0;
    void* bits = nullptr;
    t->Lock(0, &pitch, &bits);
    uint32_t state = 1;
    for (uint32_t y = 0; y < 4096; ++y)
        for (uint32_t x = 0; x < 4096; ++x) {
            state = state * 214013u + 2531011u;
            uint32_t grain = (state >> 16) & 7;
            static_cast<uint32_t*>(bits)[size_t(y) * pitch / 4 + x] =
                0xFF000000u | ((x / 16 + grain) & 255) << 16 | ((y / 16) & 255) << 8 |
                ((x ^ y) & 255);
        }
    t->Unlock();
    t->SaveToFile(path.c_str());
    t->Release();
    return path;
}

void BM_LoadPng4096(benchmark::State& state) {
    std::string path = LargePng();
    KcTexturesMgr* textures = TheEngine().Textures();
    for (auto _ : state) {
        KcTexture* t = textures->LoadTexture(path.c_str());
        if (!t) {
            state.SkipWithError("load failed");
            break;
        }
        t->Release();
    }
    state.SetItemsProcessed(state.iterations() * 4096 * 4096);
}
BENCHMARK(BM_LoadPng4096)->Unit(benchmark::kMillisecond);

const char kScript[] =
    "pixels = width:1024 height:1024\n"
    "x = from -1 to 1 W\n"
    "y = from -1 to 1 H\n"
    "r = x * 0.5 + 0.5\n"
    "g = y * 0.5 + 0.5\n"
    "b = x * y\n"
    "a = 1 - x * x\n";

// The whole step after a script run: texture made, locked, filled, unlocked.
void BM_ScriptResultToTexture1024(benchmark::State& state) {
    CLuneth* luneth = TheEngine().luneth;
    if (!luneth || !luneth->LoadScriptText(kScript, int(sizeof kScript - 1))) {
        state.SkipWithError("script failed");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(luneth->ConvertScriptChannels());
    state.SetItemsProcessed(state.iterations() * 1024 * 1024);
}
BENCHMARK(BM_ScriptResultToTexture1024)->Unit(benchmark::kMillisecond);

// The conversion loop alone, into an already locked texture.
void BM_ConvertChannels1024(benchmark::State& state) {
    CLuneth* luneth = TheEngine().luneth;
    if (!luneth || !luneth->LoadScriptText(kScript, int(sizeof kScript - 1))) {
        state.SkipWithError("script failed");
        return;
    }
    const luneth::CMathScript* s = &luneth->Script();
    KcTexture* t = luneth->GetTexture();
    uint32_t pitch = 0;
    void* bits = nullptr;
    t->Lock(0, &pitch, &bits);
    for (auto _ : state)
        benchmark::DoNotOptimize(luneth::ConvertScriptChannels(
            *s->Letter('r'), *s->Letter('g'), *s->Letter('b'), s->Letter('a'), 1024, 1024,
            static_cast<uint32_t*>(bits), pitch / 4));
    t->Unlock();
    state.SetItemsProcessed(state.iterations() * 1024 * 1024);
}
BENCHMARK(BM_ConvertChannels1024)->Unit(benchmark::kMillisecond);

// ComputeEquation: one GetPixel call and one store a pixel (plus the texture).
void BM_EquationToTexture(benchmark::State& state) {
    CLuneth* luneth = TheEngine().luneth;
    int index = int(state.range(0));
    luneth::IPixelEquation* e = luneth ? luneth->GetEquation(index) : nullptr;
    if (!e) {
        state.SkipWithError("equation not built");
        return;
    }
    state.SetLabel(e->GetName());
    for (auto _ : state) benchmark::DoNotOptimize(luneth->ComputeEquation(index));
    state.SetItemsProcessed(state.iterations() * int64_t(e->width) * e->height);
}
BENCHMARK(BM_EquationToTexture)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
