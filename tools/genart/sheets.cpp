// Pictures for judging the artwork: every picture side by side, and a game in play
// on the green table with its covered cards showing only their top strips.
#include "genart.h"

#include <algorithm>
#include <numeric>
#include <random>

namespace genart {

namespace {

QImage Face(int number, int scale) {
    if (number == 100) return DrawBack(scale);
    if (number == 153) return DrawEmptyPlace(scale);
    return DrawFace(number - 100, scale);
}

}  // namespace

QImage ContactSheet(int scale) {
    constexpr int cellW = 79, cellH = 104, margin = 8;
    QImage sheet = Blank(margin + 13 * cellW, margin + 5 * cellH, scale, QColor(0, 96, 40));
    QPainter p(&sheet);
    auto put = [&](const QImage& img, qreal x, qreal y) {
        p.drawImage(QPointF(x * scale, y * scale), img);
    };
    put(Face(100, scale), margin, margin);
    put(Face(153, scale), margin + cellW, margin);
    for (int a = 0; a < 3; ++a) put(DrawArrow(a, scale), margin + (2 + a) * cellW + 20, margin + 30);
    int x = margin + 5 * cellW;
    for (int s : {16, 32, 48, 64}) {
        put(DrawIcon(s * scale), x, margin + 10);
        x += s + 8;
    }
    for (int suit = 0; suit < 4; ++suit)
        for (int rank = 1; rank <= 13; ++rank)
            put(Face(100 + suit * 13 + rank, scale), margin + (rank - 1) * cellW,
                margin + (suit + 1) * cellH);
    return sheet;
}

QImage TableSheet(int scale) {
    constexpr int w = 660, h = 600;
    QImage sheet = Blank(w, h, scale, QColor(0, 128, 0));
    QPainter p(&sheet);
    Prepare(p, scale);
    auto put = [&](int number, qreal x, qreal y) {
        const QImage img = Face(number, scale);
        p.save();
        p.resetTransform();
        p.drawImage(QPointF(x * scale, y * scale), img);
        p.restore();
    };
    // Free cells and foundations: bordered frames, one card in a cell and the aces up.
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        p.drawRect(QRectF(i * 72 + 0.5, 0.5, 74, 99));
        p.drawRect(QRectF(352 + i * 72 + 0.5, 0.5, 74, 99));
    }
    put(100 + 25, 2 * 72 + 2, 2);
    put(100 + 1, 352 + 2, 2);
    put(100 + 27, 352 + 2 * 72 + 2, 2);
    put(100 + 28, 352 + 2 * 72 + 2, 2);
    // A fixed shuffle of what is left, dealt into eight columns 20 pixels apart.
    std::vector<int> codes;
    for (int c = 1; c <= 52; ++c)
        if (c != 25 && c != 1 && c != 27 && c != 28) codes.push_back(c);
    std::mt19937 rng(1234);
    std::shuffle(codes.begin(), codes.end(), rng);
    for (size_t i = 0; i < codes.size(); ++i) {
        const int col = static_cast<int>(i % 8), row = static_cast<int>(i / 8);
        put(100 + codes[i], 8 + col * 80, 118 + row * 20);
    }
    // Two empty places and a back, to see them on the cloth.
    put(153, 8, 118 + 9 * 20 + 100);
    put(100, 8 + 80, 118 + 9 * 20 + 100);
    return sheet;
}

}  // namespace genart
