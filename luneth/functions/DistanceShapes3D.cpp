// Solid shapes: signed distance from (x, y, z) to a shape (negative inside). All kind 9.
//
//   sdSphere(r)                  sphere at the origin
//   sdBox(bx, by, bz)            box of half-sizes b;  sdRoundBox(bx, by, bz, r): grown by r
//   sdTorus(R, r)                ring about the y axis
//   sdCylinder(cx, cy, cz)       infinite cylinder along y through (cx, ., cy), radius cz
//   sdCone(c1, c2)               c1 |(x, y)| + c2 z: the cone about +z of half-angle a for
//                                (c1, c2) = (cos a, -sin a) (a bound behind the apex)
//   sdPlane(nx, ny, nz, h)       n.p + h (a distance for a unit n)
//   sdHexPrism(h1, h2)           hexagon of inradius h1 (flat top and bottom in x, y),
//                                half-length h2 along z
//   sdTriPrism(h1, h2)           equilateral triangle of inradius h1 / 2, a corner up,
//                                half-length h2 along z
//   sdCapsule(ax, ay, az, bx, by, bz, r)   segment AB thickened by r
//   sdVerticalCapsule(h, r)      segment from (0, 0, 0) to (0, h, 0) thickened by r
//   sdCappedCylinder(r, h)       cylinder about y of radius r, half-height h
//   sdRoundedCylinder(ra, rb, h) cylinder of radius 2ra - rb and half-height h grown by rb
//   sdCappedCone(h, r1, r2)      frustum about y: radius r1 at y = -h, r2 at y = h
//   sdRoundCone(r1, r2, h)       balls r1 at the origin and r2 at (0, h, 0), tangents joined
//   sdEllipsoid(rx, ry, rz)      ellipsoid of radii r (the usual bound)
//   udTriangle(a, b, c)          unsigned distance to the triangle of corners a, b, c
//   sdCube(s)                    sdBox with all half-sizes s
//   sdTetrahedron(s)             the plane bound of the solid `tetrahedron`
//   sdOctahedron(s), sdDodecahedron(s), sdIcosahedron(s)
//                                plane bounds max(p.n - s k) of the regular solids with their
//                                corners at distance s (k = 0.5773503 for the octahedron,
//                                0.7946545 for the other two)
//
// Exact unless noted.
#include <algorithm>
#include <cmath>

#include "functions/DistanceMath.h"
#include "functions/Families.h"
#include "functions/Polyhedra.h"
#include "functions/VariadicArgs.h"

namespace luneth {

namespace {

inline Vec3 ArgVec3(const VariadicArgs& a, int i) { return {a[i], a[i + 1], a[i + 2]}; }

// (distance from the y axis, y): the profile plane of the solids of revolution.
inline Vec2 Profile(const VariadicArgs& a) { return {std::sqrt(a[0] * a[0] + a[2] * a[2]), a[1]}; }

// Regular hexagon of inradius r with flat top and bottom edges.
inline float Hexagon(Vec2 p, float r) {
    const Vec2 k{-0.8660254f, 0.5f};
    const float halfEdge = 0.57735f;
    p = Abs(p);
    p = p - k * (2.0f * std::min(Dot(k, p), 0.0f));
    Vec2 edge{Clamp(p[0], -halfEdge * r, halfEdge * r), r};
    return Length(p - edge) * SignOf(p[1] - r);
}

// --- round shapes ----------------------------------------------------------------------------

float Sphere(const float* args, int count) {
    VariadicArgs a(args, count);
    return Length(ArgVec3(a, 0)) - a[3];
}

float Torus(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec2 q{std::sqrt(a[0] * a[0] + a[2] * a[2]) - a[3], a[1]};
    return Length(q) - a[4];
}

float Cylinder(const float* args, int count) {
    VariadicArgs a(args, count);
    return Length(Vec2{a[0] - a[3], a[2] - a[4]}) - a[5];
}

float Cone(const float* args, int count) {
    VariadicArgs a(args, count);
    return a[3] * std::sqrt(a[0] * a[0] + a[1] * a[1]) + a[4] * a[2];
}

float Plane(const float* args, int count) {
    VariadicArgs a(args, count);
    return Dot(ArgVec3(a, 0), ArgVec3(a, 3)) + a[6];
}

// The usual bound k0 (k0 - 1) / k1 with k0 = |p / r|, k1 = |p / r^2|: exact on the surface
// and never above the true distance outside; inside it can run a little beyond it. At the
// centre (k1 = 0) the distance is minus the smallest radius.
float Ellipsoid(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec3 p = ArgVec3(a, 0), r = ArgVec3(a, 3);
    float k0 = Length(Map(p, r, [](float c, float s) { return c / s; }));
    float k1 = Length(Map(p, r, [](float c, float s) { return c / (s * s); }));
    if (!(k1 > 0.0f)) return -std::min({std::fabs(r[0]), std::fabs(r[1]), std::fabs(r[2])});
    return k0 * (k0 - 1.0f) / k1;
}

// --- boxes and prisms ------------------------------------------------------------------------

float Box(const float* args, int count) {
    VariadicArgs a(args, count);
    return BoxDistance(ArgVec3(a, 0), ArgVec3(a, 3));
}

float RoundBox(const float* args, int count) {
    return Box(args, count) - VariadicArgs(args, count)[6];
}

float Cube(const float* args, int count) {
    VariadicArgs a(args, count);
    return BoxDistance(ArgVec3(a, 0), Vec3{a[3], a[3], a[3]});
}

float HexPrism(const float* args, int count) {
    VariadicArgs a(args, count);
    return Extrude(Hexagon({a[0], a[1]}, a[3]), a[2], a[4]);
}

float TriPrism(const float* args, int count) {
    VariadicArgs a(args, count);
    // The unit triangle has inradius 1 / sqrt 3; scale it to inradius h1 / 2.
    float s = 0.8660254f * std::fabs(a[3]);
    float d2 = s < kEpsilon ? Length(Vec2{a[0], a[1]})
                            : EquilateralTriangleDistance(a[0] / s, a[1] / s) * s;
    return Extrude(d2, a[2], a[4]);
}

// --- capsules, cylinders and cones -----------------------------------------------------------

float Capsule(const float* args, int count) {
    VariadicArgs a(args, count);
    return SegmentDistance(ArgVec3(a, 0), ArgVec3(a, 3), ArgVec3(a, 6)) - a[9];
}

float VerticalCapsule(const float* args, int count) {
    VariadicArgs a(args, count);
    float y = a[1] < 0.0f ? 0.0f : std::min(a[1], a[3]);
    return Length(Vec3{a[0], a[1] - y, a[2]}) - a[4];
}

float CappedCylinder(const float* args, int count) {
    VariadicArgs a(args, count);
    return BoxDistance(Profile(a), Vec2{a[3], a[4]});
}

float RoundedCylinder(const float* args, int count) {
    VariadicArgs a(args, count);
    float ra = a[3], rb = a[4], h = a[5];
    return BoxDistance(Profile(a), Vec2{2.0f * ra - rb, h}) - rb;
}

float CappedCone(const float* args, int count) {
    VariadicArgs a(args, count);
    return FrustumProfile(Profile(a), a[4], a[5], a[3]);
}

float RoundCone(const float* args, int count) {
    VariadicArgs a(args, count);
    return TangentCapsuleProfile(Profile(a), a[3], a[4], a[5]);
}

// --- triangle --------------------------------------------------------------------------------

float Triangle(const float* args, int count) {
    VariadicArgs va(args, count);
    Vec3 p = ArgVec3(va, 0), a = ArgVec3(va, 3), b = ArgVec3(va, 6), c = ArgVec3(va, 9);
    Vec3 ba = b - a, cb = c - b, ac = a - c;
    Vec3 normal = Cross(ba, ac);
    float nn = Dot(normal, normal);
    // Over the face: the distance to its plane; elsewhere (or for a flat triangle) the edges.
    bool over = nn > 0.0f && Dot(Cross(ba, normal), p - a) >= 0.0f &&
                Dot(Cross(cb, normal), p - b) >= 0.0f && Dot(Cross(ac, normal), p - c) >= 0.0f;
    if (over) return std::fabs(Dot(normal, p - a)) / std::sqrt(nn);
    return std::min(std::min(SegmentDistance(p, a, b), SegmentDistance(p, b, c)),
                    SegmentDistance(p, c, a));
}

// --- polyhedra -------------------------------------------------------------------------------

float Tetrahedron(const float* args, int count) {
    VariadicArgs a(args, count);
    return TetrahedronPlanes(a[0], a[1], a[2], a[3]);
}

template <const ConvexPolyhedron& (*Solid)()>
float PlaneBound(const float* args, int count) {
    VariadicArgs a(args, count);
    return Solid().PlaneMax(ArgVec3(a, 0), a[3]);
}

constexpr BuiltinFunction kShapes3D[] = {
    {"sdSphere", Sphere},
    {"sdBox", Box},
    {"sdRoundBox", RoundBox},
    {"sdTorus", Torus},
    {"sdCylinder", Cylinder},
    {"sdCone", Cone},
    {"sdPlane", Plane},
    {"sdHexPrism", HexPrism},
    {"sdTriPrism", TriPrism},
    {"sdCapsule", Capsule},
    {"sdVerticalCapsule", VerticalCapsule},
    {"sdCappedCylinder", CappedCylinder},
    {"sdRoundedCylinder", RoundedCylinder},
    {"sdCappedCone", CappedCone},
    {"sdRoundCone", RoundCone},
    {"sdEllipsoid", Ellipsoid},
    {"udTriangle", Triangle},
    {"sdCube", Cube},
    {"sdTetrahedron", Tetrahedron},
    {"sdOctahedron", PlaneBound<Octahedron>},
    {"sdDodecahedron", PlaneBound<Dodecahedron>},
    {"sdIcosahedron", PlaneBound<Icosahedron>},
};

}  // namespace

FunctionTable DistanceShape3DFunctions() { return kShapes3D; }

}  // namespace luneth
