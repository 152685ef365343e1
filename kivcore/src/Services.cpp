#include "Services.h"

namespace kivcore {

bool CRenderService::Resize(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
    if (width == width_ && height == height_) return true;
    width_ = width;
    height_ = height;
    ResetViewport(width, height);
    if (CKivEngine* engine = Engine()) engine->OnSurfaceResized();
    return true;
}

void CPrimitive2DService::Add(KivPrimitive2D::Type type, float x0, float y0, float x1, float y1,
                              uint32_t argb) {
    if (primitives_.size() >= kMaxPrimitives) return;
    try {
        primitives_.push_back(KivPrimitive2D{type, x0, y0, x1, y1, argb});
    } catch (const std::bad_alloc&) {
    }
}

}  // namespace kivcore
