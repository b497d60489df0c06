// The court cards: a framed portrait, its upper half mirrored by a half turn into the
// lower half across a slanted line, as on a classic two-headed card. Knave, queen and
// king differ in head-dress, hair and what they hold; the suits differ in the colours
// of the robe, the emblem on the chest and, again, the thing held.
#include "genart.h"

#include <cmath>
#include <numbers>

namespace genart {

namespace {

constexpr qreal kLine = 0.7;        // outline width, logical pixels
const QColor kInk(30, 30, 36);

struct Palette {
    QColor robe, trim, accent, hair;
};

Palette PaletteFor(int suit, int rank) {
    static const QColor blond(206, 150, 44), brown(112, 66, 30), dark(52, 36, 28),
        grey(196, 196, 204), navy(36, 40, 70);
    switch (suit) {
        case 0: return {kRed, kYellow, kBlue, rank == 13 ? grey : blond};
        case 1: return {kBlue, kYellow, kRed, rank == 12 ? dark : brown};
        case 2: return {kYellow, kRed, kBlue, rank == 11 ? blond : brown};
        default: return {navy, kRed, kYellow, rank == 13 ? dark : (rank == 12 ? blond : dark)};
    }
}

void Outline(QPainter& p, const QColor& fill) {
    p.setPen(QPen(kInk, kLine, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
}

// ---- things held ----

void Sword(QPainter& p, qreal x) {
    Outline(p, QColor(220, 224, 232));
    QPainterPath blade;
    blade.moveTo(x - 1.2, 28);
    blade.lineTo(x - 1.2, 4);
    blade.lineTo(x, 1.5);
    blade.lineTo(x + 1.2, 4);
    blade.lineTo(x + 1.2, 28);
    blade.closeSubpath();
    p.drawPath(blade);
    Outline(p, kYellow);
    p.drawRect(QRectF(x - 4, 27.5, 8, 1.8));   // the cross-guard
    p.drawRect(QRectF(x - 0.9, 29.3, 1.8, 5));  // the grip
}

void Sceptre(QPainter& p, qreal x, const QColor& jewel) {
    Outline(p, kYellow);
    p.drawRect(QRectF(x - 0.9, 6, 1.8, 32));
    Outline(p, jewel);
    p.drawEllipse(QPointF(x, 5), 2.6, 2.6);
    Outline(p, kYellow);
    p.drawRect(QRectF(x - 2.2, 8.5, 4.4, 1.4));
}

void Orb(QPainter& p, qreal x, const QColor& body) {
    Outline(p, body);
    p.drawEllipse(QPointF(x, 27), 4.2, 4.2);
    Outline(p, kYellow);
    p.drawRect(QRectF(x - 4.2, 26.3, 8.4, 1.4));
    p.drawRect(QRectF(x - 0.7, 19.5, 1.4, 3.5));
    p.drawRect(QRectF(x - 2, 20.5, 4, 1.2));
}

void Axe(QPainter& p, qreal x) {
    Outline(p, QColor(150, 96, 48));
    p.drawRect(QRectF(x - 0.8, 3, 1.6, 36));
    Outline(p, QColor(214, 218, 228));
    QPainterPath head;
    head.moveTo(x + 0.8, 5);
    head.quadTo(x + 7, 3, x + 7.5, 6);
    head.lineTo(x + 7.5, 12);
    head.quadTo(x + 7, 15, x + 0.8, 13);
    head.closeSubpath();
    p.drawPath(head);
}

void Halberd(QPainter& p, qreal x, const QColor& pennant) {
    Outline(p, QColor(150, 96, 48));
    p.drawRect(QRectF(x - 0.7, 6, 1.4, 34));
    Outline(p, QColor(214, 218, 228));
    QPainterPath tip;
    tip.moveTo(x, 0.8);
    tip.lineTo(x + 1.8, 6.5);
    tip.lineTo(x - 1.8, 6.5);
    tip.closeSubpath();
    p.drawPath(tip);
    Outline(p, pennant);
    QPainterPath flag;
    flag.moveTo(x - 0.7, 7.5);
    flag.lineTo(x - 7.5, 9.5);
    flag.lineTo(x - 5, 11);
    flag.lineTo(x - 7.5, 12.5);
    flag.lineTo(x - 0.7, 13.5);
    flag.closeSubpath();
    p.drawPath(flag);
}

void Arrow(QPainter& p, qreal x) {
    p.setPen(QPen(kInk, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x, 5), QPointF(x, 38));
    Outline(p, QColor(214, 218, 228));
    QPainterPath head;
    head.moveTo(x, 1);
    head.lineTo(x + 2.4, 6.5);
    head.lineTo(x - 2.4, 6.5);
    head.closeSubpath();
    p.drawPath(head);
    Outline(p, kRed);
    p.drawRect(QRectF(x - 2, 33, 1.6, 5));
    p.drawRect(QRectF(x + 0.4, 33, 1.6, 5));
}

void Flower(QPainter& p, qreal x, const QColor& bloom, bool tulip) {
    p.setPen(QPen(QColor(40, 120, 50), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x, 10), QPointF(x, 31));
    Outline(p, QColor(70, 150, 70));
    p.drawEllipse(QPointF(x + 2.4, 20), 2.2, 1.1);
    Outline(p, bloom);
    if (tulip) {
        QPainterPath t;
        t.moveTo(x - 3.2, 5);
        t.lineTo(x - 1.6, 7);
        t.lineTo(x, 4.5);
        t.lineTo(x + 1.6, 7);
        t.lineTo(x + 3.2, 5);
        t.quadTo(x + 3.2, 11, x, 11);
        t.quadTo(x - 3.2, 11, x - 3.2, 5);
        t.closeSubpath();
        p.drawPath(t);
    } else {
        for (int i = 0; i < 5; ++i) {
            const qreal a = i * 72.0 * std::numbers::pi / 180.0;
            p.drawEllipse(QPointF(x + 2.3 * std::sin(a), 7.5 - 2.3 * std::cos(a)), 1.9, 1.9);
        }
        Outline(p, kYellow);
        p.drawEllipse(QPointF(x, 7.5), 1.3, 1.3);
    }
}

void Fan(QPainter& p, qreal x, const QColor& c) {
    Outline(p, c);
    QPainterPath fan;
    fan.moveTo(x, 22);
    fan.arcTo(QRectF(x - 9, 13, 18, 18), 40, 100);
    fan.closeSubpath();
    p.drawPath(fan);
    p.setPen(QPen(kInk, 0.45));
    for (int i = 1; i < 5; ++i) {
        const qreal a = (40 + i * 20) * std::numbers::pi / 180.0;
        p.drawLine(QPointF(x, 22), QPointF(x + 9 * std::cos(a), 22 - 9 * std::sin(a)));
    }
}

// ---- heads ----

void Face(QPainter& p, qreal cx, qreal cy, bool beard, const QColor& hair, bool lashes) {
    Outline(p, kSkin);
    p.drawEllipse(QPointF(cx, cy), 4.6, 5.6);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(cx - 1.8, cy - 0.6), 0.65, 0.65);
    p.drawEllipse(QPointF(cx + 1.8, cy - 0.6), 0.65, 0.65);
    if (lashes) {
        p.setPen(QPen(kInk, 0.4));
        p.drawLine(QPointF(cx - 2.8, cy - 1.6), QPointF(cx - 0.9, cy - 1.6));
        p.drawLine(QPointF(cx + 0.9, cy - 1.6), QPointF(cx + 2.8, cy - 1.6));
    }
    p.setPen(QPen(QColor(150, 90, 70), 0.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx, cy - 0.3), QPointF(cx - 0.5, cy + 1.4));
    if (beard) {
        Outline(p, hair);
        QPainterPath b;
        b.moveTo(cx - 4.4, cy + 0.6);
        b.quadTo(cx - 4, cy + 8, cx, cy + 9.5);
        b.quadTo(cx + 4, cy + 8, cx + 4.4, cy + 0.6);
        b.quadTo(cx + 3, cy + 4, cx, cy + 3.2);
        b.quadTo(cx - 3, cy + 4, cx - 4.4, cy + 0.6);
        b.closeSubpath();
        p.drawPath(b);
        p.setPen(QPen(kInk, 0.5));
        p.drawLine(QPointF(cx - 1.2, cy + 4.6), QPointF(cx + 1.2, cy + 4.6));
    } else {
        p.setPen(QPen(kRed, 0.7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(cx - 1.1, cy + 2.9), QPointF(cx + 1.1, cy + 2.9));
    }
}

void Crown(QPainter& p, qreal cx, qreal base, qreal width, qreal height, int points, const QColor& jewel) {
    Outline(p, kYellow);
    QPainterPath c;
    const qreal left = cx - width / 2;
    c.moveTo(left, base);
    c.lineTo(left, base - height);
    for (int i = 0; i < points; ++i) {
        const qreal x0 = left + width * i / points;
        const qreal x1 = left + width * (i + 0.5) / points;
        const qreal x2 = left + width * (i + 1) / points;
        c.lineTo(x0, base - height);
        c.lineTo(x1, base - height - 3.2);
        c.lineTo(x2, base - height);
    }
    c.lineTo(left + width, base);
    c.closeSubpath();
    p.drawPath(c);
    for (int i = 0; i < points; ++i) {
        const qreal x1 = left + width * (i + 0.5) / points;
        p.drawEllipse(QPointF(x1, base - height - 3.6), 0.9, 0.9);
    }
    Outline(p, jewel);
    p.drawEllipse(QPointF(cx, base - height / 2), 1.1, 1.1);
}

// ---- the upper half of a figure, in frame coordinates (42 wide) ----

void Robe(QPainter& p, const Palette& pal, int suit, int rank) {
    QPainterPath robe;
    robe.moveTo(1, 50);
    robe.lineTo(1, 33);
    robe.quadTo(4, 25, 21, 23);
    robe.quadTo(38, 25, 41, 33);
    robe.lineTo(41, 50);
    robe.closeSubpath();
    Outline(p, pal.robe);
    p.drawPath(robe);
    // Sleeves in the accent colour with trimmed cuffs.
    Outline(p, pal.accent);
    QPainterPath sleeve;
    sleeve.moveTo(1, 34);
    sleeve.quadTo(3, 27, 9, 26);
    sleeve.lineTo(12, 40);
    sleeve.lineTo(1, 42);
    sleeve.closeSubpath();
    p.drawPath(sleeve);
    p.save();
    p.translate(42, 0);
    p.scale(-1, 1);
    p.drawPath(sleeve);
    p.restore();
    // The chest panel with the suit's emblem.
    Outline(p, pal.trim);
    p.drawRect(QRectF(15.5, 28, 11, 22));
    Outline(p, Qt::white);
    p.drawRoundedRect(QRectF(17.5, 30.5, 7, 7.5), 1.2, 1.2);
    DrawSuit(p, suit, QPointF(21, 34.3), 5.6);
    p.setPen(QPen(kInk, 0.5));
    for (qreal y = 40.5; y < 48; y += 2.5) p.drawLine(QPointF(16.5, y), QPointF(25.5, y));
    // The collar: ermine for the king, a jewelled necklace for the queen, a plain
    // pleated one for the knave.
    if (rank == 13) {
        Outline(p, Qt::white);
        QPainterPath collar;
        collar.moveTo(8, 27.5);
        collar.quadTo(21, 22, 34, 27.5);
        collar.lineTo(31, 30.5);
        collar.quadTo(21, 26.5, 11, 30.5);
        collar.closeSubpath();
        p.drawPath(collar);
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        for (qreal x = 12; x <= 30; x += 4.5) p.drawEllipse(QPointF(x, 27.3), 0.55, 0.8);
    } else if (rank == 12) {
        Outline(p, kSkin);
        QPainterPath neck;
        neck.moveTo(15, 24);
        neck.lineTo(21, 29);
        neck.lineTo(27, 24);
        neck.closeSubpath();
        p.drawPath(neck);
        p.setPen(Qt::NoPen);
        p.setBrush(pal.accent == kBlue ? kBlue : kRed);
        for (qreal t = 0; t <= 1.001; t += 0.25)
            p.drawEllipse(QPointF(16.5 + 9 * t, 25.6 + 2.2 * std::sin(t * std::numbers::pi)), 0.75, 0.75);
    } else {
        Outline(p, Qt::white);
        QPainterPath collar;
        collar.moveTo(13, 24.5);
        collar.lineTo(29, 24.5);
        collar.lineTo(27, 27.5);
        collar.lineTo(15, 27.5);
        collar.closeSubpath();
        p.drawPath(collar);
        p.setPen(QPen(kInk, 0.4));
        for (qreal x = 16; x < 27; x += 2) p.drawLine(QPointF(x, 24.8), QPointF(x + 0.5, 27.2));
    }
}

void Held(QPainter& p, int rank, int suit) {
    constexpr qreal x = 34.5;
    switch (rank * 4 + suit) {
        case 13 * 4 + 0: Sword(p, x); break;
        case 13 * 4 + 1: Orb(p, x, kBlue); break;
        case 13 * 4 + 2: Axe(p, x - 1); break;
        case 13 * 4 + 3: Sceptre(p, x, kRed); break;
        case 12 * 4 + 0: Flower(p, x, kRed, false); break;
        case 12 * 4 + 1: Flower(p, x, QColor(236, 120, 160), true); break;
        case 12 * 4 + 2: Fan(p, x - 1, kBlue); break;
        case 12 * 4 + 3: Sceptre(p, x, kBlue); break;
        case 11 * 4 + 0: Halberd(p, x + 1, kYellow); break;
        case 11 * 4 + 1: Arrow(p, x); break;
        case 11 * 4 + 2: Halberd(p, x + 1, kBlue); break;
        default: Sword(p, x); break;
    }
    // The hand that holds it.
    Outline(p, kSkin);
    p.drawEllipse(QPointF(x, 31.5), 2, 1.8);
}

void Head(QPainter& p, int rank, const Palette& pal) {
    constexpr qreal cx = 21, cy = 15.5;
    if (rank == 12) {  // long hair falling behind the shoulders
        Outline(p, pal.hair);
        QPainterPath hair;
        hair.moveTo(cx - 6.5, 26);
        hair.quadTo(cx - 8, 12, cx, 8.5);
        hair.quadTo(cx + 8, 12, cx + 6.5, 26);
        hair.closeSubpath();
        p.drawPath(hair);
    } else if (rank == 11) {  // a bob cut to the jaw
        Outline(p, pal.hair);
        p.drawRoundedRect(QRectF(cx - 6, 9.5, 12, 12.5), 4, 4);
    }
    Face(p, cx, cy, rank == 13, pal.hair, rank == 12);
    if (rank == 13) {
        Crown(p, cx, 10.8, 11.5, 3.8, 3, pal.accent);
    } else if (rank == 12) {
        Crown(p, cx, 10.5, 8.5, 2.4, 2, pal.robe == kYellow ? kRed : pal.robe);
    } else {  // a beret with a feather
        Outline(p, pal.accent);
        QPainterPath cap;
        cap.moveTo(cx - 7.5, 11);
        cap.quadTo(cx - 7, 4.5, cx + 1, 5);
        cap.quadTo(cx + 8, 5.5, cx + 7.5, 11);
        cap.closeSubpath();
        p.drawPath(cap);
        Outline(p, pal.trim);
        p.drawRect(QRectF(cx - 7, 9.8, 14, 1.8));
        Outline(p, Qt::white);
        QPainterPath feather;
        feather.moveTo(cx - 4, 7);
        feather.quadTo(cx - 11, 4, cx - 13, 0.5);
        feather.quadTo(cx - 8, 2, cx - 3, 5.5);
        feather.closeSubpath();
        p.drawPath(feather);
    }
}

void UpperHalf(QPainter& p, int rank, int suit) {
    const Palette pal = PaletteFor(suit, rank);
    Robe(p, pal, suit, rank);
    Head(p, rank, pal);
    Held(p, rank, suit);
    // The suit sign in the frame's corner, as on a classic court card.
    DrawSuit(p, suit, QPointF(5.5, 6.5), 7);
}

}  // namespace

void DrawCourt(QPainter& p, int rank, int suit, const QRectF& frame) {
    const qreal w = frame.width(), h = frame.height();
    p.save();
    p.translate(frame.topLeft());
    // A faint tint behind the figure, then each half clipped to its side of the
    // slanted line through the centre; the half turn maps one side onto the other.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 246, 232));
    p.drawRect(QRectF(0, 0, w, h));
    QPolygonF upper;
    upper << QPointF(0, 0) << QPointF(w, 0) << QPointF(w, h / 2 - 4) << QPointF(0, h / 2 + 4);
    for (int half = 0; half < 2; ++half) {
        p.save();
        if (half == 1) {
            p.translate(w, h);
            p.rotate(180);
        }
        p.setClipRect(QRectF(0, 0, w, h));
        // The figure is drawn on a 42-wide frame; fit it to this one.
        p.scale(w / 42.0, 1);
        QPainterPath clip;
        clip.addPolygon(QTransform::fromScale(42.0 / w, 1).map(upper));
        p.setClipPath(clip, Qt::IntersectClip);
        UpperHalf(p, rank, suit);
        p.restore();
    }
    // The dividing line and the frame.
    p.setPen(QPen(kInk, 0.8));
    p.drawLine(QPointF(0, h / 2 + 4), QPointF(w, h / 2 - 4));
    p.setPen(QPen(SuitColor(suit) == kRed ? kRed : kBlue, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0, 0, w, h));
    p.restore();
}

}  // namespace genart
