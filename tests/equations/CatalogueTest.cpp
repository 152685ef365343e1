// The catalogue: rows, sizes, parameters, the built table and the parameter model.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "equations/EquationCatalogue.h"
#include "equations/EquationTestUtil.h"

namespace luneth {
namespace {

TEST(Catalogue, RowsAreTheFullCatalogueInIndexOrder) {
    const auto rows = EquationCatalogue();
    ASSERT_EQ(rows.size(), 195u);
    std::set<std::string> names, classes;
    for (uint32_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].index, i);
        ASSERT_NE(rows[i].name, nullptr);
        ASSERT_NE(rows[i].className, nullptr);
        EXPECT_EQ(std::strncmp(rows[i].className, "CPixel", 6), 0) << rows[i].className;
        names.insert(rows[i].name);
        classes.insert(rows[i].className);
    }
    EXPECT_EQ(names.size(), 195u);
    EXPECT_EQ(classes.size(), 195u);
    EXPECT_STREQ(rows[0].name, "Black");
    EXPECT_STREQ(rows[6].name, "And");
    EXPECT_STREQ(rows[59].className, "CPixelBlueSkyWhiteSun");
    EXPECT_STREQ(rows[133].name, "Vinyl");
    EXPECT_STREQ(rows[194].name, "Raycaster Sprite");
}

TEST(Catalogue, SizesOtherThanTheDefault) {
    struct Size {
        uint32_t index, width, height;
    };
    const Size sizes[] = {{13, 1000, 1000}, {15, 1000, 1000}, {16, 1024, 768}, {41, 1024, 768},
                          {38, 1024, 1024}, {40, 1024, 1024}, {140, 800, 600}, {148, 800, 600},
                          {59, 1680, 1120}, {60, 1680, 1120}, {183, 512, 512}, {185, 512, 512},
                          {172, 1024, 768}, {173, 1024, 512}, {0, 1024, 1024}, {194, 1024, 1024}};
    for (const Size& s : sizes) {
        EXPECT_EQ(EquationCatalogue()[s.index].width, s.width) << s.index;
        EXPECT_EQ(EquationCatalogue()[s.index].height, s.height) << s.index;
    }
    uint32_t other = 0;
    for (const EquationInfo& row : EquationCatalogue())
        other += (row.width != 1024 || row.height != 1024) ? 1 : 0;
    EXPECT_EQ(other, 3u + 24u + 2u + 2u + 2u + 2u);  // 13-15, shader ports, the rest
}

// Parameters of rows, written out independently of the table.
struct ParamFact {
    uint32_t index, param;
    const char* name;
    float min, max, step, initial, reset;
};
const ParamFact kParamFacts[] = {
    {16, 0, "Time", 0, 100000, 0.01f, 92.97f, 92.97f},
    {38, 1, "Z", -100, 100, 0.01f, 0, 0},
    {43, 0, "SeedX", 0, 1000, 0.001f, 0, 0.1f},
    {43, 1, "SeedY", 0, 1000, 0.001f, 0, 0.2f},
    {50, 0, "Radius 1", 0, 1024, 1, 480, 480},
    {50, 1, "Scale", 0, 1, 0.0005f, 0.15f, 0.15f},
    {54, 0, "Size", 64, 512, 1, 320, 320},
    {54, 1, "Width", 16, 256, 0.5f, 100, 100},
    {54, 2, "angle", 0, 360, 0.5f, 0, 0},
    {55, 2, "angle", 0, 360, 0.5f, 45, 45},
    {56, 0, "Width", 2, 32, 0.05f, 6, 6},
    {65, 0, "Point0 X", 0, 1023, 1, 512, 512},
    {65, 1, "Point0 Y", 0, 1023, 1, 0, 0},
    {65, 3, "Point1 Y", 0, 1023, 1, 1023, 1023},
    {65, 5, "Point2 Y", 0, 1023, 1, 1023, 1023},
    {68, 0, "N", 5, 32, 1, 5, 5},
    {69, 0, "N", 3, 32, 1, 5, 5},
    {69, 1, "Radius", 32, 512, 0.5f, 200, 200},
    {69, 2, "Height Scale", 0, 3.2f, 0.001f, 0.618f, 0.618f},
    {72, 0, "Wave Size", 0, 10000, 1, 8000, 8000},
    {79, 0, "Angle", 0, 12.566371f, 0.01f, 10, 10},
    {90, 0, "A", -2, 2, 0.00001f, -0.74543f, -0.74543f},
    {103, 3, "N", 100, 10000000, 1, 50000, 50000},
    {170, 0, "Min X", -10, 10, 0.001f, -1, -1},
    {170, 1, "Max X", -10, 10, 0.001f, 1, 1},
    {170, 2, "Min Y", -10, 10, 0.001f, -1, -1},
    {170, 3, "Max Y", -10, 10, 0.001f, 1, 1},
    {187, 3, "Scale", 0.1f, 10, 0.01f, 2, 2},
};

TEST(Catalogue, ParameterRows) {
    for (const ParamFact& f : kParamFacts) {
        const EquationParam& p = EquationCatalogue()[f.index].params[f.param];
        ASSERT_NE(p.name, nullptr) << f.index;
        EXPECT_STREQ(p.name, f.name) << f.index;
        EXPECT_EQ(p.min, f.min) << f.index << " " << f.name;
        EXPECT_EQ(p.max, f.max) << f.index << " " << f.name;
        EXPECT_EQ(p.step, f.step) << f.index << " " << f.name;
        EXPECT_EQ(p.initial, f.initial) << f.index << " " << f.name;
        EXPECT_EQ(p.reset, f.reset) << f.index << " " << f.name;
    }
    EXPECT_TRUE(EquationCatalogue()[40].params[1].keepOnReset);  // FFT_Domain "Type"
    uint32_t withParams = 0;
    for (const EquationInfo& row : EquationCatalogue()) withParams += row.ParamCount() ? 1 : 0;
    EXPECT_EQ(withParams, 67u);
    EXPECT_EQ(EquationCatalogue()[65].ParamCount(), 6u);
    EXPECT_EQ(EquationCatalogue()[0].ParamCount(), 0u);
}

TEST(Catalogue, BuildFillsTheBuiltSlotsOnly) {
    EquationTable table;
    const int count = BuildEquationCatalogue(table);
    int filled = 0;
    for (uint32_t i = 0; i < kEquationSlotCount; ++i) filled += table[i] ? 1 : 0;
    EXPECT_EQ(count, 195);  // the whole catalogue is built
    EXPECT_EQ(count, filled);
    for (uint32_t i = 0; i < 195; ++i) EXPECT_NE(table[i], nullptr) << i;
    for (uint32_t i = 195; i < kEquationSlotCount; ++i) EXPECT_EQ(table[i], nullptr) << i;
    // Building again replaces the objects and gives the same count.
    EXPECT_EQ(BuildEquationCatalogue(table), count);
    EXPECT_EQ(CreateEquation(195), nullptr);
}

// Every filled slot answers name, size, parameter names, ranges and defaults from its row.
TEST(Catalogue, FilledSlotsServeTheirRows) {
    EquationTable table;
    BuildEquationCatalogue(table);
    for (const EquationInfo& row : EquationCatalogue()) {
        IPixelEquation* e = table[row.index].get();
        if (!e) continue;
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(e->GetName(), row.name);
        EXPECT_EQ(e->width, row.width);
        EXPECT_EQ(e->height, row.height);
        const uint32_t n = row.ParamCount();
        for (uint32_t i = 0; i < 8; ++i) {
            float lo = 0, hi = 0, step = 0;
            e->GetParamRange(i, &lo, &hi, &step);
            if (i < n) {
                EXPECT_STREQ(e->GetParamName(i), row.params[i].name);
                EXPECT_EQ(e->params[i], row.params[i].initial);
                EXPECT_EQ(lo, row.params[i].min);
                EXPECT_EQ(hi, row.params[i].max);
                EXPECT_EQ(step, row.params[i].step);
            } else {
                EXPECT_EQ(e->GetParamName(i), nullptr);
                EXPECT_EQ(lo, -1.0f);
                EXPECT_EQ(hi, 1.0f);
                EXPECT_EQ(step, 0.001f);
                if (i < kEquationParamCount) {
                    EXPECT_EQ(e->params[i], 0.0f);
                }
            }
        }
        // Reset after scribbling over every index brings the named ones back, except those
        // kept on reset.
        for (uint32_t i = 0; i < kEquationParamCount; ++i) e->SetParam(i, 777.0f);
        e->ResetParams();
        for (uint32_t i = 0; i < n; ++i)
            EXPECT_EQ(e->params[i], row.params[i].keepOnReset ? 777.0f : row.params[i].reset);
    }
}

TEST(Catalogue, SetParamAcceptsNamedIndicesOnly) {
    auto taiji = test::MakeEquation(50);  // "Radius 1", "Scale"
    taiji->SetParam(0, 300.0f);
    taiji->SetParam(1, 5.0f);  // outside the range: stored as given
    taiji->SetParam(2, 9.0f);
    taiji->SetParam(6, 9.0f);
    taiji->SetParam(0xFFFFFFFF, 9.0f);
    EXPECT_EQ(taiji->params[0], 300.0f);
    EXPECT_EQ(taiji->params[1], 5.0f);
    EXPECT_EQ(taiji->params[2], 0.0f);
    taiji->ResetParams();
    EXPECT_EQ(taiji->params[0], 480.0f);
    EXPECT_EQ(taiji->params[1], 0.15f);

    // Without parameters the base behaviour stores any index below 6 and reset does nothing.
    auto black = test::MakeEquation(0);
    black->SetParam(3, 7.0f);
    black->SetParam(6, 7.0f);
    EXPECT_EQ(black->params[3], 7.0f);
    black->ResetParams();
    EXPECT_EQ(black->params[3], 7.0f);
    float lo = 0, hi = 0, step = 0;
    black->GetParamRange(0, &lo, &hi, &step);
    EXPECT_EQ(lo, -1.0f);
    black->GetParamRange(0, nullptr, nullptr, nullptr);  // tolerated
}

}  // namespace
}  // namespace luneth
