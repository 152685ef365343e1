// The viewer drawing on the windowed engine (run under a virtual X server): the picture at
// one-to-one, zoom about the cursor, panning, a channel view, export with F2, a dropped file, and
// a clean shutdown. Pictures are read back from the view's framebuffer.
#include <QMimeData>
#include <QOpenGLWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>

#include "brisel_gl/ShownViewer.h"

using briseltest::kRampScript;
using briseltest::ShownViewer;

TEST(BriselDrawing, ScriptPictureAtOneToOneIsPixelExactInTheCentre) {
    ShownViewer s;
    ASSERT_NE(s.gl, nullptr);
    // The high-density run scales the widgets by QT_SCALE_FACTOR; the picture must not scale.
    int factor = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                     ? qEnvironmentVariableIntValue("QT_SCALE_FACTOR")
                     : 1;
    EXPECT_EQ(s.ratio, double(factor));
    s.Open(s.WriteScript("ramp.txt", kRampScript));
    EXPECT_EQ(s.Grid()->GetScale(), 1.0f);
    QImage shot = s.Grab();
    ASSERT_EQ(shot.width(), int(std::lround(s.view->width() * s.ratio)));
    QPoint origin = s.ImageOrigin();
    EXPECT_NEAR(origin.x() + 32.0, shot.width() / 2.0, 1.0);
    EXPECT_NEAR(origin.y() + 24.0, shot.height() / 2.0, 1.0);
    EXPECT_EQ(s.WrongPixels(0xFFFFFF), 0);
}

TEST(BriselDrawing, WheelZoomsAboutTheCursorAndDragPansByTheDistance) {
    ShownViewer s;
    s.Open(s.WriteScript("ramp.txt", kRampScript));
    QPointF cursor(310, 260);
    float before[2], after[2];
    s.Grid()->ScreenToWorld(float(cursor.x() * s.ratio), float(cursor.y() * s.ratio), &before[0],
                            &before[1]);
    QWheelEvent wheel(cursor, s.view->mapToGlobal(cursor), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(s.view, &wheel);
    EXPECT_FLOAT_EQ(s.Grid()->GetScale(), 1.1f);
    s.Grid()->ScreenToWorld(float(cursor.x() * s.ratio), float(cursor.y() * s.ratio), &after[0],
                            &after[1]);
    EXPECT_NEAR(after[0], before[0], 1e-3);
    EXPECT_NEAR(after[1], before[1], 1e-3);

    s.luneth->ShowOriginalSize();
    QImage first = s.Grab();
    QPoint origin = s.ImageOrigin();
    QPointF from(400, 300), to(437, 279);
    s.Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    s.Mouse(QEvent::MouseMove, to, Qt::LeftButton);
    s.Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    QPoint moved = s.ImageOrigin() - origin;
    QPoint expected((to - from).toPoint() * s.ratio);
    EXPECT_EQ(moved, expected);
    QImage second = s.Grab();
    for (QPoint p : {QPoint(0, 0), QPoint(63, 47), QPoint(20, 30)})
        EXPECT_EQ(second.pixel(origin + expected + p), first.pixel(origin + p));
}

TEST(BriselDrawing, ChannelViewRedShowsOnlyRed) {
    ShownViewer s;
    s.Open(s.WriteScript("ramp.txt", kRampScript));
    QTest::keyClick(s.view, Qt::Key_R);
    EXPECT_EQ(s.luneth->GetImageControl()->GetChannelView(), kKivChannelRed);
    EXPECT_EQ(s.WrongPixels(0xFF0000), 0);
}

TEST(BriselDrawing, F2WritesEveryEquationAndADroppedFileIsOpened) {
    ShownViewer s;
    QString saved = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(s.dir.string()));
    QTest::keyClick(s.frame.get(), Qt::Key_F2);
    QDir::setCurrent(saved);
    QDir images(s.Path("Image"));
    EXPECT_EQ(int(images.entryList(QDir::Files).size()), s.luneth->GetEquationCount());
    EXPECT_TRUE(images.exists("0 Black.png"));
    EXPECT_TRUE(s.frame->Message().startsWith(
        QStringLiteral("已导出%1张图像到").arg(s.luneth->GetEquationCount())));

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(s.WriteScript("dropped.txt", kRampScript))});
    QPoint at(100, 100);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s.view, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s.view, &drop);
    s.view->WaitForComputation();
    EXPECT_EQ(s.luneth->GetImageType(), kImageMathScript);
    EXPECT_TRUE(s.frame->Message().contains("dropped.txt"));
}

TEST(BriselDrawing, EscCancelsARunningComputationAndThePictureStays) {
    ShownViewer s;
    s.Open(s.WriteScript("ramp.txt", kRampScript));
    const QImage before = s.Grab();
    s.panel->Editor()->setPlainText(briseltest::kEndlessScript);
    s.panel->Parse();
    ASSERT_TRUE(s.view->IsComputing());
    QTest::qWait(200);
    EXPECT_EQ(s.Grab(), before);  // frames go on, showing the picture as it was
    QTest::keyClick(s.view, Qt::Key_Escape);
    s.view->WaitForComputation();
    EXPECT_TRUE(s.luneth->WasCancelled());
    EXPECT_TRUE(s.frame->isVisible());  // Esc stopped the computation, not the program
    EXPECT_EQ(s.Grab(), before);
    EXPECT_EQ(s.WrongPixels(0xFFFFFF), 0);
}

TEST(BriselDrawing, ClosingWithAScriptAPictureAndAnEquationLeaksNothing) {
    ShownViewer s;
    s.Open(s.WriteScript("ramp.txt", kRampScript));
    s.Grab();
    s.Open(s.WritePicture("pic.png"));
    s.Grab();
    ASSERT_TRUE(s.luneth->ComputeEquation(2));
    s.view->ShowScriptPanel();
    s.Grab();
    s.panel->Editor()->setPlainText(briseltest::kEndlessScript);
    s.panel->Parse();  // closing cancels it
    s.Close();
    std::string log = s.Log();
    EXPECT_NE(log.find("engine shutdown"), std::string::npos);
    EXPECT_EQ(log.find("Memory leak"), std::string::npos) << log;
    EXPECT_EQ(log.find("not destroyed"), std::string::npos) << log;
}
