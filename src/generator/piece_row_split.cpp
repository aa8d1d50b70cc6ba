#include "generator/piece_row_split.h"

#include "generator/result_codes.h"

#if defined(__x86_64__)

#include <algorithm>
#include <array>
#include <cstring>

#include "generator/avx512_lines.h"

namespace {

using namespace avx512_lines;

constexpr int kSide = 16;
constexpr int kAcross = kPiecesAcross;

// Words 16p to 16p + 3, the sets of lines 0 to 3 of piece p, in every quadword of lane p, for the
// bit shuffles of those lines (of lines 4g to 4g + 3: + 4g).
constexpr WordIndex kFourLineSets = [] {
    WordIndex index{};
    for (int w = 0; w < 32; ++w) {
        index[static_cast<std::size_t>(w)] = static_cast<std::uint16_t>(16 * (w / 8) + w % 4);
    }
    return index;
}();
// Byte indices that turn the pattern bytes of 16 lines, 8 a line (the left and right byte of each
// piece), into the 32 bytes of pieces 2h and 2h + 1: the left bytes of lines 0 to 15, then the
// right ones.
using ByteIndex = std::array<std::uint8_t, 64>;
constexpr std::array<ByteIndex, 2> kPatternOrder = [] {
    std::array<ByteIndex, 2> index{};
    for (int h = 0; h < 2; ++h) {
        for (int t = 0; t < 64; ++t) {
            const int piece = 2 * h + t / 32;
            const int half = t / 16 % 2;
            const int y = t % 16;
            index[static_cast<std::size_t>(h)][static_cast<std::size_t>(t)] =
                static_cast<std::uint8_t>(8 * y + 2 * piece + half);
        }
    }
    return index;
}();

// The pixels of a line that are the first of their colour in their piece, colour 0 left out: bit
// 16p + i for pixel i of piece p. Each pixel is held against those before it at once.
__attribute__((target(SPRITEHEX_AVX512))) inline std::uint64_t FirstOfTheirColour(__m512i line) {
    std::uint64_t firsts = 0;
    for (int p = 0; p < kAcross; ++p) {
        __m128i piece;
        switch (p) {
            case 0:
                piece = _mm512_castsi512_si128(line);
                break;
            case 1:
                piece = _mm512_extracti32x4_epi32(line, 1);
                break;
            case 2:
                piece = _mm512_extracti32x4_epi32(line, 2);
                break;
            default:
                piece = _mm512_extracti32x4_epi32(line, 3);
                break;
        }
        const __m512i earlier = _mm512_conflict_epi32(_mm512_cvtepu8_epi32(piece));
        firsts |= std::uint64_t{_mm512_testn_epi32_mask(earlier, earlier)} << (kSide * p);
    }
    return firsts & _mm512_test_epi8_mask(line, line);
}

// A line of four colours or more keeps the first three to appear in its piece: the masks of the
// dropped lines (dropped[h], as masks[h] holds them) made again from those pixels alone, every
// piece of a cel line at once.
__attribute__((target(SPRITEHEX_AVX512))) inline void KeepFirstThree(const __m512i* pixels,
                                                                     const __mmask32* dropped,
                                                                     __m512i* masks) {
    const __m512i lowTable =
        _mm512_broadcast_i32x4(_mm_load_si128(reinterpret_cast<const __m128i*>(kLowBits.data())));
    const __m512i highTable =
        _mm512_broadcast_i32x4(_mm_load_si128(reinterpret_cast<const __m128i*>(kHighBits.data())));
    // Words 16q to 16q + 15 of masks[h] from word 0 of lane 2h + q.
    const __m512i fromLane[2] = {
        _mm512_set_epi64(0x0008000800080008, 0x0008000800080008, 0x0008000800080008,
                         0x0008000800080008, 0, 0, 0, 0),
        _mm512_set_epi64(0x0018001800180018, 0x0018001800180018, 0x0018001800180018,
                         0x0018001800180018, 0x0010001000100010, 0x0010001000100010,
                         0x0010001000100010, 0x0010001000100010)};
    const std::uint32_t lines =
        (dropped[0] | dropped[0] >> kSide | dropped[1] | dropped[1] >> kSide) & 0xFFFF;
    // Every line in turn, so that the lines stay in their registers.
#pragma GCC unroll 16
    for (int y = 0; y < kSide; ++y) {
        if ((lines >> y & 1) == 0) continue;
        // The first three of each piece: the lowest three bits of each 16.
        const __m128i firsts =
            _mm_cvtsi64_si128(static_cast<long long>(FirstOfTheirColour(pixels[y])));
        __m128i later = firsts;
        for (int k = 0; k < 3; ++k) {
            later = _mm_and_si128(later, _mm_sub_epi16(later, _mm_set1_epi16(1)));
        }
        const auto kept = static_cast<__mmask64>(_mm_cvtsi128_si64(_mm_xor_si128(firsts, later)));
        const __m512i keptPixels = _mm512_maskz_mov_epi8(kept, pixels[y]);
        // The colour bits of each piece's kept pixels ORed into word 0 of its lane; the others,
        // now 0, give colour 0, which no mask holds.
        const __m512i low = _mm512_shuffle_epi8(lowTable, keptPixels);
        const __m512i high = _mm512_shuffle_epi8(highTable, keptPixels);
        __m512i words =
            _mm512_or_si512(_mm512_unpacklo_epi8(low, high), _mm512_unpackhi_epi8(low, high));
        words = _mm512_or_si512(words, _mm512_bsrli_epi128(words, 8));
        words = _mm512_or_si512(words, _mm512_bsrli_epi128(words, 4));
        words = _mm512_or_si512(words, _mm512_bsrli_epi128(words, 2));
        words = _mm512_and_si512(words, _mm512_set1_epi16(static_cast<short>(0xFFFE)));
        const __mmask32 line = (__mmask32{1} << y) | (__mmask32{1} << (kSide + y));
        for (int h = 0; h < 2; ++h) {
            masks[h] =
                _mm512_mask_permutexvar_epi16(masks[h], dropped[h] & line, fromLane[h], words);
        }
    }
}

// The split of 32 lines, those of two pieces, one 16-bit lane each.
struct TwoPieces {
    __m512i colour1;
    __m512i colour2;
    __m512i sets1;  // the colours layer 1 draws
    __m512i sets2;
    __mmask32 notOr;
    __mmask32 breaking;
};

// Lines of four colours or more, a bit each as masks has them.
__attribute__((target(SPRITEHEX_AVX512))) inline __mmask32 Dropped(__m512i masks) {
    const __m512i beyondThree = ClearLowest(ClearLowest(ClearLowest(masks)));
    return _mm512_test_epi16_mask(beyondThree, beyondThree);
}

// masks: the colours of each line of pieces 2h and 2h + 1, those of the dropped lines the first
// three to appear.
__attribute__((target(SPRITEHEX_AVX512))) inline TwoPieces SplitTwoPieces(__m512i masks,
                                                                          __mmask32 dropped) {
    const auto [b0, b1, b2] = LowestBits(masks);
    const __m512i c0 = ColourIndex(b0);
    const __m512i c1 = ColourIndex(b1);
    const __m512i c2 = ColourIndex(b2);
    TwoPieces split;
    split.colour1 = c0;
    split.colour2 = _mm512_or_si512(c1, _mm512_set1_epi16(0x40));
    split.sets1 = _mm512_or_si512(b0, b2);
    split.sets2 = _mm512_or_si512(b1, b2);
    split.notOr =
        _mm512_test_epi16_mask(c2, c2) & _mm512_cmpneq_epi16_mask(c2, _mm512_or_si512(c0, c1));
    split.breaking = split.notOr | dropped;
    return split;
}

__attribute__((target(SPRITEHEX_AVX512))) bool SplitRowAvx512(const std::uint8_t* first, int width,
                                                              int lines, TableValue* patterns,
                                                              TableValue* colours, PieceRow& row) {
    const __mmask64 inCel = width >= 64 ? ~__mmask64{0} : (__mmask64{1} << width) - 1;
    __m512i pixels[kSide];
    __m512i all = _mm512_setzero_si512();
    for (int y = 0; y < kSide; ++y) {
        pixels[y] = y < lines ? _mm512_maskz_loadu_epi8(
                                    inCel, first + static_cast<std::ptrdiff_t>(y) * width)
                              : _mm512_setzero_si512();
        all = _mm512_or_si512(all, pixels[y]);
    }
    if (_mm512_test_epi8_mask(all, _mm512_set1_epi8(static_cast<char>(0xF0))) != 0) return false;

    __m512i masks[2];
    PieceMasks(pixels, masks);
    const __mmask32 dropped[2] = {Dropped(masks[0]), Dropped(masks[1])};
    if ((dropped[0] | dropped[1]) != 0) KeepFirstThree(pixels, dropped, masks);
    const TwoPieces split[2] = {SplitTwoPieces(masks[0], dropped[0]),
                                SplitTwoPieces(masks[1], dropped[1])};

    // The pattern bits of each line: every pixel looks up the bit of its colour in the sets of its
    // piece's line, four lines' sets to a quadword of its piece's lane, 16 bits a line. The bits
    // come with a byte's first pixel in bit 0, and are turned around at the end.
    const __m512i fourLineSets = Load(kFourLineSets);
    // bits[j][y / 8], quadword y % 8: layer j's pattern bytes of line y, two a piece. Put into
    // their registers as they come, not stored and read back as a whole.
    __m512i bits[2][2] = {};
#pragma GCC unroll 4
    for (int g = 0; g < kSide / 4; ++g) {
        const __m512i index =
            _mm512_add_epi16(fourLineSets, _mm512_set1_epi16(static_cast<short>(4 * g)));
        const __m512i sets1 = _mm512_permutex2var_epi16(split[0].sets1, index, split[1].sets1);
        const __m512i sets2 = _mm512_permutex2var_epi16(split[0].sets2, index, split[1].sets2);
#pragma GCC unroll 4
        for (int k = 0; k < 4; ++k) {
            const int y = 4 * g + k;
            const __m512i lookup =
                _mm512_or_si512(pixels[y], _mm512_set1_epi8(static_cast<char>(16 * k)));
            const auto lane = static_cast<__mmask8>(1u << (y % 8));
            __m512i& bits1 = bits[0][y / 8];
            __m512i& bits2 = bits[1][y / 8];
            bits1 = _mm512_mask_set1_epi64(
                bits1, lane, static_cast<long long>(_mm512_bitshuffle_epi64_mask(sets1, lookup)));
            bits2 = _mm512_mask_set1_epi64(
                bits2, lane, static_cast<long long>(_mm512_bitshuffle_epi64_mask(sets2, lookup)));
        }
    }
    // Each byte's bits in the reverse order: its first pixel in bit 7.
    const __m512i reverseBits = _mm512_set1_epi64(static_cast<long long>(0x8040201008040201ULL));
    for (auto& layer : bits) {
        for (__m512i& half : layer) half = _mm512_gf2p8affine_epi64_epi8(half, reverseBits, 0);
    }

    // Layer j of pieces 2h and 2h + 1: 32 pattern bytes each.
    __m512i pattern[2][2];
    for (int j = 0; j < 2; ++j) {
        for (int h = 0; h < 2; ++h) {
            pattern[j][h] = _mm512_permutex2var_epi8(
                bits[j][0], Load(kPatternOrder[static_cast<std::size_t>(h)]), bits[j][1]);
        }
    }
    const std::uint64_t breaking = split[0].breaking | std::uint64_t{split[1].breaking} << 32;
    const std::uint64_t notOr = split[0].notOr | std::uint64_t{split[1].notOr} << 32;
    row.lastCode = kNoError;
    if (breaking != 0) {
        const int last = 63 - __builtin_clzll(breaking);
        row.lastCode = (notOr >> last & 1) != 0 ? kNotOrColour : kTooManyColours;
    }
    const std::uint64_t drawnLines = _mm512_test_epi16_mask(masks[0], masks[0]) |
                                     std::uint64_t{_mm512_test_epi16_mask(masks[1], masks[1])}
                                         << 32;
    row.drawn = 0;
    int sprite = 0;
    for (int piece = 0; piece < kAcross; ++piece) {
        if ((drawnLines >> (kSide * piece) & 0xFFFF) == 0) continue;
        row.drawn |= 1u << piece;
        const int h = piece / 2;
        const int half = piece % 2;
        const TwoPieces& two = split[h];
        const __m512i layerColours[2] = {two.colour1, two.colour2};
        for (int j = 0; j < 2; ++j, ++sprite) {
            const __m256i bytes = half == 0 ? _mm512_castsi512_si256(pattern[j][h])
                                            : _mm512_extracti64x4_epi64(pattern[j][h], 1);
            _mm512_storeu_si512(patterns + 32 * sprite, _mm512_cvtepu8_epi16(bytes));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(colours + kSide * sprite),
                                half == 0 ? _mm512_castsi512_si256(layerColours[j])
                                          : _mm512_extracti64x4_epi64(layerColours[j], 1));
        }
    }
    return true;
}

// One layer: each line's drawn pixels as a mask, its bits the pattern bits.
__attribute__((target(SPRITEHEX_AVX512))) void OneLayerRow(const std::uint8_t* first, int width,
                                                           int lines, TableValue* patterns,
                                                           TableValue* colours, PieceRow& row) {
    const __mmask64 inCel = width >= 64 ? ~__mmask64{0} : (__mmask64{1} << width) - 1;
    std::uint64_t drawn[kSide];
    std::uint64_t any = 0;
    // bits[y / 8], quadword y % 8: the pattern bytes of line y, two a piece.
    __m512i bits[2] = {_mm512_setzero_si512(), _mm512_setzero_si512()};
    for (int y = 0; y < lines; ++y) {
        const __m512i pixels =
            _mm512_maskz_loadu_epi8(inCel, first + static_cast<std::ptrdiff_t>(y) * width);
        drawn[y] = _mm512_test_epi8_mask(pixels, pixels);
        any |= drawn[y];
        bits[y / 8] = _mm512_mask_set1_epi64(bits[y / 8], static_cast<__mmask8>(1u << (y % 8)),
                                             static_cast<long long>(drawn[y]));
    }
    const __m512i reverseBits = _mm512_set1_epi64(static_cast<long long>(0x8040201008040201ULL));
    for (__m512i& half : bits) half = _mm512_gf2p8affine_epi64_epi8(half, reverseBits, 0);
    row.drawn = 0;
    row.lastCode = kNoError;
    int sprite = 0;
    for (int piece = 0; piece < kAcross; ++piece) {
        const int shift = kSide * piece;
        if ((any >> shift & 0xFFFF) == 0) continue;
        row.drawn |= 1u << piece;
        const __m512i pattern = _mm512_permutex2var_epi8(
            bits[0], Load(kPatternOrder[static_cast<std::size_t>(piece / 2)]), bits[1]);
        const __m256i bytes = piece % 2 == 0 ? _mm512_castsi512_si256(pattern)
                                             : _mm512_extracti64x4_epi64(pattern, 1);
        _mm512_storeu_si512(patterns + 32 * sprite, _mm512_cvtepu8_epi16(bytes));
        // Each line's first drawn pixel; on a line with none, its first pixel, which is 0.
        TableValue firstColour = 0;
        for (int y = 0; y < kSide; ++y) {
            TableValue colour = 0;
            if (y < lines) {
                const auto line = static_cast<std::uint32_t>(drawn[y] >> shift & 0xFFFF);
                colour = first[static_cast<std::ptrdiff_t>(y) * width + shift +
                               (line == 0 ? 0 : __builtin_ctz(line))];
            }
            if (firstColour == 0) firstColour = colour;
            if (colours != nullptr) colours[kSide * sprite + y] = colour;
            if (colours == nullptr && firstColour != 0) break;
        }
        row.firstColours[static_cast<std::size_t>(piece)] = firstColour;
        ++sprite;
    }
}

}  // namespace

bool ProcessorSplitsPieceRows() {
    return avx512_lines::ProcessorHas();
}

bool SplitPieceRow(const std::uint8_t* first, int width, int lines, TableValue* patterns,
                   TableValue* colours, PieceRow& row) {
    return ProcessorSplitsPieceRows() &&
           SplitRowAvx512(first, width, lines, patterns, colours, row);
}

bool PieceRowInOneLayer(const std::uint8_t* first, int width, int lines, TableValue* patterns,
                        TableValue* colours, PieceRow& row) {
    if (!ProcessorSplitsPieceRows()) return false;
    OneLayerRow(first, width, lines, patterns, colours, row);
    return true;
}

#else

bool ProcessorSplitsPieceRows() {
    return false;
}

bool SplitPieceRow(const std::uint8_t*, int, int, TableValue*, TableValue*, PieceRow&) {
    return false;
}

bool PieceRowInOneLayer(const std::uint8_t*, int, int, TableValue*, TableValue*, PieceRow&) {
    return false;
}

#endif
