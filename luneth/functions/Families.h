// The built-in function families and their registration tables.
//
// Every family lives in one file of this folder: small function bodies first, then one table of
// {name, implementation} entries in registration order at the end of the file (the kind follows
// from the implementation's signature). The table is returned by the accessor declared here.
//
// To add a family: copy ColourHelpers.cpp (the smallest), declare its accessor below, and list it
// in CoreGroup.cpp (names of the core group, whose order CoreGroup.def fixes) or in the group of
// Groups.cpp that registers it.
#pragma once

#include <span>

#include "script/FunctionRecord.h"
#include "script/TileKernels.h"

namespace luneth {

using FunctionTable = std::span<const BuiltinFunction>;

// Core group families (their names are placed by CoreGroup.def).
FunctionTable ColourHelperFunctions();  // float_to_color, gray, correction_*
FunctionTable ScalarFunctions();        // positive ... flower: scalar, logic, interpolation
std::span<const TileKernel> ScalarTileKernels();  // whole-tile forms of the busiest of them
FunctionTable ArrayFunctions();         // array_add ... array_get_value: whole values
FunctionTable SolidFunctions();         // sphere, cylinder, cube, tetrahedron ... football_ex
FunctionTable HashFunctions();          // xor_/fdf_/sin_hash1..3, weyl_hash2, gold_noise2
FunctionTable LatticeNoiseFunctions();  // value/gradient/simplex noise per prefix, xor_cycle_*
FunctionTable NamedNoiseFunctions();    // iq_, ts_, hmk_, lm_, as_, ... named noise variants
FunctionTable SinWaveNoiseFunctions();  // sin_wave_noise3
FunctionTable PerlinNoiseFunctions();   // perlin_noise_1d/2d/3d, perlin_noise2/3
FunctionTable CoherentNoiseFunctions(); // coherent_noise1..3, coherent_gradient_noise3
FunctionTable QuasicrystalFunctions();  // tw_quasicrytals2d, sin_quasicrytals2d
FunctionTable CellularFunctions();      // Worley, Voronoi and cellular-grid noises
FunctionTable CraterFunctions();        // yf_, moon_, mercury_crater2d/3d
FunctionTable PlainFunctions();         // jagged_, sinusoids_, terraced_, cone_, ... plains

// Texture group (registered after the named materials of Materials.h).
FunctionTable TextureFunctions();  // tex_hash1 ... tex_sphere_worley3d (61 names)

// Fractal-sum and fractal group, in registration order.
FunctionTable FractalSumFunctions();    // perlin_fbm_1d ... gabor_noise2 (72 names)

// Colour group families, and the group itself: their names in registration order.
FunctionTable ColourMapFunctions();     // parse_*, palette_iq*, quintic_*, LUT_*, hsv*, hueToRGB
FunctionTable PseudoColourFunctions();  // pseudo_* ramps
FunctionTable ColourNoiseFunctions();   // h_hash/noise/fbm*_color, iquilezles_noise3_color
FunctionTable BiomeColourFunctions();   // get_biome_color, plate_*, *_biome_*, *_geoeco_*
FunctionTable ColourGroupFunctions();   // parse_red ... terrain_geoeco_x_color (85 names)

// Distance-function group.
FunctionTable DistanceShape2DFunctions();  // sdCircle2D ... sdStar2D
FunctionTable DistanceShape3DFunctions();  // sdSphere ... sdIcosahedron
FunctionTable DistanceOperatorFunctions(); // opUnion ... opSmoothIntersection
FunctionTable PolygonFunctions();          // IsPointInConvexPolygon, PolygonDistance

// Fractal-sum and fractal group.
FunctionTable FractalFunctions();  // fractal_hierarchy_sphere ... fractal_cmpx_binocular

// Terrain group.
FunctionTable TerrainFunctions();  // heightfield_2d ... ice_patch_2d, then the 3-D forms (48)

}  // namespace luneth
