#pragma once
// The options of the Generate window, with their initial values.

#include "generator/output_text.h"

enum class OutputType { kSprite = 0, kChr = 1 };

inline constexpr int kAutoLayers = 0;

struct GeneratorOptions {
    OutputType outputType = OutputType::kSprite;
    // Sprite layers: 1 (one layer), 2 to 4 (OR-ed layers), or kAutoLayers, the fewest that show
    // every line of the document.
    int layers = 1;
    bool colorData = false;
    int comma = kCommaOn;
    // Sprite sets: every cel cut into hardware sprites of pieces x pieces pixels (16 or 8), with a
    // sprite table; 0 for the tables of a cel as one sprite.
    int pieces = 0;
};
