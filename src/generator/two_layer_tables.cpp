// Two-layer sprite tables. With colour data every pixel line is split into two layers by its own
// colours (the third colour sets both layers and must be the OR of the other two); without colour
// data every cel is split by its first two colours. Pattern tables hold the left column's rows,
// then the right column's rows.

#include <algorithm>
#include <vector>

#include "generator/generators.h"
#include "generator/pixel_words.h"
#include "generator/row_split.h"
#include "generator/two_layer_colours.h"

namespace {

using namespace pixel_words;

// Writes the pattern bytes of both layers for row r: at r in the left column and, when the cel is
// wider than 8 pixels, at rows + r in the right column. Layer 1 holds slots 0 and 2, layer 2
// slots 1 and 2. Only pixels 0 to 15 reach a pattern, and positions past the row's end (lanes
// loaded as 0) are 0 in both layers.
void SetLayerBits(TableValue* layer1, TableValue* layer2, std::size_t rows, std::size_t r,
                  const std::uint8_t* row, int width, const LayerColours& colours) {
    const Lanes lanes = LoadLanes(row, width);
    const auto drawn = lanes != 0;
    const auto both = lanes == static_cast<std::uint8_t>(colours.slots[2]);
    const auto bits1 = drawn & ((lanes == static_cast<std::uint8_t>(colours.slots[0])) | both);
    const auto bits2 = drawn & ((lanes == static_cast<std::uint8_t>(colours.slots[1])) | both);
    layer1[r] = static_cast<TableValue>(PatternByte(HalfFlags(bits1, 0)));
    layer2[r] = static_cast<TableValue>(PatternByte(HalfFlags(bits2, 0)));
    if (width > 8) {
        layer1[rows + r] = static_cast<TableValue>(PatternByte(HalfFlags(bits1, 1)));
        layer2[rows + r] = static_cast<TableValue>(PatternByte(HalfFlags(bits2, 1)));
    }
}

}  // namespace

void GenerateSprite2Layers(const CapturedDocument& doc, int width, int height,
                           GeneratedTables& out) {
    const auto rows = static_cast<std::size_t>(std::max(height, 0));
    const std::size_t patterns = rows * (width > 8 ? 2 : 1);
    out.Reset(GeneratorKind::kSpriteLayers,
              {{TableRole::kPattern1, patterns},
               {TableRole::kPattern2, patterns},
               {TableRole::kColour1, rows},
               {TableRole::kColour2, rows}},
              doc.celCount);
    out.layers = 2;

    for (int cel = 0; cel < out.celCount; ++cel) {
        TableValue* layer1 = out.Cel(cel).data();
        TableValue* layer2 = layer1 + patterns;
        TableValue* colours1 = layer2 + patterns;
        const LayerRows tables = {layer1, layer2, colours1, colours1 + rows};
        const RowBreaches breaches =
            SplitRows(CelPixels(doc, width, height, cel), width, width, height, tables);
        if (breaches.lastCode != kNoError) out.resultCode = breaches.lastCode;
        // The right column's pass finds a row's fourth colour again, after every row of the left
        // column's pass, and checks nothing else.
        if (width > 8 && breaches.dropped) out.resultCode = kTooManyColours;
    }
}

void GenerateSprite2LayersNoColor(const CapturedDocument& doc, int width, int height,
                                  GeneratedTables& out) {
    const auto rows = static_cast<std::size_t>(std::max(height, 0));
    const std::size_t patterns = rows * (width > 8 ? 2 : 1);
    out.Reset(GeneratorKind::kSpriteLayersNoColor,
              {{TableRole::kPattern1, patterns}, {TableRole::kPattern2, patterns}}, doc.celCount);
    out.layers = 2;
    out.layerColours.assign(static_cast<std::size_t>(out.celCount) * 2, 0);

    for (int cel = 0; cel < out.celCount; ++cel) {
        const std::uint8_t* pixels = CelPixels(doc, width, height, cel);
        TableValue* layer1 = out.Cel(cel).data();
        TableValue* layer2 = layer1 + patterns;
        // The cel's rows lie back to back, so its colours are collected in one run.
        const LayerColours colours = CollectColours(pixels, width * height, 2);
        if (colours.dropped) out.resultCode = kTooManyColours;
        out.layerColours[2 * static_cast<std::size_t>(cel)] =
            static_cast<TableValue>(colours.slots[0]);
        out.layerColours[2 * static_cast<std::size_t>(cel) + 1] =
            static_cast<TableValue>(colours.slots[1]);
        for (std::size_t r = 0; r < rows; ++r) {
            SetLayerBits(layer1, layer2, rows, r, pixels + r * static_cast<std::size_t>(width),
                         width, colours);
        }
    }
}
