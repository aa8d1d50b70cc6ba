#pragma once
// The keys of the "Generate" window as data: which key toggles which option. With Ctrl held no
// key acts (the text box keeps Ctrl+C and the like); Shift and Alt play no part. The digit 2 is
// the one of the main keyboard row; the keypad's 2 toggles nothing.

#include <array>
#include <span>

#include "editor/key_codes.h"

enum class GenerateCommand {
    kNothing,
    kClose,            // hides the window; options, text and captured document stay
    kToggleTwoLayers,  // sprite tables in two layers
    kToggleColorData,  // colour bytes besides the pattern bytes
    kToggleComma,      // "#" tokens and "," or bare digits
    kToggleType,       // sprite tables or character tables
};

struct GenerateKey {
    int key;  // virtual key code
    GenerateCommand command;
    const char* keys;  // for a help listing
    const char* what;
};

inline constexpr std::array kGenerateKeys = std::to_array<GenerateKey>({
    {'2', GenerateCommand::kToggleTwoLayers, "2", "two layers on or off (sprite tables)"},
    {'C', GenerateCommand::kToggleColorData, "C", "colour data on or off (sprite tables)"},
    {'O', GenerateCommand::kToggleComma, "O", "comma format on or off: #30,#05 or 3005"},
    {'T', GenerateCommand::kToggleType, "T", "table type: Sprite or Chr"},
    {vk::kEscape, GenerateCommand::kClose, "Esc", "close the Generate window"},
});

inline std::span<const GenerateKey> GenerateKeyTable() {
    return kGenerateKeys;
}

// The command of a key pressed in the Generate window.
inline GenerateCommand FindGenerateCommand(int code, bool ctrl) {
    if (ctrl) return GenerateCommand::kNothing;
    for (const GenerateKey& row : kGenerateKeys) {
        if (row.key == code) return row.command;
    }
    return GenerateCommand::kNothing;
}
