// Crater profiles over cellular noise: one crater per lattice cell, shaped from the distance to
// the cell's feature point.
//
//   yf_crater2d/3d       rim exp(-(12.8 d - 4m)^2) minus a bowl 0.2 exp(-20 d^2), times the
//                        crater's size m = 0.65 + 0.35 h of the nearest cell
//   moon_crater2d/3d     Gaussian-weighted average of sin(2 pi d) over the points near p,
//                        weights exp(-4 d^2)
//   mercury_crater2d/3d  sin(2 pi d) exp(-4 d^2) of the nearest point in a 2x2 (2x2x2) window
//   CraterField2d/3d     (for crateria_plain) the yf_ craters of the whole window overlapping
//
// Windows: both searches centre their window on p, in the frame shifted by half a cell where
// the cell centres are lattice points. mercury_ scans the two cells per axis whose centres are
// nearest to p; moon_ the four nearest, so that a point leaving the window as p moves weighs
// at most exp(-8.6) of the nearest (a 3x3 window drops points of a few hundredths and tears
// the picture along the lattice).
//
// The 3-D members use the 2-D rules one axis up: yf_crater3d takes its z offset from the
// lattice scaled by 1.17, moon_ and mercury_ add 27.45891 z' to the hash's dot product and
// offset the third output's coordinates by 3.
#include <algorithm>
#include <cmath>

#include "functions/CellularNoise.h"
#include "functions/Families.h"

namespace luneth {

namespace cellular {

namespace {

using noise::Fract;
using noise::XorHash;

float Lattice(float v, float scale) { return std::trunc(scale * v); }
float LatticeUp(float v, float scale) { return -std::trunc(-scale * v); }

float YfProfile(float d2, float m) {
    float d = std::sqrt(d2);
    float o = 12.8f * d - 4.0f * m;
    return (std::exp(-o * o) - 0.2f * std::exp(-20.0f * d2)) * m;
}

Float2 YfOffset2(float cx, float cy) {
    return {XorHash::Hash2(Lattice(cx, 1.14f), LatticeUp(cy, 1.14f)),
            XorHash::Hash2(Lattice(cx, 1.11f), LatticeUp(cy, 1.11f))};
}
Float3 YfOffset3(float cx, float cy, float cz) {
    auto h = [&](float k) {
        return XorHash::Hash3(Lattice(cx, k), LatticeUp(cy, k), Lattice(cz, k));
    };
    return {h(1.14f), h(1.11f), h(1.17f)};
}
float YfSize2(float cx, float cy) { return 0.65f + 0.35f * XorHash::Hash2(cx, cy); }
float YfSize3(float cx, float cy, float cz) { return 0.65f + 0.35f * XorHash::Hash3(cx, cy, cz); }

}  // namespace

float YfCrater2d(float x, float y) {
    Nearest n = NearestPoint2(YfOffset2, x, y, -1, 1, 3.0f);
    return YfProfile(n.d2, YfSize2(n.cx, n.cy));
}

float YfCrater3d(float x, float y, float z) {
    Nearest n = NearestPoint3(YfOffset3, x, y, z, -1, 1, 3.0f);
    return YfProfile(n.d2, YfSize3(n.cx, n.cy, n.cz));
}

// Every crater of the window at once. The yf_ profile of the nearest point alone is cut where
// two craters overlap; here rims and bowls combine as 1 - prod(1 - r_i): smooth, equal to the
// single crater where only one reaches, and within the same range.
struct CraterUnion {
    float rimRest = 1.0f, bowlRest = 1.0f;
    void Add(float d2, float m) {
        float t = 12.8f * std::sqrt(d2) - 4.0f * m;
        rimRest *= 1.0f - std::exp(-t * t) * m;
        bowlRest *= 1.0f - std::exp(-20.0f * d2) * m;
    }
    float Height() const { return (1.0f - rimRest) - 0.2f * (1.0f - bowlRest); }
};

float CraterField2d(float x, float y) {
    CraterUnion u;
    ForEachCell2(x, y, -1, 1, [&](float rx, float ry, float cx, float cy) {
        Float2 o = YfOffset2(cx, cy);
        float dx = rx + o.x, dy = ry + o.y;
        u.Add(dx * dx + dy * dy, YfSize2(cx, cy));
    });
    return u.Height();
}

float CraterField3d(float x, float y, float z) {
    CraterUnion u;
    ForEachCell3(x, y, z, -1, 1, [&](float rx, float ry, float rz, float cx, float cy, float cz) {
        Float3 o = YfOffset3(cx, cy, cz);
        float dx = rx + o.x, dy = ry + o.y, dz = rz + o.z;
        u.Add(dx * dx + dy * dy + dz * dz, YfSize3(cx, cy, cz));
    });
    return u.Height();
}

namespace {

float CraterHash(float x, float y, float z) {
    return Fract(std::sin(39.786793f * y + 15.327583f * x + 27.45891f * z + 7.5312f) * 43758.234f);
}
// Feature point of a cell relative to its corner: centre + jitter (h - 0.5).
Float2 CraterPoint2(float cx, float cy, float jitter) {
    return {0.5f + jitter * (CraterHash(cx, cy, 0.0f) - 0.5f),
            0.5f + jitter * (CraterHash(cx + 1.5f, cy + 1.5f, 0.0f) - 0.5f)};
}
Float3 CraterPoint3(float cx, float cy, float cz, float jitter) {
    return {0.5f + jitter * (CraterHash(cx, cy, cz) - 0.5f),
            0.5f + jitter * (CraterHash(cx + 1.5f, cy + 1.5f, cz + 1.5f) - 0.5f),
            0.5f + jitter * (CraterHash(cx + 3.0f, cy + 3.0f, cz + 3.0f) - 0.5f)};
}

constexpr float kTwoPi = 6.2831855f;

// Offsets of the points from the lattice points of the half-cell-shifted frame.
Float2 CraterJitter2(float cx, float cy, float jitter) {
    Float2 o = CraterPoint2(cx, cy, jitter);
    return {o.x - 0.5f, o.y - 0.5f};
}
Float3 CraterJitter3(float cx, float cy, float cz, float jitter) {
    Float3 o = CraterPoint3(cx, cy, cz, jitter);
    return {o.x - 0.5f, o.y - 0.5f, o.z - 0.5f};
}

float MercuryProfile(float best) {
    return std::sin(kTwoPi * std::sqrt(best)) * std::exp(-4.0f * best);
}

}  // namespace

float MoonCrater2d(float x, float y) {
    float sum = 0.0f, wsum = 0.0f;
    ForEachCell2(x - 0.5f, y - 0.5f, -1, 2, [&](float rx, float ry, float cx, float cy) {
        Float2 o = CraterJitter2(cx, cy, 0.8f);
        float dx = rx + o.x, dy = ry + o.y;
        float d = dx * dx + dy * dy;
        float w = std::exp(-4.0f * d);
        sum += w * std::sin(kTwoPi * std::sqrt(d));
        wsum += w;
    });
    return sum / wsum;
}

float MoonCrater3d(float x, float y, float z) {
    float sum = 0.0f, wsum = 0.0f;
    ForEachCell3(x - 0.5f, y - 0.5f, z - 0.5f, -1, 2,
                 [&](float rx, float ry, float rz, float cx, float cy, float cz) {
                     Float3 o = CraterJitter3(cx, cy, cz, 0.8f);
                     float dx = rx + o.x, dy = ry + o.y, dz = rz + o.z;
                     float d = dx * dx + dy * dy + dz * dz;
                     float w = std::exp(-4.0f * d);
                     sum += w * std::sin(kTwoPi * std::sqrt(d));
                     wsum += w;
                 });
    return sum / wsum;
}

float MercuryCrater2d(float x, float y) {
    auto offset = [](float cx, float cy) { return CraterJitter2(cx, cy, 0.6f); };
    return MercuryProfile(NearestPoint2(offset, x - 0.5f, y - 0.5f, 0, 1, 2.0f).d2);
}
float MercuryCrater3d(float x, float y, float z) {
    auto offset = [](float cx, float cy, float cz) { return CraterJitter3(cx, cy, cz, 0.6f); };
    return MercuryProfile(NearestPoint3(offset, x - 0.5f, y - 0.5f, z - 0.5f, 0, 1, 3.0f).d2);
}

namespace {

constexpr BuiltinFunction kCraters[] = {
    {"yf_crater2d", YfCrater2d},           {"moon_crater2d", MoonCrater2d},
    {"mercury_crater2d", MercuryCrater2d}, {"yf_crater3d", YfCrater3d},
    {"moon_crater3d", MoonCrater3d},       {"mercury_crater3d", MercuryCrater3d},
};

}  // namespace

}  // namespace cellular

FunctionTable CraterFunctions() { return cellular::kCraters; }

}  // namespace luneth
