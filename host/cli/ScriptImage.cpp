#include "ScriptImage.h"

#include <cstdio>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace luneth::cli {

namespace {

unsigned char ChannelToByte(float v) {
    if (v < 0.0f) return 0;
    if (v > 1.0f) return 255;
    return static_cast<unsigned char>(v * 255.0f);
}

}  // namespace

bool SaveScriptImage(const CMathScript& script, const std::string& path, std::string* error) {
    const ScriptValue* r = script.Letter('r');
    const ScriptValue* g = script.Letter('g');
    const ScriptValue* b = script.Letter('b');
    const ScriptValue* a = script.Letter('a');
    uint32_t width = script.Width(), height = script.Height();
    if (script.ElementCount() == 0 || width == 0 || height == 0 ||
        !(r->IsArray() || g->IsArray() || b->IsArray())) {
        *error = "the script made no picture: it needs a pixel grid and r, g or b as an array";
        return false;
    }
    std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
    const bool perPixelAlpha = a->count != 0;
    size_t i = 0;
    for (uint32_t k = 0; k < width * height; ++k) {
        rgba[i++] = ChannelToByte(r->At(k));
        rgba[i++] = ChannelToByte(g->At(k));
        rgba[i++] = ChannelToByte(b->At(k));
        rgba[i++] = perPixelAlpha ? ChannelToByte(a->At(k)) : 255;
    }
    // Written beside the target and renamed, so a failure never leaves half a picture behind.
    std::string temporary = path + ".part";
    if (!stbi_write_png(temporary.c_str(), static_cast<int>(width), static_cast<int>(height), 4,
                        rgba.data(), static_cast<int>(width * 4))) {
        std::remove(temporary.c_str());
        *error = "cannot write '" + path + "'";
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        *error = "cannot write '" + path + "'";
        return false;
    }
    return true;
}

}  // namespace luneth::cli
