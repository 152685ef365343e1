// Escape-time fractals of complex maps: how many steps an orbit takes to leave a disc, and
// distance estimates from the orbit's derivative.
//
// Three ways of counting occur, and each member names its own:
//   - "stayed inside": the steps completed before the escaping one (fractal_mandelbrot);
//   - "escaping step": the number of the step after which the orbit was outside (most members);
//   - "while inside": the start is tested too, so a start outside the disc counts 0.
// An orbit that never escapes counts n, except where a member says otherwise.
#include <cmath>

#include "functions/FractalMembers.h"

namespace luneth::fractal {

namespace {

constexpr float kPi = 3.141593f;  // the members' own rounding of pi
constexpr float kTwoPi = 6.283186f;

// Counts after a step that escaped: the step's number, or n when no step did.
inline float EscapingStep(int k, int n) { return static_cast<float>(k ? k : n); }
// The steps completed before the escaping one, or n.
inline float StayedInside(int k, int n) { return static_cast<float>(k ? k - 1 : n); }

// z <- z^2 + c from z0; escape when |z|^2 > 4.
int QuadraticEscape(Complex z, Complex c, int n) {
    return FirstStop(
        z, n, [c](Complex& w) { w = Square(w) + c; },
        [](const Complex& w) { return Norm(w) > 4.0f; });
}

// The Julia iteration while |z|^2 < 4, with the real part of the square given by `real`.
template <class RealPart>
float JuliaCount(Complex z, Complex c, int n, RealPart real) {
    return static_cast<float>(CountWhile(
        z, n,
        [c, real](Complex& w) {
            w = {real(w) + c.re, 2.0f * w.re * w.im + c.im};
        },
        [](const Complex& w) { return Norm(w) < 4.0f; }));
}

// The real part of z^2, and of its mirror image (the "inverse" Julia members).
inline float SquareReal(Complex z) { return z.re * z.re - z.im * z.im; }
inline float MirroredSquareReal(Complex z) { return z.im * z.im - z.re * z.re; }

// The logarithmic step of the grinning and duck members: (ln|z| + cr) + i(theta' + ci), with
// theta' = atan2(|zi|, zr) taken one turn down when positive.
inline Complex LogStep(Complex z, Complex c) {
    float t = std::atan2(std::fabs(z.im), z.re);
    if (t > 0.0f) t -= kTwoPi;
    return {std::log(Abs(z)) + c.re, t + c.im};
}

// Steps z <- map(z) from z0 and reports the escaping step against `bailout` (|z|^2 > bailout).
template <class Map>
float EscapeCount(Complex z, float bailout, int n, Map map) {
    int k = FirstStop(z, n, map, [bailout](const Complex& w) { return Norm(w) > bailout; });
    return EscapingStep(k, n);
}

}  // namespace

// --- the Mandelbrot set ----------------------------------------------------------------------

float Mandelbrot(const float* args, int count) {
    VariadicArgs a(args, count);
    int n = a.Count(2, 128);
    return StayedInside(QuadraticEscape({}, {a[0], a[1]}, n), n);
}

float MandelbrotCenter(const float* args, int count) {
    VariadicArgs a(args, count);
    int n = a.Count(4, 128);
    return StayedInside(QuadraticEscape({a[2], a[3]}, {a[0], a[1]}, n), n);
}

float MandelbrotEx(const float* args, int count) {
    VariadicArgs a(args, count);
    int n = a.Count(4, 256);
    Complex c{a[0] + a[2], a[1] + a[3]}, z;
    int k = FirstStop(
        z, n, [c](Complex& w) { w = Square(w) + c; },
        [](const Complex& w) { return Norm(w) >= 4.0f; });
    return EscapingStep(k, n);
}

float MandelbrotDistance(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex c{a[0], a[1]};
    struct Orbit {
        Complex z, dz;
    } o;
    int k = FirstStop(
        o, a.Count(2, 300),
        [c](Orbit& s) {
            s.dz = s.z * s.dz * 2.0f + Complex{1.0f, 0.0f};
            s.z = Square(s.z) + c;
        },
        [](const Orbit& s) { return Norm(s.z) > 1024.0f; });
    if (k == 0) return 0.0f;  // inside the set
    return DistanceEstimate(Norm(o.z), Norm(o.dz));
}

float MandelbrotPower(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex c{a[0], a[1]}, z = c;
    float p = a[2];
    int n = a.Count(3, 128);
    for (int k = 0; k < n; ++k) {
        if (Norm(z) > 10000.0f) return static_cast<float>(k);  // modulus above 100
        z = Pow(z, p) + c;
    }
    return static_cast<float>(n);
}

// --- Julia sets ------------------------------------------------------------------------------

float JuliaSets(const float* args, int count) {
    VariadicArgs a(args, count);
    return JuliaCount({a[0], a[1]}, {a[2], a[3]}, a.Count(4, 200), SquareReal);
}

float JuliaInvSets(const float* args, int count) {
    VariadicArgs a(args, count);
    return JuliaCount({a[0], a[1]}, {a[2], a[3]}, a.Count(4, 200), MirroredSquareReal);
}

// The fifth argument is accepted and ignored.
float JuliaLevel(const float* args, int count) {
    VariadicArgs a(args, count);
    return JuliaCount({a[0], a[1]}, {a[2], a[3]}, a.Count(5, 128), SquareReal);
}

float JuliaDistance(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex c{a[2], a[3]};
    struct Orbit {
        Complex z;
        float g;
    } o{{a[0], a[1]}, 1.0f};
    FirstStop(
        o, a.Count(4, 256),
        [c](Orbit& s) {
            s.g *= 4.0f * Norm(s.z);
            s.z = Square(s.z) + c;
        },
        [](const Orbit& s) { return Norm(s.z) > 200.0f; });
    return DistanceEstimate(Norm(o.z), o.g);
}

// z <- sin z; the steps before the escaping one, or n.
float SinJulia(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex z{a[0], a[1]};
    float bailout = a[2];
    int n = a.Count(3, 128);
    int k = FirstStop(
        z, n, [](Complex& w) { w = Sin(w); },
        [bailout](const Complex& w) { return Norm(w) > bailout; });
    return StayedInside(k, n);
}

// --- burning ships ---------------------------------------------------------------------------

float Burnship(const float* args, int count) {
    VariadicArgs a(args, count);
    float x = a[0], y = a[1], p = a[2], q = a[3];
    int n = a.Count(4, 256);
    Complex z;
    int k = FirstStop(
        z, n,
        [=](Complex& w) {
            w = {w.re * w.re - w.im * w.im - x - p, 2.0f * std::fabs(w.im * w.re) - y - q};
        },
        [](const Complex& w) { return Norm(w) >= 1.0e6f; });
    return EscapingStep(k, n);
}

// A fixed view of the ship's antenna.
float BurningShip(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex c{-1.795f + 0.07999992f * a[0], 0.01f - 0.099f * a[1]};
    int n = a.Count(2, 2000);
    return EscapeCount({}, 4.0f, n, [c](Complex& w) {
        w = {w.re * w.re - w.im * w.im + c.re, 2.0f * std::fabs(w.re * w.im) + c.im};
    });
}

// --- maps with memory ------------------------------------------------------------------------

// Phoenix maps: z' = z^2 + c + sum_j (p_j zr(k-j), q_j zi(k-j)) over the last `Memory` iterates.
template <int Memory>
float PhoenixCount(Complex z, Complex c, const float (&p)[Memory], const float (&q)[Memory],
                   int n) {
    struct Orbit {
        Complex z, previous[Memory];
    } o{z, {}};
    return static_cast<float>(CountWhile(
        o, n,
        [&](Orbit& s) {
            Complex next = Square(s.z) + c;
            for (int j = 0; j < Memory; ++j) {
                next.re += p[j] * s.previous[j].re;
                next.im += q[j] * s.previous[j].im;
            }
            for (int j = Memory - 1; j > 0; --j) s.previous[j] = s.previous[j - 1];
            s.previous[0] = s.z;
            s.z = next;
        },
        [](const Orbit& s) { return Norm(s.z) < 65536.0f; }));
}

float Phoenix(const float* args, int count) {
    VariadicArgs a(args, count);
    const float p[1] = {a[3]}, q[1] = {a[5]};
    return PhoenixCount<1>({a[0], a[1]}, {a[2], a[4]}, p, q, a.Count(6, 100));
}

float Phoenix2(const float* args, int count) {
    VariadicArgs a(args, count);
    const float p[2] = {a[3], a[4]}, q[2] = {a[6], a[7]};
    return PhoenixCount<2>({a[0], a[1]}, {a[2], a[5]}, p, q, a.Count(8, 100));
}

// --- transcendental maps ---------------------------------------------------------------------

float Thorn(const float* args, int count) {
    VariadicArgs a(args, count);
    float p = a[2], q = a[3];
    return EscapeCount({a[0], a[1]}, a.PositiveOr(4, 1.0e6f), a.Count(5, 128), [p, q](Complex& w) {
        w = {w.re / std::cos(w.im) + p, w.im / std::sin(w.re) + q};
    });
}

// The steps before the escaping one; an orbit that stays gives 0.
float Exponential(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex c{a[2], a[3]}, z{a[0], a[1]};
    int k = FirstStop(
        z, a.Count(4, 25),
        [c](Complex& w) {
            float rho = std::exp(w.re * w.re - w.im * w.im), phi = 2.0f * w.re * w.im;
            w = {rho * std::sin(phi) + c.re, rho * std::cos(phi) + c.im};
        },
        [](const Complex& w) { return Norm(w) > 10000.0f; });
    return static_cast<float>(k ? k - 1 : 0);
}

// The mean of |z| over the orbit of the logarithmic step.
float Grinning(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex c{a[2], a[3]}, z{a[0], a[1]};
    int n = a.Count(4, 64);
    float sum = 0.0f;
    for (int k = 0; k < n; ++k) {
        z = LogStep(z, c);
        sum += Abs(z);
    }
    return FiniteOr(sum / static_cast<float>(n));
}

// The largest |z|^2 met by the orbit of the logarithmic step, the start included.
float CmpxDuck(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex c{a[2], a[3]}, z{a[0], a[1]};
    int n = a.Count(4, 50);
    float largest = Norm(z);
    for (int k = 0; k < n; ++k) {
        z = LogStep(z, c);
        largest = std::max(largest, Norm(z));
    }
    return FiniteOr(largest);
}

// z <- exp(i pi z) + c.
float CmpxVine(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex c{a[2], a[3]};
    return EscapeCount({a[0], a[1]}, a.PositiveOr(4, 1.0e6f), a.Count(5, 128), [c](Complex& w) {
        float m = std::exp(-kPi * w.im);
        w = Complex{m * std::cos(kPi * w.re), m * std::sin(kPi * w.re)} + c;
    });
}

// z <- z^3 + (z0 - 1) z - z0 + c.
float CmpxCactus(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex z0{a[0], a[1]}, c{a[2], a[3]};
    Complex shift = z0 - Complex{1.0f, 0.0f}, offset = c - z0;
    return EscapeCount(z0, a[4], a.Count(5, 128),
                       [=](Complex& w) { w = Square(w) * w + shift * w + offset; });
}

// z <- c sin z.
float CmpxSinJulia(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex c{a[2], a[3]};
    return EscapeCount({a[0], a[1]}, a[4], a.Count(5, 128), [c](Complex& w) { w = Sin(w) * c; });
}

// The crown is the Julia set of the tricorn (Mandelbar) map z <- conj(z)^2 + c, whose three
// prongs give it its shape; bailout 4 when below 2^-23.
float CmpxCrown(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex c{a[2], a[3]};
    return EscapeCount({a[0], a[1]}, a.PositiveOr(4, 4.0f), a.Count(5, 16),
                       [c](Complex& w) { w = Square(Conj(w)) + c; });
}

// z <- z + z^p + c.
float CmpxPower(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex c{a[2], a[3]};
    float p = a[4];
    return EscapeCount({a[0], a[1]}, a.PositiveOr(5, 4.0f), a.Count(6, 16),
                       [c, p](Complex& w) { w = w + Pow(w, p) + c; });
}

// z <- z^-p + c.
float CmpxAiekick(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex c{a[2], a[3]};
    float p = a[4];
    return EscapeCount({a[0], a[1]}, a[5], a.Count(6, 100),
                       [c, p](Complex& w) { w = Pow(w, -p) + c; });
}

// With w = z^p = a + ib: z <- (sin a cosh b - k zr, cos a sinh b - k zi); the count is the
// step whose move |dz|^2 exceeds the bailout.
float CmpxButterfly(const float* args, int count) {
    VariadicArgs a(args, count);
    float k = a[2], p = a[3], bailout = a[4];
    int n = a.Count(5, 128);
    struct Orbit {
        Complex z;
        float move;
    } o{{a[0], a[1]}, 0.0f};
    int step = FirstStop(
        o, n,
        [k, p](Orbit& s) {
            Complex next = Sin(Pow(s.z, p)) - s.z * k;
            s.move = Norm(next - s.z);
            s.z = next;
        },
        [bailout](const Orbit& s) { return s.move > bailout; });
    return EscapingStep(step, n);
}

// Binocular: a Julia map whose constant alternates between c1 (even steps) and c2 (odd steps),
// z <- z^p + c1, z^p + c2, ...; two Julia sets seen through one orbit give twin lobes. Arguments
// (x, y, c1r, c1i, c2r, c2i, p, bailout, n); p = 2 when |p| < 2^-23, bailout 4 when below 2^-23.
float CmpxBinocular(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex c[2] = {{a[2], a[3]}, {a[4], a[5]}};
    float p = std::fabs(a[6]) < kEpsilon ? 2.0f : a[6];
    struct Orbit {
        Complex z;
        int parity;
    } o{{a[0], a[1]}, 0};
    float bailout = a.PositiveOr(7, 4.0f);
    int n = a.Count(8, 128);
    int k = FirstStop(
        o, n,
        [&c, p](Orbit& s) {
            s.z = (p == 2.0f ? Square(s.z) : Pow(s.z, p)) + c[s.parity];
            s.parity ^= 1;
        },
        [bailout](const Orbit& s) { return Norm(s.z) > bailout; });
    return EscapingStep(k, n);
}

}  // namespace luneth::fractal
