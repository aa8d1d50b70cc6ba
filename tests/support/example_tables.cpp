#include "example_tables.h"

#include <algorithm>
#include <array>

Pixels Join(std::initializer_list<Pixels> pieces) {
    Pixels all;
    for (const Pixels& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
    return all;
}

Pixels Zeros(int count) {
    return Pixels(static_cast<std::size_t>(count), 0);
}

std::string TableExample::ExpectedText() const {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines[i];
    }
    if (options.outputType == OutputType::kChr) text += "\r\n";
    return text;
}

std::vector<std::uint8_t> TableExample::FileImage() const {
    return SpriteFileImage(width, height, pixels);
}

std::vector<std::uint8_t> SpriteFileImage(int width, int height, const Pixels& pixels) {
    std::vector<std::uint8_t> image(3 + pixels.size());
    image[0] = static_cast<std::uint8_t>(width);
    image[1] = static_cast<std::uint8_t>(height);
    image[2] = static_cast<std::uint8_t>(pixels.size() / static_cast<std::size_t>(width * height));
    std::copy(pixels.begin(), pixels.end(), image.begin() + 3);
    return image;
}

void PrintTo(const TableExample& example, std::ostream* os) {
    *os << example.name;
}

GeneratorOptions SpriteOptions(bool colorData, int comma) {
    return {OutputType::kSprite, 1, colorData, comma};
}
GeneratorOptions ChrOptions(int comma) {
    return {OutputType::kChr, 1, false, comma};
}
GeneratorOptions TwoLayerOptions(int comma) {
    return {OutputType::kSprite, 2, true, comma};
}
GeneratorOptions TwoLayerNoColorOptions(int comma) {
    return {OutputType::kSprite, 2, false, comma};
}

namespace {

const GeneratorOptions kColour = SpriteOptions(true);
const GeneratorOptions kNoColour = SpriteOptions(false);
const Pixels kWide2Rows = Join({Zeros(8), {9}, Zeros(7), Zeros(7), {3}, Zeros(7), {1}});

}  // namespace

const std::vector<TableExample>& SpriteExamples() {
    static const std::vector<TableExample> rows = {
        {"PatternAndColourLine", 8, 1, {0, 0, 5, 5, 0, 0, 0, 0}, kColour, {"#30,", "#05"}},
        {"NoColourData", 8, 1, {0, 0, 5, 5, 0, 0, 0, 0}, kNoColour, {"#30"}},
        {"FirstDrawnPixelDecidesColour", 8, 1, {0, 6, 0, 0, 0, 0, 0, 2}, kColour, {"#41,", "#06"}},
        {"EmptyLineHasColour00",
         8,
         2,
         Join({{0, 0, 5, 5}, Zeros(12)}),
         kColour,
         {"#30,#00,", "#05,#00"}},
        {"EmptyLineCommaMode0",
         8,
         2,
         Join({{0, 0, 5, 5}, Zeros(12)}),
         SpriteOptions(true, 0),
         {"3000", "0500"}},
        {"AllBackground", 8, 3, Zeros(24), kColour, {"#00,#00,#00,", "#00,#00,#00"}},
        {"NarrowRowIsRightAligned",
         4,
         2,
         {5, 0, 0, 0, 0, 0, 0, 7},
         kColour,
         {"#08,#01,", "#05,#07"}},
        {"LeftColumnThenRightColumn", 16, 2, kWide2Rows, kColour, {"#00,#01,#80,#01,", "#09,#03"}},
        {"LeftColumnThenRightColumnCommaMode0",
         16,
         2,
         kWide2Rows,
         SpriteOptions(true, 0),
         {"00018001", "0903"}},
        {"LeftColumnThenRightColumnNoColourData",
         16,
         2,
         kWide2Rows,
         kNoColour,
         {"#00,#01,#80,#01"}},
        {"PixelBeyond16OnlySetsColour",
         24,
         1,
         Join({Zeros(20), {4, 0, 0, 0}}),
         kColour,
         {"#00,#00,", "#04"}},
        {"TwoCels",
         8,
         1,
         {0, 0, 5, 5, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 1},
         kColour,
         {"#30,", "#05,", "#81,", "#03"}},
        {"TwoCelsNoColourData",
         8,
         1,
         {0, 0, 5, 5, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 1},
         kNoColour,
         {"#30,", "#81"}},
        {"TwoCelsCommaMode0",
         8,
         1,
         {0, 0, 5, 5, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 1},
         SpriteOptions(true, 0),
         {"30", "05", "81", "03"}},
    };
    return rows;
}

const std::vector<TableExample>& ChrExamples() {
    const GeneratorOptions chr = ChrOptions();
    static const std::vector<TableExample> rows = {
        {"BackgroundZero", 8, 1, {0, 0, 5, 5, 0, 0, 0, 0}, chr, {"#30,#50"}},
        {"FirstPixelIsBackground", 8, 1, {7, 7, 7, 0, 0, 7, 7, 7}, chr, {"#18,#07"}},
        {"Bit7AlwaysZero", 8, 1, {5, 0, 0, 0, 0, 0, 0, 0}, chr, {"#7F,#05"}},
        {"SingleColour", 8, 1, {2, 2, 2, 2, 2, 2, 2, 2}, chr, {"#00,#22"}},
        {"Colour15", 8, 1, {15, 15, 0, 0, 15, 15, 0, 0}, chr, {"#33,#0F"}},
        {"ThreeColoursFirstDifferentIsForeground",
         8,
         1,
         {0, 4, 4, 6, 6, 0, 0, 0},
         chr,
         {"#78,#40"}},
        {"EightColours", 8, 1, {1, 2, 3, 4, 5, 6, 7, 8}, chr, {"#7F,#21"}},
        {"EachRowOwnColours",
         8,
         2,
         {0, 0, 5, 5, 0, 0, 0, 0, 7, 7, 7, 0, 0, 7, 7, 7},
         chr,
         {"#30,#18,#50,#07"}},
        {"EachRowOwnColoursCommaMode0",
         8,
         2,
         {0, 0, 5, 5, 0, 0, 0, 0, 7, 7, 7, 0, 0, 7, 7, 7},
         ChrOptions(0),
         {"3018,5007"}},
        {"TwoCels",
         8,
         1,
         {0, 0, 5, 5, 0, 0, 0, 0, 7, 7, 7, 0, 0, 7, 7, 7},
         chr,
         {"#30,#50,", "#18,#07"}},
        {"TwoCelsCommaMode0",
         8,
         1,
         {0, 0, 5, 5, 0, 0, 0, 0, 7, 7, 7, 0, 0, 7, 7, 7},
         ChrOptions(0),
         {"30,50", "18,07"}},
        {"ThreeEmptyCels", 8, 1, Zeros(24), chr, {"#00,#00,", "#00,#00,", "#00,#00"}},
        {"LeftColumnThenRightColumn", 16, 2, kWide2Rows, chr, {"#00,#01,#7F,#01,#00,#30,#09,#10"}},
        {"LeftColumnThenRightColumnCommaMode0",
         16,
         2,
         kWide2Rows,
         ChrOptions(0),
         {"00017F01,00300910"}},
        {"PixelsBeyond16NeverAppear",
         24,
         1,
         Join({Zeros(16), {1, 2, 3, 4, 5, 6, 7, 8}}),
         chr,
         {"#00,#00,#00,#00"}},
    };
    return rows;
}

const std::vector<TableExample>& TwoLayerExamples() {
    const GeneratorOptions two = TwoLayerOptions();
    const Pixels basic = {0, 1, 2, 3, 0, 0, 0, 0};
    static const std::vector<TableExample> rows = {
        {"BasicThreeColourRow", 8, 1, basic, two, {"#50,", "#30,", "#01,", "#42"}},
        {"BasicThreeColourRowCommaMode0",
         8,
         1,
         basic,
         TwoLayerOptions(0),
         {"50", "30", "01", "42"}},
        {"SecondRowWithOneColour",
         8,
         2,
         Join({basic, {4, 4}, Zeros(6)}),
         two,
         {"#50,#C0,", "#30,#00,", "#01,#04,", "#42,#40"}},
        {"TwoColoursSortedByValue",
         8,
         1,
         {9, 9, 6, 6, 0, 0, 0, 0},
         two,
         {"#30,", "#C0,", "#06,", "#49"}},
        {"EmptyRow", 8, 1, Zeros(8), two, {"#00,", "#00,", "#00,", "#40"}},
        {"OrRuleBroken",
         8,
         1,
         {1, 3, 4, 0, 0, 0, 0, 0},
         two,
         {"#A0,", "#60,", "#01,", "#43"},
         kNotOrColour},
        {"FourColoursWidth8",
         8,
         1,
         {5, 1, 2, 3, 0, 0, 0, 0},
         two,
         {"#C0,", "#A0,", "#01,", "#42"},
         kNotOrColour},
        {"FourColoursWidth16",
         16,
         1,
         Join({{5, 1, 2, 3}, Zeros(12)}),
         two,
         {"#C0,#00,", "#A0,#00,", "#01,", "#42"},
         kTooManyColours},
        {"Width16TwoRows",
         16,
         2,
         Join({{1}, Zeros(7), {2}, Zeros(6), {3}, Zeros(15), {1}}),
         two,
         {"#80,#00,#01,#01,", "#00,#00,#81,#00,", "#01,#01,", "#42,#40"}},
        {"Width24ColourBeyond16",
         24,
         1,
         Join({{5, 6}, Zeros(14), {1}, Zeros(7)}),
         two,
         {"#40,#00,", "#C0,#00,", "#01,", "#45"},
         kNotOrColour},
        {"TwoCels",
         8,
         1,
         Join({basic, {4}, Zeros(7)}),
         two,
         {"#50,", "#30,", "#01,", "#42,", "#80,", "#00,", "#04,", "#40"}},
        {"TwoCelsCommaMode0",
         8,
         1,
         Join({basic, {4}, Zeros(7)}),
         TwoLayerOptions(0),
         {"50", "30", "01", "42", "80", "00", "04", "40"}},
    };
    return rows;
}

const std::vector<TableExample>& TwoLayerNoColorExamples() {
    const GeneratorOptions two = TwoLayerNoColorOptions();
    const Pixels appearance = {0, 5, 5, 0, 3, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 5};
    static const std::vector<TableExample> rows = {
        {"OrderOfAppearanceDecidesLayers", 8, 2, appearance, two, {"#60,#01,", "#08,#80"}},
        {"OrderOfAppearanceCommaMode0",
         8,
         2,
         appearance,
         TwoLayerNoColorOptions(0),
         {"6001", "0880"}},
        {"SingleColour", 8, 1, {7, 0, 7, 0, 0, 0, 0, 0}, two, {"#A0,", "#00"}},
        {"ThirdColourDroppedEvenIfOr",
         8,
         1,
         {1, 2, 3, 0, 0, 0, 0, 0},
         two,
         {"#80,", "#40"},
         kTooManyColours},
        {"Width16",
         16,
         2,
         Join({{1}, Zeros(14), {2}, Zeros(16)}),
         two,
         {"#80,#00,#00,#00,", "#00,#00,#01,#00"}},
        {"EachCelOwnColours",
         8,
         1,
         Join({{1, 2}, Zeros(6), {2, 1}, Zeros(6)}),
         two,
         {"#80,", "#40,", "#80,", "#40"}},
        {"EmptyCel", 8, 2, Zeros(16), two, {"#00,#00,", "#00,#00"}},
    };
    return rows;
}

const std::vector<TableExample>& ShortColumnExamples() {
    static const std::vector<TableExample> rows = {
        // Single layer: pixels 8 to W - 1 take bits 7 downwards, the other bits are 0.
        {"SpriteWidth12RightColumn",
         12,
         2,
         Join({Zeros(8), {1, 0, 0, 1}, {1, 1}, Zeros(9), {1}}),
         kColour,
         {"#00,#C0,#90,#10,", "#01,#01"}},
        {"SpriteWidth9RightColumn", 9, 1, Join({{1}, Zeros(7), {1}}), kColour, {"#80,#80,", "#01"}},
        // Character tables: missing pixels count as the segment's background.
        {"ChrNarrowSegmentPadsWithBackground",
         4,
         2,
         {5, 0, 0, 0, 2, 2, 2, 2},
         ChrOptions(),
         {"#70,#00,#05,#22"}},
        {"ChrNextRowNeverForeground",
         4,
         2,
         {3, 3, 3, 3, 6, 6, 6, 6},
         ChrOptions(),
         {"#00,#00,#33,#66"}},
        {"ChrWidth12RightSegment",
         12,
         2,
         Join({Zeros(8), {4, 4, 0, 0}, {1}, Zeros(11)}),
         ChrOptions(),
         {"#00,#7F,#30,#00,#00,#01,#04,#00"}},
        // Two layers: missing positions are 0 in both layers.
        {"TwoLayersNarrowRow",
         4,
         2,
         {1, 0, 0, 2, 1, 1, 2, 2},
         TwoLayerOptions(),
         {"#80,#C0,", "#10,#30,", "#01,#01,", "#42,#42"}},
        {"TwoLayersWidth12RightColumn",
         12,
         2,
         Join({Zeros(8), {1, 2, 0, 3}, {1, 2}, Zeros(10)}),
         TwoLayerOptions(),
         {"#00,#80,#90,#00,", "#00,#40,#50,#00,", "#01,#01,", "#42,#42"}},
        {"NoColorNarrowRow",
         4,
         2,
         {5, 0, 0, 3, 5, 5, 3, 3},
         TwoLayerNoColorOptions(),
         {"#80,#C0,", "#10,#30"}},
        {"NoColorWidth12RightColumn",
         12,
         2,
         Join({Zeros(8), {3, 0, 0, 3}, {3, 3}, Zeros(10)}),
         TwoLayerNoColorOptions(),
         {"#00,#C0,#90,#00,", "#00,#00,#00,#00"}},
    };
    return rows;
}

namespace {

// A picture of width x height with a few pixels drawn: {x, y, colour} each.
Pixels Dots(int width, int height, std::initializer_list<std::array<int, 3>> dots) {
    Pixels pixels = Zeros(width * height);
    for (const auto& [x, y, colour] : dots) {
        pixels[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint8_t>(colour);
    }
    return pixels;
}

// The Hex text of a line of bytes in comma mode, with its "," when more lines follow.
std::string HexLine(const Pixels& bytes, bool more) {
    std::string line;
    for (const std::uint8_t b : bytes) {
        line.append(line.empty() ? "#" : ",#").append(1, "0123456789ABCDEF"[b >> 4]);
        line.append(1, "0123456789ABCDEF"[b & 15]);
    }
    return more ? line + "," : line;
}

GeneratorOptions Pieces(GeneratorOptions options, int pieces) {
    options.pieces = pieces;
    return options;
}

}  // namespace

const std::vector<TableExample>& SpriteSetExamples() {
    static const std::vector<TableExample> rows = {
        // Two pieces above each other: entries at y 0 and 16, patterns 0 and 4.
        {"TallCelIsTwoSprites",
         16,
         32,
         Dots(16, 32, {{0, 0, 5}, {15, 16, 3}}),
         Pieces(SpriteOptions(false), 16),
         {HexLine(Join({{0x80}, Zeros(31), Zeros(16), {0x01}, Zeros(15)}), true),
          HexLine({0, 0, 0, 5, 16, 0, 4, 3, 0xD0}, false)}},
        // The lower left piece is empty: three sprites. With colour data an entry's colour is its
        // piece's first line's, 0 for the second and third.
        {"EmptyPieceIsLeftOut",
         32,
         32,
         Dots(32, 32, {{0, 0, 2}, {16, 1, 4}, {31, 31, 7}}),
         Pieces(SpriteOptions(true), 16),
         {HexLine(Join({{0x80}, Zeros(31), {0, 0x80}, Zeros(30), Zeros(31), {0x01}}), true),
          HexLine(Join({{2}, Zeros(15), {0, 4}, Zeros(14), Zeros(15), {7}}), true),
          HexLine({0, 0, 0, 2, 0, 16, 4, 0, 16, 16, 8, 0, 0xD0}, false)}},
    };
    return rows;
}
