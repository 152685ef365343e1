// Patterns: targets, beams, cells, boards, shards and codes.
//
// Index of this file:
//   "Cross Target"       an archery target under the cross hairs of a sight
//   "Laser Light"        fans of laser beams crossing in smoke
//   "Voronoi Diagrams"   the Voronoi diagram of random sites (drawn from the image object's
//                        random stream)
//   "Wavy Chessboard"    a chessboard rippling like a flag
//   "Sharp Edges"        a crystal of facets cut by straight lines
//   "Binary Flash"       a Gray-code disc lit by a flash
#include <cmath>
#include <cstdint>
#include <iterator>

#include "equations/DrawnEquation.h"
#include "equations/EquationFamilies.h"
#include "equations/PictureMath.h"
#include "equations/PixelHelpers.h"

namespace luneth {

namespace {

using namespace picture;

// =============================================================================================
// "Cross Target"
// =============================================================================================

// Ten scoring rings 42 pixels wide (two each of gold, red, blue, black and white from the
// middle out) on a straw boss, and over them the red cross hairs of a sight: lines through
// the centre that leave the gold free, with ticks every 42 pixels and a ring.
uint32_t CrossTargetPixel(uint32_t x, uint32_t y) {
    static constexpr Colour kZones[] = {FromHex(0xFFD23F), FromHex(0xE4312B), FromHex(0x2E86DE),
                                        FromHex(0x1B1B1B), FromHex(0xF7F7F2)};
    constexpr float kRing = 42.0f;
    const Point p = Centre(x, y, 1024, 1024);
    const float r = std::sqrt(p.x * p.x + p.y * p.y);

    const float straw = ValueNoise(p.x / 40.0f, p.y / 3.0f, 5);
    Colour c = Mix(FromHex(0xC8A96A), FromHex(0xE3CD94), straw);
    if (r < 10.0f * kRing + 0.5f) {
        const float ring = std::floor(r / kRing);
        const int zone = static_cast<int>(std::fmin(ring, 9.0f)) / 2;
        const Colour line = zone == 3 ? FromHex(0xF7F7F2) : FromHex(0x1B1B1B);
        const float edge = std::fabs(r - (ring + 0.5f) * kRing);  // from the ring's middle
        Colour face =
            Mix(kZones[zone], line, 0.8f * Smoothstep(kRing / 2.0f - 1.2f, kRing / 2.0f, edge));
        face = Mix(face, line, Band(r - kRing / 2.0f, 0.6f));  // the inner ten
        c = Mix(c, face, Clamp01(10.0f * kRing + 0.5f - r));
    }
    // The sight: cross hairs with a gap over the gold, ticks across them, a ring outside.
    const Colour red = FromHex(0xD0021B);
    const float along = std::fmax(std::fabs(p.x), std::fabs(p.y));
    const float across = std::fmin(std::fabs(p.x), std::fabs(p.y));
    const float hair = Band(across, 1.2f) * Smoothstep(2.0f * kRing, 2.0f * kRing + 2.0f, along);
    const float tick = std::fabs(along - kRing * std::round(along / kRing));
    const float ticks =
        Band(tick, 1.0f) * Band(across, 9.0f) * (along > 2.5f * kRing ? 1.0f : 0.0f);
    const float sight = std::fmax(std::fmax(hair, ticks), Band(r - 470.0f, 1.5f));
    return Pack(Mix(c, red, sight));
}

// =============================================================================================
// "Laser Light"
// =============================================================================================

// Three projectors along the bottom edge throw fans of seven beams each (red, green and
// violet) up through drifting smoke. A beam is a hot core with a wide soft glow, fading with
// distance; light adds up where beams cross and is then compressed so it never clips hard.
struct LaserBeam {
    float x, dx, dy;  // the projector on the bottom edge and the beam's direction, upwards
    Colour colour;
};
struct LaserShow {
    LaserBeam beams[21];
    LaserShow() {
        struct Projector {
            float x, spread, tilt;
            Colour colour;
        };
        static constexpr Projector kProjectors[] = {
            {170.0f, 0.9f, 0.35f, FromHex(0xFF0A1E)},
            {512.0f, 1.2f, 0.0f, FromHex(0x0AFF3C)},
            {854.0f, 0.9f, -0.35f, FromHex(0x6A1EFF)},
        };
        int n = 0;
        for (const Projector& source : kProjectors)
            for (int k = 0; k < 7; ++k) {
                const float a = source.tilt + source.spread * (static_cast<float>(k) / 3.0f - 1.0f);
                beams[n++] = {source.x, std::sin(a), std::cos(a), source.colour};
            }
    }
};

uint32_t LaserLightPixel(uint32_t x, uint32_t y) {
    static const LaserShow show;
    const Point p = PixelCentre(x, y);
    const float smoke = 0.4f + 0.6f * Fbm(p.x / 160.0f, p.y / 90.0f, 3, 17);
    Colour light = FromHex(0x030208) + FromHex(0x0C0618) * (p.y / 1024.0f);
    for (int k = 0; k < 21; ++k) {
        const LaserBeam& beam = show.beams[k];
        const float sx = p.x - beam.x, sy = 1030.0f - p.y;  // from the projector
        if (k % 7 == 0) {  // the projector's own glare, once for its fan
            const float distance = std::sqrt(sx * sx + sy * sy);
            light = light + Mix(beam.colour, {1.0f, 1.0f, 1.0f}, 0.5f) * (6.0f / (distance + 6.0f));
        }
        const float t = sx * beam.dx + sy * beam.dy;
        const float e = std::fabs(sx * beam.dy - sy * beam.dx);
        if (t <= 0.0f || e > 60.0f) continue;
        float glow = 0.6f * smoke * smoke * std::exp(-e / 10.0f);
        if (e < 4.0f) glow += 1.1f * std::exp(-e * e / 1.2f);
        light = light + beam.colour * (glow * std::exp(-t / 1300.0f));
    }
    auto compress = [](float v) { return 1.0f - std::exp(-1.6f * v); };
    return Pack({compress(light.r), compress(light.g), compress(light.b)});
}

// =============================================================================================
// "Voronoi Diagrams"
// =============================================================================================

// Sixty sites at random places, each owning the pixels nearer to it than to any other site.
// Cells are soft pastel colours, a little darker away from their site; the borders are the
// lines where the nearest two sites are equally far, drawn from the exact distance to their
// bisector; the sites are white dots with a dark ring.
class CPixelVoronoiDiagrams final : public CDrawnEquation {
public:
    using CDrawnEquation::CDrawnEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const Point p = PixelCentre(x, y);
        float best = 1e30f, second = 1e30f;
        int nearest = 0, next = 0;
        for (int i = 0; i < kSites; ++i) {
            const float dx = p.x - sites_[i].x, dy = p.y - sites_[i].y;
            const float d2 = dx * dx + dy * dy;
            if (d2 < best) {
                second = best, next = nearest;
                best = d2, nearest = i;
            } else if (d2 < second) {
                second = d2, next = i;
            }
        }
        const Site& a = sites_[nearest];
        const Site& b = sites_[next];
        const float gap = std::hypot(b.x - a.x, b.y - a.y);
        const float border = gap > 0.0f ? (second - best) / (2.0f * gap) : 1e30f;
        const float toSite = std::sqrt(best);
        Colour c = a.colour * (1.0f - 0.25f * Clamp01(toSite / 160.0f));
        c = Mix(c, FromHex(0x2B2D42), Band(border, 1.2f));
        c = Mix(c, FromHex(0x2B2D42), Band(toSite, 5.0f));
        c = Mix(c, {1.0f, 1.0f, 1.0f}, Band(toSite, 3.0f));
        return Pack(c);
    }

private:
    static constexpr int kSites = 60;
    struct Site {
        float x = 0.0f, y = 0.0f;
        Colour colour;
    };

    void Draw(RandomStream& random) override {
        for (Site& s : sites_) {
            s.x = random.NextUnit() * 1024.0f;
            s.y = random.NextUnit() * 1024.0f;
            const float hue = random.NextUnit();
            s.colour = Mix({1.0f, 1.0f, 1.0f}, Hue(hue), 0.45f) * 0.95f;
        }
    }

    Site sites_[kSites];
};

// =============================================================================================
// "Wavy Chessboard"
// =============================================================================================

// An 8 x 8 board of 128-pixel squares pushed about by two crossing waves, like a flag in the
// wind; the crests catch the light and the troughs fall into shade.
uint32_t WavyChessboardPixel(uint32_t x, uint32_t y) {
    auto wave = [](float fx, float fy) {
        return std::sin(fx / 150.0f + fy / 260.0f) + 0.6f * std::sin(fy / 110.0f - fx / 330.0f);
    };
    auto u = [&](float fx, float fy) { return (fx + 34.0f * wave(fx, fy)) / 256.0f; };
    auto v = [&](float fx, float fy) { return (fy + 26.0f * wave(fy * 0.9f, fx)) / 256.0f; };
    const Point p = PixelCentre(x, y);
    const float pu = u(p.x, p.y), pv = v(p.x, p.y);
    const float su = SquareWave(pu, PhaseBlur(u, p.x, p.y, pu));
    const float sv = SquareWave(pv, PhaseBlur(v, p.x, p.y, pv));
    const float dark = su + sv - 2.0f * su * sv;  // one or the other, not both
    const Colour square = Mix(FromHex(0xF0D9B5), FromHex(0x8B5A3C), dark);
    const float slope = wave(p.x + 4.0f, p.y) - wave(p.x - 4.0f, p.y);
    return Pack(square * (0.82f + 1.4f * slope + 0.08f * wave(p.x, p.y)));
}

// =============================================================================================
// "Sharp Edges"
// =============================================================================================

// Twenty straight cuts across the picture split it into facets; which side of every cut a
// pixel lies on names its facet, and the name picks the facet's colour and the tilt that
// lights it, so each facet is a flat plane of glass. The edges are exact: a pixel on a cut
// shares its colour with the facet across it by the share of the pixel on either side.
class CPixelSharpEdges final : public CPixelEquation {
public:
    explicit CPixelSharpEdges(const EquationInfo& info) : CPixelEquation(info) {
        for (uint32_t k = 0; k < kCuts; ++k) {
            const float angle = HashUnit(k, 1, 0x5E) * kPi;
            const Point through{96.0f + 832.0f * HashUnit(k, 2, 0x5E),
                                96.0f + 832.0f * HashUnit(k, 3, 0x5E)};
            cuts_[k] = {std::cos(angle), std::sin(angle), 0.0f};
            cuts_[k].offset = -(cuts_[k].nx * through.x + cuts_[k].ny * through.y);
        }
    }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const Point p = PixelCentre(x, y);
        uint32_t facet = 0, closest = 0;
        float closestDistance = 1e30f;
        for (uint32_t k = 0; k < kCuts; ++k) {
            const float d = cuts_[k].nx * p.x + cuts_[k].ny * p.y + cuts_[k].offset;
            if (d > 0.0f) facet |= 1u << k;
            if (std::fabs(d) < closestDistance) closestDistance = std::fabs(d), closest = k;
        }
        const Colour here = FacetColour(facet, p);
        const Colour across = FacetColour(facet ^ (1u << closest), p);
        return Pack(Mix(across, here, Clamp01(0.5f + closestDistance)));
    }

private:
    static constexpr uint32_t kCuts = 20;
    struct Cut {
        float nx, ny, offset;
    };

    static Colour FacetColour(uint32_t facet, Point p) {
        static constexpr Colour kGlass[] = {FromHex(0x0B3954), FromHex(0x087E8B), FromHex(0xBFD7EA),
                                            FromHex(0x5C4D7D), FromHex(0x3E92CC), FromHex(0xFF5A5F),
                                            FromHex(0x1B998B), FromHex(0x2E294E)};
        const uint32_t h = Mix32(facet * 0x9E3779B9u + 0x51u);
        const Colour base = kGlass[h % std::size(kGlass)];
        const float tiltX = static_cast<float>((h >> 8) & 0xFF) / 255.0f - 0.5f;
        const float tiltY = static_cast<float>((h >> 16) & 0xFF) / 255.0f - 0.5f;
        const float light =
            0.8f + 0.9f * (tiltX * (p.x / 1024.0f - 0.5f) + tiltY * (p.y / 1024.0f - 0.5f)) +
            0.25f * (tiltX - tiltY);
        return base * light;
    }

    Cut cuts_[kCuts] = {};
};

// =============================================================================================
// "Binary Flash"
// =============================================================================================

// An absolute encoder disc: 256 sectors round the circle and eight rings, the innermost ring
// carrying the highest bit of the sector's reflected binary (Gray) code and the outermost the
// lowest, so neighbouring sectors differ in one ring only. Lit bits glow from cyan inside to
// magenta outside; a white flash with sixteen rays bursts from the hub.
uint32_t BinaryFlashPixel(uint32_t x, uint32_t y) {
    constexpr float kInner = 130.0f, kRingWidth = 42.0f;
    const Point centre = Centre(x, y, 1024, 1024);
    // Four samples a pixel keep the thin outer sectors clean.
    Colour disc;
    for (int s = 0; s < 4; ++s) {
        const Point p{centre.x + 0.25f * static_cast<float>(s & 1) - 0.125f,
                      centre.y + 0.25f * static_cast<float>(s >> 1) - 0.125f};
        const PolarPoint q = Polar(p);
        const float ringPlace = (q.r - kInner) / kRingWidth;
        Colour c = FromHex(0x070B1A);
        if (ringPlace >= 0.0f && ringPlace < 8.0f) {
            const int ring = static_cast<int>(ringPlace);
            const float turn = Fract(q.angle / kTwoPi);
            const uint32_t sector = static_cast<uint32_t>(turn * 256.0f) & 255;
            const uint32_t gray = sector ^ (sector >> 1);
            const bool lit = (gray >> (7 - ring)) & 1;
            const float inRing = ringPlace - static_cast<float>(ring);
            const bool groove = inRing < 0.06f || inRing > 0.94f;
            const Colour glow = Mix(FromHex(0x00E5FF), FromHex(0xFF2BD6), ring / 7.0f);
            c = groove ? FromHex(0x02040A) : (lit ? glow : FromHex(0x141B38));
        }
        disc = disc + c * 0.25f;
    }
    const PolarPoint q = Polar(centre);
    const float rays = std::pow(2.0f * std::fabs(Fract(16.0f * q.angle / kTwoPi) - 0.5f), 12.0f);
    const float flash = 1.3f * std::exp(-q.r / 70.0f) + 0.5f * rays * std::exp(-q.r / 260.0f);
    return Pack(disc + Colour{1.0f, 0.97f, 0.9f} * flash);
}

using CPixelCrossTarget = CFormulaEquation<CrossTargetPixel>;
using CPixelLaserLight = CFormulaEquation<LaserLightPixel>;
using CPixelWavyChessboard = CFormulaEquation<WavyChessboardPixel>;
using CPixelBinaryFlash = CFormulaEquation<BinaryFlashPixel>;

constexpr EquationClass kPatternEquations[] = {
    {"CPixelCrossTarget", CreatePixelEquation<CPixelCrossTarget>},
    {"CPixelLaserLight", CreatePixelEquation<CPixelLaserLight>},
    {"CPixelVoronoiDiagrams", CreatePixelEquation<CPixelVoronoiDiagrams>},
    {"CPixelWavyChessboard", CreatePixelEquation<CPixelWavyChessboard>},
    {"CPixelSharpEdges", CreatePixelEquation<CPixelSharpEdges>},
    {"CPixelBinaryFlash", CreatePixelEquation<CPixelBinaryFlash>},
};

}  // namespace

EquationClassTable PatternEquations() { return kPatternEquations; }

}  // namespace luneth
