#include "generator/regenerate.h"

#include "generator/generators.h"

GeneratorKind ChooseGenerator(const GeneratorOptions& options) {
    if (options.outputType == OutputType::kChr) return GeneratorKind::kChr;
    if (!options.twoLayers) return GeneratorKind::kSprite;
    return options.colorData ? GeneratorKind::kSprite2Layers : GeneratorKind::kSprite2LayersNoColor;
}

void RunGenerator(const CapturedDocument& doc, const GeneratorOptions& options, OutputText& out,
                  int& resultCode) {
    const int w = doc.width;
    const int h = doc.height;
    switch (ChooseGenerator(options)) {
        case GeneratorKind::kSprite:
            GenerateSprite(doc, w, h, options.comma, options.colorData, out);
            break;
        case GeneratorKind::kSprite2Layers:
            GenerateSprite2Layers(doc, w, h, options.comma, out, resultCode);
            break;
        case GeneratorKind::kSprite2LayersNoColor:
            GenerateSprite2LayersNoColor(doc, w, h, options.comma, out, resultCode);
            break;
        case GeneratorKind::kChr:
            GenerateChr(doc, w, h, options.comma, out);
            break;
    }
}

GenerationResult Regenerate(const CapturedDocument& doc, const GeneratorOptions& options) {
    OutputText out;
    int resultCode = kNoError;
    RunGenerator(doc, options, out, resultCode);
    return {out.Take(), resultCode};
}
