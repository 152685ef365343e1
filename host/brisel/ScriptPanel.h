// CScriptPanel: the script edit panel, a tool window beside the main window. The user edits a
// math script, parses it into the image, opens and saves script files and reads the script's
// pixel count, size, parse time and messages. The panel keeps no script of its own: it copies
// text into and out of the image object.
//
// Refresh shows the image object's state: without an image object everything is empty and the
// editor and the parse button are disabled; with a math script the whole script, its messages
// and its numbers; with a picture that carries the script it was made from, that script, ready
// to parse; otherwise empty fields and an editor ready for typing.
//
// Loading and parsing go through the computer the view installs (a thread of their own); a
// panel without one computes at once.
#pragma once

#include <QDialog>
#include <functional>

#include "module/ILuneth.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace brisel {

class CScriptPanel : public QDialog {
    Q_OBJECT

public:
    // The numbers below the editor, in their order.
    enum Stat { kPixelCount, kWidth, kHeight, kParseTime, kStatCount };

    explicit CScriptPanel(QWidget* parent = nullptr);

    using Computer =
        std::function<bool(const std::function<bool()>& begin, std::function<void(bool)> done)>;

    void SetLuneth(ILuneth* luneth) { luneth_ = luneth; }
    void SetComputer(Computer computer) { computer_ = std::move(computer); }
    void Refresh();
    // LoadScriptFile with the path; the path box shows it; a visible panel refreshes.
    void LoadScript(const QString& path);
    // The buttons.
    void Parse();
    void Open();
    bool Save();
    void Clear();

    QPlainTextEdit* Editor() const { return editor_; }
    QLineEdit* PathBox() const { return pathBox_; }
    QPushButton* ParseButton() const { return parseButton_; }
    QLineEdit* StatBox(Stat stat) const { return stats_[stat]; }
    QPlainTextEdit* Messages() const { return messages_; }

protected:
    // Esc in the panel stops a running computation before it closes the panel.
    void reject() override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The image object's whole script, lines ended by '\n'.
    QString ScriptText() const;
    void ShowState(bool enabled, const QString& script, const QString& messages,
                   const QStringList& stats);

    // Runs a computation that `begin` starts; `done` gets the result.
    void Compute(const std::function<bool()>& begin, std::function<void(bool)> done);

    ILuneth* luneth_ = nullptr;
    Computer computer_;
    QPlainTextEdit* editor_ = nullptr;
    QLineEdit* pathBox_ = nullptr;
    QPushButton* parseButton_ = nullptr;
    QLineEdit* stats_[kStatCount] = {};
    QPlainTextEdit* messages_ = nullptr;
};

}  // namespace brisel
