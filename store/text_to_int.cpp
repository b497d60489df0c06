// Reading the number at the start of a text, as the registry layer stores numbers.
#include <cstdint>
#include <limits>
#include <string>

#include "regapi.h"

namespace RegAPI {

int32_t TextToInt32(const std::string& text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;

    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }

    // The magnitude is capped just above the largest one we can return, so any
    // number of digits is read without overflow.
    constexpr uint64_t kCap = uint64_t{1} << 32;
    uint64_t magnitude = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
        magnitude = magnitude * 10 + static_cast<uint64_t>(text[i] - '0');
        if (magnitude > kCap) magnitude = kCap;
        ++i;
    }

    // Only the first decimal and whether anything non-zero follows it decide the
    // rounding: halves go to the even neighbour, everything else to the nearest.
    if (i < n && text[i] == '.') {
        ++i;
        int first = 0;
        bool restNonZero = false;
        if (i < n && text[i] >= '0' && text[i] <= '9') {
            first = text[i] - '0';
            ++i;
            while (i < n && text[i] >= '0' && text[i] <= '9') {
                if (text[i] != '0') restNonZero = true;
                ++i;
            }
        }
        const bool roundUp = first > 5 || (first == 5 && (restNonZero || magnitude % 2 == 1));
        if (roundUp && magnitude < kCap) ++magnitude;
    }

    constexpr uint64_t kMaxPositive = std::numeric_limits<int32_t>::max();
    if (negative) {
        if (magnitude > kMaxPositive) return std::numeric_limits<int32_t>::min();
        return -static_cast<int32_t>(magnitude);
    }
    if (magnitude > kMaxPositive) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(magnitude);
}

}  // namespace RegAPI
