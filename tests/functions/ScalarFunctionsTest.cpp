// Scalar, logic and interpolation built-ins and the core group's colour helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "BuiltinCall.h"
#include "common/FloatConstants.h"
#include "common/Random.h"
#include "functions/CoreGroup.h"
#include "functions/Families.h"

using namespace luneth;
using luneth::test::Builtin;
using luneth::test::Call;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct Case {
    const char* name;
    std::vector<float> args;
    float expected;
    float tolerance = 0.0f;  // 0: bit-exact
};

float CallCase(const Case& c) {
    switch (c.args.size()) {
        case 1:
            return Call(c.name, {c.args[0]});
        case 2:
            return Call(c.name, {c.args[0], c.args[1]});
        case 3:
            return Call(c.name, {c.args[0], c.args[1], c.args[2]});
        case 4:
            return Call(c.name, {c.args[0], c.args[1], c.args[2], c.args[3]});
        case 5:
            return Call(c.name, {c.args[0], c.args[1], c.args[2], c.args[3], c.args[4]});
        case 6:
            return Call(c.name, {c.args[0], c.args[1], c.args[2], c.args[3], c.args[4], c.args[5]});
        default:
            ADD_FAILURE() << c.name;
            return 0.0f;
    }
}

std::string Describe(const Case& c) {
    std::string s = std::string(c.name) + "(";
    for (size_t i = 0; i < c.args.size(); ++i) s += (i ? ", " : "") + std::to_string(c.args[i]);
    return s + ")";
}

void CheckCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        float got = CallCase(c);
        if (std::isnan(c.expected)) {
            EXPECT_TRUE(std::isnan(got)) << Describe(c) << " = " << got;
        } else if (c.tolerance == 0.0f) {
            EXPECT_EQ(got, c.expected) << Describe(c);
        } else {
            EXPECT_NEAR(got, c.expected, c.tolerance) << Describe(c);
        }
    }
}

// First value of the process generator after SRand(seed), computed from its recurrence.
int FirstDraw(uint32_t seed) {
    return static_cast<int>(((seed * 214013u + 2531011u) >> 16) & 0x7FFF);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Exact values at singular points and edges
// ---------------------------------------------------------------------------------------------

TEST(ScalarFunctions, GuardedDivisionRootsAndLogarithms) {
    // clang-format off
    CheckCases({
        {"divide", {1, 0}, kBig},           {"divide", {-1, 0}, -kBig},
        {"divide", {0, 0}, 0},              {"divide", {1e-8f, -1e-9f}, 0},
        {"divide", {2, 1e-8f}, kBig},       {"divide", {6, -3}, -2},
        {"reciprocal", {0}, -kBig},         {"reciprocal", {1e-9f}, kBig},
        {"reciprocal", {-1e-9f}, -kBig},    {"reciprocal", {4}, 0.25f},
        {"sqrt", {-4}, 0},                  {"sqrt", {9}, 3},
        {"inversesqrt", {-4}, 0},           {"inversesqrt", {4}, 0.5f},
        {"log", {-1}, 0},                   {"ln", {-1}, 0},
        {"log", {1}, 0},                    {"log10", {1000}, 3, 1e-6f},
        {"lg", {-5}, 0},                    {"log2", {8}, 3, 1e-6f},
        {"log2", {-8}, 0},                  {"log_ax", {2, 8}, 3, 1e-6f},
        {"log_ax", {-2, 8}, 0},             {"log_ax", {2, 0}, 0},
        {"pow", {0, -1}, 0},                {"pow", {1e-8f, 2}, 0},
        {"pow", {2, 10}, 1024},             {"pow_sign", {-2, 2}, -4},
        {"pow_sign", {-8, 1.0f / 3}, -2, 1e-6f}, {"pow_sign", {-1e-8f, 2}, 0},
        {"mod", {5, -3}, 0},                {"mod", {5, 1e-8f}, 0},
        {"mod", {5, 3}, 2},                 {"mod", {-1, 3}, -1},
        {"mod_sign", {-1, 3}, 2},           {"mod_sign", {7, 3}, 1},
        {"mod289", {290}, 1},               {"mod289", {-1}, 288},
    });
    // clang-format on
}

TEST(ScalarFunctions, TrigonometryAtItsPoles) {
    // clang-format off
    CheckCases({
        {"asin", {2}, 1.5707964f},         {"asin", {-2}, -1.5707964f},
        {"asin", {1}, 1.5707964f},         {"acos", {2}, 0},
        {"acos", {-5}, 3.1415927f},        {"acos", {0}, 1.5707964f, 1e-7f},
        {"acot", {0}, 1.5707964f},         {"acot", {1}, 0.7853982f, 1e-7f},
        // sin(0) = 0 with cos 1 > 0; sin(3.1415927) = -8.7e-8 with cos -1.
        {"cot", {0}, kBig},                {"cot", {3.1415927f}, -kBig},
        {"cot", {0.7853982f}, 1, 1e-6f},
        // cos(1.5707964) = -4.4e-8: the sign of the near-zero denominator decides.
        {"sec", {1.5707964f}, -kBig},      {"sec", {0}, 1},
        {"csc", {0}, -kBig},               {"csc", {1e-9f}, kBig},
        {"csc", {1.5707964f}, 1},
        {"asec", {0}, 0},                  {"asec", {0.5f}, 0},
        {"asec", {-0.5f}, 3.1415927f},     {"asec", {2}, 1.0471976f, 1e-6f},
        {"acsc", {0}, 0},                  {"acsc", {0.5f}, 1.5707964f},
        {"acsc", {-0.5f}, -1.5707964f},    {"acsc", {2}, 0.5235988f, 1e-6f},
        {"atan2", {1, 0}, 1.5707964f},     {"radians", {180}, 180 * 0.01745329f},
        {"degrees", {1}, 57.29578f},
    });
    // clang-format on
}

TEST(ScalarFunctions, SignsRoundingAndLogic) {
    // clang-format off
    CheckCases({
        {"sign", {0}, 1},            {"sign", {-0.0f}, 1},         {"sign", {-2}, -1},
        {"sign_zero", {1e-8f}, 0},   {"sign_zero", {-3}, -1},      {"sign_zero", {0.5f}, 1},
        {"is_zero", {1e-8f}, 1},     {"is_zero", {kEpsilon}, 0},   {"is_zero", {-1e-8f}, 1},
        {"saturate", {-2}, 0},       {"saturate", {3}, 1},         {"saturate", {0.25f}, 0.25f},
        {"round", {2.5f}, 3},        {"round", {-2.5f}, -2},       {"fract", {-1.25f}, 0.75f},
        {"positive", {-3}, -3},      {"negative", {-3}, 3},        {"abs", {-3}, 3},
        {"floor", {-1.5f}, -2},      {"ceil", {-1.5f}, -1},
        {"and_byte", {257, 3}, 1},   {"xor_bool", {2, 0}, 1},      {"xor_bool", {2, 3}, 0},
        {"and_bool", {0.9f, 5}, 0},  {"or_bool", {-0.5f, 0}, 0},   {"or_bool", {-1.5f, 0}, 1},
        {"or_byte", {-1, 0}, 255},   {"xor_byte", {0x1F0, 0x0F}, 0xFF},
        {"and_word", {65537, 65535}, 1},  {"or_word", {0x10000, 2}, 2},
        {"xor_word", {0xFFFF0, 0xF}, 0xFFFF},
        // NaN and huge values truncate to INT32_MIN, whose low 16 bits are 0.
        {"and_byte", {kNaN, 255}, 0},     {"or_word", {3e9f, 0}, 0},
        {"and_bool", {kNaN, 1}, 1},
        {"greater", {2, 1}, 1},      {"greater", {1, 1}, 0},       {"greater_equal", {1, 1}, 1},
        {"less", {1, 2}, 1},         {"less_equal", {2, 1}, 0},
        {"equal", {0.1f, 0.1f + 1e-8f}, 1},    {"equal", {1, 1.0001f}, 0},
        {"not_equal", {1, 1.0001f}, 1},        {"not_equal", {0.1f, 0.1f + 1e-8f}, 0},
        {"step", {1, 1}, 1},         {"step", {2, 1}, 0},
        {"if", {0.5f, 1, 2}, 2},     {"if", {-1.5f, 1, 2}, 1},     {"if_else", {3, 1, 2}, 1},
        {"checkerboard", {0.5f, 0.5f, 0.5f}, 1},   {"checkerboard", {1.5f, 0.5f, 0.5f}, -1},
        {"checkerboard", {-0.5f, 0.5f, 0.5f}, -1}, {"checkerboard", {-0.5f, -0.5f, 0.5f}, 1},
    });
    // clang-format on
}

TEST(ScalarFunctions, SpecialFunctions) {
    // clang-format off
    CheckCases({
        {"fibonacci", {0}, 1},          {"fibonacci", {1}, 1},       {"fibonacci", {2}, 2},
        {"fibonacci", {10}, 89},        {"fibonacci", {31}, 2178309},
        {"fibonacci", {30.6f}, 2178309}, {"fibonacci", {32}, -1},    {"fibonacci", {31.5f}, -1},
        {"fibonacci", {-1.6f}, -1},     {"fibonacci", {kNaN}, -1},   {"fibonacci", {1e10f}, -1},
        // -0.9 + 0.5 truncates toward zero to 0.
        {"fibonacci", {-0.9f}, 1},
        {"factorial", {5}, 120},        {"factorial", {5.5f}, 324.84375f},
        {"factorial", {1.5f}, 1.5f},    {"factorial", {0}, 0},       {"factorial", {-3}, -3},
        {"factorial", {34}, 2.9523279e38f, 1e33f},
        {"factorial", {35}, kInf},      {"factorial", {1e7f}, kInf}, {"factorial", {1e30f}, kInf},
        {"factorial", {kInf}, kInf},    {"factorial", {-kInf}, -kInf},
        {"factorial", {kNaN}, kNaN},
        {"erf", {0}, 0},                {"erf", {1}, 0.8427008f, 5e-4f},
        {"erf", {-0.5f}, -0.5204999f, 5e-4f},
        {"erf", {1e20f}, 1},            {"erf", {-1e20f}, -1},       {"erf", {kInf}, 1},
        {"gamma", {0}, 1, 1e-6f},       {"gamma", {1}, 1, 1e-6f},    {"gamma", {3}, 6, 1e-5f},
        {"gamma", {5}, 120, 1e-3f},
        {"stirling", {1}, 0.9221370f, 1e-6f},
        {"stirling", {10}, 3598695.6f, 10.0f},
        {"gauss", {0}, 1},              {"gauss", {1}, 0.36787944f, 1e-7f},
        {"impulse", {0}, 1},            {"impulse", {1e-8f}, 1},
        {"impulse", {0.5f}, 0.63661977f, 1e-6f},  {"impulse", {1}, 0, 1e-6f},
        {"sigmoid", {0}, 0.5f},         {"sigmoid", {100}, 1},
        {"TaylorInvSqrt", {1}, 1.7928429f - 0.85373473f},
        {"Q_rsqrt", {1}, 0.99830717f, 1e-6f},
    });
    // clang-format on
}

TEST(ScalarFunctions, ClampsStepsAndRanges) {
    // clang-format off
    CheckCases({
        {"clamp", {5, 3, 1}, 3},            {"clamp", {0, 3, 1}, 1},
        {"clamp", {2, 3, 1}, 2},            {"clamp", {-7, -1, -5}, -5},
        {"restrict", {3, 1, 5}, 3},         {"restrict", {3, 1, 2}, 2},
        {"in_range", {3, 1, 2}, 1},         {"in_range", {1, 3, 3}, 1},
        {"in_range", {1, 3, 3.01f}, 0},
        {"smooth_in_range", {0, 2, 1}, 1},  {"smooth_in_range", {0, 2, 0}, 0},
        {"smooth_in_range", {0, 2, 0.25f}, 0.5f},  {"smooth_in_range", {2, 0, 0.25f}, 0.5f},
        {"smooth_in_range", {0, 2, 3}, 0},  {"smooth_in_range", {1, 1, 1}, 1},
        {"cubic_pulse", {0, 2, 1}, 1},      {"cubic_pulse", {0, 2, 0}, 0},
        {"cubic_pulse", {0, 2, 0.5f}, 0.5f},  {"cubic_pulse", {2, 0, 1.5f}, 0.5f},
        {"cubic_pulse", {0, 2, 3}, 0},      {"cubic_pulse", {1, 1, 1}, 1},
        {"smooth_distribution", {0, 2, 1, 1}, 1},    {"smooth_distribution", {0, 2, 1, 0.5f}, 0.5f},
        {"smooth_distribution", {2, 0, 1, 0.5f}, 0.5f}, {"smooth_distribution", {0, 2, 4, 0.5f}, 1},
        {"smooth_distribution", {0, 2, 1, -1}, 0},   {"smooth_distribution", {1, 1, 0.5f, 1}, 0.5f},
        {"linestep", {1, 3, 2}, 0.5f},      {"linestep", {1, 3, 0}, 0},
        {"linestep", {1, 3, 4}, 1},         {"linestep", {1, 1, 1}, 1},
        {"smoothstep", {0, 2, 0.5f}, 0.15625f},     {"smoothstep", {0, 1, 0.5f}, 0.5f},
        {"smoothstep", {1, 1, 1}, 1},       {"smoothxstep", {0, 1, 0.5f}, 0.5f},
        {"smoothxstep", {0, 2, 0.5f}, 0.103515625f, 1e-7f},
        {"inverse_smoothstep", {0, 1, 0.5f}, 0.5f, 1e-6f},
        {"inverse_smoothstep", {0, 1, 0}, 0, 1e-7f}, {"inverse_smoothstep", {0, 1, 1}, 1, 1e-6f},
        // The cosine runs on x itself and the result is scaled into [a, b].
        {"cosstep", {0, 1, 0.5f}, 0.5f, 1e-6f},     {"cosstep", {2, 4, 3}, 4, 1e-5f},
        {"cosstep", {2, 4, 1}, 0},          {"cosstep", {2, 4, 5}, 1},
        {"capsule_step", {0, 4, 0}, 0},     {"capsule_step", {0, 4, 0.5f}, 0.8660254f, 1e-7f},
        {"capsule_step", {0, 4, 2}, 1},     {"capsule_step", {0, 4, 3.5f}, 0.8660254f, 1e-7f},
        {"capsule_step", {0, 4, 5}, 0},     {"capsule_step", {0, 4, -0.1f}, 0},
        {"lerp", {1, 3, 2}, 5},             {"mix", {1, 3, 0.5f}, 2},
        {"lerpInAB", {1, 3, 2}, 3},         {"lerpInAB", {1, 3, -1}, 1},
        {"lerpInAB", {1, 3, 0.5f}, 2},
        {"linear_interpolate", {2, 4, 0.5f}, 3},    {"cosine_interpolate", {2, 4, 0.5f}, 3, 1e-6f},
        {"scurve_interpolate", {2, 4, 0.5f}, 3},    {"xcurve_interpolate", {2, 4, 0.5f}, 3},
        {"scurve_interpolate", {0, 1, 2}, -4},      {"linear_interpolate", {0, 1, -1}, -1},
    });
    // clang-format on
}

TEST(ScalarFunctions, SmoothMinimaAndMaxima) {
    // clang-format off
    CheckCases({
        {"smin", {0, 0, 1}, -0.25f},       {"smoothmin", {0, 0, 1}, -0.25f},
        {"smax", {0, 0, 1}, 0.25f},        {"smoothmax", {0, 0, 1}, 0.25f},
        {"smin", {0, 10, 1}, 0},           {"smax", {0, 10, 1}, 10},
        {"smoothmax", {10, 0, 1}, 10},
        // k = 0 is the plain minimum or maximum, also for equal operands (0/0 weight).
        {"smin", {1, 2, 0}, 1},            {"smin", {1, 1, 0}, 1},
        {"smax", {1, 2, 0}, 2},            {"smoothmax", {3, 3, 0}, 3},
    });
    // clang-format on
}

TEST(ScalarFunctions, VectorsAndComplexNumbers) {
    // clang-format off
    CheckCases({
        {"add", {1, 2}, 3},           {"sub", {1, 2}, -1},          {"multiply", {3, 2}, 6},
        {"max", {1, 2}, 2},           {"min", {1, 2}, 1},
        {"hypot", {3, 4}, 5},         {"length2", {-3, 4}, 5},      {"square_sum2", {3, 4}, 25},
        {"complex_inv_r", {0, 2}, 0}, {"complex_inv_i", {0, 2}, -0.5f},
        {"complex_inv_r", {3, 4}, 0.12f, 1e-7f},  {"complex_inv_i", {3, 4}, -0.16f, 1e-7f},
        {"add3", {1, 2, 3}, 6},       {"min3", {3, 1, 2}, 1},       {"max3", {3, 1, 2}, 3},
        {"average3", {1, 2, 6}, 3},   {"length3", {1, 2, 2}, 3},    {"square_sum3", {1, 2, 2}, 9},
        {"rotate2d_x", {1, 0, 1.5707964f}, 0, 1e-7f},
        {"rotate2d_y", {1, 0, 1.5707964f}, 1, 1e-7f},
        {"add4", {1, 2, 3, 4}, 10},   {"min4", {4, 3, 1, 2}, 1},    {"max4", {1, 4, 3, 2}, 4},
        {"average4", {1, 2, 3, 4}, 2.5f},        {"length4", {1, 1, 1, 1}, 2},
        {"square_sum4", {1, 1, 1, 1}, 4},
        {"complex_mul_r", {1, 2, 3, 4}, -5},     {"complex_mul_i", {1, 2, 3, 4}, 10},
        {"rotate2d_cs_x", {1, 2, 3, 4}, -5},     {"rotate2d_cs_y", {1, 2, 3, 4}, 10},
        {"complex_div_r", {-5, 10, 3, 4}, 1, 1e-6f},
        {"complex_div_i", {-5, 10, 3, 4}, 2, 1e-6f},
        {"dot_v2", {1, 2, 3, 4}, 11}, {"cross_v2", {1, 2, 3, 4}, -2},
        {"distance_v2", {0, 0, 3, 4}, 5},
        {"reflect2d_x", {1, -1, 0, 1}, 1},       {"reflect2d_y", {1, -1, 0, 1}, 1},
        {"triangle_aera", {0, 0, 4, 0, 0, 3}, 6, 1e-6f},
        {"distance_v3", {0, 0, 0, 1, 2, 2}, 3},
        {"spiral", {0, 1, 2, 0, 0}, 1, 1e-7f},   {"spiral", {1, 0, 2, 1, 0}, 0.84147098f, 1e-7f},
        {"flower", {1, 0, 3, 1.5707964f, 0}, 1, 1e-7f},
        {"flower", {0, 1, 2, 0, 0}, 1, 1e-7f},
        // Missing list arguments read 0: k = f = phi = 0.
        {"spiral", {3, 4}, 0},
    });
    // clang-format on
}

// ---------------------------------------------------------------------------------------------
// Properties over many points
// ---------------------------------------------------------------------------------------------

TEST(ScalarFunctions, LibraryFunctionsMatchDoubleReferences) {
    struct Sweep {
        const char* name;
        double (*reference)(double);
        double lo, hi;
    };
    const Sweep sweeps[] = {
        {"sin", [](double x) { return std::sin(x); }, -10, 10},
        {"cos", [](double x) { return std::cos(x); }, -10, 10},
        {"tan", [](double x) { return std::tan(x); }, -1.4, 1.4},
        {"atan", [](double x) { return std::atan(x); }, -10, 10},
        {"arctan", [](double x) { return std::atan(x); }, -10, 10},
        {"asin", [](double x) { return std::asin(x); }, -0.99, 0.99},
        {"acos", [](double x) { return std::acos(x); }, -0.99, 0.99},
        {"exp", [](double x) { return std::exp(x); }, -5, 5},
        {"exp2", [](double x) { return std::exp2(x); }, -5, 5},
        {"log", [](double x) { return std::log(x); }, 0.01, 100},
        {"log10", [](double x) { return std::log10(x); }, 0.01, 100},
        {"log2", [](double x) { return std::log2(x); }, 0.01, 100},
        {"sqrt", [](double x) { return std::sqrt(x); }, 0, 100},
        {"inversesqrt", [](double x) { return 1 / std::sqrt(x); }, 0.01, 100},
        {"Q_rsqrt", [](double x) { return 1 / std::sqrt(x); }, 0.001, 1000},
        {"sinh", [](double x) { return std::sinh(x); }, -5, 5},
        {"sh", [](double x) { return std::sinh(x); }, -5, 5},
        {"cosh", [](double x) { return std::cosh(x); }, -5, 5},
        {"ch", [](double x) { return std::cosh(x); }, -5, 5},
        {"tanh", [](double x) { return std::tanh(x); }, -5, 5},
        {"th", [](double x) { return std::tanh(x); }, -5, 5},
        {"coth", [](double x) { return 1 / std::tanh(x); }, 0.05, 5},
        {"cth", [](double x) { return 1 / std::tanh(x); }, -5, -0.05},
        {"sech", [](double x) { return 1 / std::cosh(x); }, -5, 5},
        {"csch", [](double x) { return 1 / std::sinh(x); }, 0.05, 5},
        {"erf", [](double x) { return std::erf(x); }, -4, 4},
        {"sigmoid", [](double x) { return 1 / (1 + std::exp(-x)); }, -10, 10},
        {"acot", [](double x) { return std::numbers::pi / 2 - std::atan(x); }, -10, 10},
    };
    for (const Sweep& s : sweeps) {
        double worst = 0;
        for (int i = 0; i <= 400; ++i) {
            double x = s.lo + (s.hi - s.lo) * i / 400.0;
            double ref = s.reference(static_cast<float>(x));
            double got = Call(s.name, {static_cast<float>(x)});
            worst = std::max(worst, std::fabs(got - ref) / std::max(1.0, std::fabs(ref)));
        }
        // The approximations (erf, Q_rsqrt) are within 2e-3; the library functions within
        // single-precision rounding.
        std::string name = s.name;
        double limit = name == "erf" || name == "Q_rsqrt" ? 2e-3 : 2e-6;
        EXPECT_LT(worst, limit) << s.name;
    }
}

TEST(ScalarFunctions, SecondHyperbolicFamilySaturatesInsteadOfNaN) {
    for (float x : {90.0f, 100.0f, 1e10f, kInf}) {
        EXPECT_EQ(Call("th", {x}), 1.0f) << x;
        EXPECT_EQ(Call("th", {-x}), -1.0f) << x;
        EXPECT_EQ(Call("cth", {x}), 1.0f) << x;
        EXPECT_EQ(Call("cth", {-x}), -1.0f) << x;
        EXPECT_EQ(Call("sech", {x}), 0.0f) << x;
        EXPECT_EQ(Call("tanh", {x}), 1.0f) << x;
    }
}

// Five-point Gauss-Laguerre integrates t^x exactly for x = 0 .. 9 (up to its ten-digit
// constants) and stays within a couple of
// percent of Gamma(x + 1) between the integers (t^x is not smooth at 0 there).
TEST(ScalarFunctions, GammaFollowsTheFactorial) {
    double factorial = 1;
    for (int n = 0; n <= 9; ++n) {
        if (n > 0) factorial *= n;
        EXPECT_NEAR(Call("gamma", {static_cast<float>(n)}), factorial, 5e-6 * factorial) << n;
    }
    for (int i = 1; i < 60; ++i) {
        float x = i * 0.1f;
        double reference = std::tgamma(x + 1.0);
        EXPECT_NEAR(Call("gamma", {x}), reference, 0.02 * reference) << x;
    }
}

TEST(ScalarFunctions, InverseSmoothstepInvertsSmoothstep) {
    for (int i = 0; i <= 100; ++i) {
        float y = i / 100.0f;
        float x = Call("inverse_smoothstep", {0, 1, y});
        EXPECT_NEAR(Call("smoothstep", {0, 1, x}), y, 2e-6f) << y;
    }
}

TEST(ScalarFunctions, StepsAreMonotoneAndContinuousAtTheirEdges) {
    for (const char* name : {"linestep", "smoothstep", "smoothxstep", "inverse_smoothstep"}) {
        float previous = Call(name, {-1, 3, -1.0f});
        EXPECT_EQ(previous, 0.0f) << name;
        for (int i = 1; i <= 400; ++i) {
            float x = -1.0f + 4.0f * i / 400.0f;
            float v = Call(name, {-1, 3, x});
            EXPECT_GE(v, previous - 1e-6f) << name << " at " << x;  // rounding near t = 1
            EXPECT_LE(v - previous, 0.05f) << name << " jumps at " << x;
            previous = v;
        }
        EXPECT_NEAR(previous, 1.0f, 1e-6f) << name;
    }
}

TEST(ScalarFunctions, ComplexDivisionUndoesMultiplication) {
    for (int i = 1; i < 40; ++i) {
        float a = std::sin(i * 1.3f) * 3, b = std::cos(i * 0.7f) * 2;
        float c = 0.5f + i * 0.1f, d = -1.0f + i * 0.05f;
        float re = Call("complex_mul_r", {a, b, c, d}), im = Call("complex_mul_i", {a, b, c, d});
        EXPECT_NEAR(Call("complex_div_r", {re, im, c, d}), a, 1e-4f);
        EXPECT_NEAR(Call("complex_div_i", {re, im, c, d}), b, 1e-4f);
        float ir = Call("complex_inv_r", {c, d}), ii = Call("complex_inv_i", {c, d});
        EXPECT_NEAR(Call("complex_mul_r", {c, d, ir, ii}), 1.0f, 1e-5f);
        EXPECT_NEAR(Call("complex_mul_i", {c, d, ir, ii}), 0.0f, 1e-5f);
    }
}

TEST(ScalarFunctions, TriangleAreaMatchesTheCrossProductAndIsNeverNaN) {
    for (int i = 0; i < 200; ++i) {
        float p[6];
        for (int k = 0; k < 6; ++k) p[k] = std::sin(i * 0.37f + k * 1.9f) * 5.0f;
        float cross = (p[2] - p[0]) * (p[5] - p[1]) - (p[3] - p[1]) * (p[4] - p[0]);
        float area = Call("triangle_aera", {p[0], p[1], p[2], p[3], p[4], p[5]});
        EXPECT_NEAR(area, std::fabs(cross) / 2.0f, 2e-3f * (1.0f + std::fabs(cross))) << i;
        // Collinear points: area 0, where rounding could make Heron's product negative.
        float t = 0.1f + 0.01f * i;
        float q = Call("triangle_aera", {p[0], p[1], p[2], p[3], p[0] + t * (p[2] - p[0]),
                                         p[1] + t * (p[3] - p[1])});
        // Heron's formula cancels badly here: the error grows like the perimeter squared.
        float perimeter = Call("distance_v2", {p[0], p[1], p[2], p[3]}) * 2.0f;
        EXPECT_FALSE(std::isnan(q)) << i;
        EXPECT_GE(q, 0.0f) << i;
        EXPECT_LE(q, 1e-3f * perimeter * perimeter) << i;
    }
}

TEST(ScalarFunctions, GammaTableIsTheSrgbCurve) {
    EXPECT_EQ(Call("gamma_table", {0}), 0.0f);
    EXPECT_EQ(Call("gamma_table", {1}), 1.0f);
    EXPECT_EQ(Call("gamma_table", {2}), 1.0f);
    EXPECT_EQ(Call("gamma_table", {-0.5f}), 0.0f);
    EXPECT_EQ(Call("gamma_table", {kNaN}), 0.0f);
    float previous = 0.0f;
    for (int i = 0; i <= 255; ++i) {
        float x = i / 255.0f;
        float v = Call("gamma_table", {x});
        int index = static_cast<int>(255.0f * x);
        double c = index / 255.0;
        double srgb = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
        EXPECT_NEAR(v, srgb, 1e-6) << i;
        EXPECT_GE(v, previous) << i;
        previous = v;
    }
}

TEST(ScalarFunctions, FactorialEndsForEveryInput) {
    // Includes values where x - 1 == x in float; every call must return.
    for (float x : {16777216.0f, 3e38f, kBig, kInf, -kInf, kNaN, 33.9f, 1e-30f, -1e30f}) {
        float v = Call("factorial", {x});
        if (x >= 35.0f) {
            EXPECT_TRUE(std::isinf(v)) << x;
        }
    }
    EXPECT_EQ(Call("factorial", {10}), 3628800.0f);
}

// ---------------------------------------------------------------------------------------------
// Random functions
// ---------------------------------------------------------------------------------------------

TEST(ScalarRandom, UsesTheProcessGeneratorDeterministically) {
    for (uint32_t seed : {1u, 9527u, 123456789u}) {
        SRand(seed);
        EXPECT_EQ(Call("rand", {1.0f}), FirstDraw(seed) / 32768.0f) << seed;
        SRand(seed);
        EXPECT_EQ(Call("rand2", {2.0f, 6.0f}), 2.0f + 4.0f * (FirstDraw(seed) / 32768.0f));
        SRand(seed);
        EXPECT_EQ(Call("rand_int", {1000.0f}), FirstDraw(seed) % 1000);
        SRand(seed);
        EXPECT_EQ(Call("rand_int2", {10.0f, 20.0f}), 10 + FirstDraw(seed) % 10);
    }
    std::vector<float> first, second;
    SRand(42);
    for (int i = 0; i < 50; ++i) first.push_back(Call("rand2", {-1, 1}));
    SRand(42);
    for (int i = 0; i < 50; ++i) second.push_back(Call("rand2", {-1, 1}));
    EXPECT_EQ(first, second);
}

TEST(ScalarRandom, RangesOverManyDraws) {
    SRand(2024);
    std::set<float> ints, reversed, negative;
    for (int i = 0; i < 20000; ++i) {
        float r = Call("rand", {3.0f});
        EXPECT_GE(r, 0.0f);
        EXPECT_LT(r, 3.0f);
        float r2 = Call("rand2", {-2.0f, 5.0f});
        EXPECT_GE(r2, -2.0f);
        EXPECT_LT(r2, 5.0f);
        ints.insert(Call("rand_int", {10.9f}));      // truncates to 10
        negative.insert(Call("rand_int", {-4.0f}));  // 0 toward -4
        float k = Call("rand_int2", {2.7f, 5.2f});   // 2 .. 4
        EXPECT_TRUE(k >= 2 && k <= 4) << k;
        reversed.insert(Call("rand_int2", {5.0f, 2.0f}));  // 5 down to 3
    }
    EXPECT_EQ(ints, (std::set<float>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(negative, (std::set<float>{0, -1, -2, -3}));
    EXPECT_EQ(reversed, (std::set<float>{5, 4, 3}));
    EXPECT_EQ(Call("rand_int", {0.9f}), 0.0f);
    EXPECT_EQ(Call("rand_int2", {7.5f, 7.9f}), 7.0f);
    // Bounds that truncate to INT32_MIN and a large positive span stay finite.
    EXPECT_FALSE(std::isnan(Call("rand_int2", {kNaN, 1e9f})));
}

// ---------------------------------------------------------------------------------------------
// Colour helpers of the core group
// ---------------------------------------------------------------------------------------------

TEST(ColourHelpers, Values) {
    // clang-format off
    CheckCases({
        {"float_to_color", {300.7f}, 44},       {"float_to_color", {-1}, 255},
        {"float_to_color", {kNaN}, 0},          {"float_to_color", {255.9f}, 255},
        {"gray", {1, 1, 1}, 1, 1e-6f},          {"gray", {1, 0, 0}, 0.299f},
        {"gray", {0, 0, 1}, 0.114f},
        {"correction_gamma", {0.25f, 0.5f}, 0.5f},  {"correction_gamma", {-1, 2}, 0},
        {"correction_gamma", {2, 2}, 1},
        {"correction_pow", {0.25f, 2}, 0.125f},     {"correction_pow", {0.75f, 2}, 0.85355339f, 1e-6f},
        {"correction_pow", {-1, 2}, 0},             {"correction_pow", {1, 2}, 1},
        {"correction_sin", {0.25f, 0.1f}, 0.35f, 1e-7f}, {"correction_sin", {1.5f, 0.1f}, 1},
        {"correction_sin", {-0.5f, 0.1f}, 0},
    });
    // clang-format on
}

// ---------------------------------------------------------------------------------------------
// Registration
// ---------------------------------------------------------------------------------------------

TEST(ScalarRegistration, AliasesShareOneFunction) {
    const std::vector<std::vector<const char*>> aliases = {
        {"log", "ln"},
        {"log10", "lg"},
        {"asin", "arcsin"},
        {"acos", "arccos"},
        {"cot", "ctg"},
        {"atan", "arctan"},
        {"acot", "actg", "arccot", "arcctg"},
        {"asec", "arcsec"},
        {"acsc", "arccsc"},
        {"sech", "sch"},
        {"csch", "xh"},
        {"hypot", "length2"},
        {"if", "if_else"},
        {"lerp", "mix"},
        {"complex_mul_r", "rotate2d_cs_x"},
        {"complex_mul_i", "rotate2d_cs_y"},
        {"array_set_all_values", "array_set"},
        {"min", "opUnion"},  // across groups: the distance operator is min itself
    };
    auto slot = [](const FunctionRecord* r) -> const void* {
        switch (r->kind) {
            case kKindFloat1:
                return reinterpret_cast<const void*>(r->slots.float1);
            case kKindFloat2:
                return reinterpret_cast<const void*>(r->slots.float2);
            case kKindFloat3:
                return reinterpret_cast<const void*>(r->slots.float3);
            case kKindFloat4:
                return reinterpret_cast<const void*>(r->slots.float4);
            case kKindGenerate:
                return reinterpret_cast<const void*>(r->slots.generate);
            default:
                return nullptr;
        }
    };
    for (const auto& group : aliases) {
        const FunctionRecord* first = Builtin(group[0]);
        ASSERT_NE(first, nullptr);
        for (const char* name : group) {
            const FunctionRecord* r = Builtin(name);
            ASSERT_NE(r, nullptr);
            EXPECT_EQ(r->kind, first->kind) << name;
            EXPECT_EQ(slot(r), slot(first)) << name << " and " << group[0];
            EXPECT_NE(slot(r), nullptr) << name;
        }
    }
    // The second hyperbolic family is separate but computes the same values.
    const char* twins[][2] = {{"sh", "sinh"}, {"ch", "cosh"}, {"th", "tanh"}, {"cth", "coth"}};
    for (const auto& t : twins) {
        EXPECT_NE(Builtin(t[0])->slots.float1, Builtin(t[1])->slots.float1) << t[0];
        for (float x : {-2.0f, -0.3f, 0.7f, 3.0f})
            EXPECT_NEAR(Call(t[0], {x}), Call(t[1], {x}), 1e-5f * std::fabs(Call(t[1], {x})))
                << t[0] << "(" << x << ")";
    }
}

// The scalar, colour-helper and array families own these index ranges of the core group's
// order (the family banners of CoreGroup.def); the other indices belong to families built
// elsewhere.
TEST(ScalarRegistration, FamiliesAreRegisteredInCoreGroupOrder) {
    const std::pair<uint32_t, uint32_t> ranges[] = {
        {0, 58},    {58, 59},   {59, 64},   {69, 76},   {76, 87},   {87, 90},   {90, 114},
        {178, 185}, {185, 186}, {186, 212}, {278, 296}, {322, 324}, {325, 327}, {327, 341},
    };
    auto order = CoreGroupOrder();
    ASSERT_EQ(order.size(), 341u);

    std::set<std::string> expected, built;
    for (auto [from, to] : ranges)
        for (uint32_t i = from; i < to; ++i) expected.insert(order[i].name);
    for (FunctionTable table : {ScalarFunctions(), ColourHelperFunctions(), ArrayFunctions()})
        for (const BuiltinFunction& e : table) built.insert(e.name);
    EXPECT_EQ(built, expected);
    EXPECT_EQ(ScalarFunctions().size() + ColourHelperFunctions().size() + ArrayFunctions().size(),
              expected.size());

    // Each present core name sits right after the present names before it, so once every
    // family is built the indices are exactly those of CoreGroup.def.
    uint32_t present = 0;
    for (uint32_t i = 0; i < order.size(); ++i) {
        uint32_t index = LookupFunction(order[i].name);
        bool ours = expected.count(order[i].name) != 0;
        if (index == FunctionCount()) {
            EXPECT_FALSE(ours) << order[i].name << " is not registered";
            continue;
        }
        EXPECT_EQ(index, present) << order[i].name;
        EXPECT_EQ(GetFunctionRecord(index)->kind, order[i].kind) << order[i].name;
        ++present;
    }
}
