// Reading the argument list of a kind-9 built-in.
//
// A kind-9 function receives the evaluator's argument buffer and the number of arguments the
// script gave. Arguments beyond that number read as 0. Count arguments (iterations, octaves)
// are truncated to integers, and a count below 1 (a missing one included) selects the
// function's default, so `fractal_mandelbrot(x, y)` and `fractal_mandelbrot(x, y, -5)` both
// iterate the default 128 times.
#pragma once

#include "common/FloatConstants.h"

namespace luneth {

class VariadicArgs {
public:
    VariadicArgs(const float* args, int count) : args_(args), count_(args ? count : 0) {}

    float operator[](int i) const { return i < count_ ? args_[i] : 0.0f; }

    // The count at index i: truncated toward zero; below 1 (also NaN and out-of-range values,
    // which truncate to INT32_MIN) gives `fallback`.
    int Count(int i, int fallback) const {
        int n = TruncateInt((*this)[i]);
        return n < 1 ? fallback : n;
    }

    // The value at index i, or `fallback` when it is below 2^-23 (bailouts and tolerances
    // that must be positive).
    float PositiveOr(int i, float fallback) const {
        float v = (*this)[i];
        return v < kEpsilon ? fallback : v;
    }

    int size() const { return count_; }

private:
    const float* args_;
    int count_;
};

}  // namespace luneth
