// Properties of the drawn pictures (random pictures, cloths, stripes, spirals, patterns) that
// the checksum table cannot show: every picture is a real picture at its defaults and at the
// ends of its parameters, random members follow the image object's stream, and Arnold's cat
// map comes back to the cat.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "equations/EquationRenderer.h"
#include "equations/EquationTestUtil.h"
#include "equations/PictureMath.h"

namespace luneth {
namespace {

using test::MakeEquation;
using test::RenderPicture;

const uint32_t kMembers[] = {42,  43,  44,  45,  46,  47,  48,  49,  70,  71,  78,
                             111, 112, 113, 114, 115, 116, 117, 118, 123, 124, 125,
                             126, 127, 128, 129, 130, 132, 136, 137, 138, 139};

// Opaque everywhere, and far from flat: no colour covers more than `most` of the picture.
void ExpectRealPicture(std::vector<uint32_t> picture, double most, const std::string& what) {
    std::sort(picture.begin(), picture.end());
    size_t largest = 0, colours = 0;
    for (size_t i = 0, run = 0; i < picture.size(); ++i) {
        run = (i > 0 && picture[i] == picture[i - 1]) ? run + 1 : 1;
        colours += run == 1 ? 1 : 0;
        largest = std::max(largest, run);
    }
    EXPECT_EQ(picture.front() >> 24, 0xFFu) << what << ": not opaque";
    EXPECT_GE(colours, 8u) << what;
    EXPECT_LT(static_cast<double>(largest), most * static_cast<double>(picture.size())) << what;
}

TEST(PictureFamilies, EveryMemberIsARealPictureAtItsDefaults) {
    for (uint32_t index : kMembers) {
        auto e = MakeEquation(index);
        ASSERT_NE(e, nullptr);
        ExpectRealPicture(RenderPicture(*e, 3), 0.6, e->GetName());
    }
}

// The ends of every range, and values no range allows, still give a picture; the range ends
// give another picture than the defaults.
TEST(PictureFamilies, ParameterEndsAndBadValuesGivePictures) {
    struct Case {
        uint32_t index, param;
        float value;
        bool inRange;
    };
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const Case cases[] = {{43, 0, 1000, true},  {43, 1, 1000, true},   {43, 0, 0.5f, true},
                          {43, 1, kNaN, false}, {43, 0, -kInf, false}, {46, 0, 0, true},
                          {46, 0, 1000, true},  {46, 0, kNaN, false},  {46, 0, kInf, false},
                          {48, 0, 0, true},     {48, 0, 1000, true},   {48, 0, kNaN, false},
                          {48, 0, -1, false},   {124, 0, -256, true},  {124, 1, 256, true},
                          {124, 2, 0, true},    {124, 0, kNaN, false}, {124, 1, kInf, false}};
    std::map<uint32_t, std::vector<uint32_t>> defaults;
    for (const Case& c : cases) {
        auto e = MakeEquation(c.index);
        if (!defaults.count(c.index)) defaults[c.index] = RenderPicture(*e, 3);
        e->SetParam(c.param, c.value);
        const auto changed = RenderPicture(*e, 3);
        const std::string what = std::string(e->GetName()) + " param " + std::to_string(c.param) +
                                 " = " + std::to_string(c.value);
        ExpectRealPicture(changed, 0.6, what);
        if (c.inRange) {
            EXPECT_NE(changed, defaults[c.index]) << what;
        }
    }
}

// Random members draw from the stream of the image object that computes them, once: another
// stream gives another picture, computing again keeps the first one.
TEST(PictureFamilies, RandomMembersDrawFromTheImageObjectsStream) {
    for (uint32_t index : {42u, 44u, 45u, 46u, 47u, 49u, 132u}) {
        auto first = MakeEquation(index), second = MakeEquation(index);
        const auto picture = RenderPicture(*first, 3);
        std::vector<uint32_t> other(picture.size()), again(picture.size());
        RandomStream stream(12345);
        EquationContext context{stream};
        RenderEquation(*second, context, other.data(), second->width, 3);
        EXPECT_NE(other, picture) << first->GetName();
        RenderEquation(*first, context, again.data(), first->width, 3);
        EXPECT_EQ(again, picture) << first->GetName();
    }
}

// The cat map on the 336-pixel panels has period 24: the last panel (24 steps) shows the cat
// of the first (none), wherever the seeds put it; the panels between do not.
TEST(PictureFamilies, ArnoldsCatComesBackAfterTwentyFourSteps) {
    auto e = MakeEquation(43);
    e->ResetParams();  // SeedX 0.1, SeedY 0.2
    auto panel = [&](uint32_t column, uint32_t row) {
        std::vector<uint32_t> p;
        for (uint32_t y = 0; y < 336; ++y)
            for (uint32_t x = 0; x < 336; ++x)
                p.push_back(e->GetPixel(4 + 340 * column + x, 4 + 340 * row + y));
        return p;
    };
    const auto cat = panel(0, 0);
    EXPECT_EQ(panel(2, 2), cat);
    EXPECT_NE(panel(1, 1), cat);
    EXPECT_EQ(e->GetPixel(0, 0), 0xFF202020u);  // the frame between panels
}

TEST(PictureFamilies, FastSineFollowsTheLibrarySine) {
    for (float t = -40.0f; t <= 40.0f; t += 0.0137f)
        EXPECT_NEAR(picture::SinPi(t), std::sin(3.14159265358979 * t), 2e-6) << t;
    EXPECT_EQ(picture::SinPi(std::nanf("")), 0.0f);
    EXPECT_EQ(picture::SinPi(1e30f), 0.0f);
}

// Where atan2 jumps from pi to -pi (left of a polar picture's centre, left of each
// dislocation of "Mistake Stripes") the colours run on: neighbouring rows across the line
// differ about as much as the rows beside it.
TEST(PictureFamilies, NoSeamWhereTheAngleWrapsAround) {
    struct Cut {
        uint32_t index, row, xFrom, xTo;  // the jump lies between rows row - 1 and row
    };
    const Cut cuts[] = {{123, 512, 20, 500}, {124, 512, 20, 500}, {125, 512, 20, 500},
                        {126, 512, 80, 500}, {129, 512, 20, 500}, {117, 270, 10, 290},
                        {117, 800, 10, 770}};
    auto rowStep = [](IPixelEquation& e, uint32_t row, uint32_t x0, uint32_t x1) {
        double sum = 0;
        for (uint32_t x = x0; x < x1; ++x) {
            const uint32_t a = e.GetPixel(x, row - 1), b = e.GetPixel(x, row);
            for (int shift = 0; shift < 24; shift += 8)
                sum += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
        }
        return sum;
    };
    for (const Cut& c : cuts) {
        auto e = MakeEquation(c.index);
        const double across = rowStep(*e, c.row, c.xFrom, c.xTo);
        const double beside =
            rowStep(*e, c.row - 1, c.xFrom, c.xTo) + rowStep(*e, c.row + 1, c.xFrom, c.xTo);
        EXPECT_LT(across, beside + 2.0 * (c.xTo - c.xFrom)) << e->GetName() << " row " << c.row;
    }
}

// "MyRandom" colours each connected path of its Truchet arcs alike: where an arc crosses from
// one tile into the next (the middle of a tile edge), both sides have the path's colour.
TEST(PictureFamilies, TruchetPathsKeepTheirColourAcrossTiles) {
    auto e = MakeEquation(49);
    RenderPicture(*e, 1);  // draws the tiles from a fresh image object's stream
    auto close = [](uint32_t a, uint32_t b) {
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 6) return false;
        return true;
    };
    for (uint32_t k = 1; k < 16; ++k)
        for (uint32_t j = 0; j < 16; ++j) {
            EXPECT_TRUE(
                close(e->GetPixel(64 * k - 1, 64 * j + 32), e->GetPixel(64 * k, 64 * j + 32)));
            EXPECT_TRUE(
                close(e->GetPixel(64 * j + 32, 64 * k - 1), e->GetPixel(64 * j + 32, 64 * k)));
        }
}

}  // namespace
}  // namespace luneth
