#include "pixels.h"

#include <QtEndian>

#include <cstring>

namespace karvelo {
namespace {

constexpr char kMagic[4] = {'K', 'V', 'P', 'X'};
constexpr quint32 kOpaque = 0;
constexpr quint32 kWithAlpha = 1;

quint32 ReadWord(const char* at) { return qFromLittleEndian<quint32>(at); }

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
    if (source.isNull() || source.width() > kPixelsMaxSide || source.height() > kPixelsMaxSide)
        return {};
    const bool opaque = !source.hasAlphaChannel();
    const QImage image = source.convertToFormat(opaque ? QImage::Format_RGB32
                                                       : QImage::Format_ARGB32_Premultiplied);
    QByteArray out;
    out.reserve(kPixelsHeaderBytes + image.width() * image.height() * 4);
    auto word = [&out](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    out.append(kMagic, 4);
    word(static_cast<quint32>(image.width()));
    word(static_cast<quint32>(image.height()));
    word(opaque ? kOpaque : kWithAlpha);
    for (int y = 0; y < image.height(); ++y) {
        const auto* px = reinterpret_cast<const quint32*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) word(opaque ? (px[x] | 0xff000000u) : px[x]);
    }
    return out;
}

}  // namespace karvelo
