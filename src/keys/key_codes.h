#pragma once
// The virtual key codes every window's key table is written in: the codes of the keyboard the
// commands were first bound to. Letters have their capital's code whatever the case; the digits
// of the main row and of the keypad have codes of their own.

namespace vk {
inline constexpr int kNone = 0;
inline constexpr int kEnter = 13;
inline constexpr int kEscape = 27;
inline constexpr int kSpace = 32;
inline constexpr int kPageUp = 33;
inline constexpr int kPageDown = 34;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int k0 = 48;  // main-row digits 48..57
inline constexpr int k9 = 57;
inline constexpr int kA = 65;  // letters 65..90, always the capital's code
inline constexpr int kZ = 90;
inline constexpr int kPad0 = 96;  // keypad digits 96..105
inline constexpr int kPad9 = 105;
inline constexpr int kF1 = 112;
inline constexpr int kF2 = 113;
inline constexpr int kF3 = 114;
inline constexpr int kF4 = 115;
// The + and - keys, wherever a layout puts them: the main row's + (also as = without Shift) and -,
// and the keypad's + and -.
inline constexpr int kPlus = 187;
inline constexpr int kMinus = 189;
inline constexpr int kBracketLeft = 219;
inline constexpr int kBracketRight = 221;
}  // namespace vk
