// Compiled lines: the tiled run against the step-by-step run on lines that stress broadcasting,
// padding and scalars, for several thread counts; and the diagnostics of failed lines.
#include <gtest/gtest.h>

#include <string>

#include "ScriptTestUtil.h"

using namespace luneth;

namespace {

// Each script ends with lines whose arrays span several tiles and have different lengths.
const char* const kScripts[] = {
    // Full-length arrays through operators, kinds 5 to 9 and negation.
    "pixels = width:300 height:37\nx = from -2.0 to 2.0 W\ny = from -1.0 to 1.0 H\n"
    "z = -x * y + sin(x) / (y - 0.25)\nw = smoothstep(0.1, 0.9, x) ^ 2\n"
    "v = distance_v3(x, y, z, 0.5, y, -1.5e0) % 0.7\nu = [loop: 3] u + x * 0.5\n"
    "t = clamp(x, -y, 0.5) & y | (x < y) = 0\nr = -z\ng = x / 0\nb = 0 / (x - x)",
    // Arrays of different lengths: the shorter one reads 0 past its end.
    "vertices = 5000\nx = from 0.0 to 1.0\nvertices = 9001\ny = from 1.0 to 2.0\n"
    "z = cos(x) + y\nw = -x - y\nv = add4(x, y, 1, x)\nu = min3(x, -y, 0.5) * cos(x)",
    // A scalar below 2^-23 on the left reads 0 once broadcast; scalars fold first.
    "vertices = 7000\nx = from -1.0 to 1.0\nq = 1.0e-9\nz = q + x\nw = (q * 2) - x\n"
    "v = sqrt(-x) + (PI * 2) ^ 0.5\nFoo = x * x\nBar = Foo + sin(1.5) * x\nr = Bar / Foo",
    // Functions with whole-tile kernels, at their edges: equal edges, x on an edge, NaN and
    // infinite arguments, edges given backwards, scalars among the arrays.
    "vertices = 6000\nx = from -1.0 to 1.0\ny = x * x - 0.25\nq = 0 / 0\n"
    "z = smoothstep(y, y, x) + linestep(-0.5, x, 0.25) * 2 + smoothxstep(0.5, -0.5, x) * 4\n"
    "w = smoothstep(q, 1, x) + smoothstep(x, 1 / 0, y) * 2 + smoothstep(0, 0, x) * 4\n"
    "v = mix(x, y, x / y) + hypot(x / 0, y) + distance_v3(x, q, 1, y, 0, x / y)",
    // Products folded into the sum or difference that follows, on either side; a product
    // shorter than its sum stays apart (past its end it reads +0, not -5 * 0 or inf * 0).
    "vertices = 5000\nx = from -1.0 to 1.0\nvertices = 6100\ny = from 2.0 to -2.0\n"
    "q = 3.0e38 * 3.0e38\nz = x * y + y\nw = y - x * 3 + (x * q - y)\n"
    "v = 2 * y - y * y + (y + x) * y\nu = x * q + y\nt = -5 * x + y",
    // One-operation lines long enough to be written with streaming stores, with an odd count
    // so that chunks end mid-vector, and divisors near 0.
    "vertices = 1048583\nx = from -1.0 to 1.0\ny = x * x - 1.0e-8\nq = 3.0e38 * 3.0e38\n"
    "z = x * y + y\nw = 0.5 - x * y\nv = y * 2 - x\nu = x / y\nt = -x\ns = q - x\n"
    "r = 2 / x\np = 1.0e-9 + x\no = y - x\nn = sin(x) * y + x / y",
    // Unset letters warn on every read, in order, with the text of their own bracket.
    "vertices = 4100\nx = from 0.0 to 3.0\nz = x + q * sin(k + x)\nw = [loop: 2] (m) + x",
};

}  // namespace

TEST(CompiledLines, TiledRunsGiveTheStepByStepBitsOnAnyNumberOfThreads) {
    for (const char* text : kScripts) {
        CMathScript plain;
        plain.SetTiledLines(false);
        ASSERT_TRUE(test::RunText(plain, text));
        for (int threads : {1, 2, 3, 8}) {
            CMathScript tiled;
            tiled.SetThreadCount(threads);
            ASSERT_TRUE(test::RunText(tiled, text));
            EXPECT_STREQ(tiled.Messages(), plain.Messages()) << text;
            for (char c = 'a'; c <= 'z'; ++c)
                EXPECT_TRUE(test::SameBits(*tiled.Letter(c), *plain.Letter(c)))
                    << c << " on " << threads << " threads in\n"
                    << text;
            for (uint32_t i = 0; i < plain.UserVariableCount(); ++i)
                EXPECT_TRUE(
                    test::SameBits(tiled.UserVariableAt(i).value, plain.UserVariableAt(i).value));
        }
    }
}

TEST(CompiledLines, FailedLinesSayWhereAndWhat) {
    struct Case {
        const char* text;
        const char* diagnostics;
    } const cases[] = {
        {"vertices = 1; v = sinn(1)",
         "line 1, column 19: unknown function 'sinn'; did you mean 'sin', 'sinh'?\n"},
        {"vertices = 1\nv = 1 +\n\nw = clamp(1, 2, 3, 4)",
         "line 2, column 8: expected an operand\nline 4, column 18: 'clamp' takes 3 arguments\n"},
        {"vertices = 1\nv = (1 + 2\nw = Fooo + 1\nFoo = 1\nw = Foo 2",
         "line 2, column 5: '(' is never closed\nline 3, column 5: unknown name 'Fooo'\n"
         "line 5, column 9: expected an operator, found '2'\n"},
        {"v = 1",
         "line 1, column 1: no element count yet: start the script with 'pixels = "
         "width:W height:H' or 'vertices = N'\n"},
        {"pixels = width:4\r\nx = from 0.0 too 1.0 W",
         "line 1, column 10: expected 'width:W height:H' with W x H from 1 to 2^28 pixels\n"
         "line 2, column 1: no element count yet: start the script with 'pixels = width:W "
         "height:H' or 'vertices = N'\n"},
        {"vertices = 2; x = from 0.0 too 1.0", "line 1, column 28: expected 'to'\n"},
        {"vertices = 2\n[LOOP START: 3]\nv = qq(1)\nLOOP END]",
         "line 3, column 5: unknown function 'qq'\n"},
    };
    for (const Case& c : cases) {
        CMathScript s;
        test::RunText(s, c.text);
        EXPECT_EQ(s.DiagnosticsText(), c.diagnostics) << c.text;
    }
}

// A line that failed because a variable did not exist yet runs once a later line of the loop
// has made it.
TEST(CompiledLines, ALineThatFailedIsReadAgainOnItsNextRun) {
    CMathScript s;
    ASSERT_TRUE(test::RunText(s,
                              "vertices = 1\n[LOOP START: 3]\nv = Late + 1\nLate = loop\n"
                              "LOOP END]"));
    EXPECT_EQ(s.Letter('v')->scalar, 2.0f);  // 1 + the second pass's Late
    EXPECT_EQ(s.Diagnostics().size(), 1u);
}
