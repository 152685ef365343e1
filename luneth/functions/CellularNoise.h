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
// Voronoise2(offset, x, y), Voronoise3(offset, x, y, z): iq's voronoise over the 3x3 (3x3x3)
// window, w = quintic(cubic(clamp(sqrt(0.7 d^2)))) per point, result 2 sum w (1 - w) /
// sum (1 - w) - 1 in [-1, 1] (1 where every weight is 1).
//
// Also here, for the plains and the terrain generators: the crater profiles yf_, moon_ and
// mercury_crater2d/3d (Craters.cpp), and CraterField2d/3d, the yf_ craters of every cell of
// the window overlapping smoothly where they meet. yf_ and the field in [-0.2, 1], moon_ and
// mercury_ in [-1, 1].
#pragma once

#include <algorithm>
#include <cmath>

#include "common/FloatConstants.h"
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

inline float VoronoiseWeight(float d2) {
    float t = std::min(std::max(std::sqrt(0.7f * d2), 0.0f), 1.0f);
    return noise::QuinticFade::Apply(t * t * (3.0f - 2.0f * t));
}
inline float VoronoiseResult(float sum, float wsum) {
    return wsum > kEpsilon ? 2.0f * sum / wsum - 1.0f : 1.0f;
}

template <class Offset>
float Voronoise2(const Offset& offset, float x, float y) {
    float sum = 0.0f, wsum = 0.0f;
    ForEachCell2(x, y, -1, 1, [&](float rx, float ry, float cx, float cy) {
        Float2 o = offset(cx, cy);
        float dx = rx + o.x, dy = ry + o.y;
        float w = VoronoiseWeight(dx * dx + dy * dy);
        sum += w * (1.0f - w);
        wsum += 1.0f - w;
    });
    return VoronoiseResult(sum, wsum);
}

template <class Offset>
float Voronoise3(const Offset& offset, float x, float y, float z) {
    float sum = 0.0f, wsum = 0.0f;
    ForEachCell3(x, y, z, -1, 1, [&](float rx, float ry, float rz, float cx, float cy, float cz) {
        Float3 o = offset(cx, cy, cz);
        float dx = rx + o.x, dy = ry + o.y, dz = rz + o.z;
        float w = VoronoiseWeight(dx * dx + dy * dy + dz * dz);
        sum += w * (1.0f - w);
        wsum += 1.0f - w;
    });
    return VoronoiseResult(sum, wsum);
}

float YfCrater2d(float x, float y);
float YfCrater3d(float x, float y, float z);
float MoonCrater2d(float x, float y);
float MoonCrater3d(float x, float y, float z);
float MercuryCrater2d(float x, float y);
float MercuryCrater3d(float x, float y, float z);
float CraterField2d(float x, float y);
float CraterField3d(float x, float y, float z);

}  // namespace luneth::cellular
