#include "settings.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "regapi.h"
#include "window_layout.h"

namespace karvelo {

std::string SettingsKey() { return std::string(RegAPI::kAppKey) + "\\Installningar"; }

int32_t RoundHalfEven(double v) {
    if (std::isnan(v)) return 0;
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    const double r = std::nearbyint(v);  // the default rounding mode: halves to even
    if (r <= lo) return std::numeric_limits<int32_t>::min();
    if (r >= hi) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(r);
}

double LeadingNumber(const std::string& text) {
    size_t i = 0;
    const size_t n = text.size();
    auto is = [&](size_t k, auto pred) {
        return k < n && pred(static_cast<unsigned char>(text[k]));
    };
    auto digit = [](unsigned char c) { return std::isdigit(c) != 0; };
    while (is(i, [](unsigned char c) { return std::isspace(c) != 0; })) ++i;
    const size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (is(i, digit)) ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (is(i, digit)) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        if (is(j, digit)) {
            while (is(j, digit)) ++j;
            i = j;
        }
    }
    const std::string number = text.substr(start, i - start);
    const double v = std::strtod(number.c_str(), nullptr);
    return std::isfinite(v) ? v : 0;
}

SpeedSetting SpeedFromStored(const std::string& text) {
    const double v = LeadingNumber(text);
    if (v == 0) return {};
    const double item = std::nearbyint((v - 1) / 8);
    const int32_t steps = RoundHalfEven(v);
    if (steps < 1 || item < 0 || item >= kSpeedItems) return {};
    return {steps, static_cast<int>(item)};
}

int32_t ColourFromStored(const std::string& text) {
    const int32_t n = RegAPI::TextToInt32(text);
    if (n <= 0 || n > 0xFFFFFF) return layout::kStandardColour;
    return n;
}

int32_t GrowthStep(int32_t currentOuterHeight, int32_t targetOuterHeight, int steps) {
    if (steps < 1) steps = 1;
    const double diff = static_cast<double>(targetOuterHeight) - currentOuterHeight;
    return RoundHalfEven(diff / steps);
}

}  // namespace karvelo
