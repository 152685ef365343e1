#include "equations/EquationRenderer.h"

#include <algorithm>

#include "common/Parallel.h"

namespace luneth {

namespace {
// Rows are handed out in bands of about this many pixels: enough work per band to make the
// hand-out cheap, few enough bands to keep every thread busy to the end.
constexpr size_t kPixelsPerBand = 16384;
}  // namespace

bool RenderEquation(IPixelEquation& equation, EquationContext& context, uint32_t* texels,
                    size_t pitchWords, int threads) {
    const uint32_t width = equation.width, height = equation.height;
    if (width == 0 || height == 0 || !texels) return false;
    RandomBinding bind(context.random);
    EquationContext prepare{context.random, threads};
    equation.Prepare(prepare);

    if (!equation.HasIndependentPixels()) {
        for (uint32_t y = 0; y < height; ++y) {
            uint32_t* row = texels + y * pitchWords;
            for (uint32_t x = 0; x < width; ++x) row[x] = equation.GetPixel(x, y);
        }
        return true;
    }
    const IPixelEquation& prepared = equation;
    const uint32_t rowsPerBand = uint32_t(std::max<size_t>(1, kPixelsPerBand / width));
    const size_t bands = (height + rowsPerBand - 1) / rowsPerBand;
    ParallelFor(bands, ResolveThreadCount(threads), [&](size_t band) {
        const uint32_t first = uint32_t(band) * rowsPerBand;
        const uint32_t last = std::min(height, first + rowsPerBand);
        for (uint32_t y = first; y < last; ++y)
            prepared.ComputeRow(y, 0, width, texels + y * pitchWords);
    });
    return true;
}

}  // namespace luneth
