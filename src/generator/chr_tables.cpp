// Character tables: every 8-pixel row segment gives a pattern byte, 1 where a pixel differs from
// the segment's first pixel, and a colour byte, foreground × 16 + background.

#include <algorithm>
#include <bit>

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

// Both segments of a row of 16 pixels or more at once: a bit per pixel that differs from its
// segment's first, pixel 0 in bit 0 and pixel 8 in bit 8.
unsigned DiffersInBoth(const std::uint8_t* row) {
#if defined(__SSE2__)
    const __m128i lanes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row));
    const __m128i backgrounds = _mm_set_epi64x(static_cast<long long>(kOnes * row[8]),
                                               static_cast<long long>(kOnes * row[0]));
    return ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(lanes, backgrounds))) & 0xFFFFu;
#else
    unsigned bits = 0;
    for (int i = 0; i < 16; ++i) bits |= unsigned{row[i] != row[i < 8 ? 0 : 8]} << i;
    return bits;
#endif
}

// The pattern and colour byte of a segment of 8 pixels whose differing pixels are the bits of
// differs, pixel 0 in bit 0.
void WholeSegment(const std::uint8_t* segment, unsigned differs, TableValue& pattern,
                  TableValue& colour) {
    const std::uint8_t background = segment[0];
    const int foreground = differs != 0 ? segment[std::countr_zero(differs)] : background;
    pattern = kReversedBits[differs];
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
            if (width >= 16) {
                const unsigned differs = DiffersInBoth(row);
                WholeSegment(row, differs & 0xFF, pattern[r], colours[r]);
                WholeSegment(row + 8, differs >> 8, pattern[rows + r], colours[rows + r]);
                continue;
            }
            Segment(row, std::min(width, 8), pattern[r], colours[r]);
            if (columns == 2) {
                Segment(row + 8, std::min(width - 8, 8), pattern[rows + r], colours[rows + r]);
            }
        }
    }
}
