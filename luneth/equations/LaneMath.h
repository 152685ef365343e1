// Lanes: several pixels computed together in GCC vector types, and the few maths functions
// their orbits need, written once for a single value (float, double) and for a vector of them.
// Every function does the same IEEE operations in the same order in each lane as it does on a
// single value, so a pixel computed in a lane has exactly the bits of the pixel computed alone.
//
//     lanes::Vector<float, 32>      8 floats (one AVX register; 16 bytes: 4 floats, SSE2)
//     lanes::IntOf<T>               the signed integer lanes of T's width: what comparisons
//                                   of T give (int32_t / int64_t for a single value)
//     Abs, Not, Any, Splat          small lane helpers
//     LogF(x)                       natural logarithm of float lanes (about 1 ulp)
//     Sin(x), Cos(x)                of double lanes (about 1 ulp for |x| below 1e6)
//
// The maths functions are our own rather than the C library's, so that vector lanes can use
// them too and every machine draws the same pictures. Special values follow IEEE: LogF(0) is
// -inf, LogF of a negative value or NaN is NaN; Sin and Cos of inf or NaN are NaN.
//
// WideLanes() tells whether the rows use AVX2 (when the processor has it) or the baseline
// SSE2 lanes; UseWideLanes(false) forces the baseline, so tests can compare both.
#pragma once

#include <bit>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>

// Vector arguments of these inlined helpers never cross a call boundary: quiet the ABI note
// GCC gives for them where AVX is not the baseline.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace luneth::lanes {

template <class Real, int kBytes>
struct VectorOf {
    typedef Real type __attribute__((vector_size(kBytes)));
};
template <class Real, int kBytes>
using Vector = typename VectorOf<Real, kBytes>::type;

// Element type, integer lanes of the same width, and whether T is a single value.
template <class T>
struct Traits {
    using Real = std::remove_cvref_t<decltype(std::declval<T>()[0])>;
    using Int = decltype(std::declval<T>() < std::declval<T>());
    static constexpr bool kSingle = false;
};
template <>
struct Traits<float> {
    using Real = float;
    using Int = int32_t;
    static constexpr bool kSingle = true;
};
template <>
struct Traits<double> {
    using Real = double;
    using Int = int64_t;
    static constexpr bool kSingle = true;
};
template <class T>
using IntOf = typename Traits<T>::Int;
template <class T>
using RealOf = typename Traits<T>::Real;

// Every lane set to v.
template <class T>
inline T Splat(RealOf<T> v) {
    if constexpr (Traits<T>::kSingle) {
        return v;
    } else {
        T t;
        for (int i = 0; i < int(sizeof(T) / sizeof(v)); ++i) t[i] = v;
        return t;
    }
}

template <class T>
inline T ToReal(IntOf<T> i) {
    if constexpr (Traits<T>::kSingle)
        return static_cast<T>(i);
    else
        return __builtin_convertvector(i, T);
}

// |x| by clearing the sign bit (the bits of std::fabs).
template <class T>
inline T Abs(T x) {
    using I = IntOf<T>;
    using Word = std::conditional_t<sizeof(RealOf<T>) == 4, int32_t, int64_t>;
    constexpr Word kMagnitude = std::numeric_limits<Word>::max();
    return std::bit_cast<T>(static_cast<I>(std::bit_cast<I>(x) & kMagnitude));
}

// The opposite of a comparison's result (bool or integer lanes of -1 / 0).
template <class M>
inline M Not(M m) {
    if constexpr (std::is_same_v<M, bool>)
        return !m;
    else
        return ~m;
}

// True when some lane of a comparison's result is set.
template <class M>
inline bool Any(M m) {
    if constexpr (std::is_same_v<M, bool>) {
        return m;
    } else {
        bool any = false;
        for (int i = 0; i < int(sizeof(M) / sizeof(m[0])); ++i) any |= m[i] != 0;
        return any;
    }
}

// ---- natural logarithm of float lanes ----
// x = m * 2^e with m in [sqrt(1/2), sqrt(2)); ln m = 2 atanh(s), s = (m - 1) / (m + 1), from
// its series in s^2 (|s| <= 0.172, so six terms reach float precision).
template <class T>
inline T LogF(T x) {
    static_assert(std::is_same_v<RealOf<T>, float>);
    using I = IntOf<T>;
    constexpr float kSmallest = 1.17549435e-38f;  // below it subnormal: scale up by 2^23
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const auto subnormal = x < kSmallest;
    const T scaled = subnormal ? x * 8388608.0f : x;
    const I bits = std::bit_cast<I>(scaled);
    I e = ((bits >> 23) & 0xFF) - 127;
    e = subnormal ? e - 23 : e;
    T m = std::bit_cast<T>(static_cast<I>((bits & 0x007FFFFF) | 0x3F800000));
    const auto upper = m > 1.41421356f;
    m = upper ? m * 0.5f : m;
    e = upper ? e + 1 : e;
    const T s = (m - 1.0f) / (m + 1.0f), z = s * s;
    const T series =
        z * (1.0f / 3 + z * (1.0f / 5 + z * (1.0f / 7 + z * (1.0f / 9 + z * (1.0f / 11)))));
    const T lnM = (s + s) + (s + s) * series;
    const T ef = ToReal<T>(e);
    constexpr float kLn2Hi = 0.693145751953125f;        // 16 bits: ef * kLn2Hi is exact
    constexpr float kLn2Lo = 1.42860682030941723e-06f;  // ln 2 - kLn2Hi
    T r = ef * kLn2Hi + (lnM + ef * kLn2Lo);
    r = x == kInfinity ? kInfinity : r;
    r = x == 0.0f ? -kInfinity : r;
    r = Not(x >= 0.0f) ? std::numeric_limits<float>::quiet_NaN() : r;  // negative or NaN
    return r;
}

// ---- sine and cosine of double lanes ----
// x = k pi/2 + r with |r| <= pi/4 (pi/2 in three parts, so that k * part is exact for the
// k of |x| below about 1e6), then Taylor series of sin r and cos r in r^2.
template <class T>
struct QuarterTurns {
    T r;         // x - k pi/2
    IntOf<T> k;  // k mod 4
};

template <class T>
inline QuarterTurns<T> ReduceQuarterTurns(T x) {
    static_assert(std::is_same_v<RealOf<T>, double>);
    constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
    constexpr double kShifter = 0x1.8p52;  // adding it rounds to an integer in the low bits
    constexpr double kP1 = 0x1.921fb544p+0, kP2 = 0x1.0b4611a6p-34, kP3 = 0x1.3198a2e037073p-69;
    const T shifted = x * kTwoOverPi + kShifter;
    const T k = shifted - kShifter;
    return {((x - k * kP1) - k * kP2) - k * kP3,
            static_cast<IntOf<T>>(std::bit_cast<IntOf<T>>(shifted) & 3)};
}

template <class T>
inline T SinSeries(T r) {
    const T z = r * r;
    return r + r * z *
                   (-1.0 / 6 +
                    z * (1.0 / 120 +
                         z * (-1.0 / 5040 +
                              z * (1.0 / 362880 + z * (-1.0 / 39916800 +
                                                       z * (1.0 / 6227020800 +
                                                            z * (-1.0 / 1307674368000 +
                                                                 z * (1.0 / 355687428096000))))))));
}

template <class T>
inline T CosSeries(T r) {
    const T z = r * r;
    return 1.0 - z * 0.5 +
           z * z *
               (1.0 / 24 +
                z * (-1.0 / 720 +
                     z * (1.0 / 40320 +
                          z * (-1.0 / 3628800 + z * (1.0 / 479001600 +
                                                     z * (-1.0 / 87178291200 +
                                                          z * (1.0 / 20922789888000 +
                                                               z * (-1.0 / 6402373705728000))))))));
}

template <class T>
inline T Sin(T x) {
    const QuarterTurns<T> q = ReduceQuarterTurns(x);
    const T v = (q.k & 1) != 0 ? CosSeries(q.r) : SinSeries(q.r);
    return (q.k & 2) != 0 ? -v : v;
}

template <class T>
inline T Cos(T x) {
    const QuarterTurns<T> q = ReduceQuarterTurns(x);
    const T v = (q.k & 1) != 0 ? SinSeries(q.r) : CosSeries(q.r);
    return ((q.k + 1) & 2) != 0 ? -v : v;
}

// ---- which lanes the rows use ----
bool WideLanes();
void UseWideLanes(bool wide);  // false: the baseline lanes even where AVX2 is available

}  // namespace luneth::lanes

#pragma GCC diagnostic pop
