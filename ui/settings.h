#pragma once
// The two stored settings, "Speed" and "Color" under "\Installningar": how the
// stored text becomes the animation speed, the ticked speed item and the
// background colour, and how they are written back.
//
// They are kept through the registry layer in the registry's layout, like the
// statistics, rather than with a settings library: one store holds everything that
// outlives a run, the Windows registry itself on Windows and the same keys and value
// types in the SQLite store elsewhere, so a player's settings and statistics move
// between the two systems with karvelo-reg and "reg import".
#include <cstdint>
#include <string>

namespace karvelo {

inline constexpr int kSpeedItems = 5;
inline constexpr int kStandardSpeedItem = 2;
inline constexpr int32_t kStandardSpeed = 17;
inline constexpr int32_t kStandardColour = 32768;  // RGB(0, 128, 0)

// The settings key under the application key.
std::string SettingsKey();

struct SpeedSetting {
    int32_t steps = kStandardSpeed;
    int item = kStandardSpeedItem;
    friend bool operator==(const SpeedSetting&, const SpeedSetting&) = default;
};

// The stored "Speed" text to steps and the item to tick. Unset (0) gives 17 steps
// and item 2; a stored number keeps its rounded value as the step count and ticks
// item (v - 1) / 8 rounded. A value that cannot be told apart from garbage (fewer
// than one step, or an item outside 0..4) starts with the standard speed.
SpeedSetting SpeedFromStored(const std::string& text);

// Steps for speed item k (0..4): 1, 9, 17, 25, 33.
inline int32_t SpeedForItem(int k) { return 8 * k + 1; }

// The stored "Color" text to a colour value (red in the low byte, then green, then
// blue). Unset (0) gives the standard green, and so does anything that is not such
// a colour (negative, above 0xFFFFFF, not a number).
int32_t ColourFromStored(const std::string& text);

// The step of the window's growth: (target - current outer height) / steps,
// rounded halves to even, in twips.
int32_t GrowthStep(int32_t currentOuterHeight, int32_t targetOuterHeight, int steps);

}  // namespace karvelo
