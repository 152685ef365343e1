// CMainFrame: the main window. Caption "Brisel"; the menus File, View (with the 3-D scenes) and
// Help with their keys; F2 (export every equation), F11 (full screen on and off) and Esc (full
// screen off) as window keys; the status bar with the ready pane, the message pane (pane 1, where
// every message of the program goes) and the progress bar (pane 2); the view of the engine in the
// middle.
//
// Full screen hides the menus and the status bar and fills the screen; leaving it restores the
// saved geometry. The File menu lists the last four opened files (QSettings "RecentFiles").
#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <vector>

#include "BriselView.h"

class QAction;
class QLabel;
class QMenu;
class QProgressBar;

namespace brisel {

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kRecentFiles = 4;

    explicit CMainFrame(CBriselView::Mode mode = CBriselView::Mode::Windowed);
    ~CMainFrame() override;

    CBriselView* View() const { return view_; }
    void SetMessage(const QString& text);
    QString Message() const;
    QProgressBar* Progress() const { return progress_; }

    // Entering twice or leaving when not in full screen changes nothing.
    void SetFullScreen(bool fullScreen);
    bool IsFullScreen() const { return fullScreen_; }

    void AddRecentFile(const QString& path);
    QStringList RecentFiles() const;
    void ShowAbout();
    // The View menu's scene items: "none" first, then the scenes by class name.
    const std::vector<QAction*>& SceneActions() const { return sceneActions_; }

private:
    void CreateMenus();
    void CreateStatusBar();
    void UpdateRecentMenu();
    void CreateSceneMenu(QMenu* menu);
    void CheckCurrentScene();

    CBriselView* view_ = nullptr;
    QLabel* message_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QAction* statusBarAction_ = nullptr;
    QAction* leaveFullScreenAction_ = nullptr;
    std::vector<QAction*> sceneActions_;
    bool fullScreen_ = false;
    bool statusBarWasVisible_ = true;
    QByteArray savedGeometry_;
};

// The application: start-up, the command line and the event loop. afterShow runs once the main
// window is shown, before FILE is opened (the start-up benchmark hooks in there).
int RunBrisel(int argc, char** argv, const std::function<void(CMainFrame&)>& afterShow = {});

}  // namespace brisel
