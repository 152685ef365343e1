// What the accumulating equations share: reading parameters safely, plotting plane points into
// a working buffer, the perspective floor, the count colouring, a few colour ramps, and the
// loop that follows one orbit of randomly chosen maps.
//
//   WholeParam, RealParam        a parameter clamped into its range (NaN gives the low end)
//   CountGrid<Cell>              a working buffer seen as width x height counters
//   PlaneView                    plane point -> pixel (scale pixels a unit around a centre)
//   FloorValue, LayFloor         the floor pattern 0 .. 53 and painting it into empty cells
//   CountColour                  the shared colouring of counts (with the floor)
//   CCountingEquation            base of the equations that count into 32-bit cells
//   CCountColouredEquation       ... coloured by CountColour
//   RunOrbit                     one orbit of randomly chosen maps, plotted into a grid
//   PolygonCorner, FlakeRatio    regular polygons and the ratio at which their copies touch
//   Ramp                         a colour ramp through a few stops
//   Threads                      the threads a fill may use where its result allows it
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "common/Parallel.h"
#include "equations/PixelEquation.h"
#include "equations/PixelHelpers.h"

namespace luneth::accum {

// ---- parameters ----

// trunc(v) clamped into [lo, hi]; NaN gives lo.
inline int WholeParam(float v, int lo, int hi) {
    if (!(v >= static_cast<float>(lo))) return lo;
    if (v >= static_cast<float>(hi)) return hi;
    return static_cast<int>(v);
}

// v clamped into [lo, hi]; NaN gives lo.
inline double RealParam(float v, double lo, double hi) {
    if (!(v >= lo)) return lo;
    return v > hi ? hi : v;
}

inline int Threads(const EquationContext& context) { return ResolveThreadCount(context.threads); }

// ---- the working buffer as counters ----

template <typename Cell>
class CountGrid {
public:
    // The largest count a cell holds; 32-bit cells keep their top bit for the floor code.
    static constexpr Cell kMaxCount =
        sizeof(Cell) == 4 ? Cell(0x7FFFFFFF) : std::numeric_limits<Cell>::max();

    CountGrid(Cell* cells, uint32_t width, uint32_t height)
        : cells_(cells), width_(width), height_(height) {}

    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    Cell* Cells() const { return cells_; }
    Cell& At(uint32_t x, uint32_t y) const { return cells_[size_t(y) * width_ + x]; }

    // One more visit of pixel (x, y); a full cell stays full instead of wrapping.
    void Add(uint32_t x, uint32_t y) const {
        Cell& c = At(x, y);
        if (c < kMaxCount) ++c;
    }

    // Adds a visit to pixel (trunc fx, trunc fy) when both lie in 1 .. size - 1; points off the
    // picture, infinities and NaN are skipped.
    bool Plot(double fx, double fy) const {
        if (!(fx >= 1.0 && fx < width_ && fy >= 1.0 && fy < height_)) return false;
        Add(static_cast<uint32_t>(fx), static_cast<uint32_t>(fy));
        return true;
    }

private:
    Cell* cells_;
    uint32_t width_, height_;
};

// Plane point (u, v) to pixel coordinates: `scale` pixels a unit, (cx, cy) at the picture's
// centre, v growing downward (or upward with yUp).
struct PlaneView {
    double cx = 0.0, cy = 0.0, scale = 256.0;
    bool yUp = false;

    template <typename Cell>
    bool Plot(const CountGrid<Cell>& grid, double u, double v) const {
        const double fx = (u - cx) * scale + grid.Width() / 2;
        const double dy = (v - cy) * scale;
        return grid.Plot(fx, yUp ? grid.Height() / 2 - dy : dy + grid.Height() / 2);
    }
};

// ---- the perspective floor ----

// Diagonal bands 0 .. 53 that narrow toward the top of the picture, like a floor seen in
// perspective; x and y are pixel coordinates of a picture about 1024 wide.
inline uint32_t FloorValue(uint32_t x, uint32_t y) {
    const float s = 99.0f / static_cast<float>(y + 99);
    const float sum =
        static_cast<float>(3000 - static_cast<int32_t>(x)) * s + static_cast<float>(y) * s;
    const int32_t k = static_cast<int32_t>(sum) % 107;
    return static_cast<uint32_t>(k > 53 ? k - 53 : 53 - k);
}

// Writes code(FloorValue(x, y)) into every empty cell but cell 0, which stays free for the
// finished mark. The colour of a cell then needs the cell alone.
template <typename Code>
void LayFloor(uint32_t* cells, uint32_t width, uint32_t height, int threads, Code code) {
    ParallelFor(height, threads, [&](size_t row) {
        const uint32_t y = static_cast<uint32_t>(row);
        uint32_t* line = cells + size_t(y) * width;
        for (uint32_t x = y == 0 ? 1 : 0; x < width; ++x)
            if (line[x] == 0) line[x] = code(FloorValue(x, y));
    });
}

// ---- the count colouring ----

// A cell holding the floor value v is kFloorTag | v; a count is below kFloorTag.
constexpr uint32_t kFloorTag = 0x80000000u;

// The floor in dark red; a count n as R = min(n, 255), G = n^1.05, B = n^0.95 (each clamped
// to 0 .. 255 and truncated), so rare visits are dark grey and frequent ones light green-white.
inline uint32_t CountColour(uint32_t cell) {
    if (cell & kFloorTag) return Rgb(cell & 0xFFu, 0, 0);
    auto channel = [](double power) {
        const float v = static_cast<float>(power);
        return v < 0.0f ? 0u : v > 255.0f ? 255u : static_cast<uint32_t>(v);
    };
    const double n = cell;
    return Rgb(cell < 255 ? cell : 255, channel(std::pow(n, 1.05)), channel(std::pow(n, 0.95)));
}

// Equations that count into 32-bit cells: Count fills them, Finish readies them for colouring.
class CCountingEquation : public CAccumulatingEquation<uint32_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;

protected:
    // Counts the visits of the equation's orbits or walks.
    virtual void Count(const CountGrid<uint32_t>& grid, EquationContext& context) = 0;
    virtual void Finish(uint32_t* cells, const EquationContext& context) = 0;

private:
    void Accumulate(uint32_t* cells, EquationContext& context) final {
        Count(CountGrid<uint32_t>(cells, width, height), context);
        Finish(cells, context);
    }
};

// Counts shown with CountColour over the floor.
class CCountColouredEquation : public CCountingEquation {
public:
    using CCountingEquation::CCountingEquation;

private:
    void Finish(uint32_t* cells, const EquationContext& context) final {
        LayFloor(cells, width, height, Threads(context), [](uint32_t v) { return kFloorTag | v; });
    }
    uint32_t CellColor(uint32_t cell) const final { return CountColour(cell); }
};

// ---- orbits of randomly chosen maps ----

struct Point {
    double x, y;
};

// Follows one orbit from `start` for `steps` steps: each step draws k = Next() mod `choices`
// and moves to step(p, k); from step `skip` on every point is plotted. A point that is not
// finite or leaves the disc of radius `escape` restarts the orbit at `start`.
template <typename Cell, typename Step>
void RunOrbit(const CountGrid<Cell>& grid, RandomStream& random, const PlaneView& view,
              uint32_t choices, uint32_t steps, uint32_t skip, Point start, double escape,
              Step step) {
    Point p = start;
    const double limit = escape * escape;
    for (uint32_t d = 0; d < steps; ++d) {
        const uint32_t k = static_cast<uint32_t>(random.Next()) % choices;
        p = step(p, k);
        if (!(p.x * p.x + p.y * p.y <= limit)) {
            p = start;
            continue;
        }
        if (d >= skip) view.Plot(grid, p.x, p.y);
    }
}

// ---- regular polygons ----

// Corner k of the regular n-gon on the unit circle, corner 0 straight up (y grows downward).
inline Point PolygonCorner(uint32_t k, uint32_t n) {
    const double a = 2 * 3.14159265358979 * k / n;
    return {std::sin(a), -std::cos(a)};
}

// The ratio at which n copies of a regular n-gon, one at each corner, just touch.
inline double FlakeRatio(uint32_t n) {
    double sum = 1.0;
    for (uint32_t j = 1; j <= n / 4; ++j) sum += std::cos(2 * 3.14159265358979 * j / n);
    return 1.0 / (2.0 * sum);
}

// ---- colour ramps ----

struct RampStop {
    float at;  // position 0 .. 1, increasing along the ramp
    uint32_t colour;
};

// The colour at t (clamped to the ramp's ends), blended linearly between neighbouring stops.
template <size_t N>
uint32_t Ramp(const RampStop (&stops)[N], float t) {
    if (!(t > stops[0].at)) return stops[0].colour;
    for (size_t i = 1; i < N; ++i) {
        if (t > stops[i].at) continue;
        const float w = (t - stops[i - 1].at) / (stops[i].at - stops[i - 1].at);
        auto mix = [&](int shift) {
            const float a = float((stops[i - 1].colour >> shift) & 0xFF);
            const float b = float((stops[i].colour >> shift) & 0xFF);
            return static_cast<uint32_t>(a + (b - a) * w + 0.5f);
        };
        return Rgb(mix(16), mix(8), mix(0));
    }
    return stops[N - 1].colour;
}

}  // namespace luneth::accum
