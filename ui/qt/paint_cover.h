#pragma once
// What a repaint can leave out: everything behind an opaque picture that covers the
// whole area being painted. Before the first game the title picture covers the
// table, and the frames, labels and arrow behind it need not be drawn (nor their
// pictures and fonts loaded) for the first frame.
#include <QRect>

#include <cstddef>
#include <vector>

#include "scene.h"

namespace karvelo {

// The index in `order` (back to front) from which drawing must start to paint the
// pixel rectangle `dirty`: the topmost visible title picture that covers it, else 0.
size_t FirstElementToDraw(const std::vector<SceneElement>& order, const QRect& dirty);

}  // namespace karvelo
