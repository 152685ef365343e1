// Shader-style members of pattern and abstraction: "ShaderToy Noise", "ShaderToy NoiseBlur",
// "ShaderToy Simplicity", "ShaderToy FFT_Domain", "ShaderToy Eye".
//
// Index of this file:
//   Noise          fbm warped by fbm warped by fbm, in marbled colours
//   NoiseBlur      light streaming in rays between noise clouds (a radial blur)
//   Simplicity     layers of cut paper in calm colours, waving slowly
//   FFT_Domain     21 complex functions coloured by argument and modulus
//   Eye            a fixed cosine series that draws an eye
#include <array>
#include <cmath>
#include <complex>
#include <vector>

#include "equations/ShaderEquation.h"

namespace luneth::shader {

namespace {

// =============================================================================================
// "ShaderToy Noise": noise feeding its own coordinates twice over, so that the fbm folds into
// marbled veins; the two intermediate warps tint the colour. Time moves the inner warp.
// =============================================================================================

struct NoiseArt {
    float time = 0.0f;
    void Setup(const float* params) { time = ShaderTime(params[0]); }

    vec3 Shade(vec2 frag) const {
        const vec2 p = ScreenPoint(frag) * 2.2f;
        const float slow = time * 0.05f;
        const vec2 q{Fbm(p + vec2{0.0f, slow}, 5), Fbm(p + vec2{5.2f, 1.3f - slow}, 5)};
        const vec2 r{Fbm(p + q * 4.0f + vec2{1.7f + slow, 9.2f}, 5),
                     Fbm(p + q * 4.0f + vec2{8.3f, 2.8f + slow * 0.7f}, 5)};
        const float f = Fbm(p + r * 4.0f, 5);
        // Deep blue where the warps are weak, teal and gold where they fold hard, cream veins.
        const float fold = saturate((f - 0.3f) * 2.5f);
        vec3 colour =
            mix(vec3{0.03f, 0.06f, 0.22f}, vec3{0.05f, 0.55f, 0.6f}, smoothstep(0.35f, 0.7f, q.x));
        colour = mix(colour, vec3{1.0f, 0.58f, 0.12f}, smoothstep(0.45f, 0.75f, r.y) * fold);
        colour = mix(colour, vec3{0.75f, 0.15f, 0.35f}, smoothstep(0.6f, 0.8f, q.y) * 0.6f);
        colour = mix(colour, vec3{1.0f, 0.95f, 0.85f}, smoothstep(0.62f, 0.8f, f) * 0.8f);
        return colour * (0.35f + 1.0f * fold);
    }
};

// =============================================================================================
// "ShaderToy NoiseBlur": a light behind drifting noise clouds; the light that gets through
// is blurred along the lines to its centre, so it streams out in rays between the clouds.
// Time moves the clouds.
// =============================================================================================

struct NoiseBlur {
    static constexpr int kSamples = 18;
    float time = 0.0f;
    void Setup(const float* params) { time = ShaderTime(params[0]); }

    float Cloud(vec2 p, int octaves) const {
        return smoothstep(0.4f, 0.55f, Fbm(p * 4.0f + vec2{time * 0.04f, 0.0f}, octaves));
    }
    static float Source(vec2 p) { return std::exp(-length(p) * 9.0f) * 5.0f; }

    vec3 Shade(vec2 frag) const {
        const vec2 p = ScreenPoint(frag) - vec2{0.05f, 0.08f};
        // The light getting through, averaged along the line to the centre (the clouds there
        // are blurred anyway, so they take fewer octaves).
        float rays = 0.0f, weight = 1.0f, total = 0.0f;
        const float jitter = 0.5f * Hash(frag);
        for (int i = 0; i < kSamples; ++i) {
            const vec2 q = p * (1.0f - 0.045f * (static_cast<float>(i) + jitter));
            rays += Source(q) * (1.0f - Cloud(q, 3)) * weight;
            total += weight;
            weight *= 0.93f;
        }
        rays /= total;
        const float cloud = Cloud(p, 5);
        // Dark violet clouds silvered where they face the light, a deep evening sky around a
        // golden glow.
        const vec3 sky = vec3{0.05f, 0.06f, 0.2f} + vec3{1.0f, 0.62f, 0.3f} * Source(p);
        const float rim = cloud * (1.0f - Cloud(p * 0.97f, 5)) * Source(p) * 3.0f;
        vec3 colour = mix(
            sky, vec3{0.1f, 0.06f, 0.14f} + vec3{0.3f, 0.15f, 0.1f} * (Source(p) * 0.3f), cloud);
        colour += vec3{1.0f, 0.78f, 0.5f} * (rim + rays * 1.3f);
        return ToneMap(colour, 1.4f);
    }
};

// =============================================================================================
// "ShaderToy Simplicity": a few layers of cut paper, each edge a slow wave, stacked from pale
// at the back to deep at the front, each casting a soft shadow on the one behind.
// =============================================================================================

struct Simplicity {
    static constexpr int kLayers = 6;
    float time = 0.0f;
    void Setup(const float* params) { time = ShaderTime(params[0]); }

    // Height of the edge of layer i at x.
    float Edge(int i, float x) const {
        const float k = static_cast<float>(i);
        return 0.32f - 0.13f * k +
               0.05f * std::sin(x * (2.0f + 0.7f * k) + time * (0.3f + 0.1f * k) + k * 1.7f) +
               0.025f * std::sin(x * (5.0f + k) - time * 0.2f + k);
    }

    vec3 Shade(vec2 frag) const {
        const vec2 p = ScreenPoint(frag);
        const vec3 back{0.96f, 0.91f, 0.84f};
        const vec3 front{0.12f, 0.22f, 0.35f};
        vec3 colour = back;
        // A pale sun behind everything.
        colour = mix(colour, vec3{0.98f, 0.7f, 0.55f},
                     smoothstep(0.075f, 0.07f, length(p - vec2{0.27f, 0.37f})));
        for (int i = 0; i < kLayers; ++i) {
            const float gap = p.y - Edge(i, p.x);
            const float t = static_cast<float>(i) / (kLayers - 1);
            const vec3 paper = mix(vec3{0.93f, 0.66f, 0.55f}, front, std::pow(t, 0.8f)) *
                               (0.97f + 0.03f * Noise(p * 300.0f));  // paper grain
            // The shadow this layer throws on what lies behind it, just above its edge.
            colour *= 1.0f - 0.35f * std::exp(-std::max(gap, 0.0f) * 45.0f) * step(0.0f, gap);
            colour = mix(colour, paper, smoothstep(0.0015f, -0.0015f, gap));
        }
        return colour;
    }
};

// =============================================================================================
// "ShaderToy FFT_Domain": a complex function of the picture plane (-2 .. 2 both ways) shown by
// domain colouring: hue for the argument, shading rings for powers of two of the modulus and
// faint lines where the real and imaginary parts are whole. "Type" picks one of 21 functions;
// time turns a parameter a = e^(i t / 4) that each of them uses.
// =============================================================================================

using Complex = std::complex<float>;

Complex DomainFunction(int type, Complex z, Complex a) {
    switch (type) {
        case 0: {
            const Complex w = z - Complex{1.0f, 1.0f};  // three zeros (one double), two poles
            return (z * z - a) * w * w / (z * z + Complex{2.0f, 2.0f});
        }
        case 1:
            return z * z + a * 0.5f;
        case 2:
            return z * z * z - a;
        case 3:
            return (z * z - a) / (z * z + 1.0f);
        case 4:
            return std::sin(z * a);
        case 5:
            return std::cos(z) + a * 0.5f;
        case 6:
            return std::tan(z * a);
        case 7:
            return std::exp(z * a);
        case 8:
            return std::log(z * a);
        case 9:
            return a / z;
        case 10:
            return std::sqrt(z * a);
        case 11:
            return std::exp(z * std::log(z + a * 0.3f));
        case 12:
            return std::sin(a / z);
        case 13: {
            const Complex c = a * 0.6f;  // a Blaschke factor: a zero at c, a pole at 1 / conj(c)
            return (z - c) / (1.0f - std::conj(c) * z);
        }
        case 14:
            return z * z * z * z * z - z * a;
        case 15:
            return std::exp(a / z);
        case 16:
            return z + a / z;
        case 17:
            return std::sinh(z) * a;
        case 18: {
            Complex f = 1.0f;  // roots on a turning circle
            for (int k = 0; k < 5; ++k)
                f *= z - a * std::polar(1.2f, kTau * static_cast<float>(k) / 5.0f);
            return f;
        }
        case 19: {
            Complex w = z;  // three steps of the quadratic map
            for (int k = 0; k < 3; ++k) w = w * w + z * a;
            return w;
        }
        default: {
            Complex sum = 0.0f;  // the first terms of sum n^-z, turned by a
            for (int n = 1; n <= 12; ++n)
                sum += std::exp(-(z * 2.0f + a) * std::log(static_cast<float>(n)));
            return sum;
        }
    }
}

struct FftDomain {
    int type = 0;
    Complex a{1.0f, 0.0f};

    void Setup(const float* params) {
        a = std::polar(1.0f, ShaderTime(params[0]) * 0.25f);
        const float t = params[1];
        type = t >= 0.0f && t <= 20.0f ? static_cast<int>(t) : 0;
    }

    vec3 Shade(vec2 frag) const {
        const vec2 p = ScreenPoint(frag, 1024.0f) * 4.0f;
        const Complex f = DomainFunction(type, {p.x, p.y}, a);
        const float re = f.real(), im = f.imag();
        if (!std::isfinite(re) || !std::isfinite(im)) return {1.0f, 1.0f, 1.0f};
        const float hue = std::atan2(im, re) / kTau;
        vec3 colour = Palette(hue, vec3{0.5f, 0.5f, 0.5f}, vec3{0.5f, 0.5f, 0.5f},
                              vec3{1.0f, 1.0f, 1.0f}, vec3{0.0f, 0.33f, 0.67f});
        const float modulus = std::sqrt(re * re + im * im);
        const float rings = fract(std::log2(std::max(modulus, 1e-20f)));
        colour *= 0.65f + 0.35f * rings;
        const float lines = std::max(smoothstep(0.035f, 0.0f, std::fabs(fract(re + 0.5f) - 0.5f)),
                                     smoothstep(0.035f, 0.0f, std::fabs(fract(im + 0.5f) - 0.5f)));
        colour =
            mix(colour, vec3{0.1f, 0.1f, 0.1f}, lines * 0.25f * smoothstep(40.0f, 4.0f, modulus));
        return colour;
    }
};

// =============================================================================================
// "ShaderToy Eye": a cosine series sum c[k][l] cos(k pi u) cos(l pi v) for k, l up to 94, one
// set of coefficients a colour channel, in u = x / width and v = 1 - y / height. The
// coefficients are the cosine transform of an eye drawn once here (iris with its fibres,
// pupil, light, lids, lashes and brow), softened so that the sum does not ring at edges.
// =============================================================================================

constexpr int kTerms = 95;            // k = 0 .. 94
constexpr int kSamples = 2 * kTerms;  // drawing samples each way

// The drawn eye at (u, v) in [0, 1]^2, v upwards, for a 4:3 picture.
vec3 DrawnEye(float u, float v) {
    const float x = (u - 0.5f) * 1.3333f, y = v - 0.5f;
    vec3 skin = mix(vec3{0.78f, 0.56f, 0.46f}, vec3{0.9f, 0.7f, 0.6f}, 1.0f - std::fabs(y) * 1.6f);
    skin *= 0.92f + 0.08f * Noise(vec2{x, y} * 60.0f);
    // Brow: a band of slanted hairs above the eye.
    const float browY = 0.33f - 0.35f * x * x + 0.03f * x;
    const float brow = smoothstep(0.05f, 0.02f, std::fabs(y - browY)) *
                       smoothstep(0.52f, 0.35f, std::fabs(x + 0.03f));
    const float hairs = 0.5f + 0.5f * std::sin((x * 3.0f + (y - browY) * 1.2f) * 160.0f);
    skin = mix(skin, vec3{0.22f, 0.14f, 0.1f}, brow * (0.55f + 0.4f * hairs));

    const float span = 0.44f, t = saturate(1.0f - (x / span) * (x / span));
    const float upper = 0.05f + 0.17f * t + 0.02f * x, lower = 0.02f - 0.15f * t;
    // The crease of the upper lid and the shadow under it.
    skin *= 1.0f - 0.25f * smoothstep(0.03f, 0.0f, std::fabs(y - upper - 0.07f * t - 0.01f)) * t;
    if (y > upper || y < lower || t <= 0.0f) {
        if (t <= 0.0f) return skin;
        // Lashes: dark strokes curving up and outwards from the upper lid.
        const float above = y - upper, length = 0.07f * std::sqrt(t) + 0.005f;
        if (above > 0.0f && above < length) {
            const float bend = x + above * above * 10.0f * (x > 0.0f ? 1.0f : -1.0f);
            const float lash = smoothstep(0.32f, 0.1f, std::fabs(fract(bend * 19.0f) - 0.5f));
            skin = mix(skin, vec3{0.04f, 0.03f, 0.03f}, lash * (1.0f - above / length));
        }
        // The rims of both lids.
        skin = mix(skin, vec3{0.05f, 0.03f, 0.03f},
                   smoothstep(0.022f, 0.0f, std::fabs(y - upper)) * std::sqrt(t));
        skin = mix(skin, vec3{0.55f, 0.35f, 0.32f},
                   smoothstep(0.012f, 0.0f, std::fabs(y - lower)) * t * 0.7f);
        return skin;
    }
    // The eyeball: white, rosy towards the corners, shaded under the upper lid.
    vec3 eye = mix(vec3{0.95f, 0.93f, 0.9f}, vec3{0.85f, 0.55f, 0.5f},
                   smoothstep(0.25f, 0.44f, std::fabs(x)));
    eye *= 1.0f - 0.4f * smoothstep(0.06f, 0.0f, upper - y);
    const vec2 c{0.02f, 0.03f};
    const vec2 d = vec2{x, y} - c;
    const float r = length(d);
    constexpr float kIris = 0.14f, kPupil = 0.05f;
    if (r < kIris) {
        // Iris: fibres streaming out from the pupil, amber inside, a dark rim outside.
        const float angle = std::atan2(d.y, d.x);
        const float fibres = Noise(vec2{angle * 28.0f, r * 25.0f});
        vec3 iris = mix(vec3{0.15f, 0.35f, 0.45f}, vec3{0.35f, 0.6f, 0.65f}, fibres);
        iris = mix(vec3{0.55f, 0.4f, 0.15f}, iris, smoothstep(0.06f, 0.085f, r));
        iris *= 1.0f - 0.6f * smoothstep(0.11f, kIris, r);
        iris *= 1.0f - 0.45f * smoothstep(0.05f, 0.0f, upper - y);
        eye = r < kPupil ? vec3{0.02f, 0.02f, 0.025f} : iris;
    }
    // The window reflected in the cornea.
    eye = mix(eye, vec3{1.0f, 1.0f, 1.0f},
              smoothstep(0.028f, 0.018f, length(d - vec2{-0.045f, 0.045f})));
    return eye;
}

// The coefficients, computed once: c[channel][k][l], softened by sigma factors
// sinc(k / kTerms) sinc(l / kTerms) against ringing.
using EyeCoefficients = std::array<std::array<std::array<float, kTerms>, kTerms>, 3>;

const EyeCoefficients& EyeSeries() {
    static const EyeCoefficients table = [] {
        std::vector<double> basis(kTerms * kSamples);  // cos(k pi (i + 1/2) / kSamples)
        for (int k = 0; k < kTerms; ++k)
            for (int i = 0; i < kSamples; ++i)
                basis[k * kSamples + i] = std::cos(3.14159265358979 * k * (i + 0.5) / kSamples);
        auto sigma = [](int k) {
            const double z = 3.14159265358979 * k / kTerms;
            return k == 0 ? 1.0 : std::sin(z) / z;
        };
        EyeCoefficients out{};
        std::vector<double> picture(kSamples * kSamples), half(kTerms * kSamples);
        for (int ch = 0; ch < 3; ++ch) {
            for (int j = 0; j < kSamples; ++j)
                for (int i = 0; i < kSamples; ++i) {
                    const vec3 c = DrawnEye((i + 0.5f) / kSamples, (j + 0.5f) / kSamples);
                    picture[j * kSamples + i] = ch == 0 ? c.x : ch == 1 ? c.y : c.z;
                }
            // Transform along u, then along v.
            for (int k = 0; k < kTerms; ++k)
                for (int j = 0; j < kSamples; ++j) {
                    double s = 0.0;
                    for (int i = 0; i < kSamples; ++i)
                        s += picture[j * kSamples + i] * basis[k * kSamples + i];
                    half[k * kSamples + j] = s;
                }
            for (int k = 0; k < kTerms; ++k)
                for (int l = 0; l < kTerms; ++l) {
                    double s = 0.0;
                    for (int j = 0; j < kSamples; ++j)
                        s += half[k * kSamples + j] * basis[l * kSamples + j];
                    const double norm =
                        (k ? 2.0 : 1.0) * (l ? 2.0 : 1.0) / (double(kSamples) * kSamples);
                    out[ch][k][l] = static_cast<float>(s * norm * sigma(k) * sigma(l));
                }
        }
        return out;
    }();
    return table;
}

class CPixelShaderToy_Eye final : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        RowSums sums;
        SumRow(y, sums);
        return Colour(sums, x);
    }

    void ComputeRow(uint32_t y, uint32_t x0, uint32_t count, uint32_t* out) const override {
        RowSums sums;
        SumRow(y, sums);
        for (uint32_t i = 0; i < count; ++i) out[i] = Colour(sums, x0 + i);
    }

private:
    // b[channel][k] = sum over l of c[channel][k][l] cos(l pi v), for one row.
    using RowSums = std::array<std::array<float, kTerms>, 3>;

    // cos(k pi t) for k = 0 .. kTerms - 1, by the recurrence cos((k+1)a) = 2 cos a cos ka -
    // cos((k-1)a).
    static void Cosines(double t, std::array<float, kTerms>& out) {
        const double c1 = std::cos(3.14159265358979 * t);
        double previous = 1.0, current = c1;
        out[0] = 1.0f;
        for (int k = 1; k < kTerms; ++k) {
            out[k] = static_cast<float>(current);
            const double next = 2.0 * c1 * current - previous;
            previous = current, current = next;
        }
    }

    void SumRow(uint32_t y, RowSums& sums) const {
        const EyeCoefficients& c = EyeSeries();
        std::array<float, kTerms> cv;
        Cosines(1.0 - static_cast<double>(y) / height, cv);
        for (int ch = 0; ch < 3; ++ch)
            for (int k = 0; k < kTerms; ++k) {
                float s = 0.0f;
                for (int l = 0; l < kTerms; ++l) s += c[ch][k][l] * cv[l];
                sums[ch][k] = s;
            }
    }

    uint32_t Colour(const RowSums& sums, uint32_t x) const {
        std::array<float, kTerms> cu;
        Cosines(static_cast<double>(x) / width, cu);
        float rgb[3];
        for (int ch = 0; ch < 3; ++ch) {
            float s = 0.0f;
            for (int k = 0; k < kTerms; ++k) s += sums[ch][k] * cu[k];
            rgb[ch] = s;
        }
        return ShaderPixel({rgb[0], rgb[1], rgb[2]});
    }
};

constexpr EquationClass kMembers[] = {
    {"CPixelShaderToy_Noise", CreatePixelEquation<CShaderToyEquation<NoiseArt>>},
    {"CPixelShaderToy_NoiseBlur", CreatePixelEquation<CShaderToyEquation<NoiseBlur>>},
    {"CPixelShaderToy_Simplicity", CreatePixelEquation<CShaderToyEquation<Simplicity>>},
    {"CPixelShaderToy_FFT_Domain", CreatePixelEquation<CShaderToyEquation<FftDomain, 1024>>},
    {"CPixelShaderToy_Eye", CreatePixelEquation<CPixelShaderToy_Eye>},
};

}  // namespace

std::span<const EquationClass> ShaderPatternMembers() { return kMembers; }

}  // namespace luneth::shader
