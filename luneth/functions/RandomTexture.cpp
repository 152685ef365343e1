// Building the shared random texture (see RandomTexture.h).
#include "functions/RandomTexture.h"

#include <algorithm>
#include <vector>

#include "common/Parallel.h"
#include "common/Random.h"

namespace luneth::texture {

namespace {

void FillValues(RandomTexture& t) {
    RandomStream random(kSeed);
    t.values.resize(kValueCount);
    for (float& v : t.values) v = random.NextUnit();
}

// Each texel's point against the points of its eight wrapped neighbours.
void BuildWorleyPlane(RandomTexture& t) {
    const float* px = t.Plane(1);
    const float* py = t.Plane(2);
    t.worley.resize(kPlaneSize);
    for (int i = 0; i < kSide; ++i) {
        for (int j = 0; j < kSide; ++j) {
            const float ox = px[i * kSide + j], oy = py[i * kSide + j];
            float best = 2.0f;
            for (int di = -1; di <= 1; ++di) {
                for (int dj = -1; dj <= 1; ++dj) {
                    if (di == 0 && dj == 0) continue;
                    int k = ((i + di) & (kSide - 1)) * kSide + ((j + dj) & (kSide - 1));
                    float dx = static_cast<float>(dj) + px[k] - ox;
                    float dy = static_cast<float>(di) + py[k] - oy;
                    best = std::min(best, dx * dx + dy * dy);
                }
            }
            t.worley[i * kSide + j] = std::sqrt(best);
        }
    }
}

void BuildWorleyTable3(RandomTexture& t) {
    const int count = kPeriodX * kPeriodY * kPeriodZ;
    // Every cell's point, read once from the values (indices k, 11k, 17k modulo the count).
    std::vector<float> point(size_t(count) * 3);
    for (int k = 0; k < count; ++k) {
        static constexpr int kStride[3] = {1, 11, 17};
        for (int axis = 0; axis < 3; ++axis)
            point[size_t(k) * 3 + axis] =
                t.values[(static_cast<int64_t>(k) * kStride[axis]) % kValueCount];
    }
    t.worley3.resize(count);
    // Neighbour offsets along each axis, wrapped once here instead of per cell.
    auto wrapped = [](int i, int period) { return (i + period) % period; };
    // Each layer of z on its own: the cells do not depend on each other.
    ParallelFor(kPeriodZ, ResolveThreadCount(0), [&](size_t layer) {
        const int z = int(layer);
        int planes[3], rows[3][kPeriodY], columns[3][kPeriodX];
        for (int d = 0; d < 3; ++d) {
            planes[d] = wrapped(z + d - 1, kPeriodZ) * kPeriodX * kPeriodY;
            for (int y = 0; y < kPeriodY; ++y) rows[d][y] = wrapped(y + d - 1, kPeriodY) * kPeriodX;
            for (int x = 0; x < kPeriodX; ++x) columns[d][x] = wrapped(x + d - 1, kPeriodX);
        }
        for (int y = 0; y < kPeriodY; ++y) {
            for (int x = 0; x < kPeriodX; ++x) {
                const int k = Index3(x, y, z);
                const float* o = &point[size_t(k) * 3];
                float best = 3.0f;
                for (int dz = -1; dz <= 1; ++dz) {
                    for (int dy = -1; dy <= 1; ++dy) {
                        const int base = planes[dz + 1] + rows[dy + 1][y];
                        for (int dx = -1; dx <= 1; ++dx) {
                            if (dx == 0 && dy == 0 && dz == 0) continue;
                            const float* n = &point[size_t(base + columns[dx + 1][x]) * 3];
                            float ex = static_cast<float>(dx) + n[0] - o[0];
                            float ey = static_cast<float>(dy) + n[1] - o[1];
                            float ez = static_cast<float>(dz) + n[2] - o[2];
                            best = std::min(best, ex * ex + ey * ey + ez * ez);
                        }
                    }
                }
                t.worley3[k] = std::sqrt(best);
            }
        }
    });
}

}  // namespace

RandomTexture BuildRandomTexture() {
    RandomTexture t;
    FillValues(t);
    BuildWorleyPlane(t);
    BuildWorleyTable3(t);
    return t;
}

RandomStream StreamAfterFill() {
    RandomStream random(kSeed);
    random.Discard(kValueCount);
    return random;
}

}  // namespace luneth::texture
