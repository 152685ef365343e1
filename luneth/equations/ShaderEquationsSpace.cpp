// Shader-style members in space: "ShaderToy Star", "ShaderToy Mars", "ShaderToy Galaxy",
// "ShaderToy Disk".
//
// Index of this file:
//   Star     a star with granules, spots and corona
//   Mars     the red planet from orbit
//   Galaxy   a barred two-armed spiral seen at a slant, turning with time
//   Disk     a black hole bending the light of its accretion disc
#include <cmath>

#include "equations/ShaderEquation.h"

namespace luneth::shader {

namespace {

// =============================================================================================
// "ShaderToy Star": a sun-like star filling the middle of the picture: boiling granules and
// dark spots on a turning sphere, darker towards the limb, in a corona of streamers.
// =============================================================================================

// Black-body-like ramp: deep red through orange and yellow to white as heat goes 0 to 1.
vec3 StarHeat(float h) {
    h = saturate(h);
    return vec3{saturate(h * 2.2f + 0.25f), std::pow(h, 1.4f) * 1.05f, std::pow(h, 3.5f) * 0.95f};
}

struct Star {
    float time = 0.0f;
    mat3 spin;

    void Setup(const float* params) {
        time = ShaderTime(params[0]);
        spin = RotateY(time * 0.03f) * RotateX(0.3f);
    }

    vec3 Shade(vec2 frag) const {
        constexpr float kRadius = 0.3f;
        const vec2 p = ScreenPoint(frag);
        const float r = length(p);
        const float slow = time * 0.04f;
        if (r < kRadius) {
            const vec3 n{p.x / kRadius, p.y / kRadius,
                         std::sqrt(std::max(0.0f, 1.0f - r * r / (kRadius * kRadius)))};
            const vec3 q = spin * n;
            // Granules: ridges of a turbulent noise, moving slowly.
            const float boil = Fbm(q * 7.0f + vec3{slow, -slow, slow}, 5);
            const float cells = 1.0f - std::fabs(Noise(q * 28.0f + slow * 2.0f) * 2.0f - 1.0f);
            const float spotField = Fbm(q * 4.0f + 11.0f, 4);
            const float umbra = smoothstep(0.66f, 0.69f, spotField);
            const float penumbra = smoothstep(0.61f, 0.66f, spotField);
            const float limb = std::pow(n.z, 0.55f);
            float heat = (0.3f + 0.5f * boil + 0.22f * cells) * (0.45f + 0.55f * limb);
            heat *= (1.0f - 0.35f * penumbra) * (1.0f - 0.5f * umbra);
            return ToneMap(StarHeat(heat) * (0.6f + 1.1f * limb));
        }
        // Corona: streamers along the radius, seamless around the disc (sampled on a circle).
        const float d = r / kRadius - 1.0f;
        const vec2 u = p / r;
        const float streak = Fbm(vec3{u.x * 3.0f, u.y * 3.0f, d * 1.5f - slow * 3.0f}, 4);
        const float rays = std::pow(Fbm(vec3{u.x * 9.0f, u.y * 9.0f, slow}, 3), 2.0f);
        const float glow =
            std::exp(-d * 9.0f) * 1.6f + std::exp(-d * 2.5f) * (0.5f * streak + rays);
        const vec3 corona = vec3{1.0f, 0.55f, 0.2f} * glow;
        return ToneMap(corona + StarField(normalize(Vec3(p, 1.0f)), 220.0f) * 0.7f);
    }
};

// =============================================================================================
// "ShaderToy Mars": the red planet from orbit, turning: ochre plains and dark highlands,
// craters with raised rims, a canyon, a polar cap and a thin pink haze at the limb.
// =============================================================================================

// Craters of one cell size on the unit sphere: the slope of bowl-and-rim profiles around
// jittered centres, added up as a gradient (for shading) and a floor darkening.
struct CraterSum {
    vec3 slope;
    float floor = 0.0f;
};
CraterSum Craters(vec3 q, float cells) {
    CraterSum out;
    const vec3 p = q * cells, base = floor(p);
    for (int k = 0; k < 27; ++k) {
        const vec3 cell = base + vec3{float(k % 3 - 1), float(k / 3 % 3 - 1), float(k / 9 - 1)};
        const float h = Hash(cell);
        if (h > 0.45f) continue;  // most cells have none
        const vec3 centre = cell + vec3{Hash(cell + 17.0f), Hash(cell + 31.0f), Hash(cell + 47.0f)};
        const float radius = 0.18f + 0.3f * Hash(cell + 63.0f);
        const vec3 d = p - centre;
        const float t = length(d) / radius;
        if (t >= 1.6f) continue;
        // Bowl (falling towards the centre) inside, rim bump around t = 1.
        const float dh = t < 1.0f ? 2.0f * t : -3.0f * (t - 1.0f) * std::exp(-(t - 1.0f) * 6.0f);
        out.slope += d / std::max(t * radius, 1e-4f) * (dh * 0.35f);
        out.floor = std::max(out.floor, 1.0f - smoothstep(0.4f, 1.0f, t));
    }
    return out;
}

struct Mars {
    float time = 0.0f;
    mat3 spin;
    vec3 sun;

    void Setup(const float* params) {
        time = ShaderTime(params[0]);
        spin = RotateY(time * 0.01f) * RotateX(0.25f);
        sun = normalize(vec3{-0.75f, 0.4f, 0.75f});
    }

    vec3 Shade(vec2 frag) const {
        constexpr float kRadius = 0.38f;
        const vec2 p = ScreenPoint(frag) - vec2{0.06f, 0.0f};
        const float r = length(p) / kRadius;
        const vec3 space = StarField(normalize(Vec3(p, 1.0f)), 240.0f) * 0.8f;
        if (r >= 1.0f) {
            // Haze beyond the limb, lit on the day side.
            const float side = saturate(dot(normalize(vec3{p.x, p.y, 0.0f}), sun) * 0.8f + 0.3f);
            const float haze = std::exp(-(r - 1.0f) * 40.0f) * side;
            return ToneMap(vec3{1.0f, 0.55f, 0.4f} * (haze * 0.8f) + space);
        }
        const vec3 n{p.x / kRadius, p.y / kRadius, std::sqrt(1.0f - r * r)};
        const vec3 q = spin * n;

        // Albedo: bright ochre plains, darker basaltic regions, fine dust streaks.
        const float regions = Fbm(q * 2.2f + 3.0f, 5);
        const float detail = Fbm(q * 14.0f, 3);
        vec3 albedo = mix(vec3{0.85f, 0.4f, 0.18f}, vec3{0.33f, 0.17f, 0.11f},
                          smoothstep(0.45f, 0.62f, regions));
        albedo *= 0.8f + 0.4f * detail;

        // A long canyon along a southern latitude, wandering with noise, over a third of
        // the globe (around the direction kRift).
        const vec3 kRift{-0.72f, -0.46f, -0.52f};
        const float canyon = std::fabs(q.y + 0.42f + 0.05f * (Fbm(q * 4.0f, 3) - 0.5f));
        const float window = smoothstep(0.45f, 0.75f, dot(q, kRift));
        const float rift = (1.0f - smoothstep(0.0f, 0.045f, canyon)) * window;
        const float walls = (1.0f - smoothstep(0.03f, 0.07f, canyon)) * window;
        albedo *= (1.0f - 0.4f * rift) * (1.0f + 0.25f * (walls - rift));

        CraterSum big = Craters(q, 6.0f), small = Craters(q, 17.0f);
        albedo *= 1.0f - 0.15f * (big.floor + small.floor * 0.6f);

        // Shading normal: the sphere bent by crater slopes (turned back into view space).
        const vec3 slope = transpose(spin) * (big.slope * 0.5f + small.slope * 0.3f);
        const vec3 normal = normalize(n - (slope - n * dot(slope, n)));

        // Polar caps.
        const float cap = smoothstep(0.86f, 0.9f, std::fabs(q.y) + 0.04f * Noise(q * 9.0f));
        albedo = mix(albedo, vec3{0.95f, 0.93f, 0.9f}, cap);

        const float light = saturate(dot(normal, sun));
        const float twilight = smoothstep(-0.15f, 0.1f, dot(n, sun));
        vec3 colour = albedo * (light * 2.2f * twilight + 0.015f);
        // Thin atmosphere: pinkish scattering towards the limb on the day side.
        const float rim = std::pow(1.0f - n.z, 3.0f);
        colour += vec3{0.9f, 0.5f, 0.35f} * (rim * 0.6f * twilight);
        return ToneMap(colour);
    }
};

// =============================================================================================
// "ShaderToy Galaxy": a two-armed spiral on a tilted disc. The arm pattern turns rigidly;
// the clumps of stars and dust in it turn with the disc, faster inside than outside.
// =============================================================================================

struct Galaxy {
    float time = 0.0f;
    mat2 view;  // screen -> disc plane rotation

    void Setup(const float* params) {
        time = ShaderTime(params[0]);
        view = Rotate2(0.45f);
    }

    vec3 Shade(vec2 frag) const {
        const vec2 s = ScreenPoint(frag);
        // The disc is tilted by 60 degrees: its minor axis is squeezed to half.
        vec2 q = view * s;
        q.y *= 2.0f;
        q = q * 4.4f;
        const float r = length(q);
        const float angle = std::atan2(q.y, q.x);

        // Arms: a logarithmic spiral, two of them, turning with the pattern speed.
        const float pattern = angle + time * 0.08f;
        const float phase = 2.0f * (pattern - std::log(r + 0.05f) * 2.6f);
        const float arm = std::pow(0.5f + 0.5f * std::cos(phase), 3.0f);
        // Dust runs along the inner edge of each arm.
        const float lane = std::pow(0.5f + 0.5f * std::cos(phase + 1.1f), 6.0f);

        // Clumps turn with the disc: angular speed falls off with radius.
        const float spin = time * 0.35f / (0.4f + r);
        const vec2 d = Rotate2(spin) * q;
        const float clumps = Fbm(d * 3.0f + 17.0f, 5);
        const float grain = Noise(d * 40.0f);
        const float knots = std::pow(saturate((Fbm(d * 11.0f + 41.0f, 3) - 0.56f) * 5.0f), 3.0f);
        const float dust = lane * smoothstep(0.3f, 0.65f, Fbm(d * 6.0f + 7.0f, 4));

        const float disc = std::exp(-r * 0.8f) * smoothstep(3.6f, 1.8f, r);
        const float bulge = std::exp(-r * r * 7.0f);
        const float bar = std::exp(-(d.x * d.x * 3.0f + d.y * d.y * 45.0f)) * std::exp(-r * 1.5f);

        const float armLight = arm * clumps * (0.6f + 0.8f * grain * grain);
        vec3 light = vec3{0.5f, 0.68f, 1.0f} * disc * (0.18f + 2.6f * armLight);
        light += vec3{1.0f, 0.35f, 0.55f} * (knots * arm * disc * 4.0f);
        light += vec3{0.6f, 0.65f, 0.8f} * (std::exp(-r * 1.6f) * 0.12f);  // faint halo
        light += vec3{1.0f, 0.82f, 0.55f} * (bulge * 3.5f + bar * 0.8f);
        light *= 1.0f - 0.85f * dust * smoothstep(0.12f, 0.6f, r);

        const vec3 stars = StarField(normalize(Vec3(s, 1.0f)), 200.0f);
        return ToneMap(light * 1.1f + stars * (1.0f - saturate(disc * 1.5f)));
    }
};

// =============================================================================================
// "ShaderToy Disk": a black hole with its accretion disc. Light rays are bent by the hole
// (stepped through the photon-orbit equation, a = -1.5 h^2 x / r^5 with h = |x cross v|), so
// the far side of the disc shows above and below the shadow. The gas turns faster inside,
// the side coming towards us is brighter and bluer.
// =============================================================================================

struct Disk {
    float time = 0.0f;
    vec3 eye;
    mat3 camera;

    void Setup(const float* params) {
        time = ShaderTime(params[0]);
        eye = vec3{0.0f, 2.4f, -26.0f};
        camera = LookAt(-eye + vec3{0.0f, 0.8f, 0.0f}, normalize(vec3{0.12f, 1.0f, 0.0f}));
    }

    // Light of the disc at point x of its plane (radius 2.6 to 11), and its opacity.
    vec4 DiscAt(vec3 x, vec3 ray) const {
        const float r = length(vec2{x.x, x.z});
        if (r < 2.6f || r > 11.0f) return {};
        // Keplerian swirl: the angle of the gas pattern advances as r^-1.5.
        const float speed = std::pow(r, -1.5f);
        const float angle = std::atan2(x.z, x.x) + time * speed * 1.5f;
        const vec2 swirl{std::cos(angle) * r, std::sin(angle) * r};
        const float gas = Fbm(vec2{r * 2.2f, 0.0f} + swirl * 0.9f, 4);
        const float streaks = Noise(vec2{r * 7.0f, angle * 3.0f});
        const float heat = std::pow(2.6f / r, 1.6f);
        // Doppler beaming: gas moves counter-clockwise seen from above.
        const vec3 velocity = normalize(vec3{-x.z, 0.0f, x.x});
        const float towards = -dot(velocity, ray) * std::sqrt(0.5f / r);
        const float beam = std::pow(1.0f + towards * 1.4f, 3.0f);
        const vec3 hot{1.0f, 0.95f, 0.85f}, warm{1.0f, 0.55f, 0.2f}, cool{0.6f, 0.15f, 0.05f};
        vec3 colour =
            heat > 0.5f ? mix(warm, hot, (heat - 0.5f) * 2.0f) : mix(cool, warm, heat * 2.0f);
        colour = mix(colour, colour * vec3{0.75f, 0.9f, 1.3f}, saturate(towards * 3.0f));
        const float edge = smoothstep(2.6f, 3.2f, r) * smoothstep(11.0f, 7.0f, r);
        const float light =
            (0.35f + 1.3f * gas * (0.7f + 0.6f * streaks)) * heat * 4.0f * beam * edge;
        return Vec4(colour * light, saturate(edge * (0.55f + 0.6f * gas)));
    }

    vec3 Shade(vec2 frag) const {
        const vec2 s = ScreenPoint(frag);
        vec3 x = eye, v = camera * normalize(Vec3(s, 1.5f));
        const float h2 = dot(cross(x, v), cross(x, v));
        vec3 light{};
        float through = 1.0f;  // how much of what lies further on still shows
        for (int i = 0; i < 300; ++i) {
            const float r2 = dot(x, x), r = std::sqrt(r2);
            if (r < 1.0f) return ToneMap(light);  // fallen in
            // Steps shrink near the hole and grow far away.
            const float dt = clamp(0.08f * r, 0.04f, 1.5f);
            const vec3 a = x * (-1.5f * h2 / (r2 * r2 * r));
            const vec3 next = x + v * dt;
            v = normalize(v + a * dt);
            if ((x.y > 0.0f) != (next.y > 0.0f)) {
                const vec3 hit = x + (next - x) * (x.y / (x.y - next.y));
                const vec4 disc = DiscAt(hit, v);
                light += xyz(disc) * through;
                through *= 1.0f - disc.w;
                if (through < 0.02f) return ToneMap(light);
            }
            x = next;
            // Far away and leaving: nothing more can be hit.
            if (r > 40.0f && dot(x, v) > 0.0f) break;
        }
        const vec3 sky = StarField(v, 160.0f) + vec3{0.02f, 0.015f, 0.03f} * Fbm(v * 3.0f, 3);
        return ToneMap(light + sky * through);
    }
};

constexpr EquationClass kMembers[] = {
    {"CPixelShaderToy_Star", CreatePixelEquation<CShaderToyEquation<Star>>},
    {"CPixelShaderToy_Mars", CreatePixelEquation<CShaderToyEquation<Mars>>},
    {"CPixelShaderToy_Galaxy", CreatePixelEquation<CShaderToyEquation<Galaxy>>},
    {"CPixelShaderToy_Disk", CreatePixelEquation<CShaderToyEquation<Disk>>},
};

}  // namespace

std::span<const EquationClass> ShaderSpaceMembers() { return kMembers; }

}  // namespace luneth::shader
