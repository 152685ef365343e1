// The headless services: they keep their state and draw nothing. A windowed mode derives its
// drawing services from these, so the state rules stay in one place.
#pragma once

#include <vector>

#include "EngineObject.h"
#include "RenderRecorder.h"
#include "kiv/services.h"

namespace kivcore {

class CRenderService : public CRenderRecorder {
public:
    static constexpr int kDefaultWidth = 1280;
    static constexpr int kDefaultHeight = 720;
    static constexpr int kMaxSide = 16384;

    CRenderService() : CRenderRecorder(kDefaultWidth, kDefaultHeight) {}

    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcDX9Render", "KicBaseClass"});
    }
    void SetBackgroundColor(uint32_t argb) override { background_ = argb; }
    uint32_t GetBackgroundColor() const override { return background_; }
    int GetSurfaceWidth() const override { return width_; }
    int GetSurfaceHeight() const override { return height_; }
    bool Resize(int width, int height) override;

private:
    uint32_t background_ = 0xFF000000;
    int width_ = kDefaultWidth;
    int height_ = kDefaultHeight;
};

class CFontService : public CServiceObject<KcSimpleDX9Font> {
public:
    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcSimpleDX9Font", "KicBaseClass"});
    }
    bool Prepare() override {
        prepared_ = true;
        return true;
    }
    bool IsPrepared() const override { return prepared_; }
    bool DrawText(float x, float y, const char* text, uint32_t argb, float scale) override;

private:
    bool prepared_ = false;
};

class CPrimitive2DService : public CServiceObject<KcPrimitive2DRender> {
public:
    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcPrimitive2DRender", "KicBaseClass"});
    }
    void DrawLine(float x0, float y0, float x1, float y1, uint32_t argb) override {
        Add(KivPrimitive2D::kLine, x0, y0, x1, y1, argb);
    }
    void DrawRect(float l, float t, float r, float b, uint32_t argb) override {
        Add(KivPrimitive2D::kRect, l, t, r, b, argb);
    }
    void FillRect(float l, float t, float r, float b, uint32_t argb) override {
        Add(KivPrimitive2D::kFilledRect, l, t, r, b, argb);
    }
    uint32_t GetPrimitiveCount() const override { return uint32_t(primitives_.size()); }
    const KivPrimitive2D* GetPrimitives() const override { return primitives_.data(); }
    void BeginFrame() { primitives_.clear(); }

private:
    // A frame never needs more; beyond it the primitives are dropped.
    static constexpr size_t kMaxPrimitives = 1 << 16;
    void Add(KivPrimitive2D::Type type, float x0, float y0, float x1, float y1, uint32_t argb);
    std::vector<KivPrimitive2D> primitives_;
};

}  // namespace kivcore
