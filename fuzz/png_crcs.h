#pragma once
// For the fuzzers that read PNG files: the input with the CRC of each chunk made right, so that a
// mutated header, palette or chunk order gets past the CRC check to the checks behind it.

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

inline std::uint32_t PngU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// The bytes with each whole chunk's CRC computed again (the signature is left as it is).
inline std::vector<std::uint8_t> WithRightCrcs(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out(data, data + size);
    std::size_t at = 8;
    while (at + 12 <= size && PngU32(&out[at]) <= size - at - 12) {
        const std::uint32_t length = PngU32(&out[at]);
        const auto crc = static_cast<std::uint32_t>(crc32(0, &out[at + 4], length + 4));
        for (int i = 0; i < 4; ++i) {
            out[at + 8 + length + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        }
        at += 12 + length;
    }
    return out;
}

// Runs check on the input as it is, then with its CRCs made right.
inline void CheckAlsoWithRightCrcs(const std::uint8_t* data, std::size_t size,
                                   void (*check)(const std::uint8_t*, std::size_t)) {
    check(data, size);
    const std::vector<std::uint8_t> fixed = WithRightCrcs(data, size);
    check(fixed.data(), fixed.size());
}
