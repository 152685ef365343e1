// Orbits, inverse Julia iterations, iterated function systems and walks coloured by
// CountColour (see AccumulationHelpers.h): every cell counts the visits of its pixel.
//
//   79 "Henon"                  the rotated area-preserving Henon map, restarted at random
//   81 "Star Julia"             inverse iteration of z^p + c, p = 3, 4, 5 by "Type"
//   84 "San Marco Dragon"       inverse iteration of z^2 - 3/4
//   90 "Reverse Julia"          inverse iteration of z^2 + (A + iB), orbits kept with chance P
//   91 "Rational"               inverse iteration of z^3 + l / z^3: Cantor circles
//   92 "Inverse Tree"           inverse iteration of z^2 + i: the dendrite
//   85 "Grinch Dragon"          Heighway's dragon from its two maps
//   86 "Pascal Triangle"        Pascal's triangle mod 3 as a self-similar set
//   87 "Diaxial Plane"          a Bedford-McMullen carpet: different scales along the two axes
//   89 "Lace"                   six turned thirds around a hexagon
//   93 "Similarity Dimension"   a gasket of unequal ratios, weighted by its similarity dimension
//   96 "Apollony Fractal"       the Apollonian gasket as the limit set of four inversions
//  101 "Rogers Rings"           rings of rings: a turn and six contractions around a circle
//  104 "Mauldin Gasket"         a graph-directed gasket of halves and thirds
//   88 "Mandelbrot Factor"      the Mandelbrot set of the logistic factor l in l z (1 - z)
//  105 "DLA"                    diffusion-limited aggregation from a seed in the middle
//  106 "Tree Root Attractor"    the same grown from the top edge by walkers from below: roots
#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#include "equations/AccumulationHelpers.h"
#include "equations/Aggregation.h"
#include "equations/EquationFamilies.h"

namespace luneth {

namespace {

using accum::CountGrid;
using accum::PlaneView;
using accum::Point;
using Complex = std::complex<double>;

constexpr uint32_t kSteps = 20000000;
// An inverse step takes roots: costlier than a forward step, and the thin curves it traces
// are as bright after fewer of them.
constexpr uint32_t kInverseSteps = 4000000;
constexpr double kPi = 3.14159265358979;

// ---- 79: Henon ----

class CPixelHenon final : public accum::CCountColouredEquation {
public:
    using CCountColouredEquation::CCountColouredEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        const double angle = params[0];
        const double a = std::cos(angle), b = std::sin(angle);
        double x = 0.0, y = 0.0;
        for (uint32_t i = 0; i < kSteps; ++i) {
            if (!(x * x + y * y <= 100.0) || i % 10000 == 0) {
                x = 2.0 * context.random.Next() / 32767.0 - 1.0;
                y = 2.0 * context.random.Next() / 32767.0 - 1.0;
            }
            y = y - x * x;
            const double nx = a * x - b * y, ny = a * y + b * x;
            x = nx, y = ny;
            // y grows upward: the value g counts rows from the bottom edge
            const double g = y * 256 + 512;
            if (g >= 1.0 && g < 1024.0) grid.Plot(x * 256 + 512, 1024 - static_cast<int>(g));
        }
    }
};

// ---- inverse iterations: z runs backward along z -> z^p + c, one random root a step ----

// The principal p-th root of z.
Complex Root(Complex z, int p) {
    return std::polar(std::pow(std::abs(z), 1.0 / p), std::arg(z) / p);
}

// An orbit of kInverseSteps random preimages under a map whose preimages `preimage(z, k)` are
// numbered 0 .. choices - 1.
template <typename Preimage>
void InverseOrbit(const CountGrid<uint32_t>& grid, EquationContext& context, const PlaneView& view,
                  uint32_t choices, Preimage preimage) {
    accum::RunOrbit(grid, context.random, view, choices, kInverseSteps, 50, {1.0, 0.5}, 1e6,
                    [&](Point p, uint32_t k) {
                        const Complex z = preimage(Complex(p.x, p.y), k);
                        return Point{z.real(), z.imag()};
                    });
}

class CPixelStarJulia final : public accum::CCountColouredEquation {
public:
    using CCountColouredEquation::CCountColouredEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        // Constants just inside tips of the degree-3, 4 and 5 Mandelbrot sets, where the
        // critical orbit lands on a fixed point: their Julia sets are dendrites with three, four
        // and five arms, stars.
        static const Complex kConstant[3] = {
            {-0.33381, -1.24581}, {-1.23472, 0.0}, {0.87515, 0.74745}};
        const int type = accum::WholeParam(params[0], 0, 2), p = type + 3;
        const Complex c = kConstant[type];
        std::vector<Complex> turn(p);
        for (int j = 0; j < p; ++j) turn[j] = std::polar(1.0, 2 * kPi * j / p);
        InverseOrbit(grid, context, PlaneView{0, 0, 300, true}, uint32_t(p),
                     [&](Complex z, uint32_t k) { return Root(z - c, p) * turn[k]; });
    }
};

// The two square roots of z - c: the sign by k.
Complex SquareRootOf(Complex z, Complex c, bool negative) {
    const Complex r = std::sqrt(z - c);
    return negative ? -r : r;
}

// Inverse iteration of z^2 + c: one of the two square roots of z - c a step.
// The constant comes as a type (clang 14 takes no floating-point template arguments).
template <class C>
class CSquareRootJulia final : public accum::CCountColouredEquation {
public:
    using CCountColouredEquation::CCountColouredEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        InverseOrbit(grid, context, PlaneView{0, 0, 300, true}, 2, [](Complex z, uint32_t k) {
            return SquareRootOf(z, Complex(C::kRe, C::kIm), k);
        });
    }
};

struct SanMarco {
    static constexpr double kRe = -0.75, kIm = 0.0;
};
struct Dendrite {
    static constexpr double kRe = 0.0, kIm = 1.0;
};
using CPixelInverseSanMarcoDragon = CSquareRootJulia<SanMarco>;
using CPixelInverseTree = CSquareRootJulia<Dendrite>;

// A fair draw picks the root; P is the chance that the orbit goes on at each step, so with
// chance 1 - P it restarts at a random point of [-2, 2]^2 and is plotted again from its
// tenth step on, when it has come close to the set.
class CPixelReverseJulia final : public accum::CCountColouredEquation {
public:
    using CCountColouredEquation::CCountColouredEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        const Complex c(accum::RealParam(params[0], -2, 2), accum::RealParam(params[1], -2, 2));
        const double p = accum::RealParam(params[2], 0, 1);
        const int keep = static_cast<int>(p * 32768.0);
        const PlaneView view{0, 0, 300, true};
        RandomStream& random = context.random;
        Complex z(1.0, 0.5);
        uint32_t age = 0;
        for (uint32_t d = 0; d < kInverseSteps; ++d) {
            if (random.Next() >= keep) {
                const double x = random.Next() / 8192.0 - 2, y = random.Next() / 8192.0 - 2;
                z = Complex(x, y), age = 0;
            }
            z = SquareRootOf(z, c, random.Next() & 1);
            if (++age >= 10) view.Plot(grid, z.real(), z.imag());
        }
    }
};

class CPixelRational final : public accum::CCountColouredEquation {
public:
    using CCountColouredEquation::CCountColouredEquation;

protected:
    // w = z^3 + l / z^3 gives z^3 = (w +- sqrt(w^2 - 4 l)) / 2, then one of three cube roots.
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        const double lambda = -0.01;
        const Complex turn[3] = {1.0, std::polar(1.0, 2 * kPi / 3), std::polar(1.0, 4 * kPi / 3)};
        InverseOrbit(grid, context, PlaneView{0, 0, 420, true}, 6, [&](Complex w, uint32_t k) {
            const Complex s = std::sqrt(w * w - 4 * lambda);
            const Complex cube = (k < 3 ? w + s : w - s) * 0.5;
            return Root(cube, 3) * turn[k % 3];
        });
    }
};

// ---- iterated function systems ----

// x' = a x + b y + e, y' = c x + d y + f.
struct Affine {
    double a, b, c, d, e, f;
    Point operator()(Point p) const { return {a * p.x + b * p.y + e, c * p.x + d * p.y + f}; }
};

// z -> s e^(i turn) z + t: a similarity.
Affine Similarity(double s, double turn, Point t) {
    const double cs = s * std::cos(turn), sn = s * std::sin(turn);
    return {cs, -sn, sn, cs, t.x, t.y};
}

// One orbit of an IFS whose map k is drawn with probability weight[k] / sum (equal weights
// when `weights` is empty): the draw r = Next() picks the first map whose cumulative share of
// 32768 exceeds r.
void RunIFS(const CountGrid<uint32_t>& grid, EquationContext& context, const PlaneView& view,
            const std::vector<Affine>& maps, const std::vector<double>& weights = {}) {
    std::vector<uint32_t> bound(maps.size());
    double total = 0, running = 0;
    for (size_t i = 0; i < maps.size(); ++i) total += weights.empty() ? 1.0 : weights[i];
    for (size_t i = 0; i < maps.size(); ++i) {
        running += weights.empty() ? 1.0 : weights[i];
        bound[i] = static_cast<uint32_t>(running / total * 32768.0 + 0.5);
    }
    bound.back() = 32768;
    Point p{0, 0};
    for (uint32_t d = 0; d < kSteps; ++d) {
        const uint32_t r = uint32_t(context.random.Next());
        size_t k = 0;
        while (r >= bound[k]) ++k;
        p = maps[k](p);
        if (d >= 50) view.Plot(grid, p.x, p.y);
    }
}

// A family of one IFS: the maps, their weights and the view, built once.
struct IfsPicture {
    std::vector<Affine> maps;
    std::vector<double> weights;
    PlaneView view;
};

template <IfsPicture (*Build)()>
class CIfsEquation final : public accum::CCountColouredEquation {
public:
    using CCountColouredEquation::CCountColouredEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        static const IfsPicture picture = Build();
        RunIFS(grid, context, picture.view, picture.maps, picture.weights);
    }
};

// Heighway's dragon: z -> (1 + i) z / 2 and z -> 1 - (1 - i) z / 2.
IfsPicture GrinchDragon() {
    return {{{0.5, -0.5, 0.5, 0.5, 0, 0}, {-0.5, -0.5, 0.5, -0.5, 1, 0}}, {}, {0.38, 0.16, 560}};
}

// Pascal's triangle mod 3: the three rows of a triangle of side 3, each entry nonzero mod 3,
// make six thirds of the triangle.
IfsPicture PascalTriangle() {
    IfsPicture p{{}, {}, {0, -0.433, 480}};
    const double h = std::sqrt(3.0) / 2;
    for (int row = 0; row < 3; ++row)
        for (int i = 0; i <= row; ++i)
            p.maps.push_back({1 / 3.0, 0, 0, 1 / 3.0, (2 * i - row) / 3.0, -h + row * 2 * h / 3});
    return p;
}

// A Bedford-McMullen carpet: the unit square in 4 columns and 3 rows, keeping a cell pattern;
// each kept cell is the square shrunk by 1/4 across and 1/3 down, so the two axes scale apart.
IfsPicture DiaxialPlane() {
    static const char* const kRows[3] = {"X..X", ".XX.", "X..X"};
    IfsPicture p{{}, {}, {0.5, 0.5, 860}};
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i)
            if (kRows[j][i] == 'X') p.maps.push_back({0.25, 0, 0, 1 / 3.0, i / 4.0, j / 3.0});
    return p;
}

// Six copies at a third, turned by 30 degrees, around a hexagon.
IfsPicture Lace() {
    IfsPicture p{{}, {}, {0, 0, 420}};
    for (int k = 0; k < 6; ++k) {
        const double a = kPi / 3 * k;
        p.maps.push_back(
            Similarity(1 / 3.0, kPi / 6, {2 / 3.0 * std::cos(a), 2 / 3.0 * std::sin(a)}));
    }
    return p;
}

// Ratios 0.55, 0.45 and 0.4 at the corners of a triangle; each map is chosen with probability
// r^D, D the similarity dimension (the root of the Moran equation sum r^D = 1), which spreads
// the points evenly over the set.
IfsPicture SimilarityDimension() {
    const double ratio[3] = {0.55, 0.45, 0.4};
    double lo = 0, hi = 2;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2;
        double sum = 0;
        for (double r : ratio) sum += std::pow(r, mid);
        (sum > 1 ? lo : hi) = mid;
    }
    IfsPicture p{{}, {}, {0, -0.25, 560}};
    for (int k = 0; k < 3; ++k) {
        const Point corner = accum::PolygonCorner(k, 3);
        const double r = ratio[k];
        p.maps.push_back({r, 0, 0, r, (1 - r) * corner.x, (1 - r) * corner.y});
        p.weights.push_back(std::pow(r, lo));
    }
    return p;
}

// A turn by the golden angle about the centre (which lays out circles) and six contractions
// to a ring around it, chosen more often than the turn.
IfsPicture RogersRings() {
    IfsPicture p{{Similarity(1, 2 * kPi * 0.381966, {0, 0})}, {3}, {0, 0, 400}};
    for (int k = 0; k < 6; ++k) {
        const double a = kPi / 3 * k;
        p.maps.push_back(Similarity(0.3, 0, {0.68 * std::cos(a), 0.68 * std::sin(a)}));
        p.weights.push_back(1);
    }
    return p;
}

// ---- the Apollonian gasket: inversions in the four circles dual to a packing ----

struct Circle {
    Complex centre;
    double radius;
    Complex Invert(Complex z) const {
        const Complex d = z - centre;
        return centre + radius * radius / std::conj(d);
    }
};

// The circle through three points.
Circle Circumcircle(Complex a, Complex b, Complex c) {
    const Complex ab = b - a, ac = c - a;
    const double d = 2 * (ab.real() * ac.imag() - ab.imag() * ac.real());
    const double p = std::norm(ab), q = std::norm(ac);
    const Complex centre =
        a + Complex((ac.imag() * p - ab.imag() * q) / d, (ab.real() * q - ac.real() * p) / d);
    return {centre, std::abs(centre - a)};
}

// The unit circle holds three equal circles that touch it and each other. Each triple of the
// four touches in three points; the circle through them meets the triple at right angles, and
// inverting in it swaps the fourth circle with the next one of the packing. The four inversions
// generate the gasket: an orbit that never undoes its last inversion runs over it.
class CPixelApollonyFractal final : public accum::CCountColouredEquation {
public:
    using CCountColouredEquation::CCountColouredEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        const double r = 1 / (1 + 2 / std::sqrt(3.0));
        Complex centre[3], outer[3];
        for (int k = 0; k < 3; ++k) {
            const Complex dir = std::polar(1.0, kPi / 2 + 2 * kPi * k / 3);
            centre[k] = (1 - r) * dir, outer[k] = dir;
        }
        auto between = [&](int i, int j) { return (centre[i] + centre[j]) * 0.5; };
        Circle dual[4] = {Circumcircle(between(0, 1), between(1, 2), between(2, 0)),
                          Circumcircle(outer[0], outer[1], between(0, 1)),
                          Circumcircle(outer[1], outer[2], between(1, 2)),
                          Circumcircle(outer[2], outer[0], between(2, 0))};
        const PlaneView view{0, 0, 480, true};
        Complex z(0.1, 0.05);
        uint32_t last = 4;
        for (uint32_t d = 0; d < kSteps; ++d) {
            uint32_t k = uint32_t(context.random.Next()) % 3;
            if (k >= last) ++k;  // one of the three others
            z = dual[k].Invert(z), last = k;
            if (d >= 50) view.Plot(grid, z.real(), z.imag());
        }
    }
};

// ---- a graph-directed gasket ----

// Two kinds of triangle: a triangle of kind A is made of its three corner halves, each of kind
// B; one of kind B is made of the six thirds of Pascal's triangle mod 3, each of kind A. An
// orbit therefore alternates: from a point of A one of B's six maps, from B one of A's three.
class CPixelMauldinGasket final : public accum::CCountColouredEquation {
public:
    using CCountColouredEquation::CCountColouredEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        const double h = std::sqrt(3.0) / 2;
        const Point top{0, -h}, left{-1, h}, right{1, h};  // kind A and B share this triangle
        Affine halves[3], thirds[6];
        const Point corner[3] = {top, left, right};
        for (int k = 0; k < 3; ++k)
            halves[k] = {0.5, 0, 0, 0.5, corner[k].x * 0.5, corner[k].y * 0.5};
        int m = 0;
        for (int row = 0; row < 3; ++row)
            for (int i = 0; i <= row; ++i) {
                // the third whose top corner is row steps down the left side and i across
                const Point t{top.x + (row * (left.x - top.x) + i * (right.x - left.x)) / 3,
                              top.y + row * (left.y - top.y) / 3};
                thirds[m++] = {1 / 3.0, 0, 0, 1 / 3.0, t.x - top.x / 3, t.y - top.y / 3};
            }
        const PlaneView view{0, 0, 500};
        Point p{0, 0};
        for (uint32_t d = 0; d < kSteps; ++d) {
            const uint32_t r = uint32_t(context.random.Next());
            p = d % 2 ? halves[r % 3](p) : thirds[r % 6](p);
            if (d >= 50) view.Plot(grid, p.x, p.y);
        }
    }
};

using CPixelGrinchDragon = CIfsEquation<GrinchDragon>;
using CPixelPascalTriangle = CIfsEquation<PascalTriangle>;
using CPixelDiaxialPlane = CIfsEquation<DiaxialPlane>;
using CPixelLace = CIfsEquation<Lace>;
using CPixelSpecificSimilarityDimension = CIfsEquation<SimilarityDimension>;
using CPixelRogersRings = CIfsEquation<RogersRings>;

// ---- 88: the Mandelbrot set of the logistic factor ----

// For each pixel's factor l the critical point 1/2 of z -> l z (1 - z) is iterated; the cell
// counts 4 for each step before |z| passes 2 (at most 255 in all), so the set itself stays
// empty and shows the floor.
class CPixelMandelFactor final : public accum::CCountColouredEquation {
public:
    using CCountColouredEquation::CCountColouredEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        const double scale = 1024.0 / 6.4;  // l from -2.2 to 4.2 across
        ParallelFor(grid.Height(), accum::Threads(context), [&](size_t row) {
            const uint32_t y = uint32_t(row);
            const double li = (y - grid.Height() / 2.0) / scale;
            for (uint32_t x = 0; x < grid.Width(); ++x) {
                const Complex l((x - grid.Width() / 2.0) / scale + 1.0, li);
                Complex z(0.5, 0.0);
                uint32_t n = 0;
                while (n < 255 && std::norm(z) <= 4.0) z = l * z * (1.0 - z), ++n;
                if (std::norm(z) > 4.0) grid.At(x, y) = std::min(4 * n, 255u);
            }
        });
    }
};

// ---- 105, 106: diffusion-limited aggregation ----

// The cluster grows on a square lattice of half the picture's resolution: site (x, y) is kept
// in the cell of pixel (2x, 2y) while it grows and drawn as a 2 x 2 block at the end. The
// arrival numbers become counts from 255 for the seed down to 40 for the last site, so the old
// core is bright and the young tips dark.
void GrowCluster(const CountGrid<uint32_t>& grid, RandomStream& random, accum::Aggregation a) {
    const accum::Lattice lattice{int(grid.Width() / 2), int(grid.Height() / 2), false};
    const accum::SiteArray sites{grid.Cells(), size_t(grid.Width()) * 2, 2};
    a.seedX /= 2, a.seedY /= 2, a.reach /= 2;
    const uint32_t stuck = accum::Aggregate(lattice, sites, random, a);
    for (int y = 0; y < lattice.height; ++y)
        for (int x = 0; x < lattice.width; ++x) {
            uint32_t& c = sites(x, y);
            if (!c) continue;
            c = 255 - (c - 1) * 215 / stuck;
            grid.At(uint32_t(2 * x + 1), uint32_t(2 * y)) = c;
            grid.At(uint32_t(2 * x), uint32_t(2 * y + 1)) = c;
            grid.At(uint32_t(2 * x + 1), uint32_t(2 * y + 1)) = c;
        }
}

template <accum::Aggregation A>
class CAggregateEquation final : public accum::CCountColouredEquation {
public:
    using CCountColouredEquation::CCountColouredEquation;

protected:
    void Count(const CountGrid<uint32_t>& grid, EquationContext& context) override {
        GrowCluster(grid, context.random, A);
    }
};

using CPixelDLA = CAggregateEquation<accum::Aggregation{512, 512, 1, 60000, 480, kSteps, 1}>;
// Roots: the seed sits just below the top edge and walkers only set out from below it, so the
// aggregate branches downward like a root system into the soil.
using CPixelTreeRootAttractor =
    CAggregateEquation<accum::Aggregation{512, 8, 0.5, 60000, 900, kSteps, 1}>;

}  // namespace

EquationClassTable CountColouredEquations() {
    static constexpr EquationClass kClasses[] = {
        {"CPixelHenon", CreatePixelEquation<CPixelHenon>},
        {"CPixelStarJulia", CreatePixelEquation<CPixelStarJulia>},
        {"CPixelInverseSanMarcoDragon", CreatePixelEquation<CPixelInverseSanMarcoDragon>},
        {"CPixelReverseJulia", CreatePixelEquation<CPixelReverseJulia>},
        {"CPixelRational", CreatePixelEquation<CPixelRational>},
        {"CPixelInverseTree", CreatePixelEquation<CPixelInverseTree>},
        {"CPixelGrinchDragon", CreatePixelEquation<CPixelGrinchDragon>},
        {"CPixelPascalTriangle", CreatePixelEquation<CPixelPascalTriangle>},
        {"CPixelDiaxialPlane", CreatePixelEquation<CPixelDiaxialPlane>},
        {"CPixelLace", CreatePixelEquation<CPixelLace>},
        {"CPixelSpecificSimilarityDimension",
         CreatePixelEquation<CPixelSpecificSimilarityDimension>},
        {"CPixelRogersRings", CreatePixelEquation<CPixelRogersRings>},
        {"CPixelTreeRootAttractor", CreatePixelEquation<CPixelTreeRootAttractor>},
        {"CPixelApollonyFractal", CreatePixelEquation<CPixelApollonyFractal>},
        {"CPixelMauldinGasket", CreatePixelEquation<CPixelMauldinGasket>},
        {"CPixelMandelFactor", CreatePixelEquation<CPixelMandelFactor>},
        {"CPixelDLA", CreatePixelEquation<CPixelDLA>},
    };
    return kClasses;
}

}  // namespace luneth
