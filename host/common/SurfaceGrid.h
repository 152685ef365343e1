// The surface of a script as the hosts show and export it, read through ILuneth only.
//
// A script with `vertices = N` and geometry directives sweeps its curve into S x N points (S
// slices of each of the N curve points; element slice + point * S of x, y, z). As a grid,
// those points are the vertices in element order, each coloured by r, g, b at its element
// (clamped to [0, 1]), and every cell between neighbouring slices and points is two triangles:
// 2 (S - 1)(N - 1) faces. The slices are not joined end to start: a closed sweep (a pipe, a
// full turn) repeats its first slice as its last.
//
// A face (a, b, c) faces along Cross(b - a, c - a): seen from there its corners run clockwise,
// the front side of the engine's meshes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kiv/vecmath.h"
#include "module/ILuneth.h"

struct SurfaceGrid {
    uint32_t slices = 0;           // S
    uint32_t points = 0;           // N
    std::vector<float> positions;  // x, y, z per vertex
    std::vector<float> colours;    // r, g, b per vertex, in [0, 1]
};

// The swept surface of a script that ran; false with the reason when it has none (no geometry
// directive applied, fewer than two curve points, or a coordinate that is not finite).
bool ReadSurface(ILuneth* luneth, SurfaceGrid* grid, std::string* why);

// The two triangles of every cell, as vertex indices (from 0).
template <class Emit>
void ForEachFace(const SurfaceGrid& g, Emit emit) {
    for (uint32_t i = 0; i + 1 < g.points; ++i)
        for (uint32_t j = 0; j + 1 < g.slices; ++j) {
            uint32_t a = j + i * g.slices, b = a + 1, c = b + g.slices, d = a + g.slices;
            emit(a, b, c);
            emit(a, c, d);
        }
}

// The smallest box around the vertices.
void SurfaceBounds(const SurfaceGrid& grid, KivVector3* low, KivVector3* high);

// One unit normal a vertex: the sum of the cells around it, each weighted by its area; zero
// where those cells have no area. Where the last slice meets the first (a closed sweep), both
// take the sum of both sides, so the seam does not show in the light.
std::vector<KivVector3> SurfaceNormals(const SurfaceGrid& grid);

// A vertex of the engine's mesh format: position, normal, colour 0xAARRGGBB (opaque).
struct SurfaceVertex {
    KivVector3 position;
    KivVector3 normal;
    uint32_t colour;
};
static_assert(sizeof(SurfaceVertex) == 28, "D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE");

// The grid as a mesh with two sides, so that a scene that culls faces turned away still shows
// an open surface from behind, lit on the side it is seen from: the grid's vertices and faces,
// then a copy of each vertex with its normal reversed and each face wound the other way.
struct SurfaceMesh {
    std::vector<SurfaceVertex> vertices;
    std::vector<uint32_t> indices;  // three a face
};
// False when the memory can't be had.
bool BuildSurfaceMesh(const SurfaceGrid& grid, SurfaceMesh* mesh);
