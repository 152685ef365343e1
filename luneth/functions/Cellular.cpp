// Cellular noise: distances to one jittered feature point per lattice cell.
//
//   index
//   1. Worley cores      xor_/fdf_/sin_worley2d/3d (3x3 window, start 3, so <= sqrt 3),
//                        xor_/fdf_/sin_fast_worley2d/3d (2x2 window, start 2, so <= sqrt 2),
//                        xor_worleyex2d/3d (jitter, tiling period)
//   2. named Voronoi     iq_, ak_, kt_, ga_, mp_, fast_, tap3_voronoi2d, la_, circle_worley2d,
//                        their 3-D twins, voronesque3d, smooth_voronoi2d, iq_voronoise2d/3d,
//                        iq_voronoise2d_uv
//   3. cellular grids    tw_cellular2d/3d, li_cellular2d, tile_cell2d/3d, tiled_cellular2d/3d
//   4. table
//
// Design of the rules:
//   fast_voronoi2d    the four cells around the lattice corner nearest to p, each with a point
//                     jittered by at most 0.25 around its centre (iq_voronoi2d's offsets);
//                     min distance from 1, so in [0, 1] like iq_voronoi2d.
//   circle_worley2d   radius of the nearest cell 0.5 + 0.5 h, h the xor_ hash with the third
//                     seed (8848); result 2 d / r, below 1 inside the cell's circle. 3-D alike.
//   kt_voronoi3d      offset 0.5 + 0.2 (cos cx + cos cy + cos cz) on every axis: the 2-D range
//                     0.5 +- 0.6 with one more cosine.
//   ga_voronoi3d, iq_voronoise3d, la_worley3d, iq_voronoi3d ... the 2-D rules over 27 cells
//                     with the three-output hashes; la_worley3d takes its z offset from the
//                     lattice scaled by 1.17.
//   voronesque3d      tap3_voronoi2d one axis up: the four corners of the 3-D simplex cell
//                     (skew 1/3, unskew 1/6), each jittered by 0.125 sin(2 pi fract(2^k s)),
//                     s = sin(41 cx + 289 cy + 113 cz), k = 21, 18, 15; result
//                     sqrt(min d^2 / 0.596), in [0, 1] (0.596 is (farthest nearest-corner
//                     distance + largest jitter)^2, as 0.425 is in 2-D).
//   ga_voronoi2d/3d   the Gaussian weights reach beyond a 3x3 window: the sum runs over the
//                     4x4 (4x4x4) cells whose points are nearest, so the rings do not tear
//                     along the lattice.
//   tile_cell3d, tiled_cellular3d  four unit grids in frames turned by 45 degrees about z,
//                     then x, then y; scaled to the 2-D ranges (about [0, 0.71] and [0, 1]).
#include <algorithm>
#include <cmath>

#include "functions/CellularNoise.h"
#include "functions/Families.h"
#include "functions/FractalSums.h"
#include "functions/LatticeNoise.h"

namespace luneth {

namespace {

using namespace cellular;
using noise::FdfHash;
using noise::Fract;
using noise::SinHash;
using noise::XorHash;

float Smooth(float t) { return t * t * (3.0f - 2.0f * t); }
float Clamp01(float t) { return std::min(std::max(t, 0.0f), 1.0f); }

// ---- 1. Worley cores -------------------------------------------------------------------------

template <class H>
float Worley2d(float x, float y) {
    return std::sqrt(NearestPoint2(H::Hash22, x, y, -1, 1, 3.0f).d2);
}
template <class H>
float Worley3d(float x, float y, float z) {
    return std::sqrt(NearestPoint3(H::Hash33, x, y, z, -1, 1, 3.0f).d2);
}

// Points within 0.309 of the four (eight) lattice corners of the cell.
template <class H>
float FastWorley2d(float x, float y) {
    auto offset = [](float cx, float cy) {
        Float2 h = H::Hash22(cx, cy);
        return Float2{(h.x - 0.5f) * 0.618f, (h.y - 0.5f) * 0.618f};
    };
    return std::sqrt(NearestPoint2(offset, x, y, 0, 1, 2.0f).d2);
}
template <class H>
float FastWorley3d(float x, float y, float z) {
    auto offset = [](float cx, float cy, float cz) {
        Float3 h = H::Hash33(cx, cy, cz);
        return Float3{(h.x - 0.5f) * 0.618f, (h.y - 0.5f) * 0.618f, (h.z - 0.5f) * 0.618f};
    };
    return std::sqrt(NearestPoint3(offset, x, y, z, 0, 1, 2.0f).d2);
}

// Cell coordinates wrapped into [0, period) before hashing; a period below 2 leaves them.
struct Wrap {
    float period;
    float operator()(float k) const {
        if (!(period >= 2.0f)) return k;
        float m = std::fmod(k, period);
        return m < 0.0f ? m + period : m;
    }
};

float XorWorleyex2d(float x, float y, float jitter, float period) {
    Wrap wrap{period};
    auto offset = [&](float cx, float cy) {
        Float2 h = XorHash::Hash22(wrap(cx), wrap(cy));
        return Float2{h.x * jitter, h.y * jitter};
    };
    return std::sqrt(NearestPoint2(offset, x, y, -1, 1, 3.0f).d2);
}

float XorWorleyex3d(const float* a, int n) {
    using fractal::Arg;
    float jitter = Arg(a, n, 3);
    Wrap wrap{Arg(a, n, 4)};
    auto offset = [&](float cx, float cy, float cz) {
        Float3 h = XorHash::Hash33(wrap(cx), wrap(cy), wrap(cz));
        return Float3{h.x * jitter, h.y * jitter, h.z * jitter};
    };
    return std::sqrt(
        NearestPoint3(offset, Arg(a, n, 0), Arg(a, n, 1), Arg(a, n, 2), -1, 1, 3.0f).d2);
}

// ---- 2. named Voronoi ------------------------------------------------------------------------

Float2 IqOffset2(float cx, float cy) {
    return {XorHash::Hash2(cx, cy), XorHash::Hash2(cx + 13.0f, cy + 51.0f)};
}

float IqVoronoi2d(float x, float y) {
    return std::sqrt(NearestPoint2(IqOffset2, x, y, -1, 1, 100.0f).d2);
}
float IqVoronoi3d(float x, float y, float z) {
    return std::sqrt(NearestPoint3(XorHash::Hash33, x, y, z, -1, 1, 1.0f).d2);
}

float AkVoronoi2d(float x, float y) {
    auto offset = [](float cx, float cy) {
        return Float2{Fract(5.0f * std::sin(2.0f * cx + 5.0f * cy)),
                      Fract(5.0f * std::sin(5.0f * cx + 2.0f * cy))};
    };
    return std::sqrt(NearestPoint2(offset, x, y, -1, 1, 1.0e6f).d2);
}
float AkVoronoi3d(float x, float y, float z) {
    auto offset = [](float cx, float cy, float cz) {
        return Float3{Fract(5.0f * std::sin(2.0f * cx + 3.0f * cy + 5.0f * cz)),
                      Fract(5.0f * std::sin(3.0f * cx + 5.0f * cy + 2.0f * cz)),
                      Fract(5.0f * std::sin(5.0f * cx + 2.0f * cy + 3.0f * cz))};
    };
    return std::sqrt(NearestPoint3(offset, x, y, z, -1, 1, 1.0e6f).d2);
}

float KtVoronoi2d(float x, float y) {
    auto offset = [](float cx, float cy) {
        float o = 0.5f + 0.3f * (std::cos(cx) + std::cos(cy));
        return Float2{o, o};
    };
    return std::sqrt(NearestPoint2(offset, x, y, -1, 1, 1.0f).d2);
}
float KtVoronoi3d(float x, float y, float z) {
    auto offset = [](float cx, float cy, float cz) {
        float o = 0.5f + 0.2f * (std::cos(cx) + std::cos(cy) + std::cos(cz));
        return Float3{o, o, o};
    };
    return std::sqrt(NearestPoint3(offset, x, y, z, -1, 1, 1.0f).d2);
}

// Gaussian-weighted average of sin(4 pi d) over the points: rings around every point. Cell c's
// point lies in c + [0.5, 1.3); the window holds the four cells per axis whose point ranges are
// nearest to p. Fewer would tear the rings along the lattice: a 3x3 window drops, as p crosses
// a border, a point whose weight is several hundredths of the sum.
constexpr float kGaCentre = 0.9f;  // the middle of a point's range within its cell

float GaVoronoi2d(float x, float y) {
    float sum = 0.0f, wsum = 0.0f;
    ForEachCell2(x - kGaCentre, y - kGaCentre, -1, 2, [&](float rx, float ry, float cx, float cy) {
        Float2 h = XorHash::Hash22(cx, cy);
        float dx = rx + 0.5f + 0.8f * h.x - kGaCentre, dy = ry + 0.5f + 0.8f * h.y - kGaCentre;
        float d2 = dx * dx + dy * dy;
        float w = std::exp(-4.0f * d2);
        sum += w * std::sin(12.56637f * std::sqrt(d2));
        wsum += w;
    });
    return sum / wsum;
}
float GaVoronoi3d(float x, float y, float z) {
    float sum = 0.0f, wsum = 0.0f;
    ForEachCell3(x - kGaCentre, y - kGaCentre, z - kGaCentre, -1, 2,
                 [&](float rx, float ry, float rz, float cx, float cy, float cz) {
                     Float3 h = XorHash::Hash33(cx, cy, cz);
                     float dx = rx + 0.5f + 0.8f * h.x - kGaCentre,
                           dy = ry + 0.5f + 0.8f * h.y - kGaCentre;
                     float dz = rz + 0.5f + 0.8f * h.z - kGaCentre;
                     float d2 = dx * dx + dy * dy + dz * dz;
                     float w = std::exp(-4.0f * d2);
                     sum += w * std::sin(12.56637f * std::sqrt(d2));
                     wsum += w;
                 });
    return sum / wsum;
}

// Distance to twenty moving points, each taken modulo the unit lattice.
float MpVoronoi2d(float x, float y) {
    float p0 = 1.01f, p1 = 1.11f, p2 = 1.21f, p3 = 1.31f, best = 0.5f;
    auto fold = [&](float u, float v) {
        float qx = Fract(u) - 0.5f, qy = Fract(v) - 0.5f;
        best = std::min(best, qx * qx + qy * qy);
    };
    for (int i = 0; i < 10; ++i) {
        fold(std::sin(p0) + x, std::sin(p1) + y);
        fold(std::sin(p2) + x, std::sin(p3) + y);
        float fi = static_cast<float>(i);
        p0 += 3.0f * fi + 1.3f;
        p1 += 4.0f * fi + 2.5f;
        p2 += 5.0f * fi + 3.3f;
        p3 += 6.0f * fi + 4.1f;
    }
    return 4.0f * std::sqrt(best);
}

float FastVoronoi2d(float x, float y) {
    // Cells b and b + 1 per axis, with b + 1 the corner nearest to p.
    float bx = std::floor(x - 0.5f), by = std::floor(y - 0.5f);
    float fx = x - bx, fy = y - by, best = 1.0f;
    for (int j = 0; j <= 1; ++j) {
        for (int i = 0; i <= 1; ++i) {
            float nx = static_cast<float>(i), ny = static_cast<float>(j);
            Float2 o = IqOffset2(bx + nx, by + ny);
            float dx = nx + 0.5f + (o.x - 0.5f) * 0.5f - fx;
            float dy = ny + 0.5f + (o.y - 0.5f) * 0.5f - fy;
            best = std::min(best, dx * dx + dy * dy);
        }
    }
    return std::sqrt(best);
}

// Simplex-grid Voronoi: only the corners of the simplex cell of p are searched.
float Tap3Voronoi2d(float x, float y) {
    constexpr float kSkew = 0.3660254f, kUnskew = 0.2113249f;
    float s = (x + y) * kSkew;
    float ix = std::floor(x + s), iy = std::floor(y + s);
    float t = (ix + iy) * kUnskew;
    float x0 = x - ix + t, y0 = y - iy + t;
    float ox = x0 > y0 ? 1.0f : 0.0f, oy = 1.0f - ox;
    auto tap = [](float cx, float cy, float px, float py) {
        float h = std::sin(289.0f * cy + 41.0f * cx);
        float jx = 0.125f * std::sin(6.2831855f * Fract(2097152.0f * h));
        float jy = 0.125f * std::sin(6.2831855f * Fract(262144.0f * h));
        float dx = px - jx, dy = py - jy;
        return dx * dx + dy * dy;
    };
    float d =
        std::min({tap(ix, iy, x0, y0), tap(ix + ox, iy + oy, x0 - ox + kUnskew, y0 - oy + kUnskew),
                  tap(ix + 1.0f, iy + 1.0f, x0 - 0.5773502f, y0 - 0.5773502f)});
    return std::sqrt(d / 0.425f);
}

float Voronesque3d(float x, float y, float z) {
    constexpr float kThird = 0.3333333f, kSixth = 0.1666667f;
    float s = (x + y + z) * kThird;
    float ix = std::floor(x + s), iy = std::floor(y + s), iz = std::floor(z + s);
    float t = (ix + iy + iz) * kSixth;
    float x0 = x - ix + t, y0 = y - iy + t, z0 = z - iz + t;
    const auto [i1, j1, k1, i2, j2, k2] = noise::SimplexMiddleCorners(x0, y0, z0);
    auto tap = [&](float di, float dj, float dk, float shift) {
        float h = std::sin(41.0f * (ix + di) + 289.0f * (iy + dj) + 113.0f * (iz + dk));
        float jx = 0.125f * std::sin(6.2831855f * Fract(2097152.0f * h));
        float jy = 0.125f * std::sin(6.2831855f * Fract(262144.0f * h));
        float jz = 0.125f * std::sin(6.2831855f * Fract(32768.0f * h));
        float dx = x0 - di + shift - jx, dy = y0 - dj + shift - jy, dz = z0 - dk + shift - jz;
        return dx * dx + dy * dy + dz * dz;
    };
    float d = std::min(
        {tap(0, 0, 0, 0.0f), tap(i1, j1, k1, kSixth), tap(i2, j2, k2, kThird), tap(1, 1, 1, 0.5f)});
    return std::sqrt(d / 0.596f);
}

// Lattices scaled by 1.11 and 1.14 (and 1.17) pick the offsets, so neighbouring cells now and
// then share an offset. (-trunc(-v) is trunc(v); kept in the stated form.)
float ScaledLattice(float v, float scale) { return -std::trunc(-scale * v); }

float LaWorley2d(float x, float y) {
    auto offset = [](float cx, float cy) {
        return Float2{XorHash::Hash2(std::trunc(1.11f * cx), ScaledLattice(cy, 1.11f)),
                      XorHash::Hash2(std::trunc(1.14f * cx), ScaledLattice(cy, 1.14f))};
    };
    return std::sqrt(NearestPoint2(offset, x, y, -1, 1, 3.0f).d2);
}
float LaWorley3d(float x, float y, float z) {
    auto offset = [](float cx, float cy, float cz) {
        auto h = [&](float k) {
            return XorHash::Hash3(std::trunc(k * cx), ScaledLattice(cy, k), std::trunc(k * cz));
        };
        return Float3{h(1.11f), h(1.14f), h(1.17f)};
    };
    return std::sqrt(NearestPoint3(offset, x, y, z, -1, 1, 3.0f).d2);
}

float CircleRadius(uint32_t base) {
    return 0.5f + 0.5f * XorHash::Unit(XorHash::Scramble(base + XorHash::kSeed3));
}
float CircleWorley2d(float x, float y) {
    Nearest n = NearestPoint2(XorHash::Hash22, x, y, -1, 1, 3.0f);
    return 2.0f * std::sqrt(n.d2) / CircleRadius(XorHash::Base(n.cx, n.cy));
}
float CircleWorley3d(float x, float y, float z) {
    Nearest n = NearestPoint3(XorHash::Hash33, x, y, z, -1, 1, 3.0f);
    return 2.0f * std::sqrt(n.d2) / CircleRadius(XorHash::Base(n.cx, n.cy, n.cz));
}

// Polynomial smooth minimum of the per-point scaled distances over a 5x5 window.
float SmoothVoronoi2d(float x, float y, float k) {
    float res = 8.0f;
    const bool hard = !(k >= kEpsilon);
    ForEachCell2(x, y, -2, 2, [&](float rx, float ry, float cx, float cy) {
        Float2 h = SinHash::Hash22(cx, cy);
        float dx = rx + h.x, dy = ry + h.y;
        float d = std::sqrt(dx * dx + dy * dy) * (0.5f * h.x + 0.5f);
        if (hard) {
            res = std::min(res, d);
            return;
        }
        float t = Smooth(Clamp01(0.5f + 0.5f * (res - d) / k));
        res = res + (d - res) * t - t * (1.0f - t) * k / (1.0f + 3.0f * k);
    });
    return res;
}

// Weighted average of w over the window, with weights 1 - w: smooth cell-like noise.
float IqVoronoise2d(float x, float y) {
    auto offset = [](float cx, float cy) {
        Float2 h = SinHash::Hash22(cx, cy);
        return Float2{0.8f * h.x, 0.8f * h.y};
    };
    return Voronoise2(offset, x, y);
}
float IqVoronoise3d(float x, float y, float z) {
    auto offset = [](float cx, float cy, float cz) {
        Float3 h = SinHash::Hash33(cx, cy, cz);
        return Float3{0.8f * h.x, 0.8f * h.y, 0.8f * h.z};
    };
    return Voronoise3(offset, x, y, z);
}

// u blends the points from the grid to jittered, v the weights from nearest-only to smooth.
float IqVoronoise2dUv(float x, float y, float u, float v) {
    const float e = 1.0f + 63.0f * std::pow(1.0f - v, 4.0f);
    float sum = 0.0f, wsum = 0.0f, nearest = 1.0e30f, nearestValue = 0.0f;
    ForEachCell2(x, y, -2, 2, [&](float rx, float ry, float cx, float cy) {
        float h1 = SinHash::Of(cx * 127.1f + cy * 311.7f);
        float h2 = SinHash::Of(cx * 269.5f + cy * 183.3f);
        float h3 = SinHash::Of(cx * 419.2f + cy * 371.9f);
        float dx = rx + u * h1, dy = ry + u * h2;
        float d = std::sqrt(dx * dx + dy * dy);
        float w = std::pow(1.0f - Smooth(std::min(d / 1.414f, 1.0f)), e);
        sum += w * h3;
        wsum += w;
        if (d < nearest) nearest = d, nearestValue = h3;
    });
    // All weights vanish only for extreme v: the limit is the nearest cell's value.
    return wsum > 0.0f ? sum / wsum : nearestValue;
}

// ---- 3. cellular grids -----------------------------------------------------------------------

float CentreDistance2(float x, float y) {
    float dx = Fract(x) - 0.5f, dy = Fract(y) - 0.5f;
    return dx * dx + dy * dy;
}
float CentreDistance3(float x, float y, float z) {
    float dz = Fract(z) - 0.5f;
    return CentreDistance2(x, y) + dz * dz;
}

float TwCellular2d(float x, float y) {
    float d = CentreDistance2(x, y);
    for (int i = 0; i < 2; ++i) {
        float nx = 0.7f * x - 0.5f * y;
        y = 0.5f * x + 0.7f * y;
        x = nx;
        d = std::min(d, CentreDistance2(x, y));
    }
    return std::sqrt(d);
}

float TwCellular3d(float x, float y, float z) {
    float d = CentreDistance3(x, y, z);
    for (float h : {0.5f, 0.4f, 0.3f}) {
        float nx = h * (2.0f * z - 2.0f * x - y);
        float ny = h * (3.0f * x - 2.0f * y + z);
        float nz = h * (x + 2.0f * y + 2.0f * z);
        x = nx, y = ny, z = nz;
        d = std::min(d, CentreDistance3(x, y, z));
    }
    return std::sqrt(d);
}

float LiCellular2d(float x, float y) {
    struct Grid {
        float scale, sx, sy;
    };
    constexpr Grid kGrids[8] = {{1.0f, 0.8f, 0.62f},     {1.0f, 0.38f, 0.2f},
                                {1.0f, 0.6f, 0.24f},     {1.0f, 0.18f, 0.82f},
                                {1.4142f, 0.46f, 0.3f},  {1.4142f, 0.04f, 0.88f},
                                {1.4142f, 0.06f, 0.54f}, {1.4142f, 0.64f, 0.12f}};
    float best = 0.25f;
    for (const Grid& g : kGrids)
        best = std::min(best, CentreDistance2(x * g.scale - g.sx, y * g.scale - g.sy));
    return std::sqrt(4.0f * best);
}

// The four grids of tile_cell and tiled_cellular: A on p, B, C, D on frames turned by 45
// degrees each time.
struct TileGrids {
    float a, b, c, d;
};
TileGrids TileGrids2(float x, float y) {
    constexpr float r = 0.7071f;
    float e = (y - x) * r, g = (x + y) * r;
    float o = (e - g) * r, l = (e + g) * r;
    return {CentreDistance2(x - 0.391f, y - 0.62f), CentreDistance2(e - 0.24f, g - 0.587f),
            CentreDistance2(o - 0.14f, l - 0.778f),
            CentreDistance2((o - l) * r - 0.2623f, (o + l) * r - 0.783f)};
}
TileGrids TileGrids3(float x, float y, float z) {
    constexpr float r = 0.7071f;
    float bx = (y - x) * r, by = (x + y) * r, bz = z;       // about z
    float cx = bx, cy = (by - bz) * r, cz = (by + bz) * r;  // about x
    float dx = (cx - cz) * r, dy = cy, dz = (cx + cz) * r;  // about y
    return {CentreDistance3(x - 0.391f, y - 0.62f, z - 0.517f),
            CentreDistance3(bx - 0.24f, by - 0.587f, bz - 0.33f),
            CentreDistance3(cx - 0.14f, cy - 0.778f, cz - 0.61f),
            CentreDistance3(dx - 0.2623f, dy - 0.783f, dz - 0.45f)};
}

float TileCell(const TileGrids& t, float scale) { return std::min({t.a, t.b, t.c, t.d}) * scale; }
float TiledCellular(const TileGrids& t, float scale) {
    float u = std::min(std::max(t.c, t.d), std::max(t.a, t.b));
    float b = std::min(t.a, t.c), g = std::min(t.b, t.d);
    return (std::min(u, std::max(b, g)) - std::min(b, g)) * scale;
}
float TileCell2d(float x, float y) { return TileCell(TileGrids2(x, y), 2.66f); }
float TiledCellular2d(float x, float y) { return TiledCellular(TileGrids2(x, y), 3.6f); }
float TileCell3d(float x, float y, float z) { return TileCell(TileGrids3(x, y, z), 1.375f); }
float TiledCellular3d(float x, float y, float z) {
    return TiledCellular(TileGrids3(x, y, z), 2.06f);
}

// ---- 4. table --------------------------------------------------------------------------------

constexpr BuiltinFunction kCellular[] = {
    // kind 6
    {"iq_voronoi2d", IqVoronoi2d},
    {"ak_voronoi2d", AkVoronoi2d},
    {"kt_voronoi2d", KtVoronoi2d},
    {"ga_voronoi2d", GaVoronoi2d},
    {"mp_voronoi2d", MpVoronoi2d},
    {"fast_voronoi2d", FastVoronoi2d},
    {"tap3_voronoi2d", Tap3Voronoi2d},
    {"xor_worley2d", Worley2d<XorHash>},
    {"fdf_worley2d", Worley2d<FdfHash>},
    {"sin_worley2d", Worley2d<SinHash>},
    {"xor_fast_worley2d", FastWorley2d<XorHash>},
    {"fdf_fast_worley2d", FastWorley2d<FdfHash>},
    {"sin_fast_worley2d", FastWorley2d<SinHash>},
    {"la_worley2d", LaWorley2d},
    {"circle_worley2d", CircleWorley2d},
    {"tw_cellular2d", TwCellular2d},
    {"li_cellular2d", LiCellular2d},
    {"tile_cell2d", TileCell2d},
    {"tiled_cellular2d", TiledCellular2d},
    {"iq_voronoise2d", IqVoronoise2d},
    // kind 7
    {"iq_voronoi3d", IqVoronoi3d},
    {"ak_voronoi3d", AkVoronoi3d},
    {"kt_voronoi3d", KtVoronoi3d},
    {"ga_voronoi3d", GaVoronoi3d},
    {"voronesque3d", Voronesque3d},
    {"xor_worley3d", Worley3d<XorHash>},
    {"fdf_worley3d", Worley3d<FdfHash>},
    {"sin_worley3d", Worley3d<SinHash>},
    {"xor_fast_worley3d", FastWorley3d<XorHash>},
    {"fdf_fast_worley3d", FastWorley3d<FdfHash>},
    {"sin_fast_worley3d", FastWorley3d<SinHash>},
    {"la_worley3d", LaWorley3d},
    {"circle_worley3d", CircleWorley3d},
    {"tw_cellular3d", TwCellular3d},
    {"tile_cell3d", TileCell3d},
    {"tiled_cellular3d", TiledCellular3d},
    {"smooth_voronoi2d", SmoothVoronoi2d},
    {"iq_voronoise3d", IqVoronoise3d},
    // kind 8
    {"xor_worleyex2d", XorWorleyex2d},
    {"iq_voronoise2d_uv", IqVoronoise2dUv},
    // kind 9
    {"xor_worleyex3d", XorWorleyex3d},
};

}  // namespace

FunctionTable CellularFunctions() { return kCellular; }

}  // namespace luneth
