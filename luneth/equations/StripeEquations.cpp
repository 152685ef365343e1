// Stripes: bands of colour, straight, bent, blurred and broken.
//
// Index of this file:
//   Straight      "Stripes" (a striped fabric), "Sine Stripes" (bent along a sine)
//   Bent          "Nonlinear Stripes" (stripes x = (k/N)^(1/p) with p changing down the
//                 picture), "Wave Stripes" (bands moved by crossing waves)
//   Filtered      "Blur Stripes" (sharp at the top, more and more blurred below)
//   Natural       "Zebra Stripes" (warped, uneven stripes), "Mistake Stripes" (a grating with
//                 dislocations, where stripes fork or end)
//
// Most members describe their stripes by a phase that counts periods across the picture; the
// edges are then softened by how fast the phase moves from pixel to pixel (Stripes and
// PhaseBlur in PictureMath.h), so they stay clean however the stripes bend.
#include <cmath>
#include <cstdint>
#include <iterator>

#include "equations/EquationFamilies.h"
#include "equations/PictureMath.h"
#include "equations/PixelHelpers.h"

namespace luneth {

namespace {

using namespace picture;

// =============================================================================================
// Straight
// =============================================================================================

// A striped fabric: a repeat of bands of different colours and widths, running down.
uint32_t StripesPixel(uint32_t x, uint32_t) {
    struct Band {
        uint32_t rgb, width;
    };
    static constexpr Band kRepeat[] = {
        {0x1B2A49, 30}, {0xF2E8CF, 8},  {0xE63946, 44}, {0xF2E8CF, 4}, {0x2A9D8F, 30},
        {0xE9C46A, 16}, {0x264653, 10}, {0xF4A261, 36}, {0xF2E8CF, 6}, {0x6D597A, 24},
        {0xB56576, 14}, {0x457B9D, 32}, {0xF2E8CF, 4},  {0xE9C46A, 6},
    };
    static constexpr uint32_t kRepeatWidth = [] {
        uint32_t sum = 0;
        for (const Band& b : kRepeat) sum += b.width;
        return sum;
    }();
    uint32_t t = x % kRepeatWidth;
    for (const Band& b : kRepeat) {
        if (t < b.width) return kOpaqueBlack | b.rgb;
        t -= b.width;
    }
    return kOpaqueBlack;
}

// Bands 36 pixels high, bent up and down along one sine across the picture, through a sunset
// palette.
uint32_t SineStripesPixel(uint32_t x, uint32_t y) {
    static constexpr Colour kSunset[] = {FromHex(0x2B1055), FromHex(0x5B1A6E), FromHex(0x9C2A7A),
                                         FromHex(0xD9436B), FromHex(0xF57C4A), FromHex(0xFBB040),
                                         FromHex(0xFCE38A), FromHex(0xF57C4A), FromHex(0xB5316F),
                                         FromHex(0x5B1A6E)};
    return PaletteBands(
        kSunset,
        [](float fx, float fy) {
            return (fy + 130.0f * std::sin(kTwoPi * fx / 700.0f + 0.4f)) / 36.0f;
        },
        x, y);
}

// =============================================================================================
// Bent
// =============================================================================================

// Stripe k of N runs along x = W (k / N)^(1/p): all stripes start at the left edge and end at
// the right, but the exponent p grows from 1/2 at the top to 3 at the bottom, so they crowd to
// the left above and to the right below and sweep across in curves.
uint32_t NonlinearStripesPixel(uint32_t x, uint32_t y) {
    auto phase = [](float fx, float fy) {
        const float p = 0.5f * std::exp(1.792f * Clamp01(fy / 1024.0f));  // 0.5 .. 3
        return 24.0f * std::pow(Clamp01(fx / 1024.0f), p);
    };
    const auto [fx, fy] = PixelCentre(x, y);
    const float here = phase(fx, fy);
    const float s = SquareWave(here, PhaseBlur(phase, fx, fy, here));
    const Colour light = Mix(FromHex(0xFFF3D6), FromHex(0xD6F5FF), fy / 1024.0f);
    const Colour dark = Mix(FromHex(0x7A1F3D), FromHex(0x14325C), fx / 1024.0f);
    return Pack(Mix(dark, light, s));
}

// Sea-coloured bands moved up and down by three waves that cross at different angles, so the
// bands swell, narrow and ripple.
uint32_t WaveStripesPixel(uint32_t x, uint32_t y) {
    static constexpr Colour kSea[] = {FromHex(0x03254E), FromHex(0x0A4C86), FromHex(0x1282A2),
                                      FromHex(0x5FC9D6), FromHex(0xEAF8FB), FromHex(0x5FC9D6),
                                      FromHex(0x1282A2), FromHex(0x0A4C86)};
    return PaletteBands(
        kSea,
        [](float fx, float fy) {
            const float lift = 42.0f * std::sin(fx / 97.0f + fy / 420.0f) +
                               26.0f * std::sin(fx / 53.0f - fy / 131.0f + 1.3f) +
                               12.0f * std::sin((fx + fy) / 29.0f + 0.7f);
            return (fy + lift) / 30.0f;
        },
        x, y);
}

// =============================================================================================
// Filtered
// =============================================================================================

// Bands 40 pixels wide of a six-colour repeat, seen through a triangular blur whose half-width
// grows from under a pixel at the top to 110 pixels at the bottom. The blur is exact: each
// band's colour is weighted by the share of the filter that falls on it.
uint32_t BlurStripesPixel(uint32_t x, uint32_t y) {
    static constexpr Colour kColours[] = {FromHex(0xE63946), FromHex(0xF4A261), FromHex(0xE9C46A),
                                          FromHex(0x2A9D8F), FromHex(0x264653), FromHex(0xF1FAEE)};
    constexpr double kBand = 40.0;
    const double fx = static_cast<double>(x) + 0.5;
    // Rows below the picture keep the blur of its last row.
    const double depth = std::fmin((static_cast<double>(y) + 0.5) / 1024.0, 1.0);
    const double w = 0.7 + 110.0 * depth * depth;
    // The share of a triangle of half-width w about 0 that lies below t.
    auto below = [w](double t) {
        if (t <= -w) return 0.0;
        if (t >= w) return 1.0;
        return t < 0.0 ? (t + w) * (t + w) / (2.0 * w * w)
                       : 1.0 - (w - t) * (w - t) / (2.0 * w * w);
    };
    Colour sum;
    const int64_t first = static_cast<int64_t>(std::floor((fx - w) / kBand));
    const int64_t last = static_cast<int64_t>(std::floor((fx + w) / kBand));
    for (int64_t k = first; k <= last; ++k) {
        const double share = below(static_cast<double>(k + 1) * kBand - fx) -
                             below(static_cast<double>(k) * kBand - fx);
        const int64_t n = static_cast<int64_t>(std::size(kColours));
        sum = sum + kColours[((k % n) + n) % n] * static_cast<float>(share);
    }
    return Pack(sum);
}

// =============================================================================================
// Natural
// =============================================================================================

// A zebra's coat: diagonal stripes pushed about by smooth noise, black where a sine of the
// phase rises above a threshold that itself wanders, so stripes thicken, thin, fork and end.
// A fine streaky noise gives the hair.
uint32_t ZebraStripesPixel(uint32_t x, uint32_t y) {
    auto field = [](float fx, float fy) {
        const float u = fx / 1024.0f, v = fy / 1024.0f;
        const float bend = Fbm(2.2f * u, 2.2f * v, 3, 7) - 0.5f;
        const float phase = 9.0f * (0.9f * u + 0.45f * v * v) + 4.0f * bend;
        const float threshold = 0.7f * (Fbm(1.5f * u + 4.0f, 1.5f * v, 2, 9) - 0.5f);
        return std::sin(kTwoPi * phase) - threshold;
    };
    const auto [fx, fy] = PixelCentre(x, y);
    const float here = field(fx, fy);
    const float slope =
        std::fabs(field(fx + 1.0f, fy) - here) + std::fabs(field(fx, fy + 1.0f) - here);
    const float black = Clamp01(0.5f + here / std::fmax(slope, 1e-4f));
    const float hair = 0.88f + 0.12f * ValueNoise(fx / 2.0f, fy / 11.0f, 3);
    return Pack(Mix(FromHex(0xF3EEE2), FromHex(0x121212), black) * hair);
}

// A grating of stripes with a few dislocations: around each, the phase winds by whole
// periods, so a stripe forks into two (or, with charge 2, into three) on one side. Everywhere
// else the stripes run on undisturbed.
uint32_t MistakeStripesPixel(uint32_t x, uint32_t y) {
    struct Dislocation {
        float x, y, charge;
    };
    static constexpr Dislocation kMistakes[] = {{300.0f, 270.0f, 1.0f},
                                                {740.0f, 330.0f, -1.0f},
                                                {430.0f, 690.0f, -1.0f},
                                                {780.0f, 800.0f, 2.0f},
                                                {170.0f, 860.0f, 1.0f}};
    auto phase = [](float fx, float fy) {
        float p = fx / 42.0f;
        for (const Dislocation& d : kMistakes)
            p += d.charge * std::atan2(fy - d.y, fx - d.x) / kTwoPi;
        return p;
    };
    const auto [fx, fy] = PixelCentre(x, y);
    const float s = Stripes(phase, fx, fy);
    const Colour dark = Mix(FromHex(0x22306B), FromHex(0x6B2240), fy / 1024.0f);
    return Pack(Mix(dark, FromHex(0xF5EDDC), s));
}

using CPixelStripes = CFormulaEquation<StripesPixel>;
using CPixelSineStripes = CFormulaEquation<SineStripesPixel>;
using CPixelNonlinearStripes = CFormulaEquation<NonlinearStripesPixel>;
using CPixelWaveStripes = CFormulaEquation<WaveStripesPixel>;
using CPixelBlurStripes = CFormulaEquation<BlurStripesPixel>;
using CPixelZebraStripes = CFormulaEquation<ZebraStripesPixel>;
using CPixelMistakeStripes = CFormulaEquation<MistakeStripesPixel>;

constexpr EquationClass kStripeEquations[] = {
    {"CPixelStripes", CreatePixelEquation<CPixelStripes>},
    {"CPixelSineStripes", CreatePixelEquation<CPixelSineStripes>},
    {"CPixelNonlinearStripes", CreatePixelEquation<CPixelNonlinearStripes>},
    {"CPixelWaveStripes", CreatePixelEquation<CPixelWaveStripes>},
    {"CPixelBlurStripes", CreatePixelEquation<CPixelBlurStripes>},
    {"CPixelZebraStripes", CreatePixelEquation<CPixelZebraStripes>},
    {"CPixelMistakeStripes", CreatePixelEquation<CPixelMistakeStripes>},
};

}  // namespace

EquationClassTable StripeEquations() { return kStripeEquations; }

}  // namespace luneth
