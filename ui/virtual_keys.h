#pragma once
// Keys as the main window's handlers take them: Windows virtual-key codes, and the
// shift state as a mask. Both window systems translate their keys to these.
namespace karvelo {

inline constexpr int kVkReturn = 0x0D;
inline constexpr int kVkEscape = 0x1B;
inline constexpr int kVkSpace = 0x20;
inline constexpr int kVkLeft = 0x25;
inline constexpr int kVkUp = 0x26;
inline constexpr int kVkRight = 0x27;
inline constexpr int kVkDown = 0x28;
// Letters and digits are their upper-case ASCII codes.
inline constexpr int kVirtualKeyT = 'T';
inline constexpr int kVkNumpad0 = 0x60;  // to 0x69 for the keypad's 9
inline constexpr int kVkMultiply = 0x6A;
inline constexpr int kVkAdd = 0x6B;
inline constexpr int kVirtualKeyKeypadMinus = 0x6D;
inline constexpr int kVkDecimal = 0x6E;
inline constexpr int kVkDivide = 0x6F;
inline constexpr int kVkF1 = 0x70;  // to 0x7B for F12
inline constexpr int kVirtualKeyMinus = 0xBD;

inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

}  // namespace karvelo
