// The catalogue of built-in pixel equations.
//
// EquationCatalogue() lists every row (index 0 .. 194): display name, class, size and
// parameters. BuildEquationCatalogue creates one object per row whose class has been built, in
// index order, and stores it in the slot of its index; rows whose class is not built leave
// their slot empty. The result is the number of filled slots (the equation count). Slots from
// 195 to 511 always stay empty.
//
// Typical use (the image object, once at start-up):
//     EquationTable table;
//     int count = BuildEquationCatalogue(table);
//     IPixelEquation* e = table[50].get();      // "Taiji Yinyang", or nullptr when not built
#pragma once

#include <array>
#include <memory>
#include <span>

#include "equations/PixelEquation.h"

namespace luneth {

using EquationTable = std::array<std::unique_ptr<IPixelEquation>, kEquationSlotCount>;

// Every catalogue row, in index order (row i has index i).
std::span<const EquationInfo> EquationCatalogue();

// Fills `table` (any previous content is deleted first); returns the number of filled slots.
int BuildEquationCatalogue(EquationTable& table);

// One equation of the catalogue by index, or nullptr when the index is past the catalogue or
// its class is not built. Used by tools and tests that need a single equation.
std::unique_ptr<IPixelEquation> CreateEquation(uint32_t index);

}  // namespace luneth
