#pragma once
// The sixteen colours of the classic 8-bit home-computer video chip that the generated tables are
// for, and the geometry of the two swatch strips the editor reads at start (pal.bmp, color.bmp).
// The strips are generated from this one table at build time (strip_maker.cpp); nothing else
// reads it.

#include <array>
#include <cstdint>

struct ChipRgb {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
};

// Index 0 is transparent on the chip. The palette strip paints it as a dark checker (kChecker*)
// so it can be told apart from black at a glance; the colour strip, which has no room for a
// pattern, gives it kTransparentFlat.
inline constexpr std::array<ChipRgb, 16> kChipColours = {{
    {0, 0, 0},        // 0 transparent (painted as a checker, see below)
    {0, 0, 0},        // 1 black
    {33, 200, 66},    // 2 medium green
    {94, 220, 120},   // 3 light green
    {84, 85, 237},    // 4 dark blue
    {125, 118, 252},  // 5 light blue
    {212, 82, 77},    // 6 dark red
    {66, 235, 245},   // 7 cyan
    {252, 85, 84},    // 8 medium red
    {255, 121, 120},  // 9 light red
    {212, 193, 84},   // 10 dark yellow
    {230, 206, 128},  // 11 light yellow
    {33, 176, 59},    // 12 dark green
    {201, 91, 186},   // 13 magenta
    {204, 204, 204},  // 14 grey
    {255, 255, 255},  // 15 white
}};

inline constexpr ChipRgb kCheckerDark = {28, 28, 36};
inline constexpr ChipRgb kCheckerLight = {56, 56, 68};
inline constexpr int kCheckerSquare = 4;  // edge of one checker square in screen pixels
inline constexpr ChipRgb kTransparentFlat = {48, 48, 56};

// pal.bmp: 16 swatches of kZoom x kZoom pixels side by side; its height is the editor's zoom.
inline constexpr int kZoom = 16;
// color.bmp: 16 swatches of 16 x 16 pixels side by side.
inline constexpr int kColourSwatch = 16;

// A faint grid line along the right and bottom edge of every palette swatch: the swatch colour
// moved one eighth of the way toward mid grey. The cursor frame leaves exactly these pixels
// visible.
constexpr ChipRgb GridShade(ChipRgb c) {
    const auto mix = [](std::uint8_t v) { return static_cast<std::uint8_t>((v * 7 + 128) / 8); };
    return {mix(c.r), mix(c.g), mix(c.b)};
}

// The palette strip's pixel (x, y) inside the swatch of colour index i.
constexpr ChipRgb PaletteSwatchPixel(int index, int x, int y) {
    ChipRgb c = kChipColours[static_cast<std::size_t>(index)];
    if (index == 0) {
        const bool dark = ((x / kCheckerSquare) + (y / kCheckerSquare)) % 2 == 0;
        c = dark ? kCheckerDark : kCheckerLight;
    }
    if (x == kZoom - 1 || y == kZoom - 1) c = GridShade(c);
    return c;
}

constexpr ChipRgb ColourStripPixel(int index) {
    return index == 0 ? kTransparentFlat : kChipColours[static_cast<std::size_t>(index)];
}
