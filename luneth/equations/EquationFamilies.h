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
EquationClassTable DragonEquations();
EquationClassTable CountColouredEquations();
EquationClassTable OrbitEquations();
EquationClassTable CanvasEquations();

// Hofstadter's Q-sequence, Q(0) = Q(1) = 1, from the module-wide memo table of "Vinyl";
// 0 for an index past the table.
int HofstadterQ(uint32_t i);

}  // namespace luneth
