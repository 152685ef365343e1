// What the commands of the command-line host share: failure lines, the engine's reason for a
// picture that would not load or save, and the checks of file names before any work.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "Progress.h"
#include "kiv/engine.h"
#include "kiv/files.h"
#include "kiv/services.h"
#include "script/MathScript.h"

// "luneth: " and the message (format with up to two %s) on standard error, on a line of its
// own below any progress bar; gives 1, the exit status of a failed command.
inline int Fail(const char* format, const std::string& a = "", const std::string& b = "") {
    cli::Progress().Clear();
    std::fputs("luneth: ", stderr);
    std::fprintf(stderr, format, a.c_str(), b.c_str());
    std::fputc('\n', stderr);
    return 1;
}

// Why the engine's texture manager last failed to load or save a picture on this thread.
inline std::string PictureError() {
    KivEngineAPI* api = KivEngineGetAPI();
    auto* textures = api ? static_cast<KcTexturesMgr*>(api->FindService("KcTexturesMgr")) : nullptr;
    const char* why = textures ? textures->GetLastError() : nullptr;
    return why && *why ? why : "the picture could not be written";
}

// Why a script file can't be read ("" when it can): it must be a regular file of 1 byte to
// the script size limit, never a device or a pipe.
inline std::string ScriptFileProblem(const std::string& file) {
    std::string why;
    uint64_t size = 0;
    int fd = KivOpenRegularFile(file.c_str(), luneth::kMaxScriptBytes, &size, &why);
    if (fd >= 0) close(fd);
    return fd >= 0 ? std::string() : why;
}

// Whether `output` names the existing file `input` (also through another spelling or a link).
inline bool SameFile(const std::string& input, const std::string& output) {
    std::error_code ec;
    return !input.empty() && std::filesystem::equivalent(input, output, ec) && !ec;
}

// An output option given an empty name is a usage error.
inline const CLI::Validator kNonEmptyName(
    [](std::string& name) { return name.empty() ? std::string("the file name is empty") : ""; },
    "NAME");
