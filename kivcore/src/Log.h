// CLog: the engine log. Every line goes to the log file (when it could be opened) with a time
// stamp and level; lines at or above the standard-error level also go to standard error as
// "kivcore: <level>: <text>".
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

namespace kivcore {

class CLog {
public:
    ~CLog() { Close(); }

    // Opens (appends to) the file, creating its directory; an empty path or a failure leaves
    // the log without a file.
    void Open(const std::string& path, int stderrLevel);
    void Close();
    void Write(int level, const char* text);

private:
    std::mutex mutex_;  // lines from several threads stay whole
    std::FILE* file_ = nullptr;
    int stderrLevel_ = 2;
};

}  // namespace kivcore
