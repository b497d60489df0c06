// Every picture loads from the program's resources in the size the window expects,
// at both densities.
#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <QtEndian>

#include "pictures.h"
#include "pixels.h"

using namespace karvelo;

namespace {

// Checks that `pm` is `w` x `h` logical pixels at the density asked for.
void ExpectSize(const QPixmap& pm, int w, int h, qreal dpr, const std::string& what) {
    SCOPED_TRACE(what + " at dpr " + std::to_string(dpr));
    ASSERT_FALSE(pm.isNull());
    const int scale = dpr > 1 ? 2 : 1;
    EXPECT_EQ(pm.width(), w * scale);
    EXPECT_EQ(pm.height(), h * scale);
    EXPECT_EQ(pm.devicePixelRatio(), scale);
    EXPECT_EQ(pm.deviceIndependentSize().toSize(), QSize(w, h));
}

}  // namespace

TEST(Pictures, EveryNumberedPictureLoadsAtBothDensities) {
    for (int n = kFirstPicture; n <= kLastPicture; ++n) {
        for (qreal dpr : {1.0, 1.25, 2.0, 3.0})
            ExpectSize(LoadPicture(n, dpr), kCardWidthPx, kCardHeightPx, dpr,
                       "picture " + std::to_string(n));
    }
}

TEST(Pictures, PathsFollowTheNumbersAndRefuseOthers) {
    EXPECT_EQ(PicturePath(100), QStringLiteral(":/kort/100.png"));
    EXPECT_EQ(PicturePath(101), QStringLiteral(":/kort/101.png"));
    EXPECT_EQ(PicturePath(153), QStringLiteral(":/kort/153.png"));
    for (int n : {-1, 0, 1, 52, 99, 154, 1000}) {
        EXPECT_TRUE(PicturePath(n).isEmpty()) << n;
        EXPECT_TRUE(LoadPicture(n, 1.0).isNull()) << n;
        EXPECT_TRUE(LoadPicture(n, 2.0).isNull()) << n;
    }
    // A density below normal still gets the normal drawing.
    ExpectSize(LoadPicture(101, 0.5), kCardWidthPx, kCardHeightPx, 1.0, "low density");
}

TEST(Pictures, ArrowsAreTransparentSquares) {
    for (Arrow a : {Arrow::Down, Arrow::Right, Arrow::Left}) {
        for (qreal dpr : {1.0, 2.0}) {
            const QPixmap pm = LoadArrow(a, dpr);
            ExpectSize(pm, kArrowSizePx, kArrowSizePx, dpr, "arrow");
            const QImage img = pm.toImage();
            EXPECT_TRUE(img.hasAlphaChannel());
            EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
            // Something is drawn in the middle.
            EXPECT_GT(qAlpha(img.pixel(img.width() / 2, img.height() / 2)), 0);
        }
    }
}

namespace {

// The centre of the drawn ink relative to the middle of its bounding box. An
// arrowhead's mass lies towards its base, so it sits opposite the way it points.
QPointF InkOffset(const QImage& img) {
    double sx = 0, sy = 0, sum = 0;
    int left = img.width(), right = -1, top = img.height(), bottom = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int a = qAlpha(img.pixel(x, y));
            if (a < 200) continue;  // leave out the soft shadow
            sx += x * a;
            sy += y * a;
            sum += a;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    if (sum == 0) return {};
    return {sx / sum - (left + right) / 2.0, sy / sum - (top + bottom) / 2.0};
}

}  // namespace

TEST(Pictures, ArrowsPointTheirWay) {
    for (qreal dpr : {1.0, 2.0}) {
        const QPointF down = InkOffset(LoadArrow(Arrow::Down, dpr).toImage());
        const QPointF right = InkOffset(LoadArrow(Arrow::Right, dpr).toImage());
        const QPointF left = InkOffset(LoadArrow(Arrow::Left, dpr).toImage());
        EXPECT_LT(down.y(), -1) << "imgPilN must point down";
        EXPECT_LT(right.x(), -1) << "imgPilH must point right";
        EXPECT_GT(left.x(), 1) << "imgPilV must point left";
    }
}

TEST(Pictures, SplashAndIcon) {
    for (qreal dpr : {1.0, 2.0})
        ExpectSize(LoadSplash(dpr), kSplashWidthPx, kSplashHeightPx, dpr, "title picture");

    const QIcon icon = AppIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int s : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(s);
        EXPECT_TRUE(sizes.contains(QSize(s, s)));
        // The icon hands out its own drawing for each size, not a rescaled one.
        const QPixmap pm = icon.pixmap(QSize(s, s), 1.0);
        EXPECT_EQ(pm.size(), QSize(s, s));
    }
}

TEST(Pictures, SmallIconLeavesOutTheLargeDrawings) {
    const QList<QSize> sizes = AppIcon(64).availableSizes();
    EXPECT_EQ(sizes, (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}}));
}

// The title and the icon are carried as plain pixels made at build time from the
// committed PNGs: they must be those pictures, pixel for pixel.
TEST(Pictures, PlainPixelsAreTheirPngs) {
    auto png = [](const char* name) {
        return QImage(QStringLiteral(KARVELO_ASSETS_DIR "/") + QLatin1String(name))
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    auto same = [](const QPixmap& pm, const QImage& expected) {
        return pm.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied) == expected;
    };
    EXPECT_TRUE(same(LoadSplash(1.0), png("titel/titel.png")));
    EXPECT_TRUE(same(LoadSplash(2.0), png("titel/titel@2x.png")));
    const QIcon icon = AppIcon();
    for (int s : {16, 32, 48, 64, 128, 256}) {
        const std::string name = "ikon/spader-" + std::to_string(s) + ".png";
        EXPECT_TRUE(same(icon.pixmap(QSize(s, s), 1.0), png(name.c_str()))) << s;
    }
}

TEST(Pixels, RoundTripKeepsEveryPixelAndItsAlpha) {
    QImage opaque(3, 2, QImage::Format_RGB32);
    opaque.fill(QColor(10, 20, 30));
    opaque.setPixel(2, 1, qRgb(255, 0, 128));
    QImage clear(2, 2, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    clear.setPixel(1, 0, qRgba(200, 100, 50, 128));
    for (const QImage& img : {opaque, clear}) {
        const QImage back = ImageFromPixels(PixelsFromImage(img));
        ASSERT_FALSE(back.isNull());
        EXPECT_EQ(back.hasAlphaChannel(), img.hasAlphaChannel());
        EXPECT_EQ(back.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  img.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    EXPECT_TRUE(PixelsFromImage(QImage()).isEmpty());
}

TEST(Pixels, ReadsOnlyWholeWellFormedFiles) {
    QImage img(4, 3, QImage::Format_RGB32);
    img.fill(Qt::red);
    const QByteArray good = PixelsFromImage(img);
    ASSERT_EQ(good.size(), kPixelsHeaderBytes + 4 * 3 * 4);
    ASSERT_FALSE(ImageFromPixels(good).isNull());

    auto with = [&good](int at, quint32 word) {
        QByteArray b = good;
        qToLittleEndian(word, b.data() + at);
        return b;
    };
    QByteArray badMagic = good;
    badMagic[0] = 'X';
    for (const QByteArray& bad :
         {QByteArray(), good.left(kPixelsHeaderBytes - 1), good.left(good.size() - 1),
          good + QByteArray(1, '\0'), badMagic,
          with(4, 0), with(8, 0),                          // no pixels
          with(4, 5), with(8, 2),                          // sizes that disagree with the data
          with(4, 0x40000000), with(8, 0xffffffff),        // absurd sizes, also overflowing
          with(4, kPixelsMaxSide + 1), with(12, 2)}) {     // too wide; unknown kind
        EXPECT_TRUE(ImageFromPixels(bad).isNull()) << bad.size();
    }
}

// The Windows program's bitmaps: Windows reads the headers, takes the rows bottom
// first and AlphaBlend wants the colours premultiplied; a slip in any of these turns
// the cards upside down or gives them dark fringes.
TEST(BitmapFile, HeadersRowsAndPremultipliedAlpha) {
    QImage img(3, 2, QImage::Format_ARGB32);
    img.fill(qRgba(10, 20, 30, 255));
    img.setPixel(0, 0, qRgba(200, 100, 50, 128));  // top left, half transparent
    img.setPixel(2, 1, qRgba(255, 255, 255, 0));   // bottom right, fully transparent
    const QByteArray bmp = BitmapFileFromImage(img);
    ASSERT_EQ(bmp.size(), 14 + 40 + 3 * 2 * 4);
    auto u32 = [&bmp](int at) { return qFromLittleEndian<quint32>(bmp.constData() + at); };
    auto u16 = [&bmp](int at) { return qFromLittleEndian<quint16>(bmp.constData() + at); };
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(u32(2), quint32(bmp.size()));
    EXPECT_EQ(u32(10), 54u);  // the pixels follow the two headers
    EXPECT_EQ(u32(14), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(u32(18), 3u);
    EXPECT_EQ(u32(22), 2u);  // positive: bottom row first
    EXPECT_EQ(u16(26), 1);
    EXPECT_EQ(u16(28), 32);
    EXPECT_EQ(u32(30), 0u);  // BI_RGB
    EXPECT_EQ(u32(46), 0u);  // no palette
    auto pixel = [&bmp](int x, int row) {  // row 0 is the file's first, the bottom one
        const char* p = bmp.constData() + 54 + (row * 3 + x) * 4;
        return QList<int>{uchar(p[0]), uchar(p[1]), uchar(p[2]), uchar(p[3])};
    };
    EXPECT_EQ(pixel(1, 0), (QList<int>{30, 20, 10, 255}));  // blue, green, red, alpha
    EXPECT_EQ(pixel(2, 0), (QList<int>{0, 0, 0, 0}));
    const QList<int> half = pixel(0, 1);
    EXPECT_EQ(half[3], 128);
    EXPECT_NEAR(half[2], 100, 1);  // 200 x 128/255
    EXPECT_NEAR(half[1], 50, 1);
    EXPECT_NEAR(half[0], 25, 1);

    // An opaque picture is opaque throughout, and any BMP reader sees the same picture.
    const QImage title(QStringLiteral(KARVELO_ASSETS_DIR "/titel/titel.png"));
    const QByteArray titleBmp = BitmapFileFromImage(title);
    for (qsizetype at = 54 + 3; at < titleBmp.size(); at += 4)
        ASSERT_EQ(uchar(titleBmp[at]), 255) << at;
    EXPECT_EQ(QImage::fromData(titleBmp, "BMP").convertToFormat(QImage::Format_RGB32),
              title.convertToFormat(QImage::Format_RGB32));

    EXPECT_TRUE(BitmapFileFromImage(QImage()).isEmpty());
    EXPECT_TRUE(BitmapFileFromImage(QImage(kPixelsMaxSide + 1, 1, QImage::Format_RGB32)).isEmpty());
}

TEST(Pictures, EmptyPlaceIsGreenWithASunkenEdge) {
    const QImage img = LoadPicture(kEmptyPlace, 1.0).toImage();
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(QColor(img.pixel(35, 48)), QColor(0, 128, 0));
    EXPECT_EQ(QColor(img.pixel(35, 0)), QColor(0, 88, 0));
    EXPECT_EQ(QColor(img.pixel(0, 48)), QColor(0, 88, 0));
    EXPECT_EQ(QColor(img.pixel(35, 95)), QColor(0, 173, 0));
    EXPECT_EQ(QColor(img.pixel(70, 48)), QColor(0, 173, 0));
}

TEST(Pictures, WindowsIconFileHoldsEverySize) {
    QImageReader reader(QStringLiteral(KARVELO_ASSETS_DIR "/ikon/karvelo.ico"));
    ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
    QList<int> sizes;
    do {
        const QImage img = reader.read();
        ASSERT_FALSE(img.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(img.width(), img.height());
        sizes.push_back(img.width());
        // The spade is black in the middle and the corners are see-through.
        EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
        const QColor mid(img.pixel(img.width() / 2, img.height() / 2));
        EXPECT_LT(mid.value(), 40) << img.width();
    } while (reader.jumpToNextImage());
    for (int s : {16, 32, 48, 256}) EXPECT_TRUE(sizes.contains(s)) << s;
}

namespace {

// Whether `dense` looks like `normal` enlarged, by repeating pixels or by smoothing,
// rather than drawn anew at double density.
bool LooksEnlarged(const QImage& normal, const QImage& denseIn) {
    const QImage dense = denseIn.convertToFormat(QImage::Format_ARGB32);
    int uneven = 0;
    for (int y = 0; y + 1 < dense.height(); y += 2)
        for (int x = 0; x + 1 < dense.width(); x += 2) {
            const QRgb c = dense.pixel(x, y);
            if (dense.pixel(x + 1, y) != c || dense.pixel(x, y + 1) != c || dense.pixel(x + 1, y + 1) != c)
                ++uneven;
        }
    if (uneven < 20) return true;
    const QImage smooth = normal.convertToFormat(QImage::Format_ARGB32)
                              .scaled(dense.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int differ = 0;
    for (int y = 0; y < dense.height(); ++y)
        for (int x = 0; x < dense.width(); ++x) {
            const QRgb a = dense.pixel(x, y), b = smooth.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            if (d > 64) ++differ;
        }
    return differ * 1000 < dense.width() * dense.height();  // under a tenth of a percent
}

}  // namespace

TEST(Pictures, DoubleDensityIsDrawnNotEnlarged) {
    for (int n = kFirstPicture; n < kLastPicture; ++n)  // the empty place is flat by design
        EXPECT_FALSE(LooksEnlarged(LoadPicture(n, 1).toImage(), LoadPicture(n, 2).toImage())) << n;
    for (Arrow a : {Arrow::Down, Arrow::Right, Arrow::Left})
        EXPECT_FALSE(LooksEnlarged(LoadArrow(a, 1).toImage(), LoadArrow(a, 2).toImage()));
    EXPECT_FALSE(LooksEnlarged(LoadSplash(1).toImage(), LoadSplash(2).toImage()));
}

TEST(Pictures, TitleFitsThePartShownBeforeTheWindowGrows) {
    // Until the first game only the top-left 644 x 385 pixels of the title show:
    // everything outside them must be plain black.
    constexpr int shownW = 644, shownH = 385;
    for (qreal dpr : {1.0, 2.0}) {
        const int s = dpr > 1 ? 2 : 1;
        const QImage img = LoadSplash(dpr).toImage();
        int lit = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((x >= shownW * s || y >= shownH * s) && QColor(img.pixel(x, y)).value() > 8) ++lit;
        EXPECT_EQ(lit, 0) << "dpr " << dpr;
    }
}
