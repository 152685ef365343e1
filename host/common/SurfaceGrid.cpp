#include "SurfaceGrid.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "common/ColorWord.h"

using kivmath::Cross;
using kivmath::Vec3Normalize;

namespace {

// A letter of the script as the image object reports it: element k is the array's element
// (0 past its end) or the scalar.
struct Channel {
    float scalar = 0.0f;
    const float* data = nullptr;
    int count = 0;

    static Channel Of(ILuneth* luneth, const char* name) {
        Channel c;
        luneth->GetScriptVariable(name, &c.scalar, &c.data, &c.count);
        return c;
    }
    float At(uint32_t k) const { return data ? (k < uint32_t(count) ? data[k] : 0.0f) : scalar; }
};

float ColourChannel(float c) {
    return c > 0.0f ? (c < 1.0f ? c : 1.0f) : 0.0f;  // NaN becomes 0
}

KivVector3 Position(const SurfaceGrid& g, uint32_t v) {
    const float* p = &g.positions[size_t(v) * 3];
    return {p[0], p[1], p[2]};
}

}  // namespace

bool ReadSurface(ILuneth* luneth, SurfaceGrid* grid, std::string* why) {
    int count = 0, width = 0, height = 0;
    luneth->GetScriptImageSize(&count, &width, &height);
    const uint32_t slices = uint32_t(width), points = uint32_t(height);
    Channel v = Channel::Of(luneth, "v");
    // The sweep ran when the grid is S slices wide and v holds the slice parameter of every
    // point; a pixel grid keeps its directives unapplied.
    bool swept = luneth->GetScriptSurfaceSlices() >= 2 &&
                 int(slices) == luneth->GetScriptSurfaceSlices() &&
                 uint64_t(slices) * points == uint64_t(count) && v.data && v.count == count;
    if (!swept) {
        *why =
            "made no surface: it needs vertices = N, a curve in x, y, z and a geometry "
            "directive (scale, rotate, translate or pipe)";
        return false;
    }
    if (points < 2) {
        *why = "made a surface of one curve point, which has no faces";
        return false;
    }
    const Channel xyz[3] = {Channel::Of(luneth, "x"), Channel::Of(luneth, "y"),
                            Channel::Of(luneth, "z")};
    const Channel rgb[3] = {Channel::Of(luneth, "r"), Channel::Of(luneth, "g"),
                            Channel::Of(luneth, "b")};
    try {
        grid->positions.assign(size_t(count) * 3, 0.0f);
        grid->colours.assign(size_t(count) * 3, 0.0f);
    } catch (const std::bad_alloc&) {
        *why = "made a surface too large for the memory";
        return false;
    }
    for (uint32_t k = 0; k < uint32_t(count); ++k) {
        for (int c = 0; c < 3; ++c) {
            float p = xyz[c].At(k);
            if (!std::isfinite(p)) {
                *why = "made a surface with a coordinate that is not a finite number (point " +
                       std::to_string(k / slices) + ", slice " + std::to_string(k % slices) + ")";
                return false;
            }
            grid->positions[size_t(k) * 3 + c] = p;
            grid->colours[size_t(k) * 3 + c] = ColourChannel(rgb[c].At(k));
        }
    }
    grid->slices = slices;
    grid->points = points;
    return true;
}

void SurfaceBounds(const SurfaceGrid& grid, KivVector3* low, KivVector3* high) {
    *low = *high = {};
    size_t count = grid.positions.size() / 3;
    for (size_t v = 0; v < count; ++v) {
        KivVector3 p = Position(grid, uint32_t(v));
        if (v == 0) *low = *high = p;
        *low = {std::min(low->x, p.x), std::min(low->y, p.y), std::min(low->z, p.z)};
        *high = {std::max(high->x, p.x), std::max(high->y, p.y), std::max(high->z, p.z)};
    }
}

std::vector<KivVector3> SurfaceNormals(const SurfaceGrid& grid) {
    std::vector<KivVector3> normals(grid.positions.size() / 3);
    // A cell's diagonals cross to twice its area along its normal, facing the way its two
    // faces face: summing them over the four cells at a vertex weighs by area, the same on
    // every side.
    for (uint32_t i = 0; i + 1 < grid.points; ++i)
        for (uint32_t j = 0; j + 1 < grid.slices; ++j) {
            uint32_t a = j + i * grid.slices, b = a + 1, c = b + grid.slices, d = a + grid.slices;
            KivVector3 n =
                Cross(Position(grid, c) - Position(grid, a), Position(grid, d) - Position(grid, b));
            for (uint32_t v : {a, b, c, d}) normals[v] += n;
        }
    const uint32_t last = grid.slices - 1;
    for (uint32_t i = 0; grid.slices >= 2 && i < grid.points; ++i) {
        uint32_t first = i * grid.slices;
        if (!(Position(grid, first) == Position(grid, first + last))) continue;
        KivVector3 both = normals[first] + normals[first + last];
        normals[first] = normals[first + last] = both;
    }
    for (KivVector3& n : normals) n = Vec3Normalize(n);
    return normals;
}

bool BuildSurfaceMesh(const SurfaceGrid& grid, SurfaceMesh* mesh) {
    const size_t count = grid.positions.size() / 3;
    try {
        std::vector<KivVector3> normals = SurfaceNormals(grid);
        mesh->vertices.resize(count * 2);
        mesh->indices.clear();
        mesh->indices.reserve(size_t(grid.slices - 1) * (grid.points - 1) * 12);
        for (size_t v = 0; v < count; ++v) {
            const float* c = &grid.colours[v * 3];
            uint32_t argb = 0xFF000000u | luneth::ChannelByte(c[0]) << 16 |
                            luneth::ChannelByte(c[1]) << 8 | luneth::ChannelByte(c[2]);
            KivVector3 p = Position(grid, uint32_t(v));
            mesh->vertices[v] = {p, normals[v], argb};
            mesh->vertices[v + count] = {p, -normals[v], argb};
        }
        const uint32_t back = uint32_t(count);
        ForEachFace(grid, [&](uint32_t a, uint32_t b, uint32_t c) {
            mesh->indices.insert(mesh->indices.end(), {a, b, c, a + back, c + back, b + back});
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}
