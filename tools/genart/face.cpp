// The card faces: white card with a thin dark edge and rounded corners, the corner
// indexes (upright in both top corners so a covered card shows them, turned over in
// the bottom ones), and the pips or the court portrait.
#include "genart.h"

#include <array>

namespace genart {

namespace {

constexpr qreal kW = 71, kH = 96;
constexpr qreal kIndexX = 7.5;        // centre of the left index column
constexpr qreal kIndexWidth = 12;     // widest the rank may be drawn
constexpr qreal kRankTop = 3, kRankHeight = 9;     // cap height of the rank
constexpr qreal kIndexSuitY = 16.3, kIndexSuitH = 6.8;  // the small sign beneath it

QString RankText(int rank) {
    switch (rank) {
        case 1: return QStringLiteral("A");
        case 11: return QStringLiteral("Kn");
        case 12: return QStringLiteral("D");
        case 13: return QStringLiteral("K");
        default: return QString::number(rank);
    }
}

void DrawCardShape(QPainter& p) {
    QPainterPath card;
    card.addRoundedRect(QRectF(0.5, 0.5, kW - 1, kH - 1), 4.5, 4.5);
    p.setPen(QPen(kEdge, 1));
    p.setBrush(Qt::white);
    p.drawPath(card);
}

// The rank text as a path, its cap height fitted to the index box and its width
// squeezed where two characters would not fit.
QPainterPath RankPath(int rank) {
    QPainterPath text;
    QFont f = Font(QStringLiteral("DejaVu Sans"), 100, true);
    if (rank == 10 || rank == 11) f = Font(QStringLiteral("DejaVu Sans Condensed"), 100, true);
    text.addText(0, 0, f, RankText(rank));
    const QRectF b = text.boundingRect();
    const qreal sy = kRankHeight / b.height();
    const qreal sx = qMin(sy, kIndexWidth / b.width());
    QTransform t;
    t.translate(0, kRankTop);
    t.scale(sx, sy);
    t.translate(-b.center().x(), -b.top());
    return t.map(text);
}

// One corner index centred on column x, upright.
void DrawIndex(QPainter& p, int rank, int suit, qreal x) {
    p.save();
    p.translate(x, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(SuitColor(suit));
    p.drawPath(RankPath(rank));
    p.restore();
    DrawSuit(p, suit, QPointF(x, kIndexSuitY), kIndexSuitH);
}

// Pip places as (column, row): columns 0 left, 1 centre, 2 right; rows run from 0
// (top) to 1 (bottom). Pips below the middle are drawn upside down.
struct Pip { int col; qreal row; };

std::vector<Pip> PipLayout(int rank) {
    const std::vector<Pip> pairsTopBottom = {{0, 0}, {2, 0}, {0, 1}, {2, 1}};
    switch (rank) {
        case 2: return {{1, 0}, {1, 1}};
        case 3: return {{1, 0}, {1, 0.5}, {1, 1}};
        case 4: return pairsTopBottom;
        case 5: { auto v = pairsTopBottom; v.push_back({1, 0.5}); return v; }
        case 6: { auto v = pairsTopBottom; v.insert(v.end(), {{0, 0.5}, {2, 0.5}}); return v; }
        case 7: { auto v = PipLayout(6); v.push_back({1, 0.25}); return v; }
        case 8: { auto v = PipLayout(7); v.push_back({1, 0.75}); return v; }
        case 9: case 10: {
            std::vector<Pip> v;
            for (qreal r : {0.0, 1.0 / 3, 2.0 / 3, 1.0}) v.insert(v.end(), {{0, r}, {2, r}});
            if (rank == 9) v.push_back({1, 0.5});
            else v.insert(v.end(), {{1, 1.0 / 6}, {1, 5.0 / 6}});
            return v;
        }
        default: return {};
    }
}

void DrawPips(QPainter& p, int rank, int suit) {
    constexpr std::array<qreal, 3> cols = {22.5, 35.5, 48.5};
    constexpr qreal top = 16.5, bottom = 79.5, pipH = 13;
    for (const Pip& pip : PipLayout(rank)) {
        const qreal y = top + pip.row * (bottom - top);
        const bool down = pip.row > 0.5 + 1e-9;
        DrawSuit(p, suit, QPointF(cols[static_cast<size_t>(pip.col)], y), pipH, down);
    }
}

// The ace: one large sign; the ace of Spader carries an ornament around it.
void DrawAce(QPainter& p, int suit) {
    const QPointF centre(35.5, 48);
    if (suit == 3) {
        p.save();
        p.setPen(QPen(kBlack, 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, 21, 21);
        p.setPen(QPen(kBlack, 0.5));
        p.drawEllipse(centre, 19, 19);
        p.restore();
        DrawSuit(p, suit, centre, 30);
        // A white vein down the middle of the big spade.
        p.save();
        p.setPen(QPen(Qt::white, 0.9, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(35.5, 39), QPointF(35.5, 53));
        p.restore();
    } else {
        DrawSuit(p, suit, centre, suit == 2 ? 28 : 26);
    }
}

}  // namespace

QImage DrawFace(int code, int scale) {
    const int suit = (code - 1) / 13, rank = (code - 1) % 13 + 1;
    QImage img = Blank(static_cast<int>(kW), static_cast<int>(kH), scale);
    QPainter p(&img);
    Prepare(p, scale);
    DrawCardShape(p);
    for (int half = 0; half < 2; ++half) {
        p.save();
        if (half == 1) {
            p.translate(kW, kH);
            p.rotate(180);
        }
        DrawIndex(p, rank, suit, kIndexX);
        DrawIndex(p, rank, suit, kW - kIndexX);
        p.restore();
    }
    if (rank == 1) DrawAce(p, suit);
    else if (rank <= 10) DrawPips(p, rank, suit);
    else DrawCourt(p, rank, suit, QRectF(15.5, 6.5, 40, 83));
    return img;
}

}  // namespace genart
