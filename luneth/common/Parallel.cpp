#include "common/Parallel.h"

#include <omp.h>

#include <algorithm>
#include <thread>

namespace luneth {

int ResolveThreadCount(int requested) {
    if (requested >= 1) return requested;
    return std::max(1u, std::thread::hardware_concurrency());
}

void ParallelForPieces(size_t count, int threads, void (*run)(void* body, size_t i), void* body) {
    const int team = static_cast<int>(std::min<size_t>(count, size_t(std::max(threads, 1))));
    const long long n = static_cast<long long>(count);
#pragma omp parallel for num_threads(team) schedule(dynamic, 1)
    for (long long i = 0; i < n; ++i) run(body, static_cast<size_t>(i));
}

}  // namespace luneth
