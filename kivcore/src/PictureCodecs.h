// Picture files to and from A8R8G8B8 texels (one 32-bit word 0xAARRGGBB a pixel).
//
// The format follows the file's extension (case-insensitive): png, jpg/jpeg, bmp, ppm and tga
// (read) go through Qt's image reader and writer, tga is written with stb_image_write, dds is
// our own (DdsCodec.h). The reader is told the format and does not guess from the contents, so
// a file named for another format fails. Every failure is a false result with a reason
// (LastPictureError): a file that is not a regular one (a directory, a device, a pipe), empty,
// larger than kMaxPictureFileBytes or than the memory budget leaves, damaged or truncated files,
// sides above kMaxPictureSide or a picture the budget can't hold, unknown extensions. Sizes are
// checked before the pixels are allocated.
//
// PNG files also carry texts (key and value pairs) as text chunks: written when saving, read
// when loading; the other formats keep none.
//
// Saving encodes in memory and then replaces the file atomically (KivWriteFileAtomically): a
// failed save says why, leaves no partial file behind and an existing file untouched.
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
// A 16384 x 16384 picture of 32-bit pixels with a header fits; text formats beyond are refused.
constexpr uint64_t kMaxPictureFileBytes =
    (uint64_t(kMaxPictureSide) * kMaxPictureSide * 4) + (1 << 20);

// The format named by the path's extension (text after the last '.' of the file-name part).
PictureFormat PictureFormatFromPath(const char* path);

// Storage for a decoded picture: the target returns the first texel of a width x height area
// and its row pitch in words, or null to refuse (the load then fails).
using PixelTarget = std::function<uint32_t*(uint32_t width, uint32_t height, uint32_t* pitch)>;

// Keys (Latin-1) and values (UTF-8) in order.
using PictureTexts = std::vector<std::pair<std::string, std::string>>;

// memoryBudget: the bytes the load may use (0: no limit); a picture whose pixels need more
// (twice its texels: the decoded picture and the texture) fails before they are allocated.
bool LoadPicture(const char* path, const PixelTarget& target, PictureTexts* texts = nullptr,
                 uint64_t memoryBudget = 0);
bool SavePicture(const char* path, const uint32_t* texels, uint32_t width, uint32_t height,
                 uint32_t pitchWords, const PictureTexts* texts = nullptr);

// Why the calling thread's last LoadPicture or SavePicture failed ("" after a success).
const char* LastPictureError();

// Records the reason of a failed load or save; false, for `return PictureFailure(...)`.
bool PictureFailure(std::string reason);
// The reason for a picture of width x height that is too large a side or for the budget; ""
// when it may be decoded.
std::string PictureSizeProblem(uint64_t width, uint64_t height, uint64_t memoryBudget);

}  // namespace kivcore
