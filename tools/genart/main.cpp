// Draws every picture of the game into the assets folder:
//   genart <assets-folder> [<sheet-folder>]
// With a sheet folder it also writes contact and table sheets at both densities.
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

#include "genart.h"

namespace {

bool Save(const QImage& img, const QString& path, int quality = -1) {
    QDir().mkpath(QFileInfo(path).path());
    if (!img.save(path, "PNG", quality)) {
        std::fprintf(stderr, "genart: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Saves a picture at both densities: name.png and name@2x.png.
template <typename Draw>
bool SaveBoth(const QString& base, Draw draw) {
    return Save(draw(1), base + ".png") && Save(draw(2), base + "@2x.png");
}

// The title picture is shown at start-up, so it is stored to decode quickly: opaque
// (it has no transparent pixel) and only lightly compressed.
bool SaveTitle(const QString& base) {
    const auto opaque = [](const QImage& img) { return img.convertToFormat(QImage::Format_RGB32); };
    constexpr int kLightCompression = 85;  // zlib level 1
    return Save(opaque(genart::DrawSplash(1)), base + ".png", kLightCompression) &&
           Save(opaque(genart::DrawSplash(2)), base + "@2x.png", kLightCompression);
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: genart <assets-folder> [<sheet-folder>]\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    bool ok = SaveBoth(out + "/kort/100", genart::DrawBack) &&
              SaveBoth(out + "/kort/153", genart::DrawEmptyPlace);
    for (int code = 1; code <= 52 && ok; ++code)
        ok = SaveBoth(QStringLiteral("%1/kort/%2").arg(out).arg(100 + code),
                      [code](int s) { return genart::DrawFace(code, s); });
    const char* arrows[3] = {"ned", "hoger", "vanster"};
    for (int a = 0; a < 3 && ok; ++a)
        ok = SaveBoth(out + "/pil/" + arrows[a], [a](int s) { return genart::DrawArrow(a, s); });
    std::vector<QImage> icons;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        icons.push_back(genart::DrawIcon(size));
        ok = ok && Save(icons.back(), QStringLiteral("%1/ikon/spader-%2.png").arg(out).arg(size));
    }
    QFile ico(out + "/ikon/karvelo.ico");
    ok = ok && ico.open(QIODevice::WriteOnly) && ico.write(genart::IcoFile(icons)) > 0;
    ok = ok && SaveTitle(out + "/titel/titel");
    if (ok && argc > 2) {
        const QString sheets = QString::fromLocal8Bit(argv[2]);
        ok = SaveBoth(sheets + "/kontakt", genart::ContactSheet) &&
             SaveBoth(sheets + "/bord", genart::TableSheet);
    }
    if (!ok) std::fprintf(stderr, "genart: failed\n");
    return ok ? 0 : 1;
}
