#pragma once
// Reading a PNG file with libpng into the words a bitmap file is made of
// (bitmap_file.h): every kind of PNG (grey, palette, with or without alpha, 16 bits a
// channel) comes out as premultiplied 0xAARRGGBB. No gamma or colour conversion: the
// pictures are taken as they are stored, as the program's other loaders take them.
#include <cstdint>
#include <string>
#include <vector>

namespace karvelo {

struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> words;  // premultiplied 0xAARRGGBB, top row first
};

// The picture in the PNG file at `path`; false with `error` set when the file cannot
// be read, is no whole PNG, or is wider or higher than kBitmapMaxSide.
bool ReadPng(const std::string& path, DecodedPicture& picture, std::string& error);

}  // namespace karvelo
