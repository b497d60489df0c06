// Build tool: turns a PNG into the plain pixels the program carries for its first
// frame, or, for an output name ending in ".bmp", into a 32-bit Windows bitmap for
// the Windows program's resources (pixels.h).
//   karvelo_topixels <in.png> <out.px | out.bmp>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include <cstdio>

#include "pixels.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <in.png> <out.px | out.bmp>\n", argv[0]);
        return 2;
    }
    const QImage image(QFile::decodeName(argv[1]), "png");
    const QString path = QFile::decodeName(argv[2]);
    const QByteArray pixels = path.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive)
                                  ? karvelo::BitmapFileFromImage(image)
                                  : karvelo::PixelsFromImage(image);
    if (pixels.isEmpty()) {
        std::fprintf(stderr, "%s: cannot read %s as a picture\n", argv[0], argv[1]);
        return 1;
    }
    QSaveFile out(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !out.open(QIODevice::WriteOnly) || out.write(pixels) != pixels.size() || !out.commit()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
