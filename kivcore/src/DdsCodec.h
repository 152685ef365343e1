// DDS pictures: written as uncompressed A8R8G8B8; read uncompressed (8, 16, 24 or 32 bits a
// pixel described by RGB, luminance or alpha masks) or DXT1/DXT3/DXT5 compressed (libsquish).
// Only the first surface (the top mip level of the first face) is read. Headers that don't add
// up (sizes of 0 or above the limit, data shorter than the header promises, unknown FourCC,
// the DX10 extension) fail.
#pragma once

#include <QByteArray>

#include "PictureCodecs.h"

namespace kivcore {

bool DecodeDds(const QByteArray& bytes, const PixelTarget& target);
QByteArray EncodeDds(const uint32_t* texels, uint32_t width, uint32_t height, uint32_t pitchWords);

}  // namespace kivcore
