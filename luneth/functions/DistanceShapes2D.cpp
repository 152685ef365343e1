// Plane shapes: signed distance from (x, y) to a shape centred at the origin (negative inside).
//
//   sdCircle2D(x, y, r)                   circle of radius r
//   sdLine2D(x, y, ax, ay, bx, by)        unsigned distance to the segment AB
//   sdCapsule2D(x, y, ax, ay, bx, by, r)  segment AB thickened by r
//   sdSquare2D(x, y, s), sdRect2D(x, y, w, h)   half-sizes s / (w, h)
//   sdRhombus2D(x, y, w, h)               corners (+-w, 0), (0, +-h)
//   sdEquilateralTriangle2D(x, y)         side 2, corners (+-1, -1/sqrt 3), (0, 2/sqrt 3)
//   sdTriangleIsosceles2D(x, y, w, h)     apex at the origin, base from (-w, h) to (w, h)
//   sdUnevenCapsule2D(x, y, r1, r2, h)    discs r1 at (0, 0) and r2 at (0, h), tangents joined
//   sdTriangle2D(x, y, ax, ay, bx, by, cx, cy)  triangle ABC
//   sdPentagon2D(x, y, r)                 regular pentagon of inradius r, an edge on top
//   sdTrapezoid2D(x, y, r1, r2, h)        half-widths r1 (bottom, y = -h) and r2 (top, y = h)
//   sdEllipse2D(x, y, a, b)               ellipse of half-axes a, b
//   sdVesica2D(x, y, r, d)                lens of two radius-r circles centred at (+-d, 0)
//   sdCross2D(x, y, bx, by, r)            plus sign of arm half-length bx and half-width by,
//                                         grown by r with rounded corners
//   sdBezier2D(x, y, ax, ay, bx, by, cx, cy)  unsigned distance to the quadratic Bezier ABC
//   sdRegularPolygon2D(x, y, r, n)        regular n-gon of circumradius r, a corner on top
//   sdStar2D(x, y, r, n, m)               n-pointed star of outer radius r, m in [2, n] sets
//                                         the sharpness (2 gives the n-gon)
//
// The n-gon and the star fall back to the circle |p| - r when truncate(n) is not within
// 3 .. 1000. All shapes are exact (the cross: exact outside, a bound near its inner corners
// when grown by r).
#include <algorithm>
#include <cmath>

#include "functions/DistanceMath.h"
#include "functions/Families.h"
#include "functions/VariadicArgs.h"

namespace luneth {

namespace {

constexpr float kPi = 3.1415927f;

inline Vec2 ArgVec2(const VariadicArgs& a, int i) { return {a[i], a[i + 1]}; }

float Circle(float x, float y, float r) { return Length(Vec2{x, y}) - r; }

float Line(const float* args, int count) {
    VariadicArgs a(args, count);
    return SegmentDistance(ArgVec2(a, 0), ArgVec2(a, 2), ArgVec2(a, 4));
}

float Capsule(const float* args, int count) {
    VariadicArgs a(args, count);
    return SegmentDistance(ArgVec2(a, 0), ArgVec2(a, 2), ArgVec2(a, 4)) - a[6];
}

float Square(float x, float y, float s) { return BoxDistance(Vec2{x, y}, Vec2{s, s}); }

float Rect(float x, float y, float w, float h) { return BoxDistance(Vec2{x, y}, Vec2{w, h}); }

float Rhombus(float x, float y, float w, float h) {
    Vec2 q{std::fabs(x), std::fabs(y)};
    float ww = w * w + h * h;
    float f =
        ww > 0.0f ? Clamp((w * w - h * h - 2.0f * (q[0] * w - q[1] * h)) / ww, -1.0f, 1.0f) : 0.0f;
    float d = Length(q - Vec2{w * (1.0f - f) * 0.5f, h * (1.0f + f) * 0.5f});
    return q[0] * h + q[1] * w - w * h <= 0.0f ? -d : d;
}

float TriangleIsosceles(float x, float y, float w, float h) {
    Vec2 p{std::fabs(x), y}, q{w, h};
    float qq = Dot(q, q);
    Vec2 a = p - q * (qq > 0.0f ? Clamp(Dot(p, q) / qq, 0.0f, 1.0f) : 0.0f);
    Vec2 b = p - q * Vec2{w != 0.0f ? Clamp(p[0] / w, 0.0f, 1.0f) : 0.0f, 1.0f};
    float s = h >= 0.0f ? -1.0f : 1.0f;  // which side of the legs is inside
    float distance2 = std::min(Dot(a, a), Dot(b, b));
    float side = std::min(s * (p[0] * h - p[1] * w), s * (p[1] - h));
    return side > 0.0f ? -std::sqrt(distance2) : std::sqrt(distance2);
}

float UnevenCapsule(const float* args, int count) {
    VariadicArgs a(args, count);
    return TangentCapsuleProfile({std::fabs(a[0]), a[1]}, a[2], a[3], a[4]);
}

float Triangle(const float* args, int count) {
    VariadicArgs a(args, count);
    const Vec2 corners[3] = {ArgVec2(a, 2), ArgVec2(a, 4), ArgVec2(a, 6)};
    return PolygonSignedDistance(ArgVec2(a, 0), corners, 3);
}

float Pentagon(float x, float y, float r) {
    const float k1 = 0.809017f, k2 = 0.58778524f, k3 = 0.72654253f;
    Vec2 p{std::fabs(x), y};
    for (Vec2 n : {Vec2{-k1, k2}, Vec2{k1, k2}}) p = p - n * (2.0f * std::min(Dot(n, p), 0.0f));
    p = p - Vec2{Clamp(p[0], -k3 * r, k3 * r), r};
    return Length(p) * SignOf(p[1]);
}

float Trapezoid(const float* args, int count) {
    VariadicArgs a(args, count);
    return FrustumProfile({std::fabs(a[0]), a[1]}, a[2], a[3], a[4]);
}

// Exact distance to the ellipse by bisection on the Lagrange parameter of the nearest point
// (Eberly's robust method), in double precision. With the point folded into the first quadrant
// and the axes ordered e0 >= e1, the nearest point is (r0 y0 / (s + r0), y1 / (s + 1)) scaled
// by the axes, for the root s of F(s) = (r0 z0 / (s + r0))^2 + (z1 / (s + 1))^2 - 1 with
// z = y / e and r0 = (e0 / e1)^2; F falls monotonically, so bisection always converges.
float Ellipse(float x, float y, float a, float b) {
    double e0 = std::fabs(a), e1 = std::fabs(b), y0 = std::fabs(x), y1 = std::fabs(y);
    if (e0 < e1) {
        std::swap(e0, e1);
        std::swap(y0, y1);
    }
    if (e1 <= 0.0) {  // flat: the segment between the ends of the long axis
        return static_cast<float>(std::hypot(std::max(y0 - e0, 0.0), y1));
    }
    double z0 = y0 / e0, z1 = y1 / e1, g = z0 * z0 + z1 * z1 - 1.0;
    double sign = g < 0.0 ? -1.0 : 1.0;
    if (y1 <= 0.0) {  // on the long axis: the nearest point is off the axis when inside enough
        double numer = e0 * y0, denom = e0 * e0 - e1 * e1;
        if (numer < denom) {
            double t = numer / denom;
            return static_cast<float>(sign * std::hypot(e0 * t - y0, e1 * std::sqrt(1.0 - t * t)));
        }
        return static_cast<float>(y0 - e0);
    }
    if (y0 <= 0.0) return static_cast<float>(y1 - e1);
    double r0 = (e0 / e1) * (e0 / e1), n0 = r0 * z0;
    double lo = z1 - 1.0, hi = g < 0.0 ? 0.0 : std::hypot(n0, z1) - 1.0, s = lo;
    for (int i = 0; i < 160; ++i) {  // 160 halvings exhaust a double interval
        s = 0.5 * (lo + hi);
        if (s == lo || s == hi) break;
        double q0 = n0 / (s + r0), q1 = z1 / (s + 1.0), f = q0 * q0 + q1 * q1 - 1.0;
        if (f > 0.0)
            lo = s;
        else if (f < 0.0)
            hi = s;
        else
            break;
    }
    double nx = r0 * y0 / (s + r0), ny = y1 / (s + 1.0);
    return static_cast<float>(sign * std::hypot(nx - y0, ny - y1));
}

float Vesica(float x, float y, float r, float d) {
    float qx = std::fabs(x), qy = std::fabs(y);
    float b = std::sqrt(std::max(r * r - d * d, 0.0f));  // circles that miss: the centre point
    if ((qy - b) * d > b * qx) return Length(Vec2{qx, qy - b});
    return Length(Vec2{qx + d, qy}) - r;
}

float Cross(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec2 p = Abs(ArgVec2(a, 0));
    if (p[1] > p[0]) p = {p[1], p[0]};
    // Arm half-length first: the arms are the longer side.
    Vec2 b{std::max(a[2], a[3]), std::min(a[2], a[3])};
    Vec2 q = p - b;
    float k = std::max(q[0], q[1]);
    Vec2 w = k > 0.0f ? q : Vec2{b[1] - p[0], -k};
    return SignOf(k) * Length(MaxZero(w)) - a[4];
}

// Closest approach of the point to B(t) = A + 2 (B - A) t + (A - 2B + C) t^2, t in [0, 1]:
// the roots of the cubic d/dt |B(t) - P|^2 = 0, solved in double precision, and both ends.
float Bezier(const float* args, int count) {
    VariadicArgs va(args, count);
    double px = va[0], py = va[1];
    double ax = va[2], ay = va[3], bx = va[4], by = va[5], cx = va[6], cy = va[7];
    double ex = 2.0 * (bx - ax), ey = 2.0 * (by - ay);        // first-order term
    double fx = ax - 2.0 * bx + cx, fy = ay - 2.0 * by + cy;  // second-order term
    double dx = ax - px, dy = ay - py;
    auto distance2 = [&](double t) {
        double x = dx + (ex + fx * t) * t, y = dy + (ey + fy * t) * t;
        return x * x + y * y;
    };
    double best = std::min(distance2(0.0), distance2(1.0));
    double ff = fx * fx + fy * fy;
    if (ff <= 1e-12 * (ex * ex + ey * ey)) {
        // A straight curve: A to C at even speed.
        Vec2 p{static_cast<float>(px), static_cast<float>(py)};
        return SegmentDistance(p, ArgVec2(va, 2), ArgVec2(va, 6));
    }
    // t^3 + k2 t^2 + k1 t + k0 = 0.
    double k2 = 1.5 * (ex * fx + ey * fy) / ff;
    double k1 = (ex * ex + ey * ey + 2.0 * (dx * fx + dy * fy)) / (2.0 * ff);
    double k0 = (dx * ex + dy * ey) / (2.0 * ff);
    double p = k1 - k2 * k2 / 3.0, q = 2.0 * k2 * k2 * k2 / 27.0 - k2 * k1 / 3.0 + k0;
    double disc = q * q / 4.0 + p * p * p / 27.0;
    double roots[3];
    int n = 0;
    if (disc >= 0.0) {
        double s = std::sqrt(disc);
        roots[n++] = std::cbrt(-q / 2.0 + s) + std::cbrt(-q / 2.0 - s) - k2 / 3.0;
    } else {
        double m = 2.0 * std::sqrt(-p / 3.0);
        double phi = std::acos(std::clamp(3.0 * q / (p * m), -1.0, 1.0)) / 3.0;
        for (int i = 0; i < 3; ++i)
            roots[n++] = m * std::cos(phi - 2.0943951023931953 * i) - k2 / 3.0;
    }
    for (int i = 0; i < n; ++i) {
        if (roots[i] > 0.0 && roots[i] < 1.0) best = std::min(best, distance2(roots[i]));
    }
    return static_cast<float>(std::sqrt(best));
}

// The point (x, y) folded into one sector of an n-fold star or polygon with a tip on the +y
// axis: sectors of width 2 half run from tip to tip; returns (|p| cos b, |p| |sin b|) where b,
// in [-half, half), is the angle from the sector's middle, so the tips lie at angle half.
inline Vec2 FoldSector(float x, float y, float half) {
    float theta = std::atan2(x, y);
    float b = theta - 2.0f * half * std::floor(theta / (2.0f * half)) - half;
    float len = Length(Vec2{x, y});
    return {len * std::cos(b), len * std::fabs(std::sin(b))};
}

// The folded star: its tip at angle `half` and radius r, its edge running from the tip at the
// angle edgeAngle (seen from the inner corner) down to the sector's middle line.
inline float StarSector(Vec2 p, float r, float half, float edgeAngle) {
    Vec2 tip{r * std::cos(half), r * std::sin(half)}, e{std::cos(edgeAngle), std::sin(edgeAngle)};
    p = p - tip;
    p = p + e * Clamp(-Dot(p, e), 0.0f, tip[1] / e[1]);
    return Length(p) * SignOf(p[0]);
}

inline bool PointsInRange(int n) { return n >= 3 && n <= 1000; }

// The n-gon is the star with the blunt edge angle pi/2 (edges across the sectors' borders).
float RegularPolygon(float x, float y, float r, float n) {
    int sides = TruncateInt(n);
    if (!PointsInRange(sides)) return Circle(x, y, r);
    float half = kPi / static_cast<float>(sides);
    return StarSector(FoldSector(x, y, half), r, half, kPi * 0.5f);
}

float Star(const float* args, int count) {
    VariadicArgs a(args, count);
    int points = TruncateInt(a[3]);
    if (!PointsInRange(points)) return Circle(a[0], a[1], a[2]);
    float m = a[4];
    if (!(m >= 2.0f)) m = 2.0f;
    m = std::min(m, static_cast<float>(points));
    float half = kPi / static_cast<float>(points);
    return StarSector(FoldSector(a[0], a[1], half), a[2], half, kPi / m);
}

constexpr BuiltinFunction kShapes2D[] = {
    {"sdCircle2D", Circle},
    {"sdLine2D", Line},
    {"sdCapsule2D", Capsule},
    {"sdSquare2D", Square},
    {"sdRect2D", Rect},
    {"sdRhombus2D", Rhombus},
    {"sdEquilateralTriangle2D", EquilateralTriangleDistance},
    {"sdTriangleIsosceles2D", TriangleIsosceles},
    {"sdUnevenCapsule2D", UnevenCapsule},
    {"sdTriangle2D", Triangle},
    {"sdPentagon2D", Pentagon},
    {"sdTrapezoid2D", Trapezoid},
    {"sdEllipse2D", Ellipse},
    {"sdVesica2D", Vesica},
    {"sdCross2D", Cross},
    {"sdBezier2D", Bezier},
    {"sdRegularPolygon2D", RegularPolygon},
    {"sdStar2D", Star},
};

}  // namespace

FunctionTable DistanceShape2DFunctions() { return kShapes2D; }

}  // namespace luneth
