// Building the shared random texture (see RandomTexture.h).
#include "functions/RandomTexture.h"

#include <algorithm>

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
    auto point = [&](int k, int axis) {
        static constexpr int kStride[3] = {1, 11, 17};
        return t.values[(static_cast<int64_t>(k) * kStride[axis]) % kValueCount];
    };
    t.worley3.resize(count);
    for (int z = 0; z < kPeriodZ; ++z) {
        for (int y = 0; y < kPeriodY; ++y) {
            for (int x = 0; x < kPeriodX; ++x) {
                const int k = Index3(x, y, z);
                const float ox = point(k, 0), oy = point(k, 1), oz = point(k, 2);
                float best = 3.0f;
                for (int dz = -1; dz <= 1; ++dz) {
                    for (int dy = -1; dy <= 1; ++dy) {
                        for (int dx = -1; dx <= 1; ++dx) {
                            if (dx == 0 && dy == 0 && dz == 0) continue;
                            int n = Index3((x + dx + kPeriodX) % kPeriodX,
                                           (y + dy + kPeriodY) % kPeriodY,
                                           (z + dz + kPeriodZ) % kPeriodZ);
                            float ex = static_cast<float>(dx) + point(n, 0) - ox;
                            float ey = static_cast<float>(dy) + point(n, 1) - oy;
                            float ez = static_cast<float>(dz) + point(n, 2) - oz;
                            best = std::min(best, ex * ex + ey * ey + ez * ez);
                        }
                    }
                }
                t.worley3[k] = std::sqrt(best);
            }
        }
    }
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
    for (int i = 0; i < kValueCount; ++i) random.Next();
    return random;
}

}  // namespace luneth::texture
