// The faces can be told apart, whole and by the strip a covered card shows, and
// carry their suit's colour.
#include <QImage>
#include <gtest/gtest.h>

#include <vector>

#include "pictures.h"

using namespace karvelo;

namespace {

constexpr int kStripPx = 20;  // the part of a covered card that stays in view
constexpr int kIndexWidthPx = 14;  // the corner index's column

QImage Face(int code, qreal dpr) {
    return LoadPicture(100 + code, dpr).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Whether any pixel of the top-left corner index (`w` x `h`) is clearly red.
bool HasRedInk(const QImage& img, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QColor c(img.pixel(x, y));
            if (qAlpha(img.pixel(x, y)) > 200 && c.red() > 150 && c.green() < 90 && c.blue() < 90)
                return true;
        }
    return false;
}

}  // namespace

TEST(Faces, PairwiseDifferentWholeAndInTheCoveredStrip) {
    for (qreal dpr : {1.0, 2.0}) {
        const int scale = dpr > 1 ? 2 : 1;
        std::vector<QImage> whole, strips;
        for (int code = 1; code <= 52; ++code) {
            whole.push_back(Face(code, dpr));
            strips.push_back(whole.back().copy(0, 0, whole.back().width(), kStripPx * scale));
        }
        for (int a = 0; a < 52; ++a)
            for (int b = a + 1; b < 52; ++b) {
                EXPECT_NE(whole[a], whole[b]) << "codes " << a + 1 << " and " << b + 1;
                EXPECT_NE(strips[a], strips[b]) << "strips of " << a + 1 << " and " << b + 1;
            }
        // The back and the empty place are no face either.
        const QImage back = LoadPicture(kCardBack, dpr).toImage().convertToFormat(QImage::Format_ARGB32);
        for (const QImage& f : whole) EXPECT_NE(f, back);
    }
}

TEST(Faces, IndexIsRedForRedSuitsAndBlackForBlackSuits) {
    for (qreal dpr : {1.0, 2.0}) {
        const int scale = dpr > 1 ? 2 : 1;
        for (int code = 1; code <= 52; ++code) {
            const bool red = ((code - 1) / 13) % 2 == 0;
            const QImage img = Face(code, dpr);
            EXPECT_EQ(HasRedInk(img, kIndexWidthPx * scale, kStripPx * scale), red) << "code " << code << " dpr " << dpr;
        }
    }
}

TEST(Faces, WhiteCardWithRoundedCorners) {
    for (qreal dpr : {1.0, 2.0}) {
        for (int code = 1; code <= 52; ++code) {
            const QImage img = Face(code, dpr);
            const int w = img.width(), h = img.height();
            // The very corners are cut away so the table shows through.
            for (QPoint p : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
                EXPECT_LT(qAlpha(img.pixel(p)), 128) << "code " << code << " corner " << p.x() << "," << p.y();
            // Inside the edge the card is opaque.
            EXPECT_EQ(qAlpha(img.pixel(w / 2, 2 * (dpr > 1 ? 2 : 1))), 255) << code;
        }
    }
}
