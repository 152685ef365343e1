// Float helpers of the pictures that are drawn rather than computed bit by bit: colours in
// [0, 1], smooth edges, hashes and lattice noise.
//
//   SinPi(t)               sin(pi t), a fast polynomial
//   Colour                 r, g, b floats; +, -, * by a float; Mix; Pack gives 0xFFRRGGBB
//   FromHex(0xRRGGBB)      a colour from the usual hexadecimal notation
//   Hue(h)                 a saturated rainbow colour, h in turns (any float, wraps)
//   Clamp01, Fract, Mix, Smoothstep, Band
//   SquareWave, PhaseBlur, Stripes   antialiased stripes of a phase counted in periods
//   BandColour, PaletteBands         bands of a repeating palette along such a phase
//   PixelCentre(x, y)      the centre of pixel (x, y)
//   Centre(x, y, w, h)     the pixel centre relative to the picture centre
//   Polar(p), Rotate       radius and angle (-pi .. pi) of a point; a point turned
//   SegmentDistance        the distance from a point to a segment
//   Ramp(stops, t)         a piecewise-linear colour ramp
//   Mix32, HashCell        integer hashes of a lattice cell with a seed
//   ValueNoise, Fbm        smooth lattice noise from HashCell, in [0, 1]
//
// Everything is safe for any input: NaN and infinities give a colour (Pack clamps, NaN counts
// as 0), never an out-of-range read.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace luneth::picture {

constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 6.28318531f;

// 0 for NaN and below 0, 1 above 1.
inline float Clamp01(float v) { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }
inline float Fract(float v) { return v - std::floor(v); }
inline float Mix(float a, float b, float t) { return a + (b - a) * t; }
inline float Smoothstep(float edge0, float edge1, float v) {
    const float t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}
// 1 inside a band of the given half width around 0, 0 outside, with an edge of about one unit
// of `blur` (a pixel, in the caller's units) to keep lines free of stair steps.
inline float Band(float distance, float halfWidth, float blur = 1.0f) {
    return 1.0f - Smoothstep(halfWidth - 0.5f * blur, halfWidth + 0.5f * blur, std::fabs(distance));
}

struct Colour {
    float r = 0.0f, g = 0.0f, b = 0.0f;
};
inline Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Colour operator-(Colour a, Colour b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Colour operator*(Colour a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline Colour operator*(Colour a, Colour b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Colour Mix(Colour a, Colour b, float t) { return a + (b - a) * t; }

constexpr Colour FromHex(uint32_t rgb) {
    return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
            static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(rgb & 0xFF) / 255.0f};
}

inline uint32_t ChannelByte(float v) { return static_cast<uint32_t>(Clamp01(v) * 255.0f + 0.5f); }
inline uint32_t Pack(Colour c) {
    return 0xFF000000u | ChannelByte(c.r) << 16 | ChannelByte(c.g) << 8 | ChannelByte(c.b);
}

// sin(pi t), from its Taylor series on [-1/2, 1/2] (error below 1e-7)
// after folding t there: cheaper than the library's sine, and the same on every path.
inline float SinPi(float t) {
    if (!(std::fabs(t) < 4194304.0f)) return 0.0f;  // no fraction left to speak of; NaN too
    t -= 2.0f * static_cast<float>(static_cast<int32_t>(t * 0.5f + (t < 0.0f ? -0.5f : 0.5f)));
    if (t > 0.5f) t = 1.0f - t;
    if (t < -0.5f) t = -1.0f - t;
    const float x = kPi * t, x2 = x * x;
    return x * (1.0f +
                x2 * (-1.0f / 6 +
                      x2 * (1.0f / 120 +
                            x2 * (-1.0f / 5040 + x2 * (1.0f / 362880 - x2 * (1.0f / 39916800))))));
}

// Three cosines a third of a turn apart: red at 0, green at 1/3, blue at 2/3.
inline Colour Hue(float turns) {
    const float a = kTwoPi * turns;
    return {0.5f + 0.5f * std::cos(a), 0.5f + 0.5f * std::cos(a - kTwoPi / 3.0f),
            0.5f + 0.5f * std::cos(a - 2.0f * kTwoPi / 3.0f)};
}

struct Point {
    float x = 0.0f, y = 0.0f;
};
inline Point PixelCentre(uint32_t x, uint32_t y) {
    return {static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
}
inline Point Centre(uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
    return {static_cast<float>(x) + 0.5f - 0.5f * static_cast<float>(width),
            static_cast<float>(y) + 0.5f - 0.5f * static_cast<float>(height)};
}
struct PolarPoint {
    float r = 0.0f, angle = 0.0f;
};
inline PolarPoint Polar(Point p) {
    return {std::sqrt(p.x * p.x + p.y * p.y), std::atan2(p.y, p.x)};
}
inline Point Rotate(Point p, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return {c * p.x - s * p.y, s * p.x + c * p.y};
}
// The distance from p to the segment from a to b.
inline float SegmentDistance(Point p, Point a, Point b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float length2 = dx * dx + dy * dy;
    const float t =
        length2 > 0.0f ? Clamp01(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2) : 0.0f;
    const float ex = p.x - a.x - t * dx, ey = p.y - a.y - t * dy;
    return std::sqrt(ex * ex + ey * ey);
}

// Stripes from a phase that counts periods: SquareWave is 1 on the first half of each period
// and 0 on the second, with edges `blur` phase units wide; where a period is finer than about
// two pixels the stripes give way to their average, 0.5, instead of flickering.
inline float SquareWave(float phase, float blur) {
    const float s = Fract(phase);
    const float d = s < 0.5f ? std::fmin(s, 0.5f - s) : -std::fmin(s - 0.5f, 1.0f - s);
    const float sharp = Clamp01(0.5f + d / std::fmax(blur, 1e-6f));
    return Mix(sharp, 0.5f, Smoothstep(0.25f, 0.5f, blur));
}
// How far a periodic phase moves between two neighbouring pixels, the difference taken to the
// nearest whole period so that a jump of whole periods (a branch cut of atan2) counts as none.
inline float PhaseStep(float from, float to) {
    const float d = to - from;
    return std::fabs(d - std::round(d));
}
// The phase's change over one pixel, from its values one pixel right and one pixel down.
template <typename Phase>
float PhaseBlur(const Phase& phase, float x, float y, float here) {
    return PhaseStep(here, phase(x + 1.0f, y)) + PhaseStep(here, phase(x, y + 1.0f));
}
// Antialiased two-tone stripes of phase(x, y).
template <typename Phase>
float Stripes(const Phase& phase, float x, float y) {
    const float here = phase(x, y);
    return SquareWave(here, PhaseBlur(phase, x, y, here));
}

// The colour of band floor(phase) of a repeating palette, shared with its neighbours near the
// band edges over `blur` phase units.
template <size_t N>
Colour BandColour(const Colour (&palette)[N], float phase, float blur) {
    const float k = std::floor(phase), t = phase - k;
    const int64_t i = std::fabs(k) < 1e15f ? static_cast<int64_t>(k) : 0;
    const int64_t n = static_cast<int64_t>(N);
    auto at = [&](int64_t j) { return palette[((j % n) + n) % n]; };
    const float b = std::fmax(blur, 1e-6f);
    const float next = Clamp01(0.5f + (t - 1.0f) / b), previous = Clamp01(0.5f - t / b);
    return at(i) * (1.0f - next - previous) + at(i + 1) * next + at(i - 1) * previous;
}

// Band colours of a phase function, softened by the phase's change over a pixel.
template <size_t N, typename Phase>
uint32_t PaletteBands(const Colour (&palette)[N], const Phase& phase, uint32_t x, uint32_t y) {
    const auto [fx, fy] = PixelCentre(x, y);
    const float here = phase(fx, fy);
    return Pack(BandColour(palette, here, PhaseBlur(phase, fx, fy, here)));
}

// A colour ramp: stops in increasing order of `at`, linear between them, flat beyond the ends.
struct RampStop {
    float at;
    Colour colour;
};
template <size_t N>
Colour Ramp(const RampStop (&stops)[N], float t) {
    if (!(t > stops[0].at)) return stops[0].colour;
    for (size_t i = 1; i < N; ++i)
        if (t < stops[i].at)
            return Mix(stops[i - 1].colour, stops[i].colour,
                       (t - stops[i - 1].at) / (stops[i].at - stops[i - 1].at));
    return stops[N - 1].colour;
}

// A 32-bit mixer: every input bit reaches every output bit (multiply, then fold the high half
// down, twice).
constexpr uint32_t Mix32(uint32_t h) {
    h ^= h >> 16;
    h *= 0xA24BAED5u;
    h ^= h >> 15;
    h *= 0x9FB21C65u;
    h ^= h >> 16;
    return h;
}
constexpr uint32_t HashCell(int64_t x, int64_t y, uint32_t seed) {
    return Mix32(static_cast<uint32_t>(x) * 0x9E3779B9u + static_cast<uint32_t>(y) * 0x85EBCA77u +
                 seed * 0xC2B2AE3Du);
}
inline float HashUnit(int64_t x, int64_t y, uint32_t seed) {
    return static_cast<float>(HashCell(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

// The quintic fade 6t^5 - 15t^4 + 10t^3: no kink in the slope where cells meet.
inline float Fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

// Smooth noise in [0, 1]: hashed values on the integer lattice, faded between the corners.
inline float ValueNoise(float x, float y, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int64_t ix = static_cast<int64_t>(fx), iy = static_cast<int64_t>(fy);
    const float tx = Fade(x - fx), ty = Fade(y - fy);
    const float top = Mix(HashUnit(ix, iy, seed), HashUnit(ix + 1, iy, seed), tx);
    const float bottom = Mix(HashUnit(ix, iy + 1, seed), HashUnit(ix + 1, iy + 1, seed), tx);
    return Mix(top, bottom, ty);
}

// Octaves of ValueNoise, each twice the frequency and half the weight of the one before and
// turned a little so the lattices don't line up; normalised to [0, 1].
inline float Fbm(float x, float y, int octaves, uint32_t seed) {
    float sum = 0.0f, weight = 0.5f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * ValueNoise(x, y, seed + static_cast<uint32_t>(i));
        total += weight;
        const float nx = 1.6f * x - 1.2f * y, ny = 1.2f * x + 1.6f * y;
        x = nx + 17.0f, y = ny + 5.0f;
        weight *= 0.5f;
    }
    return sum / total;
}

}  // namespace luneth::picture
