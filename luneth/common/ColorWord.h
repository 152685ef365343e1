// Colour words: a colour handed through a script as an ordinary float.
//
// The float's 32-bit pattern is 0xAARRGGBB. Opaque alpha is stored as 0xFE rather than 0xFF so
// that the pattern is never a NaN (0xFF in the top byte with a non-zero mantissa would be one)
// and survives every copy. Channels come from [0, 1] by clamping and truncating c * 255.
#pragma once

#include <cstdint>

#include "common/FloatConstants.h"

namespace luneth {

constexpr uint32_t kColorWordOpaqueAlpha = 0xFE;

// One channel in [0, 1] to a byte: clamped, then c * 255 truncated.
inline uint32_t ChannelByte(float c) {
    if (!(c > 0.0f)) return 0;  // also maps NaN to 0
    if (c >= 1.0f) return 255;
    return static_cast<uint32_t>(c * 255.0f);
}

// Packs channels (each in [0, 1]) into a colour word with opaque alpha 0xFE.
inline float MakeColorWord(float r, float g, float b) {
    uint32_t word = (kColorWordOpaqueAlpha << 24) | (ChannelByte(r) << 16) |
                    (ChannelByte(g) << 8) | ChannelByte(b);
    return FloatFromBits(word);
}

// Packs channels with an explicit alpha byte.
inline float MakeColorWord(float r, float g, float b, uint32_t alphaByte) {
    uint32_t word = ((alphaByte & 0xFFu) << 24) | (ChannelByte(r) << 16) |
                    (ChannelByte(g) << 8) | ChannelByte(b);
    return FloatFromBits(word);
}

inline uint32_t ColorWordByte(float word, int shift) {
    return (BitsFromFloat(word) >> shift) & 0xFFu;
}

}  // namespace luneth
