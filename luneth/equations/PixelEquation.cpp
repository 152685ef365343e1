#include "equations/PixelEquation.h"

namespace luneth {

// ---- IPixelEquation: the behaviour of an equation without parameters ----

void IPixelEquation::SetParam(uint32_t index, float value) {
    if (index < kEquationParamCount) params[index] = value;
}

const char* IPixelEquation::GetParamName(uint32_t) const { return nullptr; }

void IPixelEquation::GetParamRange(uint32_t, float* min, float* max, float* step) const {
    if (min) *min = -1.0f;
    if (max) *max = 1.0f;
    if (step) *step = 0.001f;
}

void IPixelEquation::ResetParams() {}

void IPixelEquation::Prepare(EquationContext&) {}

void IPixelEquation::ComputeRow(uint32_t, uint32_t, uint32_t, uint32_t*) const {}

// ---- CCatalogueEquation: parameters served from the catalogue row ----

CCatalogueEquation::CCatalogueEquation(const EquationInfo& info) : info_(info) {
    width = info.width;
    height = info.height;
    for (uint32_t i = 0; i < info.ParamCount(); ++i) params[i] = info.params[i].initial;
}

void CCatalogueEquation::SetParam(uint32_t index, float value) {
    if (info_.ParamCount() == 0) {
        IPixelEquation::SetParam(index, value);
        return;
    }
    if (index >= info_.ParamCount()) return;
    params[index] = value;
    ParamsChanged();
}

const char* CCatalogueEquation::GetParamName(uint32_t index) const {
    return index < info_.ParamCount() ? info_.params[index].name : nullptr;
}

void CCatalogueEquation::GetParamRange(uint32_t index, float* min, float* max, float* step) const {
    if (index >= info_.ParamCount()) {
        IPixelEquation::GetParamRange(index, min, max, step);
        return;
    }
    const EquationParam& p = info_.params[index];
    if (min) *min = p.min;
    if (max) *max = p.max;
    if (step) *step = p.step;
}

void CCatalogueEquation::ResetParams() {
    const uint32_t n = info_.ParamCount();
    if (n == 0) return;
    for (uint32_t i = 0; i < n; ++i) {
        if (!info_.params[i].keepOnReset) params[i] = info_.params[i].reset;
    }
    ParamsChanged();
}

// ---- CPixelEquation: independent pixels ----

uint32_t CPixelEquation::GetPixel(uint32_t x, uint32_t y) {
    EquationContext context{BoundRandomStream()};
    Prepare(context);
    return Pixel(x, y);
}

void CPixelEquation::ComputeRow(uint32_t y, uint32_t x0, uint32_t count, uint32_t* out) const {
    for (uint32_t i = 0; i < count; ++i) out[i] = Pixel(x0 + i, y);
}

}  // namespace luneth
