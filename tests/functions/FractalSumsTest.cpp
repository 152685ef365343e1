// Fractal sums, warps and patterns: registration order, default counts, one-octave identities,
// ranges, continuity, the quasicrystal loop bounds, and the Gabor noise's texture reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "BuiltinCall.h"
#include "NoiseProbes.h"
#include "NoiseTestPoints.h"
#include "common/Random.h"
#include "functions/CoreGroup.h"
#include "functions/LatticeNoise.h"
#include "script/FunctionRegistry.h"

using namespace luneth;
using luneth::test::Call;

namespace {

// Calls a kind-9 member with its coordinates followed by `rest`.
float CallAt(const char* name, int dims, float x, float y, float z, std::vector<float> rest) {
    std::vector<float> args = {x, y, z};
    args.resize(static_cast<size_t>(dims));
    args.insert(args.end(), rest.begin(), rest.end());
    const FunctionRecord* r = test::Builtin(name);
    if (!r || r->kind != kKindVariadic) {
        ADD_FAILURE() << name << " is not a kind-9 function";
        return 0.0f;
    }
    args.resize(24, 0.0f);
    return r->slots.variadic(args.data(), static_cast<int>(dims + rest.size()));
}

// ---- registration --------------------------------------------------------------------------

// clang-format off
const char* const kFractalSumOrder[] = {
    "perlin_fbm_1d", "perlin_fbm_2d", "perlin_fbm_3d", "spiral_noise3", "spiral_k_noise3",
    "coherent_fbm1", "xor_value_fbm2", "xor_gradient_fbm2", "xor_simplex_fbm2", "fdf_value_fbm2",
    "fdf_gradient_fbm2", "fdf_simplex_fbm2", "sin_value_fbm2", "sin_gradient_fbm2",
    "sin_simplex_fbm2", "xor_value_turbulence2", "xor_gradient_turbulence2",
    "xor_simplex_turbulence2", "fdf_value_turbulence2", "fdf_gradient_turbulence2",
    "fdf_simplex_turbulence2", "sin_value_turbulence2", "sin_gradient_turbulence2",
    "sin_simplex_turbulence2", "iquilezles_fbm2", "c_fbm2f", "iq_fbm2", "value_fbm2",
    "value_abs_fbm2", "gradient_fbm2", "simplex_fbm2", "coherent_fbm2", "kali_pattern2d",
    "sine_pattern2d", "xor_value_fbm3", "xor_gradient_fbm3", "xor_simplex_fbm3", "fdf_value_fbm3",
    "fdf_gradient_fbm3", "fdf_simplex_fbm3", "sin_value_fbm3", "sin_gradient_fbm3",
    "sin_simplex_fbm3", "xor_value_turbulence3", "xor_gradient_turbulence3",
    "xor_simplex_turbulence3", "fdf_value_turbulence3", "fdf_gradient_turbulence3",
    "fdf_simplex_turbulence3", "sin_value_turbulence3", "sin_gradient_turbulence3",
    "sin_simplex_turbulence3", "iquilezles_fbm3", "iq_fbm3", "value_fbm3", "value_abs_fbm3",
    "gradient_fbm3", "simplex_fbm3", "pseudo_fbm3", "pseudo_abs_fbm3", "coherent_fbm3",
    "coherent_gradient_fbm3", "xor_noise_warp2d", "xor_noise_warp3d", "xor_fbm_warp2d",
    "xor_fbm_warp3d", "kaliset3", "kali_pattern3d", "mh_quasicrytals2d", "sine_pattern3d",
    "sea_wave2d", "gabor_noise2"};
// clang-format on

// The fractal-sum names open their group: consecutive indices after the core, kind 9.
TEST(FractalSumRegistration, OpensTheFractalGroupInOrder) {
    ASSERT_EQ(std::size(kFractalSumOrder), 72u);
    test::EnsureLibraryGroups();
    uint32_t first = LookupFunction(kFractalSumOrder[0]);
    EXPECT_GE(first, static_cast<uint32_t>(uint32_t(CoreGroupOrder().size())));
    for (size_t i = 0; i < std::size(kFractalSumOrder); ++i) {
        const FunctionRecord* r = test::Builtin(kFractalSumOrder[i]);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->kind, static_cast<uint32_t>(kKindVariadic)) << kFractalSumOrder[i];
        EXPECT_EQ(LookupFunction(kFractalSumOrder[i]), first + i) << kFractalSumOrder[i];
    }
    for (const char* name : {"tw_quasicrytals2d", "sin_quasicrytals2d"}) {
        const FunctionRecord* r = test::Builtin(name);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->kind, static_cast<uint32_t>(kKindFloat4));
        EXPECT_LT(LookupFunction(name), uint32_t(CoreGroupOrder().size()));
    }
}

// ---- counts ----------------------------------------------------------------------------------

// A member, its coordinates, the parameters before the count, and the count's default.
struct CountCase {
    const char* name;
    int dims;
    std::vector<float> params;  // arguments between the coordinates and the count
    int fallback;
};

// clang-format off
const CountCase kCountCases[] = {
    {"xor_value_fbm2", 2, {}, 4},          {"fdf_gradient_fbm2", 2, {}, 4},
    {"sin_simplex_fbm2", 2, {}, 4},        {"xor_gradient_fbm3", 3, {}, 4},
    {"sin_value_fbm3", 3, {}, 4},          {"fdf_simplex_turbulence2", 2, {}, 4},
    {"xor_value_turbulence3", 3, {}, 4},   {"iq_fbm2", 2, {}, 4},
    {"value_fbm2", 2, {}, 4},              {"value_abs_fbm2", 2, {}, 4},
    {"gradient_fbm2", 2, {}, 4},           {"coherent_fbm2", 2, {}, 4},
    {"c_fbm2f", 2, {}, 4},                 {"simplex_fbm2", 2, {}, 5},
    {"iq_fbm3", 3, {}, 4},                 {"value_fbm3", 3, {}, 4},
    {"value_abs_fbm3", 3, {}, 4},          {"gradient_fbm3", 3, {}, 4},
    {"coherent_fbm3", 3, {}, 4},           {"coherent_gradient_fbm3", 3, {}, 4},
    {"pseudo_fbm3", 3, {}, 4},             {"pseudo_abs_fbm3", 3, {}, 4},
    {"simplex_fbm3", 3, {}, 5},            {"coherent_fbm1", 1, {}, 4},
    {"iquilezles_fbm2", 2, {}, 6},         {"iquilezles_fbm3", 3, {}, 6},
    {"perlin_fbm_1d", 1, {2, 2}, 5},       {"perlin_fbm_2d", 2, {2, 2}, 5},
    {"perlin_fbm_3d", 3, {2, 2}, 5},       {"xor_noise_warp2d", 2, {1.5f}, 4},
    {"xor_noise_warp3d", 3, {1.5f}, 4},    {"kali_pattern2d", 2, {}, 26},
    {"kali_pattern3d", 3, {}, 26},         {"sine_pattern2d", 2, {}, 10},
    {"sine_pattern3d", 3, {}, 10},         {"spiral_noise3", 3, {}, 8},
    {"spiral_k_noise3", 3, {}, 8},         {"mh_quasicrytals2d", 2, {0.3f}, 20},
    {"sea_wave2d", 2, {0.7f}, 8},          {"gabor_noise2", 2, {6, 1}, 100},
};
// clang-format on

// Missing, zero, fractional and negative counts all select the default; the count is read
// (one more changes the result somewhere).
TEST(FractalSums, CountsBelowOneSelectTheDefault) {
    auto points = test::RandomPoints(40, -3.0f, 3.0f, 5);
    for (const CountCase& c : kCountCases) {
        bool changes = false;
        for (const test::Point3& p : points) {
            auto with = [&](std::vector<float> tail) {
                std::vector<float> rest = c.params;
                rest.insert(rest.end(), tail.begin(), tail.end());
                return CallAt(c.name, c.dims, p.x, p.y, p.z, rest);
            };
            const float expected = with({static_cast<float>(c.fallback)});
            EXPECT_EQ(with({0.0f}), expected) << c.name;
            EXPECT_EQ(with({0.5f}), expected) << c.name;
            EXPECT_EQ(with({-3.0f}), expected) << c.name;
            EXPECT_EQ(with({static_cast<float>(c.fallback) + 0.9f}), expected) << c.name;
            changes = changes || with({static_cast<float>(c.fallback + 1)}) != expected;
        }
        EXPECT_TRUE(changes) << c.name << " ignores its count";
        // Nothing after the coordinates at all: every parameter reads 0.
        if (c.params.empty()) {
            const test::Point3& p = points[0];
            EXPECT_EQ(CallAt(c.name, c.dims, p.x, p.y, p.z, {}),
                      CallAt(c.name, c.dims, p.x, p.y, p.z, {static_cast<float>(c.fallback)}))
                << c.name;
        }
    }
}

// perlin_fbm_*: alpha and beta below 0.1 become 2; the fbm warps have two counts.
TEST(FractalSums, PerlinRatesAndWarpCountsDefault) {
    auto points = test::RandomPoints(30, -4.0f, 4.0f, 6);
    for (const test::Point3& p : points) {
        EXPECT_EQ(Call("perlin_fbm_2d", {p.x, p.y}), Call("perlin_fbm_2d", {p.x, p.y, 2, 2, 5}));
        EXPECT_EQ(Call("perlin_fbm_3d", {p.x, p.y, p.z, 0.05f, -1, 0}),
                  Call("perlin_fbm_3d", {p.x, p.y, p.z, 2, 2, 5}));
        EXPECT_EQ(Call("xor_fbm_warp2d", {p.x, p.y, 0.8f}),
                  Call("xor_fbm_warp2d", {p.x, p.y, 0.8f, 3, 4}));
        EXPECT_EQ(Call("xor_fbm_warp3d", {p.x, p.y, p.z, 0.8f, -2, 0.3f}),
                  Call("xor_fbm_warp3d", {p.x, p.y, p.z, 0.8f, 3, 4}));
    }
    // Octave sum of the reference noise: noise(2^i p) / 2^i.
    for (const test::Point3& p : points) {
        double sum = 0.0;
        for (int i = 0; i < 5; ++i) {
            double s = std::ldexp(1.0, i);
            sum += noise::PerlinNoise2D(p.x * s, p.y * s) / s;
        }
        EXPECT_NEAR(Call("perlin_fbm_2d", {p.x, p.y}), sum, 1e-6);
    }
}

// Huge counts are bounded: they return promptly with the capped sum.
TEST(FractalSums, HugeCountsAreCapped) {
    EXPECT_EQ(Call("xor_value_fbm2", {0.3f, 0.9f, 1e9f}), Call("xor_value_fbm2", {0.3f, 0.9f, 64}));
    EXPECT_TRUE(std::isfinite(Call("xor_value_fbm2", {0.3f, 0.9f, 1e9f})));
    EXPECT_TRUE(std::isfinite(Call("kali_pattern2d", {0.3f, 0.9f, 3e9f})));
    EXPECT_TRUE(std::isfinite(Call("gabor_noise2", {0.3f, 0.9f, 4, 1, 1e12f, 0.1f})));
}

// ---- one-octave identities -----------------------------------------------------------------

// With one octave the normalised sum is its base noise (turbulence: its magnitude).
TEST(FractalSums, OneOctaveIsTheBaseNoise) {
    const char* const prefixes[] = {"xor_", "fdf_", "sin_"};
    const char* const kinds[] = {"value", "gradient", "simplex"};
    auto points = test::RandomPoints(200, -50.0f, 50.0f, 7);
    for (const char* prefix : prefixes) {
        for (const char* kind : kinds) {
            for (int dims : {2, 3}) {
                std::string base = std::string(prefix) + kind + "_noise" + std::to_string(dims);
                std::string fbm = std::string(prefix) + kind + "_fbm" + std::to_string(dims);
                std::string turb =
                    std::string(prefix) + kind + "_turbulence" + std::to_string(dims);
                for (const test::Point3& p : points) {
                    float n = dims == 2 ? Call(base.c_str(), {p.x, p.y})
                                        : Call(base.c_str(), {p.x, p.y, p.z});
                    ASSERT_EQ(CallAt(fbm.c_str(), dims, p.x, p.y, p.z, {1}), n) << fbm;
                    ASSERT_EQ(CallAt(turb.c_str(), dims, p.x, p.y, p.z, {1}), std::fabs(n)) << turb;
                }
            }
        }
    }
    for (const test::Point3& p : points) {
        EXPECT_EQ(Call("iq_fbm2", {p.x, p.y, 1}), Call("iq_noise2", {p.x, p.y}));
        EXPECT_EQ(Call("value_fbm3", {p.x, p.y, p.z, 1}), Call("value_noise3", {p.x, p.y, p.z}));
        EXPECT_EQ(Call("coherent_fbm2", {p.x, p.y, 1}), Call("coherent_noise2", {p.x, p.y}));
        EXPECT_EQ(Call("sine_pattern2d", {p.x, p.y, 1}), std::sin(p.x + p.y));
        EXPECT_EQ(Call("pseudo_fbm3", {p.x, p.y, p.z, 1}), Call("pseudo_noise3", {p.x, p.y, p.z}));
        noise::Float3 g;
        float n = noise::IQuilezlesNoise3(p.x, p.y, p.z, &g);
        EXPECT_FLOAT_EQ(Call("iquilezles_fbm3", {p.x, p.y, p.z, 1}),
                        0.5f * n / (1.0f + g.x * g.x + g.y * g.y + g.z * g.z));
        EXPECT_EQ(Call("c_fbm2f", {p.x, p.y, 1}),
                  (Call("c_noise2f", {p.x + 0.5f, p.y + 0.5f}) + 1.0f) * 0.5f);
    }
}

// ---- ranges ----------------------------------------------------------------------------------

struct RangeCase {
    const char* name;
    int dims;
    std::vector<float> params;
    float lo, hi;
};

// clang-format off
const RangeCase kRanges[] = {
    {"xor_value_fbm2", 2, {}, -1, 1},          {"fdf_value_fbm2", 2, {}, -1, 1},
    {"sin_value_fbm2", 2, {}, -1, 1},          {"xor_gradient_fbm2", 2, {6}, -1, 1},
    {"sin_simplex_fbm2", 2, {6}, -1, 1},       {"xor_value_fbm3", 3, {}, -1, 1},
    {"fdf_gradient_fbm3", 3, {}, -1, 1},       {"sin_simplex_fbm3", 3, {7}, -1, 1},
    {"xor_value_turbulence2", 2, {}, 0, 1},    {"fdf_gradient_turbulence2", 2, {}, 0, 1},
    {"sin_simplex_turbulence2", 2, {8}, 0, 1}, {"xor_simplex_turbulence3", 3, {}, 0, 1},
    {"fdf_value_turbulence3", 3, {}, 0, 1},    {"sin_gradient_turbulence3", 3, {}, 0, 1},
    {"value_fbm2", 2, {}, -1, 1},              {"value_abs_fbm2", 2, {}, 0, 1},
    {"value_fbm3", 3, {}, -1, 1},              {"value_abs_fbm3", 3, {}, 0, 1},
    {"iq_fbm2", 2, {}, 0, 1},                  {"iq_fbm3", 3, {}, 0, 1},
    {"coherent_fbm1", 1, {}, -1, 1},           {"coherent_fbm2", 2, {}, -1, 1},
    {"coherent_fbm3", 3, {}, -1, 1},           {"c_fbm2f", 2, {}, -0.05f, 1.05f},
    {"sine_pattern2d", 2, {}, -1, 1},          {"sine_pattern3d", 3, {}, -1, 1},
    {"xor_noise_warp2d", 2, {2}, -1, 1},       {"xor_fbm_warp3d", 3, {2}, -1, 1},
    {"mh_quasicrytals2d", 2, {0.5f}, -3, 3},   {"sea_wave2d", 2, {1.3f}, 0, 1},
    {"iquilezles_fbm2", 2, {}, 0, 1},          {"spiral_noise3", 3, {}, -5, 0},
};
// clang-format on

// Normalised sums keep their base's range ([-1, 1], turbulence [0, 1]) and use most of it.
TEST(FractalSums, StayInTheirRanges) {
    auto points = test::RandomPoints(3000, -40.0f, 40.0f, 9);
    for (const RangeCase& c : kRanges) {
        auto [lo, hi] = test::ObservedRange(points, [&](float x, float y, float z) {
            return CallAt(c.name, c.dims, x, y, z, c.params);
        });
        EXPECT_GE(lo, c.lo) << c.name;
        EXPECT_LE(hi, c.hi) << c.name;
        EXPECT_GT(hi - lo, 0.25f * (c.hi - c.lo)) << c.name;
    }
}

// ---- continuity ------------------------------------------------------------------------------

// Every smooth member changes little across integer borders and along short walks.
TEST(FractalSums, ContinuousAcrossCellBorders) {
    // clang-format off
    const RangeCase smooth[] = {
        {"xor_value_fbm2", 2, {}, 0, 0},       {"fdf_gradient_fbm3", 3, {}, 0, 0},
        {"sin_simplex_fbm2", 2, {}, 0, 0},     {"xor_simplex_fbm3", 3, {}, 0, 0},
        {"xor_gradient_turbulence2", 2, {}, 0, 0}, {"sin_value_turbulence3", 3, {}, 0, 0},
        {"iq_fbm2", 2, {}, 0, 0},              {"gradient_fbm3", 3, {}, 0, 0},
        {"simplex_fbm2", 2, {}, 0, 0},         {"coherent_gradient_fbm3", 3, {}, 0, 0},
        {"c_fbm2f", 2, {}, 0, 0},              {"pseudo_fbm3", 3, {}, 0, 0},
        {"iquilezles_fbm2", 2, {}, 0, 0},      {"iquilezles_fbm3", 3, {}, 0, 0},
        {"perlin_fbm_3d", 3, {}, 0, 0},        {"xor_noise_warp2d", 2, {0.7f}, 0, 0},
        {"xor_fbm_warp3d", 3, {0.7f}, 0, 0},   {"sine_pattern3d", 3, {}, 0, 0},
        {"spiral_noise3", 3, {}, 0, 0},        {"spiral_k_noise3", 3, {}, 0, 0},
        {"sea_wave2d", 2, {0.4f}, 0, 0},
        {"gabor_noise2", 2, {5, 1, 0, 0.2f}, 0, 0},
    };
    // clang-format on
    auto points = test::RandomPoints(150, -10.0f, 10.0f, 10);
    for (const RangeCase& c : smooth) {
        float worst = test::WorstJump(points, c.dims, [&](float x, float y, float z) {
            return CallAt(c.name, c.dims, x, y, z, c.params);
        });
        EXPECT_LT(worst, 0.02f) << c.name;
    }
}

// ---- patterns --------------------------------------------------------------------------------

TEST(Quasicrystals, NonPositiveStepsReturnZeroAndLoopsEnd) {
    for (float step : {0.0f, -1.0f, std::nanf("")}) {
        EXPECT_EQ(Call("tw_quasicrytals2d", {6.28f, step, 1, 2}), 0.0f);
        EXPECT_EQ(Call("sin_quasicrytals2d", {6.28f, step, 1, 2}), 0.0f);
    }
    // Steps far below the angle's resolution or huge limits end too.
    EXPECT_TRUE(std::isfinite(Call("sin_quasicrytals2d", {1.0f, 1e-30f, 1, 2})));
    EXPECT_TRUE(std::isfinite(Call("tw_quasicrytals2d", {1e30f, 1.0f, 1, 2})));
    EXPECT_TRUE(std::isfinite(Call("tw_quasicrytals2d", {INFINITY, 0.5f, 1, 2})));
}

// One wave at angle 0, two at 0 and 1.5: the sum and the triangle fold by the parity of its
// integer part.
TEST(Quasicrystals, SumAndFold) {
    auto points = test::RandomPoints(200, -20.0f, 20.0f, 11);
    for (const test::Point3& p : points) {
        float one = 0.5f * std::cos(p.x) + 0.5f;
        EXPECT_FLOAT_EQ(Call("tw_quasicrytals2d", {1, 1, p.x, p.y}), one);
        EXPECT_FLOAT_EQ(Call("sin_quasicrytals2d", {1, 1, p.x, p.y}), 0.5f * std::sin(one) + 0.5f);
        float two = one + 0.5f * std::cos(p.x * std::cos(1.5f) + p.y * std::sin(1.5f)) + 0.5f;
        float fold = two < 1.0f ? two : two < 2.0f ? 2.0f - two : 0.0f;
        EXPECT_NEAR(Call("tw_quasicrytals2d", {2, 1.5f, p.x, p.y}), fold, 1e-5f);
    }
    EXPECT_EQ(Call("sin_quasicrytals2d", {0, 1, 3, 4}), 0.5f);  // no wave below the limit
}

TEST(Patterns, SingleStepValues) {
    auto points = test::RandomPoints(100, -5.0f, 5.0f, 12);
    for (const test::Point3& p : points) {
        // One iteration of the kali fold: the first |q|^2.
        float c = (p.x - 0.2f * p.y) * 0.1f + 0.32f, qy = 0.1f * p.y + 0.61f;
        EXPECT_NEAR(Call("kali_pattern2d", {p.x, p.y, 1}),
                    (c * c + qy * qy) * 0.9f * (0.25f * p.x + 0.75f) - 1.5f, 1e-5f);
        // One wave of mh_quasicrytals2d at angle 0; one sea wave from the centre (0, 10).
        EXPECT_NEAR(Call("mh_quasicrytals2d", {p.x, p.y, p.z, 1}), 3.0f * std::sin(p.x + p.z),
                    1e-5f);
        float u = p.x + p.z * 0.5f, v = p.y + p.z * 0.5f - 10.0f;
        float s = std::sin(std::sqrt(u * u + v * v) * 2.0f - 2.0f * p.z);
        EXPECT_NEAR(Call("sea_wave2d", {p.x, p.y, p.z, 1}), std::pow(0.5f * s + 0.5f, 5.0f), 1e-5f);
        EXPECT_NEAR(Call("spiral_noise3", {p.x, p.y, p.z, 1}),
                    -std::fabs(std::cos(p.x) + std::sin(p.y)), 1e-6f);
        EXPECT_NEAR(Call("spiral_k_noise3", {p.x, p.y, p.z, 1}), std::sin(p.y) + std::cos(p.x),
                    1e-6f);
    }
    // kaliset3 never divides by zero at the origin.
    EXPECT_TRUE(std::isfinite(Call("kaliset3", {0, 0, 0})));
    EXPECT_TRUE(std::isfinite(Call("kali_pattern3d", {0, 0, 0})));
}

// ---- Gabor noise and the random texture ----------------------------------------------------

TEST(GaborNoise, WidthBelowEpsilonIs022) {
    auto points = test::RandomPoints(60, -1.0f, 2.0f, 13);
    for (const test::Point3& p : points) {
        float expected = Call("gabor_noise2", {p.x, p.y, 6, 1, 50, 0.22f});
        EXPECT_EQ(Call("gabor_noise2", {p.x, p.y, 6, 1, 50}), expected);
        EXPECT_EQ(Call("gabor_noise2", {p.x, p.y, 6, 1, 50, -3}), expected);
        EXPECT_EQ(Call("gabor_noise2", {p.x, p.y, 6, 1, 50, 1e-8f}), expected);
    }
    // Kernels sit in [0, 1.5) x [0, 1): far away the sum vanishes.
    EXPECT_EQ(Call("gabor_noise2", {40, 40, 6, 1, 100, 0.3f}), 0.0f);
}

// The texture is built once: reseeding or drawing from the shared generator afterwards does
// not change what its readers return.
TEST(GaborNoise, DeterministicWhateverTheGeneratorDoes) {
    auto points = test::RandomPoints(50, -0.5f, 2.0f, 14);
    std::vector<float> first;
    for (const test::Point3& p : points)
        first.push_back(Call("gabor_noise2", {p.x, p.y, 4, 0.5f, 80, 0.15f}));
    SRand(1);
    for (int i = 0; i < 1000; ++i) Rand();
    for (size_t i = 0; i < points.size(); ++i)
        EXPECT_EQ(Call("gabor_noise2", {points[i].x, points[i].y, 4, 0.5f, 80, 0.15f}), first[i]);
}

}  // namespace
