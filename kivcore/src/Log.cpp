#include "Log.h"

#include <ctime>
#include <filesystem>
#include <system_error>

namespace kivcore {

namespace {

const char* LevelName(int level) {
    switch (level) {
        case 1:
            return "info";
        case 2:
            return "warning";
        case 3:
            return "severe";
        default:
            return level >= 4 ? "error" : "info";
    }
}

}  // namespace

void CLog::Open(const std::string& path, int stderrLevel) {
    Close();
    stderrLevel_ = stderrLevel;
    if (path.empty()) return;
    std::error_code ignored;
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
    file_ = std::fopen(path.c_str(), "a");
}

void CLog::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

void CLog::Write(int level, const char* text) {
    if (!text) text = "";
    std::lock_guard lock(mutex_);
    if (file_) {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
        std::fprintf(file_, "%s [%s] %s\n", stamp, LevelName(level), text);
        std::fflush(file_);
    }
    if (level >= stderrLevel_) std::fprintf(stderr, "kivcore: %s: %s\n", LevelName(level), text);
}

}  // namespace kivcore
