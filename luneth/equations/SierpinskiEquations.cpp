// Sierpinski equations: catalogue indices 153 to 160.
//
// Index of this file:
//   Carpets       "Sierpinski Carpets 1/2/3": base-4 digits against 4 x 4 patterns
//   Per pixel     "Sierpinski Iteration", "Sierpinski Triangle", "Sierpinski Paint Splash"
//   Chaos games   "Sierpinski Triangle Map", "Sierpinski Pentagon": accumulated once into
//                 their working buffers, over a dark-red perspective floor
#include <algorithm>
#include <cmath>

#include "common/FloatConstants.h"
#include "equations/EquationFamilies.h"
#include "equations/PixelHelpers.h"

namespace luneth {

namespace {

constexpr uint32_t kOpaqueBlue = 0xFF0000FFu;

// =============================================================================================
// Carpets
// =============================================================================================

// A 4 x 4 pattern, row by row; '0' is a hole.
using CarpetPattern = const char*;

constexpr CarpetPattern kSquareRing = "1111100110011111";

// Red, green and blue patterns of "Sierpinski Carpets 3", three for each carpet type.
constexpr CarpetPattern kCarpetTypes[5][3] = {
    {"1111000100010001", "0000011001100000", "1000100010001111"},
    {"1010010110100101", "0101101001011010", "0101101001011010"},
    {"1001011001101001", "0000011001100000", "0110100110010110"},
    {"0100001000100001", "0000011111100000", "0010010001001000"},
    {"1111011100110001", "0001001101111111", "1000110011101111"},
};

// The scales (256, 64, 16, 4, 1) passed before the first hole: 0 to 5.
uint32_t CarpetLevels(CarpetPattern pattern, uint32_t x, uint32_t y) {
    uint32_t levels = 0;
    for (uint32_t s = 256; s >= 1; s /= 4, ++levels) {
        const uint32_t column = (x % (4 * s)) / s, row = (y % (4 * s)) / s;
        if (pattern[column + 4 * row] == '0') break;
    }
    return levels;
}

uint32_t Carpets1Pixel(uint32_t x, uint32_t y) {
    return CarpetLevels(kSquareRing, x, y) == 5 ? kOpaqueBlue : kOpaqueBlack;
}

uint32_t Carpets2Pixel(uint32_t x, uint32_t y) {
    return kOpaqueBlack | 51 * CarpetLevels(kSquareRing, x, y);
}

// "Carpet type" 0 to 4; any other value (5, negative, NaN) draws type 0.
class CPixelSierpinskiCarpets3 final : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;
    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        int32_t t = TruncateInt(params[0]);
        if (t < 0 || t >= 5) t = 0;
        const CarpetPattern* p = kCarpetTypes[t];
        return Rgb(51 * CarpetLevels(p[0], x, y), 51 * CarpetLevels(p[1], x, y),
                   51 * CarpetLevels(p[2], x, y));
    }
};

// =============================================================================================
// Per-pixel triangles
// =============================================================================================

// (x, y) / W doubled again and again, folded back into the lower-left triangle; white once it
// leaves the disc of radius sqrt 2, blue when it survives H - 1 doublings. The coordinates are
// dyadic, so every survivor soon sits on a fixed point ((0, 0), (1, 0) or (0, 1)), where the
// remaining doublings change nothing and are skipped.
class CPixelSierpinskiIteration final : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;
    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float w = static_cast<float>(width);
        float u = static_cast<float>(x) / w, v = static_cast<float>(y) / w;
        for (uint32_t i = 1; i < height; ++i) {
            float a = 2.0f * u, b = 2.0f * v;
            if (v > 0.5f)
                b = b - 1.0f;
            else if (u >= 0.5f)
                a = a - 1.0f;
            if (a * a + b * b > 2.0f) return kOpaqueWhite;
            if (a == u && b == v) break;
            u = a, v = b;
        }
        return kOpaqueBlue;
    }
};

// trunc toward zero to 32 bits; NaN and values past the range give INT32_MIN.
int32_t TruncateDouble(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// theta = x AND y: (cos theta * 65536, sin theta * 65536, tan theta * 256), low bytes. Inside
// the picture theta is below 1024: those colours come from a table.
class CPixelSierpinskiTriangle final : public CPixelEquation {
public:
    explicit CPixelSierpinskiTriangle(const EquationInfo& info) : CPixelEquation(info) {
        for (uint32_t t = 0; t < kTable; ++t) table_[t] = Colour(t);
    }
    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const uint32_t t = x & y;
        return t < kTable ? table_[t] : Colour(t);
    }

private:
    static constexpr uint32_t kTable = 1024;
    static uint32_t Colour(uint32_t t) {
        const double theta = static_cast<float>(t);
        return Rgb(uint32_t(TruncateDouble(std::cos(theta) * 65536.0)),
                   uint32_t(TruncateDouble(std::sin(theta) * 65536.0)),
                   uint32_t(TruncateDouble(std::tan(theta) * 256.0)));
    }
    uint32_t table_[kTable];
};

// ---- "Sierpinski Paint Splash" ----
// The gasket drawn as a painter would: every hole of the triangle, down to holes of a few
// pixels, holds a splash of paint (a wobbly blot with a few spikes and droplets, its colour
// and shape chosen by the hole's place in the gasket), on cream paper; what is left of the
// triangle after nine halvings is the ink of its outline.

constexpr float kSqrt3 = 1.7320508f;
constexpr float kTwoPi = 6.2831853f;
constexpr int kSplashDepth = 9;

// A small integer mix: different (level, path) pairs give unrelated bits.
uint32_t Mix(uint32_t a, uint32_t b) {
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    return h ^ (h >> 15);
}

float Phase(uint32_t h, int shift) {
    return static_cast<float>((h >> shift) & 1023u) * (kTwoPi / 1024.0f);
}

constexpr uint32_t kPaints[8] = {0xD7263D, 0xF46036, 0xF6C90E, 0x1B998B,
                                 0x2E86DE, 0x7B2CBF, 0xE84393, 0x00A8A8};

uint32_t Shaded(uint32_t rgb, float shade, int grain) {
    auto channel = [&](int shift) {
        const float c =
            static_cast<float>((rgb >> shift) & 0xFF) * shade + static_cast<float>(grain);
        return c < 0.0f ? 0u : c > 255.0f ? 255u : static_cast<uint32_t>(c);
    };
    return Rgb(channel(16), channel(8), channel(0));
}

// The paint of a hole at offset (qx, qy) from its centre, in units where the hole's side is 1
// (its inscribed circle has radius 0.289); false outside the splash.
bool SplashPaint(uint32_t h, float qx, float qy, uint32_t* rgb, float* shade) {
    const float r = std::sqrt(qx * qx + qy * qy), a = std::atan2(qy, qx);
    const float spike = std::pow(std::max(0.0f, std::cos(11.0f * a + Phase(h, 20))), 12.0f);
    const float rim = 0.17f * (1.0f + 0.12f * std::sin(3.0f * a + Phase(h, 0)) +
                               0.08f * std::sin(7.0f * a + Phase(h, 10)) + 0.35f * spike);
    *rgb = kPaints[(h >> 28) & 7];
    if (r < rim) {
        const float t = r / rim;
        *shade = (1.04f - 0.2f * t * t) * (t > 0.88f ? 0.8f : 1.0f);
        return true;
    }
    for (int k = 0; k < 3; ++k) {  // droplets just outside the rim
        const float da = Phase(h, 3 + 7 * k);
        const float dx = qx - 0.235f * std::cos(da), dy = qy - 0.235f * std::sin(da);
        if (dx * dx + dy * dy < 0.02f * 0.02f) {
            *shade = 0.9f;
            return true;
        }
    }
    return false;
}

uint32_t PaintSplashPixel(uint32_t x, uint32_t y) {
    const int grain = static_cast<int>(Mix(x, y) % 9u) - 4;
    const uint32_t paper = Shaded(0xF4EEDF, 1.0f, grain);
    // Triangle with its apex at (512, 96) and side 944: P - apex = u (B - apex) + v (C - apex).
    const float dx = (static_cast<float>(x) + 0.5f - 512.0f) / 472.0f;
    const float dy = (static_cast<float>(y) + 0.5f - 96.0f) / (472.0f * kSqrt3);
    float u = (dy - dx) * 0.5f, v = (dy + dx) * 0.5f;
    if (!(u >= 0.0f && v >= 0.0f && u + v <= 1.0f)) return paper;
    uint32_t path = 1;
    for (int level = 0; level < kSplashDepth; ++level) {
        u *= 2.0f, v *= 2.0f;
        uint32_t branch = 0;
        if (u >= 1.0f) {
            u -= 1.0f, branch = 1;
        } else if (v >= 1.0f) {
            v -= 1.0f, branch = 2;
        } else if (u + v > 1.0f) {
            // In the hole (corners (1, 0), (0, 1), (1, 1)): offset from its centre, hole side 1.
            const float du = u - 2.0f / 3.0f, dv = v - 2.0f / 3.0f;
            uint32_t rgb;
            float shade;
            const uint32_t h = Mix(static_cast<uint32_t>(level), path);
            if (SplashPaint(h, 0.5f * (dv - du), 0.5f * kSqrt3 * (du + dv), &rgb, &shade))
                return Shaded(rgb, shade, grain);
            return paper;
        }
        path = path * 3 + branch;
    }
    return Shaded(0x2A2A3A, 1.0f, grain);
}

// =============================================================================================
// Chaos games
// =============================================================================================

constexpr uint32_t kGameSize = 1024;  // the buffers' width and height

// The perspective floor under the chaos games: k = trunc((3000 - x) s + y s), s = 99 / (y + 99);
// its stripes are |half - (k mod period)|.
uint32_t FloorStripe(uint32_t x, uint32_t y, int32_t period) {
    const float s = 99.0f / (static_cast<float>(y) + 99.0f);
    const int32_t k =
        TruncateInt((3000.0f - static_cast<float>(x)) * s + static_cast<float>(y) * s);
    const int32_t v = period / 2 - Rem(k, period);
    return static_cast<uint32_t>(v < 0 ? -v : v);
}

// 20,000,000 halvings towards a random corner of (512, 0), (0, 1023), (1023, 1023); each
// visited cell counts up to 253. Visited cells are grey, the others show the floor.
class CPixelSierpinskiTriangleMap final : public CAccumulatingEquation<uint8_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;

protected:
    void Accumulate(uint8_t* cells, EquationContext& context) override {
        if (width < kGameSize || height < kGameSize) return;
        static constexpr uint32_t kCorners[3][2] = {{512, 0}, {0, 1023}, {1023, 1023}};
        uint32_t u = 0, v = 0;
        for (uint32_t i = 0; i < 20000000; ++i) {
            const uint32_t* corner = kCorners[context.random.Next() % 3];
            u = (u + corner[0]) / 2, v = (v + corner[1]) / 2;
            uint8_t& cell = cells[v * width + u];
            if (cell < 253) ++cell;
        }
    }
    uint32_t CellColor(uint8_t b) const override { return Grey(b); }
    uint32_t CellColorAt(uint8_t b, uint32_t x, uint32_t y) const override {
        return b ? CellColor(b) : kOpaqueBlack | FloorStripe(x, y, 160) << 16;
    }
};

// The chaos game of the regular pentagon: each step moves the point towards a random corner,
// keeping 0.382 (1 - 1/golden ratio) of its distance, so that the five shrunken copies just
// touch. Plane p (low byte) counts visits, 6 a visit up to 252; plane q (high byte) takes a
// blue from the last two corners, so the five copies and their own copies differ in tint.
// Visited cells are (p, p, q), the others show the floor in red.
class CPixelSierpinskiPentagon final : public CAccumulatingEquation<uint16_t> {
public:
    using CAccumulatingEquation::CAccumulatingEquation;

protected:
    void Accumulate(uint16_t* cells, EquationContext& context) override {
        if (width < kGameSize || height < kGameSize) return;
        float corners[5][2];
        for (int k = 0; k < 5; ++k) {
            const float a = kTwoPi * (static_cast<float>(k) / 5.0f - 0.25f);
            corners[k][0] = 512.0f + 480.0f * std::cos(a);
            corners[k][1] = 559.0f + 480.0f * std::sin(a);
        }
        float px = 512.0f, py = 559.0f;
        uint32_t previous = 0;
        for (uint32_t i = 0; i < kSteps; ++i) {
            const uint32_t k = static_cast<uint32_t>(context.random.Next()) % 5;
            px = corners[k][0] + (px - corners[k][0]) * kKeep;
            py = corners[k][1] + (py - corners[k][1]) * kKeep;
            if (i >= kSettle) {
                uint16_t& cell =
                    cells[static_cast<uint32_t>(py) * width + static_cast<uint32_t>(px)];
                const uint32_t p = std::min<uint32_t>((cell & 0xFF) + 6, 252);
                cell = static_cast<uint16_t>(p | (40 + 36 * k + 7 * previous) << 8);
            }
            previous = k;
        }
    }
    uint32_t CellColor(uint16_t cell) const override {
        const uint32_t p = cell & 0xFF;
        return Rgb(p, p, cell >> 8);
    }
    uint32_t CellColorAt(uint16_t cell, uint32_t x, uint32_t y) const override {
        if (cell & 0xFF) return CellColor(cell);
        return Rgb(FloorStripe(x, y, 107), 0, cell >> 8);
    }

private:
    static constexpr float kKeep = 0.381966f;
    static constexpr uint32_t kSteps = 4000000, kSettle = 16;
};

constexpr EquationClass kClasses[] = {
    {"CPixelSierpinskiIteration", CreatePixelEquation<CPixelSierpinskiIteration>},
    {"CPixelSierpinskiCarpets1", CreatePixelEquation<CFormulaEquation<Carpets1Pixel>>},
    {"CPixelSierpinskiCarpets2", CreatePixelEquation<CFormulaEquation<Carpets2Pixel>>},
    {"CPixelSierpinskiCarpets3", CreatePixelEquation<CPixelSierpinskiCarpets3>},
    {"CPixelSierpinskiTriangle", CreatePixelEquation<CPixelSierpinskiTriangle>},
    {"CPixelSierpinskiSplash", CreatePixelEquation<CFormulaEquation<PaintSplashPixel>>},
    {"CPixelSierpinskiPentagon", CreatePixelEquation<CPixelSierpinskiPentagon>},
    {"CPixelSierpinskiTriangleMap", CreatePixelEquation<CPixelSierpinskiTriangleMap>},
};

}  // namespace

EquationClassTable SierpinskiEquations() { return kClasses; }

}  // namespace luneth
