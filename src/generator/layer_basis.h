#pragma once
// How a pixel line of many colours is shown by OR-ed layers. The chip ORs the colours of every
// layer whose colour byte carries the OR bit, so a line's colours can come from a basis: a few
// layer colours whose ORs make every colour of the line. A pixel of colour c is set in every layer
// whose colour has no bit outside c.
//
// A set of colours is a mask: bit v for colour v, bit 0 never set.

#include <array>
#include <cstdint>
#include <vector>

using ColourSet = std::uint16_t;

inline constexpr int kMostLayers = 4;

// The colours of a run of pixels other than 0, bytes above 15 taken as their low four bits.
inline ColourSet ColoursOf(const std::uint8_t* pixels, int count) {
    unsigned set = 0;
    for (int x = 0; x < count; ++x) set |= 1u << (pixels[x] & 15);
    return static_cast<ColourSet>(set & 0xFFFE);
}

// Whether two layers show the set as the two-layer tables split it: at most two colours, or
// three where the greatest is the OR of the other two.
bool FitsTwoLayers(ColourSet set);

// The layers of a set's smallest basis, ascending, and their count (0 to 4): among the smallest,
// one made of the set's own colours if there is one, and of those the least in ascending order.
struct Basis {
    std::array<std::uint8_t, kMostLayers> colours{};
    int count = 0;
};
Basis SmallestBasis(ColourSet set);

// Every set's smallest basis, packed in four nibbles (the least colour lowest, 0 in the nibbles
// past it), indexed by the set shifted right by one: what SmallestBasis looks up.
std::vector<std::uint16_t> MakeBasisTable();
// That table, made once at its first use.
const std::vector<std::uint16_t>& BasisTable();

// The colours v (1 to 15) that hold every bit of b: those a layer of colour b is set for.
constexpr ColourSet Supersets(unsigned b) {
    unsigned set = 0;
    for (unsigned v = 1; v < 16; ++v) {
        if ((v & b) == b) set |= 1u << v;
    }
    return static_cast<ColourSet>(set);
}

// Supersets(c) of every colour c, low bytes then high bytes: the tables of a byte shuffle.
alignas(16) inline constexpr auto kSupersetBytes = [] {
    std::array<std::array<std::uint8_t, 16>, 2> bytes{};
    for (unsigned c = 0; c < 16; ++c) {
        bytes[0][c] = static_cast<std::uint8_t>(Supersets(c) & 0xFF);
        bytes[1][c] = static_cast<std::uint8_t>(Supersets(c) >> 8);
    }
    return bytes;
}();

// The layers a line of these colours needs: its smallest basis's size.
inline int LayersNeeded(ColourSet set) {
    return SmallestBasis(set).count;
}

// How a line of these colours is split into `layers` layers (3 or 4): the colours each layer is
// set for, and each layer's colour byte (the OR bit, 0x40, on every layer after the first). A line
// that fits two layers is split as the two-layer tables split it, in layers 1 and 2; any other by
// its smallest basis, the first `layers` colours of it when it needs more (too rich: `fits` false).
// Layers past the split hold nothing and colour 0 with the OR bit.
struct LayerSplit {
    std::array<ColourSet, kMostLayers> members{};
    std::array<std::uint8_t, kMostLayers> colourBytes{};
    bool fits = true;
};
void SplitColours(ColourSet set, int layers, LayerSplit& split);
