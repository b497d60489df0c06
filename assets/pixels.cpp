#include "pixels.h"

#include <QtEndian>

#include <cstring>
#include <string>
#include <vector>

#include "bitmap_file.h"

namespace karvelo {
namespace {

constexpr char kMagic[4] = {'K', 'V', 'P', 'X'};
constexpr quint32 kOpaque = 0;
constexpr quint32 kWithAlpha = 1;

quint32 ReadWord(const char* at) { return qFromLittleEndian<quint32>(at); }

template <typename T>
void AppendLittleEndian(QByteArray& out, T v) {
    char b[sizeof(T)];
    qToLittleEndian(v, b);
    out.append(b, sizeof(T));
}

// `source` as 32-bit words, 0xAARRGGBB premultiplied, with alpha 0xff where it has
// none; null when it is null or too large for either format.
QImage Words(const QImage& source) {
    if (source.isNull() || source.width() > kPixelsMaxSide || source.height() > kPixelsMaxSide)
        return {};
    return source.convertToFormat(source.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                           : QImage::Format_RGB32);
}

quint32 Word(const QImage& image, int x, int y) {
    const quint32 px = reinterpret_cast<const quint32*>(image.constScanLine(y))[x];
    return image.hasAlphaChannel() ? px : (px | 0xff000000u);
}

}  // namespace

QImage ImageFromPixels(QByteArrayView bytes) {
    if (bytes.size() < kPixelsHeaderBytes || std::memcmp(bytes.data(), kMagic, 4) != 0) return {};
    const quint32 width = ReadWord(bytes.data() + 4);
    const quint32 height = ReadWord(bytes.data() + 8);
    const quint32 kind = ReadWord(bytes.data() + 12);
    if (width == 0 || height == 0 || width > kPixelsMaxSide || height > kPixelsMaxSide) return {};
    if (kind != kOpaque && kind != kWithAlpha) return {};
    const qsizetype rowBytes = static_cast<qsizetype>(width) * 4;
    if (bytes.size() != kPixelsHeaderBytes + rowBytes * static_cast<qsizetype>(height)) return {};

    QImage image(static_cast<int>(width), static_cast<int>(height),
                 kind == kOpaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return {};  // out of memory
    const char* row = bytes.data() + kPixelsHeaderBytes;
    for (int y = 0; y < image.height(); ++y, row += rowBytes) {
        auto* out = reinterpret_cast<quint32*>(image.scanLine(y));
        if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
            std::memcpy(out, row, static_cast<size_t>(rowBytes));
        } else {
            for (quint32 x = 0; x < width; ++x) out[x] = ReadWord(row + 4 * x);
        }
    }
    return image;
}

QByteArray PixelsFromImage(const QImage& source) {
    const QImage image = Words(source);
    if (image.isNull()) return {};
    QByteArray out;
    out.reserve(kPixelsHeaderBytes + image.width() * image.height() * 4);
    out.append(kMagic, 4);
    AppendLittleEndian<quint32>(out, static_cast<quint32>(image.width()));
    AppendLittleEndian<quint32>(out, static_cast<quint32>(image.height()));
    AppendLittleEndian<quint32>(out, image.hasAlphaChannel() ? kWithAlpha : kOpaque);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) AppendLittleEndian<quint32>(out, Word(image, x, y));
    return out;
}

QByteArray BitmapFileFromImage(const QImage& source) {
    const QImage image = Words(source);
    if (image.isNull()) return {};
    std::vector<uint32_t> words;
    words.reserve(static_cast<size_t>(image.width()) * static_cast<size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) words.push_back(Word(image, x, y));
    const std::string file = BitmapFile({image.width(), image.height(), words});
    return QByteArray(file.data(), static_cast<qsizetype>(file.size()));
}

}  // namespace karvelo
