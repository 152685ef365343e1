// Hashes for lattice and cellular noise: coordinates in, pseudo-random numbers in [0, 1) out.
//
// Three families share one shape, each a struct of static functions so that noise templates
// can take the family as a parameter (ValueNoise2<XorHash>, GradientNoise3<SinHash>, ...):
//
//   H::Hash1(x)          one input
//   H::Hash2(x, y)       two inputs
//   H::Hash3(x, y, z)    three inputs
//   H::Hash22(x, y)      two inputs, two outputs   (gradients of 2-D noise, 2-D feature points)
//   H::Hash33(x, y, z)   three inputs, three outputs
//
//   XorHash  integer hash. Inputs are truncated toward zero to 32-bit integers (2.9 and 2 hash
//            alike, so do -0.5 and 0), n = 1619 x + 31337 y + 6971 z + seed, scrambled with
//            n ^= n >> 13; n (n n 60493 + 19990303) - 771171059, all modulo 2^32, kept to 31
//            bits and divided by 2^31. Seeds: 1013 for the first output, 9527 and 8848 for the
//            second and third. Fast; the lattice noises built on it are the quickest.
//   FdfHash  fract-and-dot hash without sine: products of fractional parts, stable on every
//            platform. Quality drops far from the origin (> 1e4) as fractional bits run out.
//   SinHash  fract(sin(dot(p, k)) * 43758.547) with the classic shader rows k.
//
// Edges: every output lies in [0, 1): a fractional part that rounds up to 1 (a tiny negative
// argument) is pulled back to the largest float below 1. NaN in gives NaN out for the fract and
// sine families and a fixed value for XorHash (NaN truncates to INT32_MIN); nothing traps.
//
// Also here: weyl_hash2 and gold_noise2 (two more two-input hashes), and the small helpers
// every lattice noise uses (Fract, Lerp, the fades).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/FloatConstants.h"

namespace luneth::noise {

struct Float2 {
    float x, y;
};
struct Float3 {
    float x, y, z;
};

constexpr float kBelowOne = 0x1.fffffep-1f;  // largest float below 1

// x - floor(x), kept below 1 (x - floor(x) rounds to 1 for tiny negative x).
inline float Fract(float x) { return std::min(x - std::floor(x), kBelowOne); }

inline float Lerp(float a, float b, float t) { return a + (b - a) * t; }

// 3t^2 - 2t^3: zero slope at both ends.
struct CubicFade {
    static float Apply(float t) { return t * t * (3.0f - 2.0f * t); }
};
// 6t^5 - 15t^4 + 10t^3: zero slope and curvature at both ends.
struct QuinticFade {
    static float Apply(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }
};

// ---- xor_: integer hash ------------------------------------------------------------------

struct XorHash {
    static constexpr uint32_t kX = 1619, kY = 31337, kZ = 6971;
    static constexpr uint32_t kSeed1 = 1013, kSeed2 = 9527, kSeed3 = 8848;

    // The 31-bit scramble of a lattice term.
    static uint32_t Scramble(uint32_t n) {
        n &= 0x7FFFFFFFu;
        n ^= n >> 13;
        return (n * (n * n * 60493u + 19990303u) - 771171059u) & 0x7FFFFFFFu;
    }
    // r / 2^31; the float conversion rounds values just below 2^31 up to 2^31, hence the min.
    static float Unit(uint32_t r) {
        return std::min(static_cast<float>(r) * 0x1p-31f, kBelowOne);
    }
    static uint32_t Lattice(float v) { return static_cast<uint32_t>(TruncateInt(v)); }
    static uint32_t Base(float x, float y) { return kX * Lattice(x) + kY * Lattice(y); }
    static uint32_t Base(float x, float y, float z) { return Base(x, y) + kZ * Lattice(z); }

    static float Hash1(float x) { return Unit(Scramble(kX * Lattice(x) + kSeed1)); }
    static float Hash2(float x, float y) { return Unit(Scramble(Base(x, y) + kSeed1)); }
    static float Hash3(float x, float y, float z) {
        return Unit(Scramble(Base(x, y, z) + kSeed1));
    }
    static Float2 Hash22(float x, float y) {
        uint32_t base = Base(x, y);
        return {Unit(Scramble(base + kSeed1)), Unit(Scramble(base + kSeed2))};
    }
    static Float3 Hash33(float x, float y, float z) {
        uint32_t base = Base(x, y, z);
        return {Unit(Scramble(base + kSeed1)), Unit(Scramble(base + kSeed2)),
                Unit(Scramble(base + kSeed3))};
    }
};

// ---- fdf_: fract-and-dot hash ------------------------------------------------------------

struct FdfHash {
    static float Mix(float a, float b) { return (a + 21.5351f) * b + (b + 14.3137f) * a; }

    static float Hash1(float x) { return Hash2(x, x); }
    static float Hash2(float x, float y) {
        float a = Fract(5.3983f * x), b = Fract(5.4427f * y);
        float c = Mix(a, b);
        return Fract((c + b) * (c + a) * 95.4337f);
    }
    static Float2 Hash22(float x, float y) {
        float a = Fract(5.3983f * x), b = Fract(5.4427f * y);
        float c = Mix(a, b);
        c = (c + a) * (c + b);
        return {Fract(95.4337f * c), Fract(97.597f * c)};
    }
    static float Hash3(float x, float y, float z) {
        float px = Fract(0.1031f * x), py = Fract(0.1031f * y), pz = Fract(0.1031f * z);
        float e = (pz + 19.19f) * py + (py + 19.19f) * px + (px + 19.19f) * pz;
        return Fract((e + py + e + px) * (e + pz));
    }
    static Float3 Hash33(float x, float y, float z) {
        float px = Fract(0.1031f * x), py = Fract(0.103f * y), pz = Fract(0.0973f * z);
        float d = (py + 19.19f) * px + (pz + 19.19f) * py + (px + 19.19f) * pz;
        return {Fract((d + px + d + py) * (d + pz)), Fract((d + px + d + pz) * (d + py)),
                Fract((d + py + d + pz) * (d + px))};
    }
};

// ---- sin_: sine hash ---------------------------------------------------------------------

struct SinHash {
    static float Of(float dot) { return Fract(std::sin(dot) * 43758.547f); }

    static float Hash1(float x) { return Of(x * 127.1f); }
    static float Hash2(float x, float y) { return Of(x * 127.1f + y * 311.7f); }
    static float Hash3(float x, float y, float z) {
        return Of(x * 127.1f + y * 311.7f + z * 74.7f);
    }
    static Float2 Hash22(float x, float y) {
        return {Of(x * 127.1f + y * 311.7f), Of(x * 269.5f + y * 183.3f)};
    }
    static Float3 Hash33(float x, float y, float z) {
        return {Of(x * 127.1f + y * 311.7f + z * 74.7f), Of(x * 269.5f + y * 183.3f + z * 246.1f),
                Of(x * 113.5f + y * 271.9f + z * 124.6f)};
    }
};

// ---- two further two-input hashes --------------------------------------------------------

// weyl_hash2 before its final fract (weyl_noise2 uses the integer part too).
inline float WeylProduct(float x, float y) {
    return Fract(0.308517f * y) * y * (Fract(0.5545497f * x) * x);
}
inline float WeylHash2(float x, float y) { return Fract(WeylProduct(x, y)); }

inline float GoldNoise2(float x, float y) {
    return Fract(std::sin(1.618034f * x + 3.1415927f * y) * 14142.136f);
}

}  // namespace luneth::noise
