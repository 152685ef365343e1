// Shader-style maths for the pictures written like fragment shaders: small float vectors and
// the built-ins of shading languages, so that a body reads like the shader it stands in for.
//
//   vec2, vec3, vec4     fields x y z w; + - * / between vectors of one size and with floats
//                        (component-wise, either order), unary -, += -= *= /=
//   component-wise       abs floor fract sin cos exp sqrt min max clamp mix step smoothstep
//                        mod (GLSL's x - y floor(x / y), never negative for y > 0, unlike fmod)
//   geometric            dot length distance normalize cross reflect
//   mat2, mat3           column-major as in GLSL: m * v, m * m; Rotate2(a) turns counter-
//                        clockwise, RotateX/Y/Z(a) about an axis, LookAt(forward, up) is the
//                        camera basis (columns right, up, forward)
//
// Everything is float and inline. Edges: normalize of a zero (or NaN) vector gives the zero
// vector instead of NaN, so a degenerate ray stays finite; smoothstep with equal edges is a
// step; mod by 0 gives NaN as in the shading languages (callers divide by constants).
#pragma once

#include <algorithm>
#include <cmath>
#include <concepts>

namespace luneth::shader {

constexpr float kPi = 3.14159265f;
constexpr float kTau = 6.28318531f;

struct vec2 {
    float x = 0, y = 0;
};
struct vec3 {
    float x = 0, y = 0, z = 0;
};
struct vec4 {
    float x = 0, y = 0, z = 0, w = 0;
};

// Every component-wise operation goes through Map (one vector) or Zip (two).
template <class F>
vec2 Map(vec2 a, F f) {
    return {f(a.x), f(a.y)};
}
template <class F>
vec3 Map(vec3 a, F f) {
    return {f(a.x), f(a.y), f(a.z)};
}
template <class F>
vec4 Map(vec4 a, F f) {
    return {f(a.x), f(a.y), f(a.z), f(a.w)};
}
template <class F>
vec2 Zip(vec2 a, vec2 b, F f) {
    return {f(a.x, b.x), f(a.y, b.y)};
}
template <class F>
vec3 Zip(vec3 a, vec3 b, F f) {
    return {f(a.x, b.x), f(a.y, b.y), f(a.z, b.z)};
}
template <class F>
vec4 Zip(vec4 a, vec4 b, F f) {
    return {f(a.x, b.x), f(a.y, b.y), f(a.z, b.z), f(a.w, b.w)};
}

template <class V>
concept Vector = std::same_as<V, vec2> || std::same_as<V, vec3> || std::same_as<V, vec4>;

inline vec3 Vec3(vec2 a, float z) { return {a.x, a.y, z}; }
inline vec4 Vec4(vec3 a, float w) { return {a.x, a.y, a.z, w}; }
inline vec2 xy(vec3 a) { return {a.x, a.y}; }
inline vec2 xz(vec3 a) { return {a.x, a.z}; }
inline vec3 xyz(vec4 a) { return {a.x, a.y, a.z}; }
template <Vector V>
V Splat(float s) {
    return Map(V{}, [s](float) { return s; });
}

// ---- arithmetic ----------------------------------------------------------------------------

// Written out for each vector type rather than as constrained templates: clang 14 rejects an
// operator template whose deduced parameter could be a plain number even when the constraint
// would have excluded it.
#define LUNETH_SHADER_OPERATOR(V, op)                                               \
    inline V operator op(V a, V b) {                                                \
        return Zip(a, b, [](float p, float q) { return p op q; });                  \
    }                                                                               \
    inline V operator op(V a, float s) {                                            \
        return Map(a, [s](float p) { return p op s; });                             \
    }                                                                               \
    inline V operator op(float s, V a) {                                            \
        return Map(a, [s](float p) { return s op p; });                             \
    }                                                                               \
    template <class R>                                                              \
    V& operator op##=(V& a, R b) {                                                  \
        return a = a op b;                                                          \
    }
#define LUNETH_SHADER_OPERATORS(V)                                                  \
    LUNETH_SHADER_OPERATOR(V, +)                                                    \
    LUNETH_SHADER_OPERATOR(V, -)                                                    \
    LUNETH_SHADER_OPERATOR(V, *)                                                    \
    LUNETH_SHADER_OPERATOR(V, /)                                                    \
    inline V operator-(V a) {                                                       \
        return Map(a, [](float p) { return -p; });                                  \
    }
LUNETH_SHADER_OPERATORS(vec2)
LUNETH_SHADER_OPERATORS(vec3)
LUNETH_SHADER_OPERATORS(vec4)
#undef LUNETH_SHADER_OPERATORS
#undef LUNETH_SHADER_OPERATOR

// ---- scalar built-ins, then their component-wise forms -------------------------------------

inline float fract(float x) { return x - std::floor(x); }
inline float min(float a, float b) { return std::min(a, b); }
inline float max(float a, float b) { return std::max(a, b); }
inline float pow(float a, float e) { return std::pow(a, e); }
inline float mod(float x, float y) { return x - y * std::floor(x / y); }
inline float clamp(float x, float lo, float hi) { return std::min(std::max(x, lo), hi); }
inline float saturate(float x) { return clamp(x, 0.0f, 1.0f); }
inline float mix(float a, float b, float t) { return a + (b - a) * t; }
inline float step(float edge, float x) { return x < edge ? 0.0f : 1.0f; }
inline float smoothstep(float e0, float e1, float x) {
    if (e0 == e1) return step(e0, x);
    const float t = saturate((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

// Scalar forms of the standard functions live here too, so that bodies written in this
// namespace call sin(x) on floats and vectors alike.
#define LUNETH_SHADER_LIFT(name, expr)                  \
    inline float name(float p) { return expr; }         \
    template <Vector V>                                 \
    V name(V a) {                                       \
        return Map(a, [](float p) { return name(p); }); \
    }
LUNETH_SHADER_LIFT(abs, std::fabs(p))
LUNETH_SHADER_LIFT(floor, std::floor(p))
LUNETH_SHADER_LIFT(sin, std::sin(p))
LUNETH_SHADER_LIFT(cos, std::cos(p))
LUNETH_SHADER_LIFT(exp, std::exp(p))
LUNETH_SHADER_LIFT(sqrt, std::sqrt(p))
#undef LUNETH_SHADER_LIFT

template <Vector V>
V fract(V a) {
    return Map(a, [](float p) { return fract(p); });
}
template <Vector V>
V saturate(V a) {
    return Map(a, [](float p) { return saturate(p); });
}

template <Vector V>
V min(V a, V b) {
    return Zip(a, b, [](float p, float q) { return std::min(p, q); });
}
template <Vector V>
V max(V a, V b) {
    return Zip(a, b, [](float p, float q) { return std::max(p, q); });
}
template <Vector V>
V max(V a, float s) {
    return Map(a, [s](float p) { return std::max(p, s); });
}
template <Vector V>
V pow(V a, float e) {
    return Map(a, [e](float p) { return std::pow(p, e); });
}
template <Vector V>
V mod(V a, float y) {
    return Map(a, [y](float p) { return mod(p, y); });
}
template <Vector V>
V clamp(V a, float lo, float hi) {
    return Map(a, [lo, hi](float p) { return clamp(p, lo, hi); });
}
template <Vector V>
V mix(V a, V b, float t) {
    return a + (b - a) * t;
}
template <Vector V>
V mix(V a, V b, V t) {
    return a + (b - a) * t;
}
template <Vector V>
V smoothstep(float e0, float e1, V x) {
    return Map(x, [e0, e1](float p) { return smoothstep(e0, e1, p); });
}

// ---- geometry ------------------------------------------------------------------------------

inline float dot(vec2 a, vec2 b) { return a.x * b.x + a.y * b.y; }
inline float dot(vec3 a, vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline float dot(vec4 a, vec4 b) { return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w; }
template <Vector V>
float length(V a) {
    return std::sqrt(dot(a, a));
}
template <Vector V>
float distance(V a, V b) {
    return length(a - b);
}
template <Vector V>
V normalize(V a) {
    const float len = length(a);
    return len > 0.0f ? a / len : V{};
}
inline vec3 cross(vec3 a, vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
template <Vector V>
V reflect(V incident, V normal) {
    return incident - 2.0f * dot(normal, incident) * normal;
}

// ---- matrices (column-major) ---------------------------------------------------------------

struct mat2 {
    vec2 c0{1, 0}, c1{0, 1};
};
struct mat3 {
    vec3 c0{1, 0, 0}, c1{0, 1, 0}, c2{0, 0, 1};
};

inline vec2 operator*(const mat2& m, vec2 v) { return m.c0 * v.x + m.c1 * v.y; }
inline vec3 operator*(const mat3& m, vec3 v) { return m.c0 * v.x + m.c1 * v.y + m.c2 * v.z; }
inline mat2 operator*(const mat2& a, const mat2& b) { return {a * b.c0, a * b.c1}; }
inline mat3 operator*(const mat3& a, const mat3& b) { return {a * b.c0, a * b.c1, a * b.c2}; }
inline mat3 transpose(const mat3& m) {
    return {{m.c0.x, m.c1.x, m.c2.x}, {m.c0.y, m.c1.y, m.c2.y}, {m.c0.z, m.c1.z, m.c2.z}};
}

inline mat2 Rotate2(float a) {
    const float c = std::cos(a), s = std::sin(a);
    return {{c, s}, {-s, c}};
}
inline mat3 RotateX(float a) {
    const float c = std::cos(a), s = std::sin(a);
    return {{1, 0, 0}, {0, c, s}, {0, -s, c}};
}
inline mat3 RotateY(float a) {
    const float c = std::cos(a), s = std::sin(a);
    return {{c, 0, -s}, {0, 1, 0}, {s, 0, c}};
}
inline mat3 RotateZ(float a) {
    const float c = std::cos(a), s = std::sin(a);
    return {{c, s, 0}, {-s, c, 0}, {0, 0, 1}};
}
// Camera basis looking along `forward`: columns right, up, forward, so that
// LookAt(f, up) * (u, v, zoom) is the ray through screen point (u, v).
inline mat3 LookAt(vec3 forward, vec3 up = {0, 1, 0}) {
    const vec3 f = normalize(forward);
    const vec3 r = normalize(cross(up, f));
    return {r, cross(f, r), f};
}

}  // namespace luneth::shader
