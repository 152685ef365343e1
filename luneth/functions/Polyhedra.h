// Convex polyhedra for the solids and the polyhedral distance shapes.
//
// A ConvexPolyhedron is a set of faces, each a plane (outward unit normal n, offset d: the
// face lies in n.p = d) and its corner loop, all at unit scale. Two distances:
//   PlaneMax(p, s)   max over faces of n.p - s d: the plane bound of the solid scaled by s
//                    (exact inside and in front of the faces, below the true distance
//                    near edges and corners)
//   Distance(p, s)   the exact signed distance to the solid scaled by |s| (the point itself
//                    when s is 0)
//
// The solids (circumradius 1 unless stated):
//   Octahedron              regular octahedron, corners on the axes
//   TruncatedOctahedron     the octahedron with its corners cut by the cube's planes at 2/3,
//                           every edge of equal length (octahedron_1)
//   Cuboctahedron           the octahedron cut at its edge midpoints by the cube's planes at 1/2
//                           (octahedron_2)
//   Icosahedron             regular icosahedron
//   Icosidodecahedron       the icosahedron cut at its edge midpoints (icosahedron_1)
//   GeodesicIcosahedron1/2  the icosahedron's triangles split once / twice into four, the new
//                           corners pushed out onto the unit sphere (icosahedron_div, _div2)
//   Dodecahedron            regular dodecahedron
//   TruncatedDodecahedron   the dodecahedron with its corners cut so that its faces become
//                           regular decagons and triangles (dodecahedron_1)
//   TruncatedIcosahedron    the football: the icosahedron's 20 hexagons at distance 1 and its
//                           12 pentagons at their regular distance 1.0265315
//   Football                the same 32 face normals, every face at distance 1 (the form
//                           p.n - s of the football solid)
#pragma once

#include <algorithm>
#include <vector>

#include "functions/VectorMath.h"

namespace luneth {

struct PolyhedronFace {
    Vec3 normal;
    float offset;
    std::vector<Vec3> corners;      // in counter-clockwise order seen from outside
    std::vector<Vec3> edgeNormals;  // in the face's plane, outward; edge i runs corner i -> i+1
};

class ConvexPolyhedron {
public:
    // The solid bounded by the planes n_i . p = d_i (unit normals); planes that touch it in
    // fewer than three corners are dropped.
    static ConvexPolyhedron FromPlanes(const std::vector<Vec3>& normals,
                                       const std::vector<float>& offsets);
    // The solid with the given triangular faces (corners in any order).
    static ConvexPolyhedron FromTriangles(const std::vector<Vec3>& corners);

    float PlaneMax(const Vec3& p, float scale) const;
    float Distance(const Vec3& p, float scale) const;

    const std::vector<PolyhedronFace>& Faces() const { return faces_; }

private:
    float UnitDistance(const Vec3& p) const;
    void AddFace(std::vector<Vec3> corners, Vec3 normal, float offset);

    std::vector<PolyhedronFace> faces_;
};

const ConvexPolyhedron& Octahedron();
const ConvexPolyhedron& TruncatedOctahedron();
const ConvexPolyhedron& Cuboctahedron();
const ConvexPolyhedron& Icosahedron();
const ConvexPolyhedron& Icosidodecahedron();
const ConvexPolyhedron& GeodesicIcosahedron1();
const ConvexPolyhedron& GeodesicIcosahedron2();
const ConvexPolyhedron& Dodecahedron();
const ConvexPolyhedron& TruncatedDodecahedron();
const ConvexPolyhedron& TruncatedIcosahedron();
const ConvexPolyhedron& Football();

// The tetrahedron of the solids, corners (s, s, s), (s, -s, -s), (-s, s, -s), (-s, -s, s): the
// largest of its four plane distances (the normals (+-1, +-1, +-1) with an even count of minus
// signs negated, scaled by 0.5773503).
inline float TetrahedronPlanes(float x, float y, float z, float s) {
    const float k = 0.5773503f;
    float a = (x + s) * k, b = -(y + s) * k, c = (z + s) * k;
    float e = (y - s) * k, f = (x - s) * k, g = (z - s) * k;
    return std::max(std::max(e - f + g, f + b + c), std::max(a + e - c, b - a - g));
}

}  // namespace luneth
