// Operators that combine two signed distances a and b.
//
//   opUnion(a, b)                  min(a, b)            (the same function as min)
//   opSubtraction(a, b)            max(-a, b)           shape a cut out of shape b
//   opIntersection(a, b)           max(a, b)
//   opSmoothUnion(a, b, k)         min blended over a band of width k
//   opSmoothSubtraction(a, b, k)   the cut with a rounded seam
//   opSmoothIntersection(a, b, k)  max blended over a band of width k
//
// Where |a - b| >= k the smooth operators equal the sharp ones. A blend width below 2^-23 in
// magnitude gives the sharp operator instead of dividing by it.
#include <algorithm>
#include <cmath>

#include "common/FloatConstants.h"
#include "functions/Families.h"
#include "functions/SharedFunctions.h"
#include "functions/VectorMath.h"

namespace luneth {

namespace {

// opUnion is min itself (a NaN in a gives b).
constexpr Float2Fn Union = ScalarMin;

float Subtraction(float a, float b) { return std::max(-a, b); }

float Intersection(float a, float b) { return std::max(a, b); }

inline bool Sharp(float k) { return std::fabs(k) < kEpsilon; }

float SmoothUnion(float a, float b, float k) {
    if (Sharp(k)) return Union(a, b);
    float h = Clamp(0.5f + 0.5f * (b - a) / k, 0.0f, 1.0f);
    return b + (a - b) * h - k * h * (1.0f - h);
}

float SmoothSubtraction(float a, float b, float k) {
    if (Sharp(k)) return Subtraction(a, b);
    float h = Clamp(0.5f - 0.5f * (b + a) / k, 0.0f, 1.0f);
    return b - (a + b) * h + k * h * (1.0f - h);
}

float SmoothIntersection(float a, float b, float k) {
    if (Sharp(k)) return Intersection(a, b);
    float h = Clamp(0.5f - 0.5f * (b - a) / k, 0.0f, 1.0f);
    return b + (a - b) * h + k * h * (1.0f - h);
}

constexpr BuiltinFunction kOperators[] = {
    {"opUnion", Union},
    {"opSubtraction", Subtraction},
    {"opIntersection", Intersection},
    {"opSmoothUnion", SmoothUnion},
    {"opSmoothSubtraction", SmoothSubtraction},
    {"opSmoothIntersection", SmoothIntersection},
};

}  // namespace

FunctionTable DistanceOperatorFunctions() { return kOperators; }

}  // namespace luneth
