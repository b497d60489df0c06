#pragma once
// Plain pixels: the form the program carries the pictures of its first frame in (the
// title picture and the window icon), so that showing them is a copy, not a decode.
// The build makes them from the PNGs with karvelo_topixels.
//
// Layout, all numbers little-endian:
//   bytes 0..3    "KVPX"
//   bytes 4..7    width in pixels
//   bytes 8..11   height in pixels
//   bytes 12..15  0: opaque, 0xffRRGGBB words; 1: with alpha, premultiplied 0xAARRGGBB
//   then height rows of width 32-bit pixels, top row first, each little-endian
#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

namespace karvelo {

inline constexpr int kPixelsHeaderBytes = 16;
inline constexpr int kPixelsMaxSide = 8192;

// The picture in `bytes`, or a null image if they are not a whole, well-formed file.
QImage ImageFromPixels(QByteArrayView bytes);

// `image` as plain pixels; empty for a null image or one wider or higher than
// kPixelsMaxSide.
QByteArray PixelsFromImage(const QImage& image);

// `image` as the Windows bitmap file the Windows program carries (bmp/bitmap_file.h),
// as Qt reads it: the yardstick for karvelo_tobmp, which makes those files without
// Qt. An opaque image gets alpha 255 throughout. Empty for a null image or one wider
// or higher than kPixelsMaxSide.
QByteArray BitmapFileFromImage(const QImage& image);

}  // namespace karvelo
