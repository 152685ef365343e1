// The mathematics under the scenes and fields: colour helpers, the trig-free Mandelbulb power
// against the trigonometric one, the Ulam spiral, and pictures checked against their objects
// (the devil's curve, Schwefel's minimum, the Lyapunov exponent's sign).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "equations/EquationFamilies.h"
#include "equations/EquationTestUtil.h"
#include "equations/ShadingHelpers.h"
#include "equations/TriplexPower.h"

namespace luneth {
namespace {

using test::MakeEquation;

uint32_t Red(uint32_t c) { return (c >> 16) & 0xFF; }
uint32_t Green(uint32_t c) { return (c >> 8) & 0xFF; }
uint32_t Blue(uint32_t c) { return c & 0xFF; }

TEST(PictureMath, ColourHelpers) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(Pack({nan, 2.0f, -1.0f}), 0xFF00FF00u);
    EXPECT_EQ(Pack({0.5f, 1.0f, 0.0f}), 0xFF7FFF00u);
    const std::array<Rgbf, 3> ramp = {{{0, 0, 0}, {1, 0, 0}, {1, 1, 1}}};
    EXPECT_EQ(Pack(Ramp(ramp, -5.0f)), 0xFF000000u);
    EXPECT_EQ(Pack(Ramp(ramp, 0.5f)), 0xFFFF0000u);
    EXPECT_EQ(Pack(Ramp(ramp, 1.0f)), 0xFFFFFFFFu);
    EXPECT_EQ(Pack(Ramp(ramp, nan)), 0xFF000000u);
    // Hashes: the same cell the same number, in [0, 1), spread over the range.
    float lo = 1.0f, hi = 0.0f;
    for (int32_t i = -500; i < 500; ++i) {
        const float h = HashUnit(i, 3 * i, 5);
        ASSERT_EQ(h, HashUnit(i, 3 * i, 5));
        ASSERT_GE(h, 0.0f);
        ASSERT_LT(h, 1.0f);
        lo = std::min(lo, h), hi = std::max(hi, h);
    }
    EXPECT_LT(lo, 0.01f);
    EXPECT_GT(hi, 0.99f);
    EXPECT_NE(HashCell(1, 2, 0), HashCell(2, 1, 0));
    // Pixels far outside read as negative coordinates, not wrapped ones.
    EXPECT_EQ(PixelPoint(0xFFFFFFFFu, 0, 0, 0, 1, 1).x(), -0.5f);
}

// The eighth power straight from the spherical formulas, in double.
void TrigEighth(double x, double y, double z, bool polar, double out[3]) {
    const double r = std::sqrt(x * x + y * y + z * z);
    const double phi = std::atan2(y, x);
    const double theta = polar ? std::acos(z / r) : std::asin(z / r);
    const double r8 = std::pow(r, 8.0);
    const double across = polar ? std::sin(8 * theta) : std::cos(8 * theta);
    const double up = polar ? std::cos(8 * theta) : std::sin(8 * theta);
    out[0] = r8 * across * std::cos(8 * phi);
    out[1] = r8 * across * std::sin(8 * phi);
    out[2] = r8 * up;
}

TEST(PictureMath, TriplexEighthIsTheSphericalPower) {
    RandomStream random(99);
    for (int i = 0; i < 2000; ++i) {
        const Vec3 v{2.4f * random.NextUnit() - 1.2f, 2.4f * random.NextUnit() - 1.2f,
                     2.4f * random.NextUnit() - 1.2f};
        for (bool polar : {false, true}) {
            double expected[3];
            TrigEighth(v.x(), v.y(), v.z(), polar, expected);
            const Vec3 got = polar ? TriplexEighth<true>(v) : TriplexEighth<false>(v);
            const double r8 = std::pow(Length(v), 8.0);
            for (int k = 0; k < 3; ++k)
                ASSERT_NEAR(got[k], expected[k], 1e-4 * r8 + 1e-6)
                    << "polar " << polar << " at " << v.x() << " " << v.y() << " " << v.z();
        }
    }
    // On the axis: no division by zero.
    const Vec3 pole = TriplexEighth<false>({0, 0, 0.5f});
    EXPECT_TRUE(std::isfinite(pole.x()) && std::isfinite(pole.z()));
}

// Rings 0 to 20 hold 1 .. 41^2 once each, and n + 1 always sits next to n.
TEST(PictureMath, UlamSpiralWalksRingByRing) {
    constexpr int64_t kRings = 20, kSide = 2 * kRings + 1;
    std::vector<std::pair<int64_t, int64_t>> at(kSide * kSide + 1, {0, 0});
    std::set<uint64_t> seen;
    for (int64_t dy = -kRings; dy <= kRings; ++dy)
        for (int64_t dx = -kRings; dx <= kRings; ++dx) {
            const uint64_t n = UlamNumber(dx, dy);
            ASSERT_GE(n, 1u);
            ASSERT_LE(n, uint64_t(kSide * kSide));
            seen.insert(n);
            at[n] = {dx, dy};
        }
    EXPECT_EQ(seen.size(), size_t(kSide * kSide));
    EXPECT_EQ(UlamNumber(1, 0), 2u);
    EXPECT_EQ(UlamNumber(1, 1), 3u);
    EXPECT_EQ(UlamNumber(kRings, -kRings), uint64_t(kSide * kSide));
    for (size_t n = 1; n + 1 < at.size(); ++n)
        EXPECT_EQ(
            std::llabs(at[n + 1].first - at[n].first) + std::llabs(at[n + 1].second - at[n].second),
            1)
            << n;
}

bool Gold(uint32_t c) { return Red(c) > 200 && Green(c) > 150 && Blue(c) < 140; }

// The devil's curve y^2 (y^2 - 0.64) = x^2 (x^2 - 1) passes the origin at every extent and
// crosses the x axis at +-1 and the y axis at +-0.8: those pixels show its gold line.
TEST(PictureMath, DiabolicalDrawsTheDevilsCurve) {
    auto e = MakeEquation(121);
    for (float extend : {1.0f, 20.0f, 64.0f, 128.0f}) {
        e->SetParam(0, extend);
        const float unit = extend / 20.0f / 512.0f;  // plane units per pixel
        EXPECT_TRUE(Gold(e->GetPixel(512, 512))) << extend;
        if (extend < 20.0f) continue;
        const auto pixel = [unit](float v) {
            return uint32_t(std::lround(512.0f + v / unit - 0.5f));
        };
        EXPECT_TRUE(Gold(e->GetPixel(pixel(1.0f), 511))) << extend;
        EXPECT_TRUE(Gold(e->GetPixel(pixel(-1.0f), 511))) << extend;
        EXPECT_TRUE(Gold(e->GetPixel(511, pixel(0.8f)))) << extend;
        EXPECT_FALSE(Gold(e->GetPixel(pixel(0.5f), 200))) << extend;
    }
}

// Schwefel's global minimum, at (420.97, 420.97) of the window [-500, 500]^2, is ringed in
// white nine pixels out; the map is dark there and bright at the opposite corner.
TEST(PictureMath, SchwefelRingsItsMinimum) {
    auto e = MakeEquation(161);
    const float px = 512.0f + 420.9687f * 512.0f / 500.0f,
                py = 512.0f - 420.9687f * 512.0f / 500.0f;
    const uint32_t ring = e->GetPixel(uint32_t(px + 9.0f - 0.5f), uint32_t(py - 0.5f));
    EXPECT_GT(Red(ring) + Green(ring) + Blue(ring), 600u);
    const uint32_t low = e->GetPixel(uint32_t(px), uint32_t(py));
    const uint32_t high = e->GetPixel(1023 - uint32_t(px), 1023 - uint32_t(py));
    EXPECT_LT(Red(low) + Green(low) + Blue(low), Red(high) + Green(high) + Blue(high));
}

// The sign of the Lyapunov exponent, computed plainly in double (a logarithm every step),
// decides gold (order) against blue (chaos) wherever it is clearly away from 0.
TEST(PictureMath, LyapunovColoursFollowTheExponent) {
    auto e = MakeEquation(152);
    int agree = 0, checked = 0;
    for (uint32_t y = 8; y < 1024; y += 32)
        for (uint32_t x = 8; x < 1024; x += 32) {
            const double a = 3.4 + 0.6 * (x + 0.5) / 1024.0, b = 3.4 - 0.9 * (y + 0.5) / 1024.0;
            double p = 0.5, lambda = 0.0;
            for (int i = 0; i < 156; ++i) {
                const double r = (i % 12) < 6 ? b : a;
                p = r * p * (1.0 - p);
                if (i >= 36) lambda += std::log(std::max(std::fabs(r * (1.0 - 2.0 * p)), 1e-4));
            }
            lambda /= 120.0;
            if (std::fabs(lambda) < 0.05) continue;
            const uint32_t c = e->GetPixel(x, y);
            const bool gold = Red(c) > Blue(c) + 40;
            agree += gold == (lambda < 0.0) ? 1 : 0;
            ++checked;
        }
    ASSERT_GT(checked, 500);
    EXPECT_GE(agree * 100, checked * 97);  // chaotic orbits may part in float
}

}  // namespace
}  // namespace luneth
