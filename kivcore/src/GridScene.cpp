#include "GridScene.h"

#include <algorithm>
#include <cmath>

#include "Services.h"
#include "kiv/messages.h"

namespace kivcore {

void CGridScene2D::SurfaceSize(float* width, float* height) const {
    CKivEngine* engine = Engine();
    CRenderService* render = engine ? engine->Render() : nullptr;
    *width = float(render ? render->GetSurfaceWidth() : CRenderService::kDefaultWidth);
    *height = float(render ? render->GetSurfaceHeight() : CRenderService::kDefaultHeight);
}

void CGridScene2D::Notify() {
    if (listener_) listener_->OnViewChanged(this);
}

void CGridScene2D::WorldToScreen(float x, float y, float* screenX, float* screenY) const {
    float w, h;
    SurfaceSize(&w, &h);
    if (screenX) *screenX = w * 0.5f + (x - centerX_) * scale_;
    if (screenY) *screenY = h * 0.5f - (y - centerY_) * scale_;
}

void CGridScene2D::ScreenToWorld(float screenX, float screenY, float* x, float* y) const {
    float w, h;
    SurfaceSize(&w, &h);
    if (x) *x = centerX_ + (screenX - w * 0.5f) / scale_;
    if (y) *y = centerY_ - (screenY - h * 0.5f) / scale_;
}

void CGridScene2D::ShowView(float width, float height) {
    if (!(width > 0.0f && height > 0.0f) || !std::isfinite(width) || !std::isfinite(height)) return;
    float w, h;
    SurfaceSize(&w, &h);
    centerX_ = 0.0f;
    centerY_ = 0.0f;
    scale_ = std::clamp(std::min(w / width, h / height), kMinScale, kMaxScale);
    Notify();
}

void CGridScene2D::GetCenter(float* x, float* y) const {
    if (x) *x = centerX_;
    if (y) *y = centerY_;
}

void CGridScene2D::SetCenter(float x, float y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    centerX_ = x;
    centerY_ = y;
    Notify();
}

void CGridScene2D::ZoomAt(float factor, float screenX, float screenY) {
    if (!(factor > 0.0f) || !std::isfinite(factor)) return;
    float beforeX, beforeY;
    ScreenToWorld(screenX, screenY, &beforeX, &beforeY);
    scale_ = std::clamp(scale_ * factor, kMinScale, kMaxScale);
    // Move the centre so the world point under the cursor stays under it.
    float afterX, afterY;
    ScreenToWorld(screenX, screenY, &afterX, &afterY);
    centerX_ += beforeX - afterX;
    centerY_ += beforeY - afterY;
    Notify();
}

bool CGridScene2D::HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    int x = KivSignedLow(lParam), y = KivSignedHigh(lParam);
    switch (message) {
        case WM_LBUTTONDOWN:
            dragging_ = true;
            dragX_ = x, dragY_ = y;
            return false;
        case WM_LBUTTONUP:
            dragging_ = false;
            return false;
        case WM_MOUSEMOVE:
            if (!dragging_ || !(wParam & MK_LBUTTON)) {
                dragging_ = false;
                return false;
            }
            centerX_ -= float(x - dragX_) / scale_;
            centerY_ += float(y - dragY_) / scale_;
            dragX_ = x, dragY_ = y;
            Notify();
            return false;
        case WM_MOUSEWHEEL: {
            int delta = KivSignedHigh(intptr_t(wParam));
            ZoomAt(std::pow(kWheelZoomStep, float(delta) / float(WHEEL_DELTA)), float(x), float(y));
            return false;
        }
        default:
            return false;
    }
}

}  // namespace kivcore
