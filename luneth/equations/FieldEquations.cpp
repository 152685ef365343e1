// Field equations: pictures of a field over the plane, every pixel computed on its own.
//
// Index of this file:
//   Waves     "Reflected Waves"   a ripple tank: one source and its mirror images in the walls
//   Lens      "Magnifier Ball"    a glass ball lying on a tiled page, refracting it
//   Flow      "Joukowsky"         potential flow past the Joukowsky airfoil, with lift
//   Curve     "Diabolical"        the devil's curve y^2 (y^2 - a^2) = x^2 (x^2 - b^2) and its
//                                 level sets
//
// Lines (streamlines, level sets, the curve) are drawn about a pixel wide by dividing the
// field's distance to the line by its gradient: the same width everywhere, no jagged edges.
#include <algorithm>
#include <cmath>
#include <complex>

#include "common/FloatConstants.h"
#include "equations/EquationFamilies.h"
#include "equations/ShadingHelpers.h"

namespace luneth {

namespace {

using Cf = std::complex<float>;

// How much of a line shows at distance `d` pixels from its centre, `halfWidth` pixels wide on
// either side: 1 on the line, falling to 0 over one pixel.
float LineCover(float d, float halfWidth) {
    return 1.0f - Smoothstep(halfWidth - 0.5f, halfWidth + 0.5f, d);
}

// =============================================================================================
// Waves
// =============================================================================================

// Circular waves from one source in a tank whose walls are the picture's edges. A wall
// reflects as if a mirror-image source stood behind it, so the field is the sum over the
// source and its images in the four walls and the four corners, each image weaker by one
// reflection loss per wall. The surface is lit from the upper left and reflects a pale sky.
//
// "Wave Size" sets the wavelength: 10 + size / 250 pixels, from 10 at 0 through 42 at the
// default 8000 to 50 at the top of the range.
class CPixelReflectedWaves final : public CPixelEquation {
public:
    explicit CPixelReflectedWaves(const EquationInfo& info) : CPixelEquation(info) {
        const float w = static_cast<float>(width), h = static_cast<float>(height);
        const float sx = 0.34f * w, sy = 0.41f * h;  // the source, off every axis of symmetry
        const float xs[3] = {sx, -sx, 2.0f * w - sx}, ys[3] = {sy, -sy, 2.0f * h - sy};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                const int walls = (i > 0) + (j > 0);
                sources_[i * 3 + j] = {xs[i], ys[j],
                                       walls == 0 ? 1.0f : (walls == 1 ? 0.6f : 0.36f)};
            }
        }
        ParamsChanged();
    }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float px = static_cast<float>(Signed(x)) + 0.5f;
        const float py = static_cast<float>(Signed(y)) + 0.5f;
        float height = 0.0f, slopeX = 0.0f, slopeY = 0.0f;
        for (const Source& s : sources_) {
            const float dx = px - s.x, dy = py - s.y;
            const float r = std::sqrt(dx * dx + dy * dy) + 1e-3f;
            // Circular waves fall off as 1 / sqrt(r), held at 1 near the source.
            const float a = s.amplitude / std::sqrt(1.0f + r * inverseWavelength_);
            const float phase = r * waveNumber_;
            height += a * std::cos(phase);
            const float ds = -a * waveNumber_ * std::sin(phase) / r;
            slopeX += ds * dx, slopeY += ds * dy;
        }
        const Vec3 n = Normalize(Vec3{-slopeX * relief_, -slopeY * relief_, 1.0f});
        const float diffuse = Saturate(Dot(n, kSun));
        const Vec3 half = Normalize(kSun + Vec3{0, 0, 1});
        const float specular = std::pow(Saturate(Dot(n, half)), 30.0f);
        const float crest = Saturate(0.5f + 0.6f * height);
        Rgbf c = Mix(Rgbf{0.01f, 0.08f, 0.22f}, Rgbf{0.12f, 0.62f, 0.68f}, crest);
        c = c * (0.45f + 0.7f * diffuse) + Rgbf{0.75f, 0.85f, 0.9f} * (0.15f * (1.0f - n.z()));
        return Pack(c + Rgbf{1.0f, 0.97f, 0.9f} * specular);
    }

protected:
    void ParamsChanged() override {
        // Sizes outside the range are held to it; NaN takes the default.
        const float size = std::isnan(params[0]) ? 8000.0f : std::clamp(params[0], 0.0f, 10000.0f);
        const float wavelength = 10.0f + size / 250.0f;
        waveNumber_ = kTwoPi / wavelength;
        inverseWavelength_ = 1.0f / wavelength;
        relief_ = 4.0f * wavelength / 42.0f;  // the same steepness at every size
    }

private:
    struct Source {
        float x, y, amplitude;
    };
    static constexpr Vec3 kSun = {-0.48f, -0.6f, 0.64f};
    Source sources_[9] = {};
    float waveNumber_ = 1.0f, inverseWavelength_ = 1.0f, relief_ = 1.0f;
};

// =============================================================================================
// Lens
// =============================================================================================

// A page of pastel tiles with a fine grid, seen through a glass ball of radius 180 lying on it
// at ("Ball Pos X", "Ball Pos Y"). A ray from the viewer is bent into the ball, bent again where
// it leaves, and lands on the page below: close to the centre the page shows upright and
// magnified, towards the rim it is squeezed and finally mirrored. The ball casts a soft shadow
// to the lower right and shows a window's reflection and a highlight.
class CPixelMagnifierBall final : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float px = static_cast<float>(Signed(x)) + 0.5f;
        const float py = static_cast<float>(Signed(y)) + 0.5f;
        const float bx = Finite(params[0], 512.0f) + 0.5f, by = Finite(params[1], 512.0f) + 0.5f;
        const float dx = px - bx, dy = py - by;
        const float d2 = dx * dx + dy * dy;
        if (d2 >= kRadius * kRadius) {
            // The page, darkened by the shadow of the ball (light from the upper left).
            const float sx = dx - 0.3f * kRadius, sy = dy - 0.35f * kRadius;
            const float shadow =
                Smoothstep(kRadius * 0.55f, kRadius * 1.1f, std::sqrt(sx * sx + sy * sy));
            return Pack(Page(px, py) * (0.55f + 0.45f * shadow));
        }
        // Unit sphere around the ball's centre; the page is the plane z = -1, the viewer far
        // above (rays straight down).
        const Vec3 front{dx / kRadius, dy / kRadius,
                         std::sqrt(std::max(0.0f, 1.0f - d2 / (kRadius * kRadius)))};
        const Vec3 down{0, 0, -1};
        Vec3 inside = down;  // entering denser glass never reflects totally
        Refract(down, front, 1.0f / kGlass, inside);
        // The ray leaves the sphere where it meets it again: t = -2 (front . inside).
        const Vec3 back = front + inside * (-2.0f * Dot(front, inside));
        Vec3 out;
        Rgbf c;
        if (Refract(inside, -back, kGlass, out) && out.z() < -1e-4f) {
            const float t = (-1.0f - back.z()) / out.z();
            const Vec3 hit = back + out * t;
            c = Page(bx + hit.x() * kRadius, by + hit.y() * kRadius) * Rgbf{0.93f, 0.97f, 1.0f};
        } else {
            c = Rgbf{0.15f, 0.2f, 0.25f};  // totally reflected: the dark inside of the glass
        }
        // Reflections: more at the rim (Fresnel), a bright window and a sharp highlight.
        const float cosine = front.z();
        const float fresnel = 0.04f + 0.96f * std::pow(1.0f - cosine, 5.0f);
        const Vec3 reflected = down - front * (2.0f * Dot(down, front));
        const float window =
            Smoothstep(0.75f, 0.9f, Dot(reflected, Normalize(Vec3{-0.5f, -0.6f, 0.62f})));
        c = Mix(c, Rgbf{0.85f, 0.9f, 1.0f}, Saturate(fresnel + 0.5f * window));
        const float highlight =
            std::pow(Saturate(Dot(reflected, Normalize(Vec3{-0.45f, -0.55f, 0.7f}))), 400.0f);
        return Pack(c + Rgbf{1, 1, 1} * highlight);
    }

private:
    static constexpr float kRadius = 180.0f;
    static constexpr float kGlass = 1.5f;  // refractive index

    static float Finite(float v, float fallback) {
        return std::isfinite(v) ? std::clamp(v, -1e6f, 1e6f) : fallback;
    }

    // Snell's law for unit vectors: false on total internal reflection.
    static bool Refract(const Vec3& in, const Vec3& normal, float eta, Vec3& out) {
        const float c = -Dot(normal, in);
        const float k = 1.0f - eta * eta * (1.0f - c * c);
        if (k < 0.0f) return false;
        out = in * eta + normal * (eta * c - std::sqrt(k));
        return true;
    }

    // Tiles of 32 pixels in hashed pastel colours with a dot in each, a grid every 8 pixels.
    static Rgbf Page(float x, float y) {
        const float tx = std::floor(x / 32.0f), ty = std::floor(y / 32.0f);
        const int32_t ix = static_cast<int32_t>(std::clamp(tx, -1e8f, 1e8f));
        const int32_t iy = static_cast<int32_t>(std::clamp(ty, -1e8f, 1e8f));
        const float hue = HashUnit(ix, iy, 7);
        Rgbf c = Ramp(kPastels, hue);
        const float u = x - tx * 32.0f - 16.0f, v = y - ty * 32.0f - 16.0f;
        const float dot = LineCover(std::sqrt(u * u + v * v), 3.0f);
        c = Mix(c, c * 0.45f, dot);
        const float gx = std::fabs(x / 8.0f - std::round(x / 8.0f)) * 8.0f;
        const float gy = std::fabs(y / 8.0f - std::round(y / 8.0f)) * 8.0f;
        return Mix(c, Rgbf{0.25f, 0.3f, 0.4f}, 0.45f * LineCover(std::min(gx, gy), 0.5f));
    }

    static constexpr std::array<Rgbf, 5> kPastels = {{{0.98f, 0.78f, 0.72f},
                                                      {0.99f, 0.93f, 0.66f},
                                                      {0.74f, 0.92f, 0.74f},
                                                      {0.70f, 0.84f, 0.98f},
                                                      {0.88f, 0.76f, 0.96f}}};
};

// =============================================================================================
// Flow
// =============================================================================================

// The Joukowsky map w = z + 1/z takes a circle through z = 1 that encloses z = -1 to a
// wing-shaped airfoil with a sharp trailing edge at w = 2. Flow past the circle is known in
// closed form; carried through the map it is the flow past the airfoil. The circulation is the
// one that makes the flow leave the trailing edge smoothly (the Kutta condition), which is
// where the wing's lift comes from.
//
// A pixel w is mapped back by z = (w +- sqrt(w^2 - 4)) / 2; of the two roots (whose product
// is 1) the one farther from the circle's centre is the flow's point, whatever branch the
// square root took; when even that one lies inside the circle, w lies inside the wing, and its
// distance to the circle, scaled by the map, gives a smooth outline.
// Colours: the pressure coefficient, blue where the flow is fast (above the wing), red where
// it stagnates; white streamlines every 0.12 of the stream function.
class CPixelJoukowsky final : public CPixelEquation {
public:
    explicit CPixelJoukowsky(const EquationInfo& info) : CPixelEquation(info) {
        const float side = static_cast<float>(std::max(1u, std::min(width, height)));
        unit_ = 6.4f / side;
        rotation_ = std::polar(1.0f, -kAttack);
        const Cf trailing = Cf(1.0f, 0.0f) - kCentre;
        radius_ = std::abs(trailing);
        circulation_ = 4.0f * kPi * radius_ * std::sin(kAttack - std::arg(trailing));
    }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const float half = 0.5f * unit_;
        const Vec2 p = PixelPoint(x, y, -unit_ * static_cast<float>(width) / 2.0f,
                                  unit_ * static_cast<float>(height) / 2.0f, unit_, -unit_);
        const Cf w(p.x(), p.y());
        const Cf zeta = Preimage(w);
        const Cf z = zeta + kCentre;
        const Cf dwdz = 1.0f - 1.0f / (z * z);
        // Signed distance to the wing's outline in pixels, from the circle's by the map's scale.
        const float edge = (std::abs(zeta) - radius_) * std::abs(dwdz) / unit_;
        if (!(edge > 0.0f)) return Pack(Mix(kWing, kOutline, LineCover(-edge, 0.8f)));

        // Complex potential F = U (zeta e^-ia + R^2 e^ia / zeta) + i G / (2 pi) ln zeta.
        const Cf r2 = radius_ * radius_ * std::conj(rotation_);
        const float psi = std::imag(zeta * rotation_ + r2 / zeta) +
                          circulation_ / kTwoPi * std::log(std::abs(zeta));
        const Cf dFdZeta = rotation_ - r2 / (zeta * zeta) + Cf(0.0f, circulation_ / kTwoPi) / zeta;
        const float speed = std::abs(dFdZeta) / std::max(std::abs(dwdz), 1e-6f);
        const float cp = 1.0f - speed * speed;  // 1 at stagnation, negative where fast

        Rgbf c = cp >= 0.0f ? Mix(kFree, kStagnant, Saturate(cp))
                            : Mix(kFree, kSuction, Saturate(-cp / 2.5f));
        // Streamlines: |grad psi| is the speed, in flow units per plane unit.
        const float level = psi / kStreamStep;
        const float distance = std::fabs(level - std::round(level)) * kStreamStep /
                               std::max(speed * half * 2.0f, 1e-6f);
        c = Mix(c, Rgbf{1, 1, 1}, 0.8f * LineCover(distance, 0.6f));
        return Pack(Mix(c, kOutline, LineCover(edge, 0.8f)));
    }

private:
    static constexpr float kAttack = 0.14f;  // angle of attack, about 8 degrees
    static constexpr Cf kCentre{-0.09f, 0.1f};
    static constexpr float kStreamStep = 0.12f;
    static constexpr Rgbf kFree{0.80f, 0.84f, 0.80f};
    static constexpr Rgbf kStagnant{0.85f, 0.15f, 0.12f};
    static constexpr Rgbf kSuction{0.05f, 0.18f, 0.6f};
    static constexpr Rgbf kWing{0.9f, 0.9f, 0.88f};
    static constexpr Rgbf kOutline{0.15f, 0.15f, 0.18f};

    // zeta = z - centre for the root z of z + 1/z = w farther from the circle's centre: the
    // flow's point when w lies outside the wing.
    static Cf Preimage(Cf w) {
        const Cf s = std::sqrt(w * w - 4.0f);
        const Cf a = (w + s) * 0.5f - kCentre, b = (w - s) * 0.5f - kCentre;
        return std::abs(a) >= std::abs(b) ? a : b;
    }

    float unit_ = 1.0f, radius_ = 1.0f, circulation_ = 0.0f;
    Cf rotation_{1.0f, 0.0f};
};

// =============================================================================================
// Curve
// =============================================================================================

// The devil's curve y^2 (y^2 - a^2) = x^2 (x^2 - b^2) with a = 0.8, b = 1: a figure eight
// shaped like a diabolo between two branches that bend away along the diagonals. "Extend" is
// how far the picture reaches: from the centre to the edge is Extend / 20, so 64 shows the
// whole curve and 1 the crossing at the centre. The two signs of the field are warm and cool,
// banded by its level sets (spaced evenly at every extent), and the
// curve itself is a gold line.
class CPixelDiabolical final : public CPixelEquation {
public:
    explicit CPixelDiabolical(const EquationInfo& info) : CPixelEquation(info) { ParamsChanged(); }

    uint32_t Pixel(uint32_t x, uint32_t y) const override {
        const Vec2 p = PixelPoint(x, y, -unit_ * static_cast<float>(width) / 2.0f,
                                  unit_ * static_cast<float>(height) / 2.0f, unit_, -unit_);
        const float px = p.x(), py = p.y();
        const float f = py * py * (py * py - kA2) - px * px * (px * px - kB2);
        const float fx = -(4.0f * px * px * px - 2.0f * kB2 * px);
        const float fy = 4.0f * py * py * py - 2.0f * kA2 * py;
        const float gradient = std::sqrt(fx * fx + fy * fy);

        // Bands of the length rho with rho^2 q + rho^4 = |f|, q = (a^2 + b^2) / 2: like the
        // distance from the centre both near it (f quadratic) and far out (f quartic), so ten
        // bands span the half picture at every extent.
        const float s = std::sqrt(kQ * kQ + 4.0f * std::fabs(f));
        const float rho = std::sqrt(std::max(0.0f, (s - kQ) * 0.5f));
        const float g = rho / halfExtent_ * 10.0f;
        // Each band brightens towards its far edge and drops back there, the drop smoothed
        // over the last pixel: |grad rho| = |grad f| / (2 rho s) gives bands per pixel.
        const float band = Fract(g);
        const float perPixel =
            gradient * unit_ / std::max(2.0f * rho * s, 1e-30f) / halfExtent_ * 10.0f;
        const float toDrop = (1.0f - band) / std::max(perPixel, 1e-6f);
        const float shade =
            Mix(0.75f, 0.75f + 0.25f * Smoothstep(0.0f, 1.0f, band), Saturate(toDrop));
        const float depth = Saturate(g / 10.0f);
        const Rgbf c = f >= 0.0f ? Mix(Rgbf{0.55f, 0.05f, 0.05f}, Rgbf{0.98f, 0.45f, 0.12f}, depth)
                                 : Mix(Rgbf{0.16f, 0.04f, 0.3f}, Rgbf{0.3f, 0.45f, 0.95f}, depth);
        // The curve: distance |f| / |grad f| in pixels.
        const float d = std::fabs(f) / std::max(gradient * unit_, 1e-30f);
        const Rgbf curve = Mix(c * shade, Rgbf{0.05f, 0.03f, 0.02f}, LineCover(d, 3.5f));
        return Pack(Mix(curve, Rgbf{1.0f, 0.85f, 0.35f}, LineCover(d, 2.0f)));
    }

protected:
    void ParamsChanged() override {
        const float extend = std::isnan(params[0]) ? 64.0f : std::clamp(params[0], 1.0f, 128.0f);
        halfExtent_ = extend / 20.0f;
        const float side = static_cast<float>(std::max(1u, std::min(width, height)));
        unit_ = 2.0f * halfExtent_ / side;
    }

private:
    static constexpr float kA2 = 0.64f, kB2 = 1.0f, kQ = (kA2 + kB2) / 2.0f;
    float halfExtent_ = 3.2f, unit_ = 1.0f;
};

constexpr EquationClass kFieldEquations[] = {
    {"CPixelReflectedWaves", CreatePixelEquation<CPixelReflectedWaves>},
    {"CPixelMagnifierBall", CreatePixelEquation<CPixelMagnifierBall>},
    {"CPixelJoukowsky", CreatePixelEquation<CPixelJoukowsky>},
    {"CPixelDiabolical", CreatePixelEquation<CPixelDiabolical>},
};

}  // namespace

EquationClassTable FieldEquations() { return kFieldEquations; }

}  // namespace luneth
