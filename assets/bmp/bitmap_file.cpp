#include "bitmap_file.h"

namespace karvelo {
namespace {

template <typename T>
void AppendLittleEndian(std::string& out, T value) {
    const auto v = static_cast<uint32_t>(value);
    for (size_t i = 0; i < sizeof(T); ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

// c * a / 255 rounded, exactly, for c and a in 0..255.
uint32_t Scaled(uint32_t c, uint32_t a) {
    const uint32_t t = c * a;
    return (t + (t >> 8) + 0x80) >> 8;
}

}  // namespace

uint32_t Premultiplied(uint32_t argb) {
    const uint32_t a = argb >> 24;
    if (a == 0xff) return argb;
    return a << 24 | Scaled((argb >> 16) & 0xff, a) << 16 | Scaled((argb >> 8) & 0xff, a) << 8 |
           Scaled(argb & 0xff, a);
}

std::string BitmapFile(const PremultipliedPicture& p) {
    if (p.width <= 0 || p.height <= 0 || p.width > kBitmapMaxSide || p.height > kBitmapMaxSide)
        return {};
    const size_t count = static_cast<size_t>(p.width) * static_cast<size_t>(p.height);
    if (p.words.size() != count) return {};
    constexpr uint32_t kFileHeaderBytes = 14, kInfoHeaderBytes = 40;
    constexpr int32_t kPixelsPerMetre = 3780;  // 96 dots per inch
    const auto imageBytes = static_cast<uint32_t>(count * 4);
    std::string out;
    out.reserve(kFileHeaderBytes + kInfoHeaderBytes + imageBytes);
    // BITMAPFILEHEADER
    out += "BM";
    AppendLittleEndian<uint32_t>(out, kFileHeaderBytes + kInfoHeaderBytes + imageBytes);
    AppendLittleEndian<uint32_t>(out, 0);
    AppendLittleEndian<uint32_t>(out, kFileHeaderBytes + kInfoHeaderBytes);
    // BITMAPINFOHEADER: a positive height means the bottom row comes first.
    AppendLittleEndian<uint32_t>(out, kInfoHeaderBytes);
    AppendLittleEndian<int32_t>(out, p.width);
    AppendLittleEndian<int32_t>(out, p.height);
    AppendLittleEndian<uint16_t>(out, 1);   // planes
    AppendLittleEndian<uint16_t>(out, 32);  // bits per pixel
    AppendLittleEndian<uint32_t>(out, 0);   // BI_RGB: uncompressed
    AppendLittleEndian<uint32_t>(out, imageBytes);
    AppendLittleEndian<int32_t>(out, kPixelsPerMetre);
    AppendLittleEndian<int32_t>(out, kPixelsPerMetre);
    AppendLittleEndian<uint32_t>(out, 0);  // colours used: no palette
    AppendLittleEndian<uint32_t>(out, 0);
    // A little-endian 0xAARRGGBB word is the bytes blue, green, red, alpha.
    const auto width = static_cast<size_t>(p.width);
    for (size_t y = static_cast<size_t>(p.height); y-- > 0;)
        for (size_t x = 0; x < width; ++x) AppendLittleEndian<uint32_t>(out, p.words[y * width + x]);
    return out;
}

}  // namespace karvelo
