#pragma once
// The colours the two-layer tables split pixels by.

#include <algorithm>
#include <cassert>
#include <cstdint>

#include "generator/pixel_words.h"

// Sorts the first count entries (0 to 3) ascending, in place, with a signed comparison; the later
// entries stay as they are. These are the exchanges of a bubble sort, each made without a branch.
inline void SortColors(std::int32_t* colours, int count) {
    const auto order = [colours](int j) {
        const std::int32_t low = std::min(colours[j], colours[j + 1]);
        colours[j + 1] = std::max(colours[j], colours[j + 1]);
        colours[j] = low;
    };
    if (count == 2) {
        order(0);
    } else if (count == 3) {
        order(1);
        order(0);
        order(1);
    }
}

// The distinct colours other than 0 of a run of pixels, in order of first appearance, at most
// maxSlots (1 to 4) of them; unused slots hold 0. dropped tells that a further colour appeared.
struct LayerColours {
    std::int32_t slots[4] = {0, 0, 0, 0};
    int count = 0;
    bool dropped = false;
};

inline LayerColours CollectColours(const std::uint8_t* pixels, int count, int maxSlots) {
    using namespace pixel_words;
    assert(maxSlots >= 1 && maxSlots <= 4);
    LayerColours found;
    // The slots in every lane. An empty slot holds 0, which only matches pixels known anyway.
    Lanes slot[4] = {};
    for (int x = 0; x < count; x += 16) {
        // Lanes past the run load as 0, so they count as known like the background.
        const Lanes lanes = LoadLanes(pixels + x, count - x);
        auto known = (lanes == 0) | (lanes == slot[0]) | (lanes == slot[1]) | (lanes == slot[2]) |
                     (lanes == slot[3]);
        for (;;) {
            std::uint64_t low = 0;
            std::uint64_t high = 0;
            std::memcpy(&low, &known, 8);
            std::memcpy(&high, reinterpret_cast<const char*>(&known) + 8, 8);
            if ((low & high) == ~std::uint64_t{0}) break;
            if (found.count == maxSlots) {
                // The slots stay as they are: nothing later in the run can change them.
                found.dropped = true;
                return found;
            }
            const int first = low != ~std::uint64_t{0} ? std::countr_zero(~low) / 8
                                                       : 8 + std::countr_zero(~high) / 8;
            const std::uint8_t colour = pixels[x + first];
            slot[found.count] = Lanes{} + colour;
            found.slots[found.count++] = colour;
            known |= lanes == colour;
        }
    }
    return found;
}
