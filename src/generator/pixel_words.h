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

// The first count pixels (at most 8) from p; the bytes past them are 0. Reads no further. Two
// loads that may overlap, rather than a copy of count bytes, which would go through memory.
inline std::uint64_t Load(const std::uint8_t* p, int count) {
    const auto bytes = [p](int at, auto word) {
        std::memcpy(&word, p + at, sizeof word);
        return static_cast<std::uint64_t>(word);
    };
    if (count >= 8) return bytes(0, std::uint64_t{0});
    if (count >= 4)
        return bytes(0, std::uint32_t{0}) | bytes(count - 4, std::uint32_t{0}) << 8 * (count - 4);
    if (count >= 2)
        return bytes(0, std::uint16_t{0}) | bytes(count - 2, std::uint16_t{0}) << 8 * (count - 2);
    return count == 1 ? p[0] : 0;
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
    const std::uint64_t low = Load(p, count);
    const std::uint64_t high = count > 8 ? Load(p + 8, count - 8) : 0;
#if defined(__SSE2__)
    return reinterpret_cast<Lanes>(
        _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low)));
#else
    Lanes lanes;
    std::memcpy(&lanes, &low, 8);
    std::memcpy(reinterpret_cast<char*>(&lanes) + 8, &high, 8);
    return lanes;
#endif
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

// Eight 16-bit lanes, a vector type of GCC and Clang: a line's bits in each, or eight table
// values.
using PixelBits = std::uint16_t __attribute__((vector_size(16)));

// Each lane's two bytes with their bits in reverse order: the bits of pixels 0 to 7 and 8 to 15
// (the first in bit 0) as the left and right pattern bytes (the first in bit 7).
inline PixelBits PatternBytes(PixelBits bits) {
    bits = (bits >> 4 & 0x0F0F) | (bits & 0x0F0F) << 4;
    bits = (bits >> 2 & 0x3333) | (bits & 0x3333) << 2;
    return (bits >> 1 & 0x5555) | (bits & 0x5555) << 1;
}

// Eight lanes into eight table values.
inline void StoreEight(std::uint16_t* to, PixelBits values) {
    std::memcpy(to, &values, sizeof values);
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
