#include "paint_cover.h"

namespace karvelo {
namespace {

// The whole pixels that lie inside a twip rectangle.
QRect InnerPixels(const TwipRect& r) {
    const PixelBox b = PixelsInside(r, kStandardDpi);
    return QRect(QPoint(b.left, b.top), QPoint(b.right - 1, b.bottom - 1));
}

}  // namespace

size_t FirstElementToDraw(const std::vector<SceneElement>& order, const QRect& dirty) {
    for (size_t i = order.size(); i-- > 0;) {
        const SceneElement& e = order[i];
        // The title picture is opaque (drawn black where it has no picture).
        if (e.visible && e.id.kind == ElementKind::Splash && InnerPixels(e.rect).contains(dirty))
            return i;
    }
    return 0;
}

}  // namespace karvelo
