// Coloured hashes and noises: one random colour per lattice cell, and smooth noise and fbm of
// those colours.
//
//   h_hash13/23/33_color(p)    the three-output fdf_ hash (scales 0.1031, 0.103, 0.0973) of
//                              floor(p), read as (r, g, b); a 1-D point hashes as (x, x, x),
//                              a 2-D one as (x, y, x)
//   h_noise13/23/33_color(p)   those cell colours blended across the cell with the cubic fade
//   h_fbm13/23/33_color(p)     five octaves of that noise (frequency x 2, amplitude x 0.5, each
//                              octave shifted so that the lattices do not line up), normalised
//                              so the channels stay in [0, 1]
//   iquilezles_noise3_color(x, y, z)
//                              iquilezles_noise3 per channel, at p and at two far offsets of p
//
// NaN coordinates give black; huge ones give a fixed colour (the hash runs out of fraction bits).
#include <array>
#include <cmath>

#include "functions/ColourMath.h"
#include "functions/Families.h"
#include "functions/LatticeNoise.h"

namespace luneth {

namespace {

using colour::Pack;

template <int N>
using Point = std::array<float, N>;

// The cell colour of a lattice corner (integral coordinates).
template <int N>
Vec3 CornerColour(const Point<N>& c) {
    using noise::FdfHash;
    noise::Float3 h;
    if constexpr (N == 1) {
        h = FdfHash::Hash33(c[0], c[0], c[0]);
    } else if constexpr (N == 2) {
        h = FdfHash::Hash33(c[0], c[1], c[0]);
    } else {
        h = FdfHash::Hash33(c[0], c[1], c[2]);
    }
    return {h.x, h.y, h.z};
}

template <int N>
Vec3 CellHash(const Point<N>& p) {
    Point<N> c;
    for (int d = 0; d < N; ++d) c[d] = std::floor(p[d]);
    return CornerColour<N>(c);
}

// Multilinear blend of the 2^N corner colours, weighted by the cubic fade of the offsets.
template <int N>
Vec3 CellNoise(const Point<N>& p) {
    Point<N> base, fade;
    for (int d = 0; d < N; ++d) {
        base[d] = std::floor(p[d]);
        fade[d] = noise::CubicFade::Apply(p[d] - base[d]);
    }
    Vec3 sum = {0.0f, 0.0f, 0.0f};
    for (int corner = 0; corner < (1 << N); ++corner) {
        Point<N> c;
        float w = 1.0f;
        for (int d = 0; d < N; ++d) {
            const bool high = corner >> d & 1;
            c[d] = high ? base[d] + 1.0f : base[d];
            w *= high ? fade[d] : 1.0f - fade[d];
        }
        sum = sum + CornerColour<N>(c) * w;
    }
    return sum;
}

template <int N>
Vec3 CellFbm(const Point<N>& p) {
    constexpr int kOctaves = 5;
    constexpr float kShift = 17.31f;  // moves each octave's lattice off the previous one
    Point<N> q = p;
    Vec3 sum = {0.0f, 0.0f, 0.0f};
    float amplitude = 0.5f, total = 0.0f;
    for (int o = 0; o < kOctaves; ++o) {
        sum = sum + CellNoise<N>(q) * amplitude;
        total += amplitude;
        amplitude *= 0.5f;
        for (float& v : q) v = v * 2.0f + kShift;
    }
    return sum / total;
}

template <Vec3 (*F)(const Point<1>&)>
float Colour1(float x) {
    return Pack(F({x}));
}
template <Vec3 (*F)(const Point<2>&)>
float Colour2(float x, float y) {
    return Pack(F({x, y}));
}
template <Vec3 (*F)(const Point<3>&)>
float Colour3(float x, float y, float z) {
    return Pack(F({x, y, z}));
}

float IquilezlesNoise3Color(float x, float y, float z) {
    return Pack({noise::IQuilezlesNoise3(x, y, z, nullptr),
                 noise::IQuilezlesNoise3(x + 113.7f, y - 57.3f, z + 31.9f, nullptr),
                 noise::IQuilezlesNoise3(x - 71.1f, y + 89.9f, z - 143.3f, nullptr)});
}

constexpr BuiltinFunction kColourNoises[] = {
    {"h_hash13_color", Colour1<CellHash<1>>},
    {"h_noise13_color", Colour1<CellNoise<1>>},
    {"h_fbm13_color", Colour1<CellFbm<1>>},
    {"h_hash23_color", Colour2<CellHash<2>>},
    {"h_noise23_color", Colour2<CellNoise<2>>},
    {"h_fbm23_color", Colour2<CellFbm<2>>},
    {"iquilezles_noise3_color", IquilezlesNoise3Color},
    {"h_hash33_color", Colour3<CellHash<3>>},
    {"h_noise33_color", Colour3<CellNoise<3>>},
    {"h_fbm33_color", Colour3<CellFbm<3>>},
};

}  // namespace

FunctionTable ColourNoiseFunctions() { return kColourNoises; }

}  // namespace luneth
