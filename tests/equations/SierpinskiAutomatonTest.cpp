// Sierpinski and cellular-automaton equations: exact pixels, carpet types, the chaos games'
// buffers and the automata's row-by-row generations.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "equations/EquationCatalogue.h"
#include "equations/EquationRenderer.h"
#include "equations/EquationTestUtil.h"

namespace luneth {
namespace {

using test::MakeEquation;
using test::RenderPicture;

constexpr uint32_t kBlack = 0xFF000000u, kWhite = 0xFFFFFFFFu, kBlue = 0xFF0000FFu;
constexpr uint32_t kLit = 0xFFFFEEAAu;

struct PixelFact {
    uint32_t index, x, y, colour;
};

const PixelFact kPixelFacts[] = {
    {153, 0, 0, kBlue},  // the origin stays at the origin
    {153, 1023, 1023, kWhite},    {154, 0, 0, kBlue},
    {154, 1, 1, kBlack},  // digits (1, 1) at the last scale: a hole
    {154, 64, 64, kBlack},        {155, 0, 0, 0xFF0000FF},  // five levels: 51 * 5
    {155, 1, 1, 0xFF0000CC},      {155, 64, 64, 0xFF000033},
    {157, 0, 0, kBlack},        // theta = 0
    {157, 3, 1, 0xFF516A8E},    // theta = 1
    {157, 2, 2, 0xFF78C7D1},    // theta = 2: negative cosine, two's complement byte
    {157, 7, 13, 0xFF9E849F},   // theta = 5
    {160, 0, 512, 0xFF090000},  // outside the triangle: the floor
    {160, 1000, 100, 0xFF040000}, {160, 0, 0, 0xFF010101},  // never visited: the finished mark 1
    {159, 0, 1000, 0xFF0E0000},                             // floor
    {159, 0, 0, 0xFF010100},                                // the finished mark
};

TEST(Sierpinski, ExactPixels) {
    for (const PixelFact& f : kPixelFacts) {
        auto e = MakeEquation(f.index);
        EXPECT_EQ(e->GetPixel(f.x, f.y), f.colour)
            << e->GetName() << " at (" << f.x << ", " << f.y << ")";
    }
}

// Type 5 and every value outside 0 .. 4 draw type 0; the other types differ from it.
TEST(Sierpinski, CarpetTypesOutsideTheTableDrawTypeZero) {
    auto e = MakeEquation(156);
    const uint64_t type0 = test::PictureChecksum(*e, 2);
    for (float t : {5.0f, 6.0f, -1.0f, -1e9f, 1e9f, std::numeric_limits<float>::quiet_NaN()}) {
        e->SetParam(0, t);
        EXPECT_EQ(test::PictureChecksum(*e, 2), type0) << t;
    }
    for (float t : {1.0f, 2.0f, 3.9f, 4.0f}) {
        e->SetParam(0, t);
        EXPECT_NE(test::PictureChecksum(*e, 2), type0) << t;
    }
    e->ResetParams();
    EXPECT_EQ(e->params[0], 0.0f);
}

TEST(Sierpinski, TriangleMapAccumulatesOnceIntoItsCells) {
    auto e = MakeEquation(160);
    const std::vector<uint32_t> first = RenderPicture(*e, 2);
    EXPECT_EQ(RenderPicture(*e, 1), first);
    // The top corner is visited (grey); the middle of the triangle is floor.
    const uint32_t top = first[512];
    EXPECT_TRUE(top != kBlack && (top & 0xFF) == ((top >> 8) & 0xFF) &&
                (top & 0xFF) == (top >> 16 & 0xFF))
        << std::hex << top;
    EXPECT_EQ(first[700 * 1024 + 512] & 0x0000FFFF, 0u);
}

// Computes the picture in row order, as the image object does, from `random`.
std::vector<uint32_t> Generations(IPixelEquation& e, RandomStream& random) {
    std::vector<uint32_t> texels(size_t(e.width) * e.height);
    EquationContext context{random};
    RenderEquation(e, context, texels.data(), e.width, 2);
    return texels;
}

TEST(CellularAutomata, FirstRowsFollowTheirRules) {
    RandomStream random;
    auto rgb = MakeEquation(171);
    const std::vector<uint32_t> p = Generations(*rgb, random);
    for (uint32_t x = 0; x < 1024; ++x) {
        EXPECT_EQ(p[x], x == 512 ? kWhite : kBlack) << "row 0, column " << x;
        // 118, 182 and 150 all light the neighbourhoods 001, 010 and 100.
        EXPECT_EQ(p[1024 + x], x >= 511 && x <= 513 ? kWhite : kBlack) << "row 1, column " << x;
    }
    auto rule18 = MakeEquation(173);
    const std::vector<uint32_t> q = Generations(*rule18, random);
    for (uint32_t x = 0; x < 1024; ++x)
        EXPECT_EQ(q[x], x == 510 || x == 512 ? kLit : kBlack) << "row 0, column " << x;
    EXPECT_EQ(q[2 * 1024 + 508], kLit);  // the triangle grows downward
    EXPECT_EQ(q[2 * 1024 + 514], kLit);
}

// A second computation starts again from row 0: the same picture, except for the random start
// row, which continues the image object's stream.
TEST(CellularAutomata, RecomputingStartsAgain) {
    for (uint32_t index : {171u, 173u}) {
        auto e = MakeEquation(index);
        RandomStream random;
        EXPECT_EQ(Generations(*e, random), Generations(*e, random)) << index;
    }
    auto e = MakeEquation(172);
    RandomStream random(7), again(7);
    const std::vector<uint32_t> first = Generations(*e, random);
    EXPECT_NE(Generations(*e, random), first);
    EXPECT_EQ(Generations(*e, again), first);
    EXPECT_EQ(e->GetPixel(5000, 0), kBlack);  // no cells past the row: nothing read or written
}

}  // namespace
}  // namespace luneth
