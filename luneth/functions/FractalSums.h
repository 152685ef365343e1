// Octave sums over a base noise, shared by the fractal-sum built-ins and the families that sum
// other bases the same way (texture noises, colour noises).
//
//   OctaveCount(args, count, index, fallback)   the count argument at `index` of a kind-9 call:
//        truncated toward zero; below 1 (missing, fractional or negative) gives `fallback`;
//        capped at kMaxOctaves
//   IterationCount(...)                         the same for counts whose every step matters
//                                               (iterations, waves, kernels), capped higher
//   Fbm2<Noise, Step>(x, y, octaves)            amplitude 0.5 halving, p <- Step(p, octave)
//   Fbm3<Noise, Step>(x, y, z, octaves)         between octaves; result sum / amplitude sum
//   AbsFbm2/3                                   the same summing |noise|
//   Turbulence2<Noise>(x, y, octaves)           sum |noise(f p)| a, f doubling, a halving,
//   Turbulence3<Noise>                          no rotation; normalised, so in [0, 1] for a
//                                               base in [-1, 1]
//   DampedFbm2/3<Noise>(p, octaves)             octaves of a base that also yields its
//                                               gradient, each divided by 1 + |sum of the
//                                               gradients so far|^2; p doubling, a halving
//                                               from 0.5; not normalised
//   Count1/2/3<Sum, default>(args, count)       kind-9 adapters: the coordinates, then the
//                                               octave count at the next index
//   kPrefixedFbm2/3<Noise>, kTurbulence2/3<Noise>
//                                               the kind-9 entries of the prefixed fbm (R2 /
//                                               R3 between octaves) and turbulence, default 4
//   NoiseWarp2/3<Noise>(args, count)            x, y (z), strength s, iterations (default 4):
//                                               r = 0, then r = noise(p + r s) each iteration
//   FbmWarp2/3<Fbm>(args, count)                the same over an fbm: x, y (z), s, iterations
//                                               (default 3), octaves (default 4)
//
// Steps between octaves (a Step is a struct with static Apply(p..., octave)):
//   RotateR2/RotateR3       (x, y) -> (1.6x - 1.2y, 1.2x + 1.6y), and its 3-D form
//   RotateL2/RotateL3       lacunarity table L = (2.01, 2.03, 2.02, 1.99)[octave & 3] times a
//                           fixed rotation
//   ScaleL                  coordinates times L[octave & 3], no rotation
//   ScaleBy<k>              coordinates times k
//
// Why the caps: each octave doubles the frequency, so past 64 octaves the coordinates
// overflow to infinity and the amplitudes (2^-64) are far below float resolution of the sum;
// iterations and waves average or feed back, so they are honoured up to 65536. A huge count
// must not hang the evaluation of a whole picture.
#pragma once

#include <cmath>

#include "common/FloatConstants.h"
#include "functions/NoiseHash.h"

namespace luneth::fractal {

constexpr int kMaxOctaves = 64;
constexpr int kMaxIterations = 65536;

inline int CountArgument(const float* args, int count, int index, int fallback, int cap) {
    float v = index < count ? args[index] : 0.0f;
    int n = TruncateInt(v);
    if (n < 1) return fallback;
    return n < cap ? n : cap;
}
inline int OctaveCount(const float* args, int count, int index, int fallback) {
    return CountArgument(args, count, index, fallback, kMaxOctaves);
}
inline int IterationCount(const float* args, int count, int index, int fallback) {
    return CountArgument(args, count, index, fallback, kMaxIterations);
}
// Argument `index` of a kind-9 call; a missing one reads as 0.
inline float Arg(const float* args, int count, int index) {
    return index < count ? args[index] : 0.0f;
}

constexpr float kLacunarity[4] = {2.01f, 2.03f, 2.02f, 1.99f};

// ---- steps between octaves -----------------------------------------------------------------

struct RotateR2 {
    static void Apply(float& x, float& y, int) {
        float nx = 1.6f * x - 1.2f * y;
        y = 1.2f * x + 1.6f * y;
        x = nx;
    }
};
struct RotateR3 {
    static void Apply(float& x, float& y, float& z, int) {
        float nx = 1.6f * y + 1.2f * z;
        float ny = -1.6f * x + 0.72f * y - 0.96f * z;
        float nz = -1.2f * x - 0.96f * y + 1.28f * z;
        x = nx, y = ny, z = nz;
    }
};
struct RotateL2 {
    static void Apply(float& x, float& y, int octave) {
        float l = kLacunarity[octave & 3];
        float nx = l * (0.8f * x - 0.6f * y);
        y = l * (0.6f * x + 0.8f * y);
        x = nx;
    }
};
struct RotateL3 {
    static void Apply(float& x, float& y, float& z, int octave) {
        float l = kLacunarity[octave & 3];
        float nx = l * (0.8f * y + 0.6f * z);
        float ny = l * (-0.8f * x + 0.36f * y - 0.48f * z);
        float nz = l * (-0.6f * x - 0.48f * y + 0.64f * z);
        x = nx, y = ny, z = nz;
    }
};
struct ScaleL {
    static void Apply(float& x, float& y, int octave) {
        x *= kLacunarity[octave & 3];
        y *= kLacunarity[octave & 3];
    }
    static void Apply(float& x, float& y, float& z, int octave) {
        Apply(x, y, octave);
        z *= kLacunarity[octave & 3];
    }
};
template <int kHundredths>
struct ScaleBy {
    static constexpr float kFactor = static_cast<float>(kHundredths) / 100.0f;
    static void Apply(float& x, float& y, int) { x *= kFactor, y *= kFactor; }
    static void Apply(float& x, float& y, float& z, int) {
        x *= kFactor, y *= kFactor, z *= kFactor;
    }
};

// ---- the sums --------------------------------------------------------------------------------

struct Plain {
    static float Of(float v) { return v; }
};
struct Magnitude {
    static float Of(float v) { return std::fabs(v); }
};

template <float (*Noise)(float, float), class Step, class Term = Plain>
float Fbm2(float x, float y, int octaves) {
    float a = 0.5f, asum = 0.0f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        total += Term::Of(Noise(x, y)) * a;
        asum += a;
        a *= 0.5f;
        Step::Apply(x, y, i);
    }
    return total / asum;
}

template <float (*Noise)(float, float, float), class Step, class Term = Plain>
float Fbm3(float x, float y, float z, int octaves) {
    float a = 0.5f, asum = 0.0f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        total += Term::Of(Noise(x, y, z)) * a;
        asum += a;
        a *= 0.5f;
        Step::Apply(x, y, z, i);
    }
    return total / asum;
}

template <float (*Noise)(float, float)>
float Turbulence2(float x, float y, int octaves) {
    float f = 1.0f, a = 0.5f, asum = 0.0f, sum = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += std::fabs(Noise(f * x, f * y)) * a;
        asum += a;
        f *= 2.0f;
        a *= 0.5f;
    }
    return sum / asum;
}

template <float (*Noise)(float, float, float)>
float Turbulence3(float x, float y, float z, int octaves) {
    float f = 1.0f, a = 0.5f, asum = 0.0f, sum = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += std::fabs(Noise(f * x, f * y, f * z)) * a;
        asum += a;
        f *= 2.0f;
        a *= 0.5f;
    }
    return sum / asum;
}

template <float (*Noise)(float, float, noise::Float2*)>
float DampedFbm2(float x, float y, int octaves) {
    float a = 0.5f, gx = 0.0f, gy = 0.0f, sum = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        noise::Float2 d;
        float n = Noise(x, y, &d);
        gx += d.x;
        gy += d.y;
        sum += a * n / (1.0f + gx * gx + gy * gy);
        x *= 2.0f;
        y *= 2.0f;
        a *= 0.5f;
    }
    return sum;
}

template <float (*Noise)(float, float, float, noise::Float3*)>
float DampedFbm3(float x, float y, float z, int octaves) {
    float a = 0.5f, gx = 0.0f, gy = 0.0f, gz = 0.0f, sum = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        noise::Float3 d;
        float n = Noise(x, y, z, &d);
        gx += d.x;
        gy += d.y;
        gz += d.z;
        sum += a * n / (1.0f + gx * gx + gy * gy + gz * gz);
        x *= 2.0f;
        y *= 2.0f;
        z *= 2.0f;
        a *= 0.5f;
    }
    return sum;
}

// ---- kind-9 adapters -------------------------------------------------------------------------

template <float (*Sum)(float, int), int kDefault>
float Count1(const float* a, int n) {
    return Sum(Arg(a, n, 0), OctaveCount(a, n, 1, kDefault));
}
template <float (*Sum)(float, float, int), int kDefault>
float Count2(const float* a, int n) {
    return Sum(Arg(a, n, 0), Arg(a, n, 1), OctaveCount(a, n, 2, kDefault));
}
template <float (*Sum)(float, float, float, int), int kDefault>
float Count3(const float* a, int n) {
    return Sum(Arg(a, n, 0), Arg(a, n, 1), Arg(a, n, 2), OctaveCount(a, n, 3, kDefault));
}

template <float (*Noise)(float, float)>
constexpr auto kPrefixedFbm2 = Count2<Fbm2<Noise, RotateR2>, 4>;
template <float (*Noise)(float, float, float)>
constexpr auto kPrefixedFbm3 = Count3<Fbm3<Noise, RotateR3>, 4>;
template <float (*Noise)(float, float)>
constexpr auto kTurbulence2 = Count2<Turbulence2<Noise>, 4>;
template <float (*Noise)(float, float, float)>
constexpr auto kTurbulence3 = Count3<Turbulence3<Noise>, 4>;

// ---- warps: the noise fed back into its own coordinates ------------------------------------

template <float (*Noise)(float, float)>
float NoiseWarp2(const float* a, int n) {
    float x = Arg(a, n, 0), y = Arg(a, n, 1), s = Arg(a, n, 2), r = 0.0f;
    for (int i = IterationCount(a, n, 3, 4); i > 0; --i) r = Noise(x + r * s, y + r * s);
    return r;
}

template <float (*Noise)(float, float, float)>
float NoiseWarp3(const float* a, int n) {
    float x = Arg(a, n, 0), y = Arg(a, n, 1), z = Arg(a, n, 2), s = Arg(a, n, 3), r = 0.0f;
    for (int i = IterationCount(a, n, 4, 4); i > 0; --i) {
        r *= s;
        r = Noise(x + r, y + r, z + r);
    }
    return r;
}

template <float (*Fbm)(float, float, int)>
float FbmWarp2(const float* a, int n) {
    float x = Arg(a, n, 0), y = Arg(a, n, 1), s = Arg(a, n, 2), r = 0.0f;
    int octaves = OctaveCount(a, n, 4, 4);
    for (int i = IterationCount(a, n, 3, 3); i > 0; --i) r = Fbm(x + r * s, y + r * s, octaves);
    return r;
}

template <float (*Fbm)(float, float, float, int)>
float FbmWarp3(const float* a, int n) {
    float x = Arg(a, n, 0), y = Arg(a, n, 1), z = Arg(a, n, 2), s = Arg(a, n, 3), r = 0.0f;
    int octaves = OctaveCount(a, n, 5, 4);
    for (int i = IterationCount(a, n, 4, 3); i > 0; --i)
        r = Fbm(x + r * s, y + r * s, z + r * s, octaves);
    return r;
}

}  // namespace luneth::fractal
