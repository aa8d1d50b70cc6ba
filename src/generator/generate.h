#pragma once
// The table generators and the choice between them. They read a captured document (a reference
// to the live document buffer and the size read from its header) and write the output text; the
// two-layer generators also report rule breaches through a result code.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/sprite_document.h"
#include "generator/byte_text.h"

enum class OutputType { kSprite = 0, kChr = 1 };

// The four options of the Generate window, with its initial values.
struct GeneratorOptions {
    OutputType outputType = OutputType::kSprite;
    bool twoLayers = false;
    bool colorData = false;
    int comma = kCommaOn;
};

// Result codes: every generation starts at kNoError; a later breach overwrites an earlier one.
inline constexpr int kNoError = 0;
inline constexpr int kColorCodeNotFound = 1;  // no generator sets it
inline constexpr int kNotOrColor = 2;
inline constexpr int kTooManyColors = 3;

// "no error", "color code not found", "3rd color is not or'ing color", "too many colors".
std::string_view ResultMessage(int code);

// The document buffer as the generators see it: a reference, never a copy, and the size captured
// from its header. The generators read pixels from the buffer when they run.
struct CapturedDocument {
    const std::uint8_t* buffer = nullptr;
    int width = 0;
    int height = 0;
    int celCount = 0;
};

// Reads width, height and cel count from the three header bytes, each as a signed 8-bit number.
// The generators rely on them being a valid document's (1 to 64, 1 to 64, 1 to 100).
CapturedDocument CaptureDocument(const std::uint8_t* buffer);

// The first pixel of a cel: cels follow the header back to back.
inline const std::uint8_t* CelPixels(const CapturedDocument& doc, int width, int height, int cel) {
    return doc.buffer + kHeaderSize + static_cast<std::ptrdiff_t>(cel) * width * height;
}

// Each generator empties the output text, appends every cel's lines and ends with AddCommas.
// Pixels past a row's last pixel are never read: an 8-pixel column that reaches past the row sees
// only the row's own pixels.

// Pattern bytes (a bit per drawn pixel) and, with colorData, one colour byte per pixel line.
void GenerateSprite(const CapturedDocument& doc, int width, int height, int comma, bool colorData,
                    OutputText& out);
// Per 8-pixel row segment a pattern byte against the segment's first pixel and a colour byte.
void GenerateChr(const CapturedDocument& doc, int width, int height, int comma, OutputText& out);
// Two layers per pixel line, up to three colours where the third is the OR of the other two;
// sets kTooManyColors and kNotOrColor.
void GenerateSprite2Layers(const CapturedDocument& doc, int width, int height, int comma,
                           OutputText& out, int& resultCode);
// Two layers per cel, split by the cel's first two colours; sets kTooManyColors.
void GenerateSprite2LayersNoColor(const CapturedDocument& doc, int width, int height, int comma,
                                  OutputText& out, int& resultCode);

// The generator a set of options chooses. Character tables ignore TwoLayers and ColorData; single-
// layer sprite tables decide about colour bytes themselves.
enum class GeneratorKind { kSprite, kSprite2Layers, kSprite2LayersNoColor, kChr };
GeneratorKind ChooseGenerator(const GeneratorOptions& options);

struct GenerationResult {
    std::string text;
    int resultCode = kNoError;
};

// One generation: resets the result code and runs the generator the options choose.
GenerationResult Regenerate(const CapturedDocument& doc, const GeneratorOptions& options);
