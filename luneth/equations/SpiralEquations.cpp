// Spirals and swirls: pictures in polar coordinates about the centre of the picture.
//
// Index of this file:
//   Spirals         "Spiral 1" (logarithmic arms), "Spiral 2" (three Archimedean spirals,
//                   one a channel, their turns Distance 1, 2, 3 pixels apart)
//   Swirly pointy   "Swirly Pointy 1" (nested stars twisting outwards), "Swirly Pointy 2"
//                   (a sun of spikes in two counter-turning layers), "Swirly Pointy 3" (a
//                   wallpaper of small twisted stars)
//   Circles         "Faubiguy Circle" (a rosette of circles through the centre), "Groovy"
//                   (wavy rings in seventies colours)
//   Tunnel          "Triangular Limbo" (nested triangles twisting into the dark)
//
// Angles enter every phase as whole multiples of a turn, so the bands join up seamlessly
// where atan2 jumps from pi to -pi.
#include <cmath>
#include <cstdint>

#include "equations/EquationFamilies.h"
#include "equations/PictureMath.h"
#include "equations/PixelHelpers.h"

namespace luneth {

namespace {

using namespace picture;

constexpr float kCentre = 512.0f;

// The pixel-space point (fx, fy) relative to the centre, in polar form.
PolarPoint PolarAt(float fx, float fy) { return Polar({fx - kCentre, fy - kCentre}); }

// 1 on the points of an n-pointed pattern at angle a, 0 halfway between them, linear between.
float Points(float angle, float n) { return 2.0f * std::fabs(Fract(n * angle / kTwoPi) - 0.5f); }

// =============================================================================================
// Spirals
// =============================================================================================

// Six logarithmic arms: each turn out from the centre widens them by the same factor, like a
// shell. The arms are the bands of a six-colour palette, so the colours meet themselves
// after one turn.
uint32_t Spiral1Pixel(uint32_t x, uint32_t y) {
    static constexpr Colour kArms[] = {FromHex(0xF94144), FromHex(0xF8961E), FromHex(0xF9C74F),
                                       FromHex(0x90BE6D), FromHex(0x43AA8B), FromHex(0x577590)};
    return PaletteBands(
        kArms,
        [](float fx, float fy) {
            const PolarPoint p = PolarAt(fx, fy);
            return 6.0f * p.angle / kTwoPi + 2.2f * std::log(std::fmax(p.r, 1e-3f));
        },
        x, y);
}

// Three Archimedean spirals r = d (turns + angle / 2 pi), one in each colour channel, with the
// distances d between their turns from the parameters; a negative distance winds the other
// way. Each spiral is a glowing line on black; where two run close their colours mix into
// moiré bands. Distances under 0.1 pixel (0 included) count as 0.1: such turns are finer
// than a pixel and the channel settles to the line's average.
class CPixelSpiral2 final : public CPixelEquation {
public:
    explicit CPixelSpiral2(const EquationInfo& info) : CPixelEquation(info) { ParamsChanged(); }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const auto [fx, fy] = PixelCentre(x, y);
        float channel[3];
        for (int c = 0; c < 3; ++c) {
            const float inverse = inverse_[c], offset = static_cast<float>(c) / 3.0f;
            auto phase = [inverse, offset](float px, float py) {
                const PolarPoint p = PolarAt(px, py);
                return p.r * inverse - p.angle / kTwoPi + offset;
            };
            const float here = phase(fx, fy);
            const float fade = 1.0f - Smoothstep(0.25f, 0.5f, PhaseBlur(phase, fx, fy, here));
            const float wave = 0.5f + 0.5f * std::cos(kTwoPi * here);
            channel[c] = Mix(0.35f, wave * wave * wave, fade);
        }
        return Pack({channel[0], channel[1], channel[2]});
    }

protected:
    void ParamsChanged() override {
        for (int c = 0; c < 3; ++c) {
            const float d = params[c];
            // NaN counts as 0; infinite distances give no turns at all.
            const float safe = std::fabs(d) >= 0.1f ? d : 0.1f;
            inverse_[c] = std::isinf(safe) ? 0.0f : 1.0f / safe;
        }
    }

private:
    float inverse_[3] = {};
};

// =============================================================================================
// Swirly pointy
// =============================================================================================

// Seven-pointed stars nested inside one another, each a band of colour, turned more and more
// the farther out they lie, so the points sweep round in a swirl.
uint32_t SwirlyPointy1Pixel(uint32_t x, uint32_t y) {
    static constexpr Colour kBands[] = {FromHex(0x3A0CA3), FromHex(0x7209B7), FromHex(0xF72585),
                                        FromHex(0xFF9E00), FromHex(0xFFD6A5), FromHex(0x4CC9F0),
                                        FromHex(0x4361EE)};
    return PaletteBands(
        kBands,
        [](float fx, float fy) {
            const PolarPoint p = PolarAt(fx, fy);
            const float turned = p.angle + 2.6f * p.r / 512.0f;
            const float reach = 0.5f + 0.5f * std::pow(Points(turned, 7.0f), 1.6f);
            return p.r / reach / 46.0f;
        },
        x, y);
}

// A sun of 24 spikes that bend one way and 24 that bend the other, each spike narrowing to a
// point as it goes out, gold over crimson on deep violet, round a glowing disc.
uint32_t SwirlyPointy2Pixel(uint32_t x, uint32_t y) {
    const auto [fx, fy] = PixelCentre(x, y);
    const PolarPoint p = PolarAt(fx, fy);
    const float twist = 1.7f * std::log(std::fmax(p.r, 1.0f) / 60.0f);
    // A spike covers the angles where Points exceeds the distance along it; the edge is one
    // pixel wide at this radius.
    auto spike = [&](float angle, float length) {
        const float reach = Points(angle, 24.0f) - p.r / length;
        const float pixel = 24.0f * 2.0f / kTwoPi / std::fmax(p.r, 1.0f) + 1.0f / length;
        return Clamp01(0.5f + reach / pixel);
    };
    const float back = spike(p.angle - twist + kPi / 24.0f, 520.0f);
    const float front = spike(p.angle + twist, 460.0f);
    Colour c = Mix(FromHex(0x1B0A33), FromHex(0x3C1361), Clamp01(p.r / 700.0f));
    c = Mix(c, FromHex(0xC9184A), back);
    c = Mix(c, FromHex(0xFFB703), front);
    const float disc = Clamp01(0.5f + (70.0f - p.r));
    c = Mix(c, FromHex(0xFFF3B0), disc);
    return Pack(c + FromHex(0xFFB703) * (0.35f * std::exp(-p.r / 90.0f)));
}

// A wallpaper of five-pointed stars on 128-pixel tiles, each star twisted towards its tips,
// neighbours twisting opposite ways; the tiles run through the rainbow along the diagonals.
uint32_t SwirlyPointy3Pixel(uint32_t x, uint32_t y) {
    constexpr float kTile = 128.0f;
    const auto [fx, fy] = PixelCentre(x, y);
    const float tx = std::floor(fx / kTile), ty = std::floor(fy / kTile);
    const Point local{fx - (tx + 0.5f) * kTile, fy - (ty + 0.5f) * kTile};
    const int64_t parity = (static_cast<int64_t>(tx) + static_cast<int64_t>(ty)) & 1;
    const PolarPoint p = Polar(local);
    const float turned = p.angle + (parity ? 1.0f : -1.0f) * 2.4f * p.r / kTile;
    const float reach = 56.0f * (0.42f + 0.58f * std::pow(Points(turned, 5.0f), 2.0f));
    const float inside = Clamp01(0.5f + (reach - p.r) / 1.5f);
    const Colour star = Hue((tx + ty) / 14.0f) * (0.75f + 0.25f * Clamp01(1.0f - p.r / 56.0f));
    const Colour ground = parity ? FromHex(0x10203A) : FromHex(0x1A1030);
    return Pack(Mix(ground, star + FromHex(0x202020), inside));
}

// =============================================================================================
// Circles
// =============================================================================================

// Twelve circles of radius 200 whose centres stand on a circle of radius 200, so each passes
// through the middle: the count of circles over a point picks its colour, and every circle is
// drawn as a thin line, inside a ring of radius 400.
uint32_t FaubiguyCirclePixel(uint32_t x, uint32_t y) {
    static constexpr Colour kDepth[] = {FromHex(0x0B132B), FromHex(0x1C2541), FromHex(0x3A506B),
                                        FromHex(0x5BC0BE), FromHex(0x9FE7D2), FromHex(0xF2E9C9),
                                        FromHex(0xF6BD60), FromHex(0xF28482)};
    constexpr float kRadius = 200.0f;
    const Point p = Centre(x, y, 1024, 1024);
    float cover = 0.0f, line = 0.0f;
    for (int k = 0; k < 12; ++k) {
        const float a = static_cast<float>(k) * (kTwoPi / 12.0f);
        const float dx = p.x - kRadius * std::cos(a), dy = p.y - kRadius * std::sin(a);
        const float edge = std::sqrt(dx * dx + dy * dy) - kRadius;
        cover += Clamp01(0.5f - edge);
        line = std::fmax(line, Band(edge, 0.8f));
    }
    const float r = std::sqrt(p.x * p.x + p.y * p.y);
    const float i = std::fmin(std::floor(cover), 6.0f);
    Colour c =
        Mix(kDepth[static_cast<int>(i)], kDepth[static_cast<int>(i) + 1], Clamp01(cover - i));
    c = Mix(c, FromHex(0xFDF6E3), 0.8f * line);
    c = Mix(c, FromHex(0xF6BD60), Band(r - 2.0f * kRadius, 2.0f));
    return Pack(c);
}

// Rings about the centre that wave in and out five times round, the waves turning as the
// rings grow, in the browns, oranges and avocado of the seventies.
uint32_t GroovyPixel(uint32_t x, uint32_t y) {
    static constexpr Colour kSeventies[] = {FromHex(0x4A2C17), FromHex(0xB5481F),
                                            FromHex(0xE07A1F), FromHex(0xE8B33B),
                                            FromHex(0xF3E3C3), FromHex(0x8A9A3B)};
    return PaletteBands(
        kSeventies,
        [](float fx, float fy) {
            const PolarPoint p = PolarAt(fx, fy);
            const float wave = 0.16f * std::sin(5.0f * p.angle + p.r / 70.0f);
            return p.r * (1.0f + wave) / 34.0f;
        },
        x, y);
}

// =============================================================================================
// Tunnel
// =============================================================================================

// Nested equilateral triangles, each 1.2 times the one inside, turned by an angle that grows
// with the logarithm of the distance, so the tunnel twists as it falls away into the dark
// middle.
uint32_t TriangularLimboPixel(uint32_t x, uint32_t y) {
    static constexpr Colour kRings[] = {FromHex(0xFF3CAC), FromHex(0x784BA0), FromHex(0x2B86C5),
                                        FromHex(0x14143A)};
    auto depth = [](float fx, float fy) {
        const Point c{fx - kCentre, fy - kCentre};
        const float r = std::sqrt(c.x * c.x + c.y * c.y);
        const Point q = Rotate(c, 0.4f * std::log(std::fmax(r, 1.0f)));
        // The triangle "radius": the largest projection on the three edge normals.
        const float d =
            std::fmax(-q.y, std::fmax(0.866025f * q.x + 0.5f * q.y, -0.866025f * q.x + 0.5f * q.y));
        return std::log(std::fmax(d, 1e-3f)) / std::log(1.2f);
    };
    const auto [fx, fy] = PixelCentre(x, y);
    const float here = depth(fx, fy);
    const Colour c = BandColour(kRings, here, PhaseBlur(depth, fx, fy, here));
    const float fog = Smoothstep(std::log(6.0f), std::log(300.0f), here * std::log(1.2f));
    return Pack(c * fog);
}

using CPixelSpiral1 = CFormulaEquation<Spiral1Pixel>;
using CPixelSwirlyPointy1 = CFormulaEquation<SwirlyPointy1Pixel>;
using CPixelSwirlyPointy2 = CFormulaEquation<SwirlyPointy2Pixel>;
using CPixelSwirlyPointy3 = CFormulaEquation<SwirlyPointy3Pixel>;
using CPixelFaubiguy = CFormulaEquation<FaubiguyCirclePixel>;
using CPixelGroovy = CFormulaEquation<GroovyPixel>;
using CPixelTriangularLimbo = CFormulaEquation<TriangularLimboPixel>;

constexpr EquationClass kSpiralEquations[] = {
    {"CPixelSpiral1", CreatePixelEquation<CPixelSpiral1>},
    {"CPixelSpiral2", CreatePixelEquation<CPixelSpiral2>},
    {"CPixelSwirlyPointy1", CreatePixelEquation<CPixelSwirlyPointy1>},
    {"CPixelSwirlyPointy2", CreatePixelEquation<CPixelSwirlyPointy2>},
    {"CPixelSwirlyPointy3", CreatePixelEquation<CPixelSwirlyPointy3>},
    {"CPixelFaubiguy", CreatePixelEquation<CPixelFaubiguy>},
    {"CPixelGroovy", CreatePixelEquation<CPixelGroovy>},
    {"CPixelTriangularLimbo", CreatePixelEquation<CPixelTriangularLimbo>},
};

}  // namespace

EquationClassTable SpiralEquations() { return kSpiralEquations; }

}  // namespace luneth
