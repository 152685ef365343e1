// Assembles the colour group: its 85 names in registration order (kind 5 first, then 6, 7 and
// 8), each served by the entry of the same name in one of the colour families' tables.
#include <cstring>
#include <vector>

#include "functions/Families.h"

namespace luneth {

namespace {

constexpr const char* kColourOrder[] = {
    // kind 5
    "parse_red", "parse_green", "parse_blue", "parse_alpha", "palette_iq01", "palette_iq02",
    "palette_iq03", "palette_iq04", "palette_iq05", "palette_iq06", "palette_iq07",
    "quintic_viridis", "quintic_inferno", "quintic_magma", "quintic_plasma", "LUT_BlackBdy",
    "LUT_Cardiac", "LUT_Flow", "LUT_GE", "LUT_Gold", "LUT_HotIron", "LUT_NIH", "LUT_Fire",
    "LUT_Ice", "LUT_Rainramp", "LUT_Spectrum", "LUT_XHot", "LUT_XRain", "pseudo_frozen",
    "pseudo_snow", "pseudo_sky", "pseudo_lava", "pseudo_fire", "pseudo_flame", "pseudo_pyroclastic",
    "pseudo_terrain", "pseudo_rainbow", "pseudo_hot_metal", "pseudo_zxlove", "pseudo_blackbody",
    "pseudo_temperature", "pseudo_color", "pseudo_gt_hue", "pseudo_gt_tech", "pseudo_gt_fire",
    "pseudo_gt_sky", "pseudo_gt_desert", "pseudo_gt_electric", "pseudo_gt_neon",
    "pseudo_gt_heatmap", "pseudo_gt_rainbow", "hueToRGB", "h_hash13_color", "h_noise13_color",
    "h_fbm13_color", "get_biome_color", "distance_color",
    // kind 6
    "h_hash23_color", "h_noise23_color", "h_fbm23_color",
    // kind 7
    "hsv_r", "hsv_g", "hsv_b", "hsv2rgb", "cos_palette", "iquilezles_noise3_color",
    "h_hash33_color", "h_noise33_color", "h_fbm33_color", "plate_center_dis", "plate_border_dis",
    "plate_center_color", "plate_border_color", "terrain_biome_color", "terrain_biome_x_color",
    "geoeco_atm_color",
    // kind 8
    "pseudo_sin", "pseudo_sin_ex", "planet_biome_color", "planet_biome_x_color",
    "planet_biome_ltm_color", "planet_geoeco_color", "planet_geoeco_x_color",
    "terrain_geoeco_color", "terrain_geoeco_x_color"};

constexpr FunctionTable (*kColourFamilies[])() = {
    ColourMapFunctions,
    PseudoColourFunctions,
    ColourNoiseFunctions,
    BiomeColourFunctions,
};

std::vector<BuiltinFunction> AssembleColourGroup() {
    std::vector<BuiltinFunction> table;
    for (const char* name : kColourOrder) {
        for (auto family : kColourFamilies) {
            for (const BuiltinFunction& entry : family()) {
                if (std::strcmp(entry.name, name) == 0) table.push_back(entry);
            }
        }
    }
    return table;
}

}  // namespace

FunctionTable ColourGroupFunctions() {
    static const std::vector<BuiltinFunction> table = AssembleColourGroup();
    return table;
}

}  // namespace luneth
