// The distance-function group: fixed values, and for every shape the sign/bound/exactness
// properties over random points against an inside test written from the shape's definition.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "DistanceProperty.h"
#include "functions/Polyhedra.h"

using namespace luneth;
using namespace luneth::test;

namespace {

using P2 = Point<2>;
using P3 = Point<3>;

struct Case2D {
    const char* name;
    std::vector<float> params;
    InsideFn<2> inside;
    bool exact = true;
};

struct Case3D {
    const char* name;
    std::vector<float> params;
    InsideFn<3> inside;
    bool exact = true;
    bool boundInside = true;
};

double Radial(const P3& p) { return std::hypot(p[0], p[2]); }

bool InRect(double x, double y, double w, double h) { return std::fabs(x) < w && std::fabs(y) < h; }

double RectDistance(double x, double y, double w, double h) {
    double qx = std::fabs(x) - w, qy = std::fabs(y) - h;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0);
}

// Convex hull of two discs: the union of the discs whose centre and radius move linearly
// from (c1, r1) to (c2, r2).
bool InDiscHull(double x, double y, double y1, double r1, double y2, double r2) {
    for (int i = 0; i <= 400; ++i) {
        double t = i / 400.0;
        if (std::hypot(x, y - (y1 + t * (y2 - y1))) < r1 + t * (r2 - r1)) return true;
    }
    return false;
}

// Star corners: tips at radius r on top and every 2 pi / n, inner corners between them where
// an edge leaving the tip at the angle pi / m (against the tip-to-centre line's normal) meets
// the middle line.
std::vector<P2> StarCorners(double r, int n, double m) {
    double an = M_PI / n, en = M_PI / m;
    double inner = r * std::sin(en - an) / std::sin(en);
    std::vector<P2> v;
    for (int k = 0; k < 2 * n; ++k) {
        double a = M_PI / 2 + k * an;
        double rad = k % 2 ? inner : r;
        v.push_back({rad * std::cos(a), rad * std::sin(a)});
    }
    return v;
}

std::vector<P2> Polygon(std::initializer_list<P2> v) { return v; }

const std::vector<Case2D>& Cases2D() {
    static const std::vector<Case2D> cases = {
        {"sdCircle2D", {0.8f}, [](const P2& p) { return std::hypot(p[0], p[1]) < 0.8; }},
        {"sdCapsule2D",
         {-0.5f, -0.2f, 0.6f, 0.4f, 0.3f},
         [](const P2& p) {
             return SegmentDistance<2>(p, {-0.5, -0.2}, {0.6, 0.4}) < 0.3;
         }},
        {"sdSquare2D", {0.7f}, [](const P2& p) { return InRect(p[0], p[1], 0.7, 0.7); }},
        {"sdRect2D", {1.1f, 0.4f}, [](const P2& p) { return InRect(p[0], p[1], 1.1, 0.4); }},
        {"sdRhombus2D",
         {1.2f, 0.5f},
         [](const P2& p) { return std::fabs(p[0]) / 1.2 + std::fabs(p[1]) / 0.5 < 1.0; }},
        {"sdEquilateralTriangle2D",
         {},
         [](const P2& p) {
             double r = 1.0 / std::sqrt(3.0);
             return InPolygon(p[0], p[1], Polygon({{-1, -r}, {1, -r}, {0, 2 * r}}));
         }},
        {"sdTriangleIsosceles2D",
         {0.6f, 1.3f},
         [](const P2& p) {
             return InPolygon(p[0], p[1], Polygon({{0, 0}, {0.6, 1.3}, {-0.6, 1.3}}));
         }},
        {"sdUnevenCapsule2D",
         {0.5f, 0.2f, 1.0f},
         [](const P2& p) { return InDiscHull(p[0], p[1], 0.0, 0.5, 1.0, 0.2); }},
        {"sdTriangle2D",
         {-0.9f, -0.4f, 0.8f, -0.7f, 0.1f, 1.1f},
         [](const P2& p) {
             return InPolygon(p[0], p[1], Polygon({{-0.9, -0.4}, {0.8, -0.7}, {0.1, 1.1}}));
         }},
        {"sdPentagon2D",
         {0.7f},
         [](const P2& p) {
             // Inradius 0.7 with the top edge horizontal: corners at 54 + 72 k degrees.
             return InPolygon(p[0], p[1],
                              RegularCorners(5, 0.7 / std::cos(M_PI / 5), 54 * M_PI / 180));
         }},
        {"sdTrapezoid2D",
         {0.9f, 0.3f, 0.6f},
         [](const P2& p) {
             return InPolygon(p[0], p[1],
                              Polygon({{-0.9, -0.6}, {0.9, -0.6}, {0.3, 0.6}, {-0.3, 0.6}}));
         }},
        {"sdEllipse2D",
         {1.3f, 0.6f},
         [](const P2& p) { return std::pow(p[0] / 1.3, 2) + std::pow(p[1] / 0.6, 2) < 1.0; }},
        {"sdEllipse2D",
         {0.4f, 1.5f},
         [](const P2& p) { return std::pow(p[0] / 0.4, 2) + std::pow(p[1] / 1.5, 2) < 1.0; }},
        {"sdEllipse2D", {0.9f, 0.9f}, [](const P2& p) { return std::hypot(p[0], p[1]) < 0.9; }},
        {"sdVesica2D",
         {1.0f, 0.6f},
         [](const P2& p) {
             return std::hypot(p[0] - 0.6, p[1]) < 1.0 && std::hypot(p[0] + 0.6, p[1]) < 1.0;
         }},
        {"sdCross2D",
         {1.0f, 0.3f, 0.0f},
         [](const P2& p) { return InRect(p[0], p[1], 1.0, 0.3) || InRect(p[0], p[1], 0.3, 1.0); }},
        // Grown by 0.15: exact outside, a bound near the inner corners.
        {"sdCross2D",
         {0.3f, 1.0f, 0.15f},
         [](const P2& p) {
             return std::min(RectDistance(p[0], p[1], 1.0, 0.3),
                             RectDistance(p[0], p[1], 0.3, 1.0)) < 0.15;
         },
         false},
        {"sdRegularPolygon2D",
         {0.9f, 7.0f},
         [](const P2& p) { return InPolygon(p[0], p[1], RegularCorners(7, 0.9, M_PI / 2)); }},
        {"sdRegularPolygon2D",
         {1.0f, 3.9f},
         [](const P2& p) { return InPolygon(p[0], p[1], RegularCorners(3, 1.0, M_PI / 2)); }},
        {"sdStar2D",
         {1.1f, 5.0f, 3.0f},
         [](const P2& p) { return InPolygon(p[0], p[1], StarCorners(1.1, 5, 3.0)); }},
        {"sdStar2D",
         {1.0f, 8.0f, 2.0f},
         [](const P2& p) { return InPolygon(p[0], p[1], StarCorners(1.0, 8, 2.0)); }},
        {"sdStar2D",
         {1.0f, 6.0f, 5.5f},
         [](const P2& p) { return InPolygon(p[0], p[1], StarCorners(1.0, 6, 5.5)); }},
    };
    return cases;
}

bool InHexagon(double x, double y, double inradius) {
    return InPolygon(x, y, RegularCorners(6, inradius / std::cos(M_PI / 6), 0.0));
}

bool InPlanes(const ConvexPolyhedron& solid, const P3& p, double scale) {
    for (const PolyhedronFace& f : solid.Faces()) {
        if (f.normal[0] * p[0] + f.normal[1] * p[1] + f.normal[2] * p[2] >= scale * f.offset)
            return false;
    }
    return true;
}

const std::vector<Case3D>& Cases3D() {
    static const std::vector<Case3D> cases = {
        {"sdSphere", {1.2f}, [](const P3& p) { return Norm<3>(p) < 1.2; }},
        {"sdBox",
         {1.0f, 0.5f, 0.7f},
         [](const P3& p) { return InRect(p[0], p[1], 1.0, 0.5) && std::fabs(p[2]) < 0.7; }},
        {"sdRoundBox",
         {0.8f, 0.4f, 0.6f, 0.2f},
         [](const P3& p) {
             double qx = std::fabs(p[0]) - 0.8, qy = std::fabs(p[1]) - 0.4,
                    qz = std::fabs(p[2]) - 0.6;
             return std::sqrt(std::pow(std::max(qx, 0.0), 2) + std::pow(std::max(qy, 0.0), 2) +
                              std::pow(std::max(qz, 0.0), 2)) +
                        std::min(std::max({qx, qy, qz}), 0.0) <
                    0.2;
         }},
        {"sdTorus",
         {1.0f, 0.35f},
         [](const P3& p) { return std::hypot(Radial(p) - 1.0, p[1]) < 0.35; }},
        {"sdCylinder",
         {0.3f, -0.2f, 0.9f},
         [](const P3& p) { return std::hypot(p[0] - 0.3, p[2] + 0.2) < 0.9; }},
        // Half-angle 30 degrees about +z: (c1, c2) = (cos 30, -sin 30).
        {"sdCone",
         {0.8660254f, -0.5f},
         [](const P3& p) { return std::atan2(std::hypot(p[0], p[1]), p[2]) < M_PI / 6; },
         false},
        {"sdPlane",
         {0.48f, 0.6f, 0.64f, 0.3f},
         [](const P3& p) { return 0.48 * p[0] + 0.6 * p[1] + 0.64 * p[2] + 0.3 < 0.0; }},
        {"sdHexPrism",
         {0.8f, 0.5f},
         [](const P3& p) { return InHexagon(p[0], p[1], 0.8) && std::fabs(p[2]) < 0.5; }},
        {"sdTriPrism",
         {1.2f, 0.7f},
         [](const P3& p) {
             return InPolygon(p[0], p[1], RegularCorners(3, 1.2, M_PI / 2)) &&
                    std::fabs(p[2]) < 0.7;
         }},
        {"sdCapsule",
         {-0.5f, 0.2f, 0.1f, 0.6f, -0.3f, 0.4f, 0.35f},
         [](const P3& p) {
             return SegmentDistance<3>(p, {-0.5, 0.2, 0.1}, {0.6, -0.3, 0.4}) < 0.35;
         }},
        {"sdVerticalCapsule",
         {1.0f, 0.4f},
         [](const P3& p) {
             return SegmentDistance<3>(p, {0, 0, 0}, {0, 1, 0}) < 0.4;
         }},
        {"sdCappedCylinder",
         {0.7f, 0.9f},
         [](const P3& p) { return Radial(p) < 0.7 && std::fabs(p[1]) < 0.9; }},
        {"sdRoundedCylinder",
         {0.5f, 0.2f, 0.6f},
         [](const P3& p) { return RectDistance(Radial(p), p[1], 0.8, 0.6) < 0.2; }},
        {"sdCappedCone",
         {0.8f, 1.0f, 0.3f},
         [](const P3& p) {
             return InPolygon(Radial(p), p[1],
                              Polygon({{-1.0, -0.8}, {1.0, -0.8}, {0.3, 0.8}, {-0.3, 0.8}}));
         }},
        {"sdRoundCone",
         {0.6f, 0.25f, 1.1f},
         [](const P3& p) { return InDiscHull(Radial(p), p[1], 0.0, 0.6, 1.1, 0.25); }},
        {"sdEllipsoid",
         {1.2f, 0.5f, 0.8f},
         [](const P3& p) {
             return std::pow(p[0] / 1.2, 2) + std::pow(p[1] / 0.5, 2) + std::pow(p[2] / 0.8, 2) < 1;
         },
         false,
         false},  // the stated k0 (k0 - 1) / k1 runs beyond the true distance inside
        {"sdCube",
         {0.9f},
         [](const P3& p) {
             return std::max({std::fabs(p[0]), std::fabs(p[1]), std::fabs(p[2])}) < 0.9;
         }},
        // Plane bounds: exact inside only, so checked as bounds.
        {"sdTetrahedron",
         {0.8f},
         [](const P3& p) {
             double x = p[0], y = p[1], z = p[2], s = 0.8;
             return -x + y + z < s && x - y + z < s && x + y - z < s && -x - y - z < s;
         },
         false},
        {"sdOctahedron",
         {1.1f},
         [](const P3& p) { return std::fabs(p[0]) + std::fabs(p[1]) + std::fabs(p[2]) < 1.1; },
         false},
        {"sdDodecahedron",
         {1.2f},
         [](const P3& p) { return InPlanes(Dodecahedron(), p, 1.2); },
         false},
        {"sdIcosahedron",
         {1.2f},
         [](const P3& p) { return InPlanes(Icosahedron(), p, 1.2); },
         false},
    };
    return cases;
}

}  // namespace

TEST(DistanceShapes2D, SignBoundAndExactnessOverRandomPoints) {
    for (const Case2D& c : Cases2D()) {
        SCOPED_TRACE(c.name);
        PropertyOptions o;
        o.exact = c.exact;
        CheckSignedDistance<2>(c.name, Shape<2>(c.name, c.params), c.inside, o);
    }
}

TEST(DistanceShapes3D, SignBoundAndExactnessOverRandomPoints) {
    for (const Case3D& c : Cases3D()) {
        SCOPED_TRACE(c.name);
        PropertyOptions o;
        o.exact = c.exact;
        o.boundInside = c.boundInside;
        CheckSignedDistance<3>(c.name, Shape<3>(c.name, c.params), c.inside, o);
    }
}

TEST(DistanceShapes, UnsignedCurvesMatchSampledDistances) {
    CheckUnsignedDistance<2>(
        "sdLine2D", Shape<2>("sdLine2D", {-0.7f, 0.3f, 0.9f, -0.5f}),
        [](const P2& p) {
            return SegmentDistance<2>(p, {-0.7, 0.3}, {0.9, -0.5});
        },
        2.0, 1e-5);
    struct Curve {
        std::vector<float> corners;
    };
    for (const Curve& c : {Curve{{-1.0f, -0.5f, 0.2f, 1.4f, 1.1f, -0.6f}},
                           Curve{{-1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f}},  // straight
                           Curve{{0.3f, 0.3f, 0.3f, 0.3f, 0.3f, 0.3f}},   // a point
                           Curve{{-1.0f, -1.0f, 1.5f, 0.5f, -1.0f, 1.0f}}}) {
        auto reference = [&c](const P2& p) {
            const std::vector<float>& k = c.corners;
            double best = 1e30;
            for (int i = 0; i <= 20000; ++i) {
                double t = i / 20000.0, u = 1 - t;
                double x = u * u * k[0] + 2 * u * t * k[2] + t * t * k[4];
                double y = u * u * k[1] + 2 * u * t * k[3] + t * t * k[5];
                best = std::min(best, std::hypot(p[0] - x, p[1] - y));
            }
            return best;
        };
        CheckUnsignedDistance<2>("sdBezier2D", Shape<2>("sdBezier2D", c.corners), reference, 2.0,
                                 1e-4);
    }
    auto triangle = [](const P3& p) {
        const P3 a{-0.8, -0.2, 0.1}, b{0.7, -0.5, -0.3}, c{0.1, 0.9, 0.4};
        double best = 1e30;
        for (int i = 0; i <= 300; ++i)
            for (int j = 0; i + j <= 300; ++j) {
                double u = i / 300.0, v = j / 300.0, w = 1 - u - v;
                P3 q;
                for (int k = 0; k < 3; ++k) q[k] = p[k] - (u * a[k] + v * b[k] + w * c[k]);
                best = std::min(best, Norm<3>(q));
            }
        return best;
    };
    CheckUnsignedDistance<3>(
        "udTriangle",
        Shape<3>("udTriangle", {-0.8f, -0.2f, 0.1f, 0.7f, -0.5f, -0.3f, 0.1f, 0.9f, 0.4f}),
        triangle, 1.5, 3e-3);
}

TEST(DistanceShapes, FixedValues) {
    struct Row {
        const char* name;
        std::vector<float> args;
        float want;
    };
    const Row rows[] = {
        {"sdSphere", {0, 0, 0, 1}, -1.0f},
        {"sdCircle2D", {3, 4, 5}, 0.0f},
        {"sdCircle2D", {3, 4, 1}, 4.0f},
        {"sdSquare2D", {3, 0, 1}, 2.0f},
        {"sdBox", {0, 0, 0, 1, 2, 3}, -1.0f},
        {"sdRoundBox", {2, 0, 0, 1, 1, 1, 0.5f}, 0.5f},
        {"sdTorus", {1, 0, 0, 1, 0.25f}, -0.25f},
        {"sdPlane", {0, 5, 0, 0, 1, 0, -2}, 3.0f},
        {"sdVerticalCapsule", {0, -2, 0, 1, 0.5f}, 1.5f},
        {"sdVerticalCapsule", {0, 3, 0, 1, 0.5f}, 1.5f},
        {"sdCone", {3, 4, 2, 0.5f, -1}, 0.5f},
        {"sdEllipsoid", {0, 0, 0, 1, 2, 3}, -1.0f},
        {"sdEllipse2D", {0, 0, 2, 0.5f}, -0.5f},
        {"sdEquilateralTriangle2D", {0, 0}, -1.0f / std::sqrt(3.0f)},
        // The star's point count outside 3 .. 1000 falls back to the circle.
        {"sdStar2D", {3, 4, 2, 2, 2}, 3.0f},
        {"sdStar2D", {0, 0.5f, 1, 1001, 3}, -0.5f},
        {"sdRegularPolygon2D", {0, 0.5f, 1, 2.9f}, -0.5f},
        // Without corners a polygon is infinitely far.
        {"PolygonDistance", {1, 1}, 3.4028235e38f},
    };
    for (const Row& r : rows) {
        std::vector<float> a = r.args;
        float got = Shape<0>(r.name, a)({});
        EXPECT_NEAR(got, r.want, 1e-6f * std::max(1.0f, std::fabs(r.want))) << r.name;
    }
}

TEST(DistanceShapes, NamedShapesAgree) {
    Sampler s(99);
    for (int i = 0; i < 200; ++i) {
        float x = static_cast<float>(s.Uniform(-2, 2)), y = static_cast<float>(s.Uniform(-2, 2));
        float z = static_cast<float>(s.Uniform(-2, 2));
        // A star with m = 2 is the regular polygon with the same corners.
        EXPECT_NEAR(Call("sdStar2D", {x, y, 1.0f, 6.0f, 2.0f}),
                    Call("sdRegularPolygon2D", {x, y, 1.0f, 6.0f}), 1e-5f);
        EXPECT_NEAR(Call("sdCube", {x, y, z, 0.7f}), Call("sdBox", {x, y, z, 0.7f, 0.7f, 0.7f}),
                    1e-6f);
        EXPECT_EQ(Call("sdTetrahedron", {x, y, z, 0.6f}), Call("tetrahedron", {x, y, z, 0.6f}));
        // The segment distance less the radius, in 2-D and in 3-D.
        EXPECT_NEAR(Call("sdCapsule2D", {x, y, -1, 0, 1, 0.5f, 0.3f}),
                    Call("sdLine2D", {x, y, -1, 0, 1, 0.5f}) - 0.3f, 1e-6f);
        EXPECT_NEAR(Call("sdCapsule", {x, y, z, 0, -1, 0, 0, 1, 0, 0.3f}),
                    Call("sdVerticalCapsule", {x, y + 1.0f, z, 2.0f, 0.3f}), 1e-5f);
        // A trapezoid with equal widths is a rectangle.
        EXPECT_NEAR(Call("sdTrapezoid2D", {x, y, 0.8f, 0.8f, 0.5f}),
                    Call("sdRect2D", {x, y, 0.8f, 0.5f}), 1e-5f);
    }
}

TEST(DistanceShapes, PolygonTests) {
    // A square given clockwise and counter-clockwise.
    const std::vector<float> ccw = {-1, -1, 1, -1, 1, 1, -1, 1}, cw = {-1, 1, 1, 1, 1, -1, -1, -1};
    Sampler s(5);
    for (int i = 0; i < 300; ++i) {
        float x = static_cast<float>(s.Uniform(-2, 2)), y = static_cast<float>(s.Uniform(-2, 2));
        float inside = std::max(std::fabs(x), std::fabs(y)) < 1.0f ? 1.0f : 0.0f;
        for (const auto& corners : {ccw, cw}) {
            std::vector<float> args = {x, y};
            args.insert(args.end(), corners.begin(), corners.end());
            EXPECT_EQ(Shape<0>("IsPointInConvexPolygon", args)({}), inside);
            EXPECT_NEAR(Shape<0>("PolygonDistance", args)({}), Call("sdSquare2D", {x, y, 1.0f}),
                        1e-5f);
        }
    }
    // Fewer than three corners hold no point; one corner is a point, two a segment.
    EXPECT_EQ(Call("IsPointInConvexPolygon", {0, 0, -1, 0, 1, 0}), 0.0f);
    EXPECT_FLOAT_EQ(Call("PolygonDistance", {3, 4, 0, 0}), 5.0f);
    EXPECT_FLOAT_EQ(Call("PolygonDistance", {0, 2, -1, 0, 1, 0}), 2.0f);
}

TEST(DistanceShapes, PolygonDistanceIsExactForAConcaveShape) {
    // An L shape of eleven corners: the most a call can carry.
    const std::vector<float> corners = {0,    0,    2,    0,    2,    0.5f, 1,    0.5f,
                                        1,    1.5f, 0.8f, 1.7f, 0.6f, 1.5f, 0.6f, 1.9f,
                                        0.4f, 1.9f, 0.4f, 1.5f, 0,    1.5f};
    std::vector<P2> poly;
    for (size_t i = 0; i < corners.size(); i += 2) poly.push_back({corners[i], corners[i + 1]});
    auto f = [&](const P2& p) {
        std::vector<float> args = {static_cast<float>(p[0]), static_cast<float>(p[1])};
        args.insert(args.end(), corners.begin(), corners.end());
        return Shape<0>("PolygonDistance", args)({});
    };
    PropertyOptions o;
    o.extent = 2.5;
    CheckSignedDistance<2>(
        "PolygonDistance", f, [&](const P2& p) { return InPolygon(p[0], p[1], poly); }, o);
}

TEST(DistanceOperators, CombineDistances) {
    EXPECT_EQ(Call("opSubtraction", {-1, -1}), 1.0f);  // inside a is cut away from b
    EXPECT_EQ(Call("opSubtraction", {1, -1}), -1.0f);
    EXPECT_EQ(Call("opUnion", {0.5f, -2}), -2.0f);
    EXPECT_EQ(Call("opIntersection", {0.5f, -2}), 0.5f);
    Sampler s(3);
    for (int i = 0; i < 500; ++i) {
        float a = static_cast<float>(s.Uniform(-2, 2)), b = static_cast<float>(s.Uniform(-2, 2));
        float k = static_cast<float>(s.Uniform(0.05, 1.0));
        float su = Call("opSmoothUnion", {a, b, k}), si = Call("opSmoothIntersection", {a, b, k});
        float ss = Call("opSmoothSubtraction", {a, b, k});
        if (std::fabs(a - b) >= k) {
            EXPECT_NEAR(su, std::min(a, b), 1e-6f);
            EXPECT_NEAR(si, std::max(a, b), 1e-6f);
        } else {
            // The blend rounds the seam: below the union, above the intersection, by at most k/4.
            EXPECT_LE(su, std::min(a, b));
            EXPECT_GE(su, std::min(a, b) - k / 4 - 1e-6f);
            EXPECT_GE(si, std::max(a, b));
            EXPECT_LE(si, std::max(a, b) + k / 4 + 1e-6f);
        }
        if (std::fabs(a + b) >= k) {
            EXPECT_NEAR(ss, std::max(-a, b), 1e-6f);
        }
        // A zero band is the sharp operator, not a division by zero.
        EXPECT_EQ(Call("opSmoothUnion", {a, b, 0}), std::min(a, b));
        EXPECT_EQ(Call("opSmoothSubtraction", {a, b, 0}), std::max(-a, b));
        EXPECT_EQ(Call("opSmoothIntersection", {a, b, 0}), std::max(a, b));
    }
}

TEST(DistanceGroup, RegisteredInOrderWithTheirKinds) {
    struct Entry {
        const char* name;
        uint32_t kind;
    };
    const Entry group[] = {
        {"sdCircle2D", 7},
        {"sdLine2D", 9},
        {"sdCapsule2D", 9},
        {"sdSquare2D", 7},
        {"sdRect2D", 8},
        {"sdRhombus2D", 8},
        {"sdEquilateralTriangle2D", 6},
        {"sdTriangleIsosceles2D", 8},
        {"sdUnevenCapsule2D", 9},
        {"sdTriangle2D", 9},
        {"sdPentagon2D", 7},
        {"sdTrapezoid2D", 9},
        {"sdEllipse2D", 8},
        {"sdVesica2D", 8},
        {"sdCross2D", 9},
        {"sdBezier2D", 9},
        {"sdRegularPolygon2D", 8},
        {"sdStar2D", 9},
        {"sdSphere", 9},
        {"sdBox", 9},
        {"sdRoundBox", 9},
        {"sdTorus", 9},
        {"sdCylinder", 9},
        {"sdCone", 9},
        {"sdPlane", 9},
        {"sdHexPrism", 9},
        {"sdTriPrism", 9},
        {"sdCapsule", 9},
        {"sdVerticalCapsule", 9},
        {"sdCappedCylinder", 9},
        {"sdRoundedCylinder", 9},
        {"sdCappedCone", 9},
        {"sdRoundCone", 9},
        {"sdEllipsoid", 9},
        {"udTriangle", 9},
        {"sdCube", 9},
        {"sdTetrahedron", 9},
        {"sdOctahedron", 9},
        {"sdDodecahedron", 9},
        {"sdIcosahedron", 9},
        {"opUnion", 6},
        {"opSubtraction", 6},
        {"opIntersection", 6},
        {"opSmoothUnion", 7},
        {"opSmoothSubtraction", 7},
        {"opSmoothIntersection", 7},
        {"IsPointInConvexPolygon", 9},
        {"PolygonDistance", 9},
    };
    ASSERT_EQ(std::size(group), 48u);
    test::EnsureLibraryGroups();  // before the first lookup, or an absent name reads as the end
    uint32_t first = LookupFunction(group[0].name);
    for (size_t i = 0; i < std::size(group); ++i) {
        const FunctionRecord* r = Builtin(group[i].name);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->kind, group[i].kind) << group[i].name;
        EXPECT_EQ(LookupFunction(group[i].name), first + i) << group[i].name;
    }
}
