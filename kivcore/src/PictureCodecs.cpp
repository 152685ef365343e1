#include "PictureCodecs.h"

#include <strings.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>
#include <string>

#include "DdsCodec.h"
#include "kiv/files.h"

extern "C" {
// From libstb (stb_image_write): RLE makes files that some readers refuse; we write plain ones.
extern int stbi_write_tga_with_rle;
int stbi_write_tga_to_func(void (*func)(void* context, void* data, int size), void* context, int w,
                           int h, int comp, const void* data);
}

namespace kivcore {

namespace {

const char* QtFormatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Png:
            return "png";
        case PictureFormat::Jpg:
            return "jpeg";
        case PictureFormat::Bmp:
            return "bmp";
        case PictureFormat::Ppm:
            return "ppm";
        case PictureFormat::Tga:
            return "tga";
        default:
            return nullptr;
    }
}

thread_local std::string t_lastError;

bool ReadWholeFile(const char* path, uint64_t limit, QByteArray* bytes) {
    std::string why;
    uint64_t size = 0;
    int fd = KivOpenRegularFile(path, limit, &size, &why);
    if (fd < 0) return PictureFailure(why);
    bytes->resize(qsizetype(size));
    bool ok = KivReadExactly(fd, bytes->data(), size_t(size), &why);
    close(fd);
    return ok || PictureFailure(why);
}

uint32_t LittleEndian(const QByteArray& b, qsizetype at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | uint8_t(b[at + i]);
    return v;
}

// The header of a PBM, PGM or PPM file (P1 to P6): width, height and largest value (1 for
// bitmaps), and where the data start (after the single blank that ends a binary header).
struct PnmHeader {
    int kind = 0;
    uint64_t values[3] = {0, 0, 1};
    qsizetype data = 0;
};

bool ReadPnmHeader(const QByteArray& b, PnmHeader* h) {
    if (b.size() < 3 || b[0] != 'P' || b[1] < '1' || b[1] > '6') return false;
    h->kind = b[1] - '0';
    qsizetype at = 2;
    const bool bitmap = h->kind == 1 || h->kind == 4;
    for (int i = 0; i < (bitmap ? 2 : 3); ++i) {
        for (;;) {  // blanks and comments
            if (at < b.size() && b[at] == '#')
                while (at < b.size() && b[at] != '\n') ++at;
            else if (at < b.size() && std::isspace(static_cast<unsigned char>(b[at])))
                ++at;
            else
                break;
        }
        if (at >= b.size() || !std::isdigit(static_cast<unsigned char>(b[at]))) return false;
        h->values[i] = 0;
        for (; at < b.size() && std::isdigit(static_cast<unsigned char>(b[at])); ++at)
            h->values[i] = std::min<uint64_t>(h->values[i] * 10 + uint64_t(b[at] - '0'), 1u << 30);
    }
    h->data = at + 1;
    return true;
}

// Binary PBM, PGM and PPM (P4, P5, P6): the header's size tells how many data bytes follow.
// Qt's reader takes a short P4 or P5 as whole and fills the rest; text forms (P1 to P3) fail
// short by themselves.
bool PnmDataComplete(const QByteArray& b) {
    PnmHeader h;
    if (!ReadPnmHeader(b, &h) || h.kind < 4) return true;  // Qt's reader refuses the rest
    const uint64_t width = h.values[0], height = h.values[1];
    const uint64_t sampleBytes = h.values[2] > 255 ? 2 : 1;
    const uint64_t row =
        h.kind == 4 ? (width + 7) / 8 : width * sampleBytes * (h.kind == 6 ? 3 : 1);
    return h.data <= b.size() && row * height <= uint64_t(b.size() - h.data);
}

uint32_t BigEndian(const QByteArray& b, qsizetype at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | uint8_t(b[at + i]);
    return v;
}

// The size a file's header claims, read before any decoder allocates for it; false when the
// header does not say (the decoder then finds the file damaged).
bool ClaimedSize(const QByteArray& b, PictureFormat format, uint64_t* width, uint64_t* height) {
    switch (format) {
        case PictureFormat::Png:
            if (b.size() < 24 || b.mid(12, 4) != "IHDR") return false;
            *width = BigEndian(b, 16, 4), *height = BigEndian(b, 20, 4);
            return true;
        case PictureFormat::Bmp: {
            if (b.size() < 26) return false;
            bool os2 = LittleEndian(b, 14, 4) == 12;
            int64_t w = os2 ? LittleEndian(b, 18, 2) : int32_t(LittleEndian(b, 18, 4));
            int64_t h = os2 ? LittleEndian(b, 20, 2) : int32_t(LittleEndian(b, 22, 4));
            *width = uint64_t(w < 0 ? -w : w), *height = uint64_t(h < 0 ? -h : h);
            return true;
        }
        case PictureFormat::Tga:
            if (b.size() < 18) return false;
            *width = LittleEndian(b, 12, 2), *height = LittleEndian(b, 14, 2);
            return true;
        case PictureFormat::Ppm: {
            PnmHeader h;
            if (!ReadPnmHeader(b, &h)) return false;
            *width = h.values[0], *height = h.values[1];
            return true;
        }
        case PictureFormat::Jpg:
            // The first start-of-frame marker (C0 to CF but C4, C8 and CC) holds the size.
            for (qsizetype at = 2; at + 9 <= b.size();) {
                if (uint8_t(b[at]) != 0xFF) return false;
                uint8_t marker = uint8_t(b[at + 1]);
                if (marker == 0xFF) {  // fill byte
                    ++at;
                    continue;
                }
                if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                    marker != 0xCC) {
                    *height = BigEndian(b, at + 5, 2), *width = BigEndian(b, at + 7, 2);
                    return true;
                }
                at += 2 + BigEndian(b, at + 2, 2);
            }
            return false;
        default:
            return false;
    }
}

// Qt's readers accept some truncated files and fill the missing part; a picture file here is
// either whole or a failed load. These checks find the end each format must have.
bool LooksComplete(const QByteArray& b, PictureFormat format) {
    switch (format) {
        case PictureFormat::Png: {
            // The IEND chunk with its CRC closes every PNG.
            static const char kIend[] = "\0\0\0\0IEND\xAE\x42\x60\x82";
            return b.lastIndexOf(QByteArray(kIend, 12)) >= 0;
        }
        case PictureFormat::Jpg: {
            // The end-of-image marker; entropy-coded data can't contain it (bytes are stuffed).
            qsizetype eoi = b.lastIndexOf(QByteArray("\xFF\xD9", 2));
            return eoi >= 0 && eoi >= b.size() - 16;
        }
        case PictureFormat::Bmp: {
            if (b.size() < 30) return false;
            uint32_t offset = LittleEndian(b, 10, 4);
            uint32_t infoSize = LittleEndian(b, 14, 4);
            if (infoSize < 40 || b.size() < 34) return infoSize == 12;  // OS/2 headers: Qt checks
            int64_t width = int32_t(LittleEndian(b, 18, 4));
            int64_t height = int32_t(LittleEndian(b, 22, 4));
            uint32_t bits = LittleEndian(b, 28, 2);
            uint32_t compression = LittleEndian(b, 30, 4);
            if (height < 0) height = -height;
            // Sides beyond the limit fail anyway; checked first so the sizes below can't overflow.
            if (width <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) return false;
            if (compression != 0 && compression != 3) {
                // Run-length data: the header's own file size must be there.
                return LittleEndian(b, 2, 4) <= uint32_t(b.size());
            }
            int64_t row = (width * bits + 31) / 32 * 4;
            return int64_t(offset) + row * height <= int64_t(b.size());
        }
        case PictureFormat::Ppm:
            return PnmDataComplete(b);
        default:
            return true;  // tga: Qt's reader refuses short data itself
    }
}

bool DecodeWithQt(const QByteArray& bytes, PictureFormat format, const PixelTarget& target,
                  PictureTexts* texts, uint64_t memoryBudget) {
    uint64_t claimedWidth = 0, claimedHeight = 0;
    if (ClaimedSize(bytes, format, &claimedWidth, &claimedHeight)) {
        std::string problem = PictureSizeProblem(claimedWidth, claimedHeight, memoryBudget);
        if (!problem.empty()) return PictureFailure(problem);
    }
    if (!LooksComplete(bytes, format)) return PictureFailure("it is damaged or truncated");
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return PictureFailure("it can't be read");
    QImageReader reader(&buffer, QtFormatName(format));
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);
    // Qt's own ceiling for what it allocates, where the header does not tell the size first.
    uint64_t ceiling = uint64_t(kMaxPictureSide) * kMaxPictureSide * 4;
    if (memoryBudget && memoryBudget / 2 < ceiling) ceiling = memoryBudget / 2;
    reader.setAllocationLimit(int((ceiling >> 20) + 1));
    QSize size = reader.size();
    if (size.isValid()) {
        std::string problem =
            PictureSizeProblem(uint64_t(std::max(0, size.width())),
                               uint64_t(std::max(0, size.height())), memoryBudget);
        if (!problem.empty()) return PictureFailure(problem);
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) return PictureFailure("it is damaged or truncated");
    std::string problem =
        PictureSizeProblem(uint64_t(image.width()), uint64_t(image.height()), memoryBudget);
    if (!problem.empty()) return PictureFailure(problem);
    if (image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) return PictureFailure("there is not enough memory for it");

    uint32_t width = uint32_t(image.width()), height = uint32_t(image.height());
    uint32_t pitch = 0;
    uint32_t* out = target(width, height, &pitch);
    if (!out) return PictureFailure("there is not enough memory for it");
    for (uint32_t y = 0; y < height; ++y)
        std::memcpy(out + size_t(pitch) * y, image.constScanLine(int(y)), size_t(width) * 4);
    if (texts && format == PictureFormat::Png)
        for (const QString& key : image.textKeys())
            texts->emplace_back(key.toLatin1().toStdString(), image.text(key).toStdString());
    return true;
}

// A QImage over the texels; Format_ARGB32 is exactly 0xAARRGGBB words.
QImage WrapTexels(const uint32_t* texels, uint32_t width, uint32_t height, uint32_t pitchWords) {
    return QImage(reinterpret_cast<const uchar*>(texels), int(width), int(height),
                  qsizetype(pitchWords) * 4, QImage::Format_ARGB32);
}

bool EncodeWithQt(const uint32_t* texels, uint32_t width, uint32_t height, uint32_t pitchWords,
                  PictureFormat format, const PictureTexts* texts, QByteArray* out) {
    QImage image = WrapTexels(texels, width, height, pitchWords);
    if (texts && format == PictureFormat::Png)
        for (const auto& [key, value] : *texts)
            image.setText(QString::fromLatin1(key.c_str()), QString::fromStdString(value));
    // Formats without alpha get the colour as it is (alpha dropped, not blended).
    if (format == PictureFormat::Jpg || format == PictureFormat::Ppm ||
        format == PictureFormat::Bmp)
        image = image.convertToFormat(QImage::Format_RGB32);
    QBuffer buffer(out);
    if (!buffer.open(QIODevice::WriteOnly)) return false;
    QImageWriter writer(&buffer, QtFormatName(format));
    if (format == PictureFormat::Jpg) writer.setQuality(95);
    return writer.write(image);
}

void AppendBytes(void* context, void* data, int size) {
    if (size > 0) static_cast<QByteArray*>(context)->append(static_cast<const char*>(data), size);
}

bool EncodeTga(const uint32_t* texels, uint32_t width, uint32_t height, uint32_t pitchWords,
               QByteArray* out) {
    // stb takes R, G, B, A bytes.
    QByteArray rgba;
    rgba.resize(qsizetype(width) * height * 4);
    uint8_t* q = reinterpret_cast<uint8_t*>(rgba.data());
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t* row = texels + size_t(pitchWords) * y;
        for (uint32_t x = 0; x < width; ++x, q += 4) {
            uint32_t c = row[x];
            q[0] = uint8_t(c >> 16), q[1] = uint8_t(c >> 8), q[2] = uint8_t(c),
            q[3] = uint8_t(c >> 24);
        }
    }
    stbi_write_tga_with_rle = 0;
    if (!stbi_write_tga_to_func(AppendBytes, out, int(width), int(height), 4, rgba.constData()))
        return false;
    // The TGA 2.0 footer (no extension or developer areas); Qt's reader requires it.
    static const char kFooter[26] = "\0\0\0\0\0\0\0\0TRUEVISION-XFILE.";
    out->append(kFooter, 26);
    return true;
}

}  // namespace

PictureFormat PictureFormatFromPath(const char* path) { return KivPictureFormatOf(path); }

bool PictureFailure(std::string reason) {
    t_lastError = std::move(reason);
    return false;
}

const char* LastPictureError() { return t_lastError.c_str(); }

std::string PictureSizeProblem(uint64_t width, uint64_t height, uint64_t memoryBudget) {
    std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (width == 0 || height == 0) return "it claims " + size;
    if (width > kMaxPictureSide || height > kMaxPictureSide)
        return "it claims " + size + ", more than " + std::to_string(kMaxPictureSide) + " a side";
    uint64_t need = width * height * 4 * 2;
    if (memoryBudget && need > memoryBudget)
        return "it claims " + size + ", which need " +
               std::to_string((need + (1 << 20) - 1) >> 20) +
               " MiB, more than the memory budget leaves (" + std::to_string(memoryBudget >> 20) +
               " MiB)";
    return {};
}

namespace {

bool LoadPictureUnguarded(const char* path, const PixelTarget& target, PictureTexts* texts,
                          uint64_t memoryBudget) {
    PictureFormat format = PictureFormatFromPath(path);
    if (format == PictureFormat::Unknown)
        return PictureFailure("it has no picture extension (png, jpg, jpeg, bmp, ppm, tga or dds)");
    uint64_t limit = kMaxPictureFileBytes;
    if (memoryBudget && memoryBudget < limit) limit = memoryBudget;
    QByteArray bytes;
    if (!ReadWholeFile(path, limit, &bytes)) return false;
    if (format == PictureFormat::Dds) return DecodeDds(bytes, target, memoryBudget);
    return DecodeWithQt(bytes, format, target, texts, memoryBudget);
}

bool SavePictureUnguarded(const char* path, const uint32_t* texels, uint32_t width, uint32_t height,
                          uint32_t pitchWords, const PictureTexts* texts) {
    PictureFormat format = PictureFormatFromPath(path);
    if (format == PictureFormat::Unknown)
        return PictureFailure("it has no picture extension (png, jpg, jpeg, bmp, ppm, tga or dds)");
    if (!texels || width == 0 || height == 0 || pitchWords < width)
        return PictureFailure("there is no picture to write");
    QByteArray encoded;
    bool ok = false;
    if (format == PictureFormat::Dds) {
        encoded = EncodeDds(texels, width, height, pitchWords);
        ok = !encoded.isEmpty();
    } else if (format == PictureFormat::Tga) {
        ok = EncodeTga(texels, width, height, pitchWords, &encoded);
    } else {
        ok = EncodeWithQt(texels, width, height, pitchWords, format, texts, &encoded);
    }
    if (!ok || encoded.isEmpty()) return PictureFailure("the picture could not be encoded");
    std::string why;
    bool written = KivWriteFileAtomically(
        path,
        [&encoded](std::FILE* file) {
            return std::fwrite(encoded.constData(), 1, size_t(encoded.size()), file) ==
                   size_t(encoded.size());
        },
        &why);
    return written || PictureFailure(why);
}

}  // namespace

// Qt reports exhausted memory by throwing; pictures may be large, so that is a failed load or
// save here, never an exception out of the engine.
bool LoadPicture(const char* path, const PixelTarget& target, PictureTexts* texts,
                 uint64_t memoryBudget) {
    t_lastError.clear();
    try {
        return LoadPictureUnguarded(path, target, texts, memoryBudget);
    } catch (const std::bad_alloc&) {
        return PictureFailure("there is not enough memory for it");
    }
}

bool SavePicture(const char* path, const uint32_t* texels, uint32_t width, uint32_t height,
                 uint32_t pitchWords, const PictureTexts* texts) {
    t_lastError.clear();
    try {
        return SavePictureUnguarded(path, texels, width, height, pitchWords, texts);
    } catch (const std::bad_alloc&) {
        return PictureFailure("there is not enough memory for it");
    }
}

}  // namespace kivcore
