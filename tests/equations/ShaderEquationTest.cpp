// The shader-style equations (indices 16-41): the three fixed formulas against references
// written here from the formulas, the channel conversion, and what every member must do with
// its time (move, and survive NaN and huge values).
// Whole default pictures are in the checksum table (PictureChecksums.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "equations/EquationTestUtil.h"
#include "equations/ShaderEquation.h"
#include "functions/RandomTexture.h"

namespace luneth {
namespace {

using test::MakeEquation;

constexpr uint32_t kFirst = 16, kLast = 41, kStarNest = 26, kWaterCaustic = 32, kNoiseImage = 38,
                   kEye = 41;

uint8_t Byte(float c) { return c < 0.0f ? 0 : c > 1.0f ? 255 : uint8_t(c * 255.0f); }
uint32_t Opaque(float r, float g, float b) {
    return 0xFF000000u | uint32_t(Byte(r)) << 16 | uint32_t(Byte(g)) << 8 | Byte(b);
}

// ---- references, straight from the formulas ------------------------------------------------

uint32_t StarNestReference(float fx, float fy, float time) {
    float dir[3] = {(fx / 1024.0f - 0.5f) * 0.8f, (fy / 768.0f - 0.5f) * 0.75f * 0.8f, 1.0f};
    const float t = time * 0.01f + 0.25f;
    const float from[3] = {1.0f + 2.0f * t, 0.5f + t, -1.5f};
    float s = 0.1f, fade = 1.0f, v[3] = {0, 0, 0};
    for (int r = 0; r < 20; ++r) {
        float p[3];
        for (int k = 0; k < 3; ++k)
            p[k] = std::fabs(0.85f - std::fmod(from[k] + s * dir[k] * 0.5f, 1.7f));
        float a = 0.0f, pa = 0.0f;
        for (int i = 0; i < 17; ++i) {
            const float q = p[0] * p[0] + p[1] * p[1] + p[2] * p[2];
            for (float& c : p) c = std::fabs(c) / q - 0.53f;
            const float len = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
            a += std::fabs(len - pa);
            pa = len;
        }
        if (r > 6) fade *= 1.0f - std::max(0.0f, 0.3f - a * a * 0.001f);
        a = a * a * a;
        const float sp[3] = {s, s * s, s * s * s * s};
        for (int k = 0; k < 3; ++k) v[k] += fade + sp[k] * a * 0.0015f * fade;
        s += 0.1f;
        fade *= 0.73f;
    }
    const float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]) * 0.14999998f;
    return Opaque((v[0] * 0.85f + l) * 0.01f, (v[1] * 0.85f + l) * 0.01f,
                  (v[2] * 0.85f + l) * 0.01f);
}

uint32_t WaterCausticReference(float fx, float fy, float time) {
    const float px = std::fmod(fx / 1024.0f * 6.283185f, 6.283185f) - 250.0f;
    const float py = std::fmod(fy / 768.0f * 6.283185f, 6.283185f) - 250.0f;
    float ix = px, iy = py, c = 1.0f;
    for (int n = 1; n <= 5; ++n) {
        const float t = (1.0f - 3.5f / float(n)) * (time * 0.5f + 23.0f);
        const float nx = std::cos(t - ix) + std::sin(t + iy) + px;
        iy = std::sin(t - iy) + std::cos(t + ix) + py;
        ix = nx;
        const float a = px / (std::sin(ix + t) / 0.005f), b = py / (std::cos(iy + t) / 0.005f);
        c += 1.0f / std::sqrt(a * a + b * b);
    }
    c /= 5.0f;
    const float k = std::pow(std::fabs(1.17f - std::pow(c, 1.4f)), 8.0f);
    auto sat = [](float v) { return std::clamp(v, 0.0f, 1.0f); };
    return Opaque(sat(k), sat(k + 0.35f), sat(k + 0.5f));
}

float Fade(float t) { return t * t * (3.0f - 2.0f * t); }
float Lerp(float a, float b, float t) { return a + (b - a) * t; }

float SineNoise(const float p[3]) {
    float i[3], w[3];
    for (int k = 0; k < 3; ++k) i[k] = std::floor(p[k]), w[k] = Fade(p[k] - i[k]);
    const float m = i[0] + 157.0f * i[1] + 113.0f * i[2];
    auto h = [m](float k) {
        const float s = float(std::sin(double(m + k))) * 753.5453f;
        return s - std::floor(s);
    };
    auto plane = [&](float k) {
        return Lerp(Lerp(h(k), h(k + 1), w[0]), Lerp(h(k + 157), h(k + 158), w[0]), w[1]);
    };
    return Lerp(plane(0), plane(113), w[2]);
}

// The texture noise: lattice plane iz is the texture shifted by (37, 17) iz texels, read with
// the smooth sampler at texel coordinate (lattice corner + cell weight).
float SmoothTexel(float u, float v) {
    const float* plane = texture::GetRandomTexture().Plane(0);
    const float fu = std::floor(u), fv = std::floor(v);
    const int i = int(fu) & 255, j = int(fv) & 255;
    const float su = Fade(u - fu), sv = Fade(v - fv);
    auto at = [plane](int a, int b) { return plane[(b & 255) * 256 + (a & 255)]; };
    return Lerp(Lerp(at(i, j), at(i + 1, j), su), Lerp(at(i, j + 1), at(i + 1, j + 1), su), sv);
}
float TextureNoise(const float p[3]) {
    float i[3], w[3];
    for (int k = 0; k < 3; ++k) i[k] = std::floor(p[k]), w[k] = Fade(p[k] - i[k]);
    const float u = i[0] + 37.0f * i[2] + w[0], v = i[1] + 17.0f * i[2] + w[1];
    return Lerp(SmoothTexel(u, v), SmoothTexel(u + 37.0f, v + 17.0f), w[2]);
}

template <float (*N)(const float*)>
float FbmReference(float x, float y, float z) {
    float p[3] = {x, y, z}, f = 0.0f, amp = 0.5f;
    const float lacunarity[3] = {2.01f, 2.02f, 2.03f};
    for (int o = 0; o < 4; ++o) {
        f += amp * N(p);
        amp *= 0.5f;
        if (o == 3) break;
        const float q[3] = {0.8f * p[1] + 0.6f * p[2], -0.8f * p[0] + 0.36f * p[1] - 0.48f * p[2],
                            -0.6f * p[0] - 0.48f * p[1] + 0.64f * p[2]};
        for (int k = 0; k < 3; ++k) p[k] = q[k] * lacunarity[o];
    }
    return f;
}

uint32_t NoiseImageReference(uint32_t x, uint32_t y, float scale, float z) {
    const float p[3] = {scale * float(x), scale * float(y), z};
    float n;
    if (y < 512)
        n = x < 512 ? SineNoise(p) : TextureNoise(p);
    else
        n = x < 512 ? FbmReference<SineNoise>(p[0], p[1], z)
                    : FbmReference<TextureNoise>(p[0], p[1], z);
    return Opaque(n, n, n);
}

// ---- the fixed formulas --------------------------------------------------------------------

TEST(ShaderEquations, FixedFormulasMatchTheirReferences) {
    const uint32_t pixels[][2] = {{0, 0},     {1023, 767}, {512, 384},
                                  {100, 700}, {777, 33},   {300, 500}};
    auto starNest = MakeEquation(kStarNest), caustic = MakeEquation(kWaterCaustic);
    for (float time : {47.98f, 0.0f, 1234.5f}) {
        starNest->SetParam(0, time);
        caustic->SetParam(0, time);
        for (const auto& [x, y] : pixels) {
            const float fx = float(x), fy = 768.0f - float(y);
            EXPECT_EQ(starNest->GetPixel(x, y), StarNestReference(fx, fy, time)) << x << "," << y;
            EXPECT_EQ(caustic->GetPixel(x, y), WaterCausticReference(fx, fy, time))
                << x << "," << y;
        }
        // A whole row in SIMD lanes equals its pixels one by one (odd start and length).
        uint32_t row[11];
        starNest->ComputeRow(300, 5, 11, row);
        for (uint32_t k = 0; k < 11; ++k) EXPECT_EQ(row[k], starNest->GetPixel(5 + k, 300)) << k;
    }

    auto image = MakeEquation(kNoiseImage);
    struct Setting {
        float scale, z;
    };
    const uint32_t noisePixels[][2] = {{0, 0},       {511, 511}, {512, 0},   {0, 512},  {512, 512},
                                       {1023, 1023}, {700, 100}, {200, 900}, {900, 600}};
    for (const Setting s : {Setting{1, 0}, Setting{0.037f, 0.6f}, Setting{0.0123f, -3.25f}}) {
        image->SetParam(0, s.scale);
        image->SetParam(1, s.z);
        for (const auto& [x, y] : noisePixels)
            EXPECT_EQ(image->GetPixel(x, y), NoiseImageReference(x, y, s.scale, s.z))
                << x << "," << y << " scale " << s.scale;
    }
    image->ResetParams();
    EXPECT_EQ(image->GetPixel(0, 0), 0xFF000000u);  // h(0) = fract(sin 0 * 753.5453) = 0
}

TEST(ShaderEquations, NoiseImageIsContinuousInZ) {
    // Crossing a lattice plane (z = 2) moves no quadrant by more than a step of rounding.
    auto image = MakeEquation(kNoiseImage);
    image->SetParam(0, 0.02f);
    for (uint32_t y : {100u, 700u}) {
        for (uint32_t x : {100u, 700u}) {
            image->SetParam(1, 1.9999f);
            const int below = int(image->GetPixel(x, y) & 0xFF);
            image->SetParam(1, 2.0f);
            EXPECT_NEAR(below, int(image->GetPixel(x, y) & 0xFF), 1) << x << "," << y;
        }
    }
}

TEST(ShaderEquations, ChannelConversion) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(shader::ShaderPixel({1.0f, 1.0000001f, -0.0001f}), 0xFFFFFF00u);
    EXPECT_EQ(shader::ShaderPixel({0.5f, nan, 2.0f}), 0xFF7F00FFu);
}

// A coarse sample of the picture (every 37th pixel of every 29th row), enough to see a change.
std::vector<uint32_t> Sample(IPixelEquation& e) {
    std::vector<uint32_t> out;
    for (uint32_t y = 0; y < e.height; y += 29)
        for (uint32_t x = 0; x < e.width; x += 37) out.push_back(e.GetPixel(x, y));
    return out;
}

// ---- the adapter ---------------------------------------------------------------------------

// A body that shows its inputs: red and green the fragment coordinate over 1024, blue the time.
struct ProbeBody {
    float time = 0.0f;
    void Setup(const float* params) { time = params[0]; }
    shader::vec3 Shade(shader::vec2 f) const { return {f.x / 1024.0f, f.y / 1024.0f, time}; }
};
const EquationInfo kProbeRow{999, "probe", "CProbe", 1024, 768, {{"Time", 0, 1, 0.1f, 0.5f}}};

TEST(ShaderEquations, AdapterFlipsRowsAndPassesTime) {
    shader::CShaderToyEquation<ProbeBody> probe(kProbeRow);
    EXPECT_EQ(probe.GetPixel(0, 0), Opaque(0.0f, 0.75f, 0.5f));  // top row is fragment y 768
    EXPECT_EQ(probe.GetPixel(1023, 767), Opaque(1023.0f / 1024, 1.0f / 1024, 0.5f));
    probe.SetParam(0, 0.25f);
    EXPECT_EQ(probe.GetPixel(512, 384) & 0xFF, 63u);
    shader::CShaderToyEquation<ProbeBody, 1024> square(kProbeRow);
    EXPECT_EQ(square.GetPixel(0, 0), Opaque(0.0f, 1.0f, 0.5f));
}

TEST(ShaderEquations, DomainTypesAndTheEyeSeries) {
    auto domain = MakeEquation(40);
    const std::vector<uint32_t> first = Sample(*domain);
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), -3.0f, 25.0f}) {
        domain->SetParam(1, bad);
        EXPECT_EQ(Sample(*domain), first) << "type " << bad << " reads as type 0";
    }
    std::set<std::vector<uint32_t>> pictures;
    for (int type = 0; type <= 20; ++type) {
        domain->SetParam(1, float(type));
        pictures.insert(Sample(*domain));
    }
    EXPECT_EQ(pictures.size(), 21u);

    // The cosine series draws its eye: a dark pupil in a bright white, and a row computed at
    // once equals its pixels.
    auto eye = MakeEquation(kEye);
    const uint32_t pupil = eye->GetPixel(527, 361), white = eye->GetPixel(350, 361);
    for (int shift : {0, 8, 16}) {
        EXPECT_LT((pupil >> shift) & 0xFF, 40u);
        EXPECT_GT((white >> shift) & 0xFF, 180u);
    }
    uint32_t row[7];
    eye->ComputeRow(200, 600, 7, row);
    for (uint32_t k = 0; k < 7; ++k) EXPECT_EQ(row[k], eye->GetPixel(600 + k, 200));
}

// ---- every member --------------------------------------------------------------------------

TEST(ShaderEquations, TimeMovesEveryTimedMemberAndBadTimesStayPictures) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (uint32_t i = kFirst; i <= kLast; ++i) {
        auto e = MakeEquation(i);
        ASSERT_NE(e, nullptr);
        const std::vector<uint32_t> initial = Sample(*e);
        for (uint32_t c : initial) ASSERT_EQ(c >> 24, 0xFFu) << i;
        // Pixels far outside the picture are safe to ask for.
        EXPECT_EQ(e->GetPixel(5000, 70000) >> 24, 0xFFu) << i;
        EXPECT_EQ(e->GetPixel(0xFFFFFFFFu, 0xFFFFFFFFu) >> 24, 0xFFu) << i;
        const bool timed = i != kNoiseImage && i != kEye;
        EXPECT_EQ(e->GetParamName(0) != nullptr && std::string(e->GetParamName(0)) == "Time",
                  timed);
        if (!timed) continue;
        e->SetParam(0, e->params[0] + 1.37f);
        EXPECT_NE(Sample(*e), initial) << i << " does not move with Time";
        // Bad times finish. Huge finite ones still draw a picture, not one flat colour, in
        // our own members (the fixed formulas lose their detail there, as written).
        const bool fixedFormula = i == kStarNest || i == kWaterCaustic;
        for (float bad : {nan, std::numeric_limits<float>::infinity(), -1e30f, 3e38f}) {
            e->SetParam(0, bad);
            const std::vector<uint32_t> sample = Sample(*e);
            const auto distinct = std::set<uint32_t>(sample.begin(), sample.end()).size();
            if (std::isfinite(bad) && !fixedFormula) {
                EXPECT_GT(distinct, 8u) << i << " time " << bad;
            }
        }
    }
}

}  // namespace
}  // namespace luneth
