// Shared helpers of the equation tests: building one equation, counting and hashing pictures.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "equations/EquationCatalogue.h"

namespace luneth::test {

// The equation at a catalogue index; the test fails when it is not built.
std::unique_ptr<IPixelEquation> MakeEquation(uint32_t index);

// The whole picture as the image object computes it (a fresh image object's random stream),
// on `threads` threads.
std::vector<uint32_t> RenderPicture(IPixelEquation& e, int threads);

// FNV-1a (64-bit) over every pixel word of RenderPicture, rows from y = 0.
uint64_t PictureChecksum(IPixelEquation& e, int threads = 3);

// The number of pixels whose colour satisfies `pred`.
uint64_t CountPixels(IPixelEquation& e, const std::function<bool(uint32_t)>& pred);

}  // namespace luneth::test
