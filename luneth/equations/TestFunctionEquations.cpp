// Test-function landscapes: the classic functions that optimisers are tried on, drawn as maps.
//
// Index of this file:
//   Functions     Schwefel, Rastrigin, Ackley, Himmelblau, Eggholder
//   Palettes      heat, terrain and four cool ones
//   Landscapes    one table row a picture: "Schwefel", "Schwefel New", "Cool 1" .. "Cool 4"
//
// Every picture is one function over a square window of its plane (y up), its height mapped
// through a palette, optionally on a log scale, shaded as a relief lit from the upper left,
// with contour lines one pixel wide and a ring around the known global minimum. The height
// range comes from a scan of the window when the equation is built, so each palette spans
// exactly the values on show.
#include <algorithm>
#include <array>
#include <cmath>

#include "common/FloatConstants.h"
#include "common/Parallel.h"
#include "equations/EquationFamilies.h"
#include "equations/ShadingHelpers.h"

namespace luneth {

namespace {

// =============================================================================================
// Functions
// =============================================================================================

// Schwefel's function in two dimensions: 418.9829 d - sum x sin(sqrt|x|), a rugged field whose
// global minimum (near 420.97, 420.97) lies far from the next best ones.
float Schwefel(float x, float y) {
    return 837.9658f - x * std::sin(std::sqrt(std::fabs(x))) -
           y * std::sin(std::sqrt(std::fabs(y)));
}

// An egg box of cosines over a bowl: a regular grid of local minima around the one at 0.
float Rastrigin(float x, float y) {
    return 20.0f + x * x - 10.0f * std::cos(kTwoPi * x) + y * y - 10.0f * std::cos(kTwoPi * y);
}

// A nearly flat plain of ripples that falls into a deep funnel at 0.
float Ackley(float x, float y) {
    return -20.0f * std::exp(-0.2f * std::sqrt(0.5f * (x * x + y * y))) -
           std::exp(0.5f * (std::cos(kTwoPi * x) + std::cos(kTwoPi * y))) + 2.7182817f + 20.0f;
}

// Four equal minima, at (3, 2), (-2.805, 3.131), (-3.779, -3.283) and (3.584, -1.848).
float Himmelblau(float x, float y) {
    const float a = x * x + y - 11.0f, b = x + y * y - 7.0f;
    return a * a + b * b;
}

// Folded ridges of sines, the minimum in the corner at (512, 404.23).
float Eggholder(float x, float y) {
    const float v = y + 47.0f;
    return -v * std::sin(std::sqrt(std::fabs(x / 2.0f + v))) -
           x * std::sin(std::sqrt(std::fabs(x - v)));
}

// =============================================================================================
// Palettes (five stops each, low to high)
// =============================================================================================

using Palette = std::array<Rgbf, 5>;

constexpr Palette kHeat = {{{0.03f, 0.02f, 0.22f},
                            {0.42f, 0.08f, 0.52f},
                            {0.86f, 0.28f, 0.30f},
                            {0.99f, 0.62f, 0.18f},
                            {0.99f, 0.96f, 0.62f}}};
constexpr Palette kTerrain = {{{0.06f, 0.30f, 0.16f},
                               {0.36f, 0.56f, 0.24f},
                               {0.76f, 0.68f, 0.42f},
                               {0.52f, 0.36f, 0.24f},
                               {0.97f, 0.97f, 0.99f}}};
// Cyan to magenta.
constexpr Palette kCool = {{{0.00f, 1.00f, 1.00f},
                            {0.25f, 0.75f, 1.00f},
                            {0.50f, 0.50f, 1.00f},
                            {0.75f, 0.25f, 1.00f},
                            {1.00f, 0.00f, 1.00f}}};
constexpr Palette kIce = {{{0.02f, 0.04f, 0.18f},
                           {0.06f, 0.22f, 0.50f},
                           {0.16f, 0.55f, 0.78f},
                           {0.56f, 0.86f, 0.95f},
                           {0.97f, 1.00f, 1.00f}}};
constexpr Palette kAurora = {{{0.01f, 0.06f, 0.16f},
                              {0.00f, 0.40f, 0.45f},
                              {0.10f, 0.78f, 0.60f},
                              {0.45f, 0.50f, 0.95f},
                              {0.90f, 0.75f, 1.00f}}};
constexpr Palette kDusk = {{{0.05f, 0.05f, 0.25f},
                            {0.20f, 0.20f, 0.60f},
                            {0.45f, 0.35f, 0.85f},
                            {0.80f, 0.55f, 0.90f},
                            {1.00f, 0.90f, 0.98f}}};

// =============================================================================================
// Landscapes
// =============================================================================================

struct Landscape {
    float (*f)(float x, float y);
    float halfSize;  // the window: [-halfSize, halfSize] squared
    bool logScale;   // heights as log(1 + (f - min) / (0.001 range))
    const Palette* palette;
    float lines;   // a map's contour levels, a surface's mesh lines across the window (0: none)
    float relief;  // strength of a map's hill shading (0: flat)
    bool ringMinimum;
    float minX, minY;  // the global minimum, when ringed
};

constexpr Landscape kSchwefel = {Schwefel, 500,  false,     &kHeat,   16,
                                 0.6f,     true, 420.9687f, 420.9687f};
constexpr Landscape kSchwefelNew = {Schwefel, 500, false, &kTerrain, 20, 0, false, 0, 0};
constexpr Landscape kCool1 = {Rastrigin, 5.12f, false, &kCool, 12, 1.5f, false, 0, 0};
constexpr Landscape kCool2 = {Ackley, 5, false, &kIce, 20, 0, false, 0, 0};
constexpr Landscape kCool3 = {Himmelblau, 5, true, &kAurora, 14, 1.0f, false, 0, 0};
constexpr Landscape kCool4 = {Eggholder, 512, false, &kDusk, 10, 2.0f, false, 0, 0};

// A landscape's heights normalised to [0, 1] over its window; the range is measured on a grid
// of samples when the equation is built.
class HeightField {
public:
    explicit HeightField(const Landscape& land) : land_(land) {
        constexpr int kSteps = 256;
        float lo = land.f(0, 0), hi = lo;
        for (int j = 0; j <= kSteps; ++j) {
            for (int i = 0; i <= kSteps; ++i) {
                const float v = land.f((2.0f * i / kSteps - 1.0f) * land.halfSize,
                                       (2.0f * j / kSteps - 1.0f) * land.halfSize);
                lo = std::min(lo, v), hi = std::max(hi, v);
            }
        }
        low_ = lo;
        range_ = hi > lo ? hi - lo : 1.0f;
    }

    float operator()(float x, float y) const {
        const float v = (land_.f(x, y) - low_) / range_;
        if (!land_.logScale) return v;
        return std::log1p(std::max(v, 0.0f) * 1000.0f) / std::log1p(1000.0f);
    }

private:
    const Landscape& land_;
    float low_ = 0.0f, range_ = 1.0f;
};

// How much of colour `c` a line keeps at distance `d` pixels from the line's centre.
Rgbf DarkenNearLine(Rgbf c, float d, float strength) {
    return Mix(c, c * (1.0f - strength), 1.0f - Smoothstep(0.5f, 1.5f, d));
}

// The landscape as a map seen from above: the window fills the shorter side, y up.
template <const Landscape& kLand>
class CLandscapeMap final : public CPixelEquation {
public:
    explicit CLandscapeMap(const EquationInfo& info) : CPixelEquation(info), height_(kLand) {
        const float side = static_cast<float>(std::max(1u, std::min(width, height)));
        unit_ = 2.0f * kLand.halfSize / side;
        left_ = -unit_ * static_cast<float>(width) / 2.0f;
        top_ = unit_ * static_cast<float>(height) / 2.0f;
    }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const Vec2 p = PixelPoint(x, y, left_, top_, unit_, -unit_);
        const float h = height_(p.x(), p.y());
        // Slopes in height per pixel, from half a pixel either side.
        const float half = 0.5f * unit_;
        const float gx = height_(p.x() + half, p.y()) - height_(p.x() - half, p.y());
        const float gy = height_(p.x(), p.y() - half) - height_(p.x(), p.y() + half);

        Rgbf c = Ramp(*kLand.palette, h);
        if (kLand.relief > 0.0f) {
            const float k = kLand.relief * 100.0f;
            const float light = Dot(Normalize(Vec3{-gx * k, -gy * k, 1.0f}), kLightFromUpperLeft);
            c = c * (0.55f + 0.55f * Saturate(light));
        }
        if (kLand.lines > 0.0f) {
            // Levels half a step off the round values: symmetric functions (Schwefel's is odd
            // in each coordinate) sit exactly on a round level along whole straight lines.
            const float u = h * kLand.lines + 0.5f;
            const float slope = std::sqrt(gx * gx + gy * gy) * kLand.lines;
            c = DarkenNearLine(c, std::fabs(u - std::round(u)) / std::max(slope, 1e-6f), 0.65f);
        }
        if (kLand.ringMinimum) {
            const float dx = (p.x() - kLand.minX) / unit_, dy = (p.y() - kLand.minY) / unit_;
            const float ring = std::fabs(std::sqrt(dx * dx + dy * dy) - 9.0f);
            c = Mix(c, Rgbf{1, 1, 1}, 1.0f - Smoothstep(1.0f, 2.0f, ring));
        }
        return Pack(c);
    }

private:
    static constexpr Vec3 kLightFromUpperLeft = {-0.55f, -0.55f, 0.63f};
    HeightField height_;
    float unit_ = 1.0f, left_ = 0.0f, top_ = 0.0f;
};

// The landscape as a solid block seen from a front corner, 30 degrees above, in parallel
// projection: a surface plot with a mesh of lines across it.
//
// A parallel projection keeps vertical lines vertical, so every picture column shows one
// vertical slice of the block. Each column walks its slice front to back and paints only what
// rises above everything painted before (a floating horizon): exact hidden surfaces, one pass.
template <const Landscape& kLand>
class CLandscapeSurface final : public CCanvasEquation {
public:
    explicit CLandscapeSurface(const EquationInfo& info) : CCanvasEquation(info), height_(kLand) {}

protected:
    void Accumulate(uint32_t* cells, EquationContext&) override {
        const uint32_t w = width, h = height;
        ParallelFor(w, 0, [&](size_t column) { PaintColumn(cells, w, h, uint32_t(column)); });
    }

private:
    static constexpr float kZScale = 0.6f;                    // block height, in half window widths
    static constexpr float kSinE = 0.5f, kCosE = 0.8660254f;  // the 30 degree elevation
    static constexpr float kDiagonal = 0.70710678f;

    void PaintColumn(uint32_t* cells, uint32_t w, uint32_t h, uint32_t column) const {
        // Window units: x and y in [-1, 1]; the block's corner faces the viewer, so the
        // picture's width spans the window's diagonal, 2 sqrt 2, with a margin.
        const float scale = static_cast<float>(w) * 0.92f / 2.828427f;
        const float cy = static_cast<float>(h) * 0.5f;
        const float centreUp = kZScale * kCosE * 0.5f;  // middle of the block's picture
        const float s = (static_cast<float>(column) + 0.5f - static_cast<float>(w) * 0.5f) / scale;
        const auto rowOf = [&](float d, float z) {
            return cy - (d * kSinE + z * kCosE - centreUp) * scale;
        };

        // Background first: a soft vertical gradient.
        for (uint32_t y = 0; y < h; ++y) {
            const float t = static_cast<float>(y) / static_cast<float>(h);
            cells[size_t(y) * w + column] =
                Pack(Mix(Rgbf{0.93f, 0.95f, 0.98f}, Rgbf{0.70f, 0.76f, 0.85f}, t));
        }
        // The slice: points s * right + d * forward, d from near to far, with right = (1, -1)
        // and forward = (1, 1) over sqrt 2 (the viewer stands at the corner (-1, -1)).
        const float step = 0.25f / (scale * kSinE);  // a quarter of a pixel row
        float top = static_cast<float>(h);           // rows at and below are painted
        bool inside = false;
        Rgbf previous{0, 0, 0};
        float previousRow = top;
        for (float d = -2.0f * kDiagonal; d <= 2.0f * kDiagonal; d += step) {
            const float u = (s + d) * kDiagonal, v = (d - s) * kDiagonal;
            if (std::fabs(u) > 1.0f || std::fabs(v) > 1.0f) {
                if (inside) break;  // left the block at its far side
                continue;
            }
            const float x = u * kLand.halfSize, y = v * kLand.halfSize;
            const float z = height_(x, y) * kZScale;
            const float row = rowOf(d, z);
            const Rgbf colour = SurfaceColour(x, y, z / kZScale, scale);
            if (!inside) {
                // The front face of the block, from its foot up to the surface.
                inside = true;
                const float foot = rowOf(d, -0.12f);
                const Rgbf side = Ramp(*kLand.palette, 0.3f) * 0.75f;
                top = std::min(top, std::max(std::ceil(foot - 0.5f), 0.0f));
                Fill(cells, w, column, row, foot, side, side * 0.5f, top);
                previous = colour, previousRow = row;
                continue;
            }
            Fill(cells, w, column, row, previousRow, colour, previous, top);
            previous = colour, previousRow = row;
        }
    }

    // Paints rows from `upper` down to (not including) the painted top, blending from the
    // upper row's colour to the lower one's.
    static void Fill(uint32_t* cells, uint32_t w, uint32_t column, float upper, float lower,
                     Rgbf upperColour, Rgbf lowerColour, float& top) {
        const float first = std::max(std::ceil(upper - 0.5f), 0.0f);
        if (!(first < top)) return;
        const float span = std::max(lower - upper, 1e-3f);
        for (float r = first; r < top; r += 1.0f) {
            const float t = Saturate((r + 0.5f - upper) / span);
            cells[size_t(r) * w + column] = Pack(Mix(upperColour, lowerColour, t));
        }
        top = first;
    }

    Rgbf SurfaceColour(float x, float y, float z, float scale) const {
        const float e = 0.002f * kLand.halfSize;
        const float zx = (height_(x + e, y) - height_(x - e, y)) * kZScale / 0.004f;
        const float zy = (height_(x, y + e) - height_(x, y - e)) * kZScale / 0.004f;
        const Vec3 n = Normalize(Vec3{-zx, -zy, 1.0f});
        const float light = Saturate(Dot(n, Normalize(Vec3{-0.3f, -0.8f, 0.8f})));
        Rgbf c = Ramp(*kLand.palette, z) * (0.35f + 0.75f * light);
        if (kLand.lines > 0.0f) {
            // Mesh lines about a pixel wide whatever the window.
            const float gx = (x / kLand.halfSize + 1.0f) * 0.5f * kLand.lines;
            const float gy = (y / kLand.halfSize + 1.0f) * 0.5f * kLand.lines;
            const float pixel = kLand.lines * 0.5f / scale;
            const float d =
                std::min(std::fabs(gx - std::round(gx)), std::fabs(gy - std::round(gy)));
            c = DarkenNearLine(c, d / pixel, 0.45f);
        }
        return c;
    }

    HeightField height_;
};

using CPixelSchwefel = CLandscapeMap<kSchwefel>;
using CPixelSchwefelNew = CLandscapeSurface<kSchwefelNew>;
using CPixelCool1 = CLandscapeMap<kCool1>;
using CPixelCool2 = CLandscapeSurface<kCool2>;
using CPixelCool3 = CLandscapeMap<kCool3>;
using CPixelCool4 = CLandscapeMap<kCool4>;

constexpr EquationClass kTestFunctionEquations[] = {
    {"CPixelSchwefel", CreatePixelEquation<CPixelSchwefel>},
    {"CPixelSchwefelNew", CreatePixelEquation<CPixelSchwefelNew>},
    {"CPixelCool1", CreatePixelEquation<CPixelCool1>},
    {"CPixelCool2", CreatePixelEquation<CPixelCool2>},
    {"CPixelCool3", CreatePixelEquation<CPixelCool3>},
    {"CPixelCool4", CreatePixelEquation<CPixelCool4>},
};

}  // namespace

EquationClassTable TestFunctionEquations() { return kTestFunctionEquations; }

}  // namespace luneth
