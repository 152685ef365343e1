// Probes for the noise tests, over a function f(x, y, z) and sample points:
//   ObservedRange(points, f)   the smallest and largest value
//   WorstJump(points, dims, f) the largest change across the integer cell borders near each
//                              point (steps of 2e-4 along each used axis) and along a short walk
//                              from it (100 steps of 2e-4), which crosses skewed and rotated
//                              borders too
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "NoiseTestPoints.h"

namespace luneth::test {

struct Range {
    float lo = 1e30f, hi = -1e30f;
};

template <class F>
Range ObservedRange(const std::vector<Point3>& points, F&& f) {
    Range r;
    for (const Point3& p : points) {
        float v = f(p.x, p.y, p.z);
        r.lo = std::min(r.lo, v);
        r.hi = std::max(r.hi, v);
    }
    return r;
}

template <class F>
float WorstJump(const std::vector<Point3>& points, int dims, F&& f) {
    float worst = 0.0f;
    for (const Point3& p : points) {
        for (int d = 0; d < dims; ++d) {
            float lo[3] = {p.x, p.y, p.z}, hi[3] = {p.x, p.y, p.z};
            float k = std::floor(lo[d]);
            lo[d] = k - 1e-4f;
            hi[d] = k + 1e-4f;
            worst = std::max(worst, std::fabs(f(lo[0], lo[1], lo[2]) - f(hi[0], hi[1], hi[2])));
        }
        float prev = f(p.x, p.y, p.z);
        for (int s = 1; s <= 100; ++s) {
            float t = 2e-4f * static_cast<float>(s);
            float v = f(p.x + t, p.y + 0.7f * t, p.z - 0.4f * t);
            worst = std::max(worst, std::fabs(v - prev));
            prev = v;
        }
    }
    return worst;
}

}  // namespace luneth::test
