#include "generator/regenerate.h"

#include "generator/generators.h"
#include "generator/writers.h"

GeneratorKind ChooseGenerator(const GeneratorOptions& options) {
    if (options.outputType == OutputType::kChr) return GeneratorKind::kChr;
    if (!options.twoLayers) return GeneratorKind::kSprite;
    return options.colorData ? GeneratorKind::kSprite2Layers : GeneratorKind::kSprite2LayersNoColor;
}

void GenerateTables(const CapturedDocument& doc, const GeneratorOptions& options,
                    GeneratedTables& out) {
    const int w = doc.width;
    const int h = doc.height;
    switch (ChooseGenerator(options)) {
        case GeneratorKind::kSprite:
            GenerateSprite(doc, w, h, options.colorData, out);
            break;
        case GeneratorKind::kSprite2Layers:
            GenerateSprite2Layers(doc, w, h, out);
            break;
        case GeneratorKind::kSprite2LayersNoColor:
            GenerateSprite2LayersNoColor(doc, w, h, out);
            break;
        case GeneratorKind::kChr:
            GenerateChr(doc, w, h, out);
            break;
    }
}

GeneratedTables GenerateTables(const CapturedDocument& doc, const GeneratorOptions& options) {
    GeneratedTables tables;
    GenerateTables(doc, options, tables);
    return tables;
}

GenerationResult Regenerate(const CapturedDocument& doc, const GeneratorOptions& options) {
    const GeneratedTables tables = GenerateTables(doc, options);
    OutputText out;
    WriteHex(tables, options.comma, out);
    return {out.Take(), tables.resultCode};
}
