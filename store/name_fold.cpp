// Case folding of key paths and value names.
#include "name_fold.h"

#include <cstdint>

namespace karvelo {
namespace {

char32_t UpperOf(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // à..þ, not ÷
    if (c == 0xFF) return 0x178;                                // ÿ
    if (c >= 0x100 && c <= 0x17F) {
        // Latin Extended-A pairs letters as upper/lower, even/odd, except three runs.
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddPairs) return (c % 2 == 0) ? c - 1 : c;
        return (c % 2 == 1) ? c - 1 : c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;  // Greek
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;                // Cyrillic
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

std::string FoldName(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto b0 = static_cast<uint8_t>(utf8[i]);
        if (b0 < 0x80) {
            out.push_back(static_cast<char>(UpperOf(b0)));
            ++i;
            continue;
        }
        // Only two-byte sequences hold letters we fold; decode those strictly and copy
        // everything else byte by byte.
        if (b0 >= 0xC2 && b0 <= 0xDF && i + 1 < utf8.size()) {
            const auto b1 = static_cast<uint8_t>(utf8[i + 1]);
            if ((b1 & 0xC0) == 0x80) {
                const char32_t c = (char32_t{b0} & 0x1F) << 6 | (char32_t{b1} & 0x3F);
                Append(out, UpperOf(c));
                i += 2;
                continue;
            }
        }
        out.push_back(utf8[i]);
        ++i;
    }
    return out;
}

}  // namespace karvelo
