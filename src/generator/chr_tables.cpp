// Character tables: every 8-pixel row segment gives a pattern byte, 1 where a pixel differs from
// the segment's first pixel, and a colour byte, foreground × 16 + background. One line per cel:
// the pattern tokens, ",", the colour tokens, and a line break after every cel.

#include <algorithm>
#include <vector>

#include "generator/generators.h"
#include "generator/pixel_words.h"

namespace {

using namespace pixel_words;

// One row segment of count pixels (1 to 8). Positions past the row's end count as the background.
void Segment(const std::uint8_t* segment, int count, int& pattern, int& colour) {
    const std::uint8_t background = segment[0];
    const std::uint64_t differs =
        NonZero(Load(segment, count) ^ (kOnes * background)) & FirstPixels(count);
    const int foreground = differs != 0 ? segment[FirstFlagged(differs)] : background;
    pattern = PatternByte(differs);
    colour = foreground * 16 + background;
}

}  // namespace

void GenerateChr(const CapturedDocument& doc, int width, int height, int comma, OutputText& out) {
    out.Clear();
    const auto rows = static_cast<std::size_t>(std::max(height, 0));
    const std::size_t columns = width > 8 ? 2 : 1;
    out.Reserve(static_cast<std::size_t>(std::max(doc.celCount, 0)) * (rows * columns * 8 + 4));

    // Token k of the colour line belongs to token k of the pattern line: the left column's rows,
    // then the right column's rows.
    std::vector<int> pattern(rows * columns);
    std::vector<int> colours(rows * columns);
    for (int cel = 0; cel < doc.celCount; ++cel) {
        const std::uint8_t* pixels = CelPixels(doc, width, height, cel);
        for (std::size_t r = 0; r < rows; ++r) {
            const std::uint8_t* row = pixels + r * static_cast<std::size_t>(width);
            Segment(row, std::min(width, 8), pattern[r], colours[r]);
            if (columns == 2) {
                Segment(row + 8, std::min(width - 8, 8), pattern[rows + r], colours[rows + r]);
            }
        }
        out.AddTokens(comma, pattern);
        out.AddText(",");
        out.AddTokens(comma, colours);
        out.AddText("\n");
    }
    out.AddCommas(comma);
}
