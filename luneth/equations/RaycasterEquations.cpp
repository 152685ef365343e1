// Raycaster equations: a ray from the eye through every pixel.
//
// Index of this file:
//   "Raycaster Sphere"   a chrome ball and two coloured balls on a checkered floor under the
//                        sky: reflections, shadows, highlights, four rays a pixel
//   "Raycaster Sprite"   a first-person view down the corridors of a grid maze: textured
//                        walls found by stepping the ray from cell to cell, floor and ceiling
//                        cast per pixel, and billboard sprites (barrels, pillars, a lamp)
//                        hidden behind nearer walls
//
// Both scenes are fixed; every pixel is computed on its own from the eye and its ray.
#include <algorithm>
#include <array>
#include <cmath>

#include "common/FloatConstants.h"
#include "equations/EquationFamilies.h"
#include "equations/ShadingHelpers.h"

namespace luneth {

namespace {

// =============================================================================================
// Raycaster Sphere
// =============================================================================================

struct Ball {
    Vec3 centre;
    float radius;
    Rgbf colour;
    float mirror;  // share of the reflection in the ball's colour
};

constexpr Ball kBalls[3] = {
    {{0.0f, 1.0f, 0.0f}, 1.0f, {0.9f, 0.9f, 0.95f}, 0.85f},
    {{-1.9f, 0.55f, 0.9f}, 0.55f, {0.85f, 0.12f, 0.10f}, 0.12f},
    {{1.7f, 0.45f, 1.3f}, 0.45f, {0.12f, 0.35f, 0.85f}, 0.2f},
};
constexpr Vec3 kEye{0.4f, 1.6f, 6.0f}, kLookAt{0.0f, 0.7f, 0.0f};
constexpr Vec3 kLight{-4.0f, 7.0f, 5.0f};

struct Hit {
    float t = 1e30f;
    int ball = -1;  // -1 the floor, -2 nothing
};

// The nearest hit along o + t d (d of length 1) beyond a small offset.
Hit Trace(const Vec3& o, const Vec3& d) {
    Hit hit;
    hit.ball = -2;
    for (int i = 0; i < 3; ++i) {
        const Vec3 oc = o - kBalls[i].centre;
        const float b = Dot(oc, d), c = Dot(oc, oc) - kBalls[i].radius * kBalls[i].radius;
        const float disc = b * b - c;
        if (disc < 0.0f) continue;
        const float t = -b - std::sqrt(disc);
        if (t > 1e-3f && t < hit.t) hit = {t, i};
    }
    if (d.y() < -1e-6f) {
        const float t = -o.y() / d.y();
        if (t > 1e-3f && t < hit.t) hit = {t, -1};
    }
    return hit;
}

Rgbf Sky(const Vec3& d) {
    const float up = Saturate(d.y());
    return Mix(Rgbf{0.85f, 0.88f, 0.95f}, Rgbf{0.25f, 0.45f, 0.85f}, std::sqrt(up));
}

// Checkered floor: each axis a square wave whose edges are blurred over the ray's footprint,
// so that far tiles fade to grey instead of flickering.
Rgbf Floor(const Vec3& p, float footprint) {
    const float blur = std::max(footprint * kPi, 1e-4f);
    const float sx = Clamp(std::sin(p.x() * kPi) / blur, -1.0f, 1.0f);
    const float sz = Clamp(std::sin(p.z() * kPi) / blur, -1.0f, 1.0f);
    return Mix(Rgbf{0.12f, 0.12f, 0.14f}, Rgbf{0.92f, 0.90f, 0.84f}, 0.5f + 0.5f * sx * sz);
}

float Lit(const Vec3& p, const Vec3& n) {
    const Vec3 toLight = kLight - p;
    const float distance = Length(toLight);
    const Vec3 l = toLight / distance;
    const float diffuse = Dot(n, l);
    if (diffuse <= 0.0f) return 0.0f;
    const Hit blocker = Trace(p + n * 1e-3f, l);
    return (blocker.ball >= 0 && blocker.t < distance) ? 0.0f : diffuse;
}

// The colour seen along a ray, following mirror reflections up to `depth` more bounces.
Rgbf Shade(const Vec3& o, const Vec3& d, float spread, int depth) {
    const Hit hit = Trace(o, d);
    if (hit.ball == -2) return Sky(d);
    const Vec3 p = o + d * hit.t;
    if (hit.ball == -1) {
        const float fade = std::exp(-0.02f * hit.t * hit.t);  // far floor melts into the haze
        const Rgbf floor = Floor(p, spread * hit.t) * (0.3f + 0.7f * Lit(p, {0, 1, 0}));
        return Mix(Sky({d.x(), 0.0f, d.z()}), floor, fade);
    }
    const Ball& ball = kBalls[hit.ball];
    const Vec3 n = (p - ball.centre) / ball.radius;
    const Vec3 r = d - n * (2.0f * Dot(d, n));
    const float light = Lit(p, n);
    const Vec3 l = Normalize(kLight - p);
    const float specular = light > 0.0f ? std::pow(Saturate(Dot(r, l)), 80.0f) : 0.0f;
    Rgbf c = ball.colour * (0.15f + 0.85f * light);
    if (depth > 0)
        c = Mix(c, Shade(p + n * 1e-3f, r, spread, depth - 1) * ball.colour, ball.mirror);
    return c + Rgbf{1, 1, 1} * specular;
}

class CPixelRaycasterSphere final : public CPixelEquation {
public:
    explicit CPixelRaycasterSphere(const EquationInfo& info) : CPixelEquation(info) {
        forward_ = Normalize(kLookAt - kEye);
        right_ = Normalize(Cross(forward_, Vec3{0, 1, 0}));
        up_ = Cross(right_, forward_);
        const float side = static_cast<float>(std::max(1u, std::min(width, height)));
        pixel_ = 2.0f * std::tan(0.5f * kFieldOfView) / side;
    }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        // Four rays a pixel on a rotated grid, averaged.
        constexpr float kOffsets[4][2] = {
            {0.125f, 0.375f}, {0.375f, -0.125f}, {-0.125f, -0.375f}, {-0.375f, 0.125f}};
        Rgbf sum{0, 0, 0};
        for (const auto& o : kOffsets) {
            const float u =
                (static_cast<float>(Signed(x)) + 0.5f + o[0] - 0.5f * static_cast<float>(width)) *
                pixel_;
            const float v =
                (0.5f * static_cast<float>(height) - static_cast<float>(Signed(y)) - 0.5f - o[1]) *
                pixel_;
            sum = sum + Shade(kEye, Normalize(forward_ + right_ * u + up_ * v), pixel_, 2);
        }
        return Pack(sum * 0.25f);
    }

private:
    static constexpr float kFieldOfView = 0.9f;  // radians across the shorter side
    Vec3 forward_{0, 0, -1}, right_{1, 0, 0}, up_{0, 1, 0};
    float pixel_ = 0.001f;
};

// =============================================================================================
// Raycaster Sprite
// =============================================================================================

// The maze, 16 x 16 cells: 0 open, 1 bricks, 2 stone, 3 wood, 4 blue tiles.
constexpr std::array<const char*, 16> kMaze = {
    "1111111111111111", "1000000000000001", "1033330000444401", "1030000000000401",
    "1030000000000401", "1000000000000001", "1222200000022221", "1000000000000004",
    "1000000000000004", "1000000000000004", "1333300000033331", "1000000000000001",
    "1022220000333301", "1020000000000301", "1000000000000001", "1111111111111111",
};

int MazeCell(int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= 16 || y >= 16) return 1;
    return kMaze[y][x] - '0';
}

struct Sprite {
    float x, y;
    int kind;  // 0 barrel, 1 pillar, 2 hanging lamp
};
constexpr Sprite kSprites[] = {
    {5.5f, 7.3f, 1}, {5.5f, 9.7f, 1}, {10.5f, 7.3f, 1}, {10.5f, 9.7f, 1},
    {7.8f, 9.2f, 0}, {8.6f, 9.5f, 0}, {12.5f, 7.6f, 0}, {8.5f, 12.5f, 0},
    {4.0f, 8.5f, 2}, {8.0f, 8.5f, 2}, {12.0f, 8.5f, 2}, {7.5f, 3.5f, 1},
};

// A sprite's colour at texture coordinates (u, v) in [0, 1] (v down); false where it is clear.
bool SpriteTexel(int kind, float u, float v, Rgbf& c) {
    const float across = 2.0f * u - 1.0f;
    switch (kind) {
        case 0: {  // barrel: the lower 60 percent, bulging, two iron hoops
            if (v < 0.4f) return false;
            const float w = 0.55f + 0.08f * std::sin((v - 0.4f) / 0.6f * kPi);
            if (std::fabs(across) > w) return false;
            const float round = std::sqrt(std::max(0.0f, 1.0f - (across / w) * (across / w)));
            const float staves = 0.85f + 0.15f * std::cos(across * 18.0f);
            const bool hoop = std::fabs(v - 0.55f) < 0.025f || std::fabs(v - 0.86f) < 0.025f;
            c = (hoop ? Rgbf{0.35f, 0.35f, 0.38f} : Rgbf{0.55f, 0.32f, 0.14f} * staves) *
                (0.35f + 0.65f * round);
            return true;
        }
        case 1: {  // stone pillar with a base and a capital
            const float w = (v < 0.1f || v > 0.9f) ? 0.42f : 0.3f;
            if (std::fabs(across) > w) return false;
            const float round = std::sqrt(std::max(0.0f, 1.0f - (across / w) * (across / w)));
            const float flutes = 0.9f + 0.1f * std::cos(across * 40.0f);
            c = Rgbf{0.75f, 0.72f, 0.66f} * flutes * (0.3f + 0.7f * round);
            return true;
        }
        default: {  // lamp hanging from the ceiling: a chain and a glowing globe
            if (v < 0.25f) {
                if (std::fabs(across) > 0.03f) return false;
                c = {0.2f, 0.2f, 0.2f};
                return true;
            }
            const float d = std::sqrt(across * across + (v - 0.33f) * (v - 0.33f) * 4.0f);
            if (d > 0.18f) return false;
            c = Mix(Rgbf{1.0f, 0.98f, 0.8f}, Rgbf{1.0f, 0.7f, 0.25f}, d / 0.18f);
            return true;
        }
    }
}

// Wall textures over (u, v) in [0, 1] of a cell's face.
Rgbf WallTexel(int kind, float u, float v) {
    switch (kind) {
        case 1: {  // bricks: 4 rows of 2, every other row offset by half a brick
            const float row = std::floor(v * 4.0f);
            const float bu = Fract(u * 2.0f + (std::fmod(row, 2.0f) == 0.0f ? 0.0f : 0.5f));
            const float bv = Fract(v * 4.0f);
            if (bu < 0.04f || bv < 0.08f) return {0.55f, 0.52f, 0.48f};
            const int32_t id = static_cast<int32_t>(row) * 7 +
                               static_cast<int32_t>(std::floor(u * 2.0f + 0.5f * row));
            return Rgbf{0.62f, 0.24f, 0.16f} * (0.85f + 0.25f * HashUnit(id, 3, 61));
        }
        case 2: {  // large stone blocks
            const float bu = Fract(u * 2.0f), bv = Fract(v * 2.0f);
            if (bu < 0.03f || bv < 0.03f) return {0.2f, 0.2f, 0.22f};
            const float grit =
                HashUnit(static_cast<int32_t>(u * 64.0f), static_cast<int32_t>(v * 64.0f), 62);
            return Rgbf{0.5f, 0.5f, 0.52f} * (0.85f + 0.2f * grit);
        }
        case 3: {  // wooden planks with grain
            const float plank = std::floor(u * 4.0f);
            const float grain =
                0.5f + 0.5f * std::sin(v * 40.0f + 6.0f * std::sin(u * 25.0f + plank));
            if (Fract(u * 4.0f) < 0.05f) return {0.18f, 0.1f, 0.05f};
            return Rgbf{0.5f, 0.3f, 0.14f} * (0.8f + 0.2f * grain);
        }
        default: {  // blue tiles with a gold ring in the middle
            const float du = u - 0.5f, dv = v - 0.5f;
            const float ring = std::fabs(std::sqrt(du * du + dv * dv) - 0.28f);
            if (ring < 0.04f) return {0.9f, 0.7f, 0.2f};
            const bool grout = Fract(u * 4.0f) < 0.05f || Fract(v * 4.0f) < 0.05f;
            return grout ? Rgbf{0.75f, 0.78f, 0.8f} : Rgbf{0.12f, 0.3f, 0.65f};
        }
    }
}

class CPixelRaycasterSprite final : public CPixelEquation {
public:
    explicit CPixelRaycasterSprite(const EquationInfo& info) : CPixelEquation(info) {
        dirX_ = std::cos(kHeading), dirY_ = std::sin(kHeading);
        // The camera plane at right angles to the view, its half length the half field of view.
        planeX_ = -dirY_ * kPlane, planeY_ = dirX_ * kPlane;
    }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float w = static_cast<float>(width), h = static_cast<float>(height);
        const float sx = static_cast<float>(Signed(x)) + 0.5f,
                    sy = static_cast<float>(Signed(y)) + 0.5f;
        const float camera = 2.0f * sx / w - 1.0f;
        const float rayX = dirX_ + planeX_ * camera, rayY = dirY_ + planeY_ * camera;

        // Step the ray cell by cell (a digital differential analyser) to the first wall.
        int32_t cellX = static_cast<int32_t>(kEyeX), cellY = static_cast<int32_t>(kEyeY);
        const float deltaX = rayX == 0.0f ? 1e30f : std::fabs(1.0f / rayX);
        const float deltaY = rayY == 0.0f ? 1e30f : std::fabs(1.0f / rayY);
        const int32_t stepX = rayX < 0.0f ? -1 : 1, stepY = rayY < 0.0f ? -1 : 1;
        float sideX = (rayX < 0.0f ? kEyeX - static_cast<float>(cellX)
                                   : static_cast<float>(cellX) + 1.0f - kEyeX) *
                      deltaX;
        float sideY = (rayY < 0.0f ? kEyeY - static_cast<float>(cellY)
                                   : static_cast<float>(cellY) + 1.0f - kEyeY) *
                      deltaY;
        int side = 0, wall = 0;
        for (int i = 0; i < 64 && wall == 0; ++i) {
            if (sideX < sideY) {
                sideX += deltaX, cellX += stepX, side = 0;
            } else {
                sideY += deltaY, cellY += stepY, side = 1;
            }
            wall = MazeCell(cellX, cellY);
        }
        if (wall == 0) wall = 1;
        // The distance along the view direction (no fish-eye bulge).
        const float distance = std::max(side == 0 ? sideX - deltaX : sideY - deltaY, 1e-3f);

        Rgbf c;
        float depth;
        const float line = h / distance;  // the wall's height on screen
        const float top = 0.5f * h - 0.5f * line;
        if (sy >= top && sy < top + line) {
            float u = side == 0 ? kEyeY + distance * rayY : kEyeX + distance * rayX;
            u -= std::floor(u);
            if ((side == 0 && rayX > 0.0f) || (side == 1 && rayY < 0.0f)) u = 1.0f - u;
            c = WallTexel(wall, u, (sy - top) / line) * (side == 1 ? 0.7f : 1.0f);
            depth = distance;
        } else {
            // Floor and ceiling: the row's distance from the eye half a cell above the floor.
            const bool floor = sy > 0.5f * h;
            depth = 0.5f * h / std::max(std::fabs(sy - 0.5f * h), 1e-3f);
            const float fx = kEyeX + depth * rayX, fy = kEyeY + depth * rayY;
            const bool odd =
                (static_cast<int64_t>(std::floor(fx)) + static_cast<int64_t>(std::floor(fy))) & 1;
            const bool grout = Fract(fx) < 0.04f || Fract(fy) < 0.04f;
            if (floor) {
                c = grout ? Rgbf{0.25f, 0.22f, 0.2f}
                          : (odd ? Rgbf{0.55f, 0.5f, 0.42f} : Rgbf{0.45f, 0.4f, 0.34f});
            } else {
                c = Fract(fx * 2.0f) < 0.15f ? Rgbf{0.22f, 0.13f, 0.07f}
                                             : Rgbf{0.35f, 0.22f, 0.12f};
            }
        }

        // Sprites in front of what the ray hit, the nearest one showing.
        const float inverse = 1.0f / (planeX_ * dirY_ - dirX_ * planeY_);
        float nearest = depth;
        for (const Sprite& s : kSprites) {
            const float dx = s.x - kEyeX, dy = s.y - kEyeY;
            const float across = inverse * (dirY_ * dx - dirX_ * dy);
            const float ahead = inverse * (-planeY_ * dx + planeX_ * dy);
            if (ahead < 0.1f || ahead >= nearest) continue;
            const float size = h / ahead;
            const float centreX = 0.5f * w * (1.0f + across / ahead);
            const float u = (sx - (centreX - 0.5f * size)) / size;
            const float v = (sy - (0.5f * h - 0.5f * size)) / size;
            Rgbf texel;
            if (u < 0.0f || u >= 1.0f || v < 0.0f || v >= 1.0f || !SpriteTexel(s.kind, u, v, texel))
                continue;
            c = texel;
            nearest = ahead;
        }
        // Darker with distance, as if lit by the eye's lantern.
        return Pack(c * (1.0f / (1.0f + 0.02f * nearest * nearest)));
    }

private:
    static constexpr float kEyeX = 1.5f, kEyeY = 8.4f, kHeading = 0.06f, kPlane = 0.66f;
    float dirX_ = 1.0f, dirY_ = 0.0f, planeX_ = 0.0f, planeY_ = 0.66f;
};

constexpr EquationClass kRaycasterEquations[] = {
    {"CPixelRaycasterSphere", CreatePixelEquation<CPixelRaycasterSphere>},
    {"CPixelRaycasterSprite", CreatePixelEquation<CPixelRaycasterSprite>},
};

}  // namespace

EquationClassTable RaycasterEquations() { return kRaycasterEquations; }

}  // namespace luneth
