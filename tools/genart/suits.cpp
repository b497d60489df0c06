#include "genart.h"

namespace genart {

namespace {

QPainterPath Heart() {
    QPainterPath h;
    h.moveTo(50, 24);
    h.cubicTo(44, 4, 0, 0, 2, 32);
    h.cubicTo(4, 58, 36, 72, 50, 100);
    h.cubicTo(64, 72, 96, 58, 98, 32);
    h.cubicTo(100, 0, 56, 4, 50, 24);
    h.closeSubpath();
    return h;
}

QPainterPath Diamond() {
    QPainterPath d;
    d.moveTo(50, 0);
    d.quadTo(70, 30, 92, 50);
    d.quadTo(70, 70, 50, 100);
    d.quadTo(30, 70, 8, 50);
    d.quadTo(30, 30, 50, 0);
    d.closeSubpath();
    return d;
}

// The flared foot shared by spade and club.
QPainterPath Stem() {
    QPainterPath s;
    s.moveTo(46, 62);
    s.quadTo(46, 90, 28, 100);
    s.lineTo(72, 100);
    s.quadTo(54, 90, 54, 62);
    s.closeSubpath();
    return s;
}

QPainterPath Spade() {
    QPainterPath s;
    s.moveTo(50, 0);
    s.cubicTo(40, 22, 0, 36, 2, 62);
    s.cubicTo(4, 84, 36, 88, 48, 70);
    s.lineTo(52, 70);
    s.cubicTo(64, 88, 96, 84, 98, 62);
    s.cubicTo(100, 36, 60, 22, 50, 0);
    s.closeSubpath();
    return s.united(Stem());
}

QPainterPath Club() {
    QPainterPath c;
    c.addEllipse(QPointF(50, 25), 23, 23);
    QPainterPath left, right, middle;
    left.addEllipse(QPointF(24, 60), 23, 23);
    right.addEllipse(QPointF(76, 60), 23, 23);
    middle.addEllipse(QPointF(50, 52), 14, 14);
    return c.united(left).united(right).united(middle).united(Stem());
}

}  // namespace

QPainterPath SuitPath(int suit) {
    static const QPainterPath paths[4] = {Heart(), Club(), Diamond(), Spade()};
    return paths[suit & 3];
}

QColor SuitColor(int suit) { return suit % 2 == 0 ? kRed : kBlack; }

void DrawSuit(QPainter& p, int suit, QPointF centre, qreal height, bool upsideDown) {
    const QPainterPath path = SuitPath(suit);
    p.save();
    p.translate(centre);
    if (upsideDown) p.rotate(180);
    p.scale(height / 100.0, height / 100.0);
    p.translate(-50, -50);
    p.setPen(Qt::NoPen);
    p.setBrush(SuitColor(suit));
    p.drawPath(path);
    p.restore();
}

}  // namespace genart
