// Cameras: plain values that turn moves and turns into a view matrix.
//
//   KcCameraBase    a free frame (position, look, up, right); only stores and re-frames
//   KcCameraFly     moves along and turns about its own axes
//   KcCameraWalk    moves on its level, turns about the world's Y axis
//   KcCameraTarget  orbits a target point at a distance in [minDistance, maxDistance]
//
// World up W is +Y when yUp is set, else +Z. Normalising leaves a vector alone when its
// squared length is within 2^-23 of 0 or of 1. Rotating v about a unit axis k by angle a gives
// v cos a + k (k.v)(1 - cos a) - (k x v) sin a (clockwise seen along k, as in a left-handed
// world); rotated vectors are not re-normalised.
//
// Degenerate input never breaks a camera: a zero direction, an up along the look, a view
// matrix without axes, a position on the orbit's target and a pitch that would carry the orbit
// over the pole are refused (or, for the frame's right vector, replaced by the nearest usable
// one), so every camera keeps finite, non-zero axes.
#pragma once

#include "kiv/vecmath.h"

namespace tolvan {

// Squared lengths within this of 0 or 1 count as zero or unit.
constexpr float kCameraEpsilon = 1.1920929e-7f;

KivVector3 CameraNormalize(const KivVector3& v);
KivVector3 CameraRotate(const KivVector3& v, const KivVector3& axis, float angle);

}  // namespace tolvan

class KcCameraBase {
public:
    enum Kind : int { kBase = 0, kFly = 1, kWalk = 2, kTarget = 3 };

    KcCameraBase();
    virtual ~KcCameraBase() = default;

    virtual void SetFrame(const KivVector3& position, const KivVector3& look, const KivVector3& up);
    virtual void Reset();
    // Axes from the first three columns, position from the inverse's fourth row; false (the
    // position kept) for a singular matrix, false with nothing changed for one without axes.
    virtual bool SetFromViewMatrix(const KivMatrix& view);
    virtual void SetPosition(const KivVector3& p);
    virtual void SetDirection(const KivVector3& d);
    virtual void SetUp(const KivVector3& u);
    virtual void SetRight(const KivVector3& r);
    virtual void MoveForward(float distance) { (void)distance; }
    virtual void Zoom(float amount) { MoveForward(amount); }
    virtual void MoveUp(float distance) { (void)distance; }
    virtual void MoveRight(float distance) { (void)distance; }
    virtual void Pitch(float angle) { (void)angle; }
    virtual void Yaw(float angle) { (void)angle; }
    virtual void Roll(float angle) { (void)angle; }

    // Left-handed: columns right, up, look; right-handed: right and look negated.
    void GetViewMatrix(KivMatrix* view, bool leftHanded) const;
    KivVector3 WorldUp() const { return yUp ? KivVector3{0, 1, 0} : KivVector3{0, 0, 1}; }

    int kind = kBase;
    KivVector3 position, look, up, right;
    int yUp = 1;

protected:
    // look = normalise(d), right = normalise(hint x look), up = normalise(look x right); false
    // (nothing changed) for a zero d. When hint lies along d, the current up, then a world axis
    // serves as the hint instead.
    bool Reframe(const KivVector3& d, const KivVector3& hint);
    // The same with a unit look l.
    void SetAxes(const KivVector3& l, const KivVector3& hint);
};

class KcCameraFly : public KcCameraBase {
public:
    void MoveForward(float s) override { position += look * s; }
    void MoveUp(float s) override { position += up * s; }
    void MoveRight(float s) override { position += right * s; }
    void Pitch(float a) override;
    void Yaw(float a) override;
    void Roll(float a) override;
};

class KcCameraWalk : public KcCameraBase {
public:
    void MoveForward(float s) override { Walk(look, s); }
    void MoveUp(float s) override;
    void MoveRight(float s) override { Walk(right, s); }
    void Pitch(float a) override;
    void Yaw(float a) override;

private:
    // Along the level part of `along`, not re-normalised: looking down slows the walk.
    void Walk(const KivVector3& along, float s);
};

class KcCameraTarget : public KcCameraBase {
public:
    KcCameraTarget();

    void Reset() override;
    void SetPosition(const KivVector3& p) override;
    void SetDirection(const KivVector3& d) override;
    void SetUp(const KivVector3&) override {}
    void SetRight(const KivVector3&) override {}
    void MoveForward(float s) override { Pan(look, s); }
    void MoveRight(float s) override { Pan(right, s); }
    void MoveUp(float s) override;
    void Zoom(float s) override;
    void Pitch(float a) override;
    void Yaw(float a) override;
    void Roll(float) override {}
    virtual void SetTarget(const KivVector3& t);

    KivVector3 target{0, 1, 0};
    float distance = 5.0f;
    float minDistance = 0.5f;
    float maxDistance = 1000.0f;

private:
    // Target and position together along the level part of `along`.
    void Pan(const KivVector3& along, float s);
    // The world-up component of a vector.
    float Height(const KivVector3& v) const { return yUp ? v.y : v.z; }
};
