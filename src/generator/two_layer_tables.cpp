// Two-layer sprite tables. With colour data every pixel line is split into two layers by its own
// colours (the third colour sets both layers and must be the OR of the other two); without colour
// data every cel is split by its first two colours. Pattern lines hold the left column's rows,
// then the right column's rows.

#include <algorithm>
#include <vector>

#include "generator/generators.h"
#include "generator/pixel_words.h"
#include "generator/two_layer_colours.h"

namespace {

using namespace pixel_words;

// The pattern lines of both layers for one cel, row r of the left column at r and, when the cel
// is wider than 8 pixels, row r of the right column at rows + r.
struct LayerLines {
    LayerLines(std::size_t rowCount, bool wide)
        : rows(rowCount),
          twoColumns(wide),
          layer1(rows * (twoColumns ? 2 : 1)),
          layer2(layer1.size()) {}

    // Layer 1 holds slots 0 and 2, layer 2 slots 1 and 2. Only pixels 0 to 15 reach a pattern,
    // and positions past the row's end (lanes loaded as 0) are 0 in both layers.
    void SetRow(std::size_t r, const std::uint8_t* row, int width, const LayerColours& colours) {
        const Lanes lanes = LoadLanes(row, width);
        const auto drawn = lanes != 0;
        const auto both = lanes == static_cast<std::uint8_t>(colours.slots[2]);
        const auto bits1 = drawn & ((lanes == static_cast<std::uint8_t>(colours.slots[0])) | both);
        const auto bits2 = drawn & ((lanes == static_cast<std::uint8_t>(colours.slots[1])) | both);
        layer1[r] = PatternByte(HalfFlags(bits1, 0));
        layer2[r] = PatternByte(HalfFlags(bits2, 0));
        if (twoColumns) {
            layer1[rows + r] = PatternByte(HalfFlags(bits1, 1));
            layer2[rows + r] = PatternByte(HalfFlags(bits2, 1));
        }
    }

    std::size_t rows;
    bool twoColumns;
    std::vector<int> layer1;
    std::vector<int> layer2;
};

std::size_t TextSize(int celCount, std::size_t tokensPerCel, std::size_t linesPerCel) {
    return static_cast<std::size_t>(std::max(celCount, 0)) * (tokensPerCel * 4 + linesPerCel * 3);
}

}  // namespace

void GenerateSprite2Layers(const CapturedDocument& doc, int width, int height, int comma,
                           OutputText& out, int& resultCode) {
    out.Clear();
    const auto rows = static_cast<std::size_t>(std::max(height, 0));
    out.Reserve(TextSize(doc.celCount, rows * (width > 8 ? 6 : 4), 4));

    LayerLines lines(rows, width > 8);
    std::vector<int> colours1(rows);
    std::vector<int> colours2(rows);
    for (int cel = 0; cel < doc.celCount; ++cel) {
        const std::uint8_t* pixels = CelPixels(doc, width, height, cel);
        bool tooMany = false;
        for (std::size_t r = 0; r < rows; ++r) {
            const std::uint8_t* row = pixels + r * static_cast<std::size_t>(width);
            LayerColours colours = CollectColours(row, width, 3);
            SortColors(colours.slots, colours.count);
            const auto [c0, c1, c2] = colours.slots;
            if (colours.dropped) resultCode = kTooManyColors;
            tooMany = tooMany || colours.dropped;
            colours1[r] = c0;
            colours2[r] = c1 | 0x40;
            if (c2 != 0 && c2 != (c0 | c1)) resultCode = kNotOrColor;
            lines.SetRow(r, row, width, colours);
        }
        // The right column's pass finds a row's fourth colour again, after every row of the left
        // column's pass, and checks nothing else.
        if (width > 8 && tooMany) resultCode = kTooManyColors;
        out.AddTokens(comma, lines.layer1);
        out.AddText("\n");
        out.AddTokens(comma, lines.layer2);
        out.AddText("\n");
        out.AddTokens(comma, colours1);
        out.AddText("\n");
        out.AddTokens(comma, colours2);
        if (cel + 1 < doc.celCount) out.AddText("\n");
    }
    out.AddCommas(comma);
}

void GenerateSprite2LayersNoColor(const CapturedDocument& doc, int width, int height, int comma,
                                  OutputText& out, int& resultCode) {
    out.Clear();
    const auto rows = static_cast<std::size_t>(std::max(height, 0));
    out.Reserve(TextSize(doc.celCount, rows * (width > 8 ? 4 : 2), 2));

    LayerLines lines(rows, width > 8);
    for (int cel = 0; cel < doc.celCount; ++cel) {
        const std::uint8_t* pixels = CelPixels(doc, width, height, cel);
        // The cel's rows lie back to back, so its colours are collected in one run.
        const LayerColours colours = CollectColours(pixels, width * height, 2);
        if (colours.dropped) resultCode = kTooManyColors;
        for (std::size_t r = 0; r < rows; ++r) {
            lines.SetRow(r, pixels + r * static_cast<std::size_t>(width), width, colours);
        }
        out.AddTokens(comma, lines.layer1);
        out.AddText("\n");
        out.AddTokens(comma, lines.layer2);
        if (cel + 1 < doc.celCount) out.AddText("\n");
    }
    out.AddCommas(comma);
}
