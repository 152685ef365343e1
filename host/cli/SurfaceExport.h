// The surface of a script as a mesh file.
//
// A script with `vertices = N` and geometry directives sweeps its curve into S x N points (S
// slices of each of the N curve points; element slice + point * S of x, y, z). As a mesh, those
// points are the vertices in element order, each coloured by r, g, b at its element (clamped
// to [0, 1]), and every cell of the grid between neighbouring slices and points is two
// triangles: 2 (S - 1)(N - 1) faces. The slices are not joined end to start: a closed sweep
// (a pipe, a full turn) repeats its first slice as its last.
//
// Formats by the file's extension, case-insensitive:
//   .obj  "v x y z r g b" lines (colours as numbers in [0, 1]) and "f a b c" (from 1)
//   .ply  ASCII PLY 1.0: float x, y, z and uchar red, green, blue per vertex, then faces as
//         "3 a b c" (from 0); channel bytes as the script's pictures make them
// Numbers are printed with "%.9g", so they read back exactly. The file is written whole or not
// at all (KivWriteFileAtomically): a failure says why and leaves the old file as it was.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "module/ILuneth.h"

struct SurfaceGrid {
    uint32_t slices = 0;           // S
    uint32_t points = 0;           // N
    std::vector<float> positions;  // x, y, z per vertex
    std::vector<float> colours;    // r, g, b per vertex, in [0, 1]
};

// True for a name ending in .obj or .ply.
bool IsMeshName(const std::string& path);

// The swept surface of a script that ran; false with the reason when it has none (no geometry
// directive applied, fewer than two curve points, or a coordinate that is not finite).
bool ReadSurface(ILuneth* luneth, SurfaceGrid* grid, std::string* why);

// False with the reason when the file can't be written.
bool WriteSurfaceFile(const SurfaceGrid& grid, const std::string& path, std::string* why);
