// The equation families and the classes each one builds.
//
// Every family lives in one file of this folder: its classes first, then one table of
// {class name, factory} entries at the end of the file, returned by the accessor declared here.
// The catalogue (EquationCatalogue.cpp) names the class of every row; a row is filled when one
// of the families listed in kEquationFamilies there provides a class of that name.
//
// To add a family: copy BitPatternEquations.cpp (CPixelAnd is the simplest class), declare its
// accessor below, and list the accessor in kEquationFamilies. Names, sizes and parameters are
// already in the catalogue table; nothing else changes.
#pragma once

#include <memory>
#include <new>
#include <span>

#include "equations/PixelEquation.h"

namespace luneth {

using EquationFactory = std::unique_ptr<IPixelEquation> (*)(const EquationInfo& info);

struct EquationClass {
    const char* className;
    EquationFactory create;
};

using EquationClassTable = std::span<const EquationClass>;

// The factory of class T; nullptr when memory can't be had.
template <typename T>
std::unique_ptr<IPixelEquation> CreatePixelEquation(const EquationInfo& info) {
    return std::unique_ptr<IPixelEquation>(new (std::nothrow) T(info));
}

EquationClassTable BitPatternEquations();  // indices 0-15: bit tricks and coordinate formulas
EquationClassTable EmblemEquations();      // taiji, svastikas, Go board, flags, stars, triangle
EquationClassTable ClosedFormEquations();  // one-formula pictures: hole, Hilbert, Vinyl ...
EquationClassTable EscapeTimeEquations();  // Mandelbrot, Julia, Newton, Lyapunov, Thorn, Ship
EquationClassTable SierpinskiEquations();  // carpets, triangles, chaos games: 153-160
EquationClassTable CellularAutomatonEquations();  // elementary automata: 171-173

EquationClassTable RandomPictureEquations();  // random formulas, cat map, random maps, hash
EquationClassTable ClothEquations();          // woven lattice, gingham, tartan
EquationClassTable StripeEquations();         // straight, bent, blurred, zebra, forked stripes
EquationClassTable SpiralEquations();         // spirals, swirled stars, rosette, rings, tunnel
EquationClassTable PatternEquations();        // target, lasers, Voronoi, chessboard, shards
EquationClassTable ShaderEquations();      // indices 16-41: pictures written like shaders

// Schwefel and the "Cool" optimiser landscapes.
EquationClassTable TestFunctionEquations();
// Waves in a tank, a glass ball, flow past a wing, the devil's curve.
EquationClassTable FieldEquations();
// Illustrated scenes: a smiling face, a pencil, a Christmas tree, a starry night, a game.
EquationClassTable SceneEquations();
// Random brush strokes, a random composition, the planets' rose.
EquationClassTable PainterEquations();
// Ray-traced balls on a floor, a maze with sprites.
EquationClassTable RaycasterEquations();
// The Mandelbulbs and a Lyapunov fractal.
EquationClassTable IteratedMapEquations();
EquationClassTable DragonEquations();
EquationClassTable CountColouredEquations();
EquationClassTable OrbitEquations();
EquationClassTable CanvasEquations();

// Hofstadter's Q-sequence, Q(0) = Q(1) = 1, from the module-wide memo table of "Vinyl";
// 0 for an index past the table.
int HofstadterQ(uint32_t i);

// The number at (dx, dy) (y up) on the Ulam spiral of "Cameron 1": 1 at the centre, 2 to its
// right, then counter-clockwise ring by ring; ring k ends with (2k + 1)^2 at its lower right.
uint64_t UlamNumber(int64_t dx, int64_t dy);

}  // namespace luneth
