// Orbit pictures with colourings of their own: maps followed through the plane, their visits
// marked or counted in the working buffer, then coloured.
//
//  103 "Popcorn"              Pickover's popcorn map from a grid of start points, white orbits
//                             over the red floor
//  186 "IFS Tree"             a random IFS of five affine maps, 100,000,000 steps
//  187 "Martin Iterate"       Martin's hopalong map, coloured by when the orbit came by
//  183 "Feigenbaum Logistic"  the bifurcation diagram of x -> r x (1 - x), ink on paper
//  184 "Logistic Map"         its chaotic end, r from 3.4 to 4, as a glowing density
//  180-182 "Buddhabrot 1..3"  escaping orbits of z -> z^2 + c: grey, tinted by three scales,
//                             and the three-limit "nebula" colouring
//  100 "Trianguloid"          a symmetric chaos icon of Field and Golubitsky with three-fold
//                             symmetry
//  102 "Measure Function"     the self-similar measure of an n-gon gasket whose corners are
//                             chosen with unequal weights
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <complex>
#include <vector>

#include "equations/AccumulationHelpers.h"
#include "equations/EquationFamilies.h"

namespace luneth {

namespace {

using accum::CountGrid;
using accum::PlaneView;
using accum::Ramp;
using accum::RampStop;

constexpr double kPi = 3.14159265358979;

// ---- 103: Popcorn ----

class CPixelPopcorn final : public CAccumulatingEquation<uint32_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;

    // The most steps one computation takes: beyond it the orbits are shortened, so that the
    // smallest grid step with the longest orbits still finishes in seconds, not hours.
    static constexpr uint64_t kStepBudget = uint64_t(1) << 27;

protected:
    void Accumulate(uint32_t* cells, EquationContext& context) override {
        const double scale = accum::RealParam(params[0], 0.1, 10);
        const double h = accum::RealParam(params[1], -10, 10);
        const uint32_t m = uint32_t(accum::WholeParam(params[2], 4, 1 << 30));
        const uint32_t columns = (width + m - 1) / m, rows = (height + m - 1) / m;
        const uint64_t starts = uint64_t(columns) * rows;
        const uint32_t n = uint32_t(
            std::min<uint64_t>(accum::WholeParam(params[3], 0, 10000000), kStepBudget / starts));
        const int32_t hw = int32_t(width / 2), hh = int32_t(height / 2);
        // Start points are independent and every visit writes the same word: rows of starts
        // run on all threads with the same result.
        ParallelFor(rows, accum::Threads(context), [&](size_t row) {
            const int32_t py = int32_t(row * m);
            for (uint32_t px = 0; px < width; px += m) {
                double x = (int32_t(px) - hw) * 2 * scale / width;
                double y = (py - hh) * 2 * scale / height;
                // A point seen again closes a cycle whose points are all drawn already: the
                // rest of the orbit would only draw them again (Brent's check, against the
                // point kept at each power of two steps).
                double keptX = x, keptY = y;
                uint32_t power = 1, since = 0;
                for (uint32_t i = 0; i < n; ++i) {
                    const double r = std::sin(std::tan(3 * x) + x);
                    x = x - h * std::sin(std::tan(3 * y) + y);
                    y = y - h * r;
                    if (!std::isfinite(x + y)) break;  // lost for good: no later point plots
                    const double t = x * hw * scale + hw, u = y * hh * scale + hh;
                    if (t >= 1 && t < width && u >= 1 && u < height)
                        std::atomic_ref<uint32_t>(cells[size_t(u) * width + size_t(t)])
                            .store(0xFFFFFFFFu, std::memory_order_relaxed);
                    if (x == keptX && y == keptY) break;
                    if (++since == power) keptX = x, keptY = y, power *= 2, since = 0;
                }
            }
        });
        accum::LayFloor(cells, width, height, accum::Threads(context),
                        [](uint32_t v) { return kOpaqueBlack | v << 16; });
    }
    // Orbits are white words, empty cells hold the floor's colour, the mark answers 1.
    uint32_t CellColor(uint32_t cell) const override { return cell; }
};

// ---- 186: IFS Tree ----

class CPixelIFSTree final : public CAccumulatingEquation<uint32_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;

protected:
    void Accumulate(uint32_t* cells, EquationContext& context) override {
        struct Map {
            double bound, a, b, e, c, d, f;
        };
        static constexpr Map kMaps[5] = {
            {0.25, 0.433, 0.344, 0.2452, -0.488, 0.195, 0.4431},
            {0.5, 0.361, -0.252, 0.5692, 0.414, 0.462, 0.2511},
            {0.75, -0.111, 0.453, 0.0969, -0.07, -0.058, 0.5976},
            {0.95, -0.022, -0.469, 0.5069, 0.07, -0.035, 0.4884},
            {2.0, 0.501, 0.0, 0.2513, 0.0, -0.637, 0.8562},
        };
        // The map of every draw r, decided once by p = r / 32767 against the bounds.
        static const auto kChoice = [] {
            std::array<uint8_t, kRandMax + 1> choice{};
            for (int r = 0; r <= kRandMax; ++r) {
                const float p = static_cast<float>(r) / 32767.0f;
                while (p > kMaps[choice[r]].bound) ++choice[r];
            }
            return choice;
        }();
        CountGrid<uint32_t> grid(cells, width, height);
        float x = 0.0f, y = 0.0f;
        for (uint32_t i = 0; i < 100000000; ++i) {
            const Map& m = kMaps[kChoice[context.random.Next()]];
            const float nx = static_cast<float>(m.a * x + m.b * y + m.e);
            const float ny = static_cast<float>(m.c * x + m.d * y + m.f);
            // pixel x from y', pixel y from -x', wrapped around the edges
            grid.Add(uint32_t(int32_t(1024.0f * ny)) & 1023u,
                     uint32_t(int32_t(-1024.0f * nx)) & 1023u);
            x = nx, y = ny;
        }
    }
    uint32_t CellColor(uint32_t n) const override {
        if (n == 0) return kOpaqueBlack;
        auto channel = [](double v) { return v < 0 ? 0u : v > 255 ? 255u : uint32_t(v); };
        return Rgb(channel(32 * std::log(double(n))), channel(56 * std::log(1.2 * n)), n);
    }
};

// ---- density pictures: counts shown on a ramp, relative to the busiest pixel ----

// The position of count n on a ramp: ln(1 + n) / ln(1 + peak), at most 1.
float DensityOf(uint32_t n, uint32_t peak) {
    return peak ? std::min(1.0f, float(std::log1p(double(n)) / std::log1p(double(peak)))) : 0.0f;
}

// The same as sqrt(n / peak), which keeps rare visits dark.
float SoftDensityOf(uint32_t n, uint32_t peak) {
    return peak ? std::min(1.0f, float(std::sqrt(double(n) / double(peak)))) : 0.0f;
}

// The count that only one visited pixel in a thousand exceeds: a few hot spots would set the
// scale too high and leave the rest dark.
uint32_t Peak(const uint32_t* cells, size_t count) {
    std::vector<uint32_t> visited;
    for (size_t i = 0; i < count; ++i)
        if (cells[i]) visited.push_back(cells[i]);
    if (visited.empty()) return 0;
    const auto at = visited.begin() + ptrdiff_t(visited.size() * 999 / 1000);
    std::nth_element(visited.begin(), at, visited.end());
    return *at;
}

// Equations whose counts go through a density curve onto a ramp of colours.
template <const RampStop (&Stops)[5], float (*Density)(uint32_t, uint32_t) = DensityOf>
class CDensityEquation : public accum::CCountingEquation {
public:
    using CCountingEquation::CCountingEquation;

private:
    void Finish(uint32_t* cells, const EquationContext&) final {
        peak_ = Peak(cells, size_t(width) * height);
    }
    uint32_t CellColor(uint32_t n) const final { return Ramp(Stops, Density(n, peak_)); }

    uint32_t peak_ = 0;
};

constexpr RampStop kEmber[5] = {{0.0f, 0xFF000000},
                                {0.25f, 0xFF5A0A00},
                                {0.5f, 0xFFC03A00},
                                {0.75f, 0xFFFFB020},
                                {1.0f, 0xFFFFFFE0}};
constexpr RampStop kGlow[5] = {{0.0f, 0xFF000010},
                               {0.3f, 0xFF0A2A70},
                               {0.55f, 0xFF1090C0},
                               {0.8f, 0xFF90F0F0},
                               {1.0f, 0xFFFFFFFF}};
constexpr RampStop kMoon[5] = {{0.0f, 0xFF000000},
                               {0.3f, 0xFF202838},
                               {0.55f, 0xFF6A7890},
                               {0.8f, 0xFFC8D0E0},
                               {1.0f, 0xFFFFFFFF}};
constexpr RampStop kIcon[5] = {{0.0f, 0xFF05050F},
                               {0.3f, 0xFF401060},
                               {0.55f, 0xFFB02070},
                               {0.8f, 0xFFFF9030},
                               {1.0f, 0xFFFFFFC0}};

// ---- 183, 184: bifurcation diagrams of the logistic map ----

// One column per r from rFrom to rTo: x starts at 0.5, runs 1000 steps to settle, and
// `counted` more are counted in the column, x = 1 in row 1 and x = 0 in the last row.
// Columns are independent: they run on all threads.
template <typename Cell>
void LogisticColumns(const CountGrid<Cell>& grid, int threads, double rFrom, double rTo,
                     uint32_t counted) {
    const uint32_t w = grid.Width(), h = grid.Height();
    ParallelFor(w, threads, [&](size_t column) {
        const double r = rFrom + (rTo - rFrom) * double(column) / (w - 1);
        double x = 0.5;
        for (int i = 0; i < 1000; ++i) x = r * x * (1 - x);
        for (uint32_t i = 0; i < counted; ++i) {
            x = r * x * (1 - x);
            const double row = (1 - x) * (h - 2) + 1;
            if (row >= 1 && row < h) grid.Add(uint32_t(column), uint32_t(row));
        }
    });
}

// The chaotic end, r from 3.4 to 4, as a glowing density.
class CPixelLogisticMap final : public CDensityEquation<kGlow> {
public:
    using CDensityEquation::CDensityEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        LogisticColumns(grid, accum::Threads(context), 3.4, 4.0, 4000);
    }
};

// The whole cascade, r from 2.5 to 4, in 8-bit counts that stop at 255: dark ink on paper,
// darker where the orbits crowd.
class CPixelFeigenbaumLogistic final : public CAccumulatingEquation<uint8_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;

protected:
    void Accumulate(uint8_t* cells, EquationContext& context) override {
        LogisticColumns(CountGrid<uint8_t>(cells, width, height), accum::Threads(context), 2.5, 4.0,
                        3000);
    }
    uint32_t CellColor(uint8_t n) const override {
        const uint32_t ink = n >= 32 ? 0 : 230 - n * 7;
        return n ? Rgb(ink, ink, ink + 20 > 255 ? 255 : ink + 20) : 0xFFF4EFE4;
    }
};

// ---- 187: Martin Iterate ----

// x' = y - sign(x) sqrt(|B x - C|), y' = A - x from (0, 0), 20,000,000 steps; Scale pixels
// times 4 a unit. A pixel keeps the sixteenth of the orbit that came by last, and each
// sixteenth has its own hue, so the rings of the hopalong picture show their age.
class CPixelMartinIterate final : public CAccumulatingEquation<uint32_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;

protected:
    static constexpr uint32_t kSteps = 20000000, kBands = 16;

    void Accumulate(uint32_t* cells, EquationContext&) override {
        const double a = accum::RealParam(params[0], -5, 5), b = accum::RealParam(params[1], -5, 5);
        const double c = accum::RealParam(params[2], -5, 5);
        const PlaneView view{0, 0, 4 * accum::RealParam(params[3], 0.1, 10), true};
        const CountGrid<uint32_t> grid(cells, width, height);
        double x = 0, y = 0;
        for (uint32_t i = 0; i < kSteps; ++i) {
            const double root = std::sqrt(std::fabs(b * x - c));
            const double nx = y - (x > 0 ? root : x < 0 ? -root : 0);
            y = a - x, x = nx;
            const double fx = (x - view.cx) * view.scale + width / 2;
            const double fy = height / 2 - (y - view.cy) * view.scale;
            if (fx >= 0 && fx < width && fy >= 0 && fy < height)
                grid.At(uint32_t(fx), uint32_t(fy)) = 1 + i / (kSteps / kBands);
        }
    }
    uint32_t CellColor(uint32_t band) const override {
        if (band == 0 || band > kBands) return kOpaqueBlack;
        // hues around the wheel, one band after the other
        const float hue = float(band - 1) / kBands * 6.0f;
        const int sector = int(hue);
        const float f = hue - float(sector);
        const uint32_t up = uint32_t(255 * f), down = 255 - up;
        switch (sector) {
            case 0:
                return Rgb(255, up, 40);
            case 1:
                return Rgb(down, 255, 40);
            case 2:
                return Rgb(40, 255, up);
            case 3:
                return Rgb(40, down, 255);
            case 4:
                return Rgb(up, 40, 255);
            default:
                return Rgb(255, 40, down);
        }
    }
};

// ---- 100: Trianguloid ----

// z' = (l + a |z|^2 + b Re(z^3) + i w) z + g conj(z)^2: three-fold symmetric, here with
// l = 1.56, a = -1, b = 0.1, g = -0.82, w = 0 (a shape of Field and Golubitsky's).
class CPixelTrianguloid final : public CDensityEquation<kIcon> {
public:
    using CDensityEquation::CDensityEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext&) override {
        const double l = 1.56, a = -1.0, b = 0.1, g = -0.82;
        const PlaneView view{0, 0, 300, true};
        std::complex<double> z(0.01, 0.003);
        for (uint32_t i = 0; i < 20000000; ++i) {
            const double zz = std::norm(z), re3 = std::real(z * z * z);
            z = (l + a * zz + b * re3) * z + g * std::conj(z) * std::conj(z);
            if (!(std::norm(z) < 1e6)) z = {0.01, 0.003};
            if (i >= 100) view.Plot(grid, z.real(), z.imag());
        }
    }
};

// ---- 102: Measure Function ----

// The n-gon gasket (n copies at the touching ratio, corner 0 at the top) with corner k chosen
// with weight (k + 1)^2: the same set carries a measure that is dense in some parts, thin in
// others, and the picture shows that measure's density.
class CPixelMeasureFunction final : public CDensityEquation<kEmber> {
public:
    using CDensityEquation::CDensityEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        const uint32_t n = uint32_t(accum::WholeParam(params[0], 2, 16));
        const double r = accum::FlakeRatio(n);
        std::vector<accum::Point> corner(n);
        std::vector<double> running(n);  // cumulative weights
        double total = 0;
        for (uint32_t k = 0; k < n; ++k) {
            corner[k] = accum::PolygonCorner(k, n);
            running[k] = total += (k + 1.0) * (k + 1.0);
        }
        double low = -1;  // the lowest corner, to centre the polygon's height
        for (const accum::Point& c : corner) low = std::max(low, c.y);
        const PlaneView view{0, (low - 1) / 2, 500};
        accum::Point p{0, 0};
        for (uint32_t i = 0; i < 20000000; ++i) {
            const double draw = context.random.Next() / 32768.0 * total;
            uint32_t k = 0;
            while (k + 1 < n && draw >= running[k]) ++k;
            p = {corner[k].x + r * (p.x - corner[k].x), corner[k].y + r * (p.y - corner[k].y)};
            if (i >= 50) view.Plot(grid, p.x, p.y);
        }
    }
};

// ---- 180-182: Buddhabrots ----

// Points c of [-2, 1] x [-1.5, 1.5], each from two pairs of draws (30 bits a coordinate),
// skipping the main cardioid and the period-2 disc, whose orbits never escape. The orbit of an
// escaping c is followed again and every point of it counts, mirrored too (the picture is
// symmetric), with the real axis upright: the Buddha sits.
struct BuddhaView {
    static bool Inside(std::complex<double> c) {
        const double x = c.real() - 0.25, y2 = c.imag() * c.imag();
        const double q = x * x + y2;
        if (q * (q + x) <= 0.25 * y2) return true;  // main cardioid
        return (c.real() + 1) * (c.real() + 1) + y2 <= 1.0 / 16;
    }
    static std::complex<double> Sample(RandomStream& random) {
        auto unit = [&] {
            const uint32_t hi = uint32_t(random.Next()), lo = uint32_t(random.Next());
            return double(hi << 15 | lo) / double(1u << 30);
        };
        const double re = -2 + 3 * unit();
        return {re, -1.5 + 3 * unit()};
    }
    // Adds the visit of z, and of its mirror, to their cells through bump, real part down the
    // picture; with `shared`, other threads may bump the same cells at the same time.
    template <typename Bump>
    static void Plot(const CountGrid<uint32_t>& grid, std::complex<double> z, uint32_t n, Bump bump,
                     bool shared) {
        const double scale = grid.Height() / 3.2;
        const double fy = (z.real() + 0.5) * scale + grid.Height() / 2;
        for (const double im : {z.imag(), -z.imag()}) {
            const double fx = im * scale + grid.Width() / 2;
            if (!(fx >= 0 && fx < grid.Width() && fy >= 0 && fy < grid.Height())) continue;
            uint32_t& cell = grid.At(uint32_t(fx), uint32_t(fy));
            if (!shared) {
                cell = bump(cell, n);
                continue;
            }
            std::atomic_ref<uint32_t> a(cell);
            uint32_t old = a.load(std::memory_order_relaxed);
            while (!a.compare_exchange_weak(old, bump(old, n), std::memory_order_relaxed)) {
            }
        }
    }
};

// Samples `samples` points c; the orbit of a c escaping |z| > 2 after n steps, kShortestOrbit
// <= n < limit, is replayed, each of its points setting its cell to bump(cell, n). The points
// are drawn in order, a chunk at a time; the orbits of a chunk then run on all threads. Every
// bump commutes with every other (a count, or counts stopping at a cap), so the picture is
// the same in any order.
constexpr uint32_t kShortestOrbit = 8;

template <typename Bump>
void BuddhaOrbits(const CountGrid<uint32_t>& grid, EquationContext& context, uint32_t samples,
                  uint32_t limit, Bump bump) {
    constexpr uint32_t kChunk = 1 << 18, kPieces = 32;
    const int threads = accum::Threads(context);
    std::vector<std::complex<double>> chunk(kChunk);
    for (uint32_t first = 0; first < samples; first += kChunk) {
        const uint32_t count = std::min(kChunk, samples - first);
        for (uint32_t i = 0; i < count; ++i) chunk[i] = BuddhaView::Sample(context.random);
        ParallelFor(threads > 1 ? kPieces : 1, threads, [&](size_t piece) {
            std::vector<std::complex<double>> orbit(limit);
            const uint32_t pieces = threads > 1 ? kPieces : 1;
            for (uint32_t i = count * uint32_t(piece) / pieces;
                 i < count * uint32_t(piece + 1) / pieces; ++i) {
                const std::complex<double> c = chunk[i];
                if (BuddhaView::Inside(c)) continue;
                std::complex<double> z = 0;
                uint32_t n = 0;
                while (n < limit && std::norm(z) <= 4.0) z = z * z + c, orbit[n++] = z;
                // Still bound: not part of the picture. Escaping at once: a faint haze over the
                // whole disc |c| < 2 that only veils the figure.
                if (std::norm(z) <= 4.0 || n < kShortestOrbit) continue;
                for (uint32_t k = 0; k + 1 < n; ++k)
                    BuddhaView::Plot(grid, orbit[k], n, bump, threads > 1);
            }
        });
    }
}

// One more visit, stopping short of wrapping.
uint32_t Visit(uint32_t cell, uint32_t) { return cell < 0xFFFFFFFFu ? cell + 1 : cell; }

constexpr uint32_t kBuddhaSamples = 3000000;

class CPixelBuddhabrot1 final : public CDensityEquation<kMoon, SoftDensityOf> {
public:
    using CDensityEquation::CDensityEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        BuddhaOrbits(grid, context, kBuddhaSamples, 500, Visit);
    }
};

// Each channel is trunc(Scale x sqrt(n) / 1.5), clamped to 255: the scales are the channels'
// gains.
class CPixelBuddhabrot2 final : public CAccumulatingEquation<uint32_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;

protected:
    void Accumulate(uint32_t* cells, EquationContext& context) override {
        BuddhaOrbits(CountGrid<uint32_t>(cells, width, height), context, kBuddhaSamples, 1000,
                     Visit);
    }
    uint32_t CellColor(uint32_t n) const override {
        const double level = std::sqrt(double(n)) / 1.5;
        auto channel = [&](float scale) {
            const double v = accum::RealParam(scale, 10, 1000) * level;
            return v > 255 ? 255u : uint32_t(v);
        };
        return Rgb(channel(params[0]), channel(params[1]), channel(params[2]));
    }
};

// The nebula colouring: red counts orbits that escape within 1000 steps, green within 200,
// blue within 40, each channel relative to its own busiest pixel. The three counts share the
// cell, ten bits each (saturating at 1023), red highest.
class CPixelBuddhabrot3 final : public CAccumulatingEquation<uint32_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;

protected:
    static constexpr uint32_t kLimits[3] = {1000, 200, 40};

    void Accumulate(uint32_t* cells, EquationContext& context) override {
        const CountGrid<uint32_t> grid(cells, width, height);
        BuddhaOrbits(grid, context, kBuddhaSamples, kLimits[0], [](uint32_t cell, uint32_t n) {
            for (int ch = 0; ch < 3; ++ch) {
                const int shift = 20 - 10 * ch;
                if (n < kLimits[ch] && (cell >> shift & 1023u) < 1023u) cell += 1u << shift;
            }
            return cell;
        });
        std::vector<uint32_t> channel(size_t(width) * height);
        for (int ch = 0; ch < 3; ++ch) {
            for (size_t i = 0; i < channel.size(); ++i)
                channel[i] = cells[i] >> (20 - 10 * ch) & 1023u;
            peaks_[ch] = Peak(channel.data(), channel.size());
        }
    }
    uint32_t CellColor(uint32_t cell) const override {
        uint32_t rgb[3];
        for (int ch = 0; ch < 3; ++ch)
            rgb[ch] = uint32_t(255 * SoftDensityOf((cell >> (20 - 10 * ch)) & 1023u, peaks_[ch]));
        return Rgb(rgb[0], rgb[1], rgb[2]);
    }

private:
    uint32_t peaks_[3] = {};
};

}  // namespace

EquationClassTable OrbitEquations() {
    static constexpr EquationClass kClasses[] = {
        {"CPixelPopcorn", CreatePixelEquation<CPixelPopcorn>},
        {"CPixelIFSTree", CreatePixelEquation<CPixelIFSTree>},
        {"CPixelLogisticMap", CreatePixelEquation<CPixelLogisticMap>},
        {"CPixelFeigenbaumLogistic", CreatePixelEquation<CPixelFeigenbaumLogistic>},
        {"CPixelMartinIterate", CreatePixelEquation<CPixelMartinIterate>},
        {"CPixelTrianguloid", CreatePixelEquation<CPixelTrianguloid>},
        {"CPixelMeasureFunction", CreatePixelEquation<CPixelMeasureFunction>},
        {"CPixelBuddhabrot1", CreatePixelEquation<CPixelBuddhabrot1>},
        {"CPixelBuddhabrot2", CreatePixelEquation<CPixelBuddhabrot2>},
        {"CPixelBuddhabrot3", CreatePixelEquation<CPixelBuddhabrot3>},
    };
    return kClasses;
}

}  // namespace luneth
