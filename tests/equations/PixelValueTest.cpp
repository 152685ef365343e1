// Exact pixels and picture properties of the bit-pattern, emblem and closed-form equations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <set>

#include "common/Random.h"
#include "equations/EquationCatalogue.h"
#include "equations/EquationFamilies.h"
#include "equations/EquationTestUtil.h"

namespace luneth {
namespace {

using test::CountPixels;
using test::MakeEquation;

constexpr uint32_t kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu, kGrey = 0xFF808080u;

struct PixelFact {
    uint32_t index, x, y, colour;
};

const PixelFact kPixelFacts[] = {
    // bit patterns
    {0, 0, 0, 0x00000000},
    {0, 700, 300, 0x00000000},
    {2, 0, 0, 0xFF000000},
    {2, 1, 0, 0xFFFE0100},
    {2, 300, 200, 0xFF78E480},
    {7, 4, 8, 0xFF030504},
    {4, 3, 5, 0xFF000101},
    {9, 0, 0, 0xFF000000},
    {9, 100, 600, 0xFF64A0BC},
    {11, 10, 0, 0xFF000000},
    {11, 10, 3, 0xFF010000},
    {6, 3, 5, kWhite},
    {6, 4, 3, kBlack},
    {5, 0, 0, 0xFF000000},
    // emblems
    {50, 512, 512, kBlack},
    {50, 512, 272, kBlack},
    {50, 512, 752, kWhite},
    {50, 0, 0, kGrey},
    {62, 512, 512, 0xFFFEFFFF},
    {62, 0, 0, kBlack},
    {62, 100, 100, 0xFFA05050},
    {61, 700, 10, 0xFFFF0000},
    {61, 700, 90, kWhite},
    {61, 0, 0, 0xFF0000FF},
    // closed forms
    {177, 1, 0, 0xFF010101},
    {107, 2, 0, 0xFF800000},
    {107, 0, 0, kBlack},
    {63, 512, 0, kWhite},
    {63, 600, 512, kWhite},
    {63, 513, 448, kWhite},
    {63, 0, 0, 0xFFFF0000},
    {63, 0, 1023, kBlack},
    {64, 512, 512, kBlack},
    {64, 0, 0, kBlack},
    {64, 32, 0, kWhite},
    {77, 0, 0, kWhite},
};

TEST(PixelValues, ExactPixels) {
    for (const PixelFact& f : kPixelFacts) {
        auto e = MakeEquation(f.index);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->GetPixel(f.x, f.y), f.colour)
            << e->GetName() << " at (" << f.x << ", " << f.y << ")";
    }
}

TEST(PixelValues, BlackIsTransparentAndAndFollowsTheBits) {
    auto black = MakeEquation(0);
    EXPECT_EQ(CountPixels(*black, [](uint32_t c) { return c != 0; }), 0u);
    auto a = MakeEquation(6);
    for (uint32_t y = 0; y < 1024; y += 7)
        for (uint32_t x = 0; x < 1024; x += 3)
            ASSERT_EQ(a->GetPixel(x, y), (x & y) ? kWhite : kBlack) << x << " " << y;
}

// Q(0) .. Q(19) of Hofstadter's sequence.
TEST(PixelValues, VinylUsesHofstadterQ) {
    const int q[] = {1, 1, 2, 3, 3, 4, 5, 5, 6, 6, 6, 8, 8, 8, 10, 9, 10, 11, 11, 12};
    for (uint32_t i = 0; i < std::size(q); ++i) EXPECT_EQ(HofstadterQ(i), q[i]) << i;
    EXPECT_EQ(HofstadterQ(1023) > 0, true);
    EXPECT_EQ(HofstadterQ(5000), 0);
}

// "Cameron 2" answers the iteration limit through a table; compare with the rule itself.
uint32_t DigitPowerSum(uint32_t n, uint32_t power) {
    uint32_t s = 0;
    for (; n; n /= 10) {
        uint32_t d = n % 10, p = 1;
        for (uint32_t i = 0; i < power; ++i) p *= d;
        s += p;
    }
    return s;
}
bool ReachesOneByTheRule(uint32_t n, uint32_t power) {
    uint32_t m = n;
    for (int step = 0; step < 1024; ++step) {
        m = DigitPowerSum(m, power);
        if (m == 1) return true;
        if (m == n) return false;
    }
    return false;
}

TEST(PixelValues, Cameron2MatchesTheIterationRule) {
    auto e = MakeEquation(77);
    auto check = [&](uint32_t x, uint32_t y) {
        const uint32_t n = y * 1024 + x + 1;
        uint32_t digits = 0;
        for (uint32_t v = n; v; v /= 10) digits += v % 10;
        const uint32_t expected = 0xFF000000u | (ReachesOneByTheRule(n, 2) ? 0xFF0000u : 0) |
                                  (ReachesOneByTheRule(n, 3) ? 0xFF00u : 0) |
                                  (n % digits == 0 ? 0xFFu : 0);
        ASSERT_EQ(e->GetPixel(x, y), expected) << "n = " << n;
    };
    for (uint32_t n = 0; n < 9000; ++n) check(n % 1024, n / 1024);  // the rows where n may recur
    for (uint32_t i = 0; i < 3000; ++i) check((i * 7919u) % 1024, (i * 104729u) % 1024);
}

TEST(PixelValues, HilbertEntriesDrawTheSamePicture) {
    auto color = MakeEquation(167), red = MakeEquation(168);
    EXPECT_EQ(test::PictureChecksum(*color), test::PictureChecksum(*red));
}

// ---- symmetries of the emblems ----

TEST(PixelValues, TaijiFourIsMirroredAboutTheCentreLines) {
    auto e = MakeEquation(51);
    for (uint32_t y = 0; y < 1024; y += 5)
        for (uint32_t x = 0; x < 512; x += 3) {
            ASSERT_EQ(e->GetPixel(x, y), e->GetPixel(1023 - x, y));
            ASSERT_EQ(e->GetPixel(x, y), e->GetPixel(x, 1023 - y));
        }
}

TEST(PixelValues, TaijiWorldRepeatsEvery256Pixels) {
    auto e = MakeEquation(52);
    for (uint32_t y = 0; y < 768; y += 3)
        for (uint32_t x = 0; x < 768; x += 5) {
            ASSERT_EQ(e->GetPixel(x, y), e->GetPixel(x + 256, y));
            ASSERT_EQ(e->GetPixel(x, y), e->GetPixel(x, y + 256));
        }
}

// Turning the symbol half around swaps black and white (boundary ties aside).
TEST(PixelValues, TaijiYinyangIsPointSymmetricWithColoursSwapped) {
    auto e = MakeEquation(50);
    uint32_t swapped = 0, total = 0;
    for (uint32_t y = 40; y < 985; y += 2)
        for (uint32_t x = 40; x < 985; x += 2) {
            const uint32_t a = e->GetPixel(x, y), b = e->GetPixel(1024 - x, 1024 - y);
            if (a == kGrey) continue;
            ++total;
            swapped += (a ^ b) == 0x00FFFFFFu ? 1 : 0;
        }
    EXPECT_GT(swapped, total - total / 500);
}

TEST(PixelValues, SvastikaLeftMirrorsSvastikaRight) {
    auto left = MakeEquation(54), right = MakeEquation(55);
    right->SetParam(2, 0.0f);
    for (uint32_t y = 0; y < 1024; y += 3)
        for (uint32_t x = 0; x < 1024; x += 2)
            ASSERT_EQ(left->GetPixel(x, y), right->GetPixel(1023 - x, y)) << x << " " << y;
}

// A cross of two bars with four hooks: 8 S w - 3 w^2 pixels at any angle.
TEST(PixelValues, SvastikaAreaAtAnyAngle) {
    auto e = MakeEquation(55);
    const uint32_t gold = e->GetPixel(512, 512);
    for (float angle : {0.0f, 30.0f, 45.0f, 200.0f}) {
        e->SetParam(2, angle);
        const double area =
            static_cast<double>(CountPixels(*e, [&](uint32_t c) { return c == gold; }));
        EXPECT_NEAR(area, 8.0 * 320 * 100 - 3.0 * 100 * 100, 2000.0) << angle;
    }
}

TEST(PixelValues, SvastikasSetRepeatsWithTheLattice) {
    auto e = MakeEquation(56);  // squares of 6 pixels; 3 x (3, 2) squares keeps the colours
    for (uint32_t y = 0; y < 900; y += 7)
        for (uint32_t x = 0; x < 900; x += 5)
            ASSERT_EQ(e->GetPixel(x, y), e->GetPixel(x + 54, y + 36));
    // Every colour of the set appears.
    std::set<uint32_t> colours;
    for (uint32_t x = 0; x < 200; ++x) colours.insert(e->GetPixel(x, x / 2));
    EXPECT_EQ(colours.size(), 4u);
}

// Area of a star polygon with tips at R and inner corners at r: N R r sin(pi / N).
double StarArea(int n, double big, double small) { return n * big * small * std::sin(M_PI / n); }

TEST(PixelValues, NStarAreaMatchesItsGeometry) {
    auto e = MakeEquation(68);
    const uint32_t gold = e->GetPixel(512, 512);
    for (int n : {5, 6, 8, 13, 32}) {
        e->SetParam(0, static_cast<float>(n));
        const int m = (n - 1) / 2;
        const double r = 440.0 * std::cos(m * M_PI / n) / std::cos((m - 1) * M_PI / n);
        const double area =
            static_cast<double>(CountPixels(*e, [&](uint32_t c) { return c == gold; }));
        EXPECT_NEAR(area, StarArea(n, 440.0, r), StarArea(n, 440.0, r) * 0.01) << n;
    }
}

TEST(PixelValues, NLightStarRebuildsWithItsParameters) {
    auto e = MakeEquation(69);
    const uint32_t background = e->GetPixel(0, 0);
    auto lit = [&](uint32_t c) { return c != background; };
    const double area5 = static_cast<double>(CountPixels(*e, lit));
    EXPECT_NEAR(area5, StarArea(5, 200, 200 * 0.381966), 600.0);
    e->SetParam(0, 9.0f);
    e->SetParam(1, 400.0f);
    EXPECT_NEAR(static_cast<double>(CountPixels(*e, lit)), StarArea(9, 400, 400 * 0.381966),
                2000.0);
    // Flat (height 0): every facet faces the light alike, so one shade covers the star.
    e->SetParam(2, 0.0f);
    std::set<uint32_t> shades;
    for (uint32_t y = 0; y < 1024; y += 4)
        for (uint32_t x = 0; x < 1024; x += 4)
            if (lit(e->GetPixel(x, y))) shades.insert(e->GetPixel(x, y));
    EXPECT_EQ(shades.size(), 1u);
    e->SetParam(2, 0.618f);
    shades.clear();
    for (uint32_t y = 0; y < 1024; y += 4)
        for (uint32_t x = 0; x < 1024; x += 4)
            if (lit(e->GetPixel(x, y))) shades.insert(e->GetPixel(x, y));
    EXPECT_GT(shades.size(), 4u);
}

// 1.12257 R^2: the area of a filled pentagram of circumradius R.
TEST(PixelValues, FiveStarsCoverTheirPentagrams) {
    auto e = MakeEquation(60);
    const double big = std::sqrt(10.0) * 56.0, small = big / 3.0;
    const double expected = 1.12257 * (big * big + 4 * small * small);
    const double yellow =
        static_cast<double>(CountPixels(*e, [](uint32_t c) { return c == 0xFFFFF000u; }));
    EXPECT_NEAR(yellow, expected, expected * 0.01);
    EXPECT_EQ(e->GetPixel(280, 280), 0xFFFFF000u);  // centre of the large star
    EXPECT_EQ(e->GetPixel(1600, 1000), 0xFFFF0000u);
}

TEST(PixelValues, BlueSkyWhiteSunIsMirrorSymmetric) {
    auto e = MakeEquation(59);
    uint32_t mismatches = 0;
    for (uint32_t y = 0; y < e->height; y += 2)
        for (uint32_t x = 0; x < e->width / 2; x += 2)
            mismatches += e->GetPixel(x, y) != e->GetPixel(e->width - 1 - x, y) ? 1 : 0;
    EXPECT_LT(mismatches, 20u);
    EXPECT_EQ(e->GetPixel(840, 560), kWhite);             // the disc
    EXPECT_EQ(e->GetPixel(840, 560 - 230), 0xFF000095u);  // the ring
    EXPECT_EQ(e->GetPixel(840, 560 - 400), kWhite);       // the ray pointing up
    EXPECT_EQ(e->GetPixel(10, 10), 0xFF000095u);          // the sky
}

TEST(PixelValues, TriangleFollowsItsCorners) {
    auto e = MakeEquation(65);
    const double area =
        static_cast<double>(CountPixels(*e, [](uint32_t c) { return c != kBlack; }));
    EXPECT_NEAR(area, 1023.0 * 1023.0 / 2.0, 2000.0);
    EXPECT_EQ(e->GetPixel(512, 0), 0xFFFF0000u);      // Point0: red
    EXPECT_EQ(e->GetPixel(0, 1023), 0xFF00FF00u);     // Point1: green
    EXPECT_EQ(e->GetPixel(1023, 1023), 0xFF0000FFu);  // Point2: blue
    EXPECT_EQ(e->GetPixel(10, 10), kBlack);
    e->SetParam(0, 0.0f);  // Point0 to the top-left corner
    EXPECT_NE(e->GetPixel(10, 10), kBlack);
    for (uint32_t i = 0; i < 6; ++i) e->SetParam(i, 100.0f);  // no area: nothing drawn
    EXPECT_EQ(CountPixels(*e, [](uint32_t c) { return c != kBlack; }), 0u);
}

TEST(PixelValues, TaijiEightHasItsTrigrams) {
    auto e = MakeEquation(53);
    EXPECT_EQ(e->GetPixel(512, 512 - 340), kBlack);  // Qian at the top: whole inner line
    EXPECT_EQ(e->GetPixel(512, 512 + 340), kGrey);   // Kun at the bottom: broken in the middle
    EXPECT_EQ(e->GetPixel(512 + 70, 512 + 340), kBlack);
    EXPECT_EQ(e->GetPixel(512, 512 - 180), kWhite);  // the taiji's light lobe
    EXPECT_EQ(e->GetPixel(5, 5), kGrey);
}

// ---- robustness: any coordinate and any parameter value is answered without harm ----

// Pictures that draw random numbers are computed from a fresh stream, so that computing one
// again gives the same picture.
uint64_t SampleHash(IPixelEquation& e) {
    RandomStream random(7);
    RandomBinding bind(random);
    uint64_t h = 1469598103934665603ull;
    for (uint32_t y = 0; y < e.height; y += 37)
        for (uint32_t x = 0; x < e.width; x += 29) h = (h ^ e.GetPixel(x, y)) * 1099511628211ull;
    return h;
}

// Wild values and far coordinates neither crash nor stick: after ResetParams the picture is
// the default one again, and far pixels answer the same twice.
TEST(PixelValues, FarCoordinatesAndWildParameters) {
    EquationTable table;
    BuildEquationCatalogue(table);
    // NaN, a zero range, and magnitudes beyond every range (infinities behave like them).
    const float wild[] = {std::numeric_limits<float>::quiet_NaN(), -1e30f, 0.0f, 1e30f};
    const uint32_t far[] = {1024, 5000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    for (auto& slot : table) {
        if (!slot) continue;
        SCOPED_TRACE(slot->GetName());
        const uint64_t before = SampleHash(*slot);
        float saved[kEquationParamCount];
        std::copy(std::begin(slot->params), std::end(slot->params), saved);
        for (float v : wild) {
            for (uint32_t i = 0; i < kEquationParamCount; ++i) slot->SetParam(i, v);
            for (uint32_t x : far)
                for (uint32_t y : far) {
                    ASSERT_EQ(slot->GetPixel(x, y), slot->GetPixel(x, y));
                    ASSERT_EQ(slot->GetPixel(x, 3), slot->GetPixel(x, 3));
                }
            SampleHash(*slot);
        }
        slot->ResetParams();
        // Equations without parameters keep what SetParam stored; put the values back.
        std::copy(std::begin(saved), std::end(saved), slot->params);
        EXPECT_EQ(SampleHash(*slot), before);
    }
}

}  // namespace
}  // namespace luneth
