// Named noise variants from common shader practice. Unless stated, value noise on the unit
// lattice with the cubic fade, returning the interpolated corner values unmapped.
//
//   index
//   1. value-noise variants     iq_noise2/3, rf_noise2, ts_noise2/3, hmk_noise2/3, lm_noise2/3,
//                               iquilezles_noise3, cycle_noise2d/3d, hexagon_noise2, weyl_noise2
//   2. gradient-noise variants  jk_noise2, pseudo_noise3, p_noise2f/3f, c_noise2f
//   3. simplex variants         as_noise2/3, ns_noise3
//   4. folded-sine patterns     sg_noise2/3, sine_noise2/3/4, tri_noise3/4, quad_noise3/4
//   (sin_wave_noise3 has its own file for its wave table.)
//
// Design of the corner rules:
//   cycle_noise2d/3d  corners fract(sin((127.1 cx + 311.7 cy [+ 74.7 cz] + 1000) * 0.001)
//                     * 100000) with each corner wrapped into [0, period) (a floored modulo, so
//                     negative coordinates repeat too). The dot product's large, non-integer
//                     weights keep consecutive corners unrelated; the offset keeps the sine away
//                     from its linear part near the origin, where fract(100000 sin t) would
//                     degenerate into stripes. Range [0, 1); period 1 in x, y (z) for a whole
//                     period, since the coordinates are multiplied by it.
//   hexagon_noise2    value noise on the triangular lattice whose vertices are the centres of
//                     a hexagonal tiling (edge 1). The triangle comes from ceil of the three
//                     hexagonal axes; its corners' sin_ hashes are blended with normalised
//                     radial weights (3/4 - r^2)^3, which vanish with zero slope on the edge
//                     facing each corner, so the noise is smooth across edges. Range [0, 1).
//   p_noise3f         corner gradient a = fract(753.5453 sin cx), b = fract(753.5453
//                     sin(a^3 + cy)), c = fract(753.5453 sin(b^3 + cz)),
//                     g = (fract(a + c) 2 - 1, fract(b + c) 2 - 1, 2c - 1) normalised, (0, 0, 1)
//                     when shorter than 2^-23; quintic fade, as p_noise2f one axis up.
#include <cmath>

#include "functions/Families.h"
#include "functions/LatticeNoise.h"

namespace luneth {

namespace noise {

namespace {

constexpr float kPi = 3.1415927f;  // acos(-1) as a float
constexpr float kTwoPi = 6.2831855f;

// 0.5 - 0.5 cos(pi t)
struct CosineFade {
    static float Apply(float t) { return 0.5f - 0.5f * std::cos(kPi * t); }
};

float SinFract(float t, float scale) { return Fract(std::sin(t) * scale); }

}  // namespace

// ---- 1. value-noise variants -----------------------------------------------------------------

float IqNoise2(float x, float y) {
    return ValueLattice2([](float cx, float cy) { return SinFract(cx + 57.0f * cy, 43758.547f); },
                         x, y);
}

float IqNoise3(float x, float y, float z) {
    return ValueLattice3(
        [](float cx, float cy, float cz) {
            return SinFract(cx + 57.0f * cy + 113.0f * cz, 43758.547f);
        },
        x, y, z);
}

float IQuilezlesNoise2(float x, float y, Float2* gradient) {
    float ix = std::floor(x), iy = std::floor(y);
    return QuinticCorners2(XorHash::Hash2(ix, iy), XorHash::Hash2(ix + 1.0f, iy),
                           XorHash::Hash2(ix, iy + 1.0f), XorHash::Hash2(ix + 1.0f, iy + 1.0f),
                           x - ix, y - iy, gradient);
}

float IQuilezlesNoise3(float x, float y, float z, Float3* gradient) {
    float ix = std::floor(x), iy = std::floor(y), iz = std::floor(z);
    float jx = ix + 1.0f, jy = iy + 1.0f, jz = iz + 1.0f;
    const float v[8] = {XorHash::Hash3(ix, iy, iz), XorHash::Hash3(jx, iy, iz),
                        XorHash::Hash3(ix, jy, iz), XorHash::Hash3(jx, jy, iz),
                        XorHash::Hash3(ix, iy, jz), XorHash::Hash3(jx, iy, jz),
                        XorHash::Hash3(ix, jy, jz), XorHash::Hash3(jx, jy, jz)};
    return QuinticCorners3(v, x - ix, y - iy, z - iz, gradient);
}

namespace {

float RfNoise2(float x, float y) {
    return ValueLattice2(
        [](float cx, float cy) { return SinFract(12.9898f * cx + 78.233f * cy, 43758.547f); }, x,
        y);
}

float TsNoise2(float x, float y) {
    return ValueLattice2(
        [](float cx, float cy) { return SinFract((cx + 1000.0f * cy) * 0.001f, 100000.0f); }, x, y);
}

float TsNoise3(float x, float y, float z) {
    return ValueLattice3(
        [](float cx, float cy, float cz) {
            return SinFract((cx + 100.0f * cy + 10000.0f * cz) * 0.001f, 100000.0f);
        },
        x, y, z);
}

// The upper corners are ceil(x), ceil(y): at an integer coordinate both corners of that axis
// coincide.
float HmkCorner(float cx, float cy, float cz) {
    return Fract(std::sin(5.3357f * cx - 5.8464f * cy + 5.7645f * cz) * 256.75f + 0.325f);
}

float HmkNoise2(float x, float y) {
    float x0 = std::floor(x), y0 = std::floor(y), x1 = std::ceil(x), y1 = std::ceil(y);
    float sx = CubicFade::Apply(x - x0), sy = CubicFade::Apply(y - y0);
    auto at = [](float cx, float cy) {
        return Fract(std::sin(5.3357f * cx - 5.8464f * cy) * 256.75f + 0.325f);
    };
    return Lerp(Lerp(at(x0, y0), at(x1, y0), sx), Lerp(at(x0, y1), at(x1, y1), sx), sy);
}

float HmkNoise3(float x, float y, float z) {
    float x0 = std::floor(x), y0 = std::floor(y), z0 = std::floor(z);
    float x1 = std::ceil(x), y1 = std::ceil(y), z1 = std::ceil(z);
    float sx = CubicFade::Apply(x - x0), sy = CubicFade::Apply(y - y0);
    float sz = CubicFade::Apply(z - z0);
    auto plane = [&](float cz) {
        return Lerp(Lerp(HmkCorner(x0, y0, cz), HmkCorner(x1, y0, cz), sx),
                    Lerp(HmkCorner(x0, y1, cz), HmkCorner(x1, y1, cz), sx), sy);
    };
    return Lerp(plane(z0), plane(z1), sz);
}

float LmCorner(float n) { return std::sin(std::cos(n) * n); }

float LmNoise2(float x, float y) {
    return ValueLattice2<CosineFade>([](float cx, float cy) { return LmCorner(cx + 57.0f * cy); },
                                     x, y);
}

float LmNoise3(float x, float y, float z) {
    return ValueLattice3<CosineFade>(
        [](float cx, float cy, float cz) { return LmCorner(cx + 57.0f * cy + 21.0f * cz); }, x, y,
        z);
}

float IQuilezlesNoise3Value(float x, float y, float z) {
    return IQuilezlesNoise3(x, y, z, nullptr);
}

// Floored modulo for the cycle noises; a period that is not positive leaves corners as they are.
float WrapCorner(float c, float period) {
    return period > 0.0f ? c - period * std::floor(c / period) : c;
}

float CycleCorner(float dot) { return SinFract((dot + 1000.0f) * 0.001f, 100000.0f); }

float CycleNoise2d(float x, float y, float period) {
    return ValueLattice2(
        [period](float cx, float cy) {
            return CycleCorner(127.1f * WrapCorner(cx, period) + 311.7f * WrapCorner(cy, period));
        },
        x * period, y * period);
}

float CycleNoise3d(float x, float y, float z, float period) {
    return ValueLattice3(
        [period](float cx, float cy, float cz) {
            return CycleCorner(127.1f * WrapCorner(cx, period) + 311.7f * WrapCorner(cy, period) +
                               74.7f * WrapCorner(cz, period));
        },
        x * period, y * period, z * period);
}

float HexagonNoise2(float x, float y) {
    const float xs = x * 1.1547005f;  // 2 / sqrt 3: columns of the lattice one unit apart
    const float u1 = xs, u2 = xs * 0.5f + y, u3 = y - xs * 0.5f;
    const float c1 = std::ceil(u1), c2 = std::ceil(u2), c3 = std::ceil(u3);
    // Lattice coordinates (a, b) of the cell's low vertex; vertex (a, b) sits at
    // (a sqrt(3)/2, b - a/2). The third axis tells the cell's two triangles apart.
    const float a = c1 - 1.0f, b = c2 - 1.0f;
    const bool upper = c3 > c2 - c1;
    const float da[3] = {0.0f, upper ? 0.0f : 1.0f, 1.0f};
    const float db[3] = {0.0f, upper ? 1.0f : 0.0f, 1.0f};
    // Radial weights (h^2 - r^2)^3 with h the triangle height: zero, with zero slope, on the
    // edge facing the vertex, so the blend is smooth across edges and round around vertices.
    float sum = 0.0f, total = 0.0f, v0 = 0.0f;
    for (int k = 0; k < 3; ++k) {
        float va = a + da[k], vb = b + db[k];
        float dx = x - va * 0.8660254f, dy = y - (vb - 0.5f * va);
        float w = std::max(0.75f - (dx * dx + dy * dy), 0.0f);
        w = w * w * w;
        float v = SinHash::Hash2(va, vb);
        if (k == 0) v0 = v;
        sum += w * v;
        total += w;
    }
    if (!(total > 0.0f)) return v0;
    return std::min(sum / total, kBelowOne);
}

float WeylNoise2(float x, float y) {
    float b = WeylProduct(x, y);
    return (Fract(0.618034f * std::floor(b)) + Fract(b)) * 0.5f;
}

// ---- 2. gradient-noise variants ------------------------------------------------------------

float JkNoise2(float x, float y) {
    return GradientLattice2(
        [](float cx, float cy) {
            float k = std::floor(std::sin(cy * 128353.99f) * 4758.5415f) + cx;
            float a = std::floor(std::sin(k * 128353.99f) * 4758.5415f);
            return Float2{std::sin(a), std::cos(a)};
        },
        x, y);
}

Float2 Normalised(float gx, float gy) {
    float len = std::sqrt(gx * gx + gy * gy);
    if (!(len > kEpsilon)) return {0.0f, 1.0f};
    return {gx / len, gy / len};
}

Float3 Normalised(float gx, float gy, float gz) {
    float len = std::sqrt(gx * gx + gy * gy + gz * gz);
    if (!(len > kEpsilon)) return {0.0f, 0.0f, 1.0f};
    return {gx / len, gy / len, gz / len};
}

float PFract(float t) { return Fract(753.5453f * std::sin(t)); }

float PNoise2f(float x, float y) {
    return GradientLattice2<QuinticFade>(
        [](float cx, float cy) {
            float a = PFract(cx);
            float c = PFract(a * a * a + cy);
            return Normalised(Fract(a + c) * 2.0f - 1.0f, 2.0f * c - 1.0f);
        },
        x, y);
}

float PNoise3f(float x, float y, float z) {
    return GradientLattice3<QuinticFade>(
        [](float cx, float cy, float cz) {
            float a = PFract(cx);
            float b = PFract(a * a * a + cy);
            float c = PFract(b * b * b + cz);
            return Normalised(Fract(a + c) * 2.0f - 1.0f, Fract(b + c) * 2.0f - 1.0f,
                              2.0f * c - 1.0f);
        },
        x, y, z);
}

// mod 289 and the permutation polynomial of the permutation-polynomial noises.
float Mod289(float v) { return v - std::floor(v * 0.0034602077f) * 289.0f; }
float Permute(float v) { return Mod289((v * 34.0f + 1.0f) * v); }
float TaylorInvSqrt(float r) { return 1.7928429f - 0.85373473f * r; }

}  // namespace

float PseudoNoise3(float x, float y, float z) {
    return GradientLattice2(
               [z](float cx, float cy) {
                   float h = SinFract(12.9898f * cx + 78.233f * cy, 43758.547f);
                   float angle = h * kTwoPi + 4.0f * z * h;
                   return Float2{std::cos(angle), std::sin(angle)};
               },
               x, y) /
           0.7f;
}

float CNoise2f(float x, float y) {
    float ix = std::floor(x), iy = std::floor(y);
    float fx = x - ix, fy = y - iy;
    float ix0 = Mod289(ix), iy0 = Mod289(iy), ix1 = Mod289(ix + 1.0f), iy1 = Mod289(iy + 1.0f);
    auto at = [](float cx, float cy, float ox, float oy) {
        float i = Permute(Permute(cx) + cy);
        float gx = Fract(i * 0.024390243f) * 2.0f - 1.0f;
        float gy = std::fabs(gx) - 0.5f;
        gx -= std::floor(gx + 0.5f);
        float norm = TaylorInvSqrt(gx * gx + gy * gy);
        return norm * (gx * ox + gy * oy);
    };
    float n00 = at(ix0, iy0, fx, fy), n10 = at(ix1, iy0, fx - 1.0f, fy);
    float n01 = at(ix0, iy1, fx, fy - 1.0f), n11 = at(ix1, iy1, fx - 1.0f, fy - 1.0f);
    float sx = QuinticFade::Apply(fx), sy = QuinticFade::Apply(fy);
    return 2.3f * Lerp(Lerp(n00, n10, sx), Lerp(n01, n11, sx), sy);
}

namespace {

// ---- 3. simplex variants ---------------------------------------------------------------------

float AsNoise2(float x, float y) {
    constexpr float kCx = 0.21132487f, kCy = 0.36602542f, kCz = -0.57735026f, kCw = 0.024390243f;
    float ix = std::floor(x + (x + y) * kCy), iy = std::floor(y + (x + y) * kCy);
    float x0 = x - ix + (ix + iy) * kCx, y0 = y - iy + (ix + iy) * kCx;
    float i1 = x0 > y0 ? 1.0f : 0.0f, j1 = 1.0f - i1;
    float ox[3] = {x0, x0 + kCx - i1, x0 + kCz};
    float oy[3] = {y0, y0 + kCx - j1, y0 + kCz};
    ix = Mod289(ix);
    iy = Mod289(iy);
    const float di[3] = {0.0f, i1, 1.0f}, dj[3] = {0.0f, j1, 1.0f};
    float sum = 0.0f;
    for (int k = 0; k < 3; ++k) {
        float m = 0.5f - (ox[k] * ox[k] + oy[k] * oy[k]);
        if (!(m > 0.0f)) continue;
        m *= m;
        m *= m;
        float p = Permute(Permute(iy + dj[k]) + ix + di[k]);
        float gx = 2.0f * Fract(p * kCw) - 1.0f;
        float h = std::fabs(gx) - 0.5f;
        float a0 = gx - std::floor(gx + 0.5f);
        m *= TaylorInvSqrt(a0 * a0 + h * h);
        sum += m * (a0 * ox[k] + h * oy[k]);
    }
    return 130.0f * sum;
}

float AsNoise3(float x, float y, float z) {
    constexpr float kC1 = 1.0f / 6.0f, kC2 = 1.0f / 3.0f;
    float s = (x + y + z) * kC2;
    float ix = std::floor(x + s), iy = std::floor(y + s), iz = std::floor(z + s);
    float t = (ix + iy + iz) * kC1;
    float x0 = x - ix + t, y0 = y - iy + t, z0 = z - iz + t;
    // step(x0.yzx, x0.xyz) and its complement pick the two middle corners.
    float gx = x0 >= y0 ? 1.0f : 0.0f, gy = y0 >= z0 ? 1.0f : 0.0f, gz = z0 >= x0 ? 1.0f : 0.0f;
    float lx = 1.0f - gx, ly = 1.0f - gy, lz = 1.0f - gz;
    const float i1[3] = {std::min(gx, lz), std::min(gy, lx), std::min(gz, ly)};
    const float i2[3] = {std::max(gx, lz), std::max(gy, lx), std::max(gz, ly)};
    const float cornerX[4] = {0.0f, i1[0], i2[0], 1.0f};
    const float cornerY[4] = {0.0f, i1[1], i2[1], 1.0f};
    const float cornerZ[4] = {0.0f, i1[2], i2[2], 1.0f};
    const float shift[4] = {0.0f, kC1, kC2, 0.5f};
    ix = Mod289(ix);
    iy = Mod289(iy);
    iz = Mod289(iz);
    constexpr float kN = 0.14285715f;  // 1/7
    constexpr float kNsx = 2.0f * kN, kNsy = 0.5f * kN - 1.0f;
    float sum = 0.0f;
    for (int k = 0; k < 4; ++k) {
        float ox = x0 - cornerX[k] + shift[k], oy = y0 - cornerY[k] + shift[k];
        float oz = z0 - cornerZ[k] + shift[k];
        if (k == 3) ox = x0 - 0.5f, oy = y0 - 0.5f, oz = z0 - 0.5f;
        float m = 0.6f - (ox * ox + oy * oy + oz * oz);
        if (!(m > 0.0f)) continue;
        float p = Permute(Permute(Permute(iz + cornerZ[k]) + iy + cornerY[k]) + ix + cornerX[k]);
        // A gradient on the octahedron from p: a 7 x 7 grid folded at |x| + |y| = 1.
        float j = p - 49.0f * std::floor(p * kN * kN);
        float xg = std::floor(j * kN);
        float yg = std::floor(j - 7.0f * xg);
        float gxk = xg * kNsx + kNsy, gyk = yg * kNsx + kNsy;
        float h = 1.0f - std::fabs(gxk) - std::fabs(gyk);
        if (h <= 0.0f) {
            gxk -= std::floor(gxk) * 2.0f + 1.0f;
            gyk -= std::floor(gyk) * 2.0f + 1.0f;
        }
        float norm = TaylorInvSqrt(gxk * gxk + gyk * gyk + h * h);
        m *= m;
        sum += m * m * norm * (gxk * ox + gyk * oy + h * oz);
    }
    return 42.0f * sum;
}

// The gradient hash of the classic shader 3-D simplex noise: three fractions of one sine.
Float3 NsGradient(float cx, float cy, float cz) {
    float j = 4096.0f * std::sin(cx * 17.0f + cy * 59.4f + cz * 15.0f);
    float rz = Fract(512.0f * j);
    j *= 0.125f;
    float rx = Fract(512.0f * j);
    j *= 0.125f;
    float ry = Fract(512.0f * j);
    return {rx - 0.5f, ry - 0.5f, rz - 0.5f};
}

float NsNoise3(float x, float y, float z) {
    return SimplexLattice3(NsGradient, x, y, z, 0.6f, 52.0f);
}

// ---- 4. folded-sine patterns -----------------------------------------------------------------

float SgNoise2(float x, float y) {
    float sum = 0.0f, c = 1.0f;
    for (int round = 0; round < 3; ++round) {
        float d = (0.6f * x + 0.8f * y) * c + 0.6f;
        x = (0.8f * x - 0.6f * y) * c + 0.6f;
        sum += std::sin(std::sin(2.0f * d) + x);
        y = d;
        c *= 1.2f;
    }
    return sum / 3.0f;
}

float SgNoise3(float x, float y, float z) {
    float sum = 0.0f, c = 1.0f;
    for (int round = 0; round < 3; ++round) {
        float a = (-0.6f * x - 0.48f * y + 0.64f * z) * c + 0.6f;
        float g = (-0.8f * x + 0.36f * y - 0.48f * z) * c + 0.6f;
        float e = (0.8f * y + 0.6f * z) * c + 0.6f;
        sum += std::sin(std::sin(std::sin(4.0f * e) + 2.0f * g) + a);
        x = a, y = g, z = e;
        c *= 1.2f;
    }
    return sum / 3.0f;
}

// sin((sin((cos(b/2) 0.2 + 1) b/2) 0.2 + 1) a + phase + offset)
float SineTerm(float a, float b, float phase, float offset) {
    float warp = std::sin((std::cos(b * 0.5f) * 0.2f + 1.0f) * b * 0.5f) * 0.2f + 1.0f;
    return std::sin(warp * a + phase + offset);
}

float SineNoise2(float x, float y) {
    return (SineTerm(x, y, 0.87123f, 82.52f) + SineTerm(y, x, 0.78725f, 12.76f)) / 2.0f;
}

float SineNoise4(float x, float y, float z, float k) {
    return (SineTerm(x, y, 0.87123f * k, 82.52f) + SineTerm(y, z, 0.78725f * k, 12.76f) +
            SineTerm(z, x, 0.68201f * k, 42.03f)) /
           3.0f;
}

float SineNoise3(float x, float y, float z) { return SineNoise4(x, y, z, 1.0f); }

float Tri(float t) { return std::fabs(Fract(t) - 0.5f); }

float TriNoise4(float x, float y, float z, float k) {
    float ax = x, ay = y, az = z, d = 1.4f, sum = 0.0f;
    for (int round = 0; round < 3; ++round) {
        float u = Tri(x);
        ay = (Tri(u + z) + k + ay) * 1.3f;
        ax = (Tri(Tri(y) + z) + k + ax) * 1.3f;
        float w = Tri(ay) + ax;
        az = (Tri(u + y) + k + az) * 1.3f;
        w = Tri(w) + az;
        d *= 1.5f;
        x = 2.0f * x + 0.14f;
        y = 2.0f * y + 0.14f;
        z = 2.0f * z + 0.14f;
        sum += Tri(w) / d;
    }
    return sum;
}

float TriNoise3(float x, float y, float z) { return TriNoise4(x, y, z, 0.0f); }

float QuadNoise4(float x, float y, float z, float k) {
    float ax = x, ay = y, az = z, ak = k, d = 1.4f, sum = 0.0f;
    for (int round = 0; round < 3; ++round) {
        z = 2.0f * z;
        ax = (Tri(k + y) + ax) * 1.3f;
        ay = (Tri(z) + ay) * 1.3f;
        float v = Tri(ax) + ay;
        ak = (Tri(y + x) + ak) * 1.3f;
        v = Tri(v) + ak;
        az = (Tri(k + x) + az) * 1.3f;
        v = Tri(v) + az;
        d *= 1.5f;
        k = 2.0f * k + 0.14f;
        z += 0.14f;
        float nx = 2.0f * y + 0.14f, ny = 2.0f * x + 0.14f;
        x = nx, y = ny;
        sum += Tri(v) / d;
    }
    return sum;
}

float QuadNoise3(float x, float y, float z) { return QuadNoise4(x, y, z, 1.0f); }

constexpr BuiltinFunction kNamedNoise[] = {
    // kind 6
    {"iq_noise2", IqNoise2},
    {"sine_noise2", SineNoise2},
    {"rf_noise2", RfNoise2},
    {"ts_noise2", TsNoise2},
    {"sg_noise2", SgNoise2},
    {"lm_noise2", LmNoise2},
    {"jk_noise2", JkNoise2},
    {"as_noise2", AsNoise2},
    {"hmk_noise2", HmkNoise2},
    {"weyl_noise2", WeylNoise2},
    {"hexagon_noise2", HexagonNoise2},
    {"c_noise2f", CNoise2f},
    {"p_noise2f", PNoise2f},
    // kind 7
    {"cycle_noise2d", CycleNoise2d},
    {"iq_noise3", IqNoise3},
    {"ts_noise3", TsNoise3},
    {"hmk_noise3", HmkNoise3},
    {"lm_noise3", LmNoise3},
    {"as_noise3", AsNoise3},
    {"ns_noise3", NsNoise3},
    {"sg_noise3", SgNoise3},
    {"tri_noise3", TriNoise3},
    {"quad_noise3", QuadNoise3},
    {"sine_noise3", SineNoise3},
    {"pseudo_noise3", PseudoNoise3},
    {"p_noise3f", PNoise3f},
    {"iquilezles_noise3", IQuilezlesNoise3Value},
    // kind 8
    {"tri_noise4", TriNoise4},
    {"quad_noise4", QuadNoise4},
    {"sine_noise4", SineNoise4},
    {"cycle_noise3d", CycleNoise3d},
};

}  // namespace

}  // namespace noise

FunctionTable NamedNoiseFunctions() { return noise::kNamedNoise; }

}  // namespace luneth
