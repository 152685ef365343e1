#include "tolvan/Camera.h"

#include <cmath>
#include <initializer_list>

using kivmath::Cross;
using kivmath::Dot;

namespace tolvan {

KivVector3 CameraNormalize(const KivVector3& v) {
    float l = Dot(v, v);
    if (std::fabs(l) < kCameraEpsilon || std::fabs(l - 1.0f) < kCameraEpsilon) return v;
    return v * (1.0f / std::sqrt(l));
}

KivVector3 CameraRotate(const KivVector3& v, const KivVector3& k, float a) {
    float c = std::cos(a), s = std::sin(a);
    return v * c + k * (Dot(k, v) * (1.0f - c)) - Cross(k, v) * s;
}

namespace {

bool IsZero(const KivVector3& v) { return Dot(v, v) < kCameraEpsilon; }

// The turn about the world Y axis: x' = x cos a + z sin a, z' = -x sin a + z cos a.
KivVector3 TurnAboutY(const KivVector3& v, float c, float s) {
    return {v.x * c + v.z * s, v.y, -v.x * s + v.z * c};
}

}  // namespace

}  // namespace tolvan

using tolvan::CameraNormalize;
using tolvan::CameraRotate;
using tolvan::IsZero;

// ================================================================ base

KcCameraBase::KcCameraBase() { KcCameraBase::Reset(); }

void KcCameraBase::Reset() {
    if (yUp) {
        position = {0, 1, -5}, look = {0, 0, 1}, up = {0, 1, 0}, right = {1, 0, 0};
    } else {
        position = {0, -5, 1}, look = {0, 1, 0}, up = {0, 0, 1}, right = {1, 0, 0};
    }
}

bool KcCameraBase::Reframe(const KivVector3& d, const KivVector3& hint) {
    KivVector3 l = CameraNormalize(d);
    if (IsZero(l)) return false;
    SetAxes(l, hint);
    return true;
}

void KcCameraBase::SetAxes(const KivVector3& l, const KivVector3& hint) {
    KivVector3 r = CameraNormalize(Cross(hint, l));
    // A hint along the look gives no right: try the current up, then the world axes.
    for (const KivVector3& other : {up, WorldUp(), KivVector3{0, 0, 1}, KivVector3{1, 0, 0}}) {
        if (!IsZero(r)) break;
        r = CameraNormalize(Cross(other, l));
    }
    look = l;
    right = r;
    up = CameraNormalize(Cross(look, right));
}

void KcCameraBase::SetFrame(const KivVector3& p, const KivVector3& d, const KivVector3& u) {
    position = p;
    Reframe(d, u);
}

bool KcCameraBase::SetFromViewMatrix(const KivMatrix& m) {
    KivVector3 r = CameraNormalize({m.m[0][0], m.m[1][0], m.m[2][0]});
    KivVector3 u = CameraNormalize({m.m[0][1], m.m[1][1], m.m[2][1]});
    KivVector3 l = CameraNormalize({m.m[0][2], m.m[1][2], m.m[2][2]});
    if (IsZero(r) || IsZero(u) || IsZero(l)) return false;
    right = r, up = u, look = l;
    KivMatrix inverse;
    if (!kivmath::MatrixInverse(m, &inverse)) return false;
    position = {inverse.m[3][0], inverse.m[3][1], inverse.m[3][2]};
    return true;
}

void KcCameraBase::SetPosition(const KivVector3& p) { position = p; }

void KcCameraBase::SetDirection(const KivVector3& d) { Reframe(d, WorldUp()); }

void KcCameraBase::SetUp(const KivVector3& u) {
    KivVector3 r = CameraNormalize(Cross(u, look));
    if (IsZero(r)) return;
    right = r;
    up = CameraNormalize(Cross(look, right));
}

void KcCameraBase::SetRight(const KivVector3& r) {
    KivVector3 u = CameraNormalize(Cross(look, r));
    if (IsZero(u)) return;
    up = u;
    right = CameraNormalize(Cross(up, look));
}

void KcCameraBase::GetViewMatrix(KivMatrix* view, bool leftHanded) const {
    float s = leftHanded ? 1.0f : -1.0f;  // the sign of the right and look columns
    KivMatrix& m = *view;
    m = KivMatrix{};
    m.m[0][0] = right.x * s, m.m[1][0] = right.y * s, m.m[2][0] = right.z * s;
    m.m[0][1] = up.x, m.m[1][1] = up.y, m.m[2][1] = up.z;
    m.m[0][2] = look.x * s, m.m[1][2] = look.y * s, m.m[2][2] = look.z * s;
    m.m[3][0] = -Dot(right, position) * s;
    m.m[3][1] = -Dot(up, position);
    m.m[3][2] = -Dot(look, position) * s;
    m.m[3][3] = 1.0f;
}

// ================================================================ flying

void KcCameraFly::Pitch(float a) {
    look = CameraRotate(look, right, a);
    up = CameraRotate(up, right, a);
}

void KcCameraFly::Yaw(float a) {
    look = CameraRotate(look, up, a);
    right = CameraRotate(right, up, a);
}

void KcCameraFly::Roll(float a) {
    right = CameraRotate(right, look, a);
    up = CameraRotate(up, look, a);
}

// ================================================================ walking

void KcCameraWalk::Walk(const KivVector3& along, float s) {
    position.x += along.x * s;
    if (yUp)
        position.z += along.z * s;
    else
        position.y += along.y * s;
}

void KcCameraWalk::MoveUp(float s) {
    if (yUp)
        position.y += s;
    else
        position.z += s;
}

void KcCameraWalk::Pitch(float a) {
    look = CameraRotate(look, right, a);
    up = CameraRotate(up, right, a);
}

void KcCameraWalk::Yaw(float a) {
    float c = std::cos(a), s = std::sin(a);
    look = tolvan::TurnAboutY(look, c, s);
    right = tolvan::TurnAboutY(right, c, s);
    up = tolvan::TurnAboutY(up, c, s);
}

// ================================================================ orbiting

KcCameraTarget::KcCameraTarget() {
    kind = kTarget;
    look = CameraNormalize(target - position);
    distance = kivmath::Length(target - position);
}

void KcCameraTarget::Reset() {
    if (yUp) {
        position = {0, 1, 5}, look = {0, 0, -1}, up = {0, 1, 0}, right = {-1, 0, 0};
        target = {0, 1, 0};
    } else {
        position = {0, 5, 1}, look = {0, -1, 0}, up = {0, 0, 1}, right = {1, 0, 0};
        target = {0, 0, 1};
    }
    distance = 5.0f;
}

void KcCameraTarget::SetPosition(const KivVector3& p) {
    KivVector3 toTarget = target - p;
    float d = kivmath::Length(toTarget);
    if (d < tolvan::kCameraEpsilon) return;
    position = p;
    distance = d;
    SetAxes({toTarget.x / d, toTarget.y / d, toTarget.z / d}, WorldUp());
    if (distance > maxDistance || distance < minDistance) {
        distance = distance > maxDistance ? maxDistance : minDistance;
        position = target - look * distance;
    }
}

void KcCameraTarget::SetDirection(const KivVector3& d) {
    KivVector3 l = CameraNormalize(d);
    // No flip over the pole; a zero direction is no direction.
    if (Height(l) > 0.999f || Height(l) < -0.999f || IsZero(l)) return;
    look = l;
    position = target - look * distance;
    right = CameraNormalize(Cross(WorldUp(), look));
    up = CameraNormalize(Cross(look, right));
}

void KcCameraTarget::SetTarget(const KivVector3& t) {
    position += t - target;
    target = t;
}

void KcCameraTarget::Pan(const KivVector3& along, float s) {
    KivVector3 step =
        yUp ? KivVector3{along.x * s, 0, along.z * s} : KivVector3{along.x * s, along.y * s, 0};
    target += step;
    position += step;
}

void KcCameraTarget::MoveUp(float s) {
    KivVector3 step = WorldUp() * s;
    target += step;
    position += step;
}

void KcCameraTarget::Zoom(float s) {
    float d = distance - s;
    distance = d < minDistance ? minDistance : d > maxDistance ? maxDistance : d;
    position = target - look * distance;
}

void KcCameraTarget::Pitch(float a) {
    KivVector3 d = CameraRotate(look, right, a);
    // A turn that would carry the look over the pole reverses its level part: refused, or the
    // view would flip upside down in one step.
    KivVector3 level = look - WorldUp() * Height(look), turned = d - WorldUp() * Height(d);
    if (!IsZero(level) && Dot(level, turned) <= 0.0f) return;
    SetDirection(d);
}

void KcCameraTarget::Yaw(float a) {
    float c = std::cos(a), s = std::sin(a);
    KivVector3 d = yUp ? KivVector3{look.x * c - look.z * s, look.y, look.x * s + look.z * c}
                       : KivVector3{look.x * c - look.y * s, look.x * s + look.y * c, look.z};
    SetDirection(d);
}
