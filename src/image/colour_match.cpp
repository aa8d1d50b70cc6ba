#include "image/colour_match.h"

#include <cstdio>

#include "image/colour_strip.h"

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

int Channel(std::uint32_t argb, int shift) {
    return static_cast<int>(argb >> shift & 0xFFu);
}

}  // namespace

StripColours StripColoursOf(const RgbImage& colourStrip) {
    StripColours colours{};
    for (int i = 0; i < 16; ++i)
        colours[static_cast<std::size_t>(i)] = colourStrip.At(i * kColourSwatchWidth, 0) | kOpaque;
    return colours;
}

std::int64_t ColourDistance(std::uint32_t a, std::uint32_t b) {
    const std::int64_t redMean = (Channel(a, 16) + Channel(b, 16)) / 2;
    const std::int64_t dr = Channel(a, 16) - Channel(b, 16);
    const std::int64_t dg = Channel(a, 8) - Channel(b, 8);
    const std::int64_t db = Channel(a, 0) - Channel(b, 0);
    return (512 + redMean) * dr * dr + 1024 * dg * dg + (767 - redMean) * db * db;
}

MatchedColour MatchColour(std::uint32_t argb, const StripColours& strip) {
    const std::uint32_t alpha = argb >> 24;
    if (alpha == 0) return {0, ColourMatch::kTransparent};
    if (alpha == 0xFF) {
        int found = -1;
        for (int i = 0; i < 16; ++i) {
            if (strip[static_cast<std::size_t>(i)] != argb) continue;
            if (found >= 0) return {static_cast<std::uint8_t>(found), ColourMatch::kShared};
            found = i;
        }
        if (found >= 0) return {static_cast<std::uint8_t>(found), ColourMatch::kExact};
    }
    // Colour 0 is the transparent background of every table: a colour that is seen is never
    // matched to it.
    int nearest = 1;
    std::int64_t best = ColourDistance(argb, strip[1]);
    for (int i = 2; i < 16; ++i) {
        const std::int64_t distance = ColourDistance(argb, strip[static_cast<std::size_t>(i)]);
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    return {static_cast<std::uint8_t>(nearest), ColourMatch::kNearest};
}

std::string ColourText(std::uint32_t argb) {
    char text[32];
    std::snprintf(text, sizeof text, "#%06X", argb & 0xFFFFFFu);
    std::string out = text;
    if (argb >> 24 != 0xFF) out += " with alpha " + std::to_string(argb >> 24);
    return out;
}
