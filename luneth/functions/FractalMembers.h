// The fractal functions, shared between their three source files and the registration table.
//
//   FractalEscape.cpp   escape-time counts and distance estimates of complex maps
//   FractalNewton.cpp   Newton-type root finders (convergence counts)
//   FractalFold.cpp     3-D maps, folds, orbit traps and other orbit measures
//   Fractals.cpp        the registration table, in registration order
//
// Every member is kind 9: the point first (x, y and for 3-D members z), then the member's
// constants, the iteration count last. A count below 1 or missing selects the member's default.
// All loops are bounded by the count, so NaN or infinite arguments end after at most that many
// steps; orbit measures that overflow are reported as +-3.4028235e38 (NaN as 0), never as
// infinities or NaNs.
#pragma once

#include <cmath>

#include "common/FloatConstants.h"
#include "functions/VariadicArgs.h"
#include "functions/VectorMath.h"

namespace luneth::fractal {

// Iterates `step` on `state` at most n times; returns the number (1 .. n) of the first step
// after which `stop(state)` holds, or 0 when it never does.
template <class State, class Step, class Stop>
inline int FirstStop(State& state, int n, Step step, Stop stop) {
    for (int k = 0; k < n; ++k) {
        step(state);
        if (stop(state)) return k + 1;
    }
    return 0;
}

// "While the count is below n and inside(state): step, count += 1": the number of steps taken
// (0 when the start is already outside, n when the orbit never leaves).
template <class State, class Step, class Inside>
inline int CountWhile(State& state, int n, Step step, Inside inside) {
    if (!inside(state)) return 0;
    int k = FirstStop(state, n, step, [&inside](const State& s) { return !inside(s); });
    return k ? k : n;
}

// An orbit measure as a finite number: NaN gives 0, infinities the largest float.
inline float FiniteOr(float v) {
    if (std::isnan(v)) return 0.0f;
    if (std::isinf(v)) return v > 0.0f ? kBig : -kBig;
    return v;
}

// sqrt(|z|^2 / g) * ln |z|^2: the distance estimate shared by the Julia-type members.
inline float DistanceEstimate(float norm, float derivativeNorm) {
    return FiniteOr(std::sqrt(norm / derivativeNorm) * std::log(norm));
}

#define LUNETH_FRACTAL(name) float name(const float* args, int count)

// FractalEscape.cpp
LUNETH_FRACTAL(Mandelbrot);
LUNETH_FRACTAL(MandelbrotCenter);
LUNETH_FRACTAL(MandelbrotDistance);
LUNETH_FRACTAL(MandelbrotEx);
LUNETH_FRACTAL(MandelbrotPower);
LUNETH_FRACTAL(JuliaSets);
LUNETH_FRACTAL(JuliaInvSets);
LUNETH_FRACTAL(JuliaLevel);
LUNETH_FRACTAL(JuliaDistance);
LUNETH_FRACTAL(SinJulia);
LUNETH_FRACTAL(Burnship);
LUNETH_FRACTAL(BurningShip);
LUNETH_FRACTAL(Phoenix);
LUNETH_FRACTAL(Phoenix2);
LUNETH_FRACTAL(Thorn);
LUNETH_FRACTAL(Exponential);
LUNETH_FRACTAL(Grinning);
LUNETH_FRACTAL(CmpxDuck);
LUNETH_FRACTAL(CmpxVine);
LUNETH_FRACTAL(CmpxCactus);
LUNETH_FRACTAL(CmpxSinJulia);
LUNETH_FRACTAL(CmpxCrown);
LUNETH_FRACTAL(CmpxPower);
LUNETH_FRACTAL(CmpxAiekick);
LUNETH_FRACTAL(CmpxButterfly);
LUNETH_FRACTAL(CmpxBinocular);

// FractalNewton.cpp
LUNETH_FRACTAL(Newton);
LUNETH_FRACTAL(CmpxNewton);
LUNETH_FRACTAL(CmpxNewtonPow6);
LUNETH_FRACTAL(CmpxNewtonPow8);
LUNETH_FRACTAL(CmpxNewtonSin);
LUNETH_FRACTAL(CmpxNewtonEx);
LUNETH_FRACTAL(CmpxNewtonExp);
LUNETH_FRACTAL(CmpxLemon);

// FractalFold.cpp
LUNETH_FRACTAL(HierarchySphere);
LUNETH_FRACTAL(HierarchySquare);
LUNETH_FRACTAL(Madrugada);
LUNETH_FRACTAL(Bedouin);
LUNETH_FRACTAL(Manda);
LUNETH_FRACTAL(HolyGrail);
LUNETH_FRACTAL(SierpinskiCarpet);
LUNETH_FRACTAL(Lyapunov);
LUNETH_FRACTAL(Mandelbulb);
LUNETH_FRACTAL(Mandelbrot3dA);
LUNETH_FRACTAL(Mandelbrot3dB);
LUNETH_FRACTAL(PatternA);
LUNETH_FRACTAL(PatternB);
LUNETH_FRACTAL(JuliaTraps);
LUNETH_FRACTAL(JuliaInvTraps);
LUNETH_FRACTAL(JuliaQuaternion);
LUNETH_FRACTAL(Juliasbulb);
LUNETH_FRACTAL(KaliSet);
LUNETH_FRACTAL(KaliIteration);
LUNETH_FRACTAL(Field);
LUNETH_FRACTAL(Magic);
LUNETH_FRACTAL(Anxiety);
LUNETH_FRACTAL(Orbiting);
LUNETH_FRACTAL(Flowers);

#undef LUNETH_FRACTAL

}  // namespace luneth::fractal
