// The texture family: noises that read the shared random texture (RandomTexture.h) instead of
// hashing their coordinates, so they repeat with the texture (256 texels in 2-D; 67, 61, 59
// cells in 3-D) and cost a table read per corner.
//
//   index
//   1. samplers     tex_hash1/2/3, tex_liner1/2/3, tex_noise1/2/3: plane 0 (3-D: the cell
//                   values) at the wrapped cell, between its corners with linear or cubic
//                   weights; in [0, 1)
//   2. noises       tex_value_noise2/3 (the cubic sampler mapped to [-1, 1]), tex_gradient_,
//                   tex_simplex_noise2/3 (gradients from the texture mapped by * 2 - 1, or - 0.5
//                   for 3-D simplex, as the xor_ members do with their hash)
//   3. sums         tex_fbm1/2/3 (amplitude 0.5 halving, normalised; coordinates times 1.99,
//                   rotated in 2-D and 3-D), tex_iquilezles_fbm2/3 (derivative-damped over the
//                   quintic value noise of plane 0), tex_value_/simplex_/gradient_fbm2/3 and
//                   _turbulence2/3 (the rules of the prefixed fbm and turbulence), the warps
//   4. colours      tex_color_noise1, tex_color_fbm1, tex_color_rand2, tex_color_noise2,
//                   tex_color_fbm2: planes 0, 1, 2 as red, green, blue of a colour word
//   5. the group's table, in registration order (cellular members: TextureCellular.cpp)
//
// Defaults of the counts: 4 octaves, 6 for tex_iquilezles_fbm2/3; the warps 4 iterations, or 3
// iterations of 4 octaves. Counts are capped like every fractal sum (FractalSums.h).
#include "functions/Families.h"
#include "functions/FractalSums.h"
#include "functions/LatticeNoise.h"
#include "functions/TextureCellular.h"
#include "functions/TextureFamily.h"

namespace luneth {

namespace texture {

float TexValueD2(float x, float y, Float2* gradient) {
    const float* p = GetRandomTexture().Plane(0);
    float ix = std::floor(x), iy = std::floor(y);
    int i0 = WrapSide(ix), j0 = WrapSide(iy);
    int i1 = (i0 + 1) & (kSide - 1), j1 = (j0 + 1) & (kSide - 1);
    return noise::QuinticCorners2(p[j0 * kSide + i0], p[j0 * kSide + i1], p[j1 * kSide + i0],
                                  p[j1 * kSide + i1], x - ix, y - iy, gradient);
}

float TexValueD3(float x, float y, float z, Float3* gradient) {
    const float* v = GetRandomTexture().values.data();
    float ix = std::floor(x), iy = std::floor(y), iz = std::floor(z);
    int x0 = WrapPeriod(ix, kPeriodX), y0 = WrapPeriod(iy, kPeriodY), z0 = WrapPeriod(iz, kPeriodZ);
    int x1 = NextWrapped(x0, kPeriodX), y1 = NextWrapped(y0, kPeriodY);
    int z1 = NextWrapped(z0, kPeriodZ);
    const float corners[8] = {v[Index3(x0, y0, z0)], v[Index3(x1, y0, z0)], v[Index3(x0, y1, z0)],
                              v[Index3(x1, y1, z0)], v[Index3(x0, y0, z1)], v[Index3(x1, y0, z1)],
                              v[Index3(x0, y1, z1)], v[Index3(x1, y1, z1)]};
    return noise::QuinticCorners3(corners, x - ix, y - iy, z - iz, gradient);
}

}  // namespace texture

namespace {

using namespace texture;
using namespace fractal;

// ---- 1. samplers -----------------------------------------------------------------------------

float TexHash1(float x) { return GetRandomTexture().values[WrapPeriod(x, kPlaneSize)]; }

// Plane k read as one sequence of 65536 values (index 65535 is followed by 0).
template <class FadeFn>
float TexLattice1(float x, FadeFn fade, int plane) {
    const float* p = GetRandomTexture().Plane(plane);
    float fx = std::floor(x);
    int i = WrapPeriod(fx, kPlaneSize);
    float a = p[i], b = p[(i + 1) & (kPlaneSize - 1)];
    return a + (b - a) * fade(x - fx);
}
float TexLiner1(float x) {
    return TexLattice1(
        x, [](float t) { return t; }, 0);
}
float TexNoise1(float x) { return TexLattice1(x, CubicWeight, 0); }

float TexHash2(float x, float y) { return TexelAt(0, x, y); }
float TexNoise2Plane0(float x, float y) { return TexNoise2(x, y); }

// ---- 2. noises -------------------------------------------------------------------------------

// Gradients: planes 0 and 1 of the texel; the 3-D cell's first three values.
struct TexGradient {
    Float2 operator()(float cx, float cy) const {
        int i = WrapSide(cx), j = WrapSide(cy);
        return {Texel(0, i, j) * 2.0f - 1.0f, Texel(1, i, j) * 2.0f - 1.0f};
    }
    Float3 operator()(float cx, float cy, float cz) const {
        int k = Cell3(cx, cy, cz);
        return {CellValue3(k, 0) * 2.0f - 1.0f, CellValue3(k, 1) * 2.0f - 1.0f,
                CellValue3(k, 2) * 2.0f - 1.0f};
    }
};
struct TexCentredGradient {
    Float3 operator()(float cx, float cy, float cz) const {
        int k = Cell3(cx, cy, cz);
        return {CellValue3(k, 0) - 0.5f, CellValue3(k, 1) - 0.5f, CellValue3(k, 2) - 0.5f};
    }
};

float TexGradientNoise2(float x, float y) { return noise::GradientLattice2(TexGradient{}, x, y); }
float TexGradientNoise3(float x, float y, float z) {
    return noise::GradientLattice3(TexGradient{}, x, y, z);
}
float TexSimplexNoise2(float x, float y) { return noise::SimplexLattice2(TexGradient{}, x, y); }
float TexSimplexNoise3(float x, float y, float z) {
    return noise::SimplexLattice3(TexCentredGradient{}, x, y, z, 0.6f, 52.0f);
}

// ---- 3. sums ---------------------------------------------------------------------------------

float TexPlaneFbm1(float x, int octaves, int plane) {
    float a = 0.5f, sum = 0.0f, asum = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += TexLattice1(x, CubicWeight, plane) * a;
        asum += a;
        a *= 0.5f;
        x *= 1.99f;
    }
    return sum / asum;
}
float TexFbm1(float x, int octaves) { return TexPlaneFbm1(x, octaves, 0); }
float TexFbm2Plane0(float x, float y, int octaves) { return TexFbm2(x, y, octaves); }

// ---- 4. colours ------------------------------------------------------------------------------

float TexColorNoise1(float x) {
    return ColourWord(TexLattice1(x, CubicWeight, 0), TexLattice1(x, CubicWeight, 1),
                      TexLattice1(x, CubicWeight, 2));
}
float TexColorFbm1(const float* a, int n) {
    float x = Arg(a, n, 0);
    int octaves = OctaveCount(a, n, 1, 4);
    return ColourWord(TexPlaneFbm1(x, octaves, 0), TexPlaneFbm1(x, octaves, 1),
                      TexPlaneFbm1(x, octaves, 2));
}
float TexColorRand2(float x, float y) {
    int i = WrapSide(x), j = WrapSide(y);
    return ColourWord(Texel(0, i, j), Texel(1, i, j), Texel(2, i, j));
}
float TexColorNoise2(float x, float y) {
    return ColourWord(TexNoise2(x, y, 0), TexNoise2(x, y, 1), TexNoise2(x, y, 2));
}
float TexColorFbm2(const float* a, int n) {
    float x = Arg(a, n, 0), y = Arg(a, n, 1);
    int octaves = OctaveCount(a, n, 2, 4);
    return ColourWord(TexFbm2(x, y, octaves, 0), TexFbm2(x, y, octaves, 1),
                      TexFbm2(x, y, octaves, 2));
}

// ---- 5. the group's table --------------------------------------------------------------------

constexpr auto kValueFbm2 = Fbm2<TexValueNoise2, RotateR2>;
constexpr auto kValueFbm3 = Fbm3<TexValueNoise3, RotateR3>;

constexpr BuiltinFunction kTexture[] = {
    {"tex_hash1", TexHash1},
    {"tex_liner1", TexLiner1},
    {"tex_noise1", TexNoise1},
    {"tex_fbm1", Count1<TexFbm1, 4>},
    {"tex_hash2", TexHash2},
    {"tex_liner2", TexLiner2},
    {"tex_noise2", TexNoise2Plane0},
    {"tex_fbm2", Count2<TexFbm2Plane0, 4>},
    {"tex_iquilezles_fbm2", Count2<DampedFbm2<TexValueD2>, 6>},
    {"tex_value_noise2", TexValueNoise2},
    {"tex_simplex_noise2", TexSimplexNoise2},
    {"tex_gradient_noise2", TexGradientNoise2},
    {"tex_worley2d", TexWorley2d},
    {"tex_fast_worley2d", TexFastWorley2d},
    {"tex_circle_worley2d", TexCircleWorley2d},
    {"tex_border_worley2d", TexBorderWorley2d},
    {"tex_voronoise2d", TexVoronoise2d},
    {"tex_hash3", Texel3},
    {"tex_liner3", TexLiner3},
    {"tex_noise3", TexNoise3},
    {"tex_fbm3", Count3<TexFbm3, 4>},
    {"tex_iquilezles_fbm3", Count3<DampedFbm3<TexValueD3>, 6>},
    {"tex_value_noise3", TexValueNoise3},
    {"tex_simplex_noise3", TexSimplexNoise3},
    {"tex_gradient_noise3", TexGradientNoise3},
    {"tex_worley3d", TexWorley3d},
    {"tex_fast_worley3d", TexFastWorley3d},
    {"tex_circle_worley3d", TexCircleWorley3d},
    {"tex_border_worley3d", TexBorderWorley3d},
    {"tex_voronoise3d", TexVoronoise3d},
    {"tex_color_noise1", TexColorNoise1},
    {"tex_color_fbm1", TexColorFbm1},
    {"tex_color_rand2", TexColorRand2},
    {"tex_color_noise2", TexColorNoise2},
    {"tex_color_fbm2", TexColorFbm2},
    {"tex_worley2d_color", TexWorley2dColor},
    {"tex_worley3d_color", TexWorley3dColor},
    {"tex_craters2d", TexCraters2d},
    {"tex_craters3d", TexCraters3d},
    {"mineral2d_color", Mineral2dColor},
    {"mineral3d_color", Mineral3dColor},
    {"tex_value_fbm2", kPrefixedFbm2<TexValueNoise2>},
    {"tex_simplex_fbm2", kPrefixedFbm2<TexSimplexNoise2>},
    {"tex_gradient_fbm2", kPrefixedFbm2<TexGradientNoise2>},
    {"tex_value_turbulence2", kTurbulence2<TexValueNoise2>},
    {"tex_simplex_turbulence2", kTurbulence2<TexSimplexNoise2>},
    {"tex_gradient_turbulence2", kTurbulence2<TexGradientNoise2>},
    {"tex_value_fbm3", kPrefixedFbm3<TexValueNoise3>},
    {"tex_simplex_fbm3", kPrefixedFbm3<TexSimplexNoise3>},
    {"tex_gradient_fbm3", kPrefixedFbm3<TexGradientNoise3>},
    {"tex_value_turbulence3", kTurbulence3<TexValueNoise3>},
    {"tex_simplex_turbulence3", kTurbulence3<TexSimplexNoise3>},
    {"tex_gradient_turbulence3", kTurbulence3<TexGradientNoise3>},
    {"tex_noise_warp2d", NoiseWarp2<TexValueNoise2>},
    {"tex_fbm_warp2d", FbmWarp2<kValueFbm2>},
    {"tex_noise_warp3d", NoiseWarp3<TexValueNoise3>},
    {"tex_fbm_warp3d", FbmWarp3<kValueFbm3>},
    {"tex_extend_worley2d", TexExtendWorley2d},
    {"tex_extend_worley3d", TexExtendWorley3d},
    {"tex_sphere_worley2d", TexSphereWorley2d},
    {"tex_sphere_worley3d", TexSphereWorley3d},
};
static_assert(std::size(kTexture) == 61);

}  // namespace

FunctionTable TextureFunctions() { return kTexture; }

}  // namespace luneth
