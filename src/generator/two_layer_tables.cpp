// Two-layer sprite tables. With colour data every pixel line is split into two layers by its own
// colours (the third colour sets both layers and must be the OR of the other two); without colour
// data every cel is split by its first two colours. Pattern lines hold the left column's rows,
// then the right column's rows.

#include <algorithm>
#include <vector>

#include "generator/generate.h"
#include "generator/pixel_words.h"
#include "generator/two_layer_colours.h"

namespace {

using namespace pixel_words;

// The two pattern bytes of one 8-pixel column of count pixels (1 to 8): layer 1 holds slots 0 and
// 2, layer 2 slots 1 and 2. Positions past the row's end are 0 in both layers.
void AppendLayerBytes(const std::uint8_t* column, int count, const LayerColours& colours,
                      int comma, std::string& layer1, std::string& layer2) {
    const std::uint64_t word = Load(column, count);
    const std::uint64_t drawn = NonZero(word);
    const auto slot = [&](int s) { return Equal(word, static_cast<std::uint8_t>(colours.slots[s])); };
    const std::uint64_t both = slot(2);
    AppendHexByte(layer1, comma, PatternByte(drawn & (slot(0) | both)));
    AppendHexByte(layer2, comma, PatternByte(drawn & (slot(1) | both)));
}

std::size_t TextSize(int celCount, std::size_t tokensPerCel, std::size_t linesPerCel) {
    return static_cast<std::size_t>(std::max(celCount, 0)) * (tokensPerCel * 4 + linesPerCel * 3);
}

}  // namespace

void GenerateSprite2Layers(const CapturedDocument& doc, int width, int height, int comma,
                           OutputText& out, int& resultCode) {
    out.Clear();
    const int columns = width > 8 ? 2 : 1;
    const auto patternTokens = static_cast<std::size_t>(height * columns);
    out.Reserve(TextSize(doc.celCount, 2 * patternTokens + 2 * static_cast<std::size_t>(height), 4));

    std::string layer1;
    std::string layer2;
    std::string colours1;
    std::string colours2;
    layer1.reserve(patternTokens * 4);
    layer2.reserve(patternTokens * 4);
    colours1.reserve(static_cast<std::size_t>(height) * 4);
    colours2.reserve(static_cast<std::size_t>(height) * 4);
    // The right column uses the same colours as the left, so each row is collected once.
    std::vector<LayerColours> rowColours(static_cast<std::size_t>(std::max(height, 0)));
    for (int cel = 0; cel < doc.celCount; ++cel) {
        const std::uint8_t* pixels = CelPixels(doc, width, height, cel);
        layer1.clear();
        layer2.clear();
        colours1.clear();
        colours2.clear();
        for (int r = 0; r < height; ++r) {
            const std::uint8_t* row = pixels + r * width;
            LayerColours& colours = rowColours[static_cast<std::size_t>(r)];
            colours = CollectColours(row, width, 3);
            SortColors(colours.slots, colours.count);
            const auto [c0, c1, c2] = colours.slots;
            if (colours.dropped) resultCode = kTooManyColors;
            AppendHexByte(colours1, comma, c0);
            AppendHexByte(colours2, comma, c1 | 0x40);
            if (c2 != 0 && c2 != (c0 | c1)) resultCode = kNotOrColor;
            AppendLayerBytes(row, std::min(width, 8), colours, comma, layer1, layer2);
        }
        if (width > 8) {
            // This pass finds a fourth colour again, so it has the last word on such rows.
            for (int r = 0; r < height; ++r) {
                const LayerColours& colours = rowColours[static_cast<std::size_t>(r)];
                if (colours.dropped) resultCode = kTooManyColors;
                AppendLayerBytes(pixels + r * width + 8, std::min(width - 8, 8), colours, comma,
                                 layer1, layer2);
            }
        }
        out.AddText(layer1);
        out.AddText("\n");
        out.AddText(layer2);
        out.AddText("\n");
        out.AddText(colours1);
        out.AddText("\n");
        out.AddText(colours2);
        if (cel + 1 < doc.celCount) out.AddText("\n");
    }
    out.AddCommas(comma);
}

void GenerateSprite2LayersNoColor(const CapturedDocument& doc, int width, int height, int comma,
                                  OutputText& out, int& resultCode) {
    out.Clear();
    const int columns = width > 8 ? 2 : 1;
    const auto patternTokens = static_cast<std::size_t>(height * columns);
    out.Reserve(TextSize(doc.celCount, 2 * patternTokens, 2));

    std::string layer1;
    std::string layer2;
    layer1.reserve(patternTokens * 4);
    layer2.reserve(patternTokens * 4);
    for (int cel = 0; cel < doc.celCount; ++cel) {
        const std::uint8_t* pixels = CelPixels(doc, width, height, cel);
        layer1.clear();
        layer2.clear();
        // The cel's rows lie back to back, so its colours are collected in one run.
        const LayerColours colours = CollectColours(pixels, width * height, 2);
        if (colours.dropped) resultCode = kTooManyColors;
        for (int r = 0; r < height; ++r) {
            AppendLayerBytes(pixels + r * width, std::min(width, 8), colours, comma, layer1,
                             layer2);
        }
        if (width > 8) {
            for (int r = 0; r < height; ++r) {
                AppendLayerBytes(pixels + r * width + 8, std::min(width - 8, 8), colours, comma,
                                 layer1, layer2);
            }
        }
        out.AddText(layer1);
        out.AddText("\n");
        out.AddText(layer2);
        if (cel + 1 < doc.celCount) out.AddText("\n");
    }
    out.AddCommas(comma);
}
