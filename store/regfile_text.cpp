// UTF-8 and UTF-16 for registry files, one character or unit at a time.
#include "regfile_text.h"

namespace karvelo::regfile {

bool DecodeUtf8(const std::string& text, size_t& i, char32_t* c) {
    const auto b = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    const uint8_t b0 = b(i);
    size_t len = 0;
    char32_t value = 0;
    if (b0 < 0x80) {
        *c = b0;
        ++i;
        return true;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, value = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, value = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, value = b0 & 0x07;
    } else {
        return false;
    }
    if (i + len > text.size()) return false;
    for (size_t k = 1; k < len; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return false;
        value = value << 6 | (b(i + k) & 0x3F);
    }
    const char32_t minimum = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    *c = value;
    i += len;
    return true;
}

bool ValidUtf8(const std::string& text) {
    size_t i = 0;
    char32_t c;
    while (i < text.size())
        if (!DecodeUtf8(text, i, &c)) return false;
    return true;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUnit(std::string& out, uint16_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

}  // namespace karvelo::regfile
