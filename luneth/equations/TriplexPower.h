// The eighth power of a point of space taken as a "triplex" number, the map that iterated as
// v <- v^8 + c draws the Mandelbulb.
//
//   TriplexEighth<false>(v)   elevation angles, theta = asin(z / r) (the library's
//                             fractal_mandelbulb): r^8 (cos 8phi cos 8theta, sin 8phi cos 8theta,
//                             sin 8theta)
//   TriplexEighth<true>(v)    polar angles, theta = acos(z / r): r^8 (cos 8phi sin 8theta,
//                             sin 8phi sin 8theta, cos 8theta)
//
// No trigonometry: with rho = sqrt(x^2 + y^2) the azimuth phi is the angle of x + iy and theta
// the angle of a complex number made of rho and z, so both powers are complex powers (three
// squarings each):
//   elevation:  w = rho + iz,  x' + iy' = Re(w^8) (x + iy)^8 / rho^8,  z' = Im(w^8)
//   polar:      w = z + i rho, x' + iy' = Im(w^8) (x + iy)^8 / rho^8,  z' = Re(w^8)
// On the z axis (rho = 0) the azimuth is undefined and taken as 0.
#pragma once

#include <cmath>

#include "functions/VectorMath.h"

namespace luneth {

template <bool kPolar>
Vec3 TriplexEighth(const Vec3& v) {
    const auto eighth = [](Complex a) { return Square(Square(Square(a))); };
    const float rho2 = v.x() * v.x() + v.y() * v.y();
    const float rho = std::sqrt(rho2);
    const Complex w = eighth(kPolar ? Complex{v.z(), rho} : Complex{rho, v.z()});
    const float scale = kPolar ? w.im : w.re;
    const float z = kPolar ? w.re : w.im;
    if (rho2 < 1e-20f) return {scale, 0.0f, z};
    const Complex a = eighth({v.x() / rho, v.y() / rho});  // e^(8 i phi)
    return {scale * a.re, scale * a.im, z};
}

}  // namespace luneth
