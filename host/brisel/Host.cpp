#include "Host.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QTranslator>

namespace brisel {

namespace {

constexpr const char* kPictureExtensions[] = {"dds", "jpg", "tga", "bmp", "ppm", "png"};

std::function<QString(const FileRequest&)>& Chooser() {
    static std::function<QString(const FileRequest&)> chooser;
    return chooser;
}

}  // namespace

QString FindExtension(const QString& path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        QChar c = path[i];
        if (c == u'.') return path.mid(i + 1);
        if (c == u'/' || c == u'\\') break;
    }
    return {};
}

bool IsPictureExtension(const QString& extension) {
    for (const char* e : kPictureExtensions)
        if (extension.compare(QLatin1String(e), Qt::CaseInsensitive) == 0) return true;
    return false;
}

QString SuggestSaveName(const QString& imageName) { return imageName.section(u'.', 0, 0); }

QString LoadReportText(const QString& name, int width, int height, float costTimeMs) {
    QByteArray utf8 = name.toUtf8();
    if (width != 0 && height != 0)
        return QString::asprintf(qPrintable(QCoreApplication::translate(
                                     "Brisel", "图像\"%s\"加载成功,耗时:%0.3f.纹理大小(%d,%d)")),
                                 utf8.constData(), double(costTimeMs), width, height);
    return QString::asprintf(
        qPrintable(QCoreApplication::translate("Brisel", "图像\"%s\"加载失败,耗时:%0.3f")),
        utf8.constData(), double(costTimeMs));
}

QString ExportFileName(const QString& folder, int index, const QString& name) {
    QString safe = name;
    safe.replace(u'/', u'_');
    return QDir(folder).filePath(QStringLiteral("%1 %2.png").arg(index).arg(safe));
}

QString ChooseFile(const FileRequest& request) {
    QString current = QDir::currentPath();
    QString path;
    if (Chooser())
        path = Chooser()(request);
    else if (request.save)
        path = QFileDialog::getSaveFileName(request.owner, request.caption,
                                            QDir(current).filePath(request.suggestedName),
                                            request.filter);
    else
        path =
            QFileDialog::getOpenFileName(request.owner, request.caption, current, request.filter);
    QDir::setCurrent(current);
    return path;
}

void SetFileChooser(std::function<QString(const FileRequest&)> chooser) {
    Chooser() = std::move(chooser);
}

bool InstallTranslation(QCoreApplication& app, const QLocale& locale) {
    static QTranslator* installed = nullptr;
    if (installed) {
        app.removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (locale.language() == QLocale::Chinese) return false;
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral(":/i18n/brisel_en.qm"))) {
        delete translator;
        return false;
    }
    app.installTranslator(translator);
    installed = translator;
    return true;
}

}  // namespace brisel
