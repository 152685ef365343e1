// The fractal functions: fixed values, counts and their defaults, and termination on bad input.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

#include "BuiltinCall.h"

using namespace luneth;
using namespace luneth::test;

namespace {

// Every member: the point's dimension, its constants (the arguments between the point and the
// count) for the probes below, and the default count.
struct Member {
    const char* name;
    int dims;
    std::vector<float> constants;
    int fallback;
};

const std::vector<Member>& Members() {
    static const std::vector<Member> members = {
        {"fractal_hierarchy_sphere", 2, {1.7f}, 100},
        {"fractal_hierarchy_square", 2, {1.7f}, 100},
        {"fractal_madrugada", 2, {-1.5f}, 100},
        {"fractal_bedouin", 3, {}, 6},
        {"fractal_manda", 2, {0.6f, 0.8f}, 12},
        {"fractal_thorn", 2, {0.1f, -0.3f, 0.0f}, 128},
        {"fractal_exponential", 2, {-0.6f, 0.1f}, 25},
        {"fractal_holy_grail", 3, {0.2f}, 10},
        {"fractal_grinning", 2, {0.2f, 0.3f}, 64},
        {"fractal_sierpinski_carpet", 2, {}, 5},
        {"fractal_newton", 2, {}, 32},
        {"fractal_lyapunov", 2, {}, 50},
        {"fractal_mandelbrot", 2, {}, 128},
        {"fractal_mandelbrot_center", 2, {0.1f, 0.1f}, 128},
        {"fractal_mandelbrot_distance", 2, {}, 300},
        {"fractal_mandelbrot_ex", 2, {-0.5f, 0.0f}, 256},
        {"fractal_mandelbrot_power", 2, {3.0f}, 128},
        {"fractal_mandelbulb", 3, {8.0f}, 7},
        {"fractal_mandelbrot3d_a", 3, {4.0f}, 128},
        {"fractal_mandelbrot3d_b", 3, {4.0f}, 128},
        {"fractal_pattern_a", 3, {0.6f}, 10},
        {"fractal_pattern_b", 3, {0.6f}, 10},
        {"fractal_julia_sets", 2, {-0.8f, 0.156f}, 200},
        {"fractal_julia_inv_sets", 2, {-0.8f, 0.156f}, 200},
        {"fractal_julia_traps", 2, {-0.4f, 0.6f}, 128},
        {"fractal_julia_inv_traps", 2, {-0.4f, 0.6f}, 128},
        {"fractal_julia_level", 2, {-0.8f, 0.156f, 9.0f}, 128},
        {"fractal_julia_distance", 2, {-0.8f, 0.156f}, 256},
        {"fractal_julia_quaternion", 3, {-0.2f, 0.6f, 0.2f, 0.2f}, 10},
        {"fractal_juliasbulb", 3, {0.3f, 0.2f, -0.1f, 4.0f}, 10},
        {"fractal_sin_julia", 2, {50.0f}, 128},
        {"fractal_burnship", 2, {0.2f, 0.1f}, 256},
        {"fractal_burning_ship", 2, {}, 2000},
        {"fractal_kali_set", 3, {0.5f, 0.4f, 0.6f}, 19},
        {"fractal_kali_iteration", 3, {0.5f, 0.4f, 0.6f}, 18},
        {"fractal_field", 3, {-0.5f, -0.4f, -1.5f, 7.0f, 2.3f, 3.0f}, 32},
        {"fractal_magic", 3, {0.5f, 0.4f, 0.6f}, 13},
        {"fractal_anxiety", 3, {1.0f, 1.0f, 1.0f}, 20},
        {"fractal_orbiting", 2, {0.5f, -0.3f, 1.2f, 0.01f}, 128},
        {"fractal_phoenix", 2, {0.56667f, -0.5f, 0.0f, 0.0f}, 100},
        {"fractal_phoenix2", 2, {0.56667f, -0.5f, 0.1f, 0.0f, 0.0f, 0.1f}, 100},
        {"fractal_flowers", 2, {0.1f, 0.2f, 0.3f, 2.0f}, 5},
        {"fractal_cmpx_vine", 2, {0.3f, 0.1f, 0.0f}, 128},
        {"fractal_cmpx_cactus", 2, {0.1f, 0.1f, 16.0f}, 128},
        {"fractal_cmpx_sin_julia", 2, {1.0f, 0.3f, 50.0f}, 128},
        {"fractal_cmpx_crown", 2, {-0.1f, 0.65f, 4.0f}, 16},
        {"fractal_cmpx_power", 2, {-0.4f, 0.1f, 2.5f, 4.0f}, 16},
        {"fractal_cmpx_newton", 2, {0.00001f}, 32},
        {"fractal_cmpx_newton_pow6", 2, {0.00001f}, 32},
        {"fractal_cmpx_newton_pow8", 2, {0.00001f}, 32},
        {"fractal_cmpx_newton_sin", 2, {0.00001f}, 64},
        {"fractal_cmpx_newton_ex", 2, {1.0f, 0.2f, 0.00001f}, 32},
        {"fractal_cmpx_newton_exp", 2, {1.0f, 0.0f, 0.00001f}, 32},
        {"fractal_cmpx_aiekick", 2, {0.2f, 0.1f, 1.5f, 16.0f}, 100},
        {"fractal_cmpx_butterfly", 2, {0.5f, 2.0f, 20.0f}, 128},
        {"fractal_cmpx_lemon", 2, {0.0001f}, 128},
        {"fractal_cmpx_duck", 2, {0.3f, 0.2f}, 50},
        {"fractal_cmpx_binocular", 2, {-0.8f, 0.156f, 0.3f, -0.5f, 2.0f, 4.0f}, 128},
    };
    return members;
}

// The member at a probe point (u, v) with its constants and, when `count` is given, a count.
std::vector<float> Arguments(const Member& m, float u, float v, const float* count) {
    std::vector<float> a = {u, v};
    if (m.dims == 3) a.push_back(0.5f * u - 0.3f * v + 0.1f);
    a.insert(a.end(), m.constants.begin(), m.constants.end());
    if (count) a.push_back(*count);
    return a;
}

float CallWith(const char* name, const std::vector<float>& args) {
    const FunctionRecord* r = Builtin(name);
    std::vector<float> buffer(args);
    buffer.resize(24, 0.0f);
    return r ? r->slots.variadic(buffer.data(), static_cast<int>(args.size())) : NAN;
}

// A 9 x 9 grid of probes over [-1.4, 1.4]^2, off the axes.
template <class F>
void ForProbes(F f) {
    for (int i = 0; i < 9; ++i)
        for (int j = 0; j < 9; ++j) f(-1.4f + 0.35f * i + 0.013f, -1.4f + 0.35f * j + 0.007f);
}

}  // namespace

TEST(Fractals, RegisteredInOrderAsVariadic) {
    uint32_t previous = 0;
    for (const Member& m : Members()) {
        const FunctionRecord* r = Builtin(m.name);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->kind, kKindVariadic) << m.name;
        uint32_t index = LookupFunction(m.name);
        if (&m != &Members().front()) {
            EXPECT_EQ(index, previous + 1) << m.name;
        }
        previous = index;
    }
    EXPECT_EQ(Members().size(), 58u);
}

TEST(Fractals, MissingZeroAndNegativeCountsSelectTheDefault) {
    for (const Member& m : Members()) {
        SCOPED_TRACE(m.name);
        bool countMatters = false;
        ForProbes([&](float u, float v) {
            float fallback = static_cast<float>(m.fallback), zero = 0.0f, negative = -7.0f,
                  fraction = 0.9f, one = 1.0f, beyond = 3.0e9f;
            float want = CallWith(m.name, Arguments(m, u, v, &fallback));
            EXPECT_EQ(CallWith(m.name, Arguments(m, u, v, nullptr)), want);
            EXPECT_EQ(CallWith(m.name, Arguments(m, u, v, &zero)), want);
            EXPECT_EQ(CallWith(m.name, Arguments(m, u, v, &negative)), want);
            EXPECT_EQ(CallWith(m.name, Arguments(m, u, v, &fraction)), want);
            EXPECT_EQ(CallWith(m.name, Arguments(m, u, v, &beyond)), want);  // not an int
            countMatters = countMatters || CallWith(m.name, Arguments(m, u, v, &one)) != want;
        });
        EXPECT_TRUE(countMatters) << "the count is not read where expected";
    }
}

TEST(Fractals, EveryInputEndsWithAFiniteResult) {
    const float specials[] = {NAN, INFINITY, -INFINITY, 3.0e38f, -1.0e30f, 0.0f};
    for (const Member& m : Members()) {
        SCOPED_TRACE(m.name);
        float count = 1000.0f;
        std::vector<float> base = Arguments(m, 0.3f, -0.2f, &count);
        for (size_t i = 0; i + 1 < base.size(); ++i) {
            for (float s : specials) {
                std::vector<float> a = base;
                a[i] = s;
                float r = CallWith(m.name, a);
                EXPECT_TRUE(std::isfinite(r)) << "argument " << i << " = " << s << " gives " << r;
            }
        }
    }
}

TEST(Fractals, HugeCountsRunToTheirEnd) {
    // An escaping orbit stops at once whatever the count; a bounded one runs the whole count.
    float huge = 2147483520.0f;  // the largest float below 2^31
    EXPECT_EQ(Call("fractal_mandelbrot", {1.0f, 1.0f, huge}), 1.0f);
    EXPECT_EQ(Call("fractal_anxiety", {5.0f, 4.0f, 3.0f, 1, 1, 1, huge}),
              Call("fractal_anxiety", {5.0f, 4.0f, 3.0f, 1, 1, 1, 20}));
    EXPECT_EQ(Call("fractal_julia_traps", {2.0f, 2.0f, 0.3f, 0.3f, huge}),
              Call("fractal_julia_traps", {2.0f, 2.0f, 0.3f, 0.3f, 100}));
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Call("fractal_mandelbrot", {-0.1f, 0.1f, 3.0e6f}), 3.0e6f);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(Fractals, MandelbrotCounts) {
    EXPECT_EQ(Call("fractal_mandelbrot", {0, 0}), 128.0f);
    EXPECT_EQ(Call("fractal_mandelbrot", {2, 2}), 0.0f);
    EXPECT_EQ(Call("fractal_mandelbrot", {0, 0, 40}), 40.0f);
    // c = 1: 1, 2, 5: the third step leaves the disc, two stayed inside.
    EXPECT_EQ(Call("fractal_mandelbrot", {1, 0}), 2.0f);
    EXPECT_EQ(Call("fractal_mandelbrot_center", {1, 0, 0, 0}), 2.0f);
    EXPECT_EQ(Call("fractal_mandelbrot_center", {0, 0, 3, 0}), 0.0f);
    // The extended count includes the escaping step and stops at |z|^2 = 4.
    EXPECT_EQ(Call("fractal_mandelbrot_ex", {1, 0, 0, 0}), 2.0f);
    EXPECT_EQ(Call("fractal_mandelbrot_ex", {1, 1, 1, 1}), 1.0f);
    EXPECT_EQ(Call("fractal_mandelbrot_ex", {0, 0, 0, 0}), 256.0f);
    // Julia counts test the start too.
    EXPECT_EQ(Call("fractal_julia_sets", {3, 0, 0, 0}), 0.0f);
    EXPECT_EQ(Call("fractal_julia_sets", {0, 0, 0, 0}), 200.0f);
    EXPECT_EQ(Call("fractal_julia_level", {0.5f, 0, 0, 0, 123, 0}), 128.0f);
    // z^2 + c from 1.5: 2.25 first, out at once.
    EXPECT_EQ(Call("fractal_julia_sets", {1.5f, 0, 0, 0}), 1.0f);
    EXPECT_EQ(Call("fractal_julia_inv_sets", {0, 1.5f, 0, 0}), 1.0f);
}

TEST(Fractals, DistanceEstimates) {
    // Inside the set the estimate is 0.
    for (float x : {0.0f, -1.0f, -0.1f, 0.25f - 0.01f}) {
        EXPECT_EQ(Call("fractal_mandelbrot_distance", {x, 0}), 0.0f) << x;
    }
    // Outside it brackets the true distance d, d <= estimate <= 4 d up to the finite bailout's
    // error. On the real axis beyond the cusp at 0.25 the distance is x - 0.25.
    for (float x : {0.5f, 1.0f, 2.0f, 4.0f}) {
        float e = Call("fractal_mandelbrot_distance", {x, 0});
        EXPECT_GE(e, 0.9f * (x - 0.25f)) << x;
        EXPECT_LE(e, 4.0f * (x - 0.25f)) << x;
    }
    // The filled Julia set of c = 0 is the unit disc: the estimate brackets |z| - 1 too.
    for (float r : {1.5f, 2.0f, 3.0f}) {
        float e = Call("fractal_julia_distance", {r * 0.6f, r * 0.8f, 0, 0});
        EXPECT_GE(e, r - 1.0f) << r;
        EXPECT_LE(e, 4.0f * (r - 1.0f)) << r;
    }
}

TEST(Fractals, SierpinskiCarpetIsZeroOrOne) {
    EXPECT_EQ(Call("fractal_sierpinski_carpet", {0, 0}), 1.0f);
    // (2/3, 0) lies in a hole of the second level.
    EXPECT_EQ(Call("fractal_sierpinski_carpet", {0.6667f, 0, 1}), 0.0f);
    EXPECT_EQ(Call("fractal_sierpinski_carpet", {0.6667f, 0, 2}), 1.0f);
    int holes = 0;
    for (int i = 0; i < 200; ++i)
        for (int j = 0; j < 200; ++j) {
            float r = Call("fractal_sierpinski_carpet", {-1 + i / 100.0f, -1 + j / 100.0f});
            ASSERT_TRUE(r == 0.0f || r == 1.0f);
            holes += r == 1.0f;
        }
    // Five levels remove 1 - (8/9)^5 of the square.
    EXPECT_NEAR(holes / 40000.0, 1.0 - std::pow(8.0 / 9.0, 5), 0.02);
}

TEST(Fractals, NewtonFindsTheRoots) {
    // fractal_newton ends on the imaginary part of the root reached.
    EXPECT_NEAR(Call("fractal_newton", {1.2f, 0.1f}), 0.0f, 1e-5f);
    EXPECT_NEAR(Call("fractal_newton", {-0.6f, 0.9f}), 0.8660254f, 1e-5f);
    EXPECT_NEAR(Call("fractal_newton", {-0.6f, -0.9f}), -0.8660254f, 1e-5f);
    // Starting on a root settles in one step; far away takes longer.
    EXPECT_EQ(Call("fractal_cmpx_newton", {1, 0}), 1.0f);
    EXPECT_EQ(Call("fractal_cmpx_newton_pow6", {0.5f, 0.8660254f}), 1.0f);
    EXPECT_EQ(Call("fractal_cmpx_newton_pow8", {0.70710678f, 0.70710678f}), 1.0f);
    EXPECT_GT(Call("fractal_cmpx_newton", {40, 30}), 5.0f);
    // The zero derivative at the origin does not stop the orbit.
    float atOrigin = Call("fractal_cmpx_newton", {0, 0});
    EXPECT_GT(atOrigin, 1.0f);
    EXPECT_LE(atOrigin, 32.0f);
    // sin z = 2 has the roots pi/2 + 2 pi k +- i acosh 2.
    EXPECT_EQ(Call("fractal_cmpx_newton_sin", {1.5707963f, 1.3169579f}), 1.0f);
    // e^z = 1 at z = 2 pi i.
    EXPECT_EQ(Call("fractal_cmpx_newton_exp", {0, 6.2831853f, 0, 0}), 1.0f);
    // A relaxation of 1 is plain Newton.
    EXPECT_EQ(Call("fractal_cmpx_newton_ex", {0.3f, 0.7f, 1, 0}),
              Call("fractal_cmpx_newton", {0.3f, 0.7f}));
}

TEST(Fractals, OrbitMeasuresOfOneStep) {
    // One step of each map written out.
    float x = 0.7f, y = -0.4f, z = 0.3f, a = 0.5f, b = 0.4f, c = 0.6f;
    float m = x * x + y * y + z * z;
    EXPECT_FLOAT_EQ(Call("fractal_kali_set", {x, y, z, a, b, c, 1}), m);
    float u = std::fabs(x) / m - a, v = std::fabs(y) / m - b, w = std::fabs(z) / m - c;
    EXPECT_FLOAT_EQ(Call("fractal_kali_iteration", {x, y, z, a, b, c, 1}),
                    std::sqrt(u * u + v * v + w * w));
    EXPECT_FLOAT_EQ(Call("fractal_pattern_a", {x, y, z, a, 1}),
                    std::pow(std::fabs(x) / m - a, 2) + std::pow(std::fabs(y) / m - a, 2) +
                        std::pow(std::fabs(z) / m - a, 2));
    // The orbit trap never exceeds the last value of the same orbit.
    for (int n = 1; n < 12; ++n) {
        float nf = static_cast<float>(n);
        EXPECT_LE(Call("fractal_pattern_b", {x, y, z, a, nf}),
                  Call("fractal_pattern_a", {x, y, z, a, nf}));
    }
    float d = 2 * x * y + a, e = x * x - y * y + b;
    EXPECT_FLOAT_EQ(Call("fractal_julia_traps", {x, y, a, b, 1}), std::sqrt(d * d + e * e));
    e = y * y - x * x + b;
    EXPECT_FLOAT_EQ(Call("fractal_julia_inv_traps", {x, y, a, b, 1}), std::sqrt(d * d + e * e));
    // Lyapunov: one step with r = x gives ln |(x + 1)(1 - 2c)|, c = (x + 1) / 2.
    EXPECT_FLOAT_EQ(Call("fractal_lyapunov", {1.0f, 5.0f, 1}), std::log(2.0f));
    // Bedouin, one step.
    float bx = x * x - y * y - z * z + std::sin(x), by = 2 * x * z + std::sin(y),
          bz = 2 * x * y + std::sin(z);
    EXPECT_FLOAT_EQ(Call("fractal_bedouin", {x, y, z, 1}), std::sqrt(bx * bx + by * by + bz * bz));
    // Hierarchy: the origin maps to (1, 1) and leaves the disc after one step, but not the square.
    EXPECT_EQ(Call("fractal_hierarchy_sphere", {0, 0, 2, 50}), 1.0f);
    EXPECT_EQ(Call("fractal_hierarchy_square", {0, 0, 2, 50}), 50.0f);
    EXPECT_EQ(Call("fractal_hierarchy_sphere", {2, 0, 2, 50}), 0.0f);
    // The exponential map's count is 0 for an orbit that never leaves.
    EXPECT_EQ(Call("fractal_exponential", {0, 0, 0, 0}), 0.0f);
    // sin z leaves |z|^2 > 1 at once from 3i: the count before the escaping step is 0.
    EXPECT_EQ(Call("fractal_sin_julia", {0, 3, 1}), 0.0f);
    // The duck starts its maximum with |z0|^2.
    EXPECT_GE(Call("fractal_cmpx_duck", {3, 4, 0, 0}), 25.0f);
}

TEST(Fractals, ChosenMembersBehaveAsTheirFractals) {
    // Madrugada is the 2-D Mandelbox: the origin never escapes, a far point at once.
    EXPECT_EQ(Call("fractal_madrugada", {0, 0, -1.5f}), 100.0f);
    EXPECT_EQ(Call("fractal_madrugada", {900, 900, 2.0f}), 1.0f);
    // The triplex square agrees with the quadratic map in the plane z = 0 (both are z^2 + c).
    ForProbes([](float u, float v) {
        EXPECT_EQ(Call("fractal_mandelbrot3d_b", {u, v, 0, 4, 64}),
                  Call("fractal_mandelbrot3d_a", {u, v, 0, 4, 64}));
    });
    // The tricorn crown with c = 0 is the unit disc, like the plain Julia set.
    EXPECT_EQ(Call("fractal_cmpx_crown", {0.6f, 0.6f, 0, 0, 4, 40}), 40.0f);
    EXPECT_LT(Call("fractal_cmpx_crown", {0.8f, 0.7f, 0, 0, 4, 40}), 40.0f);
    // Binocular with equal constants is the Julia count of the escaping step.
    ForProbes([](float u, float v) {
        float j = Call("fractal_julia_sets", {u, v, -0.8f, 0.156f, 100});
        float bino =
            Call("fractal_cmpx_binocular", {u, v, -0.8f, 0.156f, -0.8f, 0.156f, 2, 4, 100});
        if (u * u + v * v < 4) {
            EXPECT_EQ(bino, j);
        }
    });
    // Anxiety: the corner (1, 1, 1) is a fixed point of the fold, so the trap is its length;
    // points far outside the tetrahedron keep their first, large value.
    EXPECT_FLOAT_EQ(Call("fractal_anxiety", {1, 1, 1, 1, 1, 1}), std::sqrt(3.0f));
    EXPECT_GT(Call("fractal_anxiety", {4, 4, 4, 1, 1, 1}), 5.0f);
}
