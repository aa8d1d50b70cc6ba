#pragma once
// The one place that chooses a generator for a set of options and runs it: the Generate window
// and spritehex-cli both come here.

#include <string>

#include "generator/captured_document.h"
#include "generator/options.h"
#include "generator/output_text.h"
#include "generator/result_codes.h"

// Character tables ignore TwoLayers and ColorData; single-layer sprite tables decide about colour
// bytes themselves.
enum class GeneratorKind { kSprite, kSprite2Layers, kSprite2LayersNoColor, kChr };
GeneratorKind ChooseGenerator(const GeneratorOptions& options);

// Runs the generator the options choose on the captured document into out; rule breaches go to
// resultCode, which the caller resets first.
void RunGenerator(const CapturedDocument& doc, const GeneratorOptions& options, OutputText& out,
                  int& resultCode);

struct GenerationResult {
    std::string text;
    int resultCode = kNoError;
};

// One generation: resets the result code and runs the generator the options choose.
GenerationResult Regenerate(const CapturedDocument& doc, const GeneratorOptions& options);
