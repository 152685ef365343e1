// Coherent noise built-ins: libnoise's value and gradient coherent noise with seed 1 and
// standard quality (cubic fade), evaluated in single precision.
//
//   coherent_noise1(x), coherent_noise2(x, y), coherent_noise3(x, y, z)
//       value noise; corner value 1 - r / 2^30 with r the xor_ integer hash of the corner term
//       1619 ix + 31337 iy + 6971 iz + 1013 (absent axes are 0), range [-1, 1]
//   coherent_gradient_noise3(x, y, z)
//       gradient noise; corner vector = libnoise's random-vector table at
//       (n ^ (n >> 8)) & 0xFF of the corner term n, dot product scaled by 2.12
//
// libnoise computes its value-noise hash in signed int; the overflow is undefined there (and
// Debian's build drops the final mask because of it). Here every product wraps modulo 2^32.
#include <cmath>

#include "functions/Families.h"
#include "functions/LatticeNoise.h"

namespace {
namespace libnoise_copy {
#include <libnoise/vectortable.h>
}  // namespace libnoise_copy
}  // namespace

namespace luneth {

namespace noise {

namespace {

constexpr uint32_t kSeedTerm = 1013;  // 1013 * seed, seed 1
constexpr float kGradientScale = 2.12f;

// The 256 unit vectors of libnoise's table, times the final scale, as floats.
struct VectorTable {
    Float3 v[256];
    VectorTable() {
        const double* d = libnoise_copy::noise::g_randomVectors;
        for (int i = 0; i < 256; ++i) {
            v[i] = {static_cast<float>(d[4 * i] * kGradientScale),
                    static_cast<float>(d[4 * i + 1] * kGradientScale),
                    static_cast<float>(d[4 * i + 2] * kGradientScale)};
        }
    }
};
const VectorTable kVectors;

float CornerValue(uint32_t term) {
    return 1.0f - static_cast<float>(XorHash::Scramble(term + kSeedTerm)) * 0x1p-30f;
}

struct ValueCorner {
    float operator()(uint32_t term) const { return CornerValue(term); }
};

struct TableGradient {
    Float3 operator()(uint32_t term) const {
        uint32_t n = term + kSeedTerm;
        return kVectors.v[(n ^ (n >> 8)) & 0xFFu];
    }
};

}  // namespace

float CoherentNoise1(float x) {
    float ix = std::floor(x);
    uint32_t n = XorHash::kX * XorHash::Lattice(ix);
    float a = CornerValue(n), b = CornerValue(n + XorHash::kX);
    return Lerp(a, b, CubicFade::Apply(x - ix));
}
float CoherentNoise2(float x, float y) { return TermValueLattice2(ValueCorner{}, x, y); }
float CoherentNoise3(float x, float y, float z) {
    return TermValueLattice3(ValueCorner{}, x, y, z);
}
float CoherentGradientNoise3(float x, float y, float z) {
    return TermGradientLattice3(TableGradient{}, x, y, z);
}

}  // namespace noise

namespace {

constexpr BuiltinFunction kCoherentNoise[] = {
    {"coherent_noise1", noise::CoherentNoise1},
    {"coherent_noise2", noise::CoherentNoise2},
    {"coherent_noise3", noise::CoherentNoise3},
    {"coherent_gradient_noise3", noise::CoherentGradientNoise3},
};

}  // namespace

FunctionTable CoherentNoiseFunctions() { return kCoherentNoise; }

}  // namespace luneth
