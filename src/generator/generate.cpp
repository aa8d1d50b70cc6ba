#include "generator/generate.h"

std::string_view ResultMessage(int code) {
    switch (code) {
        case kNoError:
            return "no error";
        case kColorCodeNotFound:
            return "color code not found";
        case kNotOrColor:
            return "3rd color is not or'ing color";
        case kTooManyColors:
            return "too many colors";
        default:
            return "unknown result code";
    }
}

CapturedDocument CaptureDocument(const std::uint8_t* buffer) {
    const auto signedByte = [buffer](int i) {
        return static_cast<int>(static_cast<std::int8_t>(buffer[i]));
    };
    return {buffer, signedByte(0), signedByte(1), signedByte(2)};
}

GeneratorKind ChooseGenerator(const GeneratorOptions& options) {
    if (options.outputType == OutputType::kChr) return GeneratorKind::kChr;
    if (!options.twoLayers) return GeneratorKind::kSprite;
    return options.colorData ? GeneratorKind::kSprite2Layers : GeneratorKind::kSprite2LayersNoColor;
}

GenerationResult Regenerate(const CapturedDocument& doc, const GeneratorOptions& options) {
    OutputText out;
    int resultCode = kNoError;
    switch (ChooseGenerator(options)) {
        case GeneratorKind::kSprite:
            GenerateSprite(doc, doc.width, doc.height, options.comma, options.colorData, out);
            break;
        case GeneratorKind::kSprite2Layers:
            GenerateSprite2Layers(doc, doc.width, doc.height, options.comma, out, resultCode);
            break;
        case GeneratorKind::kSprite2LayersNoColor:
            GenerateSprite2LayersNoColor(doc, doc.width, doc.height, options.comma, out,
                                         resultCode);
            break;
        case GeneratorKind::kChr:
            GenerateChr(doc, doc.width, doc.height, options.comma, out);
            break;
    }
    return {out.Take(), resultCode};
}
