// Random integers between two truncated bounds, shared by rand_int, rand_int2 and
// array_rand_int.
#pragma once

#include <cstdint>

#include "common/Random.h"

namespace luneth {

// i when i == j; otherwise i + (rand() mod |j - i|) stepped toward j, so the result lies in
// [i, j) for i < j and in (j, i] for j < i. (The plain C remainder would throw a reversed range
// entirely outside [j, i].) The span is 64-bit: j - i may not fit 32 bits.
inline float RandomIntToward(int32_t i, int32_t j) {
    if (i == j) return static_cast<float>(i);
    int64_t span = static_cast<int64_t>(j) - i;
    int64_t step = static_cast<int64_t>(Rand()) % (span > 0 ? span : -span);
    return static_cast<float>(span > 0 ? i + step : i - step);
}

}  // namespace luneth
