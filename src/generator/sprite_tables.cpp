// Single-layer sprite tables: per cel a pattern table (left column rows, then right column rows)
// and, with colour data, a colour table holding each pixel line's first drawn colour.

#include <algorithm>
#include <bit>

#include "generator/generators.h"
#include "generator/pixel_words.h"

namespace {

using namespace pixel_words;

// Bit i set where pixel from + i of the row is not 0, for up to 16 pixels.
unsigned DrawnFrom(const std::uint8_t* row, int from, int width) {
#if defined(__SSE2__)
    if (from + 16 <= width) {
        const __m128i lanes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + from));
        return ~static_cast<unsigned>(
                   _mm_movemask_epi8(_mm_cmpeq_epi8(lanes, _mm_setzero_si128()))) &
               0xFFFFu;
    }
#endif
    return DrawnBits(LoadLanes(row + from, width - from));
}

// The colour of the first pixel of the row that is not 0, or 0 for an empty row; pixels 0 to 15
// are drawn where the bits of first are set.
TableValue FirstDrawnColour(const std::uint8_t* row, unsigned first, int width) {
    for (int from = 0; from < width; from += 16) {
        const unsigned drawn = from == 0 ? first : DrawnFrom(row, from, width);
        if (drawn != 0) return row[from + std::countr_zero(drawn)];
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
            const unsigned drawn = DrawnFrom(row, 0, width);
            if (colorData) colours[r] = FirstDrawnColour(row, drawn, width);
            // A row narrower than 8 pixels has as many bits, aligned to the right of the byte.
            pattern[r] = static_cast<TableValue>(kReversedBits[drawn & 0xFF] >> (8 - leftCount));
            // Pixels 8 to 15 take bits 7 downwards; a row narrower than 16 leaves the low bits 0.
            if (columns == 2) pattern[rows + r] = kReversedBits[drawn >> 8];
        }
    }
}
