// The working-buffer contract of accumulating equations, on a small equation of its own.
#include <gtest/gtest.h>

#include <vector>

#include "equations/EquationRenderer.h"
#include "equations/PixelEquation.h"

namespace luneth {
namespace {

const EquationInfo kTestRow = {900, "Test Accumulator",      "CTestAccumulator", 8,
                               4,   {{"Level", 0, 10, 1, 3}}};

// Writes Level + the cell number into every cell (cell 0 therefore gets Level), recording how
// often it ran and whether it found the buffer cleared.
class CTestAccumulator final : public CAccumulatingEquation<uint32_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;
    int runs = 0;
    bool foundClean = true;

protected:
    void Accumulate(uint32_t* cells, EquationContext& context) override {
        ++runs;
        for (uint32_t i = 0; i < width * height; ++i) {
            foundClean = foundClean && cells[i] == 0;
            cells[i] = static_cast<uint32_t>(params[0]) + i;
        }
        if (params[0] == 9) cells[1] = uint32_t(context.random.Next());
    }
    uint32_t CellColor(uint32_t cell) const override { return 0xFF000000u | cell; }
};

std::vector<uint32_t> Picture(IPixelEquation& e) {
    std::vector<uint32_t> p;
    for (uint32_t y = 0; y < e.height; ++y)
        for (uint32_t x = 0; x < e.width; ++x) p.push_back(e.GetPixel(x, y));
    return p;
}

TEST(WorkingBuffer, AccumulatesOnceAndAnswersFromTheBuffer) {
    CTestAccumulator e(kTestRow);
    EXPECT_FALSE(e.IsFinished());
    EXPECT_EQ(e.runs, 0);
    const auto first = Picture(e);
    EXPECT_EQ(e.runs, 1);
    EXPECT_TRUE(e.IsFinished());
    EXPECT_EQ(first[0], 0xFF000003u);
    EXPECT_EQ(first[31], 0xFF000003u + 31);
    EXPECT_EQ(Picture(e), first);  // computing again reuses the picture
    EXPECT_EQ(e.runs, 1);
}

TEST(WorkingBuffer, AcceptedParameterChangesClearTheBuffer) {
    CTestAccumulator e(kTestRow);
    Picture(e);
    e.SetParam(1, 5.0f);  // not a parameter of this equation: ignored, picture kept
    Picture(e);
    EXPECT_EQ(e.runs, 1);
    e.SetParam(0, 7.0f);
    EXPECT_FALSE(e.IsFinished());
    EXPECT_EQ(Picture(e)[5], 0xFF000000u + 7 + 5);
    EXPECT_EQ(e.runs, 2);
    e.ResetParams();
    EXPECT_EQ(Picture(e)[5], 0xFF000000u + 3 + 5);
    EXPECT_EQ(e.runs, 3);
    EXPECT_TRUE(e.foundClean);  // every accumulation started from zeros
}

TEST(WorkingBuffer, FirstCellMarksTheFinishedPicture) {
    CTestAccumulator e(kTestRow);
    e.SetParam(0, 0.0f);                       // the accumulation leaves cell 0 at 0
    EXPECT_EQ(e.GetPixel(0, 0), 0xFF000001u);  // marked 1
    EXPECT_EQ(e.GetPixel(3, 0), 0xFF000003u);
    e.GetPixel(0, 0);
    EXPECT_EQ(e.runs, 1);
}

TEST(WorkingBuffer, OutsideThePictureIsZeroAndComputesNothing) {
    CTestAccumulator e(kTestRow);
    EXPECT_EQ(e.GetPixel(8, 0), 0u);
    EXPECT_EQ(e.GetPixel(0, 4), 0u);
    EXPECT_EQ(e.GetPixel(0xFFFFFFFF, 0xFFFFFFFF), 0u);
    EXPECT_EQ(e.runs, 0);
}

// A whole-picture computation prepares once from the context's stream; the pixels are those of
// GetPixel, on any number of threads.
TEST(WorkingBuffer, RenderPreparesOnceFromTheContextStream) {
    CTestAccumulator e(kTestRow);
    e.SetParam(0, 9.0f);
    RandomStream random(42), expected(42);
    EquationContext context{random};
    std::vector<uint32_t> texels(e.width * e.height + 5, 0xABCDu);
    ASSERT_TRUE(RenderEquation(e, context, texels.data(), e.width, 4));
    EXPECT_EQ(texels[1], 0xFF000000u | uint32_t(expected.Next()));
    EXPECT_EQ(random.State(), expected.State());  // one draw, from this stream only
    EXPECT_EQ(texels.back(), 0xABCDu);            // nothing past the picture
    texels.resize(e.width * e.height);
    EXPECT_EQ(Picture(e), texels);
    EXPECT_EQ(e.runs, 1);
}

// A cancelled accumulation leaves a cleared buffer, not a finished picture.
TEST(WorkingBuffer, ACancelledAccumulationLeavesNothingBehind) {
    CTestAccumulator e(kTestRow);
    RandomStream random;
    ComputeControl control;
    control.RequestCancel();
    EquationContext context{random, &control};
    std::vector<uint32_t> texels(e.width * e.height);
    EXPECT_FALSE(RenderEquation(e, context, texels.data(), e.width, 2));
    EXPECT_FALSE(e.IsFinished());
    control.Reset();
    ASSERT_TRUE(RenderEquation(e, context, texels.data(), e.width, 2));
    EXPECT_TRUE(e.foundClean);
    EXPECT_EQ(e.runs, 2);
}

}  // namespace
}  // namespace luneth
