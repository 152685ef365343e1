// Random streams.
//
// Every random draw of the system (the script functions rand, rand_int, rand2, rand_int2,
// array_rand, array_rand_int, the shared random texture, the equations that scatter points)
// comes from a RandomStream, never from the C library's rand(). A stream is the classic linear
// congruential generator of the platform the pictures were first made on:
//
//     state = state * 214013 + 2531011  (mod 2^32)
//     value = (state >> 16) & 0x7FFF          -> 0 .. 32767
//
// Same state, same sequence, same pictures.
//
// Who owns a stream: each image object owns one, shared by its script and its equations, so
// two image objects never disturb each other's pictures. Code deep inside a built-in function
// has no image object at hand; it calls Rand(), which draws from the stream bound to the
// calling thread by the evaluation that runs there (RandomBinding). A thread with nothing
// bound draws from a stream of its own that starts in state 1.
//
//     RandomStream stream(seed);
//     { RandomBinding bind(stream); float v = RandUnit(); }   // draws from `stream`
#pragma once

#include <cstdint>

namespace luneth {

constexpr int kRandMax = 32767;

class RandomStream {
public:
    constexpr explicit RandomStream(uint32_t state = 1) : state_(state) {}

    // Next value in 0 .. kRandMax.
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }
    // Next() scaled into [0, 1): value * 2^-15.
    float NextUnit() { return static_cast<float>(Next()) * (1.0f / 32768.0f); }

    void Seed(uint32_t seed) { state_ = seed; }

    // Moves on as n calls of Next() would, in log2(n) steps: n steps of the affine map
    // s -> a*s + c are one affine map, found by squaring.
    constexpr void Discard(uint64_t n) {
        uint32_t a = 214013u, c = 2531011u;  // the map of 2^k steps
        uint32_t mulAll = 1u, addAll = 0u;   // the map of the steps taken so far
        for (; n; n >>= 1) {
            if (n & 1u) {
                mulAll *= a;
                addAll = addAll * a + c;
            }
            c = c * a + c;
            a *= a;
        }
        state_ = state_ * mulAll + addAll;
    }
    uint32_t State() const { return state_; }

private:
    uint32_t state_;
};

// The stream that Rand() draws from on this thread.
RandomStream& BoundRandomStream();

// Binds a stream to the calling thread for the binding's lifetime; the previous binding comes
// back when it ends, so bindings nest.
class RandomBinding {
public:
    explicit RandomBinding(RandomStream& stream);
    ~RandomBinding();
    RandomBinding(const RandomBinding&) = delete;
    RandomBinding& operator=(const RandomBinding&) = delete;

private:
    RandomStream* previous_;
};

// Next value of the bound stream, in 0 .. kRandMax.
inline int Rand() { return BoundRandomStream().Next(); }

// Restarts the bound stream from `seed`.
inline void SRand(uint32_t seed) { BoundRandomStream().Seed(seed); }

// Rand() scaled into [0, 1): rand() * 2^-15, the form most random built-ins use.
inline float RandUnit() { return BoundRandomStream().NextUnit(); }

}  // namespace luneth
