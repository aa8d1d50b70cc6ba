#pragma once
// The one place that chooses a generator for a set of options and runs it: the Generate window
// and spritehex-cli both come here.

#include <string>

#include "generator/captured_document.h"
#include "generator/options.h"
#include "generator/output_text.h"
#include "generator/result_codes.h"
#include "generator/tables.h"

// Character tables ignore TwoLayers and ColorData; single-layer sprite tables decide about colour
// bytes themselves.
GeneratorKind ChooseGenerator(const GeneratorOptions& options);

// Runs the generator the options choose on the captured document: every cel's tables and the
// result code, which starts at kNoError. Keeps the storage out held.
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
