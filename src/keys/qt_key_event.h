#pragma once
// The one translation from Qt key events to the virtual key codes of the key tables, for every
// window.

class QKeyEvent;

// The virtual key code of a key press, vk::kNone for keys without one. Main-row digits are taken
// from the physical key where the platform reports it (X keycodes 10..19 are 1..9, 0), so Shift
// with a digit gives the digit's code on every keyboard layout, not the shifted symbol's (also
// where a layout prints - or [ on a digit key). + and - give one code each, from the main row (=
// counts as +, _ as -, so Shift makes no difference) and from the keypad.
int VirtualKeyOf(const QKeyEvent& event);

// The same translation from the parts of a key event.
int VirtualKeyOf(int qtKey, bool keypad, unsigned nativeScanCode);
