#pragma once
// Pixels eight or sixteen at a time. A pixel word holds up to eight colour indices, the first pixel
// in the lowest byte, and a flag word marks pixels with 0x80 in their byte; pixel lanes hold
// sixteen, and comparing them gives 0xFF in every lane where the comparison holds. The table
// generators turn flags into pattern bytes without building bit strings.

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

static_assert(std::endian::native == std::endian::little,
              "pixel words put the first pixel in the lowest byte");

namespace pixel_words {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
inline constexpr std::uint64_t kFlags = 0x8080808080808080ULL;

// The first count pixels (at most 8) from p; the bytes past them are 0. Reads no further.
inline std::uint64_t Load(const std::uint8_t* p, int count) {
    std::uint64_t word = 0;
    if (count >= 8) {
        std::memcpy(&word, p, 8);
    } else if (count > 0) {
        std::memcpy(&word, p, static_cast<std::size_t>(count));
    }
    return word;
}

// Flags of the first count pixels of a word.
inline std::uint64_t FirstPixels(int count) {
    if (count >= 8) return kFlags;
    if (count <= 0) return 0;
    return kFlags & ((std::uint64_t{1} << (8 * count)) - 1);
}

// Flags the pixels that are not 0. Exact for every byte value: no carry crosses a byte.
inline std::uint64_t NonZero(std::uint64_t word) {
    return (((word & kLow7) + kLow7) | word) & kFlags;
}

// Flags the pixels equal to colour.
inline std::uint64_t Equal(std::uint64_t word, std::uint8_t colour) {
    return ~NonZero(word ^ (kOnes * colour)) & kFlags;
}

// The flags of a word as a pattern byte: the first pixel in bit 7, the eighth in bit 0.
inline int PatternByte(std::uint64_t flags) {
    // Flag i moves to bit 8i, and the multiplier sends bit 8i to bit 63 - i without collisions.
    return static_cast<int>(((flags >> 7) * 0x8040201008040201ULL) >> 56);
}

// Index (0 to 7) of the first flagged pixel; flags must not be 0.
inline int FirstFlagged(std::uint64_t flags) {
    return std::countr_zero(flags) / 8;
}

// Sixteen pixels, a vector type of GCC and Clang: == and != compare lane by lane, also with one
// colour.
using Lanes = std::uint8_t __attribute__((vector_size(16)));

// The first count pixels (at most 16) from p; the lanes past them are 0. Reads no further.
inline Lanes LoadLanes(const std::uint8_t* p, int count) {
    // Apart, so that a whole load stays in a register rather than going through memory.
    if (count >= 16) {
        Lanes lanes;
        std::memcpy(&lanes, p, 16);
        return lanes;
    }
    Lanes lanes{};
    if (count > 0) std::memcpy(&lanes, p, static_cast<std::size_t>(count));
    return lanes;
}

// Pixels 0 to 7 (half 0) or 8 to 15 (half 1) of a comparison's lanes as a flag word.
template <typename Mask>
inline std::uint64_t HalfFlags(const Mask& mask, int half) {
    static_assert(sizeof(Mask) == 16);
    std::uint64_t flags = 0;
    std::memcpy(&flags, reinterpret_cast<const char*>(&mask) + 8 * half, 8);
    return flags & kFlags;
}

// Bit i set where lane i is not 0.
inline unsigned DrawnBits(const Lanes& lanes) {
#if defined(__SSE2__)
    const __m128i zero = _mm_cmpeq_epi8(reinterpret_cast<__m128i>(lanes), _mm_setzero_si128());
    return ~static_cast<unsigned>(_mm_movemask_epi8(zero)) & 0xFFFF;
#else
    const auto drawn = lanes != 0;
    unsigned bits = 0;
    for (int i = 0; i < 16; ++i) bits |= static_cast<unsigned>(drawn[i] & 1) << i;
    return bits;
#endif
}

// A byte with its bits in reverse order: eight pixels' bits (the first in bit 0) as a pattern byte
// (the first in bit 7).
inline constexpr std::array<std::uint8_t, 256> kReversedBits = [] {
    std::array<std::uint8_t, 256> table{};
    for (unsigned v = 0; v < 256; ++v) {
        for (unsigned bit = 0; bit < 8; ++bit) {
            if ((v >> bit & 1) != 0) table[v] = static_cast<std::uint8_t>(table[v] | 0x80 >> bit);
        }
    }
    return table;
}();

}  // namespace pixel_words
