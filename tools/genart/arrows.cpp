// The three arrows: a grey arrowhead with a lit and a shaded facet either side of its
// ridge and a soft shadow, on a transparent ground. The light comes from the top
// left whichever way the arrow points.
#include "genart.h"

namespace genart {

namespace {

// Turns a point of the downward arrow (in its 32 x 32 box) to point `direction`.
QPointF Turn(QPointF p, int direction) {
    switch (direction) {
        case 1: return {p.y(), p.x()};        // right
        case 2: return {32 - p.y(), p.x()};   // left
        default: return p;                    // down
    }
}

}  // namespace

QImage DrawArrow(int direction, int scale) {
    QImage img = Blank(32, 32, scale);
    QPainter p(&img);
    Prepare(p, scale);
    const QPointF a = Turn({3.5, 6.5}, direction), b = Turn({28.5, 6.5}, direction),
                  tip = Turn({16, 28.5}, direction), mid = Turn({16, 6.5}, direction);
    const QPolygonF whole({a, b, tip});

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawPolygon(whole.translated(1.5, 1.5));

    // Of the two facets, the one nearer the top left catches the light.
    QPolygonF first({a, mid, tip}), second({mid, b, tip});
    auto nearLight = [](const QPolygonF& f) {
        const QPointF c = (f[0] + f[1] + f[2]) / 3;
        return c.x() + c.y();
    };
    if (nearLight(second) < nearLight(first)) std::swap(first, second);
    QLinearGradient lit(first[0], tip);
    lit.setColorAt(0, QColor(238, 238, 238));
    lit.setColorAt(1, QColor(178, 178, 178));
    p.setBrush(lit);
    p.drawPolygon(first);
    QLinearGradient shade(second[1], tip);
    shade.setColorAt(0, QColor(150, 150, 150));
    shade.setColorAt(1, QColor(100, 100, 100));
    p.setBrush(shade);
    p.drawPolygon(second);

    p.setPen(QPen(QColor(64, 64, 64), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(whole);
    p.setPen(QPen(QColor(250, 250, 250, 150), 0.8));
    p.drawLine(mid + (tip - mid) * 0.05, mid + (tip - mid) * 0.85);
    return img;
}

}  // namespace genart
