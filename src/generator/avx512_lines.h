#pragma once
// What the AVX-512 ways of splitting lines share: a line of up to 64 pixels is one register, whose
// four 128-bit lanes hold pixels 0 to 15, 16 to 31, 32 to 47 and 48 to 63. x86 only.

#if defined(__x86_64__)

#include <array>
#include <cstdint>

// GCC 12 takes the undefined start of some AVX-512 intrinsics for an uninitialised read.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif
#include <immintrin.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#define SPRITEHEX_AVX512 "avx512f,avx512bw,avx512vl,avx512vbmi,avx512bitalg,avx512cd,gfni,bmi"

namespace avx512_lines {

// Whether the processor has every part of AVX-512 these ways use; asked of it once.
bool ProcessorHas();

// Pieces of 16 pixels across a line of 64, one a lane.
constexpr int kPiecesAcross = 4;

// Byte j of each lane: bit j of the colour mask for colours 0 to 7 (low) and 8 to 15 (high).
alignas(16) constexpr std::array<std::uint8_t, 16> kLowBits = {1, 2, 4, 8, 16, 32, 64, 128,
                                                               0, 0, 0, 0, 0,  0,  0,  0};
alignas(16) constexpr std::array<std::uint8_t, 16> kHighBits = {0, 0, 0, 0, 0,  0,  0,  0,
                                                                1, 2, 4, 8, 16, 32, 64, 128};

// Word indices that gather the masks of the rows of a piece together: the masks come as words 0 to
// 3 of lane i for piece i, four rows a register. kRows8: word 8i + y of rows 0 to 7 from two such
// registers. kPieces[h]: word 16p + y for pieces 2h and 2h + 1 from two registers of eight rows.
using WordIndex = std::array<std::uint16_t, 32>;
constexpr WordIndex kRows8 = [] {
    WordIndex index{};
    for (int w = 0; w < 32; ++w) {
        const int piece = w / 8 % kPiecesAcross;
        const int y = w % 8;
        index[static_cast<std::size_t>(w)] =
            static_cast<std::uint16_t>((y < 4 ? 0 : 32) + 8 * piece + y % 4);
    }
    return index;
}();
constexpr std::array<WordIndex, 2> kPieces = [] {
    std::array<WordIndex, 2> index{};
    for (int h = 0; h < 2; ++h) {
        for (int w = 0; w < 32; ++w) {
            const int piece = 2 * h + w / 16;
            const int y = w % 16;
            index[static_cast<std::size_t>(h)][static_cast<std::size_t>(w)] =
                static_cast<std::uint16_t>((y < 8 ? 0 : 32) + 8 * piece + y % 8);
        }
    }
    return index;
}();
template <typename T>
__attribute__((target(SPRITEHEX_AVX512))) inline __m512i Load(const T& table) {
    return _mm512_loadu_si512(table.data());
}

// The two upper-case hexadecimal digit characters of the low byte of each 16-bit lane, the high
// digit first: the text of 32 table values.
__attribute__((target(SPRITEHEX_AVX512))) inline __m512i HexDigits(__m512i values) {
    const __m512i digitChars = _mm512_broadcast_i32x4(_mm_setr_epi8(
        '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'));
    const __m512i low = _mm512_and_si512(values, _mm512_set1_epi16(0xFF));
    const __m512i nibbles =
        _mm512_or_si512(_mm512_srli_epi16(low, 4),
                        _mm512_slli_epi16(_mm512_and_si512(low, _mm512_set1_epi16(0x0F)), 8));
    return _mm512_shuffle_epi8(digitChars, nibbles);
}

// Index v of each colour bit 1 << v, lane by lane; 0 for no bit.
__attribute__((target(SPRITEHEX_AVX512))) inline __m512i ColourIndex(__m512i bits) {
    return _mm512_maskz_popcnt_epi16(_mm512_test_epi16_mask(bits, bits),
                                     _mm512_sub_epi16(bits, _mm512_set1_epi16(1)));
}

// The lowest, the second and the third set bit of each lane, each 0 where the lane has fewer.
struct LowestThree {
    __m512i b0;
    __m512i b1;
    __m512i b2;
};
__attribute__((target(SPRITEHEX_AVX512))) inline LowestThree LowestBits(__m512i x) {
    const __m512i zero = _mm512_setzero_si512();
    const __m512i b0 = _mm512_and_si512(x, _mm512_sub_epi16(zero, x));
    const __m512i rest = _mm512_xor_si512(x, b0);
    const __m512i b1 = _mm512_and_si512(rest, _mm512_sub_epi16(zero, rest));
    return {b0, b1, _mm512_xor_si512(rest, b1)};
}

// x with its lowest set bit cleared, lane by lane.
__attribute__((target(SPRITEHEX_AVX512))) inline __m512i ClearLowest(__m512i x) {
    return _mm512_and_si512(x, _mm512_sub_epi16(x, _mm512_set1_epi16(1)));
}

// The colour masks of the 16 lines of every piece: word 16p + y of masks[h] for line y of piece
// 2h + p. Four cel lines at a time: each lane's table bits folded into 16-bit words, and the words
// of the four registers folded together by unpacking.
__attribute__((target(SPRITEHEX_AVX512))) inline void PieceMasks(const __m512i* lines,
                                                                 __m512i* masks) {
    const __m512i lowTable =
        _mm512_broadcast_i32x4(_mm_load_si128(reinterpret_cast<const __m128i*>(kLowBits.data())));
    const __m512i highTable =
        _mm512_broadcast_i32x4(_mm_load_si128(reinterpret_cast<const __m128i*>(kHighBits.data())));
    __m512i fours[4];
    for (int b = 0; b < 4; ++b) {
        __m512i words[4];
        for (int i = 0; i < 4; ++i) {
            const __m512i pixels = lines[4 * b + i];
            const __m512i low = _mm512_shuffle_epi8(lowTable, pixels);
            const __m512i high = _mm512_shuffle_epi8(highTable, pixels);
            words[i] =
                _mm512_or_si512(_mm512_unpacklo_epi8(low, high), _mm512_unpackhi_epi8(low, high));
        }
        const __m512i pair01 = _mm512_or_si512(_mm512_unpacklo_epi16(words[0], words[1]),
                                               _mm512_unpackhi_epi16(words[0], words[1]));
        const __m512i pair23 = _mm512_or_si512(_mm512_unpacklo_epi16(words[2], words[3]),
                                               _mm512_unpackhi_epi16(words[2], words[3]));
        const __m512i four = _mm512_or_si512(_mm512_unpacklo_epi32(pair01, pair23),
                                             _mm512_unpackhi_epi32(pair01, pair23));
        fours[b] = _mm512_or_si512(four, _mm512_bsrli_epi128(four, 8));
    }
    const __m512i rows8 = Load(kRows8);
    const __m512i top = _mm512_permutex2var_epi16(fours[0], rows8, fours[1]);
    const __m512i bottom = _mm512_permutex2var_epi16(fours[2], rows8, fours[3]);
    const __m512i noZero = _mm512_set1_epi16(static_cast<short>(0xFFFE));
    for (int h = 0; h < 2; ++h) {
        masks[h] = _mm512_and_si512(
            _mm512_permutex2var_epi16(top, Load(kPieces[static_cast<std::size_t>(h)]), bottom),
            noZero);
    }
}

}  // namespace avx512_lines

#endif
