// KcRectFrameScene: a width x height rectangle seen from the front so that its height fills
// the view, tilted back about the X axis by the wheel (0 to pi/3; X puts it upright again),
// optionally in a frame mesh and under a grid of unit lines.
#include <cmath>
#include <vector>

#include "kiv/messages.h"
#include "tolvan/Module.h"
#include "tolvan/SceneClasses.h"

namespace {

constexpr float kMaxTilt = 1.0471976f;  // pi / 3
constexpr uint32_t kDefaultFrameColours[3] = {0xFFB8FFE8, 0xFFAAAAAA, 0xFF444444};

// Line positions across one side of half-width `half`: 2 trunc(half + 0.49999) half-integers
// (even) or 2 trunc(half) + 1 integers, centred on 0.
std::vector<float> LinePositions(float half, bool even) {
    std::vector<float> at;
    if (even) {
        int pairs = int(half + 0.49999f);
        for (int i = 0; i < pairs; ++i) at.insert(at.end(), {i + 0.5f, -(i + 0.5f)});
    } else {
        int pairs = int(half);
        at.push_back(0.0f);
        for (int i = 1; i <= pairs; ++i) at.insert(at.end(), {float(i), -float(i)});
    }
    return at;
}

}  // namespace

KcRectFrameScene::~KcRectFrameScene() {
    ClearGrid();
    if (frameMesh_ && meshes_) meshes_->ReleaseMesh(frameMesh_);
}

bool KcRectFrameScene::IsKindOf(const char* name) const {
    return KivNameIs(name, "KcRectFrameScene") || KivNameIs(name, "KicRectFrameScene") ||
           KicSceneControl::IsKindOf(name);
}

bool KcRectFrameScene::Init() {
    bool found = FindRender();
    meshes_ = static_cast<KcDxMeshBuilder*>(FindService("KcDxMeshBuilder", 4));
    if (!found || !meshes_) return false;
    if (KivEngineAPI* api = TolvanApi()) LoadSettings(api->GetConfig());
    UpdateWorld();
    Register({{kKivEventApply, 32}, {kKivEventMessage, 4096}});
    return true;
}

void KcRectFrameScene::SetFOV(float radians) {
    fov_ = radians;
    UpdateWorld();
}

void KcRectFrameScene::SetNearFar(float nearZ, float farZ) {
    nearZ_ = nearZ;
    farZ_ = farZ;
    UpdateWorld();
}

void KcRectFrameScene::ResetView() {
    tilt_ = 0;
    UpdateWorld();
}

void KcRectFrameScene::UpdateWorld() {
    world_ = kivmath::MatrixRotationX(tilt_);
    UpdateProjection();
    UpdateView();
}

// The eye backs off so that the tilted rectangle's height fills the field of view.
void KcRectFrameScene::UpdateView() {
    float half = height_ / 2.0f;
    float z = -half / std::tan(fov_ / 2.0f) * std::cos(tilt_) - half * std::sin(tilt_) + zOffset_;
    view_ = kivmath::MatrixLookAtLH({0, 0, z}, {0, 0, 0}, {0, 1, 0});
}

void KcRectFrameScene::SetFrame(float width, float height, bool makeMesh, uint32_t colour1,
                                uint32_t colour2, uint32_t colour3) {
    if (frameMesh_ && meshes_) meshes_->ReleaseMesh(frameMesh_);
    frameMesh_ = nullptr;
    width_ = width;
    height_ = height;
    if (makeMesh && meshes_) {
        uint32_t c[3] = {colour1, colour2, colour3};
        for (int i = 0; i < 3; ++i)
            if (!c[i]) c[i] = kDefaultFrameColours[i];
        frameMesh_ = meshes_->CreateRectFrameMesh(width, height, 1.0f, 1.6f, c[0], c[1], c[2]);
    }
    UpdateWorld();
}

// The contents stand in the frame, centred: their sphere fills its height.
void KcRectFrameScene::FrameContents(const KivVector3& centre, const KivVector3& half) {
    contentsCentre_ = centre;
    SetFrame(2.0f * half.x, 2.0f * Radius(half), false, 0, 0, 0);
}

KivMatrix KcRectFrameScene::ContentsWorld() const {
    return kivmath::MatrixTranslation(-contentsCentre_) * world_;
}

// ---------------------------------------------------------------- grid

void KcRectFrameScene::ClearGrid() {
    if (grid_) grid_->Release();
    grid_ = nullptr;
    gridLines_ = 0;
}

bool KcRectFrameScene::BuildGrid(float z, bool evenX, bool evenY) {
    ClearGrid();
    if (!render_ || !(width_ >= 0.0f) || !(height_ >= 0.0f)) return false;
    const float a = width_ / 2.0f, b = height_ / 2.0f;
    std::vector<float> xs = LinePositions(a, evenX), ys = LinePositions(b, evenY);
    uint32_t lines = uint32_t(xs.size() + ys.size());
    if (lines == 0) return false;  // half-widths below 0.5 on both sides leave no line
    KcVertexBuffer* buffer = render_->CreateVertexBuffer(lines * 2 * 12, D3DUSAGE_WRITEONLY,
                                                         D3DFVF_XYZ, kKivPoolManaged);
    void* data = nullptr;
    if (!buffer || !buffer->Lock(0, 0, &data)) {
        if (buffer) buffer->Release();
        if (KivEngineAPI* api = TolvanApi()) api->LogFormat(4, "Can not Create Vertex Buffer");
        return false;
    }
    float* p = static_cast<float*>(data);
    auto put = [&p](float x, float y, float zz) { *p++ = x, *p++ = y, *p++ = zz; };
    for (float x : xs) put(x, -b, z), put(x, b, z);
    for (float y : ys) put(-a, y, z), put(a, y, z);
    buffer->Unlock();
    grid_ = buffer;
    gridLines_ = lines;
    return true;
}

// ---------------------------------------------------------------- frame and input

void KcRectFrameScene::ApplyContents() {
    render_->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    if (shown_) {
        SelectColourArgument(D3DTA_DIFFUSE);
        if (frameMesh_) frameMesh_->DrawSubset(0);
        if (grid_ && gridColour_) {
            render_->SetRenderState(D3DRS_TEXTUREFACTOR, gridColour_);
            render_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
            render_->SetFVF(D3DFVF_XYZ);
            render_->SetStreamSource(0, grid_, 0, 12);
            render_->DrawPrimitive(D3DPT_LINELIST, 0, gridLines_);
        }
    }
    render_->SetRenderState(D3DRS_ZWRITEENABLE, 1);
}

bool KcRectFrameScene::OnMessage(uint32_t message, uintptr_t wParam, intptr_t) {
    // A resize changes the aspect: without a new projection the picture would stretch.
    if (message == WM_SIZE) UpdateProjection();
    if (disabled_ || !mouse_) return false;
    if (message == WM_KEYDOWN && wParam == 'X') {
        ResetView();
    } else if (message == WM_MOUSEWHEEL) {
        tilt_ -= float(KivSignedHigh(intptr_t(wParam))) * tiltSpeed_;
        tilt_ = tilt_ < 0.0f ? 0.0f : tilt_ > kMaxTilt ? kMaxTilt : tilt_;
        UpdateWorld();
    }
    return false;
}
