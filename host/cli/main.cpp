// luneth: the command-line host. Runs math scripts and writes their pictures.
//
//   luneth run SCRIPT [-o IMAGE] [--dump NAMES]      run a math-script file
//   luneth run -e TEXT [-o IMAGE] [--dump NAMES]     run script text (';' separates lines)
//   luneth list functions                            one line per registry entry: INDEX NAME KIND
//
// Exit status: 0 success, 1 the script or a file failed (standard error says why), 2 usage.
#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "ScriptImage.h"
#include "functions/Groups.h"
#include "script/FunctionRegistry.h"
#include "script/MathScript.h"

namespace {

using luneth::CMathScript;
using luneth::ScriptValue;

void PrintValue(const std::string& name, const ScriptValue* v) {
    if (!v) {
        std::printf("%s = <unset>\n", name.c_str());
        return;
    }
    if (!v->data) {
        std::printf("%s = %.9g\n", name.c_str(), static_cast<double>(v->scalar));
        return;
    }
    std::printf("%s = [", name.c_str());
    for (uint32_t i = 0; i < v->count; ++i)
        std::printf(i ? ", %.9g" : "%.9g", static_cast<double>(v->data[i]));
    std::printf("]\n");
}

void Dump(const CMathScript& script, const std::string& names) {
    size_t start = 0;
    while (start <= names.size()) {
        size_t comma = names.find(',', start);
        std::string name = names.substr(start, comma == std::string::npos ? std::string::npos
                                                                          : comma - start);
        if (!name.empty()) {
            const ScriptValue* v = name.size() == 1 ? script.Letter(name[0]) : nullptr;
            if (!v) v = script.UserValue(name.c_str());
            PrintValue(name, v);
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

int Run(const std::string& file, const std::string& text, const std::string& output,
        const std::string& dump) {
    CMathScript script;
    auto begin = std::chrono::steady_clock::now();
    bool ok;
    std::string name;
    if (!file.empty()) {
        name = file;
        ok = script.Load(file.c_str());
        if (!ok && script.TextLength() == 0) {
            std::fprintf(stderr, "luneth: cannot read script file '%s'\n", file.c_str());
            return 1;
        }
    } else {
        name = "<text>";
        ok = script.LoadText(text.data(), text.size());
    }
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                          begin)
                    .count();
    std::fputs(script.Messages(), stderr);
    if (!dump.empty()) Dump(script, dump);
    if (!ok) {
        std::fprintf(stderr, "luneth: the script '%s' failed\n", name.c_str());
        return 1;
    }
    std::fprintf(stderr, "%s: %u x %u, %.3f ms\n", name.c_str(), script.Width(), script.Height(),
                 ms);
    if (output.empty()) return 0;
    std::string error;
    if (!luneth::cli::SaveScriptImage(script, output, &error)) {
        std::fprintf(stderr, "luneth: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int ListFunctions() {
    uint32_t count = luneth::FunctionCount();
    for (uint32_t i = 0; i < count; ++i) {
        const luneth::FunctionRecord* r = luneth::GetFunctionRecord(i);
        std::printf("%u %s %u\n", i, r->name, r->kind);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"luneth: render math scripts to pictures"};
    app.require_subcommand(1);

    std::string file, text, output, dump;
    CLI::App* run = app.add_subcommand("run", "run a math script");
    run->add_option("SCRIPT", file, "math-script file");
    auto* textOption = run->add_option("-e", text, "script text (';' separates lines)");
    run->add_option("-o", output, "write the picture (png)");
    run->add_option("--dump", dump, "print these variables after the run (comma-separated)");
    run->callback([&] {
        if (file.empty() == (textOption->count() == 0))
            throw CLI::ValidationError("run", "give either SCRIPT or -e TEXT");
    });

    std::string what;
    CLI::App* list = app.add_subcommand("list", "list built-in functions");
    list->add_option("WHAT", what, "functions")->required()->check(CLI::IsMember({"functions"}));

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    }
    // The library groups after the core group, as the image module registers them.
    luneth::RegisterLibraryGroups();
    if (run->parsed()) return Run(file, text, output, dump);
    return ListFunctions();
}
