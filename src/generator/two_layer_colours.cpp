#include "generator/two_layer_colours.h"

#include <cassert>
#include <utility>

#include "generator/pixel_words.h"

void SortColors(std::int32_t* colours, int count) {
    for (int i = 0; i + 1 < count; ++i) {
        for (int j = count - 1; j > i; --j) {
            if (colours[j] < colours[j - 1]) std::swap(colours[j], colours[j - 1]);
        }
    }
}

LayerColours CollectColours(const std::uint8_t* pixels, int count, int maxSlots) {
    using namespace pixel_words;
    assert(maxSlots >= 1 && maxSlots <= 3);
    LayerColours found;
    for (int x = 0; x < count; x += 8) {
        const std::uint64_t word = Load(pixels + x, count - x);
        // Bytes past the run load as 0 and so count as known, like the background.
        std::uint64_t unknown = NonZero(word);
        for (int s = 0; s < found.count; ++s) {
            unknown &= ~Equal(word, static_cast<std::uint8_t>(found.slots[s]));
        }
        while (unknown != 0) {
            if (found.count == maxSlots) {
                // The slots stay as they are: nothing later in the run can change them.
                found.dropped = true;
                return found;
            }
            const std::uint8_t colour = pixels[x + FirstFlagged(unknown)];
            found.slots[found.count++] = colour;
            unknown &= ~Equal(word, colour);
        }
    }
    return found;
}
