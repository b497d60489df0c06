#include "pictures.h"

#include <QResource>

#include "pixels.h"

// The resource's initialiser lives in an object library that Qt links into every
// program using karvelo_assets; calling it again here makes sure the pictures are
// registered even where a linker dropped that object.
static void EnsureResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(karvelo_bilder);
        return true;
    }();
    (void)registered;
}

namespace karvelo {

namespace {

// Loads `base` + ".png", or its "@2x" drawing when the screen is denser than normal.
QPixmap LoadDensity(const QString& base, qreal dpr) {
    EnsureResources();
    const bool dense = dpr > 1.0;
    QPixmap pm(base + (dense ? QStringLiteral("@2x.png") : QStringLiteral(".png")));
    if (!pm.isNull() && dense) pm.setDevicePixelRatio(2.0);
    return pm;
}

QString PictureBase(int number) {
    if (number < kFirstPicture || number > kLastPicture) return {};
    return QStringLiteral(":/kort/%1").arg(number);
}

// A picture carried as plain pixels (pixels.h), with device pixel ratio `dpr`.
QPixmap LoadPixels(const QString& path, qreal dpr) {
    EnsureResources();
    const QResource resource(path);
    const QByteArray bytes = resource.uncompressedData();  // no copy: stored uncompressed
    QPixmap pm = QPixmap::fromImage(ImageFromPixels(bytes));
    if (!pm.isNull()) pm.setDevicePixelRatio(dpr);
    return pm;
}

}  // namespace

QString PicturePath(int number) {
    const QString base = PictureBase(number);
    return base.isEmpty() ? base : base + QStringLiteral(".png");
}

QPixmap LoadPicture(int number, qreal dpr) {
    const QString base = PictureBase(number);
    if (base.isEmpty()) return {};
    return LoadDensity(base, dpr);
}

QPixmap LoadArrow(Arrow a, qreal dpr) {
    const char* name = "ned";
    switch (a) {
        case Arrow::Down: name = "ned"; break;
        case Arrow::Right: name = "hoger"; break;
        case Arrow::Left: name = "vanster"; break;
    }
    return LoadDensity(QStringLiteral(":/pil/") + QLatin1String(name), dpr);
}

QPixmap LoadSplash(qreal dpr) {
    const bool dense = dpr > 1.0;
    return LoadPixels(dense ? QStringLiteral(":/titel/titel@2x.px") : QStringLiteral(":/titel/titel.px"),
                      dense ? 2.0 : 1.0);
}

QIcon AppIcon(int largestPx) {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        if (size > largestPx) continue;
        const QPixmap pm = LoadPixels(QStringLiteral(":/ikon/spader-%1.px").arg(size), 1.0);
        if (!pm.isNull()) icon.addPixmap(pm);
    }
    return icon;
}

}  // namespace karvelo
