// Build tool: turns a PNG into the plain pixels the program carries for its first
// frame (pixels.h). The Windows program's bitmaps are made by karvelo_tobmp (bmp/).
//   karvelo_topixels <in.png> <out.px>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include <cstdio>

#include "pixels.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <in.png> <out.px>\n", argv[0]);
        return 2;
    }
    const QImage image(QFile::decodeName(argv[1]), "png");
    const QString path = QFile::decodeName(argv[2]);
    const QByteArray pixels = karvelo::PixelsFromImage(image);
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
