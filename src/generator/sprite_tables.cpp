// Single-layer sprite tables: per cel a pattern table (left column rows, then right column rows)
// and, with colour data, a colour table holding each pixel line's first drawn colour.

#include <algorithm>

#include "generator/generators.h"
#include "generator/pixel_words.h"

namespace {

using namespace pixel_words;

// The colour of the first pixel of the row that is not 0, or 0 for an empty row.
int FirstDrawnColour(const std::uint8_t* row, int width) {
    for (int x = 0; x < width; x += 8) {
        const std::uint64_t drawn = NonZero(Load(row + x, width - x));
        if (drawn != 0) return row[x + FirstFlagged(drawn)];
    }
    return 0;
}

}  // namespace

void GenerateSprite(const CapturedDocument& doc, int width, int height, bool colorData,
                    GeneratedTables& out) {
    const auto rows = static_cast<std::size_t>(std::max(height, 0));
    const std::size_t columns = width > 8 ? 2 : 1;
    if (colorData) {
        out.Reset(GeneratorKind::kSprite,
                  {{TableRole::kPattern, rows * columns}, {TableRole::kColour, rows}},
                  doc.celCount);
    } else {
        out.Reset(GeneratorKind::kSprite, {{TableRole::kPattern, rows * columns}}, doc.celCount);
    }
    const int leftCount = std::min(width, 8);
    for (int cel = 0; cel < out.celCount; ++cel) {
        const std::uint8_t* pixels = CelPixels(doc, width, height, cel);
        TableValue* pattern = out.Cel(cel).data();
        TableValue* colours = pattern + rows * columns;
        for (std::size_t r = 0; r < rows; ++r) {
            const std::uint8_t* row = pixels + r * static_cast<std::size_t>(width);
            if (colorData) colours[r] = static_cast<TableValue>(FirstDrawnColour(row, width));
            // A row narrower than 8 pixels has as many bits, aligned to the right of the byte.
            pattern[r] = static_cast<TableValue>(PatternByte(NonZero(Load(row, leftCount))) >>
                                                 (8 - leftCount));
            // Pixels 8 to 15 take bits 7 downwards; a row narrower than 16 leaves the low bits 0.
            if (columns == 2) {
                pattern[rows + r] =
                    static_cast<TableValue>(PatternByte(NonZero(Load(row + 8, width - 8))));
            }
        }
    }
}
