// Character tables: every 8-pixel row segment gives a pattern byte, 1 where a pixel differs from
// the segment's first pixel, and a colour byte, foreground × 16 + background.

#include <algorithm>

#include "generator/generators.h"
#include "generator/pixel_words.h"

namespace {

using namespace pixel_words;

// One row segment of count pixels (1 to 8). Positions past the row's end count as the background.
void Segment(const std::uint8_t* segment, int count, TableValue& pattern, TableValue& colour) {
    const std::uint8_t background = segment[0];
    const std::uint64_t differs =
        NonZero(Load(segment, count) ^ (kOnes * background)) & FirstPixels(count);
    const int foreground = differs != 0 ? segment[FirstFlagged(differs)] : background;
    pattern = static_cast<TableValue>(PatternByte(differs));
    colour = static_cast<TableValue>(foreground * 16 + background);
}

}  // namespace

void GenerateChr(const CapturedDocument& doc, int width, int height, GeneratedTables& out) {
    const auto rows = static_cast<std::size_t>(std::max(height, 0));
    const std::size_t columns = width > 8 ? 2 : 1;
    // Value k of the colour table belongs to value k of the pattern table: the left column's
    // rows, then the right column's rows.
    out.Reset(GeneratorKind::kChr,
              {{TableRole::kPattern, rows * columns}, {TableRole::kColour, rows * columns}},
              doc.celCount);
    for (int cel = 0; cel < out.celCount; ++cel) {
        const std::uint8_t* pixels = CelPixels(doc, width, height, cel);
        TableValue* pattern = out.Cel(cel).data();
        TableValue* colours = pattern + rows * columns;
        for (std::size_t r = 0; r < rows; ++r) {
            const std::uint8_t* row = pixels + r * static_cast<std::size_t>(width);
            Segment(row, std::min(width, 8), pattern[r], colours[r]);
            if (columns == 2) {
                Segment(row + 8, std::min(width - 8, 8), pattern[rows + r], colours[rows + r]);
            }
        }
    }
}
