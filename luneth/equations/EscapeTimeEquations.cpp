// Escape-time fractals: every pixel follows the orbit of a map from its own starting point and
// is coloured by how many steps the orbit takes to leave a bound, or by where it ends.
//
// Each equation names its orbits (a state of a few reals, a step, a test for "outside", a step
// cap and a counting rule), where each orbit starts for pixel (x, y), and a colour from the
// orbits' results. From these the base CEscapeTimeEquation builds both ways of computing:
//     Pixel(x, y)            one pixel, one orbit after the other;
//     ComputeRow(...)        16 pixels (8 in double) at a time in vector lanes: AVX2 when the
//                            processor has it, SSE2 otherwise. The lanes do exactly the steps
//                            of Pixel, so a row is bit for bit the row of single pixels.
// Lanes that have left keep stepping until the last lane of their block leaves (their count
// no longer changes); the colour may therefore read an orbit's final state only when it did
// not leave.
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <tuple>
#include <utility>

#include "common/FloatConstants.h"
#include "equations/EquationFamilies.h"
#include "equations/LaneMath.h"
#include "equations/PixelHelpers.h"

// Vector arguments of inlined helpers never cross a call boundary: quiet the ABI note.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace luneth {

namespace lanes {
namespace {
std::atomic<bool> gUseWide{true};
}  // namespace
bool WideLanes() {
    static const bool hasAvx2 = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
    return hasAvx2 && gUseWide.load(std::memory_order_relaxed);
}
void UseWideLanes(bool wide) { gUseWide.store(wide, std::memory_order_relaxed); }
}  // namespace lanes

namespace {

// ---- orbits and how they are counted ----

enum class Counting {
    kLeavingStep,  // n = the step whose result is outside (1 .. cap); cap when none is
    kStartTested,  // the start is tested too: n = index of the first state outside (0 .. cap)
    kStepsInside,  // n = the steps that stay inside before the first that leaves (0 .. cap)
    kFixed,        // exactly cap steps, nothing tested; n = cap
};

// What every orbit declares: its reals, the number of them in its state, how it is counted and
// its step cap. An orbit adds
//     template <class T> static void Step(std::array<T, kFields>& s, uint32_t step)  (step 1..)
//     template <class T> static auto Outside(const std::array<T, kFields>& s)  (unless kFixed)
template <class R, int kFieldCount, Counting kRule, uint32_t kCap>
struct OrbitShape {
    using Real = R;
    static constexpr int kFields = kFieldCount;
    using State = std::array<R, kFields>;
    static constexpr Counting kCounting = kRule;
    static constexpr uint32_t kSteps = kCap;
};

template <class Orbit>
struct Result {
    uint32_t n = 0;
    bool left = false;             // some state was outside
    typename Orbit::State last{};  // the final state; meaningful only when !left
};

template <class Orbit>
Result<Orbit> Follow(typename Orbit::State s) {
    constexpr Counting rule = Orbit::kCounting;
    if constexpr (rule == Counting::kFixed) {
        for (uint32_t i = 1; i <= Orbit::kSteps; ++i) Orbit::Step(s, i);
        return {Orbit::kSteps, false, s};
    } else {
        if constexpr (rule == Counting::kStartTested)
            if (Orbit::Outside(s)) return {0, true, s};
        for (uint32_t i = 1; i <= Orbit::kSteps; ++i) {
            Orbit::Step(s, i);
            if (Orbit::Outside(s)) return {rule == Counting::kStepsInside ? i - 1 : i, true, s};
        }
        return {Orbit::kSteps, false, s};
    }
}

// The same count for kWidth * K lanes in K vectors V. The bound is tested after every step;
// whether any lane is still inside only after every fourth.
template <class Orbit, class V, int K, class StartAt>
[[gnu::always_inline]] inline void FollowLanes(StartAt startOf, Result<Orbit>* out) {
    using Real = typename Orbit::Real;
    using M = lanes::IntOf<V>;
    constexpr int kWidth = sizeof(V) / sizeof(Real);
    constexpr Counting rule = Orbit::kCounting;
    static_assert(rule == Counting::kFixed || Orbit::kSteps % 4 == 0);

    std::array<V, Orbit::kFields> s[K];
    for (int l = 0; l < kWidth * K; ++l) {
        const typename Orbit::State start = startOf(l);
        for (int f = 0; f < Orbit::kFields; ++f) s[l / kWidth][f][l % kWidth] = start[f];
    }
    M inside[K], startInside[K], steps[K];
    for (int k = 0; k < K; ++k) {
        steps[k] = M{};
        inside[k] = ~M{};
        if constexpr (rule == Counting::kStartTested) inside[k] = lanes::Not(Orbit::Outside(s[k]));
        startInside[k] = inside[k];
    }
    if constexpr (rule == Counting::kFixed) {
        for (uint32_t i = 1; i <= Orbit::kSteps; ++i) {
#pragma GCC unroll 4
            for (int k = 0; k < K; ++k) Orbit::Step(s[k], i);
        }
    } else {
        for (uint32_t i = 0; i < Orbit::kSteps; i += 4) {
#pragma GCC unroll 4
            for (uint32_t j = 1; j <= 4; ++j) {
#pragma GCC unroll 4
                for (int k = 0; k < K; ++k) {
                    Orbit::Step(s[k], i + j);
                    inside[k] &= lanes::Not(Orbit::Outside(s[k]));
                    steps[k] -= inside[k];
                }
            }
            M any = inside[0];
            for (int k = 1; k < K; ++k) any |= inside[k];
            if (!lanes::Any(any)) break;
        }
    }
    for (int l = 0; l < kWidth * K; ++l) {
        const int k = l / kWidth, w = l % kWidth;
        Result<Orbit>& r = out[l];
        for (int f = 0; f < Orbit::kFields; ++f) r.last[f] = s[k][f][w];
        r.left = inside[k][w] == 0;
        r.n = rule == Counting::kFixed ? Orbit::kSteps : uint32_t(steps[k][w]);
        if (rule == Counting::kLeavingStep && r.left) ++r.n;
        if (rule == Counting::kStartTested && r.left && startInside[k][w]) ++r.n;
    }
}

// A row through lanes of kBytes-wide vectors: blocks of 64 bytes of reals (16 floats, 8
// doubles); the lanes past the row's end repeat its last pixel and are not written.
template <int kBytes, class Eq>
[[gnu::always_inline]] inline void RowInLanes(const Eq& eq, uint32_t y, uint32_t x0, uint32_t count,
                                              uint32_t* out) {
    using Orbits = typename Eq::Orbits;
    using Real = typename std::tuple_element_t<0, Orbits>::Real;
    using V = lanes::Vector<Real, kBytes>;
    constexpr int K = 64 / kBytes, kLanes = 64 / sizeof(Real);
    for (uint32_t b = 0; b < count; b += kLanes) {
        const uint32_t m = std::min<uint32_t>(kLanes, count - b);
        [&]<size_t... I>(std::index_sequence<I...>) {
            std::tuple<std::array<Result<std::tuple_element_t<I, Orbits>>, kLanes>...> results;
            (FollowLanes<std::tuple_element_t<I, Orbits>, V, K>(
                 [&](int l) {
                     return eq.template Start<I>(x0 + b + std::min<uint32_t>(l, m - 1), y);
                 },
                 std::get<I>(results).data()),
             ...);
            for (uint32_t l = 0; l < m; ++l)
                out[b + l] = eq.Colour(x0 + b + l, y, std::get<I>(results)[l]...);
        }
        (std::make_index_sequence<std::tuple_size_v<Orbits>>{});
    }
}

template <class Eq>
[[gnu::target("avx2"), gnu::flatten]] void RowAvx2(const Eq& eq, uint32_t y, uint32_t x0,
                                                   uint32_t count, uint32_t* out) {
    RowInLanes<32>(eq, y, x0, count, out);
}

template <class Eq>
[[gnu::flatten]] void RowBaseline(const Eq& eq, uint32_t y, uint32_t x0, uint32_t count,
                                  uint32_t* out) {
    RowInLanes<16>(eq, y, x0, count, out);
}

// Derived names `Orbits` (a std::tuple of orbit types) and gives
//     template <size_t I> State Start(x, y) const     where orbit I starts for pixel (x, y)
//     uint32_t Colour(x, y, const Result<Orbit>&...) const
template <class Derived>
class CEscapeTimeEquation : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;

    uint32_t Pixel(uint32_t x, uint32_t y) const final {
        const Derived& eq = static_cast<const Derived&>(*this);
        using Orbits = typename Derived::Orbits;
        return [&]<size_t... I>(std::index_sequence<I...>) {
            return eq.Colour(
                x, y, Follow<std::tuple_element_t<I, Orbits>>(eq.template Start<I>(x, y))...);
        }
        (std::make_index_sequence<std::tuple_size_v<Orbits>>{});
    }

    void ComputeRow(uint32_t y, uint32_t x0, uint32_t count, uint32_t* out) const final {
        const Derived& eq = static_cast<const Derived&>(*this);
        if (lanes::WideLanes())
            RowAvx2(eq, y, x0, count, out);
        else
            RowBaseline(eq, y, x0, count, out);
    }
};

// ---- z <- z^2 + c ----

enum class Map {
    kSimultaneous,  // zr' = zr^2 - zi^2 + cr, zi' = 2 zr zi + ci
    kSequential,    // zi' from the new zr': 2 zr' zi + ci
    kBurningShip,   // zi' = 2 |zr zi| - ci, zr' = zr^2 - zi^2 - cr
};
enum class Bound { kAbove, kAtLeast, kNotBelow };  // outside: |z|^2 > b, >= b, or not < b

// The bound is a whole number (a template parameter of type R would be a float one, which
// clang 14, building the sanitizer and fuzzing builds, does not take); its R value is exact.
template <class R, Map kMap, Bound kBound, uint32_t kWholeLimit, Counting kRule, uint32_t kCap>
struct QuadraticOrbit : OrbitShape<R, 4, kRule, kCap> {
    enum Field { ZR, ZI, CR, CI };
    using OrbitShape<R, 4, kRule, kCap>::kFields;
    static constexpr R kLimit = R(kWholeLimit);

    template <class T>
    static void Step(std::array<T, kFields>& s, uint32_t) {
        const T zr = s[ZR], zi = s[ZI];
        if constexpr (kMap == Map::kBurningShip) {
            s[ZI] = R(2) * lanes::Abs(zr * zi) - s[CI];
            s[ZR] = zr * zr - zi * zi - s[CR];
        } else {
            s[ZR] = zr * zr - zi * zi + s[CR];
            s[ZI] = R(2) * (kMap == Map::kSequential ? s[ZR] : zr) * zi + s[CI];
        }
    }
    template <class T>
    static T Magnitude(const std::array<T, kFields>& s) {
        return s[ZR] * s[ZR] + s[ZI] * s[ZI];
    }
    template <class T>
    static auto Outside(const std::array<T, kFields>& s) {
        const T m = Magnitude(s);
        if constexpr (kBound == Bound::kAbove) return m > kLimit;
        if constexpr (kBound == Bound::kAtLeast) return m >= kLimit;
        if constexpr (kBound == Bound::kNotBelow) return lanes::Not(m < kLimit);
    }
};

// A count as a whole number; NaN and values past the int range give INT32_MIN's bits.
uint32_t Whole(float v) { return static_cast<uint32_t>(TruncateInt(v)); }

// ln n in float; the counts of most pictures come from a table of the same values.
float LnCount(uint32_t n) {
    static const auto table = [] {
        std::array<float, 8192> t;
        for (uint32_t i = 0; i < t.size(); ++i) t[i] = std::log(static_cast<float>(i));
        return t;
    }();
    return n < table.size() ? table[n] : std::log(static_cast<float>(n));
}

// The low byte of trunc(scale * ln n): ln 0 = -inf truncates to INT32_MIN, whose low byte is 0.
uint32_t LogByte(float scale, uint32_t n) { return Whole(scale * LnCount(n)) & 0xFFu; }

// ((R | 0xFFFFFF00) << 16) | G << 8 | B from unmasked channels: high bits spill upwards.
constexpr uint32_t OrPacked(uint32_t r, uint32_t g, uint32_t b) {
    return ((r | 0xFFFFFF00u) << 16) | (g << 8) | b;
}

// 0 below 0 (and for NaN), 255 above 255, else truncated.
template <class R>
uint32_t ClampByte(R v) {
    if (!(v >= R(0))) return 0;
    return v > R(255) ? 255u : static_cast<uint32_t>(v);
}

// An equation of one orbit and no state besides its parameters, from two functions: where the
// orbit starts for pixel (x, y), and the colour of its result.
template <class Orbit>
using StartOf = typename Orbit::State (*)(const IPixelEquation& e, uint32_t x, uint32_t y);
template <class Orbit>
using ColourOf = uint32_t (*)(const IPixelEquation& e, const Result<Orbit>& r);

template <class Orbit, StartOf<Orbit> kStart, ColourOf<Orbit> kColour>
class COrbitEquation final : public CEscapeTimeEquation<COrbitEquation<Orbit, kStart, kColour>> {
public:
    using CEscapeTimeEquation<COrbitEquation>::CEscapeTimeEquation;
    using Orbits = std::tuple<Orbit>;
    template <size_t>
    typename Orbit::State Start(uint32_t x, uint32_t y) const {
        return kStart(*this, x, y);
    }
    uint32_t Colour(uint32_t, uint32_t, const Result<Orbit>& r) const { return kColour(*this, r); }
};

// ---- 140 "Mandelbrot 1", 148 "Julia Sets 3": escape past 500 within 100 steps ----

using Orbit100 =
    QuadraticOrbit<float, Map::kSimultaneous, Bound::kAbove, 500, Counting::kLeavingStep, 100>;

// L = ln n: R = 256 L, G = 128 L, B = 100 n, each to its low byte (n = 0: R = G = 0).
uint32_t LogColour(uint32_t n) { return Rgb(LogByte(256.0f, n), LogByte(128.0f, n), 100u * n); }

Orbit100::State Mandelbrot1Start(const IPixelEquation& e, uint32_t x, uint32_t y) {
    return {0.0f, 0.0f, 3.1999998f / float(e.width) * float(x) - 2.3f,
            2.4f / float(e.height) * float(y) - 1.2f};
}
// Inside, n is the final |z|^2 truncated.
uint32_t Mandelbrot1Colour(const IPixelEquation&, const Result<Orbit100>& r) {
    return LogColour(r.left ? r.n : Whole(Orbit100::Magnitude(r.last)));
}
using CPixelMandelbrot1 = COrbitEquation<Orbit100, Mandelbrot1Start, Mandelbrot1Colour>;

Orbit100::State Julia3Start(const IPixelEquation& e, uint32_t x, uint32_t y) {
    return {3.0f / float(e.width) * float(x) - 1.5f, 3.0f / float(e.height) * float(y) - 1.5f,
            0.32f, 0.043f};
}
// Inside, n is 10 |z|^2 truncated.
uint32_t Julia3Colour(const IPixelEquation&, const Result<Orbit100>& r) {
    return LogColour(r.left ? r.n : Whole(10.0f * Orbit100::Magnitude(r.last)));
}
using CPixelJuliaSets3 = COrbitEquation<Orbit100, Julia3Start, Julia3Colour>;

// ---- 141 "Mandelbrot 2", 144 "Mandelbrot2-Kasten": a small window at 1/50000 a pixel ----

template <class R>
using Orbit1024 =
    QuadraticOrbit<R, Map::kSimultaneous, Bound::kAtLeast, 4, Counting::kLeavingStep, 1024>;

template <class R>
typename Orbit1024<R>::State Window50000(const IPixelEquation&, uint32_t x, uint32_t y) {
    return {0, 0, R(x) / R(50000) + R(0.34), R(y) / R(50000) + R(0.06)};
}

uint32_t Mandelbrot2Colour(const IPixelEquation&, const Result<Orbit1024<float>>& r) {
    return Rgb(r.n / 4, r.n / 2, r.n);
}
using CPixelMandelbrot2 = COrbitEquation<Orbit1024<float>, Window50000<float>, Mandelbrot2Colour>;

uint32_t Kasten2Colour(const IPixelEquation&, const Result<Orbit1024<double>>& r) {
    const uint32_t q = r.n / 4;
    return Rgb(std::min(q, 255u), std::min(2 * q, 255u), std::min(4 * q, 255u));
}
using CPixelMandelbrotKasten2 =
    COrbitEquation<Orbit1024<double>, Window50000<double>, Kasten2Colour>;

// ---- 143 "Mandelbrot-Kasten": 8e-9 a pixel, in double ----

using Orbit880 =
    QuadraticOrbit<double, Map::kSimultaneous, Bound::kAtLeast, 4, Counting::kLeavingStep, 880>;

Orbit880::State KastenStart(const IPixelEquation&, uint32_t x, uint32_t y) {
    return {0.0, 0.0, double(x) * 8e-9 + 0.356888, double(y) * 8e-9 - 0.645411};
}
// White below 80 steps, then t = (n - 80) / 800 as (t^3, t^0.7, t^0.5).
uint32_t KastenColour(const IPixelEquation&, const Result<Orbit880>& r) {
    if (r.n < 80) return kOpaqueWhite;
    const double t = double(r.n - 80) / 800.0;
    return Rgb(ClampByte(255.0 * (t * t * t)), ClampByte(255.0 * std::pow(t, 0.7)),
               ClampByte(255.0 * std::pow(t, 0.5)));
}
using CPixelMandelbrotKasten = COrbitEquation<Orbit880, KastenStart, KastenColour>;

// ---- 145 "Mandelbrot-Lehman": a deep zoom, up to 25600 steps ----

using Orbit25600 =
    QuadraticOrbit<float, Map::kSimultaneous, Bound::kNotBelow, 4, Counting::kLeavingStep, 25600>;

Orbit25600::State LehmanStart(const IPixelEquation&, uint32_t x, uint32_t y) {
    return {0.0f, 0.0f, (float(x) - 14680.0f) / 102400.0f, (float(y) - 89500.0f) / 102400.0f};
}
// R = G = 255 ln n / 10.15, B = 128 - n / 200, each clamped.
uint32_t LehmanColour(const IPixelEquation&, const Result<Orbit25600>& r) {
    const float level = LnCount(r.n) / 10.15f;
    const uint32_t rg = !(level >= 0.0f) ? 0u : level > 1.0f ? 255u : Whole(255.0f * level);
    return Rgb(rg, rg, ClampByte(128.0f - float(r.n) / 200.0f));
}
using CPixelMandelbrotLehman = COrbitEquation<Orbit25600, LehmanStart, LehmanColour>;

// ---- 142 "Mandelbrot-Martin": the steps that stay inside, three colourings ----

using Orbit256 =
    QuadraticOrbit<float, Map::kSimultaneous, Bound::kAbove, 4, Counting::kStepsInside, 256>;

Orbit256::State MartinStart(const IPixelEquation&, uint32_t x, uint32_t y) {
    return {0.0f, 0.0f, (float(x) - 768.0f) / 512.0f, (float(y) - 512.0f) / 512.0f};
}
// "Color Type" 0: ln n shades; 1: stepped bands; 2 and up (and anything else): grey n.
uint32_t MartinColour(const IPixelEquation& e, const Result<Orbit256>& r) {
    const uint32_t n = r.n;
    switch (TruncateInt(e.params[0])) {
        case 0: {
            const float l = LnCount(n);
            const uint32_t a = Whole(47.0f * l);
            return OrPacked(a, a, Whole(128.0f - 23.0f * l));
        }
        case 1:
            return OrPacked(n < 32 ? 8 * n : 0, n < 64 ? 4 * n : 0, n);
        default:
            return OrPacked(n, n, n);
    }
}
using CPixelMandelbrotMartin = COrbitEquation<Orbit256, MartinStart, MartinColour>;

// ---- 146 "Julia Sets 1", 147 "Julia Sets 2": several counts from the same start ----

template <Map kMap, Bound kBound, uint32_t kCap>
using JuliaOrbit = QuadraticOrbit<float, kMap, kBound, 4, Counting::kStartTested, kCap>;

// z = ((x - 512) / 512, (y - 512) / 512)
template <class Orbit>
typename Orbit::State JuliaStart(uint32_t x, uint32_t y, float cr, float ci) {
    return {(float(x) - 512.0f) / 512.0f, (float(y) - 512.0f) / 512.0f, cr, ci};
}

using JuliaRed = JuliaOrbit<Map::kSequential, Bound::kAtLeast, 200>;
using JuliaGreen = JuliaOrbit<Map::kSimultaneous, Bound::kAtLeast, 200>;
using JuliaBlue = JuliaOrbit<Map::kSimultaneous, Bound::kAtLeast, 600>;

class CPixelJuliaSets1 final : public CEscapeTimeEquation<CPixelJuliaSets1> {
public:
    using CEscapeTimeEquation::CEscapeTimeEquation;
    using Orbits = std::tuple<JuliaRed, JuliaGreen, JuliaBlue>;
    template <size_t I>
    auto Start(uint32_t x, uint32_t y) const {
        using Orbit = std::tuple_element_t<I, Orbits>;
        return I == 1 ? JuliaStart<Orbit>(x, y, -0.7f, 0.27015f)
                      : JuliaStart<Orbit>(x, y, 0.36237f, 0.32f);
    }
    uint32_t Colour(uint32_t, uint32_t, const Result<JuliaRed>& r, const Result<JuliaGreen>& g,
                    const Result<JuliaBlue>& b) const {
        return Rgb(LogByte(256.0f, r.n), LogByte(128.0f, g.n), LogByte(128.0f, b.n));
    }
};

using JuliaPair = JuliaOrbit<Map::kSimultaneous, Bound::kNotBelow, 200>;

class CPixelJuliaSets2 final : public CEscapeTimeEquation<CPixelJuliaSets2> {
public:
    using CEscapeTimeEquation::CEscapeTimeEquation;
    using Orbits = std::tuple<JuliaPair, JuliaPair>;
    // Orbit 0 with c = ("Green R", "Green K"), orbit 1 with ("Blue R", "Blue K").
    template <size_t I>
    JuliaPair::State Start(uint32_t x, uint32_t y) const {
        return JuliaStart<JuliaPair>(x, y, params[2 * I], params[2 * I + 1]);
    }
    // R = |(x XOR y)^3| in wrapping 32-bit arithmetic.
    uint32_t Colour(uint32_t x, uint32_t y, const Result<JuliaPair>& i,
                    const Result<JuliaPair>& j) const {
        const uint32_t v = x ^ y, cube = v * v * v;
        const uint32_t red = Signed(cube) < 0 ? 0u - cube : cube;
        return Rgb(red, LogByte(512.0f, i.n), LogByte(512.0f, j.n));
    }
};

// ---- 175 "Burning Ship" ----

using ShipOrbit =
    QuadraticOrbit<float, Map::kBurningShip, Bound::kAbove, 1000000, Counting::kStepsInside, 256>;

// The window of side 2 "Range" centred on ("Pos X", "Pos Y").
ShipOrbit::State ShipStart(const IPixelEquation& e, uint32_t x, uint32_t y) {
    const float r = 2.0f * e.params[2];
    return {0.0f, 0.0f, (float(x) / float(e.width) - 0.5f) * r + e.params[0],
            (float(y) / float(e.height) - 0.5f) * r + e.params[1]};
}
uint32_t GreyCount(const IPixelEquation&, const Result<ShipOrbit>& r) {
    return OrPacked(r.n, r.n, r.n);
}
using CPixelBurningShip = COrbitEquation<ShipOrbit, ShipStart, GreyCount>;

// ---- 174 "Thorn Fractal": u' = u / sin v + Cy, v' = v / cos u + Cx, in double ----

struct ThornOrbit : OrbitShape<double, 4, Counting::kStepsInside, 64> {
    enum Field { U, V, CX, CY };

    template <class T>
    static void Step(std::array<T, kFields>& s, uint32_t) {
        const T u = s[U], v = s[V];
        s[U] = u / lanes::Sin(v) + s[CY];
        s[V] = v / lanes::Cos(u) + s[CX];
    }
    template <class T>
    static auto Outside(const std::array<T, kFields>& s) {
        return s[U] * s[U] + s[V] * s[V] > 1e10;
    }
};

ThornOrbit::State ThornStart(const IPixelEquation& e, uint32_t x, uint32_t y) {
    constexpr double kPi = 3.1415927f, kTwoPi = 6.2831855f;  // the float constants, widened
    return {double(x) * kTwoPi / double(e.height) - kPi, double(y) * kTwoPi / double(e.width) - kPi,
            double(e.params[0]), double(e.params[1])};
}
// Grey 4n. On the centre row sin v is 0: u / 0 is infinite and leaves at once (black), except
// at the centre, where 0 / 0 is NaN, which never compares outside and runs to the cap.
uint32_t ThornColour(const IPixelEquation&, const Result<ThornOrbit>& r) {
    return OrPacked(4 * r.n, 4 * r.n, 4 * r.n);
}
using CPixelThornFractal = COrbitEquation<ThornOrbit, ThornStart, ThornColour>;

// ---- 169, 170 "Newton Fractal 1/2": 32 Newton steps towards a cube root of 1 ----

struct NewtonOrbit : OrbitShape<float, 2, Counting::kFixed, 32> {
    enum Field { ZR, ZI };

    // z' = 2z/3 + 1/(3 z^2), with |z^2|^2 kept from 0 by 2^-23.
    template <class T>
    static void Step(std::array<T, kFields>& s, uint32_t) {
        constexpr float kTwoThirds = 2.0f / 3.0f;
        const T zr = s[ZR], zi = s[ZI];
        const T e = zr * zr - zi * zi;
        T r = 3.0f * (4.0f * (zr * zr) * (zi * zi) + e * e);
        r = lanes::Abs(r) < kEpsilon ? kEpsilon : r;
        s[ZR] = e / r + kTwoThirds * zr;
        s[ZI] = kTwoThirds * zi - 2.0f * zr * zi / r;
    }
};

// The window ("Min X" .. "Max X") x ("Min Y" .. "Max Y") over the picture; its step sizes follow
// every parameter change.
template <ColourOf<NewtonOrbit> kColour>
class CNewtonFractal final : public CEscapeTimeEquation<CNewtonFractal<kColour>> {
public:
    using Orbits = std::tuple<NewtonOrbit>;
    explicit CNewtonFractal(const EquationInfo& info) : CEscapeTimeEquation<CNewtonFractal>(info) {
        ParamsChanged();
    }
    template <size_t>
    NewtonOrbit::State Start(uint32_t x, uint32_t y) const {
        return {float(x) * stepX_ + this->params[0], float(y) * stepY_ + this->params[2]};
    }
    uint32_t Colour(uint32_t, uint32_t, const Result<NewtonOrbit>& r) const {
        return kColour(*this, r);
    }

protected:
    void ParamsChanged() override {
        stepX_ = Step(this->params[0], this->params[1], this->width);
        stepY_ = Step(this->params[2], this->params[3], this->height);
    }

private:
    static float Step(float min, float max, uint32_t pixels) {
        return pixels > 1 ? (max - min) / float(pixels - 1) : 0.0f;
    }
    float stepX_ = 0.0f, stepY_ = 0.0f;
};

uint32_t Newton1Colour(const IPixelEquation&, const Result<NewtonOrbit>& r) {
    const float zr = r.last[NewtonOrbit::ZR], zi = r.last[NewtonOrbit::ZI];
    return Rgb(WeightByte((zr + 2.0f) / 4.0f), WeightByte((zi + 2.0f) / 4.0f), WeightByte(zr + zi));
}
// Where a logarithm or root is undefined (zr + 2 or zi + 2 not positive) the channel is 0.
uint32_t Newton2Colour(const IPixelEquation&, const Result<NewtonOrbit>& r) {
    const float zr = r.last[NewtonOrbit::ZR], zi = r.last[NewtonOrbit::ZI];
    return Rgb(WeightByte(std::log(zr + 2.0f)), WeightByte(std::sqrt((zi + 2.0f) / 4.0f)),
               WeightByte(std::log(zi + 2.0f)));
}
using CPixelNewtonFractal1 = CNewtonFractal<Newton1Colour>;
using CPixelNewtonFractal2 = CNewtonFractal<Newton2Colour>;

// ---- 151 "Lyapunov Fractal 1": the exponent of the logistic map with alternating rates ----

struct LyapunovOrbit : OrbitShape<float, 4, Counting::kFixed, 50> {
    enum Field { P, LAMBDA, RX, RY };

    // Steps 2 and 4 of every five use the row's rate, the others the column's.
    template <class T>
    static void Step(std::array<T, kFields>& s, uint32_t i) {
        const T r = (i % 5 == 2 || i % 5 == 4) ? s[RY] : s[RX];
        s[P] = r * s[P] * (1.0f - s[P]);
        s[LAMBDA] = s[LAMBDA] + lanes::LogF(lanes::Abs(r - 2.0f * r * s[P]));
    }
};

LyapunovOrbit::State LyapunovStart(const IPixelEquation&, uint32_t x, uint32_t y) {
    return {0.5f, 0.0f, 2.0f * float(x) / 1024.0f + 2.0f, 2.0f * float(y) / 1024.0f + 2.0f};
}
// In column 0 the rate 2 keeps p at 1/2, so ln |2 - 2 * 2 * 1/2| = ln 0 makes the exponent
// -inf: R and B saturate and G is 0 (magenta). A NaN channel is 0.
uint32_t LyapunovColour(const IPixelEquation&, const Result<LyapunovOrbit>& r) {
    const float lambda = r.last[LyapunovOrbit::LAMBDA], p = r.last[LyapunovOrbit::P];
    return Rgb(ClampByte(1.5f * std::fabs(lambda)), lambda > 0.0f ? ClampByte(1.45f * lambda) : 0u,
               ClampByte(1.25f * std::fabs(p * lambda)));
}
using CPixelLyapunovFractal1 = COrbitEquation<LyapunovOrbit, LyapunovStart, LyapunovColour>;

constexpr EquationClass kClasses[] = {
    {"CPixelMandelbrot1", CreatePixelEquation<CPixelMandelbrot1>},
    {"CPixelMandelbrot2", CreatePixelEquation<CPixelMandelbrot2>},
    {"CPixelMandelbrotMartin", CreatePixelEquation<CPixelMandelbrotMartin>},
    {"CPixelMandelbrotKasten", CreatePixelEquation<CPixelMandelbrotKasten>},
    {"CPixelMandelbrotKasten2", CreatePixelEquation<CPixelMandelbrotKasten2>},
    {"CPixelMandelbrotLehman", CreatePixelEquation<CPixelMandelbrotLehman>},
    {"CPixelJuliaSets1", CreatePixelEquation<CPixelJuliaSets1>},
    {"CPixelJuliaSets2", CreatePixelEquation<CPixelJuliaSets2>},
    {"CPixelJuliaSets3", CreatePixelEquation<CPixelJuliaSets3>},
    {"CPixelLyapunovFractal1", CreatePixelEquation<CPixelLyapunovFractal1>},
    {"CPixelNewtonFractal1", CreatePixelEquation<CPixelNewtonFractal1>},
    {"CPixelNewtonFractal2", CreatePixelEquation<CPixelNewtonFractal2>},
    {"CPixelThornFractal", CreatePixelEquation<CPixelThornFractal>},
    {"CPixelBurningShip", CreatePixelEquation<CPixelBurningShip>},
};

}  // namespace

EquationClassTable EscapeTimeEquations() { return kClasses; }

}  // namespace luneth
