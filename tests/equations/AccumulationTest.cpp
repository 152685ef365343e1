// Accumulating equations: the shared colouring and floor, plotting, saturation, the fixed
// fills, parameter changes against the working buffer, and parameters past their ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <utility>

#include "equations/AccumulationHelpers.h"
#include "equations/Aggregation.h"
#include "equations/EquationRenderer.h"
#include "equations/EquationTestUtil.h"
#include "functions/RandomTexture.h"

namespace luneth {
namespace {

using test::MakeEquation;
using test::PictureChecksum;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(Accumulation, FloorValues) {
    const struct {
        uint32_t x, y, v;
    } kFloor[] = {{0, 1, 28}, {100, 0, 42}, {1023, 0, 2}, {512, 512, 5}, {0, 0, 49}};
    for (const auto& f : kFloor) EXPECT_EQ(accum::FloorValue(f.x, f.y), f.v) << f.x << ", " << f.y;
}

TEST(Accumulation, CountColours) {
    const std::pair<uint32_t, uint32_t> kColours[] = {{1, 0xFF010101},
                                                      {300, 0xFFFFFFE1},
                                                      {2, 0xFF020201},
                                                      {100, 0xFF647D4F},
                                                      {0x7FFFFFFF, kOpaqueWhite},
                                                      {accum::kFloorTag | 28, 0xFF1C0000},
                                                      {accum::kFloorTag, kOpaqueBlack}};
    for (const auto& [cell, colour] : kColours) EXPECT_EQ(accum::CountColour(cell), colour) << cell;
}

TEST(Accumulation, PlotKeepsToTheInnerPixelsAndCellsSaturate) {
    uint32_t wide[16] = {};
    const accum::CountGrid<uint32_t> grid(wide, 4, 4);
    const std::pair<double, double> kOff[] = {{0.99, 2}, {4, 2},    {2, 0.5},      {-1e300, 2},
                                              {kNaN, 2}, {2, kInf}, {1e300, 1e300}};
    for (const auto& [x, y] : kOff) EXPECT_FALSE(grid.Plot(x, y)) << x << ", " << y;
    EXPECT_TRUE(grid.Plot(1.0, 3.99));
    EXPECT_EQ(wide[3 * 4 + 1], 1u);

    uint8_t narrow[4] = {};
    uint16_t middle[4] = {};
    const accum::CountGrid<uint8_t> bytes(narrow, 2, 2);
    const accum::CountGrid<uint16_t> words(middle, 2, 2);
    for (int i = 0; i < 70000; ++i) bytes.Add(1, 1), words.Add(1, 1);
    EXPECT_EQ(narrow[3], 255);
    EXPECT_EQ(middle[3], 65535);
    wide[0] = accum::CountGrid<uint32_t>::kMaxCount;
    grid.Add(0, 0);
    EXPECT_EQ(wide[0] & accum::kFloorTag, 0u);  // a full count never turns into a floor cell
}

// Pixel (0, 0) carries the finished mark where no orbit came.
TEST(Accumulation, FinishedMarkColours) {
    const std::pair<uint32_t, uint32_t> kMarks[] = {
        {79, 0xFF010101}, {82, 0xFF010101}, {186, 0xFF000A01}};
    for (const auto& [index, colour] : kMarks) {
        auto e = MakeEquation(index);
        test::RenderPicture(*e, 2);
        EXPECT_EQ(e->GetPixel(0, 0), colour) << index;
    }
}

// Pickover's popcorn map by its formula: with M = 1024 one orbit starts at (-Scale, -Scale).
TEST(Accumulation, PopcornIsItsFormulaAndDrawsNoRandomNumbers) {
    auto e = MakeEquation(103);
    e->SetParam(2, 1024);
    e->SetParam(3, 400);
    std::set<std::pair<int, int>> expected;
    double m = -1, o = -1;
    for (int i = 0; i < 400; ++i) {
        const double r = std::sin(std::tan(3 * m) + m);
        m = m - 0.05f * std::sin(std::tan(3 * o) + o);
        o = o - 0.05f * r;
        const int t = int(m * 512 + 512), u = int(o * 512 + 512);
        if (t >= 1 && t <= 1023 && u >= 1 && u <= 1023) expected.insert({t, u});
    }
    RandomStream random(12345);
    EquationContext context{random};
    std::vector<uint32_t> texels(1024 * 1024);
    RenderEquation(*e, context, texels.data(), 1024, 2);
    EXPECT_EQ(random.State(), 12345u);
    size_t white = 0;
    for (uint32_t c : texels) white += c == kOpaqueWhite;
    EXPECT_EQ(white, expected.size());
    for (const auto& [t, u] : expected) EXPECT_EQ(texels[size_t(u) * 1024 + t], kOpaqueWhite);
    EXPECT_EQ(texels[0], 1u);
    EXPECT_EQ(texels[100], 0xFF2A0000u);  // the floor at (100, 0)
}

// The "Twon Dragon" fill is fixed to the bit: its pictures for a few "Several Side" values;
// values past the range ends (and NaN) take the nearest end.
TEST(Accumulation, TwonDragonPictures) {
    constexpr uint64_t kTwo = 0x2EDF98826DFEDE86ull, kSixteen = 0x79AABEBA7E1C7C38ull;
    const struct {
        float sides;
        uint64_t checksum;
    } kPictures[] = {{2, kTwo},      {1, kTwo},     {kNaN, kTwo}, {5, 0x5A61888ABD9FD88Full},
                     {16, kSixteen}, {40, kSixteen}};
    auto e = MakeEquation(82);
    for (const auto& p : kPictures) {
        e->SetParam(0, p.sides);
        EXPECT_EQ(PictureChecksum(*e), p.checksum) << p.sides;
    }
}

// A computation without a change reuses the buffer and draws no random numbers; an accepted
// change computes again from the stream.
TEST(Accumulation, ParameterChangesRecomputeAndUnchangedPicturesAreReused) {
    auto e = MakeEquation(80);
    auto render = [&](RandomStream& random) {
        EquationContext context{random};
        std::vector<uint32_t> texels(size_t(e->width) * e->height);
        RenderEquation(*e, context, texels.data(), e->width, 2);
        return texels;
    };
    RandomStream random = texture::StreamAfterFill();
    const uint32_t start = random.State();
    const auto first = render(random);
    EXPECT_NE(random.State(), start);
    const uint32_t after = random.State();
    EXPECT_EQ(render(random), first);
    EXPECT_EQ(random.State(), after);
    e->SetParam(0, 5);
    EXPECT_NE(render(random), first);
    EXPECT_NE(random.State(), after);
}

// Parameters past their ranges (and NaN) draw the picture of the clamped value.
TEST(Accumulation, ParametersPastTheirRangesAreClamped) {
    const struct {
        uint32_t index, param;
        float wild, tame;
    } kCases[] = {
        {66, 0, -50, 0},     {66, 3, kInf, 1023}, {67, 4, kNaN, 0},
        {67, 1, 5000, 1023}, {188, 0, 99, 5},     {192, 0, -3, 0},
        {102, 0, 1e9f, 16},  {103, 2, 0, 4},      {187, 3, kNaN, 0.1f},
    };
    for (const auto& c : kCases) {
        auto e = MakeEquation(c.index);
        if (c.index == 103) e->SetParam(3, 100);  // short orbits: a quick picture
        e->SetParam(c.param, c.tame);
        const uint64_t expected = PictureChecksum(*e);
        e->SetParam(c.param, c.wild);
        EXPECT_EQ(PictureChecksum(*e), expected)
            << c.index << " param " << c.param << " = " << c.wild;
    }
}

// Fills that run on several threads give the same picture on one.
TEST(Accumulation, ParallelFillsDoNotDependOnTheThreadCount) {
    for (const uint32_t index : {79u, 88u, 103u, 180u, 183u, 184u}) {
        uint64_t sums[2];
        for (const int threads : {1, 3}) {
            auto e = MakeEquation(index);
            if (index == 103) e->SetParam(3, 3000);  // shorter popcorn orbits
            sums[threads == 3] = PictureChecksum(*e, threads);
        }
        EXPECT_EQ(sums[0], sums[1]) << index;
    }
}

TEST(Accumulation, ParameterReaders) {
    const struct {
        float v;
        int whole;
        double real;
    } kCases[] = {{kNaN, 2, 2.0},    {-kInf, 2, 2.0}, {kInf, 16, 16.0}, {1.9f, 2, 2.0},
                  {5.99f, 5, 5.99f}, {16, 16, 16.0},  {99, 16, 16.0}};
    for (const auto& c : kCases) {
        EXPECT_EQ(accum::WholeParam(c.v, 2, 16), c.whole) << c.v;
        EXPECT_DOUBLE_EQ(accum::RealParam(c.v, 2, 16), c.real) << c.v;
    }
}

// The n-flake ratio: n copies at the corners of a regular n-gon just touch.
TEST(Accumulation, PolygonsAndTheirTouchingRatios) {
    const std::pair<uint32_t, double> kRatios[] = {
        {3, 0.5}, {4, 0.5}, {5, 0.38196601125}, {6, 1 / 3.0}, {8, 0.29289321881}};
    for (const auto& [n, r] : kRatios) EXPECT_NEAR(accum::FlakeRatio(n), r, 1e-9) << n;
    const accum::Point top = accum::PolygonCorner(0, 5), next = accum::PolygonCorner(1, 5);
    EXPECT_NEAR(top.x, 0, 1e-12);
    EXPECT_NEAR(top.y, -1, 1e-12);
    EXPECT_GT(next.x, 0);  // clockwise on the screen
}

// Every site of an aggregate but the seed arrived next to an older one, and a grown cluster
// holds exactly the sites Aggregate reports, on both lattices.
TEST(Accumulation, AggregatesGrowFromTheSeed) {
    for (const bool hexagonal : {false, true}) {
        const accum::Lattice lattice{96, 96, hexagonal};
        std::vector<uint32_t> words(96 * 96, 0);
        const accum::SiteArray sites{words.data(), 96, 1};
        RandomStream random(99);
        const uint32_t stuck = accum::Aggregate(lattice, sites, random,
                                                {48, 48, 1, 400, 40, 2000000, hexagonal ? 3u : 1u});
        EXPECT_GT(stuck, 50u) << hexagonal;
        uint32_t held = 0;
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 96; ++x) {
                const uint32_t order = sites(x, y);
                if (!order) continue;
                ++held;
                ASSERT_LE(order, stuck);
                if (order == 1) continue;
                bool older = false;
                for (int k = 0; k < lattice.Neighbours(); ++k) {
                    int nx, ny;
                    lattice.Neighbour(x, y, k, nx, ny);
                    older = older || (sites(nx, ny) != 0 && sites(nx, ny) < order);
                }
                EXPECT_TRUE(older) << hexagonal << " at " << x << ", " << y;
            }
        EXPECT_EQ(held, stuck);
        EXPECT_EQ(sites(48, 48), 1u);
        int x, y;  // positions and nearest sites agree
        double px, py;
        lattice.Position(31, 17, px, py);
        lattice.Nearest(px, py, x, y);
        EXPECT_EQ(x * 1000 + y, 31017);
    }
}

// The bifurcation diagram's first column (r = 2.5) has one fixed point, x = 0.6, at row
// (1 - 0.6) * 510 + 1 = 205, or 204 where x settles a hair above 0.6; all else is paper.
TEST(Accumulation, FeigenbaumFirstColumnIsItsFixedPoint) {
    auto e = MakeEquation(183);
    test::RenderPicture(*e, 2);
    std::set<uint32_t> inked;
    for (uint32_t y = 1; y < e->height; ++y)
        if (e->GetPixel(0, y) != 0xFFF4EFE4u) inked.insert(y);
    EXPECT_FALSE(inked.empty());
    for (const uint32_t y : inked) EXPECT_TRUE(y == 204 || y == 205) << y;
}

// Both rasterizers cover exactly the pixels whose centres lie inside; the edge-function one
// leaves a shared edge to one triangle of two.
TEST(Accumulation, TrianglesCoverThePixelCentresInside) {
    const float kCorners[2][6] = {{100, 100, 900, 200, 300, 800}, {100, 100, 300, 800, 50, 700}};
    auto inside = [](const float* c, double x, double y) {
        double sign = 0;
        for (int i = 0; i < 3; ++i) {
            const float *a = c + 2 * i, *b = c + 2 * ((i + 1) % 3);
            const double e = (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0]);
            if (e == 0) return -1;  // on an edge: either side may claim it
            if (sign * e < 0) return 0;
            sign = e;
        }
        return 1;
    };
    std::vector<int> owners(1024 * 1024, 0);
    for (const auto& corners : kCorners) {
        for (const uint32_t index : {66u, 67u}) {
            auto e = MakeEquation(index);
            for (uint32_t i = 0; i < 6; ++i) e->SetParam(i, corners[i]);
            const auto picture = test::RenderPicture(*e, 2);
            const uint32_t background = index == 66 ? kOpaqueBlack : 0xFF101018u;
            for (uint32_t y = 1; y < 1024; ++y)
                for (uint32_t x = 0; x < 1024; ++x) {
                    const bool lit = picture[y * 1024 + x] != background;
                    const int in = inside(corners, x + 0.5, y + 0.5);
                    if (in >= 0) {
                        ASSERT_EQ(lit, in == 1) << index << " at " << x << ", " << y;
                    }
                    if (index == 67 && lit) ++owners[y * 1024 + x];
                }
        }
    }
    EXPECT_EQ(*std::max_element(owners.begin(), owners.end()), 1);
    auto flat = MakeEquation(67);  // three corners on one line: nothing to draw
    for (uint32_t i = 0; i < 6; ++i) flat->SetParam(i, 100.0f * (i / 2 + 1));
    EXPECT_EQ(test::CountPixels(*flat, [](uint32_t c) { return c != 0xFF101018u; }), 0u);
}

// Pictures whose geometry is known: where their sets lie and what they keep empty.
TEST(Accumulation, PicturesLieWhereTheirSetsAre) {
    auto floorOrMark = [](uint32_t c) {
        return (c & 0xFF00FFFFu) == kOpaqueBlack || c == 0xFF010101u;
    };
    // the Apollonian gasket stays inside the unit circle, 480 pixels around the middle
    auto gasket = MakeEquation(96);
    const auto g = test::RenderPicture(*gasket, 2);
    for (uint32_t y = 0; y < 1024; y += 3)
        for (uint32_t x = 0; x < 1024; x += 3) {
            const double r = std::hypot(x + 0.5 - 512, y + 0.5 - 512);
            if (r > 482) {
                ASSERT_TRUE(floorOrMark(g[y * 1024 + x])) << x << ", " << y;
            }
        }
    // l = 1 and l = 2.5 lie inside the logistic factor's Mandelbrot set (the floor), l = 4.1
    // outside (counted)
    auto factor = MakeEquation(88);
    test::RenderPicture(*factor, 2);
    EXPECT_TRUE(floorOrMark(factor->GetPixel(512, 512)));
    EXPECT_TRUE(floorOrMark(factor->GetPixel(512 + 240, 512)));
    EXPECT_FALSE(floorOrMark(factor->GetPixel(512 + 496, 512)));
    // kissing circles: the three first circles around the middle, the middle one of the second
    // generation, the corners outside the packing
    auto circles = MakeEquation(97);
    test::RenderPicture(*circles, 2);
    const uint32_t first = circles->GetPixel(512, 512 - 274) & 0xFFFFFF;
    EXPECT_EQ(circles->GetPixel(512 - 237, 512 + 137) & 0xFFFFFF, first);
    EXPECT_EQ(circles->GetPixel(512 + 237, 512 + 137) & 0xFFFFFF, first);
    EXPECT_NE(circles->GetPixel(512, 512) & 0xFFFFFF, first);
    EXPECT_EQ(circles->GetPixel(3, 3), 0xFF0C0C14u);
    // the Buddhabrot counts every orbit with its mirror: columns x and 1023 - x agree
    auto buddha = MakeEquation(180);
    const auto b = test::RenderPicture(*buddha, 2);
    uint32_t differ = 0;
    for (uint32_t y = 1; y < 1024; ++y)
        for (uint32_t x = 0; x < 512; ++x) differ += b[y * 1024 + x] != b[y * 1024 + 1023 - x];
    EXPECT_LT(differ, 200u);  // only where a point falls exactly on a column edge
}

}  // namespace
}  // namespace luneth
