// Property checks for signed-distance functions, against an independent description of each
// shape (an inside test written from the shape's definition, or a sampled reference distance).
//
// For random points p in a box, with d = f(p):
//   sign    d < 0 exactly where the inside test holds (away from the boundary);
//   bound   no point of the ball of radius |d| - tol around p is on the other side: |d| never
//           exceeds the true distance to the boundary;
//   exact   (exact shapes) a point at |d| + tol from p, found along the gradient or among
//           random points of that sphere, is on the other side: |d| is the true distance.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "BuiltinCall.h"

namespace luneth::test {

template <int N>
using Point = std::array<double, N>;
template <int N>
using DistanceFn = std::function<float(const Point<N>&)>;
template <int N>
using InsideFn = std::function<bool(const Point<N>&)>;

// The registered shape `name` at a point, followed by `params` (any kind 5..9).
template <int N>
DistanceFn<N> Shape(const char* name, std::vector<float> params) {
    const FunctionRecord* r = Builtin(name);
    return [r, params](const Point<N>& p) {
        float a[24] = {};
        for (int i = 0; i < N; ++i) a[i] = static_cast<float>(p[i]);
        for (size_t j = 0; j < params.size(); ++j) a[N + j] = params[j];
        int count = N + static_cast<int>(params.size());
        switch (r ? r->kind : 0) {
            case kKindFloat1:
                return r->slots.float1(a[0]);
            case kKindFloat2:
                return r->slots.float2(a[0], a[1]);
            case kKindFloat3:
                return r->slots.float3(a[0], a[1], a[2]);
            case kKindFloat4:
                return r->slots.float4(a[0], a[1], a[2], a[3]);
            case kKindVariadic:
                return r->slots.variadic(a, count);
            default:
                return NAN;
        }
    };
}

template <int N>
double Norm(const Point<N>& p) {
    double s = 0.0;
    for (double c : p) s += c * c;
    return std::sqrt(s);
}

template <int N>
Point<N> Along(const Point<N>& p, const Point<N>& dir, double t) {
    Point<N> q;
    for (int i = 0; i < N; ++i) q[i] = p[i] + dir[i] * t;
    return q;
}

class Sampler {
public:
    explicit Sampler(unsigned seed) : rng_(seed) {}
    double Uniform(double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng_);
    }
    template <int N>
    Point<N> InBox(double extent) {
        Point<N> p;
        for (double& c : p) c = Uniform(-extent, extent);
        return p;
    }
    template <int N>
    Point<N> Direction() {
        std::normal_distribution<double> g;
        Point<N> d;
        for (double& c : d) c = g(rng_);
        double n = Norm<N>(d);
        for (double& c : d) c /= n;
        return d;
    }

private:
    std::mt19937 rng_;
};

struct PropertyOptions {
    double extent = 2.0;  // points are drawn from [-extent, extent]^N
    bool exact = true;
    bool boundInside = true;  // false: |d| is only a bound outside the shape
    double tol = 1e-3;
    int points = 300;
};

template <int N>
void CheckSignedDistance(const std::string& label, const DistanceFn<N>& f,
                         const InsideFn<N>& inside, const PropertyOptions& o) {
    Sampler s(12345);
    int failures = 0;
    auto fail = [&](const std::string& what, const Point<N>& p, float d) {
        if (++failures > 3) return;
        std::string at;
        for (double c : p) at += std::to_string(c) + " ";
        ADD_FAILURE() << label << ": " << what << " at ( " << at << ") d = " << d;
    };
    for (int i = 0; i < o.points; ++i) {
        Point<N> p = s.InBox<N>(o.extent);
        float d = f(p);
        if (!std::isfinite(d)) {
            fail("not finite", p, d);
            continue;
        }
        bool in = inside(p);
        double ad = std::fabs(d);
        if (ad > o.tol && (d < 0.0f) != in) fail("wrong sign", p, d);
        // Bound: the ball of radius |d| - tol holds no boundary.
        double r = (in && !o.boundInside) ? 0.0 : ad - o.tol;
        for (int k = 0; r > 0.0 && k < 160; ++k) {
            double t = k < 40 ? r : r * std::pow(s.Uniform(0.0, 1.0), 1.0 / N);
            if (inside(Along<N>(p, s.Direction<N>(), t)) != in) {
                fail("boundary nearer than |d|", p, d);
                break;
            }
        }
        if (!o.exact || ad < 2.0 * o.tol) continue;
        // Exact: a boundary point within |d| + tol.
        Point<N> g;
        double h = 1e-3 * o.extent;
        for (int j = 0; j < N; ++j) {
            Point<N> a = p, b = p;
            a[j] += h;
            b[j] -= h;
            g[j] = (f(a) - f(b)) / (2.0 * h);
        }
        double gn = Norm<N>(g);
        // The foot along the gradient should be a boundary point: both sides within tol of it.
        bool found = false;
        if (gn > 0.5) {
            for (double& c : g) c *= (d > 0.0f ? -1.0 : 1.0) / gn;
            Point<N> foot = Along<N>(p, g, ad);
            for (int k = 0; !found && k < 1000; ++k)
                found = inside(Along<N>(foot, s.Direction<N>(), o.tol)) != in;
        }
        // On a ridge of the distance (two nearest points) the gradient is a blend: step off
        // the ridge a little and look from there; d is 1-Lipschitz, so the boundary point
        // found from p' is within |d| + tol + 2 step of p.
        const double step = 5.0 * o.tol;
        for (int k = 0; !found && k < 12; ++k) {
            Point<N> q = Along<N>(p, s.Direction<N>(), step);
            Point<N> gq;
            for (int j = 0; j < N; ++j) {
                Point<N> a = q, b = q;
                a[j] += h;
                b[j] -= h;
                gq[j] = (f(a) - f(b)) / (2.0 * h);
            }
            double n = Norm<N>(gq), dq = f(q);
            if (n < 0.5) continue;
            for (double& c : gq) c *= (dq > 0.0 ? -1.0 : 1.0) / n;
            Point<N> foot = Along<N>(q, gq, std::fabs(dq)), offset;
            for (int j = 0; j < N; ++j) offset[j] = foot[j] - p[j];
            if (Norm<N>(offset) > ad + o.tol + 2.0 * step) continue;
            bool sides[2] = {false, false};
            for (int m = 0; m < 1000 && !(sides[0] && sides[1]); ++m)
                sides[inside(Along<N>(foot, s.Direction<N>(), o.tol)) ? 1 : 0] = true;
            found = sides[0] && sides[1];
        }
        if (!found) fail("no boundary within |d|", p, d);
    }
}

// Unsigned distances (curves, segments, a triangle in space) against a sampled reference.
template <int N>
void CheckUnsignedDistance(const std::string& label, const DistanceFn<N>& f,
                           const std::function<double(const Point<N>&)>& reference, double extent,
                           double tol) {
    Sampler s(777);
    int failures = 0;
    for (int i = 0; i < 300 && failures < 3; ++i) {
        Point<N> p = s.InBox<N>(extent);
        float d = f(p);
        double want = reference(p);
        if (!(d >= 0.0f) || std::fabs(d - want) > tol) {
            ++failures;
            ADD_FAILURE() << label << ": d = " << d << ", sampled distance " << want;
        }
    }
}

// --- geometry of the reference descriptions --------------------------------------------------

template <int N>
double SegmentDistance(const Point<N>& p, const Point<N>& a, const Point<N>& b) {
    double dd = 0.0, t = 0.0;
    for (int i = 0; i < N; ++i) {
        dd += (b[i] - a[i]) * (b[i] - a[i]);
        t += (p[i] - a[i]) * (b[i] - a[i]);
    }
    t = dd > 0.0 ? std::clamp(t / dd, 0.0, 1.0) : 0.0;
    Point<N> q;
    for (int i = 0; i < N; ++i) q[i] = p[i] - a[i] - t * (b[i] - a[i]);
    return Norm<N>(q);
}

// Crossing-number test for a polygon given as (x, y) corner pairs.
inline bool InPolygon(double x, double y, const std::vector<Point<2>>& v) {
    bool in = false;
    for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
        if ((v[i][1] > y) != (v[j][1] > y) &&
            x < (v[j][0] - v[i][0]) * (y - v[i][1]) / (v[j][1] - v[i][1]) + v[i][0])
            in = !in;
    }
    return in;
}

// Corners of a regular polygon: `n` corners at radius r, the first at angle `start`.
inline std::vector<Point<2>> RegularCorners(int n, double r, double start) {
    std::vector<Point<2>> v;
    for (int k = 0; k < n; ++k) {
        double a = start + 2.0 * M_PI * k / n;
        v.push_back({r * std::cos(a), r * std::sin(a)});
    }
    return v;
}

}  // namespace luneth::test
