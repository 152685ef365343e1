#include "SurfaceExport.h"

#include <strings.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <new>

#include "common/ColorWord.h"
#include "kiv/files.h"

namespace {

std::string Extension(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool IsObj(const std::string& path) { return !strcasecmp(Extension(path).c_str(), "obj"); }

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

// The two triangles of every grid cell, corners as vertex indices from `base`.
template <class Emit>
void ForEachFace(const SurfaceGrid& g, Emit emit) {
    for (uint32_t i = 0; i + 1 < g.points; ++i)
        for (uint32_t j = 0; j + 1 < g.slices; ++j) {
            uint32_t a = j + i * g.slices, b = a + 1, c = b + g.slices, d = a + g.slices;
            emit(a, b, c);
            emit(a, c, d);
        }
}

void WriteObj(std::FILE* f, const SurfaceGrid& g) {
    std::fprintf(f, "# %u slices x %u points\n", g.slices, g.points);
    for (size_t v = 0; v < g.positions.size() / 3; ++v) {
        const float* p = &g.positions[v * 3];
        const float* c = &g.colours[v * 3];
        std::fprintf(f, "v %.9g %.9g %.9g %.9g %.9g %.9g\n", double(p[0]), double(p[1]),
                     double(p[2]), double(c[0]), double(c[1]), double(c[2]));
    }
    ForEachFace(g, [f](uint32_t a, uint32_t b, uint32_t c) {
        std::fprintf(f, "f %u %u %u\n", a + 1, b + 1, c + 1);
    });
}

void WritePly(std::FILE* f, const SurfaceGrid& g) {
    uint32_t vertices = uint32_t(g.positions.size() / 3);
    uint32_t faces = 2 * (g.slices - 1) * (g.points - 1);
    std::fprintf(f,
                 "ply\nformat ascii 1.0\ncomment %u slices x %u points\n"
                 "element vertex %u\nproperty float x\nproperty float y\nproperty float z\n"
                 "property uchar red\nproperty uchar green\nproperty uchar blue\n"
                 "element face %u\nproperty list uchar uint vertex_indices\nend_header\n",
                 g.slices, g.points, vertices, faces);
    for (uint32_t v = 0; v < vertices; ++v) {
        const float* p = &g.positions[v * 3];
        const float* c = &g.colours[v * 3];
        std::fprintf(f, "%.9g %.9g %.9g %u %u %u\n", double(p[0]), double(p[1]), double(p[2]),
                     luneth::ChannelByte(c[0]), luneth::ChannelByte(c[1]),
                     luneth::ChannelByte(c[2]));
    }
    ForEachFace(
        g, [f](uint32_t a, uint32_t b, uint32_t c) { std::fprintf(f, "3 %u %u %u\n", a, b, c); });
}

}  // namespace

bool IsMeshName(const std::string& path) {
    std::string ext = Extension(path);
    return !strcasecmp(ext.c_str(), "obj") || !strcasecmp(ext.c_str(), "ply");
}

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

bool WriteSurfaceFile(const SurfaceGrid& grid, const std::string& path, std::string* why) {
    return KivWriteFileAtomically(
        path.c_str(),
        [&](std::FILE* f) {
            if (IsObj(path))
                WriteObj(f, grid);
            else
                WritePly(f, grid);
            return !std::ferror(f);
        },
        why);
}
