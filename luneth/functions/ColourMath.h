// Small helpers shared by the colour families: colours as Vec3 channels in [0, 1], packing into
// colour words, clamped ramps and keyed gradients.
//
//   Unit(t)                 t clamped to [0, 1], NaN read as 0
//   Smoothstep(e0, e1, x)   the cubic smoothstep, 0 below e0 and 1 above e1
//   Rgb(0xRRGGBB)           a table colour as channels
//   Pack(c)                 channels to an opaque colour word (alpha 0xFE)
//   Pack(c, alpha)          channels with the given alpha byte
//   Mix(a, b, w)            a (1 - w) + b w, exactly a at w = 0 and b at w = 1
//   Gradient                up to eight stops; Sample(t) blends the two stops around t with the
//                           smoothstep of t's place between them, holds the end colours beyond
//                           the first and last stop
#pragma once

#include <cstdint>

#include "common/ColorWord.h"
#include "functions/VectorMath.h"

namespace luneth::colour {

inline float Unit(float t) {
    if (!(t > 0.0f)) return 0.0f;
    return t < 1.0f ? t : 1.0f;
}

inline float Smoothstep(float e0, float e1, float x) {
    const float s = Unit((x - e0) / (e1 - e0));
    return s * s * (3.0f - 2.0f * s);
}

constexpr Vec3 Rgb(uint32_t rgb) {
    return {static_cast<float>(rgb >> 16 & 0xFFu) / 255.0f,
            static_cast<float>(rgb >> 8 & 0xFFu) / 255.0f,
            static_cast<float>(rgb & 0xFFu) / 255.0f};
}

inline float Pack(const Vec3& c) { return MakeColorWord(c[0], c[1], c[2]); }

inline float Pack(const Vec3& c, uint32_t alpha) {
    return FloatFromBits(alpha << 24 | ChannelByte(c[0]) << 16 | ChannelByte(c[1]) << 8 |
                         ChannelByte(c[2]));
}

inline Vec3 Mix(const Vec3& a, const Vec3& b, float w) { return a * (1.0f - w) + b * w; }

struct Gradient {
    static constexpr int kMaxStops = 8;
    int count;
    float position[kMaxStops];  // ascending
    uint32_t rgb[kMaxStops];

    Vec3 Sample(float t) const {
        if (!(t > position[0])) return Rgb(rgb[0]);  // at or below the first stop, or NaN
        int k = 1;
        while (k < count && position[k] <= t) ++k;  // the first stop above t
        if (k == count) return Rgb(rgb[count - 1]);
        const float w = Smoothstep(position[k - 1], position[k], t);
        return Mix(Rgb(rgb[k - 1]), Rgb(rgb[k]), w);
    }
};

}  // namespace luneth::colour
