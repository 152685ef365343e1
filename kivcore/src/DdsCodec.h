// DDS pictures: written as uncompressed A8R8G8B8; read uncompressed (8, 16, 24 or 32 bits a
// pixel described by RGB, luminance or alpha masks) or DXT1/DXT3/DXT5 compressed (libsquish).
// Only the first surface (the top mip level of the first face) is read, rows `pitch` bytes apart
// when the header gives a pitch. Headers that don't add up fail with a reason: sizes of 0 or
// above the limit or the memory budget, more mip levels than the size allows, a pitch shorter
// than a row, data shorter than the header promises, an unknown FourCC, the DX10 extension.
#pragma once

#include <QByteArray>

#include "PictureCodecs.h"

namespace kivcore {

bool DecodeDds(const QByteArray& bytes, const PixelTarget& target, uint64_t memoryBudget = 0);
QByteArray EncodeDds(const uint32_t* texels, uint32_t width, uint32_t height, uint32_t pitchWords);

}  // namespace kivcore
