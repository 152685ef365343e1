// The colour group: its names and order, colour words, palettes, polynomial and table maps,
// ramps, HSV, coloured noise, biomes and plates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

#include "BuiltinCall.h"
#include "common/ColorWord.h"
#include "common/FloatConstants.h"
#include "script/MathScript.h"

using namespace luneth;
using luneth::test::Builtin;
using luneth::test::Call;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

uint32_t Word(const char* name, std::initializer_list<float> args) {
    return BitsFromFloat(Call(name, args));
}
int Channel(uint32_t word, int shift) { return static_cast<int>(word >> shift & 0xFF); }

// ---- the group ----------------------------------------------------------------------------------

struct Named {
    const char* name;
    uint32_t kind;
};

// The group in registration order, kind by kind.
std::vector<Named> ColourGroupOrder() {
    const std::vector<std::vector<const char*>> byKind = {
        {"parse_red",        "parse_green",        "parse_blue",
         "parse_alpha",      "palette_iq01",       "palette_iq02",
         "palette_iq03",     "palette_iq04",       "palette_iq05",
         "palette_iq06",     "palette_iq07",       "quintic_viridis",
         "quintic_inferno",  "quintic_magma",      "quintic_plasma",
         "LUT_BlackBdy",     "LUT_Cardiac",        "LUT_Flow",
         "LUT_GE",           "LUT_Gold",           "LUT_HotIron",
         "LUT_NIH",          "LUT_Fire",           "LUT_Ice",
         "LUT_Rainramp",     "LUT_Spectrum",       "LUT_XHot",
         "LUT_XRain",        "pseudo_frozen",      "pseudo_snow",
         "pseudo_sky",       "pseudo_lava",        "pseudo_fire",
         "pseudo_flame",     "pseudo_pyroclastic", "pseudo_terrain",
         "pseudo_rainbow",   "pseudo_hot_metal",   "pseudo_zxlove",
         "pseudo_blackbody", "pseudo_temperature", "pseudo_color",
         "pseudo_gt_hue",    "pseudo_gt_tech",     "pseudo_gt_fire",
         "pseudo_gt_sky",    "pseudo_gt_desert",   "pseudo_gt_electric",
         "pseudo_gt_neon",   "pseudo_gt_heatmap",  "pseudo_gt_rainbow",
         "hueToRGB",         "h_hash13_color",     "h_noise13_color",
         "h_fbm13_color",    "get_biome_color",    "distance_color"},
        {"h_hash23_color", "h_noise23_color", "h_fbm23_color"},
        {"hsv_r", "hsv_g", "hsv_b", "hsv2rgb", "cos_palette", "iquilezles_noise3_color",
         "h_hash33_color", "h_noise33_color", "h_fbm33_color", "plate_center_dis",
         "plate_border_dis", "plate_center_color", "plate_border_color", "terrain_biome_color",
         "terrain_biome_x_color", "geoeco_atm_color"},
        {"pseudo_sin", "pseudo_sin_ex", "planet_biome_color", "planet_biome_x_color",
         "planet_biome_ltm_color", "planet_geoeco_color", "planet_geoeco_x_color",
         "terrain_geoeco_color", "terrain_geoeco_x_color"},
    };
    std::vector<Named> order;
    for (uint32_t k = 0; k < byKind.size(); ++k)
        for (const char* name : byKind[k]) order.push_back({name, 5 + k});
    return order;
}
const std::vector<Named> kColourGroup = ColourGroupOrder();

TEST(ColourGroup, RegistersItsNamesInOrderAfterTheCoreGroup) {
    ASSERT_EQ(kColourGroup.size(), 85u);
    test::EnsureLibraryGroups();
    const uint32_t first = LookupFunction(kColourGroup[0].name);
    EXPECT_GE(first, 341u);
    EXPECT_EQ(LookupFunction("sdCircle2D"), first + 85) << "the distance group follows";
    for (uint32_t i = 0; i < kColourGroup.size(); ++i) {
        EXPECT_EQ(LookupFunction(kColourGroup[i].name), first + i) << kColourGroup[i].name;
        const FunctionRecord* r = GetFunctionRecord(first + i);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->kind, kColourGroup[i].kind) << kColourGroup[i].name;
    }
}

// Every producer, at every awkward input, gives a word that is not a NaN pattern; the plain
// producers give alpha 0xFE (the biome, plate and atmosphere words carry their own alpha).
TEST(ColourGroup, NoInputGivesANaNWord) {
    const float inputs[] = {0.0f, 0.5f, 1.0f, -0.7f, 3.5f, kNaN, kInf, -kInf, 3e9f, -1e30f};
    const char* plain[] = {
        "parse_red", "parse_green", "parse_blue",  "parse_alpha",      "hsv_r",
        "hsv_g",     "hsv_b",       "cos_palette", "plate_center_dis", "plate_border_dis"};
    for (const Named& n : kColourGroup) {
        bool isPlain = false;
        for (const char* p : plain) isPlain |= std::strcmp(p, n.name) == 0;
        const bool ownAlpha = std::strstr(n.name, "biome") || std::strstr(n.name, "geoeco") ||
                              std::strstr(n.name, "plate");
        if (isPlain) continue;
        for (float v : inputs) {
            const float a = n.kind >= 6 ? 0.3f : v;  // one awkward argument at a time
            float result;
            switch (n.kind) {
                case 5:
                    result = Call(n.name, {v});
                    break;
                case 6:
                    result = Call(n.name, {a, v});
                    break;
                case 7:
                    result = Call(n.name, {v, a, a});
                    break;
                default:
                    result = Call(n.name, {v, a, a, a});
                    break;
            }
            const uint32_t bits = BitsFromFloat(result);
            EXPECT_FALSE(std::isnan(result)) << n.name << "(" << v << ")";
            if (ownAlpha) {
                EXPECT_EQ(bits & 1u << 24, 0u) << n.name << "(" << v << ")";
            } else {
                EXPECT_EQ(bits >> 24, 0xFEu) << n.name << "(" << v << ")";
            }
        }
    }
}

// ---- colour words -------------------------------------------------------------------------------

TEST(ColourWords, ChannelsTruncateAndClamp) {
    // hsv2rgb(h, 0, v) is the grey (v, v, v): a window on the channel conversion.
    const struct {
        float v;
        uint32_t byte;
    } cases[] = {{0.5f, 127}, {0.999f, 254}, {1.0f, 255}, {1.5f, 255}, {0.0039f, 0},
                 {-0.2f, 0},  {kNaN, 0},     {kInf, 255}, {0.2f, 51}};
    for (auto c : cases) {
        const uint32_t w = Word("hsv2rgb", {0.0f, 0.0f, c.v});
        EXPECT_EQ(w, 0xFE000000u | c.byte * 0x010101u) << c.v;
    }
}

TEST(ColourWords, ParsersReadBytesBackExactly) {
    for (uint32_t b = 0; b < 256; ++b) {
        const float w = FloatFromBits(0xFE000000u | b << 16 | (255 - b) << 8 | b / 2);
        EXPECT_EQ(ChannelByte(Call("parse_red", {w})), b);
        EXPECT_EQ(ChannelByte(Call("parse_green", {w})), 255 - b);
        EXPECT_EQ(ChannelByte(Call("parse_blue", {w})), b / 2);
    }
    EXPECT_EQ(Call("parse_red", {Call("hsv2rgb", {0.0f, 1.0f, 1.0f})}), 1.0f);
    const struct {
        uint32_t bits;
        float alpha;
    } alphas[] = {{0xFE123456, 1.0f},
                  {0xFF000000, 1.0f},
                  {0x00123456, 0.0f},
                  {0x80000000, 128 * 0.003921569f},
                  {0xFD000000, 253 * 0.003921569f}};
    for (auto a : alphas) EXPECT_EQ(Call("parse_alpha", {FloatFromBits(a.bits)}), a.alpha);
}

// Colour words pass through the script engine untouched, the alpha-0 (denormal) water words too.
TEST(ColourWords, SurviveTheScriptEngine) {
    test::EnsureLibraryGroups();
    CMathScript script;
    const char text[] =
        "vertices = 1\n"
        "c = terrain_biome_color(-0.3, 0.5, 0.5)\n"
        "r = parse_red(c)\n"
        "a = parse_alpha(c)\n"
        "g = parse_green(LUT_HotIron(0.5))\n";
    ASSERT_TRUE(script.LoadText(text, sizeof text - 1));
    EXPECT_EQ(script.Letter('r')->At(0), 0x44 * 0.003921569f);
    EXPECT_EQ(script.Letter('a')->At(0), 0.0f);
    EXPECT_EQ(script.Letter('g')->At(0), 0.0f);  // entry 127 of the hot-iron table is 0xFF0000
}

// ---- palettes and polynomial maps ---------------------------------------------------------------

TEST(CosinePalettes, MatchTheirFormulaInsideAndOutsideZeroToOne) {
    const struct {
        const char* name;
        float t;
        uint32_t rgb;
    } cases[] = {
        {"palette_iq01", 0.0f, 0xFF4242},   {"palette_iq01", 0.5f, 0x00BCBC},
        {"palette_iq01", -0.25f, 0x7FEF0F}, {"palette_iq01", 1.6f, 0x18F26F},
        {"palette_iq02", 0.5f, 0x001858},   {"palette_iq03", -0.25f, 0xF8F8F8},
        {"palette_iq04", 1.6f, 0x1800E6},   {"palette_iq05", 0.5f, 0x000018},
        {"palette_iq06", 1.6f, 0x58A6CA},   {"palette_iq07", 1.6f, 0xDBBB83},
        {"palette_iq03", 1.0f, 0x58A6A6},
    };
    for (auto c : cases) EXPECT_EQ(Word(c.name, {c.t}), 0xFE000000u | c.rgb) << c.name << c.t;
    // Periodic in t (period 2 covers every palette), up to the last bit of a truncated channel.
    for (const char* name : {"palette_iq01", "palette_iq04", "palette_iq06", "palette_iq07"}) {
        for (float t : {0.1f, 0.37f, 0.8f}) {
            const uint32_t a = Word(name, {t}), b = Word(name, {t + 2.0f});
            for (int s : {0, 8, 16}) EXPECT_NEAR(Channel(a, s), Channel(b, s), 1) << name << t;
        }
    }
}

// The fits against the published colours of the four maps at a quarter, half and three
// quarters (the fits drift further at the very ends, so those are left out).
TEST(QuinticMaps, FollowThePublishedMaps) {
    const struct {
        const char* name;
        float t;
        uint32_t rgb;
    } cases[] = {
        {"quintic_viridis", 0.25f, 0x3B528B}, {"quintic_viridis", 0.5f, 0x21918C},
        {"quintic_viridis", 0.75f, 0x5EC962}, {"quintic_inferno", 0.25f, 0x57106E},
        {"quintic_inferno", 0.5f, 0xBC3754},  {"quintic_magma", 0.25f, 0x51127C},
        {"quintic_magma", 0.5f, 0xB73779},    {"quintic_magma", 0.75f, 0xFC8961},
        {"quintic_plasma", 0.25f, 0x7E03A8},  {"quintic_plasma", 0.5f, 0xCC4778},
        {"quintic_plasma", 0.75f, 0xF89540},
    };
    for (auto c : cases) {
        const uint32_t w = Word(c.name, {c.t});
        for (int s : {0, 8, 16})
            EXPECT_NEAR(Channel(w, s), Channel(c.rgb, s), 5) << c.name << " " << c.t;
    }
    // At t = 0 the channels are the constant terms, truncated.
    EXPECT_EQ(Word("quintic_viridis", {0.0f}), 0xFE47004Cu);
}

// ---- look-up tables ----------------------------------------------------------------------------

struct LutRows {
    const char* name;
    uint32_t rows[5];  // entries 0, 64, 128, 192, 255
};
constexpr int kRowEntry[5] = {0, 64, 128, 192, 255};
constexpr LutRows kLutRows[] = {
    {"LUT_BlackBdy", {0x000000, 0xC00000, 0xFF8100, 0xFFFF42, 0xFFFFFF}},
    {"LUT_Cardiac", {0x49C103, 0x004AFF, 0x5A00A5, 0xFF6300, 0x49C103}},
    {"LUT_Flow", {0x20C8FF, 0x1313F4, 0x000000, 0xFF0200, 0xFFFFFF}},
    {"LUT_GE", {0x000000, 0x017E7F, 0x8000FF, 0xFF8000, 0xFFFFFF}},
    {"LUT_Gold", {0x000000, 0x70400B, 0xC08020, 0xEFC06D, 0xFFFFFF}},
    {"LUT_HotIron", {0x000000, 0x800000, 0xFF0000, 0xFF8004, 0xFFFFFF}},
    {"LUT_NIH", {0x000000, 0x0005FF, 0x05FF05, 0xFF5100, 0xA9FF56}},
    {"LUT_Fire", {0x00001F, 0x8D00D6, 0xEB4502, 0xFFC300, 0xFFFFFE}},
    {"LUT_Ice", {0x009C8C, 0x2DAEE7, 0xD25AF7, 0xFB4388, 0xE6001B}},
    {"LUT_Rainramp", {0x000000, 0x4200C0, 0x46A400, 0xFF902A, 0xFFFFFF}},
    {"LUT_Spectrum", {0xFF00FF, 0x0041FF, 0x00FF7D, 0xC3FF00, 0xFF0000}},
    {"LUT_XHot", {0x000000, 0x590000, 0xB30000, 0xFFB300, 0xFFFFFB}},
    {"LUT_XRain", {0x000000, 0x0000FF, 0x80FF00, 0xFFC000, 0xFF0300}},
};

// The entry read at t: halfway between two entries' t reads the lower one (truncation).
uint32_t LutEntry(const char* name, int entry) {
    return Word(name, {(static_cast<float>(entry) + 0.5f) / 255.0f});
}

TEST(LookUpTables, HoldTheirRowsAndStayBetweenThem) {
    for (const LutRows& m : kLutRows) {
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(LutEntry(m.name, kRowEntry[k]), 0xFE000000u | m.rows[k]) << m.name << k;
        // Halfway between two rows every channel lies between the rows' channels.
        for (int k = 0; k < 4; ++k) {
            const uint32_t mid = LutEntry(m.name, (kRowEntry[k] + kRowEntry[k + 1]) / 2);
            for (int s : {0, 8, 16}) {
                const int a = Channel(m.rows[k], s), b = Channel(m.rows[k + 1], s);
                EXPECT_GE(Channel(mid, s), std::min(a, b)) << m.name << k;
                EXPECT_LE(Channel(mid, s), std::max(a, b)) << m.name << k;
            }
        }
        const uint32_t first = 0xFE000000u | m.rows[0], last = 0xFE000000u | m.rows[4];
        for (float t : {-1.0f, -kInf, kNaN, 0.0f, 1e-9f}) EXPECT_EQ(Word(m.name, {t}), first);
        for (float t : {1.0f, 2.0f, kInf, 3e9f, 1e30f}) EXPECT_EQ(Word(m.name, {t}), last);
    }
}

// ---- ramps --------------------------------------------------------------------------------------

TEST(PseudoColour, FixedRampsAndTheirEdges) {
    const struct {
        const char* name;
        float t;
        uint32_t word;
    } cases[] = {
        // hot metal: the bytes of its integer ramp at i = 55, 100, 200, 250
        {"pseudo_hot_metal", 55.5f / 255, 0xFE0900DC},
        {"pseudo_hot_metal", 100.5f / 255, 0xFE900055},
        {"pseudo_hot_metal", 200.5f / 255, 0xFEFFB800},
        {"pseudo_hot_metal", 250.5f / 255, 0xFEFFFF96},
        {"pseudo_zxlove", -0.1f, 0xFE0000FF},
        {"pseudo_zxlove", 1.1f, 0xFEFF0000},
        {"pseudo_zxlove", kNaN, 0xFE0000FF},
        {"pseudo_zxlove", 0.0f, 0xFE0000FF},
        // below 0 the fractional powers see t = 0: sky is (0, 0, 0.7), lava is white
        {"pseudo_sky", -2.0f, 0xFE0000B2},
        {"pseudo_sky", kNaN, 0xFE0000B2},
        {"pseudo_lava", -1.0f, 0xFEFFFFFF},
        {"pseudo_frozen", 0.0f, 0xFE0000FF},
        {"pseudo_gt_tech", -5.0f, 0xFE000000},
        {"pseudo_blackbody", 0.0f, 0xFE000000},
        {"pseudo_blackbody", -1.0f, 0xFE000000},
        {"pseudo_snow", 0.0f, 0xFE141618},
        {"pseudo_snow", 7.0f, 0xFECCCCE0},
        {"pseudo_gt_heatmap", 0.5f, 0xFE00FF00},
        {"pseudo_gt_heatmap", -3.0f, 0xFE0000FF},
        {"pseudo_rainbow", 0.0f, 0xFEFF0000},
        {"pseudo_rainbow", 2.0f, 0xFEFF0000},
        {"pseudo_rainbow", 0.99f, 0xFE9400D3},  // past the last stop
        {"distance_color", 0.0f, 0xFEFFFFFF},
        {"distance_color", kNaN, 0xFE000000},
        {"hueToRGB", 0.0f, 0xFEFF0000},
        {"hueToRGB", 60.0f, 0xFEFFFF00},
        {"hueToRGB", 120.0f, 0xFE00FF00},
        {"hueToRGB", 180.0f, 0xFE00FFFF},
        {"hueToRGB", 240.0f, 0xFE0000FF},
        {"hueToRGB", 300.0f, 0xFEFF00FF},
        {"hueToRGB", 30.0f, 0xFEFF7F00},
        {"hueToRGB", 360.0f, 0xFEFF0000},
        {"hueToRGB", -10.0f, 0xFEFF0000},
        {"hueToRGB", 400.0f, 0xFEFF0000},
        {"hueToRGB", kNaN, 0xFEFF0000},
    };
    for (auto c : cases) EXPECT_EQ(Word(c.name, {c.t}), c.word) << c.name << "(" << c.t << ")";
}

// The black-body ramp: orange at 3000 K (green above blue), white near 6600 K, bluish beyond.
TEST(PseudoColour, TemperatureFollowsTheBlackBody) {
    const uint32_t k3000 = Word("pseudo_temperature", {30.0f / 128});
    EXPECT_EQ(Channel(k3000, 16), 255);
    EXPECT_NEAR(Channel(k3000, 8), 177, 1);  // 0.39008158 ln 30 - 0.6318414
    EXPECT_NEAR(Channel(k3000, 0), 109, 1);  // 0.5432068 ln 20 - 1.1962541
    EXPECT_EQ(Word("pseudo_temperature", {0.1f}) & 0xFF, 0u) << "no blue below 1900 K";
    const uint32_t k6600 = Word("pseudo_temperature", {66.0f / 128});
    EXPECT_EQ(Channel(k6600, 16), 255);
    EXPECT_GE(Channel(k6600, 8), 250);
    EXPECT_EQ(Channel(k6600, 0), 255);
    const uint32_t k20000 = Word("pseudo_temperature", {200.0f / 128});
    EXPECT_LT(Channel(k20000, 16), Channel(k20000, 0));
    EXPECT_EQ(Word("pseudo_temperature", {kNaN}), Word("pseudo_temperature", {0.0f}));
}

// ---- HSV ----------------------------------------------------------------------------------------

void RgbToHsv(float r, float g, float b, float& h, float& s, float& v) {
    const float mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
    v = mx;
    s = mx > 0.0f ? d / mx : 0.0f;
    if (d == 0.0f) {
        h = 0.0f;
    } else if (mx == r) {
        h = std::fmod((g - b) / d + 6.0f, 6.0f) / 6.0f;
    } else if (mx == g) {
        h = ((b - r) / d + 2.0f) / 6.0f;
    } else {
        h = ((r - g) / d + 4.0f) / 6.0f;
    }
}

TEST(Hsv, RoundTripsAndPrimaries) {
    EXPECT_EQ(Word("hsv2rgb", {1.0f / 3, 1.0f, 1.0f}), 0xFE00FF00u);
    EXPECT_EQ(Word("hsv2rgb", {2.0f / 3, 1.0f, 1.0f}), 0xFE0000FFu);
    EXPECT_EQ(Word("hsv2rgb", {5.0f, 1.0f, 1.0f}), 0xFEFF0000u) << "hue wraps";
    for (float h = 0.0f; h < 1.0f; h += 0.07f) {
        for (float s : {0.25f, 0.6f, 1.0f}) {
            for (float v : {0.3f, 0.8f, 1.0f}) {
                const uint32_t w = Word("hsv2rgb", {h, s, v});
                EXPECT_EQ(Channel(w, 16), static_cast<int>(ChannelByte(Call("hsv_r", {h, s, v}))));
                float h2, s2, v2;
                RgbToHsv(Channel(w, 16) / 255.0f, Channel(w, 8) / 255.0f, Channel(w, 0) / 255.0f,
                         h2, s2, v2);
                const uint32_t back = Word("hsv2rgb", {h2, s2, v2});
                for (int sh : {0, 8, 16})
                    EXPECT_NEAR(Channel(back, sh), Channel(w, sh), 1) << h << " " << s << " " << v;
            }
        }
    }
}

// ---- coloured noise
// ------------------------------------------------------------------------------

TEST(ColourNoise, CellsLatticeAndContinuity) {
    // One colour per cell; the noise meets the cell colours at lattice points.
    EXPECT_EQ(Word("h_hash13_color", {2.1f}), Word("h_hash13_color", {2.9f}));
    EXPECT_NE(Word("h_hash13_color", {2.1f}), Word("h_hash13_color", {3.1f}));
    EXPECT_EQ(Word("h_noise13_color", {-4.0f}), Word("h_hash13_color", {-4.0f}));
    EXPECT_EQ(Word("h_noise23_color", {3.0f, -7.0f}), Word("h_hash23_color", {3.0f, -7.0f}));
    EXPECT_EQ(Word("h_noise33_color", {1.0f, 2.0f, 5.0f}),
              Word("h_hash33_color", {1.0f, 2.0f, 5.0f}));
    for (const char* name : {"h_noise23_color", "h_fbm23_color"}) {
        uint32_t previous = Word(name, {0.5f, 0.25f});
        for (float x = 0.5f; x < 3.5f; x += 0.004f) {
            const uint32_t w = Word(name, {x, 0.25f});
            for (int s : {0, 8, 16})
                EXPECT_NEAR(Channel(w, s), Channel(previous, s), 3) << name << x;
            previous = w;
        }
    }
}

// ---- biomes and plates --------------------------------------------------------------------------

TEST(Biomes, TableEntriesAndClasses) {
    const struct {
        const char* name;
        std::vector<float> args;
        uint32_t word;
    } cases[] = {
        {"get_biome_color", {100.0f}, 0xFEFF0000},
        {"get_biome_color", {23.9f}, 0xFEFF0000},
        {"get_biome_color", {kInf}, 0xFEFF0000},
        {"get_biome_color", {1.5f}, 0xFE4C7D22},
        {"get_biome_color", {16.0f}, 0x000D374F},  // water keeps alpha 0
        {"get_biome_color", {0.0f}, 0x00000000},
        {"get_biome_color", {-1.0f}, 0x00000000},
        {"get_biome_color", {kNaN}, 0x00000000},
        {"terrain_biome_color", {-0.3f, 0.5f, 0.5f}, 0x004477AA},   // open ocean
        {"terrain_biome_color", {-0.01f, 0.5f, 0.5f}, 0x000E7D84},  // shallows
        {"terrain_biome_color", {-0.3f, 0.5f, 0.02f}, 0x00D2CCC0},  // pack ice
        {"terrain_biome_color", {0.3f, 0.5f, 0.5f}, 0xFE4C7D22},    // temperate grassland
        {"terrain_biome_color", {0.3f, 0.1f, 0.9f}, 0xFEF5D49B},    // hot desert
        {"terrain_biome_color", {0.3f, 0.9f, 0.9f}, 0xFE2F5215},    // tropical rain forest
        {"terrain_biome_color", {0.9f, 0.5f, 0.9f}, 0xFEE3ECF0},    // above the snow line
        {"terrain_biome_color", {0.01f, 0.3f, 0.5f}, 0xFEF5D49B},   // beach
    };
    for (const auto& c : cases) {
        const float r = c.args.size() == 1 ? Call(c.name, {c.args[0]})
                                           : Call(c.name, {c.args[0], c.args[1], c.args[2]});
        EXPECT_EQ(BitsFromFloat(r), c.word) << c.name << " " << c.args[0];
    }
}

// Points are read by direction only; awkward coordinates fall back to the north pole.
TEST(Plates, DirectionOnlyAndFiniteEverywhere) {
    const float p[][3] = {{0.3f, -0.5f, 0.8f}, {-1.0f, 0.2f, 0.1f}, {0.0f, 0.0f, 1.0f}};
    for (auto& q : p) {
        for (const char* name : {"plate_center_dis", "plate_border_dis", "plate_center_color"}) {
            const float a = Call(name, {q[0], q[1], q[2]});
            EXPECT_EQ(a, Call(name, {q[0] * 7.0f, q[1] * 7.0f, q[2] * 7.0f})) << name;
            EXPECT_EQ(a, Call(name, {q[0] * 1e30f, q[1] * 1e30f, q[2] * 1e30f})) << name;
        }
    }
    for (float bad : {kNaN, kInf, 0.0f}) {
        EXPECT_EQ(Call("plate_center_dis", {bad, bad, bad}),
                  Call("plate_center_dis", {0.0f, 1.0f, 0.0f}));
    }
}

// The class bits of a plate colour: the channels at full weight (the others are at 0.2).
uint32_t PlateBits(uint32_t word) {
    const int top = std::max({Channel(word, 16), Channel(word, 8), Channel(word, 0)});
    return (Channel(word, 16) * 2 > top ? 1u : 0u) | (Channel(word, 8) * 2 > top ? 2u : 0u) |
           (Channel(word, 0) * 2 > top ? 4u : 0u);
}

int Difference(uint32_t a, uint32_t b) {
    int d = 0;
    for (int s : {0, 8, 16}) d = std::max(d, std::abs(Channel(a, s) - Channel(b, s)));
    return d;
}

// Narrows a step [a, b] of a path to the part where the colour changes most: a jump that is still
// there after ten halvings is a discontinuity, a steep slope is not.
template <class F>
int JumpAfterBisection(const F& colour, float a, float b) {
    for (int i = 0; i < 10; ++i) {
        const float m = 0.5f * (a + b);
        if (Difference(colour(a), colour(m)) >= Difference(colour(m), colour(b))) {
            b = m;
        } else {
            a = m;
        }
    }
    return Difference(colour(a), colour(b));
}

// Walking along a closed path: where the plate class changes the border distance is near 0, and
// the soft geo-ecological colour (on land throughout) has no jumps.
TEST(Plates, BordersWhereThePlateChangesAndGroundContinuous) {
    auto point = [](float a) {
        return std::vector<float>{std::cos(a), 0.3f * std::sin(a * 2.0f), std::sin(a)};
    };
    auto ground = [&](float a) {
        const auto p = point(a);
        return Word("planet_geoeco_x_color", {p[0], p[1], p[2], 0.6f});
    };
    int changes = 0;
    float previousBorder = 0.0f;
    uint32_t previousColour = 0, previousBits = 0;
    for (int i = 0; i <= 6300; ++i) {
        const float a = static_cast<float>(i) * 0.001f;
        const auto p = point(a);
        const float border = Call("plate_border_dis", {p[0], p[1], p[2]});
        const uint32_t bits = PlateBits(Word("plate_center_color", {p[0], p[1], p[2]}));
        const uint32_t colour = ground(a);
        EXPECT_GE(Call("plate_center_dis", {p[0], p[1], p[2]}), 0.0f);
        EXPECT_GE(border, 0.0f);
        if (i > 0) {
            if (bits != previousBits) {
                ++changes;
                EXPECT_LT(border + previousBorder, 0.03f) << a;
            }
            if (Difference(colour, previousColour) > 3) {
                EXPECT_LE(JumpAfterBisection(ground, a - 0.001f, a), 2) << a;
            }
        }
        previousBorder = border, previousColour = colour, previousBits = bits;
    }
    EXPECT_GE(changes, 3) << "a path a full turn long crosses several plates";
}

// The model is built once, whichever thread asks first; all threads read the same plates.
TEST(Plates, SameFromEveryThread) {
    auto sweep = [] {
        std::vector<float> v;
        for (int i = 0; i < 200; ++i) {
            const float a = static_cast<float>(i) * 0.031f;
            v.push_back(Call("plate_border_color", {std::cos(a), std::sin(a * 0.7f), std::sin(a)}));
        }
        return v;
    };
    Builtin("plate_border_color");  // registration happens on this thread
    std::vector<std::vector<float>> results(4);
    std::vector<std::thread> threads;
    for (auto& r : results) threads.emplace_back([&r, &sweep] { r = sweep(); });
    for (auto& t : threads) t.join();
    const std::vector<float> expected = sweep();
    for (const auto& r : results) EXPECT_EQ(std::memcmp(r.data(), expected.data(), 800), 0);
}

TEST(Atmosphere, HazeOnTheLitLimbOnly) {
    auto alpha = [](float d, float l) { return Word("geoeco_atm_color", {d, l, 0.08f}) >> 24; };
    EXPECT_EQ(alpha(1.0f, 1.0f), 0xFEu) << "the lit limb is opaque";
    EXPECT_EQ(alpha(1.0f, -1.0f), 0u) << "the night side has none";
    EXPECT_EQ(alpha(3.0f, 1.0f), 0u) << "far out in space";
    EXPECT_LT(alpha(0.0f, 1.0f), 8u) << "thin looking straight down";
    EXPECT_GT(alpha(1.05f, 1.0f), alpha(1.1f, 1.0f));
    EXPECT_EQ(alpha(kNaN, 1.0f), 0u);
}

}  // namespace
