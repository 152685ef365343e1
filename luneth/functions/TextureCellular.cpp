// The cellular members of the texture family: the texture's jittered lattice (TexCells in
// TextureFamily.h: one feature point per texel, or per cell of the 67 x 61 x 59 table) in
// place of hashed feature points.
//
//   tex_worley2d/3d          distance to the nearest point of the 3^N window, search from 3
//   tex_fast_worley2d/3d     the 2^N cells at offsets 0 and 1, points (h - 0.5) 0.618, from 2
//   tex_circle_worley2d/3d   2 d / r with the nearest cell's radius r = 0.5 + 0.5 Extra 0
//   tex_border_worley2d/3d   distance to the nearest cell border (second pass over the 5x5
//                            cells around the nearest one; 3x3x3 in 3-D), in [0, 1]
//   tex_voronoise2d/3d       iq's voronoise with the points scaled by 0.8
//   tex_extend_worley2d(x, y, jitter), tex_extend_worley3d(x, y, z, jitter)
//                            Worley distance with points 0.5 + jitter (h - 0.5): 0 a regular
//                            grid, 1 the texture's points, up to 2 points far outside their
//                            cells (searched over 5^N cells beyond 1); jitter clamped to
//                            [0, 2], NaN 0; result in [0, 2.13] (searched from 4.5)
//   tex_sphere_worley2d(x, y, size, shape), tex_sphere_worley3d(x, y, z, size, shape)
//                            a sphere at every point with radius size * half the distance to
//                            its nearest neighbour (size in (0, 1], else 1), so that no two
//                            overlap: the largest (1 - d^2 / r^2)^shape over them (shape 0.5,
//                            a hemisphere, when not above 0); in [0, 1]
//   tex_worley2d_color(x, y, falloff), tex_worley3d_color(x, y, z, falloff)
//                            the nearest cell's colour (Extra 1, 2, 3), times
//                            clamp(1 - falloff d) when falloff is above 0
//   tex_craters2d(x, y, octaves), tex_craters3d(x, y, z, octaves)   (default 4)
//                            a crater at every point: radius r = min(s gap / 2, 0.7) with
//                            size s = 0.35 + 0.65 Extra 0, bowl s (t^2 - 1) inside (t = d / r),
//                            rim s 0.3 (1 - (2.5 (t - 1))^2)^2 for |t - 1| < 0.4; bowls never
//                            overlap and add, rims combine by their maximum, so one octave lies
//                            in [-1, 0.3] and is continuous (a rim ends within 0.99 of its
//                            point, inside the 3^N window). Octaves: amplitude 0.5 halving,
//                            coordinates doubled and rotated as in the fractal sums;
//                            normalised
//   mineral2d_color, mineral3d_color
//                            the nearest cell's material index trunc(12 Extra 1) (indices 9 to
//                            11, or any beyond the registered materials, give black), border
//                            measure m = 0.4 - (F2 - F1), e = smoothstep of (m - 0.1) / 0.2
//                            clamped, channels times (1 - e), truncated; alpha 0xFE
#include "functions/TextureCellular.h"

#include <algorithm>
#include <cmath>

#include "functions/CellularNoise.h"
#include "functions/FractalSums.h"
#include "functions/Materials.h"
#include "functions/TextureFamily.h"

namespace luneth::texture {

namespace {

using fractal::Arg;

constexpr int kMineralSlots = 12;

float SmoothUnit(float t) {
    t = std::min(std::max(t, 0.0f), 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

template <int N>
int KeyOf(const Vec<N>& cell) {
    return TexCells<N>::Key(cell);
}

template <int N>
float Worley(const Vec<N>& p) {
    return std::sqrt(FindNearestTwo(TexPointFn{}, p, -1, 1, 3.0f).d1);
}

template <int N>
float FastWorley(const Vec<N>& p) {
    auto point = [](const Vec<N>& c) {
        return Map(TexPoint(c), [](float h) { return (h - 0.5f) * 0.618f; });
    };
    return std::sqrt(FindNearestTwo(point, p, 0, 1, 2.0f).d1);
}

template <int N>
float CircleWorley(const Vec<N>& p) {
    NearestTwo<N> n = FindNearestTwo(TexPointFn{}, p, -1, 1, 3.0f);
    float radius = 0.5f + 0.5f * TexCells<N>::Extra(KeyOf(n.cell), 0);
    return 2.0f * std::sqrt(n.d1) / radius;
}

// The nearest point first, then the distance to the bisector planes between it and the points
// around it.
template <int N>
float BorderWorley(const Vec<N>& p) {
    const Vec<N> base = Floor(p), f = p - base;
    float best = 8.0f;
    Vec<N> nearest{}, nearestCell{};
    ForEachOffset<N>(-1, 1, [&](const Vec<N>& n) {
        Vec<N> r = n + TexPoint(base + n) - f;
        float d = Dot(r, r);
        if (d < best) best = d, nearest = r, nearestCell = n;
    });
    best = 1.0f;  // above every border distance (at most half the gap, below 0.87)
    constexpr int kReach = N == 2 ? 2 : 1;
    ForEachOffset<N>(-kReach, kReach, [&](const Vec<N>& n) {
        Vec<N> g = nearestCell + n;
        Vec<N> r = g + TexPoint(base + g) - f;
        Vec<N> e = r - nearest;
        float e2 = Dot(e, e);
        if (e2 > 1e-5f) best = std::min(best, Dot((nearest + r) * 0.5f, e) / std::sqrt(e2));
    });
    return best;
}

template <int N>
float ExtendWorley(const Vec<N>& p, float jitter) {
    const float j = jitter > 0.0f ? std::min(jitter, 2.0f) : 0.0f;
    auto point = [j](const Vec<N>& c) {
        return Map(TexPoint(c), [j](float h) { return 0.5f + j * (h - 0.5f); });
    };
    const int reach = j > 1.0f ? 2 : 1;
    return std::sqrt(FindNearestTwo(point, p, -reach, reach, 4.5f).d1);
}

template <int N>
float SphereWorley(const Vec<N>& p, float size, float shape) {
    const float s = size > 0.0f ? std::min(size, 1.0f) : 1.0f;
    const float e = shape > 0.0f ? shape : 0.5f;
    const Vec<N> base = Floor(p), f = p - base;
    float best = 0.0f;
    ForEachOffset<N>(-1, 1, [&](const Vec<N>& n) {
        int key = KeyOf(base + n);
        Vec<N> r = n + TexCells<N>::Point(key) - f;
        float radius = 0.5f * s * TexCells<N>::Gap(key);
        float q = Dot(r, r) / (radius * radius);
        if (q < 1.0f) best = std::max(best, std::pow(1.0f - q, e));
    });
    return best;
}

template <int N>
float WorleyColour(const Vec<N>& p, float falloff) {
    NearestTwo<N> n = FindNearestTwo(TexPointFn{}, p, -1, 1, 3.0f);
    int key = KeyOf(n.cell);
    float shade =
        falloff > 0.0f ? std::min(std::max(1.0f - falloff * std::sqrt(n.d1), 0.0f), 1.0f) : 1.0f;
    return ColourWord(TexCells<N>::Extra(key, 1) * shade, TexCells<N>::Extra(key, 2) * shade,
                      TexCells<N>::Extra(key, 3) * shade);
}

template <int N>
float CraterField(const Vec<N>& p) {
    const Vec<N> base = Floor(p), f = p - base;
    float bowl = 0.0f, rim = 0.0f;
    ForEachOffset<N>(-1, 1, [&](const Vec<N>& n) {
        int key = KeyOf(base + n);
        Vec<N> r = n + TexCells<N>::Point(key) - f;
        float s = 0.35f + 0.65f * TexCells<N>::Extra(key, 0);
        float radius = std::min(0.5f * s * TexCells<N>::Gap(key), 0.7f);
        float t = std::sqrt(Dot(r, r)) / radius;
        if (t < 1.0f) bowl += s * (t * t - 1.0f);
        float u = 2.5f * (t - 1.0f);
        if (u * u < 1.0f) {
            float v = 1.0f - u * u;
            rim = std::max(rim, 0.3f * s * v * v);
        }
    });
    return bowl + rim;
}

void Rotate(Vec2& p, int octave) { fractal::RotateR2::Apply(p[0], p[1], octave); }
void Rotate(Vec3& p, int octave) { fractal::RotateR3::Apply(p[0], p[1], p[2], octave); }

template <int N>
float Craters(Vec<N> p, int octaves) {
    float a = 0.5f, asum = 0.0f, sum = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += a * CraterField(p);
        asum += a;
        a *= 0.5f;
        Rotate(p, i);
    }
    return sum / asum;
}

template <int N>
float Mineral(const Vec<N>& p) {
    NearestTwo<N> n = FindNearestTwo(TexPointFn{}, p, -1, 1, 8.0f);
    int index = static_cast<int>(TexCells<N>::Extra(KeyOf(n.cell), 1) * kMineralSlots);
    const Material* material = Materials().Get(index);
    const uint32_t colour = material ? material->colour : 0u;
    const float m = 0.4f - (std::sqrt(n.d2) - std::sqrt(n.d1));
    const float keep = 1.0f - SmoothUnit((m - 0.1f) / 0.2f);
    auto channel = [&](int shift) {
        float byte = static_cast<float>((colour >> shift) & 0xFFu);
        return static_cast<uint32_t>(byte * keep) << shift;
    };
    return FloatFromBits(kColorWordOpaqueAlpha << 24 | channel(16) | channel(8) | channel(0));
}

}  // namespace

float TexWorley2d(float x, float y) { return Worley(Vec2{x, y}); }
float TexFastWorley2d(float x, float y) { return FastWorley(Vec2{x, y}); }
float TexCircleWorley2d(float x, float y) { return CircleWorley(Vec2{x, y}); }
float TexBorderWorley2d(float x, float y) { return BorderWorley(Vec2{x, y}); }
float TexWorley3d(float x, float y, float z) { return Worley(Vec3{x, y, z}); }
float TexFastWorley3d(float x, float y, float z) { return FastWorley(Vec3{x, y, z}); }
float TexCircleWorley3d(float x, float y, float z) { return CircleWorley(Vec3{x, y, z}); }
float TexBorderWorley3d(float x, float y, float z) { return BorderWorley(Vec3{x, y, z}); }

float TexVoronoise2d(float x, float y) {
    auto offset = [](float cx, float cy) {
        Vec2 q = TexPoint(Vec2{cx, cy});
        return Float2{0.8f * q[0], 0.8f * q[1]};
    };
    return cellular::Voronoise2(offset, x, y);
}
float TexVoronoise3d(float x, float y, float z) {
    auto offset = [](float cx, float cy, float cz) {
        Vec3 q = TexPoint(Vec3{cx, cy, cz});
        return Float3{0.8f * q[0], 0.8f * q[1], 0.8f * q[2]};
    };
    return cellular::Voronoise3(offset, x, y, z);
}

float TexWorley2dColor(const float* a, int n) {
    return WorleyColour(Vec2{Arg(a, n, 0), Arg(a, n, 1)}, Arg(a, n, 2));
}
float TexWorley3dColor(const float* a, int n) {
    return WorleyColour(Vec3{Arg(a, n, 0), Arg(a, n, 1), Arg(a, n, 2)}, Arg(a, n, 3));
}

float TexCraterField(const Vec2& p) { return CraterField(p); }
float TexCraterField(const Vec3& p) { return CraterField(p); }
float TexSpheres(const Vec2& p, float size, float shape) { return SphereWorley(p, size, shape); }
float TexSpheres(const Vec3& p, float size, float shape) { return SphereWorley(p, size, shape); }
float TexCraters2d(const float* a, int n) {
    return Craters(Vec2{Arg(a, n, 0), Arg(a, n, 1)}, fractal::OctaveCount(a, n, 2, 4));
}
float TexCraters3d(const float* a, int n) {
    return Craters(Vec3{Arg(a, n, 0), Arg(a, n, 1), Arg(a, n, 2)},
                   fractal::OctaveCount(a, n, 3, 4));
}

float Mineral2dColor(float x, float y) { return Mineral(Vec2{x, y}); }
float Mineral3dColor(float x, float y, float z) { return Mineral(Vec3{x, y, z}); }

float TexExtendWorley2d(float x, float y, float jitter) { return ExtendWorley(Vec2{x, y}, jitter); }
float TexExtendWorley3d(float x, float y, float z, float jitter) {
    return ExtendWorley(Vec3{x, y, z}, jitter);
}
float TexSphereWorley2d(float x, float y, float size, float shape) {
    return SphereWorley(Vec2{x, y}, size, shape);
}
float TexSphereWorley3d(const float* a, int n) {
    return SphereWorley(Vec3{Arg(a, n, 0), Arg(a, n, 1), Arg(a, n, 2)}, Arg(a, n, 3), Arg(a, n, 4));
}

}  // namespace luneth::texture
