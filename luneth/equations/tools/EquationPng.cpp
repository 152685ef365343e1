// equation_png: renders catalogue equations to PNG files, for looking at them before the
// command-line host can.
//
//     equation_png [-s N] DIR [INDEX ...]   every built equation, or the given indices, as
//                                           "DIR/INDEX NAME.png" at their default parameters;
//                                           -s N keeps every Nth pixel of every Nth row
//     -p I=V (repeatable) sets parameter I to V first
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "equations/EquationCatalogue.h"

int main(int argc, char** argv) {
    uint32_t step = 1;
    std::vector<std::pair<uint32_t, float>> params;
    while (argc > 2 && (std::string(argv[1]) == "-s" || std::string(argv[1]) == "-p")) {
        if (argv[1][1] == 's') {
            step = static_cast<uint32_t>(std::atoi(argv[2]));
        } else {
            const std::string setting = argv[2];
            const size_t eq = setting.find('=');
            if (eq == std::string::npos)
                step = 0;  // reported as a usage error below
            else
                params.emplace_back(std::atoi(setting.c_str()),
                                    std::atof(setting.c_str() + eq + 1));
        }
        argv += 2, argc -= 2;
    }
    if (argc < 2 || step < 1) {
        std::fprintf(stderr, "usage: equation_png [-s N] DIR [INDEX ...]\n");
        return 2;
    }
    luneth::EquationTable table;
    luneth::BuildEquationCatalogue(table);
    std::vector<uint32_t> indices;
    for (int i = 2; i < argc; ++i) indices.push_back(static_cast<uint32_t>(std::atoi(argv[i])));
    if (indices.empty()) {
        for (uint32_t i = 0; i < luneth::kEquationSlotCount; ++i)
            if (table[i]) indices.push_back(i);
    }
    int status = 0;
    for (uint32_t index : indices) {
        luneth::IPixelEquation* e = index < table.size() ? table[index].get() : nullptr;
        if (!e || e->width == 0 || e->height == 0) {
            std::fprintf(stderr, "equation %u is not built\n", index);
            status = 1;
            continue;
        }
        for (const auto& [i, v] : params) e->SetParam(i, v);
        // RGBA bytes from 0xAARRGGBB words; alpha forced opaque so every picture is visible.
        const uint32_t w = (e->width + step - 1) / step, h = (e->height + step - 1) / step;
        std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4);
        for (uint32_t y = 0; y < h; ++y) {
            for (uint32_t x = 0; x < w; ++x) {
                const uint32_t c = e->GetPixel(x * step, y * step);
                unsigned char* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
                p[0] = (c >> 16) & 0xFF, p[1] = (c >> 8) & 0xFF, p[2] = c & 0xFF, p[3] = 255;
            }
        }
        const std::string path =
            std::string(argv[1]) + "/" + std::to_string(index) + " " + e->GetName() + ".png";
        if (!stbi_write_png(path.c_str(), static_cast<int>(w), static_cast<int>(h), 4, rgba.data(),
                            static_cast<int>(w) * 4)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            status = 1;
        }
    }
    return status;
}
