#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "ScriptTestUtil.h"
#include "script/FunctionRegistry.h"

using namespace luneth;
using luneth::test::Contains;
using luneth::test::Elements;
using luneth::test::RunText;

namespace {

std::vector<std::string> Lines(const CMathScript& s) {
    std::vector<std::string> out;
    for (size_t i = 0; i < s.LineCount(); ++i) out.push_back(s.Line(i));
    return out;
}

float Scalar(const CMathScript& s, char letter) { return s.Letter(letter)->scalar; }

}  // namespace

TEST(LineSplitting, SeparatorsAndEmptyLines) {
    CMathScript s;
    RunText(s, "a;b = 1");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"a", "b = 1"}));
    RunText(s, "x\r\ny\nz");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"x", "y", "z"}));
    // Every third consecutive separator records an empty line: a blank line in a CR LF file.
    RunText(s, "x\r\n\r\ny");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"x", "", "y"}));
    RunText(s, "x;;;;;;y");
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"x", "", "", "y"}));
    // Only separators: no line, a successful run, no counts.
    EXPECT_TRUE(RunText(s, ";;\r\n\n"));
    EXPECT_EQ(s.LineCount(), 1u);  // the third separator
    EXPECT_EQ(s.ElementCount(), 0u);
    EXPECT_TRUE(RunText(s, "\n"));
    EXPECT_EQ(s.LineCount(), 0u);
}

TEST(LineSplitting, RerunGivesTheSameLinesAndResults) {
    CMathScript s;
    ASSERT_TRUE(RunText(s, "vertices = 3\r\n\r\nt = from 0.0 to 1.0;u = t * 2"));
    auto lines = Lines(s);
    auto u = Elements(*s.Letter('u'));
    ASSERT_TRUE(s.Rerun());
    EXPECT_EQ(Lines(s), lines);
    EXPECT_EQ(Elements(*s.Letter('u')), u);
}

TEST(LineSplitting, GetTextStopsAtTheFirstLineThatDoesNotFit) {
    CMathScript s;
    RunText(s, "ab;cd;ef");
    char buffer[64];
    s.GetText(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "ab\r\ncd\r\nef\r\n");
    s.GetText(buffer, 9);  // 1 + 4 + 4 = 9 fits two lines, the third would make 13
    EXPECT_STREQ(buffer, "ab\r\ncd\r\n");
    s.GetText(buffer, 8);
    EXPECT_STREQ(buffer, "ab\r\n");
}

TEST(CountDirectives, PixelsAndVertices) {
    CMathScript s;
    ASSERT_TRUE(RunText(s, "pixels = width:640 height:480"));
    EXPECT_EQ(s.Width(), 640u);
    EXPECT_EQ(s.Height(), 480u);
    EXPECT_EQ(s.ElementCount(), 307200u);
    ASSERT_TRUE(RunText(s, "PIXELS = w:4 H : 0x2"));
    EXPECT_EQ(s.ElementCount(), 8u);
    ASSERT_TRUE(RunText(s, "vertices = 5"));
    EXPECT_EQ(s.ElementCount(), 5u);
    EXPECT_EQ(s.Width(), 0u);
    ASSERT_TRUE(RunText(s, "vertices = d1:3 dimension2:2"));
    EXPECT_EQ(s.ElementCount(), 6u);
    EXPECT_EQ(s.Width(), 3u);

    // A zero size sets every count to 0 and logs; the next assignment stops the run.
    EXPECT_FALSE(RunText(s, "pixels = width:0 height:480\nx = 1"));
    EXPECT_EQ(s.ElementCount(), 0u);
    EXPECT_STREQ(s.Messages(),
                 "[Warning] Failed to set pixels count. Line:0, Expression: width:0 height:480\r\n"
                 "[Warning] Vertices count is not setted: Line:1, Word:x, Expression: 1\r\n");

    RunText(s, "vertices = 3\nvertices = 4");
    EXPECT_EQ(s.ElementCount(), 4u);
    EXPECT_STREQ(s.Messages(),
                 "[Warning] Vertices count should be set once. Line:1, Expression: 4\r\n");
    RunText(s, "pixels = 640");
    EXPECT_EQ(s.ElementCount(), 0u) << "pixels has no plain-number form";
    EXPECT_TRUE(Contains(s.Messages(), "[Warning] Failed to set pixels count. Line:0"));
    RunText(s, "vertices = 3\nvertices =");
    EXPECT_EQ(s.ElementCount(), 3u) << "no word at all leaves the counts";
    RunText(s, "pixels = width:-4 height:2");
    EXPECT_EQ(s.ElementCount(), 0u) << "negative sizes are refused";
    RunText(s, "pixels = width:100000 height:100000");
    EXPECT_EQ(s.ElementCount(), 0u) << "a grid beyond what an array holds is refused";
}

TEST(Ramps, WithAndWithoutAGrid) {
    CMathScript s;
    ASSERT_TRUE(RunText(s, "pixels = W:4 H:2\nx = from 0.0 to 3.0 W\ny = from 0.0 to 1.0 H"));
    EXPECT_EQ(Elements(*s.Letter('x')), (std::vector<float>{0, 1, 2, 3, 0, 1, 2, 3}));
    EXPECT_EQ(Elements(*s.Letter('y')), (std::vector<float>{0, 0, 0, 0, 1, 1, 1, 1}));
    ASSERT_TRUE(RunText(s, "vertices = 5\nt = from 0.0 to 1.0"));
    EXPECT_EQ(Elements(*s.Letter('t')), (std::vector<float>{0, 0.25f, 0.5f, 0.75f, 1}));
    // Bounds: constants with signs, integers, exponent literals, bracketed expressions.
    ASSERT_TRUE(RunText(s, "vertices = 3\nk = 2\nt = from -PI to (k * 2)\nu = FROM 1.0e1 TO 0x10"));
    EXPECT_EQ(
        Elements(*s.Letter('t')),
        (std::vector<float>{-3.14159274f, (4.0f + 3.14159274f) / 2.0f * 1.0f - 3.14159274f, 4.0f}));
    EXPECT_EQ(Elements(*s.Letter('u')), (std::vector<float>{10, 13, 16}));
    // A single element keeps what resizing gave it.
    ASSERT_TRUE(RunText(s, "vertices = 1\nt = 7\nt = from 0.0 to 1.0"));
    EXPECT_EQ(Elements(*s.Letter('t')), (std::vector<float>{7}));
}

TEST(Ramps, MalformedRampsWarnAndFallThroughToTheExpression) {
    struct Case {
        const char* line;
        const char* warning;
    } cases[] = {
        {"x = from zz to 1.0 W",
         "[Warning] Line:1 ParseFromToSetting Fail to get the \"from\" value: from zz to 1.0 W"},
        {"x = from 0.0 till 1.0 W",
         "[Warning] Line:1 ParseFromToSetting Fail to get the \"to\" word: from 0.0 till 1.0 W"},
        {"x = from 0.0 to (1 +) W",
         "[Warning] Line:1 ParseFromToSetting Fail to get the \"to\" value: from 0.0 to (1 +) W"},
        {"x = from 0.0 to 1.0",
         "[Warning] Line:1 ParseFromToSetting not set dimension: from 0.0 to 1.0"},
        {"x = from 0.0 to 1.0 Q",
         "[Warning] Line:1 ParseFromToSetting not set dimension: from 0.0 to 1.0 Q"},
    };
    for (const Case& c : cases) {
        CMathScript s;
        EXPECT_TRUE(RunText(s, std::string("pixels = W:2 H:2\n") + c.line)) << c.line;
        std::string expected =
            std::string(c.warning) +
            "\r\n[Warning] ParseExpression Failed. Line:1, Expression:" + c.line + "\r\n";
        EXPECT_EQ(std::string(s.Messages()), expected) << c.line;
        EXPECT_FALSE(s.Letter('x')->IsArray());
    }
}

TEST(Ramps, GapListsAreCheckedAndKeepTheRamp) {
    CMathScript s;
    ASSERT_TRUE(RunText(s, "pixels = W:3 H:1\nx = from 0.0 to 2.0 W gap(0.5, 1.5)"));
    EXPECT_EQ(Elements(*s.Letter('x')), (std::vector<float>{0, 1, 2}));
    EXPECT_STREQ(s.Messages(), "");
    ASSERT_TRUE(RunText(s, "vertices = 3\nx = from 0.0 to 2.0 GAP[0.5]"));
    EXPECT_STREQ(s.Messages(), "");
    const char* bad[] = {"gap 0.5", "gap()", "gap(1, 2", "gap(1, t_nope(2))",
                         "gap(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17)"};
    for (const char* g : bad) {
        std::string line = std::string("x = from 0.0 to 2.0 W ") + g;
        ASSERT_TRUE(RunText(s, "pixels = W:3 H:1\n" + line)) << g;
        EXPECT_EQ(std::string(s.Messages()),
                  "[Warning] Line:1 MakeGap failed: from 0.0 to 2.0 W " + std::string(g) + "\r\n");
        EXPECT_EQ(Elements(*s.Letter('x')), (std::vector<float>{0, 1, 2})) << g;
    }
}

TEST(Repetition, LoopPrefixAndLoopBlocks) {
    CMathScript s;
    ASSERT_TRUE(RunText(s, "vertices = 1\nx = 0\nx = [loop: 3] x + 1"));
    EXPECT_EQ(Scalar(s, 'x'), 3.0f);
    ASSERT_TRUE(RunText(s, "vertices = 1\nx = 0\nx = [LOOP : 1] x + 1"));
    EXPECT_EQ(Scalar(s, 'x'), 1.0f);
    ASSERT_TRUE(RunText(s, "vertices = 1\nx = 1\nx = [loop: 10] x * 2"));
    EXPECT_EQ(Scalar(s, 'x'), 1024.0f);
    ASSERT_TRUE(RunText(s, "vertices = 1\nx = 0\nx = [loop 3] x + 1"));
    EXPECT_EQ(Scalar(s, 'x'), 0.0f);
    EXPECT_TRUE(Contains(s.Messages(), "[Warning] ParseExpression Failed. Line:2"));
    // No closing ']' after the count: evaluated once, from the character after the count.
    ASSERT_TRUE(RunText(s, "vertices = 1\nx = 0\nx = [loop: 3) x + 1"));
    EXPECT_EQ(Scalar(s, 'x'), 1.0f);
    // A prefix cut at the end of the line reads nothing beyond the line.
    ASSERT_TRUE(RunText(s, "vertices = 1\nx = 5\nx = [loop: 3\ny = 2"));
    EXPECT_EQ(Scalar(s, 'x'), 5.0f);
    EXPECT_EQ(Scalar(s, 'y'), 2.0f);

    ASSERT_TRUE(RunText(s, "vertices = 1\ns = 0\n[LOOP START: 3]\ns = s + loop\nLOOP END]\nt = s"));
    EXPECT_EQ(Scalar(s, 't'), 3.0f);
    for (const char* count : {"0", "-2"}) {
        ASSERT_TRUE(RunText(s, std::string("vertices = 1\ns = 9\n[loop start:") + count +
                                   "]\ns = s + 1\nloop end]"));
        EXPECT_EQ(Scalar(s, 's'), 9.0f) << count;
    }
    // Without an end line the start line is an ordinary line that reads no word.
    EXPECT_TRUE(RunText(s, "vertices = 1\ns = 0\n[LOOP START: 3]\ns = s + 1"));
    EXPECT_EQ(Scalar(s, 's'), 1.0f);
    EXPECT_STREQ(s.Messages(), "[Warning] Parse Failed: Line:2, Expression:[LOOP START: 3]\r\n");
    // A fatal body line ends the block but not the run.
    ASSERT_TRUE(RunText(s, "vertices = 1\n[LOOP START: 3]\ns = s + 1\nbad line\nLOOP END]\nt = 4"));
    EXPECT_EQ(Scalar(s, 's'), 1.0f);
    EXPECT_EQ(Scalar(s, 't'), 4.0f);
}

TEST(UserVariables, NamesLimitsAndShadowing) {
    CMathScript s;
    ASSERT_TRUE(
        RunText(s, "vertices = 1\nabcdefghijklmno = 2\nabcdefghijklmnop = 3\nv = abcdefghijklmno"));
    EXPECT_EQ(Scalar(s, 'v'), 2.0f);
    EXPECT_STREQ(s.Messages(),
                 "[Warning] Parse Failed: Line:2, Word:abcdefghijklmnop, Expression: 3\r\n");

    std::string text = "vertices = 1\n";
    for (int i = 0; i < 73; ++i) text += "V" + std::to_string(i) + " = " + std::to_string(i) + "\n";
    ASSERT_TRUE(RunText(s, text));
    EXPECT_EQ(s.UserVariableCount(), 72u);
    EXPECT_EQ(s.UserValue("V71")->scalar, 71.0f);
    EXPECT_EQ(s.UserValue("V72"), nullptr);
    EXPECT_TRUE(
        Contains(s.Messages(),
                 "[Warning] Parse Failed(AddUserVariable): Line:73, Word:V72, Expression: 72"));

    ASSERT_TRUE(RunText(s, "vertices = 1\ngray = 1\nPI = 1\nv = PI\nX = 4\nw = X"));
    EXPECT_TRUE(Contains(s.Messages(), "Parse Failed(AddUserVariable): Line:1, Word:gray"));
    EXPECT_EQ(Scalar(s, 'v'), 3.14159274f) << "the constant hides the variable";
    EXPECT_EQ(Scalar(s, 'w'), 4.0f) << "upper-case single letters are user variables";
}

TEST(Statements, FatalAndNonFatalFailures) {
    CMathScript s;
    EXPECT_FALSE(RunText(s, "x = 1\npixels = W:2 H:2"));
    EXPECT_STREQ(s.Messages(),
                 "[Warning] Vertices count is not setted: Line:0, Word:x, Expression: 1\r\n");
    EXPECT_FALSE(RunText(s, "vertices = 1\nx 1\ny = 2"));
    EXPECT_STREQ(s.Messages(), "[Warning] Parse Failed: Line:1, Expression:x 1\r\n");
    EXPECT_EQ(Scalar(s, 'y'), 0.0f);
    ASSERT_TRUE(RunText(s, "vertices = 1\n= 5\n  # comment\n\ty = 2"));
    EXPECT_STREQ(s.Messages(), "[Warning] Parse Failed: Line:1, Expression:= 5\r\n");
    EXPECT_EQ(Scalar(s, 'y'), 2.0f);
    ASSERT_TRUE(RunText(s, "vertices = 1\ny = 3\ny = 1 +\nz = y"));
    EXPECT_EQ(Scalar(s, 'z'), 3.0f) << "a failed expression leaves its target";
    // Geometry words are directives, never assignments (no count needed).
    EXPECT_TRUE(RunText(s, "SCALE = x(0, 1)\nsurface_slices = 4"));
}

TEST(WarningLog, MessagesAreCutAt255AndTheLogAt2047) {
    CMathScript s;
    std::string longLine = "y = 1 + " + std::string(400, 'q');
    RunText(s, "vertices = 1\n" + longLine);
    std::string log = s.Messages();
    EXPECT_EQ(log.size(), 255u);
    EXPECT_EQ(log.rfind("[Warning] ParseExpression Failed. Line:1, Expression:y = 1 + qqq", 0), 0u);
    EXPECT_EQ(log.substr(253), "\r\n") << "a message cut to the line limit keeps its line end";

    // Short failing lines until the log is full: it never passes 2047 characters, and a message
    // that would cross the limit is dropped whole.
    std::string text = "vertices = 1\n";
    for (int i = 0; i < 200; ++i) text += "y = +\n";
    RunText(s, text);
    log = s.Messages();
    EXPECT_LE(log.size(), 2047u);
    std::string one = "[Warning] ParseExpression Failed. Line:100, Expression:y = +\r\n";
    EXPECT_GT(log.size(), 2047u - one.size());
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
}

TEST(Loading, FilesAndText) {
    CMathScript s;
    EXPECT_FALSE(s.Load(nullptr));
    EXPECT_FALSE(s.Load(""));
    EXPECT_FALSE(s.LoadText(nullptr, 3));
    EXPECT_FALSE(s.LoadText("x", 0));
    ASSERT_TRUE(RunText(s, "vertices = 1\nx = 4"));
    EXPECT_FALSE(s.Load("/nonexistent/script.txt"));
    EXPECT_FALSE(s.Load("/tmp"));  // a directory
    std::string empty = ::testing::TempDir() + "empty_script.txt";
    { std::ofstream(empty, std::ios::binary); }
    EXPECT_FALSE(s.Load(empty.c_str()));
    EXPECT_EQ(Scalar(s, 'x'), 4.0f) << "failed loads leave the current script";

    std::string path = ::testing::TempDir() + "load_script.txt";
    { std::ofstream(path, std::ios::binary) << "vertices = 2\r\nt = from 1.0 to 2.0\r\n"; }
    ASSERT_TRUE(s.Load(path.c_str()));
    EXPECT_EQ(Elements(*s.Letter('t')), (std::vector<float>{1, 2}));
    std::remove(path.c_str());
    std::remove(empty.c_str());
}

TEST(Reset, ClearsEverything) {
    CMathScript s;
    ASSERT_TRUE(RunText(s, "pixels = W:2 H:1\nx = from 0.0 to 1.0 W\nq = 3\nFoo = 1\nq = +"));
    s.Reset();
    EXPECT_EQ(s.ElementCount(), 0u);
    EXPECT_EQ(s.Width(), 0u);
    EXPECT_EQ(s.LineCount(), 0u);
    EXPECT_EQ(s.TextLength(), 0u);
    EXPECT_STREQ(s.Messages(), "");
    EXPECT_EQ(s.UserVariableCount(), 0u);
    EXPECT_FALSE(s.Letter('x')->IsArray());
    EXPECT_FALSE(s.Letter('q')->valid);
    EXPECT_EQ(s.LetterScalars()['q' - 'a'], 0.0f);
    EXPECT_EQ(s.SurfaceSlices(), 32u);
    EXPECT_FALSE(s.Rerun()) << "nothing to run again";
}

TEST(Limits, SizesBeyondTheirBoundsOrTheMemoryBudgetAreRefusedBeforeAllocating) {
    SetArrayMemoryBudget(size_t(1) << 20);  // 262144 floats
    struct {
        const char* text;
        const char* diagnostic;
    } cases[] = {
        {"pixels = width:1024 height:512\nr = 1", "more than the memory budget of 1 MiB"},
        {"vertices = 300000\nr = 1", "300000 elements need 1 MiB a variable"},
        {"pixels = width:100000 height:100000\nr = 1", "from 1 to 2^28 pixels"},
        {"vertices = 8\nsurface_slices = 100000", "at most 65536 slices"},
        // Within the budget one array at a time: the line that would pass it fails alone.
        {"pixels = width:512 height:256\nx = from 0 to 1 W\ny = x + 1\nz = y + 1",
         "the expression could not be computed (out of memory)"},
    };
    for (const auto& c : cases) {
        CMathScript s;
        RunText(s, c.text);
        EXPECT_TRUE(Contains(s.DiagnosticsText().c_str(), c.diagnostic)) << c.text << "\n"
                                                                         << s.DiagnosticsText();
    }
    SetArrayMemoryBudget(0);
    // An endless device is refused unread, and so is a folder.
    CMathScript s;
    EXPECT_FALSE(s.Load("/dev/zero"));
    EXPECT_EQ(s.LoadError(), "it is a device, not a file");
    EXPECT_FALSE(s.Load("/"));
    EXPECT_EQ(s.LoadError(), "it is a directory");
}
