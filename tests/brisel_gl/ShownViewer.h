// The viewer shown on the windowed engine (under a virtual X server), with its pictures read
// back from the view's framebuffer. With BRISEL_TEST_SHOTS naming a directory, every named grab
// is also saved there as NAME.png, to be looked at.
#pragma once

#include <QOpenGLWidget>
#include <QTest>

#include "brisel/BriselSession.h"

namespace briseltest {

// 64 x 48 pixels, every one different from its neighbours.
inline constexpr const char* kRampScript =
    "pixels = width:64 height:48\nx = from 0.0 to 1.0 W\ny = from 0.0 to 1.0 H\n"
    "r = x\ng = y\nb = x * y\n";

class ShownViewer : public BriselSession {
public:
    explicit ShownViewer(const std::string& keys = "Modules=Luneth\n")
        : BriselSession(brisel::CBriselView::Mode::Windowed, keys) {
        frame->resize(900, 700);
        frame->show();
        QApplication::setActiveWindow(frame.get());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        gl = view->findChild<QOpenGLWidget*>();
        ratio = gl ? gl->devicePixelRatioF() : 1.0;
    }
    QImage Grab(const QString& name = {}) {
        QImage shot = gl->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
        QString shots = qEnvironmentVariable("BRISEL_TEST_SHOTS");
        if (!name.isEmpty() && !shots.isEmpty()) shot.save(QDir(shots).filePath(name + ".png"));
        return shot;
    }
    KcGridScene2D* Grid() { return luneth->GetGridScene(); }
    // The current texture's texels, row after row.
    std::vector<uint32_t> Texels(int* width, int* height) {
        std::vector<uint32_t> out;
        KcTexture* t = luneth->GetTexture();
        uint32_t pitch = 0;
        void* bits = nullptr;
        if (!t || !t->Lock(0, &pitch, &bits)) return out;
        *width = int(t->GetWidth()), *height = int(t->GetHeight());
        for (int y = 0; y < *height; ++y)
            for (int x = 0; x < *width; ++x)
                out.push_back(static_cast<uint32_t*>(bits)[size_t(y) * pitch / 4 + size_t(x)]);
        t->Unlock();
        return out;
    }
    // The screen pixel of the image's top left texel.
    QPoint ImageOrigin() {
        KivRect r = luneth->GetImageControl()->GetRect();
        return QPoint(int(std::lround(r.left)), int(std::lround(r.top)));
    }
    // Pixels of the picture on screen that differ from its texels under `mask`.
    int WrongPixels(uint32_t mask) {
        int w = 0, h = 0, wrong = 0;
        std::vector<uint32_t> texels = Texels(&w, &h);
        QImage shot = Grab();
        QPoint origin = ImageOrigin();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                wrong += (shot.pixel(origin.x() + x, origin.y() + y) & 0xFFFFFF) !=
                         (texels[size_t(y * w + x)] & mask);
        return w * h > 0 ? wrong : -1;
    }
    void Mouse(QEvent::Type type, QPointF at, Qt::MouseButtons buttons,
               Qt::MouseButton button = Qt::LeftButton) {
        QMouseEvent event(type, at, view->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }

    QOpenGLWidget* gl = nullptr;
    double ratio = 1.0;
};

}  // namespace briseltest
