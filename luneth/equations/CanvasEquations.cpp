// Pictures painted into the working buffer rather than counted: rasterized triangles, a
// packing of kissing circles, drip paintings, an excitable medium and a growing ice crystal.
//
//   66 "Triangle Rasterize"     scanline fill with a shade interpolated along the edges and
//                               across each span (8-bit cells hold the grey)
//   67 "Triangle Rasterize 2"   edge functions over the bounding box, barycentric colours
//                               and a checkerboard texture (32-bit cells hold the colour)
//   97 "Kissing Circles"        an Apollonian packing built by Descartes' circle theorem
//  178 "Action Painting"        drips and splatters of a few house paints on a canvas
//  179 "Belousov-Zhabotinsky"   spiral waves of the Greenberg-Hastings excitable medium
//  185 "Ice Frost"              an ice crystal of noise-reduced aggregation on a hexagonal lattice
#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#include "equations/AccumulationHelpers.h"
#include "equations/Aggregation.h"
#include "equations/EquationFamilies.h"

namespace luneth {

namespace {

constexpr double kPi = 3.14159265358979;

// The three corners of the triangle rows, clamped into the picture.
struct Corner {
    double x, y;
};
void ReadCorners(const float* params, uint32_t width, uint32_t height, Corner (&c)[3]) {
    for (int i = 0; i < 3; ++i)
        c[i] = {accum::RealParam(params[2 * i], 0, width - 1),
                accum::RealParam(params[2 * i + 1], 0, height - 1)};
}

// ---- 66: scanline rasterizer ----

// The corners carry the greys 255, 170 and 85. Rows are filled from the top corner down: on
// each row the pixel centres y + 0.5 meet the long edge and one of the two short edges, and
// the pixels whose centres lie in [left, right) take the grey interpolated between the two
// crossings. The background stays 0 (black).
class CPixelTriangleRasterize final : public CAccumulatingEquation<uint8_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;

protected:
    void Accumulate(uint8_t* cells, EquationContext&) override {
        Corner c[3];
        ReadCorners(params, width, height, c);
        const double grey[3] = {255, 170, 85};
        int order[3] = {0, 1, 2};
        std::sort(order, order + 3, [&](int a, int b) { return c[a].y < c[b].y; });
        const Corner &top = c[order[0]], &mid = c[order[1]], &low = c[order[2]];
        const double gTop = grey[order[0]], gMid = grey[order[1]], gLow = grey[order[2]];
        // Where the edge from a to b crosses height y, and the grey there.
        auto cross = [](const Corner& a, const Corner& b, double ga, double gb, double y, double& x,
                        double& g) {
            const double t = b.y == a.y ? 0 : (y - a.y) / (b.y - a.y);
            x = a.x + (b.x - a.x) * t, g = ga + (gb - ga) * t;
        };
        const int first = int(std::ceil(top.y - 0.5)), last = int(std::ceil(low.y - 0.5));
        for (int y = std::max(first, 0); y < std::min(last, int(height)); ++y) {
            const double cy = y + 0.5;
            double xLong, gLong, xShort, gShort;
            cross(top, low, gTop, gLow, cy, xLong, gLong);
            if (cy < mid.y)
                cross(top, mid, gTop, gMid, cy, xShort, gShort);
            else
                cross(mid, low, gMid, gLow, cy, xShort, gShort);
            double xl = xLong, gl = gLong, xr = xShort, gr = gShort;
            if (xl > xr) std::swap(xl, xr), std::swap(gl, gr);
            const int from = std::max(int(std::ceil(xl - 0.5)), 0);
            const int to = std::min(int(std::ceil(xr - 0.5)), int(width));
            for (int x = from; x < to; ++x) {
                const double t = xr > xl ? (x + 0.5 - xl) / (xr - xl) : 0;
                cells[size_t(y) * width + size_t(x)] =
                    uint8_t(std::clamp(gl + (gr - gl) * t, 1.0, 255.0));
            }
        }
    }
    uint32_t CellColor(uint8_t grey) const override { return Grey(grey); }
};

// ---- 67: edge-function rasterizer ----

// For every pixel centre of the bounding box the three edge functions give barycentric
// weights; a pixel is inside when all three are positive, or zero on a top or left edge, so
// triangles sharing an edge never both draw it. The weights blend red, green and blue corners
// and place an 8 x 8 checkerboard across the triangle, darkening every other square.
class CPixelTriangleRasterize2 final : public CAccumulatingEquation<uint32_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;

protected:
    static constexpr uint32_t kCovered = 0x01000000u;

    void Accumulate(uint32_t* cells, EquationContext&) override {
        Corner c[3];
        ReadCorners(params, width, height, c);
        double area = (c[1].x - c[0].x) * (c[2].y - c[0].y) - (c[1].y - c[0].y) * (c[2].x - c[0].x);
        if (area == 0) return;
        if (area < 0) std::swap(c[1], c[2]), area = -area;  // corners clockwise on the screen
        // edge i runs from corner i + 1 to corner i + 2; its function is the weight of corner i
        auto edge = [&](int i, double x, double y) {
            const Corner &a = c[(i + 1) % 3], &b = c[(i + 2) % 3];
            return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
        };
        auto topLeft = [&](int i) {
            const Corner &a = c[(i + 1) % 3], &b = c[(i + 2) % 3];
            return (a.y == b.y && b.x < a.x) || b.y < a.y;
        };
        const int x0 = int(std::min({c[0].x, c[1].x, c[2].x})),
                  x1 = int(std::max({c[0].x, c[1].x, c[2].x}));
        const int y0 = int(std::min({c[0].y, c[1].y, c[2].y})),
                  y1 = int(std::max({c[0].y, c[1].y, c[2].y}));
        for (int y = y0; y <= y1 && y < int(height); ++y)
            for (int x = x0; x <= x1 && x < int(width); ++x) {
                double w[3];
                bool inside = true;
                for (int i = 0; i < 3 && inside; ++i) {
                    w[i] = edge(i, x + 0.5, y + 0.5);
                    inside = w[i] > 0 || (w[i] == 0 && topLeft(i));
                }
                if (!inside) continue;
                for (double& wi : w) wi /= area;
                // texture coordinates: corner 0 at (0, 0), corner 1 at (1, 0), corner 2 at (0, 1)
                const bool dark = (int(w[1] * 8) + int(w[2] * 8)) % 2 != 0;
                const double shade = dark ? 0.55 : 1.0;
                auto byte = [&](double v) {
                    return uint32_t(std::clamp(v * shade * 255, 0.0, 255.0));
                };
                cells[size_t(y) * width + size_t(x)] =
                    kCovered | byte(w[0]) << 16 | byte(w[1]) << 8 | byte(w[2]);
            }
    }
    uint32_t CellColor(uint32_t cell) const override {
        return cell & kCovered ? kOpaqueBlack | (cell & 0xFFFFFFu) : 0xFF101018u;
    }
};

// ---- 97: Kissing Circles ----

// Descartes: four mutually touching circles with curvatures k (negative for the enclosing
// one) and centres z satisfy k4 = k1 + k2 + k3 +- 2 sqrt(k1 k2 + k2 k3 + k3 k1), and the other
// circle touching three of them is k4' = 2 (k1 + k2 + k3) - k4, k4' z4' = 2 (k1 z1 + k2 z2 +
// k3 z3) - k4 z4. Starting from the unit circle and three equal circles inside it, every gap
// is filled in turn until the circles are smaller than a pixel and a half. Each disc is
// painted with its generation (1 for the first three) and a shade that lightens toward its
// middle, so the picture shows balls of colour by generation.
class CPixelKissingCircles final : public CAccumulatingEquation<uint32_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;

protected:
    struct Disc {
        double k;
        std::complex<double> z;
    };

    void Accumulate(uint32_t* cells, EquationContext&) override {
        cells_ = cells;
        scale_ = std::min(width, height) / 2.0 - 4;
        const double r = 1 / (1 + 2 / std::sqrt(3.0));
        Disc outer{-1, 0}, inner[3];
        for (int i = 0; i < 3; ++i) {
            inner[i] = {1 / r, std::polar(1 - r, kPi / 2 + 2 * kPi * i / 3)};
            Paint(inner[i], 1);
        }
        // the middle gap, and the three gaps between two inner circles and the outer one
        Fill(inner[0], inner[1], inner[2], outer, 2);
        Fill(inner[0], inner[1], outer, inner[2], 2);
        Fill(inner[1], inner[2], outer, inner[0], 2);
        Fill(inner[2], inner[0], outer, inner[1], 2);
    }

    uint32_t CellColor(uint32_t cell) const override {
        static constexpr uint32_t kHues[8] = {0xFFE04040, 0xFFE0A030, 0xFFD8D840, 0xFF50C050,
                                              0xFF40B0D0, 0xFF5060E0, 0xFFA050D0, 0xFFE060A0};
        const uint32_t generation = cell & 0xFFu;
        if (generation == 0) return 0xFF0C0C14;
        const uint32_t hue = kHues[(generation - 1) % 8], shade = cell >> 8 & 0xFFu;
        auto channel = [&](int shift) { return ((hue >> shift & 0xFFu) * shade) / 255; };
        return Rgb(channel(16), channel(8), channel(0));
    }

private:
    // The circle in the gap of a, b and c that is not d, then the three gaps it leaves.
    void Fill(const Disc& a, const Disc& b, const Disc& c, const Disc& d, uint32_t generation) {
        const double k = 2 * (a.k + b.k + c.k) - d.k;
        if (!(k * scale_ > 0) || scale_ / k < 1.5) return;
        const Disc e{k, (2.0 * (a.k * a.z + b.k * b.z + c.k * c.z) - d.k * d.z) / k};
        Paint(e, generation);
        Fill(a, b, e, c, generation + 1);
        Fill(b, c, e, a, generation + 1);
        Fill(c, a, e, b, generation + 1);
    }

    void Paint(const Disc& disc, uint32_t generation) {
        const double cx = width / 2.0 + disc.z.real() * scale_,
                     cy = height / 2.0 - disc.z.imag() * scale_;
        const double r = scale_ / disc.k;
        const int y0 = std::max(0, int(cy - r)), y1 = std::min(int(height) - 1, int(cy + r));
        const int x0 = std::max(0, int(cx - r)), x1 = std::min(int(width) - 1, int(cx + r));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / r;
                if (d >= 1) continue;
                const uint32_t shade = uint32_t(255 * (1 - 0.6 * d * d));
                cells_[size_t(y) * width + size_t(x)] = shade << 8 | std::min(generation, 255u);
            }
    }

    uint32_t* cells_ = nullptr;
    double scale_ = 1;
};

// ---- 178: Action Painting ----

// Drips and pours on a primed canvas. Each of 150 pours draws, in this order: its paint (one
// of seven), a start point, a heading, a width of 1 to 9 pixels and a length of 100 to 900
// steps. The pour then walks on one pixel a step, turning by a small random angle and
// thinning and swelling as the hand speeds up and slows down; now and then it throws a
// splatter of droplets beside the line. Later paint covers earlier paint. A cell holds the
// paint's number, 0 for bare canvas.
class CPixelActionPainting final : public CAccumulatingEquation<uint8_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;

protected:
    void Accumulate(uint8_t* cells, EquationContext& context) override {
        RandomStream& random = context.random;
        auto unit = [&] { return random.Next() / 32768.0; };
        auto dab = [&](double cx, double cy, double r, uint8_t paint) {
            const int y0 = std::max(0, int(cy - r)), y1 = std::min(int(height) - 1, int(cy + r));
            const int x0 = std::max(0, int(cx - r)), x1 = std::min(int(width) - 1, int(cx + r));
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x)
                    if ((x + 0.5 - cx) * (x + 0.5 - cx) + (y + 0.5 - cy) * (y + 0.5 - cy) <= r * r)
                        cells[size_t(y) * width + size_t(x)] = paint;
        };
        for (int pour = 0; pour < 150; ++pour) {
            const uint8_t paint = uint8_t(1 + random.Next() % 7);
            double x = unit() * width, y = unit() * height, heading = unit() * 2 * kPi;
            const double thickness = 1 + 8 * unit() * unit();
            const int length = 100 + random.Next() % 800;
            double swell = 1;
            for (int step = 0; step < length; ++step) {
                heading += (unit() - 0.5) * 0.35;
                swell = std::clamp(swell + (unit() - 0.5) * 0.3, 0.3, 1.6);
                x += std::cos(heading), y += std::sin(heading);
                dab(x, y, thickness * swell / 2 + 0.5, paint);
                if (random.Next() % 40 == 0) {  // a flick of the wrist: droplets beside the line
                    for (int drop = 0; drop < 6; ++drop) {
                        const double a = unit() * 2 * kPi, d = thickness * (2 + 10 * unit());
                        dab(x + d * std::cos(a), y + d * std::sin(a), 0.5 + 2 * unit() * unit(),
                            paint);
                    }
                }
            }
        }
    }
    uint32_t CellColor(uint8_t paint) const override {
        static constexpr uint32_t kPaints[8] = {0xFFE8DCC0, 0xFF141414, 0xFFF4F0E8, 0xFFB03020,
                                                0xFFD8A030, 0xFF304878, 0xFF7A7468, 0xFF5A3A20};
        return kPaints[paint & 7u];
    }
};

// ---- 179: Belousov-Zhabotinsky ----

// The Greenberg-Hastings model of an excitable medium, the cellular picture of the reaction's
// spiral waves: a cell at rest (0) becomes excited (1) when a neighbour is excited; an excited
// cell turns refractory and counts up through 2 .. kStates - 1 back to rest. The neighbours
// are the four edge neighbours in even generations and all eight in odd ones, which makes the
// waves octagons rather than squares. The medium starts at rest with 50 broken wave fronts,
// each a random centre, direction and length: a row of excited cells with the whole
// refractory tail behind it, so that it can only move forward and its two free ends curl into
// a pair of spirals. It then runs kGenerations generations, one thread enough: each is a few
// hundred microseconds on vector lanes, too short to hand out to other threads.
class CPixelBelousovZhabotinsky final : public CAccumulatingEquation<uint8_t> {
public:
    explicit CPixelBelousovZhabotinsky(const EquationInfo& info)
        : CAccumulatingEquation(info), next_(size_t(width) * height) {}

protected:
    static constexpr int kStates = 28, kGenerations = 400;

    void Accumulate(uint8_t* cells, EquationContext& context) override {
        RandomStream& random = context.random;
        const int w = int(width), h = int(height);
        for (int front = 0; front < 50; ++front) {
            const int cx = random.Next() % w, cy = random.Next() % h;
            const double a = random.Next() / 32768.0 * 2 * kPi;
            const int length = 20 + random.Next() % 60;
            const double dx = std::cos(a),
                         dy = std::sin(a);  // along the front; it moves to (dy, -dx)
            for (int i = -length / 2; i < length / 2; ++i)
                for (int behind = 0; behind + 1 < kStates; ++behind) {
                    const int x = cx + int(std::lround(i * dx - behind * dy));
                    const int y = cy + int(std::lround(i * dy + behind * dx));
                    if (x >= 0 && y >= 0 && x < w && y < h)
                        cells[size_t(y) * width + size_t(x)] = uint8_t(1 + behind);
                }
        }
        uint8_t* now = cells;
        uint8_t* next = next_.data();
        for (int g = 0; g < kGenerations; ++g) {
            // A cancel stops between generations; the base clears what was drawn.
            if (context.Cancelled()) return;
            context.Progress(g, kGenerations);
            const bool diagonal = g % 2 == 1;
            for (int y = 0; y < h; ++y) {
                const uint8_t* up = now + size_t(std::max(y - 1, 0)) * width;
                const uint8_t* mid = now + size_t(y) * width;
                const uint8_t* down = now + size_t(std::min(y + 1, h - 1)) * width;
                uint8_t* out = next + size_t(y) * width;
                const uint8_t corners = diagonal ? 1 : 0;
                // Cell x from its neighbours at l and r (x - 1 and x + 1 inside the row): no
                // branches, so that the loop runs on vector lanes.
                auto cell = [&](int x, int l, int r) {
                    const uint8_t s = mid[x];
                    const uint8_t older = uint8_t(s + 1 == kStates ? 0 : s + 1);
                    const uint8_t edge =
                        (up[x] == 1) | (mid[l] == 1) | (mid[r] == 1) | (down[x] == 1);
                    const uint8_t corner =
                        (up[l] == 1) | (up[r] == 1) | (down[l] == 1) | (down[r] == 1);
                    out[x] = s != 0 ? older : uint8_t(edge | (corners & corner));
                };
                cell(0, 0, std::min(1, w - 1));
#pragma omp simd
                for (int x = 1; x < w - 1; ++x) cell(x, x - 1, x + 1);
                if (w > 1) cell(w - 1, w - 2, w - 1);
            }
            std::swap(now, next);
        }
        if (now != cells) std::copy(now, now + size_t(width) * height, cells);
    }
    // Excited fronts bright, fading through orange and red to the blue of the resting medium.
    uint32_t CellColor(uint8_t s) const override {
        static constexpr accum::RampStop kReaction[5] = {{0.0f, 0xFFFFF8E0},
                                                         {0.12f, 0xFFFFB030},
                                                         {0.35f, 0xFFC02818},
                                                         {0.7f, 0xFF401040},
                                                         {1.0f, 0xFF102060}};
        if (s == 0) return 0xFF102060;
        return accum::Ramp(kReaction, float(s - 1) / (kStates - 2));
    }

private:
    std::vector<uint8_t> next_;  // the other generation
};

// ---- 185: Ice Frost ----

// An ice crystal grown by noise-reduced diffusion-limited aggregation on a hexagonal lattice:
// a site freezes only at its kHits-th touch by a walker, which averages out the randomness of
// single walkers until the lattice's six directions win and the crystal grows six dendritic
// arms with side branches, like frost. Sites are kSpacing pixels apart; each pixel shows the
// site nearest its centre, by the order it froze in: deep blue ice in the middle, white at the
// young tips.
class CPixelIceFrost final : public CAccumulatingEquation<uint8_t> {
public:
    explicit CPixelIceFrost(const EquationInfo& info)
        : CAccumulatingEquation(info),
          lattice_{int(width / kSpacing) + 2, int(height / (kSpacing * 0.8660254037844386)) + 2,
                   true},
          sites_(size_t(lattice_.width) * size_t(lattice_.height)) {}

protected:
    static constexpr double kSpacing = 2.5;
    static constexpr uint32_t kHits = 4;

    void Accumulate(uint8_t* cells, EquationContext& context) override {
        std::fill(sites_.begin(), sites_.end(), 0u);
        const accum::SiteArray sites{sites_.data(), size_t(lattice_.width), 1};
        const int cx = lattice_.width / 2, cy = lattice_.height / 2 & ~1;
        const uint32_t reach = uint32_t(std::min(width, height) / kSpacing / 2) - 8;
        const uint32_t stuck = accum::Aggregate(lattice_, sites, context.random,
                                                {cx, cy, 1, 1000000, reach, 12000000, kHits});
        double ox, oy;  // the seed's position, at the picture's centre
        lattice_.Position(cx, cy, ox, oy);
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x) {
                int q, r;
                lattice_.Nearest(ox + (x + 0.5 - width / 2.0) / kSpacing,
                                 oy + (y + 0.5 - height / 2.0) / kSpacing, q, r);
                const bool on = q >= 0 && r >= 0 && q < lattice_.width && r < lattice_.height;
                const uint32_t order = on ? sites(q, r) : 0;
                cells[size_t(y) * width + x] = order ? uint8_t(1 + (order - 1) * 254 / stuck) : 0;
            }
    }
    uint32_t CellColor(uint8_t age) const override {
        static constexpr accum::RampStop kIce[5] = {{0.0f, 0xFF2A4A90},
                                                    {0.3f, 0xFF1E5AA0},
                                                    {0.6f, 0xFF60A8E0},
                                                    {0.85f, 0xFFC0E8FF},
                                                    {1.0f, 0xFFFFFFFF}};
        return age ? accum::Ramp(kIce, float(age) / 255.0f) : 0xFF04060C;
    }

private:
    accum::Lattice lattice_;
    std::vector<uint32_t> sites_;  // arrival numbers of the frozen sites
};

}  // namespace

EquationClassTable CanvasEquations() {
    static constexpr EquationClass kClasses[] = {
        {"CPixelTriangleRasterize", CreatePixelEquation<CPixelTriangleRasterize>},
        {"CPixelTriangleRasterize2", CreatePixelEquation<CPixelTriangleRasterize2>},
        {"CPixelKissingCircles", CreatePixelEquation<CPixelKissingCircles>},
        {"CPixelActionPainting", CreatePixelEquation<CPixelActionPainting>},
        {"CPixelBelousovZhabotinsky", CreatePixelEquation<CPixelBelousovZhabotinsky>},
        {"CPixelIceFrost", CreatePixelEquation<CPixelIceFrost>},
    };
    return kClasses;
}

}  // namespace luneth
