// Rectangles of equation pictures: independent pixels (plain and in lanes), accumulated
// pictures and pixels that must be asked in order all give the pixels of the whole picture.
#include <gtest/gtest.h>

#include "equations/EquationRenderer.h"
#include "equations/EquationTestUtil.h"
#include "functions/RandomTexture.h"

using namespace luneth;

TEST(EquationRegion, ARectangleHoldsThePixelsOfTheWholePicture) {
    // Color RGB, Mandelbrot 1 (lanes), Sierpinski Pentagon and Triangle Map (accumulated),
    // Cellular Automata 1 (in order).
    for (uint32_t index : {1u, 140u, 159u, 160u, 171u}) {
        auto whole = test::MakeEquation(index);
        const std::vector<uint32_t> full = test::RenderPicture(*whole, 2);
        const uint32_t w = whole->width, h = whole->height;
        for (const PixelRect& r : {PixelRect{w - 70, h - 9, 70, 9}, PixelRect{3, 5, 1, 1}}) {
            auto part = test::MakeEquation(index);  // accumulates afresh
            std::vector<uint32_t> texels(size_t(r.width) * r.height);
            RandomStream random = texture::StreamAfterFill();
            EquationContext context{random};
            ASSERT_TRUE(RenderEquation(*part, context, texels.data(), r.width, 3, r));
            for (uint32_t y = 0; y < r.height; ++y)
                for (uint32_t x = 0; x < r.width; ++x)
                    ASSERT_EQ(texels[size_t(y) * r.width + x], full[size_t(r.y + y) * w + r.x + x])
                        << "equation " << index << " at " << r.x + x << "," << r.y + y;
        }
        RandomStream random = texture::StreamAfterFill();
        EquationContext context{random};
        uint32_t texel = 0;
        EXPECT_FALSE(RenderEquation(*whole, context, &texel, 2, 1, PixelRect{w - 1, 0, 2, 1}));
    }
}
