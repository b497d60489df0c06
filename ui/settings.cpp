#include "settings.h"

#include <cmath>

#include "regapi.h"
#include "rounding.h"

namespace karvelo {

std::string SettingsKey() { return std::string(RegAPI::kAppKey) + "\\Installningar"; }

SpeedSetting SpeedFromStored(const std::string& text) {
    const double v = RegAPI::TextToNumber(text);
    if (v == 0) return {};
    const double item = std::nearbyint((v - 1) / 8);
    const int32_t steps = RoundHalfEven(v);
    if (steps < 1 || item < 0 || item >= kSpeedItems) return {};
    return {steps, static_cast<int>(item)};
}

int32_t ColourFromStored(const std::string& text) {
    const int32_t n = RegAPI::TextToInt32(text);
    if (n <= 0 || n > 0xFFFFFF) return kStandardColour;
    return n;
}

int32_t GrowthStep(int32_t currentOuterHeight, int32_t targetOuterHeight, int steps) {
    if (steps < 1) steps = 1;
    const double diff = static_cast<double>(targetOuterHeight) - currentOuterHeight;
    return RoundHalfEven(diff / steps);
}

}  // namespace karvelo
