// The viewer for one test: a Qt application (created once per process), the main frame with its
// engine in a fresh directory (own INI file and log), scripts and pictures written there.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QSettings>
#include <QStandardPaths>
#include <memory>

#include "BriselView.h"
#include "Host.h"
#include "MainFrame.h"
#include "ScriptPanel.h"
#include "kivcore/EngineSession.h"

namespace briseltest {

// Created on first use; platform "offscreen" unless the environment names one (xvfb runs xcb).
inline QApplication& App() {
    static int argc = 1;
    static char name[] = "brisel-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QStandardPaths::setTestModeEnabled(true);
        // Settings (the recent files) of this test program alone: CTest runs several at once.
        static const std::string settings =
            kivtest::FreshDirectory("brisel-settings").string();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(settings));
        auto* a = new QApplication(argc, argv);
        QApplication::setOrganizationName(QStringLiteral("brisel-test"));
        QApplication::setApplicationName(QStringLiteral("Brisel"));
        return a;
    }();
    return *app;
}

class BriselSession {
public:
    // `keys`: more lines of the engine's section, e.g. "Modules=Luneth,Tolvan\n".
    explicit BriselSession(brisel::CBriselView::Mode mode = brisel::CBriselView::Mode::Headless,
                           const std::string& keys = "Modules=Luneth\n")
        : dir(kivtest::FreshDirectory("brisel")) {
        App();
        kivtest::WriteFile(
            dir / "kivcore.ini",
            "[KivCore]\nLogFile=" + (dir / "kivcore.log").string() + "\nLogLevel=5\n" + keys);
        qputenv("KIV_CONFIG", QByteArray::fromStdString((dir / "kivcore.ini").string()));
        QSettings().remove(QStringLiteral("RecentFiles"));
        frame = std::make_unique<brisel::CMainFrame>(mode);
        view = frame->View();
        luneth = view->Luneth();
        panel = view->ScriptPanel();
    }
    ~BriselSession() {
        brisel::SetFileChooser({});
        Close();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    // Opens a file as the view does and waits for its computation.
    brisel::CBriselView::Opened Open(const QString& path) {
        brisel::CBriselView::Opened opened = view->OpenByExtension(path);
        view->WaitForComputation();
        return opened;
    }
    // Parses the script panel's text and waits for it.
    void Parse() {
        panel->Parse();
        view->WaitForComputation();
    }
    // Closes the window: the view shuts the engine down.
    void Close() { frame.reset(); }
    std::string Log() const { return kivtest::ReadFile(dir / "kivcore.log"); }

    QString Path(const std::string& name) const {
        return QString::fromStdString((dir / name).string());
    }
    QString WriteScript(const std::string& name, const std::string& text) const {
        kivtest::WriteFile(dir / name, text);
        return Path(name);
    }
    // A w x h picture: texel (x, y) = red x * 8, green y * 8, blue 0x80.
    QString WritePicture(const std::string& name, int w = 16, int h = 8) const {
        QImage image(w, h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 8, y * 8, 0x80));
        image.save(Path(name));
        return Path(name);
    }

    std::filesystem::path dir;
    std::unique_ptr<brisel::CMainFrame> frame;
    brisel::CBriselView* view = nullptr;
    ILuneth* luneth = nullptr;
    brisel::CScriptPanel* panel = nullptr;
};

// A script that computes for minutes unless it is cancelled.
constexpr const char* kEndlessScript =
    "pixels = width:512 height:512\nx = from 0 to 1 W\n[LOOP START: 1000000]\n"
    "r = sin(x * loop)\nLOOP END]\ng = r\nb = r\n";

// A small picture script: 4 x 2 pixels, red ramp along x.
constexpr const char* kSmallScript =
    "pixels = width:4 height:2\nx = from 0.0 to 1.0 W\nr = x\ng = 0.5\nb = x * 0.5\n";

}  // namespace briseltest
