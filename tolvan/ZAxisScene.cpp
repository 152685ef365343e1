// KcZAxisScene: an object turned about its pivot in front of a camera on the negative Z axis.
// The arrow keys turn it over time, the middle button turns it by its distance from where it
// went down, a right-button drag rolls it like a trackball; the wheel moves the eye, never
// closer than a tenth of the base distance. X resets the turn and the zoom.
#include <cmath>

#include "kiv/messages.h"
#include "tolvan/Module.h"
#include "tolvan/SceneClasses.h"

namespace {

// The arrows' bits of the held set and the turns they choose.
struct ArrowTurn {
    int key;
    uint32_t bit;
    bool aboutX;
    float sign;
};
constexpr ArrowTurn kArrowTurns[] = {
    {VK_UP, 1, true, 1}, {VK_DOWN, 2, true, -1}, {VK_LEFT, 4, false, 1}, {VK_RIGHT, 8, false, -1}};

uint32_t ArrowBit(uintptr_t key) {
    for (const ArrowTurn& a : kArrowTurns)
        if (uintptr_t(a.key) == key) return a.bit;
    return 0;
}

}  // namespace

KcZAxisScene::KcZAxisScene() { FitBaseDistance(); }

bool KcZAxisScene::IsKindOf(const char* name) const {
    return KivNameIs(name, "KcZAxisScene") || KivNameIs(name, "KicZAxisScene") ||
           KicSceneControl::IsKindOf(name);
}

bool KcZAxisScene::Init() {
    if (!StartScene()) return false;
    world_ = kivmath::MatrixTranslation(-pivot_);
    UpdateProjection();
    UpdateView();
    Register({{kKivEventUpdate, 16}, {kKivEventApply, 16}, {kKivEventMessage, 4096}});
    return true;
}

void KcZAxisScene::FitBaseDistance() { baseDistance_ = size_ * -0.55f / std::tan(fov_ / 2.0f); }

void KcZAxisScene::UpdateView() {
    view_ = kivmath::MatrixLookAtLH({0, 0, baseDistance_ + zoomOffset_}, {0, 0, 0}, {0, 1, 0});
}

bool KcZAxisScene::GetEyePosition(KivVector3* eye) const {
    if (eye) *eye = {0, 0, baseDistance_ + zoomOffset_};
    return true;
}

void KcZAxisScene::SetFOV(float radians) {
    fov_ = radians;
    UpdateProjection();
    FitBaseDistance();
    UpdateView();
}

void KcZAxisScene::SetObjectSize(float size) {
    size_ = size;
    FitBaseDistance();
    UpdateView();
}

void KcZAxisScene::SetObjectWidth(float width) {
    float w, h;
    if (BackBuffer(&w, &h)) SetObjectSize(width * h / w);
}

float KcZAxisScene::GetObjectWidth() const {
    float w, h;
    return BackBuffer(&w, &h) ? size_ * w / h : size_;
}

// The contents turn about their centre and fill the view.
void KcZAxisScene::FrameContents(const KivVector3& centre, const KivVector3& half) {
    pivot_ = centre;
    SetObjectSize(2.0f * Radius(half));
    ResetView();
}

void KcZAxisScene::ResetView() {
    world_ = kivmath::MatrixTranslation(-pivot_);
    zoomOffset_ = 0;
    UpdateView();
}

// ---------------------------------------------------------------- turning

// Puts the pivot back at the origin after the world turned: the object turns about its pivot.
void KcZAxisScene::Recentre() {
    world_.m[3][0] = world_.m[3][1] = world_.m[3][2] = 0.0f;
    KivVector3 p = kivmath::Vec3TransformCoord(pivot_, world_);
    world_.m[3][0] = -p.x, world_.m[3][1] = -p.y, world_.m[3][2] = -p.z;
}

void KcZAxisScene::Turn(const KivMatrix& rotation) {
    world_ = world_ * rotation;
    Recentre();
}

void KcZAxisScene::SetPivot(const KivVector3& pivot) {
    pivot_ = pivot;
    Recentre();
}

void KcZAxisScene::Update(uint32_t elapsedMs) {
    if (disabled_ || !input_) return;
    if (cursor_.middle.down) {
        const float k = rotateSpeed_ * 0.05f;
        if (cursor_.x != cursor_.middle.x)
            Turn(kivmath::MatrixRotationY(float(cursor_.middle.x - cursor_.x) * k));
        if (cursor_.y != cursor_.middle.y)
            Turn(kivmath::MatrixRotationX(float(cursor_.middle.y - cursor_.y) * k));
        return;
    }
    // The last held arrow in the order Up, Down, Left, Right chooses the turn.
    const ArrowTurn* chosen = nullptr;
    for (const ArrowTurn& a : kArrowTurns)
        if (keys_ & a.bit) chosen = &a;
    if (!chosen) return;
    const float angle = chosen->sign * (float(elapsedMs) * rotateSpeed_);
    Turn(chosen->aboutX ? kivmath::MatrixRotationX(angle) : kivmath::MatrixRotationY(angle));
}

bool KcZAxisScene::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_SIZE) UpdateProjection();
    if (disabled_ || !input_) return false;
    if (message == WM_KEYDOWN || message == WM_KEYUP) {
        if (message == WM_KEYDOWN)
            keys_ |= ArrowBit(wParam);
        else
            keys_ &= ~ArrowBit(wParam);
        if (wParam == 'X') ResetView();
    } else if (message == WM_MOUSEWHEEL) {
        zoomOffset_ -= float(KivSignedHigh(intptr_t(wParam))) * zoomSpeed_;
        // The eye stays at least a tenth of the base distance from the object.
        if (zoomOffset_ > -0.9f * baseDistance_) zoomOffset_ = -0.9f * baseDistance_;
        UpdateView();
    } else if (cursor_.Track(message, lParam) && message == WM_MOUSEMOVE && cursor_.right.down) {
        float dx = float(cursor_.x - cursor_.lastX), dy = float(cursor_.y - cursor_.lastY);
        float length = std::sqrt(dx * dx + dy * dy);
        float w, h;
        if (length > 0.0f && BackBuffer(&w, &h))
            Turn(kivmath::MatrixRotationAxis({dy / length, dx / length, 0},
                                             -length * fov_ * 4.0f / h));
    }
    return false;
}
