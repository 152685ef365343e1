// Start-up to first frame of the viewer: runs brisel as `brisel [FILE]` does, prints the time
// from process start (and from main) to the first frame on screen and to the first frame that
// shows the picture of FILE, then quits. Run it through viewer_startup.sh (a virtual X server,
// several runs, the median).
#include <unistd.h>

#include <QApplication>
#include <QOpenGLWidget>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "MainFrame.h"

namespace {

using Clock = std::chrono::steady_clock;

// Seconds since this process started, from /proc (clock-tick resolution).
double SinceProcessStart() {
    std::ifstream stat("/proc/self/stat"), uptime("/proc/uptime");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    double up = 0;
    uptime >> up;
    return up - std::stod(field) / double(sysconf(_SC_CLK_TCK));
}

}  // namespace

int main(int argc, char** argv) {
    Clock::time_point mainStart = Clock::now();
    bool wantPicture = argc > 1;
    return brisel::RunBrisel(argc, argv, [&](brisel::CMainFrame& frame) {
        auto* gl = frame.View()->findChild<QOpenGLWidget*>();
        if (!gl) {
            std::fprintf(stderr, "viewer_startup: no OpenGL view\n");
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(1); });
            return;
        }
        auto first = std::make_shared<bool>(true), done = std::make_shared<bool>(false);
        QObject::connect(
            gl, &QOpenGLWidget::frameSwapped, gl, [&frame, first, done, mainStart, wantPicture] {
                double fromMain = std::chrono::duration<double>(Clock::now() - mainStart).count();
                double fromProcess = SinceProcessStart();
                if (*first) {
                    std::printf("first frame: %.0f ms from process start, %.0f ms from main\n",
                                fromProcess * 1000, fromMain * 1000);
                    *first = false;
                }
                if (*done) return;
                if (!wantPicture || frame.View()->Luneth()->GetTexture()) {
                    *done = true;
                    if (wantPicture)
                        std::printf("first frame with the picture: %.0f ms from process start\n",
                                    fromProcess * 1000);
                    std::fflush(stdout);
                    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
                }
            });
    });
}
