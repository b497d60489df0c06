#pragma once
// The two hidden key combinations of the main window that reach the statistics.
#include "virtual_keys.h"

namespace karvelo {

enum class KeyAction { None, ShowFullStatistics, ClearTotalStatistics };

// Ctrl+Alt+T exactly opens the full view; Ctrl+Alt+Shift with the keypad minus
// exactly asks to clear the total. Anything else is no statistics key.
KeyAction StatisticsKeyFor(int virtualKey, int shiftState);

}  // namespace karvelo
