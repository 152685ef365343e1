#include "equations/EquationTestUtil.h"

#include <gtest/gtest.h>

#include "equations/EquationRenderer.h"
#include "functions/RandomTexture.h"

namespace luneth::test {

std::unique_ptr<IPixelEquation> MakeEquation(uint32_t index) {
    auto e = CreateEquation(index);
    EXPECT_NE(e, nullptr) << "equation " << index << " is not built";
    return e;
}

std::vector<uint32_t> RenderPicture(IPixelEquation& e, int threads) {
    std::vector<uint32_t> texels(size_t(e.width) * e.height);
    RandomStream random = texture::StreamAfterFill();
    EquationContext context{random};
    RenderEquation(e, context, texels.data(), e.width, threads);
    return texels;
}

uint64_t PictureChecksum(IPixelEquation& e, int threads) {
    uint64_t h = 0xCBF29CE484222325ull;
    for (const uint32_t c : RenderPicture(e, threads)) {
        {
            for (int shift = 0; shift < 32; shift += 8) {
                h ^= (c >> shift) & 0xFF;
                h *= 0x100000001B3ull;
            }
        }
    }
    return h;
}

uint64_t CountPixels(IPixelEquation& e, const std::function<bool(uint32_t)>& pred) {
    uint64_t n = 0;
    for (uint32_t y = 0; y < e.height; ++y)
        for (uint32_t x = 0; x < e.width; ++x) n += pred(e.GetPixel(x, y)) ? 1 : 0;
    return n;
}

}  // namespace luneth::test
