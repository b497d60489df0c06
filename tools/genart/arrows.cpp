// The three arrows: a grey arrowhead with a lit and a shaded facet either side of its
// ridge and a soft shadow, on a transparent ground.
#include "genart.h"

namespace genart {

namespace {

// The downward arrowhead in a 32 x 32 box, its left facet lit.
void DownArrow(QPainter& p) {
    const QPointF a(4.5, 7.5), b(27.5, 7.5), tip(16, 27.5), mid(16, 7.5);
    QPolygonF whole({a, b, tip});
    // Shadow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawPolygon(whole.translated(1.5, 1.5));
    // Facets.
    QLinearGradient lit(a, tip);
    lit.setColorAt(0, QColor(236, 236, 236));
    lit.setColorAt(1, QColor(176, 176, 176));
    p.setBrush(lit);
    p.drawPolygon(QPolygonF({a, mid, tip}));
    QLinearGradient shade(b, tip);
    shade.setColorAt(0, QColor(150, 150, 150));
    shade.setColorAt(1, QColor(104, 104, 104));
    p.setBrush(shade);
    p.drawPolygon(QPolygonF({mid, b, tip}));
    // Outline and the ridge.
    p.setPen(QPen(QColor(64, 64, 64), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(whole);
    p.setPen(QPen(QColor(250, 250, 250, 160), 0.8));
    p.drawLine(QPointF(16, 8.5), QPointF(16, 25));
}

}  // namespace

QImage DrawArrow(int direction, int scale) {
    QImage img = Blank(32, 32, scale);
    QPainter p(&img);
    Prepare(p, scale);
    if (direction != 0) {
        // Turned to point right, the lit facet ends on top; the left arrow is its
        // mirror image, so the light keeps coming from above.
        p.translate(16, 16);
        if (direction == 2) p.scale(-1, 1);
        p.rotate(-90);
        p.translate(-16, -16);
    }
    DownArrow(p);
    return img;
}

}  // namespace genart
