// The process-wide pseudo-random generator.
//
// Every random draw of the system (the script functions rand, rand_int, rand2, rand_int2,
// array_rand, array_rand_int, the shared random texture, the equations that scatter points)
// goes through this one generator, never through the C library's rand(). It is the classic
// linear congruential generator of the platform the pictures were first made on:
//
//     state = state * 214013 + 2531011  (mod 2^32)
//     value = (state >> 16) & 0x7FFF          -> 0 .. 32767
//
// The state is 1 at start; SRand(s) sets it to s. Same seed, same sequence, same pictures.
// Not thread-safe: like the script engine, it serves one evaluation at a time.
#pragma once

#include <cstdint>

namespace luneth {

constexpr int kRandMax = 32767;

// Next value in 0 .. kRandMax.
int Rand();

// Restarts the sequence from `seed`.
void SRand(uint32_t seed);

// rand() scaled into [0, 1): rand() * 2^-15, the form most random built-ins use.
inline float RandUnit() { return static_cast<float>(Rand()) * (1.0f / 32768.0f); }

}  // namespace luneth
