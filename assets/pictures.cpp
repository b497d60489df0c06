#include "pictures.h"

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

QPixmap LoadSplash(qreal dpr) { return LoadDensity(QStringLiteral(":/titel/titel"), dpr); }

QIcon AppIcon() {
    EnsureResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/ikon/spader-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace karvelo
