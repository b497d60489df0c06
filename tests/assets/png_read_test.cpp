// The build machine's PNG reader for the Windows bitmaps against Qt's: the bitmaps a
// cross build makes without Qt must be the ones the Qt build's reader gives, for the
// committed pictures and for every other kind of PNG a new picture could come as.
#include <QDirIterator>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bitmap_file.h"
#include "pixels.h"
#include "png_read.h"

using namespace karvelo;

namespace {

QByteArray LibpngBitmap(const QString& path, std::string& error) {
    DecodedPicture picture;
    if (!ReadPng(path.toStdString(), picture, error)) return {};
    const std::string file = BitmapFile({picture.width, picture.height, picture.words});
    return QByteArray(file.data(), static_cast<qsizetype>(file.size()));
}

// The first pixel where two bitmap files of one size differ, for the failure message.
std::string FirstDifference(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size()) return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size());
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return "byte " + std::to_string(i);
    return "none";
}

// The largest difference of one byte of the pixels of two bitmap files of one size
// and the same headers; -1 when sizes or headers differ.
int MaxPixelDifference(const QByteArray& a, const QByteArray& b) {
    constexpr qsizetype kHeaders = 54;
    if (a.size() != b.size() || a.size() < kHeaders || a.left(kHeaders) != b.left(kHeaders)) return -1;
    int most = 0;
    for (qsizetype i = kHeaders; i < a.size(); ++i)
        most = std::max(most, std::abs(int(uchar(a[i])) - int(uchar(b[i]))));
    return most;
}

TEST(PngRead, EveryCommittedPictureGivesTheBitmapOfQtsReader) {
    int pictures = 0;
    QDirIterator it(QStringLiteral(KARVELO_ASSETS_DIR), {QStringLiteral("*.png")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        std::string error;
        const QByteArray ours = LibpngBitmap(path, error);
        const QByteArray qts = BitmapFileFromImage(QImage(path, "png"));
        ASSERT_FALSE(qts.isEmpty()) << path.toStdString();
        EXPECT_TRUE(ours == qts) << path.toStdString() << ": " << error << FirstDifference(ours, qts);
        ++pictures;
    }
    EXPECT_GE(pictures, 2 * 58);  // every picture of the Windows program at two densities
}

// Kinds the committed pictures do not use today: grey, palettes with transparent
// entries, 16 bits a channel, one bit a pixel, partial alpha throughout.
TEST(PngRead, OtherKindsOfPngGiveQtsPixels) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage argb(37, 11, QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            argb.setPixel(x, y, qRgba(7 * x, 255 - 20 * y, (x * y) & 0xff, (x * 23 + y * 41) & 0xff));
    QImage palette = argb.convertToFormat(QImage::Format_Indexed8);
    palette.setColor(0, qRgba(0, 0, 0, 0));
    palette.setColor(1, qRgba(200, 100, 50, 128));
    // 16 bits a channel are narrowed to 8 by each reader in its own way (Qt multiplies
    // by alpha before it narrows): one step apart at most. No gamma is applied by either,
    // which would move mid-tones by tens of steps.
    const struct {
        const char* name;
        QImage image;
        int tolerance;
    } kinds[] = {
        {"argb", argb, 0},
        {"grey", argb.convertToFormat(QImage::Format_Grayscale8), 0},
        {"grey16", argb.convertToFormat(QImage::Format_Grayscale16), 1},
        {"rgba64", argb.convertToFormat(QImage::Format_RGBA64), 1},
        {"rgb", argb.convertToFormat(QImage::Format_RGB32), 0},
        {"palette", palette, 0},
        {"mono", argb.convertToFormat(QImage::Format_Mono), 0},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const QString path = dir.filePath(QString::fromLatin1(kind.name) + ".png");
        QImageWriter writer(path, "png");
        ASSERT_TRUE(writer.write(kind.image)) << writer.errorString().toStdString();
        std::string error;
        const QByteArray ours = LibpngBitmap(path, error);
        const QByteArray qts = BitmapFileFromImage(QImage(path, "png"));
        const int difference = MaxPixelDifference(ours, qts);
        EXPECT_GE(difference, 0) << error << FirstDifference(ours, qts);
        EXPECT_LE(difference, kind.tolerance) << FirstDifference(ours, qts);
    }
}

// A damaged or missing file is refused with a reason, never half read.
TEST(PngRead, RefusesWhatIsNoWholePng) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile source(QStringLiteral(KARVELO_ASSETS_DIR "/kort/100.png"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray whole = source.readAll();
    QByteArray flipped = whole;
    flipped[whole.size() / 2] = static_cast<char>(flipped[whole.size() / 2] ^ 0x55);
    const QByteArray cases[] = {whole.left(whole.size() / 2), whole.left(8), QByteArray("not a png"),
                                flipped, QByteArray()};
    int n = 0;
    for (const QByteArray& bytes : cases) {
        const std::string path = dir.filePath(QString::number(n++)).toStdString();
        std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
        DecodedPicture picture;
        std::string error;
        EXPECT_FALSE(ReadPng(path, picture, error)) << n;
        EXPECT_FALSE(error.empty()) << n;
    }
    DecodedPicture picture;
    std::string error;
    EXPECT_FALSE(ReadPng(dir.filePath(QStringLiteral("missing.png")).toStdString(), picture, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
