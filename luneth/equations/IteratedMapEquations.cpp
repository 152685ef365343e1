// Iterated-map equations: pictures of what a map does when it is applied again and again.
//
// Index of this file:
//   Bulbs               "Mandelbulb 1" (elevation angles, as the library's fractal_mandelbulb)
//                       and "Mandelbulb 2" (polar angles): v <- v^8 + c, ray-marched by the
//                       distance estimate, lit, shadowed and coloured by an orbit trap
//   "Lyapunov Fractal 2"  the logistic map with rates switched by the sequence BBBBBBAAAAAA,
//                         coloured by its Lyapunov exponent ("Zircon City")
#include <algorithm>
#include <array>
#include <cmath>

#include "common/FloatConstants.h"
#include "equations/EquationFamilies.h"
#include "equations/ShadingHelpers.h"
#include "equations/TriplexPower.h"

namespace luneth {

namespace {

// =============================================================================================
// Bulbs
// =============================================================================================

struct BulbView {
    Vec3 eye, target;
    float fieldOfView;            // radians across the shorter side
    std::array<Rgbf, 4> palette;  // by orbit trap, near the centre to far
    Rgbf background, backgroundLow;
    Vec3 light;  // towards the key light
};

constexpr BulbView kBulb1View = {
    {2.8f, 1.6f, 2.15f},
    {0.0f, 0.0f, -0.05f},
    0.75f,
    {{{0.35f, 0.08f, 0.04f}, {0.85f, 0.38f, 0.10f}, {0.98f, 0.78f, 0.42f}, {1.0f, 0.97f, 0.88f}}},
    {0.10f, 0.08f, 0.16f},
    {0.01f, 0.01f, 0.03f},
    {0.6f, 0.4f, 0.9f}};
constexpr BulbView kBulb2View = {
    {0.9f, -1.4f, 3.3f},
    {0.0f, 0.0f, 0.0f},
    0.75f,
    {{{0.04f, 0.10f, 0.30f}, {0.10f, 0.45f, 0.65f}, {0.55f, 0.85f, 0.80f}, {0.95f, 0.98f, 1.0f}}},
    {0.06f, 0.10f, 0.14f},
    {0.0f, 0.01f, 0.02f},
    {0.5f, -0.7f, 0.6f}};

// v <- v^8 + c from v = c, seen from outside: sphere tracing by the distance estimate
// 0.5 ln r r / dr, with dr <- 8 r^7 dr + 1. The orbit trap is the smallest |v|^2 on the way.
template <bool kPolar, const BulbView& kView>
class CBulbEquation final : public CPixelEquation {
public:
    explicit CBulbEquation(const EquationInfo& info) : CPixelEquation(info) {
        forward_ = Normalize(kView.target - kView.eye);
        right_ = Normalize(Cross(forward_, Vec3{0, 0, 1}));
        up_ = Cross(right_, forward_);
        const float side = static_cast<float>(std::max(1u, std::min(width, height)));
        pixel_ = 2.0f * std::tan(0.5f * kView.fieldOfView) / side;
    }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float u =
            (static_cast<float>(Signed(x)) + 0.5f - 0.5f * static_cast<float>(width)) * pixel_;
        const float v =
            (0.5f * static_cast<float>(height) - static_cast<float>(Signed(y)) - 0.5f) * pixel_;
        const Vec3 d = Normalize(forward_ + right_ * u + up_ * v);
        const float vignette =
            1.0f - 0.35f * (u * u + v * v) / (kView.fieldOfView * kView.fieldOfView);
        const Rgbf background =
            Mix(kView.backgroundLow, kView.background, Saturate(0.5f + v * 1.5f)) * vignette;

        float t;
        int steps;
        if (!March(kView.eye, d, t, steps)) return Pack(background);
        const Vec3 p = kView.eye + d * t;
        const float e = std::max(t * pixel_ * 0.5f, 1e-5f);
        // Normal from four samples at the corners of a tetrahedron.
        const Vec3 k1{1, -1, -1}, k2{-1, -1, 1}, k3{-1, 1, -1}, k4{1, 1, 1};
        const Vec3 n = Normalize(k1 * Distance(p + k1 * e) + k2 * Distance(p + k2 * e) +
                                 k3 * Distance(p + k3 * e) + k4 * Distance(p + k4 * e));
        float trap;
        Distance(p, &trap);
        Rgbf albedo = Ramp(kView.palette, Saturate((std::sqrt(trap) - 0.35f) * 1.4f));
        // Cavities take more steps to reach: a cheap ambient occlusion.
        const float occlusion = Saturate(1.0f - static_cast<float>(steps) / 130.0f);
        const Vec3 light = Normalize(kView.light);
        const float key = Saturate(Dot(n, light)) * Shadow(p + n * (4.0f * e), light);
        const float fill = 0.5f + 0.5f * Dot(n, Normalize(Vec3{-0.5f, -0.3f, -0.4f}));
        const Vec3 half = Normalize(light - d);
        const float specular = key > 0.0f ? std::pow(Saturate(Dot(n, half)), 40.0f) * key : 0.0f;
        Rgbf c = albedo * (0.9f * key + 0.18f * fill + 0.12f) * (0.35f + 0.65f * occlusion) +
                 Rgbf{1, 1, 1} * (0.35f * specular);
        return Pack(Mix(background, c, std::exp(-0.02f * t * t)));
    }

private:
    static constexpr int kIterations = 7;
    static constexpr int kMaxSteps = 160;
    static constexpr float kBound = 1.25f;  // the bulb lies inside this sphere

    // The distance estimate at p; the orbit trap too when asked.
    static float Distance(const Vec3& p, float* trap = nullptr) {
        Vec3 v = p;
        float dr = 1.0f, r = Length(v), lowest = Dot(v, v);
        for (int i = 0; i < kIterations && r <= 2.0f; ++i) {
            const float r2 = r * r, r4 = r2 * r2;
            dr = 8.0f * r4 * r2 * r * dr + 1.0f;
            v = TriplexEighth<kPolar>(v) + p;
            r = Length(v);
            lowest = std::min(lowest, Dot(v, v));
        }
        if (trap) *trap = lowest;
        return 0.5f * std::log(std::max(r, 1.0f + 1e-6f)) * r / dr;
    }

    // Sphere tracing from o along d, starting where the ray enters the bounding sphere. The hit
    // tolerance grows with distance: half a pixel's footprint.
    bool March(const Vec3& o, const Vec3& d, float& t, int& steps) const {
        const float b = Dot(o, d), c = Dot(o, o) - kBound * kBound;
        const float disc = b * b - c;
        if (disc < 0.0f) return false;
        const float root = std::sqrt(disc);
        t = std::max(0.0f, -b - root);
        const float far = -b + root;
        for (steps = 0; steps < kMaxSteps && t < far; ++steps) {
            const float h = Distance(o + d * t);
            if (h < 0.5f * t * pixel_) return true;
            t += h;
        }
        return false;
    }

    // Light reaching p from direction l: 0 in the bulb's shadow, softened at the edges.
    static float Shadow(const Vec3& p, const Vec3& l) {
        float lit = 1.0f, t = 0.0f;
        for (int i = 0; i < 28 && t < 2.5f; ++i) {
            const float h = Distance(p + l * t);
            if (h < 1e-4f) return 0.0f;
            lit = std::min(lit, 10.0f * h / std::max(t, 1e-3f));
            t += std::max(h, 0.01f);
        }
        return Saturate(lit);
    }

    Vec3 forward_{0, 0, -1}, right_{1, 0, 0}, up_{0, 1, 0};
    float pixel_ = 0.001f;
};

using CPixelMandelbulb1 = CBulbEquation<false, kBulb1View>;
using CPixelMandelbulb2 = CBulbEquation<true, kBulb2View>;

// =============================================================================================
// Lyapunov Fractal 2
// =============================================================================================

// The logistic map p <- r p (1 - p) with the rate switched by the sequence BBBBBBAAAAAA:
// A grows from 3.4 to 4 across the picture, B from 3.4 down to 2.5. The Lyapunov exponent,
// the mean of ln |r (1 - 2p)| over the orbit after a warm-up, tells order (negative: gold,
// brighter the more stable) from chaos (positive: deep blue to black). The logarithms are
// taken of products of six factors at a time.
uint32_t LyapunovFractal2Pixel(uint32_t x, uint32_t y) {
    constexpr int kWarmUp = 36, kSum = 120;  // both whole numbers of sequences
    const float a = 3.4f + 0.6f * (static_cast<float>(Signed(x)) + 0.5f) / 1024.0f;
    const float b = 3.4f - 0.9f * (static_cast<float>(Signed(y)) + 0.5f) / 1024.0f;
    float p = 0.5f, lambda = 0.0f;
    // One pass of the sequence: six steps at rate B, six at rate A.
    const auto pass = [&](bool sum) {
        for (int half = 0; half < 2; ++half) {
            const float r = half == 0 ? b : a;
            float product = 1.0f;
            for (int i = 0; i < 6; ++i) {
                p = r * p * (1.0f - p);
                product *= std::max(std::fabs(r * (1.0f - 2.0f * p)), 1e-4f);
            }
            if (sum) lambda += std::log(product);
        }
    };
    for (int i = 0; i < kWarmUp / 12; ++i) pass(false);
    for (int i = 0; i < kSum / 12; ++i) pass(true);
    lambda /= static_cast<float>(kSum);
    if (!std::isfinite(lambda)) lambda = 0.0f;
    if (lambda < 0.0f) {
        constexpr std::array<Rgbf, 4> kOrder = {{{0.35f, 0.18f, 0.02f},
                                                 {0.85f, 0.55f, 0.08f},
                                                 {1.0f, 0.85f, 0.35f},
                                                 {1.0f, 0.98f, 0.85f}}};
        return Pack(Ramp(kOrder, Saturate(std::sqrt(-lambda / 1.6f))));
    }
    return Pack(Mix(Rgbf{0.08f, 0.16f, 0.45f}, Rgbf{0.0f, 0.0f, 0.02f}, Saturate(lambda * 2.5f)));
}

using CPixelLyapunovFractal2 = CFormulaEquation<LyapunovFractal2Pixel>;

constexpr EquationClass kIteratedMapEquations[] = {
    {"CPixelMandelbulb1", CreatePixelEquation<CPixelMandelbulb1>},
    {"CPixelMandelbulb2", CreatePixelEquation<CPixelMandelbulb2>},
    {"CPixelLyapunovFractal2", CreatePixelEquation<CPixelLyapunovFractal2>},
};

}  // namespace

EquationClassTable IteratedMapEquations() { return kIteratedMapEquations; }

}  // namespace luneth
