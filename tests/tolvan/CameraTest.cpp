// Cameras as plain values: resets, view matrices against independent look-at matrices, the
// moves of each model, the orbit's bounds and pole guard, and degenerate input.
#include <gtest/gtest.h>

#include <cmath>

#include "tolvan/Camera.h"
#include "tolvan/TestTolerance.h"

using kivmath::Cross;
using kivmath::Dot;
using tolvan::CameraNormalize;

namespace {

void ExpectUsable(const KcCameraBase& c) {
    for (const KivVector3& v : {c.position, c.look, c.up, c.right})
        EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
    for (const KivVector3& v : {c.look, c.up, c.right}) EXPECT_NEAR(Dot(v, v), 1.0f, 1e-5f);
    EXPECT_NEAR(Dot(c.look, c.right), 0.0f, 1e-5f);
    EXPECT_NEAR(Dot(c.look, c.up), 0.0f, 1e-5f);
}

void ExpectOrbitInvariant(const KcCameraTarget& c) {
    ExpectVectorNear(c.position, c.target - c.look * c.distance, 4);
}

}  // namespace

TEST(Cameras, ResetsInBothUpModes) {
    struct {
        int yUp;
        bool orbit;
        KivVector3 position, look, up, right;
    } cases[] = {
        {1, false, {0, 1, -5}, {0, 0, 1}, {0, 1, 0}, {1, 0, 0}},
        {0, false, {0, -5, 1}, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
        {1, true, {0, 1, 5}, {0, 0, -1}, {0, 1, 0}, {-1, 0, 0}},
        {0, true, {0, 5, 1}, {0, -1, 0}, {0, 0, 1}, {1, 0, 0}},
    };
    for (const auto& c : cases) {
        KcCameraFly fly;
        KcCameraTarget orbit;
        KcCameraBase& camera = c.orbit ? static_cast<KcCameraBase&>(orbit) : fly;
        camera.MoveForward(3);
        camera.yUp = c.yUp;
        camera.Reset();
        EXPECT_EQ(camera.position, c.position);
        EXPECT_EQ(camera.look, c.look);
        EXPECT_EQ(camera.up, c.up);
        EXPECT_EQ(camera.right, c.right);
        if (c.orbit) {
            EXPECT_EQ(orbit.distance, 5.0f);
        }
    }
    // A new orbit starts from the base reset, looking at its target (0, 1, 0) from 5 away.
    KcCameraTarget fresh;
    EXPECT_EQ(fresh.kind, 3);
    EXPECT_EQ(fresh.position, (KivVector3{0, 1, -5}));
    EXPECT_EQ(fresh.look, (KivVector3{0, 0, 1}));
    EXPECT_EQ(fresh.distance, 5.0f);
    EXPECT_EQ(fresh.minDistance, 0.5f);
    EXPECT_EQ(fresh.maxDistance, 1000.0f);
}

TEST(Cameras, NormalisingLeavesZeroAndUnitVectorsAlone) {
    EXPECT_EQ(CameraNormalize({0, 0, 0}), (KivVector3{0, 0, 0}));
    EXPECT_EQ(CameraNormalize({0, 1, 0}), (KivVector3{0, 1, 0}));
    EXPECT_EQ(CameraNormalize({0.6f, 0.8f, 0}), (KivVector3{0.6f, 0.8f, 0}));
    EXPECT_EQ(CameraNormalize({0, 0, 2}), (KivVector3{0, 0, 1}));
}

// The camera's own view matrix and a look-at from eye to eye + look agree in both hands.
TEST(Cameras, ViewMatricesMatchLookAt) {
    KcCameraFly camera;
    KivMatrix view;
    camera.GetViewMatrix(&view, true);
    KivMatrix expected = kivmath::MatrixIdentity();
    expected.m[3][1] = -1, expected.m[3][2] = 5;
    EXPECT_EQ(view, expected);  // exact for the reset frame
    camera.Yaw(0.7f), camera.Pitch(-0.3f), camera.Roll(0.2f), camera.MoveForward(2.5f);
    for (bool lh : {true, false}) {
        camera.GetViewMatrix(&view, lh);
        KivVector3 at = camera.position + camera.look;
        ExpectMatrixNear(view,
                         lh ? kivmath::MatrixLookAtLH(camera.position, at, camera.up)
                            : kivmath::MatrixLookAtRH(camera.position, at, camera.up),
                         16);
    }
}

TEST(Cameras, FlyingTurnsAboutItsOwnAxes) {
    const float quarter = 1.5707964f;
    KcCameraFly camera;
    camera.Yaw(quarter);  // towards -x: clockwise seen from above in a left-handed world
    ExpectVectorNear(camera.look, {-1, 0, 0}, 4);
    ExpectVectorNear(camera.right, {0, 0, 1}, 4);
    camera.Pitch(quarter);  // up, as the Up arrow does
    ExpectVectorNear(camera.look, {0, 1, 0}, 4);
    camera.Roll(0.4f);
    ExpectUsable(camera);
    KivVector3 p = camera.position;
    camera.MoveUp(2);
    ExpectVectorNear(camera.position, p + camera.up * 2, 4);
}

TEST(Cameras, WalkingStaysOnItsLevel) {
    KcCameraWalk camera;
    camera.SetFrame({1, 2, 3}, {0, -1, 0}, {0, 0, 1});  // straight down
    camera.MoveForward(5);
    camera.MoveForward(-5);
    EXPECT_EQ(camera.position, (KivVector3{1, 2, 3}));
    camera.SetFrame({0, 0, 0}, {0, -1, 1}, {0, 1, 0});  // half down: half the speed
    camera.MoveForward(2);
    ExpectVectorNear(camera.position, {0, 0, 1.4142135f}, 4);
    camera.MoveUp(1);
    EXPECT_EQ(camera.position.y, 1.0f);
    camera.yUp = 0;  // yaw is about world Y in both modes, movement follows the mode
    camera.Yaw(0.5f);
    ExpectUsable(camera);
    float z = camera.position.z;
    camera.MoveUp(1);
    EXPECT_EQ(camera.position.z, z + 1);
}

TEST(Cameras, OrbitZoomStaysWithinItsBounds) {
    KcCameraTarget camera;
    for (float step : {4.0f, 100.0f, -2000.0f, 1e9f, -1e9f}) {
        camera.Zoom(step);
        EXPECT_GE(camera.distance, 0.5f);
        EXPECT_LE(camera.distance, 1000.0f);
        ExpectOrbitInvariant(camera);
    }
    EXPECT_EQ(camera.distance, 1000.0f);
    camera.SetPosition(camera.target + KivVector3{0, 0, -0.1f});  // too close: pushed out
    EXPECT_EQ(camera.distance, 0.5f);
    ExpectOrbitInvariant(camera);
}

TEST(Cameras, OrbitDirectionStopsShortOfThePoles) {
    KcCameraTarget camera;
    camera.Reset();
    KcCameraTarget before = camera;
    camera.SetDirection({0, 1, 0});  // over the pole: ignored
    EXPECT_EQ(camera.look, before.look);
    camera.SetDirection({0, 0.998f, 0.063f});  // just below it: taken, normalised
    float length = std::sqrt(0.998f * 0.998f + 0.063f * 0.063f);
    ExpectVectorNear(camera.look, {0, 0.998f / length, 0.063f / length}, 4);
    ExpectOrbitInvariant(camera);
    ExpectUsable(camera);
    // A pitch that would carry the look over the pole is refused as a whole.
    camera.Reset();
    camera.Pitch(-1.4f);
    KivVector3 look = camera.look;
    camera.Pitch(-0.5f);
    EXPECT_EQ(camera.look, look);
    camera.Pitch(0.5f);
    EXPECT_NE(camera.look, look);
    ExpectUsable(camera);
}

TEST(Cameras, OrbitPansAndTurnsAboutItsTarget) {
    KcCameraTarget camera;
    camera.Reset();
    camera.Pitch(-0.5f);  // looking down at the target
    KivVector3 target = camera.target;
    camera.MoveForward(2);  // level: the height stays
    EXPECT_EQ(camera.target.y, target.y);
    ExpectVectorNear(camera.target - target, KivVector3{camera.look.x, 0, camera.look.z} * 2, 4);
    camera.MoveUp(1.5f);
    EXPECT_EQ(camera.target.y, target.y + 1.5f);
    camera.Yaw(2.0f);
    EXPECT_NEAR(kivmath::Length(camera.target - camera.position), camera.distance, 1e-5f);
    ExpectOrbitInvariant(camera);
    camera.SetTarget({4, 5, 6});
    ExpectOrbitInvariant(camera);
}

TEST(Cameras, SingularViewMatrixUpdatesAxesButNotPosition) {
    KcCameraFly camera;
    KivMatrix m{};  // axes of a turned camera, but no fourth column: singular
    m.m[0][0] = 0, m.m[1][0] = 0, m.m[2][0] = -1;  // right
    m.m[0][1] = 0, m.m[1][1] = 1, m.m[2][1] = 0;   // up
    m.m[0][2] = 2, m.m[1][2] = 0, m.m[2][2] = 0;   // look, not yet unit
    EXPECT_FALSE(camera.SetFromViewMatrix(m));
    EXPECT_EQ(camera.right, (KivVector3{0, 0, -1}));
    EXPECT_EQ(camera.look, (KivVector3{1, 0, 0}));
    EXPECT_EQ(camera.position, (KivVector3{0, 1, -5}));
    m.m[3][3] = 1, m.m[3][0] = 7;  // now invertible: the eye comes from the inverse
    EXPECT_TRUE(camera.SetFromViewMatrix(m));
    ExpectVectorNear(camera.position, {0, 0, 7}, 4);
}

TEST(Cameras, DegenerateInputLeavesAUsableCamera) {
    KcCameraFly fly;
    KcCameraTarget orbit;
    orbit.Reset();
    KcCameraFly flyBefore = fly;
    fly.SetDirection({0, 0, 0});
    fly.SetFrame({1, 1, 1}, {0, 0, 0}, {0, 1, 0});  // a position, but no look
    EXPECT_EQ(fly.look, flyBefore.look);
    fly.SetDirection({0, 1, 0});  // along world up: a right is found elsewhere
    ExpectUsable(fly);
    fly.SetUp(fly.look);  // an up along the look gives no frame
    fly.SetRight({0, 0, 0});
    ExpectUsable(fly);
    EXPECT_FALSE(fly.SetFromViewMatrix(KivMatrix{}));
    ExpectUsable(fly);

    KcCameraTarget orbitBefore = orbit;
    orbit.SetPosition(orbit.target);  // the eye on the target
    orbit.SetDirection({0, 0, 0});
    EXPECT_EQ(orbit.position, orbitBefore.position);
    EXPECT_EQ(orbit.look, orbitBefore.look);
    orbit.SetPosition(orbit.target + KivVector3{0, 3, 0});  // straight above it
    ExpectUsable(orbit);
    ExpectOrbitInvariant(orbit);
    for (int i = 0; i < 40; ++i) orbit.Pitch(0.3f), orbit.Yaw(0.9f);  // past the poles, round
    ExpectUsable(orbit);
    ExpectOrbitInvariant(orbit);
}

TEST(VectorMaths, ProjectionsInversesAndDegenerateLookAts) {
    KivMatrix p = kivmath::MatrixPerspectiveFovLH(1.5707964f, 2, 1, 3);
    EXPECT_NEAR(p.m[1][1], 1.0f, 1e-6f);
    EXPECT_NEAR(p.m[0][0], 0.5f, 1e-6f);
    EXPECT_EQ(p.m[2][2], 1.5f);
    EXPECT_EQ(p.m[3][2], -1.5f);
    EXPECT_EQ(p.m[2][3], 1.0f);
    KivMatrix o = kivmath::MatrixOrthoRH(4, 2, 1, 3);
    EXPECT_EQ(o.m[0][0], 0.5f);
    EXPECT_EQ(o.m[1][1], 1.0f);
    EXPECT_EQ(o.m[2][2], -0.5f);
    EXPECT_EQ(o.m[3][2], -0.5f);
    // A point on the near plane lands at depth 0, on the far plane at 1 (left-handed).
    EXPECT_NEAR(kivmath::Vec3TransformCoord({0, 0, 1}, p).z, 0.0f, 1e-6f);
    EXPECT_NEAR(kivmath::Vec3TransformCoord({0, 0, 3}, p).z, 1.0f, 1e-6f);

    KivMatrix view = kivmath::MatrixLookAtLH({1, 2, -3}, {0, 0, 0}, {0, 1, 0});
    KivMatrix inverse;
    ASSERT_TRUE(kivmath::MatrixInverse(view * p, &inverse));
    ExpectMatrixNear(view * p * inverse, kivmath::MatrixIdentity(), 8);
    EXPECT_FALSE(kivmath::MatrixInverse(KivMatrix{}, &inverse));
    ExpectMatrixNear(kivmath::MatrixRotationAxis({0, 2, 0}, 0.3f), kivmath::MatrixRotationY(0.3f),
                     2);

    KivViewport vp{0, 0, 640, 480, 0, 1};
    KivMatrix world = kivmath::MatrixTranslation(0.5f, 0, 0);
    KivVector3 pixel = kivmath::Vec3Project({0.1f, 0.2f, 0.3f}, vp, p, view, world);
    ExpectVectorNear(kivmath::Vec3Unproject(pixel, vp, p, view, world), {0.1f, 0.2f, 0.3f}, 64);

    // The eye on the target, or an up along the view: still a finite rotation.
    for (const KivMatrix& m : {kivmath::MatrixLookAtLH({1, 1, 1}, {1, 1, 1}, {0, 1, 0}),
                               kivmath::MatrixLookAtRH({0, 0, 0}, {0, 5, 0}, {0, 1, 0})}) {
        ASSERT_TRUE(kivmath::MatrixInverse(m, &inverse));
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(kivmath::Length({m.m[i][0], m.m[i][1], m.m[i][2]}), 1.0f, 1e-6f);
    }
}
