// Shader-style members of fire and smoke: "ShaderToy Fire", "ShaderToy Hell",
// "ShaderToy Flames", "ShaderToy Smoke".
//
// Index of this file:
//   Heat ramp   black through red, orange and yellow to white
//   Fire        a bonfire with sparks
//   Hell        a lake of lava under a burning sky
//   Flames      a ring of flames licking outwards
//   Smoke       a thread of smoke curling up into the dark
//
// All four move their noise against the flow (upwards, outwards) as time goes on, warping it
// with more noise so the shapes curl instead of sliding.
#include <cmath>

#include "equations/ShaderEquation.h"

namespace luneth::shader {

namespace {

// =============================================================================================
// Heat ramp
// =============================================================================================

// Glowing colour of heat h (0 cold, 1 white hot).
vec3 Heat(float h) {
    h = saturate(h);
    return vec3{saturate(h * 3.0f), saturate(h * 3.0f - 1.0f), saturate(h * 3.0f - 2.0f)} *
           (0.2f + 0.8f * std::sqrt(h));
}

// Noise moving along `flow` with time, warped by a second noise so the shapes curl.
float Turbulence(vec2 p, vec2 flow, float time, int octaves) {
    const vec2 moving = p - flow * time;
    const vec2 warp{Fbm(moving * 0.8f + vec2{3.1f, time * 0.3f}, 3),
                    Fbm(moving * 0.8f + vec2{7.7f, -time * 0.25f}, 3)};
    return Fbm(moving + (warp - 0.5f) * 1.6f, octaves);
}

// =============================================================================================
// "ShaderToy Fire": a bonfire rising from the bottom of the picture, flames narrowing and
// breaking into tongues as they rise, sparks floating up.
// =============================================================================================

struct Fire {
    float time = 0.0f;
    void Setup(const float* params) { time = ShaderTime(params[0]); }

    vec3 Shade(vec2 frag) const {
        const vec2 p = ScreenPoint(frag);
        const float height = p.y + 0.5f;  // 0 at the bottom edge
        const float n = Turbulence(p * vec2{3.5f, 2.2f}, vec2{0.0f, 1.6f}, time, 5);
        // The fire is widest at its base and thins out upwards.
        const float width = 0.55f - 0.4f * height;
        const float body = smoothstep(width, width * 0.3f,
                                      std::fabs(p.x + 0.06f * std::sin(height * 5.0f + time)));
        const float heat = (n - 0.3f) * 2.6f * body - height * 0.9f;
        vec3 colour = Heat(heat);
        // Glow around the fire lights the smoke above it.
        colour += vec3{0.35f, 0.08f, 0.01f} * (body * std::exp(-height * 2.0f) * 0.5f);
        // Sparks: bright points carried up and sideways, fading as they rise.
        for (int layer = 0; layer < 2; ++layer) {
            const float scale = 18.0f + 14.0f * static_cast<float>(layer);
            vec2 q = p * scale;
            q.y -= time * (3.0f + static_cast<float>(layer));
            q.x += std::sin(q.y * 0.35f + static_cast<float>(layer)) * 0.8f;
            const vec2 cell = floor(q);
            const vec2 h = Hash2(cell + static_cast<float>(layer) * 17.0f);
            if (h.x < 0.92f) continue;
            const float d = length(q - cell - 0.5f - (h - 0.5f) * 0.6f);
            const float fade = saturate(1.2f - height * 1.3f) * body;
            colour += vec3{1.0f, 0.6f, 0.2f} * (std::exp(-d * d * 40.0f) * fade * 2.0f);
        }
        return ToneMap(colour, 1.3f);
    }
};

// =============================================================================================
// "ShaderToy Hell": a lake of lava to the horizon, its black crust cracked by glowing seams,
// jagged black crags against a sky of red smoke lit from below, embers in the air. Time
// moves the crust and rolls the smoke.
// =============================================================================================

struct Hell {
    float time = 0.0f;
    void Setup(const float* params) { time = ShaderTime(params[0]); }

    // Crust plates: seams where two cells of a jittered grid meet glow, plates are dark.
    static float Seams(vec2 q) {
        const vec2 cell = floor(q);
        float best = 9.0f, second = 9.0f;
        for (int k = 0; k < 9; ++k) {
            const vec2 c =
                cell + vec2{static_cast<float>(k % 3 - 1), static_cast<float>(k / 3 - 1)};
            const float d = length(q - c - Hash2(c));
            if (d < best)
                second = best, best = d;
            else if (d < second)
                second = d;
        }
        return second - best;  // 0 on a seam
    }

    vec3 Shade(vec2 frag) const {
        const vec2 p = ScreenPoint(frag);
        constexpr float kHorizon = -0.08f;
        vec3 colour;
        if (p.y > kHorizon) {
            // Smoke rolling over a red glow that is brightest at the horizon.
            const float up = p.y - kHorizon;
            const float smoke = Turbulence(p * vec2{2.0f, 3.0f}, vec2{-0.15f, -0.08f}, time, 5);
            const vec3 glow =
                mix(vec3{1.2f, 0.35f, 0.05f}, vec3{0.25f, 0.02f, 0.02f}, saturate(up * 2.5f));
            colour = glow * (0.2f + 1.6f * smoke * smoke * smoke) * std::exp(-up * 1.5f);
            colour += vec3{0.02f, 0.005f, 0.005f};
            // Crags: a jagged black skyline.
            float crag = 0.02f + 0.1f * Fbm(vec2{p.x * 3.0f, 1.0f}, 4);
            for (float f = 7.0f, a = 0.06f; f < 200.0f; f *= 2.3f, a *= 0.5f)
                crag += a * (1.0f - std::fabs(Noise(vec2{p.x * f, f}) * 2.0f - 1.0f));
            if (up < crag)
                colour =
                    vec3{0.03f, 0.01f, 0.01f} + glow * (0.06f * std::exp(-(crag - up) * 30.0f));
        } else {
            // The lava lake, seen in perspective: crust plates drifting on molten rock.
            const float depth = kHorizon - p.y;
            const vec2 g{p.x / depth, 1.0f / depth};
            const vec2 q = g * 0.45f + vec2{0.0f, time * 0.15f};
            const vec2 warp{Fbm(q * 0.7f, 3), Fbm(q * 0.7f + 5.0f, 3)};
            const float seam = Seams(q + (warp - 0.5f) * 1.4f);
            // Some seams are wide open, some nearly closed.
            const float openness = 8.0f + 30.0f * Noise(q * 0.4f + 2.0f);
            const float molten = std::exp(-seam * openness) + 0.3f * std::exp(-seam * 5.0f);
            const float pulse = 0.7f + 0.3f * Turbulence(q * 0.5f, vec2{0.0f, -0.2f}, time, 3);
            const float crust = Fbm(q * 4.0f, 3);
            colour = Heat(molten * pulse * 0.95f) * 1.3f + vec3{0.06f, 0.03f, 0.02f} * crust;
            // Far off the seams blur into a glow reflecting the sky.
            colour = mix(colour, vec3{0.9f, 0.25f, 0.04f}, std::exp(-depth * 12.0f) * 0.8f);
        }
        // Embers drifting up through everything.
        vec2 q = p * 40.0f;
        q.y -= time * 2.5f;
        q.x += std::sin(q.y * 0.4f) * 0.6f;
        const vec2 cell = floor(q);
        const vec2 h = Hash2(cell + 11.0f);
        if (h.x > 0.97f) {
            const float d = length(q - cell - 0.5f);
            colour += vec3{1.0f, 0.45f, 0.1f} * (std::exp(-d * d * (40.0f + 80.0f * h.y)) * 1.5f);
        }
        return ToneMap(colour, 1.5f);
    }
};

// =============================================================================================
// "ShaderToy Flames": a ring of fire: tongues of flame lick outwards from a glowing circle
// around a dark middle, hottest where they leave the ring.
// =============================================================================================

struct Flames {
    float time = 0.0f;
    void Setup(const float* params) { time = ShaderTime(params[0]); }

    vec3 Shade(vec2 frag) const {
        const vec2 p = ScreenPoint(frag);
        const float r = length(p);
        const vec2 around = r > 0.0f ? p / r : vec2{1.0f, 0.0f};
        constexpr float kRing = 0.2f;
        const float out = r - kRing;
        // Noise on a cylinder (around the ring, outwards), streaming outwards with time: the
        // circle coordinates make it seamless.
        const vec3 c{around.x * 4.0f, around.y * 4.0f, out * 3.5f - time * 1.5f};
        const vec3 warp{Fbm(c * 0.9f + 4.0f, 3), Fbm(c * 0.9f + 9.0f, 3), 0.0f};
        const float n = Fbm(c * vec3{1.0f, 1.0f, 1.0f} + (warp - 0.5f) * 1.5f, 5);
        // Flames reach outwards and a little inwards, falling off with distance from the ring.
        const float reach = out > 0.0f ? out * 3.2f : -out * 14.0f;
        const float heat = (n - 0.28f) * 2.4f - reach;
        vec3 colour = Heat(heat);
        // The glowing ring itself, and the warm light it casts on the dark middle.
        colour += vec3{1.0f, 0.45f, 0.1f} * (std::exp(-out * out * 2500.0f) * 1.2f);
        colour += vec3{0.4f, 0.08f, 0.02f} * (std::exp(-std::fabs(out) * 9.0f) * 0.4f);
        return ToneMap(colour, 1.3f);
    }
};

// =============================================================================================
// "ShaderToy Smoke": a thin thread of smoke rising from a glowing tip, breaking into curls
// and spreading as it climbs, lit from one side against the dark.
// =============================================================================================

struct Smoke {
    float time = 0.0f;
    void Setup(const float* params) { time = ShaderTime(params[0]); }

    float Density(vec2 p) const {
        const float height = p.y + 0.42f;  // above the tip
        if (height < 0.0f) return 0.0f;
        // The plume sways and widens as it rises.
        const float sway =
            0.25f * (Fbm(vec2{height * 1.2f - time * 0.25f, 2.0f}, 3) - 0.5f) * height;
        const float width = 0.004f + height * 0.3f * height + height * 0.05f;
        const vec2 q{(p.x - sway) / width, height};
        // Low down a smooth thread; higher up it tears into thin folded sheets (the creases
        // of a folded noise), which fade as they spread.
        const float n = Turbulence(vec2{q.x * 0.4f, height * 4.0f}, vec2{0.0f, 1.0f}, time, 5);
        const float sheets = std::pow(1.0f - std::fabs(n * 2.0f - 1.0f), 4.0f);
        const float breakup = smoothstep(0.05f, 0.35f, height);
        const float core = std::exp(-q.x * q.x * 1.2f);
        return core * mix(0.9f, sheets * 1.6f, breakup) * smoothstep(0.95f, 0.35f, height);
    }

    vec3 Shade(vec2 frag) const {
        const vec2 p = ScreenPoint(frag);
        const float rho = Density(p);
        // Light from the left: thinner towards the light means brighter.
        const float lit = saturate(1.0f - (Density(p + vec2{-0.02f, 0.01f}) - rho) * 3.0f);
        vec3 colour = vec3{0.02f, 0.022f, 0.03f} * (1.0f + 0.5f * (p.y + 0.5f));
        colour = mix(colour, vec3{0.75f, 0.8f, 0.9f} * (0.45f + 0.75f * lit), saturate(rho * 0.8f));
        // The glowing tip of the incense.
        const vec2 tip{0.0f, -0.42f};
        colour += vec3{1.0f, 0.35f, 0.08f} * (std::exp(-length(p - tip) * 90.0f) * 2.0f);
        if (p.y < tip.y && std::fabs(p.x + (p.y - tip.y) * 0.15f) < 0.004f)
            colour = vec3{0.25f, 0.15f, 0.08f} * (0.5f + 0.5f * std::exp((p.y - tip.y) * 10.0f));
        return ToneMap(colour, 1.5f);
    }
};

constexpr EquationClass kMembers[] = {
    {"CPixelShaderToy_Fire", CreatePixelEquation<CShaderToyEquation<Fire>>},
    {"CPixelShaderToy_Hell", CreatePixelEquation<CShaderToyEquation<Hell>>},
    {"CPixelShaderToy_Flames", CreatePixelEquation<CShaderToyEquation<Flames>>},
    {"CPixelShaderToy_Smoke", CreatePixelEquation<CShaderToyEquation<Smoke>>},
};

}  // namespace

std::span<const EquationClass> ShaderFireMembers() { return kMembers; }

}  // namespace luneth::shader
