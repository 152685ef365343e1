#include "module/ScriptChannels.h"

#include <algorithm>
#include <memory>
#include <new>

namespace luneth {

namespace {

// One row of a channel: a pointer straight into the array where the row lies inside it,
// otherwise a row built in `scratch` (the constant, or the array's tail padded with zeros).
class ChannelRows {
public:
    ChannelRows(const float* data, uint32_t count, float constant, uint32_t width, float* scratch)
        : data_(data), count_(count), width_(width), scratch_(scratch) {
        if (!data_) std::fill(scratch_, scratch_ + width_, constant);
    }

    const float* Row(uint64_t first) const {
        if (!data_) return scratch_;
        if (first + width_ <= count_) return data_ + first;
        for (uint32_t x = 0; x < width_; ++x)
            scratch_[x] = first + x < count_ ? data_[first + x] : 0.0f;
        return scratch_;
    }

private:
    const float* data_;
    uint32_t count_;
    uint32_t width_;
    float* scratch_;
};

}  // namespace

bool ConvertScriptChannels(const ScriptValue& r, const ScriptValue& g, const ScriptValue& b,
                           const ScriptValue* a, uint32_t width, uint32_t height, uint32_t* texels,
                           uint32_t pitchWords) {
    if (!texels || width == 0 || height == 0 || pitchWords < width) return false;
    std::unique_ptr<float[]> scratch(new (std::nothrow) float[size_t(width) * 4]);
    if (!scratch) return false;
    float* s = scratch.get();
    ChannelRows red(r.data, r.count, r.scalar, width, s);
    ChannelRows green(g.data, g.count, g.scalar, width, s + width);
    ChannelRows blue(b.data, b.count, b.scalar, width, s + 2 * size_t(width));
    bool perPixelAlpha = a && a->data && a->count;
    ChannelRows alpha(perPixelAlpha ? a->data : nullptr, perPixelAlpha ? a->count : 0, 1.0f, width,
                      s + 3 * size_t(width));
    for (uint32_t y = 0; y < height; ++y) {
        uint64_t first = uint64_t(y) * width;
        const float* rr = red.Row(first);
        const float* gg = green.Row(first);
        const float* bb = blue.Row(first);
        const float* aa = alpha.Row(first);
        uint32_t* out = texels + size_t(y) * pitchWords;
        for (uint32_t x = 0; x < width; ++x)
            out[x] = ChannelByte(aa[x]) << 24 | ChannelByte(rr[x]) << 16 |
                     ChannelByte(gg[x]) << 8 | ChannelByte(bb[x]);
    }
    return true;
}

}  // namespace luneth
