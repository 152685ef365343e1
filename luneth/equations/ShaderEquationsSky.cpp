// Shader-style members of the open sky: "ShaderToy Clouds", "ShaderToy CloudySunset",
// "ShaderToy Nightfall", "ShaderToy TinyPlanet", "ShaderToy AfterRain".
//
// Index of this file:
//   Cloud layer     fbm on a plane above the viewer, lit from the side of the sun
//   Clouds          a summer sky of heaped clouds over meadows
//   CloudySunset    the sun going down behind a bank of clouds over the sea
//   Nightfall       dusk over a lake: hills, a village, first stars, a young moon
//   TinyPlanet      a meadow world folded into a little planet
//   AfterRain       a city street at night, wet and mirroring its lights
#include <cmath>

#include "equations/ShaderEquation.h"

namespace luneth::shader {

namespace {

// =============================================================================================
// Cloud layer
// =============================================================================================

// A layer of cloud at height `height` above the viewer, seen along d (d.y > 0): its density
// at the point where the ray meets it, and how much light reaches that point from the sun
// (density sampled again a little towards the sun: thin on that side means bright edges).
struct CloudSample {
    float density = 0.0f;
    float light = 1.0f;
};

CloudSample CloudLayer(vec3 d, float height, vec2 wind, float coverage, vec3 sun) {
    CloudSample out;
    if (d.y <= 0.0f) return out;
    const vec2 uv = xz(d) * (height / (d.y + 0.02f)) + wind;
    auto density = [coverage](vec2 q) {
        const vec2 warp{Fbm(q * 0.5f + 3.1f, 2), Fbm(q * 0.5f + 8.3f, 2)};
        const float f = Fbm(q + warp * 0.5f, 6);
        return saturate((f - coverage) * 5.0f);
    };
    out.density = density(uv);
    if (out.density <= 0.0f) return out;
    // Cloud lying between this point and the sun shades it.
    const float towardSun = density(uv + normalize(xz(sun)) * 0.15f);
    out.light = std::exp(-towardSun * 2.2f) * (1.0f - 0.35f * out.density * out.density);
    return out;
}

// =============================================================================================
// "ShaderToy Clouds": heaped white clouds with grey bellies and bright tops sailing over green
// hills on a summer afternoon; time blows them along. The clouds are a slab of 3-D noise
// marched front to back, each sample lit by one look towards the sun.
// =============================================================================================

struct Clouds {
    static constexpr float kBase = 1.0f, kTop = 1.9f;
    float time = 0.0f;
    vec3 sun, wind;
    mat3 camera;

    void Setup(const float* params) {
        time = ShaderTime(params[0]);
        sun = normalize(vec3{-0.5f, 0.45f, 0.75f});
        wind = vec3{time * 0.06f, 0.0f, time * 0.02f};
        camera = LookAt(vec3{0.0f, 0.3f, 1.0f});
    }

    // Cloud density: noise thinned at the base and rounded off towards the tops.
    float Density(vec3 p, int octaves) const {
        const float h = (p.y - kBase) / (kTop - kBase);
        const float shape = smoothstep(0.0f, 0.12f, h) * smoothstep(1.0f, 0.35f, h);
        const float n = Fbm(p * 1.7f + wind, octaves);
        return saturate((n - 0.8f + 0.3f * shape) * 7.0f) * shape;
    }

    vec3 Shade(vec2 frag) const {
        const vec2 s = ScreenPoint(frag);
        const vec3 d = camera * normalize(Vec3(s, 1.1f));
        vec3 sky = SkyGradient(d, sun, vec3{0.13f, 0.33f, 0.72f}, vec3{0.62f, 0.75f, 0.9f},
                               vec3{1.0f, 0.9f, 0.7f});
        const float toward = saturate(dot(d, sun));

        vec3 colour = sky;
        if (d.y > 0.02f) {
            const float t0 = kBase / d.y, t1 = std::min(kTop / d.y, t0 + 6.0f);
            constexpr int kSteps = 12;
            const float dt = (t1 - t0) / kSteps;
            // A per-pixel offset of the samples turns banding into fine grain.
            const float jitter = 0.25f + 0.5f * Hash(frag);
            vec3 light{};
            float through = 1.0f;
            for (int i = 0; i < kSteps && through > 0.05f; ++i) {
                const vec3 p = d * (t0 + dt * (static_cast<float>(i) + jitter));
                const float rho = Density(p, 4);
                if (rho <= 0.01f) continue;
                const float shade = std::exp(-Density(p + sun * 0.12f, 2) * 2.0f);
                const float h = (p.y - kBase) / (kTop - kBase);
                const vec3 c = mix(vec3{0.44f, 0.5f, 0.63f}, vec3{1.25f, 1.2f, 1.12f}, shade) *
                                   (0.8f + 0.4f * h) +
                               vec3{1.0f, 0.9f, 0.7f} * (toward * toward * 0.3f);
                const float alpha = 1.0f - std::exp(-rho * dt * 4.0f);
                light += c * (alpha * through);
                through *= 1.0f - alpha;
            }
            // Far clouds melt into the haze at the horizon.
            const float haze = smoothstep(0.02f, 0.15f, d.y);
            colour = mix(sky, light + sky * through, haze);
        }

        // Rolling hills along the bottom: blue with distance behind, a green one in front
        // with a ragged line of trees on its crest and cloud shadows on its slopes.
        const float a = d.x / (d.z + 1e-3f);
        const float far = 0.02f + 0.08f * Fbm(vec2{a * 3.0f, 2.0f}, 4);
        const float trees = 0.012f * std::pow(Noise(vec2{a * 90.0f, 3.0f}), 2.0f);
        const float near = -0.04f + 0.12f * Fbm(vec2{a * 1.5f, 9.0f}, 4);
        if (d.y < far) {
            const float below = saturate((far - d.y) * 12.0f);
            colour = mix(mix(vec3{0.32f, 0.45f, 0.4f}, vec3{0.22f, 0.34f, 0.3f}, below), sky, 0.4f);
        }
        if (d.y < near + trees) colour = vec3{0.06f, 0.13f, 0.04f};
        if (d.y < near) {
            const float meadow = Fbm(vec2{a * 30.0f, d.y * 200.0f}, 3);
            const float shade =
                smoothstep(0.45f, 0.6f, Fbm(vec2{a * 2.0f + time * 0.03f, d.y * 8.0f}, 3));
            colour = mix(vec3{0.18f, 0.36f, 0.08f}, vec3{0.38f, 0.55f, 0.14f}, meadow) *
                     ((0.9f + 0.3f * smoothstep(near - 0.05f, near, d.y)) * (1.0f - 0.35f * shade));
        }
        return ToneMap(colour, 1.5f);
    }
};

// =============================================================================================
// "ShaderToy CloudySunset": the sun low over the sea behind broken clouds that glow orange
// and pink from below; the sea mirrors the sky. Time moves the clouds and the waves.
// =============================================================================================

struct CloudySunset {
    float time = 0.0f;
    vec3 sun;
    mat3 camera;

    void Setup(const float* params) {
        time = ShaderTime(params[0]);
        sun = normalize(vec3{0.1f, 0.045f, 1.0f});
        camera = LookAt(vec3{0.0f, 0.12f, 1.0f});
    }

    vec3 Sky(vec3 d) const {
        const float up = saturate(d.y);
        const float toward = saturate(dot(d, sun));
        vec3 sky = mix(vec3{1.2f, 0.5f, 0.15f}, vec3{0.35f, 0.18f, 0.35f}, std::pow(up, 0.4f));
        sky = mix(sky, vec3{0.05f, 0.07f, 0.22f}, smoothstep(0.15f, 0.6f, up));
        sky += vec3{1.0f, 0.55f, 0.2f} * (std::pow(toward, 8.0f) * 0.9f);
        sky += vec3{1.0f, 0.85f, 0.55f} * (std::pow(toward, 5000.0f) * 14.0f);
        const CloudSample c = CloudLayer(d, 1.0f, vec2{time * 0.02f, 1.5f}, 0.5f, sun);
        // Bodies dark violet; undersides and the edges towards the sun catch its fire.
        const vec3 body{0.16f, 0.09f, 0.15f}, glow{1.4f, 0.5f, 0.18f};
        const float under = std::pow(1.0f - up, 4.0f);
        const vec3 rim = vec3{2.0f, 1.0f, 0.45f} * (std::pow(toward, 4.0f) * c.light);
        const vec3 cloud = mix(body, glow, c.light * (0.15f + 0.85f * under)) + rim;
        return mix(sky, cloud, c.density * smoothstep(0.0f, 0.04f, d.y));
    }

    vec3 Shade(vec2 frag) const {
        const vec2 s = ScreenPoint(frag);
        vec3 d = camera * normalize(Vec3(s, 1.2f));
        if (d.y >= 0.0f) return ToneMap(Sky(d), 1.2f);
        // The sea: the sky mirrored by a rippled surface, darker at our feet.
        const vec2 w = xz(d) / -d.y;
        const vec2 ripple{Noise(w * vec2{0.6f, 3.0f} + vec2{0.0f, time * 0.4f}) - 0.5f,
                          Noise(w * vec2{0.6f, 3.0f} + vec2{5.0f, -time * 0.3f}) - 0.5f};
        // Towards the horizon the ripples are too fine to see: the sea turns to a mirror.
        const float strength = 0.25f * saturate(-d.y * 10.0f);
        const vec3 n = normalize(vec3{ripple.x * strength, 1.0f, ripple.y * strength});
        vec3 r = reflect(d, n);
        r.y = std::fabs(r.y);
        const float fresnel = 0.1f + 0.9f * std::pow(1.0f - saturate(-d.y), 6.0f);
        const vec3 sea = mix(vec3{0.03f, 0.03f, 0.07f}, Sky(r), fresnel);
        return ToneMap(sea, 1.2f);
    }
};

// =============================================================================================
// "ShaderToy Nightfall": dusk over a lake: the last glow on the horizon under a deepening sky,
// first stars and a young moon, hills in layers with a pine ridge in front, lights of a
// village, and all of it mirrored in the water. Time twinkles the stars, drifts the clouds
// and ripples the lake.
// =============================================================================================

struct Nightfall {
    static constexpr float kShore = -0.16f;
    float time = 0.0f;

    void Setup(const float* params) { time = ShaderTime(params[0]); }

    // Ridge heights of the three layers of hills at x.
    static float Ridge(int layer, float x) {
        switch (layer) {
            case 0:
                return -0.06f + 0.15f * Fbm(vec2{x * 1.4f, 3.0f}, 5);
            case 1:
                return -0.1f + 0.16f * Fbm(vec2{x * 2.2f + 7.0f, 1.0f}, 5);
            default: {
                // Pines along the front ridge: narrow teeth of random height.
                const float cell = std::floor(x * 90.0f), f = x * 90.0f - cell;
                const float tree =
                    (1.0f - std::fabs(f * 2.0f - 1.0f)) * (0.012f + 0.025f * Hash(cell));
                return -0.17f + 0.1f * Fbm(vec2{x * 1.8f + 21.0f, 5.0f}, 4) + tree;
            }
        }
    }

    // `lights`: with stars and moon (not wanted for the sky's glow on the hills).
    vec3 Sky(vec2 p, bool lights = true) const {
        const float h = p.y - kShore;
        vec3 sky =
            mix(vec3{1.0f, 0.45f, 0.18f}, vec3{0.42f, 0.2f, 0.42f}, smoothstep(0.0f, 0.18f, h));
        sky = mix(sky, vec3{0.03f, 0.05f, 0.16f}, smoothstep(0.12f, 0.6f, h));
        // The glow where the sun went down.
        const float glow = std::exp(-length(vec2{(p.x - 0.35f) * 0.5f, (h - 0.12f) * 2.2f}) * 3.5f);
        sky += vec3{1.0f, 0.45f, 0.15f} * (glow * 1.1f);
        // Thin clouds, lit pink from below near the horizon.
        const float streaks =
            smoothstep(0.5f, 0.75f, Fbm(vec2{p.x * 2.0f + time * 0.01f, p.y * 14.0f}, 5));
        const vec3 cloudLit =
            mix(vec3{1.0f, 0.5f, 0.4f}, vec3{0.12f, 0.1f, 0.2f}, smoothstep(0.05f, 0.35f, h));
        sky = mix(sky, cloudLit, streaks * 0.7f * smoothstep(0.45f, 0.1f, h));
        if (!lights) return sky;
        // Stars come out where the sky is dark enough; each twinkles at its own pace.
        const vec2 q = p * 260.0f;
        const float twinkle = 0.6f + 0.4f * std::sin(time * 2.5f + 30.0f * Hash(q));
        sky += StarField(normalize(Vec3(p, 1.0f)), 260.0f) * (twinkle * smoothstep(0.12f, 0.4f, h));
        // A young moon: a lit disc with a darker disc over most of it.
        const vec2 m{-0.42f, 0.3f};
        const float lit = smoothstep(0.041f, 0.038f, length(p - m)) *
                          smoothstep(0.034f, 0.037f, length(p - m - vec2{0.014f, 0.008f}));
        sky += vec3{1.0f, 0.95f, 0.8f} * (lit * 1.5f + std::exp(-length(p - m) * 22.0f) * 0.15f);
        return sky;
    }

    // The land above the shore: hills in front of the sky, with village lights.
    vec3 Land(vec2 p) const {
        vec3 colour = Sky(p);
        const vec3 tint[3] = {{0.22f, 0.14f, 0.3f}, {0.1f, 0.07f, 0.16f}, {0.02f, 0.02f, 0.04f}};
        for (int layer = 0; layer < 3; ++layer) {
            const float top = Ridge(layer, p.x);
            if (p.y < top) {
                colour = tint[layer] +
                         Sky(vec2{p.x, top}, false) * (0.12f / static_cast<float>(layer + 1));
                if (layer == 1) {
                    // Windows scattered on the middle hills, a little below their ridge.
                    const vec2 cell = floor(p * vec2{160.0f, 110.0f});
                    const vec2 h = Hash2(cell);
                    const vec2 at = (cell + 0.5f) / vec2{160.0f, 110.0f};
                    const float below = top - at.y;
                    if (h.x > 0.9f && below > 0.01f && below < 0.06f && at.x > -0.1f &&
                        at.x < 0.3f) {
                        const float d = length((p - at) * vec2{160.0f, 110.0f});
                        colour += vec3{1.0f, 0.7f, 0.3f} * (std::exp(-d * d * 6.0f) * (0.6f + h.y));
                    }
                }
            }
        }
        return colour;
    }

    vec3 Shade(vec2 frag) const {
        const vec2 p = ScreenPoint(frag);
        if (p.y >= kShore) return ToneMap(Land(p), 1.3f);
        // The lake mirrors the land, broken into ripples that grow towards us.
        const float depth = kShore - p.y;
        const float wobble =
            (Noise(vec2{p.x * 40.0f, time * 1.5f + 3.0f / (depth + 0.02f)}) - 0.5f) * depth * 0.12f;
        const vec2 mirrored{p.x + wobble, 2.0f * kShore - p.y + wobble * 0.5f};
        vec3 colour = Land(mirrored) * 0.6f;
        colour = mix(colour, vec3{0.02f, 0.02f, 0.05f}, smoothstep(0.0f, 0.4f, depth));
        return ToneMap(colour, 1.3f);
    }
};

// =============================================================================================
// "ShaderToy TinyPlanet": a whole meadow world folded into a little planet (the panorama seen
// straight down, horizon bent into a circle): grass and a pond below, trees and cottages
// standing out all around, sky and clouds beyond. Time turns the planet.
// =============================================================================================

struct TinyPlanet {
    static constexpr float kRadius = 0.25f;
    static constexpr int kSlots = 40;  // places for a tree or a cottage around the horizon
    float time = 0.0f;

    void Setup(const float* params) { time = ShaderTime(params[0]); }

    // One thing standing on the horizon, drawn in its own frame: x along the ground, y up,
    // both in screen units. Returns colour and coverage.
    static vec4 Standing(int slot, vec2 q) {
        const float kind = Hash(static_cast<float>(slot) * 7.0f + 1.0f);
        const float size = 0.6f + 0.6f * Hash(static_cast<float>(slot) * 13.0f + 2.0f);
        if (kind < 0.45f) {  // pine: a stack of three triangles on a short trunk
            float cover = 0.0f;
            for (int k = 0; k < 3; ++k) {
                const float base = (0.012f + 0.018f * static_cast<float>(k)) * size;
                const float half = (0.022f - 0.005f * static_cast<float>(k)) * size;
                const float height = 0.03f * size;
                const float y = q.y - base;
                if (y > 0.0f && y < height && std::fabs(q.x) < half * (1.0f - y / height))
                    cover = 1.0f;
            }
            if (std::fabs(q.x) < 0.003f * size && q.y > 0.0f && q.y < 0.015f * size) cover = 1.0f;
            const vec3 green = mix(vec3{0.05f, 0.25f, 0.1f}, vec3{0.12f, 0.4f, 0.15f},
                                   saturate(q.x * 40.0f + 0.5f));
            return Vec4(green, cover);
        }
        if (kind < 0.8f) {  // leafy tree: a round crown on a trunk
            const float crown = length(q - vec2{0.0f, 0.04f * size}) - 0.022f * size;
            if (crown < 0.0f) {
                const float light = saturate(0.5f - q.x * 25.0f + q.y * 10.0f);
                return Vec4(mix(vec3{0.1f, 0.3f, 0.05f}, vec3{0.35f, 0.55f, 0.12f}, light), 1.0f);
            }
            if (std::fabs(q.x) < 0.004f * size && q.y > 0.0f && q.y < 0.03f * size)
                return Vec4(vec3{0.3f, 0.18f, 0.08f}, 1.0f);
            return {};
        }
        // Cottage: white walls, red roof, a lit window.
        const float w = 0.026f * size, h = 0.024f * size;
        if (std::fabs(q.x) < w && q.y > 0.0f && q.y < h) {
            const bool window =
                std::fabs(q.x - w * 0.4f) < w * 0.2f && std::fabs(q.y - h * 0.55f) < h * 0.2f;
            return Vec4(window ? vec3{0.25f, 0.35f, 0.5f} : vec3{0.95f, 0.75f, 0.5f}, 1.0f);
        }
        const float roof = q.y - h;
        if (roof >= 0.0f && roof < h * 0.8f &&
            std::fabs(q.x) < (w * 1.2f) * (1.0f - roof / (h * 0.8f)))
            return Vec4(vec3{0.7f, 0.15f, 0.1f}, 1.0f);
        return {};
    }

    vec3 Shade(vec2 frag) const {
        const vec2 p = ScreenPoint(frag) - vec2{0.0f, -0.03f};
        const float r = length(p);
        const float angle = std::atan2(p.x, p.y) + time * 0.05f;
        const vec2 around{std::cos(angle), std::sin(angle)};  // seamless coordinates on the circle

        if (r < kRadius) {
            // The meadow, nadir at the centre: patches of grass, flowers, a pond.
            const float depth = -std::log(std::max(r, 1e-4f) / kRadius);
            const vec3 g{around.x * r * 40.0f, around.y * r * 40.0f, 0.0f};
            const float patches = Fbm(g * 0.5f + vec3{0.0f, 0.0f, 3.0f}, 4);
            vec3 colour = mix(vec3{0.2f, 0.45f, 0.08f}, vec3{0.45f, 0.65f, 0.15f}, patches);
            const float flowers = step(0.975f, Hash(floor(vec2{g.x, g.y} * 5.0f)));
            colour = mix(colour, vec3{1.0f, 0.85f, 0.3f}, flowers * 0.8f);
            const vec2 pondAt = Rotate2(-time * 0.05f) * vec2{0.05f, 0.04f};
            const float pond =
                length((p - pondAt) * vec2{1.0f, 1.4f}) - 0.06f + 0.01f * Noise(p * 60.0f);
            if (pond < 0.0f)
                colour =
                    mix(vec3{0.2f, 0.55f, 0.8f}, vec3{0.05f, 0.25f, 0.5f}, saturate(-pond * 30.0f));
            else
                colour *= 0.8f + 0.2f * smoothstep(0.0f, 0.01f, pond);
            // A little haze towards the horizon, as the ground recedes.
            colour = mix(colour, vec3{0.7f, 0.8f, 0.75f}, std::exp(-depth * 8.0f) * 0.5f);
            return ToneMap(colour, 1.6f);
        }

        // The sky, bent around the planet: pale at the horizon, deep blue far out.
        const float up = saturate((r - kRadius) / 0.7f);
        vec3 colour = mix(vec3{0.85f, 0.92f, 1.0f}, vec3{0.12f, 0.35f, 0.78f}, std::pow(up, 0.55f));
        const vec2 sunAt{-0.42f, 0.24f};
        colour += vec3{1.0f, 0.9f, 0.6f} * (std::exp(-length(p - sunAt) * 9.0f) * 0.6f +
                                            smoothstep(0.03f, 0.025f, length(p - sunAt)) * 2.0f);
        const float clouds = smoothstep(
            0.55f, 0.75f, Fbm(vec3{around.x * 4.0f, around.y * 4.0f, r * 9.0f + time * 0.02f}, 5));
        colour = mix(colour, vec3{1.0f, 1.0f, 1.0f},
                     clouds * smoothstep(0.02f, 0.12f, r - kRadius) * 0.85f);

        // Trees and cottages along the horizon, standing straight out from the planet.
        const float slotWidth = kTau / static_cast<float>(kSlots);
        const float slotAt = std::floor(angle / slotWidth);
        for (int k = -1; k <= 1; ++k) {
            const float index = slotAt + static_cast<float>(k);
            const int slot = static_cast<int>(mod(index, static_cast<float>(kSlots)));
            if (Hash(static_cast<float>(slot) * 3.0f) < 0.3f) continue;  // an empty place
            const float centre = (index + 0.5f) * slotWidth;
            const vec2 q{(angle - centre) * kRadius, r - kRadius + 0.002f};
            const vec4 thing = Standing(slot, q);
            colour = mix(colour, xyz(thing), thing.w);
        }
        return ToneMap(colour, 1.4f);
    }
};

// =============================================================================================
// "ShaderToy AfterRain": a city street at night just after the rain: lit windows and neon
// signs on the houses, a row of street lamps, and the wet road mirroring all of it, sharply
// in the puddles, smeared elsewhere; drops still ring the puddles as time goes on.
// =============================================================================================

struct AfterRain {
    static constexpr float kFront = 7.0f;  // house fronts at x = -7 and 7
    static constexpr float kBlock = 9.0f;  // length of one house along the street
    static constexpr int kLamps = 7;
    float time = 0.0f;
    vec3 eye;
    mat3 camera;

    void Setup(const float* params) {
        time = ShaderTime(params[0]);
        eye = {-1.2f, 1.7f, 0.0f};
        camera = LookAt(vec3{0.06f, -0.1f, 1.0f});
    }

    static vec3 Lamp(int i) {
        return {i % 2 ? 5.4f : -5.4f, 5.2f, 7.0f + 11.0f * static_cast<float>(i)};
    }
    static vec3 LampColour(int i) {
        return Hash(static_cast<float>(i) * 5.0f) < 0.7f ? vec3{1.0f, 0.6f, 0.25f}
                                                         : vec3{0.75f, 0.85f, 1.0f};
    }

    // A house front at point p (x = +-kFront): dark wall, windows lit at random, a neon band
    // over some shop fronts. Returns colour, or negative alpha above the roof.
    vec4 Front(vec3 p) const {
        const float side = p.x > 0.0f ? 1.0f : 0.0f;
        const float block = std::floor(p.z / kBlock);
        const float roof = 9.0f + 16.0f * Hash(vec2{block, side});
        if (p.y > roof) return {0.0f, 0.0f, 0.0f, -1.0f};
        const vec2 wall{p.z, p.y};
        vec3 colour =
            mix(vec3{0.05f, 0.045f, 0.05f}, vec3{0.09f, 0.08f, 0.07f}, Noise(wall * 2.0f));
        // Windows: two a block-metre and a half, one a storey of three metres, above the shop.
        const vec2 cell = floor(wall / vec2{1.8f, 3.0f}), in = fract(wall / vec2{1.8f, 3.0f});
        const bool pane = in.x > 0.25f && in.x < 0.75f && in.y > 0.3f && in.y < 0.8f;
        if (pane && p.y > 4.5f && p.y < roof - 1.0f) {
            const vec2 h = Hash2(cell + vec2{side * 91.0f, 0.0f});
            const vec3 warm{1.0f, 0.7f, 0.35f}, cool{0.55f, 0.75f, 1.0f};
            colour = h.x > 0.55f ? mix(warm, cool, step(0.8f, h.y)) * (0.5f + 0.8f * h.y)
                                 : vec3{0.04f, 0.05f, 0.07f};
        }
        // Shop fronts: a glowing sign band on every other house, lit glass below.
        const float shop = Hash(vec2{block + 0.5f, side + 7.0f});
        if (shop > 0.4f && p.y > 3.3f && p.y < 3.9f && fract(p.z / kBlock) > 0.15f &&
            fract(p.z / kBlock) < 0.85f) {
            colour = shop > 0.7f ? vec3{1.0f, 0.2f, 0.6f} * 2.0f : vec3{0.2f, 0.9f, 1.0f} * 2.0f;
        } else if (shop > 0.4f && p.y > 0.4f && p.y < 3.0f && fract(p.z / kBlock) > 0.2f &&
                   fract(p.z / kBlock) < 0.8f) {
            colour = vec3{0.9f, 0.7f, 0.45f} * (0.2f + 0.25f * (3.0f - p.y) / 3.0f);
        }
        return Vec4(colour, 1.0f);
    }

    // The nearest lamp post (a thin pole under each lamp) along the ray before `limit`;
    // limit when none.
    static float Post(vec3 o, vec3 d, float limit) {
        const float a = d.x * d.x + d.z * d.z;
        if (a < 1e-8f) return limit;
        for (int i = 0; i < kLamps; ++i) {
            const vec3 l = Lamp(i);
            const vec2 oc{o.x - l.x, o.z - l.z};
            const float b = oc.x * d.x + oc.y * d.z, c = dot(oc, oc) - 0.09f * 0.09f;
            const float disc = b * b - a * c;
            if (disc < 0.0f) continue;
            const float t = (-b - std::sqrt(disc)) / a;
            const float y = o.y + d.y * t;
            if (t > 0.0f && t < limit && y > 0.0f && y < l.y) limit = t;
        }
        return limit;
    }

    static vec3 Fog(vec3 colour, float t) {
        return mix(colour, vec3{0.1f, 0.09f, 0.11f}, 1.0f - std::exp(-t * 0.012f));
    }

    // What a ray sees above the road: house fronts, lamp posts, the night sky with the glow
    // of the town, and the glow of the lamps (`spread` widens the glows, for the blurred
    // reflections).
    vec3 Trace(vec3 o, vec3 d, float spread) const {
        float hit = 1e9f;
        vec3 colour =
            mix(vec3{0.16f, 0.13f, 0.14f}, vec3{0.01f, 0.015f, 0.03f}, saturate(d.y * 2.5f));
        if (std::fabs(d.x) > 1e-5f) {
            const float t = ((d.x > 0.0f ? kFront : -kFront) - o.x) / d.x;
            if (t > 0.0f) {
                const vec4 front = Front(o + d * t);
                if (front.w > 0.0f) {
                    colour = Fog(xyz(front), t);
                    hit = t;
                }
            }
        }
        const float post = Post(o, d, hit);
        if (post < hit) {
            colour = Fog(vec3{0.02f, 0.02f, 0.025f}, post);
            hit = post;
        }
        for (int i = 0; i < kLamps; ++i) {
            const vec3 l = Lamp(i) - o;
            const float along = dot(l, d);
            if (along <= 0.0f || along > hit + 0.5f) continue;
            const float miss = length(l - d * along) / along;  // angular distance
            const float core = std::exp(-miss * miss * 20000.0f / (spread * spread));
            const float halo = std::exp(-miss * 18.0f / spread) * 0.35f;
            colour += LampColour(i) * ((core * 8.0f + halo) * (12.0f / (12.0f + along)));
        }
        return colour;
    }

    vec3 Shade(vec2 frag) const {
        const vec2 s = ScreenPoint(frag);
        const vec3 d = camera * normalize(Vec3(s, 1.3f));
        if (d.y >= 0.0f) return ToneMap(Trace(eye, d, 1.0f), 1.6f);
        const float t = -eye.y / d.y;
        const vec3 p = eye + d * t;
        if (std::fabs(p.x) > kFront || Post(eye, d, t) < t)
            return ToneMap(Trace(eye, d, 1.0f), 1.6f);

        // The wet ground: asphalt in the middle, paving stones near the houses.
        const bool pavement = std::fabs(p.x) > 5.0f;
        const vec2 g = xz(p);
        vec3 ground = pavement ? vec3{0.07f, 0.07f, 0.075f} * (0.8f + 0.4f * Hash(floor(g * 1.5f)))
                               : vec3{0.025f, 0.027f, 0.035f} * (0.8f + 0.4f * Noise(g * 8.0f));
        if (!pavement && std::fabs(p.x + 0.0f) < 0.08f && fract(p.z / 6.0f) < 0.5f)
            ground = vec3{0.5f, 0.5f, 0.45f};  // the dashed middle line
        // Puddles are mirrors; elsewhere the wet surface smears the reflection.
        const float puddle = smoothstep(0.52f, 0.58f, Fbm(g * 0.35f, 4));
        vec3 n{0.0f, 1.0f, 0.0f};
        // Drops falling from the eaves and wires ring the puddles.
        const vec2 dropCell = floor(g * 1.2f);
        const vec2 dropAt = (dropCell + Hash2(dropCell)) / 1.2f;
        const float age = fract(time * 0.7f + Hash(dropCell + 3.0f));
        const float ringDist = length(g - dropAt) - age * 0.6f;
        const float ring = std::exp(-ringDist * ringDist * 900.0f) * (1.0f - age) * puddle;
        const vec2 away = normalize(g - dropAt);
        n = normalize(n + vec3{away.x, 0.0f, away.y} * (ring * 0.35f));
        const vec2 smear{Noise(g * 3.0f) - 0.5f, Noise(g * 3.0f + 9.0f) - 0.5f};
        n = normalize(n + vec3{smear.x, 0.0f, smear.y} * ((1.0f - puddle) * 0.04f));
        const vec3 r = reflect(d, n);
        const float fresnel = 0.25f + 0.75f * std::pow(1.0f - saturate(-d.y), 5.0f);
        const vec3 mirrored = Trace(p, r, mix(4.0f, 1.0f, puddle));
        vec3 colour = ground + mirrored * (fresnel * mix(0.45f, 0.9f, puddle));
        // Light falling from the lamps.
        for (int i = 0; i < kLamps; ++i) {
            const vec3 l = Lamp(i) - p;
            colour += LampColour(i) * (ground * (40.0f / (1.0f + dot(l, l) * 0.6f)));
        }
        return ToneMap(Fog(colour, t), 1.6f);
    }
};

constexpr EquationClass kMembers[] = {
    {"CPixelShaderToy_Clouds", CreatePixelEquation<CShaderToyEquation<Clouds>>},
    {"CPixelShaderToy_CloudySunset", CreatePixelEquation<CShaderToyEquation<CloudySunset>>},
    {"CPixelShaderToy_Nightfall", CreatePixelEquation<CShaderToyEquation<Nightfall>>},
    {"CPixelShaderToy_TinyPlanet", CreatePixelEquation<CShaderToyEquation<TinyPlanet>>},
    {"CPixelShaderToy_AfterRain", CreatePixelEquation<CShaderToyEquation<AfterRain>>},
};

}  // namespace

std::span<const EquationClass> ShaderSkyMembers() { return kMembers; }

}  // namespace luneth::shader
