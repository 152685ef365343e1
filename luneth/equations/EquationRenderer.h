// The one place that computes an equation's whole picture.
//
//   RenderEquation(equation, context, texels, pitchWords, threads)
//       Prepares the equation once on the calling thread (with context.random bound there),
//       then fills width x height texels, row y at texels + y * pitchWords. Equations with
//       independent pixels compute their rows through ComputeRow on up to `threads` threads
//       (the same texels for any count); the others are asked GetPixel row by row from (0, 0)
//       on the calling thread. False, writing nothing, for a size of 0. With context.control
//       it reports the rows done and stops at a cancel request (false, the texels unfinished).
#pragma once

#include <cstddef>
#include <cstdint>

#include "equations/PixelEquation.h"

namespace luneth {

bool RenderEquation(IPixelEquation& equation, EquationContext& context, uint32_t* texels,
                    size_t pitchWords, int threads);

}  // namespace luneth
