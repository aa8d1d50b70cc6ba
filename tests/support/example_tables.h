#pragma once
// Pictures with the exact text the generator must write for them, shared by the library tests
// and the end-to-end tests of spritehex-cli.

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "generator/regenerate.h"

using Pixels = std::vector<std::uint8_t>;

// Pieces of a picture run together: Join({Zeros(8), {9}, Zeros(7)}).
Pixels Join(std::initializer_list<Pixels> pieces);
Pixels Zeros(int count);

struct TableExample {
    std::string name;  // what the row shows, a test name
    int width = 0;
    int height = 0;
    Pixels pixels;  // every cel, row by row
    GeneratorOptions options;
    std::vector<std::string> lines;
    int resultCode = kNoError;

    int CelCount() const { return static_cast<int>(pixels.size()) / (width * height); }
    // The lines joined by CR LF; character tables end with a line break too.
    std::string ExpectedText() const;
    // The header and the cels, exactly the bytes of the .dat file.
    std::vector<std::uint8_t> FileImage() const;
};

// The .dat file image of a picture: header, then every cel.
std::vector<std::uint8_t> SpriteFileImage(int width, int height, const Pixels& pixels);

// Lets GoogleTest print a failing row by its name.
void PrintTo(const TableExample& example, std::ostream* os);

// Option sets by generator.
GeneratorOptions SpriteOptions(bool colorData, int comma = kCommaOn);
GeneratorOptions ChrOptions(int comma = kCommaOn);
GeneratorOptions TwoLayerOptions(int comma = kCommaOn);
GeneratorOptions TwoLayerNoColorOptions(int comma = kCommaOn);

// The documented examples of each kind of table.
const std::vector<TableExample>& SpriteExamples();
const std::vector<TableExample>& ChrExamples();
const std::vector<TableExample>& TwoLayerExamples();
const std::vector<TableExample>& TwoLayerNoColorExamples();
// Columns that reach past the row's last pixel (widths below 8 and from 9 to 15), every generator.
const std::vector<TableExample>& ShortColumnExamples();
// Sprite sets: cels cut into pieces, empty pieces left out.
const std::vector<TableExample>& SpriteSetExamples();
