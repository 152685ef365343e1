// Shader-style members over ground and water: "ShaderToy Elevated", "ShaderToy Frozenland",
// "ShaderToy Ocean" (ray marched through height fields), "ShaderToy Cave" (through a distance
// field) and "ShaderToy SatelliteEye" (seen straight down).
//
// Index of this file:
//   Height-field marching   shared by the landscapes: march, refine, normal, soft shadow
//   Elevated                sunlit mountains with snow, flown over as time goes on
//   Frozenland              ice ridges, ground fog and blowing snow
//   Ocean                   open sea with reflections, foam and glitter
//   Cave                    from inside a cave out into a sunny valley
//   SatelliteEye            the ground from orbit: coasts, fields, rivers, clouds
#include <cmath>

#include "equations/ShaderEquation.h"

namespace luneth::shader {

namespace {

// =============================================================================================
// Height-field marching
// =============================================================================================

// Marches the ray o + t d over the height field `height` (world units) from tNear to tFar.
// Steps are a fraction of the height above ground, so they shrink near slopes; the march
// stops as soon as the ray is above `ceiling` and climbing, since nothing more can be hit.
// The hit is refined by bisection. Returns the distance, or -1 for the sky.
template <class Height>
float MarchHeightField(const Height& height, vec3 o, vec3 d, float tNear, float tFar, float ceiling,
                       int steps, float stepScale) {
    float t = tNear, previous = tNear;
    for (int i = 0; i < steps && t < tFar; ++i) {
        const vec3 p = o + d * t;
        if (p.y > ceiling && d.y >= 0.0f) return -1.0f;
        const float gap = p.y - height(vec2{p.x, p.z});
        if (gap < 0.002f * t) {
            // Bisect between the last point above ground and this one.
            float lo = previous, hi = t;
            for (int k = 0; k < 6; ++k) {
                const float mid = 0.5f * (lo + hi);
                const vec3 q = o + d * mid;
                (q.y > height(vec2{q.x, q.z}) ? lo : hi) = mid;
            }
            return 0.5f * (lo + hi);
        }
        previous = t;
        t += std::max(gap * stepScale, 0.02f * t + 0.02f);
    }
    return -1.0f;
}

// The normal of a height field by forward differences of width e.
template <class Height>
vec3 HeightFieldNormal(const Height& height, vec2 p, float e) {
    const float h = height(p);
    const float dx = height(p + vec2{e, 0.0f}) - h, dz = height(p + vec2{0.0f, e}) - h;
    return normalize(vec3{-dx, e, -dz});
}

// Soft shadow towards the light: the smallest ratio of clearance to distance on the way.
template <class Height>
float HeightFieldShadow(const Height& height, vec3 p, vec3 light, int steps, float stride) {
    float shade = 1.0f, t = stride * 0.5f;
    for (int i = 0; i < steps; ++i) {
        const vec3 q = p + light * t;
        const float gap = q.y - height(vec2{q.x, q.z});
        shade = std::min(shade, 8.0f * gap / t);
        if (shade < 0.0f) return 0.0f;
        t += stride * (1.0f + 0.15f * static_cast<float>(i));
    }
    return smoothstep(0.0f, 1.0f, shade);
}

// Mountains: derivative-damped fbm of the texture noise (steep places get less detail, so
// slopes stay smooth and valleys fill with soft forms).
float Mountains(vec2 p, int octaves) {
    const mat2 m{{1.6f, -1.2f}, {1.2f, 1.6f}};
    float sum = 0.0f, amp = 1.0f;
    vec2 slope{};
    for (int i = 0; i < octaves; ++i) {
        const vec3 n = NoiseD(p);
        slope += vec2{n.y, n.z};
        sum += amp * (n.x - 0.5f) / (1.0f + dot(slope, slope));
        amp *= 0.5f;
        p = m * p;
    }
    return sum;
}

// =============================================================================================
// "ShaderToy Elevated": a range of sunlit mountains, snow on the heights, green in the
// valleys, haze in the distance; time carries the camera along the valley.
// =============================================================================================

struct Elevated {
    static constexpr float kScale = 0.004f, kHeight = 220.0f;
    vec3 eye, sun;
    mat3 camera;

    static float Ground(vec2 p, int octaves) { return kHeight * Mountains(p * kScale, octaves); }

    void Setup(const float* params) {
        const float time = ShaderTime(params[0]);
        const vec2 at{time * 30.0f + 40.0f, time * 12.0f - 60.0f};
        eye = {at.x, Ground(at, 9) + 70.0f, at.y};
        const vec2 ahead = at + vec2{160.0f, 90.0f};
        const vec3 target{ahead.x, eye.y - 25.0f, ahead.y};
        camera = LookAt(target - eye);
        sun = normalize(vec3{0.3f, 0.42f, -0.85f});
    }

    vec3 Shade(vec2 frag) const {
        const vec2 s = ScreenPoint(frag);
        const vec3 d = camera * normalize(Vec3(s, 1.3f));
        const vec3 zenith{0.08f, 0.25f, 0.62f}, horizon{0.66f, 0.74f, 0.82f};
        const vec3 sky = SkyGradient(d, sun, zenith, horizon, vec3{1.0f, 0.85f, 0.6f});
        auto coarse = [](vec2 p) { return Ground(p, 4); };
        const float t = MarchHeightField(coarse, eye, d, 1.0f, 2000.0f, kHeight * 0.6f, 120, 0.75f);
        if (t < 0.0f) return ToneMap(sky * 1.2f);

        const vec3 p = eye + d * t;
        auto fine = [](vec2 q) { return Ground(q, 8); };
        const vec3 n = HeightFieldNormal(fine, xz(p), 0.3f + 0.002f * t);
        const float h = p.y / kHeight;

        // Materials: rock, grass in flat low places, snow on flat high places.
        const float grain = Noise(xz(p) * 0.15f);
        vec3 albedo = mix(vec3{0.3f, 0.22f, 0.16f}, vec3{0.48f, 0.38f, 0.28f}, grain);
        const float grass =
            smoothstep(0.75f, 0.9f, n.y) * smoothstep(0.05f, -0.05f, h + 0.05f * grain);
        albedo = mix(albedo, vec3{0.16f, 0.26f, 0.07f}, grass);
        const float snow =
            smoothstep(0.55f, 0.8f, n.y) * smoothstep(0.12f, 0.2f, h + 0.08f * grain);
        albedo = mix(albedo, vec3{0.92f, 0.94f, 0.98f}, snow);

        const float sunLight =
            saturate(dot(n, sun)) * HeightFieldShadow(coarse, p + n * 0.5f, sun, 10, 12.0f);
        const float skyLight = 0.5f + 0.5f * n.y;
        vec3 colour = albedo * (vec3{1.0f, 0.85f, 0.65f} * (sunLight * 2.8f) +
                                vec3{0.3f, 0.42f, 0.65f} * (skyLight * 0.45f));
        // Haze thickens with distance and lies lower in the valleys.
        const float haze = 1.0f - std::exp(-t * 0.0012f);
        const vec3 air =
            mix(horizon, vec3{1.0f, 0.85f, 0.65f}, std::pow(saturate(dot(d, sun)), 6.0f) * 0.5f);
        colour = mix(colour, air, haze);
        return ToneMap(colour);
    }
};

// =============================================================================================
// "ShaderToy Frozenland": a frozen wasteland under a pale low sun: wind-cut ridges of ice,
// blue where they are steep, snow on the flats, glints, ground fog and blowing snow.
// =============================================================================================

// Ridged fbm: folded noise makes sharp crests; each octave is damped where the ones before
// are low, so the plains between the ridges stay smooth.
float IceRidges(vec2 p, int octaves) {
    const mat2 m{{1.7f, -1.0f}, {1.0f, 1.7f}};
    float sum = 0.0f, amp = 0.55f, weight = 1.0f;
    for (int i = 0; i < octaves; ++i) {
        float n = 1.0f - std::fabs(Noise(p) * 2.0f - 1.0f);
        n = n * n * weight;
        weight = saturate(n * 2.5f);
        sum += n * amp;
        amp *= 0.45f;
        p = m * p;
    }
    return sum;
}

struct Frozenland {
    static constexpr float kScale = 0.012f, kHeight = 42.0f;
    float time = 0.0f;
    vec3 eye, sun;
    mat3 camera;

    // A wide valley along the x axis: gentle drifts on its floor, ice ridges rising on both
    // sides and here and there across it.
    static float Ground(vec2 p, int octaves) {
        const vec2 q = p * kScale;
        const float side =
            smoothstep(40.0f, 160.0f, std::fabs(p.y + 40.0f * std::sin(p.x * 0.004f)));
        const float ridges = std::max(side, smoothstep(0.62f, 0.78f, Noise(q * 0.35f + 5.0f)));
        const float drifts = 0.08f * Noise(q * vec2{2.0f, 0.5f});
        if (ridges <= 0.0f) return kHeight * drifts;
        return kHeight * (drifts + ridges * IceRidges(q, octaves) * 1.4f);
    }

    void Setup(const float* params) {
        time = ShaderTime(params[0]);
        const vec2 at{time * 6.0f, 0.0f};
        eye = {at.x, 9.0f, at.y};
        camera = LookAt(vec3{1.0f, -0.07f, 0.12f});
        sun = normalize(vec3{1.0f, 0.2f, -0.4f});
    }

    vec3 Shade(vec2 frag) const {
        const vec2 s = ScreenPoint(frag);
        const vec3 d = camera * normalize(Vec3(s, 1.2f));
        const vec3 zenith{0.22f, 0.4f, 0.68f}, horizon{0.8f, 0.85f, 0.9f};
        vec3 colour = SkyGradient(d, sun, zenith, horizon, vec3{1.0f, 0.95f, 0.85f});
        auto coarse = [](vec2 p) { return Ground(p, 4); };
        const float t = MarchHeightField(coarse, eye, d, 0.5f, 1500.0f, kHeight * 1.5f, 100, 0.8f);
        if (t > 0.0f) {
            const vec3 p = eye + d * t;
            auto fine = [](vec2 q) { return Ground(q, 7); };
            const vec3 n = HeightFieldNormal(fine, xz(p), 0.05f + 0.002f * t);
            // Snow settles on the flats, the steep faces show blue ice.
            const float flat = smoothstep(0.6f, 0.85f, n.y + 0.1f * (Noise(xz(p) * 0.3f) - 0.5f));
            const vec3 ice = mix(vec3{0.2f, 0.45f, 0.62f}, vec3{0.5f, 0.75f, 0.88f},
                                 Noise(xz(p) * vec2{0.05f, 0.6f}));
            const vec3 albedo = mix(ice, vec3{0.9f, 0.93f, 0.97f}, flat);
            // Wind ripples on the snow, shaded by how they rise towards the sun.
            const float phase = p.x * 1.1f + p.z * 0.5f + 6.0f * Noise(xz(p) * 0.06f);
            const float ripple = std::cos(phase) * 0.2f * std::exp(-t * 0.015f);
            const float light = saturate(dot(n, sun)) * (1.0f + 1.8f * ripple * flat);
            const float shadow = HeightFieldShadow(coarse, p + n * 0.2f, sun, 8, 3.5f);
            const vec3 h = normalize(sun - d);
            const float gloss = std::pow(saturate(dot(n, h)), mix(30.0f, 200.0f, flat));
            // Glints: a few snow crystals catch the sun.
            const float glint = std::pow(Hash(xz(p) * 9.0f), 400.0f) * flat * light * 8.0f;
            colour = albedo * (vec3{1.0f, 0.96f, 0.9f} * (light * shadow * 1.7f) +
                               vec3{0.45f, 0.6f, 0.8f} * (0.45f + 0.3f * n.y)) +
                     vec3{1.0f, 0.97f, 0.9f} * ((gloss * 0.6f + glint) * shadow);
            const float fog = 1.0f - std::exp(-t * 0.0028f);
            colour = mix(colour, horizon, fog);
        }
        // Ground fog lying in the lowest layer, thinning upwards.
        const float low = std::exp(-std::max(d.y, 0.0f) * 30.0f) * 0.15f;
        colour = mix(colour, vec3{0.86f, 0.9f, 0.94f}, low);
        // Blowing snow: three layers of streaks drifting across the view.
        for (int layer = 0; layer < 3; ++layer) {
            const float depth = 1.0f + static_cast<float>(layer);
            const vec2 q = s * (22.0f * depth) + vec2{time * 9.0f, -time * 2.0f} / depth;
            const vec2 cell = floor(q);
            const vec2 jitter = Hash2(cell + 13.0f * depth);
            vec2 off = q - cell - jitter;
            off.y += off.x * 0.25f;  // streaks slant with the wind
            const float flake = std::exp(-(off.x * off.x * 6.0f + off.y * off.y * 900.0f) * depth);
            colour += vec3{0.9f, 0.95f, 1.0f} * (flake * step(0.85f, Hash(cell + 5.0f)) * 0.35f);
        }
        return ToneMap(colour, 1.6f);
    }
};

// =============================================================================================
// "ShaderToy Ocean": open sea under a high afternoon sun: rolling swell with sharp crests,
// sky reflected by the Fresnel law, light passing through thin wave tops, foam, and a path
// of glitter towards the sun. Time moves the waves.
// =============================================================================================

struct Ocean {
    static constexpr int kTrains = 6;
    float time = 0.0f;
    vec3 eye, sun;
    mat3 camera;
    mat2 train[kTrains];  // direction and frequency of each wave train

    // Wave trains in turned directions, each crest sharpened and its phase broken up by noise
    // so that no train repeats visibly.
    float Sea(vec2 p, int octaves) const {
        float h = 0.0f, amp = 0.55f;
        for (int i = 0; i < octaves; ++i) {
            const vec2 q = train[i] * p;
            const float phase = q.x + time * (0.9f + 0.25f * static_cast<float>(i)) +
                                2.2f * Noise(q * 0.35f + static_cast<float>(i) * 7.0f);
            // One period of a parabola, squared: round troughs, pointed crests.
            const float s = fract(phase * (1.0f / kTau)), swell = 4.0f * s * (1.0f - s);
            h += amp * (swell * swell * 2.0f - 0.55f);
            amp *= 0.42f;
        }
        return h;
    }

    void Setup(const float* params) {
        time = ShaderTime(params[0]);
        eye = {time * 1.5f, 4.2f, time * 0.5f};
        camera = LookAt(vec3{0.0f, -0.09f, 1.0f});
        sun = normalize(vec3{0.25f, 0.3f, 1.0f});
        float freq = 0.16f;
        for (int i = 0; i < kTrains; ++i, freq *= 2.1f) {
            const mat2 turn = Rotate2(1.1f * static_cast<float>(i));
            train[i] = {turn.c0 * freq, turn.c1 * freq};
        }
    }

    vec3 Sky(vec3 d, bool clouds = true) const {
        const vec3 zenith{0.06f, 0.22f, 0.58f}, horizon{0.6f, 0.74f, 0.86f};
        vec3 sky = SkyGradient(d, sun, zenith, horizon, vec3{1.0f, 0.9f, 0.7f});
        // A few high streaks of cloud.
        if (clouds && d.y > 0.0f) {
            const vec2 c = xz(d) / (d.y + 0.05f);
            sky = mix(sky, vec3{0.95f, 0.95f, 0.97f},
                      smoothstep(0.55f, 0.85f, Fbm(c * vec2{0.6f, 1.8f} + 3.0f, 4)) * 0.6f);
        }
        return sky;
    }

    vec3 Shade(vec2 frag) const {
        const vec2 s = ScreenPoint(frag);
        const vec3 d = camera * normalize(Vec3(s, 1.4f));
        auto coarse = [this](vec2 p) { return Sea(p, 3); };
        const float t = MarchHeightField(coarse, eye, d, 0.5f, 600.0f, 1.6f, 80, 0.9f);
        if (t < 0.0f) return ToneMap(Sky(d), 1.4f);

        const vec3 p = eye + d * t;
        auto fine = [this](vec2 q) { return Sea(q, 6); };
        // Far away the small waves blur into the smooth surface.
        vec3 n = HeightFieldNormal(fine, xz(p), 0.02f + 0.0015f * t);
        n = normalize(mix(n, vec3{0.0f, 1.0f, 0.0f}, smoothstep(80.0f, 500.0f, t)));

        const float fresnel = 0.04f + 0.96f * std::pow(1.0f - saturate(dot(n, -d)), 5.0f);
        const vec3 r = reflect(d, n);
        const vec3 reflected = Sky(vec3{r.x, std::fabs(r.y), r.z});
        // Light through the water: deep blue, greener where a crest is thin and high.
        const float lift = saturate(p.y * 0.6f + 0.3f);
        const vec3 deep{0.0f, 0.05f, 0.14f}, thin{0.03f, 0.33f, 0.38f};
        const vec3 body = mix(deep, thin, lift * lift) * (0.5f + 0.5f * saturate(dot(n, sun)));
        vec3 colour = mix(body, reflected, fresnel);
        // Foam on the sharpest crests.
        const float foam = smoothstep(0.95f, 1.35f, p.y + 0.3f * Noise(xz(p) * 2.0f));
        colour = mix(colour, vec3{0.85f, 0.9f, 0.92f}, foam * 0.7f);
        // Sun glitter.
        const float glint = std::pow(saturate(dot(r, sun)), 700.0f) * 30.0f;
        colour += vec3{1.0f, 0.92f, 0.75f} * glint;
        const float haze = 1.0f - std::exp(-t * 0.006f);
        colour = mix(colour, Sky(vec3{d.x, 0.02f, d.z}, false), haze);
        return ToneMap(colour, 1.4f);
    }
};

// =============================================================================================
// "ShaderToy Cave": inside a cave, looking out of its mouth at a sunny valley. Stalactites hang
// from the roof, daylight spills over the wet rock and a pool on the floor mirrors the opening.
// Time drifts the clouds outside and sways the view a little.
// =============================================================================================

struct Cave {
    static constexpr float kCells = 0.8f;  // stalactite cells a metre
    float time = 0.0f;
    vec3 eye, sun;
    mat3 camera;

    // Distance to the rock from a point of the free space: the chamber (a squashed ball
    // round the origin) joined with the tunnel of the mouth towards +z, their walls pushed
    // about by noise, and stalactites hanging from the roof.
    static float Rock(vec3 p, bool fine = false) {
        const float chamber = 7.0f - length(vec3{p.x, p.y * 1.6f, p.z * 0.9f});
        const vec2 m = xy(p) - vec2{0.6f, 0.4f};
        const float mouth = (3.4f - length(vec2{m.x, m.y * 1.5f})) * smoothstep(-2.0f, 2.0f, p.z) -
                            0.5f * (1.0f - smoothstep(-2.0f, 2.0f, p.z));
        float free = std::max(chamber, mouth);
        if (free > 2.0f) return free - 1.4f;  // farther than the noise can reach
        free -= (Fbm(p * 0.45f, 2) - 0.45f) * 2.4f;
        if (fine) free += 0.15f * Noise(p * 2.3f) + 0.05f * Noise(p * 6.0f);
        // Stalactites: a slim cone hanging in some cells of the roof, widening up to it.
        const vec2 cell = floor(xz(p) * kCells);
        const vec2 h = Hash2(cell);
        if (h.x > 0.45f) {
            const vec2 centre = (cell + 0.35f + 0.3f * h) / kCells;
            const float tip = 1.0f - 1.9f * h.y;
            const float r = length(xz(p) - centre);
            const float cone = r - 0.03f - 0.06f * std::max(p.y - tip, 0.0f);
            free = std::min(free, p.y > tip ? cone : length(vec2{r, p.y - tip}) - 0.03f);
        }
        return free * 0.75f;
    }

    void Setup(const float* params) {
        time = ShaderTime(params[0]);
        eye = {0.3f * std::sin(time * 0.11f), -0.7f + 0.1f * std::sin(time * 0.07f), -4.5f};
        camera = LookAt(vec3{0.12f + 0.04f * std::sin(time * 0.05f), 0.1f, 1.0f});
        sun = normalize(vec3{-0.4f, 0.6f, 0.7f});
    }

    // The sunny valley seen through the mouth.
    vec3 Outside(vec3 d) const {
        vec3 sky = SkyGradient(d, sun, vec3{0.15f, 0.38f, 0.75f}, vec3{0.75f, 0.85f, 0.92f},
                               vec3{1.0f, 0.9f, 0.7f});
        const vec2 c = xz(d) / (std::fabs(d.y) + 0.08f);
        const float cloud = smoothstep(0.5f, 0.8f, Fbm(c * 0.6f + vec2{time * 0.05f, 0.0f}, 4));
        sky = mix(sky, vec3{1.0f, 1.0f, 1.0f}, cloud * smoothstep(0.0f, 0.15f, d.y) * 0.8f);
        // Hills: far blue ones, then a green slope.
        const float a = std::atan2(d.x, d.z);
        const float far = 0.06f + 0.05f * Fbm(vec2{a * 4.0f, 1.0f}, 4);
        const float near = -0.02f + 0.08f * Fbm(vec2{a * 2.5f, 7.0f}, 4);
        if (d.y < near) {
            const float grass = Fbm(xz(d) / (0.15f - d.y) * 3.0f, 3);
            return mix(vec3{0.2f, 0.38f, 0.08f}, vec3{0.38f, 0.55f, 0.15f}, grass) * 1.3f;
        }
        if (d.y < far) return mix(vec3{0.35f, 0.5f, 0.6f}, sky, 0.35f);
        return sky;
    }

    vec3 Shade(vec2 frag) const {
        const vec2 s = ScreenPoint(frag);
        const vec3 d = camera * normalize(Vec3(s, 1.1f));
        // Marching ends on the rock, out of the mouth, or out of steps (a grazing ray: taken
        // as rock).
        float t = 0.0f;
        bool escaped = false;
        const vec2 cellRate = xz(d) * kCells;
        for (int i = 0; i < 80; ++i) {
            const vec3 p = eye + d * t;
            if (p.z > 8.5f || t > 25.0f) {
                escaped = true;
                break;
            }
            const float dist = Rock(p);
            if (dist < 0.002f * (1.0f + t)) break;
            // Where stalactites hang, a step ends just past the ray's exit from its cell, so
            // the cones of the next cells are not jumped into.
            float stride = dist;
            if (p.y > -1.0f) {
                const vec2 q = xz(p) * kCells, cell = floor(q);
                auto exit = [](float at, float low, float rate) {
                    return rate > 0.0f   ? (low + 1.0f - at) / rate
                           : rate < 0.0f ? (low - at) / rate
                                         : 1e9f;
                };
                const float leave =
                    std::min(exit(q.x, cell.x, cellRate.x), exit(q.y, cell.y, cellRate.y));
                stride = std::min(stride, leave + 0.02f);
            }
            t += stride;
        }
        if (escaped) return ToneMap(Outside(d), 1.5f);
        const vec3 p = eye + d * t;
        const float e = 0.01f, r0 = Rock(p, true);
        const vec3 n =
            normalize(vec3{Rock(p + vec3{e, 0, 0}, true) - r0, Rock(p + vec3{0, e, 0}, true) - r0,
                           Rock(p + vec3{0, 0, e}, true) - r0});
        // Daylight comes in through the mouth; it fades deeper in the cave.
        const vec3 mouth{0.6f, 0.4f, 7.0f};
        const vec3 toMouth = normalize(mouth - p);
        const float reach = std::exp(-std::max(0.0f, 7.5f - p.z) * 0.38f);
        const float facing = saturate(dot(n, toMouth) * 0.8f + 0.2f);
        const float occlusion = saturate(0.35f + Rock(p + n * 0.5f) * 1.6f);
        const vec3 rock = mix(vec3{0.34f, 0.27f, 0.21f}, vec3{0.2f, 0.18f, 0.16f}, Noise(p * 2.0f));
        vec3 colour =
            rock * (vec3{1.0f, 0.92f, 0.8f} * (facing * reach * 2.6f) + vec3{0.06f, 0.05f, 0.045f});
        // Wet rock glistens towards the light.
        const float wet = smoothstep(0.6f, 0.8f, Noise(p * 0.9f + 3.0f));
        colour += vec3{1.0f, 0.95f, 0.85f} *
                  (std::pow(saturate(dot(reflect(d, n), toMouth)), 60.0f) * wet * reach * 0.8f);
        // A pool on the floor mirrors the bright opening.
        const float pool = smoothstep(0.5f, 0.56f, Noise(xz(p) * 0.25f + 1.7f)) *
                           smoothstep(0.75f, 0.9f, n.y) * smoothstep(-1.2f, -1.6f, p.y);
        if (pool > 0.0f) {
            const vec3 r = reflect(d, vec3{0.0f, 1.0f, 0.0f});
            const float aligned = smoothstep(0.9f, 0.97f, dot(r, toMouth));
            colour = mix(colour, mix(colour * 0.3f, Outside(r) * 0.7f, aligned), pool);
        }
        colour *= occlusion;
        return ToneMap(colour, 1.5f);
    }
};

// =============================================================================================
// "ShaderToy SatelliteEye": the ground seen straight down from orbit: coasts and shallows,
// forests, fields, deserts, snowy ranges, rivers, and clouds drifting over their shadows.
// Time pans the view and moves the clouds.
// =============================================================================================

struct SatelliteEye {
    float time = 0.0f;
    vec2 pan;

    void Setup(const float* params) {
        time = ShaderTime(params[0]);
        pan = vec2{0.013f, 0.006f} * time + vec2{3.1f, 1.7f};
    }

    // Land height: warped fbm, sea level at 0.
    static float Elevation(vec2 w) {
        const vec2 warp{Fbm(w * 0.8f + 5.2f, 3), Fbm(w * 0.8f + 1.3f, 3)};
        return Fbm(w + warp * 1.2f, 7) - 0.52f;
    }

    vec3 Shade(vec2 frag) const {
        const vec2 s = ScreenPoint(frag);
        const vec2 w = s * 2.6f + pan;
        const float e = Elevation(w);
        const float px = 0.004f;
        const float ex = Elevation(w + vec2{px, 0.0f}), ey = Elevation(w + vec2{0.0f, px});
        const vec3 n = normalize(vec3{(e - ex) * 40.0f, (e - ey) * 40.0f, px * 4.0f * 40.0f});
        const vec3 sun = normalize(vec3{-0.6f, 0.5f, 0.6f});
        const float moisture = Fbm(w * 1.3f + 9.0f, 4);

        vec3 colour;
        if (e < 0.0f) {
            // Sea: turquoise shallows, deep blue offshore, a pale line of surf at the coast.
            const float depth = saturate(-e * 16.0f);
            colour = mix(vec3{0.1f, 0.55f, 0.55f}, vec3{0.01f, 0.07f, 0.2f}, std::sqrt(depth));
            colour += vec3{0.5f, 0.55f, 0.5f} * smoothstep(0.04f, 0.0f, depth) * 0.5f;
        } else {
            const float h = e * 4.0f;
            const vec3 sand{0.76f, 0.68f, 0.5f}, forest{0.06f, 0.2f, 0.06f},
                meadow{0.3f, 0.42f, 0.15f};
            const vec3 desert{0.72f, 0.55f, 0.34f}, rock{0.38f, 0.33f, 0.28f},
                snow{0.95f, 0.96f, 0.98f};
            vec3 low = mix(desert, mix(meadow, forest, smoothstep(0.5f, 0.62f, moisture)),
                           smoothstep(0.35f, 0.45f, moisture));
            // Fields: small tilted plots of varied crops in the wet lowlands.
            const vec2 plot = Rotate2(0.4f) * w * vec2{16.0f, 24.0f};
            const vec2 cell = floor(plot), within = fract(plot);
            const float edge =
                std::min(std::min(within.x, 1.0f - within.x), std::min(within.y, 1.0f - within.y));
            const float farmland = smoothstep(0.6f, 0.52f, moisture) *
                                   smoothstep(0.36f, 0.42f, moisture) * smoothstep(0.25f, 0.1f, h) *
                                   step(0.05f, edge);
            const vec2 kind = Hash2(cell);
            const vec3 crop = mix(mix(vec3{0.25f, 0.4f, 0.12f}, vec3{0.7f, 0.62f, 0.32f}, kind.x),
                                  vec3{0.45f, 0.35f, 0.22f}, kind.y * kind.y);
            low = mix(low, crop, farmland * 0.8f);
            colour = mix(sand, low, smoothstep(0.0f, 0.03f, h));
            colour = mix(colour, rock, smoothstep(0.35f, 0.6f, h));
            colour = mix(colour, snow, smoothstep(0.75f, 0.85f, h + 0.1f * n.y) * 0.9f);
            // Rivers follow the creases of a folded noise through the lowlands.
            const float crease = std::fabs(Fbm(w * 1.7f + 4.0f, 4) - 0.5f);
            colour = mix(colour, vec3{0.08f, 0.2f, 0.3f},
                         smoothstep(0.012f, 0.004f, crease) * smoothstep(0.5f, 0.1f, h));
            colour *= 0.35f + 0.9f * saturate(dot(n, sun));
        }
        // Clouds and their shadows, offset towards the sun.
        const vec2 drift = vec2{0.04f, 0.015f} * time;
        auto cloud = [&](vec2 q) { return smoothstep(0.56f, 0.8f, Fbm(q * 1.6f + drift, 5)); };
        const float shadow = cloud(w + vec2{0.06f, -0.05f});
        colour *= 1.0f - 0.55f * shadow;
        const float c = cloud(w);
        colour = mix(colour, vec3{0.95f, 0.96f, 0.98f}, c);
        // A thin blue veil of atmosphere.
        colour = mix(colour, vec3{0.45f, 0.6f, 0.85f}, 0.08f);
        return ToneMap(colour, 1.7f);
    }
};

constexpr EquationClass kMembers[] = {
    {"CPixelShaderToy_SatelliteEye", CreatePixelEquation<CShaderToyEquation<SatelliteEye>>},
    {"CPixelShaderToy_Cave", CreatePixelEquation<CShaderToyEquation<Cave>>},
    {"CPixelShaderToy_Ocean", CreatePixelEquation<CShaderToyEquation<Ocean>>},
    {"CPixelShaderToy_Elevated", CreatePixelEquation<CShaderToyEquation<Elevated>>},
    {"CPixelShaderToy_FrozenWasteland", CreatePixelEquation<CShaderToyEquation<Frozenland>>},
};

}  // namespace

std::span<const EquationClass> ShaderTerrainMembers() { return kMembers; }

}  // namespace luneth::shader
