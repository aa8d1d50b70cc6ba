// Character tables: every 8-pixel row segment gives a pattern byte, 1 where a pixel differs from
// the segment's first pixel, and a colour byte, foreground × 16 + background. One line per cel:
// the pattern tokens, ",", the colour tokens, and a line break after every cel.

#include <algorithm>

#include "generator/generate.h"
#include "generator/pixel_words.h"

namespace {

using namespace pixel_words;

// One row segment of count pixels (1 to 8). Positions past the row's end count as the background.
void AppendSegment(const std::uint8_t* segment, int count, int comma, std::string& pattern,
                   std::string& colours) {
    const std::uint8_t background = segment[0];
    const std::uint64_t differs =
        NonZero(Load(segment, count) ^ (kOnes * background)) & FirstPixels(count);
    const int foreground = differs != 0 ? segment[FirstFlagged(differs)] : background;
    AppendHexByte(pattern, comma, PatternByte(differs));
    AppendHexByte(colours, comma, foreground * 16 + background);
}

}  // namespace

void GenerateChr(const CapturedDocument& doc, int width, int height, int comma, OutputText& out) {
    out.Clear();
    const int columns = width > 8 ? 2 : 1;
    const auto tokensPerCel = static_cast<std::size_t>(2 * height * columns);
    out.Reserve(static_cast<std::size_t>(std::max(doc.celCount, 0)) * (tokensPerCel * 4 + 4));

    std::string pattern;
    std::string colours;
    pattern.reserve(tokensPerCel * 2);
    colours.reserve(tokensPerCel * 3);
    for (int cel = 0; cel < doc.celCount; ++cel) {
        const std::uint8_t* pixels = CelPixels(doc, width, height, cel);
        pattern.clear();
        colours.clear();
        for (int r = 0; r < height; ++r) {
            AppendSegment(pixels + r * width, std::min(width, 8), comma, pattern, colours);
        }
        if (width > 8) {
            for (int r = 0; r < height; ++r) {
                AppendSegment(pixels + r * width + 8, std::min(width - 8, 8), comma, pattern,
                              colours);
            }
        }
        out.AddText(pattern);
        out.AddText(",");
        out.AddText(colours);
        out.AddText("\n");
    }
    out.AddCommas(comma);
}
