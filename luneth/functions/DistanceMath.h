// Signed-distance building blocks shared by the 2-D shapes, the 3-D shapes and the solids.
//
// Signed distance: negative inside, positive outside, zero on the boundary. The templates over
// the dimension N serve a 2-D shape and its 3-D twin (square and box, segment and capsule); the
// radial profiles serve a plane shape and its solid of revolution (q = (|x|, y) for the trapezoid
// and the uneven capsule, q = (|(x, z)|, y) for the capped cone and the round cone).
#pragma once

#include <algorithm>
#include <cmath>

#include "common/FloatConstants.h"
#include "functions/VectorMath.h"

namespace luneth {

// Box of half-sizes b centred at the origin (exact).
template <int N>
inline float BoxDistance(const Vec<N>& p, const Vec<N>& b) {
    Vec<N> q = Abs(p) - b;
    return Length(MaxZero(q)) + std::min(MaxComponent(q), 0.0f);
}

// Unsigned distance to the segment AB; a degenerate segment is its point A.
template <int N>
inline float SegmentDistance(const Vec<N>& p, const Vec<N>& a, const Vec<N>& b) {
    Vec<N> pa = p - a, ba = b - a;
    float dd = Dot(ba, ba);
    float h = dd > 0.0f ? Clamp(Dot(pa, ba) / dd, 0.0f, 1.0f) : 0.0f;
    return Length(pa - ba * h);
}

// A plane shape of signed distance d2 extruded along its third axis to half-length h (exact
// when d2 is).
inline float Extrude(float d2, float z, float h) {
    Vec2 w{d2, std::fabs(z) - h};
    return std::min(std::max(w[0], w[1]), 0.0f) + Length(MaxZero(w));
}

// Radial profile of a frustum: bottom radius r1 at y = -h, top radius r2 at y = h (exact).
// q = (radial distance >= 0, y).
inline float FrustumProfile(const Vec2& q, float r1, float r2, float h) {
    Vec2 k1{r2, h}, k2{r2 - r1, 2.0f * h};
    Vec2 ca{q[0] - std::min(q[0], q[1] < 0.0f ? r1 : r2), std::fabs(q[1]) - h};
    float kk = Dot(k2, k2);
    float t = kk > 0.0f ? Clamp(Dot(k1 - q, k2) / kk, 0.0f, 1.0f) : 0.0f;
    Vec2 cb = q - k1 + k2 * t;
    float s = (cb[0] < 0.0f && ca[1] < 0.0f) ? -1.0f : 1.0f;
    return s * std::sqrt(std::min(Dot(ca, ca), Dot(cb, cb)));
}

// Radial profile of two discs/balls joined by their common tangents: radius r1 at y = 0, r2 at
// y = h (exact). When one ball holds the other, the larger one alone.
inline float TangentCapsuleProfile(Vec2 q, float r1, float r2, float h) {
    if (h < 0.0f) {  // the same shape upside down
        q[1] = -q[1];
        h = -h;
    }
    float lower = Length(q) - r1, upper = Length(q - Vec2{0.0f, h}) - r2;
    if (!(h > std::fabs(r1 - r2))) return std::min(lower, upper);
    float b = (r1 - r2) / h;
    float a = std::sqrt(1.0f - b * b);
    float k = Dot(q, Vec2{-b, a});
    if (k < 0.0f) return lower;
    if (k > a * h) return upper;
    return Dot(q, Vec2{a, b}) - r1;
}

// Equilateral triangle of side 2 centred at the origin, a corner on top (exact).
inline float EquilateralTriangleDistance(float x, float y) {
    const float k = 1.7320508f;
    float px = std::fabs(x) - 1.0f, py = y + 0.57735026f;
    if (px + k * py > 0.0f) {
        float nx = (px - k * py) * 0.5f;
        py = (-k * px - py) * 0.5f;
        px = nx;
    }
    px -= Clamp(px, -2.0f, 0.0f);
    return -Length(Vec2{px, py}) * SignOf(py);
}

// Signed distance to the polygon with vertices v[0 .. n-1] in order (either orientation,
// simple or not: the sign follows the even-odd rule). Exact.
inline float PolygonSignedDistance(const Vec2& p, const Vec2* v, int n) {
    if (n < 1) return kBig;
    Vec2 d0 = p - v[0];
    float best = Dot(d0, d0), sign = 1.0f;
    for (int i = 0, j = n - 1; i < n; j = i, ++i) {
        Vec2 e = v[j] - v[i], w = p - v[i];
        float ee = Dot(e, e);
        Vec2 b = w - e * (ee > 0.0f ? Clamp(Dot(w, e) / ee, 0.0f, 1.0f) : 0.0f);
        best = std::min(best, Dot(b, b));
        bool c1 = p[1] >= v[i][1], c2 = p[1]<v[j][1], c3 = e[0] * w[1]> e[1] * w[0];
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
    }
    return sign * std::sqrt(best);
}

}  // namespace luneth
