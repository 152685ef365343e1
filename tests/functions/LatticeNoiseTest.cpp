// Lattice noises: registration, ranges, continuity, exact values at lattice points,
// periodicity, and the reference Perlin noises.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "BuiltinCall.h"
#include "NoiseTestPoints.h"
#include "functions/CoreGroup.h"
#include "functions/LatticeNoise.h"
#include "script/FunctionRegistry.h"

using namespace luneth;
using luneth::test::Call;

namespace {

// Every continuous noise of the family with its expected range. `extra` is the last
// argument of the periodic forms (the period) and of the four-argument patterns.
struct NoiseCase {
    const char* name;
    int dims;  // coordinates taken
    float lo, hi;
    float extra = 0.0f;
    bool hasExtra = false;
};

constexpr NoiseCase kNoises[] = {
    // value noise mapped to [-1, 1]
    {"xor_value_noise2", 2, -1, 1}, {"fdf_value_noise2", 2, -1, 1}, {"sin_value_noise2", 2, -1, 1},
    {"xor_value_noise3", 3, -1, 1}, {"fdf_value_noise3", 3, -1, 1}, {"sin_value_noise3", 3, -1, 1},
    {"value_noise2", 2, -1, 1},     {"value_noise3", 3, -1, 1},     {"coherent_noise1", 1, -1, 1},
    {"coherent_noise2", 2, -1, 1},  {"coherent_noise3", 3, -1, 1},  {"lm_noise2", 2, -1, 1},
    {"lm_noise3", 3, -1, 1},
    {"xor_cycle_value_noise2", 2, -1, 1, 8, true},
    {"xor_cycle_value_noise3", 3, -1, 1, 8, true},
    // value noise with corners in [0, 1)
    {"iq_noise2", 2, 0, 1},  {"iq_noise3", 3, 0, 1},      {"rf_noise2", 2, 0, 1},
    {"ts_noise2", 2, 0, 1},  {"ts_noise3", 3, 0, 1},      {"hmk_noise2", 2, 0, 1},
    {"hmk_noise3", 3, 0, 1}, {"iquilezles_noise3", 3, 0, 1}, {"hexagon_noise2", 2, 0, 1},
    {"cycle_noise2d", 2, 0, 1, 6, true}, {"cycle_noise3d", 3, 0, 1, 6, true},
    // gradient noise
    {"xor_gradient_noise2", 2, -1, 1}, {"fdf_gradient_noise2", 2, -1, 1},
    {"sin_gradient_noise2", 2, -1, 1}, {"xor_gradient_noise3", 3, -1, 1},
    {"fdf_gradient_noise3", 3, -1, 1}, {"sin_gradient_noise3", 3, -1, 1},
    {"gradient_noise2", 2, -1, 1},     {"gradient_noise3", 3, -1, 1},
    // libnoise's gradient coherent noise reaches a little beyond [-1, 1] (its 2.12 scale).
    {"coherent_gradient_noise3", 3, -1.25f, 1.25f}, {"jk_noise2", 2, -1, 1},
    {"pseudo_noise3", 3, -1.1f, 1.1f},  {"p_noise2f", 2, -1, 1}, {"p_noise3f", 3, -1, 1},
    {"c_noise2f", 2, -1.1f, 1.1f},
    {"xor_cycle_gradient_noise2", 2, -1, 1, 8, true},
    {"xor_cycle_gradient_noise3", 3, -1, 1, 8, true},
    {"perlin_noise_1d", 1, -1, 1}, {"perlin_noise_2d", 2, -1, 1}, {"perlin_noise_3d", 3, -1, 1},
    {"perlin_noise2", 2, -1, 1},   {"perlin_noise3", 3, -1.1f, 1.1f},
    // simplex noise
    {"xor_simplex_noise2", 2, -1, 1}, {"fdf_simplex_noise2", 2, -1, 1},
    {"sin_simplex_noise2", 2, -1, 1}, {"xor_simplex_noise3", 3, -1, 1},
    {"fdf_simplex_noise3", 3, -1, 1}, {"sin_simplex_noise3", 3, -1, 1},
    {"simplex_noise2", 2, -1, 1},     {"simplex_noise3", 3, -1, 1},
    {"as_noise2", 2, -1, 1},          {"as_noise3", 3, -1, 1}, {"ns_noise3", 3, -1, 1},
    {"xor_cycle_simplex_noise2", 2, -1, 1, 8, true},
    {"xor_cycle_simplex_noise3", 3, -1, 1, 8, true},
    // folded-sine and wave patterns
    {"sg_noise2", 2, -1, 1},  {"sg_noise3", 3, -1, 1},  {"sine_noise2", 2, -1, 1},
    {"sine_noise3", 3, -1, 1}, {"sine_noise4", 3, -1, 1, 0.5f, true},
    {"tri_noise3", 3, 0, 0.51f}, {"tri_noise4", 3, 0, 0.51f, 0.7f, true},
    {"quad_noise3", 3, 0, 0.51f}, {"quad_noise4", 3, 0, 0.51f, 0.7f, true},
    {"sin_wave_noise3", 3, -1, 1},
};

float Eval(const NoiseCase& c, float x, float y, float z) {
    switch (c.dims) {
        case 1: return Call(c.name, {x});
        case 2: return c.hasExtra ? Call(c.name, {x, y, c.extra}) : Call(c.name, {x, y});
        default: return c.hasExtra ? Call(c.name, {x, y, z, c.extra}) : Call(c.name, {x, y, z});
    }
}

// ---- registration ------------------------------------------------------------------------

// The names of the family, in core order with their kinds, all registered.
TEST(LatticeNoiseRegistration, EveryNameAtItsPlaceAndKind) {
    const char* const hashesAndNoise[] = {
        "perlin_noise_1d", "coherent_noise1", "xor_hash1", "fdf_hash1", "sin_hash1",
        "weyl_hash2", "gold_noise2", "xor_hash2", "fdf_hash2", "sin_hash2", "xor_hash3",
        "fdf_hash3", "sin_hash3", "weyl_noise2", "sin_wave_noise3", "iquilezles_noise3"};
    int registered = 0;
    uint32_t previous = 0;
    for (const CoreName& core : CoreGroupOrder()) {
        bool ours = std::any_of(std::begin(kNoises), std::end(kNoises),
                                [&](const NoiseCase& c) { return !std::strcmp(c.name, core.name); }) ||
                    std::any_of(std::begin(hashesAndNoise), std::end(hashesAndNoise),
                                [&](const char* n) { return !std::strcmp(n, core.name); });
        if (!ours) continue;
        const FunctionRecord* r = test::Builtin(core.name);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->kind, core.kind) << core.name;
        uint32_t index = LookupFunction(core.name);
        if (registered) {
            EXPECT_GT(index, previous) << core.name;
        }
        previous = index;
        ++registered;
    }
    EXPECT_EQ(registered, 82);
}

// ---- ranges and continuity -----------------------------------------------------------------

TEST(LatticeNoise, StaysInItsRange) {
    auto points = test::RandomPoints(6000, -60.0f, 60.0f);
    for (const NoiseCase& c : kNoises) {
        float lo = 1e30f, hi = -1e30f;
        for (const test::Point3& p : points) {
            float v = Eval(c, p.x, p.y, p.z);
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        EXPECT_GE(lo, c.lo) << c.name;
        EXPECT_LE(hi, c.hi) << c.name;
        if (c.hi == 1.0f && c.lo == 0.0f) {
            EXPECT_LT(hi, 1.0f) << c.name;
        }
        // A noise, not a constant: most of its range is reached.
        EXPECT_GT(hi - lo, 0.4f * (c.hi - c.lo)) << c.name;
    }
}

// Values on both sides of every cell border (integer coordinates, and anywhere along random
// segments, which cross simplex and triangle borders too) differ by a small amount only.
TEST(LatticeNoise, ContinuousAcrossCellBorders) {
    auto points = test::RandomPoints(300, -20.0f, 20.0f, 44);
    constexpr float kStep = 1e-3f;
    for (const NoiseCase& c : kNoises) {
        float worst = 0.0f;
        for (const test::Point3& p : points) {
            float k = std::floor(p.x);
            float axis[3] = {p.x, p.y, p.z};
            for (int d = 0; d < c.dims; ++d) {
                float below[3] = {p.x, p.y, p.z}, above[3] = {p.x, p.y, p.z};
                k = std::floor(axis[d]);
                below[d] = k - 2e-4f;
                above[d] = k + 2e-4f;
                float diff = std::fabs(Eval(c, below[0], below[1], below[2]) -
                                       Eval(c, above[0], above[1], above[2]));
                worst = std::max(worst, diff);
            }
            // A short walk along a random direction crosses borders of every lattice shape.
            float dx = std::sin(p.z), dy = std::cos(p.z) * 0.8f, dz = std::cos(p.z) * 0.6f;
            float prev = Eval(c, p.x, p.y, p.z);
            for (int s = 1; s <= 400; ++s) {
                float t = static_cast<float>(s) * kStep;
                float v = Eval(c, p.x + dx * t, p.y + dy * t, p.z + dz * t);
                worst = std::max(worst, std::fabs(v - prev));
                prev = v;
            }
        }
        EXPECT_LT(worst, 0.03f) << c.name;
    }
}

// ---- exact values at lattice points ----------------------------------------------------------

TEST(LatticeNoise, ValueNoiseReturnsTheMappedCornerHashAtLatticePoints) {
    struct Pair {
        const char* noise;
        const char* hash;
    };
    const Pair pairs[] = {{"xor_value_noise2", "xor_hash2"}, {"fdf_value_noise2", "fdf_hash2"},
                          {"sin_value_noise2", "sin_hash2"}, {"value_noise2", "sin_hash2"},
                          {"xor_value_noise3", "xor_hash3"}, {"fdf_value_noise3", "fdf_hash3"},
                          {"sin_value_noise3", "sin_hash3"}, {"value_noise3", "sin_hash3"}};
    auto points = test::RandomPoints(500, -300.0f, 300.0f, 8);
    for (const Pair& pair : pairs) {
        bool three = pair.noise[std::strlen(pair.noise) - 1] == '3';
        for (const test::Point3& p : points) {
            float x = std::floor(p.x), y = std::floor(p.y), z = std::floor(p.z);
            float v = three ? Call(pair.noise, {x, y, z}) : Call(pair.noise, {x, y});
            float h = three ? Call(pair.hash, {x, y, z}) : Call(pair.hash, {x, y});
            ASSERT_EQ(v, h * 2.0f - 1.0f) << pair.noise << " at " << x << ", " << y << ", " << z;
        }
    }
}

// The coherent value noise's corner is 1 - r / 2^30 with r the xor_ hash's integer: the same
// number as 1 - 2 xor_hash.
TEST(LatticeNoise, CoherentNoiseReturnsItsCornerValueAtLatticePoints) {
    auto points = test::RandomPoints(500, -3000.0f, 3000.0f, 12);
    for (const test::Point3& p : points) {
        float x = std::floor(p.x), y = std::floor(p.y), z = std::floor(p.z);
        EXPECT_EQ(Call("coherent_noise1", {x}), 1.0f - 2.0f * Call("xor_hash1", {x}));
        EXPECT_EQ(Call("coherent_noise2", {x, y}), 1.0f - 2.0f * Call("xor_hash2", {x, y}));
        EXPECT_EQ(Call("coherent_noise3", {x, y, z}), 1.0f - 2.0f * Call("xor_hash3", {x, y, z}));
    }
}

// Gradient noises vanish at lattice points: every corner's offset is zero there.
TEST(LatticeNoise, GradientNoiseIsZeroAtLatticePoints) {
    const char* const names[] = {
        "xor_gradient_noise2", "fdf_gradient_noise2", "sin_gradient_noise2", "gradient_noise2",
        "jk_noise2",           "p_noise2f",           "c_noise2f",           "perlin_noise_2d",
        "perlin_noise2",       "xor_gradient_noise3", "fdf_gradient_noise3", "sin_gradient_noise3",
        "gradient_noise3",     "p_noise3f",           "perlin_noise_3d",     "perlin_noise3",
        "coherent_gradient_noise3", "pseudo_noise3"};
    auto points = test::RandomPoints(200, -100.0f, 100.0f, 21);
    for (const char* name : names) {
        const FunctionRecord* r = test::Builtin(name);
        ASSERT_NE(r, nullptr);
        for (const test::Point3& p : points) {
            float x = std::floor(p.x), y = std::floor(p.y), z = std::floor(p.z);
            // pseudo_noise3's third argument is a parameter, not a coordinate.
            if (!std::strcmp(name, "pseudo_noise3")) z = p.z;
            float v = r->kind == kKindFloat2 ? Call(name, {x, y}) : Call(name, {x, y, z});
            ASSERT_EQ(v, 0.0f) << name << " at " << x << ", " << y << ", " << z;
        }
    }
    EXPECT_EQ(Call("perlin_noise_1d", {5.0f}), 0.0f);
}

// hmk_noise2 takes its corners at floor and ceil: at integer x both x corners coincide, so
// the value is the corner formula itself at integer (x, y), and between the two corners of
// that column elsewhere.
TEST(LatticeNoise, HmkNoiseAtIntegerX) {
    auto corner = [](float x, float y) {
        float v = std::sin(5.3357f * x - 5.8464f * y) * 256.75f + 0.325f;
        return v - std::floor(v);
    };
    auto points = test::RandomPoints(300, -40.0f, 40.0f, 31);
    for (const test::Point3& p : points) {
        float x = std::floor(p.x), y = std::floor(p.y);
        EXPECT_FLOAT_EQ(Call("hmk_noise2", {x, y}), corner(x, y));
        float v = Call("hmk_noise2", {x, p.y});
        float a = corner(x, std::floor(p.y)), b = corner(x, std::ceil(p.y));
        EXPECT_GE(v, std::min(a, b) - 1e-6f);
        EXPECT_LE(v, std::max(a, b) + 1e-6f);
    }
}

// ---- periodic noises -------------------------------------------------------------------------

TEST(LatticeNoise, CycleNoisesRepeatWithTheirPeriod) {
    struct Cycle {
        const char* name;
        int dims;
        bool unitTile;  // coordinates are multiplied by the period: the tile is 1 wide
    };
    const Cycle cycles[] = {
        {"xor_cycle_value_noise2", 2, false},    {"xor_cycle_gradient_noise2", 2, false},
        {"xor_cycle_simplex_noise2", 2, false},  {"xor_cycle_value_noise3", 3, false},
        {"xor_cycle_gradient_noise3", 3, false}, {"xor_cycle_simplex_noise3", 3, false},
        {"cycle_noise2d", 2, true},              {"cycle_noise3d", 3, true},
    };
    auto points = test::RandomPoints(150, 0.0f, 30.0f, 77);
    for (const Cycle& c : cycles) {
        for (float period : {1.0f, 2.0f, 3.0f, 5.0f, 8.0f, 13.0f}) {
            float shift = c.unitTile ? 1.0f : period;
            for (const test::Point3& q : points) {
                test::Point3 p = c.unitTile ? test::Point3{q.x / 30, q.y / 30, q.z / 30} : q;
                auto at = [&](float x, float y, float z) {
                    return c.dims == 2 ? Call(c.name, {x, y, period})
                                       : Call(c.name, {x, y, z, period});
                };
                float v = at(p.x, p.y, p.z);
                float tol = 2e-3f;
                EXPECT_NEAR(at(p.x + shift, p.y, p.z), v, tol) << c.name << " P=" << period;
                EXPECT_NEAR(at(p.x, p.y + shift, p.z), v, tol) << c.name << " P=" << period;
                EXPECT_NEAR(at(p.x + 2 * shift, p.y + shift, p.z), v, tol) << c.name;
                if (c.dims == 3) {
                    EXPECT_NEAR(at(p.x, p.y, p.z + shift), v, tol) << c.name;
                }
            }
        }
    }
}

// A period does not make the noise repeat sooner.
TEST(LatticeNoise, CycleNoisesDoNotRepeatWithinThePeriod) {
    auto points = test::RandomPoints(200, 0.0f, 30.0f, 78);
    for (const char* name : {"xor_cycle_value_noise2", "xor_cycle_gradient_noise2",
                             "xor_cycle_simplex_noise2"}) {
        int same = 0;
        for (const test::Point3& p : points)
            same += std::fabs(Call(name, {p.x, p.y, 8.0f}) - Call(name, {p.x + 4, p.y, 8.0f})) < 1e-4f;
        EXPECT_LT(same, 10) << name;
    }
}

// Bad coordinates and periods give NaN or a value in range, never a trap or a wild number.
TEST(LatticeNoise, BadPeriodsAndCoordinatesStayInRangeOrNaN) {
    const float bad[] = {0.0f, -3.0f, NAN, INFINITY, -INFINITY, 3e38f, -3e38f, 1e-40f};
    for (float v : bad) {
        for (const NoiseCase& c : kNoises) {
            NoiseCase odd = c;
            if (c.hasExtra) odd.extra = v;
            const float results[] = {Eval(c, v, 1.5f, 2.5f), Eval(c, 0.5f, v, v),
                                     Eval(odd, 3.25f, 4.5f, 1.75f)};
            for (float r : results) {
                EXPECT_TRUE(std::isnan(r) || (r >= c.lo && r <= c.hi))
                    << c.name << " gave " << r << " for " << v;
            }
        }
    }
}

// ---- the derivative of iquilezles_noise3 -----------------------------------------------------

TEST(LatticeNoise, IQuilezlesNoiseGradientMatchesFiniteDifferences) {
    auto points = test::RandomPoints(300, -30.0f, 30.0f, 90);
    const float h = 1e-3f;
    for (const test::Point3& p : points) {
        noise::Float3 g;
        float v = noise::IQuilezlesNoise3(p.x, p.y, p.z, &g);
        EXPECT_EQ(v, Call("iquilezles_noise3", {p.x, p.y, p.z}));
        float gx = (noise::IQuilezlesNoise3(p.x + h, p.y, p.z, nullptr) -
                    noise::IQuilezlesNoise3(p.x - h, p.y, p.z, nullptr)) / (2 * h);
        float gz = (noise::IQuilezlesNoise3(p.x, p.y, p.z + h, nullptr) -
                    noise::IQuilezlesNoise3(p.x, p.y, p.z - h, nullptr)) / (2 * h);
        EXPECT_NEAR(g.x, gx, 0.05f);
        EXPECT_NEAR(g.z, gz, 0.05f);
        noise::Float2 g2;
        noise::IQuilezlesNoise2(p.x, p.y, &g2);
        float gy2 = (noise::IQuilezlesNoise2(p.x, p.y + h, nullptr) -
                     noise::IQuilezlesNoise2(p.x, p.y - h, nullptr)) / (2 * h);
        EXPECT_NEAR(g2.y, gy2, 0.05f);
    }
}

// ---- reference Perlin noise ------------------------------------------------------------------

// The improved noise with the published permutation: the reference value at (3.14, 42, 7).
TEST(PerlinNoise, ImprovedNoiseMatchesTheReference) {
    EXPECT_NEAR(Call("perlin_noise3", {3.14f, 42.0f, 7.0f}), 0.13691996f, 2e-6f);
    // perlin_noise2 is the 3-D noise at z = 0.
    auto points = test::RandomPoints(200, -50.0f, 50.0f, 3);
    for (const test::Point3& p : points)
        EXPECT_EQ(Call("perlin_noise2", {p.x, p.y}), Call("perlin_noise3", {p.x, p.y, 0.0f}));
}

// The classic noise repeats every 256 cells (its tables wrap) and is continuous below the
// usual -4096 offset too.
TEST(PerlinNoise, ClassicNoiseWrapsEvery256Cells) {
    auto points = test::RandomPoints(200, -100.0f, 100.0f, 4);
    for (const test::Point3& p : points) {
        EXPECT_NEAR(Call("perlin_noise_1d", {p.x}), Call("perlin_noise_1d", {p.x + 256}), 1e-4f);
        EXPECT_NEAR(Call("perlin_noise_2d", {p.x, p.y}), Call("perlin_noise_2d", {p.x, p.y + 256}),
                    1e-4f);
        EXPECT_NEAR(Call("perlin_noise_3d", {p.x, p.y, p.z}),
                    Call("perlin_noise_3d", {p.x + 256, p.y, p.z}), 1e-4f);
    }
    float a = Call("perlin_noise_2d", {-5000.0002f, 0.3f}), b = Call("perlin_noise_2d", {-4999.9995f, 0.3f});
    EXPECT_NEAR(a, b, 0.01f);
}

}  // namespace
