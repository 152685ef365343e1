// The shader-style maths and the helpers the shader-style equations share: vector built-ins,
// matrices, the time rule, and the texture noises against the library's samplers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "equations/ShaderEquation.h"
#include "functions/RandomTexture.h"

namespace luneth::shader {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

void ExpectNear(vec3 a, vec3 b, float tolerance = 1e-6f) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST(ShaderMath, ScalarBuiltIns) {
    struct Case {
        float got, want;
    };
    const Case cases[] = {
        {mod(-1.0f, 3.0f), 2.0f},  // floored, unlike fmod
        {mod(7.5f, 2.0f), 1.5f},
        {fract(-0.25f), 0.75f},
        {clamp(5.0f, 0.0f, 1.0f), 1.0f},
        {mix(2.0f, 4.0f, 0.25f), 2.5f},
        {step(0.5f, 0.5f), 1.0f},
        {step(0.5f, 0.49f), 0.0f},
        {smoothstep(0.0f, 1.0f, 0.5f), 0.5f},
        {smoothstep(1.0f, 0.0f, 0.25f), 0.84375f},  // reversed edges fall
        {smoothstep(2.0f, 2.0f, 1.0f), 0.0f},       // equal edges: a step, no NaN
        {smoothstep(2.0f, 2.0f, 3.0f), 1.0f},
    };
    for (const Case& c : cases) EXPECT_FLOAT_EQ(c.got, c.want);
}

TEST(ShaderMath, VectorsWorkComponentWise) {
    const vec3 a{1, -2, 3}, b{4, 5, -6};
    ExpectNear(a + b, {5, 3, -3});
    ExpectNear(2.0f * a - b * 0.5f, {0, -6.5f, 9});
    ExpectNear(a / 2.0f, {0.5f, -1, 1.5f});
    ExpectNear(abs(a), {1, 2, 3});
    ExpectNear(max(a, 0.0f), {1, 0, 3});
    ExpectNear(floor(vec3{-0.5f, 0.5f, 2.0f}), {-1, 0, 2});
    vec3 c = a;
    c += b;
    c *= 2.0f;
    ExpectNear(c, {10, 6, -6});
    EXPECT_FLOAT_EQ(dot(a, b), 4 - 10 - 18);
    ExpectNear(cross(vec3{1, 0, 0}, vec3{0, 1, 0}), {0, 0, 1});
    ExpectNear(reflect(vec3{1, -1, 0}, vec3{0, 1, 0}), {1, 1, 0});
    EXPECT_FLOAT_EQ(length(vec2{3, 4}), 5.0f);
    // A degenerate direction stays finite instead of turning into NaN.
    ExpectNear(normalize(vec3{}), {0, 0, 0});
    ExpectNear(normalize(vec3{kNaN, 0, 0}), {0, 0, 0});
}

TEST(ShaderMath, MatricesRotateAndLookAt) {
    const vec2 turned = Rotate2(kPi / 2) * vec2{1, 0};
    EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
    EXPECT_NEAR(turned.y, 1.0f, 1e-6f);
    ExpectNear(RotateY(0.7f) * (RotateY(-0.7f) * vec3{1, 2, 3}), {1, 2, 3}, 1e-5f);
    ExpectNear(transpose(RotateX(0.4f)) * (RotateX(0.4f) * vec3{1, 2, 3}), {1, 2, 3}, 1e-5f);
    // The camera basis is orthonormal, looks along forward, and keeps "up" up.
    const mat3 m = LookAt(vec3{3, -1, 2});
    EXPECT_NEAR(dot(m.c0, m.c1), 0.0f, 1e-6f);
    EXPECT_NEAR(dot(m.c0, m.c2), 0.0f, 1e-6f);
    EXPECT_NEAR(length(m.c0), 1.0f, 1e-6f);
    ExpectNear(m * vec3{0, 0, 1}, normalize(vec3{3, -1, 2}));
    EXPECT_GT(m.c1.y, 0.0f);
    EXPECT_NEAR(m.c0.y, 0.0f, 1e-6f);
}

TEST(ShaderHelpers, TimeKeepsCatalogueRangesAndTamesTheRest) {
    EXPECT_EQ(ShaderTime(47.98f), 47.98f);
    EXPECT_EQ(ShaderTime(100000.0f), 100000.0f);
    EXPECT_EQ(ShaderTime(-3.5f), -3.5f);
    EXPECT_EQ(ShaderTime(kNaN), 0.0f);
    EXPECT_EQ(ShaderTime(kInf), 0.0f);
    EXPECT_EQ(ShaderTime(-kInf), 0.0f);
    for (float huge : {1e30f, -1e30f, 3.4e38f}) EXPECT_LT(std::fabs(ShaderTime(huge)), kTimeWrap);
}

TEST(ShaderHelpers, TextureNoisesMatchTheLibrarySamplers) {
    const vec2 points[] = {{0.0f, 0.0f}, {3.25f, 7.5f}, {-12.7f, 300.1f}, {255.9f, -0.01f}};
    for (const vec2 p : points) {
        EXPECT_EQ(Noise(p), texture::TexNoise2(p.x, p.y)) << p.x << "," << p.y;
        // The 3-D noise finds its texels in integers; the float form with the library's
        // linear sampler agrees.
        const vec3 q{p.x, p.y, p.x * 0.37f - 1.1f};
        EXPECT_NEAR(Noise(q), Noise<texture::TexLiner2>(q), 1e-4f) << q.x << "," << q.y;
    }
    // Any float reads inside the texture.
    for (const float bad : {kNaN, kInf, -kInf, 3e38f, -3e9f}) {
        Noise(vec2{bad, 1.5f});
        NoiseD(vec2{1.5f, bad});
        Noise(vec3{bad, bad, bad});
    }
}

TEST(ShaderHelpers, NoiseGradientAndRanges) {
    // NoiseD's gradient agrees with differences of its value.
    for (const vec2 p : {vec2{1.3f, 2.7f}, vec2{-5.6f, 0.45f}, vec2{100.2f, 40.8f}}) {
        const float e = 1e-3f;
        const vec3 n = NoiseD(p);
        EXPECT_NEAR(n.x, Noise(p), 1e-6f);
        EXPECT_NEAR(n.y, (NoiseD(p + vec2{e, 0}).x - NoiseD(p - vec2{e, 0}).x) / (2 * e), 2e-2f);
        EXPECT_NEAR(n.z, (NoiseD(p + vec2{0, e}).x - NoiseD(p - vec2{0, e}).x) / (2 * e), 2e-2f);
    }
    // Values stay in [0, 1]; the 3-D noise joins its lattice planes without a step.
    for (int i = 0; i < 200; ++i) {
        const vec3 p{i * 0.731f - 40.0f, i * 0.377f, i * 0.113f - 9.0f};
        for (const float v : {Noise(p), Fbm(p, 5), Fbm(xy(p), 6)}) {
            EXPECT_GE(v, 0.0f);
            EXPECT_LE(v, 1.0f);
        }
    }
    EXPECT_NEAR(Noise(vec3{2.3f, 5.1f, 2.99999f}), Noise(vec3{2.3f, 5.1f, 3.0f}), 1e-4f);
}

TEST(ShaderHelpers, StarFieldIsSparseAndFinite) {
    int lit = 0;
    for (int i = 0; i < 2000; ++i) {
        const vec3 d =
            normalize(vec3{std::sin(i * 0.37f), std::cos(i * 0.11f), std::sin(i * 0.05f)});
        const vec3 s = StarField(d);
        EXPECT_TRUE(std::isfinite(s.x) && s.x >= 0.0f);
        lit += s.x > 0.01f ? 1 : 0;
    }
    EXPECT_GT(lit, 0);
    EXPECT_LT(lit, 400);
    ExpectNear(StarField(vec3{}), {0, 0, 0});
}

}  // namespace
}  // namespace luneth::shader
