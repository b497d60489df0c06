#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace karvelo {

PixelBox DrawnBox(const TwipRect& rect, int dpi) {
    const int left = PixelsFromTwips(rect.left, dpi), top = PixelsFromTwips(rect.top, dpi);
    return {left, top, left + PixelsFromTwips(rect.width, dpi), top + PixelsFromTwips(rect.height, dpi)};
}

std::vector<PixelBox> FrameBands(const TwipRect& rect, float thickness, int dpi) {
    const PixelBox b = DrawnBox(rect, dpi);
    const int w = b.right - b.left, h = b.bottom - b.top;
    const int t = std::min({std::max(1, PixelsFromTwips(thickness, dpi)), w / 2, h / 2});
    if (t <= 0) return {};
    return {{b.left, b.top, b.right, b.top + t},
            {b.left, b.bottom - t, b.right, b.bottom},
            {b.left, b.top + t, b.left + t, b.bottom - t},
            {b.right - t, b.top + t, b.right, b.bottom - t}};
}

std::vector<PixelBox> SunkenLines(const TwipRect& rect, int dpi) {
    const PixelBox b = DrawnBox(rect, dpi);
    if (b.right - b.left < 2 || b.bottom - b.top < 2) return {};
    return {{b.left, b.top, b.right, b.top + 1},
            {b.left, b.top, b.left + 1, b.bottom},
            {b.left + 1, b.bottom - 1, b.right, b.bottom},
            {b.right - 1, b.top + 1, b.right, b.bottom}};
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
