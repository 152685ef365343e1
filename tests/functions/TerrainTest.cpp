// The terrain group: names in registration order, default and capped octave counts, the
// documented one-octave recipes exactly, and ranges, finiteness (huge, infinite and NaN
// coordinates included), determinism and continuity over every generator.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "BuiltinCall.h"
#include "NoiseProbes.h"
#include "NoiseTestPoints.h"
#include "common/Random.h"
#include "functions/LatticeNoise.h"
#include "script/FunctionRegistry.h"

using namespace luneth;
using luneth::test::Call;

namespace {

struct Generator {
    const char* base;  // the name without _2d / _3d
    int octaves;       // default count
    float lo, hi;      // range of both forms
};

// clang-format off
const Generator kGenerators[] = {
    {"heightfield", 12, -1, 1},       {"heightfield_tx", 12, 0, 1},
    {"mercury", 6, -0.239f, 1},       {"mars", 6, -0.1f, 1.15f},
    {"mars_tx", 6, -0.1f, 1.15f},     {"moon", 6, -0.106f, 1},
    {"mountain", 7, -0.26f, 1.39f},   {"alps", 6, 0, 1.167f},
    {"alps_tx", 6, 0, 1.167f},        {"island", 7, -1, 1},
    {"island_tx", 7, -1, 1},          {"elevated", 10, 0, 1},
    {"elevated_tx", 10, 0, 1},        {"gobi_desert", 7, 0.15f, 0.85f},
    {"hillock", 12, 0, 2},            {"earth", 8, -0.7f, 1},
    {"earth_tx", 8, -0.7f, 1},        {"alien_landscape", 6, 0, 1},
    {"rock_tx", 8, 0, 1},             {"escalated", 9, 0, 1},
    {"crater", 5, -0.2f, 1},          {"crater_tx", 5, -1, 0.3f},
    {"rock_patch", 4, 0, 1},          {"ice_patch", 4, 0, 1},
};
// clang-format on

std::string Name(const Generator& g, int dims) {
    return std::string(g.base) + (dims == 2 ? "_2d" : "_3d");
}

// The generator at (x, y[, z]) with an octave count (0: none given).
float At(const std::string& name, int dims, float x, float y, float z, float octaves = 0) {
    std::initializer_list<float> two = {x, y}, two4 = {x, y, octaves};
    std::initializer_list<float> three = {x, y, z}, three4 = {x, y, z, octaves};
    if (dims == 2) return Call(name.c_str(), octaves == 0 ? two : two4);
    return Call(name.c_str(), octaves == 0 ? three : three4);
}

TEST(TerrainGroup, NamesFollowTheFractalGroupIn2DThen3DOrder) {
    test::EnsureLibraryGroups();
    uint32_t index = LookupFunction("fractal_cmpx_binocular") + 1;
    for (int dims : {2, 3}) {
        for (const Generator& g : kGenerators) {
            std::string name = Name(g, dims);
            EXPECT_EQ(LookupFunction(name.c_str()), index++) << name;
            EXPECT_EQ(test::Builtin(name.c_str())->kind, static_cast<uint32_t>(kKindVariadic));
        }
    }
    EXPECT_EQ(index, LookupFunction("fractal_cmpx_binocular") + 49);
}

TEST(Terrain, CountsDefaultAndCap) {
    const auto points = test::RandomPoints(6, -50.0f, 50.0f, 41);
    for (const Generator& g : kGenerators) {
        for (int dims : {2, 3}) {
            const std::string name = Name(g, dims);
            int differs = 0;
            for (const test::Point3& p : points) {
                float byDefault = At(name, dims, p.x, p.y, p.z);
                EXPECT_EQ(byDefault, At(name, dims, p.x, p.y, p.z, float(g.octaves))) << name;
                EXPECT_EQ(byDefault, At(name, dims, p.x, p.y, p.z, -3)) << name;
                EXPECT_EQ(At(name, dims, p.x, p.y, p.z, 1e9f), At(name, dims, p.x, p.y, p.z, 64))
                    << name;
                differs += byDefault != At(name, dims, p.x, p.y, p.z, float(g.octaves - 1));
            }
            EXPECT_GT(differs, 0) << name << ": the default count changes nothing";
        }
    }
}

// One octave of the documented recipes, against the library's own noises.
TEST(Terrain, OneOctaveRecipes) {
    auto s = [](float t) {
        t = std::fmin(std::fmax(t, 0.0f), 1.0f);
        return t * t * (3 - 2 * t);
    };
    for (const test::Point3& p : test::RandomPoints(40, -80.0f, 80.0f, 42)) {
        const float x = p.x, y = p.y, qx = x / 4, qy = y / 4;
        EXPECT_EQ(Call("heightfield_2d", {x, y, 1}), 0.5f * Call("coherent_noise2", {qx, qy}));
        EXPECT_EQ(Call("heightfield_3d", {x, y, p.z, 1}),
                  0.5f * Call("coherent_noise3", {qx, qy, p.z / 4}));
        EXPECT_EQ(Call("heightfield_tx_2d", {x, y, 3}), Call("tex_fbm2", {qx, qy, 3}));
        EXPECT_EQ(Call("mercury_2d", {x, y, 1}),
                  1 - 0.78f * std::fabs(Call("mercury_crater2d", {x / 2, y / 2})));
        EXPECT_EQ(Call("moon_2d", {x, y, 1}),
                  1 - 0.625f * std::fabs(Call("moon_crater2d", {x / 2, y / 2})));
        EXPECT_EQ(Call("hillock_2d", {x, y, 1}),
                  std::fabs(Call("coherent_gradient_noise3", {qx, qy, 0})));

        float b = 0.75f * Call("iq_noise2", {qx, qy}) + 0.15f;
        float sum = Call("iq_noise2", {qx, qy}) * 66 * b * b;
        float peak = std::fabs(Call("iq_noise2", {2.03f * (0.8f * qx + 0.6f * qy) * 0.002f,
                                                  2.03f * (0.8f * qy - 0.6f * qx) * 0.002f}));
        EXPECT_FLOAT_EQ(Call("mountain_2d", {x, y, 1}), (75 * std::pow(peak, 5.0f) + sum) * 0.01f);

        noise::Float2 g;
        float n = noise::IQuilezlesNoise2(x, y, &g);
        EXPECT_FLOAT_EQ(Call("alps_2d", {x, y, 1}), 0.2f * 3.5f * (1 - 2 * std::fabs(n - 0.5f)));
        n = noise::IQuilezlesNoise2(qx, qy, &g);
        EXPECT_FLOAT_EQ(Call("elevated_2d", {x, y, 1}),
                        0.625f * 0.8f * n / (1 + g.x * g.x + g.y * g.y));
        float d1 = std::pow(std::fabs(g.x), 5.0f) - s((g.x + 0.5f) / 2);
        float d2 = std::pow(std::fabs(g.y), 5.0f) - s((g.y + 0.5f) / 2);
        float mars = n / (d1 * d1 + d2 * d2 + 0.85f);
        EXPECT_FLOAT_EQ(Call("mars_2d", {x, y, 1}), (mars / 0.75f + 0.5f) / 2);
    }
}

// Finite and in range everywhere: ordinary, huge, infinite and NaN coordinates; the same
// values whatever the random generator does; no tears.
TEST(Terrain, RangesFinitenessDeterminismContinuity) {
    const auto ordinary = test::RandomPoints(150, -300.0f, 300.0f, 43);
    auto points = ordinary;
    for (float h : {1e20f, -3e38f, 3e38f, 2147483904.0f, -1e9f, NAN, INFINITY, -INFINITY})
        points.push_back({h, -0.5f * h, 0.25f * h});
    for (const Generator& g : kGenerators) {
        for (int dims : {2, 3}) {
            const std::string name = Name(g, dims);
            auto f = [&](float x, float y, float z) { return At(name, dims, x, y, z); };
            std::vector<float> first;
            for (const test::Point3& p : points) {
                float v = f(p.x, p.y, p.z);
                ASSERT_TRUE(std::isfinite(v)) << name << " at " << p.x;
                EXPECT_GE(v, g.lo) << name << " at " << p.x;
                EXPECT_LE(v, g.hi) << name << " at " << p.x;
                first.push_back(v);
            }
            SRand(5);
            for (int i = 0; i < 100; ++i) Rand();
            for (size_t i = 0; i < points.size(); ++i)
                EXPECT_EQ(f(points[i].x, points[i].y, points[i].z), first[i]) << name;
            EXPECT_LT(test::WorstJump(ordinary, dims, f), 0.03f) << name;
        }
    }
}

}  // namespace
