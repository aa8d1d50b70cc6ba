#pragma once
// The keys of the "Generate" window: which key toggles which option, and which one shows the
// next output format. With Ctrl held no key acts
// (the text box keeps Ctrl+C and the like); Shift and Alt play no part. The digit 2 is the one of
// the main keyboard row; the keypad's 2 toggles nothing.

#include <span>

#include "keys/key_row.h"

enum class GenerateCommand {
    kNothing,
    kClose,             // hides the window; options, text and captured document stay
    kToggleTwoLayers,   // sprite tables in two layers or one (from 3, 4 or auto: one)
    kToggleColourData,  // colour bytes besides the pattern bytes
    kToggleComma,       // "#" tokens and "," or bare digits
    kToggleType,        // sprite tables or character tables
    kNextFormat,        // Hex, Assembler, C, BASIC, then Hex again
    kNextPieces,        // sprite sets of pieces off, 16 x 16, 8 x 8, then off again
    kNextLayers,        // sprite layers 1, 2, 3, 4, auto, then 1 again
};

using GenerateKey = KeyRow<GenerateCommand>;

std::span<const GenerateKey> GenerateKeyTable();

// The command of a key pressed in the Generate window.
GenerateCommand FindGenerateCommand(int code, bool ctrl);
