// Random sample points shared by the noise tests (fixed seeds: failures reproduce).
#pragma once

#include <random>
#include <vector>

namespace luneth::test {

struct Point3 {
    float x, y, z;
};

inline std::vector<Point3> RandomPoints(int count, float lo, float hi, unsigned seed = 9527) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> u(lo, hi);
    std::vector<Point3> points(count);
    for (Point3& p : points) p = {u(gen), u(gen), u(gen)};
    return points;
}

}  // namespace luneth::test
