// The equations' parameters as SetParam receives them from the panel or `luneth equation
// --param`: any index, any float (NaN, infinities, huge counts), then a small render: the
// equation's preparation, a few rows of pixels and pixels far outside the picture. Every
// filled slot of the catalogue takes its turn. Nothing may crash, read out of bounds or run
// on where a cancel can't stop it.
#include <algorithm>
#include <vector>

#include "FuzzSupport.h"
#include "equations/EquationCatalogue.h"
#include "module/LibraryStart.h"

namespace {
luneth::EquationTable* g_table = nullptr;
std::vector<uint32_t> g_filled;
fuzz::Deadline* g_deadline = nullptr;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    luneth::StartFunctionLibrary();
    g_table = new luneth::EquationTable;
    luneth::BuildEquationCatalogue(*g_table);
    for (uint32_t i = 0; i < luneth::kEquationSlotCount; ++i)
        if ((*g_table)[i]) g_filled.push_back(i);
    if (g_filled.empty()) std::abort();
    g_deadline = new fuzz::Deadline(std::chrono::milliseconds(2000));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Reader in{data, size};
    // A slot by its index (a regression input keeps naming its equation as the catalogue
    // grows); an empty slot gives the next filled one.
    const uint32_t wanted = in.Bytes(2) % luneth::kEquationSlotCount;
    auto slot = std::lower_bound(g_filled.begin(), g_filled.end(), wanted);
    luneth::IPixelEquation& e = *(*g_table)[slot == g_filled.end() ? g_filled[0] : *slot];
    e.ResetParams();
    for (int n = in.Byte() % 8; n > 0; --n) {
        uint32_t index = in.Byte() % 8;  // 6 and 7 are no parameter of any equation
        e.SetParam(index, in.Float());
    }
    if (e.width == 0 || e.height == 0) return 0;

    luneth::RandomStream random(in.Bytes(4));
    luneth::ComputeControl control;
    luneth::EquationContext context{random, &control};
    g_deadline->Start(&control);
    {
        luneth::RandomBinding bind(random);
        e.Prepare(context);
    }
    if (!control.Cancelled()) {
        uint32_t row[16];
        if (e.HasIndependentPixels()) {
            // Four rows across the picture, sixteen pixels each, and pixels anywhere, also far
            // outside it.
            for (uint32_t k = 0; k < 4; ++k) {
                uint32_t y = uint32_t(uint64_t(e.height - 1) * k / 3);
                uint32_t x0 = uint32_t(uint64_t(e.width > 16 ? e.width - 16 : 0) * k / 3);
                e.ComputeRow(y, x0, std::min<uint32_t>(16, e.width), row);
            }
            for (int k = 0; k < 3; ++k) {
                const uint32_t x = in.Bytes(4), y = in.Bytes(4);
                e.GetPixel(x, y);
            }
        } else {
            luneth::RandomBinding bind(random);
            for (uint32_t x = 0; x < std::min<uint32_t>(64, e.width); ++x)
                row[x % 16] = e.GetPixel(x, 0);
        }
    }
    g_deadline->Stop();
    return 0;
}
