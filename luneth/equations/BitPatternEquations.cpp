// Bit-pattern and coordinate equations: catalogue indices 0 to 15.
//
// Each channel is one integer or float expression of the pixel coordinates; no state, no
// parameters. Integer formulas follow 32-bit two's complement (see PixelHelpers.h), and each
// channel keeps the low 8 bits of its value. The simplest, CPixelAnd, is the one to copy.
#include <cmath>

#include "common/FloatConstants.h"
#include "equations/EquationFamilies.h"
#include "equations/PixelHelpers.h"

namespace luneth {

namespace {


// ---- 0-7: integer bit tricks ----

uint32_t ZeroPixel(uint32_t, uint32_t) { return 0; }  // transparent black

uint32_t XorPixel(uint32_t x, uint32_t y) {
    return Rgb(y ^ x ^ (y - x), x ^ (y + 2) ^ 2, x ^ (x - y) ^ y);
}

// Powers of single-precision bases taken in double, each rounded to float and summed in float.
// The exponents are small integers inside the picture, so the powers come from tables filled
// once with the same expression; other exponents are computed on the spot.
class CPixelPowFTW final : public CPixelEquation {
public:
    explicit CPixelPowFTW(const EquationInfo& info) : CPixelEquation(info) {
        for (int b = 0; b < 6; ++b)
            for (int k = 0; k < kSpan; ++k) powers_[b][k] = Power(kBases[b], k + kLowest);
    }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const int32_t u = Quot(Signed(x + 512), 2), v = Quot(Signed(y), 2);
        const int32_t p = Signed(static_cast<uint32_t>(u) - static_cast<uint32_t>(v));
        const int32_t q = Signed(static_cast<uint32_t>(u) + static_cast<uint32_t>(v));
        auto channel = [&](int b) {
            const float sum = Lookup(2 * b, p) + Lookup(2 * b + 1, q);
            return static_cast<uint32_t>(TruncateInt(sum));
        };
        return Rgb(channel(0), channel(1), channel(2));
    }

private:
    static constexpr int kLowest = -512, kSpan = 2048;
    static constexpr float kBases[6] = {1.009f, 1.008f, 1.01f, 1.007f, 1.015f, 1.0075f};

    // The exponent goes through float, as the formula converts it, before the double power.
    static float Power(float base, int32_t e) {
        const double exponent = static_cast<float>(e);
        return static_cast<float>(std::pow(static_cast<double>(base), exponent));
    }
    float Lookup(int b, int32_t e) const {
        const int64_t k = static_cast<int64_t>(e) - kLowest;
        return (k >= 0 && k < kSpan) ? powers_[b][k] : Power(kBases[b], e);
    }

    float powers_[6][kSpan];
};

uint32_t PowAndPixel(uint32_t x, uint32_t y) {
    return Rgb((x + y) & y, x & (x - y - 1), x & (~x - y) & y);
}

uint32_t AndAddOrPixel(uint32_t x, uint32_t y) {
    const int32_t c = Signed(x + 256), d = Signed(y + 256);
    const int32_t e = Signed(1536 - y), f = Signed(1280 - x);
    return Rgb(Rem(c, d) & Rem(d, c), Rem(f, d) ^ Rem(d, f), Rem(c, e) | Rem(e, c));
}

uint32_t AndPixel(uint32_t x, uint32_t y) { return (x & y) ? kOpaqueWhite : kOpaqueBlack; }

uint32_t ColorfulPixel(uint32_t x, uint32_t y) {
    return Rgb((x + y) >> 2, (x + 2 * y) >> 2, (2 * x + y) >> 2);
}

// ---- 8-11: angles and remainders ----

// Three cos^2 waves of the half angle around the centre, 120 degrees apart.
uint32_t UnicornsPixel(uint32_t x, uint32_t y) {
    const float h =
        std::atan2(static_cast<float>(Signed(y - 512)), static_cast<float>(Signed(x - 512))) * 0.5f;
    constexpr float kThird = 2.0943952f;  // 2 pi / 3
    auto channel = [](float a) {
        const float c = std::cos(a);
        return static_cast<uint32_t>(TruncateInt(255.0f * (c * c)));
    };
    return Rgb(channel(h), channel(h - kThird), channel(h + kThird));
}

uint32_t PurplePixel(uint32_t x, uint32_t y) {
    const int32_t b = Signed(y >= 512 ? y : 1024 - y);
    const int32_t m = Rem(Signed(x), b);
    return Rgb(x | static_cast<uint32_t>(m), Rem(Signed((1024 - x) ^ static_cast<uint32_t>(m)), b),
               (static_cast<uint32_t>(b) + x) | (0u - x));
}

uint32_t ColorPointPixel(uint32_t x, uint32_t y) {
    const float t =
        std::atan2(static_cast<float>(Signed(y - 512)), static_cast<float>(Signed(x - 512))) / 2.0f;
    auto weight = [](float a) {
        const float c = std::cos(a);
        return WeightByte(c * c);
    };
    return Rgb(weight(t), weight(t - kPi / 2.0f), weight(t + kPi / 4.0f));
}

uint32_t ConstructionPapersPixel(uint32_t x, uint32_t y) {
    const uint32_t b = y ? y : 1;
    return Rgb(x % b, (x * 6 / 5) % b, (x * 3 / 2) % b);
}

// ---- 12: Spotlight ----
// A dark stage lit by one lamp hanging above it: a hazy cone of light widens from the lamp
// down to a soft-edged elliptical pool on the floor. Chosen here as what the name shows.

constexpr float kLampX = 512.0f, kLampY = 72.0f, kHorizon = 700.0f;
constexpr float kPoolY = 800.0f, kPoolRx = 300.0f, kPoolRy = 96.0f;

float SmoothStep(float e0, float e1, float v) {
    float t = (v - e0) / (e1 - e0);
    t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
    return t * t * (3.0f - 2.0f * t);
}

uint32_t SpotlightPixel(uint32_t ux, uint32_t uy) {
    const float x = static_cast<float>(ux), y = static_cast<float>(uy);
    const float dx = x - kLampX;
    // Background: a dark wall over a slightly lighter floor.
    float r = 14.0f, g = 12.0f, b = 24.0f;
    if (y >= kHorizon) r = 40.0f, g = 32.0f, b = 30.0f;
    float light = 0.0f;
    // The pool of light on the floor.
    const float px = dx / kPoolRx, py = (y - kPoolY) / kPoolRy;
    light += 0.92f * (1.0f - SmoothStep(0.7f, 1.0f, px * px + py * py));
    // The cone between the lamp and the pool: brighter near the lamp, soft at its sides.
    if (y > kLampY && y < kPoolY) {
        const float t = (y - kLampY) / (kPoolY - kLampY);
        const float half = 18.0f + t * (kPoolRx - 18.0f);
        const float side = 1.0f - SmoothStep(0.75f, 1.0f, std::fabs(dx) / half);
        const float fade = 1.0f - SmoothStep(kPoolY - kPoolRy, kPoolY, y);  // into the pool
        light += side * fade * (0.14f + 0.22f * (1.0f - t));
    }
    // The lamp itself and its glow.
    const float d2 = dx * dx + (y - kLampY) * (y - kLampY);
    light += d2 < 20.0f * 20.0f ? 1.0f : 600.0f / (d2 + 600.0f);
    auto channel = [light](float base, float lamp) {
        const float v = base + lamp * light;
        return v >= 255.0f ? 255u : static_cast<uint32_t>(v);
    };
    return Rgb(channel(r, 255.0f), channel(g, 238.0f), channel(b, 196.0f));
}

// ---- 13-15: float bit patterns ----

uint32_t FloatBitsPixel(float f) { return BitsFromFloat(f) | 0xFF000000u; }

uint32_t FloatConvertInt1Pixel(uint32_t x, uint32_t y) {
    return FloatBitsPixel(static_cast<float>(x) * 0.001f + static_cast<float>(y));
}

uint32_t FloatConvertInt2Pixel(uint32_t x, uint32_t y) {
    return FloatBitsPixel(static_cast<float>(x) * 0.001f + static_cast<float>(y >> 2));
}

// The sum of squares in float, its root in double rounded to float, then + c * d in float.
uint32_t FloatConvertInt3Pixel(uint32_t x, uint32_t y) {
    const float c = static_cast<float>(Signed(500 - y)), d = static_cast<float>(Signed(500 - x));
    const float root = static_cast<float>(std::sqrt(static_cast<double>(c * c + d * d)));
    return FloatBitsPixel(root + c * d);
}

// "Color RGB" is the one member that reads the picture size.
class CPixelRGB final : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;
    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const uint32_t X = width > 1 ? x * 255 / (width - 1) : 0;
        const uint32_t Y = height > 1 ? y * 255 / (height - 1) : 0;
        const float p =
            std::fabs((static_cast<float>(Y) - 127.5f) * (static_cast<float>(X) - 127.5f) * 4.0f);
        const double root = std::sqrt(static_cast<double>(p));
        const uint32_t blue = root < 0.0 ? 0 : (root > 255.0 ? 255 : static_cast<uint32_t>(root));
        return Rgb(X, Y, blue);
    }
};

using CPixelZero = CFormulaEquation<ZeroPixel>;
using CPixelXOR = CFormulaEquation<XorPixel>;
using CPixelPowAnd = CFormulaEquation<PowAndPixel>;
using CPixelAndAddOr = CFormulaEquation<AndAddOrPixel>;
using CPixelAnd = CFormulaEquation<AndPixel>;
using CPixelColorful = CFormulaEquation<ColorfulPixel>;
using CPixelUnicorns = CFormulaEquation<UnicornsPixel>;
using CPixelPurple = CFormulaEquation<PurplePixel>;
using CPixelColorPoint = CFormulaEquation<ColorPointPixel>;
using CPixelConstructionPapers = CFormulaEquation<ConstructionPapersPixel>;
using CPixelSpotlight = CFormulaEquation<SpotlightPixel>;
using CPixelFloatConvertInt1 = CFormulaEquation<FloatConvertInt1Pixel>;
using CPixelFloatConvertInt2 = CFormulaEquation<FloatConvertInt2Pixel>;
using CPixelFloatConvertInt3 = CFormulaEquation<FloatConvertInt3Pixel>;

constexpr EquationClass kBitPatternEquations[] = {
    {"CPixelZero", CreatePixelEquation<CPixelZero>},
    {"CPixelRGB", CreatePixelEquation<CPixelRGB>},
    {"CPixelXOR", CreatePixelEquation<CPixelXOR>},
    {"CPixelPowFTW", CreatePixelEquation<CPixelPowFTW>},
    {"CPixelPowAnd", CreatePixelEquation<CPixelPowAnd>},
    {"CPixelAndAddOr", CreatePixelEquation<CPixelAndAddOr>},
    {"CPixelAnd", CreatePixelEquation<CPixelAnd>},
    {"CPixelColorful", CreatePixelEquation<CPixelColorful>},
    {"CPixelUnicorns", CreatePixelEquation<CPixelUnicorns>},
    {"CPixelPurple", CreatePixelEquation<CPixelPurple>},
    {"CPixelColorPoint", CreatePixelEquation<CPixelColorPoint>},
    {"CPixelConstructionPapers", CreatePixelEquation<CPixelConstructionPapers>},
    {"CPixelSpotlight", CreatePixelEquation<CPixelSpotlight>},
    {"CPixelFloatConvertInt1", CreatePixelEquation<CPixelFloatConvertInt1>},
    {"CPixelFloatConvertInt2", CreatePixelEquation<CPixelFloatConvertInt2>},
    {"CPixelFloatConvertInt3", CreatePixelEquation<CPixelFloatConvertInt3>},
};

}  // namespace

EquationClassTable BitPatternEquations() { return kBitPatternEquations; }

}  // namespace luneth
