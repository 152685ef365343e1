// Colour channels as bytes, and colour words: a colour handed through a script as an ordinary
// float whose 32-bit pattern is 0xAARRGGBB.
//
// A channel value maps to a byte by clamping to [0, 1] and truncating c * 255 (NaN gives 0).
// Colour words store opaque alpha as 0xFE rather than 0xFF so that the pattern is never a NaN
// and survives every copy.
#pragma once

#include <cstdint>

#include "common/FloatConstants.h"

namespace luneth {

constexpr uint32_t kColorWordOpaqueAlpha = 0xFE;

// One channel in [0, 1] to a byte: clamped, then c * 255 truncated. Branch-free so that the
// per-pixel conversion loops stay tight.
inline uint32_t ChannelByte(float v) {
    float c = v > 0.0f ? v : 0.0f;  // NaN fails the test and becomes 0
    c = c < 1.0f ? c : 1.0f;
    return static_cast<uint32_t>(static_cast<int32_t>(c * 255.0f));
}

// Three channels packed into an opaque colour word (alpha 0xFE).
inline float MakeColorWord(float r, float g, float b) {
    return FloatFromBits(kColorWordOpaqueAlpha << 24 | ChannelByte(r) << 16 | ChannelByte(g) << 8 |
                         ChannelByte(b));
}

// A 0x00RRGGBB table entry as an opaque colour word.
inline float ColorWordFromRgb(uint32_t rgb) {
    return FloatFromBits(kColorWordOpaqueAlpha << 24 | (rgb & 0xFFFFFFu));
}

}  // namespace luneth
