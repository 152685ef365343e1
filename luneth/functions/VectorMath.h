// Small single-precision vectors and complex numbers for the distance and fractal families.
//
//   Vec<N>      N floats (Vec2, Vec3, Vec4) with element-wise + - * and scalar * /;
//               Dot, Length, Abs, MaxZero (component-wise max with 0), MaxComponent
//   Complex     re + i im with + - * and Norm (|z|^2), Abs, Square, Exp, Sin, Cos, Log, Pow
//
// Everything is float and inline: these sit in per-pixel loops. Division and logarithm are
// left to the caller to guard, since each family has its own rule for singular points.
#pragma once

#include <algorithm>
#include <cmath>

namespace luneth {

// ---------------------------------------------------------------------------------------------
// Vectors
// ---------------------------------------------------------------------------------------------

template <int N>
struct Vec {
    float v[N];

    float& operator[](int i) { return v[i]; }
    float operator[](int i) const { return v[i]; }
    float x() const { return v[0]; }
    float y() const { return v[1]; }
    float z() const requires(N >= 3) { return v[2]; }
};

using Vec2 = Vec<2>;
using Vec3 = Vec<3>;
using Vec4 = Vec<4>;

// Applies f to every component (of one or two vectors).
template <int N, class F>
inline Vec<N> Map(const Vec<N>& a, F f) {
    Vec<N> r;
    for (int i = 0; i < N; ++i) r[i] = f(a[i]);
    return r;
}
template <int N, class F>
inline Vec<N> Map(const Vec<N>& a, const Vec<N>& b, F f) {
    Vec<N> r;
    for (int i = 0; i < N; ++i) r[i] = f(a[i], b[i]);
    return r;
}

template <int N>
inline Vec<N> operator+(const Vec<N>& a, const Vec<N>& b) {
    return Map(a, b, [](float p, float q) { return p + q; });
}
template <int N>
inline Vec<N> operator-(const Vec<N>& a, const Vec<N>& b) {
    return Map(a, b, [](float p, float q) { return p - q; });
}
template <int N>
inline Vec<N> operator*(const Vec<N>& a, const Vec<N>& b) {
    return Map(a, b, [](float p, float q) { return p * q; });
}
template <int N>
inline Vec<N> operator*(const Vec<N>& a, float s) {
    return Map(a, [s](float p) { return p * s; });
}
template <int N>
inline Vec<N> operator*(float s, const Vec<N>& a) {
    return a * s;
}
template <int N>
inline Vec<N> operator/(const Vec<N>& a, float s) {
    return Map(a, [s](float p) { return p / s; });
}
template <int N>
inline Vec<N> operator-(const Vec<N>& a) {
    return Map(a, [](float p) { return -p; });
}

template <int N>
inline float Dot(const Vec<N>& a, const Vec<N>& b) {
    float s = 0.0f;
    for (int i = 0; i < N; ++i) s += a[i] * b[i];
    return s;
}
template <int N>
inline float Length(const Vec<N>& a) {
    return std::sqrt(Dot(a, a));
}
template <int N>
inline Vec<N> Abs(const Vec<N>& a) {
    return Map(a, [](float p) { return std::fabs(p); });
}
template <int N>
inline Vec<N> MaxZero(const Vec<N>& a) {
    return Map(a, [](float p) { return std::max(p, 0.0f); });
}
template <int N>
inline float MaxComponent(const Vec<N>& a) {
    float m = a[0];
    for (int i = 1; i < N; ++i) m = std::max(m, a[i]);
    return m;
}

inline Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

inline float Clamp(float x, float lo, float hi) { return std::min(std::max(x, lo), hi); }

// +1 for x >= 0, else -1 (the library's sign; a point on a boundary counts as outside).
inline float SignOf(float x) { return x >= 0.0f ? 1.0f : -1.0f; }

// ---------------------------------------------------------------------------------------------
// Complex numbers
// ---------------------------------------------------------------------------------------------

struct Complex {
    float re = 0.0f;
    float im = 0.0f;
};

inline Complex operator+(Complex a, Complex b) { return {a.re + b.re, a.im + b.im}; }
inline Complex operator-(Complex a, Complex b) { return {a.re - b.re, a.im - b.im}; }
inline Complex operator*(Complex a, Complex b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
inline Complex operator*(Complex a, float s) { return {a.re * s, a.im * s}; }
inline Complex Conj(Complex a) { return {a.re, -a.im}; }
inline float Norm(Complex a) { return a.re * a.re + a.im * a.im; }
inline float Abs(Complex a) { return std::sqrt(Norm(a)); }
inline Complex Square(Complex a) { return {a.re * a.re - a.im * a.im, 2.0f * a.re * a.im}; }

// a / b, or a itself when |b|^2 is below `tiny` (the quotient "unscaled", as the Newton
// members want it near a zero derivative).
inline Complex DivideOr(Complex a, Complex b, float tiny) {
    float d = Norm(b);
    if (d < tiny) return a;
    return {(a.re * b.re + a.im * b.im) / d, (a.im * b.re - a.re * b.im) / d};
}

inline Complex Exp(Complex a) {
    float m = std::exp(a.re);
    return {m * std::cos(a.im), m * std::sin(a.im)};
}
inline Complex Sin(Complex a) {
    return {std::sin(a.re) * std::cosh(a.im), std::cos(a.re) * std::sinh(a.im)};
}
inline Complex Cos(Complex a) {
    return {std::cos(a.re) * std::cosh(a.im), -std::sin(a.re) * std::sinh(a.im)};
}
// Principal logarithm; log 0 has real part -inf, which the callers' escape tests absorb.
inline Complex Log(Complex a) { return {0.5f * std::log(Norm(a)), std::atan2(a.im, a.re)}; }
// z^p for a real p by modulus and angle: |z|^p (cos p theta, sin p theta).
inline Complex Pow(Complex a, float p) {
    float m = std::pow(Abs(a), p);
    float t = p * std::atan2(a.im, a.re);
    return {m * std::cos(t), m * std::sin(t)};
}

}  // namespace luneth
