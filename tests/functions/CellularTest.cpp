// Cellular noise, craters and plains: core places and kinds, ranges and start-value bounds,
// zeros at feature points, the tiling period of xor_worleyex, smooth Voronoi's limit,
// continuity, hostile input, and the shared random texture.
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
#include "functions/NoiseHash.h"
#include "functions/RandomTexture.h"
#include "script/FunctionRegistry.h"

using namespace luneth;
using luneth::test::Call;

namespace {

// Evaluates a kind 6/7/8 member at (x, y[, z]) with an optional trailing parameter.
struct Member {
    const char* name;
    int dims;
    float lo, hi;        // range
    float extra = NAN;   // trailing parameter (smoothness, jitter ...), if any
    float extra2 = NAN;  // second trailing parameter
};

float Eval(const Member& m, float x, float y, float z) {
    std::vector<float> args = {x, y, z};
    args.resize(static_cast<size_t>(m.dims));
    if (!std::isnan(m.extra)) args.push_back(m.extra);
    if (!std::isnan(m.extra2)) args.push_back(m.extra2);
    const FunctionRecord* r = test::Builtin(m.name);
    if (!r) return 0.0f;
    switch (args.size()) {
        case 2:
            return r->slots.float2(args[0], args[1]);
        case 3:
            return r->slots.float3(args[0], args[1], args[2]);
        case 4:
            return r->slots.float4(args[0], args[1], args[2], args[3]);
        default:
            args.resize(24, 0.0f);
            return r->slots.variadic(args.data(), 5);
    }
}

constexpr float kSqrt2 = 1.4142135f, kSqrt3 = 1.7320508f;

// clang-format off
const Member kMembers[] = {
    // Worley cores: bounded by their start values
    {"xor_worley2d", 2, 0, kSqrt3},       {"fdf_worley2d", 2, 0, kSqrt3},
    {"sin_worley2d", 2, 0, kSqrt3},       {"xor_worley3d", 3, 0, kSqrt3},
    {"fdf_worley3d", 3, 0, kSqrt3},       {"sin_worley3d", 3, 0, kSqrt3},
    {"xor_fast_worley2d", 2, 0, kSqrt2},  {"fdf_fast_worley2d", 2, 0, kSqrt2},
    {"sin_fast_worley2d", 2, 0, kSqrt2},  {"xor_fast_worley3d", 3, 0, kSqrt2},
    {"fdf_fast_worley3d", 3, 0, kSqrt2},  {"sin_fast_worley3d", 3, 0, kSqrt2},
    {"xor_worleyex2d", 2, 0, kSqrt3, 0.8f, 5}, {"xor_worleyex3d", 3, 0, kSqrt3, 0.8f, 5},
    // named Voronoi
    {"iq_voronoi2d", 2, 0, 1.5f},         {"iq_voronoi3d", 3, 0, 1},
    {"ak_voronoi2d", 2, 0, 1.5f},         {"ak_voronoi3d", 3, 0, 1.8f},
    {"kt_voronoi2d", 2, 0, 1},            {"kt_voronoi3d", 3, 0, 1},
    {"ga_voronoi2d", 2, -1, 1},           {"ga_voronoi3d", 3, -1, 1},
    {"mp_voronoi2d", 2, 0, 2.83f},        {"fast_voronoi2d", 2, 0, 1},
    {"tap3_voronoi2d", 2, 0, 1},          {"voronesque3d", 3, 0, 1},
    {"la_worley2d", 2, 0, kSqrt3},        {"la_worley3d", 3, 0, kSqrt3},
    {"circle_worley2d", 2, 0, 4 * kSqrt3}, {"circle_worley3d", 3, 0, 4 * kSqrt3},
    {"smooth_voronoi2d", 2, 0, 1.5f, 0.3f},
    {"iq_voronoise2d", 2, -1, 1},         {"iq_voronoise3d", 3, -1, 1},
    {"iq_voronoise2d_uv", 2, 0, 1, 0.9f, 0.6f},
    // cellular grids
    {"tw_cellular2d", 2, 0, 0.7072f},     {"tw_cellular3d", 3, 0, 0.8661f},
    {"li_cellular2d", 2, 0, 1},           {"tile_cell2d", 2, 0, 1},
    {"tile_cell3d", 3, 0, 1},             {"tiled_cellular2d", 2, 0, 1},
    {"tiled_cellular3d", 3, 0, 1.2f},
    // craters
    {"yf_crater2d", 2, -0.2f, 1},         {"yf_crater3d", 3, -0.2f, 1},
    {"moon_crater2d", 2, -1, 1},          {"moon_crater3d", 3, -1, 1},
    {"mercury_crater2d", 2, -1, 1},       {"mercury_crater3d", 3, -1, 1},
    // plains
    {"jagged_plain2d", 2, 0, 1},          {"jagged_plain3d", 3, 0, 1},
    {"jagged_smooth_plain2d", 2, 0, 1},   {"jagged_smooth_plain3d", 3, 0, 1},
    {"sinusoids_plain2d", 2, 0, 1},       {"sinusoids_plain3d", 3, 0, 1},
    {"terraced_hills2d", 2, 0, 1},        {"terraced_hills3d", 3, 0, 1},
    {"terraced_smooth_hills2d", 2, 0, 1}, {"terraced_smooth_hills3d", 3, 0, 1},
    {"crateria_plain2d", 2, 0, 1},        {"crateria_plain3d", 3, 0, 1},
    {"cone_plain2d", 2, 0, 1},            {"cone_plain3d", 3, 0, 1},
    {"desert_plain2d", 2, -0.36f, 0.36f}, {"desert_plain3d", 3, -0.36f, 0.36f},
};
// clang-format on

// ---- registration --------------------------------------------------------------------------

// Every member and both kind-8 quasicrystals sit in the core group in .def order, with their
// kinds.
TEST(CellularRegistration, EveryNameAtItsCorePlaceAndKind) {
    auto ours = [](const char* name) {
        return std::any_of(std::begin(kMembers), std::end(kMembers),
                           [&](const Member& m) { return !std::strcmp(m.name, name); }) ||
               !std::strcmp(name, "tw_quasicrytals2d") || !std::strcmp(name, "sin_quasicrytals2d");
    };
    int found = 0;
    uint32_t previous = 0;
    for (const CoreName& core : CoreGroupOrder()) {
        if (!ours(core.name)) continue;
        const FunctionRecord* r = test::Builtin(core.name);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->kind, core.kind) << core.name;
        uint32_t index = LookupFunction(core.name);
        EXPECT_LT(index, uint32_t(CoreGroupOrder().size())) << core.name;
        if (found) {
            EXPECT_GT(index, previous) << core.name;
        }
        previous = index;
        ++found;
    }
    EXPECT_EQ(found, static_cast<int>(std::size(kMembers)) + 2);
}

// ---- ranges ----------------------------------------------------------------------------------

TEST(Cellular, StaysInItsRange) {
    auto points = test::RandomPoints(4000, -60.0f, 60.0f, 21);
    for (const Member& m : kMembers) {
        auto [lo, hi] = test::ObservedRange(
            points, [&](float x, float y, float z) { return Eval(m, x, y, z); });
        EXPECT_GE(lo, m.lo) << m.name;
        EXPECT_LE(hi, m.hi) << m.name;
        EXPECT_GT(hi - lo, 0.2f * (m.hi - m.lo)) << m.name << " is nearly constant";
    }
}

// The start values bound the result even when every point leaves the window: with a huge
// jitter the extended Worley noise returns exactly sqrt 3.
TEST(Cellular, StartValuesBoundTheDistance) {
    auto points = test::RandomPoints(200, -30.0f, 30.0f, 22);
    for (const test::Point3& p : points) {
        EXPECT_EQ(Call("xor_worleyex2d", {p.x, p.y, 1e4f, 0}), std::sqrt(3.0f));
        EXPECT_EQ(Call("xor_worleyex3d", {p.x, p.y, p.z, 1e4f, 0}), std::sqrt(3.0f));
    }
}

// ---- feature points --------------------------------------------------------------------------

// At a cell's own feature point the distance is zero.
TEST(Cellular, ZeroAtFeaturePoints) {
    using noise::Float2;
    using noise::Float3;
    auto points = test::RandomPoints(300, -500.0f, 500.0f, 23);
    for (const test::Point3& p : points) {
        float cx = std::floor(p.x), cy = std::floor(p.y), cz = std::floor(p.z);
        Float2 x2 = noise::XorHash::Hash22(cx, cy);
        Float2 s2 = noise::SinHash::Hash22(cx, cy);
        Float3 f3 = noise::FdfHash::Hash33(cx, cy, cz);
        EXPECT_NEAR(Call("xor_worley2d", {cx + x2.x, cy + x2.y}), 0.0f, 1e-4f);
        EXPECT_NEAR(Call("sin_worley2d", {cx + s2.x, cy + s2.y}), 0.0f, 1e-4f);
        EXPECT_NEAR(Call("fdf_worley3d", {cx + f3.x, cy + f3.y, cz + f3.z}), 0.0f, 1e-4f);
        EXPECT_NEAR(
            Call("xor_fast_worley2d", {cx + (x2.x - 0.5f) * 0.618f, cy + (x2.y - 0.5f) * 0.618f}),
            0.0f, 1e-4f);
        EXPECT_NEAR(Call("iq_voronoi2d", {cx + noise::XorHash::Hash2(cx, cy),
                                          cy + noise::XorHash::Hash2(cx + 13, cy + 51)}),
                    0.0f, 1e-4f);
        Float3 x3 = noise::XorHash::Hash33(cx, cy, cz);
        EXPECT_NEAR(Call("iq_voronoi3d", {cx + x3.x, cy + x3.y, cz + x3.z}), 0.0f, 1e-4f);
    }
}

// ---- the extended Worley noise ---------------------------------------------------------------

TEST(Cellular, WorleyexJitterOneIsTheWorleyCore) {
    auto points = test::RandomPoints(500, -100.0f, 100.0f, 24);
    for (const test::Point3& p : points) {
        EXPECT_EQ(Call("xor_worleyex2d", {p.x, p.y, 1, 0}), Call("xor_worley2d", {p.x, p.y}));
        EXPECT_EQ(Call("xor_worleyex3d", {p.x, p.y, p.z, 1, 1.5f}),
                  Call("xor_worley3d", {p.x, p.y, p.z}));
    }
}

// Period 4 tiles along each axis (also for negative coordinates); below 2 nothing wraps.
TEST(Cellular, WorleyexRepeatsWithItsPeriod) {
    auto points = test::RandomPoints(400, -40.0f, 40.0f, 25);
    int differ = 0, inner = 0;
    for (const test::Point3& p : points) {
        // Coordinates on a 1/256 grid keep x + 4 exact.
        float x = std::round(p.x * 256.0f) / 256.0f, y = std::round(p.y * 256.0f) / 256.0f;
        float z = std::round(p.z * 256.0f) / 256.0f;
        float v = Call("xor_worleyex2d", {x, y, 1, 4});
        EXPECT_EQ(Call("xor_worleyex2d", {x + 4, y, 1, 4}), v);
        EXPECT_EQ(Call("xor_worleyex2d", {x, y - 8, 1, 4}), v);
        float w = Call("xor_worleyex3d", {x, y, z, 0.9f, 4});
        EXPECT_EQ(Call("xor_worleyex3d", {x + 4, y, z, 0.9f, 4}), w);
        EXPECT_EQ(Call("xor_worleyex3d", {x, y, z - 4, 0.9f, 4}), w);
        differ +=
            Call("xor_worleyex2d", {x + 4, y, 1, 1.9f}) != Call("xor_worleyex2d", {x, y, 1, 1.9f});
        // Within the period the pattern does not repeat.
        inner += Call("xor_worleyex2d", {x + 2, y, 1, 4}) != v;
    }
    EXPECT_GT(differ, 350);
    EXPECT_GT(inner, 350);
}

// ---- smooth Voronoi --------------------------------------------------------------------------

// A vanishing smoothness gives the plain minimum over the 5x5 window of the per-point scaled
// distances.
TEST(Cellular, SmoothVoronoiApproachesTheScaledMinimum) {
    auto points = test::RandomPoints(300, -50.0f, 50.0f, 26);
    for (const test::Point3& p : points) {
        float cx = std::floor(p.x), cy = std::floor(p.y), best = 8.0f;
        for (int j = -2; j <= 2; ++j) {
            for (int i = -2; i <= 2; ++i) {
                noise::Float2 h = noise::SinHash::Hash22(cx + i, cy + j);
                float dx = cx + i + h.x - p.x, dy = cy + j + h.y - p.y;
                best = std::min(best, std::sqrt(dx * dx + dy * dy) * (0.5f * h.x + 0.5f));
            }
        }
        EXPECT_NEAR(Call("smooth_voronoi2d", {p.x, p.y, 0}), best, 1e-5f);
        EXPECT_NEAR(Call("smooth_voronoi2d", {p.x, p.y, 1e-4f}), best, 1e-3f);
    }
}

// ---- continuity ------------------------------------------------------------------------------

// Steps of 2e-4 across cell borders and along short walks change the continuous members by
// little; the Gaussian-weighted sums (ga_, moon_) too, since their windows keep every point of
// weight.
TEST(Cellular, ContinuousAcrossCellBorders) {
    // clang-format off
    const Member smooth[] = {
        {"xor_worley2d", 2, 0, 0},       {"sin_worley3d", 3, 0, 0},
        {"iq_voronoi2d", 2, 0, 0},       {"ga_voronoi2d", 2, 0, 0},
        {"ga_voronoi3d", 3, 0, 0},       {"smooth_voronoi2d", 2, 0, 0, 0.2f},
        {"iq_voronoise2d_uv", 2, 0, 0, 0.8f, 1.0f},
        {"moon_crater2d", 2, 0, 0},      {"moon_crater3d", 3, 0, 0},
        {"tw_cellular2d", 2, 0, 0},      {"tw_cellular3d", 3, 0, 0},
        {"li_cellular2d", 2, 0, 0},      {"tile_cell2d", 2, 0, 0},
        {"tiled_cellular3d", 3, 0, 0},   {"jagged_smooth_plain2d", 2, 0, 0},
        {"crateria_plain2d", 2, 0, 0},   {"crateria_plain3d", 3, 0, 0},
        {"sinusoids_plain3d", 3, 0, 0},  {"terraced_smooth_hills2d", 2, 0, 0},
        {"desert_plain3d", 3, 0, 0},     {"cone_plain2d", 2, 0, 0},
        {"cone_plain3d", 3, 0, 0},
    };
    // clang-format on
    auto points = test::RandomPoints(150, -30.0f, 30.0f, 27);
    for (const Member& m : smooth) {
        float worst = test::WorstJump(points, m.dims,
                                      [&](float x, float y, float z) { return Eval(m, x, y, z); });
        EXPECT_LT(worst, 0.01f) << m.name;
    }
}

// ---- hostile input ---------------------------------------------------------------------------

// NaN, infinities and huge coordinates read inside every table and never give infinities;
// the distance searches fall back to their start values.
TEST(Cellular, HostileCoordinatesNeitherCrashNorEscape) {
    const float bad[] = {NAN, INFINITY, -INFINITY, 3e38f, -3e38f, 1e9f, -16777217.0f};
    for (const Member& m : kMembers) {
        for (float b : bad) {
            EXPECT_FALSE(std::isinf(Eval(m, b, 0.5f, b))) << m.name << " at " << b;
            EXPECT_FALSE(std::isinf(Eval(m, 0.5f, b, 0.25f))) << m.name << " at " << b;
        }
    }
    EXPECT_EQ(Call("xor_worley2d", {NAN, 1}), std::sqrt(3.0f));
    EXPECT_EQ(Call("sin_worley3d", {1, 2, INFINITY}), std::sqrt(3.0f));
    EXPECT_EQ(Call("xor_fast_worley3d", {1, NAN, 1}), std::sqrt(2.0f));
    EXPECT_EQ(Call("iq_voronoi2d", {NAN, 1}), 10.0f);
    EXPECT_EQ(Call("ak_voronoi3d", {1, 1, -INFINITY}), 1000.0f);
}

// ---- the shared random texture ---------------------------------------------------------------

// Four planes from the generator seeded with 9527, in order; Worley plane and 3-D table agree
// with a direct search and stay below their start values.
TEST(RandomTexture, ContentsAndDistanceTables) {
    const texture::RandomTexture& t = texture::GetRandomTexture();
    ASSERT_EQ(t.values.size(), 262144u);
    ASSERT_EQ(t.worley.size(), 65536u);
    ASSERT_EQ(t.worley3.size(), 67u * 61u * 59u);
    SRand(9527);
    for (int i = 0; i < 262144; ++i) ASSERT_EQ(t.values[i], RandUnit()) << i;
    for (float v : t.values) ASSERT_TRUE(v >= 0.0f && v < 1.0f);
    for (float v : t.worley) ASSERT_TRUE(v >= 0.0f && v <= std::sqrt(2.0f));
    for (float v : t.worley3) ASSERT_TRUE(v >= 0.0f && v <= std::sqrt(3.0f));

    const float* px = t.Plane(1);
    const float* py = t.Plane(2);
    for (int probe : {0, 255, 256 * 17 + 3, 65535}) {
        int i = probe / 256, j = probe % 256;
        float best = 2.0f;
        for (int di = -1; di <= 1; ++di) {
            for (int dj = -1; dj <= 1; ++dj) {
                if (!di && !dj) continue;
                int k = ((i + di + 256) % 256) * 256 + (j + dj + 256) % 256;
                float dx = dj + px[k] - px[probe], dy = di + py[k] - py[probe];
                best = std::min(best, dx * dx + dy * dy);
            }
        }
        EXPECT_FLOAT_EQ(t.worley[probe], std::sqrt(best)) << probe;
    }
    auto point = [&](int k, int stride) { return t.values[(int64_t(k) * stride) % 262144]; };
    for (int probe : {0, 66, 67 * 60, 67 * 61 * 58 + 5}) {
        int x = probe % 67, y = probe / 67 % 61, z = probe / (67 * 61);
        float best = 3.0f;
        for (int dz = -1; dz <= 1; ++dz)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    if (!dx && !dy && !dz) continue;
                    int n =
                        (x + dx + 67) % 67 + 67 * ((y + dy + 61) % 61 + 61 * ((z + dz + 59) % 59));
                    float ex = dx + point(n, 1) - point(probe, 1);
                    float ey = dy + point(n, 11) - point(probe, 11);
                    float ez = dz + point(n, 17) - point(probe, 17);
                    best = std::min(best, ex * ex + ey * ey + ez * ez);
                }
        EXPECT_FLOAT_EQ(t.worley3[probe], std::sqrt(best)) << probe;
    }
}

// The cone plains read the texture: periodic with it, and unchanged by later generator use.
TEST(RandomTexture, ConePlainsAreDeterministicAndPeriodic) {
    auto points = test::RandomPoints(200, -300.0f, 300.0f, 28);
    std::vector<float> first;
    for (const test::Point3& p : points) {
        first.push_back(Call("cone_plain2d", {p.x, p.y}));
        first.push_back(Call("cone_plain3d", {p.x, p.y, p.z}));
    }
    SRand(77);
    for (int i = 0; i < 5000; ++i) Rand();
    for (size_t i = 0; i < points.size(); ++i) {
        const test::Point3& p = points[i];
        EXPECT_EQ(Call("cone_plain2d", {p.x, p.y}), first[2 * i]);
        EXPECT_EQ(Call("cone_plain3d", {p.x, p.y, p.z}), first[2 * i + 1]);
    }
    // The height term repeats every 256 texels.
    for (const test::Point3& p : points) {
        float x = std::round(p.x * 64.0f) / 64.0f, y = std::round(p.y * 64.0f) / 64.0f;
        EXPECT_EQ(texture::TexLiner2(x + 256, y), texture::TexLiner2(x, y));
        EXPECT_EQ(texture::TexNoise2(x, y - 512), texture::TexNoise2(x, y));
    }
}

}  // namespace
