// Vectors and 4x4 matrices in the row-vector convention of the render service.
//
// A point is a row vector multiplied from the left (p' = p * M), so a matrix product A * B
// applies A first; the translation sits in the fourth row (m[3][0..2]). All arithmetic is
// single precision, in the order written, so results are reproducible bit for bit.
//
//   KivVector3            x, y, z with +, -, * scalar, Dot, Cross, Length
//   Vec3Normalize         unit length; a zero vector stays zero (never NaN)
//   Vec3TransformCoord    (x, y, z, 1) * M divided by w (not divided when w is 0)
//   Vec3Project/Unproject world <-> viewport pixels through world, view and projection
//   MatrixIdentity, MatrixMultiply, MatrixInverse (false for a singular matrix),
//   MatrixTranslation, MatrixScaling, MatrixRotationX/Y/Z, MatrixRotationAxis,
//   MatrixLookAtLH/RH, MatrixPerspectiveFovLH/RH, MatrixOrthoLH/RH
//
// Left-handed views look along +z, right-handed ones along -z; perspective and orthographic
// projections map depth to [0, 1]. Where the classic formulas divide by zero (a look-at with the
// eye on the target or an up vector along the view), these helpers keep the result finite.
#pragma once

#include <cmath>
#include <cstdint>

struct KivVector3 {
    float x = 0, y = 0, z = 0;

    KivVector3 operator+(const KivVector3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    KivVector3 operator-(const KivVector3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    KivVector3 operator-() const { return {-x, -y, -z}; }
    KivVector3 operator*(float s) const { return {x * s, y * s, z * s}; }
    KivVector3& operator+=(const KivVector3& o) { return *this = *this + o; }
    KivVector3& operator-=(const KivVector3& o) { return *this = *this - o; }
    bool operator==(const KivVector3&) const = default;
};

struct KivMatrix {
    float m[4][4] = {};
    bool operator==(const KivMatrix&) const = default;
};

// a * b: a first, then b.
inline KivMatrix operator*(const KivMatrix& a, const KivMatrix& b) {
    KivMatrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        a.m[i][3] * b.m[3][j];
    return r;
}

// A viewport in pixels with its depth range.
struct KivViewport {
    uint32_t x = 0, y = 0, width = 0, height = 0;
    float minZ = 0.0f, maxZ = 1.0f;
    bool operator==(const KivViewport&) const = default;
};

namespace kivmath {

inline float Dot(const KivVector3& a, const KivVector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline KivVector3 Cross(const KivVector3& a, const KivVector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Length(const KivVector3& v) { return std::sqrt(Dot(v, v)); }

inline KivVector3 Vec3Normalize(const KivVector3& v) {
    float length = Length(v);
    return length > 0.0f ? v * (1.0f / length) : v;
}

inline KivMatrix MatrixIdentity() {
    KivMatrix r;
    for (int i = 0; i < 4; ++i) r.m[i][i] = 1.0f;
    return r;
}

inline KivMatrix MatrixMultiply(const KivMatrix& a, const KivMatrix& b) { return a * b; }

// The full 4x4 inverse by cofactors; false (out untouched) when the determinant is 0 or the
// inverse would not be finite.
inline bool MatrixInverse(const KivMatrix& in, KivMatrix* out) {
    const float* a = &in.m[0][0];
    float c[16];
    c[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] + a[9] * a[7] * a[14] +
           a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    c[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] -
           a[8] * a[7] * a[14] - a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    c[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] + a[8] * a[7] * a[13] +
           a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    c[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] -
            a[8] * a[6] * a[13] - a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    c[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] -
           a[9] * a[3] * a[14] - a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    c[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] + a[8] * a[3] * a[14] +
           a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    c[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] - a[8] * a[3] * a[13] -
           a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    c[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] + a[8] * a[2] * a[13] +
            a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    c[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] +
           a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    c[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] - a[4] * a[3] * a[14] -
           a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    c[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] + a[4] * a[3] * a[13] +
            a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    c[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] - a[4] * a[2] * a[13] -
            a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    c[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] - a[5] * a[3] * a[10] -
           a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    c[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] +
           a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    c[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] -
            a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    c[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] +
            a[8] * a[1] * a[6] - a[8] * a[2] * a[5];
    float det = a[0] * c[0] + a[1] * c[4] + a[2] * c[8] + a[3] * c[12];
    if (det == 0.0f || !std::isfinite(det)) return false;
    float inv = 1.0f / det;
    if (!std::isfinite(inv)) return false;
    KivMatrix r;
    for (int i = 0; i < 16; ++i) (&r.m[0][0])[i] = c[i] * inv;
    *out = r;
    return true;
}

inline KivMatrix MatrixTranslation(float x, float y, float z) {
    KivMatrix r = MatrixIdentity();
    r.m[3][0] = x, r.m[3][1] = y, r.m[3][2] = z;
    return r;
}
inline KivMatrix MatrixTranslation(const KivVector3& v) { return MatrixTranslation(v.x, v.y, v.z); }

inline KivMatrix MatrixScaling(float x, float y, float z) {
    KivMatrix r;
    r.m[0][0] = x, r.m[1][1] = y, r.m[2][2] = z, r.m[3][3] = 1.0f;
    return r;
}

namespace detail {

// A turn in the plane of axes a and b, from a towards b.
inline KivMatrix PlaneRotation(int a, int b, float angle) {
    float s = std::sin(angle), c = std::cos(angle);
    KivMatrix r = MatrixIdentity();
    r.m[a][a] = c, r.m[a][b] = s, r.m[b][a] = -s, r.m[b][b] = c;
    return r;
}

}  // namespace detail

// Rotations turn clockwise when looking along the axis towards the origin (left-handed).
inline KivMatrix MatrixRotationX(float angle) { return detail::PlaneRotation(1, 2, angle); }
inline KivMatrix MatrixRotationY(float angle) { return detail::PlaneRotation(2, 0, angle); }
inline KivMatrix MatrixRotationZ(float angle) { return detail::PlaneRotation(0, 1, angle); }
// About an axis through the origin; the axis is normalised first (a zero axis: identity).
inline KivMatrix MatrixRotationAxis(const KivVector3& axis, float angle) {
    KivVector3 v = Vec3Normalize(axis);
    if (Dot(v, v) == 0.0f) return MatrixIdentity();
    float s = std::sin(angle), c = std::cos(angle), g = 1.0f - c;
    KivMatrix r = MatrixIdentity();
    r.m[0][0] = g * v.x * v.x + c;
    r.m[0][1] = g * v.x * v.y + s * v.z;
    r.m[0][2] = g * v.x * v.z - s * v.y;
    r.m[1][0] = g * v.x * v.y - s * v.z;
    r.m[1][1] = g * v.y * v.y + c;
    r.m[1][2] = g * v.y * v.z + s * v.x;
    r.m[2][0] = g * v.x * v.z + s * v.y;
    r.m[2][1] = g * v.y * v.z - s * v.x;
    r.m[2][2] = g * v.z * v.z + c;
    return r;
}

namespace detail {

// The view matrix of an eye with its viewing axis zaxis (towards the scene for LH, away for RH).
inline KivMatrix LookAlong(const KivVector3& eye, KivVector3 zaxis, const KivVector3& up) {
    zaxis = Vec3Normalize(zaxis);
    if (Dot(zaxis, zaxis) == 0.0f) zaxis = {0, 0, 1};  // eye on the target: look along +z
    KivVector3 xaxis = Vec3Normalize(Cross(up, zaxis));
    // An up vector along the view (or zero): take the world axis least aligned with the view.
    if (Dot(xaxis, xaxis) == 0.0f) {
        KivVector3 other = std::fabs(zaxis.y) < 0.9f ? KivVector3{0, 1, 0} : KivVector3{0, 0, 1};
        xaxis = Vec3Normalize(Cross(other, zaxis));
    }
    KivVector3 yaxis = Cross(zaxis, xaxis);
    KivMatrix r;
    r.m[0][0] = xaxis.x, r.m[0][1] = yaxis.x, r.m[0][2] = zaxis.x;
    r.m[1][0] = xaxis.y, r.m[1][1] = yaxis.y, r.m[1][2] = zaxis.y;
    r.m[2][0] = xaxis.z, r.m[2][1] = yaxis.z, r.m[2][2] = zaxis.z;
    r.m[3][0] = -Dot(xaxis, eye), r.m[3][1] = -Dot(yaxis, eye), r.m[3][2] = -Dot(zaxis, eye);
    r.m[3][3] = 1.0f;
    return r;
}

}  // namespace detail

inline KivMatrix MatrixLookAtLH(const KivVector3& eye, const KivVector3& at, const KivVector3& up) {
    return detail::LookAlong(eye, at - eye, up);
}
inline KivMatrix MatrixLookAtRH(const KivVector3& eye, const KivVector3& at, const KivVector3& up) {
    return detail::LookAlong(eye, eye - at, up);
}

// Right-handed projections are the left-handed ones with the z scale and the w column negated
// (zf / (zn - zf) is exactly -(zf / (zf - zn))).
inline KivMatrix MatrixPerspectiveFovLH(float fovY, float aspect, float zn, float zf) {
    float yScale = 1.0f / std::tan(fovY / 2.0f), xScale = yScale / aspect;
    KivMatrix r;
    r.m[0][0] = xScale, r.m[1][1] = yScale;
    r.m[2][2] = zf / (zf - zn), r.m[2][3] = 1.0f;
    r.m[3][2] = -zn * zf / (zf - zn);
    return r;
}
inline KivMatrix MatrixPerspectiveFovRH(float fovY, float aspect, float zn, float zf) {
    KivMatrix r = MatrixPerspectiveFovLH(fovY, aspect, zn, zf);
    r.m[2][2] = -r.m[2][2], r.m[2][3] = -1.0f;
    return r;
}

inline KivMatrix MatrixOrthoLH(float w, float h, float zn, float zf) {
    KivMatrix r;
    r.m[0][0] = 2.0f / w, r.m[1][1] = 2.0f / h;
    r.m[2][2] = 1.0f / (zf - zn), r.m[3][2] = zn / (zn - zf), r.m[3][3] = 1.0f;
    return r;
}
inline KivMatrix MatrixOrthoRH(float w, float h, float zn, float zf) {
    KivMatrix r = MatrixOrthoLH(w, h, zn, zf);
    r.m[2][2] = -r.m[2][2];
    return r;
}

inline KivVector3 Vec3TransformCoord(const KivVector3& v, const KivMatrix& m) {
    float x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + m.m[3][0];
    float y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + m.m[3][1];
    float z = v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2] + m.m[3][2];
    float w = v.x * m.m[0][3] + v.y * m.m[1][3] + v.z * m.m[2][3] + m.m[3][3];
    if (w != 0.0f && w != 1.0f) x /= w, y /= w, z /= w;
    return {x, y, z};
}

// World point -> (pixel x, pixel y, depth in [minZ, maxZ]).
inline KivVector3 Vec3Project(const KivVector3& v, const KivViewport& vp,
                              const KivMatrix& projection, const KivMatrix& view,
                              const KivMatrix& world) {
    KivVector3 p = Vec3TransformCoord(v, world * view * projection);
    return {float(vp.x) + (1.0f + p.x) * float(vp.width) / 2.0f,
            float(vp.y) + (1.0f - p.y) * float(vp.height) / 2.0f,
            vp.minZ + p.z * (vp.maxZ - vp.minZ)};
}

// The inverse of Vec3Project; the input unchanged when the matrices are singular or the
// viewport is empty.
inline KivVector3 Vec3Unproject(const KivVector3& v, const KivViewport& vp,
                                const KivMatrix& projection, const KivMatrix& view,
                                const KivMatrix& world) {
    KivMatrix inverse;
    float depth = vp.maxZ - vp.minZ;
    if (vp.width == 0 || vp.height == 0 || !MatrixInverse(world * view * projection, &inverse))
        return v;
    KivVector3 ndc{(v.x - float(vp.x)) * 2.0f / float(vp.width) - 1.0f,
                   1.0f - (v.y - float(vp.y)) * 2.0f / float(vp.height),
                   depth != 0.0f ? (v.z - vp.minZ) / depth : 0.0f};
    return Vec3TransformCoord(ndc, inverse);
}

}  // namespace kivmath
