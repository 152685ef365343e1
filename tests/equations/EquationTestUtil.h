// Shared helpers of the equation tests: building one equation, counting and hashing pictures.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "equations/EquationCatalogue.h"

namespace luneth::test {

// The equation at a catalogue index; the test fails when it is not built.
std::unique_ptr<IPixelEquation> MakeEquation(uint32_t index);

// FNV-1a (64-bit) over every pixel word, rows from y = 0, as the image object computes them.
uint64_t PictureChecksum(IPixelEquation& e);

// The number of pixels whose colour satisfies `pred`.
uint64_t CountPixels(IPixelEquation& e, const std::function<bool(uint32_t)>& pred);

}  // namespace luneth::test
