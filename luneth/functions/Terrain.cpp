// Terrain generators: height fields named after landscapes, each an fbm-style recipe over the
// noises of the library or the random texture. Every generator is a kind-9 function of
// (x, y, octaves) and (x, y, z, octaves), the 3-D form being the same recipe one axis up; a
// count below 1 selects the default of the table at the end, and counts are capped at 64.
//
//   index
//   1. coordinates and bases   Tame, Turn; HashBase (xor_ value noise, iquilezles_noise3 and
//                              its 2-D twin, xor_ cells, yf_ crater field) and TexBase (the
//                              same from the random texture)
//   2. recipes                 one struct per generator, At<N>(p, octaves)
//   3. table                   24 rows: the 2-D and 3-D names of a recipe with its default
//
// Ranges (every generator is finite for every input, NaN and infinities included: coordinates
// are kept within +-2^30 before each lookup, so octaves that multiply them never overflow):
//   heightfield     (-1, 1)        raw sum of coherent noise, p / 4
//   heightfield_tx  [0, 1)         tex_fbm2/3 at p / 4
//   mercury         [-0.239, 1]    1 - 0.78 sum |mercury_crater(p c / 2)| / c, c *= 2.7
//   moon            [-0.106, 1]    1 - 0.625 sum |moon_crater(p c / 2)| / c, c *= 2.3
//   mars(_tx)       [-0.1, 1.15]   slope-damped value noise, p / 4, lacunarity 2.95
//   mountain        [-0.26, 1.39]  iq_noise octaves scaled by a base height, p / 4
//   alps(_tx)       [0, 1.167]     eroded ridges: 0.2 sum (1 - 2 |n - 0.5|) w, w shrinking
//                                  with the height so far; p as given
//   island(_tx)     [-1, 1]        sea level 0: one island about every cell of p / 6,
//                                  0.55 (1 - 2 smoothstep(F1 / 0.9)) + 0.45 fbm(p / 2)
//   elevated(_tx)   [0, 1)         derivative-damped fbm, first amplitude 0.8, times 0.625
//   gobi_desert     [0.15, 0.85]   broad swells and long dune ridges (stretched ridged noise)
//   hillock         [0, 2)         sum |coherent gradient noise| g, g halving, p / 4
//   earth(_tx)      [-0.7, 1]      sea level 0: continents fbm(p / 6), ridged mountains on land
//   alien_landscape [0, 1]         warped fbm cut into soft terraces
//   rock_tx         [0, 1]         boulders (tex_sphere_worley) and ridged texture noise, p / 2
//   escalated       [0, 1]         fbm in eight steps with steep risers
//   crater          [-0.2, 1]      crater fields (crateria_plain's) octaves, p / 2
//   crater_tx       [-1, 0.3]      the texture's crater fields (tex_craters), p / 2
//   rock_patch      [0, 1]         cobbles: rounded cells of varied height, p / 4
//   ice_patch       [0, 1]         flat floes of varied height parted by thin cracks, p / 4
// heightfield, heightfield_tx, mercury, mars, moon, alps, elevated, hillock and mountain follow
// fixed recipes; the others are designed here, and every 3-D form turns the 2-D rotations into
// the orthonormal 3-D rotation of the fractal sums.
// Between octaves the 2-D rotations are by +-36.87 degrees (cos 0.8, sin 0.6).
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

#include "functions/CellularNoise.h"
#include "functions/Families.h"
#include "functions/FractalSums.h"
#include "functions/LatticeNoise.h"
#include "functions/TextureFamily.h"

namespace luneth {

namespace {

using noise::Float2;
using noise::Float3;
using noise::XorHash;
using texture::FindNearestTwo;
using texture::NearestTwo;

// ---- 1. coordinates and bases ----------------------------------------------------------------

constexpr float kFar = 1073741824.0f;  // 2^30: beyond it a lattice noise is white anyway

// t clamped to [lo, hi], NaN giving lo; without a branch where the processor allows, since
// the slopes that mars_ clamps fall on either side at random and a mispredicted branch costs
// more than the rest of an octave's arithmetic.
inline float Between(float t, float lo, float hi) {
#if defined(__SSE__)
    return _mm_cvtss_f32(_mm_min_ss(_mm_max_ss(_mm_set_ss(t), _mm_set_ss(lo)), _mm_set_ss(hi)));
#else
    return t > lo ? (t < hi ? t : hi) : lo;
#endif
}

// Within +-2^30; NaN becomes -2^30.
inline float Tame(float v) { return Between(v, -kFar, kFar); }
template <int N>
Vec<N> Tame(const Vec<N>& p) {
    Vec<N> q;
    for (int k = 0; k < N; ++k) q[k] = Tame(p[k]);
    return q;
}

// The rotation between octaves, turning left (counter-clockwise) or right in 2-D; in 3-D the
// rotation of the fractal sums or its inverse.
enum class Sense { kLeft, kRight };

template <Sense S>
Vec2 Turn(const Vec2& p) {
    const float x = p[0], y = p[1];
    if constexpr (S == Sense::kLeft) return {0.8f * x - 0.6f * y, 0.6f * x + 0.8f * y};
    return {0.8f * x + 0.6f * y, 0.8f * y - 0.6f * x};
}
template <Sense S>
Vec3 Turn(const Vec3& p) {
    const float x = p[0], y = p[1], z = p[2];
    if constexpr (S == Sense::kLeft)
        return {0.8f * y + 0.6f * z, -0.8f * x + 0.36f * y - 0.48f * z,
                -0.6f * x - 0.48f * y + 0.64f * z};
    return {-0.8f * y - 0.6f * z, 0.8f * x + 0.36f * y - 0.48f * z,
            0.6f * x - 0.48f * y + 0.64f * z};
}

// The next octave's coordinates: turned, scaled, kept finite.
template <Sense S = Sense::kLeft, int N>
inline Vec<N> Step(const Vec<N>& p, float scale) {
    Vec<N> q = Turn<S>(p);
    for (int k = 0; k < N; ++k) q[k] = Tame(q[k] * scale);
    return q;
}

inline float SmoothUnit(float t) {
    t = Between(t, 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

struct HashPoint {
    Vec2 operator()(const Vec2& c) const {
        Float2 h = XorHash::Hash22(c[0], c[1]);
        return {h.x, h.y};
    }
    Vec3 operator()(const Vec3& c) const {
        Float3 h = XorHash::Hash33(c[0], c[1], c[2]);
        return {h.x, h.y, h.z};
    }
};

// A base: value noise in [-1, 1], value noise in [0, 1) with its gradient, the two nearest cell
// points (the derived bases add a random value of a cell and one octave of craters).
template <float (*kValue2)(float, float), float (*kValue3)(float, float, float),
          float (*kValueD2)(float, float, Float2*), float (*kValueD3)(float, float, float, Float3*),
          class PointFn>
struct BaseOf {
    static float Value(const Vec2& p) { return kValue2(p[0], p[1]); }
    static float Value(const Vec3& p) { return kValue3(p[0], p[1], p[2]); }
    static float ValueD(const Vec2& p, Vec2* g) {
        Float2 d;
        float n = kValueD2(p[0], p[1], &d);
        *g = {d.x, d.y};
        return n;
    }
    static float ValueD(const Vec3& p, Vec3* g) {
        Float3 d;
        float n = kValueD3(p[0], p[1], p[2], &d);
        *g = {d.x, d.y, d.z};
        return n;
    }
    template <int N>
    static NearestTwo<N> Cells(const Vec<N>& p) {
        return FindNearestTwo(PointFn{}, p, -1, 1, 8.0f);
    }
};

struct HashBase : BaseOf<noise::ValueNoise2<XorHash>, noise::ValueNoise3<XorHash>,
                         noise::IQuilezlesNoise2, noise::IQuilezlesNoise3, HashPoint> {
    static float CellValue(const Vec2& c) {
        return XorHash::Unit(XorHash::Scramble(XorHash::Base(c[0], c[1]) + XorHash::kSeed3));
    }
    static float CellValue(const Vec3& c) {
        return XorHash::Unit(XorHash::Scramble(XorHash::Base(c[0], c[1], c[2]) + XorHash::kSeed3));
    }
    static float Craters(const Vec2& p) { return cellular::CraterField2d(p[0], p[1]); }
    static float Craters(const Vec3& p) { return cellular::CraterField3d(p[0], p[1], p[2]); }
};

struct TexBase : BaseOf<texture::TexValueNoise2, texture::TexValueNoise3, texture::TexValueD2,
                        texture::TexValueD3, texture::TexPointFn> {
    template <int N>
    static float CellValue(const Vec<N>& c) {
        return texture::TexCells<N>::Extra(texture::TexCells<N>::Key(c), 0);
    }
    template <int N>
    static float Craters(const Vec<N>& p) {
        return texture::TexCraterField(p);
    }
};

// The normalised octave sum of term(p): amplitude 0.5 halving, coordinates doubled and turned
// left between octaves; within the range of the term.
template <int N, class Term>
float OctaveSum(Vec<N> p, int octaves, Term term) {
    float a = 0.5f, asum = 0.0f, sum = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += a * term(p);
        asum += a;
        a *= 0.5f;
        p = Step(p, 2.0f);
    }
    return sum / asum;
}

// fbm of a base's value noise, in [-1, 1]; ridged fbm, (1 - |n|)^2 per octave, in [0, 1].
template <class B, int N>
float Fbm(const Vec<N>& p, int octaves) {
    return OctaveSum(p, octaves, [](const Vec<N>& q) { return B::Value(q); });
}
template <class B, int N>
float Ridged(const Vec<N>& p, int octaves) {
    return OctaveSum(p, octaves, [](const Vec<N>& q) {
        float r = 1.0f - std::fabs(B::Value(q));
        return r * r;
    });
}

// v^e for an integer exponent; 0 to a negative power is infinite, as with pow. The exponents
// of mars_ (5 down to 0 for the default count) take the straight paths.
inline float IntPow(float v, int e) {
    float v2 = v * v;
    switch (e) {
        case 0:
            return 1.0f;
        case 1:
            return v;
        case 2:
            return v2;
        case 3:
            return v2 * v;
        case 4:
            return v2 * v2;
        case 5:
            return v2 * v2 * v;
        default:
            break;
    }
    float r = 1.0f;
    for (unsigned n = static_cast<unsigned>(std::abs(e)); n; n >>= 1, v *= v)
        if (n & 1) r *= v;
    return e < 0 ? 1.0f / r : r;
}

float CoherentValue(const Vec2& p) { return noise::CoherentNoise2(p[0], p[1]); }
float CoherentValue(const Vec3& p) { return noise::CoherentNoise3(p[0], p[1], p[2]); }
float CoherentGradient(const Vec2& p) { return noise::CoherentGradientNoise3(p[0], p[1], 0.0f); }
float CoherentGradient(const Vec3& p) { return noise::CoherentGradientNoise3(p[0], p[1], p[2]); }
float IqValue(const Vec2& p) { return noise::IqNoise2(p[0], p[1]); }
float IqValue(const Vec3& p) { return noise::IqNoise3(p[0], p[1], p[2]); }
float TexFbm(const Vec2& p, int octaves) { return texture::TexFbm2(p[0], p[1], octaves); }
float TexFbm(const Vec3& p, int octaves) { return texture::TexFbm3(p[0], p[1], p[2], octaves); }
float MercuryCrater(const Vec2& p) { return cellular::MercuryCrater2d(p[0], p[1]); }
float MercuryCrater(const Vec3& p) { return cellular::MercuryCrater3d(p[0], p[1], p[2]); }
float MoonCrater(const Vec2& p) { return cellular::MoonCrater2d(p[0], p[1]); }
float MoonCrater(const Vec3& p) { return cellular::MoonCrater3d(p[0], p[1], p[2]); }

// ---- 2. recipes ------------------------------------------------------------------------------

struct Heightfield {
    template <int N>
    static float At(Vec<N> p, int octaves) {
        p = Tame(p * 0.25f);
        float a = 0.5f, sum = 0.0f;
        for (int i = 0; i < octaves; ++i) {
            sum += CoherentValue(p) * a;
            a *= 0.5f;
            p = Step(p, 2.0f);
        }
        return sum;
    }
};

struct HeightfieldTx {
    template <int N>
    static float At(Vec<N> p, int octaves) {
        return TexFbm(Tame(p * 0.25f), octaves);
    }
};

// Craters of shrinking size and depth, all at one orientation; Shape gives kGrowth, kDepth and
// kMercury (a type, not float template parameters, which clang 14 does not take).
template <class Shape>
struct CraterOctaves {
    static constexpr float kGrowth = Shape::kGrowth, kDepth = Shape::kDepth;
    static constexpr bool kMercury = Shape::kMercury;

    template <int N>
    static float At(Vec<N> p, int octaves) {
        float c = 1.0f, sum = 0.0f;
        for (int i = 0; i < octaves; ++i) {
            Vec<N> q = Tame(p * (0.5f * c));
            sum += std::fabs(kMercury ? MercuryCrater(q) : MoonCrater(q)) / c;
            c *= kGrowth;
        }
        return 1.0f - kDepth * sum;
    }
};
struct MercuryShape {
    static constexpr float kGrowth = 2.7f, kDepth = 0.78f;
    static constexpr bool kMercury = true;
};
struct MoonShape {
    static constexpr float kGrowth = 2.3f, kDepth = 0.625f;
    static constexpr bool kMercury = false;
};
using Mercury = CraterOctaves<MercuryShape>;
using Moon = CraterOctaves<MoonShape>;

// Value noise damped where its slopes are steep: each axis collects |slope|^e minus a smooth
// step of the slope, with e falling by one an octave; alternating, shrinking weights.
template <class B>
struct Mars {
    template <int N>
    static float At(Vec<N> p, int octaves) {
        p = Tame(p * 0.25f);
        Vec<N> damp{};
        float w = 1.0f, h = -0.4f, sum = 0.0f;
        int e = 5;
        for (int i = 0; i < octaves; ++i) {
            Vec<N> g;
            float n = B::ValueD(p, &g);
            for (int k = 0; k < N; ++k)
                damp[k] += IntPow(std::fabs(g[k]), e) - SmoothUnit((g[k] + 0.5f) * 0.5f);
            sum += n * w / (Dot(damp, damp) + 0.85f);
            --e;
            w *= h;
            h *= 0.8f;
            p = Step<Sense::kRight>(p, 2.95f);
        }
        // Highs above 1.5 are compressed (the bases here stay below it).
        float c = sum < 1.5f ? 0.0f : SmoothUnit((sum - 1.5f) / 1.5f);
        return (sum / (c + 0.75f) + 0.5f) * 0.5f;
    }
};

struct Mountain {
    template <int N>
    static float At(Vec<N> p, int octaves) {
        p = Tame(p * 0.25f);
        float b = 0.75f * IqValue(p) + 0.15f;
        float g = 66.0f * b * b, sum = 0.0f;
        for (int i = 0; i < octaves; ++i) {
            sum += IqValue(p) * g;
            g *= -0.4f;
            p = Step<Sense::kRight>(p, 2.03f);
        }
        float peak = std::fabs(IqValue(p * 0.002f));
        float peak2 = peak * peak;
        return (75.0f * peak2 * peak2 * peak + sum) * 0.01f;
    }
};

// Ridges whose detail is carried downhill by the slopes gathered so far, and which fade where
// the height is still low.
template <class B>
struct Alps {
    template <int N>
    static float At(Vec<N> p, int octaves) {
        p = Tame(p);
        Vec<N> d{};
        float a = 1.0f, w = 3.5f, h = 0.0f;
        for (int i = 0; i < octaves; ++i) {
            Vec<N> g;
            float n = B::ValueD(Tame(p + d * (0.15f * a)), &g);
            h += (1.0f - 2.0f * std::fabs(n - 0.5f)) * w;
            d = d - g * (n * w);
            a *= 2.13f;
            w *= 0.4f * std::min(0.22f * h, 1.0f);
            p = Step<Sense::kRight>(p, 2.03f);
        }
        return 0.2f * h;
    }
};

template <class B>
struct Elevated {
    template <int N>
    static float At(Vec<N> p, int octaves) {
        p = Tame(p * 0.25f);
        Vec<N> d{};
        float w = 0.8f, sum = 0.0f;
        for (int i = 0; i < octaves; ++i) {
            Vec<N> g;
            float n = B::ValueD(p, &g);
            d = d + g;
            sum += n * w / (1.0f + Dot(d, d));
            w *= 0.5f;
            p = Step(p, 2.0f);
        }
        return 0.625f * sum;
    }
};

struct Hillock {
    template <int N>
    static float At(Vec<N> p, int octaves) {
        p = Tame(p * 0.25f);
        float g = 1.0f, sum = 0.0f;
        for (int i = 0; i < octaves; ++i) {
            sum += std::fabs(CoherentGradient(p)) * g;
            g *= 0.5f;
            p = Step(p, 2.0f);
        }
        return sum;
    }
};

// An island around every cell point of p / 6; the fbm wobbles its coast and raises its hills.
template <class B>
struct Island {
    template <int N>
    static float At(Vec<N> p, int octaves) {
        p = Tame(p);
        float f1 = std::sqrt(B::Cells(p * (1.0f / 6.0f)).d1);
        float shore = 1.0f - 2.0f * SmoothUnit(f1 / 0.9f);
        return 0.55f * shore + 0.45f * Fbm<B>(p * 0.5f, octaves);
    }
};

// Continents, with ridged mountains rising on land.
template <class B>
struct Earth {
    template <int N>
    static float At(Vec<N> p, int octaves) {
        p = Tame(p);
        float c = Fbm<B>(p * (1.0f / 6.0f), octaves);
        float r = Ridged<B>(p * 0.5f, std::max(octaves - 2, 1));
        return 0.7f * c + 0.3f * SmoothUnit(4.0f * c) * r;
    }
};

// Swells of p / 8 under long dune ridges: ridged noise of a few octaves, squeezed across the
// dunes and bent by the swells.
struct GobiDesert {
    template <int N>
    static float At(Vec<N> p, int octaves) {
        p = Tame(p);
        float swell = Fbm<HashBase>(p * 0.125f, octaves);
        Vec<N> q = p;
        q[0] = 0.12f * p[0] + 0.9f * swell;
        q[1] = 0.45f * p[1];
        float dunes = Ridged<HashBase>(q, std::min(octaves, 3));
        return 0.5f + 0.2f * swell + 0.3f * (dunes - 0.5f);
    }
};

// A warped fbm in soft terraces: each level rises over the last 30 % of its band.
struct AlienLandscape {
    template <int N>
    static float At(Vec<N> p, int octaves) {
        p = Tame(p * 0.25f);
        float warp = Fbm<HashBase>(p * 0.7f, 3);
        Vec<N> q = p;
        for (int k = 0; k < N; ++k) q[k] += 1.7f * warp;
        float t = 2.5f * Fbm<HashBase>(Tame(q), octaves);
        float level = std::floor(t);
        float h = (level + SmoothUnit((t - level - 0.7f) / 0.3f)) / 2.5f;
        return std::min(std::max(0.5f + 0.5f * h, 0.0f), 1.0f);
    }
};

// Boulders of every size over ridged ground.
struct RockTx {
    template <int N>
    static float At(const Vec<N>& p, int octaves) {
        return OctaveSum(Tame(p * 0.5f), octaves, [](const Vec<N>& q) {
            float ridge = 1.0f - std::fabs(TexBase::Value(q));
            return 0.65f * texture::TexSpheres(q, 0.9f, 0.5f) + 0.35f * ridge * ridge;
        });
    }
};

struct Escalated {
    template <int N>
    static float At(Vec<N> p, int octaves) {
        float s = 4.0f * (Fbm<HashBase>(Tame(p * 0.25f), octaves) + 1.0f);
        float level = std::floor(s);
        return (level + SmoothUnit((s - level - 0.6f) / 0.4f)) * 0.125f;
    }
};

template <class B>
struct Crater {
    template <int N>
    static float At(const Vec<N>& p, int octaves) {
        return OctaveSum(Tame(p * 0.5f), octaves, [](const Vec<N>& q) { return B::Craters(q); });
    }
};

// Cells raised where they are far from their border (F2 - F1 against `width`), each to its own
// height.
template <class Shape>
struct Patches {
    static constexpr float kWidth = Shape::kWidth, kLow = Shape::kLow;

    template <int N>
    static float At(const Vec<N>& p, int octaves) {
        return OctaveSum(Tame(p * 0.25f), octaves, [](const Vec<N>& q) {
            NearestTwo<N> c = HashBase::Cells(q);
            float inner = SmoothUnit((std::sqrt(c.d2) - std::sqrt(c.d1)) / kWidth);
            return inner * (kLow + (1.0f - kLow) * HashBase::CellValue(c.cell));
        });
    }
};
struct RockShape {
    static constexpr float kWidth = 0.3f, kLow = 0.5f;
};
struct IceShape {
    static constexpr float kWidth = 0.08f, kLow = 0.3f;
};
using RockPatch = Patches<RockShape>;
using IcePatch = Patches<IceShape>;

// ---- 3. table --------------------------------------------------------------------------------

template <class R, int N, int kDefault>
float Generate(const float* a, int n) {
    Vec<N> p;
    for (int k = 0; k < N; ++k) p[k] = fractal::Arg(a, n, k);
    return R::template At<N>(p, fractal::OctaveCount(a, n, N, kDefault));
}

struct TerrainRow {
    const char* name2;
    VariadicFn at2;
    const char* name3;
    VariadicFn at3;
};

template <class R, int kDefault>
constexpr TerrainRow Row(const char* name2, const char* name3) {
    return {name2, Generate<R, 2, kDefault>, name3, Generate<R, 3, kDefault>};
}

constexpr TerrainRow kRows[] = {
    Row<Heightfield, 12>("heightfield_2d", "heightfield_3d"),
    Row<HeightfieldTx, 12>("heightfield_tx_2d", "heightfield_tx_3d"),
    Row<Mercury, 6>("mercury_2d", "mercury_3d"),
    Row<Mars<HashBase>, 6>("mars_2d", "mars_3d"),
    Row<Mars<TexBase>, 6>("mars_tx_2d", "mars_tx_3d"),
    Row<Moon, 6>("moon_2d", "moon_3d"),
    Row<Mountain, 7>("mountain_2d", "mountain_3d"),
    Row<Alps<HashBase>, 6>("alps_2d", "alps_3d"),
    Row<Alps<TexBase>, 6>("alps_tx_2d", "alps_tx_3d"),
    Row<Island<HashBase>, 7>("island_2d", "island_3d"),
    Row<Island<TexBase>, 7>("island_tx_2d", "island_tx_3d"),
    Row<Elevated<HashBase>, 10>("elevated_2d", "elevated_3d"),
    Row<Elevated<TexBase>, 10>("elevated_tx_2d", "elevated_tx_3d"),
    Row<GobiDesert, 7>("gobi_desert_2d", "gobi_desert_3d"),
    Row<Hillock, 12>("hillock_2d", "hillock_3d"),
    Row<Earth<HashBase>, 8>("earth_2d", "earth_3d"),
    Row<Earth<TexBase>, 8>("earth_tx_2d", "earth_tx_3d"),
    Row<AlienLandscape, 6>("alien_landscape_2d", "alien_landscape_3d"),
    Row<RockTx, 8>("rock_tx_2d", "rock_tx_3d"),
    Row<Escalated, 9>("escalated_2d", "escalated_3d"),
    Row<Crater<HashBase>, 5>("crater_2d", "crater_3d"),
    Row<Crater<TexBase>, 5>("crater_tx_2d", "crater_tx_3d"),
    Row<RockPatch, 4>("rock_patch_2d", "rock_patch_3d"),
    Row<IcePatch, 4>("ice_patch_2d", "ice_patch_3d"),
};
constexpr size_t kRowCount = std::size(kRows);

// Registration order: every 2-D name, then every 3-D name.
template <size_t... I>
constexpr std::array<BuiltinFunction, 2 * kRowCount> Expand(std::index_sequence<I...>) {
    return {{BuiltinFunction(kRows[I].name2, kRows[I].at2)...,
             BuiltinFunction(kRows[I].name3, kRows[I].at3)...}};
}
constexpr auto kTerrain = Expand(std::make_index_sequence<kRowCount>{});
static_assert(kTerrain.size() == 48);

}  // namespace

FunctionTable TerrainFunctions() { return kTerrain; }

}  // namespace luneth
