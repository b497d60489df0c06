#pragma once
// Key presses as the window's key handler takes them: a Windows virtual-key code
// and the shift state (1 Shift, 2 Ctrl, 4 Alt).
#include <Qt>

namespace karvelo {

// Letters and digits keep their character code, F1 to F12 are 112 to 123, the
// keypad's operators 106 to 111, the arrows 37 to 40, Enter (either) 13, Escape 27
// and Space 32; anything else gives 0.
int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);
int ShiftStateOf(Qt::KeyboardModifiers modifiers);

}  // namespace karvelo
