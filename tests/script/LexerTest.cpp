#include <gtest/gtest.h>

#include <string>

#include "common/FloatConstants.h"
#include "script/Lexer.h"

using namespace luneth;

TEST(Lexer, ReadWordStopsAtDelimitersAnd63Characters) {
    char word[kWordCapacity];
    const char* text = "  \tabc_1.x&y+z";
    const char* p = text;
    ASSERT_TRUE(ReadWord(p, word));
    EXPECT_STREQ(word, "abc_1.x&y");
    EXPECT_EQ(*p, '+');
    for (char d : std::string(" \t,:()[]{}<>+-*/%^=")) {
        std::string s = std::string("ab") + d + "cd";
        const char* q = s.c_str();
        ASSERT_TRUE(ReadWord(q, word));
        EXPECT_STREQ(word, "ab") << "delimiter '" << d << "'";
    }
    std::string longWord(70, 'w');
    p = longWord.c_str();
    ASSERT_TRUE(ReadWord(p, word));
    EXPECT_EQ(std::string(word).size(), 63u);
    EXPECT_EQ(p - longWord.c_str(), 63);
    p = "   ";
    EXPECT_FALSE(ReadWord(p, word));
}

TEST(Lexer, IntegerWordForms) {
    struct Case {
        const char* word;
        bool ok;
        int value;
    } cases[] = {
        {"0", true, 0},      {"123", true, 123},  {"0x1F", true, 31},  {"0X1f", true, 31},
        {"0x", true, 0},     {"0y101", true, 5},  {"0Y", true, 0},     {"017", true, 15},
        {"08", false, 0},    {"0y102", false, 0}, {"0x1G", false, 0},  {"12a", false, 0},
        {"1.5", false, 0},   {"", false, 0},      {"0xFFFFFFFF", true, -1},
        {"99999999999", true, 2147483647},
    };
    for (const Case& c : cases) {
        int v = -12345;
        EXPECT_EQ(ParseIntegerWord(c.word, &v), c.ok) << c.word;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.word;
        }
    }
}

TEST(Lexer, DecimalWordNeedsExactlyOnePointAndALeadingDigit) {
    float v = 0;
    EXPECT_TRUE(ParseDecimalWord("2.", &v));
    EXPECT_EQ(v, 2.0f);
    EXPECT_TRUE(ParseDecimalWord("2.5", &v));
    EXPECT_EQ(v, 2.5f);
    EXPECT_TRUE(ParseDecimalWord("0.1", &v));
    EXPECT_EQ(v, 0.1f);  // the double conversion rounded to float
    EXPECT_FALSE(ParseDecimalWord(".5", &v));
    EXPECT_FALSE(ParseDecimalWord("2", &v));
    EXPECT_FALSE(ParseDecimalWord("1.2.3", &v));
    EXPECT_FALSE(ParseDecimalWord("1.5e3", &v));
}

TEST(Lexer, ExponentLiterals) {
    struct Case {
        const char* text;
        bool ok;
        float value;
        int consumed;
    } cases[] = {
        {"1.5e3", true, 1500.0f, 5},   {"-2.0E-2 ", true, -0.02f, 7}, {"+1.e1", true, 10.0f, 5},
        {" 2.5e", true, 2.5f, 5},      {"1.5e3*x", true, 1500.0f, 5}, {"1e3", false, 0, 0},
        {"1.5", false, 0, 0},          {"1.5e3x", false, 0, 0},       {"1.2.3e1", false, 0, 0},
        {"-x", false, 0, 0},
    };
    for (const Case& c : cases) {
        const char* p = c.text;
        float v = -7.0f;
        ASSERT_EQ(ReadExponentLiteral(p, &v), c.ok) << c.text;
        EXPECT_EQ(p - c.text, c.consumed) << c.text;
        if (c.ok) {
            EXPECT_FLOAT_EQ(v, c.value) << c.text;
        }
    }
    const char* p = "1.0e99999999999";
    float v = 0;
    ASSERT_TRUE(ReadExponentLiteral(p, &v));
    EXPECT_TRUE(v > kBig) << "saturates to infinity without an endless loop";
    p = "1.0e-99999";
    ASSERT_TRUE(ReadExponentLiteral(p, &v));
    EXPECT_EQ(v, 0.0f);
    // -2.0E-2 is 2 divided by ten twice in float, not the nearest float to 0.02.
    float expected = 2.0f;
    expected /= 10.0f;
    expected /= 10.0f;
    p = "-2.0E-2";
    ReadExponentLiteral(p, &v);
    EXPECT_EQ(v, -expected);
}

TEST(Lexer, ReadIntegerAndDecimalLiteral) {
    const char* p = "  -0x10]";
    int n = 0;
    ASSERT_TRUE(ReadInteger(p, &n));
    EXPECT_EQ(n, -16);
    EXPECT_EQ(*p, ']');
    p = "+7 ";
    ASSERT_TRUE(ReadInteger(p, &n));
    EXPECT_EQ(n, 7);
    p = "x";
    EXPECT_FALSE(ReadInteger(p, &n));
    p = "09";
    const char* before = p;
    EXPECT_FALSE(ReadInteger(p, &n));
    EXPECT_EQ(p, before) << "no advance on failure";

    float v = 0;
    p = " -1.5)";
    ASSERT_TRUE(ReadDecimalLiteral(p, &v));
    EXPECT_EQ(v, -1.5f);
    EXPECT_EQ(*p, ')');
    p = "1)";
    EXPECT_FALSE(ReadDecimalLiteral(p, &v));
}
