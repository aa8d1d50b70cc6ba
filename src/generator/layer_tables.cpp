// Sprite tables of three or four OR-ed layers. With colour data every pixel line is split by its
// own colours: as the two-layer tables split it when two layers show it, else by the smallest
// basis of layer colours whose ORs make every colour of the line. Without colour data each layer
// draws one of the cel's first colours. Pattern tables hold the left column's rows, then the
// right column's rows.

#include <algorithm>
#include <vector>

#include "generator/generators.h"
#include "generator/pixel_words.h"
#include "generator/row_split.h"
#include "generator/two_layer_colours.h"

namespace {

using namespace pixel_words;

// The sizes of a layer's tables in a cel: its pattern bytes and its colour bytes.
struct LayerSizes {
    std::size_t patterns;
    std::size_t rows;
};

// Lays out every cel's tables: every layer's pattern, then (with colour data) every layer's
// colours.
LayerSizes LayOut(const CapturedDocument& doc, int width, int height, int layers, bool colorData,
                  GeneratedTables& out) {
    const auto rows = static_cast<std::size_t>(std::max(height, 0));
    const std::size_t patterns = rows * (width > 8 ? 2 : 1);
    std::vector<TableShape> shapes;
    for (int j = 0; j < layers; ++j) shapes.push_back({LayerPatternRole(j), patterns});
    for (int j = 0; colorData && j < layers; ++j) shapes.push_back({LayerColourRole(j), rows});
    out.Reset(colorData ? GeneratorKind::kSpriteLayers : GeneratorKind::kSpriteLayersNoColor,
              shapes, doc.celCount);
    out.layers = layers;
    return {patterns, rows};
}

}  // namespace

void GenerateSpriteLayers(const CapturedDocument& doc, int width, int height, int layers,
                          GeneratedTables& out) {
    const auto [patterns, rows] = LayOut(doc, width, height, layers, true, out);
    for (int cel = 0; cel < out.celCount; ++cel) {
        TableValue* first = out.Cel(cel).data();
        ManyLayerRows tables{};
        for (std::size_t j = 0; j < static_cast<std::size_t>(layers); ++j) {
            tables.patterns[j] = first + j * patterns;
            tables.colours[j] = first + static_cast<std::size_t>(layers) * patterns + j * rows;
        }
        if (!SplitRowsInLayers(CelPixels(doc, width, height, cel), width, width, height, layers,
                               tables)) {
            out.resultCode = kTooManyColours;
        }
    }
}

void GenerateSpriteLayersNoColor(const CapturedDocument& doc, int width, int height, int layers,
                                 GeneratedTables& out) {
    const auto [patterns, rows] = LayOut(doc, width, height, layers, false, out);
    const auto count = static_cast<std::size_t>(layers);
    out.layerColours.assign(static_cast<std::size_t>(out.celCount) * count, 0);
    for (int cel = 0; cel < out.celCount; ++cel) {
        const std::uint8_t* pixels = CelPixels(doc, width, height, cel);
        TableValue* first = out.Cel(cel).data();
        // The cel's rows lie back to back, so its colours are collected in one run.
        const LayerColours colours = CollectColours(pixels, width * height, layers);
        if (colours.dropped) out.resultCode = kTooManyColours;
        for (std::size_t j = 0; j < count; ++j) {
            out.layerColours[static_cast<std::size_t>(cel) * count + j] =
                static_cast<TableValue>(colours.slots[j]);
        }
        for (std::size_t r = 0; r < rows; ++r) {
            const Lanes lanes = LoadLanes(pixels + r * static_cast<std::size_t>(width), width);
            const auto drawn = lanes != 0;
            for (std::size_t j = 0; j < count; ++j) {
                const auto bits = drawn & (lanes == static_cast<std::uint8_t>(colours.slots[j]));
                TableValue* pattern = first + j * patterns;
                pattern[r] = static_cast<TableValue>(PatternByte(HalfFlags(bits, 0)));
                if (width > 8) {
                    pattern[rows + r] = static_cast<TableValue>(PatternByte(HalfFlags(bits, 1)));
                }
            }
        }
    }
}
