#include "BriselView.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "Host.h"
#include "SceneChooser.h"
#include "ScriptPanel.h"

namespace brisel {

namespace {

// The scenes of the view that boots the engine; they hear of every load.
CSceneChooser* gScenes = nullptr;

void ReportLoad(const char* name, int width, int height, float costTimeMs) {
    SetStatusText(LoadReportText(QString::fromUtf8(name ? name : ""), width, height, costTimeMs));
    if (gScenes) gScenes->ImageChanged();
}

QByteArray Local(const QString& path) { return QFile::encodeName(path); }

// Why the engine's last picture save on this thread failed.
const char* PictureError() {
    KivEngineAPI* api = KivEngineGetAPI();
    auto* textures = api ? static_cast<KcTexturesMgr*>(api->FindService("KcTexturesMgr")) : nullptr;
    return textures ? textures->GetLastError() : "";
}

constexpr int kEquationSlots = 512;
// The progress bar and the busy word wait this long, so quick computations don't flicker.
constexpr int kProgressIntervalMs = 100;
constexpr int kBusyWordAfterMs = 500;

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
        scenes_ = std::make_unique<CSceneChooser>(api_, luneth_);
        gScenes = scenes_.get();
        luneth_->SetProgramName("Brisel " BRISEL_VERSION);
        // Reports come on the computing threads; the view shows them on its own (ShowProgress).
        luneth_->SetProgressCallback(
            [](void* view, int64_t done, int64_t total) {
                static_cast<CBriselView*>(view)->progressTotal_ = total;
                static_cast<CBriselView*>(view)->progressDone_ = done;
            },
            this);
        // The image object's own commands (its panel, the K key) compute here too.
        luneth_->SetComputeRunner([](void* view) { static_cast<CBriselView*>(view)->RunBegun({}); },
                                  this);
    }
    panel_ = new CScriptPanel(this);
    panel_->SetLuneth(luneth_);
    panel_->SetComputer([this](const std::function<bool()>& begin, std::function<void(bool)> done) {
        return Compute(begin, std::move(done));
    });
    progressTimer_.setInterval(kProgressIntervalMs);
    connect(&progressTimer_, &QTimer::timeout, this, &CBriselView::ShowProgress);
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
    CancelComputation();
    WaitForComputation();
    delete panel_;
    panel_ = nullptr;
    if (gScenes == scenes_.get()) gScenes = nullptr;
    scenes_.reset();
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

// Presses belong to the engine (dragging the picture, turning a scene's camera); the host takes
// and ignores them.
void CBriselView::mousePressEvent(QMouseEvent* event) {
    if (event->button() & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton))
        return event->accept();
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
        QByteArray local = Local(path);
        // A picture that carries a script shows it in a visible script panel.
        Compute([this, local] { return luneth_->BeginLoadPicture(local.constData()); },
                [this](bool) {
                    if (panel_->isVisible()) panel_->Refresh();
                });
        opened = Opened::Picture;
    } else {
        panel_->LoadScript(path);
    }
    emit fileOpened(path);
    return opened;
}

void CBriselView::Unload() {
    if (!luneth_ || RefuseWhileComputing()) return;
    luneth_->UnloadImage();
    if (scenes_) scenes_->ImageChanged();
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
    if (!luneth_ || RefuseWhileComputing()) return 0;
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

bool CBriselView::ChooseScene(const QString& name) {
    if (!scenes_) return false;
    if (!scenes_->Choose(name)) {
        SetStatusText(tr("无法创建场景%1").arg(name));
        return false;
    }
    if (!name.isEmpty() && scenes_->SurfacePoints() == 0)
        SetStatusText(tr("场景%1:当前图像没有可显示的曲面").arg(name));
    return true;
}

void CBriselView::ToggleModulePanel() {
    if (luneth_) luneth_->ShowPanel(!luneth_->IsPanelVisible());
}

// ---------------------------------------------------------------- computing on a thread

bool CBriselView::RefuseWhileComputing() {
    if (!IsComputing()) return false;
    SetStatusText(tr("正在计算,请稍候或按Esc取消"));
    return true;
}

bool CBriselView::Compute(const std::function<bool()>& begin, std::function<void(bool)> done) {
    if (!luneth_ || RefuseWhileComputing() || !begin()) return false;
    RunBegun(std::move(done));
    return true;
}

void CBriselView::RunBegun(std::function<void(bool)> done) {
    done_ = std::move(done);
    progressDone_ = 0;
    progressTotal_ = 0;
    busyShown_ = false;
    busyFor_.start();
    ILuneth* luneth = luneth_;
    worker_ = QThread::create([luneth] { luneth->ComputePending(); });
    const unsigned generation = ++workerGeneration_;
    // Queued: the result is taken on this thread, and only by the computation it belongs to.
    connect(
        worker_, &QThread::finished, this,
        [this, generation] {
            if (generation == workerGeneration_) FinishWork();
        },
        Qt::QueuedConnection);
    worker_->start();
    progressTimer_.start();
}

void CBriselView::FinishWork() {
    if (!worker_) return;
    worker_->wait();
    worker_->deleteLater();
    worker_ = nullptr;
    progressTimer_.stop();
    emit progressChanged(0);
    bool ok = luneth_->FinishComputation();
    if (luneth_->WasCancelled()) SetStatusText(tr("计算已取消"));
    if (auto done = std::move(done_)) done(ok);
}

void CBriselView::ShowProgress() {
    int64_t total = progressTotal_.load(), done = progressDone_.load();
    if (total > 0) emit progressChanged(int(std::min<int64_t>(1000, done * 1000 / total)));
    if (!busyShown_ && busyFor_.elapsed() >= kBusyWordAfterMs) {
        busyShown_ = true;
        SetStatusText(tr("正在计算,按Esc取消..."));
    }
}

void CBriselView::CancelComputation() {
    if (luneth_ && IsComputing()) luneth_->CancelComputation();
}

void CBriselView::WaitForComputation() {
    if (worker_) FinishWork();
}

}  // namespace brisel
