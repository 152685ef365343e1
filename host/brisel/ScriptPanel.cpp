#include "ScriptPanel.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BriselView.h"
#include "Host.h"
#include "kiv/files.h"

namespace brisel {

namespace {

QString FromScript(const char* text) {
    return QString::fromUtf8(text ? text : "")
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QPlainTextEdit* TextBox(bool readOnly) {
    auto* box = new QPlainTextEdit;
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setReadOnly(readOnly);
    box->setAcceptDrops(false);  // a dropped file is the panel's, never text for the box
    return box;
}

}  // namespace

CScriptPanel::CScriptPanel(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setWindowTitle(tr("数学脚本编辑面板"));
    setAcceptDrops(true);
    setModal(false);

    auto* scriptGroup = new QGroupBox(tr("脚本"));
    editor_ = TextBox(false);
    editor_->setFont(QFont(QStringLiteral("Monospace")));
    pathBox_ = new QLineEdit;
    pathBox_->setAcceptDrops(false);
    auto button = [this](const QString& text, auto action) {
        auto* b = new QPushButton(text);
        b->setAutoDefault(false);  // Enter types a new line; it presses no button
        connect(b, &QPushButton::clicked, this, action);
        return b;
    };
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(pathBox_, 1);
    buttons->addWidget(button(tr("打开"), &CScriptPanel::Open));
    buttons->addWidget(button(tr("保存"), &CScriptPanel::Save));
    buttons->addWidget(button(tr("清空"), &CScriptPanel::Clear));
    parseButton_ = button(tr("解析"), &CScriptPanel::Parse);
    buttons->addWidget(parseButton_);
    auto* scriptLayout = new QVBoxLayout(scriptGroup);
    scriptLayout->addWidget(editor_, 1);
    scriptLayout->addLayout(buttons);

    auto* statsGroup = new QGroupBox;
    auto* form = new QFormLayout;
    const QString labels[kStatCount] = {tr("像素数目:"), tr("图像宽:"), tr("图像高:"),
                                        tr("解析时间:")};
    for (int i = 0; i < kStatCount; ++i) {
        stats_[i] = new QLineEdit;
        stats_[i]->setReadOnly(true);
        stats_[i]->setAcceptDrops(false);
        form->addRow(labels[i], stats_[i]);
    }
    messages_ = TextBox(true);
    auto* statsLayout = new QHBoxLayout(statsGroup);
    statsLayout->addLayout(form);
    statsLayout->addWidget(messages_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scriptGroup, 3);
    layout->addWidget(statsGroup, 1);
    resize(600, 620);
    Refresh();
}

QString CScriptPanel::ScriptText() const {
    // Room for every line and its CR LF: the whole script, however long.
    size_t size = 1;
    for (int i = 0; i < luneth_->GetScriptLineCount(); ++i)
        if (const char* line = luneth_->GetScriptLine(i)) size += std::strlen(line) + 2;
    std::vector<char> buffer(size, '\0');
    luneth_->GetScriptText(buffer.data(), int(size));
    return FromScript(buffer.data());
}

void CScriptPanel::ShowState(bool enabled, const QString& script, const QString& messages,
                             const QStringList& stats) {
    editor_->setPlainText(script);
    editor_->setEnabled(enabled);
    parseButton_->setEnabled(enabled);
    messages_->setPlainText(messages);
    for (int i = 0; i < kStatCount; ++i) stats_[i]->setText(stats.value(i));
}

void CScriptPanel::Refresh() {
    if (!luneth_) return ShowState(false, {}, {}, {});
    if (luneth_->GetImageType() != kImageMathScript) {
        int length = 0;
        const char* carried = luneth_->GetPictureScript(&length);
        return ShowState(true, carried ? FromScript(QByteArray(carried, length)) : QString(), {},
                         {});
    }
    int pixels = 0, width = 0, height = 0;
    luneth_->GetScriptImageSize(&pixels, &width, &height);
    // Below the script's own log, where each failed line failed and what was expected there.
    QString messages = FromScript(luneth_->GetScriptMessages());
    const QString diagnostics = FromScript(luneth_->GetScriptDiagnostics());
    if (!diagnostics.isEmpty() && !messages.isEmpty() && !messages.endsWith('\n')) messages += '\n';
    messages += diagnostics;
    ShowState(true, ScriptText(), messages,
              {QString::number(pixels), QString::number(width), QString::number(height),
               QString::asprintf("%0.3f", double(luneth_->GetCostTime()))});
}

void CScriptPanel::Compute(const std::function<bool()>& begin, std::function<void(bool)> done) {
    if (computer_) {
        computer_(begin, std::move(done));
    } else if (begin()) {
        luneth_->ComputePending();
        done(luneth_->FinishComputation());
    }
}

void CScriptPanel::LoadScript(const QString& path) {
    if (!luneth_) return;
    QByteArray local = QFile::encodeName(path);
    Compute([this, local] { return luneth_->BeginLoadScriptFile(local.constData()); },
            [this, path](bool) {
                if (luneth_->WasCancelled()) return;
                pathBox_->setText(path);
                if (isVisible()) Refresh();
            });
}

void CScriptPanel::Parse() {
    if (!luneth_) return SetStatusText(tr("未能创建Luneth实体!"));
    QByteArray text = editor_->toPlainText().toUtf8();
    Compute(
        [this, text] { return luneth_->BeginLoadScriptText(text.constData(), int(text.size())); },
        [this](bool ok) {
            if (luneth_->WasCancelled()) return;  // the editor keeps the text
            Refresh();
            if (!ok) return SetStatusText(tr("数学脚本解析失败!"));
            int pixels = 0, width = 0, height = 0;
            luneth_->GetTextureSize(&pixels, &width, &height);
            SetStatusText(
                QString::asprintf(qPrintable(tr("数学脚本解析耗时:%0.3f毫秒.纹理大小(%d,%d)")),
                                  double(luneth_->GetCostTime()), width, height));
        });
}

void CScriptPanel::Open() {
    QString path =
        ChooseFile({this, tr("打开"), tr("数学脚本文件(.txt) (*.txt);;所有文件 (*)"), {}, false});
    if (!path.isEmpty()) LoadScript(path);
}

bool CScriptPanel::Save() {
    QString text = editor_->toPlainText();
    if (text.size() < 3) {
        SetStatusText(tr("保存文件失败!"));
        return false;
    }
    QString path = pathBox_->text();
    if (path.size() < 3) {
        path = ChooseFile({this, tr("另存为"), tr("数学脚本文件 (*.txt)"), {}, true});
        if (path.isEmpty()) return false;
        pathBox_->setText(path);
    }
    // Whole or not at all: a full disk or a lost folder leaves the old script as it was, and
    // the status bar says why.
    QByteArray bytes = text.toUtf8();
    std::string why;
    if (!KivWriteFileAtomically(
            QFile::encodeName(path).constData(),
            [&bytes](std::FILE* file) {
                return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file) ==
                       size_t(bytes.size());
            },
            &why)) {
        SetStatusText(tr("保存文件失败!") + QLatin1Char(' ') + QString::fromLocal8Bit(why.c_str()));
        return false;
    }
    return true;
}

void CScriptPanel::Clear() {
    if (luneth_ && luneth_->IsComputing()) return SetStatusText(tr("正在计算,请稍候或按Esc取消"));
    if (luneth_) luneth_->UnloadImage();
    Refresh();
    SetStatusText(tr("清空脚本!"));
}

void CScriptPanel::reject() {
    if (luneth_ && luneth_->IsComputing()) return luneth_->CancelComputation();
    QDialog::reject();
}

void CScriptPanel::dragEnterEvent(QDragEnterEvent* event) { AcceptFileDrag(event); }

// Any dropped file is taken as a script.
void CScriptPanel::dropEvent(QDropEvent* event) {
    QString path = TakeDroppedFile(event);
    if (!path.isEmpty()) LoadScript(path);
}

}  // namespace brisel
