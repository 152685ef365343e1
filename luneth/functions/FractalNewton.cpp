// Newton-type fractals: root finders iterated from every point, coloured by how many steps
// they need to settle (|dz|^2 below a tolerance) or, for fractal_newton, by the root reached.
//
// Near a zero derivative the Newton quotient is used unscaled (not divided) instead of
// dividing by almost nothing; the step then jumps far and the orbit carries on from there.
#include <cmath>

#include "functions/FractalMembers.h"

namespace luneth::fractal {

namespace {

// Iterates z <- map(z) from z0 until the move |dz|^2 falls below eps; the number of that step,
// or n when the orbit never settles.
template <class Map>
float SettleCount(Complex z, float eps, int n, Map map) {
    struct Orbit {
        Complex z;
        float move;
    } o{z, 0.0f};
    int k = FirstStop(
        o, n,
        [&map](Orbit& s) {
            Complex next = map(s.z);
            s.move = Norm(next - s.z);
            s.z = next;
        },
        [eps](const Orbit& s) { return s.move < eps; });
    return static_cast<float>(k ? k : n);
}

// Newton's step for z^Degree - 1 (derivative Degree z^(Degree - 1)), relaxed by `a`.
template <int Degree>
Complex PowerNewtonStep(Complex z, Complex a) {
    Complex lower{1.0f, 0.0f};  // z^(Degree - 1)
    for (int i = 1; i < Degree; ++i) lower = lower * z;
    Complex f = lower * z - Complex{1.0f, 0.0f};
    Complex df = lower * static_cast<float>(Degree);
    return z - a * DivideOr(f, df, kEpsilon);
}

template <int Degree>
float PowerNewton(const float* args, int count) {
    VariadicArgs a(args, count);
    return SettleCount({a[0], a[1]}, a.PositiveOr(2, 0.00001f), a.Count(3, 32), [](Complex z) {
        return PowerNewtonStep<Degree>(z, {1.0f, 0.0f});
    });
}

}  // namespace

// Newton's method for z^3 - 1 written out; the final imaginary part tells the three roots
// apart (0 and +-0.866).
float Newton(const float* args, int count) {
    VariadicArgs a(args, count);
    float zr = a[0], zi = a[1];
    int n = a.Count(2, 32);
    for (int k = 0; k < n; ++k) {
        float r2 = zr * zr, i2 = zi * zi;
        float g = 3.0f * (4.0f * r2 * i2 + (r2 - i2) * (r2 - i2));
        if (std::fabs(g) < kEpsilon) g = kEpsilon;
        float nr = (r2 - i2) / g + 0.6666667f * zr;
        zi = 0.6666667f * zi - 2.0f * zr * zi / g;
        zr = nr;
    }
    return FiniteOr(zi);
}

float CmpxNewton(const float* args, int count) { return PowerNewton<3>(args, count); }

float CmpxNewtonPow6(const float* args, int count) { return PowerNewton<6>(args, count); }

float CmpxNewtonPow8(const float* args, int count) { return PowerNewton<8>(args, count); }

// Newton for sin z = 2.
float CmpxNewtonSin(const float* args, int count) {
    VariadicArgs a(args, count);
    return SettleCount({a[0], a[1]}, a.PositiveOr(2, 0.00001f), a.Count(3, 64), [](Complex z) {
        return z - DivideOr(Sin(z) - Complex{2.0f, 0.0f}, Cos(z), kEpsilon);
    });
}

// Relaxed Newton for z^3 - 1: z <- z - a (z^3 - 1) / (3 z^2); the tolerance takes the family's
// default 0.00001 when below 2^-23.
float CmpxNewtonEx(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex relax{a[2], a[3]};
    return SettleCount({a[0], a[1]}, a.PositiveOr(4, 0.00001f), a.Count(5, 32),
                       [relax](Complex z) { return PowerNewtonStep<3>(z, relax); });
}

// Relaxed Newton for the exponential, f(z) = e^z - 1 with the roots 2 pi i k:
// z <- z - a (1 - e^-z), a = (ar, ai), a = 1 when |a|^2 < 2^-23, tolerance 0.00001 when below
// 2^-23. The basins of neighbouring roots interleave in a fractal band left of the imaginary
// axis.
float CmpxNewtonExp(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex relax{a[2], a[3]};
    if (Norm(relax) < kEpsilon) relax = {1.0f, 0.0f};
    return SettleCount({a[0], a[1]}, a.PositiveOr(4, 0.00001f), a.Count(5, 32), [relax](Complex z) {
        return z - relax * (Complex{1.0f, 0.0f} - Exp(Complex{-z.re, -z.im}));
    });
}

// z <- z0 z^2 (z^2 + 1) / (z^2 - 1)^2.
float CmpxLemon(const float* args, int count) {
    VariadicArgs a(args, count);
    Complex z0{a[0], a[1]};
    return SettleCount(z0, a.PositiveOr(2, 0.0001f), a.Count(3, 128), [z0](Complex z) {
        Complex z2 = Square(z);
        Complex den = Square(z2 - Complex{1.0f, 0.0f});
        return DivideOr(z0 * z2 * (z2 + Complex{1.0f, 0.0f}), den, kEpsilon);
    });
}

}  // namespace luneth::fractal
