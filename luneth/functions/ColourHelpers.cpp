// Colour helpers of the core group: plain numbers derived from colour channels.
//
//   float_to_color(x)      truncate(x) AND 0xFF, as a plain float (not a colour word)
//   gray(r, g, b)          0.299 r + 0.587 g + 0.114 b
//   correction_gamma(x,p)  0 below 0, 1 above 1, else x^p
//   correction_pow(x,p)    S-shaped: (2x)^p / 2 below 0.5, (2x - 1)^(1/p) / 2 + 0.5 below 1
//   correction_sin(x,k)    0 below 0, 1 above 1, else x + k sin(2 pi x)
#include <cmath>

#include "common/FloatConstants.h"
#include "functions/Families.h"

namespace luneth {

namespace {

float FloatToColor(float x) { return static_cast<float>(TruncateInt(x) & 0xFF); }

float Gray(float r, float g, float b) { return 0.299f * r + 0.587f * g + 0.114f * b; }

float CorrectionGamma(float x, float p) {
    if (x < 0.0f) return 0.0f;
    if (x > 1.0f) return 1.0f;
    return std::pow(x, p);
}

float CorrectionPow(float x, float p) {
    if (x < 0.0f) return 0.0f;
    if (x < 0.5f) return std::pow(2.0f * x, p) * 0.5f;
    if (x < 1.0f) return std::pow(2.0f * x - 1.0f, 1.0f / p) * 0.5f + 0.5f;
    return 1.0f;
}

float CorrectionSin(float x, float k) {
    if (x < 0.0f) return 0.0f;
    if (x > 1.0f) return 1.0f;
    return x + k * std::sin(2.0f * 3.1415927f * x);
}

constexpr BuiltinFunction kColourHelpers[] = {
    {"float_to_color", FloatToColor},       {"correction_gamma", CorrectionGamma},
    {"correction_pow", CorrectionPow},      {"correction_sin", CorrectionSin},
    {"gray", Gray},
};

}  // namespace

FunctionTable ColourHelperFunctions() { return kColourHelpers; }

}  // namespace luneth
