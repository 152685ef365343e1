// Index: status route; the frame (menus, status bar, full screen, recent files, about box);
// the application's start-up.
#include "MainFrame.h"

#include <QActionGroup>
#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <cstring>

#include "Host.h"
#include "SceneChooser.h"

namespace brisel {

namespace {

CMainFrame* gMainFrame = nullptr;

// A status pane as wide as `chars` average characters while the window has room, narrower when
// it has not (a fixed width would hold the window at its size).
class CStatusPane : public QLabel {
public:
    explicit CStatusPane(int chars) : chars_(chars) {}
    QSize sizeHint() const override {
        return {fontMetrics().averageCharWidth() * chars_, QLabel::sizeHint().height()};
    }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

private:
    int chars_;
};

// "%s/ExternDll:%s" in PATH, as the engine also looks in ExternDll for its plug-ins.
void PrependExternDll() {
    QByteArray path = qgetenv("PATH");
    QByteArray dir =
        QFile::encodeName(QDir::current().absoluteFilePath(QStringLiteral("ExternDll")));
    qputenv("PATH", path.isEmpty() ? dir : dir + ':' + path);
}

}  // namespace

void SetStatusText(const QString& text) {
    if (gMainFrame) gMainFrame->SetMessage(text);
}

// ================================================================ the frame

CMainFrame::CMainFrame(CBriselView::Mode mode) {
    gMainFrame = this;
    setWindowTitle(QStringLiteral("Brisel"));
    CreateStatusBar();
    view_ = new CBriselView(mode, this);
    setCentralWidget(view_);
    CreateMenus();
    connect(view_, &CBriselView::fileOpened, this, &CMainFrame::AddRecentFile);
    connect(view_, &CBriselView::exitRequested, this, &QWidget::close);
    connect(view_, &CBriselView::progressChanged, progress_, &QProgressBar::setValue);
    resize(1280, 800);
    view_->setFocus();
}

CMainFrame::~CMainFrame() {
    if (gMainFrame == this) gMainFrame = nullptr;
}

void CMainFrame::CreateMenus() {
    auto add = [this](QMenu* menu, const QString& text, const QKeySequence& key, auto fn) {
        auto* action = new QAction(text, this);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, fn);
        if (menu) menu->addAction(action);
        addAction(action);  // the keys work also while the menu bar is hidden (full screen)
        return action;
    };
    QMenu* file = menuBar()->addMenu(tr("文件(&F)"));
    add(file, tr("加载文件(CTRL+F)"), QKeySequence(Qt::CTRL | Qt::Key_F),
        [this] { view_->LoadFile(); });
    add(file, tr("卸载文件(CTRL+DEL)"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
        [this] { view_->Unload(); });
    add(file, tr("图像另存为...(CTRL+S)"), QKeySequence(Qt::CTRL | Qt::Key_S),
        [this] { view_->SaveImageAs(); });
    recentMenu_ = file->addMenu(tr("最近的文件"));
    file->addSeparator();
    add(file, tr("退出(&X)"), {}, [this] { close(); });

    QMenu* viewMenu = menuBar()->addMenu(tr("视图(&V)"));
    statusBarAction_ =
        add(viewMenu, tr("状态栏(&S)"), {}, [this](bool on) { statusBar()->setVisible(on); });
    statusBarAction_->setCheckable(true);
    statusBarAction_->setChecked(true);
    viewMenu->addSeparator();
    add(viewMenu, tr("脚本编辑面板(F5)"), QKeySequence(Qt::Key_F5),
        [this] { view_->ShowScriptPanel(); });
    add(viewMenu, tr("图形用户界面(U)"), {}, [this] { view_->ToggleModulePanel(); });
    CreateSceneMenu(viewMenu->addMenu(tr("三维场景")));

    QMenu* help = menuBar()->addMenu(tr("帮助(&H)"));
    add(help, tr("关于 Brisel(&A)..."), {}, [this] { ShowAbout(); });

    add(nullptr, tr("导出全部图像"), QKeySequence(Qt::Key_F2),
        [this] { view_->ExportAllEquations(); });
    add(nullptr, tr("全屏"), QKeySequence(Qt::Key_F11), [this] { SetFullScreen(!fullScreen_); });
    // Only in full screen: elsewhere Esc reaches the view and the engine (which cancels a
    // running computation, else ends the program).
    leaveFullScreenAction_ = add(nullptr, tr("退出全屏"), QKeySequence(Qt::Key_Escape), [this] {
        if (view_->IsComputing())
            view_->CancelComputation();
        else
            SetFullScreen(false);
    });
    leaveFullScreenAction_->setEnabled(false);
    UpdateRecentMenu();
}

// "None" (the image view) and the five scenes, one of them checked: the one shown.
void CMainFrame::CreateSceneMenu(QMenu* menu) {
    auto* group = new QActionGroup(this);
    QString current = view_->Scenes() ? view_->Scenes()->Current() : QString();
    auto item = [&](const QString& text, const QString& name) {
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(name == current);
        action->setData(name);
        group->addAction(action);
        sceneActions_.push_back(action);
    };
    item(tr("无(图像视图)"), QString());
    menu->addSeparator();
    for (const char* name : CSceneChooser::kSceneNames)
        item(QString::fromLatin1(name), QString::fromLatin1(name));
    connect(group, &QActionGroup::triggered, this, [this](QAction* action) {
        view_->ChooseScene(action->data().toString());
        CheckCurrentScene();
    });
    menu->setEnabled(view_->Scenes() != nullptr);
}

void CMainFrame::CheckCurrentScene() {
    QString current = view_->Scenes() ? view_->Scenes()->Current() : QString();
    for (QAction* action : sceneActions_) action->setChecked(action->data().toString() == current);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    auto* ready = new QLabel(tr("就绪"));
    bar->addWidget(ready, 1);
    message_ = new CStatusPane(128);
    bar->addPermanentWidget(message_, 4);
    progress_ = new QProgressBar;
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setFixedWidth(progress_->fontMetrics().averageCharWidth() * 32);
    bar->addPermanentWidget(progress_);
}

void CMainFrame::SetMessage(const QString& text) {
    message_->setText(text);
    message_->repaint();  // shown at once, also in the middle of a long command
}

QString CMainFrame::Message() const { return message_->text(); }

void CMainFrame::SetFullScreen(bool fullScreen) {
    if (fullScreen == fullScreen_) return;
    fullScreen_ = fullScreen;
    leaveFullScreenAction_->setEnabled(fullScreen);
    if (fullScreen) {
        savedGeometry_ = saveGeometry();
        statusBarWasVisible_ = statusBar()->isVisible();
        statusBar()->hide();
        menuBar()->hide();
        showFullScreen();
    } else {
        statusBar()->setVisible(statusBarWasVisible_);
        menuBar()->show();
        showNormal();
        restoreGeometry(savedGeometry_);
    }
}

// ---------------------------------------------------------------- recent files

QStringList CMainFrame::RecentFiles() const {
    return QSettings().value(QStringLiteral("RecentFiles")).toStringList();
}

void CMainFrame::AddRecentFile(const QString& path) {
    QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = RecentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > kRecentFiles) files.removeLast();
    QSettings().setValue(QStringLiteral("RecentFiles"), files);
    UpdateRecentMenu();
}

void CMainFrame::UpdateRecentMenu() {
    recentMenu_->clear();
    QStringList files = RecentFiles();
    for (int i = 0; i < files.size(); ++i) {
        QString path = files[i];
        QAction* action = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        connect(action, &QAction::triggered, this, [this, path] { view_->OpenByExtension(path); });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

// ---------------------------------------------------------------- about box

void CMainFrame::ShowAbout() {
    QDialog about(this);
    about.setWindowTitle(tr("关于 Brisel"));
    auto* icon = new QLabel;
    icon->setPixmap(windowIcon().pixmap(64, 64));
    auto* texts = new QVBoxLayout;
    texts->addWidget(new QLabel(tr("Brisel 1.0 版")));
    texts->addWidget(new QLabel(tr("用数学生成图像:像素方程与数学脚本")));
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(tr("确定"), QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(&about);
    layout->addLayout(row);
    layout->addWidget(buttons);
    about.exec();
}

// ================================================================ the application

namespace {

void Identify() {
    QCoreApplication::setOrganizationName(QStringLiteral("应用程序向导生成的本地应用程序"));
    QCoreApplication::setApplicationName(QStringLiteral("Brisel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRISEL_VERSION));
}

// Handles --help and --version (printing and exiting) and gives the positional arguments.
QStringList ParseCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("Brisel", "Brisel:用数学生成图像的查看器"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QCoreApplication::translate("Brisel", "启动后打开的图像文件或数学脚本"),
        QStringLiteral("[FILE]"));
    parser.process(app);
    return parser.positionalArguments();
}

// --help and --version need no display: they are answered before any window system is opened.
bool AsksForTextOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"-h", "--help", "--help-all", "-v", "--version", "-?"})
            if (std::strcmp(argv[i], option) == 0) return true;
    return false;
}

}  // namespace

int RunBrisel(int argc, char** argv, const std::function<void(CMainFrame&)>& afterShow) {
    if (AsksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        Identify();
        InstallTranslation(app, QLocale());
        ParseCommandLine(app);  // exits
        return 0;
    }
    PrependExternDll();
    QApplication app(argc, argv);
    Identify();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/brisel/brisel.png")));
    InstallTranslation(app, QLocale());
    QStringList files = ParseCommandLine(app);

    CMainFrame frame;
    frame.show();
    if (afterShow) afterShow(frame);
    if (!files.isEmpty()) {
        QString path = QFileInfo(files.first()).absoluteFilePath();
        QTimer::singleShot(0, &frame, [&frame, path] { frame.View()->OpenByExtension(path); });
    }
    return app.exec();
}

}  // namespace brisel
