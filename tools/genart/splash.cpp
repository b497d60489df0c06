// The title picture: "Karvelo" glowing on black, the four suit signs, a tagline and
// a credit line. Only its top-left 644 x 385 pixels show in the window before it
// grows, so everything sits inside that part.
#include "genart.h"

#include <vector>

namespace genart {

namespace {

// A box blur of radius r along one axis of a premultiplied picture.
void BlurPass(QImage& img, int r, bool horizontal) {
    const int w = img.width(), h = img.height();
    const int lines = horizontal ? h : w, len = horizontal ? w : h;
    std::vector<QRgb> line(static_cast<size_t>(len));
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < len; ++i)
            line[static_cast<size_t>(i)] = horizontal ? img.pixel(i, l) : img.pixel(l, i);
        long sum[4] = {0, 0, 0, 0};
        auto add = [&](int i, int sign) {
            if (i < 0 || i >= len) return;
            const QRgb c = line[static_cast<size_t>(i)];
            sum[0] += sign * qRed(c);
            sum[1] += sign * qGreen(c);
            sum[2] += sign * qBlue(c);
            sum[3] += sign * qAlpha(c);
        };
        for (int i = -r; i <= r; ++i) add(i, 1);
        const long n = 2 * r + 1;
        for (int i = 0; i < len; ++i) {
            const QRgb out = qRgba(static_cast<int>(sum[0] / n), static_cast<int>(sum[1] / n),
                                   static_cast<int>(sum[2] / n), static_cast<int>(sum[3] / n));
            if (horizontal) img.setPixel(i, l, out);
            else img.setPixel(l, i, out);
            add(i - r, -1);
            add(i + r + 1, 1);
        }
    }
}

QImage Blurred(QImage img, int radius) {
    for (int pass = 0; pass < 3; ++pass) {
        BlurPass(img, radius, true);
        BlurPass(img, radius, false);
    }
    return img;
}

QPainterPath CentredText(const QString& text, const QFont& font, qreal cx, qreal baseline) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path.translated(cx - path.boundingRect().center().x(), baseline);
}

}  // namespace

QImage DrawSplash(int scale) {
    constexpr qreal cx = 322;  // middle of the part that shows at first
    QImage img = Blank(650, 450, scale, Qt::black);
    const QPainterPath title =
        CentredText(QStringLiteral("Karvelo"), Font(QStringLiteral("DejaVu Serif"), 118, true), cx, 178);

    // The glow: the title in warm orange, blurred wide and then narrow.
    QImage glow = Blank(650, 450, scale);
    {
        QPainter g(&glow);
        Prepare(g, scale);
        g.setPen(QPen(QColor(255, 140, 30), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        g.setBrush(QColor(255, 150, 40));
        g.drawPath(title);
    }
    const QImage wide = Blurred(glow, 9 * scale);
    const QImage narrow = Blurred(glow, 3 * scale);

    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    p.drawImage(0, 0, wide);
    p.drawImage(0, 0, wide);
    p.setOpacity(0.8);
    p.drawImage(0, 0, narrow);
    p.setOpacity(1);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    Prepare(p, scale);

    // The letters themselves, pale gold fading to white at the top.
    QLinearGradient gold(0, 90, 0, 180);
    gold.setColorAt(0, QColor(255, 252, 236));
    gold.setColorAt(0.6, QColor(255, 226, 140));
    gold.setColorAt(1, QColor(240, 170, 60));
    p.setPen(QPen(QColor(120, 60, 0), 1.2));
    p.setBrush(gold);
    p.drawPath(title);

    // The four suits in a row, each with a faint halo.
    for (int s = 0; s < 4; ++s) {
        const QPointF c(cx - 66 + 44 * s, 232);
        QRadialGradient halo(c, 20);
        halo.setColorAt(0, QColor(255, 255, 255, 60));
        halo.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(c, 20, 20);
        p.save();
        p.translate(c);
        p.scale(0.24, 0.24);
        p.translate(-50, -50);
        p.setBrush(s % 2 == 0 ? QColor(230, 40, 50) : QColor(235, 235, 240));
        p.drawPath(SuitPath(s));
        p.restore();
    }

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(222, 222, 222));
    p.drawPath(CentredText(QStringLiteral("En patiens för skrivbordet"),
                           Font(QStringLiteral("DejaVu Sans"), 24, false), cx, 300));
    p.setBrush(QColor(150, 150, 150));
    p.drawPath(CentredText(QStringLiteral("Välj Nytt spel (F2) för att börja"),
                           Font(QStringLiteral("DejaVu Sans"), 15, false), cx, 328));
    p.setBrush(QColor(110, 110, 110));
    p.drawPath(CentredText(QStringLiteral("Ritat och programmerat av Karvelo-gruppen"),
                           Font(QStringLiteral("DejaVu Sans"), 12, false), cx, 368));
    return img;
}

}  // namespace genart
