#include "SurfaceExport.h"

#include <strings.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "common/ColorWord.h"
#include "kiv/files.h"

namespace {

std::string Extension(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool IsObj(const std::string& path) { return !strcasecmp(Extension(path).c_str(), "obj"); }

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
