// Scripts on a host's pixel grid: another size, rectangles with the bits of the whole render,
// refusals, defines before the first line and the memory budget.
#include "script/ScriptTestUtil.h"

using luneth::CMathScript;
using luneth::PictureGrid;
using luneth::test::Contains;
using luneth::test::Elements;
using luneth::test::RunText;

namespace {

// Uneven sizes and ranges, a loop block, a repeated line, user variables and a gap list.
const std::string kScripts[] = {
    "pixels = width:37 height:23\nx = from -1.3 to 2.9 W\ny = from (2 * PI) to -0.7 H\n"
    "r = sin(x * 7.1) * cos(y * 3.3)\ng = x * y\nb = smoothstep(0, 1, x - y)",
    "pixels = W:19 H:31\nx = from 0 to 1 W gap(0.5)\ny = from -2 to 2 H\n[LOOP START: 3]\n"
    "Acc = Acc + x * loop - y\nLOOP END]\nr = Acc\ng = y\ng = [loop: 4] g * 0.5 + y\n"
    "b = perlin_noise_2d(x * 4, y * 4) * clamp(x - y, 0, 1)",
};

// The letters r, g, b of `text` run on `grid`.
std::vector<std::vector<float>> Channels(const std::string& text, const PictureGrid& grid) {
    CMathScript script;
    script.SetPictureGrid(grid);
    EXPECT_TRUE(RunText(script, text)) << script.Messages();
    return {Elements(*script.Letter('r')), Elements(*script.Letter('g')),
            Elements(*script.Letter('b'))};
}

}  // namespace

TEST(PictureGrid, RectanglesHoldTheBitsOfTheWholePicture) {
    for (const std::string& text : kScripts) {
        for (uint32_t w : {0u, 53u}) {  // the script's own size, another one
            CMathScript whole;
            whole.SetPictureGrid({w, w ? 41u : 0u});
            ASSERT_TRUE(RunText(whole, text));
            const uint32_t fw = whole.Width(), fh = whole.Height();
            ASSERT_EQ(whole.FullWidth(), fw);
            // Corners, a single pixel, a full-width band, the whole picture as a rectangle.
            const uint32_t rects[][4] = {
                {0, 0, 5, 4}, {fw - 3, fh - 2, 3, 2}, {7, 9, 1, 1}, {0, 5, fw, 3}, {0, 0, fw, fh}};
            for (const auto& r : rects) {
                auto part = Channels(text, {w, w ? 41u : 0u, r[0], r[1], r[2], r[3]});
                for (int c = 0; c < 3; ++c) {
                    const auto full = Elements(*whole.Letter("rgb"[c]));
                    ASSERT_EQ(part[size_t(c)].size(), size_t(r[2]) * r[3]) << text << " " << c;
                    for (uint32_t y = 0; y < r[3]; ++y)
                        for (uint32_t x = 0; x < r[2]; ++x)
                            ASSERT_EQ(std::memcmp(&part[size_t(c)][y * r[2] + x],
                                                  &full[(r[1] + y) * fw + r[0] + x], 4),
                                      0)
                                << text << "\nchannel " << c << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(PictureGrid, RefusalsNameWhatCannotBeCut) {
    const struct {
        std::string text;
        PictureGrid grid;
        const char* message;
    } cases[] = {
        {"pixels = width:8 height:8\nx = from 0 to 1 W\nr = x / array_max(x)",
         {0, 0, 0, 0, 4, 4},
         "'array_max' works on whole arrays"},
        {"pixels = width:8 height:8\nr = array_move_right(x, 1)",
         {0, 0, 2, 2, 4, 4},
         "'array_move_right' works on whole arrays"},
        {"pixels = width:8 height:8\nr = rand_int(4) # noise",
         {0, 0, 1, 1, 2, 2},
         "'rand_int' draws random numbers"},
        {"pixels = width:8 height:8\nr = 1", {0, 0, 5, 0, 4, 4}, "lies outside the 8 x 8 picture"},
        {"pixels = width:8 height:8\nr = 1",
         {16, 16, 13, 13, 4, 4},
         "lies outside the 16 x 16 picture"},
        {"vertices = 8\nr = 1", {0, 0, 0, 0, 4, 4}, "needs a grid"},
        {"vertices = 8\nr = 1", {4, 4}, "needs a grid"},
    };
    for (const auto& c : cases) {
        CMathScript script;
        script.SetPictureGrid(c.grid);
        EXPECT_FALSE(RunText(script, c.text)) << c.text;
        EXPECT_TRUE(Contains(script.DiagnosticsText().c_str(), c.message))
            << c.text << "\n"
            << script.DiagnosticsText();
        EXPECT_EQ(script.ElementCount(), 0u);
    }
    // A function only in a comment is no call.
    CMathScript commented;
    commented.SetPictureGrid({0, 0, 0, 0, 2, 2});
    EXPECT_TRUE(RunText(commented, "pixels = width:4 height:4\n# array_max(x)\nr = 1"));
}

TEST(PictureGrid, DefinesComeBeforeTheFirstLine) {
    CMathScript script;
    script.SetDefines({{"t", 0.25f}, {"Speed", 3.0f}});
    // A directive reads the letter, an expression the user variable; a line may still assign.
    ASSERT_TRUE(RunText(script,
                        "pixels = width:4 height:1\nx = from 0 to (t * 4) W\nr = x * Speed\n"
                        "Speed = 5\ng = Speed"));
    EXPECT_EQ(Elements(*script.Letter('r')), (std::vector<float>{0, 1, 2, 3}));
    EXPECT_EQ(script.Letter('g')->scalar, 5.0f);
    EXPECT_TRUE(script.Rerun());  // defines stay across runs
    EXPECT_EQ(Elements(*script.Letter('r')), (std::vector<float>{0, 1, 2, 3}));
    EXPECT_STREQ(script.Messages(), "");
}

TEST(PictureGrid, TheMemoryBudgetRefusesACountBeforeItsArrays) {
    const std::string text =
        "pixels = width:512 height:512\nx = from 0 to 1 W\ny = from 0 to 1 H\nr = x\ng = y\n";
    CMathScript script;
    script.SetMemoryBudget(4u << 20);  // 4 arrays and 2 working ones need 6 MiB
    EXPECT_FALSE(RunText(script, text));
    EXPECT_TRUE(Contains(script.DiagnosticsText().c_str(),
                         "in 6 arrays need about 6 MiB, more than the memory budget of 4 MiB"))
        << script.DiagnosticsText();
    EXPECT_EQ(script.Letter('x')->count, 0u);
    script.SetMemoryBudget(8u << 20);
    EXPECT_TRUE(RunText(script, text));
    // A rectangle needs only its own arrays.
    script.SetMemoryBudget(1u << 20);
    script.SetPictureGrid({0, 0, 0, 0, 128, 128});
    EXPECT_TRUE(RunText(script, text));
}
