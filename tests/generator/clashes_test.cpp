// The check names every row that the chosen tables cannot show as drawn, each with its place; for
// two layers it finds a clash exactly when a generation reports one.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "example_tables.h"
#include "generator/clashes.h"

namespace {

struct ClashRow {
    const char* name;
    int width;
    int height;
    Pixels pixels;
    GeneratorOptions options;
    std::vector<std::string> lines;
};

class Clashes : public testing::TestWithParam<ClashRow> {};

TEST_P(Clashes, NameEveryRow) {
    const ClashRow& row = GetParam();
    const std::vector<std::uint8_t> image = SpriteFileImage(row.width, row.height, row.pixels);
    EXPECT_EQ(FindClashes(CaptureDocument(image.data()), row.options), row.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Clashes,
    testing::Values(
        ClashRow{"TwoLayersNotOr",
                 8,
                 2,
                 Join({Zeros(8), {1, 3, 4}, Zeros(5)}),
                 TwoLayerOptions(),
                 {"cel 1, row 1: colours 1, 3, 4: 4 is not 1 OR 3"}},
        ClashRow{"TwoLayersOrColourIsFine", 8, 1, {0, 1, 2, 3, 0, 0, 0, 0}, TwoLayerOptions(), {}},
        ClashRow{"TwoLayersFourColoursInOrderOfAppearance",
                 8,
                 1,
                 {5, 1, 2, 3, 0, 0, 0, 0},
                 TwoLayerOptions(),
                 {"cel 1, row 0: 4 colours (5, 1, 2, 3); 3 is dropped"}},
        ClashRow{"TwoLayersFiveColoursSecondCel",
                 8,
                 1,
                 Join({Zeros(8), {5, 1, 2, 3, 4, 0, 0, 0}}),
                 TwoLayerOptions(),
                 {"cel 2, row 0: 5 colours (5, 1, 2, 3, 4); 3 and 4 are dropped"}},
        ClashRow{"TwoLayersWithoutColourDataEveryRowOfTheThird",
                 8,
                 3,
                 Join({{1, 2}, Zeros(6), {3, 1}, Zeros(6), {4, 3}, Zeros(6)}),
                 TwoLayerNoColorOptions(),
                 {"cel 1, row 1: colour 3 is not one of the cel's two (1 and 2); it is dropped",
                  "cel 1, row 2: colours 4 and 3 are not one of the cel's two (1 and 2); they "
                  "are dropped"}},
        ClashRow{"OneLayerColourData",
                 8,
                 2,
                 Join({Zeros(8), {0, 5, 7, 5}, Zeros(4)}),
                 SpriteOptions(true),
                 {"cel 1, row 1: colours 5 and 7; the line takes 5"}},
        ClashRow{"OneLayerWithoutColourDataHasNoColours",
                 8,
                 1,
                 {5, 7, 9, 0, 0, 0, 0, 0},
                 SpriteOptions(false),
                 {}},
        ClashRow{"ChrThirdColourInTheRightSegment",
                 16,
                 1,
                 Join({{1, 4, 1, 1, 1, 1, 1, 1}, {1, 4, 6, 7, 1, 1, 1, 1}}),
                 ChrOptions(),
                 {"cel 1, row 0, columns 8 to 15: colours 1, 4, 6 and 7; 6 and 7 are drawn as 4"}},
        ClashRow{"ChrColourZeroIsAColour",
                 4,
                 1,
                 {0, 4, 6, 0},
                 ChrOptions(),
                 {"cel 1, row 0, columns 0 to 3: colours 0, 4 and 6; 6 is drawn as 4"}},
        ClashRow{"ColumnsPast15",
                 32,
                 1,
                 Join({{1}, Zeros(17), {2}, Zeros(9), {2}, Zeros(3)}),
                 SpriteOptions(false),
                 {"cel 1, row 0: columns 18 to 28 are not in any sprite pattern"}},
        ClashRow{"ColumnsPast15UpToTheLastOfAShortRun",
                 40,
                 1,
                 Join({Zeros(16), {3}, Zeros(22), {5}}),
                 SpriteOptions(false),
                 {"cel 1, row 0: columns 16 to 39 are not in any sprite pattern"}},
        ClashRow{"OneColumnPast15AfterAColourClash",
                 24,
                 1,
                 Join({{1, 2}, Zeros(18), {3}, Zeros(3)}),
                 SpriteOptions(true),
                 {"cel 1, row 0: colours 1, 2 and 3; the line takes 1",
                  "cel 1, row 0: column 20 is not in any sprite pattern"}},
        ClashRow{"ColumnsPast15OfCharacters",
                 24,
                 1,
                 Join({Zeros(16), {0, 9}, Zeros(6)}),
                 ChrOptions(),
                 {"cel 1, row 0: column 17 is not in any character pattern"}},
        ClashRow{"WidthSixteenIsAllInPatterns", 16, 1, Pixels(16, 1), SpriteOptions(false), {}}),
    [](const auto& row) { return std::string(row.param.name); });

// Two-layer tables report a result code exactly when the check finds a colour clash.
TEST(Clashes, TwoLayersAgreeWithTheResultCode) {
    std::mt19937 random(3);
    for (int round = 0; round < 500; ++round) {
        const int width = 1 + static_cast<int>(random() % 20);
        const int height = 1 + static_cast<int>(random() % 4);
        const auto colours = static_cast<unsigned>(1 + random() % 6);
        Pixels pixels(static_cast<std::size_t>(width * height * 2));
        for (auto& p : pixels) p = static_cast<std::uint8_t>(random() % colours);
        const std::vector<std::uint8_t> image = SpriteFileImage(width, height, pixels);
        for (const GeneratorOptions& options : {TwoLayerOptions(), TwoLayerNoColorOptions()}) {
            const CapturedDocument doc = CaptureDocument(image.data());
            std::size_t colourClashes = 0;
            for (const std::string& line : FindClashes(doc, options)) {
                colourClashes += line.find("pattern") == std::string::npos;
            }
            ASSERT_EQ(colourClashes > 0, Regenerate(doc, options).resultCode != kNoError)
                << "round " << round;
        }
    }
}

}  // namespace
