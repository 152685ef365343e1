// Scalar arithmetic, logic and interpolation: the elementary functions of the core group.
//
// They fix how scripts behave at singular points: a quantity is "zero" when its magnitude is
// below kEpsilon (2^-23), a division by it gives +-kBig or 0, logarithms and roots of negative
// numbers give 0. Logic and bit functions truncate toward zero with TruncateInt (defined for
// NaN and huge values). Random draws use the process-wide generator of common/Random.h.
//
// Index (sections below, table at the end in core-group order):
//   one argument     positive ... erf, stirling, gamma, gamma_table, radians, degrees,
//                    fibonacci ... TaylorInvSqrt
//   two arguments    add ... pow_sign, atan2 ... complex_inv_i
//   three arguments  clamp ... cubic_pulse, add3 ... square_sum3
//   four arguments   add4 ... reflect2d_y
//   argument lists   triangle_aera, distance_v3, spiral, flower
//
// Beyond the plain formulas (each one marked where it happens):
//   - th, cth return the limit +-1 once 2.7182817^|x| overflows, instead of inf/inf = NaN;
//   - erf returns +-1 once x^2 overflows, instead of inf/inf = NaN;
//   - gamma uses the true second Gauss-Laguerre node (1.4134030591, not 1.4034030591);
//   - factorial stops as soon as its product overflows, so it ends for every input;
//   - rand_int, rand_int2 draw from the first bound toward the second also when that one is
//     smaller, instead of past the first bound;
//   - gamma_table maps NaN to 0 (it would otherwise index outside the table);
//   - degenerate intervals (a == b) of the steps, pulses and range tests give the value at the
//     collapsed point instead of 0/0;
//   - saturate and the blend weight of smin, smax, smoothmax map NaN to 0, so k = 0 with
//     a == b gives the operand rather than NaN;
//   - triangle_aera gives 0 where rounding makes Heron's product of collinear points negative.
#include <cmath>
#include <cstdint>
#include <functional>
#include <utility>

#include "common/FloatConstants.h"
#include "common/Random.h"
#include "functions/Families.h"
#include "functions/RandomInt.h"
#include "functions/SharedFunctions.h"

namespace luneth {

float ScalarMin(float a, float b) { return a < b ? a : b; }

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kHalfPi = 1.5707964f;
constexpr float kE = 2.7182817f;

// 1/x guarded at zero: +kBig for a positive near-zero x, -kBig otherwise.
float GuardedInverse(float x) {
    if (x > -kEpsilon && x < kEpsilon) return x > 0.0f ? kBig : -kBig;
    return 1.0f / x;
}

// Clamp to [0, 1] with NaN mapped to 0, so that a 0/0 blend weight falls back to one operand.
float Clamp01(float x) {
    if (!(x > 0.0f)) return 0.0f;
    return x > 1.0f ? 1.0f : x;
}

float Smooth3(float t) { return t * t * (3.0f - 2.0f * t); }
float Smooth5(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

// ---------------------------------------------------------------------------------------------
// One argument
// ---------------------------------------------------------------------------------------------

float Positive(float x) { return x; }
float Negative(float x) { return -x; }
float Abs(float x) { return std::fabs(x); }
float Floor(float x) { return std::floor(x); }
float Ceil(float x) { return std::ceil(x); }
float Sign(float x) { return x >= 0.0f ? 1.0f : -1.0f; }
float SignZero(float x) {
    if (std::fabs(x) < kEpsilon) return 0.0f;
    return x > 0.0f ? 1.0f : -1.0f;
}
float IsZero(float x) { return x > -kEpsilon && x < kEpsilon ? 1.0f : 0.0f; }
float Saturate(float x) { return Clamp01(x); }

float RandScaled(float x) { return x * RandUnit(); }
// rand() mod truncate(x), counted from 0 toward truncate(x); 0 when that is 0.
float RandInt(float x) { return RandomIntToward(0, TruncateInt(x)); }

float Round(float x) { return std::floor(x + 0.5f); }
float Fract(float x) { return x - std::floor(x); }
float Reciprocal(float x) { return GuardedInverse(x); }
float Sqrt(float x) { return x < 0.0f ? 0.0f : std::sqrt(x); }
float InverseSqrt(float x) { return x < 0.0f ? 0.0f : 1.0f / std::sqrt(x); }
float Exp(float x) { return std::exp(x); }
float Exp2(float x) { return std::exp2(x); }
float Log(float x) { return x < 0.0f ? 0.0f : std::log(x); }
float Log10(float x) { return x < 0.0f ? 0.0f : std::log10(x); }
float Log2(float x) { return x < 0.0f ? 0.0f : std::log(x) / 0.6931472f; }

float Sin(float x) { return std::sin(x); }
float Cos(float x) { return std::cos(x); }
float Tan(float x) { return std::tan(x); }
float Atan(float x) { return std::atan(x); }
float Asin(float x) {
    if (x >= 1.0f) return kHalfPi;
    if (x <= -1.0f) return -kHalfPi;
    return std::asin(x);
}
float Acos(float x) {
    if (x >= 1.0f) return 0.0f;
    if (x <= -1.0f) return kPi;
    return std::acos(x);
}
float Acot(float x) { return kHalfPi - std::atan(x); }
float Cot(float x) {
    float s = std::sin(x), c = std::cos(x);
    if (s > -kEpsilon && s < kEpsilon) return c > 0.0f ? kBig : -kBig;
    return c / s;
}
float Sec(float x) { return GuardedInverse(std::cos(x)); }
float Csc(float x) { return GuardedInverse(std::sin(x)); }
float Asec(float x) {
    if (x > -kEpsilon && x < kEpsilon) return 0.0f;
    float r = 1.0f / x;
    if (r >= 1.0f) return 0.0f;
    if (r <= -1.0f) return kPi;
    return std::acos(r);
}
float Acsc(float x) {
    if (x > -kEpsilon && x < kEpsilon) return 0.0f;
    float r = 1.0f / x;
    if (r >= 1.0f) return kHalfPi;
    if (r <= -1.0f) return -kHalfPi;
    return std::asin(r);
}

float Sinh(float x) { return std::sinh(x); }
float Cosh(float x) { return std::cosh(x); }
float Tanh(float x) { return std::tanh(x); }
float Coth(float x) { return 1.0f / std::tanh(x); }

// The second hyperbolic family works from E = 2.7182817^x and e' = 2.7182817^-x.
struct ExpPair {
    float up, down;
    explicit ExpPair(float x) : up(std::pow(kE, x)), down(std::pow(kE, -x)) {}
    // +-1 when one side has overflowed: the limit of (E - e') / (E + e'), not inf / inf.
    float Saturated() const { return std::isinf(up) ? 1.0f : -1.0f; }
    bool Overflowed() const { return std::isinf(up) || std::isinf(down); }
};
float Sh(float x) {
    ExpPair p(x);
    return (p.up - p.down) / 2.0f;
}
float Ch(float x) {
    ExpPair p(x);
    return (p.up + p.down) / 2.0f;
}
float Th(float x) {
    ExpPair p(x);
    if (p.Overflowed()) return p.Saturated();
    return (p.up - p.down) / (p.up + p.down);
}
float Cth(float x) {
    ExpPair p(x);
    if (p.Overflowed()) return p.Saturated();
    return (p.up + p.down) / (p.up - p.down);
}
float Sech(float x) {
    ExpPair p(x);
    return 2.0f / (p.up + p.down);
}
float Csch(float x) {
    ExpPair p(x);
    return 2.0f / (p.up - p.down);
}

// x (x - 1) (x - 2) ... while the factor exceeds 0.999999. Each factor but the last is at
// least 2 until the product overflows, so stopping at infinity bounds the loop to about 130
// rounds for every input (huge x, where x - 1 == x, overflows within a few rounds; NaN and
// infinity stop at once).
float Factorial(float x) {
    if (!(x >= 2.0f)) return x;
    float product = x;
    for (float f = x - 1.0f; f > 0.999999f && !std::isinf(product); f -= 1.0f) product *= f;
    return product;
}

float Erf(float x) {
    constexpr float a = 0.140012f;
    float sign = x < 0.0f ? -1.0f : 1.0f;
    float x2 = x * x;
    if (std::isinf(x2)) return sign;  // inf / inf below; erf is +-1 long before
    return sign * std::sqrt(1.0f - std::exp(-x2 * (1.2732395f + a * x2) / (1.0f + a * x2)));
}

float Stirling(float x) { return std::pow(x / kE, x) * std::sqrt(6.2831855f * x); }

// Five-point Gauss-Laguerre quadrature of the integral of t^x e^-t, i.e. about Gamma(x + 1).
// The second node is the Laguerre root 1.4134030591; the mistyped 1.4034030591 would make
// gamma(1) 0.996 instead of 1.
float Gamma(float x) {
    static constexpr double kNodes[5] = {0.2635603197, 1.4134030591, 3.596425771, 7.0858100058,
                                         12.6408008442};
    static constexpr double kWeights[5] = {0.5217556105, 0.398666811, 0.0759424496, 0.0036117586,
                                           0.0000233699};
    double sum = 0.0;
    for (int i = 0; i < 5; ++i) sum += kWeights[i] * std::pow(kNodes[i], static_cast<double>(x));
    return static_cast<float>(sum);
}

// The table holds the sRGB display curve: entry i encodes the linear intensity c = i / 255 as
// 12.92 c for c <= 0.0031308, else 1.055 c^(1/2.4) - 0.055 (so entry 0 is 0, entry 255 is 1).
// Built on first use.
float GammaTable(float x) {
    static const auto table = [] {
        struct {
            float v[256];
        } t;
        for (int i = 0; i < 256; ++i) {
            double c = i / 255.0;
            double s = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
            t.v[i] = static_cast<float>(s);
        }
        return t;
    }();
    if (!(x >= 0.0f)) return 0.0f;  // NaN too
    if (x > 1.0f) return 1.0f;
    return table.v[TruncateInt(255.0f * x)];
}

float Radians(float x) { return x * 0.01745329f; }
float Degrees(float x) { return x * 57.29578f; }

// F(0) = F(1) = 1, F(n) = F(n - 1) + F(n - 2), up to F(31) = 2178309.
float Fibonacci(float x) {
    static constexpr auto kTable = [] {
        struct {
            int32_t v[32];
        } t{};
        t.v[0] = t.v[1] = 1;
        for (int i = 2; i < 32; ++i) t.v[i] = t.v[i - 1] + t.v[i - 2];
        return t;
    }();
    int32_t n = TruncateInt(x + 0.5f);
    if (n < 0 || n > 31) return -1.0f;
    return static_cast<float>(kTable.v[n]);
}

float Mod289(float x) { return x - std::floor(x * 0.0034602077f) * 289.0f; }
float Gauss(float x) { return std::exp(-x * x); }
float Impulse(float x) {
    if (std::fabs(x) < kEpsilon) return 1.0f;
    float px = kPi * x;
    return std::sin(px) / px;
}
float Sigmoid(float x) { return 1.0f / (1.0f + std::exp(-x)); }

// The integer-trick inverse square root with one Newton step.
float QRsqrt(float x) {
    float y = FloatFromBits(0x5F3759DFu - (BitsFromFloat(x) >> 1));
    return y * (1.5f - 0.5f * x * y * y);
}
float TaylorInvSqrt(float x) { return 1.7928429f - 0.85373473f * x; }

// ---------------------------------------------------------------------------------------------
// Two arguments
// ---------------------------------------------------------------------------------------------

float Add(float a, float b) { return a + b; }
float Sub(float a, float b) { return a - b; }
float Multiply(float a, float b) { return a * b; }
float Divide(float a, float b) {
    if (b > -kEpsilon && b < kEpsilon) {
        if (a > kEpsilon) return kBig;
        if (a < -kEpsilon) return -kBig;
        return 0.0f;
    }
    return a / b;
}
float Max(float a, float b) { return a > b ? a : b; }
constexpr Float2Fn Min = ScalarMin;
float Mod(float a, float b) { return b < kEpsilon ? 0.0f : std::fmod(a, b); }
float ModSign(float a, float b) {
    float r = Mod(a, b);
    return r < 0.0f ? r + b : r;
}
float Pow(float a, float b) { return std::fabs(a) < kEpsilon ? 0.0f : std::pow(a, b); }
float LogAx(float a, float b) {
    if (a < kEpsilon || b < kEpsilon) return 0.0f;
    return std::log(b) / std::log(a);
}
float PowSign(float a, float b) {
    if (std::fabs(a) < kEpsilon) return 0.0f;
    float p = std::pow(std::fabs(a), b);
    return a < 0.0f ? -p : p;
}
float Atan2(float y, float x) { return std::atan2(y, x); }

float Rand2(float a, float b) { return a + (b - a) * RandUnit(); }
float RandInt2(float a, float b) { return RandomIntToward(TruncateInt(a), TruncateInt(b)); }

template <class Op>
float Logic(float a, float b) {
    return Op{}(TruncateInt(a) != 0, TruncateInt(b) != 0) ? 1.0f : 0.0f;
}
template <class Op, int32_t kMask>
float Bits(float a, float b) {
    return static_cast<float>(Op{}(TruncateInt(a), TruncateInt(b)) & kMask);
}
template <class Op>
float Compare(float a, float b) {
    return Op{}(a, b) ? 1.0f : 0.0f;
}
float Equal(float a, float b) { return std::fabs(a - b) < kEpsilon ? 1.0f : 0.0f; }
float NotEqual(float a, float b) { return 1.0f - Equal(a, b); }
float Step(float edge, float x) { return edge > x ? 0.0f : 1.0f; }

float SquareSum2(float a, float b) { return a * a + b * b; }
float Length2(float a, float b) { return std::sqrt(a * a + b * b); }
float ComplexInvR(float a, float b) { return a / (a * a + b * b); }
float ComplexInvI(float a, float b) { return -b / (a * a + b * b); }

// ---------------------------------------------------------------------------------------------
// Three arguments
// ---------------------------------------------------------------------------------------------

// x limited to the interval between a and b, given in either order.
float Clamp(float x, float a, float b) {
    float lo = a < b ? a : b, hi = a < b ? b : a;
    if (x < lo) return lo;
    if (x > hi) return hi;
    return x;
}
float Restrict(float a, float b, float x) { return Clamp(x, a, b); }

// Smooth minimum and maximum; k is the width of the blend.
float Smin(float a, float b, float k) {
    float h = Clamp01(0.5f + 0.5f * (b - a) / k);
    return b + (a - b) * h - k * h * (1.0f - h);
}
float Smax(float a, float b, float k) {
    float h = Clamp01(0.5f + 0.5f * (a - b) / k);
    return b + (a - b) * h + k * h * (1.0f - h);
}
float SmoothMax(float a, float b, float k) {
    float h = Clamp01(0.5f + 0.5f * (b - a) / k);
    return a + (b - a) * h + k * h * (1.0f - h);
}

float InRange(float a, float b, float x) {
    float lo = a < b ? a : b, hi = a < b ? b : a;
    return x >= lo && x <= hi ? 1.0f : 0.0f;
}

// A bump over [a, b] (either order): s = peak - |x - m| * peak / half at distance |x - m| from
// the midpoint m, then 1 above 1, else s^2 (3 - 2 s). A collapsed interval (a == b) is its own
// midpoint and takes the peak.
float CentredBump(float a, float b, float x, float peak) {
    if (a > b) std::swap(a, b);
    if (x < a || x > b) return 0.0f;
    float m = (a + b) / 2.0f;
    float half = m - a;
    float s = half == 0.0f ? peak : peak - std::fabs(x - m) * peak / half;
    return s > 1.0f ? 1.0f : Smooth3(s);
}
float SmoothInRange(float a, float b, float x) { return CentredBump(a, b, x, 2.0f); }

float CubicPulse(float a, float b, float x) {
    float c = std::fabs(x - (a + b) / 2.0f);
    float w = std::fabs(b - a) / 2.0f;
    if (c > w) return 0.0f;
    if (w == 0.0f) return 1.0f;  // collapsed pulse, x on it
    float t = c / w;
    return 1.0f - t * t * (3.0f - 2.0f * t);
}

float Add3(float a, float b, float c) { return a + b + c; }
float Min3(float a, float b, float c) { return Min(Min(a, b), c); }
float Max3(float a, float b, float c) { return Max(Max(a, b), c); }
float Average3(float a, float b, float c) { return (a + b + c) / 3.0f; }
float Checkerboard(float x, float y, float z) {
    int32_t v =
        TruncateInt(std::floor(x)) ^ TruncateInt(std::floor(y)) ^ TruncateInt(std::floor(z));
    return (v & 1) ? -1.0f : 1.0f;
}
float IfElse(float c, float a, float b) { return TruncateInt(c) != 0 ? a : b; }
float Rotate2dX(float x, float y, float t) { return x * std::cos(t) - y * std::sin(t); }
float Rotate2dY(float x, float y, float t) { return x * std::sin(t) + y * std::cos(t); }
float Lerp(float a, float b, float t) { return a + (b - a) * t; }
float LerpInAB(float a, float b, float t) {
    if (t < 0.0f) return a;
    if (t > 1.0f) return b;
    return a + (b - a) * t;
}

// 0 below a, 1 above b, else Shape(t) with t = (x - a) / (b - a). When a == b == x the step
// is taken (1), as `step` does at its edge.
template <float (*Shape)(float)>
float EdgeStep(float a, float b, float x) {
    if (x < a) return 0.0f;
    if (x > b) return 1.0f;
    float d = b - a;
    if (d == 0.0f) return 1.0f;
    return Shape((x - a) / d);
}
float Identity(float t) { return t; }
float InverseSmooth3(float t) {
    float phi = std::acos(1.0f - 2.0f * t) / 3.0f;
    return (1.7320508f * std::sin(phi) + 1.0f - std::cos(phi)) / 2.0f;
}

// Unlike the other steps, the cosine runs on x itself and the result is scaled into [a, b].
float CosStep(float a, float b, float x) {
    if (x < a) return 0.0f;
    if (x > b) return 1.0f;
    float c = (1.0f - std::cos(3.141593f * x)) / 2.0f;
    return a + (b - a) * c;
}

// A plateau over [a, b] with quarter-circle shoulders of radius 1 at each end.
float CapsuleStep(float a, float b, float x) {
    if (x < a || x > b) return 0.0f;
    if (x < a + 1.0f) {
        float d = a + 1.0f - x;
        return std::sqrt(1.0f - d * d);
    }
    if (x > b - 1.0f) {
        float d = b - 1.0f - x;
        return std::sqrt(1.0f - d * d);
    }
    return 1.0f;
}

// (1 - w) a + w b with the weight w = Weight(t); t is not clamped.
template <float (*Weight)(float)>
float Interpolate(float a, float b, float t) {
    float w = Weight(t);
    return (1.0f - w) * a + w * b;
}
float CosineWeight(float t) { return (1.0f - std::cos(kPi * t)) / 2.0f; }
float SCurveWeight(float t) { return 3.0f * t * t - 2.0f * t * t * t; }

float SquareSum3(float a, float b, float c) { return a * a + b * b + c * c; }
float Length3(float a, float b, float c) { return std::sqrt(a * a + b * b + c * c); }

// ---------------------------------------------------------------------------------------------
// Four arguments
// ---------------------------------------------------------------------------------------------

float Add4(float a, float b, float c, float d) { return a + b + c + d; }
float Min4(float a, float b, float c, float d) { return Min(Min(Min(a, b), c), d); }
float Max4(float a, float b, float c, float d) { return Max(Max(Max(a, b), c), d); }
float Average4(float a, float b, float c, float d) { return (a + b + c + d) * 0.25f; }
float SquareSum4(float a, float b, float c, float d) { return a * a + b * b + c * c + d * d; }
float Length4(float a, float b, float c, float d) { return std::sqrt(SquareSum4(a, b, c, d)); }
float ComplexMulR(float a, float b, float c, float d) { return a * c - b * d; }
float ComplexMulI(float a, float b, float c, float d) { return b * c + a * d; }
float ComplexDivR(float a, float b, float c, float d) {
    float e = c * c + d * d;
    return (c / e) * a + (d / e) * b;
}
float ComplexDivI(float a, float b, float c, float d) {
    float e = c * c + d * d;
    return -(d / e) * a + (c / e) * b;
}
float DotV2(float a, float b, float c, float d) { return a * c + b * d; }
float CrossV2(float a, float b, float c, float d) { return a * d - b * c; }
float DistanceV2(float a, float b, float c, float d) {
    return std::sqrt((a - c) * (a - c) + (b - d) * (b - d));
}
float SmoothDistribution(float a, float b, float c, float x) { return CentredBump(a, b, x, c); }
float Reflect2dX(float x, float y, float nx, float ny) { return x - 2.0f * (x * nx + y * ny) * nx; }
float Reflect2dY(float x, float y, float nx, float ny) { return y - 2.0f * (x * nx + y * ny) * ny; }

// ---------------------------------------------------------------------------------------------
// Argument lists
// ---------------------------------------------------------------------------------------------

// Heron's formula on (x1, y1, x2, y2, x3, y3). Rounding can leave the product of collinear
// points slightly negative; that is an area of 0, not a NaN.
float TriangleArea(const float* v, int) {
    float a = std::sqrt((v[0] - v[2]) * (v[0] - v[2]) + (v[1] - v[3]) * (v[1] - v[3]));
    float b = std::sqrt((v[2] - v[4]) * (v[2] - v[4]) + (v[3] - v[5]) * (v[3] - v[5]));
    float c = std::sqrt((v[4] - v[0]) * (v[4] - v[0]) + (v[5] - v[1]) * (v[5] - v[1]));
    float s = (a + b + c) / 2.0f;
    float product = s * (s - a) * (s - b) * (s - c);
    return product > 0.0f ? std::sqrt(product) : 0.0f;
}

// (x1, y1, z1, x2, y2, z2).
float DistanceV3(const float* v, int) {
    float dx = v[0] - v[3], dy = v[1] - v[4], dz = v[2] - v[5];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// (x, y, k, f, phi): k arms winding with radial frequency f and phase phi.
float Spiral(const float* v, int) {
    float r = std::sqrt(v[0] * v[0] + v[1] * v[1]);
    return std::fabs(std::sin(r * v[3] + v[4] + std::atan2(v[1], v[0]) * v[2] / 2.0f));
}

// (x, y, k, f, phi): k petals, rings of frequency f, phase phi.
float Flower(const float* v, int) {
    float r = std::sqrt(v[0] * v[0] + v[1] * v[1]);
    float d = v[3] * r + v[4];
    float e = v[2] / 2.0f * std::atan2(v[1], v[0]);
    return std::fabs(std::sin(d - e)) * std::fabs(std::sin(e + d));
}

// ---------------------------------------------------------------------------------------------
// Registration table, in core-group order. Aliases are entries sharing one function; sh, ch,
// th and cth are functions of their own.
// ---------------------------------------------------------------------------------------------

// clang-format off
constexpr BuiltinFunction kScalarFunctions[] = {
    // one argument
    {"positive", Positive}, {"negative", Negative}, {"abs", Abs}, {"floor", Floor},
    {"ceil", Ceil}, {"sign", Sign}, {"sign_zero", SignZero}, {"is_zero", IsZero},
    {"saturate", Saturate}, DrawsRandom({"rand", RandScaled}), DrawsRandom({"rand_int", RandInt}), {"round", Round},
    {"fract", Fract}, {"reciprocal", Reciprocal}, {"sqrt", Sqrt}, {"inversesqrt", InverseSqrt},
    {"exp", Exp}, {"exp2", Exp2}, {"log", Log}, {"ln", Log}, {"log10", Log10}, {"lg", Log10},
    {"log2", Log2}, {"sin", Sin}, {"cos", Cos}, {"asin", Asin}, {"acos", Acos},
    {"arcsin", Asin}, {"arccos", Acos}, {"tan", Tan}, {"cot", Cot}, {"ctg", Cot},
    {"atan", Atan}, {"acot", Acot}, {"actg", Acot}, {"arctan", Atan}, {"arccot", Acot},
    {"arcctg", Acot}, {"sec", Sec}, {"csc", Csc}, {"asec", Asec}, {"acsc", Acsc},
    {"arcsec", Asec}, {"arccsc", Acsc}, {"sinh", Sinh}, {"cosh", Cosh}, {"tanh", Tanh},
    {"coth", Coth}, {"sh", Sh}, {"ch", Ch}, {"th", Th}, {"cth", Cth}, {"sech", Sech},
    {"sch", Sech}, {"csch", Csch}, {"xh", Csch}, {"factorial", Factorial}, {"erf", Erf},
    {"stirling", Stirling}, {"gamma", Gamma}, {"gamma_table", GammaTable},
    {"radians", Radians}, {"degrees", Degrees},
    {"fibonacci", Fibonacci}, {"mod289", Mod289}, {"gauss", Gauss}, {"impulse", Impulse},
    {"sigmoid", Sigmoid}, {"Q_rsqrt", QRsqrt}, {"TaylorInvSqrt", TaylorInvSqrt},
    // two arguments
    {"add", Add}, {"sub", Sub}, {"multiply", Multiply}, {"divide", Divide}, {"max", Max},
    {"min", ScalarMin}, {"mod", Mod}, {"mod_sign", ModSign}, {"pow", Pow}, {"log_ax", LogAx},
    {"pow_sign", PowSign},
    {"atan2", Atan2}, DrawsRandom({"rand2", Rand2}), DrawsRandom({"rand_int2", RandInt2}),
    {"and_bool", Logic<std::logical_and<bool>>}, {"or_bool", Logic<std::logical_or<bool>>},
    {"xor_bool", Logic<std::not_equal_to<bool>>},
    {"and_byte", Bits<std::bit_and<int32_t>, 0xFF>},
    {"or_byte", Bits<std::bit_or<int32_t>, 0xFF>},
    {"xor_byte", Bits<std::bit_xor<int32_t>, 0xFF>},
    {"and_word", Bits<std::bit_and<int32_t>, 0xFFFF>},
    {"or_word", Bits<std::bit_or<int32_t>, 0xFFFF>},
    {"xor_word", Bits<std::bit_xor<int32_t>, 0xFFFF>},
    {"greater", Compare<std::greater<float>>}, {"greater_equal", Compare<std::greater_equal<float>>},
    {"less", Compare<std::less<float>>}, {"less_equal", Compare<std::less_equal<float>>},
    {"equal", Equal}, {"not_equal", NotEqual}, {"step", Step}, {"hypot", Length2},
    {"length2", Length2}, {"square_sum2", SquareSum2}, {"complex_inv_r", ComplexInvR},
    {"complex_inv_i", ComplexInvI},
    // three arguments
    {"clamp", Clamp}, {"restrict", Restrict}, {"smin", Smin}, {"smax", Smax},
    {"in_range", InRange}, {"smooth_in_range", SmoothInRange}, {"cubic_pulse", CubicPulse},
    {"add3", Add3}, {"min3", Min3}, {"max3", Max3}, {"average3", Average3},
    {"checkerboard", Checkerboard}, {"if", IfElse}, {"if_else", IfElse}, {"smoothmin", Smin},
    {"smoothmax", SmoothMax}, {"rotate2d_x", Rotate2dX}, {"rotate2d_y", Rotate2dY},
    {"lerp", Lerp}, {"mix", Lerp}, {"lerpInAB", LerpInAB}, {"linestep", EdgeStep<Identity>},
    {"cosstep", CosStep}, {"smoothstep", EdgeStep<Smooth3>}, {"smoothxstep", EdgeStep<Smooth5>},
    {"inverse_smoothstep", EdgeStep<InverseSmooth3>}, {"capsule_step", CapsuleStep},
    {"linear_interpolate", Interpolate<Identity>},
    {"cosine_interpolate", Interpolate<CosineWeight>},
    {"scurve_interpolate", Interpolate<SCurveWeight>},
    {"xcurve_interpolate", Interpolate<Smooth5>}, {"length3", Length3},
    {"square_sum3", SquareSum3},
    // four arguments
    {"add4", Add4}, {"min4", Min4}, {"max4", Max4}, {"average4", Average4},
    {"length4", Length4}, {"square_sum4", SquareSum4}, {"complex_mul_r", ComplexMulR},
    {"complex_mul_i", ComplexMulI}, {"complex_div_r", ComplexDivR},
    {"complex_div_i", ComplexDivI}, {"dot_v2", DotV2}, {"cross_v2", CrossV2},
    {"distance_v2", DistanceV2}, {"smooth_distribution", SmoothDistribution},
    {"rotate2d_cs_x", ComplexMulR}, {"rotate2d_cs_y", ComplexMulI},
    {"reflect2d_x", Reflect2dX}, {"reflect2d_y", Reflect2dY},
    // argument lists
    {"triangle_aera", TriangleArea}, {"distance_v3", DistanceV3}, {"spiral", Spiral},
    {"flower", Flower},
};
// clang-format on

// ---------------------------------------------------------------------------------------------
// Whole-tile kernels for the tiled runner (script/TileKernels.h): the busiest element-wise
// functions above as loops the compiler inlines and vectorises, with the same operations on
// every element.
// ---------------------------------------------------------------------------------------------

template <Float3Fn F>
void Tile3(const float* const* in, float* out, uint32_t m) {
    const float *a = in[0], *b = in[1], *c = in[2];
    for (uint32_t k = 0; k < m; ++k) out[k] = F(a[k], b[k], c[k]);
}

template <Float2Fn F>
void Tile2(const float* const* in, float* out, uint32_t m) {
    const float *a = in[0], *b = in[1];
    for (uint32_t k = 0; k < m; ++k) out[k] = F(a[k], b[k]);
}

// EdgeStep without its branches, so that the loop vectorises: the quotient is formed for
// every element and the edges then pick 0, 1 or the shaped value, in EdgeStep's order.
template <float (*Shape)(float)>
void EdgeStepTile(const float* const* in, float* out, uint32_t m) {
    const float *a = in[0], *b = in[1], *x = in[2];
    for (uint32_t k = 0; k < m; ++k) {
        const float d = b[k] - a[k];
        const float shaped = Shape((x[k] - a[k]) / d);
        const float inside = d == 0.0f ? 1.0f : shaped;
        const float below = x[k] > b[k] ? 1.0f : inside;
        out[k] = x[k] < a[k] ? 0.0f : below;
    }
}

void DistanceV3Tile(const float* const* in, float* out, uint32_t m) {
    const float *x0 = in[0], *y0 = in[1], *z0 = in[2], *x1 = in[3], *y1 = in[4], *z1 = in[5];
    for (uint32_t k = 0; k < m; ++k) {
        const float v[6] = {x0[k], y0[k], z0[k], x1[k], y1[k], z1[k]};
        out[k] = DistanceV3(v, 6);
    }
}

const TileKernel kScalarTileKernels[] = {
    {ElementKey(&EdgeStep<Identity>), 3, EdgeStepTile<Identity>},
    {ElementKey(&EdgeStep<Smooth3>), 3, EdgeStepTile<Smooth3>},
    {ElementKey(&EdgeStep<Smooth5>), 3, EdgeStepTile<Smooth5>},
    {ElementKey(&Lerp), 3, Tile3<Lerp>},
    {ElementKey(&Length2), 2, Tile2<Length2>},
    {ElementKey(&DistanceV3), 6, DistanceV3Tile},
};

}  // namespace

FunctionTable ScalarFunctions() { return kScalarFunctions; }

std::span<const TileKernel> ScalarTileKernels() { return kScalarTileKernels; }

}  // namespace luneth
