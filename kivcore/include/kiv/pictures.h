// The picture formats of the engine's texture manager, by file extension: the one table that
// the engine, the image module's drop handling and the hosts read.
//
//   KivFileExtension(path)     the text after the last '.' of the file-name part, or null
//   KivPictureFormatOf(path)   the format that extension names (case-insensitive), or Unknown
#pragma once

#include <strings.h>

enum class KivPictureFormat { Unknown, Png, Jpg, Bmp, Ppm, Tga, Dds };

struct KivPictureExtension {
    const char* extension;
    KivPictureFormat format;
};

inline constexpr KivPictureExtension kKivPictureExtensions[] = {
    {"png", KivPictureFormat::Png}, {"jpg", KivPictureFormat::Jpg}, {"jpeg", KivPictureFormat::Jpg},
    {"bmp", KivPictureFormat::Bmp}, {"ppm", KivPictureFormat::Ppm}, {"tga", KivPictureFormat::Tga},
    {"dds", KivPictureFormat::Dds},
};

inline const char* KivFileExtension(const char* path) {
    if (!path) return nullptr;
    const char* dot = nullptr;
    for (const char* p = path; *p; ++p) {
        if (*p == '.') dot = p;
        if (*p == '/' || *p == '\\') dot = nullptr;
    }
    return dot && dot[1] ? dot + 1 : nullptr;
}

inline KivPictureFormat KivPictureFormatOf(const char* path) {
    const char* extension = KivFileExtension(path);
    if (!extension) return KivPictureFormat::Unknown;
    for (const KivPictureExtension& e : kKivPictureExtensions)
        if (!strcasecmp(extension, e.extension)) return e.format;
    return KivPictureFormat::Unknown;
}
