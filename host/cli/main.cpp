// luneth: the command-line host. Boots the engine without a window and drives the image object
// (ILuneth) that the viewer uses: scripts and equations become pictures through the same code.
//
//   luneth run SCRIPT [-o IMAGE] [--dump NAMES]      run a math-script file
//   luneth run -e TEXT [-o IMAGE] [--dump NAMES]     run script text (';' separates lines)
//   luneth equation N [-o IMAGE] [--param I=V]...    compute equation N (index or display name)
//   luneth export DIR                                every equation as "DIR/%d %s.png"
//   luneth list functions                            one line per registry entry: INDEX NAME KIND
//   luneth list equations                            one line per equation: INDEX NAME WxH
//   luneth surface SCRIPT -o MESH                    the swept surface as .obj or .ply
//   luneth convert PICTURE -o OUTPUT                 a picture in another format
//   luneth info PICTURE                              a picture's format and size
//   --threads N                                      threads for computing pictures
//   run --timeout SECONDS                            stop a script that runs longer
//
// The picture format of -o follows the extension: png, jpg, tga, bmp, ppm or dds; files are
// written to a temporary name and renamed, so a failure leaves nothing half-written. The
// script's warning log and the load report ("NAME: W x H, T ms") go to standard error.
// Exit status: 0 success, 1 the script, equation or a file failed (standard error says why),
// 2 a usage error.
#include <strings.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "CliSupport.h"
#include "Pictures.h"
#include "SurfaceExport.h"
#include "Watchdog.h"
#include "equations/PixelEquation.h"
#include "kiv/engine.h"
#include "module/ILuneth.h"

namespace {

constexpr int kSlots = int(luneth::kEquationSlotCount);

// --threads: 0 leaves the image object's own choice (LUNETH_THREADS, its configuration, or
// every hardware thread).
int g_threads = 0;
// run --timeout: seconds after which a script is stopped (0: never).
double g_timeout = 0;

// ---------------------------------------------------------------- the engine

// The load report of the image object, one line on standard error.
void PrintLoadReport(const char* name, int width, int height, float costTimeMs) {
    std::fprintf(stderr, "%s: %d x %d, %.3f ms\n", name, width, height, double(costTimeMs));
}

// The headless engine for the length of the command.
class Engine {
public:
    Engine() {
        if (!KivEngineSetup(nullptr, 0, "CLuneth", nullptr)) return;
        started_ = true;
        KivEngineAPI* api = KivEngineGetAPI();
        KicGame* game = api ? api->GetGame() : nullptr;
        if (!game) return;
        luneth_ = static_cast<ILuneth*>(game);
        luneth_->SetDropFilesEnabled(false);
        luneth_->SetImageCallback(PrintLoadReport);
        if (g_threads > 0) luneth_->SetThreadCount(g_threads);
    }
    ~Engine() {
        if (started_) KivEngineShutdown();
    }
    ILuneth* Luneth() const { return luneth_; }

private:
    bool started_ = false;
    ILuneth* luneth_ = nullptr;
};

bool IsPictureName(const std::string& path) {
    size_t dot = path.find_last_of('.');
    size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && slash > dot)) return false;
    std::string ext = path.substr(dot + 1);
    for (const char* known : {"png", "jpg", "jpeg", "tga", "bmp", "ppm", "dds"})
        if (!strcasecmp(ext.c_str(), known)) return true;
    return false;
}

// A usable -o before any work is done.
int CheckOutputName(const std::string& output) {
    if (output.empty() || IsPictureName(output)) return 0;
    return Fail(
        "cannot write '%s': the extension names no picture format "
        "(png, jpg, tga, bmp, ppm or dds)",
        output);
}

int Save(ILuneth* luneth, const std::string& output) {
    if (output.empty()) return 0;
    if (!luneth->GetTexture()) return Fail("there is no picture to write to '%s'", output);
    if (!luneth->SaveImage(output.c_str()))
        return Fail("cannot write '%s': %s", output, PictureError());
    return 0;
}

// ---------------------------------------------------------------- run

void PrintValue(ILuneth* luneth, const std::string& name) {
    float scalar = 0.0f;
    const float* data = nullptr;
    int count = 0;
    if (!luneth->GetScriptVariable(name.c_str(), &scalar, &data, &count)) {
        std::printf("%s = <unset>\n", name.c_str());
        return;
    }
    if (!data) {
        std::printf("%s = %.9g\n", name.c_str(), static_cast<double>(scalar));
        return;
    }
    std::printf("%s = [", name.c_str());
    for (int i = 0; i < count; ++i)
        std::printf(i ? ", %.9g" : "%.9g", static_cast<double>(data[i]));
    std::printf("]\n");
}

void Dump(ILuneth* luneth, const std::string& names) {
    size_t start = 0;
    while (start <= names.size()) {
        size_t comma = names.find(',', start);
        std::string name =
            names.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!name.empty()) PrintValue(luneth, name);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

// One line of ours per failed script line, after the script's own log.
void PrintDiagnostics(const char* text) {
    for (const char* line = text; line && *line;) {
        const char* end = std::strchr(line, '\n');
        size_t length = end ? size_t(end - line) : std::strlen(line);
        std::fprintf(stderr, "luneth: %.*s\n", int(length), line);
        line = end ? end + 1 : line + length;
    }
}

// The script has a pixel grid and r, g or b as an array.
bool HoldsPicture(ILuneth* luneth) {
    int pixels = 0, width = 0, height = 0;
    luneth->GetScriptImageSize(&pixels, &width, &height);
    if (!pixels || !width || !height) return false;
    for (const char* channel : {"r", "g", "b"}) {
        const float* data = nullptr;
        if (luneth->GetScriptVariable(channel, nullptr, &data, nullptr) && data) return true;
    }
    return false;
}

int Run(const std::string& file, const std::string* text, const std::string& output,
        const std::string& dump) {
    if (int status = CheckOutputName(output)) return status;
    if (!file.empty()) {
        if (std::string why = ScriptFileProblem(file); !why.empty())
            return Fail("cannot read script file '%s': %s", file, why);
        if (SameFile(file, output))
            return Fail("will not write '%s': it is the script itself", output);
    }
    Engine engine;
    ILuneth* luneth = engine.Luneth();
    if (!luneth) return Fail("the engine could not start the image object (see its log)");
    bool loaded = false;
    {
        Watchdog watchdog(luneth, g_timeout);
        loaded = text ? luneth->LoadScriptText(text->data(), int(text->size()))
                      : luneth->LoadScriptFile(file.c_str());
        if (watchdog.Fired() && luneth->WasCancelled())
            return Fail("the script '%s' was stopped after %s seconds (--timeout)",
                        text ? "<text>" : file, CLI::detail::to_string(g_timeout));
    }
    std::fputs(luneth->GetScriptMessages(), stderr);
    PrintDiagnostics(luneth->GetScriptDiagnostics());
    if (!dump.empty()) Dump(luneth, dump);
    std::string name = text ? "<text>" : file;
    if (!luneth->GetScriptRunResult()) {
        if (!text && luneth->GetScriptTextLength() == 0)
            return Fail("cannot read script file '%s'", file);
        return Fail("the script '%s' failed", name);
    }
    if (!loaded && HoldsPicture(luneth))
        return Fail("the picture of '%s' could not be made (out of memory)", name);
    if (!loaded && !output.empty())
        return Fail(
            "the script '%s' made no picture: it needs a pixel grid and r, g or b as "
            "an array",
            name);
    return Save(luneth, output);
}

// ---------------------------------------------------------------- surface

int Surface(const std::string& file, const std::string& output) {
    if (!IsMeshName(output))
        return Fail("cannot write '%s': the extension names no mesh format (obj or ply)", output);
    if (std::string why = ScriptFileProblem(file); !why.empty())
        return Fail("cannot read script file '%s': %s", file, why);
    if (SameFile(file, output)) return Fail("will not write '%s': it is the script itself", output);
    Engine engine;
    ILuneth* luneth = engine.Luneth();
    if (!luneth) return Fail("the engine could not start the image object (see its log)");
    luneth->LoadScriptFile(file.c_str());
    std::fputs(luneth->GetScriptMessages(), stderr);
    if (!luneth->GetScriptRunResult()) return Fail("the script '%s' failed", file);
    SurfaceGrid grid;
    std::string why;
    if (!ReadSurface(luneth, &grid, &why)) return Fail("the script '%s' %s", file, why);
    if (!WriteSurfaceFile(grid, output, &why)) return Fail("cannot write '%s': %s", output, why);
    return 0;
}

// ---------------------------------------------------------------- equations

// The slot of an index or a display name (exact first, then ignoring case); -1 if none.
int FindEquation(ILuneth* luneth, const std::string& key) {
    char* end = nullptr;
    errno = 0;
    long index = std::strtol(key.c_str(), &end, 10);
    if (!key.empty() && *end == '\0' && errno == 0)
        return index >= 0 && index < kSlots && luneth->GetEquation(int(index)) ? int(index) : -1;
    for (bool exact : {true, false})
        for (int i = 0; i < kSlots; ++i)
            if (luneth::IPixelEquation* e = luneth->GetEquation(i))
                if (exact ? key == e->GetName() : !strcasecmp(key.c_str(), e->GetName())) return i;
    return -1;
}

int Equation(const std::string& key, const std::vector<std::pair<int, float>>& params,
             const std::string& output) {
    if (int status = CheckOutputName(output)) return status;
    Engine engine;
    ILuneth* luneth = engine.Luneth();
    if (!luneth) return Fail("the engine could not start the image object (see its log)");
    int index = FindEquation(luneth, key);
    if (index < 0) return Fail("there is no equation '%s' (see: luneth list equations)", key);
    luneth::IPixelEquation* equation = luneth->GetEquation(index);
    for (auto [i, value] : params) {
        if (!equation->GetParamName(uint32_t(i)))
            return Fail("equation '%s' has no parameter %s", equation->GetName(),
                        std::to_string(i));
        equation->SetParam(uint32_t(i), value);
    }
    if (!luneth->ComputeEquation(index))
        return Fail("equation '%s' could not be computed", equation->GetName());
    return Save(luneth, output);
}

int Export(const std::string& directory) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (!std::filesystem::is_directory(directory, ec))
        return Fail("cannot create the directory '%s'", directory);
    Engine engine;
    ILuneth* luneth = engine.Luneth();
    if (!luneth) return Fail("the engine could not start the image object (see its log)");
    int status = 0;
    for (int i = 0; i < kSlots; ++i) {
        luneth::IPixelEquation* equation = luneth->GetEquation(i);
        if (!equation) continue;
        // A '/' in a name would make a directory of it.
        std::string name = equation->GetName();
        for (char& c : name)
            if (c == '/') c = '_';
        std::string path =
            (std::filesystem::path(directory) / (std::to_string(i) + " " + name + ".png")).string();
        if (!luneth->ComputeEquation(i)) {
            status = Fail("equation %s (%s) could not be computed", std::to_string(i), name);
            continue;
        }
        if (Save(luneth, path)) status = 1;
    }
    return status;
}

// ---------------------------------------------------------------- lists

int ListFunctions() {
    Engine engine;  // the image object registers the library groups and its presets
    if (!engine.Luneth()) return Fail("the engine could not start the image object (see its log)");
    ILuneth* luneth = engine.Luneth();
    for (int i = 0, count = luneth->GetFunctionCount(); i < count; ++i) {
        int kind = 0;
        const char* name = luneth->GetFunctionName(i, &kind);
        std::printf("%d %s %d\n", i, name, kind);
    }
    return 0;
}

int ListEquations() {
    Engine engine;
    ILuneth* luneth = engine.Luneth();
    if (!luneth) return Fail("the engine could not start the image object (see its log)");
    for (int i = 0; i < kSlots; ++i)
        if (luneth::IPixelEquation* e = luneth->GetEquation(i))
            std::printf("%d %s %ux%u\n", i, e->GetName(), e->width, e->height);
    return 0;
}

// "I=V" with I in 0..5 and V a finite number.
bool ParseParam(const std::string& text, std::pair<int, float>* out) {
    size_t eq = text.find('=');
    if (eq == std::string::npos) return false;
    std::string index = text.substr(0, eq), value = text.substr(eq + 1);
    char* end = nullptr;
    long i = std::strtol(index.c_str(), &end, 10);
    if (index.empty() || *end || i < 0 || i >= long(luneth::kEquationParamCount)) return false;
    float v = std::strtof(value.c_str(), &end);
    if (value.empty() || *end || !std::isfinite(v)) return false;
    *out = {int(i), v};
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"luneth: render math scripts and pixel equations to pictures"};
    app.require_subcommand(1);
    // Global options may also follow the subcommand's own.
    app.fallthrough();
    app.add_option("--threads", g_threads,
                   "threads for computing pictures (default: LUNETH_THREADS, the configuration's "
                   "Threads, else every hardware thread)")
        ->check(CLI::Range(1, 4096));

    std::string file, text, output, dump;
    CLI::App* run = app.add_subcommand("run", "run a math script");
    run->add_option("SCRIPT", file, "math-script file");
    auto* textOption = run->add_option("-e", text, "script text (';' separates lines)");
    run->add_option("-o", output, "write the picture (png, jpg, tga, bmp, ppm, dds)")
        ->check(kNonEmptyName);
    run->add_option("--timeout", g_timeout, "stop the script after SECONDS (exit status 1)")
        ->check(CLI::Range(0.001, 1e7));
    run->add_option("--dump", dump, "print these variables after the run (comma-separated)");
    run->callback([&] {
        if (file.empty() == (textOption->count() == 0))
            throw CLI::ValidationError("run", "give either SCRIPT or -e TEXT");
    });

    std::string equationKey, equationOutput;
    std::vector<std::string> paramTexts;
    std::vector<std::pair<int, float>> params;
    CLI::App* equation = app.add_subcommand("equation", "compute a pixel equation");
    equation->add_option("N", equationKey, "equation index or display name")->required();
    equation->add_option("-o", equationOutput, "write the picture (png, jpg, tga, bmp, ppm, dds)")
        ->check(kNonEmptyName);
    equation->add_option("--param", paramTexts, "set parameter I (0..5) to V before computing")
        ->type_name("I=V");
    equation->callback([&] {
        for (const std::string& t : paramTexts) {
            std::pair<int, float> p;
            if (!ParseParam(t, &p))
                throw CLI::ValidationError("--param", "'" + t + "' is not I=V with I in 0..5");
            params.push_back(p);
        }
    });

    std::string exportDirectory;
    CLI::App* exportAll = app.add_subcommand("export", "write every equation as a PNG file");
    exportAll->add_option("DIR", exportDirectory, "target directory (created)")
        ->required()
        ->check(kNonEmptyName);

    std::string what;
    CLI::App* list = app.add_subcommand("list", "list built-in functions or equations");
    list->add_option("WHAT", what, "functions or equations")
        ->required()
        ->check(CLI::IsMember({"functions", "equations"}));

    std::string surfaceFile, surfaceOutput;
    CLI::App* surface =
        app.add_subcommand("surface", "write the surface a script sweeps as a mesh");
    surface->add_option("SCRIPT", surfaceFile, "math-script file")->required();
    surface->add_option("-o", surfaceOutput, "the mesh file (obj or ply)")
        ->required()
        ->check(kNonEmptyName);
    AddPictureCommands(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    }
#ifdef LUNETH_PARSE_ONLY
    return 0;  // the argument fuzzer: parsing is all it tries
#endif
    if (int status = RunPictureCommand(); status >= 0) return status;
    if (run->parsed()) return Run(file, textOption->count() ? &text : nullptr, output, dump);
    if (equation->parsed()) return Equation(equationKey, params, equationOutput);
    if (exportAll->parsed()) return Export(exportDirectory);
    if (surface->parsed()) return Surface(surfaceFile, surfaceOutput);
    return what == "functions" ? ListFunctions() : ListEquations();
}
