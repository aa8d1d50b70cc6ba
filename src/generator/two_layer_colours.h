#pragma once
// The colours the two-layer tables split pixels by.

#include <cstdint>

// Sorts the first count entries (0 to 3) ascending, in place, with a signed comparison; the later
// entries stay as they are.
void SortColors(std::int32_t* colours, int count);

// The distinct colours other than 0 of a run of pixels, in order of first appearance, at most
// maxSlots (2 or 3) of them; unused slots hold 0. dropped tells that a further colour appeared.
struct LayerColours {
    std::int32_t slots[3] = {0, 0, 0};
    int count = 0;
    bool dropped = false;
};
LayerColours CollectColours(const std::uint8_t* pixels, int count, int maxSlots);
