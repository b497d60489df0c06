#include "title_cover.h"

namespace karvelo {

size_t FirstElementToPaint(const std::vector<SceneElement>& order, const PixelBox& dirty, int dpi) {
    for (size_t i = order.size(); i-- > 0;) {
        const SceneElement& e = order[i];
        if (!e.visible || e.id.kind != ElementKind::Splash) continue;
        // The title picture is opaque (drawn black where it has no picture).
        const PixelBox inside = PixelsInside(e.rect, dpi);
        if (dirty.left >= inside.left && dirty.top >= inside.top && dirty.right <= inside.right &&
            dirty.bottom <= inside.bottom)
            return i;
    }
    return 0;
}

}  // namespace karvelo
