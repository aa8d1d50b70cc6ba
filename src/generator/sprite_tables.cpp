// Single-layer sprite tables: per cel a pattern line (left column rows, then right column rows)
// and, with colour data, a colour line holding each pixel line's first drawn colour.

#include <algorithm>
#include <vector>

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

void GenerateSprite(const CapturedDocument& doc, int width, int height, int comma, bool colorData,
                    OutputText& out) {
    out.Clear();
    const auto rows = static_cast<std::size_t>(std::max(height, 0));
    const std::size_t columns = width > 8 ? 2 : 1;
    out.Reserve(static_cast<std::size_t>(std::max(doc.celCount, 0)) * (rows * 12 + 6));

    std::vector<int> pattern(rows * columns);
    std::vector<int> colours(rows);
    const int leftCount = std::min(width, 8);
    for (int cel = 0; cel < doc.celCount; ++cel) {
        const std::uint8_t* pixels = CelPixels(doc, width, height, cel);
        for (std::size_t r = 0; r < rows; ++r) {
            const std::uint8_t* row = pixels + r * static_cast<std::size_t>(width);
            if (colorData) colours[r] = FirstDrawnColour(row, width);
            // A row narrower than 8 pixels has as many bits, aligned to the right of the byte.
            pattern[r] = PatternByte(NonZero(Load(row, leftCount))) >> (8 - leftCount);
            // Pixels 8 to 15 take bits 7 downwards; a row narrower than 16 leaves the low bits 0.
            if (columns == 2) pattern[rows + r] = PatternByte(NonZero(Load(row + 8, width - 8)));
        }
        out.AddTokens(comma, pattern);
        if (colorData) {
            out.AddText("\n");
            out.AddTokens(comma, colours);
        }
        if (cel + 1 < doc.celCount) out.AddText("\n");
    }
    out.AddCommas(comma);
}
