#pragma once
// Resizing a picture by area: each new pixel is the average of the part of the old
// picture it covers, weighted by how much of each old pixel it covers. Shrinking keeps
// fine lines and letters readable (nothing is skipped, as it would be by picking the
// nearest pixel); enlarging by less than two gives soft one-pixel edges.
//
// Pictures are rows of 32-bit pixels, top row first, each 0xAARRGGBB with the colours
// premultiplied by alpha (as AlphaBlend takes them). Averaging premultiplied pixels is
// what keeps a transparent neighbour from darkening an edge.
#include <cstdint>
#include <span>
#include <vector>

namespace karvelo {

struct PixelsView {
    std::span<const std::uint32_t> pixels;
    int width = 0;
    int height = 0;
};

// `source` resized to `width` x `height`; empty when a size is not positive or the
// source does not hold width x height pixels.
std::vector<std::uint32_t> ScaleByArea(PixelsView source, int width, int height);

}  // namespace karvelo
