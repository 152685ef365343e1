#include "BriselView.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QUrl>
#include <cmath>

#include "Host.h"
#include "ScriptPanel.h"

namespace brisel {

namespace {

void ReportLoad(const char* name, int width, int height, float costTimeMs) {
    SetStatusText(LoadReportText(QString::fromUtf8(name ? name : ""), width, height, costTimeMs));
}

QByteArray Local(const QString& path) { return QFile::encodeName(path); }

// Why the engine's last picture save on this thread failed.
const char* PictureError() {
    KivEngineAPI* api = KivEngineGetAPI();
    auto* textures = api ? static_cast<KcTexturesMgr*>(api->FindService("KcTexturesMgr")) : nullptr;
    return textures ? textures->GetLastError() : "";
}

constexpr int kEquationSlots = 512;

}  // namespace

QString FirstLocalFile(const QMimeData* mime) {
    if (!mime) return {};
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

void AcceptFileDrag(QDropEvent* event) {
    if (!FirstLocalFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

QString TakeDroppedFile(QDropEvent* event) {
    QString path = FirstLocalFile(event->mimeData());
    if (!path.isEmpty()) event->acceptProposedAction();
    return path;
}

CBriselView::CBriselView(Mode mode, QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 120);
    KivEngineSetup(mode == Mode::Windowed ? this : nullptr, 0, "CLuneth", nullptr);
    KivEngineFrame();
    api_ = KivEngineGetAPI();
    KicGame* game = api_ ? api_->GetGame() : nullptr;
    if (!game) {
        QMessageBox::critical(this, tr("错误"), tr("没有创建CLuneth导致引擎无法启动!"));
        KivEngineShutdown();
        api_ = nullptr;
    } else {
        luneth_ = static_cast<ILuneth*>(game);
        luneth_->SetDropFilesEnabled(false);
        luneth_->SetImageCallback(ReportLoad);
    }
    panel_ = new CScriptPanel(this);
    panel_->SetLuneth(luneth_);
    panel_->hide();
    setAcceptDrops(true);

    if (api_ && mode == Mode::Windowed) {
        // One frame a refresh of the display; Qt merges the requests with its own paints.
        qreal rate = screen() ? screen()->refreshRate() : 60.0;
        frameTimer_.setTimerType(Qt::PreciseTimer);
        frameTimer_.setInterval(int(std::lround(1000.0 / (rate > 1.0 ? rate : 60.0))));
        connect(&frameTimer_, &QTimer::timeout, this, &CBriselView::NextFrame);
        frameTimer_.start();
    }
}

CBriselView::~CBriselView() {
    frameTimer_.stop();
    delete panel_;
    panel_ = nullptr;
    if (api_) KivEngineShutdown();
    api_ = nullptr;
    luneth_ = nullptr;
}

void CBriselView::NextFrame() {
    if (!api_ || !isVisible() || window()->isMinimized()) return;
    if (!KivEngineFrame() && api_->IsExitRequested() && !exitSignalled_) {
        exitSignalled_ = true;
        emit exitRequested();
    }
}

// ---------------------------------------------------------------- window events

void CBriselView::paintEvent(QPaintEvent*) {
    if (api_) KivEngineFrame();
}

void CBriselView::resizeEvent(QResizeEvent* event) {
    if (api_) KivEngineFrame();
    QWidget::resizeEvent(event);
}

// Left presses belong to the engine (dragging the picture); the host takes and ignores them.
void CBriselView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) return event->accept();
    QWidget::mousePressEvent(event);
}

void CBriselView::dragEnterEvent(QDragEnterEvent* event) { AcceptFileDrag(event); }

void CBriselView::dropEvent(QDropEvent* event) {
    QString path = TakeDroppedFile(event);
    if (!path.isEmpty()) OpenByExtension(path);
}

// ---------------------------------------------------------------- commands

void CBriselView::LoadFile() {
    QString path =
        ChooseFile({this,
                    tr("打开"),
                    tr("数学脚本文件(.txt) (*.txt);;dds文件(.dds) (*.dds);;bmp文件(.bmp) (*.bmp);;"
                       "jpg文件(.jpg) (*.jpg);;png文件(.png) (*.png);;tga文件(.tga) (*.tga);;"
                       "ppm文件(.ppm) (*.ppm);;所有文件 (*)"),
                    {},
                    false});
    if (!path.isEmpty()) OpenByExtension(path);
}

CBriselView::Opened CBriselView::OpenByExtension(const QString& path) {
    if (!luneth_) return Opened::Nothing;
    QString extension = FindExtension(path);
    if (extension.isEmpty()) return Opened::Nothing;
    Opened opened = Opened::Script;
    if (IsPictureExtension(extension)) {
        luneth_->LoadPictureFile(Local(path).constData());
        opened = Opened::Picture;
    } else {
        panel_->LoadScript(path);
    }
    emit fileOpened(path);
    return opened;
}

void CBriselView::Unload() {
    if (!luneth_) return;
    luneth_->UnloadImage();
    panel_->Refresh();
    SetStatusText(tr("清空脚本!"));
}

void CBriselView::SaveImageAs() {
    if (!luneth_ || !luneth_->GetTexture()) return;
    QString path = ChooseFile(
        {this, tr("另存为"),
         tr("png文件(.png) (*.png);;jpg文件(.jpg) (*.jpg);;dds文件(.dds) (*.dds);;"
            "bmp文件(.bmp) (*.bmp);;tga文件(.tga) (*.tga);;ppm文件(.ppm) (*.ppm);;其他文件 (*)"),
         SuggestSaveName(QString::fromUtf8(luneth_->GetImageName())), true});
    if (path.isEmpty()) return;
    // The format follows the extension; a failure is said, not left silent.
    if (!luneth_->SaveImage(Local(path).constData()))
        SetStatusText(tr("图像保存失败:\"%1\"").arg(QDir::toNativeSeparators(path)) +
                      QLatin1Char(' ') + QString::fromLocal8Bit(PictureError()));
}

int CBriselView::ExportAllEquations() {
    if (!luneth_) return 0;
    QDir current = QDir::current();
    QString folder = current.absoluteFilePath(QStringLiteral("Image"));
    if (!current.mkpath(QStringLiteral("Image"))) {
        SetStatusText(tr("无法创建文件夹\"%1\"").arg(folder));
        return 0;
    }
    int written = 0, failed = 0;
    // Every filled slot of the table, also past a gap.
    for (int i = 0; i < kEquationSlots; ++i) {
        if (!luneth_->GetEquation(i) || !luneth_->ComputeEquation(i)) continue;
        QString path = ExportFileName(folder, i, QString::fromUtf8(luneth_->GetImageName()));
        if (luneth_->SaveImage(Local(path).constData()))
            ++written;
        else
            ++failed;
    }
    if (failed)
        SetStatusText(
            tr("已导出%1张图像到\"%2\",%3张保存失败").arg(written).arg(folder).arg(failed));
    else
        SetStatusText(tr("已导出%1张图像到\"%2\"").arg(written).arg(folder));
    return written;
}

void CBriselView::ShowScriptPanel() {
    if (panel_->isVisible()) return;
    panel_->Refresh();
    panel_->show();
}

void CBriselView::ToggleModulePanel() {
    if (luneth_) luneth_->ShowPanel(!luneth_->IsPanelVisible());
}

}  // namespace brisel
