// Lattice noise cores: value, gradient and simplex noise over the hashes of NoiseHash.h.
//
// Built-in families that sum or warp noise (fbm, turbulence, warps, textures, colour noises)
// call these directly instead of going through the registry:
//
//   ValueNoise2<H>(x, y), ValueNoise3<H>(x, y, z)        in [-1, 1]; H = XorHash, FdfHash, SinHash
//   GradientNoise2<H>, GradientNoise3<H>                 about [-1, 1]; gradients H::Hash22/33 * 2
//   - 1 SimplexNoise2<H>, SimplexNoise3<H>                   about [-1, 1] ValueNoise2Sin,
//   GradientNoise2Sin, SimplexNoise2Sin  value_noise2, gradient_noise2, simplex_noise2
//   ... 3-D likewise (SimplexNoise3Sin: falloff 0.5, scale 96)
//   IqNoise2, IqNoise3                                   iq_noise2/3, in [0, 1)
//   CoherentNoise1/2/3, CoherentGradientNoise3           libnoise's coherent noise (seed 1), [-1,
//   1] PseudoNoise3, CNoise2f                               pseudo_noise3, c_noise2f
//   IQuilezlesNoise2/3(p, grad)                          value noise over XorHash in [0, 1) with
//   the
//                                                        quintic fade; also writes its gradient
//   QuinticCorners2/3(corners, f, grad)                  that blend of any corner values
//   PerlinNoise1D/2D/3D (double)                         the reference Perlin noise (tables built
//   on
//                                                        first use from luneth::Rand)
//
// The generic pieces below take a corner functor, so a new lattice noise is a corner rule plus
// one line: ValueLattice2(corner, x, y) interpolates corner(cx, cy) over the unit cell with a
// fade (cubic unless given), GradientLattice2(grad, x, y) dots grad(cx, cy) with the offset from
// each corner, SimplexLattice2(grad, x, y) sums the three simplex corners. At integer points a
// value lattice returns the corner value exactly (the fade weight is exactly 0). The Term*
// lattices do the same for hashes of the integer term 1619 ix + 31337 iy + 6971 iz (xor_ and
// coherent noise): corner(n) receives the term, found for the low corner once.
#pragma once

#include <cmath>
#include <cstdint>

#include "functions/NoiseHash.h"

namespace luneth::noise {

// ---- generic lattices ----------------------------------------------------------------------

template <class Fade = CubicFade, class Corner>
float ValueLattice2(const Corner& corner, float x, float y) {
    float ix = std::floor(x), iy = std::floor(y);
    float sx = Fade::Apply(x - ix), sy = Fade::Apply(y - iy);
    float a = corner(ix, iy), b = corner(ix + 1.0f, iy);
    float c = corner(ix, iy + 1.0f), d = corner(ix + 1.0f, iy + 1.0f);
    return Lerp(Lerp(a, b, sx), Lerp(c, d, sx), sy);
}

template <class Fade = CubicFade, class Corner>
float ValueLattice3(const Corner& corner, float x, float y, float z) {
    float ix = std::floor(x), iy = std::floor(y), iz = std::floor(z);
    float sx = Fade::Apply(x - ix), sy = Fade::Apply(y - iy), sz = Fade::Apply(z - iz);
    float jx = ix + 1.0f, jy = iy + 1.0f, jz = iz + 1.0f;
    float near = Lerp(Lerp(corner(ix, iy, iz), corner(jx, iy, iz), sx),
                      Lerp(corner(ix, jy, iz), corner(jx, jy, iz), sx), sy);
    float far = Lerp(Lerp(corner(ix, iy, jz), corner(jx, iy, jz), sx),
                     Lerp(corner(ix, jy, jz), corner(jx, jy, jz), sx), sy);
    return Lerp(near, far, sz);
}

template <class Fade = CubicFade, class Grad>
float GradientLattice2(const Grad& grad, float x, float y) {
    float ix = std::floor(x), iy = std::floor(y);
    float fx = x - ix, fy = y - iy;
    auto at = [&](float cx, float cy, float ox, float oy) {
        Float2 g = grad(cx, cy);
        return g.x * ox + g.y * oy;
    };
    float sx = Fade::Apply(fx), sy = Fade::Apply(fy);
    float n0 = Lerp(at(ix, iy, fx, fy), at(ix + 1.0f, iy, fx - 1.0f, fy), sx);
    float n1 =
        Lerp(at(ix, iy + 1.0f, fx, fy - 1.0f), at(ix + 1.0f, iy + 1.0f, fx - 1.0f, fy - 1.0f), sx);
    return Lerp(n0, n1, sy);
}

template <class Fade = CubicFade, class Grad>
float GradientLattice3(const Grad& grad, float x, float y, float z) {
    float ix = std::floor(x), iy = std::floor(y), iz = std::floor(z);
    float fx = x - ix, fy = y - iy, fz = z - iz;
    auto at = [&](float dx, float dy, float dz) {
        Float3 g = grad(ix + dx, iy + dy, iz + dz);
        return g.x * (fx - dx) + g.y * (fy - dy) + g.z * (fz - dz);
    };
    float sx = Fade::Apply(fx), sy = Fade::Apply(fy), sz = Fade::Apply(fz);
    float near = Lerp(Lerp(at(0, 0, 0), at(1, 0, 0), sx), Lerp(at(0, 1, 0), at(1, 1, 0), sx), sy);
    float far = Lerp(Lerp(at(0, 0, 1), at(1, 0, 1), sx), Lerp(at(0, 1, 1), at(1, 1, 1), sx), sy);
    return Lerp(near, far, sz);
}

// Lattices over the integer lattice term n = 1619 ix + 31337 iy (+ 6971 iz) (the xor_ and
// coherent hashes): the low corner's term is computed once and the other corners add the
// constants, all modulo 2^32. Beyond 2^23 every float is an integer and the upper corners
// carry weight 0, so this matches hashing each corner's coordinates.
template <class Fade = CubicFade, class Corner>
float TermValueLattice2(const Corner& corner, float x, float y) {
    float ix = std::floor(x), iy = std::floor(y);
    float sx = Fade::Apply(x - ix), sy = Fade::Apply(y - iy);
    uint32_t n = XorHash::Base(ix, iy);
    constexpr uint32_t kX = XorHash::kX, kY = XorHash::kY;
    return Lerp(Lerp(corner(n), corner(n + kX), sx), Lerp(corner(n + kY), corner(n + kX + kY), sx),
                sy);
}

template <class Fade = CubicFade, class Corner>
float TermValueLattice3(const Corner& corner, float x, float y, float z) {
    float ix = std::floor(x), iy = std::floor(y), iz = std::floor(z);
    float sx = Fade::Apply(x - ix), sy = Fade::Apply(y - iy), sz = Fade::Apply(z - iz);
    constexpr uint32_t kX = XorHash::kX, kY = XorHash::kY, kZ = XorHash::kZ;
    auto plane = [&](uint32_t n) {
        return Lerp(Lerp(corner(n), corner(n + kX), sx),
                    Lerp(corner(n + kY), corner(n + kX + kY), sx), sy);
    };
    uint32_t n = XorHash::Base(ix, iy, iz);
    return Lerp(plane(n), plane(n + kZ), sz);
}

template <class Fade = CubicFade, class Grad>
float TermGradientLattice2(const Grad& grad, float x, float y) {
    float ix = std::floor(x), iy = std::floor(y);
    float fx = x - ix, fy = y - iy;
    uint32_t n = XorHash::Base(ix, iy);
    auto at = [&](uint32_t dx, uint32_t dy) {
        Float2 g = grad(n + dx * XorHash::kX + dy * XorHash::kY);
        return g.x * (fx - static_cast<float>(dx)) + g.y * (fy - static_cast<float>(dy));
    };
    float sx = Fade::Apply(fx), sy = Fade::Apply(fy);
    return Lerp(Lerp(at(0, 0), at(1, 0), sx), Lerp(at(0, 1), at(1, 1), sx), sy);
}

template <class Fade = CubicFade, class Grad>
float TermGradientLattice3(const Grad& grad, float x, float y, float z) {
    float ix = std::floor(x), iy = std::floor(y), iz = std::floor(z);
    float fx = x - ix, fy = y - iy, fz = z - iz;
    uint32_t n = XorHash::Base(ix, iy, iz);
    auto at = [&](uint32_t dx, uint32_t dy, uint32_t dz) {
        Float3 g = grad(n + dx * XorHash::kX + dy * XorHash::kY + dz * XorHash::kZ);
        return g.x * (fx - static_cast<float>(dx)) + g.y * (fy - static_cast<float>(dy)) +
               g.z * (fz - static_cast<float>(dz));
    };
    float sx = Fade::Apply(fx), sy = Fade::Apply(fy), sz = Fade::Apply(fz);
    float near = Lerp(Lerp(at(0, 0, 0), at(1, 0, 0), sx), Lerp(at(0, 1, 0), at(1, 1, 0), sx), sy);
    float far = Lerp(Lerp(at(0, 0, 1), at(1, 0, 1), sx), Lerp(at(0, 1, 1), at(1, 1, 1), sx), sy);
    return Lerp(near, far, sz);
}

// 2-D simplex noise: skewed triangular lattice, radial falloff (0.5 - r^2)^4, scale 70.
template <class Grad>
float SimplexLattice2(const Grad& grad, float x, float y) {
    constexpr float kSkew = 0.36602542f, kUnskew = 0.21132487f;
    float s = (x + y) * kSkew;
    float ix = std::floor(x + s), iy = std::floor(y + s);
    float t = (ix + iy) * kUnskew;
    float x0 = x - ix + t, y0 = y - iy + t;
    float i1 = x0 > y0 ? 1.0f : 0.0f, j1 = 1.0f - i1;
    auto at = [&](float cx, float cy, float ox, float oy) {
        float w = 0.5f - (ox * ox + oy * oy);
        if (!(w > 0.0f)) return 0.0f;
        w *= w;
        Float2 g = grad(cx, cy);
        return w * w * (g.x * ox + g.y * oy);
    };
    float sum = at(ix, iy, x0, y0) + at(ix + i1, iy + j1, x0 - i1 + kUnskew, y0 - j1 + kUnskew) +
                at(ix + 1.0f, iy + 1.0f, x0 - 1.0f + 0.42264974f, y0 - 1.0f + 0.42264974f);
    return 70.0f * sum;
}

// The two middle corners of the 3-D simplex cell: they walk the axes in decreasing order of
// the components of x0, the offset from the cell's first corner.
struct SimplexMiddle3 {
    float i1 = 0, j1 = 0, k1 = 0, i2 = 0, j2 = 0, k2 = 0;
};
inline SimplexMiddle3 SimplexMiddleCorners(float x0, float y0, float z0) {
    SimplexMiddle3 m;
    if (x0 >= y0) {
        if (y0 >= z0)
            m.i1 = m.i2 = m.j2 = 1;
        else if (x0 >= z0)
            m.i1 = m.i2 = m.k2 = 1;
        else
            m.k1 = m.i2 = m.k2 = 1;
    } else {
        if (y0 < z0)
            m.k1 = m.j2 = m.k2 = 1;
        else if (x0 < z0)
            m.j1 = m.j2 = m.k2 = 1;
        else
            m.j1 = m.i2 = m.j2 = 1;
    }
    return m;
}

// 3-D simplex noise: skew 1/3, unskew 1/6, falloff (r0^2 - r^2)^4, result scale * sum.
// (r0^2 and the scale are arguments, not template parameters: clang 14, which builds the
// sanitizer and fuzzing builds, takes no float template parameters.)
template <class Grad>
float SimplexLattice3(const Grad& grad, float x, float y, float z, float falloff, float scale) {
    float s = (x + y + z) * 0.3333333f;
    float ix = std::floor(x + s), iy = std::floor(y + s), iz = std::floor(z + s);
    float t = (ix + iy + iz) * 0.1666667f;
    float x0 = x - ix + t, y0 = y - iy + t, z0 = z - iz + t;
    const auto [i1, j1, k1, i2, j2, k2] = SimplexMiddleCorners(x0, y0, z0);
    auto at = [&](float dx, float dy, float dz, float ox, float oy, float oz) {
        float w = falloff - (ox * ox + oy * oy + oz * oz);
        if (!(w > 0.0f)) return 0.0f;
        w *= w;
        Float3 g = grad(ix + dx, iy + dy, iz + dz);
        return w * w * (g.x * ox + g.y * oy + g.z * oz);
    };
    float sum = at(0, 0, 0, x0, y0, z0) +
                at(i1, j1, k1, x0 - i1 + 0.1666667f, y0 - j1 + 0.1666667f, z0 - k1 + 0.1666667f) +
                at(i2, j2, k2, x0 - i2 + 0.3333334f, y0 - j2 + 0.3333334f, z0 - k2 + 0.3333334f) +
                at(1, 1, 1, x0 - 1.0f + 0.5000001f, y0 - 1.0f + 0.5000001f, z0 - 1.0f + 0.5000001f);
    return scale * sum;
}

// Corner values blended with the quintic fade, and the blend's gradient (iquilezles_noise3 and
// its texture twin). Corners a, b, c, d = (0,0), (1,0), (0,1), (1,1); in 3-D the same four at
// z = 0, then at z = 1.
inline float QuinticSlope(float t) { return 30.0f * t * t * (t * (t - 2.0f) + 1.0f); }

inline float QuinticCorners2(float a, float b, float c, float d, float fx, float fy,
                             Float2* gradient) {
    float ux = QuinticFade::Apply(fx), uy = QuinticFade::Apply(fy);
    float k1 = b - a, k2 = c - a, k3 = a - b - c + d;
    if (gradient)
        *gradient = {QuinticSlope(fx) * (k1 + k3 * uy), QuinticSlope(fy) * (k2 + k3 * ux)};
    return a + k1 * ux + k2 * uy + k3 * ux * uy;
}

inline float QuinticCorners3(const float (&v)[8], float fx, float fy, float fz, Float3* gradient) {
    float ux = QuinticFade::Apply(fx), uy = QuinticFade::Apply(fy), uz = QuinticFade::Apply(fz);
    const float a = v[0], b = v[1], c = v[2], d = v[3], e = v[4], f = v[5], g = v[6], h = v[7];
    float k1 = b - a, k2 = c - a, k3 = e - a, k4 = a - b - c + d, k5 = a - c - e + g;
    float k6 = a - b - e + f, k7 = -a + b + c - d + e - f - g + h;
    if (gradient) {
        *gradient = {QuinticSlope(fx) * (k1 + k4 * uy + k6 * uz + k7 * uy * uz),
                     QuinticSlope(fy) * (k2 + k5 * uz + k4 * ux + k7 * uz * ux),
                     QuinticSlope(fz) * (k3 + k6 * ux + k5 * uy + k7 * ux * uy)};
    }
    return a + k1 * ux + k2 * uy + k3 * uz + k4 * ux * uy + k5 * uy * uz + k6 * uz * ux +
           k7 * ux * uy * uz;
}

// ---- corner rules of the hash families -----------------------------------------------------

template <class H>
struct HashCorner {
    float operator()(float x, float y) const { return H::Hash2(x, y); }
    float operator()(float x, float y, float z) const { return H::Hash3(x, y, z); }
};
// Corner values mapped from [0, 1) to [-1, 1) before interpolation.
template <class H>
struct SignedHashCorner {
    float operator()(float x, float y) const { return H::Hash2(x, y) * 2.0f - 1.0f; }
    float operator()(float x, float y, float z) const { return H::Hash3(x, y, z) * 2.0f - 1.0f; }
};
// Gradients: the multi-output hash mapped by * 2 - 1 (or - 0.5 for 3-D simplex noise).
template <class H>
struct SignedGradient {
    Float2 operator()(float x, float y) const {
        Float2 h = H::Hash22(x, y);
        return {h.x * 2.0f - 1.0f, h.y * 2.0f - 1.0f};
    }
    Float3 operator()(float x, float y, float z) const {
        Float3 h = H::Hash33(x, y, z);
        return {h.x * 2.0f - 1.0f, h.y * 2.0f - 1.0f, h.z * 2.0f - 1.0f};
    }
};
template <class H>
struct CenteredGradient {
    Float3 operator()(float x, float y, float z) const {
        Float3 h = H::Hash33(x, y, z);
        return {h.x - 0.5f, h.y - 0.5f, h.z - 0.5f};
    }
};

// ---- the prefixed noises (xor_, fdf_, sin_) --------------------------------------------------

template <class H>
float ValueNoise2(float x, float y) {
    return ValueLattice2(HashCorner<H>{}, x, y) * 2.0f - 1.0f;
}
template <class H>
float ValueNoise3(float x, float y, float z) {
    return ValueLattice3(HashCorner<H>{}, x, y, z) * 2.0f - 1.0f;
}
template <class H>
float GradientNoise2(float x, float y) {
    return GradientLattice2(SignedGradient<H>{}, x, y);
}
template <class H>
float GradientNoise3(float x, float y, float z) {
    return GradientLattice3(SignedGradient<H>{}, x, y, z);
}
template <class H>
float SimplexNoise2(float x, float y) {
    return SimplexLattice2(SignedGradient<H>{}, x, y);
}
template <class H>
float SimplexNoise3(float x, float y, float z) {
    return SimplexLattice3(CenteredGradient<H>{}, x, y, z, 0.6f, 52.0f);
}

// The xor_ members step between corner terms (see TermValueLattice2).
struct XorTermValue {
    float operator()(uint32_t n) const {
        return XorHash::Unit(XorHash::Scramble(n + XorHash::kSeed1));
    }
};
struct XorTermGradient2 {
    Float2 operator()(uint32_t n) const {
        return {XorHash::Unit(XorHash::Scramble(n + XorHash::kSeed1)) * 2.0f - 1.0f,
                XorHash::Unit(XorHash::Scramble(n + XorHash::kSeed2)) * 2.0f - 1.0f};
    }
};
struct XorTermGradient3 {
    Float3 operator()(uint32_t n) const {
        return {XorHash::Unit(XorHash::Scramble(n + XorHash::kSeed1)) * 2.0f - 1.0f,
                XorHash::Unit(XorHash::Scramble(n + XorHash::kSeed2)) * 2.0f - 1.0f,
                XorHash::Unit(XorHash::Scramble(n + XorHash::kSeed3)) * 2.0f - 1.0f};
    }
};
template <>
inline float ValueNoise2<XorHash>(float x, float y) {
    return TermValueLattice2(XorTermValue{}, x, y) * 2.0f - 1.0f;
}
template <>
inline float ValueNoise3<XorHash>(float x, float y, float z) {
    return TermValueLattice3(XorTermValue{}, x, y, z) * 2.0f - 1.0f;
}
template <>
inline float GradientNoise2<XorHash>(float x, float y) {
    return TermGradientLattice2(XorTermGradient2{}, x, y);
}
template <>
inline float GradientNoise3<XorHash>(float x, float y, float z) {
    return TermGradientLattice3(XorTermGradient3{}, x, y, z);
}

// ---- the unprefixed members (sine hash) ------------------------------------------------------

inline float ValueNoise2Sin(float x, float y) {
    return ValueLattice2(SignedHashCorner<SinHash>{}, x, y);
}
inline float ValueNoise3Sin(float x, float y, float z) {
    return ValueLattice3(SignedHashCorner<SinHash>{}, x, y, z);
}
inline float GradientNoise2Sin(float x, float y) { return GradientNoise2<SinHash>(x, y); }
inline float GradientNoise3Sin(float x, float y, float z) {
    return GradientNoise3<SinHash>(x, y, z);
}
inline float SimplexNoise2Sin(float x, float y) { return SimplexNoise2<SinHash>(x, y); }
inline float SimplexNoise3Sin(float x, float y, float z) {
    return SimplexLattice3(CenteredGradient<SinHash>{}, x, y, z, 0.5f, 96.0f);
}

// ---- named bases defined in the family files -------------------------------------------------

float IqNoise2(float x, float y);
float IqNoise3(float x, float y, float z);
float CoherentNoise1(float x);
float CoherentNoise2(float x, float y);
float CoherentNoise3(float x, float y, float z);
float CoherentGradientNoise3(float x, float y, float z);
float PseudoNoise3(float x, float y, float z);
float CNoise2f(float x, float y);
float IQuilezlesNoise2(float x, float y, Float2* gradient);
float IQuilezlesNoise3(float x, float y, float z, Float3* gradient);
double PerlinNoise1D(double x);
double PerlinNoise2D(double x, double y);
double PerlinNoise3D(double x, double y, double z);

}  // namespace luneth::noise
