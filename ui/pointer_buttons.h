#pragma once
// Pointer buttons as the main window's handlers take them: a mask of named bits, made
// here from the buttons a window system's event names, the same on every system.
#include <cstdint>

namespace karvelo {

inline constexpr int16_t kLeftButton = 1;
inline constexpr int16_t kRightButton = 2;
inline constexpr int16_t kMiddleButton = 4;
// Any further button (a mouse's side buttons): it is reported, so that no handler
// mistakes it for none, and none acts on it.
inline constexpr int16_t kOtherButton = 8;

constexpr int16_t ButtonMask(bool left, bool right, bool middle, bool other) {
    return static_cast<int16_t>((left ? kLeftButton : 0) | (right ? kRightButton : 0) |
                                (middle ? kMiddleButton : 0) | (other ? kOtherButton : 0));
}

}  // namespace karvelo
