// Polygons given by their corners: (x, y, v1x, v1y, v2x, v2y, ...), up to 11 corners in the
// 24 arguments of a call; the corner count is (argument count - 2) / 2.
//
//   IsPointInConvexPolygon   1 when (x, y) is inside or on the convex polygon (corners in either
//                            order), else 0; fewer than 3 corners hold no point
//   PolygonDistance          exact signed distance to the polygon (negative inside, by the
//                            even-odd rule, so any simple polygon works); one corner is a point,
//                            two a segment; no corner at all is infinitely far (3.4028235e38)
#include <algorithm>

#include "functions/DistanceMath.h"
#include "functions/Families.h"
#include "functions/VariadicArgs.h"

namespace luneth {

namespace {

constexpr int kMaxCorners = (kMaxVariadicArguments - 2) / 2;

struct Corners {
    Vec2 v[kMaxCorners];
    int n = 0;
};

Corners ReadCorners(const VariadicArgs& a) {
    Corners c;
    c.n = std::clamp((a.size() - 2) / 2, 0, kMaxCorners);
    for (int i = 0; i < c.n; ++i) c.v[i] = {a[2 + 2 * i], a[3 + 2 * i]};
    return c;
}

float IsPointInConvexPolygon(const float* args, int count) {
    VariadicArgs a(args, count);
    Corners c = ReadCorners(a);
    if (c.n < 3) return 0.0f;
    Vec2 p{a[0], a[1]};
    bool left = false, right = false;
    for (int i = 0; i < c.n; ++i) {
        Vec2 e = c.v[(i + 1) % c.n] - c.v[i], w = p - c.v[i];
        float side = e[0] * w[1] - e[1] * w[0];
        left = left || side > 0.0f;
        right = right || side < 0.0f;
    }
    return (left && right) ? 0.0f : 1.0f;
}

float PolygonDistance(const float* args, int count) {
    VariadicArgs a(args, count);
    Corners c = ReadCorners(a);
    return PolygonSignedDistance({a[0], a[1]}, c.v, c.n);
}

constexpr BuiltinFunction kPolygons[] = {
    {"IsPointInConvexPolygon", IsPointInConvexPolygon},
    {"PolygonDistance", PolygonDistance},
};

}  // namespace

FunctionTable PolygonFunctions() { return kPolygons; }

}  // namespace luneth
