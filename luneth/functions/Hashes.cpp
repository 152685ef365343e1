// Hash built-ins: the one-output forms of the three hash families, weyl_hash2 and gold_noise2.
//
//   xor_hash1/2/3(...)   integer hash of the truncated inputs, [0, 1)
//   fdf_hash1/2/3(...)   fract-and-dot hash, [0, 1)
//   sin_hash1/2/3(...)   fract(sin(dot(p, k)) * 43758.547), [0, 1)
//   weyl_hash2(x, y)     fract(fract(0.308517 y) y * fract(0.5545497 x) x)
//   gold_noise2(x, y)    fract(sin(1.618034 x + 3.1415927 y) * 14142.136)
//
// The families themselves (and their two- and three-output forms) are in NoiseHash.h.
#include "functions/Families.h"
#include "functions/NoiseHash.h"

namespace luneth {

namespace {

using namespace noise;

template <class H>
float Hash1(float x) {
    return H::Hash1(x);
}
template <class H>
float Hash2(float x, float y) {
    return H::Hash2(x, y);
}
template <class H>
float Hash3(float x, float y, float z) {
    return H::Hash3(x, y, z);
}

constexpr BuiltinFunction kHashes[] = {
    {"xor_hash1", Hash1<XorHash>},   {"fdf_hash1", Hash1<FdfHash>},
    {"sin_hash1", Hash1<SinHash>},   {"xor_hash2", Hash2<XorHash>},
    {"fdf_hash2", Hash2<FdfHash>},   {"sin_hash2", Hash2<SinHash>},
    {"weyl_hash2", WeylHash2},       {"gold_noise2", GoldNoise2},
    {"xor_hash3", Hash3<XorHash>},   {"fdf_hash3", Hash3<FdfHash>},
    {"sin_hash3", Hash3<SinHash>},
};

}  // namespace

FunctionTable HashFunctions() { return kHashes; }

}  // namespace luneth
