// Array built-ins (kinds 10 to 14): reductions, transforms, generators and element access.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <initializer_list>
#include <set>
#include <vector>

#include "BuiltinCall.h"
#include "common/Random.h"
#include "script/ScriptTestUtil.h"
#include "script/ScriptValue.h"

using namespace luneth;
using luneth::test::Builtin;

namespace {

ScriptValue Array(std::initializer_list<float> xs) {
    ScriptValue v;
    if (v.SetCount(static_cast<uint32_t>(xs.size()))) std::copy(xs.begin(), xs.end(), v.data);
    return v;
}

std::vector<float> Elements(const ScriptValue& v) {
    return std::vector<float>(v.data, v.data + v.count);
}

float Reduce(const char* name, const ScriptValue& v) {
    const FunctionRecord* r = Builtin(name);
    return r && r->slots.reduce ? r->slots.reduce(&v) : -12345.0f;
}

ScriptValue Transform(const char* name, const ScriptValue& in, int n) {
    ScriptValue out;
    if (const FunctionRecord* r = Builtin(name); r && r->slots.transform)
        r->slots.transform(&in, &out, n);
    return out;
}

// A kind-12/13 output as the caller prepares it: `count` zeros (0: a plain scalar).
ScriptValue Output(uint32_t count, float scalar = 0.0f) {
    ScriptValue out(scalar);
    if (count) out.SetCount(count);
    return out;
}

void Generate(const char* name, ScriptValue& out, float p, float q) {
    if (const FunctionRecord* r = Builtin(name); r && r->slots.generate2)
        r->slots.generate2(&out, p, q);
}

float ElementOf(const ScriptValue& v, int i) {
    const FunctionRecord* r = Builtin("array_get_value");
    return r && r->slots.element ? r->slots.element(&v, i) : -12345.0f;
}

}  // namespace

TEST(ArrayFunctions, Reductions) {
    ScriptValue a = Array({3, -1, 4, 1.5f});
    EXPECT_EQ(Reduce("array_add", a), 7.5f);
    EXPECT_EQ(Reduce("array_min", a), -1.0f);
    EXPECT_EQ(Reduce("array_max", a), 4.0f);
    EXPECT_EQ(Reduce("array_ave", a), 1.875f);
    for (const char* name : {"array_add", "array_min", "array_max", "array_ave"})
        EXPECT_EQ(Reduce(name, ScriptValue(2.5f)), 2.5f) << name;

    // A long sum keeps its small elements: after 2^24 a float accumulator stalls on adding 1.
    ScriptValue big;
    ASSERT_TRUE(big.SetCount((1u << 24) + 1));
    for (uint32_t i = 0; i < big.count; ++i) big.data[i] = 1.0f;
    big.data[0] = 16777216.0f;
    EXPECT_EQ(Reduce("array_add", big), 33554432.0f);
    EXPECT_EQ(Reduce("array_ave", big), static_cast<float>(33554432.0 / big.count));
}

TEST(ArrayFunctions, TransformsOfArrays) {
    struct Case {
        const char* name;
        int n;
        std::vector<float> expected;
    };
    const ScriptValue a = Array({1, 2, 4, 7});
    const Case cases[] = {
        {"array_move_right", 1, {1, 1, 2, 4}},  {"array_move_right", 3, {1, 1, 1, 1}},
        {"array_move_right", 9, {1, 1, 1, 1}},  {"array_move_right", 0, {1, 2, 4, 7}},
        {"array_move_right", -2, {1, 2, 4, 7}}, {"array_move_left", 1, {2, 4, 7, 7}},
        {"array_move_left", 2, {4, 7, 7, 7}},   {"array_move_left", 9, {7, 7, 7, 7}},
        {"array_move_left", 0, {1, 2, 4, 7}},   {"array_move_left", INT_MIN, {1, 2, 4, 7}},
        {"array_cumulate", 1, {1, 3, 7, 14}},   {"array_cumulate", 2, {1, 2, 5, 9}},
        {"array_cumulate", 4, {1, 2, 4, 7}},    {"array_cumulate", -1, {1, 2, 4, 7}},
        {"array_cumulate", 0, {2, 4, 8, 14}},   {"array_difference", 1, {1, 2, 3, 3}},
        {"array_difference", 2, {3, 5, 5, 5}},  {"array_difference", 3, {6, 6, 6, 6}},
        {"array_difference", 0, {0, 0, 0, 0}},  {"array_difference", -3, {1, 2, 4, 7}},
    };
    for (const Case& c : cases) {
        ScriptValue out = Transform(c.name, a, c.n);
        EXPECT_TRUE(out.IsArray()) << c.name << " " << c.n;
        EXPECT_EQ(Elements(out), c.expected) << c.name << " " << c.n;
        EXPECT_TRUE(out.valid);
    }
    // Too few elements for the stride: the scalar 0.
    for (int n : {4, 5, INT_MAX}) {
        ScriptValue out = Transform("array_difference", a, n);
        EXPECT_FALSE(out.IsArray()) << n;
        EXPECT_EQ(out.scalar, 0.0f) << n;
    }
}

TEST(ArrayFunctions, TransformsOfScalarsAndInPlace) {
    for (const char* name : {"array_move_right", "array_move_left", "array_cumulate"}) {
        ScriptValue out = Transform(name, ScriptValue(3.5f), 2);
        EXPECT_FALSE(out.IsArray()) << name;
        EXPECT_EQ(out.scalar, 3.5f) << name;
    }
    EXPECT_EQ(Transform("array_difference", ScriptValue(3.5f), 1).scalar, 0.0f);

    // The output's old storage is replaced, whatever its size; the input may be the output.
    const FunctionRecord* r = Builtin("array_move_right");
    ASSERT_NE(r, nullptr);
    ScriptValue in = Array({5, 6, 7});
    ScriptValue out = Array({9, 9, 9, 9, 9, 9});
    r->slots.transform(&in, &out, 1);
    EXPECT_EQ(Elements(out), (std::vector<float>{5, 5, 6}));
    r->slots.transform(&out, &out, 1);
    EXPECT_EQ(Elements(out), (std::vector<float>{5, 5, 5}));

    // A view of another value is read, never written through.
    ScriptValue view;
    view.MakeView(in);
    Builtin("array_cumulate")->slots.transform(&view, &view, 1);
    EXPECT_EQ(Elements(view), (std::vector<float>{5, 11, 18}));
    EXPECT_EQ(Elements(in), (std::vector<float>{5, 6, 7}));
}

TEST(ArrayFunctions, SetAndLerp) {
    const FunctionRecord* set = Builtin("array_set");
    ASSERT_NE(set, nullptr);
    ScriptValue out = Output(3);
    set->slots.generate(&out, 1.5f);
    EXPECT_EQ(Elements(out), (std::vector<float>{1.5f, 1.5f, 1.5f}));
    ScriptValue scalar = Output(0, 7.0f);
    set->slots.generate(&scalar, -2.0f);
    EXPECT_FALSE(scalar.IsArray());
    EXPECT_EQ(scalar.scalar, -2.0f);

    ScriptValue ramp = Output(5);
    Generate("array_lerp", ramp, -1.0f, 1.0f);
    EXPECT_EQ(Elements(ramp), (std::vector<float>{-1, -0.5f, 0, 0.5f, 1}));
    ScriptValue one = Output(1);
    Generate("array_lerp", one, 3.0f, 9.0f);
    EXPECT_EQ(Elements(one), (std::vector<float>{3}));
    // Kind 13 leaves a plain scalar as it is.
    for (const char* name : {"array_lerp", "array_rand", "array_rand_int"}) {
        ScriptValue s = Output(0, 4.0f);
        Generate(name, s, 0.0f, 10.0f);
        EXPECT_FALSE(s.IsArray()) << name;
        EXPECT_EQ(s.scalar, 4.0f) << name;
    }
}

TEST(ArrayFunctions, RandomFillsAreDeterministicAndInRange) {
    constexpr uint32_t kCount = 20000;
    ScriptValue first = Output(kCount), second = Output(kCount);
    SRand(77);
    Generate("array_rand", first, -3.0f, 2.0f);
    SRand(77);
    Generate("array_rand", second, -3.0f, 2.0f);
    EXPECT_EQ(Elements(first), Elements(second));
    // The same draws as p + (q - p) rand() 2^-15 from the process generator.
    SRand(77);
    for (uint32_t i = 0; i < 5; ++i) EXPECT_EQ(first.data[i], -3.0f + 5.0f * RandUnit()) << i;
    for (float v : Elements(first)) {
        ASSERT_GE(v, -3.0f);
        ASSERT_LT(v, 2.0f);
    }

    struct IntCase {
        float p, q;
        std::set<float> values;
    };
    const IntCase cases[] = {
        {1.95f, 5.0f, {2, 3, 4}},  // truncate(p + 0.1) = 2
        {3.0f, 3.0f, {3}},         // equal bounds
        {2.9f, 2.0f, {3}},         // 3 toward 2, 2 excluded
        {0.0f, -3.0f, {0, -1}},    // truncate(-2.9) = -2
    };
    for (const IntCase& c : cases) {
        ScriptValue out = Output(kCount);
        Generate("array_rand_int", out, c.p, c.q);
        std::set<float> seen(out.data, out.data + out.count);
        EXPECT_EQ(seen, c.values) << c.p << " " << c.q;
    }
}

TEST(ArrayFunctions, GetValue) {
    ScriptValue a = Array({10, 20, 30});
    EXPECT_EQ(ElementOf(a, 0), 10.0f);
    EXPECT_EQ(ElementOf(a, 2), 30.0f);
    EXPECT_EQ(ElementOf(a, 3), 0.0f);
    EXPECT_EQ(ElementOf(a, -1), 0.0f);
    EXPECT_EQ(ElementOf(a, INT_MAX), 0.0f);
    EXPECT_EQ(ElementOf(a, INT_MIN), 0.0f);
    EXPECT_EQ(ElementOf(ScriptValue(6.5f), 100), 6.5f);
}

// The same functions through the script evaluator, which parses each kind's call form.
TEST(ArrayFunctions, ThroughScripts) {
    using luneth::test::Evaluate;
    struct Case {
        const char* expression;
        std::vector<float> expected;  // one value: a scalar result
    };
    const char* setup = "x = array_lerp(1.0, 4.0)";
    const Case cases[] = {
        {"array_set(1.5)", {1.5f, 1.5f, 1.5f, 1.5f}},
        {"array_set_all_values(-2.0)", {-2, -2, -2, -2}},
        {"array_lerp(0.0, 3.0)", {0, 1, 2, 3}},
        {"array_move_right(x, 1)", {1, 1, 2, 3}},
        {"array_difference(x * x, 1)", {3, 5, 7, 7}},
        {"array_cumulate(x, 1)", {1, 3, 6, 10}},
        {"array_get_value(x, 2)", {3}},
        {"array_get_value(x, 4)", {0}},
        {"array_add(x)", {10}},
        {"array_ave(x)", {2.5f}},
        {"divide(x - 2, 0) / 3.4028235e38", {-1, 0, 1, 1}},
        {"if(greater(x, 2), x, -x)", {-1, -2, 3, 4}},
    };
    for (const Case& c : cases) {
        auto v = Evaluate(c.expression, setup, 4);
        ASSERT_TRUE(v.has_value()) << c.expression;
        if (c.expected.size() == 1) {
            EXPECT_FALSE(v->IsArray()) << c.expression;
            EXPECT_EQ(v->scalar, c.expected[0]) << c.expression;
        } else {
            EXPECT_EQ(Elements(*v), c.expected) << c.expression;
        }
    }
    // Generators take decimal literals only.
    EXPECT_FALSE(Evaluate("array_set(1)", setup, 4).has_value());
    EXPECT_FALSE(Evaluate("array_lerp(0.0)", setup, 4).has_value());
}
