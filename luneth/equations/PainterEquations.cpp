// Painter equations: pictures painted stroke by stroke into a working buffer of colours.
//
// Index of this file:
//   Canvas               the buffer as a canvas: blending a colour into a cell
//   "Random Painter 1"   curving brush strokes of random colour, width and length
//   "Random Painter 2"   a random grid composition of primary colours and black bars
//   "Planetary Painter"  the Earth and Venus joined by a line every four days for eight years
//
// The random painters draw every choice from the image object's random stream, in the order
// the strokes are painted, so the first computation of a fresh image object always paints
// the same picture. Cells hold finished colours 0xFFRRGGBB.
#include <algorithm>
#include <array>
#include <cmath>

#include "common/FloatConstants.h"
#include "equations/EquationFamilies.h"
#include "equations/ShadingHelpers.h"

namespace luneth {

namespace {

// =============================================================================================
// Canvas
// =============================================================================================

Rgbf Unpack(uint32_t c) {
    return {static_cast<float>((c >> 16) & 0xFF) / 255.0f,
            static_cast<float>((c >> 8) & 0xFF) / 255.0f, static_cast<float>(c & 0xFF) / 255.0f};
}

// Rounds to the nearest byte (truncating would darken a colour a little at every blend).
uint32_t PackRounded(Rgbf c) { return Pack(c + Rgbf{0.5f, 0.5f, 0.5f} * (1.0f / 255.0f)); }

struct Canvas {
    uint32_t* cells;
    uint32_t width, height;

    void Blend(int32_t x, int32_t y, Rgbf c, float alpha) {
        if (x < 0 || y < 0 || uint32_t(x) >= width || uint32_t(y) >= height || alpha <= 0.0f)
            return;
        uint32_t& cell = cells[size_t(y) * width + uint32_t(x)];
        cell = PackRounded(Mix(Unpack(cell), c, std::min(alpha, 1.0f)));
    }
};

// A primed canvas: warm white with a faint weave.
void Prime(Canvas& canvas) {
    for (uint32_t y = 0; y < canvas.height; ++y)
        for (uint32_t x = 0; x < canvas.width; ++x) {
            const float weave = 0.03f * (HashUnit(int32_t(x), int32_t(y), 41) - 0.5f) +
                                0.02f * (((x + y) & 3) == 0 ? 1.0f : 0.0f);
            canvas.cells[size_t(y) * canvas.width + x] =
                PackRounded(Rgbf{0.94f, 0.91f, 0.84f} * (1.0f - weave));
        }
}

// =============================================================================================
// Random Painter 1
// =============================================================================================

// Strokes of a round brush wandering across the canvas. Each stroke picks a colour from a
// palette, a width, a length, a start and a heading; the heading drifts with a turn rate that
// itself drifts. The brush leaves its bristles' streaks (each bristle a fixed shade for the
// whole stroke) and runs dry towards the stroke's end.
class CPixelRandomPainter1 final : public CCanvasEquation {
public:
    using CCanvasEquation::CCanvasEquation;

protected:
    void Accumulate(uint32_t* cells, EquationContext& context) override {
        Canvas canvas{cells, width, height};
        Prime(canvas);
        RandomStream& random = context.random;
        const float w = static_cast<float>(width), h = static_cast<float>(height);
        for (int stroke = 0; stroke < kStrokes; ++stroke) {
            const Rgbf colour = kPalette[static_cast<size_t>(random.Next()) % kPalette.size()];
            const float radius = 8.0f + 42.0f * random.NextUnit() * random.NextUnit();
            const int steps = 50 + random.Next() % 160;
            float x = w * random.NextUnit(), y = h * random.NextUnit();
            float heading = kTwoPi * random.NextUnit(), turn = 0.0f;
            float bristles[kBristles];
            for (float& b : bristles) b = 0.85f + 0.3f * random.NextUnit();
            for (int i = 0; i < steps; ++i) {
                turn = std::clamp(turn + 0.008f * (random.NextUnit() - 0.5f), -0.03f, 0.03f);
                heading += turn;
                x += kStep * std::cos(heading), y += kStep * std::sin(heading);
                const float paint = 0.7f * (1.0f - 0.8f * static_cast<float>(i) / steps);
                Dab(canvas, x, y, radius, heading, colour, bristles, paint);
            }
        }
    }

private:
    static constexpr int kStrokes = 70;
    static constexpr float kStep = 3.0f;  // pixels between two prints of the brush
    static constexpr int kBristles = 12;
    static constexpr std::array<Rgbf, 7> kPalette = {{{0.80f, 0.20f, 0.16f},
                                                      {0.95f, 0.62f, 0.10f},
                                                      {0.98f, 0.86f, 0.36f},
                                                      {0.16f, 0.42f, 0.66f},
                                                      {0.10f, 0.18f, 0.34f},
                                                      {0.34f, 0.60f, 0.42f},
                                                      {0.96f, 0.95f, 0.90f}}};

    // One print of the brush at (x, y): each pixel takes the shade of the bristle across the
    // heading it lies under, with a soft rim.
    static void Dab(Canvas& canvas, float x, float y, float radius, float heading, Rgbf colour,
                    const float (&bristles)[kBristles], float paint) {
        const float nx = -std::sin(heading), ny = std::cos(heading);
        const int32_t x0 = static_cast<int32_t>(std::floor(x - radius - 1.0f));
        const int32_t y0 = static_cast<int32_t>(std::floor(y - radius - 1.0f));
        const int32_t size = static_cast<int32_t>(2.0f * radius) + 3;
        for (int32_t j = 0; j <= size; ++j) {
            for (int32_t i = 0; i <= size; ++i) {
                const float dx = static_cast<float>(x0 + i) + 0.5f - x;
                const float dy = static_cast<float>(y0 + j) + 0.5f - y;
                const float d = std::sqrt(dx * dx + dy * dy);
                if (d > radius + 0.5f) continue;
                const float across = Saturate((dx * nx + dy * ny) / (2.0f * radius) + 0.5f);
                const int bristle = std::min(kBristles - 1, static_cast<int>(across * kBristles));
                const float rim =
                    Saturate(radius + 0.5f - d) * Saturate((radius - d) / 3.0f + 0.4f);
                canvas.Blend(x0 + i, y0 + j, colour * bristles[bristle], paint * rim);
            }
        }
    }
};

// =============================================================================================
// Random Painter 2
// =============================================================================================

// A composition of rectangles between black bars: the canvas is split again and again, across
// its longer side at a random place, down to a random depth; the pieces are mostly white, some
// red, blue, yellow or black. Bars and fields are laid on with a faint brush texture.
class CPixelRandomPainter2 final : public CCanvasEquation {
public:
    using CCanvasEquation::CCanvasEquation;

protected:
    void Accumulate(uint32_t* cells, EquationContext& context) override {
        Canvas canvas{cells, width, height};
        Split(canvas, context.random, {0, 0, int32_t(width), int32_t(height)}, 0);
    }

private:
    struct Rect {
        int32_t x0, y0, x1, y1;
    };
    static constexpr int32_t kBar = 7;  // half the width of a black bar

    void Split(Canvas& canvas, RandomStream& random, Rect r, int depth) {
        const int32_t w = r.x1 - r.x0, h = r.y1 - r.y0;
        const bool deeper = depth < 2 || (depth < 6 && random.NextUnit() < 0.72f);
        const bool across = w >= h;
        const int32_t length = across ? w : h;
        if (deeper && length > 6 * kBar * 2) {
            const int32_t at =
                length / 5 +
                static_cast<int32_t>(random.NextUnit() * static_cast<float>(length * 3 / 5));
            if (across) {
                Split(canvas, random, {r.x0, r.y0, r.x0 + at, r.y1}, depth + 1);
                Split(canvas, random, {r.x0 + at, r.y0, r.x1, r.y1}, depth + 1);
                Fill(canvas, {r.x0 + at - kBar, r.y0, r.x0 + at + kBar, r.y1}, kBlack);
            } else {
                Split(canvas, random, {r.x0, r.y0, r.x1, r.y0 + at}, depth + 1);
                Split(canvas, random, {r.x0, r.y0 + at, r.x1, r.y1}, depth + 1);
                Fill(canvas, {r.x0, r.y0 + at - kBar, r.x1, r.y0 + at + kBar}, kBlack);
            }
            return;
        }
        const float pick = random.NextUnit();
        const Rgbf colour = pick < 0.55f   ? kWhite
                            : pick < 0.70f ? kRed
                            : pick < 0.82f ? kBlue
                            : pick < 0.97f ? kYellow
                                           : kBlack;
        Fill(canvas, r, colour);
    }

    // Paints a rectangle with horizontal brush marks: each row a little lighter or darker.
    static void Fill(Canvas& canvas, Rect r, Rgbf colour) {
        for (int32_t y = std::max(r.y0, 0); y < r.y1 && uint32_t(y) < canvas.height; ++y) {
            for (int32_t x = std::max(r.x0, 0); x < r.x1 && uint32_t(x) < canvas.width; ++x) {
                const float grain =
                    0.06f * (HashUnit(x / 23, y, 43) - 0.5f) + 0.03f * (HashUnit(x, y, 44) - 0.5f);
                canvas.cells[size_t(y) * canvas.width + uint32_t(x)] =
                    PackRounded(colour * (1.0f + grain));
            }
        }
    }

    static constexpr Rgbf kWhite{0.95f, 0.94f, 0.90f}, kRed{0.80f, 0.12f, 0.10f},
        kBlue{0.10f, 0.22f, 0.60f}, kYellow{0.97f, 0.80f, 0.12f}, kBlack{0.07f, 0.07f, 0.08f};
};

// =============================================================================================
// Planetary Painter
// =============================================================================================

// The planets paint with a ruler: every four days for eight years a line joins the Earth and
// Venus on their (circular) orbits around the Sun. Eight Earth years are almost exactly
// thirteen Venus years, so the lines close into a rose of five petals. Lines are added up in
// the buffer as light, then the buffer is turned into colours: gold light on a night-blue
// ground, faint orbit circles, the Sun in the middle and both planets where the eight years
// end.
class CPixelPlanetaryPainter final : public CCanvasEquation {
public:
    using CCanvasEquation::CCanvasEquation;

protected:
    void Accumulate(uint32_t* cells, EquationContext&) override {
        const float cx = static_cast<float>(width) * 0.5f, cy = static_cast<float>(height) * 0.5f;
        const float scale = static_cast<float>(std::min(width, height)) * 0.45f;
        const auto at = [&](float radius, float period, float day) {
            const float a = kTwoPi * day / period;
            return Vec2{cx + scale * radius * std::cos(a), cy - scale * radius * std::sin(a)};
        };
        for (int day = 0; day <= kDays; day += kEvery)
            AddLine(cells, at(1.0f, kEarthYear, float(day)),
                    at(kVenusOrbit, kVenusYear, float(day)));

        const Vec2 earth = at(1.0f, kEarthYear, kDays), venus = at(kVenusOrbit, kVenusYear, kDays);
        for (uint32_t y = 0; y < height; ++y) {
            for (uint32_t x = 0; x < width; ++x) {
                uint32_t& cell = cells[size_t(y) * width + x];
                const Vec2 p{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
                const float r = Length(p - Vec2{cx, cy});
                Rgbf c = Mix(Rgbf{0.05f, 0.06f, 0.16f}, Rgbf{0.01f, 0.01f, 0.05f},
                             Saturate(r / (1.4f * scale)));
                const float orbit =
                    std::min(std::fabs(r - scale), std::fabs(r - kVenusOrbit * scale));
                c = c + Rgbf{0.25f, 0.3f, 0.5f} * Saturate(1.0f - orbit);
                const float light = static_cast<float>(cell) / kLightUnit;
                c = c +
                    Ramp(kGold, 1.0f - std::exp(-0.9f * light)) * (1.0f - std::exp(-1.6f * light));
                c = c + Rgbf{1.0f, 0.8f, 0.4f} * std::exp(-r / 22.0f);  // the Sun's glow
                c = Mix(c, Rgbf{1.0f, 0.95f, 0.7f}, Saturate(12.5f - r));
                c = Mix(c, Rgbf{0.3f, 0.55f, 1.0f}, Saturate(9.5f - Length(p - earth)));
                c = Mix(c, Rgbf{0.98f, 0.9f, 0.7f}, Saturate(8.5f - Length(p - venus)));
                cell = PackRounded(c);
            }
        }
    }

private:
    static constexpr float kEarthYear = 365.256f, kVenusYear = 224.701f, kVenusOrbit = 0.7233f;
    static constexpr int kDays = 2922, kEvery = 4;  // eight years, a line every four days
    static constexpr float kLightUnit = 256.0f;     // buffer light of a fully covered pixel
    static constexpr std::array<Rgbf, 3> kGold = {
        {{0.55f, 0.25f, 0.05f}, {0.98f, 0.70f, 0.25f}, {1.0f, 0.97f, 0.85f}}};

    // Adds a line one pixel wide, each pixel by its cover (two pixels across at every step).
    void AddLine(uint32_t* cells, Vec2 a, Vec2 b) const {
        const float dx = b.x() - a.x(), dy = b.y() - a.y();
        const bool steep = std::fabs(dy) > std::fabs(dx);
        const float length = steep ? std::fabs(dy) : std::fabs(dx);
        const int steps = static_cast<int>(length) + 1;
        for (int i = 0; i <= steps; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(steps);
            const float major = (steep ? a.y() + dy * t : a.x() + dx * t) - 0.5f;
            const float minor = (steep ? a.x() + dx * t : a.y() + dy * t) - 0.5f;
            const float base = std::floor(minor), f = minor - base;
            for (int k = 0; k < 2; ++k) {
                const int32_t m = static_cast<int32_t>(std::lround(major));
                const int32_t n = static_cast<int32_t>(base) + k;
                const int32_t x = steep ? n : m, y = steep ? m : n;
                if (x < 0 || y < 0 || uint32_t(x) >= width || uint32_t(y) >= height) continue;
                const float cover = k == 0 ? 1.0f - f : f;
                cells[size_t(y) * width + uint32_t(x)] += static_cast<uint32_t>(cover * kLightUnit);
            }
        }
    }
};

constexpr EquationClass kPainterEquations[] = {
    {"CPixelRandomPainter1", CreatePixelEquation<CPixelRandomPainter1>},
    {"CPixelRandomPainter2", CreatePixelEquation<CPixelRandomPainter2>},
    {"CPixelPlanetaryPainter", CreatePixelEquation<CPixelPlanetaryPainter>},
};

}  // namespace

EquationClassTable PainterEquations() { return kPainterEquations; }

}  // namespace luneth
