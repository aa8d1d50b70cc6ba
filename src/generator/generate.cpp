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

GenerationResult Regenerate(const CapturedDocument& doc, const GeneratorOptions& options) {
    OutputText out;
    int resultCode = kNoError;
    if (options.outputType == OutputType::kChr) {
        GenerateChr(doc, doc.width, doc.height, options.comma, out);
    } else if (!options.twoLayers) {
        GenerateSprite(doc, doc.width, doc.height, options.comma, options.colorData, out);
    } else if (options.colorData) {
        GenerateSprite2Layers(doc, doc.width, doc.height, options.comma, out, resultCode);
    } else {
        GenerateSprite2LayersNoColor(doc, doc.width, doc.height, options.comma, out, resultCode);
    }
    return {out.Take(), resultCode};
}
