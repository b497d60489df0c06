#pragma once
// The two hidden key combinations of the main window that reach the statistics.
namespace karvelo {

enum class KeyAction { None, ShowFullStatistics, ClearTotalStatistics };

// Windows virtual-key codes and shift states (1 Shift, 2 Ctrl, 4 Alt).
inline constexpr int kVirtualKeyT = 84;
inline constexpr int kVirtualKeyKeypadMinus = 109;
inline constexpr int kVirtualKeyMinus = 189;
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

// Ctrl+Alt+T exactly opens the full view; Ctrl+Alt+Shift with the keypad minus
// exactly asks to clear the total. Anything else is no statistics key.
KeyAction StatisticsKeyFor(int virtualKey, int shiftState);

}  // namespace karvelo
