// A headless engine for one test: its own INI file and log in a fresh temporary directory.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "kiv/controls.h"
#include "kiv/engine.h"
#include "kiv/services.h"

namespace kivtest {

inline std::filesystem::path FreshDirectory(const char* name) {
    static int counter = 0;
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("kivtest-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class EngineSession {
public:
    // kivCoreKeys: lines for the [KivCore] section; sections: further INI text.
    explicit EngineSession(const std::string& kivCoreKeys = "Modules=\n",
                           const char* gameClass = nullptr, const std::string& sections = "")
        : dir(FreshDirectory("engine")) {
        WriteFile(dir / "kivcore.ini", "[KivCore]\nLogFile=" + (dir / "kivcore.log").string() +
                                           "\nLogLevel=5\n" + kivCoreKeys + "\n" + sections);
        ok = KivEngineSetup(nullptr, 0, gameClass, (dir / "kivcore.ini").c_str());
        api = KivEngineGetAPI();
    }
    ~EngineSession() {
        Shutdown();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    void Shutdown() {
        if (ok) KivEngineShutdown();
        ok = false;
        api = nullptr;
    }
    std::string Log() const { return ReadFile(dir / "kivcore.log"); }

    template <class T>
    T* Service(const char* name) {
        return static_cast<T*>(api->FindService(name));
    }
    KcTexturesMgr* Textures() { return Service<KcTexturesMgr>("KcTexturesMgr"); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    std::filesystem::path dir;
    bool ok = false;
    KivEngineAPI* api = nullptr;
};

}  // namespace kivtest
