#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/FloatConstants.h"
#include "functions/CoreGroup.h"
#include "script/FunctionRegistry.h"

using namespace luneth;

namespace {

float Twice(float x) { return 2.0f * x; }
float Thrice(float x) { return 3.0f * x; }
float Sum2(float a, float b) { return a + b; }

}  // namespace

TEST(ElfHash, MatchesTheObjectFormatHash) {
    EXPECT_EQ(ElfHash(""), 0u);
    EXPECT_EQ(ElfHash("ab"), 0x672u);
    // Long names fold the top nibble back in: checked against a hand-run of the algorithm.
    uint32_t h = 0;
    for (const char* p = "fractal_mandelbrot_distance"; *p; ++p) {
        h = (h << 4) + static_cast<uint32_t>(*p);
        uint32_t g = h & 0xF0000000u;
        if (g) h ^= g >> 24;
        h &= ~g;
    }
    EXPECT_EQ(ElfHash("fractal_mandelbrot_distance"), h);
    // Characters are signed bytes: 0xE4 adds -28 (0xFFFFFFE4), whose top nibble folds back
    // in; an unsigned byte would give plain 0xE4.
    EXPECT_EQ(ElfHash("\xE4"), 0x0FFFFF14u);
}

TEST(FunctionRegistry, CoreTableIsBuiltByTheFirstLookup) {
    EXPECT_GT(FunctionCount(), 0u);
    // The core table holds only names whose families are built, in the fixed order.
    uint32_t previous = 0;
    bool first = true;
    for (const CoreName& name : CoreGroupOrder()) {
        uint32_t i = LookupFunction(name.name);
        if (i == FunctionCount()) continue;
        EXPECT_EQ(GetFunctionRecord(i)->kind, name.kind) << name.name;
        if (!first) {
            EXPECT_GT(i, previous) << name.name;
        }
        previous = i;
        first = false;
    }
}

TEST(FunctionRegistry, NameLimitsAndReplacement) {
    EXPECT_EQ(LookupFunction(nullptr), kInvalidFunctionIndex);
    EXPECT_EQ(LookupFunction(""), kInvalidFunctionIndex);
    std::string name31(31, 'q'), name32(32, 'q');
    EXPECT_EQ(LookupFunction(name32.c_str()), kInvalidFunctionIndex);
    EXPECT_FALSE(RegisterFunction(name32.c_str(), Twice));

    uint32_t before = FunctionCount();
    ASSERT_TRUE(RegisterFunction(name31.c_str(), Twice));
    EXPECT_EQ(FunctionCount(), before + 1);
    uint32_t index = LookupFunction(name31.c_str());
    EXPECT_EQ(index, before);
    EXPECT_EQ(GetFunctionRecord(index)->slots.float1(2.0f), 4.0f);

    // A second registration replaces the record in place, kind and all.
    ASSERT_TRUE(RegisterFunction(name31.c_str(), Sum2));
    EXPECT_EQ(FunctionCount(), before + 1);
    const FunctionRecord* r = GetFunctionRecord(index);
    EXPECT_EQ(r->kind, static_cast<uint32_t>(kKindFloat2));
    EXPECT_EQ(r->slots.float1, nullptr);
    EXPECT_EQ(r->slots.float2(2.0f, 5.0f), 7.0f);

    ASSERT_TRUE(RegisterFunction(name31.c_str(), Thrice));
    EXPECT_EQ(GetFunctionRecord(index)->slots.float1(2.0f), 6.0f);
    // Case-sensitive.
    std::string upper = name31;
    upper[0] = 'Q';
    EXPECT_EQ(LookupFunction(upper.c_str()), FunctionCount());
}

TEST(FunctionRegistry, RefusesTheRecordAfterTheLast) {
    // Fill the table up to its capacity with fresh names, then one more is refused while an
    // existing name can still be replaced.
    char name[32];
    int added = 0;
    while (FunctionCount() < kRegistryCapacity) {
        std::snprintf(name, sizeof name, "capacity_probe_%d", added++);
        ASSERT_TRUE(RegisterFunction(name, Twice));
    }
    EXPECT_FALSE(RegisterFunction("one_too_many", Twice));
    EXPECT_EQ(FunctionCount(), kRegistryCapacity);
    EXPECT_TRUE(RegisterFunction("capacity_probe_0", Thrice));
}

TEST(NamedConstants, ValuesAndLookupRules) {
    struct {
        const char* name;
        uint32_t bits;
    } expected[] = {
        {"PI", 0x40490FDB},     {"E", 0x402DF854},      {"GOLD", 0x3F1E3579},
        {"SQRT2", 0x3FB504F3},  {"SQRT3", 0x3FDDB3D7},  {"DEGREE", 0x42652EE1},
        {"RADIAN", 0x3C8EFA35}, {"EPSILON", 0x34000000}, {"MILLIONTH", 0x358637BD},
        {"DIMI", 0x38D1B717},
    };
    for (const auto& e : expected) {
        float v = -1.0f;
        ASSERT_TRUE(LookupConstant(e.name, &v)) << e.name;
        EXPECT_EQ(BitsFromFloat(v), e.bits) << e.name;
    }
    float v = 5.0f;
    EXPECT_FALSE(LookupConstant("pi", &v));
    EXPECT_EQ(v, 0.0f);
    v = 5.0f;
    EXPECT_FALSE(LookupConstant("SIXTEEN_CHARS_XX", &v));
    EXPECT_EQ(v, 0.0f);
}

TEST(OperatorTables, SymbolsPrecedenceAndGuards) {
    const char* symbols = "=<>+-*/%^&|";
    const int precedence[] = {1, 1, 1, 2, 2, 3, 3, 3, 4, 5, 5};
    for (int i = 0; symbols[i]; ++i) {
        const FunctionRecord* op = FindBinaryOperator(symbols[i]);
        ASSERT_NE(op, nullptr);
        EXPECT_EQ(OperatorPrecedence(op), precedence[i]);
        EXPECT_EQ(op->kind, static_cast<uint32_t>(kKindBinaryOperator));
    }
    EXPECT_EQ(FindBinaryOperator('!'), nullptr);
    auto bin = [](char c, float a, float b) { return FindBinaryOperator(c)->slots.float2(a, b); };
    EXPECT_EQ(bin('/', 1, 0), kBig);
    EXPECT_EQ(bin('/', -1, 0), -kBig);
    EXPECT_EQ(bin('/', 0, 0), 0.0f);
    EXPECT_EQ(bin('%', 5, -2), 0.0f);
    EXPECT_EQ(bin('%', -7, 3), -1.0f);
    EXPECT_EQ(bin('^', 0, 0), 0.0f);
    EXPECT_EQ(bin('^', 2, 10), 1024.0f);
    EXPECT_EQ(bin('=', 1, 1.0f + 1e-8f), 1.0f);
    EXPECT_EQ(bin('=', 1, 1.001f), 0.0f);
    EXPECT_EQ(bin('&', 0.5f, 3), 0.0f);  // 0.5 truncates to 0
    EXPECT_EQ(bin('|', 0.5f, -1.5f), 1.0f);
    EXPECT_EQ(FindUnaryOperator('-')->slots.float1(2.0f), -2.0f);
    EXPECT_EQ(OpeningBracketKind('{'), 2);
    EXPECT_EQ(ClosingBracketKind(']'), 1);
    EXPECT_EQ(ClosingBracketKind('('), -1);
}
