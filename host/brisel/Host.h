// What the viewer's windows share: the rules of its commands that need no window (open by
// extension, the save-name suggestion, the report texts), the status-message route, the file
// dialogs and the translation.
#pragma once

#include <QLocale>
#include <QString>
#include <functional>

class QCoreApplication;
class QWidget;

namespace brisel {

// ---------------------------------------------------------------- rules of the commands

// The text after the last '.' of a path, when no '/' or '\' comes after that dot; empty for a
// path without one (and for a path ending in '.').
QString FindExtension(const QString& path);
// dds, jpg, tga, bmp, ppm or png, in any case: the picture files the engine loads.
bool IsPictureExtension(const QString& extension);
// The file name offered by "save image as": the image name up to its first '.'.
QString SuggestSaveName(const QString& imageName);
// The load report of the image object, as the status bar shows it.
QString LoadReportText(const QString& name, int width, int height, float costTimeMs);
// The export file of equation `index` below `folder`: "%d %s.png"; a '/' of the name becomes
// '_' so that the name never makes a folder.
QString ExportFileName(const QString& folder, int index, const QString& name);

// ---------------------------------------------------------------- status, dialogs, language

// Shows a message in pane 1 of the main frame's status bar; nothing while there is no frame.
void SetStatusText(const QString& text);

// A file dialog the viewer asks for; `filter` is written the Qt way ("Name (*.ext);;...").
struct FileRequest {
    QWidget* owner = nullptr;
    QString caption;
    QString filter;
    QString suggestedName;  // save dialogs only
    bool save = false;
};
// The chosen path, empty when cancelled. The process's current directory is the same after the
// dialog as before it, whatever folder the user browsed to.
QString ChooseFile(const FileRequest& request);
// Replaces the dialogs (tests); an empty function restores them.
void SetFileChooser(std::function<QString(const FileRequest&)> chooser);

// The texts of the program are Chinese; every other language reads the English translation.
// True when a translation was installed.
bool InstallTranslation(QCoreApplication& app, const QLocale& locale);

}  // namespace brisel
