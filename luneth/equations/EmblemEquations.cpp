// Emblem equations: symbols, boards and flags drawn with hard edges.
//
// Index of this file:
//   Taiji           "Taiji Yinyang", "Taiji Four Diagrams", "Taiji World", "Taiji Eight Diagrams"
//   Svastikas       "Svastika Left", "Svastika Right", "Svastikas Set"
//   Boards, flags   "WeiQi", "American Flag", "Five Stars Red Flag", "Blue Sky White Sun"
//   Stars, triangle "N Star", "N Light Star", "Triangle"
//
// Every pixel is decided by a few circle, polygon and rectangle tests; nothing is blended
// across an edge. Values derived from parameters (rotations, star geometry) are recomputed in
// ParamsChanged, so the per-pixel path only compares.
#include <cmath>

#include "common/FloatConstants.h"
#include "equations/EquationFamilies.h"
#include "equations/PixelHelpers.h"

namespace luneth {

namespace {

constexpr uint32_t kGrey = 0xFF808080u;

float DegreesToRadians(float degrees) { return degrees * (kPi / 180.0f); }

// The offset of the centre of pixel (x, y) from the picture centre (512, 512).
struct Offset {
    float dx, dy;
};
Offset FromCentre(uint32_t x, uint32_t y) {
    return {static_cast<float>(Signed(x - 512)) + 0.5f, static_cast<float>(Signed(y - 512)) + 0.5f};
}

// The angle of (dx, dy) measured from straight up, clockwise on the screen, in [0, 2 pi).
float AngleFromUp(float dx, float dy) {
    float a = std::atan2(dx, -dy);
    return a < 0.0f ? a + kTwoPi : a;
}

// =============================================================================================
// Taiji
// =============================================================================================

// One taiji symbol around (0, 0): outer radius^2 r2, lobe centres at (0, -h) and (0, h) with
// radius^2 h2, dots of radius^2 q2. Light upper lobe and left half, dark lower lobe and right
// half, a dark dot in the light lobe and a light dot in the dark one; grey outside.
uint32_t TaijiColor(float dx, float dy, float r2, float h, float h2, float q2) {
    if (dx * dx + dy * dy > r2) return kGrey;
    const float u = (dy + h) * (dy + h) + dx * dx;
    if (q2 > u) return kOpaqueBlack;
    if (u < h2) return kOpaqueWhite;
    const float w = (dy - h) * (dy - h) + dx * dx;
    if (q2 > w) return kOpaqueWhite;
    return (dx < 0.0f && w >= h2) ? kOpaqueWhite : kOpaqueBlack;
}

// Radius 1 (params[0]) and dot scale (params[1]) around the centre (512, 512).
class CPixelTaijiYinyang final : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;
    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float r = params[0], q = params[1] * r, h = r / 2.0f;
        return TaijiColor(static_cast<float>(Signed(x - 512)), static_cast<float>(Signed(y - 512)),
                          r * r, h, r * r / 4.0f, q * q);
    }
};

// Four symbols of radius 228, mirrored about the centre lines.
uint32_t TaijiFourPixel(uint32_t x, uint32_t y) {
    const float cx = static_cast<float>(x < 512 ? Signed(x - 256) : Signed(767 - x));
    const float cy = static_cast<float>(y < 512 ? Signed(y - 256) : Signed(767 - y));
    return TaijiColor(cx, cy, 51984.0f, 114.0f, 12996.0f, 1296.0f);
}

// A tile of 128 x 128 pixels, mirrored in every other tile.
float TaijiWorldLocal(uint32_t v) {
    const int32_t low = static_cast<int32_t>(v & 127);
    return static_cast<float>((v & 128) ? 64 - low : low - 64);
}
uint32_t TaijiWorldPixel(uint32_t x, uint32_t y) {
    return TaijiColor(TaijiWorldLocal(x), TaijiWorldLocal(y), 4096.0f, 32.0f, 1024.0f, 64.0f);
}

// The taiji ringed by the eight trigrams in the Earlier Heaven order: Qian (three whole
// lines) at the top, Kun (three broken) at the bottom, opposite trigrams complementary. Each
// trigram is three bars across its direction, the bottom line innermost; a yin line is broken
// in the middle. Bars widen outward with the octagon they sit on.
class CPixelTaijiEight final : public CPixelEquation {
public:
    explicit CPixelTaijiEight(const EquationInfo& info) : CPixelEquation(info) {
        for (int k = 0; k < 8; ++k) {
            dirX_[k] = -std::sin(static_cast<float>(k) * (kPi / 4.0f));
            dirY_[k] = -std::cos(static_cast<float>(k) * (kPi / 4.0f));
        }
    }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float dx = static_cast<float>(Signed(x - 512)),
                    dy = static_cast<float>(Signed(y - 512));
        if (dx * dx + dy * dy <= kTaiji * kTaiji) {
            constexpr float h = kTaiji / 2.0f, q = 0.15f * kTaiji;
            return TaijiColor(dx, dy, kTaiji * kTaiji, h, h * h, q * q);
        }
        // Sector k counts counter-clockwise from the top: top, top-left, left, ...
        const float a = std::atan2(-dx, -dy);
        const int k = static_cast<int>(std::lround(a / (kPi / 4.0f))) & 7;
        const float along = dx * dirX_[k] + dy * dirY_[k];
        const float across = std::fabs(dy * dirX_[k] - dx * dirY_[k]);
        const float offset = along - kInner;
        if (offset < 0.0f) return kGrey;
        const int line = static_cast<int>(offset / kPitch);
        if (line > 2 || offset - static_cast<float>(line) * kPitch > kBar) return kGrey;
        const float half = along * kHalfSpan;
        if (across > half) return kGrey;
        const bool yang = (kTrigrams[k] >> line) & 1;
        return (yang || across > half * kGapRatio) ? kOpaqueBlack : kGrey;
    }

private:
    static constexpr float kTaiji = 272.0f;    // radius of the central symbol
    static constexpr float kInner = 330.0f;    // distance of the innermost bar
    static constexpr float kBar = 30.0f;       // bar thickness
    static constexpr float kPitch = 44.0f;     // bar thickness plus gap
    static constexpr float kHalfSpan = 0.30f;  // half bar length per unit of distance
    static constexpr float kGapRatio = 0.16f;  // half gap of a yin line, part of the half bar
    // Lines bit 0 (bottom, inner) to bit 2 (top, outer), 1 = yang; sectors from the top,
    // counter-clockwise: Qian, Dui, Li, Zhen, Kun, Gen, Kan, Xun.
    static constexpr uint8_t kTrigrams[8] = {0b111, 0b011, 0b101, 0b001,
                                             0b000, 0b100, 0b010, 0b110};
    float dirX_[8], dirY_[8];
};

// =============================================================================================
// Svastikas
// =============================================================================================

// A svastika of half size s and stroke w around (0, 0) in its own frame (y down): a cross of
// two bars, each arm ending in a hook that turns clockwise (the top arm's hook points right).
bool InSvastika(float px, float py, float s, float w) {
    const float hw = w / 2.0f, ax = std::fabs(px), ay = std::fabs(py);
    if ((ax <= hw && ay <= s) || (ay <= hw && ax <= s)) return true;
    if (ax > s || ay > s) return false;
    return (py <= -s + w && px >= 0.0f) ||  // top arm, hook to the right
           (px >= s - w && py >= 0.0f) ||   // right arm, hook down
           (py >= s - w && px <= 0.0f) ||   // bottom arm, hook to the left
           (px <= -s + w && py <= 0.0f);    // left arm, hook up
}

constexpr uint32_t kTempleRed = 0xFFA0102Au;
constexpr uint32_t kTempleGold = 0xFFFFC20Eu;

// Size (half extent), Width (stroke) and angle (degrees, counter-clockwise on the screen)
// around the centre; gold on temple red. Right turns its hooks clockwise, Left is the mirror.
template <bool kLeft>
class CPixelSvastika final : public CPixelEquation {
public:
    explicit CPixelSvastika(const EquationInfo& info) : CPixelEquation(info) { ParamsChanged(); }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const auto [dx, dy] = FromCentre(x, y);
        const float px = dx * cos_ - dy * sin_, py = dx * sin_ + dy * cos_;
        return InSvastika(kLeft ? -px : px, py, params[0], params[1]) ? kTempleGold : kTempleRed;
    }

protected:
    void ParamsChanged() override {
        cos_ = std::cos(DegreesToRadians(params[2]));
        sin_ = std::sin(DegreesToRadians(params[2]));
    }

private:
    float cos_ = 1.0f, sin_ = 0.0f;
};
using CPixelSvastikaLeft = CPixelSvastika<true>;
using CPixelSvastikaRight = CPixelSvastika<false>;

// Interlocking svastikas filling the plane. Each is the 13-square polyomino of a cross with arms
// of two squares and one-square hooks, squares of Width pixels. It tiles the plane by the
// lattice {(-5, 1), (3, 2)}: the squares of one svastika fall into the 13 classes of
// (a + 5b) mod 13, one each, so the class of a square tells which square of its svastika it is.
// Svastikas are outlined in temple red and filled in three golds by (i + j) mod 3 of their
// lattice coordinates, which differs between any two that share an edge.
class CPixelSvastikasSet final : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float w = params[0] > 0.5f ? params[0] : 0.5f;  // a square at least half a pixel
        const float fx = static_cast<float>(x) / w, fy = static_cast<float>(y) / w;
        const int64_t a = static_cast<int64_t>(std::floor(fx));
        const int64_t b = static_cast<int64_t>(std::floor(fy));
        const Tile tile = TileOf(a, b);
        // The outline: the border strip of a square whose neighbour there is another svastika.
        // Offsets within the square are taken in pixels, so that equal squares draw alike.
        const float line = w < 6.0f ? 1.0f : w / 6.0f;
        const float u = static_cast<float>(x) - static_cast<float>(a) * w;
        const float v = static_cast<float>(y) - static_cast<float>(b) * w;
        if ((u < line && TileOf(a - 1, b) != tile) || (u >= w - line && TileOf(a + 1, b) != tile) ||
            (v < line && TileOf(a, b - 1) != tile) || (v >= w - line && TileOf(a, b + 1) != tile))
            return kTempleRed;
        return kFills[((tile.i + tile.j) % 3 + 3) % 3];
    }

private:
    struct Tile {
        int64_t i, j;
        bool operator!=(const Tile& o) const { return i != o.i || j != o.j; }
    };

    // The lattice coordinates of the svastika that owns square (a, b).
    static Tile TileOf(int64_t a, int64_t b) {
        const int64_t cls = ((a + 5 * b) % 13 + 13) % 13;
        const int64_t ox = a - kSquareOfClass[cls][0], oy = b - kSquareOfClass[cls][1];
        const int64_t j = (ox + 5 * oy) / 13;  // ox = -5i + 3j, oy = i + 2j
        return {oy - 2 * j, j};
    }

    // The square of the svastika (offset from its centre) in each class of (a + 5b) mod 13.
    static constexpr int kSquareOfClass[13][2] = {{0, 0}, {1, 0},   {2, 0}, {0, -2}, {1, -2},
                                                  {0, 1}, {-2, -1}, {2, 1}, {0, -1}, {-1, 2},
                                                  {0, 2}, {-2, 0},  {-1, 0}};
    static constexpr uint32_t kFills[3] = {kTempleGold, 0xFFF29A2Eu, 0xFFFFE08Au};
};

// =============================================================================================
// Boards and flags
// =============================================================================================

// A Go board with five stones. The squares are taken in 64 bits, and summed unsigned, so that
// coordinates far outside the picture cannot overflow (two squares of 2^31 pass the signed
// range); inside it they are the plain integer formula.
uint32_t WeiQiPixel(uint32_t x, uint32_t y) {
    const int64_t ix = Signed(x), iy = Signed(y);
    auto sq = [](int64_t v) { return uint64_t(v * v); };
    const uint64_t c = sq(512 - ix), d = sq(512 - iy);
    uint32_t a;
    if (c + d < 196) {
        a = 255;  // the white centre stone
    } else if (c + d <= 224) {
        a = 0;  // its rim
    } else if (d + sq(480 - ix) <= 224 || c + sq(480 - iy) <= 224 || d + sq(544 - ix) <= 224 ||
               c + sq(544 - iy) <= 224) {
        a = 0;  // the four black stones
    } else {
        a = (x % 32 != 0 && y % 32 != 0) ? 80 : 0;  // board, grid lines
    }
    return Rgb(2 * a, a, a);
}

uint32_t AmericanFlagPixel(uint32_t x, uint32_t y) {
    if (x <= 600 && y <= 560) {
        const bool star = ((y + 41) % 124 < 20 && (x + 35) % 108 < 20) ||
                          ((y + 103) % 124 < 20 && (x + 89) % 108 < 20);
        return star ? kOpaqueWhite : 0xFF0000FFu;
    }
    return y % 160 < 80 ? 0xFFFF0000u : kOpaqueWhite;
}

// Inside a five-pointed star with the points p[0..4] (in angular order) around the origin: the
// star is the region bounded by the lines joining every second point. A point lies inside when
// at most one of those five lines separates it from the centre (a tip is beyond exactly one
// line, the inner pentagon beyond none, everything else beyond two or more). On a line counts
// as inside.
bool InPentagram(const float (*p)[2], float px, float py) {
    int beyond = 0;
    for (int i = 0; i < 5; ++i) {
        const float* a = p[i];
        const float* b = p[(i + 2) % 5];
        const float ex = b[0] - a[0], ey = b[1] - a[1];
        const float side = ex * (py - a[1]) - ey * (px - a[0]);
        const float centre = ex * (0.0f - a[1]) - ey * (0.0f - a[0]);
        if ((side < 0.0f && centre > 0.0f) || (side > 0.0f && centre < 0.0f)) ++beyond;
    }
    return beyond <= 1;
}

// 1680 x 1120: the large star and four small ones, each small star with a point toward the
// large star's centre. Unit a = height / 20.
class CPixel5StarsRedFlag final : public CPixelEquation {
public:
    explicit CPixel5StarsRedFlag(const EquationInfo& info) : CPixelEquation(info) {
        const float a = static_cast<float>(height) / 20.0f;
        const float big = std::sqrt(10.0f) * a, small = big / 3.0f;
        const float centres[5][2] = {
            {5 * a, 5 * a}, {10 * a, 2 * a}, {12 * a, 4 * a}, {12 * a, 7 * a}, {10 * a, 9 * a}};
        for (int s = 0; s < 5; ++s) {
            Star& star = stars_[s];
            star.x = centres[s][0];
            star.y = centres[s][1];
            star.radius = s == 0 ? big : small;
            const float theta = s == 0 ? 0.0f : std::atan2(5 * a - star.x, 5 * a - star.y) + kPi;
            star.cos = std::cos(theta);
            star.sin = std::sin(theta);
            for (int i = 0; i < 5; ++i) {
                const float phi = (static_cast<float>(i) - 0.5f) * (kTwoPi / 5.0f);
                star.points[i][0] = star.radius * std::sin(phi);
                star.points[i][1] = star.radius * std::cos(phi);
            }
        }
    }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        for (const Star& star : stars_) {
            const float dx = static_cast<float>(x) - star.x, dy = static_cast<float>(y) - star.y;
            if (dx * dx + dy * dy > star.radius * star.radius) continue;
            const float X = star.cos * dx - star.sin * dy, Y = star.sin * dx + star.cos * dy;
            if (InPentagram(star.points, X, Y)) return 0xFFFFF000u;
        }
        return 0xFFFF0000u;
    }

private:
    struct Star {
        float x, y, radius, cos, sin;
        float points[5][2];
    };
    Star stars_[5];
};

// 1680 x 1120: the white sun on the blue sky. Twelve triangular rays, one pointing straight
// up, reach the radius T; inside them a blue ring and the white disc, with the disc radius,
// the ring's outer radius and T in the ratio 15 : 17 : 30.
class CPixelBlueSkyWhiteSun final : public CPixelEquation {
public:
    explicit CPixelBlueSkyWhiteSun(const EquationInfo& info) : CPixelEquation(info) {
        tip_ = 0.375f * static_cast<float>(height < width ? height : width);
        disc_ = tip_ * (15.0f / 30.0f);
        ring_ = tip_ * (17.0f / 30.0f);
        // Adjacent rays share their base corners, on the ring's outer circle 15 degrees off
        // their axis; the base edge lies inside the ring, so each ray shows from the ring out.
        baseAlong_ = ring_ * std::cos(kPi / 12.0f);
        slope_ = ring_ * std::sin(kPi / 12.0f) / (tip_ - baseAlong_);
        for (int k = 0; k < 12; ++k) {
            dirX_[k] = std::sin(static_cast<float>(k) * (kPi / 6.0f));
            dirY_[k] = -std::cos(static_cast<float>(k) * (kPi / 6.0f));
        }
    }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float dx = static_cast<float>(x) + 0.5f - static_cast<float>(width) / 2.0f;
        const float dy = static_cast<float>(y) + 0.5f - static_cast<float>(height) / 2.0f;
        const float d2 = dx * dx + dy * dy;
        if (d2 <= disc_ * disc_) return kOpaqueWhite;
        if (d2 <= ring_ * ring_ || d2 > tip_ * tip_) return kSkyBlue;
        const int k = static_cast<int>(std::lround(AngleFromUp(dx, dy) / (kPi / 6.0f))) % 12;
        const float along = dx * dirX_[k] + dy * dirY_[k];
        const float across = std::fabs(dx * dirY_[k] - dy * dirX_[k]);
        return (along >= baseAlong_ && across <= (tip_ - along) * slope_) ? kOpaqueWhite : kSkyBlue;
    }

private:
    static constexpr uint32_t kSkyBlue = 0xFF000095u;
    float tip_, disc_, ring_, baseAlong_, slope_;
    float dirX_[12], dirY_[12];
};

// =============================================================================================
// Stars and the triangle
// =============================================================================================

// The point count of a star parameter: truncated, at least 3 (NaN included), at most kMax.
template <int kMax>
int StarPoints(float n) {
    const int32_t v = TruncateInt(n);
    return v < 3 ? 3 : (v > kMax ? kMax : v);
}

// The outline of a regular star around the origin: N tips at radius R on the axes k * sector
// (sector = 2 pi / N, angles from straight up) and inner corners at radius r halfway between.
class StarOutline {
public:
    void Build(int n, float tip, float inner) {
        sector_ = kTwoPi / static_cast<float>(n);
        tip_ = tip;
        // The edge from the tip (R, 0) to the inner corner; its normal points outward.
        const float ix = inner * std::cos(sector_ / 2.0f), iy = inner * std::sin(sector_ / 2.0f);
        nx_ = iy;
        ny_ = tip - ix;
        c_ = nx_ * tip;
    }
    float Sector() const { return sector_; }
    // A point at distance rho whose angle from the nearest tip's axis is a (|a| <= sector / 2).
    bool Inside(float rho, float a) const {
        if (!(rho <= tip_)) return false;
        a = std::fabs(a);
        return nx_ * (rho * std::cos(a)) + ny_ * (rho * std::sin(a)) <= c_;
    }

private:
    float sector_ = 1.0f, tip_ = 0.0f, nx_ = 0.0f, ny_ = 0.0f, c_ = 0.0f;
};

// A regular star of N points as a star polygon {N/m} with the densest m = (N - 1) / 2 (the
// pentagram for N = 5, the octagram {8/3} for 8), one point up, gold on night blue. The
// outline alternates between the points (radius 440) and the inner corners where adjacent
// lines cross, r = R cos(m pi / N) / cos((m - 1) pi / N).
class CPixelNStar final : public CPixelEquation {
public:
    explicit CPixelNStar(const EquationInfo& info) : CPixelEquation(info) { ParamsChanged(); }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const auto [dx, dy] = FromCentre(x, y);
        const float sector = outline_.Sector();
        float a = std::fmod(AngleFromUp(dx, dy), sector);  // from the previous tip's axis
        if (a > sector / 2.0f) a = sector - a;
        return outline_.Inside(std::sqrt(dx * dx + dy * dy), a) ? kGold : kNight;
    }

protected:
    void ParamsChanged() override {
        const int n = StarPoints<4096>(params[0]);
        const int m = (n - 1) / 2;
        const float inner = kRadius * std::cos(static_cast<float>(m) * kPi / n) /
                            std::cos(static_cast<float>(m - 1) * kPi / n);
        outline_.Build(n, kRadius, inner);
    }

private:
    static constexpr float kRadius = 440.0f;
    static constexpr uint32_t kGold = 0xFFFFD21Fu, kNight = 0xFF0B1A4Au;
    StarOutline outline_;
};

// A faceted star lit from the upper left: N points of the given Radius and inner corners at
// 0.382 of it (the pentagram's ratio), raised to a centre apex Height Scale x Radius high.
// Each point has two flat facets (apex, tip, corner); each facet gets one Lambert shade with
// an ambient floor, so the facets meet in hard ridges.
class CPixelNLightStar final : public CPixelEquation {
public:
    explicit CPixelNLightStar(const EquationInfo& info) : CPixelEquation(info) { ParamsChanged(); }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const auto [dx, dy] = FromCentre(x, y);
        const float sector = outline_.Sector(), angle = AngleFromUp(dx, dy);
        int k = static_cast<int>(std::floor(angle / sector + 0.5f));  // the nearest tip
        if (k >= n_) k -= n_;
        float b = angle - static_cast<float>(k) * sector;  // from the tip's axis
        if (b > kPi) b -= kTwoPi;
        if (!outline_.Inside(std::sqrt(dx * dx + dy * dy), b)) return kBackground;
        return shades_[2 * k + (b >= 0.0f ? 1 : 0)];
    }

protected:
    void ParamsChanged() override {
        n_ = StarPoints<kMaxPoints>(params[0]);
        const float radius = params[1] > 0.0f ? params[1] : 0.0f, inner = radius * kInnerRatio;
        outline_.Build(n_, radius, inner);
        const float sector = outline_.Sector();
        const float apex = params[2] * radius;
        // Light from the upper left and in front (screen x right, y down, z toward the viewer).
        const float lx = -0.48f, ly = -0.56f, lz = 0.675f;
        for (int k = 0; k < n_; ++k) {
            const float tip = static_cast<float>(k) * sector;
            for (int side = 0; side < 2; ++side) {
                const float corner = tip + (side ? 0.5f : -0.5f) * sector;
                // Facet vectors from the apex (0, 0, apex) to the tip and to the corner.
                const float ax = radius * std::sin(tip), ay = -radius * std::cos(tip);
                const float bx = inner * std::sin(corner), by = -inner * std::cos(corner);
                float nx = ay * -apex - (-apex) * by;
                float ny = (-apex) * bx - ax * -apex;
                float nz = ax * by - ay * bx;
                if (nz < 0.0f) nx = -nx, ny = -ny, nz = -nz;
                const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
                float lambert = len > 0.0f ? (nx * lx + ny * ly + nz * lz) / len : 0.0f;
                if (!(lambert > 0.0f)) lambert = 0.0f;
                const float shade = 0.22f + 0.78f * lambert;
                shades_[2 * k + side] = Rgb(static_cast<uint32_t>(255.0f * shade),
                                            static_cast<uint32_t>(205.0f * shade),
                                            static_cast<uint32_t>(60.0f * shade));
            }
        }
    }

private:
    static constexpr int kMaxPoints = 256;
    static constexpr float kInnerRatio = 0.381966f;
    static constexpr uint32_t kBackground = 0xFF0E1430u;
    int n_ = 5;
    StarOutline outline_;
    uint32_t shades_[2 * kMaxPoints] = {};
};

// A filled triangle on black with the corners Point0, Point1 and Point2 in red, green and blue
// and the colours blended by barycentric weight inside; its edges belong to it. A triangle of
// no area draws nothing.
class CPixelTriangle final : public CPixelEquation {
public:
    explicit CPixelTriangle(const EquationInfo& info) : CPixelEquation(info) { ParamsChanged(); }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        if (!(area_ != 0.0f)) return kOpaqueBlack;
        const float px = static_cast<float>(x), py = static_cast<float>(y);
        float w[3];
        for (int i = 0; i < 3; ++i) {
            const float* a = corner_[(i + 1) % 3];
            const float* b = corner_[(i + 2) % 3];
            w[i] = ((b[0] - a[0]) * (py - a[1]) - (b[1] - a[1]) * (px - a[0])) / area_;
            if (w[i] < 0.0f) return kOpaqueBlack;
        }
        return Rgb(WeightByte(w[0]), WeightByte(w[1]), WeightByte(w[2]));
    }

protected:
    void ParamsChanged() override {
        for (int i = 0; i < 3; ++i)
            corner_[i][0] = params[2 * i], corner_[i][1] = params[2 * i + 1];
        area_ = (corner_[2][0] - corner_[1][0]) * (corner_[0][1] - corner_[1][1]) -
                (corner_[2][1] - corner_[1][1]) * (corner_[0][0] - corner_[1][0]);
    }

private:
    float corner_[3][2] = {};
    float area_ = 0.0f;
};

using CPixelTaijiFour = CFormulaEquation<TaijiFourPixel>;
using CPixelTaijiWorld = CFormulaEquation<TaijiWorldPixel>;
using CPixelWeiQi = CFormulaEquation<WeiQiPixel>;
using CPixelAmericanFlag = CFormulaEquation<AmericanFlagPixel>;

constexpr EquationClass kEmblemEquations[] = {
    {"CPixelTaijiYinyang", CreatePixelEquation<CPixelTaijiYinyang>},
    {"CPixelTaijiFour", CreatePixelEquation<CPixelTaijiFour>},
    {"CPixelTaijiWorld", CreatePixelEquation<CPixelTaijiWorld>},
    {"CPixelTaijiEight", CreatePixelEquation<CPixelTaijiEight>},
    {"CPixelSvastikaLeft", CreatePixelEquation<CPixelSvastikaLeft>},
    {"CPixelSvastikaRight", CreatePixelEquation<CPixelSvastikaRight>},
    {"CPixelSvastikasSet", CreatePixelEquation<CPixelSvastikasSet>},
    {"CPixelBlueSkyWhiteSun", CreatePixelEquation<CPixelBlueSkyWhiteSun>},
    {"CPixel5StarsRedFlag", CreatePixelEquation<CPixel5StarsRedFlag>},
    {"CPixelAmericanFlag", CreatePixelEquation<CPixelAmericanFlag>},
    {"CPixelWeiQi", CreatePixelEquation<CPixelWeiQi>},
    {"CPixelTriangle", CreatePixelEquation<CPixelTriangle>},
    {"CPixelNStar", CreatePixelEquation<CPixelNStar>},
    {"CPixelNLightStar", CreatePixelEquation<CPixelNLightStar>},
};

}  // namespace

EquationClassTable EmblemEquations() { return kEmblemEquations; }

}  // namespace luneth
