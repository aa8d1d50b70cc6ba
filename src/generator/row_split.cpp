#include "generator/row_split.h"

#include <cstring>

#include "generator/pixel_words.h"
#include "generator/two_layer_colours.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define SPRITEHEX_SSSE3 1
#endif

namespace {

using namespace pixel_words;

// Stores one line's bytes and notes what it breaks.
inline void PutRow(const LayerRows& out, int rows, int width, int r, int c0, int c1, int c2,
                   std::uint32_t layer1, std::uint32_t layer2, bool dropped,
                   RowBreaches& breaches) {
    out.colour1[r] = static_cast<TableValue>(c0);
    out.colour2[r] = static_cast<TableValue>(c1 | 0x40);
    out.pattern1[r] = static_cast<TableValue>(layer1 & 0xFF);
    out.pattern2[r] = static_cast<TableValue>(layer2 & 0xFF);
    if (width > 8) {
        out.pattern1[rows + r] = static_cast<TableValue>(layer1 >> 8);
        out.pattern2[rows + r] = static_cast<TableValue>(layer2 >> 8);
    }
    if (dropped) breaches.lastCode = kTooManyColors;
    if (c2 != 0 && c2 != (c0 | c1)) breaches.lastCode = kNotOrColor;
    breaches.dropped = breaches.dropped || dropped;
}

#ifdef SPRITEHEX_SSSE3

// The 16 pixels from p, or the count (below 16) there are with 0 after them.
__attribute__((target("ssse3"))) inline __m128i LoadPixels(const std::uint8_t* p, int count) {
    if (count >= 16) return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    alignas(16) std::uint8_t rest[16] = {};
    std::memcpy(rest, p, static_cast<std::size_t>(count));
    return _mm_load_si128(reinterpret_cast<const __m128i*>(rest));
}

// A table for a byte shuffle: byte v is 0xFF where bit v of the colour mask is set.
__attribute__((target("ssse3"))) inline __m128i ColourTable(std::uint32_t colours) {
    const __m128i bit = _mm_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128);
    const __m128i spread = _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1);
    const __m128i bytes = _mm_shuffle_epi8(_mm_cvtsi32_si128(static_cast<int>(colours)), spread);
    return _mm_cmpeq_epi8(_mm_and_si128(bytes, bit), bit);
}

// Index of the one bit set, 0 for none.
inline int ColourOf(std::uint32_t bit) {
    return bit == 0 ? 0 : __builtin_ctz(bit);
}

// Lines of colour indices 0 to 15 only; false (with the tables partly written) when a pixel holds
// a byte above 15.
__attribute__((target("ssse3"))) bool SplitRowsSsse3(const std::uint8_t* pixels, int width,
                                                     int rows, const LayerRows& tables,
                                                     RowBreaches& result) {
    // Copies the compiler knows no store changes.
    const LayerRows out = tables;
    RowBreaches breaches;
    // The bit of a colour index, for colours 0 to 7 in one table and 8 to 15 in the other.
    const __m128i lowTable = _mm_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 0, 0, 0, 0, 0, 0, 0, 0);
    const __m128i highTable = _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 4, 8, 16, 32, 64, -128);
    // Pixels 7 to 0, then 15 to 8: a byte's leftmost pixel lands in its bit 7.
    const __m128i reverse = _mm_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
    __m128i all = _mm_setzero_si128();
    for (int r = 0; r < rows; ++r) {
        const std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(r) * width;
        const __m128i first = LoadPixels(row, width);
        __m128i low = _mm_shuffle_epi8(lowTable, first);
        __m128i high = _mm_shuffle_epi8(highTable, first);
        all = _mm_or_si128(all, first);
        for (int x = 16; x < width; x += 16) {
            const __m128i lanes = LoadPixels(row + x, width - x);
            all = _mm_or_si128(all, lanes);
            low = _mm_or_si128(low, _mm_shuffle_epi8(lowTable, lanes));
            high = _mm_or_si128(high, _mm_shuffle_epi8(highTable, lanes));
        }
        // OR the lanes together: word i holds low lane i and high lane i.
        __m128i words = _mm_or_si128(_mm_unpacklo_epi8(low, high), _mm_unpackhi_epi8(low, high));
        words = _mm_or_si128(words, _mm_srli_si128(words, 8));
        words = _mm_or_si128(words, _mm_srli_si128(words, 4));
        words = _mm_or_si128(words, _mm_srli_si128(words, 2));
        std::uint32_t colours = static_cast<std::uint32_t>(_mm_cvtsi128_si32(words)) & 0xFFFE;

        std::uint32_t beyondThree = colours & (colours - 1);
        beyondThree &= beyondThree - 1;
        beyondThree &= beyondThree - 1;
        const bool dropped = beyondThree != 0;
        if (dropped) {
            // Four colours or more: the first three to appear stay. The line holds them, so the
            // search stops; a byte above 15 stops it too, and the cel goes the slow way.
            std::uint32_t seen = 1;
            for (int x = 0, found = 0; found < 3; ++x) {
                if (row[x] > 15) return false;
                const std::uint32_t bit = 1u << row[x];
                found += (seen & bit) == 0;
                seen |= bit;
            }
            colours = seen & 0xFFFE;
        }
        // The bits of c0, c1 and c2, each 0 when the line has fewer colours.
        const std::uint32_t b0 = colours & (0u - colours);
        const std::uint32_t rest = colours ^ b0;
        const std::uint32_t b1 = rest & (0u - rest);
        const std::uint32_t b2 = rest ^ b1;
        const __m128i reversed = _mm_shuffle_epi8(first, reverse);
        const auto layer1 = static_cast<std::uint32_t>(
            _mm_movemask_epi8(_mm_shuffle_epi8(ColourTable(b0 | b2), reversed)));
        const auto layer2 = static_cast<std::uint32_t>(
            _mm_movemask_epi8(_mm_shuffle_epi8(ColourTable(b1 | b2), reversed)));
        PutRow(out, rows, width, r, ColourOf(b0), ColourOf(b1), ColourOf(b2), layer1, layer2,
               dropped, breaches);
    }
    result = breaches;
    // A byte shuffle takes the bit of a byte's low four bits (or none from 128 on), so the masks
    // of bytes above 15 were wrong.
    const __m128i aboveFifteen = _mm_and_si128(all, _mm_set1_epi8(static_cast<char>(0xF0)));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(aboveFifteen, _mm_setzero_si128())) == 0xFFFF;
}

using SplitFunction = bool (*)(const std::uint8_t*, int, int, const LayerRows&, RowBreaches&);

bool NoFastSplit(const std::uint8_t*, int, int, const LayerRows&, RowBreaches&) {
    return false;
}

SplitFunction ChooseSplit() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") ? SplitRowsSsse3 : NoFastSplit;
}

#endif

}  // namespace

RowBreaches SplitRowsInOrder(const std::uint8_t* pixels, int width, int rows,
                             const LayerRows& out) {
    RowBreaches breaches;
    for (int r = 0; r < rows; ++r) {
        const std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(r) * width;
        LayerColours colours = CollectColours(row, width, 3);
        SortColors(colours.slots, colours.count);
        const auto [c0, c1, c2] = colours.slots;
        // Only pixels 0 to 15 reach a pattern, and positions past the row (lanes loaded as 0) are
        // 0 in both layers.
        const Lanes lanes = LoadLanes(row, width);
        const auto drawn = lanes != 0;
        const auto both = lanes == static_cast<std::uint8_t>(c2);
        const auto bits1 = drawn & ((lanes == static_cast<std::uint8_t>(c0)) | both);
        const auto bits2 = drawn & ((lanes == static_cast<std::uint8_t>(c1)) | both);
        const auto layer = [](const auto& bits) {
            return static_cast<std::uint32_t>(PatternByte(HalfFlags(bits, 0)) |
                                              PatternByte(HalfFlags(bits, 1)) << 8);
        };
        PutRow(out, rows, width, r, c0, c1, c2, layer(bits1), layer(bits2), colours.dropped,
               breaches);
    }
    return breaches;
}

RowBreaches SplitRows(const std::uint8_t* pixels, int width, int rows, const LayerRows& out) {
#ifdef SPRITEHEX_SSSE3
    static const SplitFunction split = ChooseSplit();
    RowBreaches breaches;
    if (split(pixels, width, rows, out, breaches)) return breaches;
#endif
    return SplitRowsInOrder(pixels, width, rows, out);
}
