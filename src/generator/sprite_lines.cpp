#include "generator/sprite_lines.h"

#include <algorithm>

#include "generator/regenerate.h"

std::vector<int> SpritesOnLines(const CapturedDocument& doc, int cel,
                                const GeneratorOptions& options) {
    const auto height = static_cast<std::size_t>(std::max(doc.height, 0));
    if (options.outputType == OutputType::kChr) return std::vector<int>(height, 0);
    const int layers = WithLayersChosen(doc, options).layers;
    if (options.pieces <= 0) return std::vector<int>(height, layers);
    std::vector<int> counts(height, 0);
    const int side = options.pieces;
    const std::uint8_t* pixels = CelPixels(doc, doc.width, doc.height, cel);
    for (int y0 = 0; y0 < doc.height; y0 += side) {
        const int rows = std::min(side, doc.height - y0);
        for (int x0 = 0; x0 < doc.width; x0 += side) {
            const int columns = std::min(side, doc.width - x0);
            bool drawn = false;
            for (int y = y0; y < y0 + rows && !drawn; ++y) {
                const std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(y) * doc.width + x0;
                drawn = std::any_of(row, row + columns, [](std::uint8_t p) { return p != 0; });
            }
            if (!drawn) continue;
            for (int y = y0; y < y0 + rows; ++y) counts[static_cast<std::size_t>(y)] += layers;
        }
    }
    return counts;
}

int ChipSpritesPerLine(const GeneratorOptions& options) {
    return options.colorData ? 8 : 4;
}

std::vector<std::string> LinesOverSpriteLimit(const CapturedDocument& doc,
                                              const GeneratorOptions& given, int limit) {
    // The layers of the whole document, chosen once rather than for every cel.
    const GeneratorOptions options = WithLayersChosen(doc, given);
    std::vector<std::string> lines;
    for (int cel = 0; cel < doc.celCount; ++cel) {
        const std::vector<int> counts = SpritesOnLines(doc, cel, options);
        for (std::size_t first = 0; first < counts.size();) {
            std::size_t end = first + 1;
            while (end < counts.size() && counts[end] == counts[first]) ++end;
            if (counts[first] > limit) {
                std::string text = "cel " + std::to_string(cel + 1) + ", ";
                text.append(end - first == 1 ? "line " + std::to_string(first)
                                             : "lines " + std::to_string(first) + " to " +
                                                   std::to_string(end - 1));
                text.append(": " + std::to_string(counts[first]) + " sprites on a line; the ");
                text.append("chip shows " + std::to_string(limit));
                lines.push_back(std::move(text));
            }
            first = end;
        }
    }
    return lines;
}
