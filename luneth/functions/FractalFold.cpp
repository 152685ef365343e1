// Folding, 3-D and orbit-measure fractals: counts of iterated folds, 3-D escape-time maps and
// their distance estimates, orbit traps and sums along the orbit.
#include <algorithm>
#include <cmath>

#include "functions/FractalMembers.h"

namespace luneth::fractal {

namespace {

constexpr float kPi = 3.141593f;  // the members' own rounding of pi

inline Vec3 Point3(const VariadicArgs& a) { return {a[0], a[1], a[2]}; }

// The Kali fold v <- |v| / m - offset (m a squared length chosen by the caller).
inline Vec3 KaliFold(const Vec3& v, float m, const Vec3& offset) { return Abs(v) / m - offset; }

// The smallest value of `measure` over n steps of `step` (a NaN value never wins). The loop
// ends early when `final(m)` says that no later value can be smaller; a NaN orbit stays NaN,
// so it always ends there.
template <class State, class Step, class Measure, class Final>
float OrbitMinimum(State& s, int n, float start, Step step, Measure measure, Final final) {
    float trap = start;
    for (int k = 0; k < n; ++k) {
        step(s);
        float m = measure(s);
        if (m < trap) trap = m;
        if (std::isnan(m) || final(m)) break;
    }
    return trap;
}
template <class State, class Step, class Measure>
float OrbitMinimum(State& s, int n, float start, Step step, Measure measure) {
    return OrbitMinimum(s, n, start, step, measure, [](float) { return false; });
}

// Counts steps of a 2-D fold while the point stays inside the unit disc or square.
template <class Inside>
float HierarchyCount(const float* args, int count, Inside inside) {
    VariadicArgs a(args, count);
    float s = a[2];
    Vec2 p{std::fabs(a[0]), std::fabs(a[1])};
    return static_cast<float>(CountWhile(
        p, a.Count(3, 100),
        [s](Vec2& q) { q = Map(q, [s](float c) { return std::fabs(c / s - 1.0f); }); }, inside));
}

// The angular fold of the Julia bulb and the holy grail: sectors of width `width` about the x
// axis, angles measured from the sector's middle (half = width / 2).
struct Sectors {
    float half, width;
};

// The folded power-2 bulb step: the angle around the x axis is folded into one sector, then the
// point is squared in the (x, folded radius) plane and swung back out.
inline Vec3 BulbStep(const Vec3& p, Sectors sectors, const Vec3& c) {
    float x = p[0];
    float w = std::sqrt(p[1] * p[1] + p[2] * p[2]);
    float alpha = std::fabs(std::fmod(std::atan2(p[2], p[1]) + sectors.half + kPi, sectors.width) -
                            sectors.half);
    float e = w * std::cos(alpha), d = w * std::sin(alpha);
    float den = e * e + x * x + d * d;
    float g = den < kEpsilon ? 1.0f : 1.0f - d * d / den;  // d = 0 at the origin: g -> 1
    return Vec3{(x * x - e * e) * g, 2.0f * x * e * g, 2.0f * d * std::sqrt(e * e + x * x)} + c;
}

struct BulbOrbit {
    float r, dr;
};
// Iterates BulbStep while |p| <= 20, at most n times; r is |p| where the loop stopped.
inline BulbOrbit RunBulb(Vec3 p, Sectors sectors, const Vec3& c, int n) {
    float dr = 1.0f;
    float r = Length(p);
    for (int k = 0; k < n && r <= 20.0f; ++k) {
        p = BulbStep(p, sectors, c);
        dr = 2.0f * dr * r;
        r = Length(p);
    }
    return {r, dr};
}

// Cubic smoothstep of v + 0.5 over [0, 1], used by the manda map.
inline float Step01(float v) {
    float t = v + 0.5f;
    if (t < 0.0f) return 0.0f;
    if (t > 1.0f) return 1.0f;
    return t * t * (3.0f - 2.0f * t);
}

}  // namespace

// --- hierarchies and folds in the plane ------------------------------------------------------

float HierarchySphere(const float* args, int count) {
    return HierarchyCount(args, count, [](const Vec2& q) { return Dot(q, q) <= 1.0f; });
}

float HierarchySquare(const float* args, int count) {
    return HierarchyCount(args, count, [](const Vec2& q) { return q[0] <= 1.0f && q[1] <= 1.0f; });
}

// Madrugada: the 2-D Mandelbox map, z <- s * ballfold(boxfold(z)) + c from z = c. The box fold
// reflects each coordinate beyond +-1 back inside, the ball fold scales by 4 inside radius 0.5
// and inverts between 0.5 and 1. Result the escaping step (|z|^2 > 10^6), n if none.
// Scale s = -1.5 when |s| < 2^-23.
float Madrugada(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec2 c{a[0], a[1]}, z = c;
    float s = std::fabs(a[2]) < kEpsilon ? -1.5f : a[2];
    int n = a.Count(3, 100);
    int k = FirstStop(
        z, n,
        [&c, s](Vec2& v) {
            v = Map(v, [](float q) { return q > 1.0f ? 2.0f - q : (q < -1.0f ? -2.0f - q : q); });
            float r2 = Dot(v, v);
            if (r2 < 0.25f)
                v = v * 4.0f;
            else if (r2 < 1.0f)
                v = v / r2;
            v = v * s + c;
        },
        [](const Vec2& v) { return Dot(v, v) > 1.0e6f; });
    return static_cast<float>(k ? k : n);
}

float SierpinskiCarpet(const float* args, int count) {
    VariadicArgs a(args, count);
    float u = a[0] + 3.0f, v = a[1] + 3.0f;
    int n = a.Count(2, 5);
    for (int k = 0; k < n; ++k) {
        float p = std::fmod(u, 2.0f) - 1.0f, q = std::fmod(v, 2.0f) - 1.0f;
        if (std::max(std::fabs(p), std::fabs(q)) < 1.0f / 3.0f) return 1.0f;
        u = 3.0f * p + 3.0f;
        v = 3.0f * q + 3.0f;
    }
    return 0.0f;
}

float Manda(const float* args, int count) {
    VariadicArgs a(args, count);
    float x = a[0], y = a[1], e = a[1], f = a[0], b1 = a[2], b2 = a[3], sum = 0.0f;
    int n = a.Count(4, 12);
    for (int k = 0; k < n; ++k) {
        float g = x * y + x + e, h = x * x - y + f;
        if (g * g + h * h > 4.0f) break;
        x = Step01(h) - 0.5f;
        y = Step01(g) - 0.5f;
        float x3 = x * x * x, y3 = y * y * y;
        sum += x3 * x3 + y3 * y3;
        float e2 = e * b2 - f * b1;
        f = e * b1 + f * b2;
        e = e2;
    }
    return FiniteOr(sum);
}

float Lyapunov(const float* args, int count) {
    VariadicArgs a(args, count);
    float c = 0.5f, sum = 0.0f;
    int n = a.Count(2, 50);
    for (int i = 0; i < n; ++i) {
        int phase = i % 5;
        float r = (phase == 2 || phase == 4) ? a[1] : a[0];
        c = 2.0f * (r + 1.0f) * c * (1.0f - c);
        sum += std::log(std::fabs((r + 1.0f) * (1.0f - 2.0f * c)));
    }
    return FiniteOr(sum);
}

float Flowers(const float* args, int count) {
    VariadicArgs a(args, count);
    float cx = a[2], cy = a[3], amp = a[4], freq = a[5];
    float u = a[0] + cx, v = a[1] + cy;
    int n = a.Count(6, 5);
    for (int k = 0; k < n; ++k) {
        float py = std::fabs(u - cx), px = std::fabs(v - cy);
        float alpha = std::atan2(py, px);
        float r = std::sqrt(px * px + py * py) + amp * std::cos(2.0f * kPi * alpha);
        float beta = r * freq + alpha;
        u = r * std::cos(beta);
        v = r * std::sin(beta);
    }
    return FiniteOr(std::sqrt(u * u + v * v));
}

float Orbiting(const float* args, int count) {
    VariadicArgs a(args, count);
    float x = a[0], y = a[1], p = a[2], q = a[3], k = a[4], e = a[5];
    float l = x, m = y, trap = 4.0f;
    int n = a.Count(6, 128);
    for (int i = 0; i < n; ++i) {
        float o = p * l * l + q * m * m + x;
        m = m * l * k + y;
        float r = std::fabs((o - x) * (o - x) + (m - y) * (m - y) - static_cast<float>(i) * e);
        if (r > 1000.0f) break;
        trap = std::min(trap, r);
        l = o;
    }
    return trap;
}

// --- Julia orbit traps -----------------------------------------------------------------------

// d <- 2 d e + a, e <- real(d, e) + b; the smallest d^2 + e^2 met, as a distance.
template <class RealPart>
float JuliaTrap(const float* args, int count, RealPart real) {
    VariadicArgs a(args, count);
    float p = a[2], q = a[3];
    Vec2 z{a[0], a[1]};
    float trap = OrbitMinimum(
        z, a.Count(4, 128), 1.0e20f,
        [=](Vec2& w) {
            w = {2.0f * w[0] * w[1] + p, real(w[0], w[1]) + q};
        },
        [](const Vec2& w) { return Dot(w, w); });
    return std::sqrt(trap);
}

float JuliaTraps(const float* args, int count) {
    return JuliaTrap(args, count, [](float d, float e) { return d * d - e * e; });
}

float JuliaInvTraps(const float* args, int count) {
    return JuliaTrap(args, count, [](float d, float e) { return e * e - d * d; });
}

// --- 3-D escape-time maps --------------------------------------------------------------------

float Bedouin(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec3 v = Point3(a);
    Vec3 c = Map(v, [](float q) { return std::sin(q); });
    int n = a.Count(3, 6);
    for (int k = 0; k < n; ++k) {
        v = Vec3{v[0] * v[0] - v[1] * v[1] - v[2] * v[2], 2.0f * v[0] * v[2], 2.0f * v[0] * v[1]} +
            c;
    }
    return FiniteOr(Length(v));
}

// The bulb of power p from v = c: v <- r^p (cos p phi cos p theta, sin p phi cos p theta,
// sin p theta) + c while |v|^2 <= 4, the last allowed step measuring without moving. Result the
// distance estimate ln(L) L / dr, L the last |v|^2 (r^p when the count ran out).
float Mandelbulb(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec3 c = Point3(a), v = c;
    float p = a[3], dr = 1.0f, last = 0.0f;
    int n = a.Count(4, 7);
    for (int k = 0; k < n; ++k) {
        float r2 = Dot(v, v);
        last = r2;
        if (r2 > 4.0f) break;
        float r = std::sqrt(r2);
        float theta = r < kEpsilon ? 0.0f : std::asin(Clamp(v[2] / r, -1.0f, 1.0f));
        float phi = std::atan2(v[1], v[0]);
        float zr = std::pow(r, p);
        dr = p * std::pow(r, p - 1.0f) * dr + 1.0f;
        last = zr;
        if (k == n - 1) break;  // the last allowed step keeps v
        theta *= p;
        phi *= p;
        v = Vec3{std::cos(phi) * std::cos(theta), std::sin(phi) * std::cos(theta),
                 std::sin(theta)} *
                zr +
            c;
    }
    return FiniteOr(std::log(last) * last / dr);
}

// The quadratic 3-D map (x, y, z) <- (x^2 - y^2 - z^2, 2xy, 2xz) + c from 0.
float Mandelbrot3dA(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec3 c = Point3(a), v{0.0f, 0.0f, 0.0f};
    float bailout = a[3];
    return static_cast<float>(CountWhile(
        v, a.Count(4, 128),
        [&c](Vec3& w) {
            w = Vec3{w[0] * w[0] - w[1] * w[1] - w[2] * w[2], 2.0f * w[0] * w[1],
                     2.0f * w[0] * w[2]} +
                c;
        },
        [bailout](const Vec3& w) { return Dot(w, w) < bailout; }));
}

// The second 3-D Mandelbrot is White and Nylander's triplex square, the power-2 bulb written
// without angles: with rho^2 = x^2 + y^2, v^2 = ((x^2 - y^2) k, 2xy k, -2 z rho) where
// k = 1 - z^2 / rho^2 (on the z axis, (-z^2, 0, 0)); v <- v^2 + c from 0 while |v|^2 < bailout
// (4 when below 2^-23). Result the count, as for fractal_mandelbrot3d_a.
float Mandelbrot3dB(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec3 c = Point3(a), v{0.0f, 0.0f, 0.0f};
    float bailout = a.PositiveOr(3, 4.0f);
    return static_cast<float>(CountWhile(
        v, a.Count(4, 128),
        [&c](Vec3& w) {
            float rho2 = w[0] * w[0] + w[1] * w[1];
            if (rho2 < kEpsilon) {
                w = Vec3{-w[2] * w[2], 0.0f, 0.0f} + c;
                return;
            }
            float k = 1.0f - w[2] * w[2] / rho2;
            w = Vec3{(w[0] * w[0] - w[1] * w[1]) * k, 2.0f * w[0] * w[1] * k,
                     -2.0f * w[2] * std::sqrt(rho2)} +
                c;
        },
        [bailout](const Vec3& w) { return Dot(w, w) < bailout; }));
}

// Quaternion Julia set q <- q^2 + c from (x, y, z, 0), as a distance estimate.
float JuliaQuaternion(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec4 c{a[3], a[4], a[5], a[6]};
    struct Orbit {
        Vec4 q;
        float g;
    } o{{a[0], a[1], a[2], 0.0f}, 1.0f};
    FirstStop(
        o, a.Count(7, 10),
        [&c](Orbit& s) {
            s.g *= 4.0f * Dot(s.q, s.q);
            const Vec4& q = s.q;
            s.q = Vec4{q[0] * q[0] - q[1] * q[1] - q[2] * q[2] - q[3] * q[3], 2.0f * q[0] * q[1],
                       2.0f * q[0] * q[2], 2.0f * q[0] * q[3]} +
                  c;
        },
        [](const Orbit& s) { return Dot(s.q, s.q) > 4.0f; });
    return DistanceEstimate(Dot(o.q, o.q), o.g);
}

float Juliasbulb(const float* args, int count) {
    VariadicArgs a(args, count);
    float half = kPi / a[6];
    BulbOrbit o = RunBulb(Point3(a), {half, 2.0f * half}, {a[3], a[4], a[5]}, a.Count(7, 10));
    return FiniteOr(std::log(o.r) * o.r / o.dr);
}

float HolyGrail(const float* args, int count) {
    VariadicArgs a(args, count);
    BulbOrbit o = RunBulb(Point3(a), {0.39269912f, 0.7853982f}, {a[3], a[3], a[3]}, a.Count(4, 10));
    return FiniteOr(std::min(std::log(o.r) * o.r / std::max(o.dr, 1.0f), 1.0f));
}

// --- Kali folds and orbit measures -----------------------------------------------------------

float PatternA(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec3 v = Point3(a), offset{a[3], a[3], a[3]};
    int n = a.Count(4, 10);
    for (int k = 0; k < n; ++k) v = KaliFold(v, Dot(v, v), offset);
    return FiniteOr(Dot(v, v));
}

// The fold of fractal_pattern_a, v <- |v| / |v|^2 - a, measured by an orbit trap: the smallest
// |v|^2 met along the orbit (after each step) instead of the last one.
float PatternB(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec3 v = Point3(a), offset{a[3], a[3], a[3]};
    return FiniteOr(OrbitMinimum(
        v, a.Count(4, 10), kBig, [&offset](Vec3& w) { w = KaliFold(w, Dot(w, w), offset); },
        [](const Vec3& w) { return Dot(w, w); }));
}

float KaliSet(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec3 v = Point3(a), offset{a[3], a[4], a[5]};
    int n = a.Count(6, 19);
    float sum = 0.0f;
    for (int k = 0; k < n; ++k) {
        float m = Dot(v, v);
        v = KaliFold(v, m, offset);
        sum += m;
    }
    return FiniteOr(sum / static_cast<float>(n));
}

float KaliIteration(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec3 v = Point3(a), offset{a[3], a[4], a[5]};
    float m = Dot(v, v);
    int n = a.Count(6, 18);
    for (int k = 0; k < n; ++k) {
        v = KaliFold(v, m, offset);
        m = Dot(v, v);
    }
    return FiniteOr(std::sqrt(m));
}

float Field(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec3 v = Point3(a), offset{-a[3], -a[4], -a[5]};
    float s = a[6], power = a[7], strength = a[8];
    int n = a.Count(9, 32);
    float previous = 0.0f, acc = 0.0f, weights = 0.0f;
    for (int i = 0; i < n; ++i) {
        float w = std::exp(-static_cast<float>(i) / s);
        float u = Dot(v, v);
        v = KaliFold(v, u, offset);
        acc += std::exp(-strength * std::pow(std::fabs(u - previous), power)) * w;
        weights += w;
        previous = u;
    }
    return FiniteOr(acc / weights);
}

float Magic(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec3 offset{a[3], a[4], a[5]};
    Vec3 v = Map(Point3(a), [](float q) { return 1.0f - std::fabs(1.0f - std::fmod(q, 2.0f)); });
    float m = Dot(v, v), length = std::sqrt(m), acc = 0.0f;
    int n = a.Count(6, 13);
    for (int k = 0; k < n; ++k) {
        v = KaliFold(v, m, offset);
        m = Dot(v, v);
        float next = std::sqrt(m);
        acc += std::fabs(next - length);
        length = next;
    }
    return FiniteOr(acc);
}

// Anxiety: the Sierpinski tetrahedron as a kaleidoscopic fold. Each step reflects the point
// across the planes x + y = 0, x + z = 0 and y + z = 0 into the corner of the vertex (1, 1, 1),
// then scales it about the vertex (a, b, c): v <- 2 v - (a, b, c); (1, 1, 1) when all three are
// below 2^-23 in magnitude. Result the orbit trap min |v| over the steps: small on the
// tetrahedron's self-similar skeleton, growing away from it.
float Anxiety(const float* args, int count) {
    VariadicArgs a(args, count);
    Vec3 v = Point3(a), vertex{a[3], a[4], a[5]};
    if (Dot(Abs(vertex), Vec3{1.0f, 1.0f, 1.0f}) < kEpsilon) vertex = {1.0f, 1.0f, 1.0f};
    float trap = OrbitMinimum(
        v, a.Count(6, 20), kBig,
        [&vertex](Vec3& w) {
            auto fold = [&w](int i, int j) {
                if (w[i] + w[j] < 0.0f) {
                    float t = -w[i];
                    w[i] = -w[j];
                    w[j] = t;
                }
            };
            fold(0, 1);
            fold(0, 2);
            fold(1, 2);
            w = w * 2.0f - vertex;
        },
        [](const Vec3& w) { return Dot(w, w); },
        // Beyond |vertex|, |2v - vertex| >= 2|v| - |vertex| > |v|: |v| only grows.
        [limit = Dot(vertex, vertex)](float m) { return m > limit; });
    return FiniteOr(std::sqrt(trap));
}

}  // namespace luneth::fractal
