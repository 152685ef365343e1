// Lattice noise built-ins: value, gradient and simplex noise per hash prefix, their unprefixed
// (sine-hash) members, and the periodic xor_cycle_ noises.
//
//   xor_/fdf_/sin_value_noise2/3      value noise mapped to [-1, 1]
//   xor_/fdf_/sin_gradient_noise2/3   gradient noise, gradients hash * 2 - 1, no final scale
//   xor_/fdf_/sin_simplex_noise2/3    simplex noise (2-D: falloff 0.5, * 70; 3-D: 0.6, * 52)
//   value_noise2/3, gradient_noise2/3, simplex_noise2/3   the sine-hash members
//   xor_cycle_value/gradient/simplex_noise2(x, y, period), ..._noise3(x, y, z, period)
//
// The cores are templates in LatticeNoise.h; this file holds the periodic forms and the table.
//
// Periodic noises. The value and gradient forms wrap each corner with fmod(corner, period)
// before hashing, so an integer period repeats exactly for positive coordinates. Wrapping the
// skewed corners of ordinary simplex noise would not repeat along x and y (the skewed lattice
// has no lattice vector (P, 0)), so the periodic simplex noises use lattices that contain the
// period's translations:
//   2-D: the triangular lattice spanned by (1, 0) and (1/2, h), with h = P / 2k and
//        k = round(P / sqrt 3) so the triangles are as close to equilateral as the period
//        allows (exact as P grows). Lattice translations (P, 0) and (-k, 2k) map onto the
//        periods (P, 0) and (0, P); corners are hashed at a canonical representative. The
//        falloff radius is the smallest triangle height, so only the three corners of the
//        containing triangle contribute, and the scale keeps the usual amplitude.
//   3-D: the body-centred cubic lattice Z^3 + {0, 1/2}^3 (the lattice ordinary 3-D simplex
//        noise uses, here aligned with the axes), hashed at doubled coordinates modulo 2P.
//        Every lattice point within the falloff radius (r^2 < 0.6) contributes, so the sum is
//        continuous everywhere.
// The simplex periods are whole numbers: the period is truncated, and below 1 counts as 1.
#include <cmath>
#include <cstdint>

#include "functions/Families.h"
#include "functions/LatticeNoise.h"

namespace luneth {

namespace {

using namespace noise;

// ---- value and gradient noise with wrapped corners -------------------------------------------

template <class Inner>
struct Wrapped {
    float period;
    auto operator()(float x, float y) const {
        return Inner{}(std::fmod(x, period), std::fmod(y, period));
    }
    auto operator()(float x, float y, float z) const {
        return Inner{}(std::fmod(x, period), std::fmod(y, period), std::fmod(z, period));
    }
};

float XorCycleValueNoise2(float x, float y, float period) {
    return ValueLattice2(Wrapped<HashCorner<XorHash>>{period}, x, y) * 2.0f - 1.0f;
}
float XorCycleValueNoise3(float x, float y, float z, float period) {
    return ValueLattice3(Wrapped<HashCorner<XorHash>>{period}, x, y, z) * 2.0f - 1.0f;
}
float XorCycleGradientNoise2(float x, float y, float period) {
    return GradientLattice2(Wrapped<SignedGradient<XorHash>>{period}, x, y);
}
float XorCycleGradientNoise3(float x, float y, float z, float period) {
    return GradientLattice3(Wrapped<SignedGradient<XorHash>>{period}, x, y, z);
}

// ---- periodic simplex noise ------------------------------------------------------------------

constexpr int64_t kMaxCyclePeriod = 1 << 20;

int64_t CyclePeriod(float period) {
    if (!(period >= 1.0f)) return 1;
    if (period >= static_cast<float>(kMaxCyclePeriod)) return kMaxCyclePeriod;
    return static_cast<int64_t>(period);
}

// Floor to an integer; values beyond the range any period can tell apart collapse to 0.
int64_t FloorToInt(float v) {
    float f = std::floor(v);
    return std::fabs(f) < 0x1p40f ? static_cast<int64_t>(f) : 0;
}

int64_t FloorMod(int64_t a, int64_t m) {
    int64_t r = a % m;
    return r < 0 ? r + m : r;
}
int64_t FloorDiv(int64_t a, int64_t m) { return (a - FloorMod(a, m)) / m; }

float XorCycleSimplexNoise2(float x, float y, float period) {
    const int64_t p = CyclePeriod(period);
    const int64_t k = std::max<int64_t>(1, std::llround(static_cast<double>(p) / std::sqrt(3.0)));
    const float h = static_cast<float>(static_cast<double>(p) / static_cast<double>(2 * k));
    const float r2 = std::min(h * h, h * h / (0.25f + h * h));
    // The peak of (r2 - d^2)^4 d grows with r2^4.5; 70 belongs to r2 = 0.5.
    const float scale = 70.0f * static_cast<float>(std::pow(0.5 / r2, 4.5));

    const float v = y / h, u = x - 0.5f * v;
    const float fu0 = std::floor(u), fv0 = std::floor(v);
    const float fu = u - fu0, fv = v - fv0;
    const int64_t iu = FloorToInt(u), iv = FloorToInt(v);

    auto at = [&](int64_t a, int64_t b) {
        float du = fu - static_cast<float>(a), dv = fv - static_cast<float>(b);
        float dx = du + 0.5f * dv, dy = h * dv;
        float w = r2 - (dx * dx + dy * dy);
        if (!(w > 0.0f)) return 0.0f;
        // Canonical corner: fold b into [0, 2k) with the translation (-k, 2k), then a mod P.
        int64_t ca = iu + a, cb = iv + b;
        int64_t q = FloorDiv(cb, 2 * k);
        cb -= 2 * k * q;
        ca = FloorMod(ca + k * q, p);
        Float2 g = SignedGradient<XorHash>{}(static_cast<float>(ca), static_cast<float>(cb));
        w *= w;
        return w * w * (g.x * dx + g.y * dy);
    };
    float sum = fu + fv < 1.0f ? at(0, 0) + at(1, 0) + at(0, 1) : at(1, 0) + at(0, 1) + at(1, 1);
    return scale * sum;
}

float XorCycleSimplexNoise3(float x, float y, float z, float period) {
    const int64_t wrap = 2 * CyclePeriod(period);
    constexpr float kFalloff = 0.6f;
    float sum = 0.0f;
    // Sub-lattice 0: integer points; sub-lattice 1: the cube centres.
    for (int sub = 0; sub < 2; ++sub) {
        const float shift = 0.5f * static_cast<float>(sub);
        const float bx = std::floor(x - shift), by = std::floor(y - shift), bz = std::floor(z - shift);
        const int64_t ix = FloorToInt(x - shift), iy = FloorToInt(y - shift),
                      iz = FloorToInt(z - shift);
        for (int corner = 0; corner < 8; ++corner) {
            const int cx = corner & 1, cy = (corner >> 1) & 1, cz = corner >> 2;
            float dx = x - (bx + static_cast<float>(cx) + shift);
            float dy = y - (by + static_cast<float>(cy) + shift);
            float dz = z - (bz + static_cast<float>(cz) + shift);
            float w = kFalloff - (dx * dx + dy * dy + dz * dz);
            if (!(w > 0.0f)) continue;
            auto doubled = [&](int64_t i, int c) {
                return static_cast<float>(FloorMod(2 * (i + c) + sub, wrap));
            };
            Float3 g = CenteredGradient<XorHash>{}(doubled(ix, cx), doubled(iy, cy),
                                                   doubled(iz, cz));
            w *= w;
            sum += w * w * (g.x * dx + g.y * dy + g.z * dz);
        }
    }
    return 52.0f * sum;
}

constexpr BuiltinFunction kLatticeNoise[] = {
    // 2-D
    {"xor_value_noise2", ValueNoise2<XorHash>},
    {"fdf_value_noise2", ValueNoise2<FdfHash>},
    {"sin_value_noise2", ValueNoise2<SinHash>},
    {"xor_gradient_noise2", GradientNoise2<XorHash>},
    {"fdf_gradient_noise2", GradientNoise2<FdfHash>},
    {"sin_gradient_noise2", GradientNoise2<SinHash>},
    {"xor_simplex_noise2", SimplexNoise2<XorHash>},
    {"fdf_simplex_noise2", SimplexNoise2<FdfHash>},
    {"sin_simplex_noise2", SimplexNoise2<SinHash>},
    {"value_noise2", ValueNoise2Sin},
    {"gradient_noise2", GradientNoise2Sin},
    {"simplex_noise2", SimplexNoise2Sin},
    // 3-D
    {"xor_value_noise3", ValueNoise3<XorHash>},
    {"fdf_value_noise3", ValueNoise3<FdfHash>},
    {"sin_value_noise3", ValueNoise3<SinHash>},
    {"xor_gradient_noise3", GradientNoise3<XorHash>},
    {"fdf_gradient_noise3", GradientNoise3<FdfHash>},
    {"sin_gradient_noise3", GradientNoise3<SinHash>},
    {"xor_simplex_noise3", SimplexNoise3<XorHash>},
    {"fdf_simplex_noise3", SimplexNoise3<FdfHash>},
    {"sin_simplex_noise3", SimplexNoise3<SinHash>},
    {"value_noise3", ValueNoise3Sin},
    {"gradient_noise3", GradientNoise3Sin},
    {"simplex_noise3", SimplexNoise3Sin},
    // periodic
    {"xor_cycle_value_noise2", XorCycleValueNoise2},
    {"xor_cycle_gradient_noise2", XorCycleGradientNoise2},
    {"xor_cycle_simplex_noise2", XorCycleSimplexNoise2},
    {"xor_cycle_value_noise3", XorCycleValueNoise3},
    {"xor_cycle_gradient_noise3", XorCycleGradientNoise3},
    {"xor_cycle_simplex_noise3", XorCycleSimplexNoise3},
};

}  // namespace

FunctionTable LatticeNoiseFunctions() { return kLatticeNoise; }

}  // namespace luneth
