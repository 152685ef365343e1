// The 3-D scenes drawn on the windowed engine: the sample surfaces shown as lit meshes in the
// middle of every scene, and the multiple-camera scene's axis gizmo in the lower left corner.
#include <QAction>

#include "SceneChooser.h"
#include "brisel_gl/ShownViewer.h"

using briseltest::ShownViewer;

namespace {

class SceneViewer : public ShownViewer {
public:
    SceneViewer() : ShownViewer("Modules=Luneth,Tolvan\n") {}

    void OpenSample(const char* name) {
        view->OpenByExtension(QStringLiteral(BRISEL_EXAMPLES "/%1.txt").arg(name));
        view->WaitForComputation();
    }
    // Through the View menu, as a user picks it.
    void PickScene(const QString& name) {
        for (QAction* action : frame->SceneActions())
            if (action->data().toString() == name) action->trigger();
    }
    // Pixels of the box (device pixels, corners included) that differ from the background.
    int Drawn(const QImage& shot, QRect box) {
        QRgb background = luneth->GetRender()->GetBackgroundColor() | 0xFF000000u;
        int drawn = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) drawn += shot.pixel(x, y) != background;
        return drawn;
    }
    // A square of side 2 r + 1 about a point.
    static QRect Around(QPoint at, int r) {
        return QRect(at - QPoint(r, r), QSize(2 * r + 1, 2 * r + 1));
    }
};

}  // namespace

TEST(SceneDrawing, EverySceneShowsTheSampleSurfacesInTheMiddle) {
    SceneViewer s;
    for (const char* sample : {"surface_helix", "surface_ribbon"}) {
        s.OpenSample(sample);
        ASSERT_EQ(s.luneth->GetImageType(), kImageMathScript) << sample;
        for (const char* scene : brisel::CSceneChooser::kSceneNames) {
            s.PickScene(scene);
            ASSERT_EQ(s.view->Scenes()->Current(), scene);
            QImage shot = s.Grab(QStringLiteral("%1-%2").arg(sample, scene));
            QPoint centre(shot.width() / 2, shot.height() / 2);
            EXPECT_GT(s.Drawn(shot, SceneViewer::Around(centre, 4)), 60) << sample << " " << scene;
        }
    }
    s.PickScene({});
    EXPECT_TRUE(s.luneth->IsImageViewShown());
}

TEST(SceneDrawing, MultipleSceneShowsTheMeshAndTheAxisGizmo) {
    SceneViewer s;
    s.OpenSample("surface_helix");
    s.PickScene("KcMultipleScene");
    auto* scene = static_cast<KicMultipleScene*>(s.view->Scenes()->Scene());
    ASSERT_NE(scene, nullptr);
    QImage shot = s.Grab();
    int h = shot.height();
    QPoint centre(shot.width() / 2, h / 2);
    EXPECT_EQ(s.Drawn(shot, SceneViewer::Around(centre, 4)), 81);
    // The gizmo's arrows start 60 pixels from the left and bottom edges, and only it is there.
    QRect corner = SceneViewer::Around(QPoint(60, h - 60), 40);
    int gizmo = s.Drawn(shot, corner);
    EXPECT_GT(gizmo, 40);
    scene->SetAxisShown(false);
    EXPECT_EQ(s.Drawn(s.Grab(), corner), 0);
    // Without a surface the middle shows the target marker only, the image view stays aside.
    s.view->Unload();
    EXPECT_GT(s.Drawn(s.Grab(), SceneViewer::Around(centre, 4)), 0);
    scene->SetTargetShown(false);
    EXPECT_EQ(s.Drawn(s.Grab(), SceneViewer::Around(centre, 4)), 0);
    // The font service writes the frame rate in red from (30, 30), "FPS: " first, frame after
    // frame between 3-D draws (the glyphs once drawn stay whole).
    scene->SetFrameRateShown(true);
    scene->SetAxisShown(true);
    for (int frame = 0; frame < 8; ++frame) s.Grab();
    QImage text = s.Grab("frame-rate");
    int red = 0;
    for (int y = 30; y < 50; ++y)
        for (int x = 30; x < 60; ++x)
            red += qRed(text.pixel(x, y)) > 128 && qGreen(text.pixel(x, y)) < 64;
    EXPECT_GT(red, 20);
}

TEST(SceneDrawing, TheViewsKeysAndMouseDriveTheCameraNotThePicture) {
    SceneViewer s;
    s.OpenSample("surface_ribbon");
    s.PickScene("KcMultipleScene");
    auto* scene = static_cast<KicMultipleScene*>(s.view->Scenes()->Scene());
    ASSERT_NE(scene, nullptr);
    auto* orbit = static_cast<KcCameraTarget*>(scene->GetCamera(KcCameraBase::kTarget));
    // Frames a little apart, so that held keys and buttons act over time.
    auto frames = [&s] {
        s.Grab();
        QTest::qWait(40);
        s.Grab();
    };
    float distance = orbit->distance;
    QPointF at(400, 300);
    QWheelEvent wheel(at, s.view->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(s.view, &wheel);
    EXPECT_LT(orbit->distance, distance);
    EXPECT_EQ(s.Grid()->GetScale(), 1.0f);  // the picture's grid did not zoom

    KivVector3 target = scene->GetTarget();
    QTest::keyPress(s.view, Qt::Key_R);  // up; for the picture it would be the red channel
    frames();
    QTest::keyRelease(s.view, Qt::Key_R);
    EXPECT_GT(scene->GetTarget().y, target.y);
    EXPECT_EQ(s.luneth->GetImageControl()->GetChannelView(), kKivChannelNormal);

    KivVector3 look = orbit->look;
    s.Mouse(QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
    s.Mouse(QEvent::MouseMove, at + QPointF(60, 0), Qt::RightButton, Qt::NoButton);
    frames();
    s.Mouse(QEvent::MouseButtonRelease, at + QPointF(60, 0), Qt::NoButton, Qt::RightButton);
    EXPECT_NE(orbit->look, look);
    EXPECT_NEAR(orbit->look.y, look.y, 1e-5f);  // a sideways drag turns about the up axis
}
