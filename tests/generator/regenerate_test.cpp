// The options choose the generator; breaches are reported by the last code set.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "example_tables.h"
#include "generator/table_kinds.h"

namespace {

struct ChoiceRow {
    const char* name;
    GeneratorOptions options;
    const char* text;
    int resultCode;
};

class GeneratorChoice : public testing::TestWithParam<ChoiceRow> {};

// One row of colours 1, 2 and 3 = 1 OR 2: every generator writes something different for it.
TEST_P(GeneratorChoice, WritesThatGeneratorsText) {
    const std::vector<std::uint8_t> buffer = {8, 1, 1, 0, 1, 2, 3, 0, 0, 0, 0};
    const GenerationResult result = Regenerate(CaptureDocument(buffer.data()), GetParam().options);
    EXPECT_EQ(result.text, GetParam().text);
    EXPECT_EQ(result.resultCode, GetParam().resultCode);
    // The kind's row names the tables its generator makes.
    const TableKindRow& kind = ChooseTableKind(GetParam().options);
    const GeneratedTables tables =
        GenerateTables(CaptureDocument(buffer.data()), GetParam().options);
    ASSERT_EQ(tables.shapes.size(), kind.roleCount);
    for (std::size_t t = 0; t < kind.roleCount; ++t)
        EXPECT_EQ(tables.shapes[t].role, kind.roles[t]);
}

constexpr auto kSprite = OutputType::kSprite;
constexpr auto kChr = OutputType::kChr;

INSTANTIATE_TEST_SUITE_P(
    Rows, GeneratorChoice,
    testing::Values(
        ChoiceRow{"SpritePatternsOnly", {kSprite, 1, false, 1}, "#70", kNoError},
        ChoiceRow{"SpriteWithColourLine", {kSprite, 1, true, 1}, "#70,\r\n#01", kNoError},
        ChoiceRow{
            "TwoLayersWithColours", {kSprite, 2, true, 1}, "#50,\r\n#30,\r\n#01,\r\n#42", kNoError},
        ChoiceRow{
            "TwoLayersWithoutColours", {kSprite, 2, false, 1}, "#40,\r\n#20", kTooManyColours},
        ChoiceRow{"Chr", {kChr, 1, false, 1}, "#70,#10\r\n", kNoError},
        ChoiceRow{"ChrIgnoresColourData", {kChr, 1, true, 1}, "#70,#10\r\n", kNoError},
        ChoiceRow{"ChrIgnoresTwoLayers", {kChr, 2, false, 1}, "#70,#10\r\n", kNoError},
        ChoiceRow{"ChrIgnoresBoth", {kChr, 2, true, 1}, "#70,#10\r\n", kNoError}),
    [](const auto& row) { return std::string(row.param.name); });

struct OrderRow {
    const char* name;
    GeneratorOptions options;
    int width;
    int height;
    Pixels pixels;
    int resultCode;
};

class ResultCodeOrder : public testing::TestWithParam<OrderRow> {};

TEST_P(ResultCodeOrder, LastBreachWins) {
    const OrderRow& row = GetParam();
    const std::vector<std::uint8_t> buffer = SpriteFileImage(row.width, row.height, row.pixels);
    const GenerationResult result = Regenerate(CaptureDocument(buffer.data()), row.options);
    EXPECT_EQ(result.resultCode, row.resultCode) << ResultMessage(result.resultCode);
}

const Pixels kNotOr = {1, 3, 4, 0, 0, 0, 0, 0};        // code 2
const Pixels kFourColours = {1, 2, 3, 4, 0, 0, 0, 0};  // code 3 (1, 2, 3 keep the OR rule)
const Pixels kOneColour = {1, 0, 0, 0, 0, 0, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Rows, ResultCodeOrder,
    testing::Values(
        OrderRow{"LaterCelReplacesCode", TwoLayerOptions(), 8, 1, Join({kNotOr, kFourColours}),
                 kTooManyColours},
        OrderRow{"LaterCelReplacesCodeReversed", TwoLayerOptions(), 8, 1,
                 Join({kFourColours, kNotOr}), kNotOrColour},
        OrderRow{"LaterRowReplacesCode", TwoLayerOptions(), 8, 2, Join({kFourColours, kNotOr}),
                 kNotOrColour},
        OrderRow{"LaterRowReplacesCodeReversed", TwoLayerOptions(), 8, 2,
                 Join({kNotOr, kFourColours}), kTooManyColours},
        OrderRow{"CleanRowsKeepCode", TwoLayerOptions(), 8, 2, Join({kNotOr, kOneColour}),
                 kNotOrColour},
        // Left pass: row 0 sets 3, row 1 sets 2; the right pass then sets 3 for row 0 again.
        OrderRow{"RightPassFindsFourthColourLast", TwoLayerOptions(), 16, 2,
                 Join({kFourColours, Zeros(8), kNotOr, Zeros(8)}), kTooManyColours},
        OrderRow{"NoColorCleanCelKeepsCode", TwoLayerNoColorOptions(), 8, 1,
                 Join({kNotOr, kOneColour}), kTooManyColours},
        OrderRow{"NoColorThirdColourAcrossRows", TwoLayerNoColorOptions(), 8, 2,
                 Join({{1, 2}, Zeros(6), {4}, Zeros(7)}), kTooManyColours},
        OrderRow{"SpriteNeverSetsCode", SpriteOptions(true), 8, 1, kFourColours, kNoError},
        OrderRow{"ChrNeverSetsCode", ChrOptions(), 8, 1, kFourColours, kNoError}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ResultMessage, NamesEveryCode) {
    EXPECT_EQ(ResultMessage(kNoError), "no error");
    EXPECT_EQ(ResultMessage(kColourCodeNotFound), "color code not found");
    EXPECT_EQ(ResultMessage(kNotOrColour), "3rd color is not or'ing color");
    EXPECT_EQ(ResultMessage(kTooManyColours), "too many colors");
}

TEST(CaptureDocument, ReadsHeaderAsSigned8BitValues) {
    const std::uint8_t largest[] = {64, 64, 100};
    const CapturedDocument doc = CaptureDocument(largest);
    EXPECT_EQ(doc.buffer, largest);
    EXPECT_EQ(doc.width, 64);
    EXPECT_EQ(doc.height, 64);
    EXPECT_EQ(doc.celCount, 100);
    const std::uint8_t highBits[] = {0x80, 0xFF, 0x7F};
    const CapturedDocument negative = CaptureDocument(highBits);
    EXPECT_EQ(negative.width, -128);
    EXPECT_EQ(negative.height, -1);
    EXPECT_EQ(negative.celCount, 127);
}

}  // namespace
