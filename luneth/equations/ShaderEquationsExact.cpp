// The shader-style members with fixed formulas: "ShaderToy StarNest", "ShaderToy WaterCaustic"
// and "ShaderToy NoiseImage". Their arithmetic is kept in the order written, in floats, so the
// pictures are the same on every machine with IEEE floats.
#include <algorithm>
#include <cmath>
#include <experimental/simd>

#include "equations/ShaderEquation.h"

namespace luneth::shader {

namespace {

namespace stdx = std::experimental;

// =============================================================================================
// "ShaderToy StarNest": a volume of folded space seen along a straight ray; the fold
// p -> |p| / |p|^2 - 0.53 repeated 17 times turns smooth space into filaments of stars.
// =============================================================================================

// The body is written once for plain floats and for SIMD lanes of floats; every lane does
// the same IEEE operations in the same order, so a row computed four pixels at a time equals
// the pixels computed one by one.
namespace lanes {
using Floats = stdx::native_simd<float>;
inline float Abs(float v) { return std::fabs(v); }
inline float Sqrt(float v) { return std::sqrt(v); }
inline float Fmod(float v, float m) { return std::fmod(v, m); }
inline float Max0(float v) { return std::max(0.0f, v); }
inline Floats Abs(Floats v) { return stdx::abs(v); }
inline Floats Sqrt(Floats v) { return stdx::sqrt(v); }
inline Floats Fmod(Floats v, float m) { return stdx::fmod(v, Floats(m)); }
inline Floats Max0(Floats v) { return stdx::max(Floats(0.0f), v); }
}  // namespace lanes

template <class T>
struct StarNestColour {
    T r, g, b;
};

template <class T>
StarNestColour<T> StarNestShade(T fx, T fy, float time) {
    using namespace lanes;
    const T ux = fx / 1024.0f - 0.5f;
    const T uy = (fy / 768.0f - 0.5f) * 0.75f;
    const T dx = ux * 0.8f, dy = uy * 0.8f;
    const float t = time * 0.01f + 0.25f;
    const float ox = 1.0f + 2.0f * t, oy = 0.5f + t, oz = -1.5f;

    float s = 0.1f;
    T fade = 1.0f, vx = 0.0f, vy = 0.0f, vz = 0.0f;
    for (int r = 0; r < 20; ++r) {
        // o + s d 0.5, tiled with period 1.7 (C remainder) and mirrored about 0.85.
        T px = Abs(0.85f - Fmod(ox + s * dx * 0.5f, 1.7f));
        T py = Abs(0.85f - Fmod(oy + s * dy * 0.5f, 1.7f));
        T pz = Abs(0.85f - Fmod(T(oz + s * 1.0f * 0.5f), 1.7f));
        T a = 0.0f, pa = 0.0f;
        for (int i = 0; i < 17; ++i) {
            const T q = px * px + py * py + pz * pz;
            px = Abs(px) / q - 0.53f;
            py = Abs(py) / q - 0.53f;
            pz = Abs(pz) / q - 0.53f;
            const T len = Sqrt(px * px + py * py + pz * pz);
            a += Abs(len - pa);
            pa = len;
        }
        if (r > 6) fade *= 1.0f - Max0(0.3f - a * a * 0.001f);
        a = a * a * a;
        vx += fade + s * a * 0.0015f * fade;
        vy += fade + s * s * a * 0.0015f * fade;
        vz += fade + s * s * s * s * a * 0.0015f * fade;
        s += 0.1f;
        fade *= 0.73f;
    }
    const T l = Sqrt(vx * vx + vy * vy + vz * vz) * (1.0f - 0.85f);
    return {(vx * 0.85f + l) * 0.01f, (vy * 0.85f + l) * 0.01f, (vz * 0.85f + l) * 0.01f};
}

class CPixelShaderToy_StarNest final : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const auto c = StarNestShade(static_cast<float>(x), FragY(y), params[0]);
        return ShaderPixel({c.r, c.g, c.b});
    }

    void ComputeRow(uint32_t y, uint32_t x0, uint32_t count, uint32_t* out) const override {
        using lanes::Floats;
        const Floats fy(FragY(y));
        for (uint32_t i = 0; i < count; i += Floats::size()) {
            // Lanes past the end of the row repeat its last pixel and are dropped.
            const Floats fx([&](auto k) {
                return static_cast<float>(x0 + std::min<uint32_t>(i + k, count - 1));
            });
            const auto c = StarNestShade(fx, fy, params[0]);
            for (uint32_t k = 0; k < Floats::size() && i + k < count; ++k)
                out[i + k] = ShaderPixel({c.r[k], c.g[k], c.b[k]});
        }
    }

private:
    static float FragY(uint32_t y) { return 768.0f - static_cast<float>(y); }
};

// =============================================================================================
// "ShaderToy WaterCaustic": a point fed back through sines and cosines five times; where the
// iterates bunch up, light gathers as on the floor of a pool.
// =============================================================================================

struct WaterCaustic {
    float time = 0.0f;
    void Setup(const float* params) { time = params[0]; }

    vec3 Shade(vec2 frag) const {
        constexpr float kTwoPi = 6.283185f, kIntensity = 0.005f;
        const float px = std::fmod(frag.x / 1024.0f * kTwoPi, kTwoPi) - 250.0f;
        const float py = std::fmod(frag.y / 768.0f * kTwoPi, kTwoPi) - 250.0f;
        vec2 i{px, py};
        float c = 1.0f;
        for (int n = 1; n <= 5; ++n) {
            const float t = (1.0f - 3.5f / static_cast<float>(n)) * (time * 0.5f + 23.0f);
            i = {std::cos(t - i.x) + std::sin(t + i.y) + px,
                 std::sin(t - i.y) + std::cos(t + i.x) + py};
            const float dx = px / (std::sin(i.x + t) / kIntensity);
            const float dy = py / (std::cos(i.y + t) / kIntensity);
            c += 1.0f / std::sqrt(dx * dx + dy * dy);
        }
        c /= 5.0f;
        const float k = std::pow(std::fabs(1.17f - std::pow(c, 1.4f)), 8.0f);
        return {saturate(k), saturate(k + 0.35f), saturate(k + 0.5f)};
    }
};

// =============================================================================================
// "ShaderToy NoiseImage": four noises side by side, split at 512 both ways: sine-hash value
// noise (top left), texture value noise (top right), and their fbm below. Parameters "Scale"
// and "Z"; no time.
// =============================================================================================

// Trilinear value noise over the corner hash fract(sin(m + k) * 753.5453) of the lattice term
// m = ix + 157 iy + 113 iz.
float SineValueNoise(vec3 p) {
    const vec3 i = floor(p), f = p - i;
    const vec3 w = f * f * (3.0f - 2.0f * f);
    const float m = i.x + 157.0f * i.y + 113.0f * i.z;
    auto h = [m](float k) {
        const float s = static_cast<float>(std::sin(static_cast<double>(m + k))) * 753.5453f;
        return s - std::floor(s);
    };
    auto plane = [&](float k) {
        return mix(mix(h(k), h(k + 1.0f), w.x), mix(h(k + 157.0f), h(k + 158.0f), w.x), w.y);
    };
    return mix(plane(0.0f), plane(113.0f), w.z);
}

// The texture's smooth sampler on its first plane.
float TexturePlaneNoise(float x, float y) { return texture::TexNoise2(x, y); }

// The texture noise with the texture's smooth sampler, which fades the cell weights again.
float TextureValueNoise(vec3 p) { return Noise<TexturePlaneNoise>(p); }

template <float (*N)(vec3)>
float NoiseImageFbm(vec3 p) {
    auto rotate = [](vec3 q) {
        return vec3{0.8f * q.y + 0.6f * q.z, -0.8f * q.x + 0.36f * q.y - 0.48f * q.z,
                    -0.6f * q.x - 0.48f * q.y + 0.64f * q.z};
    };
    float f = 0.5f * N(p);
    p = rotate(p) * 2.01f;
    f += 0.25f * N(p);
    p = rotate(p) * 2.02f;
    f += 0.125f * N(p);
    p = rotate(p) * 2.03f;
    f += 0.0625f * N(p);
    return f;
}

class CPixelShaderToy_NoiseImage final : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float scale = params[0];
        const vec3 p{scale * static_cast<float>(x), scale * static_cast<float>(y), params[1]};
        float n;
        if (y < 512)
            n = x < 512 ? SineValueNoise(p) : TextureValueNoise(p);
        else
            n = x < 512 ? NoiseImageFbm<SineValueNoise>(p) : NoiseImageFbm<TextureValueNoise>(p);
        return Grey(WeightByte(n));
    }
};

constexpr EquationClass kMembers[] = {
    {"CPixelShaderToy_StarNest", CreatePixelEquation<CPixelShaderToy_StarNest>},
    {"CPixelShaderToy_WaterCaustic", CreatePixelEquation<CShaderToyEquation<WaterCaustic>>},
    {"CPixelShaderToy_NoiseImage", CreatePixelEquation<CPixelShaderToy_NoiseImage>},
};

}  // namespace

std::span<const EquationClass> ShaderExactMembers() { return kMembers; }

}  // namespace luneth::shader
