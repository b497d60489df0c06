#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace karvelo {

PixelBox DrawnBox(const TwipRect& rect, int dpi) {
    const int left = PixelsFromTwips(rect.left, dpi), top = PixelsFromTwips(rect.top, dpi);
    return {left, top, left + PixelsFromTwips(rect.width, dpi), top + PixelsFromTwips(rect.height, dpi)};
}

std::vector<uint8_t> ShadowMask(int width, int height, double radius, int alpha) {
    if (width <= 0 || height <= 0) return {};
    std::vector<uint8_t> mask(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // How far the pixel's centre lies beyond a rounded corner's arc, if in one.
            const double cx = x + 0.5, cy = y + 0.5;
            const double dx = std::max({radius - cx, cx - (width - radius), 0.0});
            const double dy = std::max({radius - cy, cy - (height - radius), 0.0});
            const double cover = std::clamp(0.5 - (std::hypot(dx, dy) - radius), 0.0, 1.0);
            mask[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                static_cast<uint8_t>(std::lround(alpha * cover));
        }
    }
    return mask;
}

}  // namespace karvelo
