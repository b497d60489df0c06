#pragma once
// The edge of an empty place on the table (a free cell, a foundation, the base of an
// empty column): a one-pixel line darker than the background above and on the left,
// lighter below and on the right, so the place looks pressed into the table. Every
// window draws it in these colours, whatever background the player chose.
#include <cstdint>

namespace karvelo {

struct SunkenEdge {
    int32_t dark;   // colour values as the settings keep them: red in the low byte
    int32_t light;
    friend bool operator==(const SunkenEdge&, const SunkenEdge&) = default;
};

// The dark edge keeps the background's hue and saturation at 100/145 of its
// brightness; the light one at 135/100, giving up saturation where the brightness
// runs out. On a background too dark to lighten visibly the light edge is grey.
SunkenEdge SunkenEdgeFor(int32_t background);

}  // namespace karvelo
