#include "statistics_keys.h"

namespace karvelo {

KeyAction StatisticsKeyFor(int virtualKey, int shiftState) {
    if (virtualKey == kVirtualKeyT && shiftState == (kCtrlMask | kAltMask))
        return KeyAction::ShowFullStatistics;
    if (virtualKey == kVirtualKeyKeypadMinus && shiftState == (kShiftMask | kCtrlMask | kAltMask))
        return KeyAction::ClearTotalStatistics;
    return KeyAction::None;
}

}  // namespace karvelo
