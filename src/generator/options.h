#pragma once
// The four options of the Generate window, with their initial values.

#include "generator/output_text.h"

enum class OutputType { kSprite = 0, kChr = 1 };

struct GeneratorOptions {
    OutputType outputType = OutputType::kSprite;
    bool twoLayers = false;
    bool colorData = false;
    int comma = kCommaOn;
};
