#include "DdsCodec.h"

#include <squish.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace kivcore {

namespace {

constexpr uint32_t kMagic = 0x20534444;  // "DDS "
constexpr uint32_t kHeaderSize = 124;
constexpr uint32_t kPixelFormatSize = 32;
constexpr size_t kFileHeaderBytes = 4 + kHeaderSize;

constexpr uint32_t DDSD_CAPS = 0x1, DDSD_HEIGHT = 0x2, DDSD_WIDTH = 0x4, DDSD_PITCH = 0x8,
                   DDSD_PIXELFORMAT = 0x1000, DDSD_MIPMAPCOUNT = 0x20000;
constexpr uint32_t DDPF_ALPHAPIXELS = 0x1, DDPF_ALPHA = 0x2, DDPF_FOURCC = 0x4, DDPF_RGB = 0x40,
                   DDPF_LUMINANCE = 0x20000;
constexpr uint32_t DDSCAPS_TEXTURE = 0x1000;

constexpr uint32_t FourCC(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}

// Header fields as 32-bit words after the magic: index = byte offset / 4 within the header.
enum HeaderWord {
    kSize = 0,
    kFlags = 1,
    kHeight = 2,
    kWidth = 3,
    kPitch = 4,
    kMipMapCount = 6,
    kPfSize = 18,
    kPfFlags = 19,
    kPfFourCC = 20,
    kPfBitCount = 21,
    kPfRMask = 22,
    kPfGMask = 23,
    kPfBMask = 24,
    kPfAMask = 25,
    kCaps = 26,
};

uint32_t ReadWord(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// One colour channel of a masked pixel, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (!m) return;
        while (!((m >> shift) & 1u)) ++shift;
        max = m >> shift;
    }
    uint32_t Byte(uint32_t pixel, uint32_t absent) const {
        if (!max) return absent;
        uint32_t v = (pixel & mask) >> shift;
        return static_cast<uint32_t>((uint64_t(v) * 255u + max / 2) / max);
    }
};

constexpr const char* kTruncated = "it is truncated: its data is shorter than its header says";

bool DecodeMasked(const uint8_t* data, size_t available, uint32_t width, uint32_t height,
                  const uint32_t* header, const PixelTarget& target) {
    uint32_t flags = header[kPfFlags];
    uint32_t bits = header[kPfBitCount];
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return PictureFailure("it has " + std::to_string(bits) +
                              " bits a pixel (8, 16, 24 or 32 read)");
    uint32_t bytesPerPixel = bits / 8;
    size_t rowBytes = size_t(width) * bytesPerPixel;
    // Rows lie `pitch` bytes apart when the header says so; a pitch of 0 means none given.
    size_t stride = rowBytes;
    if ((header[kFlags] & DDSD_PITCH) && header[kPitch] != 0) {
        if (header[kPitch] < rowBytes)
            return PictureFailure("it is damaged: its pitch of " + std::to_string(header[kPitch]) +
                                  " bytes is shorter than a row of " + std::to_string(rowBytes));
        stride = header[kPitch];
    }
    if (uint64_t(stride) * (height - 1) + rowBytes > available) return PictureFailure(kTruncated);

    bool luminance = flags & DDPF_LUMINANCE;
    bool alphaOnly = !(flags & (DDPF_RGB | DDPF_LUMINANCE)) && (flags & DDPF_ALPHA);
    if (!(flags & (DDPF_RGB | DDPF_LUMINANCE)) && !alphaOnly)
        return PictureFailure("it has a pixel format of neither colour, luminance nor alpha");
    Channel r(alphaOnly ? 0 : header[kPfRMask]);
    Channel g(luminance || alphaOnly ? 0 : header[kPfGMask]);
    Channel b(luminance || alphaOnly ? 0 : header[kPfBMask]);
    bool hasAlpha = (flags & (DDPF_ALPHAPIXELS | DDPF_ALPHA)) != 0;
    Channel a(hasAlpha ? header[kPfAMask] : 0);
    if (!r.max && !g.max && !b.max && !a.max) return PictureFailure("it has no channel masks");

    uint32_t pitch = 0;
    uint32_t* out = target(width, height, &pitch);
    if (!out) return PictureFailure("there is not enough memory for it");
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = data + stride * y;
        uint32_t* dst = out + size_t(pitch) * y;
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t pixel = 0;
            for (uint32_t k = 0; k < bytesPerPixel; ++k) pixel |= uint32_t(row[k]) << (8 * k);
            row += bytesPerPixel;
            uint32_t red = r.Byte(pixel, 0);
            uint32_t green = luminance ? red : g.Byte(pixel, 0);
            uint32_t blue = luminance ? red : b.Byte(pixel, 0);
            dst[x] = a.Byte(pixel, 255) << 24 | red << 16 | green << 8 | blue;
        }
    }
    return true;
}

bool DecodeCompressed(const uint8_t* data, size_t available, uint32_t width, uint32_t height,
                      uint32_t fourCC, const PixelTarget& target) {
    int flags = 0;
    size_t blockBytes = 16;
    if (fourCC == FourCC('D', 'X', 'T', '1')) {
        flags = squish::kDxt1;
        blockBytes = 8;
    } else if (fourCC == FourCC('D', 'X', 'T', '3')) {
        flags = squish::kDxt3;
    } else if (fourCC == FourCC('D', 'X', 'T', '5')) {
        flags = squish::kDxt5;
    } else {
        char name[5] = {char(fourCC), char(fourCC >> 8), char(fourCC >> 16), char(fourCC >> 24), 0};
        for (char& c : name)
            if (c && (c < 32 || c > 126)) c = '?';
        return PictureFailure("it is compressed as '" + std::string(name) +
                              "' (DXT1, DXT3 and DXT5 read)");
    }
    size_t blocks = size_t((width + 3) / 4) * ((height + 3) / 4);
    if (available / blockBytes < blocks) return PictureFailure(kTruncated);

    std::vector<uint8_t> rgba;
    try {
        rgba.resize(size_t(width) * height * 4);
    } catch (const std::bad_alloc&) {
        return PictureFailure("there is not enough memory for it");
    }
    squish::DecompressImage(rgba.data(), int(width), int(height), data, flags);

    uint32_t pitch = 0;
    uint32_t* out = target(width, height, &pitch);
    if (!out) return PictureFailure("there is not enough memory for it");
    const uint8_t* src = rgba.data();
    for (uint32_t y = 0; y < height; ++y) {
        uint32_t* dst = out + size_t(pitch) * y;
        for (uint32_t x = 0; x < width; ++x, src += 4)
            dst[x] =
                uint32_t(src[3]) << 24 | uint32_t(src[0]) << 16 | uint32_t(src[1]) << 8 | src[2];
    }
    return true;
}

}  // namespace

bool DecodeDds(const QByteArray& bytes, const PixelTarget& target, uint64_t memoryBudget) {
    if (size_t(bytes.size()) < kFileHeaderBytes) return PictureFailure(kTruncated);
    const uint8_t* p = reinterpret_cast<const uint8_t*>(bytes.constData());
    if (ReadWord(p) != kMagic)
        return PictureFailure("it is not a DDS file (no \"DDS \" at its start)");
    uint32_t header[kHeaderSize / 4];
    for (uint32_t i = 0; i < kHeaderSize / 4; ++i) header[i] = ReadWord(p + 4 + 4 * i);
    if (header[kSize] != kHeaderSize || header[kPfSize] != kPixelFormatSize)
        return PictureFailure("it is damaged: its header has the wrong size");
    uint32_t width = header[kWidth], height = header[kHeight];
    std::string problem = PictureSizeProblem(width, height, memoryBudget);
    if (!problem.empty()) return PictureFailure(problem);
    // A chain of mip levels halves the larger side down to 1.
    uint32_t levels = 1;
    for (uint32_t side = std::max(width, height); side > 1; side /= 2) ++levels;
    if ((header[kFlags] & DDSD_MIPMAPCOUNT) && header[kMipMapCount] > levels)
        return PictureFailure("it is damaged: it claims " + std::to_string(header[kMipMapCount]) +
                              " mip levels, more than the " + std::to_string(levels) + " of " +
                              std::to_string(width) + " x " + std::to_string(height) + " pixels");

    const uint8_t* data = p + kFileHeaderBytes;
    size_t available = size_t(bytes.size()) - kFileHeaderBytes;
    if (header[kPfFlags] & DDPF_FOURCC)
        return DecodeCompressed(data, available, width, height, header[kPfFourCC], target);
    return DecodeMasked(data, available, width, height, header, target);
}

QByteArray EncodeDds(const uint32_t* texels, uint32_t width, uint32_t height, uint32_t pitchWords) {
    uint32_t header[kHeaderSize / 4] = {};
    header[kSize] = kHeaderSize;
    header[kFlags] = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    header[kHeight] = height;
    header[kWidth] = width;
    header[kPitch] = width * 4;
    header[kPfSize] = kPixelFormatSize;
    header[kPfFlags] = DDPF_RGB | DDPF_ALPHAPIXELS;
    header[kPfBitCount] = 32;
    header[kPfRMask] = 0x00FF0000;
    header[kPfGMask] = 0x0000FF00;
    header[kPfBMask] = 0x000000FF;
    header[kPfAMask] = 0xFF000000;
    header[kCaps] = DDSCAPS_TEXTURE;

    QByteArray out;
    out.resize(qsizetype(kFileHeaderBytes + size_t(width) * height * 4));
    uint8_t* q = reinterpret_cast<uint8_t*>(out.data());
    auto put = [&q](uint32_t w) {
        q[0] = uint8_t(w), q[1] = uint8_t(w >> 8), q[2] = uint8_t(w >> 16), q[3] = uint8_t(w >> 24);
        q += 4;
    };
    put(kMagic);
    for (uint32_t w : header) put(w);
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t* row = texels + size_t(pitchWords) * y;
        for (uint32_t x = 0; x < width; ++x) put(row[x]);
    }
    return out;
}

}  // namespace kivcore
