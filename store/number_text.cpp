// Reading the number at the start of a text, as the registry layer stores numbers and
// the program reads its settings: blanks (spaces and tabs) skipped, an optional sign,
// digits with "." as the decimal point; a text that does not start with a number is 0.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "regapi.h"

namespace RegAPI {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number at the start of a text, as its pieces.
struct Scanned {
    bool negative = false;
    std::string_view whole;     // the digits before the point
    std::string_view fraction;  // the digits after it
    bool IsNumber() const { return !whole.empty() || !fraction.empty(); }
};

Scanned Scan(std::string_view text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    Scanned s;
    if (i < n && (text[i] == '-' || text[i] == '+')) {
        s.negative = text[i] == '-';
        ++i;
    }
    const size_t whole = i;
    while (i < n && IsDigit(text[i])) ++i;
    s.whole = text.substr(whole, i - whole);
    if (i < n && text[i] == '.') {
        const size_t fraction = ++i;
        while (i < n && IsDigit(text[i])) ++i;
        s.fraction = text.substr(fraction, i - fraction);
    }
    return s;
}

}  // namespace

int32_t TextToInt32(const std::string& text) {
    // Rounded from the decimal digits themselves rather than through a double, so that
    // a text just past a half ("2.5000000000000000001") rounds up, and any number of
    // digits is read without overflow.
    const Scanned s = Scan(text);
    // The magnitude is capped just above the largest one we can return.
    constexpr uint64_t kCap = uint64_t{1} << 32;
    uint64_t magnitude = 0;
    for (char c : s.whole) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
        if (magnitude > kCap) magnitude = kCap;
    }
    // Only the first decimal and whether anything non-zero follows it decide the
    // rounding: halves go to the even neighbour, everything else to the nearest.
    if (!s.fraction.empty()) {
        const int first = s.fraction.front() - '0';
        const bool restNonZero = s.fraction.substr(1).find_first_not_of('0') != std::string_view::npos;
        const bool roundUp = first > 5 || (first == 5 && (restNonZero || magnitude % 2 == 1));
        if (roundUp && magnitude < kCap) ++magnitude;
    }

    constexpr uint64_t kMaxPositive = std::numeric_limits<int32_t>::max();
    if (s.negative) {
        if (magnitude > kMaxPositive) return std::numeric_limits<int32_t>::min();
        return -static_cast<int32_t>(magnitude);
    }
    if (magnitude > kMaxPositive) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(magnitude);
}

double TextToNumber(const std::string& text) {
    const Scanned s = Scan(text);
    if (!s.IsNumber()) return 0;
    // from_chars reads "." whatever the locale (strtod would take the user's decimal
    // comma once the window system has set the locale).
    const std::string digits = std::string(s.whole.empty() ? "0" : s.whole) + "." +
                               std::string(s.fraction) + "0";
    double v = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), v,
                                              std::chars_format::fixed);
    if (error != std::errc() || !std::isfinite(v)) return 0;
    return s.negative ? -v : v;
}

}  // namespace RegAPI
