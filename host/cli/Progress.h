// What luneth shows and does while it computes: a progress bar on standard error and a clean
// stop at Ctrl+C.
//
//   Progress()                  the one bar of the process. It draws only when standard error
//                               is a terminal and the work has run for half a second, so logs
//                               and pipes stay clean: "\r[#####.....]  42%  frame 3/10"
//     .Start(frames)            a new piece of work of `frames` pictures (1: one picture)
//     .SetFrame(k)              frame k (from 0) starts
//     .Report                   the image object's ProgressCallback (user: the bar)
//     .Clear()                  erases the bar, before other lines go to standard error
//   CancelOnInterrupt guard(l)  while it lives, Ctrl+C (SIGINT) cancels l's computation; a
//                               second Ctrl+C ends the program at once
//   Interrupted()               whether Ctrl+C came; the command then writes nothing more and
//                               ends with kInterruptedStatus (130, as shells report SIGINT)
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>

#include "module/ILuneth.h"

namespace cli {

constexpr int kInterruptedStatus = 130;

class ProgressBar {
public:
    void Start(int frames);
    void SetFrame(int frame);
    static void Report(void* user, int64_t done, int64_t total);
    void Clear();

private:
    void Draw(double fraction);

    std::mutex mutex_;
    std::chrono::steady_clock::time_point start_, lastDraw_;
    int frames_ = 1;
    int frame_ = 0;
    int shownPermille_ = -1;
    bool drawn_ = false;
};

ProgressBar& Progress();

class CancelOnInterrupt {
public:
    explicit CancelOnInterrupt(ILuneth* luneth);
    ~CancelOnInterrupt();
    CancelOnInterrupt(const CancelOnInterrupt&) = delete;
    CancelOnInterrupt& operator=(const CancelOnInterrupt&) = delete;
};

bool Interrupted();

}  // namespace cli
