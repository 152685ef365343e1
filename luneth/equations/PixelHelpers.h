// Small helpers shared by the equation families: colour packing, safe integer arithmetic and
// the stateless formula equation.
//
// The formulas are written for 32-bit two's complement integers. Sums, differences, products
// and bit operations are done on uint32_t (the same low bits, and no undefined overflow for
// coordinates far outside the picture); remainders and quotients go through Rem and Quot,
// which give 0 for a zero divisor and for INT32_MIN / -1 instead of trapping.
#pragma once

#include <cstdint>

#include "equations/PixelEquation.h"

namespace luneth {

constexpr uint32_t kOpaqueBlack = 0xFF000000u;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;

// 0xFFRRGGBB from the low 8 bits of each channel.
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return kOpaqueBlack | (r & 0xFFu) << 16 | (g & 0xFFu) << 8 | (b & 0xFFu);
}
constexpr uint32_t Grey(uint32_t v) { return Rgb(v, v, v); }

// The two's complement reading of a 32-bit pattern.
constexpr int32_t Signed(uint32_t v) { return static_cast<int32_t>(v); }

// C remainder and quotient (sign of the dividend, truncation toward zero), defined everywhere.
constexpr int32_t Rem(int32_t a, int32_t b) { return (b == 0 || b == -1) ? 0 : a % b; }
constexpr int32_t Quot(int32_t a, int32_t b) {
    if (b == 0) return 0;
    if (b == -1) return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
    return a / b;
}

// The channel byte of a weight w: 0 below 0, 255 above 1, else trunc(w * 255).
inline uint32_t WeightByte(float w) {
    if (!(w >= 0.0f)) return 0;
    if (w > 1.0f) return 255;
    return static_cast<uint32_t>(w * 255.0f);
}

// An equation whose colour is one function of (x, y) alone: no state, no parameters.
template <uint32_t (*Formula)(uint32_t x, uint32_t y)>
class CFormulaEquation final : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;
    uint32_t Pixel(uint32_t x, uint32_t y) const override { return Formula(x, y); }
};

}  // namespace luneth
