// Every writer on small documents, its exact output written out: two cels, two layers, a width of
// 16, lines that wrap, each number style, CR LF; and what they refuse.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "example_tables.h"
#include "generator/hex_lines.h"
#include "generator/label_name.h"
#include "generator/writers.h"

namespace {

struct WriterRow {
    const char* name;
    int width;
    int height;
    Pixels pixels;
    GeneratorOptions options;
    TableFormat format;
    WriterOptions writer;
    std::string text;
};

void PrintTo(const WriterRow& row, std::ostream* os) {
    *os << row.name;
}

Result<std::string> Write(const WriterRow& row) {
    const std::vector<std::uint8_t> image = SpriteFileImage(row.width, row.height, row.pixels);
    return WriteTables(GenerateTables(CaptureDocument(image.data()), row.options), row.format,
                       row.writer);
}

class Writers : public testing::TestWithParam<WriterRow> {};

TEST_P(Writers, WriteExactly) {
    const Result<std::string> text = Write(GetParam());
    ASSERT_TRUE(text.ok()) << text.message();
    EXPECT_EQ(*text, GetParam().text);
}

WriterOptions Named(const char* name, NumberStyle style = NumberStyle::kDollar) {
    WriterOptions writer;
    writer.name = name;
    writer.source = std::string(name) + ".dat";
    writer.numberStyle = style;
    return writer;
}

WriterOptions WithCrLf(WriterOptions writer) {
    writer.crlf = true;
    return writer;
}

WriterOptions Directive(const char* directive) {
    WriterOptions writer = Named("s");
    writer.directive = directive;
    return writer;
}

WriterOptions Lines(int start, int step) {
    WriterOptions writer = Named("s");
    writer.lineStart = start;
    writer.lineStep = step;
    return writer;
}

// Two 8 x 1 cels: patterns 30 and 81, colours 05 and 03.
const Pixels kTwoCels = {0, 0, 5, 5, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 1};
// One row of colours 1, 2 and 3 = 1 OR 2: patterns 50 and 30, colours 01 and 42.
const Pixels kThreeColours = {0, 1, 2, 3, 0, 0, 0, 0};
// 16 x 2: the left column's rows 00 01, the right column's 80 01; colours 09 and 03.
const Pixels kWide = Join({Zeros(8), {9}, Zeros(7), Zeros(7), {3}, Zeros(7), {1}});
// 8 x 2: patterns A5 and 0C, for the number styles.
const Pixels kA5 = {1, 0, 1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0};
// 8 x 17, the first pixel of every row drawn: 17 pattern bytes of 80.
const Pixels kTall = [] {
    Pixels pixels = Zeros(8 * 17);
    for (std::size_t r = 0; r < 17; ++r) pixels[8 * r] = 1;
    return pixels;
}();
const std::string k16 = "$80,$80,$80,$80,$80,$80,$80,$80,$80,$80,$80,$80,$80,$80,$80,$80";

constexpr auto kAsm = TableFormat::kAsm;

INSTANTIATE_TEST_SUITE_P(
    Asm, Writers,
    testing::Values(
        WriterRow{"TwoCelsWithColourData", 8, 1, kTwoCels, SpriteOptions(true), kAsm, Named("walk"),
                  "walk_c1_pattern:\n\tdb $30\nwalk_c1_colour:\n\tdb $05\n"
                  "walk_c2_pattern:\n\tdb $81\nwalk_c2_colour:\n\tdb $03\n"},
        WriterRow{"TwoLayers", 8, 1, kThreeColours, TwoLayerOptions(), kAsm, Named("ship"),
                  "ship_c1_pattern1:\n\tdb $50\nship_c1_pattern2:\n\tdb $30\n"
                  "ship_c1_colour1:\n\tdb $01\nship_c1_colour2:\n\tdb $42\n"},
        WriterRow{
            "TwoLayersWithoutColourData",
            8,
            1,
            {1, 2, 0, 0, 0, 0, 0, 0},
            TwoLayerNoColorOptions(),
            kAsm,
            Named("s"),
            "s_c1_pattern1:\n\tdb $80\ns_c1_pattern2:\n\tdb $40\ns_c1_colours:\n\tdb $01,$02\n"},
        WriterRow{"Width16LeftColumnThenRight", 16, 2, kWide, SpriteOptions(true), kAsm, Named("w"),
                  "w_c1_pattern:\n\tdb $00,$01,$80,$01\nw_c1_colour:\n\tdb $09,$03\n"},
        WriterRow{"CharacterTables",
                  8,
                  1,
                  {7, 7, 7, 0, 0, 7, 7, 7},
                  ChrOptions(),
                  kAsm,
                  Named("font"),
                  "font_c1_pattern:\n\tdb $18\nfont_c1_colour:\n\tdb $07\n"},
        WriterRow{"SixteenBytesALine", 8, 17, kTall, SpriteOptions(false), kAsm, Named("t"),
                  "t_c1_pattern:\n\tdb " + k16 + "\n\tdb $80\n"},
        WriterRow{"StyleDollar", 8, 2, kA5, SpriteOptions(false), kAsm, Named("n"),
                  "n_c1_pattern:\n\tdb $A5,$0C\n"},
        WriterRow{"StyleHash", 8, 2, kA5, SpriteOptions(false), kAsm,
                  Named("n", NumberStyle::kHash), "n_c1_pattern:\n\tdb #A5,#0C\n"},
        WriterRow{"StyleZeroX", 8, 2, kA5, SpriteOptions(false), kAsm,
                  Named("n", NumberStyle::kZeroX), "n_c1_pattern:\n\tdb 0xA5,0x0C\n"},
        WriterRow{"StyleAmpersandH", 8, 2, kA5, SpriteOptions(false), kAsm,
                  Named("n", NumberStyle::kAmpersandH), "n_c1_pattern:\n\tdb &HA5,&H0C\n"},
        WriterRow{"StyleSuffixHLeadingZeroBeforeALetter", 8, 2, kA5, SpriteOptions(false), kAsm,
                  Named("n", NumberStyle::kSuffixH), "n_c1_pattern:\n\tdb 0A5h,0Ch\n"},
        WriterRow{"AnyDirective", 8, 2, kA5, SpriteOptions(false), kAsm, Directive(".byte"),
                  "s_c1_pattern:\n\t.byte $A5,$0C\n"},
        WriterRow{"LongDirective", 8, 2, kA5, SpriteOptions(false), kAsm, Directive(".dbyte"),
                  "s_c1_pattern:\n\t.dbyte $A5,$0C\n"},
        WriterRow{"CrLf", 8, 2, kA5, SpriteOptions(false), kAsm, WithCrLf(Named("n")),
                  "n_c1_pattern:\r\n\tdb $A5,$0C\r\n"}),
    [](const auto& row) { return std::string(row.param.name); });

constexpr auto kC = TableFormat::kC;
const std::string kCHead =
    "/* Tables of walk.dat */\n#ifndef WALK_TABLES_H\n#define WALK_TABLES_H\n\n#define walk_CELS "
    "2\n";
const std::string kCEnd = "\n#endif\n";

INSTANTIATE_TEST_SUITE_P(
    C, Writers,
    testing::Values(
        WriterRow{"TwoCelsWidth16", 16, 2, Join({kWide, kWide}), SpriteOptions(true), kC,
                  Named("walk"),
                  kCHead +
                      "\nstatic const unsigned char walk_pattern[2][4] = {\n"
                      "    /* cel 1 */\n    { 0x00, 0x01, 0x80, 0x01 },\n"
                      "    /* cel 2 */\n    { 0x00, 0x01, 0x80, 0x01 },\n};\n"
                      "\nstatic const unsigned char walk_colour[2][2] = {\n"
                      "    /* cel 1 */\n    { 0x09, 0x03 },\n"
                      "    /* cel 2 */\n    { 0x09, 0x03 },\n};\n" +
                      kCEnd},
        WriterRow{
            "TwoLayersWithoutColourData",
            8,
            1,
            {1, 2, 0, 0, 0, 0, 0, 0},
            TwoLayerNoColorOptions(),
            kC,
            Named("s"),
            "/* Tables of s.dat */\n#ifndef S_TABLES_H\n#define S_TABLES_H\n\n#define s_CELS 1\n"
            "\nstatic const unsigned char s_pattern1[1][1] = {\n    /* cel 1 */\n    { 0x80 "
            "},\n};\n"
            "\nstatic const unsigned char s_pattern2[1][1] = {\n    /* cel 1 */\n    { 0x40 "
            "},\n};\n"
            "\nstatic const unsigned char s_colours[1][2] = {\n    /* cel 1 */\n    { 0x01, 0x02 "
            "},\n};\n" +
                kCEnd},
        WriterRow{
            "SixteenBytesALine", 8, 17, kTall, SpriteOptions(false), kC, Named("t"),
            "/* Tables of t.dat */\n#ifndef T_TABLES_H\n#define T_TABLES_H\n\n#define t_CELS 1\n"
            "\nstatic const unsigned char t_pattern[1][17] = {\n    /* cel 1 */\n    {"
            " 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80,"
            " 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80,\n"
            "      0x80 },\n};\n" +
                kCEnd},
        WriterRow{"CrLf", 8, 2, kA5, SpriteOptions(false), kC, WithCrLf(Named("n")),
                  "/* Tables of n.dat */\r\n#ifndef N_TABLES_H\r\n#define "
                  "N_TABLES_H\r\n\r\n#define n_CELS 1\r\n"
                  "\r\nstatic const unsigned char n_pattern[1][2] = {\r\n    /* cel 1 */\r\n"
                  "    { 0xA5, 0x0C },\r\n};\r\n\r\n#endif\r\n"},
        WriterRow{"CommentEndInFileNameIsBroken", 8, 2, kA5, SpriteOptions(false), kC,
                  [] {
                      WriterOptions writer = Named("n");
                      writer.source = "a*/b.dat";
                      return writer;
                  }(),
                  "/* Tables of a* /b.dat */\n#ifndef N_TABLES_H\n#define N_TABLES_H\n\n#define "
                  "n_CELS 1\n"
                  "\nstatic const unsigned char n_pattern[1][2] = {\n    /* cel 1 */\n"
                  "    { 0xA5, 0x0C },\n};\n" +
                      kCEnd}),
    [](const auto& row) { return std::string(row.param.name); });

constexpr auto kBasic = TableFormat::kBasic;

INSTANTIATE_TEST_SUITE_P(
    Basic, Writers,
    testing::Values(
        WriterRow{"TwoCels", 8, 1, kTwoCels, SpriteOptions(true), kBasic, Named("walk"),
                  "10 REM walk cel 1 pattern\n20 DATA &H30\n30 REM walk cel 1 colour\n"
                  "40 DATA &H05\n50 REM walk cel 2 pattern\n60 DATA &H81\n"
                  "70 REM walk cel 2 colour\n80 DATA &H03\n"},
        WriterRow{"TwoLayers", 8, 1, kThreeColours, TwoLayerOptions(), kBasic, Named("s"),
                  "10 REM s cel 1 pattern1\n20 DATA &H50\n30 REM s cel 1 pattern2\n"
                  "40 DATA &H30\n50 REM s cel 1 colour1\n60 DATA &H01\n"
                  "70 REM s cel 1 colour2\n80 DATA &H42\n"},
        WriterRow{"TwoLayersWithoutColourData",
                  8,
                  1,
                  {1, 2, 0, 0, 0, 0, 0, 0},
                  TwoLayerNoColorOptions(),
                  kBasic,
                  Named("s"),
                  "10 REM s cel 1 pattern1\n20 DATA &H80\n30 REM s cel 1 pattern2\n"
                  "40 DATA &H40\n50 REM s cel 1 colours\n60 DATA &H01,&H02\n"},
        WriterRow{"EightBytesALine", 8, 9, Pixels(kTall.begin(), kTall.begin() + 72),
                  SpriteOptions(false), kBasic, Named("t"),
                  "10 REM t cel 1 pattern\n"
                  "20 DATA &H80,&H80,&H80,&H80,&H80,&H80,&H80,&H80\n30 DATA &H80\n"},
        WriterRow{"StartAndStep", 8, 2, kA5, SpriteOptions(false), kBasic, Lines(1000, 5),
                  "1000 REM s cel 1 pattern\n1005 DATA &HA5,&H0C\n"},
        WriterRow{"LastLineIs65529", 8, 2, kA5, SpriteOptions(false), kBasic, Lines(65519, 10),
                  "65519 REM s cel 1 pattern\n65529 DATA &HA5,&H0C\n"},
        WriterRow{"CrLf", 8, 2, kA5, SpriteOptions(false), kBasic, WithCrLf(Named("n")),
                  "10 REM n cel 1 pattern\r\n20 DATA &HA5,&H0C\r\n"},
        WriterRow{"LongName", 8, 2, kA5, SpriteOptions(false), kBasic,
                  Named(std::string(60, 'n').c_str()),
                  "10 REM " + std::string(60, 'n') + " cel 1 pattern\n20 DATA &HA5,&H0C\n"}),
    [](const auto& row) { return std::string(row.param.name); });

// Every line number, for starts and steps on both sides of a hundred: 8 x 64 has 8 DATA lines a
// table.
TEST(BasicLines, NumberEveryLineByTheStep) {
    const std::vector<std::uint8_t> image = SpriteFileImage(8, 64, Pixels(8 * 64, 1));
    const GeneratedTables tables =
        GenerateTables(CaptureDocument(image.data()), SpriteOptions(true));
    for (const auto& [start, step] :
         {std::pair{0, 1}, {7, 13}, {95, 1}, {99, 100}, {1, 999}, {9990, 7}, {64000, 48}}) {
        const Result<std::string> text = WriteTables(tables, kBasic, Lines(start, step));
        ASSERT_TRUE(text.ok()) << text.message();
        int number = start;
        for (std::size_t at = 0; at < text->size(); at = text->find('\n', at) + 1) {
            EXPECT_EQ(text->substr(at, text->find(' ', at) - at), std::to_string(number))
                << "from " << start << " in steps of " << step;
            number += step;
        }
        EXPECT_EQ(number, start + 18 * step);  // 2 remarks, 16 DATA lines
    }
}

// Lines of every length up to 100 bytes, every way, as plain concatenation writes them: BASIC's
// numbered lines, C's rows without a first start or an end, a start too long for one move.
TEST(HexLines, PutEveryTableAsConcatenationDoes) {
    struct Shape {
        const char* before;
        const char* after;
        std::size_t perLine;
        const char* start;
        bool startFirst;
        const char* end;
        bool numbered;
    };
    std::mt19937 random(7);
    for (const Shape& s : {Shape{"&H", ",", 8, " DATA ", true, "\r\n", true},
                           Shape{" 0x", ",", 16, "\n     ", false, "", false},
                           Shape{"$", ",", 16, "\t.byte.long ", true, "\n", false}}) {
        for (const HexLines::Way way :
             {HexLines::Way::kFastest, HexLines::Way::kShuffles, HexLines::Way::kOneByOne}) {
            const HexLines lines(s.before, s.after, way);
            const LineShape shape(lines, s.perLine, s.start, s.startFirst, s.end);
            for (std::size_t count = 0; count <= 100; ++count) {
                std::vector<TableValue> table(count);
                for (TableValue& v : table) v = static_cast<TableValue>(random() & 0xFF);
                std::string expected;
                int number = 95;
                for (std::size_t i = 0; i < count; ++i) {
                    if (i % s.perLine == 0 && s.numbered) expected += std::to_string(number++);
                    if (i % s.perLine == 0 && (i > 0 || s.startFirst)) expected += s.start;
                    char digits[8];
                    std::snprintf(digits, sizeof digits, "%02X", table[i]);
                    expected += s.before + std::string(digits) + s.after;
                    const bool lineEnds = (i + 1) % s.perLine == 0 || i + 1 == count;
                    if (lineEnds && *s.end != 0) expected.replace(expected.size() - 1, 1, s.end);
                }
                std::string text(lines.LineRoom(shape) * (count / s.perLine + 1), '\0');
                LineNumbers numbers(95, 1);
                const char* end =
                    lines.Put(text.data(), table, shape, s.numbered ? &numbers : nullptr);
                EXPECT_EQ(
                    std::string_view(text.data(), static_cast<std::size_t>(end - text.data())),
                    expected)
                    << s.before << " bytes, " << count << " of them";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bin, Writers,
    testing::Values(WriterRow{"TwoCelsInTheTextsOrder", 8, 1, kTwoCels, SpriteOptions(true),
                              TableFormat::kBin, Named("s"), std::string("\x30\x05\x81\x03", 4)},
                    WriterRow{"TwoLayers", 8, 1, kThreeColours, TwoLayerOptions(),
                              TableFormat::kBin, Named("s"), std::string("\x50\x30\x01\x42", 4)},
                    WriterRow{"Width16", 16, 2, kWide, SpriteOptions(false), TableFormat::kBin,
                              Named("s"), std::string("\x00\x01\x80\x01", 4)}),
    [](const auto& row) { return std::string(row.param.name); });

struct RefusalRow {
    const char* name;
    WriterRow row;
    const char* message;
};

class Refusals : public testing::TestWithParam<RefusalRow> {};

TEST_P(Refusals, SayWhy) {
    const Result<std::string> text = Write(GetParam().row);
    ASSERT_FALSE(text.ok());
    EXPECT_EQ(text.failure(), Failure::kInvalid);
    EXPECT_EQ(text.message(), GetParam().message);
}

// A character row of pixel bytes 32 and 17: its colour byte is 17 × 16 + 32 = 304.
const Pixels kNotColours = {32, 17, 32, 32, 32, 32, 32, 32};

INSTANTIATE_TEST_SUITE_P(
    Rows, Refusals,
    testing::Values(
        RefusalRow{"BasicPast65529",
                   {"", 8, 2, kA5, SpriteOptions(false), kBasic, Lines(65520, 10), ""},
                   "The 2 BASIC lines from 65520 in steps of 10 would end at line 65530, past "
                   "65529, the last line number BASIC takes."},
        RefusalRow{"ValueBeyondAByte",
                   {"", 8, 1, kNotColours, ChrOptions(), kAsm, Named("s"), ""},
                   "Value 304 of cel 1's colour table is more than a byte: the cel holds pixels "
                   "that are not colour indices 0 to 15."},
        RefusalRow{"ValueBeyondAByteAmongSixteen",
                   {"", 16, 4, Join({Zeros(48), kNotColours, Zeros(8)}), ChrOptions(), kAsm,
                    Named("s"), ""},
                   "Value 304 of cel 1's colour table is more than a byte: the cel holds pixels "
                   "that are not colour indices 0 to 15."},
        RefusalRow{"ValueBeyondAByteInBinary",
                   {"", 16, 8, Join({Zeros(48), kNotColours, Zeros(72)}), ChrOptions(),
                    TableFormat::kBin, Named("s"), ""},
                   "Value 304 of cel 1's colour table is more than a byte: the cel holds pixels "
                   "that are not colour indices 0 to 15."}),
    [](const auto& row) { return std::string(row.param.name); });

// Only the hexadecimal text writes a value beyond a byte, with more digits.
TEST(Writers, HexWritesValuesBeyondAByte) {
    const std::vector<std::uint8_t> image = SpriteFileImage(8, 1, kNotColours);
    const Result<std::string> text =
        WriteTables(GenerateTables(CaptureDocument(image.data()), ChrOptions()), TableFormat::kHex,
                    WriterOptions{});
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(*text, "#40,#130\r\n");
}

struct NameRow {
    const char* name;
    std::string documentName;
    std::string label;
};

class LabelNames : public testing::TestWithParam<NameRow> {};

TEST_P(LabelNames, MakeAnIdentifier) {
    EXPECT_EQ(LabelName(GetParam().documentName), GetParam().label);
    EXPECT_TRUE(IsLabelName(GetParam().label));
    EXPECT_EQ(IsLabelName(GetParam().documentName), GetParam().documentName == GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(Rows, LabelNames,
                         testing::Values(NameRow{"AlreadyOne", "walk_2", "walk_2"},
                                         NameRow{"DashAndBlank", "my walk-2", "my_walk_2"},
                                         NameRow{"LeadingDigit", "2walk", "_2walk"},
                                         NameRow{"Empty", "", "_"},
                                         NameRow{"DotsOfAnOldName", "walk.old", "walk_old"},
                                         NameRow{"CharacterOfTwoBytes", "w\xc3\xa4lk", "w_lk"},
                                         NameRow{"BytesThatAreNoUtf8", "\xff\xfe", "__"},
                                         NameRow{"LoneContinuationByte", "a\x80", "a_"}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
