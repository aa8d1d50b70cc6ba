#pragma once
// Eight pixels of a row at a time: a pixel word holds up to eight colour indices, the first pixel
// in the lowest byte, and a flag word marks pixels with 0x80 in their byte. The table generators
// turn flag words into pattern bytes without building bit strings.

#include <bit>
#include <cstdint>
#include <cstring>

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
inline int FirstFlagged(std::uint64_t flags) { return std::countr_zero(flags) / 8; }

}  // namespace pixel_words
