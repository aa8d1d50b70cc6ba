// Every documented picture through the generator the options choose: exact text and result code.
#include <gtest/gtest.h>

#include "example_tables.h"

namespace {

class GeneratedText : public testing::TestWithParam<TableExample> {};

TEST_P(GeneratedText, IsExact) {
    const TableExample& example = GetParam();
    // Exactly the document's bytes, so that a read past the last cel is caught by the sanitizer.
    const std::vector<std::uint8_t> buffer = example.FileImage();
    const GenerationResult result = Regenerate(CaptureDocument(buffer.data()), example.options);
    EXPECT_EQ(result.text, example.ExpectedText());
    EXPECT_EQ(result.resultCode, example.resultCode) << ResultMessage(result.resultCode);
}

const auto kName = [](const testing::TestParamInfo<TableExample>& row) { return row.param.name; };

INSTANTIATE_TEST_SUITE_P(SpriteTables, GeneratedText, testing::ValuesIn(SpriteExamples()), kName);
INSTANTIATE_TEST_SUITE_P(ChrTables, GeneratedText, testing::ValuesIn(ChrExamples()), kName);
INSTANTIATE_TEST_SUITE_P(TwoLayerTables, GeneratedText, testing::ValuesIn(TwoLayerExamples()),
                         kName);
INSTANTIATE_TEST_SUITE_P(TwoLayerNoColorTables, GeneratedText,
                         testing::ValuesIn(TwoLayerNoColorExamples()), kName);
INSTANTIATE_TEST_SUITE_P(ShortColumns, GeneratedText, testing::ValuesIn(ShortColumnExamples()),
                         kName);
INSTANTIATE_TEST_SUITE_P(SpriteSets, GeneratedText, testing::ValuesIn(SpriteSetExamples()), kName);

}  // namespace
