// Coherent noises against libnoise: the gradient noise against the library itself, the value
// noises against a double-precision evaluation of the library's formula with correct 32-bit
// wrapping (Debian's libnoise miscompiles its integer value noise).
#include <gtest/gtest.h>
#include <libnoise/noise.h>

#include <cmath>
#include <cstdint>

#include "BuiltinCall.h"
#include "NoiseTestPoints.h"

using luneth::test::Call;

namespace {

double SCurve3(double a) { return a * a * (3.0 - 2.0 * a); }
double LinearInterp(double n0, double n1, double a) { return (1.0 - a) * n0 + a * n1; }

// libnoise's value-noise corner, seed 1, with its hash wrapped modulo 2^32.
double ReferenceCorner(int ix, int iy, int iz) {
    uint32_t n = (1619u * static_cast<uint32_t>(ix) + 31337u * static_cast<uint32_t>(iy) +
                  6971u * static_cast<uint32_t>(iz) + 1013u) &
                 0x7FFFFFFFu;
    n = (n >> 13) ^ n;
    uint32_t r = (n * (n * n * 60493u + 19990303u) + 1376312589u) & 0x7FFFFFFFu;
    return 1.0 - static_cast<double>(r) / 1073741824.0;
}

// libnoise's ValueCoherentNoise3D with standard quality over those corners.
double ReferenceValueNoise(double x, double y, double z) {
    auto corner = ReferenceCorner;
    int x0 = x > 0.0 ? static_cast<int>(x) : static_cast<int>(x) - 1;
    int y0 = y > 0.0 ? static_cast<int>(y) : static_cast<int>(y) - 1;
    int z0 = z > 0.0 ? static_cast<int>(z) : static_cast<int>(z) - 1;
    double xs = SCurve3(x - x0), ys = SCurve3(y - y0), zs = SCurve3(z - z0);
    auto plane = [&](int iz) {
        double a = LinearInterp(corner(x0, y0, iz), corner(x0 + 1, y0, iz), xs);
        double b = LinearInterp(corner(x0, y0 + 1, iz), corner(x0 + 1, y0 + 1, iz), xs);
        return LinearInterp(a, b, ys);
    };
    return LinearInterp(plane(z0), plane(z0 + 1), zs);
}

constexpr float kSinglePrecision = 2e-6f;

TEST(CoherentNoise, GradientNoiseAgreesWithLibnoise) {
    auto points = luneth::test::RandomPoints(4000, -300.0f, 300.0f, 1);
    for (const auto& p : points) {
        double expected = noise::GradientCoherentNoise3D(p.x, p.y, p.z, 1, noise::QUALITY_STD);
        EXPECT_NEAR(Call("coherent_gradient_noise3", {p.x, p.y, p.z}), expected, kSinglePrecision)
            << p.x << ", " << p.y << ", " << p.z;
    }
}

TEST(CoherentNoise, ValueNoisesAgreeWithTheWrappedFormula) {
    auto points = luneth::test::RandomPoints(4000, -300.0f, 300.0f, 2);
    for (const auto& p : points) {
        EXPECT_NEAR(Call("coherent_noise3", {p.x, p.y, p.z}), ReferenceValueNoise(p.x, p.y, p.z),
                    kSinglePrecision);
        EXPECT_NEAR(Call("coherent_noise2", {p.x, p.y}), ReferenceValueNoise(p.x, p.y, 0.0),
                    kSinglePrecision);
        EXPECT_NEAR(Call("coherent_noise1", {p.x}), ReferenceValueNoise(p.x, 0.0, 0.0),
                    kSinglePrecision);
    }
}

// The reference corner is libnoise's own wherever the library's miscompiled hash happens to
// stay in range, so the formula above is the library's and only the lost mask differs.
TEST(CoherentNoise, ReferenceCornerMatchesLibnoiseWhereLibnoiseIsInRange) {
    auto points = luneth::test::RandomPoints(3000, -5000.0f, 5000.0f, 3);
    int compared = 0;
    for (const auto& p : points) {
        int x = static_cast<int>(p.x), y = static_cast<int>(p.y), z = static_cast<int>(p.z);
        double lib = noise::ValueNoise3D(x, y, z, 1);
        if (lib < -1.0 || lib > 1.0) continue;
        ++compared;
        EXPECT_EQ(ReferenceCorner(x, y, z), lib) << x << ", " << y << ", " << z;
    }
    EXPECT_GT(compared, 300);
}

}  // namespace
