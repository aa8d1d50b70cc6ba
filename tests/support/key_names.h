#pragma once
// Keys written as text for the window tests: "Shift+Ctrl+Up", "Pad5", "Esc", "5", "C", "Plus",
// "PadMinus", "[", and pressed on a widget one after another: "Shift+Right Ctrl+C 5".

#include <utility>

#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace test {

// "Shift+Ctrl+Up", "Pad5", "Space", "5", "C", ... as a Qt key and modifiers.
inline std::pair<Qt::Key, Qt::KeyboardModifiers> ParseKey(const QString& token) {
    QStringList parts = token.split('+');
    const QString name = parts.takeLast();
    Qt::KeyboardModifiers mods;
    for (const QString& m : parts) {
        if (m == "Shift") mods |= Qt::ShiftModifier;
        if (m == "Ctrl") mods |= Qt::ControlModifier;
        if (m == "Alt") mods |= Qt::AltModifier;
    }
    static const std::pair<const char*, Qt::Key> kNames[] = {
        {"Space", Qt::Key_Space},   {"Esc", Qt::Key_Escape},  {"PgUp", Qt::Key_PageUp},
        {"PgDn", Qt::Key_PageDown}, {"Left", Qt::Key_Left},   {"Up", Qt::Key_Up},
        {"Right", Qt::Key_Right},   {"Down", Qt::Key_Down},   {"F2", Qt::Key_F2},
        {"F3", Qt::Key_F3},         {"F4", Qt::Key_F4},       {"Enter", Qt::Key_Return},
        {"F1", Qt::Key_F1},         {"End", Qt::Key_End},     {"Plus", Qt::Key_Plus},
        {"Minus", Qt::Key_Minus},   {"Equal", Qt::Key_Equal},
    };
    if (name == "PadPlus") return {Qt::Key_Plus, mods | Qt::KeypadModifier};
    if (name == "PadMinus") return {Qt::Key_Minus, mods | Qt::KeypadModifier};
    for (const auto& [n, key] : kNames) {
        if (name == n) return {key, mods};
    }
    if (name.startsWith("Pad")) {
        return {static_cast<Qt::Key>(Qt::Key_0 + name.mid(3).toInt()), mods | Qt::KeypadModifier};
    }
    return {static_cast<Qt::Key>(name.at(0).toUpper().unicode()), mods};
}

// Presses the keys of a text of them, separated by blanks, on the widget.
inline void Press(QWidget& target, const QString& keys) {
    for (const QString& token : keys.split(' ', Qt::SkipEmptyParts)) {
        const auto [key, mods] = ParseKey(token);
        QTest::keyClick(&target, key, mods);
    }
}

}  // namespace test
