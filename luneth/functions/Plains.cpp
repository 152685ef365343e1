// Plains: terrain height patterns in [0, 1] built from folded waves, craters and the random
// texture.
//
//   jagged_plain2d/3d           triangle-wave folds tri(s p + tri(s/2 p')) at two scales over
//                               two frames; g = 0.444-weighted sum, then
//                               (1 - |sin 9g|) 0.05 + 1.9 |g - 0.5|
//   jagged_smooth_plain2d/3d    the same with the smooth wave 0.25 cos(2 pi t) + 0.25
//   sinusoids_plain2d/3d        nested sines sin(sin y + x) over three frames, each turned by
//                               60 degrees and scaled by 1.5773 * 1.7321 * 0.5 from the last
//   terraced_hills2d/3d         three rounds of folded waves, squared, smoothstepped, with
//                               terraces 0.05 |fract(12e) - 0.5|
//   terraced_smooth_hills2d/3d  the same with the smooth wave
//   crateria_plain2d/3d         three octaves of yf_ craters, overlapping instead of cut at the
//                               cell borders (amplitudes 1/2, 1/4, 1/8, frequency doubling with
//                               the R2 / R3 rotation), from [-0.175, 0.875] into [0, 1]
//   cone_plain2d/3d             cones at the random texture's texels (linear interpolation of
//                               plane 0, or of the 3-D cell values) plus a 3-octave texture fbm
//   desert_plain2d/3d           crossed dune sines
//
// Design: the frames and weights of jagged_ and sinusoids_ below
// (the 2-D weights sum to the stated ranges); every 3-D member is its 2-D rule applied to the
// three cyclic axis pairs (x, y), (y, z), (z, x) with weights scaled by 2/3, so that the
// ranges stay those of the 2-D members, and with the 3-D rotations of the fractal sums.
#include <algorithm>
#include <cmath>

#include "functions/CellularNoise.h"
#include "functions/Families.h"
#include "functions/FractalSums.h"
#include "functions/RandomTexture.h"

namespace luneth {

namespace {

using noise::Fract;

constexpr float kTwoThirds = 0.6666667f;

struct TriWave {
    static float At(float t) { return std::fabs(Fract(t) - 0.5f); }
};
struct SmoothWave {
    static float At(float t) { return 0.25f * std::cos(6.2831855f * t) + 0.25f; }
};

// Cubic smoothstep of (v - lo) / (hi - lo), clamped.
float SmoothRange(float v, float lo, float hi) {
    float t = std::min(std::max((v - lo) / (hi - lo), 0.0f), 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// ---- jagged plains ---------------------------------------------------------------------------

// One fold pair: W(s a + W(s/2 b)).
template <class W>
float Fold(float a, float b, float s) {
    return W::At(s * a + W::At(0.5f * s * b));
}

float JaggedResult(float g) {
    return (1.0f - std::fabs(std::sin(9.0f * g))) * 0.05f + 1.9f * std::fabs(g - 0.5f);
}

template <class W>
float JaggedPlain2d(float x, float y) {
    float g = 0.444f * (Fold<W>(x, y, 0.15f) + Fold<W>(y, x, 0.15f));
    float rx = (1.5773f * x - y) * 0.866f, ry = (x + 1.5773f * y) * 0.866f;
    g += 0.444f * (Fold<W>(rx, ry, 0.225f) + Fold<W>(ry, rx, 0.225f));
    return JaggedResult(g);
}

template <class W>
float JaggedPlain3d(float x, float y, float z) {
    constexpr float w = 0.444f * kTwoThirds;
    float g = w * (Fold<W>(x, y, 0.15f) + Fold<W>(y, z, 0.15f) + Fold<W>(z, x, 0.15f));
    // The x-z plane turned like the 2-D frame; y scaled by the same 1.6175.
    float rx = (1.5773f * x - z) * 0.866f, rz = (x + 1.5773f * z) * 0.866f, ry = 1.6175f * y;
    g += w * (Fold<W>(rx, ry, 0.225f) + Fold<W>(ry, rz, 0.225f) + Fold<W>(rz, rx, 0.225f));
    return JaggedResult(g);
}

// ---- sinusoid plains -------------------------------------------------------------------------

constexpr float kFrameScale = 1.5773f * 1.7321f * 0.5f;
constexpr float kSinusoidWeights[3] = {0.57f, 0.28f, 0.15f};

float NestedSine(float a, float b) { return std::sin(std::sin(b) + a); }
float SinusoidResult(float g) {
    return (0.5f * std::sin(6.0f * std::sin(3.0f * g)) + 0.5f) * 0.05f + 0.475f * g + 0.475f;
}

float SinusoidsPlain2d(float x, float y) {
    float g = 0.0f;
    for (float w : kSinusoidWeights) {
        g += w * NestedSine(x, y);
        float nx = (0.5f * x - 0.8660254f * y) * kFrameScale;
        y = (0.8660254f * x + 0.5f * y) * kFrameScale;
        x = nx;
    }
    return SinusoidResult(g);
}

float SinusoidsPlain3d(float x, float y, float z) {
    float g = 0.0f;
    for (float w : kSinusoidWeights) {
        g += w * (NestedSine(x, y) + NestedSine(y, z) + NestedSine(z, x)) * 0.3333333f;
        // 60 degrees about z, then 60 degrees about x.
        float nx = 0.5f * x - 0.8660254f * y, ny = 0.8660254f * x + 0.5f * y;
        float my = 0.5f * ny - 0.8660254f * z, mz = 0.8660254f * ny + 0.5f * z;
        x = nx * kFrameScale, y = my * kFrameScale, z = mz * kFrameScale;
    }
    return SinusoidResult(g);
}

// ---- terraced hills --------------------------------------------------------------------------

float TerraceResult(float sum) {
    float e = SmoothRange(sum * sum / 1.39f / 1.39f, -0.2f, 1.0f);
    return 0.05f * std::fabs(Fract(12.0f * e) - 0.5f) + 0.975f * e;
}

template <class W>
float TerracedPair(float a, float b, float c) {
    return W::At(W::At(b / c / 3.0f + 0.25f) + a / c / 1.5f);
}

template <class W>
float TerracedHills2d(float x, float y) {
    float c = 1.0f, sum = 0.0f;
    for (int round = 0; round < 3; ++round) {
        sum += (TerracedPair<W>(x, y, c) + TerracedPair<W>(y, x, c)) * std::fabs(c);
        float nx = 0.8f * x - 0.6f * y;
        y = 0.6f * x + 0.8f * y;
        x = nx;
        c *= -0.3f;
    }
    return TerraceResult(sum);
}

template <class W>
float TerracedHills3d(float x, float y, float z) {
    float c = 1.0f, sum = 0.0f;
    for (int round = 0; round < 3; ++round) {
        sum += (TerracedPair<W>(x, y, c) + TerracedPair<W>(y, z, c) + TerracedPair<W>(z, x, c)) *
               std::fabs(c) * kTwoThirds;
        float nx = 0.8f * y + 0.6f * z;
        float ny = -0.8f * x + 0.36f * y - 0.48f * z;
        z = -0.6f * x - 0.48f * y + 0.64f * z;
        x = nx, y = ny;
        c *= -0.3f;
    }
    return TerraceResult(sum);
}

// ---- crater plains ---------------------------------------------------------------------------

float CrateriaResult(float sum) { return (sum + 0.175f) / 1.05f; }

float CrateriaPlain2d(float x, float y) {
    float a = 0.5f, sum = 0.0f;
    for (int i = 0; i < 3; ++i) {
        sum += a * cellular::CraterField2d(x, y);
        fractal::RotateR2::Apply(x, y, i);
        a *= 0.5f;
    }
    return CrateriaResult(sum);
}

float CrateriaPlain3d(float x, float y, float z) {
    float a = 0.5f, sum = 0.0f;
    for (int i = 0; i < 3; ++i) {
        sum += a * cellular::CraterField3d(x, y, z);
        fractal::RotateR3::Apply(x, y, z, i);
        a *= 0.5f;
    }
    return CrateriaResult(sum);
}

// ---- cone plains -----------------------------------------------------------------------------

float ConeResult(float h, float a) {
    return 0.9f * SmoothRange(h, 0.4f, 1.6f) + 0.1f * SmoothRange(a, 0.1f, 1.0f);
}

float ConePlain2d(float x, float y) {
    return ConeResult(texture::TexLiner2(x, y), texture::TexFbm2(1.47f * x, 1.47f * y, 3));
}
float ConePlain3d(float x, float y, float z) {
    return ConeResult(texture::TexLiner3(x, y, z),
                      texture::TexFbm3(1.47f * x, 1.47f * y, 1.47f * z, 3));
}

// ---- desert plains ---------------------------------------------------------------------------

float Dune(float a, float b, float s) { return std::sin(s * a - std::cos(1.3f * s * b)); }

float DesertPlain2d(float x, float y) {
    return (Dune(x, y, 2.0f) + Dune(y, x, 2.0f)) * 0.05f +
           (Dune(x, y, 1.0f) + Dune(y, x, 1.0f)) * 0.13f;
}
float DesertPlain3d(float x, float y, float z) {
    float fine = Dune(x, y, 2.0f) + Dune(y, z, 2.0f) + Dune(z, x, 2.0f);
    float coarse = Dune(x, y, 1.0f) + Dune(y, z, 1.0f) + Dune(z, x, 1.0f);
    return (fine * 0.05f + coarse * 0.13f) * kTwoThirds;
}

constexpr BuiltinFunction kPlains[] = {
    // kind 6
    {"jagged_plain2d", JaggedPlain2d<TriWave>},
    {"jagged_smooth_plain2d", JaggedPlain2d<SmoothWave>},
    {"sinusoids_plain2d", SinusoidsPlain2d},
    {"terraced_hills2d", TerracedHills2d<TriWave>},
    {"terraced_smooth_hills2d", TerracedHills2d<SmoothWave>},
    {"crateria_plain2d", CrateriaPlain2d},
    {"cone_plain2d", ConePlain2d},
    {"desert_plain2d", DesertPlain2d},
    // kind 7
    {"jagged_plain3d", JaggedPlain3d<TriWave>},
    {"jagged_smooth_plain3d", JaggedPlain3d<SmoothWave>},
    {"sinusoids_plain3d", SinusoidsPlain3d},
    {"terraced_hills3d", TerracedHills3d<TriWave>},
    {"terraced_smooth_hills3d", TerracedHills3d<SmoothWave>},
    {"crateria_plain3d", CrateriaPlain3d},
    {"cone_plain3d", ConePlain3d},
    {"desert_plain3d", DesertPlain3d},
};

}  // namespace

FunctionTable PlainFunctions() { return kPlains; }

}  // namespace luneth
