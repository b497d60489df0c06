// The card back (a blue lattice inside a white border) and the empty card place.
#include "genart.h"

namespace genart {

QImage DrawBack(int scale) {
    constexpr qreal w = 71, h = 96;
    QImage img = Blank(71, 96, scale);
    QPainter p(&img);
    Prepare(p, scale);
    QPainterPath card;
    card.addRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 4.5, 4.5);
    p.setPen(QPen(kEdge, 1));
    p.setBrush(Qt::white);
    p.drawPath(card);

    const QRectF field(4, 4, w - 8, h - 8);
    QPainterPath inner;
    inner.addRoundedRect(field, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(22, 58, 140));
    p.drawPath(inner);

    // A lattice of light lines with a dot where they cross, clipped to the field.
    p.save();
    p.setClipPath(inner);
    p.setPen(QPen(QColor(96, 140, 214), 0.8));
    constexpr qreal step = 7;
    for (qreal d = -h; d < w + h; d += step) {
        p.drawLine(QPointF(d, 0), QPointF(d + h, h));
        p.drawLine(QPointF(d, 0), QPointF(d - h, h));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 200, 246));
    for (qreal y = 4 + step / 2; y < h; y += step)
        for (qreal x = (w / 2) - 5 * step; x < w; x += step) {
            const int rowIndex = static_cast<int>((y - 4) / step);
            const qreal shift = (rowIndex % 2) * step / 2;
            p.drawEllipse(QPointF(x + shift, y), 0.8, 0.8);
        }
    p.restore();

    // A white inner frame and a medallion with a spade in the middle.
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(field.adjusted(2.5, 2.5, -2.5, -2.5), 1.5, 1.5);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(QColor(22, 58, 140));
    p.drawEllipse(QPointF(w / 2, h / 2), 11, 14);
    p.setPen(QPen(QColor(170, 200, 246), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(w / 2, h / 2), 9, 12);
    p.save();
    p.translate(w / 2, h / 2);
    const QPainterPath spade = SuitPath(3);
    p.scale(0.13, 0.13);
    p.translate(-50, -50);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(spade);
    p.restore();
    return img;
}

QImage DrawEmptyPlace(int scale) {
    // Drawn pixel by pixel without smoothing: the colours must be exact.
    QImage img(71 * scale, 96 * scale, QImage::Format_RGB32);
    img.fill(QColor(0, 128, 0));
    QPainter p(&img);
    const int w = img.width(), h = img.height(), t = scale;
    p.fillRect(0, 0, w, t, QColor(0, 88, 0));
    p.fillRect(0, 0, t, h, QColor(0, 88, 0));
    p.fillRect(0, h - t, w, t, QColor(0, 173, 0));
    p.fillRect(w - t, t, t, h - t, QColor(0, 173, 0));
    return img;
}

}  // namespace genart
