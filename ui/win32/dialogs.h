#pragma once
// The system's own modal windows as the main window asks for them: message boxes, the
// colour dialog, and the player's way of writing numbers.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "window_system.h"

namespace karvelo::win32 {

// The flags MessageBoxW takes for a request: its buttons, icon and default button.
UINT MessageBoxFlags(const MessageRequest& request);
// MessageBoxW owned by `owner`; the text as the game built it, CR LF and TABs kept. A
// Yes/No question that is not answered Yes (or that Windows could not show) is No.
Answer ShowMessageBox(HWND owner, const MessageRequest& request);

// ChooseColorW with its custom colours open, starting on `current`; nothing when the
// player cancelled or the dialog failed.
std::optional<int32_t> ChooseColourDialog(HWND owner, int32_t current);

// The decimal separator and digit grouping of the user's regional settings.
NumberFormat UserNumberFormatOfSystem();

}  // namespace karvelo::win32
