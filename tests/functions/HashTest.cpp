// Hashes: ranges, distribution, the xor_ hash against libnoise's integer noise, truncation.
#include <gtest/gtest.h>
#include <libnoise/noise.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "BuiltinCall.h"
#include "NoiseTestPoints.h"
#include "functions/NoiseHash.h"

using namespace luneth;
using luneth::test::Call;

namespace {

struct HashCase {
    const char* name;
    int inputs;
};

constexpr HashCase kHashes[] = {
    {"xor_hash1", 1},  {"fdf_hash1", 1}, {"sin_hash1", 1}, {"xor_hash2", 2},
    {"fdf_hash2", 2},  {"sin_hash2", 2}, {"weyl_hash2", 2}, {"gold_noise2", 2},
    {"xor_hash3", 3},  {"fdf_hash3", 3}, {"sin_hash3", 3},
};

float CallHash(const HashCase& h, float x, float y, float z) {
    if (h.inputs == 1) return Call(h.name, {x});
    if (h.inputs == 2) return Call(h.name, {x, y});
    return Call(h.name, {x, y, z});
}

// Every hash stays in [0, 1) over lattice points, fractional points and huge coordinates, and
// spreads its values: each tenth of [0, 1) gets between 6% and 14% of the samples.
TEST(Hashes, RangeAndSpread) {
    auto points = test::RandomPoints(20000, -500.0f, 500.0f);
    for (const HashCase& h : kHashes) {
        int bins[10] = {};
        for (size_t i = 0; i < points.size(); ++i) {
            test::Point3 p = points[i];
            if (i % 2) p = {std::floor(p.x), std::floor(p.y), std::floor(p.z)};
            float v = CallHash(h, p.x, p.y, p.z);
            ASSERT_GE(v, 0.0f) << h.name << " at " << p.x << ", " << p.y << ", " << p.z;
            ASSERT_LT(v, 1.0f) << h.name << " at " << p.x << ", " << p.y << ", " << p.z;
            ++bins[static_cast<int>(v * 10.0f)];
        }
        for (int b = 0; b < 10; ++b) {
            EXPECT_GT(bins[b], 1200) << h.name << " bin " << b;
            EXPECT_LT(bins[b], 2800) << h.name << " bin " << b;
        }
        for (float big : {1e9f, -3e38f, 1e-30f, -1e-30f}) {
            float v = CallHash(h, big, big, big);
            EXPECT_TRUE(std::isnan(v) || (v >= 0.0f && v < 1.0f)) << h.name << " at " << big;
        }
    }
}

// The multi-output forms used by gradient and cellular noise stay in [0, 1) as well, and the
// xor_ family's first output is its one-output hash.
TEST(Hashes, MultiOutputForms) {
    auto points = test::RandomPoints(5000, -1000.0f, 1000.0f, 17);
    auto inRange = [](float v) { return v >= 0.0f && v < 1.0f; };
    for (const test::Point3& p : points) {
        float x = std::floor(p.x), y = std::floor(p.y), z = std::floor(p.z);
        luneth::noise::Float2 a = luneth::noise::XorHash::Hash22(x, y), b = luneth::noise::FdfHash::Hash22(x, y),
                      c = luneth::noise::SinHash::Hash22(x, y);
        luneth::noise::Float3 d = luneth::noise::XorHash::Hash33(x, y, z), e = luneth::noise::FdfHash::Hash33(p.x, p.y, p.z),
                      f = luneth::noise::SinHash::Hash33(x, y, z);
        for (float v : {a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y, d.z, e.x, e.y, e.z, f.x, f.y, f.z})
            ASSERT_TRUE(inRange(v)) << v << " at " << x << ", " << y << ", " << z;
        EXPECT_EQ(a.x, Call("xor_hash2", {x, y}));
        EXPECT_EQ(d.x, Call("xor_hash3", {x, y, z}));
        EXPECT_NE(a.x, a.y);
        EXPECT_NE(d.y, d.z);
    }
}

// The xor_ hash is libnoise's integer value noise with seed 1, masked to 31 bits (Debian's
// libnoise loses that final mask, so the test applies it), divided by 2^31.
TEST(Hashes, XorHashIsLibnoiseIntegerNoise) {
    auto points = test::RandomPoints(3000, -20000.0f, 20000.0f, 5);
    for (const test::Point3& p : points) {
        int ix = static_cast<int>(p.x), iy = static_cast<int>(p.y), iz = static_cast<int>(p.z);
        auto expected = [](int x, int y, int z) {
            uint32_t r = static_cast<uint32_t>(::noise::IntValueNoise3D(x, y, z, 1)) & 0x7FFFFFFFu;
            return std::fmin(static_cast<float>(r) * 0x1p-31f, 0x1.fffffep-1f);
        };
        EXPECT_EQ(Call("xor_hash1", {p.x}), expected(ix, 0, 0));
        EXPECT_EQ(Call("xor_hash2", {p.x, p.y}), expected(ix, iy, 0));
        EXPECT_EQ(Call("xor_hash3", {p.x, p.y, p.z}), expected(ix, iy, iz));
    }
}

TEST(Hashes, XorInputsTruncateTowardZero) {
    EXPECT_EQ(Call("xor_hash1", {2.9f}), Call("xor_hash1", {2.0f}));
    EXPECT_EQ(Call("xor_hash1", {-0.5f}), Call("xor_hash1", {0.0f}));
    EXPECT_EQ(Call("xor_hash1", {-1.7f}), Call("xor_hash1", {-1.0f}));
    EXPECT_NE(Call("xor_hash1", {-1.0f}), Call("xor_hash1", {-2.0f}));
    EXPECT_EQ(Call("xor_hash2", {3.99f, -0.99f}), Call("xor_hash2", {3.0f, 0.0f}));
    EXPECT_EQ(Call("xor_hash3", {-2.5f, 7.2f, 0.4f}), Call("xor_hash3", {-2.0f, 7.0f, 0.0f}));
}

// The fract-based hashes take fractional inputs as they are (no lattice truncation).
TEST(Hashes, FractHashesSeeFractionalInputs) {
    for (const char* name : {"fdf_hash1", "sin_hash1"})
        EXPECT_NE(Call(name, {2.9f}), Call(name, {2.0f})) << name;
    for (const char* name : {"fdf_hash2", "sin_hash2", "weyl_hash2", "gold_noise2"})
        EXPECT_NE(Call(name, {2.5f, 1.25f}), Call(name, {2.0f, 1.0f})) << name;
}

// weyl_hash2 and weyl_noise2 share one product b: the hash is fract(b), the noise averages it
// with fract(0.618034 floor b).
TEST(Hashes, WeylNoiseUsesTheHashProduct) {
    auto points = test::RandomPoints(2000, 0.0f, 300.0f, 3);
    for (const test::Point3& p : points) {
        float b = luneth::noise::WeylProduct(p.x, p.y);
        EXPECT_EQ(Call("weyl_hash2", {p.x, p.y}), b - std::floor(b));
        float n = Call("weyl_noise2", {p.x, p.y});
        EXPECT_GE(n, 0.0f);
        EXPECT_LT(n, 1.0f);
    }
}

}  // namespace
