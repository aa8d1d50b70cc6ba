#pragma once
// The largest document (100 cels of 64 x 64 pixels) as a whole document buffer, for the tests
// and the benchmarks that need one. Most pixel lines hold up to three colours a, b and a OR b
// among the background, as two-layer sprites do; every eighth line is random colours from 0 to
// 15. The same every time.

#include <cstdint>
#include <random>
#include <vector>

#include "document/sprite_document.h"

inline const std::vector<std::uint8_t>& LargestDocument() {
    static const std::vector<std::uint8_t> buffer = [] {
        std::vector<std::uint8_t> b(kBufferCapacity);
        b[0] = kMaxWidth;
        b[1] = kMaxHeight;
        b[2] = kMaxCels;
        std::mt19937 random(1);
        std::uint8_t* pixel = b.data() + kHeaderSize;
        for (int line = 0; line < kMaxCels * kMaxHeight; ++line) {
            const auto a = static_cast<std::uint8_t>(1 + random() % 15);
            const auto c = static_cast<std::uint8_t>(1 + random() % 15);
            const std::uint8_t palette[] = {0, 0, a, c, static_cast<std::uint8_t>(a | c)};
            for (int x = 0; x < kMaxWidth; ++x) {
                *pixel++ = line % 8 == 7 ? static_cast<std::uint8_t>(random() % 16)
                                         : palette[random() % 5];
            }
        }
        return b;
    }();
    return buffer;
}
