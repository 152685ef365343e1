// Comparisons of vectors and matrices within a few units in the last place.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "kiv/vecmath.h"

// |actual - expected| <= ulps * FLT_EPSILON * max(1, |expected|) for every component.
inline bool NearUlps(float actual, float expected, int ulps) {
    return std::fabs(actual - expected) <=
           float(ulps) * FLT_EPSILON * std::max(1.0f, std::fabs(expected));
}

inline void ExpectVectorNear(const KivVector3& actual, const KivVector3& expected, int ulps) {
    EXPECT_TRUE(NearUlps(actual.x, expected.x, ulps) && NearUlps(actual.y, expected.y, ulps) &&
                NearUlps(actual.z, expected.z, ulps))
        << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") vs (" << expected.x << ", "
        << expected.y << ", " << expected.z << ")";
}

inline void ExpectMatrixNear(const KivMatrix& actual, const KivMatrix& expected, int ulps) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_TRUE(NearUlps(actual.m[i][j], expected.m[i][j], ulps))
                << "[" << i << "][" << j << "] " << actual.m[i][j] << " vs " << expected.m[i][j];
}
