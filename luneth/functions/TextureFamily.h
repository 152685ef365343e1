// The texture family's shared pieces: the texture seen as a jittered lattice of cells, window
// searches over such lattices, and the samplers that the terrain generators build on.
//
//   TexCells<N>                  the texture's cells in 2 or 3 dimensions:
//     Key(cell)                  the wrapped cell's index (texel row * 256 + column, or the
//                                3-D cell k of the distance table)
//     Point(key)                 the cell's feature point relative to its corner: (plane 1,
//                                plane 2) of the texel, or the 3-D cell's values k, 11k, 17k;
//                                the points of the texture's distance tables
//     Gap(key)                   that point's distance to the nearest point of the neighbouring
//                                cells (the distance tables), at most sqrt 2 / sqrt 3
//     Extra(key, e)              four more random values of the cell (e = 0 .. 3)
//   ForEachOffset<N>(lo, hi, f)  f(n) for every integer offset n in [lo, hi]^N
//   FindNearestTwo(point, p, lo, hi, s)
//                                squared distances to the nearest and second-nearest feature
//                                points of the cells at offsets [lo, hi]^N from p's cell (both
//                                at most s), and the nearest point's cell; point(cell) gives a
//                                cell's point relative to its corner
//   TexPoint(cell)               TexCells<N>::Point of the cell with that corner
//   TexValueNoise2/3(p)          tex_value_noise2/3: tex_noise2/3 mapped to [-1, 1]
//   TexValueD2/3(p, &gradient)   value noise over plane 0 (the 3-D cell values) with the
//                                quintic fade, in [0, 1), and its gradient
//   TexCraterField(p)            one octave of tex_craters2d/3d, in [-1, 0.3]
//   TexSpheres(p, size, shape)   tex_sphere_worley2d/3d, in [0, 1]
//   ColourWord(r, g, b)          a colour word: channels clamped and truncated to bytes,
//                                alpha 0xFE
#pragma once

#include <cmath>
#include <cstdint>

#include "common/ColorWord.h"
#include "common/FloatConstants.h"
#include "functions/NoiseHash.h"
#include "functions/RandomTexture.h"
#include "functions/VectorMath.h"

namespace luneth::texture {

using noise::Float2;
using noise::Float3;

template <int N>
struct TexCells;

template <>
struct TexCells<2> {
    static int Key(const Vec2& c) { return WrapSide(c[1]) * kSide + WrapSide(c[0]); }
    static Vec2 Point(int key) {
        const RandomTexture& t = GetRandomTexture();
        return {t.Plane(1)[key], t.Plane(2)[key]};
    }
    static float Gap(int key) { return GetRandomTexture().worley[key]; }
    // Planes 3 and 0 of the texel, then of the texel half the texture away.
    static float Extra(int key, int e) {
        return GetRandomTexture().Plane(e & 1 ? 0 : 3)[e & 2 ? key ^ 0x8080 : key];
    }
};

template <>
struct TexCells<3> {
    static int Key(const Vec3& c) { return Cell3(c[0], c[1], c[2]); }
    static Vec3 Point(int key) {
        return {CellValue3(key, 0), CellValue3(key, 1), CellValue3(key, 2)};
    }
    static float Gap(int key) { return GetRandomTexture().worley3[key]; }
    static float Extra(int key, int e) { return CellValue3(key, 3 + e); }
};

template <int N, class F>
void ForEachOffset(int lo, int hi, F&& f) {
    for (int k = N == 3 ? lo : 0; k <= (N == 3 ? hi : 0); ++k) {
        for (int j = lo; j <= hi; ++j) {
            for (int i = lo; i <= hi; ++i) {
                Vec<N> n;
                n[0] = static_cast<float>(i);
                n[1] = static_cast<float>(j);
                if constexpr (N == 3) n[2] = static_cast<float>(k);
                f(n);
            }
        }
    }
}

template <int N>
Vec<N> Floor(const Vec<N>& p) {
    return Map(p, [](float v) { return std::floor(v); });
}

template <int N>
struct NearestTwo {
    float d1, d2;  // squared distances, d1 <= d2
    Vec<N> cell;   // the cell of the nearest point
};

template <int N, class PointFn>
NearestTwo<N> FindNearestTwo(const PointFn& point, const Vec<N>& p, int lo, int hi, float start) {
    const Vec<N> base = Floor(p), f = p - base;
    NearestTwo<N> best{start, start, base};
    ForEachOffset<N>(lo, hi, [&](const Vec<N>& n) {
        const Vec<N> c = base + n;
        const Vec<N> r = n + point(c) - f;
        const float d = Dot(r, r);
        if (d < best.d1) {
            best.d2 = best.d1;
            best.d1 = d;
            best.cell = c;
        } else if (d < best.d2) {
            best.d2 = d;
        }
    });
    return best;
}

template <int N>
Vec<N> TexPoint(const Vec<N>& cell) {
    return TexCells<N>::Point(TexCells<N>::Key(cell));
}
struct TexPointFn {
    template <int N>
    Vec<N> operator()(const Vec<N>& cell) const {
        return TexPoint(cell);
    }
};

inline float TexValueNoise2(float x, float y) { return TexNoise2(x, y) * 2.0f - 1.0f; }
inline float TexValueNoise3(float x, float y, float z) { return TexNoise3(x, y, z) * 2.0f - 1.0f; }

float TexValueD2(float x, float y, Float2* gradient);
float TexValueD3(float x, float y, float z, Float3* gradient);

float TexCraterField(const Vec2& p);
float TexCraterField(const Vec3& p);
float TexSpheres(const Vec2& p, float size, float shape);
float TexSpheres(const Vec3& p, float size, float shape);

inline float ColourWord(float r, float g, float b) {
    return FloatFromBits(kColorWordOpaqueAlpha << 24 | ChannelByte(r) << 16 | ChannelByte(g) << 8 |
                         ChannelByte(b));
}

}  // namespace luneth::texture
