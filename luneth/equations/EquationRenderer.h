// The one place that computes an equation's whole picture, or a rectangle of it.
//
//   RenderEquation(equation, context, texels, pitchWords, threads, rect)
//       Prepares the equation once on the calling thread (with context.random bound there),
//       then fills the texels of `rect` (the whole picture when it is empty), its row y at
//       texels + (y - rect.y) * pitchWords. Equations with independent pixels compute their
//       rows through ComputeRow on up to `threads` threads (the same texels for any count);
//       the others are asked GetPixel row by row from (0, 0) on the calling thread, every row
//       down to the rectangle's last, since each pixel may depend on the ones before it. False,
//       writing nothing, for a size of 0 or a rectangle outside the picture. With
//       context.control it reports the rows done and stops at a cancel request (false, the
//       texels unfinished).
#pragma once

#include <cstddef>
#include <cstdint>

#include "equations/PixelEquation.h"

namespace luneth {

// A rectangle of a picture; width or height 0 means the whole picture.
struct PixelRect {
    uint32_t x = 0;
    uint32_t y = 0;
    uint32_t width = 0;
    uint32_t height = 0;

    bool IsEmpty() const { return width == 0 || height == 0; }
    // Whether it lies inside a picture of w x h.
    bool Inside(uint32_t w, uint32_t h) const {
        return x < w && width <= w - x && y < h && height <= h - y;
    }
};

bool RenderEquation(IPixelEquation& equation, EquationContext& context, uint32_t* texels,
                    size_t pitchWords, int threads, PixelRect rect = {});

}  // namespace luneth
