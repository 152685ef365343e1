// Solids of the core group: signed distance from (x, y, z) to a solid of size s at the origin.
// All kind 8.
//
//   sphere(x, y, z, s)        radius s
//   cylinder(x, y, z, r)      infinite, about the y axis (y is not used)
//   cube(x, y, z, s)          unsigned distance to the cube of half-size s, less 2^-23 (so
//                             -2^-23 inside)
//   tetrahedron(x, y, z, s)   plane bound of the tetrahedron with corners (s, s, s),
//                             (s, -s, -s), (-s, s, -s), (-s, -s, s)
//   football(x, y, z, s)      plane bound p.n - s over the truncated icosahedron's 32 face
//                             normals, every face at distance s
// and the exact signed distances to these convex solids, corners at distance s:
//   octahedron                regular octahedron, corners on the axes
//   octahedron_1              truncated octahedron (corners cut, all edges equal)
//   octahedron_2              cuboctahedron (cut at the edge midpoints)
//   icosahedron               regular icosahedron
//   icosahedron_1             icosidodecahedron (the icosahedron cut at its edge midpoints)
//   icosahedron_div           geodesic sphere: the icosahedron's faces split into 4
//   icosahedron_div2          the same split twice (320 faces)
//   dodecahedron              regular dodecahedron
//   dodecahedron_1            truncated dodecahedron (regular decagons and triangles)
// and football_ex, the exact distance to the regular truncated icosahedron whose hexagons lie
// at distance s. A negative size counts as its magnitude; size 0 is the centre point.
#include <algorithm>
#include <cmath>

#include "common/FloatConstants.h"
#include "functions/DistanceMath.h"
#include "functions/Families.h"
#include "functions/Polyhedra.h"

namespace luneth {

namespace {

float Sphere(float x, float y, float z, float s) { return Length(Vec3{x, y, z}) - s; }

float Cylinder(float x, float, float z, float r) { return Length(Vec2{x, z}) - r; }

float Cube(float x, float y, float z, float s) {
    return Length(MaxZero(Abs(Vec3{x, y, z}) - Vec3{s, s, s})) - kEpsilon;
}

template <const ConvexPolyhedron& (*Solid)()>
float Exact(float x, float y, float z, float s) {
    return Solid().Distance({x, y, z}, s);
}

float Football(float x, float y, float z, float s) {
    return luneth::Football().PlaneMax({x, y, z}, s);
}

constexpr BuiltinFunction kSolids[] = {
    {"sphere", Sphere},
    {"cylinder", Cylinder},
    {"cube", Cube},
    {"tetrahedron", TetrahedronPlanes},
    {"octahedron", Exact<Octahedron>},
    {"octahedron_1", Exact<TruncatedOctahedron>},
    {"octahedron_2", Exact<Cuboctahedron>},
    {"icosahedron", Exact<Icosahedron>},
    {"icosahedron_1", Exact<Icosidodecahedron>},
    {"icosahedron_div", Exact<GeodesicIcosahedron1>},
    {"icosahedron_div2", Exact<GeodesicIcosahedron2>},
    {"dodecahedron", Exact<Dodecahedron>},
    {"dodecahedron_1", Exact<TruncatedDodecahedron>},
    {"football", Football},
    {"football_ex", Exact<TruncatedIcosahedron>},
};

}  // namespace

FunctionTable SolidFunctions() { return kSolids; }

}  // namespace luneth
