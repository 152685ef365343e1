// Closed-form picture equations: one formula a pixel, no parameters.
//
// Index of this file:
//   Bit tricks      "Square Tile Fractal", "Circle Squares", "Palette"
//   Plots           "Trial Coordinate", "Black Hole", "Cross on a Hill"
//   Number theory   "Cameron 2" (happy numbers, Harshad numbers), "Vinyl" (Hofstadter Q),
//                   "Cameron 1" (the Ulam spiral), "Coloured Vinyl" (a record with Q grooves)
//   Curves, moiré   "Hilbert Color", "Hilbert Red", "Sheet Music"
//
// Integer formulas follow 32-bit two's complement (see PixelHelpers.h). Grey v is
// 0xFF000000 | v << 16 | v << 8 | v.
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "common/FloatConstants.h"
#include "equations/EquationFamilies.h"
#include "equations/PixelHelpers.h"
#include "equations/ShadingHelpers.h"

namespace luneth {

namespace {

// =============================================================================================
// Bit tricks
// =============================================================================================

uint32_t SquareTileFractalPixel(uint32_t x, uint32_t y) {
    return Grey(static_cast<uint32_t>(std::abs(Rem(Signed((2 * (y - (x ^ y))) & x), 256))));
}

uint32_t CircleSquaresPixel(uint32_t x, uint32_t y) {
    return Grey(static_cast<uint32_t>(std::abs(Rem(Signed(x * x + y * y - 2 * (x | y)), 256))));
}

// A 16 x 16 sprite repeated over the picture, lit pixels shaded by position.
constexpr uint16_t kSprite[16] = {8188, 4080, 960, 960,  8580,  12294, 8580, 0,
                                  0,    0,    256, 4488, 41924, 961,   4080, 16376};

uint32_t PalettePixel(uint32_t x, uint32_t y) {
    if (!((kSprite[y % 16] >> (x % 16)) & 1)) return kOpaqueBlack;
    return 0xFF800000u | (((x + y) >> 3) & 0xFF) << 8 | ((y >> 2) & 0xFF);
}

// =============================================================================================
// Plots
// =============================================================================================

// Axes with ticks every 64 pixels and the parabola y = 512 - (x - 512)^2 / 512.
uint32_t TrialCoordinatePixel(uint32_t x, uint32_t y) {
    const int64_t c = Signed(x - 512), s = Signed(512 - y);
    const float parabola = static_cast<float>(c * c) * 0.001953125f;
    if (std::fabs(static_cast<float>(s) - parabola) < 1.41421f) return 0xFFFF0000u;
    const bool axis = s == 0 || c == 0;
    const bool verticalTick = s % 64 == 0 && c > 0 && c < 8;
    const bool horizontalTick = c % 64 == 0 && s >= 1 && s <= 7;
    return (axis || verticalTick || horizontalTick) ? kOpaqueWhite : kOpaqueBlack;
}

// A checkerboard of 32-pixel squares, white far out, fading between the radii 256 and 128,
// black inside.
uint32_t BlackHolePixel(uint32_t x, uint32_t y) {
    const float dx = static_cast<float>(Signed(x - 512)), dy = static_cast<float>(Signed(y - 512));
    const int32_t e = TruncateInt((1.0f - std::sqrt(dx * dx + dy * dy) / 256.0f) * 512.0f);
    const int32_t f = e < 0 ? 255 : (e < 256 ? 255 - e : 0);
    const int32_t k = static_cast<int32_t>(((x >> 5) & 1) ^ ((y >> 5) & 1));
    return Grey(static_cast<uint32_t>(k * f * 255 / 255));
}

// A brown cross standing on a green hill under a blue sky.
uint32_t CrossOnHillPixel(uint32_t x, uint32_t y) {
    if ((x > 500 && x <= 523 && y > 300 && y < 600) || (x > 400 && x < 624 && y > 400 && y <= 423))
        return Rgb(192, 64, 0);
    const float h = std::cos(static_cast<float>(Signed(x - 512)) * 0.2f * kPi / 180.0f) * 425.0f;
    const float t = static_cast<float>(Signed(1024 - y));
    return Rgb(t > h ? 126 : 0, t < h ? 200 : 192, t > h ? 238 : 0);
}

// =============================================================================================
// Number theory
// =============================================================================================

uint32_t DigitSum(uint32_t n) {
    uint32_t s = 0;
    for (; n; n /= 10) s += n % 10;
    return s;
}
uint32_t DigitSquareSum(uint32_t n) {
    uint32_t s = 0;
    for (; n; n /= 10) s += (n % 10) * (n % 10);
    return s;
}
uint32_t DigitCubeSum(uint32_t n) {
    uint32_t s = 0;
    for (; n; n /= 10) s += (n % 10) * (n % 10) * (n % 10);
    return s;
}

// Steps from every value below kDigitValues to 1 under a digit-power map, kNever when the
// sequence falls into a cycle without 1. Every 32-bit number maps below 7291 (ten digits of
// 9 cubed), and the values below 7291 map among themselves, so one table answers every start:
// n reaches 1 in steps(n) when n < kDigitValues, else in 1 + steps(f(n)).
//
// "Cameron 2" iterates from n at most 1024 times, stopping when the value comes back to n. A
// value that comes back to n repeats forever without 1 (unless n is 1, whose first step is 1),
// so the rule is exactly "1 within 1024 steps", which the table gives without iterating.
constexpr uint32_t kDigitValues = 7291;
constexpr uint16_t kNever = 0xFFFF;

class DigitMapSteps {
public:
    explicit DigitMapSteps(uint32_t (*map)(uint32_t)) : map_(map) {
        constexpr uint16_t kUnknown = 0xFFFE, kOnPath = 0xFFFD;
        steps_.fill(kUnknown);
        steps_[1] = 0;
        std::array<uint32_t, kDigitValues> path;
        for (uint32_t v = 0; v < kDigitValues; ++v) {
            uint32_t length = 0, m = v;
            while (steps_[m] == kUnknown) {
                steps_[m] = kOnPath;
                path[length++] = m;
                m = map(m);
            }
            uint32_t known = steps_[m] == kOnPath ? kNever : steps_[m];
            while (length > 0) {
                if (known != kNever) ++known;
                steps_[path[--length]] = static_cast<uint16_t>(known);
            }
        }
    }

    // True when one of the first 1024 steps from n gives 1.
    bool ReachesOne(uint32_t n) const {
        if (n == 1) return true;
        const uint32_t s = n < kDigitValues ? steps_[n] : steps_[map_(n)];
        if (s == kNever) return false;
        return (n < kDigitValues ? s : s + 1) <= 1024;
    }

private:
    uint32_t (*map_)(uint32_t);
    std::array<uint16_t, kDigitValues> steps_;
};

// n = y * 1024 + x + 1: red for happy numbers, green for their cube analogue, blue for numbers
// divisible by their digit sum.
uint32_t Cameron2Pixel(uint32_t x, uint32_t y) {
    static const DigitMapSteps squares(DigitSquareSum), cubes(DigitCubeSum);
    const uint32_t n = y * 1024 + x + 1;
    const uint32_t sum = DigitSum(n);
    return Rgb(squares.ReachesOne(n) ? 255 : 0, cubes.ReachesOne(n) ? 255 : 0,
               (sum != 0 && n % sum == 0) ? 255 : 0);
}

// Hofstadter's Q-sequence for the indices a picture row can ask for. Filled in index order,
// each value from smaller indices, so no recursion is needed.
constexpr uint32_t kQCount = 1024;

struct QTable {
    int32_t q[kQCount] = {};
    QTable() {
        q[0] = q[1] = 1;
        for (uint32_t i = 2; i < kQCount; ++i) {
            const int64_t a = static_cast<int64_t>(i) - q[i - 2];
            const int64_t b = static_cast<int64_t>(i) - q[i - 1];
            q[i] = (a >= 0 && b >= 0 && a < i && b < i) ? q[a] + q[b] : 0;
        }
    }
};

// The wave of Q(x) against the row decides which side of the record the pixel samples.
uint32_t VinylPixel(uint32_t x, uint32_t y) {
    const int64_t ix = Signed(x);
    const int64_t k =
        (1023 - static_cast<int64_t>(Signed(y)) < 2 * HofstadterQ(x) - ix + 512) ? ix : 1023 - ix;
    const int32_t q = (k >= 0 && k < kQCount) ? HofstadterQ(static_cast<uint32_t>(k)) : 0;
    return Grey(static_cast<uint32_t>(q * 6 / 10) & 255);
}

// Number facts for n up to the Ulam spiral of a 1024 x 1024 picture (513^2): bit 0 prime,
// bit 1 a sum of two squares, bit 2 abundant (its proper divisors add up to more than n).
constexpr uint32_t kUlamLimit = 513 * 513;

class NumberFacts {
public:
    NumberFacts() : facts_(kUlamLimit + 1, 0) {
        std::vector<uint32_t> divisorSum(kUlamLimit + 1, 0);
        for (uint32_t d = 1; d <= kUlamLimit / 2; ++d)
            for (uint32_t m = 2 * d; m <= kUlamLimit; m += d) divisorSum[m] += d;
        for (uint32_t n = 2; n <= kUlamLimit; ++n) {
            if (divisorSum[n] == 1) facts_[n] |= 1;
            if (divisorSum[n] > n) facts_[n] |= 4;
        }
        for (uint32_t a = 0; a * a <= kUlamLimit; ++a)
            for (uint32_t b = a; a * a + b * b <= kUlamLimit; ++b) facts_[a * a + b * b] |= 2;
    }
    uint8_t operator()(uint64_t n) const { return n <= kUlamLimit ? facts_[n] : 0; }

private:
    std::vector<uint8_t> facts_;
};

// Cameron 2's sibling on the Ulam spiral centred in the picture, a number every 2 x 2 pixels:
// red for primes, green for sums of two squares, blue for abundant numbers, full for primes
// and dim for the composite rest, so that the primes stand out: those of the form 4m + 1
// (sums of two squares) yellow, the others red, both crowding onto the spiral's diagonals.
uint32_t Cameron1Pixel(uint32_t x, uint32_t y) {
    static const NumberFacts facts;
    const uint8_t f =
        facts(UlamNumber((Signed(x) - int64_t{512}) >> 1, (int64_t{511} - Signed(y)) >> 1));
    if (f & 1) return Rgb(255, f & 2 ? 255 : 0, 0);
    return Rgb(0, f & 2 ? 72 : 0, f & 4 ? 96 : 0);
}

// A record pressed in coloured vinyl, lying on a dark table: its plastic marbled magenta and
// amber, its grooves shaded ring by ring by the same Hofstadter wave that draws "Vinyl",
// two wedges of light where the grooves catch it, a cream label with a red rim and the
// spindle hole.
uint32_t ColouredVinylPixel(uint32_t x, uint32_t y) {
    const float dx = static_cast<float>(Signed(x - 512)) + 0.5f;
    const float dy = static_cast<float>(Signed(y - 512)) + 0.5f;
    const float r = std::sqrt(dx * dx + dy * dy), angle = std::atan2(dy, dx);
    const Rgbf table =
        Mix(Rgbf{0.16f, 0.11f, 0.08f}, Rgbf{0.05f, 0.04f, 0.03f}, Saturate(r / 700.0f));
    const float disc = Saturate(480.5f - r);  // the record's edge over one pixel
    if (disc <= 0.0f) return Pack(table);

    const float swirl =
        0.5f + 0.5f * std::sin(3.0f * angle + 0.012f * r + 1.5f * std::sin(2.0f * angle));
    Rgbf c =
        Mix(Rgbf{0.75f, 0.08f, 0.42f}, Rgbf{0.98f, 0.55f, 0.08f}, Smoothstep(0.2f, 0.8f, swirl));
    // Grooves a pixel and a half apart: the broad tone of "Vinyl"'s grey and fine rings from
    // the wobble of Q(k) about k / 2, loud where the sequence is wild; blended between
    // neighbouring grooves so that no ring is cut by the pixel grid.
    const float fk = r / 1.5f;
    const uint32_t k = static_cast<uint32_t>(fk);
    const auto groove = [](uint32_t i) {
        const int q = HofstadterQ(i);
        return 0.2f * static_cast<float>((q * 6 / 10) & 255) / 255.0f +
               0.3f * Saturate(0.5f + static_cast<float>(2 * q - static_cast<int>(i)) / 16.0f);
    };
    const float shade = Mix(groove(k), groove(k + 1), fk - static_cast<float>(k));
    c = c * (0.6f + shade);
    const float sheen = std::pow(std::fabs(std::cos(angle - 0.7f)), 24.0f);
    c = c + Rgbf{1.0f, 0.95f, 0.9f} * (0.5f * sheen * (0.5f + shade));
    c = Mix(c, Rgbf{0.15f, 0.05f, 0.1f}, Saturate(1.0f - std::fabs(r - 478.0f) / 3.0f) * 0.6f);
    // Label and hole.
    c = Mix(c, Rgbf{0.8f, 0.1f, 0.12f}, Saturate(150.5f - r));
    c = Mix(c, Rgbf{0.96f, 0.92f, 0.80f}, Saturate(138.5f - r));
    c = Mix(c, table, Saturate(10.5f - r));
    return Pack(Mix(table, c, disc));
}

// =============================================================================================
// Curves and moiré
// =============================================================================================

// The index along a Hilbert-style walk of the 1024 x 1024 square, spread over the channels.
// After a step with ry = 0 both coordinates take the reflected x, so the walk folds onto the
// diagonal; both "Hilbert" entries draw this same picture.
uint32_t HilbertPixel(uint32_t x, uint32_t y) {
    uint32_t s = 0;
    for (uint32_t c = 512; c > 0; c /= 2) {
        const uint32_t rx = (c & x) > 0 ? 1 : 0, ry = (c & y) > 0 ? 1 : 0;
        s += c * c * ((3 * rx) ^ ry);
        if (ry == 0) x = y = (rx == 1 ? 1023 - x : x);
    }
    const uint32_t t = s / 4;
    return Rgb(t, t >> 5, t >> 10);
}

// A sine moiré of the product of the centred coordinates, masked with the coordinates.
uint32_t SheetMusicPixel(uint32_t x, uint32_t y) {
    const int32_t product = Signed((x - 512) * (y - 512));
    const float q = static_cast<float>(product) / 11115.0f;
    const uint32_t c =
        static_cast<uint32_t>(static_cast<int32_t>(std::sin(static_cast<double>(q)) * 200.0));
    return Rgb(x & c, x & c & y, y & c);
}

using CPixelSquareTileFractal = CFormulaEquation<SquareTileFractalPixel>;
using CPixelCircleSquaresFractal = CFormulaEquation<CircleSquaresPixel>;
using CPixelPalette = CFormulaEquation<PalettePixel>;
using CPixelTrialCoordinate = CFormulaEquation<TrialCoordinatePixel>;
using CPixelBlackHole = CFormulaEquation<BlackHolePixel>;
using CPixelCrossOnHill = CFormulaEquation<CrossOnHillPixel>;
using CPixelCameron2 = CFormulaEquation<Cameron2Pixel>;
using CPixelVinyl = CFormulaEquation<VinylPixel>;
using CPixelCameron1 = CFormulaEquation<Cameron1Pixel>;
using CPixelColouredVinyl = CFormulaEquation<ColouredVinylPixel>;
using CPixelHilbertColor = CFormulaEquation<HilbertPixel>;
using CPixelHilbertRed = CFormulaEquation<HilbertPixel>;
using CPixelSheetMusic = CFormulaEquation<SheetMusicPixel>;

constexpr EquationClass kClosedFormEquations[] = {
    {"CPixelCrossOnHill", CreatePixelEquation<CPixelCrossOnHill>},
    {"CPixelTrialCoordinate", CreatePixelEquation<CPixelTrialCoordinate>},
    {"CPixelBlackHole", CreatePixelEquation<CPixelBlackHole>},
    {"CPixelCameron1", CreatePixelEquation<CPixelCameron1>},
    {"CPixelCameron2", CreatePixelEquation<CPixelCameron2>},
    {"CPixelPalette", CreatePixelEquation<CPixelPalette>},
    {"CPixelSheetMusic", CreatePixelEquation<CPixelSheetMusic>},
    {"CPixelVinyl", CreatePixelEquation<CPixelVinyl>},
    {"CPixelColouredVinyl", CreatePixelEquation<CPixelColouredVinyl>},
    {"CPixelHilbertColor", CreatePixelEquation<CPixelHilbertColor>},
    {"CPixelHilbertRed", CreatePixelEquation<CPixelHilbertRed>},
    {"CPixelSquareTileFractal", CreatePixelEquation<CPixelSquareTileFractal>},
    {"CPixelCircleSquaresFractal", CreatePixelEquation<CPixelCircleSquaresFractal>},
};

}  // namespace

int HofstadterQ(uint32_t i) {
    static const QTable table;
    return i < kQCount ? table.q[i] : 0;
}

uint64_t UlamNumber(int64_t dx, int64_t dy) {
    const int64_t k = std::max(std::llabs(dx), std::llabs(dy));
    const int64_t before = (2 * k - 1) * (2 * k - 1);  // the last number of ring k - 1
    if (k == 0) return 1;
    if (dx == k && dy > -k) return before + (dy + k);
    if (dy == k) return before + 2 * k + (k - dx);
    if (dx == -k) return before + 4 * k + (k - dy);
    return before + 6 * k + (dx + k);
}

EquationClassTable ClosedFormEquations() { return kClosedFormEquations; }

}  // namespace luneth
