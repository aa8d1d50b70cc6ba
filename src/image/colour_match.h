#pragma once
// The colour index of a picture's pixel, from the sixteen colours of the colour strip: the same
// colours the PNG export paints with, so an exported picture matches back exactly.

#include <array>
#include <cstdint>
#include <string>

#include "image/rgb_image.h"

// The colour of each index: the top-left pixel of its swatch (x = index * 16, y = 0), the pixel
// the export puts at the top-left of every 2 x 2 block. Always opaque. The strip must fit
// (ColourStripFits).
using StripColours = std::array<std::uint32_t, 16>;
StripColours StripColoursOf(const RgbImage& colourStrip);

// How a pixel's colour found its index.
enum class ColourMatch {
    kExact,        // an opaque colour that one strip colour has
    kShared,       // an opaque colour that several strip colours have: the lowest index
    kTransparent,  // alpha 0, whatever the colour: index 0
    kNearest,      // any other colour (partly transparent ones too): the nearest strip colour of
                   // 1 to 15, never 0, the transparent background
};

struct MatchedColour {
    std::uint8_t index = 0;
    ColourMatch how = ColourMatch::kExact;
};

// Matches a colour 0xAARRGGBB. The nearest colour is the one of 1 to 15 at the smallest
// ColourDistance; of equally near ones, the lowest index. Colour 0 comes only from alpha 0 or
// exactly its strip colour.
MatchedColour MatchColour(std::uint32_t argb, const StripColours& strip);

// How far apart two colours look (their alpha is left out): the "redmean" weighted RGB distance,
// squared and times 256, so it stays a whole number. Red and blue weigh by how red the two colours
// are on average; green weighs most.
std::int64_t ColourDistance(std::uint32_t a, std::uint32_t b);

// "#7F3F00", or "#7F3F00 with alpha 128" for a colour that is not opaque.
std::string ColourText(std::uint32_t argb);
