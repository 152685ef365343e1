// Float colour and shading helpers for the picture families drawn in float maths (scenes,
// landscapes, raycasters, fractal bodies).
//
//   Rgbf                  a colour of three floats, 1 = full; + - * with colours and scalars
//   Pack(c)               0xFFRRGGBB, each channel clamped to [0, 1] and truncated (NaN -> 0)
//   Mix, Smoothstep, Saturate, Fract   the usual shader helpers, in float
//   Ramp(stops, t)        a palette of evenly spaced stops, t clamped to [0, 1]
//   HashCell, HashUnit    an integer hash of a lattice cell: the same cell, the same number,
//                         on every thread (pictures that scatter things without a random stream)
//   Normalize             a Vec3 of length 1 (or the vector itself when it is 0)
//   PixelPoint            the centre of pixel (x, y) mapped to a plane window
//   CCanvasEquation       an accumulating equation whose cells are finished colours
//
// Pixel coordinates are unsigned and may lie outside the picture; PixelPoint reads them as
// 32-bit signed values, so a pixel far outside maps to a point far outside, never wraps.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "equations/PixelHelpers.h"
#include "functions/VectorMath.h"

namespace luneth {

struct Rgbf {
    float r, g, b;
};

inline Rgbf operator+(Rgbf a, Rgbf b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgbf operator-(Rgbf a, Rgbf b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgbf operator*(Rgbf a, Rgbf b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgbf operator*(Rgbf a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgbf operator*(float s, Rgbf a) { return a * s; }

inline uint32_t Pack(Rgbf c) { return Rgb(WeightByte(c.r), WeightByte(c.g), WeightByte(c.b)); }

inline float Mix(float a, float b, float t) { return a + (b - a) * t; }
inline Rgbf Mix(Rgbf a, Rgbf b, float t) { return a + (b - a) * t; }
inline float Saturate(float x) { return x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x); }
inline float Fract(float x) { return x - std::floor(x); }
inline float Smoothstep(float e0, float e1, float x) {
    const float t = Saturate((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

template <size_t N>
Rgbf Ramp(const std::array<Rgbf, N>& stops, float t) {
    static_assert(N >= 2);
    const float u = Saturate(t) * static_cast<float>(N - 1);
    // NaN takes the first stop's segment: converting it to an index would be undefined.
    const size_t i = u >= static_cast<float>(N - 1) ? N - 2 : u > 0.0f ? static_cast<size_t>(u) : 0;
    return Mix(stops[i], stops[i + 1], u - static_cast<float>(i));
}

inline uint32_t HashCell(int32_t x, int32_t y, uint32_t seed = 0) {
    uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^
                 seed * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    return h ^ (h >> 15);
}
// In [0, 1).
inline float HashUnit(int32_t x, int32_t y, uint32_t seed = 0) {
    return static_cast<float>(HashCell(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

inline Vec3 Normalize(const Vec3& v) {
    const float length = Length(v);
    return length > 0.0f ? v / length : v;
}

// The centre of pixel (x, y) in a window of the plane: `left`, `top` at the picture's corner,
// `scale` plane units a pixel; y grows downwards unless `scale` of y is negative.
inline Vec2 PixelPoint(uint32_t x, uint32_t y, float left, float top, float scaleX, float scaleY) {
    return {left + (static_cast<float>(Signed(x)) + 0.5f) * scaleX,
            top + (static_cast<float>(Signed(y)) + 0.5f) * scaleY};
}

// Equations that paint whole pictures into their working buffer, a finished colour 0xFFRRGGBB
// a cell (never 0, so the finished mark on cell 0 changes nothing).
class CCanvasEquation : public CAccumulatingEquation<uint32_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;

protected:
    uint32_t CellColor(uint32_t cell) const final { return cell; }
};

}  // namespace luneth
