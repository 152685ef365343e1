// Accumulating equations: the shared colouring and floor, plotting, saturation, the fixed
// fills, parameter changes against the working buffer, and parameters past their ranges.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <utility>

#include "equations/AccumulationHelpers.h"
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

}  // namespace
}  // namespace luneth
