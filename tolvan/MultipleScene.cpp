// KcMultipleScene: flying, walking and orbiting cameras driven by keys, mouse and time, with
// an axis gizmo in the lower left corner, a marker at the orbit's target and the frame rate.
//
// Keys act once per update while held (none with Shift, Ctrl or Caps Lock): W/S forward and
// back, A/D sideways, R/F up and down, Q/E and Left/Right turn, Up/Down pitch; X resets the
// current camera. The right button turns the camera: by the cursor's movement (drag mode off)
// or continuously by its distance from where it went down (drag mode on). The wheel zooms.
#include <cstdio>

#include "kiv/messages.h"
#include "tolvan/Module.h"
#include "tolvan/SceneClasses.h"

namespace {

constexpr float kPiOver3 = 1.0471976f;
constexpr float kMinOrbitStep = 0.005f;
constexpr uint32_t kWheelStepTime = 1000;  // the wheel moves by the step of this elapsed time
constexpr float kGizmoDistance = 2.5f;
constexpr float kMarkerSize = 0.06f;

enum class Move { kForward, kRight, kUp, kYaw, kPitch };

// The held keys in the order they act; each key is one bit of the held set, by its index.
struct KeyAction {
    int key;
    Move move;
    float sign;           // of the step
    bool flipsWithHands;  // sideways keys swap direction in a right-handed scene
};
constexpr KeyAction kKeyActions[] = {
    {'W', Move::kForward, 1, false}, {'S', Move::kForward, -1, false},
    {'A', Move::kRight, -1, true},   {'D', Move::kRight, 1, true},
    {'R', Move::kUp, 1, false},      {'F', Move::kUp, -1, false},
    {'Q', Move::kYaw, 1, false},     {'E', Move::kYaw, -1, false},
    {VK_UP, Move::kPitch, 1, false}, {VK_DOWN, Move::kPitch, -1, false},
    {VK_LEFT, Move::kYaw, 1, false}, {VK_RIGHT, Move::kYaw, -1, false},
};

int KeyBit(uintptr_t key) {
    for (size_t i = 0; i < std::size(kKeyActions); ++i)
        if (uintptr_t(kKeyActions[i].key) == key) return int(i);
    return -1;
}

KivPlane Plane(const KivMatrix& m, int column, float sign) {
    KivPlane p{m.m[0][3] + sign * m.m[0][column], m.m[1][3] + sign * m.m[1][column],
               m.m[2][3] + sign * m.m[2][column], m.m[3][3] + sign * m.m[3][column]};
    float length = kivmath::Length({p.a, p.b, p.c});
    if (length > 0.0f) p = {p.a / length, p.b / length, p.c / length, p.d / length};
    return p;
}

}  // namespace

KcMultipleScene::KcMultipleScene() {
    fov_ = kPiOver3;
    nearZ_ = 0.5f;
    farZ_ = 1000.0f;
    fly_.kind = KcCameraBase::kFly;
    walk_.kind = KcCameraBase::kWalk;
}

KcMultipleScene::~KcMultipleScene() {
    if (axisMesh_ && meshes_) meshes_->ReleaseMesh(axisMesh_);
}

bool KcMultipleScene::IsKindOf(const char* name) const {
    return KivNameIs(name, "KcMultipleScene") || KivNameIs(name, "KicMultipleScene") ||
           KicSceneControl::IsKindOf(name);
}

bool KcMultipleScene::Init() {
    bool found = FindRender();
    font_ = static_cast<KcSimpleDX9Font*>(FindService("KcSimpleDX9Font", 2, "KcMultipleScene "));
    meshes_ = static_cast<KcDxMeshBuilder*>(FindService("KcDxMeshBuilder", 4));
    if (!found || !font_ || !meshes_) return false;
    if (KivEngineAPI* api = TolvanApi()) LoadSettings(api->GetConfig());
    world_ = kivmath::MatrixIdentity();
    UpdateProjection();
    axisMesh_ = meshes_->CreateAxisMesh(0.2f, 0.005f, 0.015f, 0);
    UpdateView();
    Register({{kKivEventUpdate, 0},
              {kKivEventApply, 0},
              {kKivEventRender, 0},
              {kKivEventRenderOverlay, -16},
              {kKivEventMessage, 4096}});
    return true;
}

KcCameraBase* KcMultipleScene::GetCamera(int kind) {
    switch (kind) {
        case KcCameraBase::kFly:
            return &fly_;
        case KcCameraBase::kWalk:
            return &walk_;
        case KcCameraBase::kTarget:
            return &target_;
        default:
            return nullptr;
    }
}

// ---------------------------------------------------------------- matrices

void KcMultipleScene::UpdateProjection() {
    float width, height;
    if (!BackBuffer(&width, &height)) return;
    projection_ = leftHanded_
                      ? kivmath::MatrixPerspectiveFovLH(fov_, width / height, nearZ_, farZ_)
                      : kivmath::MatrixPerspectiveFovRH(fov_, width / height, nearZ_, farZ_);
}

void KcMultipleScene::UpdateView() {
    Current()->GetViewMatrix(&view_, leftHanded_);
    KivMatrix m = view_ * projection_;
    frustum_[0] = Plane(m, 0, -1.0f);
    frustum_[1] = Plane(m, 0, 1.0f);
    frustum_[2] = Plane(m, 1, 1.0f);
    frustum_[3] = Plane(m, 1, -1.0f);
    frustum_[4] = Plane(m, 2, -1.0f);
    frustum_[5] = Plane(m, 2, 1.0f);
}

void KcMultipleScene::GetFrustum(KivPlane planes[6]) const {
    for (int i = 0; i < 6; ++i) planes[i] = frustum_[i];
}

// ---------------------------------------------------------------- cameras

void KcMultipleScene::SetCameraKind(int kind) {
    if (kind == cameraKind_ || !GetCamera(kind)) return;
    Current()->SetFromViewMatrix(view_);
    cameraKind_ = kind;
    UpdateView();
}

void KcMultipleScene::SetCameraPosition(const KivVector3& p) {
    cameraPosition_ = p;
    Current()->SetPosition(p);
    UpdateView();
}

void KcMultipleScene::SetYUp(bool yUp) {
    for (KcCameraBase* camera :
         {static_cast<KcCameraBase*>(&fly_), static_cast<KcCameraBase*>(&walk_),
          static_cast<KcCameraBase*>(&target_)}) {
        camera->yUp = yUp ? 1 : 0;
        camera->Reset();
    }
    UpdateView();
}

void KcMultipleScene::SetLeftHanded(bool leftHanded) {
    if (leftHanded == leftHanded_) return;
    leftHanded_ = leftHanded;
    UpdateProjection();
    UpdateView();
}

void KcMultipleScene::SetTarget(const KivVector3& target) {
    target_.SetTarget(target);
    if (cameraKind_ == KcCameraBase::kTarget) UpdateView();
}

float KcMultipleScene::MoveStep(uint32_t t) const {
    switch (cameraKind_) {
        case KcCameraBase::kFly:
            return moveSpeed_ * float(2 * uint64_t(t));
        case KcCameraBase::kWalk:
            return moveSpeed_ * float(t);
        default: {
            float step = target_.distance * float(t) * moveSpeed_;
            return step < kMinOrbitStep ? kMinOrbitStep : step;
        }
    }
}

// ---------------------------------------------------------------- frame

void KcMultipleScene::Update(uint32_t elapsedMs) {
    if (disabled_) return;
    if (input_) {
        if (keyboard_ && !modifiers_) DriveByKeys(elapsedMs);
        if (dragMode_ && cursor_.right.down) {
            KcCameraBase* camera = Current();
            if (cursor_.x != cursor_.right.x)
                camera->Yaw(float(cursor_.right.x - cursor_.x) * mouseSpeed_ * 0.01f);
            if (cursor_.y != cursor_.right.y)
                camera->Pitch(float(cursor_.right.y - cursor_.y) * mouseSpeed_ * 0.01f);
        }
    }
    UpdateView();
}

void KcMultipleScene::DriveByKeys(uint32_t elapsedMs) {
    KcCameraBase* camera = Current();
    const float move = MoveStep(elapsedMs), turn = TurnStep(elapsedMs);
    for (size_t i = 0; i < std::size(kKeyActions); ++i) {
        if (!(keys_ & (1u << i))) continue;
        const KeyAction& k = kKeyActions[i];
        float sign = k.flipsWithHands && !leftHanded_ ? -k.sign : k.sign;
        switch (k.move) {
            case Move::kForward:
                camera->MoveForward(sign * move);
                break;
            case Move::kRight:
                camera->MoveRight(sign * move);
                break;
            case Move::kUp:
                camera->MoveUp(sign * move);
                break;
            case Move::kYaw:
                camera->Yaw(sign * turn);
                break;
            case Move::kPitch:
                camera->Pitch(sign * turn);
                break;
        }
    }
}

void KcMultipleScene::Apply() {
    if (disabled_ || !render_) return;
    ApplyTransforms();
    ApplyStates(leftHanded_ ? D3DCULL_CCW : D3DCULL_CW);
    DrawContents();
}

// The orbit turns about the contents' centre from where it fits them; the flying and walking
// cameras start from that eye too.
void KcMultipleScene::FrameContents(const KivVector3& centre, const KivVector3& half) {
    target_.SetTarget(centre);
    target_.Zoom(target_.distance - FitDistance(Radius(half)));
    fly_.SetFrame(target_.position, target_.look, target_.up);
    walk_.SetFrame(target_.position, target_.look, target_.up);
    UpdateView();
}

void KcMultipleScene::Render() {
    if (disabled_ || !render_) return;
    if (axisShown_ && axisMesh_) DrawAxisGizmo();
    if (targetShown_ && cameraKind_ == KcCameraBase::kTarget) DrawTargetMarker();
}

// The gizmo sits 60 pixels from the left and bottom edges, kGizmoDistance in front of the eye.
void KcMultipleScene::DrawAxisGizmo() {
    KivViewport vp = render_->GetViewport();
    KivMatrix inverse;
    if (vp.width == 0 || vp.height == 0 || !kivmath::MatrixInverse(view_, &inverse)) return;
    const float w = float(vp.width), h = float(vp.height);
    const float x = (120.0f / w - 1.0f) / projection_.m[0][0];
    const float y = -((h - 60.0f) * 2.0f / h - 1.0f) / projection_.m[1][1];
    const float depth = leftHanded_ ? 1.0f : -1.0f;
    auto row = [&inverse](int i) {
        return KivVector3{inverse.m[i][0], inverse.m[i][1], inverse.m[i][2]};
    };
    KivVector3 at = row(3) + (row(0) * x + row(1) * y + row(2) * depth) * kGizmoDistance;

    uint32_t blend = render_->GetRenderState(D3DRS_ALPHABLENDENABLE);
    uint32_t test = render_->GetRenderState(D3DRS_ALPHATESTENABLE);
    render_->SetRenderState(D3DRS_ZENABLE, 0);
    render_->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    render_->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    render_->SetRenderState(D3DRS_ALPHATESTENABLE, 0);
    SelectColourArgument(D3DTA_DIFFUSE);
    render_->SetTransform(D3DTS_WORLD, kivmath::MatrixTranslation(at));
    axisMesh_->DrawSubset(0);
    render_->SetTransform(D3DTS_WORLD, world_);
    render_->SetRenderState(D3DRS_ZENABLE, 1);
    render_->SetRenderState(D3DRS_ZWRITEENABLE, 1);
    render_->SetRenderState(D3DRS_ALPHABLENDENABLE, blend);
    render_->SetRenderState(D3DRS_ALPHATESTENABLE, test);
}

void KcMultipleScene::DrawTargetMarker() {
    const float s = kMarkerSize;
    const float lines[6][3] = {{-s, 0, 0}, {s, 0, 0}, {0, -s, 0}, {0, s, 0}, {0, 0, -s}, {0, 0, s}};
    render_->SetTransform(D3DTS_WORLD, kivmath::MatrixTranslation(target_.target));
    render_->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFFFF0000);
    SelectColourArgument(D3DTA_TFACTOR);
    render_->SetFVF(D3DFVF_XYZ);
    render_->DrawPrimitiveUP(D3DPT_LINELIST, 3, lines, sizeof lines[0]);
    render_->SetTransform(D3DTS_WORLD, world_);
}

void KcMultipleScene::RenderOverlay() {
    if (disabled_ || !render_ || !frameRateShown_) return;
    KivEngineAPI* api = TolvanApi();
    if (!api || !font_) return;
    char text[256];
    std::snprintf(text, sizeof text, "FPS: %2f", double(api->GetFrameRate()));
    font_->DrawText(30, 30, text, 0xFFFF0000, 1.0f);
}

// ---------------------------------------------------------------- input

bool KcMultipleScene::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_SIZE) UpdateProjection();
    if (disabled_ || !input_) return false;
    // Modifiers as the message found them, for the key driving of the next updates.
    if (KivEngineAPI* api = TolvanApi())
        modifiers_ =
            api->IsKeyDown(VK_SHIFT) || api->IsKeyDown(VK_CONTROL) || api->IsKeyDown(VK_CAPITAL);
    if (message == WM_KEYDOWN || message == WM_KEYUP) {
        int bit = KeyBit(wParam);
        if (bit >= 0) {
            if (message == WM_KEYDOWN)
                keys_ |= 1u << bit;
            else
                keys_ &= ~(1u << bit);
        }
        if (message == WM_KEYDOWN && wParam == 'X') ResetView();
        return false;
    }
    OnMouse(message, wParam, lParam);
    return false;
}

void KcMultipleScene::OnMouse(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_MOUSEWHEEL) {
        int delta = KivSignedHigh(intptr_t(wParam));
        Current()->Zoom(float(delta) * moveSpeed_ * MoveStep(kWheelStepTime));
        return;
    }
    if (!cursor_.Track(message, lParam)) return;
    if (message != WM_MOUSEMOVE || dragMode_ || !cursor_.right.down) return;
    KcCameraBase* camera = Current();
    if (cursor_.x != cursor_.lastX) camera->Yaw(float(cursor_.lastX - cursor_.x) * mouseSpeed_);
    if (cursor_.y != cursor_.lastY) camera->Pitch(float(cursor_.lastY - cursor_.y) * mouseSpeed_);
}
