#pragma once
// What a repaint of the Qt view can leave out (see title_cover.h), for the pixel
// rectangle Qt asks to paint, in its logical pixels at 96 to the inch.
#include <QRect>

#include <cstddef>
#include <vector>

#include "title_cover.h"
#include "twips.h"

namespace karvelo {

// The index in `order` (back to front) from which drawing must start to paint the
// pixel rectangle `dirty`: the topmost visible title picture that covers it, else 0.
inline size_t FirstElementToDraw(const std::vector<SceneElement>& order, const QRect& dirty) {
    return FirstElementToPaint(
        order, PixelBox{dirty.left(), dirty.top(), dirty.right() + 1, dirty.bottom() + 1},
        kStandardDpi);
}

}  // namespace karvelo
