#include "PictureCodecs.h"

#include <strings.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <cstring>
#include <new>

#include "DdsCodec.h"

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

bool ReadWholeFile(const char* path, QByteArray* bytes) {
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError && !bytes->isEmpty();
}

uint32_t LittleEndian(const QByteArray& b, qsizetype at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | uint8_t(b[at + i]);
    return v;
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
            if (compression != 0 && compression != 3) {
                // Run-length data: the header's own file size must be there.
                return LittleEndian(b, 2, 4) <= uint32_t(b.size());
            }
            int64_t row = (width * bits + 31) / 32 * 4;
            return width > 0 && int64_t(offset) + row * height <= int64_t(b.size());
        }
        default:
            return true;  // ppm and tga: Qt's readers refuse short data themselves
    }
}

bool DecodeWithQt(const QByteArray& bytes, PictureFormat format, const PixelTarget& target,
                  PictureTexts* texts) {
    if (!LooksComplete(bytes, format)) return false;
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return false;
    QImageReader reader(&buffer, QtFormatName(format));
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);
    QSize size = reader.size();
    if (size.isValid() &&
        (uint32_t(size.width()) > kMaxPictureSide || uint32_t(size.height()) > kMaxPictureSide))
        return false;
    QImage image;
    if (!reader.read(&image) || image.isNull()) return false;
    if (uint32_t(image.width()) > kMaxPictureSide || uint32_t(image.height()) > kMaxPictureSide)
        return false;
    if (image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) return false;

    uint32_t width = uint32_t(image.width()), height = uint32_t(image.height());
    uint32_t pitch = 0;
    uint32_t* out = target(width, height, &pitch);
    if (!out) return false;
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

namespace {

bool LoadPictureUnguarded(const char* path, const PixelTarget& target, PictureTexts* texts) {
    PictureFormat format = PictureFormatFromPath(path);
    if (format == PictureFormat::Unknown) return false;
    QByteArray bytes;
    if (!ReadWholeFile(path, &bytes)) return false;
    if (format == PictureFormat::Dds) return DecodeDds(bytes, target);
    return DecodeWithQt(bytes, format, target, texts);
}

bool SavePictureUnguarded(const char* path, const uint32_t* texels, uint32_t width, uint32_t height,
                          uint32_t pitchWords, const PictureTexts* texts) {
    PictureFormat format = PictureFormatFromPath(path);
    if (format == PictureFormat::Unknown || !texels || width == 0 || height == 0 ||
        pitchWords < width)
        return false;
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
    if (!ok || encoded.isEmpty()) return false;

    QSaveFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(encoded) != encoded.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace

// Qt reports exhausted memory by throwing; pictures may be large, so that is a failed load or
// save here, never an exception out of the engine.
bool LoadPicture(const char* path, const PixelTarget& target, PictureTexts* texts) {
    try {
        return LoadPictureUnguarded(path, target, texts);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool SavePicture(const char* path, const uint32_t* texels, uint32_t width, uint32_t height,
                 uint32_t pitchWords, const PictureTexts* texts) {
    try {
        return SavePictureUnguarded(path, texels, width, height, pitchWords, texts);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace kivcore
