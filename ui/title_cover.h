#pragma once
// What a repaint can leave out: everything behind an opaque picture that covers the
// whole area being painted. Before the first game the title picture covers the table,
// so the frames, labels and arrow behind it need not be drawn, nor their pictures and
// fonts loaded, for the first frame.
#include <cstddef>
#include <vector>

#include "scene.h"

namespace karvelo {

// The index in `order` (back to front) from which painting the pixels `dirty` at
// `dpi` must start: the topmost visible title picture whose whole pixels cover them,
// else 0.
size_t FirstElementToPaint(const std::vector<SceneElement>& order, const PixelBox& dirty, int dpi);

}  // namespace karvelo
