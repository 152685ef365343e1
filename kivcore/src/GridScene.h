// CGridScene2D: the 2D world under the image control. World y points up, screen y down; the
// view is a centre (the world point at the surface's centre) and a scale (pixels per world
// unit). The grid lines' colours are kept for the drawing of a windowed mode.
#pragma once

#include "EngineObject.h"
#include "kiv/controls.h"

namespace kivcore {

class CGridScene2D final : public CEngineObject<KcGridScene2D, kKivKindEngineObject> {
public:
    static constexpr float kMinScale = 1.0f / 65536.0f;
    static constexpr float kMaxScale = 65536.0f;
    static constexpr float kWheelZoomStep = 1.1f;  // per notch

    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcGridScene2D", "KicBaseClass"});
    }
    void SetNotification(KicGridScene2DNotification* listener) override { listener_ = listener; }
    uint32_t GetAxisColor() const override { return axisColor_; }
    uint32_t GetMajorColor() const override { return majorColor_; }
    uint32_t GetMinorColor() const override { return minorColor_; }
    void SetAxisColor(uint32_t argb) override { axisColor_ = argb; }
    void SetMajorColor(uint32_t argb) override { majorColor_ = argb; }
    void SetMinorColor(uint32_t argb) override { minorColor_ = argb; }
    void WorldToScreen(float x, float y, float* screenX, float* screenY) const override;
    void ScreenToWorld(float screenX, float screenY, float* x, float* y) const override;
    void ShowView(float width, float height) override;
    float GetScale() const override { return scale_; }
    void GetCenter(float* x, float* y) const override;
    void SetCenter(float x, float y) override;
    void ZoomAt(float factor, float screenX, float screenY) override;

    // Mouse messages forwarded by the engine: left drag pans, the wheel zooms.
    bool HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // The surface changed size: the centre stays, the listener is told.
    void OnSurfaceResized() { Notify(); }

private:
    void SurfaceSize(float* width, float* height) const;
    void Notify();

    KicGridScene2DNotification* listener_ = nullptr;
    uint32_t axisColor_ = 0xFF808080;
    uint32_t majorColor_ = 0xFF404040;
    uint32_t minorColor_ = 0xFF282828;
    float centerX_ = 0.0f;
    float centerY_ = 0.0f;
    float scale_ = 1.0f;
    bool dragging_ = false;
    int dragX_ = 0;
    int dragY_ = 0;
};

}  // namespace kivcore
