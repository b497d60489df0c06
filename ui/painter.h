#pragma once
// The table's picture, painted once for every window system: the scene's elements
// back to front on the background colour, the keyboard's marks above them and the
// dragged card with its shadow above all, onto a canvas (canvas.h). What each element
// looks like (its picture, frame, label font and colour, how far its text may reach)
// is decided here and nowhere else.
#include <cstdint>

#include "canvas.h"
#include "scene.h"

namespace karvelo {

// Paints the pixels `dirty` of the table showing `scene` on `background` (a colour
// value, red in the low byte).
void PaintTable(const Scene& scene, int32_t background, const PixelBox& dirty, Canvas& canvas);

// The area an element may draw on: its rectangle, and for a label the room its text
// may take in any font beyond the size it was given for the design's font.
TwipRect ElementReach(const SceneElement& element);

// The colour of the letters and suit names on `background`: black on the standard
// table and wherever black has a contrast of at least 4.5:1 with it (WCAG 2's ratio
// of relative luminances), white otherwise.
int32_t LabelColour(int32_t background);
// WCAG 2's contrast ratio of two colour values, from 1 (equal) to 21.
double ContrastRatio(int32_t a, int32_t b);

// The keyboard's marks: the focus a black ring with a white band in it, the lifted
// cards a black ring with a yellow band, each MarkArea wide, so both show on any
// table colour.
inline constexpr float kMarkBandTwips = 15;      // the light band, one pixel at 96 dpi
inline constexpr int32_t kMarkDark = 0x000000;
inline constexpr int32_t kFocusLight = 0xFFFFFF;
inline constexpr int32_t kLiftedLight = 0x00D7FF;  // RGB(255, 215, 0)

// The dragged card's shadow: its opacity and the radius of its corners.
inline constexpr int kDragShadowAlpha = 70;
inline constexpr float kDragShadowRadiusTwips = 60;  // 4 pixels at 96 dots per inch

}  // namespace karvelo
