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
// Beyond one picture (Frames.h): `run` also takes --size WxH, --region X,Y,W,H and
// --define NAME=V|NAME=FROM:TO:STEP, `equation` --region and ranges in --param; ranges make
// animations (-o DIR/%04d.png), --frames A:B and --frame-count pick and count their frames. A
// PNG picture written by luneth or brisel in place of SCRIPT or N computes its picture again.
// A long computation draws a progress bar on a terminal; Ctrl+C cancels it (exit status 130,
// no file written).
//
// The picture format of -o follows the extension: png, jpg, tga, bmp, ppm or dds; files are
// written to a temporary name and renamed, so a failure leaves nothing half-written. The
// script's warning log and the load report ("NAME: W x H, T ms") go to standard error.
// Exit status: 0 success, 1 the script, equation or a file failed (standard error says why),
// 2 a usage error, 130 cancelled with Ctrl+C.
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
#include "Frames.h"
#include "Pictures.h"
#include "Progress.h"
#include "Reproduce.h"
#include "SurfaceExport.h"
#include "Watchdog.h"
#include "equations/PixelEquation.h"
#include "kiv/engine.h"
#include "module/ILuneth.h"
#include "module/PictureTexts.h"

namespace {

constexpr int kSlots = int(luneth::kEquationSlotCount);
constexpr const char* kProgramName = "luneth " LUNETH_VERSION;

// --threads: 0 leaves the image object's own choice (LUNETH_THREADS, its configuration, or
// every hardware thread).
int g_threads = 0;
// run --timeout: seconds after which a script is stopped (0: never).
double g_timeout = 0;

// ---------------------------------------------------------------- the engine

// The load report of the image object, one line on standard error.
void PrintLoadReport(const char* name, int width, int height, float costTimeMs) {
    cli::Progress().Clear();
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
        luneth_->SetProgramName(kProgramName);
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

// The grid, the region and the random state every frame starts from.
uint32_t ApplyPictureOptions(ILuneth* luneth, const cli::RenderOptions& options) {
    const uint32_t* r = options.region;
    luneth->SetPictureGrid(int(options.size[0]), int(options.size[1]), int(r[0]), int(r[1]),
                           int(r[2]), int(r[3]));
    return options.hasRandom ? options.random : luneth->GetRandomState();
}

int Run(const std::string& file, const std::string* text, const std::string& output,
        const std::string& dump, cli::RenderOptions options) {
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
    cli::CancelOnInterrupt cancel(luneth);
    // A picture brings the script it was made from.
    std::string carried;
    if (!text && IsPictureName(file)) {
        if (int status = cli::ReadPictureScript(luneth, file, &carried, &options)) return status;
        luneth->SetImageCallback(PrintLoadReport);
        text = &carried;
    }
    std::string why;
    if (!cli::CheckPictureOptions(options, &why)) return Fail("%s", why);
    const uint32_t random = ApplyPictureOptions(luneth, options);
    const std::string name = text == &carried ? file : text ? "<text>" : file;
    return cli::RenderFrames(options, output, [&](int frame, const std::string& path) {
        for (const cli::ValueRange& define : options.ranges)
            if (!luneth->SetScriptDefine(define.name.c_str(), define.At(frame)))
                return Fail("cannot define '%s': it is no name a script can assign", define.name);
        luneth->SetRandomState(random);
        bool loaded = false;
        {
            Watchdog watchdog(luneth, g_timeout);
            loaded = text ? luneth->LoadScriptText(text->data(), int(text->size()))
                          : luneth->LoadScriptFile(file.c_str());
            if (watchdog.Fired() && luneth->WasCancelled())
                return Fail("the script '%s' was stopped after %s seconds (--timeout)", name,
                            CLI::detail::to_string(g_timeout));
        }
        if (cli::Interrupted()) return cli::kInterruptedStatus;
        std::fputs(luneth->GetScriptMessages(), stderr);
        PrintDiagnostics(luneth->GetScriptDiagnostics());
        if (!dump.empty()) Dump(luneth, dump);
        if (!luneth->GetScriptRunResult()) {
            if (!text && luneth->GetScriptTextLength() == 0)
                return Fail("cannot read script file '%s'", file);
            return Fail("the script '%s' failed", name);
        }
        if (!loaded && HoldsPicture(luneth))
            return Fail("the picture of '%s' could not be made (out of memory)", name);
        if (!loaded && !path.empty())
            return Fail(
                "the script '%s' made no picture: it needs a pixel grid and r, g or b as "
                "an array",
                name);
        return Save(luneth, path);
    });
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

// The parameter index a name gives ("0" .. "5"), or -1.
int ParamIndex(const std::string& name) {
    char* end = nullptr;
    long i = std::strtol(name.c_str(), &end, 10);
    return !name.empty() && *end == '\0' && i >= 0 && i < long(luneth::kEquationParamCount) ? int(i)
                                                                                            : -1;
}

int Equation(std::string key, const std::string& output, cli::RenderOptions options) {
    if (int status = CheckOutputName(output)) return status;
    Engine engine;
    ILuneth* luneth = engine.Luneth();
    if (!luneth) return Fail("the engine could not start the image object (see its log)");
    cli::CancelOnInterrupt cancel(luneth);
    std::error_code ec;
    if (IsPictureName(key) && std::filesystem::is_regular_file(key, ec)) {
        const std::string picture = key;
        if (int status = cli::ReadPictureEquation(luneth, picture, &key, &options)) return status;
        luneth->SetImageCallback(PrintLoadReport);
    }
    std::string why;
    if (!cli::CheckPictureOptions(options, &why)) return Fail("%s", why);
    int index = FindEquation(luneth, key);
    if (index < 0) return Fail("there is no equation '%s' (see: luneth list equations)", key);
    luneth::IPixelEquation* equation = luneth->GetEquation(index);
    std::vector<uint32_t> indices;
    for (const cli::ValueRange& param : options.ranges) {
        int i = ParamIndex(param.name);
        if (i < 0 || !equation->GetParamName(uint32_t(i)))
            return Fail("equation '%s' has no parameter %s", equation->GetName(), param.name);
        indices.push_back(uint32_t(i));
    }
    const uint32_t* r = options.region;
    if (options.HasRegion() && (r[0] >= equation->width || r[2] > equation->width - r[0] ||
                                r[1] >= equation->height || r[3] > equation->height - r[1]))
        return Fail("the region %s lies outside %s", luneth::FormatRect(r),
                    "the " + std::to_string(equation->width) + " x " +
                        std::to_string(equation->height) + " picture of '" + equation->GetName() +
                        "'");
    const uint32_t random = ApplyPictureOptions(luneth, options);
    return cli::RenderFrames(options, output, [&](int frame, const std::string& path) {
        for (size_t i = 0; i < indices.size(); ++i)
            equation->SetParam(indices[i], options.ranges[i].At(frame));
        luneth->SetRandomState(random);
        bool computed = luneth->ComputeEquation(index);
        if (cli::Interrupted()) return cli::kInterruptedStatus;
        if (!computed) {
            std::string reason = luneth->GetComputeError();
            return Fail("equation '%s' could not be computed%s", equation->GetName(),
                        reason.empty() ? "" : ": " + reason);
        }
        return Save(luneth, path);
    });
}

int Export(const std::string& directory) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (!std::filesystem::is_directory(directory, ec))
        return Fail("cannot create the directory '%s'", directory);
    Engine engine;
    ILuneth* luneth = engine.Luneth();
    if (!luneth) return Fail("the engine could not start the image object (see its log)");
    cli::CancelOnInterrupt cancel(luneth);
    int status = 0;
    for (int i = 0; i < kSlots; ++i) {
        luneth::IPixelEquation* equation = luneth->GetEquation(i);
        if (!equation) continue;
        if (cli::Interrupted()) break;
        // A '/' in a name would make a directory of it.
        std::string name = equation->GetName();
        for (char& c : name)
            if (c == '/') c = '_';
        std::string path =
            (std::filesystem::path(directory) / (std::to_string(i) + " " + name + ".png")).string();
        if (!luneth->ComputeEquation(i)) {
            if (cli::Interrupted()) break;
            status = Fail("equation %s (%s) could not be computed", std::to_string(i), name);
            continue;
        }
        if (Save(luneth, path)) status = 1;
    }
    if (cli::Interrupted()) {
        std::fputs("luneth: cancelled\n", stderr);
        return cli::kInterruptedStatus;
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

// "I=V" or "I=FROM:TO:STEP" with I in 0..5.
bool ParseParam(const std::string& text, cli::ValueRange* out) {
    std::string why;
    if (!cli::ParseRange(text, out, &why) || ParamIndex(out->name) < 0) return false;
    out->name = std::to_string(ParamIndex(out->name));
    return true;
}

// The options that beyond one picture, shared by run and equation (see Frames.h).
void AddRenderOptions(CLI::App* command, cli::RenderOptions& options, std::string& frames,
                      std::string& region) {
    command->add_option("--region", region, "compute only this rectangle of the picture")
        ->type_name("X,Y,W,H");
    command->add_option("--frames", frames, "compute only these frames of an animation (from 0)")
        ->type_name("A:B");
    command->add_flag("--frame-count", options.frameCount,
                      "print the number of frames of the animation and stop");
}

// What AddRenderOptions read, checked; throws CLI's validation errors (exit status 2).
void ReadRenderOptions(const char* command, cli::RenderOptions& options, const std::string& frames,
                       const std::string& region, const std::string& size) {
    if (!region.empty() && !luneth::ParseRect(region.c_str(), options.region))
        throw CLI::ValidationError("--region", "'" + region + "' is not X,Y,W,H");
    if (!size.empty() && !luneth::ParseSize(size.c_str(), &options.size[0], &options.size[1]))
        throw CLI::ValidationError("--size", "'" + size + "' is not WxH");
    std::string why;
    if (!cli::CheckPictureOptions(options, &why)) throw CLI::ValidationError(command, why);
    if (!frames.empty() && !cli::ParseFrameSpan(frames, &options))
        throw CLI::ValidationError("--frames", "'" + frames + "' is not A:B or K (frames from 0)");
    if (!cli::FrameCount(options.ranges, &why)) throw CLI::ValidationError(command, why);
}

// --frame-count, or frames outside the animation; -1 when the command goes on.
int AnswerFrames(const cli::RenderOptions& options, const std::string& output) {
    std::string why;
    int count = cli::FrameCount(options.ranges, &why);
    if (options.frameCount) {
        std::printf("%d\n", count);
        return 0;
    }
    if (options.firstFrame >= count) {
        std::fprintf(stderr, "luneth: --frames: the animation has %d frames (0 to %d)\n", count,
                     count - 1);
        return 2;
    }
    if (output.find('%') != std::string::npos && !cli::IsFramePattern(output)) {
        std::fprintf(stderr,
                     "luneth: -o: '%s' needs exactly one frame number (%%d, %%04d; %%%% for a "
                     "%%)\n",
                     output.c_str());
        return 2;
    }
    if (count > 1 && !output.empty() && !cli::IsFramePattern(output)) {
        std::fprintf(stderr,
                     "luneth: -o: %d frames need a file name with a frame number such as "
                     "out/%%04d.png\n",
                     count);
        return 2;
    }
    return -1;
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
    app.set_version_flag("--version", kProgramName);

    std::string file, text, output, dump, size, runRegion, runFrames;
    std::vector<std::string> defineTexts;
    cli::RenderOptions runOptions;
    CLI::App* run = app.add_subcommand("run", "run a math script");
    run->add_option("SCRIPT", file, "math-script file, or a PNG picture that carries its script");
    auto* textOption = run->add_option("-e", text, "script text (';' separates lines)");
    run->add_option("-o", output,
                    "write the picture (png, jpg, tga, bmp, ppm, dds); DIR/%04d.png: one a frame")
        ->check(kNonEmptyName);
    run->add_option("--timeout", g_timeout, "stop the script after SECONDS (exit status 1)")
        ->check(CLI::Range(0.001, 1e7));
    run->add_option("--dump", dump, "print these variables after the run (comma-separated)");
    run->add_option("--size", size, "compute the picture on another pixel grid")->type_name("WxH");
    run->add_option("--define", defineTexts,
                    "set a letter or variable before the first line; a range makes frames")
        ->type_name("NAME=V|NAME=FROM:TO:STEP");
    AddRenderOptions(run, runOptions, runFrames, runRegion);
    run->callback([&] {
        if (file.empty() == (textOption->count() == 0))
            throw CLI::ValidationError("run", "give either SCRIPT or -e TEXT");
        for (const std::string& t : defineTexts) {
            cli::ValueRange range;
            std::string why;
            if (!cli::ParseRange(t, &range, &why)) throw CLI::ValidationError("--define", why);
            runOptions.ranges.push_back(range);
        }
        ReadRenderOptions("run", runOptions, runFrames, runRegion, size);
    });

    std::string equationKey, equationOutput, equationRegion, equationFrames;
    std::vector<std::string> paramTexts;
    cli::RenderOptions equationOptions;
    CLI::App* equation = app.add_subcommand("equation", "compute a pixel equation");
    equation
        ->add_option("N", equationKey,
                     "equation index or display name, or a PNG picture that carries them")
        ->required();
    equation->add_option("-o", equationOutput,
                         "write the picture (png, jpg, tga, bmp, ppm, dds); DIR/%04d.png: one a "
                         "frame")
        ->check(kNonEmptyName);
    equation
        ->add_option("--param", paramTexts,
                     "set parameter I (0..5) before computing; a range makes frames")
        ->type_name("I=V|I=FROM:TO:STEP");
    AddRenderOptions(equation, equationOptions, equationFrames, equationRegion);
    equation->callback([&] {
        for (const std::string& t : paramTexts) {
            cli::ValueRange range;
            if (!ParseParam(t, &range))
                throw CLI::ValidationError(
                    "--param", "'" + t + "' is not I=V or I=FROM:TO:STEP with I in 0..5");
            // A parameter named again takes the later value.
            std::erase_if(equationOptions.ranges,
                          [&](const cli::ValueRange& r) { return r.name == range.name; });
            equationOptions.ranges.push_back(range);
        }
        ReadRenderOptions("equation", equationOptions, equationFrames, equationRegion, "");
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
    if (run->parsed()) {
        if (int status = AnswerFrames(runOptions, output); status >= 0) return status;
        return Run(file, textOption->count() ? &text : nullptr, output, dump, runOptions);
    }
    if (equation->parsed()) {
        if (int status = AnswerFrames(equationOptions, equationOutput); status >= 0) return status;
        return Equation(equationKey, equationOutput, equationOptions);
    }
    if (exportAll->parsed()) return Export(exportDirectory);
    if (surface->parsed()) return Surface(surfaceFile, surfaceOutput);
    return what == "functions" ? ListFunctions() : ListEquations();
}
