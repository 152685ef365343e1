// Thresholds and constants shared by the script engine, the built-in functions and the
// equations.
//
// Built-ins meet singular points with fixed values instead of infinities or NaNs: a quantity
// is "zero" when its magnitude is below kEpsilon (2^-23), and a division by such a quantity
// yields +-kBig (the largest float) or 0.
#pragma once

#include <climits>
#include <cstdint>
#include <cstring>

namespace luneth {

constexpr float kEpsilon = 1.1920929e-07f;  // 2^-23, bits 0x34000000
constexpr float kBig = 3.4028235e38f;       // FLT_MAX, bits 0x7F7FFFFF
constexpr float kPi = 3.14159265f;          // the float nearest pi, bits 0x40490FDB
constexpr float kTwoPi = 6.28318531f;

// The float with the given bit pattern and back; used for colour words and exact tests.
inline float FloatFromBits(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}
inline uint32_t BitsFromFloat(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

// Truncation toward zero to a 32-bit integer, defined for every float: NaN and values outside
// the int range give INT32_MIN, exactly what the x86 conversion instruction yields, so logic,
// bit and hash functions behave the same for huge arguments instead of invoking undefined
// behaviour.
inline int32_t TruncateInt(float x) {
    if (!(x > -2147483648.0f && x < 2147483648.0f)) return INT32_MIN;
    return static_cast<int32_t>(x);
}

}  // namespace luneth
