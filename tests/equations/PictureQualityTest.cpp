// The scenes, fields, landscapes, painters, raycasters and bulbs: every picture is a picture
// (opaque, many colours, no colour covering nearly all of it), at the ends of its parameter
// ranges too; the random painters draw from the image object's stream; a few exact pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "equations/EquationCatalogue.h"
#include "equations/EquationRenderer.h"
#include "equations/EquationTestUtil.h"

namespace luneth {
namespace {

using test::MakeEquation;
using test::RenderPicture;

// Least distinct colours a picture must show (pictures of a few flat colours, fewer).
struct Expectation {
    uint32_t index;
    size_t colours;
};
const Expectation kPictures[] = {
    {58, 64},    {72, 1000},  {73, 1000},  {74, 1000},  {75, 1000},  {76, 5},     {108, 1000},
    {109, 40},   {110, 1000}, {119, 1000}, {120, 100},  {121, 1000}, {122, 1000}, {134, 1000},
    {135, 1000}, {149, 1000}, {150, 1000}, {152, 500},  {161, 1000}, {162, 1000}, {163, 1000},
    {164, 1000}, {165, 1000}, {166, 1000}, {193, 1000}, {194, 1000},
};

// Opaque everywhere, at least `colours` colours, none on more than 90 percent of the pixels.
void ExpectAPicture(const std::vector<uint32_t>& pixels, size_t colours, const char* what) {
    std::unordered_map<uint32_t, size_t> counts;
    for (uint32_t c : pixels) {
        ASSERT_EQ(c >> 24, 0xFFu) << what << ": not opaque";
        ++counts[c];
    }
    size_t most = 0;
    for (const auto& [colour, n] : counts) most = std::max(most, n);
    EXPECT_GE(counts.size(), colours) << what;
    EXPECT_LE(most, pixels.size() * 9 / 10) << what << ": nearly one colour";
}

TEST(PictureQuality, EveryPictureIsAPicture) {
    for (const Expectation& p : kPictures) {
        auto e = MakeEquation(p.index);
        ASSERT_NE(e, nullptr);
        ExpectAPicture(RenderPicture(*e, 2), p.colours, e->GetName());
    }
}

// Both ends of every parameter's range give a picture, and a different one from the default.
TEST(PictureQuality, ParameterEndsGiveOtherPictures) {
    for (uint32_t index : {72u, 73u, 121u}) {
        auto e = MakeEquation(index);
        ASSERT_NE(e, nullptr);
        const std::vector<uint32_t> standard = RenderPicture(*e, 2);
        for (uint32_t i = 0; e->GetParamName(i); ++i) {
            float lo, hi, step;
            e->GetParamRange(i, &lo, &hi, &step);
            for (float end : {lo, hi}) {
                e->ResetParams();
                e->SetParam(i, end);
                const std::vector<uint32_t> picture = RenderPicture(*e, 2);
                ExpectAPicture(picture, 1000, e->GetName());
                EXPECT_NE(picture, standard) << e->GetName() << " param " << i << " = " << end;
            }
        }
    }
}

// The random painters paint from the stream they are given: the same state paints the same
// picture, another state another one, and painting moves the stream on.
TEST(PictureQuality, RandomPaintersDrawFromTheImageStream) {
    for (uint32_t index : {119u, 120u}) {
        std::vector<uint32_t> pictures[3];
        const uint32_t seeds[3] = {12345, 12345, 777};
        for (int i = 0; i < 3; ++i) {
            auto e = MakeEquation(index);
            ASSERT_NE(e, nullptr);
            pictures[i].resize(size_t{e->width} * e->height);
            RandomStream random(seeds[i]);
            EquationContext context{random};
            ASSERT_TRUE(RenderEquation(*e, context, pictures[i].data(), e->width, 2));
            EXPECT_NE(random.State(), seeds[i]) << index;
        }
        EXPECT_EQ(pictures[0], pictures[1]) << index;
        EXPECT_NE(pictures[0], pictures[2]) << index;
    }
}

struct PixelFact {
    uint32_t index, x, y, colour;
};
const PixelFact kFacts[] = {
    // "Cameron 1": a number every 2 x 2 pixels on the Ulam spiral, 1 at (512, 511).
    {76, 512, 511, 0xFF004800},  // 1 = 0^2 + 1^2, not prime: dim green
    {76, 514, 511, 0xFFFFFF00},  // 2, prime and 1^2 + 1^2: yellow
    {76, 514, 509, 0xFFFF0000},  // 3, prime of the form 4m + 3: red
    {76, 510, 509, 0xFFFFFF00},  // 5 = 1^2 + 2^2, prime: yellow
    {76, 516, 509, 0xFF000060},  // 12, abundant: dim blue
    // "Game Screen": sky, and the same block on a scan line (every channel at 13/16).
    {109, 1000, 400, 0xFF64A0F0},
    {109, 1000, 403, 0xFF5182C3},
    {109, 52, 32, 0xFFF8F8F8},  // the top of the S of SCORE
    {109, 48, 32, 0xFF64A0F0},  // left of it, sky
    // "Coloured Vinyl": the spindle hole shows the table, the label is cream.
    {134, 512, 512, 0xFF281C14},
    {134, 600, 512, 0xFFF4EACC},
};

TEST(PictureQuality, ExactPixels) {
    for (const PixelFact& f : kFacts) {
        auto e = MakeEquation(f.index);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->GetPixel(f.x, f.y), f.colour)
            << e->GetName() << " at (" << f.x << ", " << f.y << ")";
    }
}

}  // namespace
}  // namespace luneth
