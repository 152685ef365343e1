#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <variant>

#include "ScriptTestUtil.h"

using namespace luneth;
using luneth::test::Contains;
using luneth::test::Elements;
using luneth::test::RunText;

namespace {

// A three-point curve along x: (0,0,0), (1,0,0), (2,0,0) (y and z given as arrays).
const char* kCurve = "vertices = 3\nx = from 0.0 to 2.0\ny = from 0.0 to 0.0\nz = from 0.0 to 0.0\n";

}  // namespace

TEST(Geometry, SurfaceSlices) {
    CMathScript s;
    RunText(s, "surface_slices = 1");
    EXPECT_EQ(s.SurfaceSlices(), 2u);
    RunText(s, "surface_slices = 0x10");
    EXPECT_EQ(s.SurfaceSlices(), 16u);
    RunText(s, "surface_slices = 8\nsurface_slices = abc");
    EXPECT_EQ(s.SurfaceSlices(), 8u);
    EXPECT_STREQ(s.Messages(), "");
    RunText(s, "surface_slices = 8\nsurface_slices =");
    EXPECT_EQ(s.SurfaceSlices(), 8u);
    EXPECT_STREQ(s.Messages(), "[Warning] Failed to set surface_slices. Line:1, Expression:\r\n");
}

TEST(Geometry, TranslateSweepsTheCurveIntoAGrid) {
    CMathScript s;
    ASSERT_TRUE(RunText(s, "vertices = 3\nx = from 0.0 to 2.0\ny = 0\nz = 0\nsurface_slices = 4\n"
                           "translate = dir(0, 0, 1) dis(0, 3)"));
    EXPECT_EQ(s.Width(), 4u);
    EXPECT_EQ(s.Height(), 3u);
    EXPECT_EQ(s.ElementCount(), 12u);
    EXPECT_EQ(Elements(*s.Letter('z')), (std::vector<float>{0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3}));
    EXPECT_EQ(Elements(*s.Letter('x')), (std::vector<float>{0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2}));
    EXPECT_EQ(Elements(*s.Letter('v')), (std::vector<float>{0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3}));
    EXPECT_FALSE(s.Letter('y')->IsArray()) << "a coordinate no record writes stays scalar";
}

TEST(Geometry, ScaleWithAPerSliceExpression) {
    CMathScript s;
    ASSERT_TRUE(RunText(s, std::string(kCurve) + "surface_slices = 3\n"
                                                 "scale = anchor(1, 0, 0), x(0, 1, v * 2)"));
    // v = 0, 0.5, 1 while the directive runs, so the factors are 0, 1, 2 about x = 1.
    EXPECT_EQ(Elements(*s.Letter('x')), (std::vector<float>{1, 0, -1, 1, 1, 1, 1, 2, 3}));
    // v (three elements from the directive) is spread over the slices like every array; here
    // that makes it span the grid already, so it is not replaced by the slice parameter.
    EXPECT_EQ(Elements(*s.Letter('v')), (std::vector<float>{0, 0, 0, 0.5f, 0.5f, 0.5f, 1, 1, 1}));
    // With four slices it does not, and v becomes the slice parameter 0 .. 1 (L = 1).
    ASSERT_TRUE(RunText(s, std::string(kCurve) + "surface_slices = 4\nscale = y(1, 2)"));
    EXPECT_EQ(Elements(*s.Letter('v')),
              (std::vector<float>{0, 1.0f / 3, 2.0f / 3, 1, 0, 1.0f / 3, 2.0f / 3, 1, 0, 1.0f / 3,
                                  2.0f / 3, 1}));
}

TEST(Geometry, QuarterTurnsAboutEachAxis) {
    // The point (1, 2, 3) about the origin, slices 0 and pi/2 (S = 2).
    struct Case {
        const char* axis;
        float expected[3];
    } cases[] = {
        {"1, 0, 0", {1, 3, -2}},
        {"0, 1, 0", {-3, 2, 1}},
        {"0, 0, 1", {2, -1, 3}},
        {"0, 0, 0", {1, 3, -2}},  // a zero axis means the x axis
        {"0, 0, 5", {2, -1, 3}},  // the axis is normalised
    };
    for (const Case& c : cases) {
        CMathScript s;
        ASSERT_TRUE(RunText(s, std::string("vertices = 1\nx = 1\ny = 2\nz = 3\nsurface_slices = 2\n"
                                           "rotate = anchor(0, 0, 0) axis(") +
                                   c.axis + ") angle(0, PI / 2)"));
        ASSERT_EQ(s.ElementCount(), 2u);
        EXPECT_NEAR(s.Letter('x')->data[0], 1.0f, 1e-6f);
        EXPECT_NEAR(s.Letter('z')->data[0], 3.0f, 1e-6f);
        const char xyz[] = "xyz";
        for (int a = 0; a < 3; ++a)
            EXPECT_NEAR(s.Letter(xyz[a])->data[1], c.expected[a], 1e-5f) << c.axis << " " << xyz[a];
        EXPECT_FLOAT_EQ(s.Letter('v')->data[1], 6.2831855f);
    }
    // About an anchor: (2, 0, 0) a half turn about z through (1, 0, 0) lands on (0, 0, 0).
    CMathScript s;
    ASSERT_TRUE(RunText(s, "vertices = 1\nx = 2\ny = 0\nz = 0\nsurface_slices = 2\n"
                           "rotate = anchor(1, 0, 0) axis(0, 0, 1) angle(0, PI)"));
    EXPECT_NEAR(s.Letter('x')->data[1], 0.0f, 1e-6f);
    EXPECT_NEAR(s.Letter('y')->data[1], 0.0f, 1e-6f);
}

TEST(Geometry, PipeRingsLieAtTheRadiusAroundAStraightCurve) {
    for (int type : {0, 1}) {
        CMathScript s;
        // A straight curve along (1, 2, 2) / 3.
        ASSERT_TRUE(RunText(s, "vertices = 4\nt = from 0.0 to 3.0\nx = t\ny = t * 2\nz = t * 2\n"
                               "surface_slices = 9\npipe = radius(0.5) type(" +
                                   std::to_string(type) + ")"));
        ASSERT_EQ(s.ElementCount(), 36u);
        const float* x = s.Letter('x')->data;
        const float* y = s.Letter('y')->data;
        const float* z = s.Letter('z')->data;
        for (uint32_t i = 0; i < 4; ++i) {
            float cx = float(i), cy = 2.0f * i, cz = 2.0f * i;
            for (uint32_t j = 0; j < 9; ++j) {
                uint32_t k = j + i * 9;
                float dx = x[k] - cx, dy = y[k] - cy, dz = z[k] - cz;
                EXPECT_NEAR(std::sqrt(dx * dx + dy * dy + dz * dz), 0.5f, 1e-5f) << type;
                // Perpendicular to the curve: the ring lies in the point's normal plane.
                EXPECT_NEAR((dx + 2 * dy + 2 * dz) / 3.0f, 0.0f, 1e-5f) << type;
            }
            // The last slice closes the ring.
            EXPECT_NEAR(x[i * 9 + 8], x[i * 9], 1e-5f);
        }
    }
    // A one-point curve gets a ring about the y axis.
    CMathScript s;
    ASSERT_TRUE(RunText(s, "vertices = 1\nx = 1\ny = 1\nz = 1\nsurface_slices = 5\npipe = radius(2)"));
    for (uint32_t j = 0; j < 5; ++j) {
        EXPECT_FLOAT_EQ(s.Letter('y')->data[j], 1.0f);
        float dx = s.Letter('x')->data[j] - 1, dz = s.Letter('z')->data[j] - 1;
        EXPECT_NEAR(dx * dx + dz * dz, 4.0f, 1e-4f);
    }
}

TEST(Geometry, RecordsThatAreRefused) {
    struct Case {
        const char* line;
        const char* message;
    } cases[] = {
        {"pipe = radius(0.001)", "[Warning] Failed to set pipe tm. Line:4, Expression: radius(0.001)"},
        {"scale = anchor(0, 0, 0)", "[Warning] Failed to set scale tm. Line:4, Expression: anchor(0, 0, 0)"},
        {"rotate = axis(0, 1, 0)", "[Warning] Failed to set rotate tm. Line:4, Expression: axis(0, 1, 0)"},
        {"translate = dir(1, 0, 0)", "[Warning] Failed to set translate tm. Line:4, Expression: dir(1, 0, 0)"},
        {"scale = anchor(0, 0) x(0, 1)", "[Warning] Failed to set scale anchor. Line:4, Expression: anchor(0, 0) x(0, 1)"},
        {"scale = x(0, 1, 2, 3)", "[Warning] Failed to set scale scaleX. Line:4, Expression: x(0, 1, 2, 3)"},
        {"scale = y 0, 1", "[Warning] Failed to set scale scaleY. Line:4, Expression: y 0, 1"},
        {"scale = z(0, 1]", "[Warning] Failed to set scale scaleZ. Line:4, Expression: z(0, 1]"},
        {"rotate = anchor(1, 2, 3, 4) angle(0, 1)", "[Warning] Failed to set rotate anchor. Line:4, Expression: anchor(1, 2, 3, 4) angle(0, 1)"},
        {"rotate = axis(a b c) angle(0, 1)", "[Warning] Failed to set rotate axis. Line:4, Expression: axis(a b c) angle(0, 1)"},
        {"rotate = angle(0, nope)", "[Warning] Failed to set roate angle. Line:4, Expression: angle(0, nope)"},
        {"translate = dir(0, 0) dis(0, 1)", "[Warning] Failed to set translate Dir. Line:4, Expression: dir(0, 0) dis(0, 1)"},
        {"translate = dir(0, 0, 1) dis(0, 1, 1 +)", "[Warning] Failed to set translate dis. Line:4, Expression: dir(0, 0, 1) dis(0, 1, 1 +)"},
        {"pipe = radius()", "[Warning] Failed to set pipe radius. Line:4, Expression: radius()"},
        {"pipe = radius(1) type(1, 2)", "[Warning] Failed to set pipe type. Line:4, Expression: radius(1) type(1, 2)"},
        {"scale = x(0, max(1, 2))", "[Warning] Failed to set scale scaleX. Line:4, Expression: x(0, max(1, 2))"},
    };
    for (const Case& c : cases) {
        CMathScript s;
        EXPECT_TRUE(RunText(s, std::string(kCurve) + c.line + "\nw = 1")) << c.line;
        EXPECT_EQ(std::string(s.Messages()), std::string(c.message) + "\r\n") << c.line;
        EXPECT_TRUE(s.Transforms().empty()) << c.line;
        EXPECT_EQ(s.ElementCount(), 3u) << "no surface without a record";
        EXPECT_EQ(s.Letter('w')->scalar, 1.0f) << "the run goes on";
    }
    CMathScript s;
    ASSERT_TRUE(RunText(s, std::string(kCurve) + "pipe = radius(0.0011)"));
    ASSERT_EQ(s.Transforms().size(), 1u);
    EXPECT_EQ(s.Transforms()[0].index(), 3u);
}

TEST(Geometry, PerSliceExpressionOfTheWrongLengthWarns) {
    CMathScript s;
    ASSERT_TRUE(RunText(s, std::string(kCurve) + "surface_slices = 4\ntranslate = dir(0, 1, 0) dis(0, 1, 2)"));
    EXPECT_TRUE(Contains(s.Messages(),
                         "[Warning] ParseBracketValueNode used invalid params. Line:5, Expression:"));
    // The scalar 2 was spread over the four slices.
    EXPECT_EQ(Elements(*s.Letter('y')), (std::vector<float>{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}));
}

TEST(Geometry, ScriptsWithAGridKeepTheirRecordsButNeverApplyThem) {
    CMathScript s;
    ASSERT_TRUE(RunText(s, "pixels = W:2 H:2\nx = from 0.0 to 1.0 W\nrotate = angle(0, 1)\n"
                           "vertices = d1:3 d2:1"));
    EXPECT_EQ(s.Transforms().size(), 1u);
    EXPECT_EQ(s.Width(), 3u);
    EXPECT_EQ(Elements(*s.Letter('x')), (std::vector<float>{0, 1, 0, 1}));
    // Every array variable is spread over the slices; a record kept after the run is reset.
    ASSERT_TRUE(RunText(s, std::string(kCurve) + "Foo = x * 10\nsurface_slices = 2\nscale = z(1, 1)"));
    EXPECT_EQ(Elements(*s.UserValue("Foo")), (std::vector<float>{0, 0, 10, 10, 20, 20}));
    s.Reset();
    EXPECT_TRUE(s.Transforms().empty());
}
