// Cloths: woven fabrics seen from above.
//
// Index of this file:
//   "Lattice Cloth"      an open plain weave: round threads over and under, gaps between
//   "Flat Table Cloth"   a red gingham tablecloth with a hemmed border
//   "Plaid Trip"         a twill tartan in loud colours, swirled in the middle
//
// Threads are drawn as round yarns: brightest along their middle, darker where they dive
// under a crossing thread, with a faint twist; edges are softened over about a pixel.
#include <cmath>
#include <cstdint>

#include "equations/EquationFamilies.h"
#include "equations/PictureMath.h"
#include "equations/PixelHelpers.h"

namespace luneth {

namespace {

using namespace picture;

// Where a point lies among parallel threads `pitch` apart: the thread's number and the offset
// from its middle line, in [-pitch/2, pitch/2).
struct ThreadPlace {
    int64_t index;
    float offset;
};
ThreadPlace PlaceAmongThreads(float v, float pitch) {
    const float n = std::floor(v / pitch);
    return {static_cast<int64_t>(n), v - (n + 0.5f) * pitch};
}

// The shade of a round yarn: 1 along its middle line, falling towards its edges, with the
// slanting streaks of its twist.
float YarnShade(float across, float along, float halfWidth) {
    const float a = Clamp01(std::fabs(across) / halfWidth);
    const float round = std::sqrt(1.0f - a * a);
    const float twist = 0.5f + 0.5f * std::sin(kTwoPi * (along + 0.8f * across) / 6.0f);
    return (0.35f + 0.65f * round) * (0.9f + 0.1f * twist);
}

// =============================================================================================
// "Lattice Cloth"
// =============================================================================================

// Warp threads run down, weft threads across, 64 pixels apart and 40 wide; at each crossing
// the warp lies on top where the thread numbers add up to an even number. Each thread rises
// over and sinks under the threads it crosses along a cosine, and the lower parts are darker.
class CPixelLatticeCloth final : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const auto [fx, fy] = PixelCentre(x, y);
        const ThreadPlace warp = PlaceAmongThreads(fx, kPitch);
        const ThreadPlace weft = PlaceAmongThreads(fy, kPitch);
        // Heights along each thread: +1 over a crossing, -1 under it.
        const float sign = ((warp.index + weft.index) & 1) ? -1.0f : 1.0f;
        const float warpHeight = sign * std::cos(kPi * weft.offset / kPitch);
        const float weftHeight = -sign * std::cos(kPi * warp.offset / kPitch);

        const float inWarp = Band(warp.offset, kHalfWidth), inWeft = Band(weft.offset, kHalfWidth);
        // The table under the cloth, shadowed near the threads.
        const float toThread =
            std::fmin(std::fabs(warp.offset), std::fabs(weft.offset)) - kHalfWidth;
        Colour c = kTable * (0.5f + 0.5f * Smoothstep(0.0f, 12.0f, toThread));
        const Colour warpColour =
            kWarp * YarnShade(warp.offset, fy, kHalfWidth) * (0.72f + 0.28f * warpHeight);
        const Colour weftColour =
            kWeft * YarnShade(weft.offset, fx, kHalfWidth) * (0.72f + 0.28f * weftHeight);
        if (warpHeight >= weftHeight) {
            c = Mix(Mix(c, weftColour, inWeft), warpColour, inWarp);
        } else {
            c = Mix(Mix(c, warpColour, inWarp), weftColour, inWeft);
        }
        return Pack(c);
    }

private:
    static constexpr float kPitch = 64.0f, kHalfWidth = 20.0f;
    static constexpr Colour kWarp = FromHex(0xC43A2C), kWeft = FromHex(0xEEDCB0);
    static constexpr Colour kTable = FromHex(0x2A221C);
};

// =============================================================================================
// "Flat Table Cloth"
// =============================================================================================

// Gingham: red stripes 40 pixels wide every 80 pixels both ways on white; where stripes cross
// the red is doubled. A fine weave shows in the cloth, and a plain red hem with a row of white
// stitches runs round the edge.
class CPixelTablecloths final : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const auto [fx, fy] = PixelCentre(x, y);
        const float edge = std::fmin(std::fmin(fx, fy), std::fmin(static_cast<float>(width) - fx,
                                                                  static_cast<float>(height) - fy));
        // The weave: threads 3 pixels wide, alternately over and under.
        const int64_t tx = static_cast<int64_t>(std::floor(fx / 3.0f));
        const int64_t ty = static_cast<int64_t>(std::floor(fy / 3.0f));
        const float grain = ((tx + ty) & 1) ? 0.95f : 1.0f;

        Colour c;
        if (edge < kHem) {
            c = kDouble;
            // Stitches: dashes along the middle of the hem.
            const float along = (edge == fx || static_cast<float>(width) - fx == edge) ? fy : fx;
            const float dash = Fract(along / 14.0f) < 0.55f ? 1.0f : 0.0f;
            c = Mix(c, kWhite, 0.9f * dash * Band(edge - kHem * 0.5f, 1.2f));
            c = c * (0.8f + 0.2f * Smoothstep(0.0f, 6.0f, edge));  // the rolled edge
        } else {
            const float sx = Band(PlaceAmongThreads(fx - kHem, kCheck).offset, kCheck / 4.0f);
            const float sy = Band(PlaceAmongThreads(fy - kHem, kCheck).offset, kCheck / 4.0f);
            c = Mix(Mix(kWhite, kSingle, sx), Mix(kSingle, kDouble, sx), sy);
            c = c * (1.0f - 0.25f * Band(edge - kHem, 1.0f));  // the seam of the hem
        }
        return Pack(c * grain);
    }

private:
    static constexpr float kCheck = 80.0f, kHem = 32.0f;
    static constexpr Colour kWhite = FromHex(0xFAF6F0), kSingle = FromHex(0xEC8E8A),
                            kDouble = FromHex(0xC22430);
};

// =============================================================================================
// "Plaid Trip"
// =============================================================================================

// A tartan: the sett (thread colours and counts) is laid out and then mirrored, the same in
// both directions, and woven in a 2/2 twill, so warp and weft show in diagonal steps. The
// cloth is swirled round the middle and rippled, which is the trip.
class CPixelPlaidTrip final : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const Point p = Centre(x, y, width, height);
        const float r = std::sqrt(p.x * p.x + p.y * p.y);
        Point q = Rotate(p, 2.4f * std::exp(-r / 240.0f));
        q = {q.x + 14.0f * std::sin(q.y / 61.0f), q.y + 14.0f * std::sin(q.x / 73.0f)};
        const float u = q.x / kThread + 4096.0f, v = q.y / kThread + 4096.0f;
        // 2/2 twill: the warp shows on two threads of every four, stepping one thread a row.
        const int64_t tu = static_cast<int64_t>(std::floor(u));
        const int64_t tv = static_cast<int64_t>(std::floor(v));
        const bool warpOnTop = ((tu + tv) & 3) < 2;
        const float across = (warpOnTop ? u - std::floor(u) : v - std::floor(v)) - 0.5f;
        const Colour c = warpOnTop ? SettColour(tu) : SettColour(tv);
        return Pack(c * (0.78f + 0.22f * std::sqrt(1.0f - 4.0f * across * across)));
    }

private:
    static constexpr float kThread = 3.0f;  // pixels a thread
    struct Stripe {
        Colour colour;
        int threads;
    };
    static constexpr Stripe kSett[] = {
        {FromHex(0x1A0F2E), 16}, {FromHex(0xFF2E88), 30}, {FromHex(0x1A0F2E), 4},
        {FromHex(0xFFE14A), 4},  {FromHex(0x1A0F2E), 4},  {FromHex(0x2EE6C8), 24},
        {FromHex(0x7A3CFF), 14}, {FromHex(0xFF8A1F), 6},  {FromHex(0xF4F4F4), 3},
    };
    static constexpr int SettThreads() {
        int n = 0;
        for (const Stripe& s : kSett) n += s.threads;
        return n;
    }

    // The colour of thread t of the mirrored sett: forwards, then backwards, repeating.
    static Colour SettColour(int64_t t) {
        constexpr int64_t half = SettThreads();
        int64_t k = ((t % (2 * half)) + 2 * half) % (2 * half);
        if (k >= half) k = 2 * half - 1 - k;
        for (const Stripe& s : kSett) {
            if (k < s.threads) return s.colour;
            k -= s.threads;
        }
        return kSett[0].colour;
    }
};

constexpr EquationClass kClothEquations[] = {
    {"CPixelLatticeCloth", CreatePixelEquation<CPixelLatticeCloth>},
    {"CPixelTablecloths", CreatePixelEquation<CPixelTablecloths>},
    {"CPixelPlaidTrip", CreatePixelEquation<CPixelPlaidTrip>},
};

}  // namespace

EquationClassTable ClothEquations() { return kClothEquations; }

}  // namespace luneth
