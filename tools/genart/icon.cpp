// The application icon, a black spade with a grey shadow, and the .ico container.
#include "genart.h"

#include <QBuffer>
#include <QtEndian>

namespace genart {

QImage DrawIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    // The shadow falls a whole number of pixels down and right so it stays crisp.
    const qreal offset = qMax(1, qRound(size / 16.0));
    const qreal box = size - offset - qMax(0.0, size / 32.0);
    const QPainterPath spade = SuitPath(3);
    auto draw = [&](qreal dx, const QColor& c) {
        p.save();
        p.translate(dx + (size - offset - box) / 2, dx);
        p.scale(box / 100.0, box / 100.0);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPath(spade);
        p.restore();
    };
    draw(offset, QColor(128, 128, 128, 200));
    draw(0, QColor(0, 0, 0));
    return img;
}

namespace {

void Put16(QByteArray& out, int v) {
    const quint16 le = qToLittleEndian(static_cast<quint16>(v));
    out.append(reinterpret_cast<const char*>(&le), 2);
}

void Put32(QByteArray& out, qint64 v) {
    const quint32 le = qToLittleEndian(static_cast<quint32>(v));
    out.append(reinterpret_cast<const char*>(&le), 4);
}

// A 32-bit DIB as the small icon sizes carry it: the header gives twice the height
// (colour rows then the transparency mask), rows run bottom-up.
QByteArray Dib(const QImage& src) {
    const QImage img = src.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    QByteArray out;
    Put32(out, 40);
    Put32(out, w);
    Put32(out, 2 * h);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) Put32(out, img.pixel(x, y));  // BGRA in memory
    const int maskStride = ((w + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(img.pixel(x, y)) == 0)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        out.append(row);
    }
    return out;
}

}  // namespace

QByteArray IcoFile(const std::vector<QImage>& images) {
    std::vector<QByteArray> blobs;
    for (const QImage& img : images) {
        if (img.width() >= 256) {  // the large size is stored as PNG
            QByteArray png;
            QBuffer buf(&png);
            buf.open(QIODevice::WriteOnly);
            img.save(&buf, "PNG");
            blobs.push_back(png);
        } else {
            blobs.push_back(Dib(img));
        }
    }
    QByteArray out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<int>(images.size()));
    qint64 offset = 6 + 16 * static_cast<qint64>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int s = images[i].width();
        out.append(static_cast<char>(s >= 256 ? 0 : s));
        out.append(static_cast<char>(s >= 256 ? 0 : s));
        out.append('\0');  // no palette
        out.append('\0');
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, blobs[i].size());
        Put32(out, offset);
        offset += blobs[i].size();
    }
    for (const QByteArray& b : blobs) out.append(b);
    return out;
}

}  // namespace genart
