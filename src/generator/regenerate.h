#pragma once
// The one place that chooses a generator for a set of options and runs it: the Generate window
// and spritehex-cli both come here.

#include <string>

#include "generator/captured_document.h"
#include "generator/options.h"
#include "generator/output_text.h"
#include "generator/result_codes.h"
#include "generator/tables.h"

// Character tables ignore the layers and ColorData; single-layer sprite tables decide about colour
// bytes themselves. The layers must be chosen (not kAutoLayers).
GeneratorKind ChooseGenerator(const GeneratorOptions& options);

// The fewest layers (1 to 4) that show every line of every cel under the other options: with
// colour data, the most any line (of any piece, with sprite sets) needs; without, the most
// colours of a cel (of a piece). 4 when even four do not.
int FewestLayers(const CapturedDocument& doc, const GeneratorOptions& options);
// The options with kAutoLayers replaced by FewestLayers; others as they are.
GeneratorOptions WithLayersChosen(const CapturedDocument& doc, GeneratorOptions options);

// Runs the generator the options choose on the captured document (kAutoLayers chosen first):
// every cel's tables and the result code, which starts at kNoError. Keeps the storage out held.
void GenerateTables(const CapturedDocument& doc, const GeneratorOptions& options,
                    GeneratedTables& out);
GeneratedTables GenerateTables(const CapturedDocument& doc, const GeneratorOptions& options);

struct GenerationResult {
    std::string text;
    int resultCode = kNoError;
};

// One generation as the Generate window shows it by default: the tables the options choose, as
// hexadecimal text in the options' comma mode, and the result code.
GenerationResult Regenerate(const CapturedDocument& doc, const GeneratorOptions& options);
