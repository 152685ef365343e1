// KcOrthoScene: a 2D view through an orthographic projection orthoX x orthoY world units
// wide and high. The right button pans, the wheel zooms (about the cursor by default), X
// resets to one unit per pixel. A grid of n x n cells whose size is a power of two follows the
// zoom, so its lines stay on world multiples of the cell while the view pans.
#include <algorithm>
#include <cmath>

#include "kiv/messages.h"
#include "tolvan/Module.h"
#include "tolvan/SceneClasses.h"

using kivmath::Cross;
using kivmath::Dot;
using kivmath::Vec3Normalize;

namespace {

constexpr float kMinHeight = 1e-5f, kMaxHeight = 1e5f;
constexpr float kLookDistance = 100.0f;  // the look-at point lies this far ahead of the eye
constexpr uint32_t kGridStride = 16;     // position and colour

struct GridVertex {
    KivVector3 position;
    uint32_t colour;
};
static_assert(sizeof(GridVertex) == kGridStride);

}  // namespace

KcOrthoScene::KcOrthoScene() : gridMatrix_(kivmath::MatrixIdentity()) {
    nearZ_ = 1.0f;
    farZ_ = 50000.0f;
}

KcOrthoScene::~KcOrthoScene() { ClearGrid(); }

bool KcOrthoScene::IsKindOf(const char* name) const {
    return KivNameIs(name, "KcOrthoScene") || KivNameIs(name, "KicOrthoScene") ||
           KicSceneControl::IsKindOf(name);
}

bool KcOrthoScene::Init() { return InitStandard(); }

// ---------------------------------------------------------------- view and projection

void KcOrthoScene::UpdateProjection() {
    projection_ = leftHanded_ ? kivmath::MatrixOrthoLH(orthoX_, orthoY_, nearZ_, farZ_)
                              : kivmath::MatrixOrthoRH(orthoX_, orthoY_, nearZ_, farZ_);
    PlaceGrid();
}

void KcOrthoScene::UpdateView() {
    KivVector3 at = eye_ + look_ * kLookDistance;
    view_ = leftHanded_ ? kivmath::MatrixLookAtLH(eye_, at, up_)
                        : kivmath::MatrixLookAtRH(eye_, at, up_);
    PlaceGrid();
}

void KcOrthoScene::ResetView() {
    eye_ = look_ * (-(nearZ_ + farZ_) / 2.0f);
    UpdateView();
}

void KcOrthoScene::FitToViewport() {
    float width, height;
    if (BackBuffer(&width, &height)) SetOrthoSize(width, height);
}

void KcOrthoScene::SetViewAxes(const KivVector3& look, const KivVector3& up) {
    KivVector3 l = Vec3Normalize(look);
    KivVector3 r = Vec3Normalize(Cross(l, up));
    if (Dot(l, l) == 0.0f || Dot(r, r) == 0.0f) return;  // no look, or up along it
    look_ = l;
    right_ = r;
    up_ = Cross(right_, look_);
    eye_ = look_ * (-(nearZ_ + farZ_) / 2.0f);
    UpdateView();
    if (grid_) FillGrid();
}

void KcOrthoScene::SetEye(const KivVector3& eye) {
    eye_ = eye;
    UpdateView();
}

void KcOrthoScene::SetLeftHanded(bool leftHanded) {
    if (leftHanded == leftHanded_) return;
    leftHanded_ = leftHanded;
    UpdateView();
    UpdateProjection();
}

void KcOrthoScene::SetOrthoHeight(float height) {
    float h = std::clamp(height, kMinHeight, kMaxHeight);
    orthoX_ = orthoX_ * (h / orthoY_);
    orthoY_ = h;
    UpdateProjection();
}

void KcOrthoScene::SetOrthoWidth(float width) { SetOrthoHeight(orthoY_ * width / orthoX_); }

// The eye on the contents' centre, the view as large as their box across the view's axes.
void KcOrthoScene::FrameContents(const KivVector3& centre, const KivVector3& half) {
    auto across = [&half](const KivVector3& axis) {
        return std::fabs(axis.x) * half.x + std::fabs(axis.y) * half.y + std::fabs(axis.z) * half.z;
    };
    float width, height, aspect = BackBuffer(&width, &height) ? width / height : 1.0f;
    float h =
        std::clamp(2.2f * std::max(across(up_), across(right_) / aspect), kMinHeight, kMaxHeight);
    SetOrthoSize(h * aspect, h);
    eye_ = centre - look_ * ((nearZ_ + farZ_) / 2.0f);
    UpdateView();
}

// ---------------------------------------------------------------- grid

bool KcOrthoScene::SetGrid(uint32_t lines, uint32_t colour1, uint32_t colour2) {
    if (colour1) gridColour1_ = colour1;
    if (colour2) gridColour2_ = colour2;
    translucent_ = (gridColour1_ >> 24) < 0xFF || (gridColour2_ >> 24) < 0xFF;
    if (lines == 0) {
        ClearGrid();
        return true;
    }
    if (lines != gridLines_) ClearGrid();
    if (!grid_) {
        uint64_t bytes = (uint64_t(lines) + 1) * 4 * kGridStride;
        grid_ = render_ && bytes <= UINT32_MAX
                    ? render_->CreateVertexBuffer(uint32_t(bytes), D3DUSAGE_WRITEONLY,
                                                  D3DFVF_XYZ | D3DFVF_DIFFUSE, kKivPoolManaged)
                    : nullptr;
        if (!grid_) {
            if (KivEngineAPI* api = TolvanApi()) api->LogFormat(4, "Can not Create Vertex Buffer");
            return false;
        }
    }
    gridLines_ = lines;
    FillGrid();
    PlaceGrid();
    return true;
}

void KcOrthoScene::ClearGrid() {
    if (grid_) grid_->Release();
    grid_ = nullptr;
    gridLines_ = 0;
}

// For each i = 0 .. n, a line along up and one along right, i cells from the grid's corner.
void KcOrthoScene::FillGrid() {
    void* data = nullptr;
    if (!grid_ || !grid_->Lock(0, 0, &data)) return;
    auto* v = static_cast<GridVertex*>(data);
    const float a = float(gridLines_) / 2.0f;
    for (uint32_t i = 0; i <= gridLines_; ++i) {
        const uint32_t colour = i % 2 == 0 ? gridColour1_ : gridColour2_;
        const float k = float(i);
        *v++ = {(up_ + right_) * a - right_ * k, colour};
        *v++ = {(right_ - up_) * a - right_ * k, colour};
        *v++ = {(up_ + right_) * a - up_ * k, colour};
        *v++ = {(up_ - right_) * a - up_ * k, colour};
    }
    grid_->Unlock();
}

// The cell is the power of two that makes the n cells just cover the larger side of the view.
void KcOrthoScene::PlaceGrid() {
    if (!grid_ || gridLines_ == 0) return;
    float c = std::max(orthoX_, orthoY_) / float(gridLines_);
    float cell;
    if (c > 1.0f) {
        cell = 1.0f;
        do {
            cell *= 2.0f;
            c *= 0.5f;
        } while (c > 1.0f);
    } else {
        cell = 2.0f;
        while (c < 1.0f) {
            cell *= 0.5f;
            c *= 2.0f;
        }
    }
    KivVector3 f = eye_ + look_ * kLookDistance;
    float g = std::fmod(Dot(right_, f), cell), h = std::fmod(Dot(up_, f), cell);
    KivVector3 origin = f - right_ * g - up_ * h;
    gridMatrix_ = kivmath::MatrixScaling(cell, cell, cell);
    gridMatrix_.m[3][0] = origin.x, gridMatrix_.m[3][1] = origin.y, gridMatrix_.m[3][2] = origin.z;
    gridCell_ = cell;
}

void KcOrthoScene::ApplyContents() {
    if (!gridShown_ || !grid_) return;
    uint32_t zTest = render_->GetRenderState(D3DRS_ZENABLE);
    uint32_t zWrite = render_->GetRenderState(D3DRS_ZWRITEENABLE);
    if (translucent_) {
        render_->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
        render_->SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    }
    render_->SetRenderState(D3DRS_ZENABLE, 0);
    render_->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    SelectColourArgument(D3DTA_DIFFUSE);
    render_->SetTransform(D3DTS_WORLD, gridMatrix_);
    render_->SetStreamSource(0, grid_, 0, kGridStride);
    render_->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    render_->DrawPrimitive(D3DPT_LINELIST, 0, 2 * gridLines_ + 2);
    render_->SetTransform(D3DTS_WORLD, world_);
    render_->SetRenderState(D3DRS_ZENABLE, zTest);
    render_->SetRenderState(D3DRS_ZWRITEENABLE, zWrite);
    if (translucent_) {
        render_->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
        render_->SetRenderState(D3DRS_ALPHATESTENABLE, 0);
    }
}

// ---------------------------------------------------------------- input

bool KcOrthoScene::Pan(float dx, float dy) {
    float width, height;
    if (!BackBuffer(&width, &height) || (dx == 0.0f && dy == 0.0f)) return false;
    if (dx != 0.0f) eye_ += right_ * (dx * orthoX_ / width);
    if (dy != 0.0f) eye_ += up_ * (dy * orthoY_ / height);
    return true;
}

void KcOrthoScene::Wheel(int delta, int x, int y) {
    const float f = float(delta) * 0.001f + 1.0f;
    const float width = orthoX_ * f, height = orthoY_ * f;
    if (!(height >= kMinHeight && height <= kMaxHeight)) return;
    if (!zoomAtCursor_ || !render_) {
        SetOrthoSize(width, height);
        return;
    }
    // The world point under the cursor comes back under it after the zoom.
    const KivViewport vp = render_->GetViewport();
    const KivMatrix identity = kivmath::MatrixIdentity();
    const KivVector3 cursor{float(x), float(y), 0.0f};
    KivVector3 point = kivmath::Vec3Unproject(cursor, vp, projection_, view_, identity);
    SetOrthoSize(width, height);
    KivVector3 moved = kivmath::Vec3Project(point, vp, projection_, view_, identity);
    Pan(cursor.x - moved.x, cursor.y - moved.y);
    UpdateView();
}

bool KcOrthoScene::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_SIZE) UpdateProjection();
    if (disabled_) return false;
    if (message == WM_KEYDOWN && wParam == 'X') {
        ResetView();
        FitToViewport();
    }
    if (!mouse_) return false;
    if (message == WM_MOUSEWHEEL) {
        Wheel(KivSignedHigh(intptr_t(wParam)), KivSignedLow(lParam), KivSignedHigh(lParam));
    } else if (cursor_.Track(message, lParam) && message == WM_MOUSEMOVE && cursor_.right.down) {
        if (Pan(float(cursor_.x - cursor_.lastX), float(cursor_.y - cursor_.lastY))) UpdateView();
    }
    return false;
}
