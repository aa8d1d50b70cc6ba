#include "generator/row_split_masks.h"

#include "document/sprite_document.h"
#include "generator/layer_basis.h"
#include "generator/pixel_words.h"

#if defined(__x86_64__) || defined(__i386__)

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstring>
#include <optional>

#include <immintrin.h>

namespace {

// The 16 pixels from p, or the count (below 16) there are with 0 after them.
__attribute__((target("ssse3"))) inline __m128i LoadPixels(const std::uint8_t* p, int count) {
    if (count >= 16) return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return reinterpret_cast<__m128i>(pixel_words::LoadLanes(p, count));
}

// A table for a byte shuffle: byte v is 0xFF where bit v of the colour mask is set.
__attribute__((target("ssse3"))) inline __m128i ColourTable(std::uint32_t colours) {
    const __m128i bit = _mm_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128);
    const __m128i spread = _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1);
    const __m128i bytes = _mm_shuffle_epi8(_mm_cvtsi32_si128(static_cast<int>(colours)), spread);
    return _mm_cmpeq_epi8(_mm_and_si128(bytes, bit), bit);
}

// The bit of a colour index in a byte shuffle's table: colours 0 to 7 in one table, 8 to 15 in the
// other. A byte above 15 looks up a wrong bit (that of its low four bits, or none from 128 on), so
// every pixel is also ORed into `all`, which tells afterwards whether the masks hold.
#define SPRITEHEX_LOW_BITS 1, 2, 4, 8, 16, 32, 64, -128, 0, 0, 0, 0, 0, 0, 0, 0
#define SPRITEHEX_HIGH_BITS 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 4, 8, 16, 32, 64, -128

// The 16-bit colour mask of a line from the bits of its low and high tables, lane by lane.
__attribute__((target("ssse3"))) inline std::uint32_t MaskOf(__m128i low, __m128i high) {
    // Word i holds low lane i and high lane i; OR the words together.
    __m128i words = _mm_or_si128(_mm_unpacklo_epi8(low, high), _mm_unpackhi_epi8(low, high));
    words = _mm_or_si128(words, _mm_srli_si128(words, 8));
    words = _mm_or_si128(words, _mm_srli_si128(words, 4));
    words = _mm_or_si128(words, _mm_srli_si128(words, 2));
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(words)) & 0xFFFE;
}

// Lines past the last of a group are read from here: pixels 0, no colour.
alignas(16) constexpr std::uint8_t kNoLine[kMaxWidth] = {};

using MaskFunction = void (*)(const std::uint8_t*, int, int, int, std::uint16_t*, __m128i&);

// The colours of each of count lines, other than 0: bit v of masks[r] for colour v. masks has room
// for count rounded up to eight, which the AVX2 way fills with masks of no colour.
__attribute__((target("ssse3"))) void ColourMasksSsse3(const std::uint8_t* pixels, int width,
                                                       int stride, int count, std::uint16_t* masks,
                                                       __m128i& allPixels) {
    __m128i all = allPixels;
    const __m128i lowTable = _mm_setr_epi8(SPRITEHEX_LOW_BITS);
    const __m128i highTable = _mm_setr_epi8(SPRITEHEX_HIGH_BITS);
    for (int r = 0; r < count; ++r) {
        const std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(r) * stride;
        __m128i low = _mm_setzero_si128();
        __m128i high = _mm_setzero_si128();
        for (int x = 0; x < width; x += 16) {
            const __m128i lanes = LoadPixels(row + x, width - x);
            all = _mm_or_si128(all, lanes);
            low = _mm_or_si128(low, _mm_shuffle_epi8(lowTable, lanes));
            high = _mm_or_si128(high, _mm_shuffle_epi8(highTable, lanes));
        }
        masks[r] = static_cast<std::uint16_t>(MaskOf(low, high));
    }
    allPixels = all;
}

// The masks of `lines` lines (8 when kFull) with AVX2: lines 0 to 3 in the low halves of four
// registers and 4 to 7 in the high halves, each register's table bits folded into 16-bit words,
// and the words of the four registers folded together by unpacking, so that no line's bits are
// ORed across a register on their own. kWidth is the lines' width when it is known, else 0.
template <int kWidth, bool kFull>
__attribute__((target("avx2"))) inline __m128i MasksOfEight(const std::uint8_t* first, int width,
                                                            int stride, int lines, __m256i& all) {
    const int w = kWidth != 0 ? kWidth : width;
    const __m256i lowTable = _mm256_setr_epi8(SPRITEHEX_LOW_BITS, SPRITEHEX_LOW_BITS);
    const __m256i highTable = _mm256_setr_epi8(SPRITEHEX_HIGH_BITS, SPRITEHEX_HIGH_BITS);
    const auto line = [&](int j) {
        return kFull || j < lines ? first + static_cast<std::ptrdiff_t>(j) * stride : kNoLine;
    };
    // Word i of a half: the bits of pixels i and i + 8 of 16, ORed over the line's steps.
    __m256i words[4];
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t* upper = line(i);
        const std::uint8_t* lower = line(i + 4);
        __m256i low = _mm256_setzero_si256();
        __m256i high = _mm256_setzero_si256();
        for (int x = 0; x < w; x += 16) {
            const __m256i lanes =
                _mm256_inserti128_si256(_mm256_castsi128_si256(LoadPixels(upper + x, w - x)),
                                        LoadPixels(lower + x, w - x), 1);
            all = _mm256_or_si256(all, lanes);
            low = _mm256_or_si256(low, _mm256_shuffle_epi8(lowTable, lanes));
            high = _mm256_or_si256(high, _mm256_shuffle_epi8(highTable, lanes));
        }
        words[i] =
            _mm256_or_si256(_mm256_unpacklo_epi8(low, high), _mm256_unpackhi_epi8(low, high));
    }
    // Lines 0 and 1 word by word, then 2 and 3 (and 4 to 7 above).
    const __m256i pair01 = _mm256_or_si256(_mm256_unpacklo_epi16(words[0], words[1]),
                                           _mm256_unpackhi_epi16(words[0], words[1]));
    const __m256i pair23 = _mm256_or_si256(_mm256_unpacklo_epi16(words[2], words[3]),
                                           _mm256_unpackhi_epi16(words[2], words[3]));
    // Words 0 to 3 hold half of lines 0 to 3, words 4 to 7 the other half.
    __m256i four = _mm256_or_si256(_mm256_unpacklo_epi32(pair01, pair23),
                                   _mm256_unpackhi_epi32(pair01, pair23));
    four = _mm256_or_si256(four, _mm256_srli_si256(four, 8));
    const __m128i eight = _mm256_castsi256_si128(_mm256_permute4x64_epi64(four, 0x08));
    return _mm_and_si128(eight, _mm_set1_epi16(static_cast<short>(0xFFFE)));
}

template <int kWidth>
__attribute__((target("avx2"))) void ColourMasksOf(const std::uint8_t* pixels, int width,
                                                   int stride, int count, std::uint16_t* masks,
                                                   __m256i& all) {
    int r = 0;
    for (; r + 8 <= count; r += 8) {
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(masks + r),
            MasksOfEight<kWidth, true>(pixels + static_cast<std::ptrdiff_t>(r) * stride, width,
                                       stride, 8, all));
    }
    if (r < count) {
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(masks + r),
            MasksOfEight<kWidth, false>(pixels + static_cast<std::ptrdiff_t>(r) * stride, width,
                                        stride, count - r, all));
    }
}

// The same with AVX2, eight lines at a time; the widths of pieces and of the widest cels apart,
// so that their steps are known.
__attribute__((target("avx2"))) void ColourMasksAvx2(const std::uint8_t* pixels, int width,
                                                     int stride, int count, std::uint16_t* masks,
                                                     __m128i& allPixels) {
    assert(width <= kMaxWidth);
    __m256i all = _mm256_setzero_si256();
    switch (width) {
        case 8:
            ColourMasksOf<8>(pixels, width, stride, count, masks, all);
            break;
        case 16:
            ColourMasksOf<16>(pixels, width, stride, count, masks, all);
            break;
        case 64:
            ColourMasksOf<64>(pixels, width, stride, count, masks, all);
            break;
        default:
            ColourMasksOf<0>(pixels, width, stride, count, masks, all);
            break;
    }
    allPixels = _mm_or_si128(
        allPixels, _mm_or_si128(_mm256_castsi256_si128(all), _mm256_extracti128_si256(all, 1)));
}

// The colours the tables keep of a line of four colours or more: the first three to appear. The
// line holds them, so the search stops; a byte above 15 stops it too (nothing, then: the cel
// goes the slow way).
inline std::optional<std::uint16_t> FirstThreeColours(const std::uint8_t* row) {
    std::uint32_t seen = 1;
    for (int x = 0, found = 0; found < 3; ++x) {
        if (row[x] > 15) return std::nullopt;
        const std::uint32_t bit = 1u << row[x];
        found += (seen & bit) == 0;
        seen |= bit;
    }
    return static_cast<std::uint16_t>(seen & 0xFFFE);
}

// Index v of the colour bits 1 << v, lane by lane: a 16-bit de Bruijn number puts a distinct
// pattern into the top four bits for each v, which a byte shuffle turns into v. No bit gives 0.
__attribute__((target("ssse3"))) inline __m128i ColourIndex(__m128i bits) {
    constexpr std::uint16_t kDeBruijn = 0x09AF;
    static constexpr auto kTable = [] {
        std::array<std::uint8_t, 16> table{};
        for (unsigned v = 1; v < 16; ++v) {
            table[static_cast<std::uint16_t>(kDeBruijn << v) >> 12] = static_cast<std::uint8_t>(v);
        }
        return table;
    }();
    const __m128i top = _mm_srli_epi16(_mm_mullo_epi16(bits, _mm_set1_epi16(kDeBruijn)), 12);
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kTable.data())), top);
}

// x with one 16-bit lane replaced.
inline __m128i InsertLane(__m128i x, int lane, std::uint16_t value) {
    switch (lane) {
        case 0:
            return _mm_insert_epi16(x, value, 0);
        case 1:
            return _mm_insert_epi16(x, value, 1);
        case 2:
            return _mm_insert_epi16(x, value, 2);
        case 3:
            return _mm_insert_epi16(x, value, 3);
        case 4:
            return _mm_insert_epi16(x, value, 4);
        case 5:
            return _mm_insert_epi16(x, value, 5);
        case 6:
            return _mm_insert_epi16(x, value, 6);
        default:
            return _mm_insert_epi16(x, value, 7);
    }
}

// x with its lowest set bit cleared, lane by lane.
inline __m128i ClearLowest(__m128i x) {
    return _mm_and_si128(x, _mm_add_epi16(x, _mm_set1_epi16(-1)));
}

// x's lowest set bit alone, lane by lane.
inline __m128i Lowest(__m128i x) {
    return _mm_and_si128(x, _mm_sub_epi16(_mm_setzero_si128(), x));
}

// The pattern bits of kLayers layers (1 to 4) for count lines (1 to 8), each stride pixels after
// the one before: bits[j] holds layer j's bits of line i in its 16-bit lane i, the left byte low,
// for the colours in lane i of sets[j]. Lanes past count are 0.
using BitsFunction = void (*)(const std::uint8_t*, int, int, int, const __m128i*, __m128i*);

// Pixels 7 to 0, then 15 to 8: a byte's leftmost pixel lands in its bit 7.
#define SPRITEHEX_REVERSE 7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8

// One line at a time, a byte shuffle of its first 16 pixels per layer.
template <int kLayers>
__attribute__((target("ssse3"))) void LayerBitsSsse3(const std::uint8_t* first, int width,
                                                     int stride, int count, const __m128i* sets,
                                                     __m128i* bits) {
    const __m128i reverse = _mm_setr_epi8(SPRITEHEX_REVERSE);
    alignas(16) std::uint16_t members[kLayers][8];
    alignas(16) std::uint16_t found[kLayers][8] = {};
    for (int j = 0; j < kLayers; ++j) {
        _mm_store_si128(reinterpret_cast<__m128i*>(members[j]), sets[j]);
    }
    for (int lane = 0; lane < count; ++lane) {
        const __m128i reversed = _mm_shuffle_epi8(
            LoadPixels(first + static_cast<std::ptrdiff_t>(lane) * stride, width), reverse);
        for (int j = 0; j < kLayers; ++j) {
            found[j][lane] = static_cast<std::uint16_t>(
                _mm_movemask_epi8(_mm_shuffle_epi8(ColourTable(members[j][lane]), reversed)));
        }
    }
    for (int j = 0; j < kLayers; ++j) {
        bits[j] = _mm_load_si128(reinterpret_cast<const __m128i*>(found[j]));
    }
}

// Two lines at a time, line i and line i + 4 in the halves of one register, the tables of both
// made from the sets at once; the lines' bits are gathered in their lanes without a store.
// kColumns: eight lines of that many pixels (16 for 16 or more), read without checks; 0 for any.
template <int kLayers, int kColumns>
__attribute__((target("avx2"))) inline void LayerBitsOf(const std::uint8_t* first, int width,
                                                        int stride, int count, const __m128i* sets,
                                                        __m128i* bits) {
    const __m256i reverse = _mm256_setr_epi8(SPRITEHEX_REVERSE, SPRITEHEX_REVERSE);
    const __m256i bit = _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ULL));
    // The lane of line i spread over the low half's table, that of line i + 4 over the high
    // half's: its low byte for colours 0 to 7, its high byte for 8 to 15.
    const __m256i spread = _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 8, 8, 8,
                                            8, 8, 8, 8, 8, 9, 9, 9, 9, 9, 9, 9, 9);
    const int columns = kColumns != 0 ? kColumns : std::min(width, 16);
    int gathered[kLayers][4] = {};
    const auto line = [&](int i) {
        return kColumns != 0 || i < count ? first + static_cast<std::ptrdiff_t>(i) * stride
                                          : kNoLine;
    };
    for (int i = 0; i < 4; ++i) {
        const __m256i lanes =
            _mm256_inserti128_si256(_mm256_castsi128_si256(LoadPixels(line(i), columns)),
                                    LoadPixels(line(i + 4), columns), 1);
        const __m256i reversed = _mm256_shuffle_epi8(lanes, reverse);
        const __m256i pick = _mm256_add_epi8(spread, _mm256_set1_epi8(static_cast<char>(2 * i)));
        for (int j = 0; j < kLayers; ++j) {
            const __m256i table = _mm256_cmpeq_epi8(
                _mm256_and_si256(_mm256_shuffle_epi8(_mm256_broadcastsi128_si256(sets[j]), pick),
                                 bit),
                bit);
            gathered[j][i] = _mm256_movemask_epi8(_mm256_shuffle_epi8(table, reversed));
        }
    }
    // Lanes 0, 4, 1, 5, 2, 6, 3, 7 into their order.
    const __m128i order = _mm_setr_epi8(0, 1, 4, 5, 8, 9, 12, 13, 2, 3, 6, 7, 10, 11, 14, 15);
    for (int j = 0; j < kLayers; ++j) {
        const auto [b0, b1, b2, b3] = gathered[j];
        bits[j] = _mm_shuffle_epi8(_mm_setr_epi32(b0, b1, b2, b3), order);
    }
}

template <int kLayers>
__attribute__((target("avx2"))) void LayerBitsAvx2(const std::uint8_t* first, int width, int stride,
                                                   int count, const __m128i* sets, __m128i* bits) {
    if (count == 8 && width >= 16) {
        LayerBitsOf<kLayers, 16>(first, width, stride, count, sets, bits);
    } else if (count == 8 && width == 8) {
        LayerBitsOf<kLayers, 8>(first, width, stride, count, sets, bits);
    } else {
        LayerBitsOf<kLayers, 0>(first, width, stride, count, sets, bits);
    }
}

// How a processor makes the masks, and the pattern bits of 2, 3 or 4 layers.
struct MaskWay {
    MaskFunction masks;
    BitsFunction bits[kMostLayers + 1];
};
constexpr MaskWay kSsse3Way = {
    ColourMasksSsse3, {nullptr, nullptr, LayerBitsSsse3<2>, LayerBitsSsse3<3>, LayerBitsSsse3<4>}};
constexpr MaskWay kAvx2Way = {
    ColourMasksAvx2, {nullptr, nullptr, LayerBitsAvx2<2>, LayerBitsAvx2<3>, LayerBitsAvx2<4>}};

// Lines of colour indices 0 to 15 only; false (with the tables partly written) when a pixel holds
// a byte above 15. The masks of a batch of lines come first; then eight lines at a time, one
// 16-bit lane each, give their colours c0 < c1 < c2, colour bytes and breaches; then each line
// its pattern bytes, by a byte shuffle of its first 16 pixels.
__attribute__((target("ssse3"))) bool SplitRowsSsse3(const MaskWay& way, const std::uint8_t* pixels,
                                                     int width, int stride, int rows,
                                                     const LayerRows& tables, RowBreaches& result) {
    // Copies the compiler knows no store changes.
    const LayerRows out = tables;
    RowBreaches breaches;
    const __m128i zero = _mm_setzero_si128();
    __m128i all = zero;
    constexpr int kBatch = 64;
    // Whole groups of eight: the lanes past the last line are masks of no colour.
    alignas(16) std::uint16_t masks[kBatch + 8];
    alignas(16) std::uint16_t colours0[8];
    alignas(16) std::uint16_t colours1[8];
    // A cel of 8 pixels or fewer has no right column: its right bytes are written where the left
    // ones then go.
    const std::ptrdiff_t right = width > 8 ? rows : 0;
    for (int batch = 0; batch < rows; batch += kBatch) {
        const int count = std::min(kBatch, rows - batch);
        const std::uint8_t* first = pixels + static_cast<std::ptrdiff_t>(batch) * stride;
        way.masks(first, width, stride, count, masks, all);
        std::fill(masks + count, masks + count + 8, std::uint16_t{0});
        for (int group = 0; group < count; group += 8) {
            __m128i colours = _mm_load_si128(reinterpret_cast<const __m128i*>(masks + group));
            const __m128i keepsAll =
                _mm_cmpeq_epi16(ClearLowest(ClearLowest(ClearLowest(colours))), zero);
            const int droppedLanes = _mm_movemask_epi8(keepsAll) ^ 0xFFFF;
            if (droppedLanes != 0) {
                // Into the lanes themselves: a load of what was just stored would wait for it.
                for (int lane = 0; lane < 8; ++lane) {
                    if ((droppedLanes >> (2 * lane) & 1) == 0) continue;
                    const std::optional<std::uint16_t> kept = FirstThreeColours(
                        first + static_cast<std::ptrdiff_t>(group + lane) * stride);
                    if (!kept) return false;
                    colours = InsertLane(colours, lane, *kept);
                }
                breaches.dropped = true;
            }
            // The bits of c0, c1 and c2, each 0 when the line has fewer colours.
            const __m128i b0 = Lowest(colours);
            const __m128i rest = _mm_xor_si128(colours, b0);
            const __m128i b1 = Lowest(rest);
            const __m128i b2 = _mm_xor_si128(rest, b1);
            const __m128i c0 = ColourIndex(b0);
            const __m128i c1 = ColourIndex(b1);
            const __m128i c2 = ColourIndex(b2);
            _mm_store_si128(reinterpret_cast<__m128i*>(colours0), c0);
            _mm_store_si128(reinterpret_cast<__m128i*>(colours1),
                            _mm_or_si128(c1, _mm_set1_epi16(0x40)));
            // A line sets code 3 for a dropped colour, then code 2 when c2 is not c0 OR c1.
            const __m128i notOr = _mm_andnot_si128(
                _mm_or_si128(_mm_cmpeq_epi16(c2, zero), _mm_cmpeq_epi16(c2, _mm_or_si128(c0, c1))),
                _mm_set1_epi16(-1));
            const int lanes = std::min(8, count - group);
            const int used = (1 << (2 * lanes)) - 1;
            const int breaking = (_mm_movemask_epi8(notOr) | droppedLanes) & used;
            if (breaking != 0) {
                const int last = (31 - __builtin_clz(static_cast<unsigned>(breaking))) / 2;
                breaches.lastCode = (_mm_movemask_epi8(notOr) >> (2 * last) & 1) != 0
                                        ? kNotOrColour
                                        : kTooManyColours;
            }
            const __m128i sets[2] = {_mm_or_si128(b0, b2), _mm_or_si128(b1, b2)};
            __m128i layerBits[2];
            way.bits[2](first + static_cast<std::ptrdiff_t>(group) * stride, width, stride, lanes,
                        sets, layerBits);
            const __m128i all1 = layerBits[0];
            const __m128i all2 = layerBits[1];
            const int r0 = batch + group;
            if (lanes == 8) {
                // Eight lines at once: the left bytes, the right bytes and the colour bytes each
                // in one store (the right ones first, for a cel without a right column).
                const __m128i low = _mm_set1_epi16(0xFF);
                const auto store = [](TableValue* to, __m128i values) {
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), values);
                };
                store(out.pattern1 + right + r0, _mm_srli_epi16(all1, 8));
                store(out.pattern2 + right + r0, _mm_srli_epi16(all2, 8));
                store(out.pattern1 + r0, _mm_and_si128(all1, low));
                store(out.pattern2 + r0, _mm_and_si128(all2, low));
                store(out.colour1 + r0, c0);
                store(out.colour2 + r0, _mm_or_si128(c1, _mm_set1_epi16(0x40)));
                continue;
            }
            alignas(16) std::uint16_t bits1[8];
            alignas(16) std::uint16_t bits2[8];
            _mm_store_si128(reinterpret_cast<__m128i*>(bits1), all1);
            _mm_store_si128(reinterpret_cast<__m128i*>(bits2), all2);
            for (int lane = 0; lane < lanes; ++lane) {
                const int r = r0 + lane;
                out.pattern1[right + r] = static_cast<TableValue>(bits1[lane] >> 8);
                out.pattern2[right + r] = static_cast<TableValue>(bits2[lane] >> 8);
                out.pattern1[r] = static_cast<TableValue>(bits1[lane] & 0xFF);
                out.pattern2[r] = static_cast<TableValue>(bits2[lane] & 0xFF);
                out.colour1[r] = colours0[lane];
                out.colour2[r] = colours1[lane];
            }
        }
    }
    result = breaches;
    const __m128i aboveFifteen = _mm_and_si128(all, _mm_set1_epi8(static_cast<char>(0xF0)));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(aboveFifteen, zero)) == 0xFFFF;
}

// The colours a line's layers are set for and their colour bytes, eight lines at a time, one
// 16-bit lane each: as SplitColours gives them for each line's colours in `sets` and the packed
// smallest basis of those colours in `bases`.
struct GroupSplit {
    __m128i members[kMostLayers];
    __m128i colourBytes[kMostLayers];
};

__attribute__((target("ssse3"))) GroupSplit SplitGroup(__m128i sets, __m128i bases) {
    // The colours whose every bit a colour holds, colour by colour: kSupersetBytes.
    const __m128i zero = _mm_setzero_si128();
    const __m128i orBit = _mm_set1_epi16(0x40);
    const __m128i superLow = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&kSupersetBytes[0]));
    const __m128i superHigh = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&kSupersetBytes[1]));
    // Lines that two layers show, split as the two-layer tables split them.
    const __m128i two = _mm_cmpeq_epi16(_mm_and_si128(bases, _mm_set1_epi16(-256)), zero);
    const __m128i b0 = Lowest(sets);
    const __m128i rest = _mm_xor_si128(sets, b0);
    const __m128i b1 = Lowest(rest);
    const __m128i b2 = _mm_xor_si128(rest, b1);
    const __m128i twoMembers[kMostLayers] = {_mm_or_si128(b0, b2), _mm_or_si128(b1, b2), zero,
                                             zero};
    const __m128i twoBytes[kMostLayers] = {ColourIndex(b0), _mm_or_si128(ColourIndex(b1), orBit),
                                           orBit, orBit};
    GroupSplit split;
    for (int j = 0; j < kMostLayers; ++j) {
        // Basis colour j, 0 past the basis; the high byte of a lane looks up nothing.
        const __m128i colour = _mm_and_si128(_mm_srli_epi16(bases, 4 * j), _mm_set1_epi16(15));
        const __m128i index = _mm_or_si128(colour, _mm_set1_epi16(-256));
        const __m128i supersets =
            _mm_or_si128(_mm_shuffle_epi8(superLow, index),
                         _mm_slli_epi16(_mm_shuffle_epi8(superHigh, index), 8));
        const __m128i members =
            _mm_andnot_si128(_mm_cmpeq_epi16(colour, zero), _mm_and_si128(sets, supersets));
        const __m128i bytes = j == 0 ? colour : _mm_or_si128(colour, orBit);
        split.members[j] =
            _mm_or_si128(_mm_and_si128(two, twoMembers[j]), _mm_andnot_si128(two, members));
        split.colourBytes[j] =
            _mm_or_si128(_mm_and_si128(two, twoBytes[j]), _mm_andnot_si128(two, bytes));
    }
    return split;
}

// Three or four layers, eight lines at a time: the masks of a batch of lines, each line's
// smallest basis looked up, the split of eight lines in their lanes, then their pattern bits.
__attribute__((target("ssse3"))) bool SplitLayersSsse3(const MaskWay& way,
                                                       const std::uint8_t* pixels, int width,
                                                       int stride, int rows, int layers,
                                                       const ManyLayerRows& tables, bool& fits) {
    const ManyLayerRows out = tables;
    const std::uint16_t* basisTable = BasisTable().data();
    const __m128i zero = _mm_setzero_si128();
    __m128i all = zero;
    __m128i tooRich = zero;
    constexpr int kBatch = 64;
    alignas(16) std::uint16_t masks[kBatch + 8];
    const std::ptrdiff_t right = width > 8 ? rows : 0;
    for (int batch = 0; batch < rows; batch += kBatch) {
        const int count = std::min(kBatch, rows - batch);
        const std::uint8_t* first = pixels + static_cast<std::ptrdiff_t>(batch) * stride;
        way.masks(first, width, stride, count, masks, all);
        std::fill(masks + count, masks + count + 8, std::uint16_t{0});
        for (int group = 0; group < count; group += 8) {
            alignas(16) std::uint16_t bases[8];
            for (int lane = 0; lane < 8; ++lane) bases[lane] = basisTable[masks[group + lane] >> 1];
            const __m128i packed = _mm_load_si128(reinterpret_cast<const __m128i*>(bases));
            const GroupSplit split =
                SplitGroup(_mm_load_si128(reinterpret_cast<const __m128i*>(masks + group)), packed);
            // Three layers cannot show a line whose basis has a fourth colour.
            if (layers == 3) tooRich = _mm_or_si128(tooRich, _mm_srli_epi16(packed, 12));
            const int lanes = std::min(8, count - group);
            __m128i layerBits[kMostLayers];
            way.bits[static_cast<std::size_t>(layers)](
                first + static_cast<std::ptrdiff_t>(group) * stride, width, stride, lanes,
                split.members, layerBits);
            const int r0 = batch + group;
            for (int j = 0; j < layers; ++j) {
                TableValue* pattern = out.patterns[static_cast<std::size_t>(j)];
                TableValue* colours = out.colours[static_cast<std::size_t>(j)];
                const __m128i leftBytes = _mm_and_si128(layerBits[j], _mm_set1_epi16(0xFF));
                const __m128i rightBytes = _mm_srli_epi16(layerBits[j], 8);
                if (lanes == 8) {
                    // The right bytes first, for a cel without a right column.
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(pattern + right + r0), rightBytes);
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(pattern + r0), leftBytes);
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(colours + r0),
                                     split.colourBytes[j]);
                    continue;
                }
                alignas(16) std::uint16_t values[3][8];
                _mm_store_si128(reinterpret_cast<__m128i*>(values[0]), rightBytes);
                _mm_store_si128(reinterpret_cast<__m128i*>(values[1]), leftBytes);
                _mm_store_si128(reinterpret_cast<__m128i*>(values[2]), split.colourBytes[j]);
                for (int lane = 0; lane < lanes; ++lane) {
                    pattern[right + r0 + lane] = values[0][lane];
                    pattern[r0 + lane] = values[1][lane];
                    colours[r0 + lane] = values[2][lane];
                }
            }
        }
    }
    // Lanes past the last line hold no colour, so no basis either.
    fits = _mm_movemask_epi8(_mm_cmpeq_epi16(tooRich, zero)) == 0xFFFF;
    const __m128i aboveFifteen = _mm_and_si128(all, _mm_set1_epi8(static_cast<char>(0xF0)));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(aboveFifteen, zero)) == 0xFFFF;
}

}  // namespace

bool ProcessorHasMaskWay(bool avx2) {
    __builtin_cpu_init();
    return avx2 ? __builtin_cpu_supports("avx2") : __builtin_cpu_supports("ssse3");
}

bool SplitRowsByMasks(bool avx2, const std::uint8_t* pixels, int width, int stride, int rows,
                      const LayerRows& out, RowBreaches& breaches) {
    return SplitRowsSsse3(avx2 ? kAvx2Way : kSsse3Way, pixels, width, stride, rows, out, breaches);
}

bool SplitLayersByMasks(bool avx2, const std::uint8_t* pixels, int width, int stride, int rows,
                        int layers, const ManyLayerRows& out, bool& fits) {
    return SplitLayersSsse3(avx2 ? kAvx2Way : kSsse3Way, pixels, width, stride, rows, layers, out,
                            fits);
}

#else

bool ProcessorHasMaskWay(bool) {
    return false;
}

bool SplitRowsByMasks(bool, const std::uint8_t*, int, int, int, const LayerRows&, RowBreaches&) {
    return false;
}

bool SplitLayersByMasks(bool, const std::uint8_t*, int, int, int, int, const ManyLayerRows&,
                        bool&) {
    return false;
}

#endif
