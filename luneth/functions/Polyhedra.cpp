#include "functions/Polyhedra.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "common/FloatConstants.h"
#include "functions/DistanceMath.h"

namespace luneth {

namespace {

// Construction runs once per solid in double precision; the faces are stored in float.
using D3 = std::array<double, 3>;

D3 Sub(const D3& a, const D3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double DotD(const D3& a, const D3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
D3 CrossD(const D3& a, const D3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
D3 Scale(const D3& a, double s) { return {a[0] * s, a[1] * s, a[2] * s}; }
D3 Normalized(const D3& a) { return Scale(a, 1.0 / std::sqrt(DotD(a, a))); }
Vec3 ToVec(const D3& a) {
    return {static_cast<float>(a[0]), static_cast<float>(a[1]), static_cast<float>(a[2])};
}
D3 ToD3(const Vec3& a) { return {a[0], a[1], a[2]}; }

constexpr double kGolden = 1.6180339887498949;
constexpr double kTolerance = 1e-9;

// The unit vectors of all sign choices of (a, b, c) and its cyclic shifts, without repeats.
std::vector<D3> CyclicSigned(double a, double b, double c) {
    std::vector<D3> out;
    const double base[3] = {a, b, c};
    for (int shift = 0; shift < 3; ++shift) {
        for (int signs = 0; signs < 8; ++signs) {
            D3 v;
            for (int i = 0; i < 3; ++i) {
                double x = base[(i + shift) % 3];
                v[i] = (signs >> i & 1) ? -x : x;
            }
            v = Normalized(v);
            bool seen = std::any_of(out.begin(), out.end(), [&](const D3& w) {
                return DotD(Sub(v, w), Sub(v, w)) < kTolerance;
            });
            if (!seen) out.push_back(v);
        }
    }
    return out;
}

std::vector<D3> Concat(std::vector<D3> a, const std::vector<D3>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Corner directions of the regular solids (also the face normals of their duals).
std::vector<D3> OctahedronCorners() { return CyclicSigned(1.0, 0.0, 0.0); }
std::vector<D3> CubeCorners() { return CyclicSigned(1.0, 1.0, 1.0); }
std::vector<D3> IcosahedronCorners() { return CyclicSigned(0.0, 1.0, kGolden); }
std::vector<D3> DodecahedronCorners() {
    return Concat(CubeCorners(), CyclicSigned(0.0, kGolden, 1.0 / kGolden));
}

// For a solid with the given unit corners, the face offset of the dual direction n: the
// largest projection of a corner onto n.
double FaceOffset(const std::vector<D3>& corners, const D3& n) {
    double best = -1.0;
    for (const D3& c : corners) best = std::max(best, DotD(c, n));
    return best;
}

// The offset of the plane normal to a unit corner that cuts every edge at the given fraction
// of its length from that corner (the neighbours are the nearest other corners).
double CornerCut(const std::vector<D3>& corners, double fraction) {
    double neighbour = -1.0;
    for (size_t i = 1; i < corners.size(); ++i)
        neighbour = std::max(neighbour, DotD(corners[0], corners[i]));
    return 1.0 - fraction * (1.0 - neighbour);
}

struct PlaneSet {
    std::vector<D3> normals;
    std::vector<double> offsets;

    void Add(const std::vector<D3>& normals_, double offset) {
        for (const D3& n : normals_) {
            normals.push_back(n);
            offsets.push_back(offset);
        }
    }
};

// The regular solid with the given corners and dual face normals, circumradius 1.
PlaneSet RegularSolid(const std::vector<D3>& corners, const std::vector<D3>& faceNormals) {
    PlaneSet s;
    s.Add(faceNormals, FaceOffset(corners, faceNormals[0]));
    return s;
}

// Its corners cut at the given fraction of the edges.
PlaneSet CutSolid(const std::vector<D3>& corners, const std::vector<D3>& faceNormals,
                  double fraction) {
    PlaneSet s = RegularSolid(corners, faceNormals);
    s.Add(corners, CornerCut(corners, fraction));
    return s;
}

ConvexPolyhedron Build(const PlaneSet& s) {
    std::vector<Vec3> normals;
    std::vector<float> offsets;
    for (size_t i = 0; i < s.normals.size(); ++i) {
        normals.push_back(ToVec(s.normals[i]));
        offsets.push_back(static_cast<float>(s.offsets[i]));
    }
    return ConvexPolyhedron::FromPlanes(normals, offsets);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction
// ---------------------------------------------------------------------------------------------

void ConvexPolyhedron::AddFace(std::vector<Vec3> corners, Vec3 normal, float offset) {
    PolyhedronFace face{normal, offset, std::move(corners), {}};
    size_t n = face.corners.size();
    for (size_t i = 0; i < n; ++i) {
        Vec3 e = face.corners[(i + 1) % n] - face.corners[i];
        Vec3 m = Cross(e, normal);
        face.edgeNormals.push_back(m / Length(m));
    }
    faces_.push_back(std::move(face));
}

ConvexPolyhedron ConvexPolyhedron::FromPlanes(const std::vector<Vec3>& normals,
                                              const std::vector<float>& offsets) {
    size_t count = std::min(normals.size(), offsets.size());
    std::vector<D3> n(count);
    std::vector<double> d(count);
    for (size_t i = 0; i < count; ++i) {
        n[i] = Normalized(ToD3(normals[i]));
        d[i] = offsets[i];
    }
    // Corners: points where three planes meet and no plane is exceeded.
    std::vector<D3> corners;
    for (size_t i = 0; i < count; ++i)
        for (size_t j = i + 1; j < count; ++j)
            for (size_t k = j + 1; k < count; ++k) {
                D3 jk = CrossD(n[j], n[k]), ki = CrossD(n[k], n[i]), ij = CrossD(n[i], n[j]);
                double det = DotD(n[i], jk);
                if (std::fabs(det) < 1e-9) continue;
                D3 p = Scale({d[i] * jk[0] + d[j] * ki[0] + d[k] * ij[0],
                              d[i] * jk[1] + d[j] * ki[1] + d[k] * ij[1],
                              d[i] * jk[2] + d[j] * ki[2] + d[k] * ij[2]},
                             1.0 / det);
                bool inside = true;
                for (size_t m = 0; m < count && inside; ++m) inside = DotD(n[m], p) <= d[m] + 1e-7;
                bool seen = std::any_of(corners.begin(), corners.end(), [&](const D3& c) {
                    return DotD(Sub(c, p), Sub(c, p)) < 1e-12;
                });
                if (inside && !seen) corners.push_back(p);
            }
    ConvexPolyhedron solid;
    for (size_t f = 0; f < count; ++f) {
        std::vector<D3> on;
        D3 centre{0, 0, 0};
        for (const D3& c : corners)
            if (std::fabs(DotD(n[f], c) - d[f]) < 1e-7) {
                on.push_back(c);
                centre = {centre[0] + c[0], centre[1] + c[1], centre[2] + c[2]};
            }
        if (on.size() < 3) continue;
        centre = Scale(centre, 1.0 / static_cast<double>(on.size()));
        // Counter-clockwise about the outward normal.
        D3 u = Normalized(Sub(on[0], centre)), v = CrossD(n[f], u);
        auto angle = [&](const D3& c) {
            D3 r = Sub(c, centre);
            return std::atan2(DotD(r, v), DotD(r, u));
        };
        std::sort(on.begin(), on.end(),
                  [&](const D3& a, const D3& b) { return angle(a) < angle(b); });
        std::vector<Vec3> loop;
        for (const D3& c : on) loop.push_back(ToVec(c));
        solid.AddFace(std::move(loop), ToVec(n[f]), static_cast<float>(d[f]));
    }
    return solid;
}

ConvexPolyhedron ConvexPolyhedron::FromTriangles(const std::vector<Vec3>& corners) {
    ConvexPolyhedron solid;
    for (size_t i = 0; i + 2 < corners.size(); i += 3) {
        D3 a = ToD3(corners[i]), b = ToD3(corners[i + 1]), c = ToD3(corners[i + 2]);
        D3 normal = Normalized(CrossD(Sub(b, a), Sub(c, a)));
        if (DotD(normal, a) < 0.0) {  // wound clockwise: turn it round
            std::swap(b, c);
            normal = Scale(normal, -1.0);
        }
        solid.AddFace({ToVec(a), ToVec(b), ToVec(c)}, ToVec(normal),
                      static_cast<float>(DotD(normal, a)));
    }
    return solid;
}

// ---------------------------------------------------------------------------------------------
// Distances
// ---------------------------------------------------------------------------------------------

float ConvexPolyhedron::PlaneMax(const Vec3& p, float scale) const {
    float best = -kBig;
    for (const PolyhedronFace& f : faces_)
        best = std::max(best, Dot(f.normal, p) - scale * f.offset);
    return best;
}

// Inside, the nearest face plane holds the nearest boundary point. Outside, the nearest point
// lies on a face the point is in front of; on that face it is the foot of the perpendicular
// when that falls inside the face, else the nearest point of an edge the foot is beyond.
float ConvexPolyhedron::UnitDistance(const Vec3& p) const {
    float front = -kBig;
    for (const PolyhedronFace& f : faces_) front = std::max(front, Dot(f.normal, p) - f.offset);
    if (!(front > 0.0f)) return front;
    float best = kBig;
    for (const PolyhedronFace& f : faces_) {
        float h = Dot(f.normal, p) - f.offset;
        if (h <= 0.0f || h >= best) continue;  // behind the face, or no nearer than found
        Vec3 foot = p - f.normal * h;
        float edges = kBig;
        size_t n = f.corners.size();
        for (size_t i = 0; i < n; ++i) {
            if (Dot(f.edgeNormals[i], foot - f.corners[i]) > 0.0f)
                edges = std::min(edges, SegmentDistance(p, f.corners[i], f.corners[(i + 1) % n]));
        }
        best = std::min(best, edges == kBig ? h : edges);
    }
    return best;
}

float ConvexPolyhedron::Distance(const Vec3& p, float scale) const {
    float s = std::fabs(scale);
    if (s < kEpsilon) return Length(p);
    return UnitDistance(p / s) * s;
}

// ---------------------------------------------------------------------------------------------
// The solids
// ---------------------------------------------------------------------------------------------

namespace {

// One solid per builder, built on first use.
template <auto Make>
const ConvexPolyhedron& Cached() {
    static const ConvexPolyhedron solid = Make();
    return solid;
}

// A regular pentagon cut at x from each corner keeps a - 2x of each edge and gains new edges
// of 2 x sin 54 deg; equal lengths give x = a / (2 + 2 cos 36 deg).
const double kDecagonCut = 1.0 / (2.0 + 2.0 * std::cos(std::numbers::pi / 5.0));

}  // namespace

const ConvexPolyhedron& Octahedron() {
    return Cached<[] { return Build(RegularSolid(OctahedronCorners(), CubeCorners())); }>();
}

const ConvexPolyhedron& TruncatedOctahedron() {
    return Cached<[] { return Build(CutSolid(OctahedronCorners(), CubeCorners(), 1.0 / 3.0)); }>();
}

const ConvexPolyhedron& Cuboctahedron() {
    return Cached<[] { return Build(CutSolid(OctahedronCorners(), CubeCorners(), 0.5)); }>();
}

const ConvexPolyhedron& Icosahedron() {
    return Cached<[] {
        return Build(RegularSolid(IcosahedronCorners(), DodecahedronCorners()));
    }>();
}

const ConvexPolyhedron& Icosidodecahedron() {
    return Cached<[] {
        return Build(CutSolid(IcosahedronCorners(), DodecahedronCorners(), 0.5));
    }>();
}

const ConvexPolyhedron& Dodecahedron() {
    return Cached<[] {
        return Build(RegularSolid(DodecahedronCorners(), IcosahedronCorners()));
    }>();
}

const ConvexPolyhedron& TruncatedDodecahedron() {
    return Cached<[] {
        return Build(CutSolid(DodecahedronCorners(), IcosahedronCorners(), kDecagonCut));
    }>();
}

// The icosahedron cut at a third of its edges, scaled to put its hexagons at distance 1.
const ConvexPolyhedron& TruncatedIcosahedron() {
    return Cached<[] {
        std::vector<D3> corners = IcosahedronCorners(), faces = DodecahedronCorners();
        PlaneSet s;
        s.Add(faces, 1.0);
        s.Add(corners, CornerCut(corners, 1.0 / 3.0) / FaceOffset(corners, faces[0]));
        return Build(s);
    }>();
}

const ConvexPolyhedron& Football() {
    return Cached<[] {
        PlaneSet s;
        s.Add(DodecahedronCorners(), 1.0);
        s.Add(IcosahedronCorners(), 1.0);
        return Build(s);
    }>();
}

namespace {

// The icosahedron's triangles split `times` times into four, new corners on the unit sphere.
ConvexPolyhedron Geodesic(int times) {
    std::vector<Vec3> triangles;
    for (const PolyhedronFace& f : Icosahedron().Faces())
        triangles.insert(triangles.end(), f.corners.begin(), f.corners.end());
    auto onSphere = [](const Vec3& a, const Vec3& b) { return ToVec(Normalized(ToD3(a + b))); };
    for (int t = 0; t < times; ++t) {
        std::vector<Vec3> finer;
        for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
            Vec3 a = triangles[i], b = triangles[i + 1], c = triangles[i + 2];
            Vec3 ab = onSphere(a, b), bc = onSphere(b, c), ca = onSphere(c, a);
            for (const Vec3& v : {a, ab, ca, ab, b, bc, ca, bc, c, ab, bc, ca}) finer.push_back(v);
        }
        triangles = std::move(finer);
    }
    return ConvexPolyhedron::FromTriangles(triangles);
}

}  // namespace

const ConvexPolyhedron& GeodesicIcosahedron1() {
    return Cached<[] { return Geodesic(1); }>();
}

const ConvexPolyhedron& GeodesicIcosahedron2() {
    return Cached<[] { return Geodesic(2); }>();
}

}  // namespace luneth
