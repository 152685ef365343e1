// Hostile script text: random token soup, binary bytes, huge lines, deep nesting. Every run must
// end (true or false) with a bounded log, never crash, overflow or hang.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "ScriptTestUtil.h"

using namespace luneth;

namespace {

const char* const kTokens[] = {
    "pixels", "vertices", "=", "width:", "height:", "W:4", "H:3", "d1:2", "d2:5", "x", "y", "r",
    "g", "b", "a", "Foo", "loop", "[loop: 3]", "[LOOP START: 2]", "LOOP END]", "from", "to", "gap",
    "(", ")", "[", "]", "{", "}", ",", ":", ";", "\n", "\r\n", "#", "+", "-", "*", "/", "%", "^",
    "&", "|", "<", ">", "0", "1", "2.5", "1.0e3", "-1.5e-2", "0x1F", "0y11", "017", "PI", "GOLD",
    "float_to_color", "gray", "correction_pow", " ", "\t", "scale", "rotate", "translate", "pipe",
    "surface_slices", "anchor", "axis", "angle", "dir", "dis", "radius", "type", "v",
};

std::string RandomScript(std::mt19937& rng) {
    std::uniform_int_distribution<int> length(1, 80);
    std::uniform_int_distribution<size_t> token(0, std::size(kTokens) - 1);
    std::uniform_int_distribution<int> byte(0, 255), coin(0, 9);
    std::string text;
    int n = length(rng);
    for (int i = 0; i < n; ++i) {
        if (coin(rng) == 0)
            text += static_cast<char>(byte(rng));
        else
            text += kTokens[token(rng)];
        if (coin(rng) < 4) text += ' ';
    }
    return text;
}

void ExpectSane(CMathScript& s) {
    EXPECT_LT(std::strlen(s.Messages()), kMessageCapacity);
    EXPECT_LE(s.ElementCount(), kMaxElementCount);
}

// The same text run step by step must leave the same letters, log and diagnostics as the
// tiled run in `s`.
void ExpectSameAsStepByStep(const CMathScript& s, const std::string& text) {
    CMathScript plain;
    plain.SetTiledLines(false);
    test::RunText(plain, text);
    ASSERT_STREQ(plain.Messages(), s.Messages()) << text;
    ASSERT_EQ(plain.DiagnosticsText(), s.DiagnosticsText()) << text;
    for (char c = 'a'; c <= 'z'; ++c)
        ASSERT_TRUE(test::SameBits(*plain.Letter(c), *s.Letter(c))) << c << " in " << text;
}

}  // namespace

TEST(ScriptFuzz, RandomTokenSoupNeverBreaksTheEngine) {
    std::mt19937 rng(20261207);
    CMathScript s;
    s.SetThreadCount(3);
    for (int i = 0; i < 20000; ++i) {
        std::string text = "pixels = W:4 H:3\n" + RandomScript(rng);
        test::RunText(s, text);
        ExpectSane(s);
        if (i % 4 == 0) ExpectSameAsStepByStep(s, text);
        if (s.TextLength() > 0) s.Rerun();
        ExpectSane(s);
        std::string bare = RandomScript(rng);
        test::RunText(s, bare);
        ExpectSane(s);
    }
}

TEST(ScriptFuzz, HostileInputs) {
    CMathScript s;
    // A line of 100,000 characters, as an expression and as a variable name.
    std::string longExpression = "vertices = 1\nx = " + std::string(100000, '1');
    EXPECT_TRUE(test::RunText(s, longExpression));
    ExpectSane(s);
    std::string sum = "vertices = 1\nx = 1";
    for (int i = 0; i < 20000; ++i) sum += " + 1";
    EXPECT_TRUE(test::RunText(s, sum));
    EXPECT_EQ(s.Letter('x')->scalar, 20001.0f);
    // The word reader stops after 63 characters and meets no '=': a fatal line, nothing more.
    EXPECT_FALSE(test::RunText(s, "vertices = 1\n" + std::string(100000, 'n') + " = 1"));
    ExpectSane(s);
    // Deep brackets everywhere.
    EXPECT_TRUE(test::RunText(s, "vertices = 1\nx = " + std::string(50000, '(') + "1"));
    EXPECT_TRUE(test::RunText(s, "vertices = 1\nx = from (" + std::string(50000, '[') + " to 1.0"));
    EXPECT_TRUE(test::RunText(s, "vertices = 1\nx = gray(" + std::string(300, '{') + ")"));
    // Every byte value, NULs included.
    std::string binary;
    for (int rep = 0; rep < 64; ++rep)
        for (int c = 0; c < 256; ++c) binary += static_cast<char>((c * 37 + rep) & 0xFF);
    test::RunText(s, binary);
    ExpectSane(s);
    test::RunText(s, "vertices = 1\n" + binary);
    ExpectSane(s);
    // Thousands of warnings stay within the log.
    std::string noisy = "vertices = 1\n";
    for (int i = 0; i < 5000; ++i) noisy += "x = 1 +\n";
    EXPECT_TRUE(test::RunText(s, noisy));
    ExpectSane(s);
}
