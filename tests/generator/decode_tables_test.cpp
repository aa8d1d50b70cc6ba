// Tables back into pixels: a picture per kind of tables as the chip shows it, and, for every
// example and random cels, the rows the decoded tables show otherwise than drawn are exactly the
// rows the check names.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "example_tables.h"
#include "generator/chip_row.h"
#include "generator/clashes.h"
#include "generator/decode_tables.h"

namespace {

struct DecodeRow {
    const char* name;
    int width;
    int height;
    Pixels drawn;
    GeneratorOptions options;
    Pixels shown;
    std::vector<std::string> texts;  // what the state line says of each row
};

class Decode : public testing::TestWithParam<DecodeRow> {};

TEST_P(Decode, ShowsTheCelAsTheChipDoes) {
    const DecodeRow& row = GetParam();
    const std::vector<std::uint8_t> image = SpriteFileImage(row.width, row.height, row.drawn);
    ChipCel chip;
    chip.Show(CaptureDocument(image.data()), 0, row.options);
    EXPECT_EQ(Pixels(chip.Pixels(), chip.Pixels() + row.shown.size()), row.shown);
    for (int r = 0; r < row.height; ++r) EXPECT_EQ(DescribeChipRow(chip, r), row.texts.at(r));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Decode,
    testing::Values(
        // No colour data: every drawn pixel in the cel's first colour.
        DecodeRow{"OneLayerTheCelsFirstColour",
                  5,
                  2,
                  {0, 7, 0, 0, 3,  //
                   3, 0, 0, 0, 0},
                  SpriteOptions(false),
                  {0, 7, 0, 0, 7,  //
                   7, 0, 0, 0, 0},
                  {"row 0: as drawn", "row 1: as drawn"}},
        DecodeRow{"OneLayerTheLinesFirstColour",
                  10,
                  1,
                  {0, 4, 0, 0, 0, 0, 0, 0, 9, 0},
                  SpriteOptions(true),
                  {0, 4, 0, 0, 0, 0, 0, 0, 4, 0},
                  {"row 0: 4 and 9: the line takes 4"}},
        // 1 | 2 is 3; 4 is not, so it shows as 3; a fourth colour is dropped.
        DecodeRow{"TwoLayersOr",
                  8,
                  2,
                  {1, 2, 3, 0, 0, 0, 0, 0,  //
                   1, 2, 4, 8, 0, 0, 0, 0},
                  TwoLayerOptions(),
                  {1, 2, 3, 0, 0, 0, 0, 0,  //
                   1, 2, 3, 0, 0, 0, 0, 0},
                  {"row 0: 1 | 2 OR → 3", "row 1: 1 | 2 OR → 3; 4 shows as 3; 8 is dropped"}},
        DecodeRow{"TwoLayersTheCelsTwoColours",
                  4,
                  2,
                  {5, 6, 0, 0,  //
                   6, 7, 5, 0},
                  TwoLayerNoColorOptions(),
                  {5, 6, 0, 0,  //
                   6, 0, 5, 0},
                  {"row 0: as drawn", "row 1: 7 is dropped"}},
        // Layers 1, 2 and 4 OR to any colour of their bits; with three layers 8 needs a fourth.
        DecodeRow{"ThreeLayersOr",
                  8,
                  2,
                  {1, 2, 4, 7, 0, 0, 0, 0,  //
                   1, 2, 4, 8, 15, 0, 0, 0},
                  {OutputType::kSprite, 3, true},
                  {1, 2, 4, 7, 0, 0, 0, 0,  //
                   1, 2, 4, 0, 7, 0, 0, 0},
                  {"row 0: 1 | 2 OR | 4 OR → 1, 2, 4, 7",
                   "row 1: 1 | 2 OR | 4 OR → 1, 2, 4, 7; 8 is dropped; F shows as 7"}},
        DecodeRow{"ThreeLayersTheCelsThreeColours",
                  4,
                  1,
                  {5, 6, 7, 9},
                  {OutputType::kSprite, 3, false},
                  {5, 6, 7, 0},
                  {"row 0: 9 is dropped"}},
        // Per 8-pixel segment: the first pixel is the background, the first other one the
        // foreground; columns from 16 on are in no pattern.
        DecodeRow{"CharactersTwoColoursASegment",
                  18,
                  1,
                  {2, 2, 5, 9, 2, 0, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 3, 3},
                  ChrOptions(),
                  {2, 2, 5, 5, 2, 5, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                  {"row 0: 9 shows as 5; 0 shows as 5; columns 16–17 are in no table"}}),
    [](const auto& row) { return std::string(row.param.name); });

// The rows FindClashes names, read back from its lines ("cel 2, row 5...").
std::vector<CelRow> NamedRows(const std::vector<std::string>& lines) {
    std::set<std::pair<int, int>> rows;
    for (const std::string& line : lines) {
        int cel = 0;
        int row = 0;
        EXPECT_EQ(std::sscanf(line.c_str(), "cel %d, row %d", &cel, &row), 2) << line;
        rows.insert({cel - 1, row});
    }
    std::vector<CelRow> named;
    for (const auto& [cel, row] : rows) named.push_back({cel, row});
    return named;
}

// Every picture of the examples and random ones, with the options of every kind: the rows the
// decoded tables show otherwise than drawn are the rows the check names, and the rows whose words
// say what the chip shows otherwise.
TEST(Decode, RowsNotAsDrawnAreTheRowsTheCheckNames) {
    std::vector<std::pair<std::vector<std::uint8_t>, std::string>> images;
    for (const auto* examples :
         {&SpriteExamples(), &ChrExamples(), &TwoLayerExamples(), &TwoLayerNoColorExamples(),
          &ShortColumnExamples(), &SpriteSetExamples()}) {
        for (const TableExample& example : *examples) {
            images.emplace_back(example.FileImage(), example.name);
        }
    }
    std::mt19937 random(25);
    for (int round = 0; round < 400; ++round) {
        const int width = 1 + static_cast<int>(random() % 24);
        const int height = 1 + static_cast<int>(random() % (round % 4 == 0 ? 20 : 5));
        // Few colours make rows that show as drawn as likely as rows that do not.
        const auto colours = static_cast<unsigned>(1 + random() % 6);
        Pixels pixels(static_cast<std::size_t>(width * height * 2));
        for (auto& p : pixels) p = static_cast<std::uint8_t>(random() % colours * (1 + round % 3));
        images.emplace_back(SpriteFileImage(width, height, pixels),
                            "random " + std::to_string(round));
    }
    for (const auto& [image, name] : images) {
        const CapturedDocument doc = CaptureDocument(image.data());
        std::vector<GeneratorOptions> kinds = {ChrOptions(), SpriteOptions(false),
                                               SpriteOptions(true), TwoLayerOptions(),
                                               TwoLayerNoColorOptions()};
        for (const int layers : {3, 4, kAutoLayers}) {
            for (const bool colorData : {true, false}) {
                kinds.push_back({OutputType::kSprite, layers, colorData});
            }
        }
        const std::size_t sprites = kinds.size();
        for (const int pieces : {16, 8}) {
            for (std::size_t k = 1; k < sprites; ++k) {
                GeneratorOptions set = kinds[k];
                set.pieces = pieces;
                kinds.push_back(set);
            }
        }
        for (const GeneratorOptions& options : kinds) {
            const std::vector<CelRow> rows = RowsNotAsDrawn(doc, options);
            ASSERT_EQ(rows, NamedRows(FindClashes(doc, options)))
                << name << ", kind " << static_cast<int>(ChooseGenerator(options)) << ", pieces "
                << options.pieces;
            ChipCel chip;
            for (int cel = 0; cel < doc.celCount; ++cel) {
                chip.Show(doc, cel, options);
                for (int r = 0; r < doc.height; ++r) {
                    const std::string text = DescribeChipRow(chip, r);
                    bool otherwise = false;
                    for (const char* word : {"dropped", "shows as", "no table", "the line takes"}) {
                        otherwise |= text.find(word) != std::string::npos;
                    }
                    const bool marked = std::ranges::count(chip.Marks(), r, &RowMark::row) > 0;
                    ASSERT_EQ(otherwise, marked) << name << ": " << text;
                }
            }
        }
    }
}

}  // namespace
