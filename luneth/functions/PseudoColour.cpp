// Pseudo-colour ramps: maps t -> colour word for false-colour pictures.
//
//   pseudo_snow, _sky, _flame, _terrain, _gt_tech, _gt_fire   closed-form ramps over [0, 1]
//   pseudo_rainbow                                 keyed gradient over fract(t) (it repeats)
//   pseudo_pyroclastic, _gt_sky, _gt_desert, _gt_electric, _gt_neon, _gt_heatmap, _gt_rainbow
//                                                  keyed gradients over [0, 1]
//   pseudo_lava, pseudo_frozen                     power curves of k / t (t at least 0.00001)
//   pseudo_fire                                    black-body glow at T = 1300 t + 1400 kelvin
//   pseudo_blackbody                               black body at T = 10000 t kelvin, dark below
//                                                  1000 K and black for t <= 0
//   pseudo_temperature                             black-body ramp over T = clamp(128 t, 10, 400)
//                                                  hundreds of kelvin: red below 2000 K, orange
//                                                  near 3000 K, white at 6600 K, blue beyond
//   pseudo_hot_metal, pseudo_zxlove                integer band ramps on the byte of t
//   pseudo_color                                   three smooth waves a third of a turn apart
//   pseudo_sin(t, a, b, c)                         (sin(a t), sin(b t), sin(c t)), negatives as 0
//   pseudo_sin_ex(t, f, p, s)                      0.5 + 0.5 sin(f t + p + k s) for channel k
//
// Edges: the ramps made for [0, 1] hold their end colours outside it (t is clamped first, NaN
// reads as 0), so no fractional power ever sees a negative base and no input gives a NaN word.
#include <cmath>

#include "functions/ColourMath.h"
#include "functions/Families.h"

namespace luneth {

namespace {

using colour::Gradient;
using colour::Mix;
using colour::Pack;
using colour::Rgb;
using colour::Smoothstep;
using colour::Unit;

// ---- closed-form ramps over [0, 1] -------------------------------------------------------------

float PseudoSnow(float t) {
    return Pack(Mix({0.08f, 0.088f, 0.096f}, {0.8f, 0.8f, 0.88f}, Unit(t)));
}

float PseudoSky(float t) {
    t = Unit(t);
    return Pack({t * t * t, std::pow(t, 1.2f), 0.3f * t + 0.7f});
}

float PseudoFlame(float t) {
    t = Unit(t);
    const float s = t * t * (3.0f - 2.0f * t), s2 = s * s;
    return Pack({(s + 0.8f) * s, (1.4f * s2 + 0.1f) * s, 0.7f * s2 * s2});
}

float PseudoGtTech(float t) {
    const float u = Unit(t) + 0.01f;
    return Pack({std::pow(u, 120.0f), std::pow(u, 10.0f), std::pow(u, 180.0f)});
}

float PseudoGtFire(float t) {
    t = Unit(t);
    const float f = 0.06f * std::pow(std::fmax(0.0f, 1.0f - std::fabs(t - 0.35f)), 5.0f);
    const float s = std::fmin(1.02f * t, 1.0f);
    return Pack({std::fmax(std::pow(s, 1.7f), f), std::fmax(std::pow(s, 25.0f), f),
                 std::fmax(std::pow(s, 100.0f), f)});
}

// Deep water to shallows, then a coast line at 0.4: sand, grass, forest, rock from 0.64 upward,
// snow over 0.84 .. 0.92.
float PseudoTerrain(float t) {
    t = Unit(t);
    if (t < 0.4f)
        return Pack(Mix({0.0f, 0.05f, 0.25f}, {0.1f, 0.45f, 0.65f}, Smoothstep(0.0f, 0.4f, t)));
    Vec3 c = Mix({0.85f, 0.78f, 0.55f}, {0.22f, 0.5f, 0.15f}, Smoothstep(0.4f, 0.46f, t));
    c = Mix(c, {0.1f, 0.32f, 0.08f}, Smoothstep(0.5f, 0.62f, t));
    c = Mix(c, {0.45f, 0.4f, 0.35f}, Smoothstep(0.64f, 0.78f, t));
    return Pack(Mix(c, {0.95f, 0.96f, 1.0f}, Smoothstep(0.84f, 0.92f, t)));
}

// ---- keyed gradients ----------------------------------------------------------------------------

constexpr Gradient kRainbow = {
    7,
    {0.0f, 0.16f, 0.32f, 0.48f, 0.64f, 0.8f, 0.95f},
    {0xFF0000, 0xFF8000, 0xFFFF00, 0x00C000, 0x0080FF, 0x4B0082, 0x9400D3}};

// Ash, cooled crust, then glowing rock from deep red to yellow-white.
constexpr Gradient kPyroclastic = {
    7,
    {0.0f, 0.25f, 0.45f, 0.62f, 0.78f, 0.9f, 1.0f},
    {0x5A5550, 0x2A2624, 0x6E0A02, 0xC42A04, 0xF47A12, 0xFFC845, 0xFFF2B0}};

constexpr Gradient kGtGradients[] = {
    // sky: night, deep blue, day blue, pale horizon, haze
    {5, {0.0f, 0.3f, 0.55f, 0.8f, 1.0f}, {0x040A1E, 0x123C8C, 0x3C8CDC, 0xA0D2F0, 0xF0F8FF}},
    // desert: dark earth, rust, ochre, sand, bleached sand
    {5, {0.0f, 0.3f, 0.6f, 0.85f, 1.0f}, {0x3C2010, 0x9A4E22, 0xD79A55, 0xEDCF96, 0xFFF4DC}},
    // electric: black, violet, electric blue, cyan, white
    {5, {0.0f, 0.35f, 0.65f, 0.85f, 1.0f}, {0x000000, 0x2A0A6E, 0x1E64FF, 0x3CF0FF, 0xFFFFFF}},
    // neon: near black, pink, violet, cyan, green
    {5, {0.0f, 0.25f, 0.5f, 0.75f, 1.0f}, {0x0A0014, 0xFF1493, 0x8A2BE2, 0x00FFFF, 0x39FF14}},
    // heat map: blue, cyan, green, yellow, red
    {5, {0.0f, 0.25f, 0.5f, 0.75f, 1.0f}, {0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000}},
    // rainbow: violet to red, without wrapping
    {6,
     {0.0f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f},
     {0x8000FF, 0x0000FF, 0x00FF00, 0xFFFF00, 0xFF8000, 0xFF0000}},
};

float PseudoRainbow(float t) { return Pack(kRainbow.Sample(t - std::floor(t))); }

float PseudoPyroclastic(float t) { return Pack(kPyroclastic.Sample(t)); }

template <int kIndex>
float PseudoGt(float t) {
    return Pack(kGtGradients[kIndex].Sample(t));
}

// ---- power curves of k / t ----------------------------------------------------------------------

float AtLeastTiny(float t) { return t >= 0.00001f ? t : 0.00001f; }  // NaN too

float PseudoLava(float t) {
    t = AtLeastTiny(t);
    return Pack({std::pow(0.2f / t, 1.4f), std::pow(0.07f / t, 1.4f), std::pow(0.01f / t, 1.4f)});
}

float PseudoFrozen(float t) {
    t = AtLeastTiny(t);
    return Pack({1.0f - std::pow(0.45f / t, 1.45f), 1.0f - std::pow(0.44f / t, 1.44f), 1.0f});
}

// ---- black bodies -------------------------------------------------------------------------------

// Each channel: 1 - exp(-5e8 / (l^5 (exp(143876.72 / (l T)) - 1))) with the wavelength l in
// hundreds of nanometres. Far below t = 0 the temperature turns non-positive and the exponentials
// saturate, which gives black.
float PseudoFire(float t) {
    constexpr float kWavelength[3] = {7.4f, 5.6f, 4.4f};
    const float temperature = 1300.0f * t + 1400.0f;
    Vec3 c;
    for (int k = 0; k < 3; ++k) {
        const float l = kWavelength[k], l5 = l * l * l * l * l;
        c[k] = 1.0f - std::exp(-5e8f / (l5 * (std::exp(143876.72f / (l * temperature)) - 1.0f)));
    }
    return Pack(c);
}

float PseudoBlackbody(float t) {
    const float temperature = 10000.0f * t;
    if (!(temperature > 0.0f)) return Pack({0.0f, 0.0f, 0.0f});
    const float inv15 = 1.0f / (temperature * std::sqrt(temperature));  // T^-1.5
    const float lnT = std::log(temperature);
    Vec3 c = {5.61e7f * inv15 + 148.0f,
              temperature > 6500.0f ? 3.52e7f * inv15 + 184.0f : 100.04f * lnT - 623.6f,
              194.18f * lnT - 1448.6f};
    c = Map(c, [](float v) { return Clamp(v, 0.0f, 255.0f) / 255.0f; });
    if (temperature < 1000.0f) c = c * (temperature / 1000.0f);  // fades to black when cold
    return Pack(c);
}

// The usual black-body approximation in hundreds of kelvin: up to 6600 K red is full and green
// rises with ln T, from 6600 K on blue is full; blue rises with ln(T - 10) from 1900 K, and above
// 6600 K red and green fall off as powers of T - 60.
float PseudoTemperature(float t) {
    const float temperature = Clamp(128.0f * (t == t ? t : 0.0f), 10.0f, 400.0f);
    const float hot = temperature - 60.0f;
    const bool warm = temperature <= 66.0f;
    return Pack({warm ? 1.0f : 1.2929362f * std::pow(hot, -0.13320475f),
                 warm ? 0.39008158f * std::log(temperature) - 0.6318414f
                      : 1.1298909f * std::pow(hot, -0.07551485f),
                 temperature >= 66.0f   ? 1.0f
                 : temperature <= 19.0f ? 0.0f
                                        : 0.5432068f * std::log(temperature - 10.0f) - 1.1962541f});
}

// ---- integer band ramps -------------------------------------------------------------------------

int ClampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

float BytesWord(int r, int g, int b) {
    return ColorWordFromRgb(
        static_cast<uint32_t>(ClampByte(r) << 16 | ClampByte(g) << 8 | ClampByte(b)));
}

float PseudoHotMetal(float t) {
    const int i = static_cast<int>(ChannelByte(t));
    const int blue = i <= 55 ? 4 * i : i <= 118 ? 385 - 3 * i : i <= 235 ? 0 : 10 * i - 2350;
    return BytesWord(3 * i - 156, 2 * i - 216, blue);
}

// Blue, cyan, green, yellow, red in four bands of 64.
float PseudoZxlove(float t) {
    if (!(t >= 0.0f)) return ColorWordFromRgb(0x0000FF);
    if (t > 1.0f) return ColorWordFromRgb(0xFF0000);
    const int i = static_cast<int>(255.0f * t);
    if (i < 64) return BytesWord(0, 4 * i, 255);
    if (i < 128) return BytesWord(0, 255, 255 - 4 * (i - 64));
    if (i < 192) return BytesWord(4 * (i - 128), 255, 0);
    return BytesWord(255, 255 - 4 * (i - 192), 0);
}

// ---- waves --------------------------------------------------------------------------------------

// Each channel is a parabola 1 - 9 d^2 of its distance d (on the circle of t) from its phase.
float PseudoColor(float t) {
    constexpr float kPhase[3] = {0.25f, 0.5833f, 0.9167f};
    Vec3 c;
    for (int k = 0; k < 3; ++k) {
        const float u = t - kPhase[k] + 0.5f;
        const float d = std::fabs(u - std::floor(u) - 0.5f);
        c[k] = 1.0f - 9.0f * d * d;
    }
    return Pack(c);
}

float PseudoSin(float t, float a, float b, float c) {
    return Pack({std::sin(t * a), std::sin(t * b), std::sin(t * c)});
}

float PseudoSinEx(float t, float frequency, float phase, float spread) {
    const float x = frequency * t + phase;
    return Pack({0.5f + 0.5f * std::sin(x), 0.5f + 0.5f * std::sin(x + spread),
                 0.5f + 0.5f * std::sin(x + 2.0f * spread)});
}

constexpr BuiltinFunction kPseudoColours[] = {
    {"pseudo_frozen", PseudoFrozen},
    {"pseudo_snow", PseudoSnow},
    {"pseudo_sky", PseudoSky},
    {"pseudo_lava", PseudoLava},
    {"pseudo_fire", PseudoFire},
    {"pseudo_flame", PseudoFlame},
    {"pseudo_pyroclastic", PseudoPyroclastic},
    {"pseudo_terrain", PseudoTerrain},
    {"pseudo_rainbow", PseudoRainbow},
    {"pseudo_hot_metal", PseudoHotMetal},
    {"pseudo_zxlove", PseudoZxlove},
    {"pseudo_blackbody", PseudoBlackbody},
    {"pseudo_temperature", PseudoTemperature},
    {"pseudo_color", PseudoColor},
    {"pseudo_gt_tech", PseudoGtTech},
    {"pseudo_gt_fire", PseudoGtFire},
    {"pseudo_gt_sky", PseudoGt<0>},
    {"pseudo_gt_desert", PseudoGt<1>},
    {"pseudo_gt_electric", PseudoGt<2>},
    {"pseudo_gt_neon", PseudoGt<3>},
    {"pseudo_gt_heatmap", PseudoGt<4>},
    {"pseudo_gt_rainbow", PseudoGt<5>},
    {"pseudo_sin", PseudoSin},
    {"pseudo_sin_ex", PseudoSinEx},
};

}  // namespace

FunctionTable PseudoColourFunctions() { return kPseudoColours; }

}  // namespace luneth
