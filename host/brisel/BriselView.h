// CBriselView: the view in which the engine draws, and every command of the program.
//
// The view boots the engine when it is made (windowed: the engine draws into this widget;
// headless: for tests and tools, no drawing) with the game class "CLuneth", keeps the image
// object (ILuneth), installs the load report and leaves dropped files to itself. Each command is
// a thin call into the image object and reports in the status bar. Without an image object
// (the engine could not make one) the commands do nothing.
//
// Frames: a timer at the display's refresh interval asks the engine for a frame while the view is
// visible and its window not minimised; the engine draws it when Qt paints the view.
//
// Computations (loads, scripts, equations, reloads) run on a thread of their own: the window
// stays responsive, the picture stays as it is until the computation ends, the progress bar
// moves (progressChanged) and Esc cancels. One runs at a time; a command that would change the
// image meanwhile is refused with a word in the status bar.
#pragma once

#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <atomic>
#include <functional>

#include "kiv/engine.h"
#include "module/ILuneth.h"

namespace brisel {

class CSceneChooser;
class CScriptPanel;

class CBriselView : public QWidget {
    Q_OBJECT

public:
    enum class Mode { Windowed, Headless };
    enum class Opened { Nothing, Picture, Script };

    explicit CBriselView(Mode mode, QWidget* parent = nullptr);
    ~CBriselView() override;

    ILuneth* Luneth() const { return luneth_; }
    CScriptPanel* ScriptPanel() const { return panel_; }
    // The 3-D scenes of the View menu; null without an image object.
    CSceneChooser* Scenes() const { return scenes_.get(); }

    // Load file: a file dialog, then OpenByExtension.
    void LoadFile();
    // A picture extension loads a picture; any other extension goes to the script panel as a
    // script; a path without an extension is ignored.
    Opened OpenByExtension(const QString& path);
    void Unload();
    void SaveImageAs();
    // Every equation as "Image/%d %s.png" below the current directory (made when missing); the
    // number written. The last equation stays the current image.
    int ExportAllEquations();
    void ShowScriptPanel();
    void ToggleModulePanel();
    // The scene of that class name, or the image view for an empty name; the status bar says
    // when the scene can't be made or the current image has no surface to show in it.
    bool ChooseScene(const QString& name);

    // Runs the computation that `begin` starts (one of the image object's Begin operations) on
    // a thread of its own; `done` runs on this thread with the result once the image object
    // has taken it. False, and the status bar says so, while another computation runs; false
    // when `begin` refuses.
    bool Compute(const std::function<bool()>& begin, std::function<void(bool)> done = {});
    bool IsComputing() const { return worker_ != nullptr; }
    void CancelComputation();
    // Waits for the running computation and finishes it (closing the window, tests).
    void WaitForComputation();
    // True, and the status bar says why, while a computation runs.
    bool RefuseWhileComputing();

signals:
    // A file was opened by extension (for the recent-file list).
    void fileOpened(const QString& path);
    // The engine asked to end the application.
    void exitRequested();
    // Progress of the running computation in thousandths; 0 when none runs.
    void progressChanged(int permille);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void NextFrame();
    // The computation is begun: compute it on a new thread.
    void RunBegun(std::function<void(bool)> done);
    void FinishWork();
    void ShowProgress();

    KivEngineAPI* api_ = nullptr;
    ILuneth* luneth_ = nullptr;
    CScriptPanel* panel_ = nullptr;
    std::unique_ptr<CSceneChooser> scenes_;
    QTimer frameTimer_;
    bool exitSignalled_ = false;
    QThread* worker_ = nullptr;
    unsigned workerGeneration_ = 0;
    std::function<void(bool)> done_;
    QTimer progressTimer_;
    QElapsedTimer busyFor_;
    bool busyShown_ = false;
    std::atomic<int64_t> progressDone_{0};
    std::atomic<int64_t> progressTotal_{0};
};

// The first local file of a drag, empty when it carries none.
QString FirstLocalFile(const QMimeData* mime);
// A drag that carries a local file is accepted.
void AcceptFileDrag(QDropEvent* event);
// The first local file of a drop (the drop accepted), empty when it carries none.
QString TakeDroppedFile(QDropEvent* event);

}  // namespace brisel
