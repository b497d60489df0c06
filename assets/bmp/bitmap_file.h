#pragma once
// The Windows bitmap files the Windows program carries its pictures in, as resources
// of its program file: 32 bits a pixel, bytes blue, green, red, alpha with the
// colours premultiplied by alpha (the form AlphaBlend takes), bottom row first, a
// BITMAPINFOHEADER and no palette. No window system and no decoder here: the build
// machine's tool (karvelo_tobmp) and the Qt build share it.
#include <cstdint>
#include <span>
#include <string>

namespace karvelo {

// The largest width or height a picture file of the program may have.
inline constexpr int kBitmapMaxSide = 8192;

// A picture as 32-bit words 0xAARRGGBB, colours premultiplied by alpha, top row
// first; an opaque picture has alpha 0xff throughout.
struct PremultipliedPicture {
    int width = 0;
    int height = 0;
    std::span<const uint32_t> words;  // width * height of them
};

// The bitmap file of `picture`; empty when it is empty, wider or higher than
// kBitmapMaxSide, or its words are not width * height.
std::string BitmapFile(const PremultipliedPicture& picture);

// `argb` (0xAARRGGBB, colours not premultiplied) with its colours multiplied by its
// alpha, each rounded to the nearest of 0..255.
uint32_t Premultiplied(uint32_t argb);

}  // namespace karvelo
