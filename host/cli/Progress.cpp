#include "Progress.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

namespace cli {

namespace {

constexpr auto kQuietStart = std::chrono::milliseconds(500);
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
constexpr int kBarWidth = 30;

volatile sig_atomic_t g_interrupted = 0;
std::atomic<ILuneth*> g_cancelTarget{nullptr};

void OnInterrupt(int) {
    g_interrupted = 1;
    // CancelComputation only stores a flag, which is safe in a signal handler.
    if (ILuneth* luneth = g_cancelTarget.load()) luneth->CancelComputation();
    signal(SIGINT, SIG_DFL);
}

}  // namespace

ProgressBar& Progress() {
    static ProgressBar bar;
    return bar;
}

void ProgressBar::Start(int frames) {
    std::lock_guard lock(mutex_);
    frames_ = std::max(1, frames);
    frame_ = 0;
    shownPermille_ = -1;
    start_ = std::chrono::steady_clock::now();
}

void ProgressBar::SetFrame(int frame) {
    std::lock_guard lock(mutex_);
    frame_ = frame;
    Draw(0.0);
}

void ProgressBar::Report(void* user, int64_t done, int64_t total) {
    auto* bar = static_cast<ProgressBar*>(user);
    std::lock_guard lock(bar->mutex_);
    bar->Draw(total > 0 ? std::clamp(double(done) / double(total), 0.0, 1.0) : 0.0);
}

void ProgressBar::Draw(double fraction) {
    static const bool terminal = isatty(STDERR_FILENO) == 1;
    const auto now = std::chrono::steady_clock::now();
    if (!terminal || now - start_ < kQuietStart) return;
    const int permille = int((frame_ + fraction) / frames_ * 1000.0);
    if (permille == shownPermille_ || (drawn_ && now - lastDraw_ < kRedrawEvery)) return;
    shownPermille_ = permille;
    lastDraw_ = now;
    drawn_ = true;
    const int filled = permille * kBarWidth / 1000;
    std::string line = "\r[" + std::string(size_t(filled), '#') +
                       std::string(size_t(kBarWidth - filled), '.') + "] ";
    char tail[64];
    std::snprintf(tail, sizeof tail, "%3d%%", permille / 10);
    line += tail;
    if (frames_ > 1) {
        std::snprintf(tail, sizeof tail, "  frame %d/%d", frame_ + 1, frames_);
        line += tail;
    }
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

void ProgressBar::Clear() {
    std::lock_guard lock(mutex_);
    if (!drawn_) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_ = false;
    shownPermille_ = -1;
}

CancelOnInterrupt::CancelOnInterrupt(ILuneth* luneth) {
    g_cancelTarget = luneth;
    if (luneth) luneth->SetProgressCallback(ProgressBar::Report, &Progress());
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

CancelOnInterrupt::~CancelOnInterrupt() {
    if (ILuneth* luneth = g_cancelTarget.exchange(nullptr))
        luneth->SetProgressCallback(nullptr, nullptr);
    Progress().Clear();
}

bool Interrupted() { return g_interrupted != 0; }

}  // namespace cli
