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
#pragma once

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QWidget>
#include <memory>

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

signals:
    // A file was opened by extension (for the recent-file list).
    void fileOpened(const QString& path);
    // The engine asked to end the application.
    void exitRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void NextFrame();

    KivEngineAPI* api_ = nullptr;
    ILuneth* luneth_ = nullptr;
    CScriptPanel* panel_ = nullptr;
    std::unique_ptr<CSceneChooser> scenes_;
    QTimer frameTimer_;
    bool exitSignalled_ = false;
};

// The first local file of a drag, empty when it carries none.
QString FirstLocalFile(const QMimeData* mime);
// A drag that carries a local file is accepted.
void AcceptFileDrag(QDropEvent* event);
// The first local file of a drop (the drop accepted), empty when it carries none.
QString TakeDroppedFile(QDropEvent* event);

}  // namespace brisel
