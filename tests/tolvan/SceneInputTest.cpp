// Each scene's own view and input: the orthographic zoom and grid, the frame's tilt and grid,
// the Z-axis turns and zoom, the multiple scene's camera driving, gizmo and target marker.
#include <gtest/gtest.h>

#include <cmath>

#include "tolvan/SceneSession.h"
#include "tolvan/TestTolerance.h"

using tolvantest::SceneSession;

namespace {

// The vertices a recorded draw read from its buffer, as floats.
std::vector<float> DrawnFloats(const KivRenderCall* draw, uint32_t stride) {
    auto* buffer = static_cast<KcVertexBuffer*>(draw->resource);
    void* data = nullptr;
    if (!buffer || !buffer->Lock(0, 0, &data)) return {};
    const float* f = static_cast<const float*>(data);
    std::vector<float> floats(f, f + draw->vertexCount * stride / 4);
    buffer->Unlock();
    return floats;
}

}  // namespace

// ---------------------------------------------------------------- orthographic scene

TEST(OrthoScene, WheelZoomKeepsThePointUnderTheCursorWithinBounds) {
    SceneSession engine;
    auto* scene = engine.Create<KicOrthoScene>("KcOrthoScene");
    scene->FitToViewport();
    EXPECT_EQ(scene->GetOrthoX(), 1280.0f);
    scene->SetEye({30, -20, -100});
    const KivViewport vp = engine.Render()->GetViewport();
    const KivVector3 cursor{100, 200, 0};
    const KivMatrix identity = kivmath::MatrixIdentity();
    KivVector3 point =
        kivmath::Vec3Unproject(cursor, vp, scene->GetProjection(), scene->GetView(), identity);
    engine.Wheel(120, 100, 200);
    EXPECT_FLOAT_EQ(scene->GetOrthoY(), 720.0f * 1.12f);
    KivVector3 back =
        kivmath::Vec3Project(point, vp, scene->GetProjection(), scene->GetView(), identity);
    EXPECT_NEAR(back.x, cursor.x, 1e-2f);
    EXPECT_NEAR(back.y, cursor.y, 1e-2f);

    scene->SetZoomAtCursor(false);
    KivVector3 eye = scene->GetEye();
    engine.Wheel(-120, 100, 200);
    EXPECT_EQ(scene->GetEye(), eye);
    EXPECT_FLOAT_EQ(scene->GetOrthoY(), 720.0f * 1.12f * 0.88f);

    // A zoom that would leave [1e-5, 1e5] is ignored as a whole.
    struct {
        float height;
        int delta;
    } refused[] = {{1.1e-5f, -120}, {9e4f, 120}, {1.0f, -1200}};
    scene->SetZoomAtCursor(true);
    for (const auto& r : refused) {
        scene->SetOrthoSize(r.height * 2, r.height);
        eye = scene->GetEye();
        engine.Wheel(r.delta, 100, 200);
        EXPECT_EQ(scene->GetOrthoY(), r.height);
        EXPECT_EQ(scene->GetOrthoX(), r.height * 2);
        EXPECT_EQ(scene->GetEye(), eye);
    }
    // Right-button drags move the view with the cursor; X fits the viewport again.
    scene->SetOrthoSize(1280, 720);
    eye = scene->GetEye();
    engine.Mouse(WM_RBUTTONDOWN, 10, 10);
    engine.Mouse(WM_MOUSEMOVE, 10, 10);
    engine.Mouse(WM_MOUSEMOVE, 30, 5);
    EXPECT_EQ(scene->GetEye(), (eye + KivVector3{-20, -5, 0}));
    scene->SetOrthoHeight(0.0f);
    EXPECT_EQ(scene->GetOrthoY(), 1e-5f);
    engine.Send(WM_KEYDOWN, 'X');
    EXPECT_EQ(scene->GetOrthoX(), 1280.0f);
    EXPECT_EQ(scene->GetEye(), (KivVector3{0, 0, -25000.5f}));
}

TEST(OrthoScene, GridCellsArePowersOfTwoOnWorldMultiples) {
    SceneSession engine;
    auto* scene = engine.Create<KicOrthoScene>("KcOrthoScene");
    ASSERT_TRUE(scene->SetGrid(8, 0, 0));
    // max(orthoX, orthoY) / n -> cell
    const std::pair<float, float> cells[] = {{1.0f, 2.0f}, {0.99f, 1.0f}, {1.01f, 2.0f},
                                             {5.0f, 8.0f}, {0.3f, 0.5f},  {0.0375f, 0.0625f}};
    for (auto [c, cell] : cells) {
        scene->SetOrthoSize(c * 8, c * 4);
        EXPECT_EQ(scene->GetGridCell(), cell) << c;
        scene->SetOrthoSize(c * 4, c * 8);
        EXPECT_EQ(scene->GetGridCell(), cell) << c;
    }
    scene->SetOrthoSize(16, 9);  // cell 2
    scene->SetEye({3.3f, -1.7f, -100});
    KivMatrix grid = scene->GetGridMatrix();
    EXPECT_EQ(grid.m[0][0], 2.0f);
    EXPECT_NEAR(grid.m[3][0], 2.0f, 1e-6f);
    EXPECT_NEAR(grid.m[3][1], 0.0f, 1e-6f);

    // Apply draws 2n + 2 lines with the grid's matrix, translucent, z restored afterwards.
    engine.Render()->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    engine.Render()->ClearCalls();
    scene->Apply();
    std::vector<std::string> calls = engine.Calls();
    std::vector<std::string> tail(calls.begin() + 10, calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"RS 27 1", "RS 15 1", "RS 7 0", "RS 14 0",
                                              "TSS 0 1 2", "TSS 0 2 0", "TSS 1 1 1", "TSS 0 4 1",
                                              "T 256", "SS 0 0 16", "FVF 66", "DP 2 18", "T 256",
                                              "RS 7 1", "RS 14 0", "RS 27 0", "RS 15 0"}));
    const KivRenderCall* draw = engine.First(KivRenderOp::kDrawPrimitive);
    EXPECT_EQ(engine.Render()->GetCall(18)->matrix, grid);
    ASSERT_EQ(draw->vertexCount, 36u);
    // Vertex i * 4: lines along up at right-coordinate 4 - i, along right at up-coordinate 4 - i;
    // colours alternate from the first.
    std::vector<float> v = DrawnFloats(draw, 16);
    const float first[8] = {-4, 4, 0, 0, -4, -4, 0, 0};
    for (int k : {0, 1, 2, 4, 5, 6}) EXPECT_EQ(v[k], first[k]) << k;
    auto colour = [&](int vertex) {
        return *reinterpret_cast<const uint32_t*>(&v[vertex * 4 + 3]);
    };
    EXPECT_EQ(colour(0), 0xFF0078C8u);
    EXPECT_EQ(colour(4), 0x800078C8u);
    EXPECT_EQ(v[4 * 4 * 8 + 0], 4.0f);  // i = 8: x = -4 + 8 along -right
}

// ---------------------------------------------------------------- rectangle-frame scene

TEST(RectFrameScene, TiltStaysWithinItsRangeAndGridLinesCoverTheFrame) {
    SceneSession engine;
    auto* scene = engine.Create<KicRectFrameScene>("KcRectFrameScene");
    scene->SetFrame(6, 4, true, 0, 0, 0);
    engine.Wheel(-120);
    EXPECT_FLOAT_EQ(scene->GetTilt(), 0.06f);
    for (int i = 0; i < 30; ++i) engine.Wheel(-120);
    EXPECT_EQ(scene->GetTilt(), 1.0471976f);
    engine.Wheel(480);
    EXPECT_FLOAT_EQ(scene->GetTilt(), 1.0471976f - 0.24f);
    for (int i = 0; i < 30; ++i) engine.Wheel(120);
    EXPECT_EQ(scene->GetTilt(), 0.0f);
    engine.Wheel(-600);
    engine.Send(WM_KEYDOWN, 'X');
    EXPECT_EQ(scene->GetTilt(), 0.0f);
    EXPECT_EQ(scene->GetWorld(), kivmath::MatrixIdentity());
    // Upright, the eye backs off until the height fills the view: 2 / tan(pi/8) + 1 away.
    ExpectMatrixNear(scene->GetView(),
                     kivmath::MatrixLookAtLH({0, 0, -2 / std::tan(0.39269908f) - 1}, {}, {0, 1, 0}),
                     4);

    // Lines: integers for an odd count (edges included), half-integers for an even one.
    struct {
        float width, height;
        bool evenX, evenY;
        uint32_t xLines, yLines;
        float outerX;
    } grids[] = {{6, 4, false, false, 7, 5, 3.0f},
                 {6, 4, true, true, 6, 4, 2.5f},
                 {5, 5, false, true, 5, 4, 2.0f}};
    for (const auto& g : grids) {
        scene->SetFrame(g.width, g.height, false, 0, 0, 0);
        ASSERT_TRUE(scene->BuildGrid(0.5f, g.evenX, g.evenY));
        EXPECT_EQ(scene->GetGridLineCount(), g.xLines + g.yLines);
        engine.Render()->ClearCalls();
        scene->Apply();
        const KivRenderCall* draw = engine.First(KivRenderOp::kDrawPrimitive);
        ASSERT_NE(draw, nullptr);
        EXPECT_EQ(draw->b, g.xLines + g.yLines);
        std::vector<float> v = DrawnFloats(draw, 12);
        float outer = 0;
        for (size_t i = 0; i < v.size(); i += 3) {
            EXPECT_EQ(v[i + 2], 0.5f);
            EXPECT_LE(std::fabs(v[i]), g.width / 2);
            EXPECT_LE(std::fabs(v[i + 1]), g.height / 2);
            if (i / 6 < g.xLines) outer = std::max(outer, std::fabs(v[i]));
        }
        EXPECT_EQ(outer, g.outerX);
    }
    EXPECT_EQ(engine.First(KivRenderOp::kDrawMesh), nullptr);  // the last frame had no mesh
}

// ---------------------------------------------------------------- Z-axis scene

TEST(ZAxisScene, ZoomAndTurns) {
    SceneSession engine;
    auto* scene = engine.Create<KicZAxisScene>("KcZAxisScene");
    const float base = scene->GetBaseDistance();
    EXPECT_FLOAT_EQ(base, 10 * -0.55f / std::tan(0.39269908f));
    for (int i = 0; i < 20; ++i) engine.Wheel(-120);  // closer, up to a tenth of the distance
    KivVector3 eye;
    scene->GetEyePosition(&eye);
    EXPECT_NEAR(eye.z, base * 0.1f, 1e-5f);
    for (int i = 0; i < 100; ++i) engine.Wheel(120);  // away without limit
    scene->GetEyePosition(&eye);
    EXPECT_NEAR(eye.z, base * 0.1f - 120.0f, 1e-3f);

    // A horizontal middle-button drag turns about Y once per update, by the press distance.
    engine.Mouse(WM_MBUTTONDOWN, 100, 100);
    engine.Mouse(WM_MOUSEMOVE, 140, 100);
    scene->Update(16);
    const float angle = float(100 - 140) * (0.002f * 0.05f);
    EXPECT_EQ(scene->GetWorld(), kivmath::MatrixRotationY(angle));
    scene->Update(16);
    ExpectMatrixNear(scene->GetWorld(), kivmath::MatrixRotationY(2 * angle), 4);
    engine.Mouse(WM_MBUTTONUP, 140, 100);

    // Arrows: the last held in the order Up, Down, Left, Right; the pivot stays at the origin.
    engine.Send(WM_KEYDOWN, 'X');
    scene->SetPivot({1, 2, 3});
    engine.Send(WM_KEYDOWN, VK_UP);
    engine.Send(WM_KEYDOWN, VK_LEFT);
    scene->Update(500);
    KivMatrix expected = kivmath::MatrixRotationY(500 * 0.002f);
    expected.m[3][0] = -3 * expected.m[2][0] - 1 * expected.m[0][0];
    expected.m[3][1] = -2;
    expected.m[3][2] = -3 * expected.m[2][2] - 1 * expected.m[0][2];
    ExpectMatrixNear(scene->GetWorld(), expected, 4);
    ExpectVectorNear(kivmath::Vec3TransformCoord({1, 2, 3}, scene->GetWorld()), {}, 8);
}

// ---------------------------------------------------------------- multiple-camera scene

TEST(MultipleScene, KeysMouseAndWheelDriveTheCurrentCamera) {
    SceneSession engine;
    auto* scene = engine.Create<KicMultipleScene>("KcMultipleScene");
    auto* orbit = static_cast<KcCameraTarget*>(scene->GetCamera(3));
    EXPECT_EQ(scene->GetCameraKind(), 3);
    // Steps: the orbit's scales with its distance and never falls below 0.005.
    EXPECT_FLOAT_EQ(scene->MoveStep(100), 5 * 100 * 0.001f);
    orbit->Zoom(100);
    EXPECT_EQ(scene->MoveStep(1), 0.005f);
    EXPECT_FLOAT_EQ(scene->MoveStep(1000), 0.5f);
    orbit->Zoom(-4.5f);

    KivVector3 target = orbit->target;
    engine.Send(WM_KEYDOWN, 'W');
    scene->Update(100);
    ExpectVectorNear(orbit->target, target + KivVector3{0, 0, 0.5f}, 4);
    engine.Send(WM_KEYDOWN, 'A', 0, kKivKeyShift);  // Shift held: the keys rest
    scene->Update(100);
    ExpectVectorNear(orbit->target, target + KivVector3{0, 0, 0.5f}, 4);
    engine.Send(WM_KEYUP, 'W');
    engine.Send(WM_KEYUP, VK_SHIFT);
    scene->Update(100);  // A alone: to the left of a camera looking along +z
    ExpectVectorNear(orbit->target, target + KivVector3{-0.5f, 0, 0.5f}, 4);
    engine.Send(WM_KEYUP, 'A');

    engine.Wheel(120);  // 120 x moveSpeed x the step of 1000 ms (the distance)
    EXPECT_FLOAT_EQ(orbit->distance, 5 - 0.6f);

    // Drag mode on: the turn grows with the distance from the press point, per update.
    KcCameraTarget expected = *orbit;
    engine.Mouse(WM_RBUTTONDOWN, 10, 10);
    engine.Mouse(WM_MOUSEMOVE, 30, 10);
    EXPECT_EQ(orbit->look, expected.look);
    scene->Update(16);
    expected.Yaw(float(10 - 30) * 0.002f * 0.01f);
    EXPECT_EQ(orbit->look, expected.look);
    // Drag mode off: each move turns by its own movement.
    scene->SetDragMode(false);
    engine.Mouse(WM_MOUSEMOVE, 25, 14);
    expected.Yaw(float(30 - 25) * 0.002f);
    expected.Pitch(float(10 - 14) * 0.002f);
    EXPECT_EQ(orbit->look, expected.look);
    engine.Mouse(WM_RBUTTONUP, 25, 14);

    // Switching hands the view to the camera being left; X resets the current one.
    scene->Update(0);
    scene->SetCameraKind(1);
    EXPECT_EQ(scene->GetCameraKind(), 1);
    ExpectVectorNear(orbit->position, expected.position, 64);
    KcCameraBase* fly = scene->GetCamera(1);
    engine.Send(WM_KEYDOWN, 'R');
    scene->Update(10);  // flying: twice the time
    EXPECT_FLOAT_EQ(fly->position.y, 1 + 0.02f);
    engine.Send(WM_KEYUP, 'R');
    engine.Send(WM_KEYDOWN, 'X');
    EXPECT_EQ(fly->position, (KivVector3{0, 1, -5}));
    scene->SetYUp(false);
    EXPECT_EQ(orbit->position, (KivVector3{0, 5, 1}));
    EXPECT_EQ(fly->look, (KivVector3{0, 1, 0}));
}

TEST(MultipleScene, GizmoSitsInTheCornerAndTheMarkerOnTheTarget) {
    SceneSession engine;
    auto* scene = engine.Create<KicMultipleScene>("KcMultipleScene");
    for (bool leftHanded : {true, false}) {
        scene->SetLeftHanded(leftHanded);
        scene->SetTarget({1, 2, 3});
        scene->Update(0);
        engine.Render()->ClearCalls();
        scene->Render();
        std::vector<std::string> calls = engine.Calls();
        EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 4),
                  (std::vector<std::string>{"RS 7 0", "RS 14 0", "RS 27 0", "RS 15 0"}));
        // The mesh is drawn at a world translation that projects 60 pixels from the corner.
        uint32_t i = 0;
        while (engine.Render()->GetCall(i)->op != KivRenderOp::kDrawMesh) ++i;
        const KivMatrix& world = engine.Render()->GetCall(i - 1)->matrix;
        KivVector3 at{world.m[3][0], world.m[3][1], world.m[3][2]};
        KivVector3 pixel =
            kivmath::Vec3Project(at, engine.Render()->GetViewport(), scene->GetProjection(),
                                 scene->GetView(), kivmath::MatrixIdentity());
        EXPECT_NEAR(pixel.x, 60.0f, 1e-3f);
        EXPECT_NEAR(pixel.y, 720.0f - 60.0f, 1e-3f);
        EXPECT_GT(pixel.z, 0.0f);
        EXPECT_LT(pixel.z, 1.0f);
        const KivRenderCall* marker = engine.First(KivRenderOp::kDrawPrimitiveUP);
        ASSERT_NE(marker, nullptr);
        EXPECT_EQ(marker->vertexCount, 6u);
        EXPECT_EQ(static_cast<const float*>(marker->data)[0], -0.06f);
        EXPECT_EQ((marker - 7)->matrix, kivmath::MatrixTranslation(1, 2, 3));
    }
    scene->SetCameraKind(2);  // the marker belongs to the orbit
    engine.Render()->ClearCalls();
    scene->Render();
    EXPECT_EQ(engine.First(KivRenderOp::kDrawPrimitiveUP), nullptr);
    EXPECT_NE(engine.First(KivRenderOp::kDrawMesh), nullptr);
}
