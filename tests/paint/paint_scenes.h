#pragma once
// The scenes both window systems are made to paint for the comparison of their
// pictures: the table while the window grows before the first deal, a table dealt
// from a fixed deck, a card being dragged, a peek, a card
// half-way through its flight, and the keyboard's marks on a black table. Each is made
// by the real main window and engine from the same input, so both systems get exactly
// the same scene.
#include <cstdint>
#include <string>
#include <vector>

#include "scene.h"

namespace karvelo::paint {

struct NamedScene {
    std::string name;
    Scene scene;
    int32_t background = 0;
};

// The table's size painted and compared, in twips: the whole width, and every card of
// the deal.
inline constexpr TwipRect kComparedTable{0, 0, 9660, 8400};

std::vector<NamedScene> ComparedScenes();

// The pixels where the labels' text may lie at `dpi`: their fonts differ by system.
std::vector<PixelBox> LabelAreas(const Scene& scene, int dpi);

}  // namespace karvelo::paint
