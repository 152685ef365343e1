// Fractal sums, warps and iterated patterns.
//
//   index
//   1. octave sums     prefixed fbm and turbulence (xor_/fdf_/sin_ x value/gradient/simplex),
//                      lacunarity-table fbm (iq_, value_, value_abs_, gradient_, simplex_),
//                      coherent fbm, c_fbm2f, pseudo fbm, derivative-damped fbm
//                      (iquilezles_fbm2/3), reference Perlin fbm (perlin_fbm_1d/2d/3d)
//   2. warps           xor_noise_warp2d/3d, xor_fbm_warp2d/3d
//   3. patterns        kali, sine, spiral, quasicrystals, sea_wave2d, gabor_noise2
//   4. tables          the 72 fractal sums in registration order (all kind 9); the two kind-8
//                      quasicrystals of the core group
//
// Every kind-9 member reads its coordinates first, then its parameters; a missing argument
// reads as 0, and a count below 1 selects the member's default (FractalSums.h).
//
// Bounds: the quasicrystal loops of tw_ and sin_quasicrytals2d stop at a
// non-positive step (result 0), after kMaxIterations steps, or when the angle no longer
// advances; kali patterns and kaliset3 keep their divisors at least 2^-23.
#include "functions/FractalSums.h"

#include <algorithm>
#include <cmath>

#include "functions/Families.h"
#include "functions/LatticeNoise.h"
#include "functions/RandomTexture.h"

namespace luneth {

namespace {

using namespace fractal;
using namespace noise;

// ---- 1. octave sums --------------------------------------------------------------------------

float CoherentFbm1(float x, int octaves) {
    float a = 0.5f, asum = 0.0f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        total += CoherentNoise1(x) * a;
        asum += a;
        a *= 0.5f;
        x *= 1.99f;
    }
    return total / asum;
}

float CFbm2f(float x, float y, int octaves) {
    constexpr float kOffset[4] = {0.5f, 2.1f, 4.1f, 0.8f};
    float a = 0.5f, asum = 0.0f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        float o = kOffset[i & 3];
        total += CNoise2f(x + o, y + o) * a;
        asum += a;
        a *= 0.5f;
        x *= 2.0f;
        y *= 2.0f;
    }
    return (total / asum + 1.0f) * 0.5f;
}

template <class Term>
float PseudoFbm3(float x, float y, float z, int octaves) {
    float w = 1.0f, wsum = 0.0f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        float v = PseudoNoise3(x, y, z / w);
        x = 2.0f * x + 4.3f;
        y = 2.0f * y + 4.3f;
        total += Term::Of(v) * w;
        wsum += w;
        w *= 0.6f;
    }
    return total / wsum;
}

// Reference Perlin fbm, in double precision like its base: octave i adds noise / alpha^i at
// beta^i p. alpha and beta below 0.1 (or NaN) become 2.
double PerlinRate(float v) { return v >= 0.1f ? static_cast<double>(v) : 2.0; }

float PerlinFbm1d(const float* a, int n) {
    double alpha = PerlinRate(Arg(a, n, 1)), beta = PerlinRate(Arg(a, n, 2));
    int octaves = OctaveCount(a, n, 3, 5);
    double x = Arg(a, n, 0), sum = 0.0, scale = 1.0;
    for (int i = 0; i < octaves; ++i) {
        sum += PerlinNoise1D(x) / scale;
        scale *= alpha;
        x *= beta;
    }
    return static_cast<float>(sum);
}

float PerlinFbm2d(const float* a, int n) {
    double alpha = PerlinRate(Arg(a, n, 2)), beta = PerlinRate(Arg(a, n, 3));
    int octaves = OctaveCount(a, n, 4, 5);
    double x = Arg(a, n, 0), y = Arg(a, n, 1), sum = 0.0, scale = 1.0;
    for (int i = 0; i < octaves; ++i) {
        sum += PerlinNoise2D(x, y) / scale;
        scale *= alpha;
        x *= beta;
        y *= beta;
    }
    return static_cast<float>(sum);
}

float PerlinFbm3d(const float* a, int n) {
    double alpha = PerlinRate(Arg(a, n, 3)), beta = PerlinRate(Arg(a, n, 4));
    int octaves = OctaveCount(a, n, 5, 5);
    double x = Arg(a, n, 0), y = Arg(a, n, 1), z = Arg(a, n, 2), sum = 0.0, scale = 1.0;
    for (int i = 0; i < octaves; ++i) {
        sum += PerlinNoise3D(x, y, z) / scale;
        scale *= alpha;
        x *= beta;
        y *= beta;
        z *= beta;
    }
    return static_cast<float>(sum);
}

// ---- 2. warps (NoiseWarp2/3 and FbmWarp2/3 of FractalSums.h) over these sums -----------------

constexpr auto XorValueFbm2 = Fbm2<ValueNoise2<XorHash>, RotateR2>;
constexpr auto XorValueFbm3 = Fbm3<ValueNoise3<XorHash>, RotateR3>;

// ---- 3. patterns -----------------------------------------------------------------------------

// Kali's fold q <- |q| / |q|^2 - c, averaged |q|^2 over the iterations.
template <int kDims>
float KaliPattern(const float* a, int n) {
    float x = Arg(a, n, 0), y = Arg(a, n, 1), z = kDims == 3 ? Arg(a, n, 2) : 0.0f;
    int iterations = IterationCount(a, n, kDims, 26);
    float c = (x - 0.2f * y) * 0.1f + 0.32f;
    float q[3] = {c, 0.1f * y + 0.61f, 0.1f * z + 0.48f};
    float acc = 0.0f;
    for (int i = 0; i < iterations; ++i) {
        float m = 0.0f;
        for (int k = 0; k < kDims; ++k) m += q[k] * q[k];
        acc += m;
        m = std::max(m, kEpsilon);
        for (int k = 0; k < kDims; ++k) q[k] = std::fabs(q[k]) / m - c;
    }
    return acc / static_cast<float>(iterations) * 0.9f * (0.25f * x + 0.75f) - 1.5f;
}

float Kaliset3(float x, float y, float z) {
    float acc = 0.0f, prev = 0.0f;
    for (int i = 0; i < 12; ++i) {
        float m = std::max(x * x + y * y + z * z, kEpsilon);
        x = std::fabs(x) / m * 2.0f - 1.0f;
        y = std::fabs(y) / m * 2.0f - 1.0f;
        z = std::fabs(z) / m * 2.0f - 1.0f;
        if (i & 1) {
            float len = std::sqrt(x * x + y * y + z * z);
            float gap = std::fabs(prev - len);
            if (gap > kEpsilon) acc += std::exp(-1.0f / gap);
            prev = len;
        }
    }
    return acc;
}
float Kaliset3Args(const float* a, int n) {
    return Kaliset3(Arg(a, n, 0), Arg(a, n, 1), Arg(a, n, 2));
}

struct Rotate179 {
    static void Apply(float& x, float& y, int) {
        float nx = 1.79f * (0.8f * x - 0.6f * y);
        y = 1.79f * (0.6f * x + 0.8f * y);
        x = nx;
    }
    static void Apply(float& x, float& y, float& z, int) {
        float nx = 1.79f * (0.8f * y + 0.6f * z);
        float ny = 1.79f * (-0.8f * x + 0.36f * y - 0.48f * z);
        float nz = 1.79f * (-0.6f * x - 0.48f * y + 0.64f * z);
        x = nx, y = ny, z = nz;
    }
};
float SinOfSum2(float x, float y) { return std::sin(x + y); }
float SinOfSum3(float x, float y, float z) { return std::sin(x + y + z); }

constexpr float kNudge = 0.739513f;
const float kSpiralNorm = 1.0f / std::sqrt(1.5468795f);  // 1 / sqrt(1 + nudge^2)

float SpiralNoise3(float x, float y, float z, int octaves) {
    const float k = kSpiralNorm;
    float n = 0.0f, f = 1.0f;
    for (int i = 0; i < octaves; ++i) {
        n -= std::fabs(std::cos(f * x) + std::sin(f * y)) / f;
        float x1 = (x + kNudge * y) * k;
        y = (y - kNudge * x) * k;
        x = (x1 + kNudge * z) * k;
        z = (z - kNudge * x1) * k;
        f *= 1.733733f;
    }
    return n;
}

float SpiralKNoise3(float x, float y, float z, int octaves) {
    const float k = kSpiralNorm;
    float n = 0.0f, f = 1.0f;
    for (int i = 0; i < octaves; ++i) {
        n += (std::sin(f * y) + std::cos(f * x)) / f;
        f *= 1.33733f;
        float x1 = (x + kNudge * z) * k;
        z = (z - kNudge * x) * k;
        x = x1;
    }
    return n;
}

// Plane waves at angles 0, step, 2 step, ... below limit, each 0.5 cos(...) + 0.5.
float QuasicrystalSum(float limit, float step, float x, float y) {
    float sum = 0.0f, theta = 0.0f;
    for (int i = 0; i < kMaxIterations && theta < limit; ++i) {
        sum += 0.5f * std::cos(x * std::cos(theta) + y * std::sin(theta)) + 0.5f;
        float next = theta + step;
        if (!(next > theta)) break;  // a step below the angle's resolution
        theta = next;
    }
    return sum;
}

float TwQuasicrystals2d(float limit, float step, float x, float y) {
    if (!(step > 0.0f)) return 0.0f;
    float sum = QuasicrystalSum(limit, step, x, y);
    float e = std::floor(sum);
    float t = sum - e;
    float half = e * 0.5f;
    return half - std::floor(half) < 0.001f ? t : 1.0f - t;
}

float SinQuasicrystals2d(float limit, float step, float x, float y) {
    if (!(step > 0.0f)) return 0.0f;
    return 0.5f * std::sin(QuasicrystalSum(limit, step, x, y)) + 0.5f;
}

float MhQuasicrystals2d(const float* a, int n) {
    float x = Arg(a, n, 0), y = Arg(a, n, 1), t = Arg(a, n, 2);
    int waves = IterationCount(a, n, 3, 20);
    float sum = 0.0f;
    for (int i = 0; i < waves; ++i) {
        float theta = 3.1415925f * static_cast<float>(i) / static_cast<float>(waves);
        sum += std::sin(std::cos(theta) * x + std::sin(theta) * y + t);
    }
    return 3.0f * sum / static_cast<float>(waves);
}

// Circular waves from centres on a golden-angle spiral, sharpened by the fifth power.
float SeaWave2d(const float* a, int n) {
    float t = Arg(a, n, 2);
    float px = Arg(a, n, 0) + t * 0.5f, py = Arg(a, n, 1) + t * 0.5f;
    int waves = IterationCount(a, n, 3, 8);
    float g = 0.0f, w = 1.0f, sum = 0.0f, wsum = 0.0f;
    for (int i = 0; i < waves; ++i) {
        float u = px - 10.0f * std::sin(g), v = py - 10.0f * std::cos(g);
        float s = std::sin(std::sqrt(u * u + v * v) * (3.0f * g + 2.0f) - (0.08f * g + 2.0f) * t);
        float c = 0.5f * s + 0.5f;
        float c2 = c * c;
        sum += c2 * c2 * c * w;
        wsum += w;
        g += 2.39996f;
        w += (0.0115f - w) * 0.4f;
    }
    return sum / wsum;
}

// Sparse Gabor convolution: Gaussian-windowed sine kernels at positions and frequencies read
// from the four planes of the shared random texture.
float GaborNoise2(const float* a, int n) {
    float x = Arg(a, n, 0), y = Arg(a, n, 1), freq = Arg(a, n, 2), spread = Arg(a, n, 3);
    int kernels = IterationCount(a, n, 4, 100);
    float width = Arg(a, n, 5);
    if (!(width >= kEpsilon)) width = 0.22f;
    const texture::RandomTexture& tex = texture::GetRandomTexture();
    const float *r0 = tex.Plane(0), *r1 = tex.Plane(1), *r2 = tex.Plane(2), *r3 = tex.Plane(3);
    const float g = spread + 1.0f, w2 = width * width;
    float sum = 0.0f;
    for (int i = 0; i < kernels; ++i) {
        int k = i & (texture::kPlaneSize - 1);
        float ox = x - 1.5f * r0[k], oy = y - r1[k];
        float fx = (r2[k] * g - spread) * freq, fy = (r3[k] * g - spread) * freq;
        sum += std::exp(-ox * ox / w2) * std::exp(-oy * oy / w2) * 0.5f *
               std::sin(6.2831855f * (fy * oy + fx * ox));
    }
    return sum;
}

// ---- 4. tables -------------------------------------------------------------------------------

constexpr BuiltinFunction kFractalSums[] = {
    {"perlin_fbm_1d", PerlinFbm1d},
    {"perlin_fbm_2d", PerlinFbm2d},
    {"perlin_fbm_3d", PerlinFbm3d},
    {"spiral_noise3", Count3<SpiralNoise3, 8>},
    {"spiral_k_noise3", Count3<SpiralKNoise3, 8>},
    {"coherent_fbm1", Count1<CoherentFbm1, 4>},
    {"xor_value_fbm2", kPrefixedFbm2<ValueNoise2<XorHash>>},
    {"xor_gradient_fbm2", kPrefixedFbm2<GradientNoise2<XorHash>>},
    {"xor_simplex_fbm2", kPrefixedFbm2<SimplexNoise2<XorHash>>},
    {"fdf_value_fbm2", kPrefixedFbm2<ValueNoise2<FdfHash>>},
    {"fdf_gradient_fbm2", kPrefixedFbm2<GradientNoise2<FdfHash>>},
    {"fdf_simplex_fbm2", kPrefixedFbm2<SimplexNoise2<FdfHash>>},
    {"sin_value_fbm2", kPrefixedFbm2<ValueNoise2<SinHash>>},
    {"sin_gradient_fbm2", kPrefixedFbm2<GradientNoise2<SinHash>>},
    {"sin_simplex_fbm2", kPrefixedFbm2<SimplexNoise2<SinHash>>},
    {"xor_value_turbulence2", kTurbulence2<ValueNoise2<XorHash>>},
    {"xor_gradient_turbulence2", kTurbulence2<GradientNoise2<XorHash>>},
    {"xor_simplex_turbulence2", kTurbulence2<SimplexNoise2<XorHash>>},
    {"fdf_value_turbulence2", kTurbulence2<ValueNoise2<FdfHash>>},
    {"fdf_gradient_turbulence2", kTurbulence2<GradientNoise2<FdfHash>>},
    {"fdf_simplex_turbulence2", kTurbulence2<SimplexNoise2<FdfHash>>},
    {"sin_value_turbulence2", kTurbulence2<ValueNoise2<SinHash>>},
    {"sin_gradient_turbulence2", kTurbulence2<GradientNoise2<SinHash>>},
    {"sin_simplex_turbulence2", kTurbulence2<SimplexNoise2<SinHash>>},
    {"iquilezles_fbm2", Count2<DampedFbm2<IQuilezlesNoise2>, 6>},
    {"c_fbm2f", Count2<CFbm2f, 4>},
    {"iq_fbm2", Count2<Fbm2<IqNoise2, RotateL2>, 4>},
    {"value_fbm2", Count2<Fbm2<ValueNoise2Sin, RotateL2>, 4>},
    {"value_abs_fbm2", Count2<Fbm2<ValueNoise2Sin, RotateL2, Magnitude>, 4>},
    {"gradient_fbm2", Count2<Fbm2<GradientNoise2Sin, RotateL2>, 4>},
    {"simplex_fbm2", Count2<Fbm2<SimplexNoise2Sin, ScaleL>, 5>},
    {"coherent_fbm2", Count2<Fbm2<CoherentNoise2, ScaleBy<199>>, 4>},
    {"kali_pattern2d", KaliPattern<2>},
    {"sine_pattern2d", Count2<Fbm2<SinOfSum2, Rotate179>, 10>},
    {"xor_value_fbm3", kPrefixedFbm3<ValueNoise3<XorHash>>},
    {"xor_gradient_fbm3", kPrefixedFbm3<GradientNoise3<XorHash>>},
    {"xor_simplex_fbm3", kPrefixedFbm3<SimplexNoise3<XorHash>>},
    {"fdf_value_fbm3", kPrefixedFbm3<ValueNoise3<FdfHash>>},
    {"fdf_gradient_fbm3", kPrefixedFbm3<GradientNoise3<FdfHash>>},
    {"fdf_simplex_fbm3", kPrefixedFbm3<SimplexNoise3<FdfHash>>},
    {"sin_value_fbm3", kPrefixedFbm3<ValueNoise3<SinHash>>},
    {"sin_gradient_fbm3", kPrefixedFbm3<GradientNoise3<SinHash>>},
    {"sin_simplex_fbm3", kPrefixedFbm3<SimplexNoise3<SinHash>>},
    {"xor_value_turbulence3", kTurbulence3<ValueNoise3<XorHash>>},
    {"xor_gradient_turbulence3", kTurbulence3<GradientNoise3<XorHash>>},
    {"xor_simplex_turbulence3", kTurbulence3<SimplexNoise3<XorHash>>},
    {"fdf_value_turbulence3", kTurbulence3<ValueNoise3<FdfHash>>},
    {"fdf_gradient_turbulence3", kTurbulence3<GradientNoise3<FdfHash>>},
    {"fdf_simplex_turbulence3", kTurbulence3<SimplexNoise3<FdfHash>>},
    {"sin_value_turbulence3", kTurbulence3<ValueNoise3<SinHash>>},
    {"sin_gradient_turbulence3", kTurbulence3<GradientNoise3<SinHash>>},
    {"sin_simplex_turbulence3", kTurbulence3<SimplexNoise3<SinHash>>},
    {"iquilezles_fbm3", Count3<DampedFbm3<IQuilezlesNoise3>, 6>},
    {"iq_fbm3", Count3<Fbm3<IqNoise3, RotateL3>, 4>},
    {"value_fbm3", Count3<Fbm3<ValueNoise3Sin, RotateL3>, 4>},
    {"value_abs_fbm3", Count3<Fbm3<ValueNoise3Sin, RotateL3, Magnitude>, 4>},
    {"gradient_fbm3", Count3<Fbm3<GradientNoise3Sin, RotateL3>, 4>},
    {"simplex_fbm3", Count3<Fbm3<SimplexNoise3Sin, ScaleL>, 5>},
    {"pseudo_fbm3", Count3<PseudoFbm3<Plain>, 4>},
    {"pseudo_abs_fbm3", Count3<PseudoFbm3<Magnitude>, 4>},
    {"coherent_fbm3", Count3<Fbm3<CoherentNoise3, ScaleBy<199>>, 4>},
    {"coherent_gradient_fbm3", Count3<Fbm3<CoherentGradientNoise3, ScaleBy<199>>, 4>},
    {"xor_noise_warp2d", NoiseWarp2<ValueNoise2<XorHash>>},
    {"xor_noise_warp3d", NoiseWarp3<ValueNoise3<XorHash>>},
    {"xor_fbm_warp2d", FbmWarp2<XorValueFbm2>},
    {"xor_fbm_warp3d", FbmWarp3<XorValueFbm3>},
    {"kaliset3", Kaliset3Args},
    {"kali_pattern3d", KaliPattern<3>},
    {"mh_quasicrytals2d", MhQuasicrystals2d},
    {"sine_pattern3d", Count3<Fbm3<SinOfSum3, Rotate179>, 10>},
    {"sea_wave2d", SeaWave2d},
    {"gabor_noise2", GaborNoise2},
};
static_assert(std::size(kFractalSums) == 72);

constexpr BuiltinFunction kQuasicrystals[] = {
    {"tw_quasicrytals2d", TwQuasicrystals2d},
    {"sin_quasicrytals2d", SinQuasicrystals2d},
};

}  // namespace

FunctionTable FractalSumFunctions() { return kFractalSums; }
FunctionTable QuasicrystalFunctions() { return kQuasicrystals; }

}  // namespace luneth
