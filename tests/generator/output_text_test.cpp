// Byte tokens, bit strings and the line rules of the output text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "generator/output_text.h"
#include "generator/two_layer_colours.h"

namespace {

struct BitsRow {
    const char* name;
    const char* bits;
    int value;
};

class BinToIntTest : public testing::TestWithParam<BitsRow> {};

TEST_P(BinToIntTest, ReadsMostSignificantBitFirst) {
    EXPECT_EQ(BinToInt(GetParam().bits), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Rows, BinToIntTest,
                         testing::Values(BitsRow{"EightBits", "00110000", 48},
                                         BitsRow{"BothEnds", "10000001", 129},
                                         BitsRow{"ShortStringIsRightAligned", "1000", 8},
                                         BitsRow{"EmptyIsZero", "", 0},
                                         BitsRow{"OtherCharacterIsSkipped", "1x1", 3}),
                         [](const auto& row) { return std::string(row.param.name); });

struct TokenRow {
    const char* name;
    const char* before;
    int comma;
    int value;
    const char* after;
};

class AppendHexByteTest : public testing::TestWithParam<TokenRow> {};

TEST_P(AppendHexByteTest, AppendsOneToken) {
    std::string tokens = GetParam().before;
    AppendHexByte(tokens, GetParam().comma, GetParam().value);
    EXPECT_EQ(tokens, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Rows, AppendHexByteTest,
                         testing::Values(TokenRow{"FirstTokenHasNoComma", "", 1, 48, "#30"},
                                         TokenRow{"LaterTokenGetsComma", "#30", 1, 5, "#30,#05"},
                                         TokenRow{"ZeroHasTwoDigits", "", 1, 0, "#00"},
                                         TokenRow{"CommaMode0BareDigits", "", 0, 48, "30"},
                                         TokenRow{"CommaMode0RunsTogether", "30", 0, 5, "3005"},
                                         TokenRow{"UpperCase", "", 0, 60, "3C"},
                                         TokenRow{"LargestByte", "", 0, 255, "FF"},
                                         TokenRow{"Value256HasThreeDigits", "", 0, 256, "100"},
                                         TokenRow{"Value4096HasFourDigits", "", 1, 4096, "#1000"},
                                         TokenRow{"NegativeIsTwosComplement", "", 0, -1,
                                                  "FFFFFFFF"},
                                         TokenRow{"OnlyCommaMode1IsOn", "30", 2, 5, "3005"}),
                         [](const auto& row) { return std::string(row.param.name); });

struct TokensRow {
    const char* name;
    std::vector<int> values;
    int comma;
    const char* text;
};

class AddTokensTest : public testing::TestWithParam<TokensRow> {};

// The whole token string of a line at once, after text that is already there.
TEST_P(AddTokensTest, AppendsTheTokenString) {
    OutputText out;
    out.AddText("A\n");
    out.AddTokens(GetParam().comma, GetParam().values);
    EXPECT_EQ(out.Text(), std::string("A\r\n") + GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AddTokensTest,
    testing::Values(TokensRow{"NoValues", {}, 1, ""},
                    TokensRow{"FirstTokenHasNoComma", {0x30}, 1, "#30"},
                    TokensRow{"CommasBetweenTokens", {0x30, 5, 255}, 1, "#30,#05,#FF"},
                    TokensRow{"CommaMode0RunsTogether", {0x30, 5, 255}, 0, "3005FF"},
                    TokensRow{"WideValueInCommaMode", {1, 256, 2}, 1, "#01,#100,#02"},
                    TokensRow{"WideValueInCommaMode0", {4335, 1}, 0, "10EF01"},
                    TokensRow{"NegativeValue", {-1}, 1, "#FFFFFFFF"}),
    [](const auto& row) { return std::string(row.param.name); });

struct SortRow {
    const char* name;
    std::vector<std::int32_t> before;
    int count;
    std::vector<std::int32_t> after;
};

class SortColorsTest : public testing::TestWithParam<SortRow> {};

TEST_P(SortColorsTest, SortsTheFirstCountEntries) {
    std::vector<std::int32_t> colours = GetParam().before;
    SortColors(colours.data(), GetParam().count);
    EXPECT_EQ(colours, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Rows, SortColorsTest,
                         testing::Values(SortRow{"ThreeByValue", {5, 1, 2}, 3, {1, 2, 5}},
                                         SortRow{"ThreeReversed", {9, 6, 3}, 3, {3, 6, 9}},
                                         SortRow{"TwoLeaveThirdAlone", {9, 6, 1}, 2, {6, 9, 1}},
                                         SortRow{"OneChangesNothing", {9, 6, 1}, 1, {9, 6, 1}},
                                         SortRow{"ZeroChangesNothing", {9, 6, 1}, 0, {9, 6, 1}},
                                         SortRow{"SignedComparison", {3, -1, 0}, 3, {-1, 0, 3}}),
                         [](const auto& row) { return std::string(row.param.name); });

struct TextRow {
    const char* name;
    std::vector<std::string> pieces;
    int comma;
    const char* text;  // after AddText of every piece, then AddCommas
};

class OutputTextTest : public testing::TestWithParam<TextRow> {};

TEST_P(OutputTextTest, AddTextThenAddCommas) {
    OutputText out;
    for (const std::string& piece : GetParam().pieces) out.AddText(piece);
    out.AddCommas(GetParam().comma);
    EXPECT_EQ(out.Text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OutputTextTest,
    testing::Values(TextRow{"LineFeedPieceOnlyEndsLine", {"A", "\n", "B"}, 0, "A\r\nB"},
                    TextRow{"LoneCarriageReturnBecomesBreak", {"A\rB"}, 0, "A\r\nB"},
                    TextRow{"CrLfStaysOneBreak", {"A\r\nB"}, 0, "A\r\nB"},
                    TextRow{
                        "CommaEndsAllButLastLine", {"#30,#00\n#05,#00"}, 1, "#30,#00,\r\n#05,#00"},
                    TextRow{"FinalBreakEndsNoLine", {"L1\nL2\n"}, 1, "L1,\r\nL2\r\n"},
                    TextRow{"SingleLineUnchanged", {"L1"}, 1, "L1"},
                    TextRow{"EmptyTextUnchanged", {}, 1, ""},
                    TextRow{"EmptyLineGetsNoComma", {"A\n\nB"}, 1, "A,\r\n\r\nB"},
                    TextRow{"EmptyLastLineBeforeFinalBreak", {"A\n\n"}, 1, "A,\r\n\r\n"},
                    TextRow{"CommaMode0ChangesNothing", {"L1\nL2"}, 0, "L1\r\nL2"},
                    TextRow{"OnlyCommaMode1AddsCommas", {"L1\nL2"}, 2, "L1\r\nL2"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
