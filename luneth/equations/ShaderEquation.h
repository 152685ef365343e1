// The shader-style equations ("ShaderToy ..."): pictures written like fragment shaders and
// computed on the CPU, one independent call per pixel.
//
// A member is a small struct, its "body":
//     void Setup(const float* params)    everything that depends only on the parameters
//                                        (time, camera, sun direction), once per change
//     vec3 Shade(vec2 fragCoord) const   the colour of a fragment, red green blue nominally
//                                        0 to 1; fragCoord has its origin at the bottom-left
//                                        corner of a fixed 1024 x kResolutionY picture
// and CShaderToyEquation<Body> turns it into an equation: pixel (x, y) is the fragment
// (x, kResolutionY - y), each channel becomes 0 below 0 (and for NaN), 255 above 1, else
// trunc(c * 255), and the pixel is opaque. Bodies get their time through Setup, not through
// a shared variable, so rows can run on any number of threads.
//
// Helpers for bodies (all pure, safe for any float input):
//   ShaderTime(t)           a parameter time fit for our bodies: NaN and infinities read 0,
//                           and times beyond every catalogue range wrap, so huge times still
//                           give a finite, detailed picture
//   Hash(p), Hash2(p)       cell hashes of floor(p) in [0, 1) (one or two values)
//   Noise(p)                value noise of the shared random texture, [0, 1), 2-D and 3-D
//   NoiseD(p)               2-D noise with its gradient: (value, d/dx, d/dy)
//   Fbm(p, octaves)         sum of octaves halving in amplitude, rotated, normalised to [0, 1)
//   Palette(t, a, b, c, d)  the cosine palette a + b cos(2 pi (c t + d))
//   ToneMap(c, exposure)    1 - exp(-exposure c) per channel, then a mild gamma
//   SkyGradient(d, sun ...) a daylight sky: horizon to zenith, a glow round the sun
//   StarField(dir)          sparse stars for a view direction
#pragma once

#include <cstdint>
#include <span>

#include "equations/EquationFamilies.h"
#include "equations/PixelHelpers.h"
#include "equations/ShaderMath.h"
#include "functions/NoiseHash.h"
#include "functions/RandomTexture.h"

namespace luneth::shader {

constexpr float kWidth = 1024.0f;

// ---- the adapter ---------------------------------------------------------------------------

inline uint32_t ShaderPixel(vec3 c) {
    return Rgb(WeightByte(c.x), WeightByte(c.y), WeightByte(c.z));
}

template <class Body, int kResolutionY = 768>
class CShaderToyEquation final : public CPixelEquation {
public:
    explicit CShaderToyEquation(const EquationInfo& info) : CPixelEquation(info) {
        ParamsChanged();
    }
    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float fy = static_cast<float>(kResolutionY) - static_cast<float>(y);
        return ShaderPixel(body_.Shade({static_cast<float>(x), fy}));
    }

protected:
    void ParamsChanged() override { body_.Setup(params); }

private:
    Body body_;
};

// The screen point of a fragment: y from -0.5 (bottom) to 0.5 (top), x scaled alike and
// centred, for a 1024 x height picture.
inline vec2 ScreenPoint(vec2 fragCoord, float height = 768.0f) {
    return vec2{fragCoord.x - 0.5f * kWidth, fragCoord.y - 0.5f * height} / height;
}

// ---- time ----------------------------------------------------------------------------------

// Longer than every "Time" range of the catalogue, so times inside a range are kept as they are.
constexpr float kTimeWrap = 131072.0f;

inline float ShaderTime(float t) {
    if (!std::isfinite(t)) return 0.0f;
    return std::fmod(t, kTimeWrap);
}

// Bodies that need nothing but the time.
struct TimedBody {
    float time = 0.0f;
    void Setup(const float* params) { time = ShaderTime(params[0]); }
};

// ---- hashes and noise ----------------------------------------------------------------------

inline float Hash(float p) { return noise::XorHash::Hash1(std::floor(p)); }
inline float Hash(vec2 p) { return noise::XorHash::Hash2(std::floor(p.x), std::floor(p.y)); }
inline float Hash(vec3 p) {
    return noise::XorHash::Hash3(std::floor(p.x), std::floor(p.y), std::floor(p.z));
}
inline vec2 Hash2(vec2 p) {
    const noise::Float2 h = noise::XorHash::Hash22(std::floor(p.x), std::floor(p.y));
    return {h.x, h.y};
}

// Plane 0 of the shared random texture (built on first use).
inline const float* TexturePlane() {
    static const float* const plane = texture::GetRandomTexture().Plane(0);
    return plane;
}

// The four texels around the cell of p (wrapped), and the cell's fractional position.
struct TexelCell {
    float a, b, c, d;  // (i, j), (i + 1, j), (i, j + 1), (i + 1, j + 1)
    vec2 f;
};
// floor(v) as an integer, and v minus it. Any float is safe: NaN and values beyond the int
// range give some cell and a NaN or meaningless fraction, never an invalid conversion.
[[gnu::always_inline]] inline int FloorCell(float v, float& fraction) {
    int i = TruncateInt(v);
    if (v < static_cast<float>(i) && i != INT32_MIN) --i;
    fraction = v - static_cast<float>(i);
    return i;
}

[[gnu::always_inline]] inline TexelCell TexelCellAt(vec2 p) {
    vec2 f;
    const int ix = FloorCell(p.x, f.x) & 255, iy = FloorCell(p.y, f.y) & 255;
    const int jx = (ix + 1) & 255, jy = ((iy + 1) & 255) << 8;
    const float* t = TexturePlane();
    return {t[(iy << 8) + ix], t[(iy << 8) + jx], t[jy + ix], t[jy + jx], f};
}

// Value noise of the texture with the cubic fade (as tex_noise2).
[[gnu::always_inline]] inline float Noise(vec2 p) {
    const TexelCell c = TexelCellAt(p);
    const vec2 w = c.f * c.f * (3.0f - 2.0f * c.f);
    return mix(mix(c.a, c.b, w.x), mix(c.c, c.d, w.x), w.y);
}

// 3-D value noise from the 2-D texture: plane z of the lattice is the texture moved by
// (37, 17) z texels, so the planes iz and iz + 1 are two lookups. `Sample` reads the texture
// at a texel coordinate (TexNoise2 fades the weights twice).
template <float (*Sample)(float, float)>
float Noise(vec3 p) {
    const vec3 i = floor(p), f = p - i;
    const vec3 w = f * f * (3.0f - 2.0f * f);
    const float u = i.x + 37.0f * i.z + w.x, v = i.y + 17.0f * i.z + w.y;
    return mix(Sample(u, v), Sample(u + 37.0f, v + 17.0f), w.z);
}

// The same with linear weights between texels: plain 3-D value noise, in [0, 1]. The texel
// cells are found in integers (wrapping, so any float is safe).
[[gnu::always_inline]] inline float Noise(vec3 p) {
    vec3 f;
    const uint32_t ix = FloorCell(p.x, f.x), iy = FloorCell(p.y, f.y), iz = FloorCell(p.z, f.z);
    const vec3 w = f * f * (3.0f - 2.0f * f);
    const float* t = TexturePlane();
    auto plane = [&](uint32_t u, uint32_t v) {
        const uint32_t u0 = u & 255, u1 = (u + 1) & 255, v0 = (v & 255) << 8,
                       v1 = ((v + 1) & 255) << 8;
        return mix(mix(t[v0 + u0], t[v0 + u1], w.x), mix(t[v1 + u0], t[v1 + u1], w.x), w.y);
    };
    const uint32_t u = ix + 37 * iz, v = iy + 17 * iz;
    return mix(plane(u, v), plane(u + 37, v + 17), w.z);
}

// Value noise with its gradient: (value, d/dx, d/dy).
[[gnu::always_inline]] inline vec3 NoiseD(vec2 p) {
    const TexelCell c = TexelCellAt(p);
    const vec2 w = c.f * c.f * (3.0f - 2.0f * c.f), dw = 6.0f * c.f * (1.0f - c.f);
    const float k = c.a - c.b - c.c + c.d;
    return {c.a + (c.b - c.a) * w.x + (c.c - c.a) * w.y + k * w.x * w.y,
            dw.x * ((c.b - c.a) + k * w.y), dw.y * ((c.c - c.a) + k * w.x)};
}

// Octaves rotated by about 37 degrees and scaled by 2.03 between them; 0 for no octaves.
inline float Fbm(vec2 p, int octaves) {
    const mat2 m{{1.624f, 1.218f}, {-1.218f, 1.624f}};
    float sum = 0.0f, amp = 0.5f, norm = 0.0f;
    for (int i = 0; i < octaves; ++i, amp *= 0.5f, p = m * p) {
        sum += amp * Noise(p);
        norm += amp;
    }
    return norm > 0.0f ? sum / norm : 0.0f;
}
inline float Fbm(vec3 p, int octaves) {
    const mat3 m{{0.00f, 1.60f, 1.20f}, {-1.60f, 0.72f, -0.96f}, {-1.20f, -0.96f, 1.28f}};
    float sum = 0.0f, amp = 0.5f, norm = 0.0f;
    for (int i = 0; i < octaves; ++i, amp *= 0.5f, p = m * p * 1.015f) {
        sum += amp * Noise(p);
        norm += amp;
    }
    return norm > 0.0f ? sum / norm : 0.0f;
}

// ---- colour --------------------------------------------------------------------------------

inline vec3 Palette(float t, vec3 a, vec3 b, vec3 c, vec3 d) {
    return a + b * cos(kTau * (c * t + d));
}

inline vec3 ToneMap(vec3 c, float exposure = 1.0f) {
    return pow(1.0f - exp(-max(c * exposure, 0.0f)), 1.0f / 1.1f);
}

// The sky towards d: a horizon-to-zenith gradient and a glow around the sun.
vec3 SkyGradient(vec3 d, vec3 sun, vec3 zenith, vec3 horizon, vec3 glow);

// Stars on a grid of view-direction cells: one candidate a cell, most of them dark.
vec3 StarField(vec3 dir, float density = 180.0f);

// ---- the member tables of the theme files (ShaderEquations.cpp joins them) -----------------

std::span<const EquationClass> ShaderExactMembers();    // StarNest, WaterCaustic, NoiseImage
std::span<const EquationClass> ShaderSpaceMembers();    // Star, Mars, Galaxy, Disk
std::span<const EquationClass> ShaderTerrainMembers();  // Ocean, Frozenland, Elevated, Cave ...
std::span<const EquationClass> ShaderSkyMembers();      // Clouds, CloudySunset, Nightfall ...
std::span<const EquationClass> ShaderFireMembers();     // Fire, Hell, Flames, Smoke
std::span<const EquationClass> ShaderPatternMembers();  // Noise, Simplicity, FFT_Domain, Eye

}  // namespace luneth::shader
