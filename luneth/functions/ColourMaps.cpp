// Colour words and colour maps: taking colours apart, cosine palettes, polynomial and table maps,
// HSV and hue wheels.
//
//   parse_red/green/blue(c)   one channel of the colour word c, byte * 0.003921569 (1/255)
//   parse_alpha(c)            alpha byte / 255, the opaque 254 read as 255 (so 1.0)
//   palette_iq01 .. 07(t)     channel k = a_k + b_k cos(6.28318 (c_k t + d_k)); period 1
//                             in t, or 2 where a c_k is 0.5
//   quintic_viridis, _inferno, _magma, _plasma(t)
//                             degree-5 polynomial fits of the well-known perceptual maps; t is not
//                             clamped, channels are (beyond [0, 1] they run off and saturate)
//   LUT_BlackBdy ... LUT_XRain(t)
//                             256-entry tables, entry truncate(255 t); t below 0 (and NaN) reads
//                             entry 0, above 1 entry 255
//   hsv_r/g/b(h, s, v)        plain numbers: v (1 + s (clamp(|fract(h + K) 6 - 3| - 1, 0, 1) - 1))
//   hsv2rgb(h, s, v)          those three as a colour word
//   cos_palette(t, a, b)      plain number 0.5 + 0.5 cos(6.28318 (t a + b))
//   pseudo_gt_hue(t)          hsv2rgb(t, 1, 1): the hue wheel
//   hueToRGB(deg)             six 60-degree sectors; outside 0 .. 360 (and NaN) pure red, which
//                             is where the wheel starts and ends
//   distance_color(d)         signed-distance visualisation: warm outside, cool inside, banded
//                             by distance, dark near the shape and a white edge at d = 0
//
// Every colour word carries alpha 0xFE; a NaN channel packs as 0, so no input gives a NaN word.
#include <array>
#include <cmath>
#include <cstdint>

#include "common/ColorWord.h"
#include "common/FloatConstants.h"
#include "functions/Families.h"

namespace luneth {

namespace {

constexpr float kTwoPi = 6.28318f;

// ---- channel parsers -------------------------------------------------------------------------

constexpr float kByteToUnit = 0.003921569f;  // slightly above 1/255: 255 reads as exactly 1

template <int kShift>
float ParseChannel(float c) {
    return static_cast<float>((BitsFromFloat(c) >> kShift) & 0xFFu) * kByteToUnit;
}

float ParseAlpha(float c) {
    uint32_t a = BitsFromFloat(c) >> 24;
    return static_cast<float>(a == kColorWordOpaqueAlpha ? 255u : a) * kByteToUnit;
}

// ---- cosine palettes ---------------------------------------------------------------------------

struct CosinePalette {
    float a[3], b[3], c[3], d[3];
};

constexpr CosinePalette kCosinePalettes[] = {
    {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 1.0f}, {0.0f, 0.33f, 0.67f}},
    {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 1.0f}, {0.0f, 0.1f, 0.2f}},
    {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 1.0f}, {0.3f, 0.2f, 0.2f}},
    {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 0.5f}, {0.8f, 0.9f, 0.3f}},
    {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 0.7f, 0.4f}, {0.0f, 0.15f, 0.2f}},
    {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {2.0f, 1.0f, 1.0f}, {0.5f, 0.2f, 0.25f}},
    {{0.8f, 0.5f, 0.4f}, {0.2f, 0.4f, 0.2f}, {2.0f, 1.0f, 1.0f}, {0.0f, 0.25f, 0.25f}},
};

template <int kIndex>
float PaletteIq(float t) {
    const CosinePalette& p = kCosinePalettes[kIndex];
    float ch[3];
    for (int k = 0; k < 3; ++k) ch[k] = p.a[k] + p.b[k] * std::cos(kTwoPi * (p.c[k] * t + p.d[k]));
    return MakeColorWord(ch[0], ch[1], ch[2]);
}

float CosPalette(float t, float a, float b) { return 0.5f + 0.5f * std::cos((t * a + b) * kTwoPi); }

// ---- quintic colour maps -----------------------------------------------------------------------

// Coefficients c0 .. c5 of red, green and blue.
using Quintic = float[3][6];

constexpr Quintic kQuinticMaps[] = {
    {// viridis
     {0.280268f, -0.1435105f, 2.225794f, -14.81509f, 25.21275f, -11.77259f},
     {-0.002117546f, 1.617109f, -1.909305f, 2.701153f, -1.685288f, 0.1787389f},
     {0.3008055f, 2.61465f, -12.01914f, 28.93356f, -33.49129f, 13.76205f}},
    {// inferno
     {-0.02778056f, 1.228188f, 0.2789069f, 3.892784f, -8.490713f, 4.069046f},
     {0.01406521f, 0.01536052f, 1.605396f, -4.821108f, 8.389314f, -4.193859f},
     {-0.01962839f, 3.12251f, -5.893222f, 2.79838f, -3.608885f, 4.324996f}},
    {// magma
     {-0.02322696f, 1.087154f, -0.1099647f, 6.333666f, -11.6406f, 5.337626f},
     {0.01068099f, 0.1766138f, 1.638227f, -6.743522f, 11.4264f, -5.523236f},
     {-0.008260782f, 2.244286f, 3.005588f, -24.27977f, 32.48431f, -12.68826f}},
    {// plasma
     {0.06386109f, 1.992659f, -1.023901f, -0.4908328f, 1.308442f, -0.914547f},
     {0.04971859f, -0.7911444f, 2.892305f, 0.8117268f, -4.686502f, 2.717794f},
     {0.5132758f, 1.580255f, -5.164414f, 4.559574f, -1.916811f, 0.5706388f}},
};

// The three channels side by side in one vector, by Estrin's scheme: three short chains of
// multiply-adds instead of one long one.
using Float4 = float __attribute__((vector_size(16)));

struct QuinticRows {
    Float4 c[6];  // c[i] = (red, green, blue, 0) coefficient of t^i
};

constexpr QuinticRows Transpose(const Quintic& q) {
    QuinticRows rows{};
    for (int i = 0; i < 6; ++i) rows.c[i] = Float4{q[0][i], q[1][i], q[2][i], 0.0f};
    return rows;
}

constexpr QuinticRows kQuinticRows[] = {Transpose(kQuinticMaps[0]), Transpose(kQuinticMaps[1]),
                                        Transpose(kQuinticMaps[2]), Transpose(kQuinticMaps[3])};

template <int kIndex>
float QuinticMap(float t) {
    const Float4* c = kQuinticRows[kIndex].c;
    const float t2 = t * t, t4 = t2 * t2;
    const Float4 p = (c[0] + c[1] * t) + t2 * (c[2] + c[3] * t) + t4 * (c[4] + c[5] * t);
    return MakeColorWord(p[0], p[1], p[2]);
}

// ---- look-up-table colour maps -----------------------------------------------------------------

// Each map is given by its colours (0xRRGGBB) at the entries below; the other entries follow a
// monotone cubic through them, channel by channel, so a channel never overshoots between two
// rows and the map has no kinks at the rows.
constexpr int kLutRowCount = 5;
constexpr int kLutRowEntries[kLutRowCount] = {0, 64, 128, 192, 255};

constexpr uint32_t kLutRows[][kLutRowCount] = {
    {0x000000, 0xC00000, 0xFF8100, 0xFFFF42, 0xFFFFFF},  // LUT_BlackBdy
    {0x49C103, 0x004AFF, 0x5A00A5, 0xFF6300, 0x49C103},  // LUT_Cardiac
    {0x20C8FF, 0x1313F4, 0x000000, 0xFF0200, 0xFFFFFF},  // LUT_Flow
    {0x000000, 0x017E7F, 0x8000FF, 0xFF8000, 0xFFFFFF},  // LUT_GE
    {0x000000, 0x70400B, 0xC08020, 0xEFC06D, 0xFFFFFF},  // LUT_Gold
    {0x000000, 0x800000, 0xFF0000, 0xFF8004, 0xFFFFFF},  // LUT_HotIron
    {0x000000, 0x0005FF, 0x05FF05, 0xFF5100, 0xA9FF56},  // LUT_NIH
    {0x00001F, 0x8D00D6, 0xEB4502, 0xFFC300, 0xFFFFFE},  // LUT_Fire
    {0x009C8C, 0x2DAEE7, 0xD25AF7, 0xFB4388, 0xE6001B},  // LUT_Ice
    {0x000000, 0x4200C0, 0x46A400, 0xFF902A, 0xFFFFFF},  // LUT_Rainramp
    {0xFF00FF, 0x0041FF, 0x00FF7D, 0xC3FF00, 0xFF0000},  // LUT_Spectrum
    {0x000000, 0x590000, 0xB30000, 0xFFB300, 0xFFFFFB},  // LUT_XHot
    {0x000000, 0x0000FF, 0x80FF00, 0xFFC000, 0xFF0300},  // LUT_XRain
};
constexpr int kLutCount = static_cast<int>(std::size(kLutRows));

using Lut = std::array<uint32_t, 256>;

constexpr float RowChannel(const uint32_t* rows, int row, int shift) {
    return static_cast<float>((rows[row] >> shift) & 0xFFu);
}

// Slope at a row: zero at a local extremum, else the harmonic mean of the neighbouring secants
// (never more than twice the smaller one, which keeps each piece monotone); one-sided at the ends.
constexpr float RowSlope(const float* secant, int row) {
    if (row == 0) return secant[0];
    if (row == kLutRowCount - 1) return secant[kLutRowCount - 2];
    float s0 = secant[row - 1], s1 = secant[row];
    if (s0 * s1 <= 0.0f) return 0.0f;
    return 2.0f * s0 * s1 / (s0 + s1);
}

constexpr Lut BuildLut(const uint32_t* rows) {
    Lut lut{};
    for (int shift = 0; shift <= 16; shift += 8) {
        float secant[kLutRowCount - 1] = {};
        for (int k = 0; k + 1 < kLutRowCount; ++k)
            secant[k] = (RowChannel(rows, k + 1, shift) - RowChannel(rows, k, shift)) /
                        static_cast<float>(kLutRowEntries[k + 1] - kLutRowEntries[k]);
        for (int k = 0; k + 1 < kLutRowCount; ++k) {
            const int first = kLutRowEntries[k], last = kLutRowEntries[k + 1];
            const float h = static_cast<float>(last - first);
            const float v0 = RowChannel(rows, k, shift), v1 = RowChannel(rows, k + 1, shift);
            const float m0 = RowSlope(secant, k) * h, m1 = RowSlope(secant, k + 1) * h;
            for (int i = first; i <= last; ++i) {
                const float s = static_cast<float>(i - first) / h, s2 = s * s, s3 = s2 * s;
                float v = (2 * s3 - 3 * s2 + 1) * v0 + (s3 - 2 * s2 + s) * m0 +
                          (-2 * s3 + 3 * s2) * v1 + (s3 - s2) * m1;
                v = v < 0.0f ? 0.0f : (v > 255.0f ? 255.0f : v);
                uint32_t byte = static_cast<uint32_t>(v + 0.5f);
                lut[i] = (lut[i] & ~(0xFFu << shift)) | byte << shift;
            }
        }
    }
    return lut;
}

constexpr std::array<Lut, kLutCount> BuildLuts() {
    std::array<Lut, kLutCount> luts{};
    for (int m = 0; m < kLutCount; ++m) luts[m] = BuildLut(kLutRows[m]);
    return luts;
}

constexpr std::array<Lut, kLutCount> kLuts = BuildLuts();

// truncate(255 t) for t in [0, 1]; NaN and t < 0 read entry 0, t > 1 entry 255. Decided by
// comparisons first so that no NaN, infinity or huge value ever reaches the conversion.
inline int LutIndex(float t) {
    if (!(t > 0.0f)) return 0;
    if (t >= 1.0f) return 255;
    return static_cast<int>(t * 255.0f);
}

template <int kIndex>
float LutMap(float t) {
    return ColorWordFromRgb(kLuts[kIndex][LutIndex(t)]);
}

// ---- HSV and hue -----------------------------------------------------------------------------

template <int kChannel>  // 0 red, 1 green, 2 blue
float HsvChannel(float h, float s, float v) {
    constexpr float kOffset[3] = {1.0f, 0.6666667f, 0.33333334f};
    float x = h + kOffset[kChannel];
    float w = std::fabs((x - std::floor(x)) * 6.0f - 3.0f) - 1.0f;
    w = w < 0.0f ? 0.0f : (w > 1.0f ? 1.0f : w);
    return v * (1.0f + s * (w - 1.0f));
}

float Hsv2Rgb(float h, float s, float v) {
    return MakeColorWord(HsvChannel<0>(h, s, v), HsvChannel<1>(h, s, v), HsvChannel<2>(h, s, v));
}

float PseudoGtHue(float t) { return Hsv2Rgb(t, 1.0f, 1.0f); }

float HueToRgb(float deg) {
    float r = 1.0f, g = 0.0f, b = 0.0f;
    if (deg >= 0.0f && deg <= 360.0f) {
        const float u = deg / 60.0f;
        if (u < 1.0f) {
            g = u;
        } else if (u < 2.0f) {
            r = 2.0f - u, g = 1.0f;
        } else if (u < 3.0f) {
            r = 0.0f, g = 1.0f, b = u - 2.0f;
        } else if (u < 4.0f) {
            r = 0.0f, g = 4.0f - u, b = 1.0f;
        } else if (u < 5.0f) {
            r = u - 4.0f, b = 1.0f;
        } else {
            b = 6.0f - u;
        }
    }
    return MakeColorWord(r, g, b);
}

// ---- signed distances ------------------------------------------------------------------------

float DistanceColor(float d) {
    constexpr float kTint[3] = {0.1f, 0.4f, 0.7f};
    const float ad = std::fabs(d);
    const float base = (1.0f - std::exp(-2.0f * ad)) * (0.8f + 0.2f * std::cos(120.0f * d));
    const float side = d > 0.0f ? 1.0f : -1.0f;
    float ch[3];
    for (int k = 0; k < 3; ++k) ch[k] = base * (1.0f - side * kTint[k]);
    if (ad < 0.02f) {  // the zero contour as a white line
        const float x = ad / 0.02f, edge = 1.0f - x * x * (3.0f - 2.0f * x);
        for (float& c : ch) c += (1.0f - c) * edge;
    }
    return MakeColorWord(ch[0], ch[1], ch[2]);
}

constexpr BuiltinFunction kColourMaps[] = {
    {"parse_red", ParseChannel<16>},
    {"parse_green", ParseChannel<8>},
    {"parse_blue", ParseChannel<0>},
    {"parse_alpha", ParseAlpha},
    {"palette_iq01", PaletteIq<0>},
    {"palette_iq02", PaletteIq<1>},
    {"palette_iq03", PaletteIq<2>},
    {"palette_iq04", PaletteIq<3>},
    {"palette_iq05", PaletteIq<4>},
    {"palette_iq06", PaletteIq<5>},
    {"palette_iq07", PaletteIq<6>},
    {"quintic_viridis", QuinticMap<0>},
    {"quintic_inferno", QuinticMap<1>},
    {"quintic_magma", QuinticMap<2>},
    {"quintic_plasma", QuinticMap<3>},
    {"LUT_BlackBdy", LutMap<0>},
    {"LUT_Cardiac", LutMap<1>},
    {"LUT_Flow", LutMap<2>},
    {"LUT_GE", LutMap<3>},
    {"LUT_Gold", LutMap<4>},
    {"LUT_HotIron", LutMap<5>},
    {"LUT_NIH", LutMap<6>},
    {"LUT_Fire", LutMap<7>},
    {"LUT_Ice", LutMap<8>},
    {"LUT_Rainramp", LutMap<9>},
    {"LUT_Spectrum", LutMap<10>},
    {"LUT_XHot", LutMap<11>},
    {"LUT_XRain", LutMap<12>},
    {"pseudo_gt_hue", PseudoGtHue},
    {"hueToRGB", HueToRgb},
    {"distance_color", DistanceColor},
    {"hsv_r", HsvChannel<0>},
    {"hsv_g", HsvChannel<1>},
    {"hsv_b", HsvChannel<2>},
    {"hsv2rgb", Hsv2Rgb},
    {"cos_palette", CosPalette},
};

}  // namespace

FunctionTable ColourMapFunctions() { return kColourMaps; }

}  // namespace luneth
