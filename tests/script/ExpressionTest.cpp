#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "ScriptTestUtil.h"
#include "common/FloatConstants.h"
#include "script/FunctionRegistry.h"

using namespace luneth;
using luneth::test::Elements;
using luneth::test::Evaluate;
using luneth::test::EvaluateScalarText;

namespace {

// Test functions of every float kind, registered under names no family uses.
int g_lastCount = -1;
float g_fourth = -1.0f;
float TNeg(float x) { return -x; }
float TSub(float a, float b) { return a - b; }
float TMix3(float a, float b, float c) { return a * 100.0f + b * 10.0f + c; }
float TMix4(float a, float b, float c, float d) { return a * 1000 + b * 100 + c * 10 + d; }
float TList(const float* args, int count) {
    g_lastCount = count;
    g_fourth = args[3];
    float s = 0;
    for (int i = 0; i < count; ++i) s = s * 10.0f + args[i];
    return s;
}

class Expressions : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterFunction("t_neg", TNeg);
        RegisterFunction("t_sub", TSub);
        RegisterFunction("t_mix3", TMix3);
        RegisterFunction("t_mix4", TMix4);
        RegisterFunction("t_list", TList);
    }
};

struct ScalarCase {
    const char* text;
    float value;
};

}  // namespace

TEST_F(Expressions, PrecedenceAssociativityAndSigns) {
    const ScalarCase cases[] = {
        {"1 + 2 * 3", 7},      {"(1 + 2) * 3", 9},  {"[1 + 2] * {3}", 9}, {"2 ^ 3 ^ 2", 64},
        {"10 - 4 - 3", 3},     {"8 - 3 - 2", 3},    {"2 * 3 ^ 2", 18},    {"-2 ^ 2", 4},
        {"- 3 + 1", -2},       {"-(1 + 2)", -3},    {"24 / 4 / 3", 2},    {"1 + 2 < 4", 1},
        {"3 > 2 = 1", 1},      {"2 & 3 + 1", 2},    {"0 | 0 * 5", 0},     {"  7  ", 7},
        {"1 # note", 1},       {"x", 0},            {"1 < -2", 0},        {"1 > -PI", 1},
        {"3 * -1.5e0", -4.5f}, {"2 = -2", 0},       {"-1 = -1", 1},
    };
    for (const ScalarCase& c : cases) {
        auto v = Evaluate(c.text, "x = 0");
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_FALSE(v->IsArray()) << c.text;
        EXPECT_EQ(v->scalar, c.value) << c.text;
    }
}

TEST_F(Expressions, GuardedOperatorsGiveFixedValues) {
    const ScalarCase cases[] = {
        {"1 / 0", kBig},  {"-1 / 0", -kBig}, {"0 / 0", 0},  {"5 % (0 - 2)", 0}, {"-7 % 3", -1},
        {"0 ^ 0", 0},     {"1 = 1.0", 1},    {"1 = 1.001", 0}, {"7.5 % 2", 1.5f},
        {"2 ^ 0.5", 1.41421354f}, {"1.0e-8 ^ 2", 0}, {"2 ^ (0 - 1)", 0.5f},
    };
    for (const ScalarCase& c : cases) {
        auto v = Evaluate(c.text);
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(v->scalar, c.value) << c.text;
    }
}

TEST_F(Expressions, NumberForms) {
    const ScalarCase cases[] = {
        {"0x1F", 31}, {"0y101", 5}, {"017", 15}, {"1.0e3", 1000}, {"5.", 5}, {"PI", 3.14159274f},
        {"GOLD", 0.618003428f},
    };
    for (const ScalarCase& c : cases) {
        auto v = Evaluate(c.text);
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(v->scalar, c.value) << c.text;
    }
}

TEST_F(Expressions, MalformedExpressionsFail) {
    const char* failures[] = {
        "",          "(1 + 2]",     "08",        "1e3",           ".5",         "1 2",
        "1 +",       "1 + # note",  "5 % -2",    "x < -y",        "x * -1",     "a&b",
        "-",         "- # c",       "(1",        "1)",            "nosuchname", "sin x",
        "t_neg(1, 2)", "t_sub(1)",  "t_neg(x]",  "t_neg()",       "x !",        "1 ++ 2",
        "pi",        "Sin(1)",      "1 < -t_neg(2)",
    };
    for (const char* text : failures) EXPECT_FALSE(Evaluate(text, "x = 1; y = 2").has_value()) << text;
    // A word longer than 63 characters: the 64th character is met where an operator is expected.
    std::string longName(64, 'v');
    EXPECT_FALSE(Evaluate(longName).has_value());
}

TEST_F(Expressions, AndOrNeedSpaces) {
    auto v = Evaluate("a & b", "a = 1; b = 2");
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->scalar, 1.0f);
    // & and | bind tightest: x > 0 & y > 0 is ((x > (0 & y)) > 0).
    v = Evaluate("x > 0 & y > 0", "x = 0.5; y = 0 - 1");
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->scalar, 1.0f);
    v = Evaluate("(x > 0) & (y > 0)", "x = 0.5; y = 0 - 1");
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->scalar, 0.0f);
}

TEST_F(Expressions, BroadcastingOfScalarsAndShorterArrays) {
    // vertices = 3 gives three-element ramps; a two-element array comes from a second script.
    auto v = Evaluate("t + 10", "t = from 1.0 to 3.0", 3);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(Elements(*v), (std::vector<float>{11, 12, 13}));

    CMathScript script;
    test::RunText(script, "vertices = 3; t = from 1.0 to 3.0");
    ScriptValue* shorter = script.MutableLetter('s');
    shorter->SetCount(2);
    shorter->data[0] = 10;
    shorter->data[1] = 20;
    ScriptValue out;
    ASSERT_TRUE(ParseExpression(&script, "t + s", &out));
    EXPECT_EQ(Elements(out), (std::vector<float>{11, 22, 3}));
    ASSERT_TRUE(ParseExpression(&script, "s + t", &out));
    EXPECT_EQ(Elements(out), (std::vector<float>{11, 22, 3}));
    ASSERT_TRUE(ParseExpression(&script, "t_sub(s, t)", &out));
    EXPECT_EQ(Elements(out), (std::vector<float>{9, 18, -3}));
    ASSERT_TRUE(ParseExpression(&script, "2 * s", &out));
    EXPECT_EQ(Elements(out), (std::vector<float>{20, 40})) << "n is the longest operand's count";
    ASSERT_TRUE(ParseExpression(&script, "-s", &out));
    EXPECT_EQ(Elements(out), (std::vector<float>{-10, -20}));
    EXPECT_EQ(Elements(*script.Letter('s')), (std::vector<float>{10, 20})) << "source untouched";

    // The left slot of an operator is resized before it is read: a scalar below 2^-23 reads 0.
    ASSERT_TRUE(ParseExpression(&script, "1.0e-8 + t", &out));
    EXPECT_EQ(Elements(out), (std::vector<float>{1, 2, 3}));
    ASSERT_TRUE(ParseExpression(&script, "t + 1.0e-8", &out));
    EXPECT_EQ(out.data[0], 1.0f + 1e-8f);
}

TEST_F(Expressions, EveryFloatKindIsCalledWithItsArguments) {
    struct Case {
        const char* text;
        float value;
    } cases[] = {
        {"t_neg(2)", -2},          {"t_neg[2]", -2},           {"t_neg {2}", -2},
        {"t_sub(5, 2)", 3},        {"t_sub((1 + 4), t_neg(2))", 7},
        {"t_mix3(1, 2, 3)", 123},  {"t_mix4(1, 2, 3, 4)", 1234},
        {"t_list(1, 2, 3)", 123},  {"t_list(7)", 7},
        {"-t_neg(2)", 2},
    };
    for (const auto& c : cases) {
        auto v = Evaluate(c.text);
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(v->scalar, c.value) << c.text;
    }
    // A kind-9 function given 3 arguments sees the count 3 and reads 0 for its 4th value.
    g_fourth = -1;
    ASSERT_TRUE(Evaluate("t_list(1, 2, 3)").has_value());
    EXPECT_EQ(g_lastCount, 3);
    EXPECT_EQ(g_fourth, 0.0f);
    // Up to 24 arguments; a 25th fails.
    std::string args = "1";
    for (int i = 1; i < 24; ++i) args += ", 0";
    ASSERT_TRUE(Evaluate("t_list(" + args + ")").has_value());
    EXPECT_EQ(g_lastCount, 24);
    EXPECT_FALSE(Evaluate("t_list(" + args + ", 0)").has_value());
    // Arrays are evaluated element by element.
    auto v = Evaluate("t_list(t, 1, 0)", "t = from 1.0 to 2.0", 2);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(Elements(*v), (std::vector<float>{110, 210}));
    v = Evaluate("t_mix4(t, 0, 0, 1)", "t = from 1.0 to 2.0", 2);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(Elements(*v), (std::vector<float>{1001, 2001}));
}

TEST_F(Expressions, ArgumentExtractionLimits) {
    // 255 characters inside the brackets work, 256 fail.
    std::string inner255 = "1" + std::string(254, ' ');
    std::string inner256 = "1" + std::string(255, ' ');
    EXPECT_TRUE(Evaluate("t_neg(" + inner255 + ")").has_value());
    EXPECT_FALSE(Evaluate("t_neg(" + inner256 + ")").has_value());
    // 32 levels of brackets open at once work, 33 fail.
    auto nested = [](int depth) {
        return std::string(depth, '(') + "1" + std::string(depth, ')');
    };
    EXPECT_TRUE(Evaluate(nested(32)).has_value());
    EXPECT_FALSE(Evaluate(nested(33)).has_value());
    // Deep nesting in a long text never overflows anything.
    EXPECT_FALSE(Evaluate(std::string(100000, '(')).has_value());
    EXPECT_FALSE(Evaluate(std::string(100000, ')')).has_value());

    char argument[kArgumentCapacity];
    const char* p = "a, (b, c)), rest";
    ASSERT_TRUE(ExtractArgument(p, 0, ArgumentMode::More, argument));
    EXPECT_STREQ(argument, "a");
    ASSERT_TRUE(ExtractArgument(p, 0, ArgumentMode::Last, argument));
    EXPECT_STREQ(argument, " (b, c)");
    EXPECT_STREQ(p, ", rest");
    p = "a]";
    EXPECT_FALSE(ExtractArgument(p, 0, ArgumentMode::Last, argument)) << "mismatched kind";
    p = "a, b)";
    ASSERT_TRUE(ExtractArgument(p, 0, ArgumentMode::Last, argument));
    EXPECT_STREQ(argument, "a, b") << "last mode copies commas";
    p = "max(a, b))";
    EXPECT_FALSE(ExtractArgumentStrict(p, 0, ArgumentMode::Last, argument));
}

TEST_F(Expressions, UnsetLettersWarnAndReadZero) {
    CMathScript script;
    test::RunText(script, "vertices = 1");
    ScriptValue out;
    ASSERT_TRUE(ParseExpression(&script, "q + 1", &out));
    EXPECT_EQ(out.scalar, 1.0f);
    EXPECT_STREQ(script.Messages(), "[Warning] Line:0 the param 'q' may be not set value:q + 1\r\n");
}

TEST_F(Expressions, TargetIsWrittenOnlyOnSuccess) {
    CMathScript script;
    test::RunText(script, "vertices = 2; x = from 1.0 to 2.0");
    ScriptValue* x = script.MutableLetter('x');
    EXPECT_FALSE(ParseExpression(&script, "x * 2 +", x));
    EXPECT_EQ(Elements(*x), (std::vector<float>{1, 2}));
    ASSERT_TRUE(ParseExpression(&script, "x * 2", x));
    EXPECT_EQ(Elements(*x), (std::vector<float>{2, 4}));
    ASSERT_TRUE(ParseExpression(&script, "x", x));  // reading itself
    EXPECT_EQ(Elements(*x), (std::vector<float>{2, 4}));
    ASSERT_TRUE(ParseExpression(&script, "3", x));
    EXPECT_FALSE(x->IsArray());
    EXPECT_EQ(x->scalar, 3.0f);
}

TEST_F(Expressions, ScalarEvaluatorReadsTheLetterTable) {
    CMathScript script;
    // a ends as an array, but its last scalar assignment (5) stays in the table... until the
    // array assignment writes the array's scalar field (0).
    test::RunText(script, "vertices = 2; a = 5; b = a * 2");
    EXPECT_EQ(EvaluateScalarText(script, "a * 2"), 10.0f);
    EXPECT_EQ(EvaluateScalarText(script, "1 < -a"), 0.0f) << "a sign may precede a letter here";
    EXPECT_EQ(EvaluateScalarText(script, "4 > -t_neg(3)"), 1.0f) << "and a function call";
    EXPECT_EQ(EvaluateScalarText(script, "t_mix3(1, 2, 3)"), 123.0f);
    EXPECT_EQ(EvaluateScalarText(script, "t_list(1, 2)"), 12.0f);
    test::RunText(script, "vertices = 2; a = 5; a = from 0.0 to 1.0; c = a");
    EXPECT_EQ(EvaluateScalarText(script, "a"), 5.0f) << "a ramp leaves the table alone";
    test::RunText(script, "vertices = 2; a = 5; t = from 0.0 to 1.0; a = t * 2");
    EXPECT_EQ(EvaluateScalarText(script, "a"), 0.0f) << "an array's scalar field";
    test::RunText(script, "vertices = 1; Foo = 3");
    EXPECT_FALSE(EvaluateScalarText(script, "Foo").has_value()) << "user variables are not visible";
    EXPECT_FALSE(EvaluateScalarText(script, "1 +").has_value());
}

TEST_F(Expressions, WholeValueCallFormsRefuseMalformedArguments) {
    const char* setup = "x = from 1.0 to 4.0";
    const char* failures[] = {
        "array_get_value(x 2)",      "array_get_value(x, 2.5)",  "array_move_right(x, 1, 2)",
        "array_move_right(x, )",     "array_add(x, 1)",          "array_add()",
        "array_lerp(0.0 1.0)",       "array_lerp(0.0, 1.0]",     "array_lerp(0.0, 1)",
        "array_set(+)",              "array_set(1.0, 2.0)",      "array_rand(0.0, 1.0",
    };
    for (const char* text : failures) EXPECT_FALSE(Evaluate(text, setup, 4).has_value()) << text;
    // Blanks and TABs are allowed around the parts; any bracket kind works when it matches.
    auto v = Evaluate("array_lerp[ 0.0 \t, -3.0 ] * 2", setup, 4);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(Elements(*v), (std::vector<float>{0, -2, -4, -6}));
    v = Evaluate("array_get_value{x * 10, -0x1} + array_get_value(x, 0y11)", setup, 4);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->scalar, 4.0f) << "a negative index reads 0, index 3 reads 4";
}
