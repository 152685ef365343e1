// Parallel loops over independent pieces of work.
//
//   ResolveThreadCount(n)             n when n >= 1, else the machine's hardware threads
//   ParallelFor(count, threads, fn)   calls fn(i) once for every i in [0, count), on up to
//                                     `threads` threads (the caller's among them), and returns
//                                     when all calls have ended
//
// The pieces must not depend on each other or on the order they run in; each piece writes
// only its own part of the result, so a result is the same for any number of threads. The
// loop itself is OpenMP's: pieces are handed out one at a time, so make each piece worth a
// few microseconds (a few thousand elements, a few rows).
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

namespace luneth {

int ResolveThreadCount(int requested);

// The type-erased loop behind ParallelFor.
void ParallelForPieces(size_t count, int threads, void (*run)(void* body, size_t i), void* body);

template <typename Body>
void ParallelFor(size_t count, int threads, Body&& body) {
    if (count == 0) return;
    if (count == 1 || threads <= 1) {
        for (size_t i = 0; i < count; ++i) body(i);
        return;
    }
    using B = std::remove_reference_t<Body>;
    ParallelForPieces(
        count, threads, [](void* b, size_t i) { (*static_cast<B*>(b))(i); },
        const_cast<void*>(static_cast<const void*>(&body)));
}

}  // namespace luneth
