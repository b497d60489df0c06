#pragma once
// What the two Qt tools of the comparison share: a scene painted with the Qt window's
// canvas into an image, and the test for the labels' areas that are not compared.
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "paint_scenes.h"
#include "painter.h"
#include "qt_canvas.h"

namespace karvelo::paint {

// `width` x `height` pixels of the table showing `s`, at `dpi`.
inline QImage PaintWithQt(const NamedScene& s, int dpi, int width, int height) {
    QtCanvas canvas;
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    canvas.Begin(p, dpi);
    PaintTable(s.scene, s.background, {0, 0, width, height}, canvas);
    return image;
}

inline bool InAny(const std::vector<PixelBox>& areas, int x, int y) {
    return std::any_of(areas.begin(), areas.end(), [&](const PixelBox& b) {
        return x >= b.left && x < b.right && y >= b.top && y < b.bottom;
    });
}

// The largest difference of one channel between two colours 0xRRGGBB.
inline int ChannelDistance(unsigned a, unsigned b) {
    int d = 0;
    for (int shift : {0, 8, 16})
        d = std::max(d, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return d;
}

}  // namespace karvelo::paint
