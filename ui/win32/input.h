#pragma once
// Windows' pointer and key input in the terms the main window's handlers take: button
// masks (pointer_buttons.h) and the shift state (1 Shift, 2 Ctrl, 4 Alt).
#include <windows.h>

#include <cstdint>

namespace karvelo::win32 {

// The buttons held, from the key flags of a mouse message (MK_LBUTTON and so on).
int16_t ButtonsHeld(WPARAM keyFlags);
// The one button a press, release or double-click message is about; 0 for others.
int16_t ButtonOf(UINT message, WPARAM w);
bool IsPress(UINT message);
bool IsDoubleClick(UINT message);
bool IsRelease(UINT message);

// The shift state as the keyboard stands while the current message is handled.
int ShiftState();

}  // namespace karvelo::win32
