// The texture group: its names in registration order, the random texture's first values and
// wraps, exact sampler rules, the material table and the mineral colours, and ranges,
// continuity and hostile input over the whole family.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "BuiltinCall.h"
#include "NoiseProbes.h"
#include "NoiseTestPoints.h"
#include "functions/Materials.h"
#include "functions/RandomTexture.h"
#include "script/FunctionRegistry.h"

using namespace luneth;
using luneth::test::Call;

namespace {

constexpr float kColour = NAN;  // range of a colour-word member: checked by its alpha instead
constexpr float kS2 = 1.4142136f, kS3 = 1.7320508f;

struct Member {
    const char* name;
    uint32_t kind;
    int dims;
    float lo, hi;
    bool continuous;
    std::vector<float> params = {};  // after the coordinates
};

// clang-format off
const Member kMembers[] = {
    {"tex_hash1", 5, 1, 0, 1, false},         {"tex_liner1", 5, 1, 0, 1, true},
    {"tex_noise1", 5, 1, 0, 1, true},         {"tex_fbm1", 9, 1, 0, 1, true},
    {"tex_hash2", 6, 2, 0, 1, false},         {"tex_liner2", 6, 2, 0, 1, true},
    {"tex_noise2", 6, 2, 0, 1, true},         {"tex_fbm2", 9, 2, 0, 1, true},
    {"tex_iquilezles_fbm2", 9, 2, 0, 1, true}, {"tex_value_noise2", 6, 2, -1, 1, true},
    {"tex_simplex_noise2", 6, 2, -1, 1, true}, {"tex_gradient_noise2", 6, 2, -1, 1, true},
    {"tex_worley2d", 6, 2, 0, kS3, true},     {"tex_fast_worley2d", 6, 2, 0, kS2, false},
    {"tex_circle_worley2d", 6, 2, 0, 4 * kS3, false}, {"tex_border_worley2d", 6, 2, 0, 1, true},
    {"tex_voronoise2d", 6, 2, -1, 1, true},   {"tex_hash3", 7, 3, 0, 1, false},
    {"tex_liner3", 7, 3, 0, 1, true},         {"tex_noise3", 7, 3, 0, 1, true},
    {"tex_fbm3", 9, 3, 0, 1, true},           {"tex_iquilezles_fbm3", 9, 3, 0, 1, true},
    {"tex_value_noise3", 7, 3, -1, 1, true},  {"tex_simplex_noise3", 7, 3, -1, 1, true},
    {"tex_gradient_noise3", 7, 3, -1, 1, true}, {"tex_worley3d", 7, 3, 0, kS3, true},
    {"tex_fast_worley3d", 7, 3, 0, kS2, false}, {"tex_circle_worley3d", 7, 3, 0, 4 * kS3, false},
    {"tex_border_worley3d", 7, 3, 0, 1, true}, {"tex_voronoise3d", 7, 3, -1, 1, true},
    {"tex_color_noise1", 5, 1, kColour, kColour, false}, {"tex_color_fbm1", 9, 1, kColour, kColour, false},
    {"tex_color_rand2", 6, 2, kColour, kColour, false}, {"tex_color_noise2", 6, 2, kColour, kColour, false},
    {"tex_color_fbm2", 9, 2, kColour, kColour, false}, {"tex_worley2d_color", 9, 2, kColour, kColour, false},
    {"tex_worley3d_color", 9, 3, kColour, kColour, false}, {"tex_craters2d", 9, 2, -1, 0.3f, true},
    {"tex_craters3d", 9, 3, -1, 0.3f, true},  {"mineral2d_color", 6, 2, kColour, kColour, false},
    {"mineral3d_color", 7, 3, kColour, kColour, false},
    {"tex_value_fbm2", 9, 2, -1, 1, true},    {"tex_simplex_fbm2", 9, 2, -1, 1, true},
    {"tex_gradient_fbm2", 9, 2, -1, 1, true}, {"tex_value_turbulence2", 9, 2, 0, 1, true},
    {"tex_simplex_turbulence2", 9, 2, 0, 1, true}, {"tex_gradient_turbulence2", 9, 2, 0, 1, true},
    {"tex_value_fbm3", 9, 3, -1, 1, true},    {"tex_simplex_fbm3", 9, 3, -1, 1, true},
    {"tex_gradient_fbm3", 9, 3, -1, 1, true}, {"tex_value_turbulence3", 9, 3, 0, 1, true},
    {"tex_simplex_turbulence3", 9, 3, 0, 1, true}, {"tex_gradient_turbulence3", 9, 3, 0, 1, true},
    {"tex_noise_warp2d", 9, 2, -1, 1, true, {0.8f}}, {"tex_fbm_warp2d", 9, 2, -1, 1, true, {0.8f}},
    {"tex_noise_warp3d", 9, 3, -1, 1, true, {0.8f}}, {"tex_fbm_warp3d", 9, 3, -1, 1, true, {0.8f}},
    {"tex_extend_worley2d", 7, 2, 0, 2.13f, true, {0.7f}},
    {"tex_extend_worley3d", 8, 3, 0, 2.13f, true, {1.6f}},
    {"tex_sphere_worley2d", 8, 2, 0, 1, true, {0.9f, 1}},
    {"tex_sphere_worley3d", 9, 3, 0, 1, true, {0.9f, 1}},
};
// clang-format on

float Eval(const Member& m, float x, float y, float z) {
    std::vector<float> a = {x, y, z};
    a.resize(static_cast<size_t>(m.dims));
    a.insert(a.end(), m.params.begin(), m.params.end());
    switch (a.size()) {
        case 1:
            return Call(m.name, {a[0]});
        case 2:
            return Call(m.name, {a[0], a[1]});
        case 3:
            return Call(m.name, {a[0], a[1], a[2]});
        default:
            return Call(m.name, {a[0], a[1], a[2], a[3]});
    }
}

uint32_t Bits(float v) { return BitsFromFloat(v); }
float Unit(int rand) { return static_cast<float>(rand) / 32768.0f; }

TEST(TextureGroup, NamesFollowTheCoreInOrderWithTheirKinds) {
    ASSERT_EQ(std::size(kMembers), 61u);
    for (size_t i = 0; i < std::size(kMembers); ++i) {
        const FunctionRecord* r = test::Builtin(kMembers[i].name);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(LookupFunction(kMembers[i].name), 341u + i) << kMembers[i].name;
        EXPECT_EQ(r->kind, kMembers[i].kind) << kMembers[i].name;
    }
}

// The generator seeded with 9527 draws 31149, 7787, 16207, 8699 first, fills plane 0 first
// (its last value, read by tex_hash1(-1), is 1013), then planes 1, 2, 3.
TEST(RandomTexture, FirstValuesAfterSeed9527) {
    const float first[] = {Unit(31149), Unit(7787), Unit(16207), Unit(8699)};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Call("tex_hash1", {float(i) + 0.75f}), first[i]) << i;
    EXPECT_EQ(Call("tex_hash1", {-1}), Unit(1013));
    EXPECT_EQ(Call("tex_hash2", {1.5f, 0.5f}), first[1]);
    EXPECT_EQ(Call("tex_hash3", {0.2f, 0.9f, 0.4f}), first[0]);
    // Planes 0, 1, 2 at texel (0, 0): 31149, 462, 2543 -> bytes F2, 03, 13.
    EXPECT_EQ(Bits(Call("tex_color_rand2", {0.5f, 0.5f})), 0xFEF20313u);
}

// Skipping ahead lands where drawing one value at a time does, for any count and start.
TEST(RandomTexture, StreamSkipsAheadAsItDraws) {
    for (uint32_t seed : {1u, 9527u, 0xFFFFFFFFu}) {
        RandomStream drawn(seed);
        uint64_t done = 0;
        for (uint64_t n : {0u, 1u, 2u, 3u, 7u, 1000u, 262144u}) {
            for (; done < n; ++done) drawn.Next();
            RandomStream skipped(seed);
            skipped.Discard(n);
            EXPECT_EQ(skipped.State(), drawn.State()) << seed << " " << n;
        }
    }
}

// Wrapped indices stay in range for every float and are exact beyond the int range.
TEST(RandomTexture, WrapsEveryFloat) {
    struct Case {
        float v;
        int period, expected;
    };
    const Case cases[] = {{-1, 67, 66},
                          {-0.5f, 256, 255},
                          {3e9f, 67, 27},
                          {3e9f, 61, 53},
                          {-3e9f, 59, 22},
                          {NAN, 67, 0},
                          {INFINITY, 61, 0},
                          {-INFINITY, 59, 0},
                          {2147483904.0f, 65536, 256},
                          {-2147483648.0f, 256, 0},
                          {1e38f, 59, 3}};
    for (const Case& c : cases)
        EXPECT_EQ(texture::WrapPeriod(c.v, c.period), c.expected) << c.v << " mod " << c.period;
    for (float v : {3e9f, -3e9f, NAN, INFINITY, -1.0f, 255.5f})
        EXPECT_EQ(texture::WrapSide(v), texture::WrapPeriod(v, 256)) << v;
    EXPECT_EQ(Call("tex_hash1", {2147483904.0f}), Call("tex_hash1", {256}));
    EXPECT_EQ(Call("tex_hash3", {3e9f, 0, 0}), Call("tex_hash3", {27, 0, 0}));
}

TEST(TextureSamplers, ExactRules) {
    auto h1 = [](float i) { return Call("tex_hash1", {i}); };
    EXPECT_EQ(Call("tex_liner1", {7.5f}), h1(7) + (h1(8) - h1(7)) * 0.5f);
    EXPECT_EQ(Call("tex_liner1", {65535.5f}), h1(65535) + (h1(0) - h1(65535)) * 0.5f);
    EXPECT_EQ(Call("tex_noise1", {-3.75f}), h1(-4) + (h1(-3) - h1(-4)) * 0.15625f);
    for (const test::Point3& p : test::RandomPoints(40, -600.0f, 600.0f, 31)) {
        const float x = std::round(p.x * 64) / 64, y = std::round(p.y * 64) / 64;
        const float z = std::round(p.z * 64) / 64;
        EXPECT_EQ(Call("tex_noise2", {x + 256, y - 512}), Call("tex_noise2", {x, y}));
        EXPECT_EQ(Call("tex_noise3", {x + 67, y - 61, z + 118}), Call("tex_noise3", {x, y, z}));
        EXPECT_EQ(Call("tex_value_noise2", {x, y}), Call("tex_noise2", {x, y}) * 2 - 1);
        // Counts: below 1 the default, above 64 capped, one octave the base.
        EXPECT_EQ(Call("tex_fbm2", {x, y}), Call("tex_fbm2", {x, y, 4}));
        EXPECT_EQ(Call("tex_fbm2", {x, y, -2}), Call("tex_fbm2", {x, y, 4}));
        EXPECT_EQ(Call("tex_fbm2", {x, y, 1}), Call("tex_noise2", {x, y}));
        EXPECT_EQ(Call("tex_fbm3", {x, y, z, 1e9f}), Call("tex_fbm3", {x, y, z, 64}));
        EXPECT_EQ(Call("tex_iquilezles_fbm2", {x, y}), Call("tex_iquilezles_fbm2", {x, y, 6}));
        EXPECT_EQ(Call("tex_value_fbm3", {x, y, z, 1}), Call("tex_value_noise3", {x, y, z}));
        // Jitter 1 is the texture's own points; 0 the cell centres.
        EXPECT_EQ(Call("tex_extend_worley2d", {x, y, 1}), Call("tex_worley2d", {x, y}));
        EXPECT_FLOAT_EQ(Call("tex_extend_worley2d", {x, y, 0}),
                        std::hypot(x - std::floor(x) - 0.5f, y - std::floor(y) - 0.5f));
    }
    // At a texel's point: Worley distance 0, the sphere's top, inside its cell's border.
    const texture::RandomTexture& t = texture::GetRandomTexture();
    for (int key : {0, 1000, 65535}) {
        float x = float(key % 256) + t.Plane(1)[key], y = float(key / 256) + t.Plane(2)[key];
        EXPECT_EQ(Call("tex_worley2d", {x, y}), 0.0f);
        EXPECT_EQ(Call("tex_sphere_worley2d", {x, y, 1, 0.5f}), 1.0f);
        EXPECT_NEAR(Call("tex_border_worley2d", {x, y}), 0.5f * t.worley[key], 1e-5f);
    }
}

TEST(Materials, NamedTableAndItsLimits) {
    test::EnsureLibraryGroups();
    const std::pair<const char*, uint32_t> named[] = {
        {"gold", 0xFFFFD700},  {"silver", 0xFFFFFFF0},  {"copper", 0xFFFF8020},
        {"ivory", 0xFF80F0B0}, {"diamond", 0xFF87CEEB}, {"red", 0xFFFF0000},
        {"green", 0xFF00FF00}, {"blue", 0xFF0000FF},    {"pink", 0xFFFF00FF}};
    ASSERT_EQ(Materials().Count(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_STREQ(Materials().Get(i)->name, named[i].first);
        EXPECT_EQ(Materials().Get(i)->colour, named[i].second);
    }
    EXPECT_EQ(Materials().Get(4)->low1, 0.2f);
    EXPECT_EQ(Materials().Get(4)->high2, 1.0f);
    EXPECT_EQ(Materials().Get(9), nullptr);

    MaterialTable table;
    EXPECT_TRUE(table.Register({"fifteen_chars__", 1, 0.9f, 0.1f, 1, 0, 1}));
    EXPECT_EQ(table.Get(0)->high1, 0.9f);  // a range given high first is kept as (max, min)
    EXPECT_EQ(table.Get(0)->low1, 0.1f);
    EXPECT_FALSE(table.Register({"sixteen_chars___", 1, 0, 1, 1, 0, 1}));
    EXPECT_FALSE(table.Register({"", 1, 0, 1, 1, 0, 1}));
    EXPECT_FALSE(table.Register({nullptr, 1, 0, 1, 1, 0, 1}));
    for (int i = 1; i < 32; ++i) {
        std::string name = "m" + std::to_string(i);
        EXPECT_TRUE(table.Register({name.c_str(), 2, 0, 1, 1, 0, 1}));
    }
    EXPECT_FALSE(table.Register({"one_too_many", 3, 0, 1, 1, 0, 1}));
    EXPECT_TRUE(table.Register({"m7", 7, 0, 1, 1, 0, 1}));  // replaced in place
    EXPECT_EQ(table.Count(), 32);
    EXPECT_EQ(table.Get(7)->colour, 7u);
}

// Deep in a cell the mineral is its material's colour with alpha 0xFE; on a border, black.
TEST(Materials, MineralColourInsideAndOnTheBorder) {
    test::EnsureLibraryGroups();
    const texture::RandomTexture& t = texture::GetRandomTexture();
    int inside = 0, border = 0;
    for (int key = 0; key < 4096 && (inside < 5 || border < 5); ++key) {
        const int i = key % 256, j = key / 256;
        float x = float(i) + t.Plane(1)[key], y = float(j) + t.Plane(2)[key];
        const int index = static_cast<int>(t.Plane(0)[key] * 12);
        const Material* m = Materials().Get(index);
        if (t.worley[key] > 0.35f) {
            uint32_t expected = 0xFE000000u | (m ? m->colour & 0xFFFFFFu : 0u);
            if (inside < 5) {
                EXPECT_EQ(Bits(Call("mineral2d_color", {x, y})), expected) << key;
            }
            ++inside;
        }
        // Halfway to the next texel's point: on a border wherever the border distance is 0.
        int next = j * 256 + (i + 1) % 256;
        float mx = 0.5f * (x + float(i + 1) + t.Plane(1)[next]);
        float my = 0.5f * (y + float(j) + t.Plane(2)[next]);
        if (Call("tex_border_worley2d", {mx, my}) < 1e-4f) {
            EXPECT_EQ(Bits(Call("mineral2d_color", {mx, my})), 0xFE000000u) << key;
            ++border;
        }
    }
    EXPECT_GE(inside, 5);
    EXPECT_GE(border, 5);
}

TEST(TextureFamily, RangesContinuityAndHostileInput) {
    const auto points = test::RandomPoints(300, -400.0f, 400.0f, 32);
    const float hostile[] = {NAN, INFINITY, -INFINITY, 1e30f, -3e9f, 2147483904.0f};
    for (const Member& m : kMembers) {
        auto f = [&](float x, float y, float z) { return Eval(m, x, y, z); };
        if (std::isnan(m.lo)) {
            for (const test::Point3& p : points)
                ASSERT_EQ(Bits(f(p.x, p.y, p.z)) >> 24, 0xFEu) << m.name;
        } else {
            test::Range r = test::ObservedRange(points, f);
            EXPECT_GE(r.lo, m.lo) << m.name;
            EXPECT_LE(r.hi, m.hi) << m.name;
            EXPECT_LT(r.lo, r.hi) << m.name;
        }
        if (m.continuous) {
            EXPECT_LT(test::WorstJump(points, m.dims, f), 0.01f) << m.name;
        }
        // Any float reads inside the texture: NaN at worst, never a value out of range.
        for (float h : hostile) {
            float v = f(h, 0.5f * h, -h);
            if (std::isnan(m.lo)) {
                EXPECT_EQ(Bits(v) >> 24, 0xFEu) << m.name << " at " << h;
            } else if (!std::isnan(v)) {
                EXPECT_TRUE(v >= m.lo && v <= m.hi) << m.name << " at " << h << ": " << v;
            }
        }
    }
}

}  // namespace
