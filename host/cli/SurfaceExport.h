// The surface of a script as a mesh file: the grid of host/common/SurfaceGrid.h, its vertices
// in element order with their colours, two triangles a cell.
//
// Formats by the file's extension, case-insensitive:
//   .obj  "v x y z r g b" lines (colours as numbers in [0, 1]) and "f a b c" (from 1)
//   .ply  ASCII PLY 1.0: float x, y, z and uchar red, green, blue per vertex, then faces as
//         "3 a b c" (from 0); channel bytes as the script's pictures make them
// Numbers are printed with "%.9g", so they read back exactly. The file is written whole or not
// at all (KivWriteFileAtomically): a failure says why and leaves the old file as it was.
#pragma once

#include <string>

#include "SurfaceGrid.h"

// True for a name ending in .obj or .ply.
bool IsMeshName(const std::string& path);

// False with the reason when the file can't be written.
bool WriteSurfaceFile(const SurfaceGrid& grid, const std::string& path, std::string* why);
