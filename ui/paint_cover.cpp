#include "paint_cover.h"

#include <cmath>

namespace karvelo {
namespace {

// The whole pixels that lie inside a twip rectangle.
QRect InnerPixels(const TwipRect& r) {
    const int left = static_cast<int>(std::ceil(r.left / kTwipsPerPixel));
    const int top = static_cast<int>(std::ceil(r.top / kTwipsPerPixel));
    const int right = static_cast<int>(std::floor(r.Right() / kTwipsPerPixel));
    const int bottom = static_cast<int>(std::floor(r.Bottom() / kTwipsPerPixel));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
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
