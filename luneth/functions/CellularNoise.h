// Cellular (Worley, Voronoi) search cores, shared by the cellular, crater, plain and texture
// families.
//
// One feature point per lattice cell: cell c (integer corner) owns the point c + offset(c),
// where the offset functor maps the cell's coordinates to a Float2 / Float3 (usually a hash in
// [0, 1)). The searches scan the cells c + n, n in [lo, hi] per axis, around the cell of p:
//
//   NearestPoint2(offset, x, y, lo, hi, start)     smallest squared distance (never above
//   NearestPoint3(offset, x, y, z, lo, hi, start)  `start`) and the cell that owns it
//
// `start` bounds the result, which keeps Worley noise in [0, sqrt start] even where a far
// jitter leaves the window without a point. NaN coordinates give `start`.
//
// Also here, for the plains: the crater profile yf_crater2d/3d of the nearest point, and
// CraterField2d/3d, the same craters of every cell of the window overlapping smoothly where
// they meet. Both in [-0.2, 1].
#pragma once

#include <cmath>

#include "functions/NoiseHash.h"

namespace luneth::cellular {

using noise::Float2;
using noise::Float3;

struct Nearest {
    float d2;          // squared distance to the nearest feature point
    float cx, cy, cz;  // the cell that owns it
};

template <class Offset>
Nearest NearestPoint2(const Offset& offset, float x, float y, int lo, int hi, float start) {
    const float cx = std::floor(x), cy = std::floor(y);
    const float fx = x - cx, fy = y - cy;
    Nearest best{start, cx, cy, 0.0f};
    for (int j = lo; j <= hi; ++j) {
        for (int i = lo; i <= hi; ++i) {
            const float nx = static_cast<float>(i), ny = static_cast<float>(j);
            Float2 o = offset(cx + nx, cy + ny);
            float dx = nx + o.x - fx, dy = ny + o.y - fy;
            float d2 = dx * dx + dy * dy;
            if (d2 < best.d2) best = {d2, cx + nx, cy + ny, 0.0f};
        }
    }
    return best;
}

template <class Offset>
Nearest NearestPoint3(const Offset& offset, float x, float y, float z, int lo, int hi,
                      float start) {
    const float cx = std::floor(x), cy = std::floor(y), cz = std::floor(z);
    const float fx = x - cx, fy = y - cy, fz = z - cz;
    Nearest best{start, cx, cy, cz};
    for (int k = lo; k <= hi; ++k) {
        for (int j = lo; j <= hi; ++j) {
            for (int i = lo; i <= hi; ++i) {
                const float nx = static_cast<float>(i), ny = static_cast<float>(j);
                const float nz = static_cast<float>(k);
                Float3 o = offset(cx + nx, cy + ny, cz + nz);
                float dx = nx + o.x - fx, dy = ny + o.y - fy, dz = nz + o.z - fz;
                float d2 = dx * dx + dy * dy + dz * dz;
                if (d2 < best.d2) best = {d2, cx + nx, cy + ny, cz + nz};
            }
        }
    }
    return best;
}

// Visits every cell of the window: visit(rx, ry, cellx, celly) with (rx, ry) = the cell's
// corner minus p, so that the feature point minus p is (rx, ry) + offset.
template <class Visit>
void ForEachCell2(float x, float y, int lo, int hi, Visit&& visit) {
    const float cx = std::floor(x), cy = std::floor(y);
    const float fx = x - cx, fy = y - cy;
    for (int j = lo; j <= hi; ++j) {
        for (int i = lo; i <= hi; ++i) {
            const float nx = static_cast<float>(i), ny = static_cast<float>(j);
            visit(nx - fx, ny - fy, cx + nx, cy + ny);
        }
    }
}

template <class Visit>
void ForEachCell3(float x, float y, float z, int lo, int hi, Visit&& visit) {
    const float cx = std::floor(x), cy = std::floor(y), cz = std::floor(z);
    const float fx = x - cx, fy = y - cy, fz = z - cz;
    for (int k = lo; k <= hi; ++k) {
        for (int j = lo; j <= hi; ++j) {
            for (int i = lo; i <= hi; ++i) {
                const float nx = static_cast<float>(i), ny = static_cast<float>(j);
                const float nz = static_cast<float>(k);
                visit(nx - fx, ny - fy, nz - fz, cx + nx, cy + ny, cz + nz);
            }
        }
    }
}

float YfCrater2d(float x, float y);
float YfCrater3d(float x, float y, float z);
float CraterField2d(float x, float y);
float CraterField3d(float x, float y, float z);

}  // namespace luneth::cellular
