#include "generator/piece_draw_avx512.h"

#if defined(__x86_64__)

#include "generator/avx512_lines.h"

namespace {

constexpr int kGroups = 4;  // of four lines, one register each

// The 16 bytes of a line at its four places in a register: byte i of lane k is line 4g + k's.
__attribute__((target(SPRITEHEX_AVX512))) inline __m512i LineIndex(int g) {
    const __m512i lane = _mm512_set_epi32(
        0x03030303, 0x03030303, 0x03030303, 0x03030303, 0x02020202, 0x02020202, 0x02020202,
        0x02020202, 0x01010101, 0x01010101, 0x01010101, 0x01010101, 0, 0, 0, 0);
    return _mm512_add_epi8(lane, _mm512_set1_epi8(static_cast<char>(4 * g)));
}

__attribute__((target(SPRITEHEX_AVX512))) bool Draw(std::uint8_t* topLeft, int width,
                                                    const PieceSprite* sprites, std::size_t count) {
    const auto line = [topLeft, width](int y) {
        return topLeft + static_cast<std::ptrdiff_t>(y) * width;
    };
    __m512i pixels[kGroups];
    for (int g = 0; g < kGroups; ++g) {
        __m512i four =
            _mm512_castsi128_si512(_mm_loadu_si128(reinterpret_cast<const __m128i*>(line(4 * g))));
        four = _mm512_inserti32x4(
            four, _mm_loadu_si128(reinterpret_cast<const __m128i*>(line(4 * g + 1))), 1);
        four = _mm512_inserti32x4(
            four, _mm_loadu_si128(reinterpret_cast<const __m128i*>(line(4 * g + 2))), 2);
        pixels[g] = _mm512_inserti32x4(
            four, _mm_loadu_si128(reinterpret_cast<const __m128i*>(line(4 * g + 3))), 3);
    }
    // The pixels an earlier sprite of the piece shows.
    __mmask64 shown[kGroups] = {0, 0, 0, 0};
    const __m256i reverseBits = _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ULL));
    for (std::size_t s = 0; s < count; ++s) {
        const PieceSprite& sprite = sprites[s];
        // The pattern bytes, each turned around so that its first pixel is bit 0, then each line's
        // left and right byte side by side: a 16-bit mask of its pixels, four lines a quadword.
        const __m256i bytes = _mm256_gf2p8affine_epi64_epi8(
            _mm512_cvtepi16_epi8(_mm512_loadu_si512(sprite.pattern)), reverseBits, 0);
        const __m128i left = _mm256_castsi256_si128(bytes);
        const __m128i right = _mm256_extracti128_si256(bytes, 1);
        const __m128i lines[2] = {_mm_unpacklo_epi8(left, right), _mm_unpackhi_epi8(left, right)};
        const std::uint64_t masks[kGroups] = {
            static_cast<std::uint64_t>(_mm_cvtsi128_si64(lines[0])),
            static_cast<std::uint64_t>(_mm_extract_epi64(lines[0], 1)),
            static_cast<std::uint64_t>(_mm_cvtsi128_si64(lines[1])),
            static_cast<std::uint64_t>(_mm_extract_epi64(lines[1], 1))};
        // Each line's colour byte in all 16 of its pixels' bytes.
        const __m512i colourBytes =
            sprite.lineColours != nullptr
                ? _mm512_broadcast_i32x4(_mm256_cvtepi16_epi8(
                      _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sprite.lineColours))))
                : _mm512_set1_epi8(static_cast<char>(sprite.colour));
        for (int g = 0; g < kGroups; ++g) {
            const __m512i colour = sprite.lineColours != nullptr
                                       ? _mm512_shuffle_epi8(colourBytes, LineIndex(g))
                                       : colourBytes;
            const __m512i paint = _mm512_and_si512(colour, _mm512_set1_epi8(0x0F));
            const __mmask64 ors = _mm512_test_epi8_mask(colour, _mm512_set1_epi8(0x40));
            const __mmask64 bits = masks[g];
            // The fresh pixels and those it ORs onto are apart.
            const __m512i ored = _mm512_or_si512(pixels[g], paint);
            pixels[g] = _mm512_mask_mov_epi8(pixels[g], bits & ~shown[g], paint);
            pixels[g] = _mm512_mask_mov_epi8(pixels[g], bits & shown[g] & ors, ored);
            shown[g] |= bits;
        }
    }
    for (int g = 0; g < kGroups; ++g) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(line(4 * g)),
                         _mm512_castsi512_si128(pixels[g]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(line(4 * g + 1)),
                         _mm512_extracti32x4_epi32(pixels[g], 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(line(4 * g + 2)),
                         _mm512_extracti32x4_epi32(pixels[g], 2));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(line(4 * g + 3)),
                         _mm512_extracti32x4_epi32(pixels[g], 3));
    }
    return true;
}

}  // namespace

bool DrawPieceAvx512(std::uint8_t* topLeft, int width, const PieceSprite* sprites,
                     std::size_t count) {
    return avx512_lines::ProcessorHas() && Draw(topLeft, width, sprites, count);
}

#else

bool DrawPieceAvx512(std::uint8_t*, int, const PieceSprite*, std::size_t) {
    return false;
}

#endif
