// Picture files to and from A8R8G8B8 texels (one 32-bit word 0xAARRGGBB a pixel).
//
// The format follows the file's extension (case-insensitive): png, jpg/jpeg, bmp, ppm and tga
// (read) go through Qt's image reader and writer, tga is written with stb_image_write, dds is
// our own (DdsCodec.h). The reader is told the format and does not guess from the contents, so
// a file named for another format fails. Every failure is a false result: unreadable, empty,
// damaged or truncated files, sizes above 16384, unknown extensions.
//
// PNG files also carry texts (key and value pairs) as text chunks: written when saving, read
// when loading; the other formats keep none.
//
// Saving encodes in memory and then replaces the file atomically (QSaveFile): a failed save
// leaves no partial file behind and an existing file untouched.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "kiv/pictures.h"

namespace kivcore {

using PictureFormat = KivPictureFormat;

constexpr uint32_t kMaxPictureSide = 16384;

// The format named by the path's extension (text after the last '.' of the file-name part).
PictureFormat PictureFormatFromPath(const char* path);

// Storage for a decoded picture: the target returns the first texel of a width x height area
// and its row pitch in words, or null to refuse (the load then fails).
using PixelTarget = std::function<uint32_t*(uint32_t width, uint32_t height, uint32_t* pitch)>;

// Keys (Latin-1) and values (UTF-8) in order.
using PictureTexts = std::vector<std::pair<std::string, std::string>>;

bool LoadPicture(const char* path, const PixelTarget& target, PictureTexts* texts = nullptr);
bool SavePicture(const char* path, const uint32_t* texels, uint32_t width, uint32_t height,
                 uint32_t pitchWords, const PictureTexts* texts = nullptr);

}  // namespace kivcore
