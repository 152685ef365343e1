#include "equations/EquationRenderer.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "common/Parallel.h"

namespace luneth {

namespace {
// Rows are handed out in bands of about this many pixels: enough work per band to make the
// hand-out cheap, few enough bands to keep every thread busy to the end.
constexpr size_t kPixelsPerBand = 16384;
}  // namespace

bool RenderEquation(IPixelEquation& equation, EquationContext& context, uint32_t* texels,
                    size_t pitchWords, int threads, PixelRect rect) {
    const uint32_t width = equation.width, height = equation.height;
    if (width == 0 || height == 0 || !texels) return false;
    if (rect.IsEmpty()) rect = {0, 0, width, height};
    if (!rect.Inside(width, height)) return false;
    RandomBinding bind(context.random);
    EquationContext prepare = context;
    prepare.threads = threads;
    equation.Prepare(prepare);
    if (context.Cancelled()) return false;

    const uint32_t lastRow = rect.y + rect.height;
    if (!equation.HasIndependentPixels()) {
        std::vector<uint32_t> row(width);
        for (uint32_t y = 0; y < lastRow; ++y) {
            if (context.Cancelled()) return false;
            for (uint32_t x = 0; x < width; ++x) row[x] = equation.GetPixel(x, y);
            if (y >= rect.y)
                std::copy_n(row.begin() + rect.x, rect.width, texels + (y - rect.y) * pitchWords);
            context.Progress(y + 1, lastRow);
        }
        return true;
    }
    const IPixelEquation& prepared = equation;
    const uint32_t rowsPerBand = uint32_t(std::max<size_t>(1, kPixelsPerBand / rect.width));
    const size_t bands = (rect.height + rowsPerBand - 1) / rowsPerBand;
    std::atomic<uint32_t> rowsDone{0};
    ParallelFor(bands, ResolveThreadCount(threads), [&](size_t band) {
        if (context.Cancelled()) return;
        const uint32_t first = rect.y + uint32_t(band) * rowsPerBand;
        const uint32_t last = std::min(lastRow, first + rowsPerBand);
        for (uint32_t y = first; y < last; ++y)
            prepared.ComputeRow(y, rect.x, rect.width, texels + (y - rect.y) * pitchWords);
        context.Progress(rowsDone += last - first, rect.height);
    });
    return !context.Cancelled();
}

}  // namespace luneth
