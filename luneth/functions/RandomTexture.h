// The shared random texture: one fixed block of random numbers that texture-sampling built-ins
// read instead of hashing coordinates.
//
//   GetRandomTexture()   the texture, built on the first call (thread-safe, once per process;
//                        the module builds it at start-up)
//   StreamAfterFill()    a stream in the state the fill leaves behind: where every image
//                        object's random stream starts
//
// Layout (all floats in [0, 1) unless stated):
//   values    262144 = 4 planes of 256 x 256, plane k at offset k * 65536, row by row; filled
//             with Rand() * 2^-15 from a stream seeded with 9527 (a stream of its own: the
//             fill never touches a script's random numbers).
//   worley    65536: texel (j, i) owns the point (j + plane1, i + plane2); each entry is the
//             distance from that point to the nearest point of the eight wrapped neighbouring
//             texels (squared distances searched from 2, so at most sqrt 2).
//   worley3   67 x 61 x 59 cells, index x + 67 (y + 61 z); cell k owns the point
//             (x, y, z) + (values[k], values[11k], values[17k]) (indices modulo 262144); each
//             entry is the distance to the nearest point of the 26 wrapped neighbours (squared
//             distances searched from 3, so at most sqrt 3). Periods 67, 61, 59.
//
// Samplers shared by the families that read the texture (every coordinate is wrapped, so any
// float, NaN and infinities included, reads inside the planes):
//   Texel(plane, i, j)       plane value at column i, row j, both wrapped modulo 256
//   TexelAt(plane, cx, cy)   the same for the lattice cell of float coordinates
//   TexLiner2(x, y)          plane 0 between the four wrapped corners of the cell, linear weights
//   TexNoise2(x, y[, k])     the same (of plane k, default 0) with the cubic fade t^2 (3 - 2t)
//   TexFbm2(x, y, n[, k])    tex_noise2 octaves, amplitude halving, rotated by
//                            1.99 (0.8x - 0.6y, 0.6x + 0.8y); normalised by the amplitude sum
//   Cell3(cx, cy, cz)        the wrapped 3-D cell index k
//   CellValue3(k, which)     values[k], values[11k], values[17k], values[23k], ... (modulo
//                            262144): the cell's point offsets (0 .. 2) and three more values
//   Texel3(ix, iy, iz)       the random value of the wrapped 3-D cell (values[k], the first
//                            coordinate of its point)
//   TexLiner3, TexNoise3     Texel3 between the eight corners of the cell, linear / cubic
//   TexFbm3(x, y, z, n)      TexNoise3 octaves, rotated by 1.99 (0.8y + 0.6z,
//                            -0.8x + 0.36y - 0.48z, -0.6x - 0.48y + 0.64z)
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "common/FloatConstants.h"
#include "common/Random.h"

namespace luneth::texture {

constexpr int kSide = 256;
constexpr int kPlaneSize = kSide * kSide;  // 65536
constexpr int kPlaneCount = 4;
constexpr int kValueCount = kPlaneSize * kPlaneCount;  // 262144
constexpr int kPeriodX = 67, kPeriodY = 61, kPeriodZ = 59;
constexpr uint32_t kSeed = 9527;

struct RandomTexture {
    std::vector<float> values;   // kValueCount
    std::vector<float> worley;   // kPlaneSize
    std::vector<float> worley3;  // kPeriodX * kPeriodY * kPeriodZ

    const float* Plane(int k) const { return values.data() + k * kPlaneSize; }
};

RandomTexture BuildRandomTexture();
// A stream in the state the fill leaves behind: where every image object's stream starts.
RandomStream StreamAfterFill();

// Inline, so that every sampler checks the once-only guard in place instead of calling out.
inline const RandomTexture& GetRandomTexture() {
    static const RandomTexture texture = BuildRandomTexture();
    return texture;
}

// floor(v) modulo 256, non-negative. Exact for every float: beyond the int range every float
// is a multiple of 256, so column 0 is the true remainder there; NaN reads column 0 too.
inline int WrapSide(float v) { return TruncateInt(std::floor(v)) & (kSide - 1); }

// floor(v) modulo period, non-negative. Beyond the int range the remainder is taken in float
// (fmod is exact), never by truncating into an int; NaN and infinities give 0.
inline int WrapPeriod(float v, int period) {
    float f = std::floor(v);
    int32_t i = TruncateInt(f);
    if (i == INT32_MIN) {
        f = std::fmod(f, static_cast<float>(period));
        i = f == f ? static_cast<int32_t>(f) : 0;
    }
    int r = i % period;
    return r < 0 ? r + period : r;
}

// The index after i in a cyclic range of the given period.
inline int NextWrapped(int i, int period) { return i + 1 == period ? 0 : i + 1; }

inline float Texel(int plane, int i, int j) {
    return GetRandomTexture().Plane(plane)[(j & (kSide - 1)) * kSide + (i & (kSide - 1))];
}
// The texel of the lattice cell (cx, cy), any float coordinates.
inline float TexelAt(int plane, float cx, float cy) {
    return Texel(plane, WrapSide(cx), WrapSide(cy));
}

// A plane between the corners of the cell of (x, y), with weights fade(fract).
template <class FadeFn>
float TexLattice2(float x, float y, FadeFn fade, int plane = 0) {
    const float* p = GetRandomTexture().Plane(plane);
    float fx = std::floor(x), fy = std::floor(y);
    int i = WrapSide(fx), j = WrapSide(fy);
    int i1 = (i + 1) & (kSide - 1), j1 = (j + 1) & (kSide - 1);
    float sx = fade(x - fx), sy = fade(y - fy);
    float a = p[j * kSide + i], b = p[j * kSide + i1];
    float c = p[j1 * kSide + i], d = p[j1 * kSide + i1];
    float lo = a + (b - a) * sx, hi = c + (d - c) * sx;
    return lo + (hi - lo) * sy;
}

inline float CubicWeight(float t) { return t * t * (3.0f - 2.0f * t); }

inline float TexLiner2(float x, float y) {
    return TexLattice2(x, y, [](float t) { return t; });
}
inline float TexNoise2(float x, float y, int plane = 0) {
    return TexLattice2(x, y, CubicWeight, plane);
}

inline float TexFbm2(float x, float y, int octaves, int plane = 0) {
    float a = 0.5f, sum = 0.0f, asum = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += TexNoise2(x, y, plane) * a;
        asum += a;
        a *= 0.5f;
        float nx = 1.99f * (0.8f * x - 0.6f * y);
        y = 1.99f * (0.6f * x + 0.8f * y);
        x = nx;
    }
    return asum > 0.0f ? sum / asum : 0.0f;
}

inline int Index3(int ix, int iy, int iz) { return ix + kPeriodX * (iy + kPeriodY * iz); }

// The wrapped cell index of the 3-D lattice cell (cx, cy, cz).
inline int Cell3(float cx, float cy, float cz) {
    return Index3(WrapPeriod(cx, kPeriodX), WrapPeriod(cy, kPeriodY), WrapPeriod(cz, kPeriodZ));
}

// Output `which` (0 .. 6) of 3-D cell k: the random value at index k, 11k, 17k, 23k, ... 37k
// (modulo the value count). Outputs 0 to 2 are the offsets of the cell's point in the distance
// table; the others serve as the cell's size, colour and kind.
inline float CellValue3(int k, int which) {
    static constexpr int kStride[7] = {1, 11, 17, 23, 29, 31, 37};
    return GetRandomTexture().values[(k * kStride[which]) & (kValueCount - 1)];
}

inline float Texel3(float ix, float iy, float iz) {
    return GetRandomTexture().values[Cell3(ix, iy, iz)];
}

// The eight corner values of the cell of (x, y, z), wrapped once per axis, blended with
// weights fade(fract).
template <class FadeFn>
float TexLattice3(float x, float y, float z, FadeFn fade) {
    const float* v = GetRandomTexture().values.data();
    float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    int x0 = WrapPeriod(fx, kPeriodX), y0 = WrapPeriod(fy, kPeriodY), z0 = WrapPeriod(fz, kPeriodZ);
    int x1 = NextWrapped(x0, kPeriodX), y1 = NextWrapped(y0, kPeriodY);
    int z1 = NextWrapped(z0, kPeriodZ);
    float sx = fade(x - fx), sy = fade(y - fy), sz = fade(z - fz);
    auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
    auto plane = [&](int cz) {
        return lerp(lerp(v[Index3(x0, y0, cz)], v[Index3(x1, y0, cz)], sx),
                    lerp(v[Index3(x0, y1, cz)], v[Index3(x1, y1, cz)], sx), sy);
    };
    return lerp(plane(z0), plane(z1), sz);
}

inline float TexLiner3(float x, float y, float z) {
    return TexLattice3(x, y, z, [](float t) { return t; });
}
inline float TexNoise3(float x, float y, float z) { return TexLattice3(x, y, z, CubicWeight); }

inline float TexFbm3(float x, float y, float z, int octaves) {
    float a = 0.5f, sum = 0.0f, asum = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += TexNoise3(x, y, z) * a;
        asum += a;
        a *= 0.5f;
        float nx = 1.99f * (0.8f * y + 0.6f * z);
        float ny = 1.99f * (-0.8f * x + 0.36f * y - 0.48f * z);
        z = 1.99f * (-0.6f * x - 0.48f * y + 0.64f * z);
        x = nx, y = ny;
    }
    return asum > 0.0f ? sum / asum : 0.0f;
}

}  // namespace luneth::texture
