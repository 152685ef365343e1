// Scene equations: small illustrated scenes, each one function of the pixel.
//
// Index of this file:
//   Shapes          signed distances of discs, ellipses, boxes and stars; coverage
//   "Stack Overflow"   a tray with a stack of bars fanning up out of it
//   "Be Happy"         a smiling face on a sunburst
//   "Umber Ferrule"    a pencil's end in close-up: body, ribbed umber ferrule, eraser
//   "Christmas Stars"  a tree of star ornaments under a star, in falling snow
//   "Starry Night"     swirling brush-stroke sky, blazing stars, moon, cypress and village
//   "Game Screen"      a platform game's screen in 4 x 4 pixel blocks, in integers only
//
// The float scenes paint layers from the back: each shape is a signed distance in pixels
// (negative inside) and covers a pixel by Cover(d), so every edge is smoothed over one pixel
// and nothing depends on where a pixel's centre happens to fall.
#include <algorithm>
#include <cmath>

#include "common/FloatConstants.h"
#include "equations/EquationFamilies.h"
#include "equations/ShadingHelpers.h"

namespace luneth {

namespace {

// =============================================================================================
// Shapes
// =============================================================================================

// The part of a pixel a shape covers, from its signed distance in pixels.
float Cover(float d) { return Saturate(0.5f - d); }

// The centre of pixel (x, y) in picture coordinates.
Vec2 Centre(uint32_t x, uint32_t y) { return PixelPoint(x, y, 0.0f, 0.0f, 1.0f, 1.0f); }

float Disc(Vec2 p, Vec2 c, float r) { return Length(p - c) - r; }

// An ellipse's distance, close enough near its edge for a one-pixel blend.
float Ellipse(Vec2 p, Vec2 c, float rx, float ry) {
    const float u = (p.x() - c.x()) / rx, v = (p.y() - c.y()) / ry;
    const float k = std::sqrt(u * u + v * v);
    const float gradient = std::sqrt(u * u / (rx * rx) + v * v / (ry * ry)) / std::max(k, 1e-6f);
    return (k - 1.0f) / std::max(gradient, 1e-6f);
}

// A box of half sizes (hx, hy) around c, its corners rounded by r.
float Box(Vec2 p, Vec2 c, float hx, float hy, float r = 0.0f) {
    const float dx = std::fabs(p.x() - c.x()) - hx + r, dy = std::fabs(p.y() - c.y()) - hy + r;
    return std::sqrt(std::max(dx, 0.0f) * std::max(dx, 0.0f) +
                     std::max(dy, 0.0f) * std::max(dy, 0.0f)) +
           std::min(std::max(dx, dy), 0.0f) - r;
}

// p turned by -angle about c: the point in the frame of a shape turned by +angle.
Vec2 Unturn(Vec2 p, Vec2 c, float angle) {
    const float cs = std::cos(angle), sn = std::sin(angle);
    const Vec2 d = p - c;
    return {cs * d.x() + sn * d.y(), -sn * d.x() + cs * d.y()};
}

// A star of n points around c, tips at radius outer, notches at radius inner, one tip
// straight up. The angle around the centre is folded into half a point's sector, where the
// edge is the segment from the tip to the notch.
float Star(Vec2 p, Vec2 c, int n, float outer, float inner, float turn = 0.0f) {
    const Vec2 q = Unturn(p, c, turn);
    const float sector = kPi / static_cast<float>(n);
    float a = std::atan2(q.x(), -q.y());  // 0 straight up
    a = std::fabs(a - 2.0f * sector * std::round(a / (2.0f * sector)));
    const float r = Length(q);
    const Vec2 f{r * std::sin(a), r * std::cos(a)};  // folded: tip along +y
    const Vec2 tip{0.0f, outer}, notch{inner * std::sin(sector), inner * std::cos(sector)};
    const Vec2 e = notch - tip, w = f - tip;
    const float t = Saturate(Dot(w, e) / Dot(e, e));
    const float d = Length(w - e * t);
    const float side = e.x() * w.y() - e.y() * w.x();  // > 0 beyond the edge
    return side > 0.0f ? d : -d;
}

// Paints colour c over `under` where the shape of distance d covers the pixel.
Rgbf Over(Rgbf under, Rgbf c, float d) { return Mix(under, c, Cover(d)); }

// =============================================================================================
// Stack Overflow
// =============================================================================================

// A grey tray, open at the top, on a white ground; five orange bars are stacked in it, each
// tilted further than the one below, so the stack climbs out over the tray's right rim.
uint32_t StackOverflowPixel(uint32_t x, uint32_t y) {
    const Vec2 p = Centre(x, y);
    constexpr Rgbf kTray{0.74f, 0.73f, 0.72f}, kOrange{0.96f, 0.50f, 0.14f};
    Rgbf c{0.98f, 0.98f, 0.97f};
    // A faint shadow under the tray.
    c = c * (1.0f - 0.12f * Cover(Ellipse(p, {512, 868}, 300, 22) / 12.0f));
    const float tray = std::min({Box(p, {512, 830}, 262, 24, 4), Box(p, {274, 700}, 24, 154, 4),
                                 Box(p, {750, 700}, 24, 154, 4)});
    c = Over(c, kTray, tray);
    // Bar i has its left end 68 pixels above the one below and turns 9 degrees further up.
    for (int i = 0; i < 5; ++i) {
        const float angle = -0.15707963f * static_cast<float>(i);
        const Vec2 centre{322.0f + 190.0f * std::cos(angle),
                          744.0f - 68.0f * static_cast<float>(i) + 190.0f * std::sin(angle)};
        const float d = Box(Unturn(p, centre, angle), {0, 0}, 190, 28, 4);
        c = Over(c, kOrange * (0.86f + 0.04f * static_cast<float>(i)), d);
    }
    return Pack(c);
}

// =============================================================================================
// Be Happy
// =============================================================================================

// A yellow smiling face with shading and rosy cheeks on a sunburst of alternating rays.
uint32_t BeHappyPixel(uint32_t x, uint32_t y) {
    const Vec2 p = Centre(x, y), o{512, 512};
    const Vec2 d = p - o;
    const float r = Length(d);
    // Sunburst: 20 rays, their edges smoothed by the arc length of a pixel.
    const float turns = (std::atan2(d.y(), d.x()) + kPi) / kTwoPi * 20.0f;
    const float ray = (std::fabs(Fract(turns) - 0.5f) - 0.25f) * kTwoPi / 20.0f * r;
    Rgbf c = Mix(Rgbf{1.0f, 0.62f, 0.20f}, Rgbf{1.0f, 0.78f, 0.32f}, Cover(ray));
    c = c * (1.0f - 0.25f * Saturate(r / 760.0f));

    const float face = r - 330.0f;
    c = Over(c, {0.30f, 0.16f, 0.02f}, face - 10.0f);  // outline
    // Face: lit from the upper left, darker towards the rim.
    const float light = Saturate(1.0f - Length(p - Vec2{420, 400}) / 520.0f);
    const Rgbf yellow = Mix(Rgbf{0.96f, 0.66f, 0.05f}, Rgbf{1.0f, 0.93f, 0.35f}, light);
    c = Over(c, yellow, face);
    c = Over(c, {1.0f, 0.45f, 0.40f}, Ellipse(p, {310, 590}, 62, 38) + 10.0f);  // cheeks
    c = Over(c, {1.0f, 0.45f, 0.40f}, Ellipse(p, {714, 590}, 62, 38) + 10.0f);
    constexpr Rgbf kDark{0.25f, 0.12f, 0.02f};
    for (const float ex : {400.0f, 624.0f}) {
        c = Over(c, kDark, Ellipse(p, {ex, 420}, 36, 64));
        c = Over(c, {1, 1, 1}, Disc(p, {ex - 10.0f, 392}, 11));
    }
    // The smile: the lower part of a ring around (512, 500), with round ends.
    const Vec2 m = p - Vec2{512, 500};
    const float angle = std::atan2(m.y(), m.x());  // the smile spans 25 to 155 degrees
    constexpr float kFrom = 25.0f * kPi / 180.0f, kTo = 155.0f * kPi / 180.0f;
    float smile;
    if (angle >= kFrom && angle <= kTo) {
        smile = std::fabs(Length(m) - 200.0f) - 16.0f;
    } else {
        const Vec2 a{512.0f + 200.0f * std::cos(kFrom), 500.0f + 200.0f * std::sin(kFrom)};
        const Vec2 b{512.0f + 200.0f * std::cos(kTo), 500.0f + 200.0f * std::sin(kTo)};
        smile = std::min(Disc(p, a, 16), Disc(p, b, 16));
    }
    c = Over(c, kDark, smile);
    return Pack(c);
}

// =============================================================================================
// Umber Ferrule
// =============================================================================================

// A pencil lying across a sheet of ruled paper, seen close up: its green lacquered body with
// three facets on show, the umber-bronze ferrule crimped with two bands of ribs, the pink
// eraser with a rounded end. Along the pencil u runs to the eraser, across it v in [-1, 1]
// of its half thickness; each part is shaded as a cylinder (the body as three flat facets).
uint32_t UmberFerrulePixel(uint32_t x, uint32_t y) {
    const Vec2 p = Centre(x, y);
    constexpr float kTilt = -0.32f, kHalf = 96.0f;
    const Vec2 q = Unturn(p, {470, 560}, kTilt);
    const float u = q.x(), v = q.y() / kHalf;

    // Paper: ruled lines every 48 pixels, a margin line, a soft shadow under the pencil.
    const float rule = std::fabs(p.y() - 48.0f * std::round(p.y() / 48.0f));
    Rgbf c = Mix(Rgbf{0.97f, 0.96f, 0.92f}, Rgbf{0.55f, 0.70f, 0.90f}, Cover(rule - 1.0f));
    c = Mix(c, Rgbf{0.90f, 0.45f, 0.45f}, Cover(std::fabs(p.x() - 120.0f) - 1.5f));
    constexpr float kBodyEnd = 80.0f, kFerruleEnd = 300.0f, kEraserEnd = 440.0f;
    const Vec2 s = Unturn(p, {500, 600}, kTilt);  // the pencil's frame, moved down and right
    const float shadow = Length(Vec2{std::max(s.x() - (kEraserEnd - 60.0f), 0.0f), s.y()}) - kHalf;
    c = c * (1.0f - 0.28f * Saturate(0.5f - shadow / 50.0f));

    const float across = std::fabs(v);
    const float rim = std::sqrt(std::max(0.0f, 1.0f - v * v));  // the cylinder's facing part
    // Body: three facets of a hexagonal prism (the middle one faces the viewer).
    if (u < kBodyEnd) {
        const float facet = across < 0.5f ? 1.0f : (v < 0.0f ? 1.15f : 0.62f);
        Rgbf body = Rgbf{0.10f, 0.42f, 0.22f} * facet;
        body = body + Rgbf{1, 1, 1} * (0.35f * Cover(std::fabs(v + 0.5f) * kHalf - 1.5f));
        const float edge = std::max(across * kHalf - kHalf, u - kBodyEnd);
        c = Over(c, body, edge);
    }
    // Ferrule: a bronze cylinder, slightly wider than the body, ribbed in two bands.
    if (u >= kBodyEnd - 1.0f && u < kFerruleEnd + 1.0f) {
        const float radius = kHalf * 1.06f;
        const float w = q.y() / radius;
        const float rimF = std::sqrt(std::max(0.0f, 1.0f - w * w));
        const float spec = std::pow(Saturate(1.0f - std::fabs(w + 0.45f) * 2.2f), 3.0f);
        Rgbf metal = Mix(Rgbf{0.22f, 0.13f, 0.06f}, Rgbf{0.62f, 0.42f, 0.20f}, rimF) +
                     Rgbf{1.0f, 0.9f, 0.7f} * (0.8f * spec);
        const float local = u - kBodyEnd;
        const bool ribbed = (local > 30.0f && local < 80.0f) || (local > 140.0f && local < 190.0f);
        if (ribbed) {
            const float groove = std::fabs(Fract(local / 10.0f) - 0.5f) * 10.0f;
            metal = metal * (0.55f + 0.45f * Smoothstep(0.5f, 3.0f, groove));
        }
        const float edge = std::max({std::fabs(q.y()) - radius, kBodyEnd - u, u - kFerruleEnd});
        c = Over(c, metal, edge);
    }
    // Eraser: a matte pink cylinder with a rounded end.
    if (u >= kFerruleEnd - 1.0f) {
        const Rgbf rubber = Rgbf{0.93f, 0.52f, 0.55f} * (0.45f + 0.55f * rim);
        const float end =
            Length(Vec2{std::max(u - (kEraserEnd - 40.0f), 0.0f) * kHalf / 40.0f, q.y()}) - kHalf;
        c = Over(c, rubber, std::max(end, kFerruleEnd - u));
    }
    return Pack(c);
}

// =============================================================================================
// Christmas Stars
// =============================================================================================

// Night sky with sparkles, a snowy ground, falling snow, and a fir tree in three tiers hung
// with small stars in gold, red and silver, a large gold star on top.
uint32_t ChristmasStarsPixel(uint32_t x, uint32_t y) {
    const Vec2 p = Centre(x, y);
    Rgbf c = Mix(Rgbf{0.02f, 0.03f, 0.15f}, Rgbf{0.20f, 0.08f, 0.30f}, Saturate(p.y() / 900.0f));
    // Sparkles: one chance in four a 48-pixel cell holds a four-point glint.
    {
        const int32_t cx = static_cast<int32_t>(std::floor(p.x() / 48.0f));
        const int32_t cy = static_cast<int32_t>(std::floor(p.y() / 48.0f));
        if (HashUnit(cx, cy, 1) < 0.25f) {
            const Vec2 at{(static_cast<float>(cx) + 0.2f + 0.6f * HashUnit(cx, cy, 2)) * 48.0f,
                          (static_cast<float>(cy) + 0.2f + 0.6f * HashUnit(cx, cy, 3)) * 48.0f};
            const float size = 4.0f + 6.0f * HashUnit(cx, cy, 4);
            c = Over(c, {1.0f, 0.95f, 0.8f}, Star(p, at, 4, size, size * 0.25f));
        }
    }
    // The tree: trunk and three tiers, each a triangle from its apex to its base.
    constexpr Rgbf kTrunk{0.35f, 0.2f, 0.1f};
    c = Over(c, kTrunk, Box(p, {512, 860}, 34, 50));
    // Snowy ground.
    const float ground =
        880.0f + 18.0f * std::sin(p.x() * 0.012f) + 10.0f * std::sin(p.x() * 0.031f);
    c = Over(
        c,
        Mix(Rgbf{0.95f, 0.97f, 1.0f}, Rgbf{0.7f, 0.75f, 0.9f}, Saturate((p.y() - ground) / 160.0f)),
        ground - p.y());

    struct Tier {
        float apex, base, halfWidth;
    };
    constexpr Tier kTiers[3] = {{250, 500, 170}, {380, 680, 250}, {520, 850, 330}};
    float tree = 1e9f;
    for (const Tier& t : kTiers) {
        const float k = t.halfWidth / (t.base - t.apex);  // half width per pixel down
        const float side =
            (std::fabs(p.x() - 512.0f) - (p.y() - t.apex) * k) / std::sqrt(1.0f + k * k);
        tree = std::min(tree, std::max(side, p.y() - t.base));
    }
    const float needles = 0.85f + 0.15f * std::sin(p.x() * 0.3f + p.y() * 0.2f);
    c = Over(c, Rgbf{0.04f, 0.36f, 0.16f} * needles, tree);
    // Ornaments: a star on some cells of a 56-pixel grid that lie well inside the tree.
    {
        const int32_t cx = static_cast<int32_t>(std::floor(p.x() / 56.0f));
        const int32_t cy = static_cast<int32_t>(std::floor(p.y() / 56.0f));
        const Vec2 at{
            (static_cast<float>(cx) + 0.5f) * 56.0f + 10.0f * (HashUnit(cx, cy, 5) - 0.5f),
            (static_cast<float>(cy) + 0.5f) * 56.0f + 10.0f * (HashUnit(cx, cy, 6) - 0.5f)};
        float atTree = 1e9f;
        for (const Tier& t : kTiers) {
            const float k = t.halfWidth / (t.base - t.apex);
            atTree = std::min(atTree, std::max(std::fabs(at.x() - 512.0f) - (at.y() - t.apex) * k,
                                               at.y() - t.base));
        }
        if (atTree < -22.0f && HashUnit(cx, cy, 7) < 0.8f) {
            constexpr Rgbf kColours[3] = {
                {1.0f, 0.8f, 0.2f}, {0.9f, 0.15f, 0.15f}, {0.85f, 0.88f, 0.95f}};
            const Rgbf star = kColours[HashCell(cx, cy, 8) % 3];
            const float turn = (HashUnit(cx, cy, 9) - 0.5f) * 0.6f;
            const float d = Star(p, at, 5, 19.0f, 8.0f, turn);
            c = Over(c, star * 0.5f, d - 1.5f);
            c = Over(c, star, d);
        }
    }
    // The great star on top, with a glow.
    const float top = Star(p, {512, 215}, 5, 72.0f, 30.0f);
    c = c + Rgbf{1.0f, 0.85f, 0.4f} * (0.5f * std::exp(-std::max(top, 0.0f) / 40.0f));
    c = Over(c, {0.75f, 0.5f, 0.05f}, top - 3.0f);
    c = Over(c, Mix(Rgbf{1.0f, 0.95f, 0.6f}, Rgbf{1.0f, 0.75f, 0.1f}, Saturate(-top / 30.0f)), top);

    // Falling snow in front of everything: flakes in 40-pixel cells, two thirds of them lit.
    {
        const int32_t cx = static_cast<int32_t>(std::floor(p.x() / 40.0f));
        const int32_t cy = static_cast<int32_t>(std::floor(p.y() / 40.0f));
        if (HashUnit(cx, cy, 10) < 0.66f) {
            const Vec2 at{(static_cast<float>(cx) + 0.15f + 0.7f * HashUnit(cx, cy, 11)) * 40.0f,
                          (static_cast<float>(cy) + 0.15f + 0.7f * HashUnit(cx, cy, 12)) * 40.0f};
            const float size = 1.5f + 2.5f * HashUnit(cx, cy, 13);
            c = Over(c, {1, 1, 1}, Disc(p, at, size));
        }
    }
    return Pack(c);
}

// =============================================================================================
// Starry Night
// =============================================================================================

// Value noise over hashed lattice corners, repeating every `period` cells along x (0: never).
float LatticeNoise(float x, float y, uint32_t seed, int32_t period = 0) {
    const float fx = std::floor(x), fy = std::floor(y);
    const float tx = x - fx, ty = y - fy;
    const float sx = tx * tx * (3.0f - 2.0f * tx), sy = ty * ty * (3.0f - 2.0f * ty);
    const auto corner = [&](float cx, float cy) {
        int32_t ix = static_cast<int32_t>(std::clamp(cx, -1e8f, 1e8f));
        if (period > 0) ix = ((ix % period) + period) % period;
        return HashUnit(ix, static_cast<int32_t>(std::clamp(cy, -1e8f, 1e8f)), seed);
    };
    return Mix(Mix(corner(fx, fy), corner(fx + 1, fy), sx),
               Mix(corner(fx, fy + 1), corner(fx + 1, fy + 1), sx), sy);
}

// The sky's streams: a stream function of three spiral whirls in a wind blowing to the right.
// A whirl adds strength * ln r + arms * angle / 2 pi; the angle jumps by 2 pi across a ray, but
// the jump is a whole number of bands, so the bands (the fractional part) run on unbroken.
struct Whirl {
    float x, y, strength, arms;
};
constexpr Whirl kWhirls[3] = {{470, 300, 3.2f, 2}, {720, 230, -2.2f, 1}, {230, 170, 1.6f, 1}};

float SkyStream(Vec2 p) {
    float psi = p.y() * 0.018f + 0.004f * p.x();
    for (const Whirl& w : kWhirls) {
        const float dx = p.x() - w.x, dy = p.y() - w.y;
        psi += w.strength * 0.5f * std::log(dx * dx + dy * dy + 400.0f) +
               w.arms * std::atan2(dy, dx) / kTwoPi;
    }
    return psi;
}

// A star's glow: a bright core and rings fading outwards, in [0, 1].
float StarGlow(Vec2 p, Vec2 c, float core, float halo) {
    const Vec2 q = p - c;
    const float d2 = Dot(q, q);
    if (d2 >= 4.0f * halo * halo && d2 >= (core + 1.0f) * (core + 1.0f)) return 0.0f;  // unlit
    const float d = std::sqrt(d2);
    const float rings = 0.55f + 0.45f * std::cos(d * kTwoPi / (halo * 0.28f));
    return std::max(Cover(d - core), std::exp(-d / halo) * rings * Saturate(2.0f - d / halo));
}

// After the painting of swirling sky over a village: the sky in bands of brush strokes along
// the streams of three whirls, eleven blazing stars and a crescent moon ringed with light,
// blue hills with a village and a church spire, and a dark cypress flaming up on the left.
uint32_t StarryNightPixel(uint32_t x, uint32_t y) {
    const Vec2 p = Centre(x, y);
    // Sky: four bands a stream unit, strokes from noise across the bands and along a slanted
    // direction. Across the whirls' rays the band count jumps by a multiple of four, so the
    // noise repeats every four bands.
    const float band = SkyStream(p) * 4.0f;
    const float stroke =
        LatticeNoise(Fract(band / 4.0f) * 16.0f, (p.x() * 0.8f + p.y() * 0.6f) / 22.0f, 3, 16);
    constexpr std::array<Rgbf, 5> kSky = {{{0.03f, 0.08f, 0.28f},
                                           {0.10f, 0.22f, 0.55f},
                                           {0.22f, 0.40f, 0.75f},
                                           {0.50f, 0.66f, 0.88f},
                                           {0.80f, 0.86f, 0.78f}}};
    const float wave = 0.5f + 0.5f * std::sin(band * kTwoPi / 4.0f);
    Rgbf c = Ramp(kSky, 0.15f + 0.55f * wave * stroke + 0.25f * stroke);

    // Stars and moon with their rings of light.
    struct Light {
        float x, y, core, halo;
    };
    constexpr Light kStars[11] = {{90, 90, 9, 34},   {300, 70, 7, 28},  {390, 180, 10, 40},
                                  {560, 120, 8, 30}, {630, 330, 9, 36}, {160, 330, 8, 32},
                                  {820, 360, 7, 28}, {900, 260, 6, 24}, {40, 470, 6, 22},
                                  {350, 430, 7, 26}, {710, 470, 6, 22}};
    float glow = 0.0f;
    for (const Light& l : kStars) glow = std::max(glow, StarGlow(p, {l.x, l.y}, l.core, l.halo));
    glow = std::max(glow, StarGlow(p, {880, 120}, 0.0f, 95.0f));
    c = Mix(c, Rgbf{0.98f, 0.92f, 0.55f}, glow * (0.7f + 0.3f * stroke));
    const float moon = std::max(Disc(p, {880, 120}, 56), -Disc(p, {858, 106}, 50));
    c = Over(c, {1.0f, 0.78f, 0.2f}, moon);

    // Hills, far and near, stroked along their slopes.
    const float far =
        640.0f + 28.0f * std::sin(p.x() * 0.006f + 1.0f) + 16.0f * std::sin(p.x() * 0.017f);
    const float hillStroke = LatticeNoise(p.x() / 30.0f, p.y() / 7.0f, 5);
    c = Over(c, Mix(Rgbf{0.06f, 0.12f, 0.32f}, Rgbf{0.16f, 0.28f, 0.5f}, hillStroke), far - p.y());
    const float nearHill = 800.0f + 22.0f * std::sin(p.x() * 0.009f + 2.5f);
    c = Over(c, Mix(Rgbf{0.04f, 0.1f, 0.12f}, Rgbf{0.12f, 0.24f, 0.2f}, hillStroke),
             nearHill - p.y());

    // The village: a row of houses with lit windows, and the church.
    if (p.x() > 360.0f && p.x() < 1000.0f && p.y() > 600.0f && p.y() < 830.0f) {
        const int32_t cell = static_cast<int32_t>(std::floor((p.x() - 360.0f) / 46.0f));
        const float left = 360.0f + 46.0f * static_cast<float>(cell);
        const float base = 812.0f - 40.0f * HashUnit(cell, 0, 21);
        const float tall = 26.0f + 22.0f * HashUnit(cell, 0, 22);
        const float mid = left + 23.0f;
        const float wall = Box(p, {mid, base - tall * 0.5f}, 16, tall * 0.5f);
        const float roof =
            std::max(p.y() - (base - tall) - 0.5f,
                     std::fabs(p.x() - mid) - (p.y() - (base - tall - 16.0f)) * 1.2f);
        c = Over(c, {0.12f, 0.16f, 0.3f}, std::min(wall, roof));
        const float window =
            Box(p,
                {mid - 6.0f + 12.0f * static_cast<float>(HashCell(cell, 1, 23) & 1),
                 base - tall * 0.45f},
                4, 5);
        c = Over(c, {1.0f, 0.85f, 0.3f}, window);
    }
    {
        const float church = Box(p, {652, 740}, 20, 40);
        const float spire =
            std::max(p.y() - 700.0f, std::fabs(p.x() - 652.0f) - (p.y() - 560.0f) * 0.11f);
        c = Over(c, {0.1f, 0.13f, 0.26f}, std::min(church, spire));
    }

    // The cypress: a dark flame rising from the lower left, widest low down, its edge licking
    // in and out in lobes that climb with it.
    const float t = Saturate((1040.0f - p.y()) / 880.0f);
    const float axis = 168.0f + 22.0f * std::sin(p.y() * 0.011f) * t;
    const float lobes = 1.0f + 0.22f * std::sin(p.y() * 0.07f + (p.x() < axis ? 0.0f : 1.7f));
    const float half = 118.0f * std::pow(1.0f - t, 0.85f) * lobes;
    const float tree = std::max(std::fabs(p.x() - axis) - half, 170.0f - p.y());
    const float bark =
        LatticeNoise(p.x() / 7.0f + 3.0f * std::sin(p.y() * 0.02f), p.y() / 45.0f, 9);
    c = Over(c, Mix(Rgbf{0.02f, 0.05f, 0.03f}, Rgbf{0.16f, 0.24f, 0.09f}, bark * bark), tree);
    return Pack(c);
}

// =============================================================================================
// Game Screen
// =============================================================================================

// The screen of a platform game, 256 x 256 blocks of 4 x 4 pixels: sky and clouds, hills,
// brick ground, a row of brick and question blocks with coins above, a pipe, our hero and a
// slime, a score line in a 5 x 7 font, and darker scan lines. Integers only.

// Glyphs of the font, rows top to bottom, bit 4 the leftmost column.
struct Glyph {
    char c;
    uint8_t rows[7];
};
constexpr Glyph kFont[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1E, 0x01, 0x01, 0x0E, 0x01, 0x01, 0x1E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'?', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}},
};

// Whether block (gx, gy) is lit by `text` written from (x0, y0), six blocks a character.
bool TextAt(const char* text, int32_t x0, int32_t y0, int32_t gx, int32_t gy) {
    const int32_t row = gy - y0, dx = gx - x0;
    if (row < 0 || row >= 7 || dx < 0 || dx % 6 == 5) return false;
    const int32_t index = dx / 6;
    for (int32_t i = 0; text[i]; ++i) {
        if (i < index) continue;
        for (const Glyph& g : kFont)
            if (g.c == text[i]) return (g.rows[row] >> (4 - dx % 6)) & 1;
        return false;
    }
    return false;
}

// The hero, 16 x 20 blocks: a little robot with an antenna. '.' shows what is behind.
constexpr const char* kHero[20] = {
    ".......yy.......", ".......kk.......", "..kkkkkkkkkkkk..", ".kcccccccccccck.",
    ".kcwkccccccwkck.", ".kcwkccccccwkck.", ".kcccccccccccck.", ".kccccmmmmcccck.",
    ".kcccccccccccck.", "..kkkkkkkkkkkk..", "......kkkk......", "..kkkkkkkkkkkk..",
    ".kooooooooooook.", "gkooyyooooooookg", "gkooyyooooooookg", "g.kooooooooook.g",
    "...kkkkkkkkkk...", "....kgk..kgk....", "....kgk..kgk....", "...kkkk..kkkk...",
};

uint32_t HeroColour(char c) {
    switch (c) {
        case 'k':
            return 0x202028;  // outline
        case 'y':
            return 0xF8D848;  // lamp, badge
        case 'c':
            return 0xB8C8D8;  // head
        case 'w':
            return 0xFFFFFF;  // eye whites
        case 'm':
            return 0xE84848;  // mouth
        case 'o':
            return 0xE87820;  // body
        case 'g':
            return 0x707880;  // legs
        default:
            return 0;
    }
}

bool InDisc(int32_t gx, int32_t gy, int32_t cx, int32_t cy, int32_t r) {
    const int32_t dx = gx - cx, dy = gy - cy;
    return dx * dx + dy * dy <= r * r;
}

// Scene colour of block (gx, gy), 0xRRGGBB.
uint32_t GameBlock(int32_t gx, int32_t gy) {
    // Score line, white on a drop shadow.
    constexpr int32_t kColumns[4] = {12, 80, 148, 208};
    constexpr const char* kLabels[4] = {"SCORE", "COINS", "WORLD", "TIME"};
    constexpr const char* kValues[4] = {"004200", "07", "1-2", "321"};
    for (int i = 0; i < 4; ++i) {
        if (TextAt(kLabels[i], kColumns[i], 8, gx, gy) ||
            TextAt(kValues[i], kColumns[i], 18, gx, gy))
            return 0xF8F8F8;
        if (TextAt(kLabels[i], kColumns[i], 8, gx - 1, gy - 1) ||
            TextAt(kValues[i], kColumns[i], 18, gx - 1, gy - 1))
            return 0x202040;
    }
    // Hero, standing on the ground at x 36.
    if (gx >= 36 && gx < 52 && gy >= 188 && gy < 208) {
        const char c = kHero[gy - 188][gx - 36];
        if (c != '.') return HeroColour(c);
    }
    // Slime: a half ellipse on the ground (half axes 14 and 12) with eyes.
    {
        const int32_t dx = gx - 160, dy = gy - 207;
        const int64_t e = int64_t(dx) * dx * 144 + int64_t(dy) * dy * 196;
        if (dy <= 0 && e <= 28224) {
            for (const int32_t eye : {154, 166}) {
                if (InDisc(gx, gy, eye, 201, 2))
                    return gx == eye + 1 && gy >= 200 && gy <= 202 ? 0x101010 : 0xFFFFFF;
            }
            if (e > 22000) return 0x502070;
            return dy < -7 && dx < -3 && dx > -10 ? 0xD0A0F8 : 0x9048C8;
        }
    }
    // Ground: a strip of grass over bricks.
    if (gy >= 208) {
        if (gy < 211) return gy == 208 ? 0x90E050 : 0x48A830;
        const int32_t row = (gy - 211) / 8, offset = (row & 1) * 8;
        if ((gy - 211) % 8 == 7 || (gx + offset) % 16 == 15) return 0x602008;
        return (gx + offset) % 16 == 0 || (gy - 211) % 8 == 0 ? 0xE07838 : 0xC05018;
    }
    // Pipe with its lip.
    if (gy >= 168 && gy < 208 && gx >= 206 && gx < 242) {
        const bool lip = gy < 176;
        const int32_t left = lip ? 206 : 209, right = lip ? 241 : 238;
        if (gx >= left && gx <= right) {
            if (gx == left || gx == right || gy == 168 || (lip && gy == 175)) return 0x103010;
            const int32_t across = gx - left;
            return across < 4 ? 0x98E878 : (across > (right - left) - 7 ? 0x187028 : 0x30B040);
        }
    }
    // Floating blocks: brick, question, brick, question, brick.
    if (gy >= 144 && gy < 160 && gx >= 96 && gx < 176) {
        const int32_t block = (gx - 96) / 16, bx = (gx - 96) % 16, by = gy - 144;
        if (bx == 15 || by == 15) return 0x301008;
        if (block & 1) {
            if (TextAt("?", 96 + block * 16 + 5, 148, gx, gy)) return 0x803000;
            if ((bx == 1 || bx == 13) && (by == 1 || by == 13)) return 0x803000;
            return bx == 0 || by == 0 ? 0xF8D878 : 0xF0A820;
        }
        if (by % 8 == 7 || (bx + (by / 8) * 8) % 16 == 15) return 0x602008;
        return 0xC05018;
    }
    // Coins above the question blocks, and an arc of three more.
    constexpr int32_t kCoins[5][2] = {{120, 128}, {152, 128}, {186, 96}, {202, 88}, {218, 96}};
    for (const auto& coin : kCoins) {
        const int32_t dx = gx - coin[0], dy = gy - coin[1];
        const int64_t e = int64_t(dx) * dx * 49 + int64_t(dy) * dy * 16;
        if (e <= 784) return e > 500 ? 0xA07000 : (dx < 0 && dy < 0 ? 0xFFF0A0 : 0xF8C830);
    }
    // Hills behind everything on the ground, outlined.
    constexpr int32_t kHills[2][2] = {{64, 52}, {176, 30}};
    for (const auto& hill : kHills) {
        const int32_t dx = gx - hill[0], dy = gy - 208;
        const int32_t e = dx * dx + dy * dy, r = hill[1];
        if (e <= r * r)
            return e > (r - 2) * (r - 2) ? 0x206028
                                         : ((gx / 8 + gy / 8) % 5 == 0 ? 0x48B058 : 0x38A048);
    }
    // Clouds: three puffs each over a flat base.
    constexpr int32_t kClouds[3][2] = {{44, 52}, {150, 40}, {224, 66}};
    for (const auto& cloud : kClouds) {
        const int32_t cx = cloud[0], cy = cloud[1];
        const bool puff = InDisc(gx, gy, cx - 11, cy + 2, 8) || InDisc(gx, gy, cx, cy - 3, 11) ||
                          InDisc(gx, gy, cx + 11, cy + 2, 8);
        if (puff && gy <= cy + 8) return gy >= cy + 6 ? 0xC8D8F0 : 0xF8F8F8;
    }
    return 0x64A0F0;  // sky
}

uint32_t GameScreenPixel(uint32_t x, uint32_t y) {
    // Blocks far beyond the screen all show what lies at its far edge; the bound keeps the
    // squares of the shapes' distances within 32 bits.
    constexpr uint32_t kFar = 4096;
    const int32_t gx = static_cast<int32_t>(std::min(x >> 2, kFar));
    const int32_t gy = static_cast<int32_t>(std::min(y >> 2, kFar));
    uint32_t c = GameBlock(gx, gy);
    if ((y & 3) == 3) {  // scan line: every channel at 13/16
        c = ((((c >> 16) & 0xFF) * 13 / 16) << 16) | ((((c >> 8) & 0xFF) * 13 / 16) << 8) |
            ((c & 0xFF) * 13 / 16);
    }
    return kOpaqueBlack | c;
}

using CPixelStackOverflow = CFormulaEquation<StackOverflowPixel>;
using CPixelBeHappy = CFormulaEquation<BeHappyPixel>;
using CPixelUmberFerrule = CFormulaEquation<UmberFerrulePixel>;
using CPixelChristmasStars = CFormulaEquation<ChristmasStarsPixel>;
using CPixelStarryNight = CFormulaEquation<StarryNightPixel>;
using CPixelGameScreen = CFormulaEquation<GameScreenPixel>;

constexpr EquationClass kSceneEquations[] = {
    {"CPixelStackOverflow", CreatePixelEquation<CPixelStackOverflow>},
    {"CPixelBeHappy", CreatePixelEquation<CPixelBeHappy>},
    {"CPixelUmberFerrule", CreatePixelEquation<CPixelUmberFerrule>},
    {"CPixelChristmasStars", CreatePixelEquation<CPixelChristmasStars>},
    {"CPixelStarryNight", CreatePixelEquation<CPixelStarryNight>},
    {"CPixelGameScreen", CreatePixelEquation<CPixelGameScreen>},
};

}  // namespace

EquationClassTable SceneEquations() { return kSceneEquations; }

}  // namespace luneth
