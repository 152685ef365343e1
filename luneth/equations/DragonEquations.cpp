// N-fold dragons and polygon games: random iterated function systems whose maps sit at the
// corners of a regular polygon, coloured by CountColour.
//
//   82 "Twon Dragon"        n maps z -> w_k - z/q (1 + i / (sqrt 3 |z|)), q = sqrt(1.25 n)
//   83 "Cooral Dragon"      the same with z mirrored first: coral-like fronds
//   98 "Woggle"             the twon step with a twist that wobbles with |z|
//   95 "General N Tile"     rep-tile-like sets (z + w_k) / b, |b| = sqrt n; n = 2 is the
//                           twindragon
//   80 "Henon IFS"          a contracted Henon fold placed at each corner
//   94 "Star Fractal"       the n-flake: n copies at the corners and a turned one in the middle
//   99 "Cross Carpet"       an n x n carpet keeping the middle cross (and one frame)
//   188-192 "Four Quadrangle" .. "Eight Octagon"
//                           chaos games on a polygon under the restriction picked by "Type"
// Every member but "Woggle" runs 20,000,000 steps of one orbit.
#include <algorithm>
#include <cmath>
#include <vector>

#include "equations/AccumulationHelpers.h"
#include "equations/EquationFamilies.h"

namespace luneth {

namespace {

using accum::CountGrid;
using accum::PlaneView;
using accum::Point;

constexpr uint32_t kOrbitSteps = 20000000;
constexpr double kPi = 3.14159265358979;
constexpr double kNoEscape = 1e100;

// Members whose parameter 0 "Several Side" gives the number of corners n.
class CSeveralSideEquation : public accum::CCountColouredEquation {
public:
    using CCountColouredEquation::CCountColouredEquation;

protected:
    uint32_t Sides(int lowest = 2) const {
        return uint32_t(accum::WholeParam(params[0], lowest, 16));
    }
};

// One orbit of n maps, map k tied to the corner w_k = (cos 2 pi k / n, sin 2 pi k / n), plotted
// from step 100 on. Maps says how: its constructor takes n, Step(p, w_k) moves the point, and
// kView, kSteps, kStart and kEscape frame the orbit (see RunOrbit).
template <typename Maps>
class CCornerMapEquation final : public CSeveralSideEquation {
public:
    using CSeveralSideEquation::CSeveralSideEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        const uint32_t n = Sides();
        std::vector<Point> w(n);
        for (uint32_t i = 0; i < n; ++i) {
            const double angle = static_cast<double>(static_cast<float>(i) * 6.2831855f) / n;
            w[i] = {std::cos(angle), std::sin(angle)};
        }
        const Maps maps(n);
        accum::RunOrbit(grid, context.random, Maps::kView, n, Maps::kSteps, 100, Maps::kStart,
                        Maps::kEscape, [&](Point p, uint32_t k) { return maps.Step(p, w[k]); });
    }
};

// The dragons around the twon step z -> w_k - z/q (1 + i / (sqrt 3 |z|)), q = sqrt(1.25 n),
// from (1, 1); L(z) = sqrt 3 |z| q.
struct TwonBase {
    static constexpr PlaneView kView{};
    static constexpr uint32_t kSteps = kOrbitSteps;
    static constexpr Point kStart{1.0, 1.0};
    static constexpr double kEscape = kNoEscape;
    explicit TwonBase(uint32_t n) : q(std::sqrt(n * 1.25)) {}
    double L(Point p) const { return std::sqrt((p.y * p.y + p.x * p.x) * 3) * q; }
    double q;
};

struct TwonMaps : TwonBase {
    using TwonBase::TwonBase;
    Point Step(Point p, Point w) const {
        const double l = L(p);
        return {p.y / l - p.x / q + w.x, w.y - (p.x / l + p.y / q)};
    }
};

// The same with z mirrored first: fronds like coral.
struct CooralMaps : TwonBase {
    using TwonBase::TwonBase;
    Point Step(Point p, Point w) const {
        const double l = L(p);
        return {w.x - p.x / q - p.y / l, w.y + p.y / q - p.x / l};
    }
};

// The twist i / (sqrt 3 |z|) replaced by one that wobbles with |z|: 0.5 i sin 3|z|. The sine
// costs a step more, so fewer steps draw the picture a little darker.
struct WoggleMaps : TwonBase {
    static constexpr PlaneView kView{0, 0, 230};
    static constexpr uint32_t kSteps = 12000000;
    using TwonBase::TwonBase;
    Point Step(Point p, Point w) const {
        const double s = 0.5 * std::sin(3 * std::sqrt(p.x * p.x + p.y * p.y));
        return {w.x - (p.x - s * p.y) / q, w.y - (p.y + s * p.x) / q};
    }
};

// Rep-tile-like sets: z -> (z + w_k) / b with b = sqrt(n) turned by pi / 2n, the twindragon's
// base 1 - i for n = 2 and the Eisenstein base for n = 3.
struct TileMaps {
    static constexpr PlaneView kView{0, 0, 300};
    static constexpr uint32_t kSteps = kOrbitSteps;
    static constexpr Point kStart{0, 0};
    static constexpr double kEscape = kNoEscape;
    explicit TileMaps(uint32_t n)
        : a(std::cos(-kPi / (2 * n)) / std::sqrt(double(n))),
          b(std::sin(-kPi / (2 * n)) / std::sqrt(double(n))) {}
    Point Step(Point p, Point w) const {
        const double u = p.x + w.x, v = p.y + w.y;
        return {a * u - b * v, a * v + b * u};
    }
    double a, b;  // 1 / b
};

// The Henon fold y - x^2 in the frame of corner k, shrunk (by half for three corners, more for
// more, so that the copies stay apart), turned by 5 radians and moved out to the corner.
struct HenonMaps {
    static constexpr PlaneView kView{0, 0, 300};
    static constexpr uint32_t kSteps = kOrbitSteps;
    static constexpr Point kStart{0, 0};
    static constexpr double kEscape = 10.0;
    explicit HenonMaps(uint32_t n)
        : a(0.5 * std::sqrt(3.0 / n) * std::cos(5.0)),
          b(0.5 * std::sqrt(3.0 / n) * std::sin(5.0)) {}
    Point Step(Point p, Point w) const {
        const double x = p.x * w.x + p.y * w.y;
        const double y = p.y * w.x - p.x * w.y - x * x;
        const double u = 1 + a * x - b * y, v = a * y + b * x;
        return {u * w.x - v * w.y, u * w.y + v * w.x};
    }
    double a, b;
};

using CPixelTwonDragon = CCornerMapEquation<TwonMaps>;
using CPixelCooralDragon = CCornerMapEquation<CooralMaps>;
using CPixelWoggle = CCornerMapEquation<WoggleMaps>;
using CPixelGeneralNTile = CCornerMapEquation<TileMaps>;
using CPixelHenonIFS = CCornerMapEquation<HenonMaps>;

// A point moving a fixed fraction of the way toward targets: p -> t + r (p - t), with an
// optional turn of the moved offset.
struct Contraction {
    double r = 0.5, cosTurn = 1.0, sinTurn = 0.0;
    Point Toward(Point p, Point t) const {
        const double dx = r * (p.x - t.x), dy = r * (p.y - t.y);
        return {t.x + cosTurn * dx - sinTurn * dy, t.y + sinTurn * dx + cosTurn * dy};
    }
};

class CPixelStarFractal final : public CSeveralSideEquation {
public:
    using CSeveralSideEquation::CSeveralSideEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        const uint32_t n = Sides(3);
        std::vector<Point> w(n);
        for (uint32_t k = 0; k < n; ++k) w[k] = accum::PolygonCorner(k, n);
        const Contraction outer{accum::FlakeRatio(n)};
        // The middle copy is turned half a corner so that its points face the gaps; it only
        // fits from five corners on.
        const Contraction middle{outer.r, std::cos(kPi / n), std::sin(kPi / n)};
        const uint32_t choices = n >= 5 ? n + 1 : n;
        accum::RunOrbit(grid, context.random, PlaneView{0, 0, 470}, choices, kOrbitSteps, 100,
                        {0, 0}, kNoEscape, [&](Point p, uint32_t k) {
                            return k < n ? outer.Toward(p, w[k]) : middle.Toward(p, {0, 0});
                        });
    }
};

class CPixelCrossCarpet final : public CSeveralSideEquation {
public:
    using CSeveralSideEquation::CSeveralSideEquation;

protected:
    // The kept cells of the n x n grid over the square [-1, 1]^2: the middle band of rows and
    // columns (one wide for odd n, two for even n) and, with "Pass Side" p > 0, the square
    // frame of cells p - 1 steps in from the border.
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        const int n = int(Sides(3));
        const int frame = accum::WholeParam(params[1], 0, 32) - 1;
        const int lo = (n - 1) / 2, hi = n / 2;
        std::vector<Point> corners;
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                const bool cross = (i >= lo && i <= hi) || (j >= lo && j <= hi);
                const int ring = std::min(std::min(i, j), std::min(n - 1 - i, n - 1 - j));
                if (!cross && ring != frame) continue;
                // the cell's fixed point: the grid point that maps to itself under the copy
                corners.push_back({-1 + 2.0 * i / (n - 1), -1 + 2.0 * j / (n - 1)});
            }
        const Contraction toward{1.0 / n};
        accum::RunOrbit(grid, context.random, PlaneView{0, 0, 480}, uint32_t(corners.size()),
                        kOrbitSteps, 100, {0, 0}, kNoEscape,
                        [&](Point p, uint32_t k) { return toward.Toward(p, corners[k]); });
    }
};

// The chaos game on a regular polygon: each step moves toward a random corner, where the
// choice is restricted relative to the corner chosen before; each "Type" is one restriction of
// the table below. Restricted games move halfway (at the polygon's touching ratio from six
// corners on); games that add the centre as one more target use the touching ratio of the
// polygon with a copy in the middle (at most a third), the Vicsek cross for the square.
struct PolygonGame {
    uint32_t forbidden;  // bit d set: the corner d steps on from the previous one is refused
    bool centre;
};
constexpr PolygonGame kPolygonGames[] = {
    {1u << 0, false},            // never the same corner twice in a row
    {1u << 1, false},            // never the next corner anticlockwise
    {1u << 2, false},            // never the corner two places on
    {1u << 31, false},           // never the next corner clockwise (bit 31 stands for n - 1)
    {0, true},                   // free, centre included
    {1u << 0, true},             // never the same corner, centre included
    {1u << 3, false},            // never the corner three places on
    {1u << 1 | 1u << 2, false},  // never one or two places on
    {1u << 0 | 1u << 3, false},  // never the same corner nor three places on
};

template <uint32_t N>
class CPolygonGameEquation final : public accum::CCountColouredEquation {
public:
    using CCountColouredEquation::CCountColouredEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        const int types = int(Info().params[0].max);
        const PolygonGame& game = kPolygonGames[accum::WholeParam(params[0], 0, types)];
        Point corner[N + 1];
        for (uint32_t i = 0; i < N; ++i) corner[i] = accum::PolygonCorner(i, N);
        corner[N] = {0, 0};
        const double flake = accum::FlakeRatio(N);
        const Contraction toward{game.centre ? std::min(flake, 1 / 3.0) : N <= 5 ? 0.5 : flake};
        const uint32_t choices = game.centre ? N + 1 : N;
        Point p{0, 0};
        uint32_t previous = 0;
        for (uint32_t d = 0; d < kOrbitSteps; ++d) {
            const uint32_t k = uint32_t(context.random.Next()) % choices;
            if (k < N && previous < N) {
                const uint32_t step = (k + N - previous) % N;
                const uint32_t bit = step == N - 1 && (game.forbidden >> 31) ? 31 : step;
                if (game.forbidden >> bit & 1u) continue;
            }
            p = toward.Toward(p, corner[k]);
            previous = k;
            if (d >= 100) PlaneView{0, 0, 470}.Plot(grid, p.x, p.y);
        }
    }
};

using CPixelQuadrangle = CPolygonGameEquation<4>;
using CPixelPentagon = CPolygonGameEquation<5>;
using CPixelHexagonal = CPolygonGameEquation<6>;
using CPixelHeptagon = CPolygonGameEquation<7>;
using CPixelOctagon = CPolygonGameEquation<8>;

}  // namespace

EquationClassTable DragonEquations() {
    static constexpr EquationClass kClasses[] = {
        {"CPixelTwonDragon", CreatePixelEquation<CPixelTwonDragon>},
        {"CPixelCooralDragon", CreatePixelEquation<CPixelCooralDragon>},
        {"CPixelWoggle", CreatePixelEquation<CPixelWoggle>},
        {"CPixelGeneralNTile", CreatePixelEquation<CPixelGeneralNTile>},
        {"CPixelHenonIFS", CreatePixelEquation<CPixelHenonIFS>},
        {"CPixelStarFractal", CreatePixelEquation<CPixelStarFractal>},
        {"CPixelCrossCarpet", CreatePixelEquation<CPixelCrossCarpet>},
        {"CPixelQuadrangle", CreatePixelEquation<CPixelQuadrangle>},
        {"CPixelPentagon", CreatePixelEquation<CPixelPentagon>},
        {"CPixelHexagonal", CreatePixelEquation<CPixelHexagonal>},
        {"CPixelHeptagon", CreatePixelEquation<CPixelHeptagon>},
        {"CPixelOctagon", CreatePixelEquation<CPixelOctagon>},
    };
    return kClasses;
}

}  // namespace luneth
