// Reference Perlin noise built-ins.
//
//   perlin_noise_1d(x), perlin_noise_2d(x, y), perlin_noise_3d(x, y, z)
//       the classic reference noise (B = 256, offset N = 4096) in double precision: random
//       gradient tables built once from a random stream of their own (component ((rand % 512) - 256)
//       / 256, vectors normalised, permutation shuffled from the top down with rand % 256),
//       each table extended by B + 2 entries copied from its start. Range about [-1, 1].
//   perlin_noise2(x, y), perlin_noise3(x, y, z)
//       the improved noise with the published permutation, quintic fade and the 16 gradient
//       directions; perlin_noise2 is the 3-D noise at z = 0. Single precision.
//
// The classic noise finds its cell by truncating x + 4096; we floor instead, which is the same
// for x >= -4096 and keeps the noise continuous below that. The tables come from a stream of
// their own in the generator's start state, so they never take numbers from a script's stream.
#include <cmath>
#include <cstdint>

#include "common/Random.h"
#include "functions/Families.h"
#include "functions/LatticeNoise.h"

namespace luneth {

namespace noise {

namespace {

// ---- classic reference noise ---------------------------------------------------------------

constexpr int kB = 256;
constexpr int kMask = kB - 1;
constexpr int kTableSize = kB + kB + 2;
constexpr double kOffset = 4096.0;

struct ClassicTables {
    int p[kTableSize];
    double g1[kTableSize];
    double g2[kTableSize][2];
    double g3[kTableSize][3];
};

double RandomComponent(RandomStream& random) {
    return static_cast<double>((random.Next() % (kB + kB)) - kB) / kB;
}

// Scales v to unit length; a zero vector (all components drew 0) becomes the first axis.
template <int N>
void Normalise(double (&v)[N]) {
    double s = 0.0;
    for (double c : v) s += c * c;
    if (s == 0.0) {
        v[0] = 1.0;
        return;
    }
    s = std::sqrt(s);
    for (double& c : v) c /= s;
}

// Any valid random sequence makes a valid table; a stream of its own (in the generator's start
// state) keeps the tables from consuming, or depending on, the random numbers of a script.
ClassicTables BuildClassicTables() {
    RandomStream random;
    ClassicTables t;
    for (int i = 0; i < kB; ++i) {
        t.p[i] = i;
        t.g1[i] = RandomComponent(random);
        for (double& c : t.g2[i]) c = RandomComponent(random);
        Normalise(t.g2[i]);
        for (double& c : t.g3[i]) c = RandomComponent(random);
        Normalise(t.g3[i]);
    }
    for (int i = kB - 1; i > 0; --i) {
        int j = random.Next() % kB;
        std::swap(t.p[i], t.p[j]);
    }
    for (int i = 0; i < kB + 2; ++i) {
        t.p[kB + i] = t.p[i];
        t.g1[kB + i] = t.g1[i];
        for (int j = 0; j < 2; ++j) t.g2[kB + i][j] = t.g2[i][j];
        for (int j = 0; j < 3; ++j) t.g3[kB + i][j] = t.g3[i][j];
    }
    return t;
}

const ClassicTables& Classic() {
    static const ClassicTables tables = BuildClassicTables();
    return tables;
}

// One axis of the classic setup: lattice bytes b0, b1 and offsets r0, r1.
struct Axis {
    int b0, b1;
    double r0, r1;
};
Axis Setup(double x) {
    double t = x + kOffset;
    double cell = std::floor(t);
    int b0 = std::isfinite(cell) ? static_cast<int>(std::fmod(cell, kB)) & kMask : 0;
    double r0 = t - cell;
    return {b0, (b0 + 1) & kMask, r0, r0 - 1.0};
}

double SCurve(double t) { return t * t * (3.0 - 2.0 * t); }
double LerpD(double t, double a, double b) { return a + t * (b - a); }

// ---- improved noise ------------------------------------------------------------------------

constexpr uint8_t kPermutation[256] = {
    151, 160, 137, 91,  90,  15,  131, 13,  201, 95,  96,  53,  194, 233, 7,   225, 140, 36,
    103, 30,  69,  142, 8,   99,  37,  240, 21,  10,  23,  190, 6,   148, 247, 120, 234, 75,
    0,   26,  197, 62,  94,  252, 219, 203, 117, 35,  11,  32,  57,  177, 33,  88,  237, 149,
    56,  87,  174, 20,  125, 136, 171, 168, 68,  175, 74,  165, 71,  134, 139, 48,  27,  166,
    77,  146, 158, 231, 83,  111, 229, 122, 60,  211, 133, 230, 220, 105, 92,  41,  55,  46,
    245, 40,  244, 102, 143, 54,  65,  25,  63,  161, 1,   216, 80,  73,  209, 76,  132, 187,
    208, 89,  18,  169, 200, 196, 135, 130, 116, 188, 159, 86,  164, 100, 109, 198, 173, 186,
    3,   64,  52,  217, 226, 250, 124, 123, 5,   202, 38,  147, 118, 126, 255, 82,  85,  212,
    207, 206, 59,  227, 47,  16,  58,  17,  182, 189, 28,  42,  223, 183, 170, 213, 119, 248,
    152, 2,   44,  154, 163, 70,  221, 153, 101, 155, 167, 43,  172, 9,   129, 22,  39,  253,
    19,  98,  108, 110, 79,  113, 224, 232, 178, 185, 112, 104, 218, 246, 97,  228, 251, 34,
    242, 193, 238, 210, 144, 12,  191, 179, 162, 241, 81,  51,  145, 235, 249, 14,  239, 107,
    49,  192, 214, 31,  181, 199, 106, 157, 184, 84,  204, 176, 115, 121, 50,  45,  127, 4,
    150, 254, 138, 236, 205, 93,  222, 114, 67,  29,  24,  72,  243, 141, 128, 195, 78,  66,
    215, 61,  156, 180,
};

// Stored doubled so that p[p[x] + y] never needs a wrap.
struct DoubledPermutation {
    uint8_t p[512];
    constexpr DoubledPermutation() : p() {
        for (int i = 0; i < 512; ++i) p[i] = kPermutation[i & 255];
    }
};
constexpr DoubledPermutation kP;

float ImprovedGrad(int hash, float x, float y, float z) {
    int h = hash & 15;
    float u = h < 8 ? x : y;
    float v = h < 4 ? y : (h == 12 || h == 14 ? x : z);
    return ((h & 1) ? -u : u) + ((h & 2) ? -v : v);
}

int LatticeByte(float cell) { return static_cast<int>(XorHash::Lattice(cell) & 255u); }

float ImprovedNoise(float x, float y, float z) {
    float cx = std::floor(x), cy = std::floor(y), cz = std::floor(z);
    int X = LatticeByte(cx), Y = LatticeByte(cy), Z = LatticeByte(cz);
    x -= cx;
    y -= cy;
    z -= cz;
    float u = QuinticFade::Apply(x), v = QuinticFade::Apply(y), w = QuinticFade::Apply(z);
    const uint8_t* p = kP.p;
    int A = p[X] + Y, AA = p[A] + Z, AB = p[A + 1] + Z;
    int B = p[X + 1] + Y, BA = p[B] + Z, BB = p[B + 1] + Z;
    float near = Lerp(Lerp(ImprovedGrad(p[AA], x, y, z), ImprovedGrad(p[BA], x - 1, y, z), u),
                      Lerp(ImprovedGrad(p[AB], x, y - 1, z), ImprovedGrad(p[BB], x - 1, y - 1, z), u),
                      v);
    float far = Lerp(Lerp(ImprovedGrad(p[AA + 1], x, y, z - 1),
                          ImprovedGrad(p[BA + 1], x - 1, y, z - 1), u),
                     Lerp(ImprovedGrad(p[AB + 1], x, y - 1, z - 1),
                          ImprovedGrad(p[BB + 1], x - 1, y - 1, z - 1), u),
                     v);
    return Lerp(near, far, w);
}

}  // namespace

double PerlinNoise1D(double x) {
    const ClassicTables& t = Classic();
    Axis ax = Setup(x);
    double u = ax.r0 * t.g1[t.p[ax.b0]];
    double v = ax.r1 * t.g1[t.p[ax.b1]];
    return LerpD(SCurve(ax.r0), u, v);
}

double PerlinNoise2D(double x, double y) {
    const ClassicTables& t = Classic();
    Axis ax = Setup(x), ay = Setup(y);
    int i = t.p[ax.b0], j = t.p[ax.b1];
    int b00 = t.p[i + ay.b0], b10 = t.p[j + ay.b0], b01 = t.p[i + ay.b1], b11 = t.p[j + ay.b1];
    auto at = [&](int b, double rx, double ry) { return rx * t.g2[b][0] + ry * t.g2[b][1]; };
    double sx = SCurve(ax.r0), sy = SCurve(ay.r0);
    double a = LerpD(sx, at(b00, ax.r0, ay.r0), at(b10, ax.r1, ay.r0));
    double b = LerpD(sx, at(b01, ax.r0, ay.r1), at(b11, ax.r1, ay.r1));
    return LerpD(sy, a, b);
}

double PerlinNoise3D(double x, double y, double z) {
    const ClassicTables& t = Classic();
    Axis ax = Setup(x), ay = Setup(y), az = Setup(z);
    int i = t.p[ax.b0], j = t.p[ax.b1];
    int b00 = t.p[i + ay.b0], b10 = t.p[j + ay.b0], b01 = t.p[i + ay.b1], b11 = t.p[j + ay.b1];
    auto at = [&](int b, double rx, double ry, double rz) {
        return rx * t.g3[b][0] + ry * t.g3[b][1] + rz * t.g3[b][2];
    };
    double sx = SCurve(ax.r0), sy = SCurve(ay.r0), sz = SCurve(az.r0);
    auto plane = [&](int bz, double rz) {
        double a = LerpD(sx, at(b00 + bz, ax.r0, ay.r0, rz), at(b10 + bz, ax.r1, ay.r0, rz));
        double b = LerpD(sx, at(b01 + bz, ax.r0, ay.r1, rz), at(b11 + bz, ax.r1, ay.r1, rz));
        return LerpD(sy, a, b);
    };
    return LerpD(sz, plane(az.b0, az.r0), plane(az.b1, az.r1));
}

namespace {

float PerlinNoise1DF(float x) { return static_cast<float>(PerlinNoise1D(x)); }
float PerlinNoise2DF(float x, float y) { return static_cast<float>(PerlinNoise2D(x, y)); }
float PerlinNoise3DF(float x, float y, float z) {
    return static_cast<float>(PerlinNoise3D(x, y, z));
}
float PerlinNoise2(float x, float y) { return ImprovedNoise(x, y, 0.0f); }
float PerlinNoise3(float x, float y, float z) { return ImprovedNoise(x, y, z); }

constexpr BuiltinFunction kPerlinNoise[] = {
    {"perlin_noise_1d", PerlinNoise1DF}, {"perlin_noise_2d", PerlinNoise2DF},
    {"perlin_noise2", PerlinNoise2},     {"perlin_noise_3d", PerlinNoise3DF},
    {"perlin_noise3", PerlinNoise3},
};

}  // namespace

}  // namespace noise

FunctionTable PerlinNoiseFunctions() { return noise::kPerlinNoise; }

}  // namespace luneth
