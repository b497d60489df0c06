#include "genart.h"

namespace genart {

QImage Blank(int w, int h, int scale, const QColor& fill) {
    QImage img(w * scale, h * scale, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

void Prepare(QPainter& p, int scale) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.scale(scale, scale);
}

QFont Font(const QString& family, qreal pixelSize, bool bold, int stretch) {
    QFont f(family);
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setBold(bold);
    f.setStretch(stretch);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

}  // namespace genart
