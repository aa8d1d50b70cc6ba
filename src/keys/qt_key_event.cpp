#include "keys/qt_key_event.h"

#include <array>

#include <QKeyEvent>

#include "keys/key_codes.h"

namespace {

struct KeyRow {
    int qtKey;
    int code;
};

// Keys whose code does not depend on the physical key or the keypad.
constexpr std::array<KeyRow, 22> kKeyTable = {{
    {Qt::Key_Return, vk::kEnter},
    {Qt::Key_Enter, vk::kEnter},
    {Qt::Key_Escape, vk::kEscape},
    {Qt::Key_Space, vk::kSpace},
    {Qt::Key_PageUp, vk::kPageUp},
    {Qt::Key_PageDown, vk::kPageDown},
    {Qt::Key_Left, vk::kLeft},
    {Qt::Key_Up, vk::kUp},
    {Qt::Key_Right, vk::kRight},
    {Qt::Key_Down, vk::kDown},
    {Qt::Key_F1, vk::kF1},
    {Qt::Key_F2, vk::kF2},
    {Qt::Key_F3, vk::kF3},
    {Qt::Key_F4, vk::kF4},
    // + is Shift with = on many layouts, a key of its own on others, and on the keypad: each
    // gives the one + code, and so does = alone, so that the key marked + works without Shift.
    // - and _ share a key wherever both are on the main row.
    {Qt::Key_Plus, vk::kPlus},
    {Qt::Key_Equal, vk::kPlus},
    {Qt::Key_Minus, vk::kMinus},
    {Qt::Key_Underscore, vk::kMinus},
    {Qt::Key_BracketLeft, vk::kBracketLeft},
    {Qt::Key_BraceLeft, vk::kBracketLeft},
    {Qt::Key_BracketRight, vk::kBracketRight},
    {Qt::Key_BraceRight, vk::kBracketRight},
}};

// X keycodes of the main-row digit keys 1..9 and 0.
constexpr unsigned kFirstDigitScanCode = 10;
constexpr unsigned kLastDigitScanCode = 19;

}  // namespace

int VirtualKeyOf(int qtKey, bool keypad, unsigned nativeScanCode) {
    if (keypad && qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return vk::kPad0 + (qtKey - Qt::Key_0);
    if (!keypad && nativeScanCode >= kFirstDigitScanCode && nativeScanCode <= kLastDigitScanCode) {
        return vk::k0 + static_cast<int>((nativeScanCode - kFirstDigitScanCode + 1) % 10);
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return vk::k0 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return vk::kA + (qtKey - Qt::Key_A);
    for (const KeyRow& row : kKeyTable) {
        if (row.qtKey == qtKey) return row.code;
    }
    return vk::kNone;
}

int VirtualKeyOf(const QKeyEvent& event) {
    return VirtualKeyOf(event.key(), event.modifiers().testFlag(Qt::KeypadModifier),
                        event.nativeScanCode());
}
