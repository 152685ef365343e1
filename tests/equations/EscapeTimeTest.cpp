// Escape-time equations: exact pixels, parameters, rows in vector lanes against single pixels,
// bad parameters; and the lane maths against the C library.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "equations/EquationCatalogue.h"
#include "equations/EquationRenderer.h"
#include "equations/EquationTestUtil.h"
#include "equations/LaneMath.h"

namespace luneth {
namespace {

using test::MakeEquation;

constexpr uint32_t kEscapeTime[] = {140, 141, 142, 143, 144, 145, 146,
                                    147, 148, 151, 169, 170, 174, 175};
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct PixelFact {
    uint32_t index, x, y;
    std::vector<float> params;  // set from index 0 on before the pixel is asked
    uint32_t colour;
};

const PixelFact kPixelFacts[] = {
    {140, 575, 300, {}, 0xFF000000},  // c ~ 0: |z|^2 < 1 after 100 steps, n = 0
    {141, 100, 600, {}, 0xFF000000},  // inside: n = 1024
    {175, 512, 512, {}, 0xFF010100},  // c = (0, 0) never leaves: n = 256 spills into green
    // "Mandelbrot-Martin" at c = (-1.5, -1) (one step inside) and c = 0 (256), each type
    {142, 0, 0, {0}, 0xFF000080},
    {142, 0, 0, {1}, 0xFF080401},
    {142, 0, 0, {2}, 0xFF010101},
    {142, 0, 0, {-1}, 0xFF010101},
    {142, 0, 0, {kNaN}, 0xFF010101},
    {142, 768, 512, {0}, 0xFF050400},
    {142, 768, 512, {1}, 0xFF000100},
    {142, 768, 512, {3}, 0xFF010100},
    // centre row of "Thorn Fractal": u / 0 leaves at once, 0 / 0 is NaN and runs to the cap
    {174, 100, 512, {}, 0xFF000000},
    {174, 512, 512, {}, 0xFF010100},
    // column 0 of "Lyapunov Fractal 1": ln 0 makes the exponent -inf
    {151, 0, 0, {}, 0xFFFF00FF},
    {151, 0, 700, {}, 0xFFFF00FF},
    // Newton windows of zero size on the root 1: z stays (1, 0) everywhere
    {169, 700, 100, {1, 1, 1, 1}, 0xFFBF7FFF},
    {170, 3, 900, {1, 1, 1, 1}, 0xFFFFB4B0},
};

TEST(EscapeTime, ExactPixels) {
    for (const PixelFact& f : kPixelFacts) {
        auto e = MakeEquation(f.index);
        for (uint32_t i = 0; i < f.params.size(); ++i) e->SetParam(i, f.params[i]);
        EXPECT_EQ(e->GetPixel(f.x, f.y), f.colour)
            << e->GetName() << " at (" << f.x << ", " << f.y << ")";
    }
}

// The count of "Mandelbrot-Kasten" at pixel (x, 0), followed here independently.
uint32_t KastenCount(uint32_t x) {
    const double cr = double(x) * 8e-9 + 0.356888, ci = -0.645411;
    double zr = 0.0, zi = 0.0;
    for (uint32_t n = 1; n <= 880; ++n) {
        const double r = zr * zr - zi * zi + cr;
        zi = 2.0 * zr * zi + ci, zr = r;
        if (zr * zr + zi * zi >= 4.0) return n;
    }
    return 880;
}

// Below 80 steps white; 80 is t = 0, black; 81 is (0, 2, 9).
TEST(EscapeTime, KastenTurnsFromWhiteToBlackAt80) {
    auto e = MakeEquation(143);
    std::vector<uint32_t> seen(3, 0);
    // Far right of the picture the counts fall; look closely where they pass 80.
    for (uint32_t coarse = 0; coarse < 20000000 && seen != std::vector<uint32_t>(3, 1);
         coarse += 997) {
        if (KastenCount(coarse) < 80) break;
        if (KastenCount(coarse + 997) >= 80) continue;
        for (uint32_t x = coarse; x <= coarse + 997; ++x) {
            const uint32_t n = KastenCount(x);
            if (n < 79 || n > 81) continue;
            const uint32_t expected[] = {0xFFFFFFFF, 0xFF000000, 0xFF000209};
            EXPECT_EQ(e->GetPixel(x, 0), expected[n - 79]) << "n = " << n << " at x = " << x;
            seen[n - 79] = 1;
        }
    }
    EXPECT_EQ(seen, std::vector<uint32_t>(3, 1)) << "counts 79, 80 and 81 not all met";
}

// With c = (2, 2) for the blue count every orbit leaves early, but each start has |z|^2 <= 2,
// so j >= 1 and blue is the low byte of trunc(512 ln j) (0 for j = 1, 98 for j = 2).
TEST(EscapeTime, JuliaSets2CountsAtLeastOneStep) {
    auto e = MakeEquation(147);
    e->SetParam(2, 2.0f);
    e->SetParam(3, 2.0f);
    const std::vector<uint32_t> picture = test::RenderPicture(*e, 2);
    uint32_t twos = 0;
    for (uint32_t y = 0; y < 1024; ++y)
        for (uint32_t x = 0; x < 1024; ++x) {
            float zr = (float(x) - 512.0f) / 512.0f, zi = (float(y) - 512.0f) / 512.0f;
            uint32_t j = 0;
            for (; zr * zr + zi * zi < 4.0f && j < 200; ++j) {
                const float r = zr * zr - zi * zi + 2.0f;
                zi = 2.0f * zr * zi + 2.0f, zr = r;
            }
            ASSERT_GE(j, 1u);
            twos += j == 2;
            const uint32_t blue = uint32_t(int32_t(512.0f * std::log(float(j)))) & 0xFF;
            ASSERT_EQ(picture[y * 1024 + x] & 0xFF, blue) << x << ", " << y;
        }
    EXPECT_GT(twos, 0u);
}

TEST(EscapeTime, ResetRestoresDefaults) {
    const std::vector<std::pair<uint32_t, std::vector<float>>> defaults = {
        {142, {0}},
        {147, {0.362f, 0.32f, -0.7f, 0.2701f}},
        {169, {-2, 2, -2, 2}},
        {170, {-1, 1, -1, 1}},
        {174, {0.102f, -0.04f}},
        {175, {0, 0, 1}},
    };
    for (const auto& [index, values] : defaults) {
        auto e = MakeEquation(index);
        const std::vector<uint32_t> before = test::RenderPicture(*e, 2);
        for (uint32_t i = 0; i < 6; ++i) e->SetParam(i, 0.25f);
        e->ResetParams();
        for (uint32_t i = 0; i < values.size(); ++i) EXPECT_EQ(e->params[i], values[i]) << index;
        EXPECT_EQ(test::RenderPicture(*e, 2), before) << index;  // cached steps follow too
    }
}

// Rows through ComputeRow (both lane sets) equal the pixels one by one: whole rows and a piece
// that starts inside a block and ends past one, at the defaults and at the ends of the ranges.
TEST(EscapeTime, LanesGiveTheSinglePixelBits) {
    for (uint32_t index : kEscapeTime) {
        auto e = MakeEquation(index);
        const auto* pixels = dynamic_cast<const CPixelEquation*>(e.get());
        ASSERT_NE(pixels, nullptr);
        uint32_t named = 0;
        while (e->GetParamName(named)) ++named;
        for (int set = 0; set < (named ? 3 : 1); ++set) {
            e->ResetParams();
            for (uint32_t i = 0; set && i < named; ++i) {
                float lo, hi, step;
                e->GetParamRange(i, &lo, &hi, &step);
                e->SetParam(i, set == 1 ? lo : hi);
            }
            const uint32_t w = e->width;
            for (uint32_t y : {0u, e->height / 3, e->height / 2 + 1, e->height - 1}) {
                std::vector<uint32_t> single(w);
                for (uint32_t x = 0; x < w; ++x) single[x] = pixels->Pixel(x, y);
                for (bool wide : {true, false}) {
                    lanes::UseWideLanes(wide);
                    std::vector<uint32_t> row(w), piece(23);
                    pixels->ComputeRow(y, 0, w, row.data());
                    pixels->ComputeRow(y, 7, 23, piece.data());
                    lanes::UseWideLanes(true);
                    ASSERT_EQ(row, single) << e->GetName() << " row " << y << " set " << set
                                           << (wide ? " wide" : " baseline");
                    ASSERT_EQ(0, std::memcmp(piece.data(), single.data() + 7, 23 * 4))
                        << e->GetName() << " piece of row " << y;
                }
            }
        }
    }
}

// NaN, infinities, huge values and empty windows still give a picture, in lanes and alone.
TEST(EscapeTime, BadParametersStillGiveAPicture) {
    for (uint32_t index : kEscapeTime) {
        auto e = MakeEquation(index);
        if (!e->GetParamName(0)) continue;
        const auto* pixels = dynamic_cast<const CPixelEquation*>(e.get());
        for (float v : {kNaN, kInf, -kInf, 1e30f, -1e30f, 0.0f}) {
            for (uint32_t i = 0; i < 6; ++i) e->SetParam(i, v);
            std::vector<uint32_t> row(e->width);
            for (uint32_t y : {0u, e->height / 2, e->height - 1}) {
                pixels->ComputeRow(y, 0, e->width, row.data());
                for (uint32_t x : {0u, e->width / 2, e->width - 1})
                    EXPECT_EQ(row[x], e->GetPixel(x, y)) << index << " " << v;
            }
        }
        e->SetParam(0, kNaN);
        EXPECT_EQ(test::RenderPicture(*e, 2).size(), size_t(e->width) * e->height);
    }
    // A window of zero width and height is one colour.
    auto ship = MakeEquation(175);
    ship->SetParam(0, 5.0f);
    ship->SetParam(2, 0.0f);
    EXPECT_EQ(test::CountPixels(*ship, [&](uint32_t c) { return c != ship->GetPixel(0, 0); }), 0u);
}

// ---- lane maths ----

int64_t UlpDistance(double a, double b) {
    int64_t ia, ib;
    std::memcpy(&ia, &a, 8), std::memcpy(&ib, &b, 8);
    if (ia < 0) ia = INT64_MIN - ia;
    if (ib < 0) ib = INT64_MIN - ib;
    return ia > ib ? ia - ib : ib - ia;
}
int64_t UlpDistance(float a, float b) {
    int32_t ia, ib;
    std::memcpy(&ia, &a, 4), std::memcpy(&ib, &b, 4);
    const int64_t ma = ia < 0 ? int64_t(INT32_MIN) - ia : ia,
                  mb = ib < 0 ? int64_t(INT32_MIN) - ib : ib;
    return ma > mb ? ma - mb : mb - ma;
}

TEST(LaneMath, LogFollowsTheLibraryWithinTwoUlp) {
    // Every positive float from the subnormals up, in steps of a few thousand patterns, and
    // the neighbourhood of 1.
    for (uint32_t bits = 1; bits < 0x7F800000u; bits += 4999) {
        float x, near1;
        std::memcpy(&x, &bits, 4);
        ASSERT_LE(UlpDistance(lanes::LogF(x), std::log(x)), 2) << x;
        const uint32_t one = 0x3F800000u - 2000000u + bits % 4000000u;
        std::memcpy(&near1, &one, 4);
        ASSERT_LE(UlpDistance(lanes::LogF(near1), std::log(near1)), 2) << near1;
    }
    EXPECT_EQ(lanes::LogF(0.0f), -kInf);
    EXPECT_EQ(lanes::LogF(-0.0f), -kInf);
    EXPECT_EQ(lanes::LogF(kInf), kInf);
    EXPECT_EQ(lanes::LogF(1.0f), 0.0f);
    EXPECT_TRUE(std::isnan(lanes::LogF(-1.0f)));
    EXPECT_TRUE(std::isnan(lanes::LogF(kNaN)));
}

TEST(LaneMath, SinCosFollowTheLibraryWithinTwoUlp) {
    for (double x = -1e5; x < 1e5; x += 0.7395) {
        ASSERT_LE(UlpDistance(lanes::Sin(x), std::sin(x)), 2) << x;
        ASSERT_LE(UlpDistance(lanes::Cos(x), std::cos(x)), 2) << x;
    }
    EXPECT_EQ(lanes::Sin(0.0), 0.0);
    EXPECT_EQ(lanes::Cos(0.0), 1.0);
    for (double v : {double(kInf), -double(kInf), double(kNaN)})
        EXPECT_TRUE(std::isnan(lanes::Sin(v)) && std::isnan(lanes::Cos(v))) << v;
}

// A vector computes each lane as the single value would.
TEST(LaneMath, LanesComputeAsSingleValues) {
    using F4 = lanes::Vector<float, 16>;
    using D2 = lanes::Vector<double, 16>;
    for (const F4 xf : {F4{0.0f, 1e-40f, 0.3f, 1.0f}, F4{2.5f, 1e30f, -2.0f, kInf}}) {
        const F4 lf = lanes::LogF(xf);
        for (int i = 0; i < 4; ++i) {
            const float l = lanes::LogF(xf[i]), lane = lf[i];  // clang takes no lane's address
            EXPECT_EQ(0, std::memcmp(&l, &lane, 4)) << xf[i];
        }
    }
    const D2 xd = {-1e4, 77777.7};
    const D2 sd = lanes::Sin(xd), cd = lanes::Cos(xd);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(lanes::Sin(xd[i]), sd[i]) << i;
        EXPECT_EQ(lanes::Cos(xd[i]), cd[i]) << i;
    }
}

}  // namespace
}  // namespace luneth
