// The core group's solids and the convex polyhedra behind them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "DistanceProperty.h"
#include "common/FloatConstants.h"
#include "functions/Polyhedra.h"

using namespace luneth;
using namespace luneth::test;

namespace {

using P3 = Point<3>;

struct SolidShape {
    const char* name;
    const ConvexPolyhedron& (*solid)();
    int corners, edges, faces;
    bool uniform;  // every edge of one length, every corner at one radius
};

const SolidShape kSolids[] = {
    {"octahedron", Octahedron, 6, 12, 8, true},
    {"octahedron_1", TruncatedOctahedron, 24, 36, 14, true},
    {"octahedron_2", Cuboctahedron, 12, 24, 14, true},
    {"icosahedron", Icosahedron, 12, 30, 20, true},
    {"icosahedron_1", Icosidodecahedron, 30, 60, 32, true},
    {"icosahedron_div", GeodesicIcosahedron1, 42, 120, 80, false},
    {"icosahedron_div2", GeodesicIcosahedron2, 162, 480, 320, false},
    {"dodecahedron", Dodecahedron, 20, 30, 12, true},
    {"dodecahedron_1", TruncatedDodecahedron, 60, 90, 32, true},
    {"football_ex", TruncatedIcosahedron, 60, 90, 32, true},
    {"football", Football, 60, 90, 32, false},
};

double Distance3(const Vec3& a, const Vec3& b) { return Length(a - b); }

bool InPlanes(const ConvexPolyhedron& solid, const P3& p, double scale) {
    for (const PolyhedronFace& f : solid.Faces()) {
        if (f.normal[0] * p[0] + f.normal[1] * p[1] + f.normal[2] * p[2] >= scale * f.offset)
            return false;
    }
    return true;
}

}  // namespace

TEST(Polyhedra, CountsEdgesAndRegularity) {
    for (const SolidShape& s : kSolids) {
        SCOPED_TRACE(s.name);
        const ConvexPolyhedron& solid = s.solid();
        std::vector<Vec3> corners;
        std::vector<double> edgeLengths;
        int edgeUses = 0;
        for (const PolyhedronFace& f : solid.Faces()) {
            ASSERT_GE(f.corners.size(), 3u);
            for (size_t i = 0; i < f.corners.size(); ++i) {
                const Vec3& c = f.corners[i];
                // Planar and convex, corners counter-clockwise seen from outside.
                EXPECT_NEAR(Dot(f.normal, c), f.offset, 1e-5f);
                const Vec3& next = f.corners[(i + 1) % f.corners.size()];
                const Vec3& after = f.corners[(i + 2) % f.corners.size()];
                EXPECT_GT(Dot(Cross(next - c, after - next), f.normal), 0.0f);
                edgeLengths.push_back(Distance3(c, next));
                ++edgeUses;
                if (std::none_of(corners.begin(), corners.end(),
                                 [&](const Vec3& o) { return Distance3(o, c) < 1e-4; }))
                    corners.push_back(c);
            }
        }
        EXPECT_EQ(static_cast<int>(corners.size()), s.corners);
        EXPECT_EQ(edgeUses, 2 * s.edges);  // every edge borders two faces
        EXPECT_EQ(static_cast<int>(solid.Faces().size()), s.faces);
        EXPECT_EQ(s.corners - s.edges + s.faces, 2);
        if (!s.uniform) continue;
        auto [shortest, longest] = std::minmax_element(edgeLengths.begin(), edgeLengths.end());
        EXPECT_NEAR(*shortest, *longest, 1e-5);
        double r0 = Length(corners[0]);
        for (const Vec3& c : corners) EXPECT_NEAR(Length(c), r0, 1e-5);
    }
    // Sizes: the regular solids and the geodesic spheres have their corners at distance 1.
    for (auto solid : {Octahedron, Icosahedron, Dodecahedron, GeodesicIcosahedron2})
        for (const PolyhedronFace& f : solid().Faces())
            for (const Vec3& c : f.corners) EXPECT_NEAR(Length(c), 1.0f, 1e-5f);
    // The football's hexagons lie at distance 1.
    for (const PolyhedronFace& f : TruncatedIcosahedron().Faces())
        if (f.corners.size() == 6) {
            EXPECT_NEAR(f.offset, 1.0f, 1e-6f);
        }
}

TEST(Solids, SignBoundAndExactnessOverRandomPoints) {
    for (const SolidShape& s : kSolids) {
        SCOPED_TRACE(s.name);
        const ConvexPolyhedron& solid = s.solid();
        PropertyOptions o;
        o.points = 150;
        o.exact = std::string(s.name) != "football";  // the plane form p.n - s
        CheckSignedDistance<3>(
            s.name, Shape<3>(s.name, {0.9f}), [&](const P3& p) { return InPlanes(solid, p, 0.9); },
            o);
    }
    PropertyOptions o;
    CheckSignedDistance<3>(
        "sphere", Shape<3>("sphere", {1.1f}), [](const P3& p) { return Norm<3>(p) < 1.1; }, o);
    CheckSignedDistance<3>(
        "cylinder", Shape<3>("cylinder", {0.6f}),
        [](const P3& p) { return std::hypot(p[0], p[2]) < 0.6; }, o);
    o.exact = false;
    CheckSignedDistance<3>(
        "tetrahedron", Shape<3>("tetrahedron", {0.7f}),
        [](const P3& p) {
            double x = p[0], y = p[1], z = p[2], s = 0.7;
            return -x + y + z < s && x - y + z < s && x + y - z < s && -x - y - z < s;
        },
        o);
}

TEST(Solids, FixedValuesAndEdgeCases) {
    EXPECT_FLOAT_EQ(Call("sphere", {0, 3, 4, 1}), 4.0f);
    EXPECT_FLOAT_EQ(Call("tetrahedron", {0.5f, 0.5f, 0.5f, 0.5f}), 0.0f);  // on a corner
    // The cube is an unsigned distance less 2^-23.
    EXPECT_EQ(Call("cube", {0.1f, -0.2f, 0.3f, 1}), -kEpsilon);
    EXPECT_FLOAT_EQ(Call("cube", {3, 0, 0, 1}), 2.0f - kEpsilon);
    EXPECT_FLOAT_EQ(Call("cube", {2, 2, 0, 1}), std::sqrt(2.0f) - kEpsilon);
    // Regular solids with corners at distance s: a corner is on the surface.
    EXPECT_NEAR(Call("octahedron", {0, 2, 0, 2}), 0.0f, 1e-6f);
    EXPECT_NEAR(Call("octahedron", {0, 3, 0, 2}), 1.0f, 1e-6f);
    EXPECT_NEAR(Call("octahedron", {0, 0, 0, 2}), -2.0f / std::sqrt(3.0f), 1e-6f);
    EXPECT_NEAR(Call("sdOctahedron", {0, 0, 0, 2}), -2.0f / std::sqrt(3.0f), 1e-6f);
    Sampler s(11);
    for (int i = 0; i < 100; ++i) {
        float x = static_cast<float>(s.Uniform(-2, 2)), y = static_cast<float>(s.Uniform(-2, 2));
        float z = static_cast<float>(s.Uniform(-2, 2));
        // The cylinder does not read its second argument.
        EXPECT_EQ(Call("cylinder", {x, y, z, 0.5f}), Call("cylinder", {x, 0.0f, z, 0.5f}));
        // A negative size is its magnitude; size 0 is the centre point.
        EXPECT_EQ(Call("icosahedron", {x, y, z, -0.8f}), Call("icosahedron", {x, y, z, 0.8f}));
        EXPECT_FLOAT_EQ(Call("dodecahedron_1", {x, y, z, 0}), std::sqrt(x * x + y * y + z * z));
        // The exact distances agree with their plane bounds inside and never fall below them.
        for (auto [exact, bound] :
             {std::pair{"octahedron", "sdOctahedron"}, std::pair{"icosahedron", "sdIcosahedron"},
              std::pair{"dodecahedron", "sdDodecahedron"}}) {
            float e = Call(exact, {x, y, z, 1.2f}), b = Call(bound, {x, y, z, 1.2f});
            if (b < 0) {
                EXPECT_NEAR(e, b, 1e-5f) << exact;
            }
            EXPECT_GE(e, b - 1e-5f) << exact;
        }
    }
}
