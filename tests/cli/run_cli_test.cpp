// The command line in-process: option parsing, usage errors, file errors and exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "example_tables.h"
#include "temp_dir.h"

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// Files the rows name: "OK" is an 8 × 1 sprite of colours 1, 2 and 3 = 1 OR 2, "B" one of colour
// 1 in its first pixel, "ODD" the same under a name that is no identifier, "WIDE" 17 × 1 with
// colour 1 in its first and last pixels; the others cannot be used. "{OK}" in an expected text
// stands for OK's path.
class RunCliTest : public testing::Test {
  protected:
    static std::vector<std::uint8_t> Wide() {
        std::vector<std::uint8_t> pixels(17, 0);
        pixels.front() = pixels.back() = 1;
        return pixels;
    }

    // 40 x 16 of colour 1 but columns 32 to 39 of lines 8 to 15: 8 x 8 pieces put 5 sprites a
    // layer on lines 0 to 7 and 4 on lines 8 to 15.
    static std::vector<std::uint8_t> Set() {
        std::vector<std::uint8_t> pixels(40 * 16, 1);
        for (std::size_t y = 8; y < 16; ++y) std::fill_n(pixels.begin() + y * 40 + 32, 8, 0);
        return pixels;
    }

    static std::vector<std::uint8_t> Bytes(std::string_view text) {
        return {text.begin(), text.end()};
    }

    RunCliTest() {
        const std::vector<std::uint8_t> ok = SpriteFileImage(8, 1, {0, 1, 2, 3, 0, 0, 0, 0});
        const std::vector<std::uint8_t> b = SpriteFileImage(8, 1, {1, 0, 0, 0, 0, 0, 0, 0});
        files_ = {{"OK", dir_.Write("ok.dat", ok)},
                  {"B", dir_.Write("b.dat", b)},
                  {"ODD", dir_.Write("2 b.dat", b)},
                  {"WIDE", dir_.Write("wide.dat", SpriteFileImage(17, 1, Wide()))},
                  {"SET", dir_.Write("set.dat", SpriteFileImage(40, 16, Set()))},
                  {"ZERO_WIDTH", dir_.Write("zero.dat", {0, 1, 1, 0})},
                  {"SHORT", dir_.Write("short.dat", {8, 2, 1, 0, 0})},
                  {"MISSING", dir_.Path("missing.dat")},
                  {"ASM", dir_.Write("bad.asm", Bytes("x_c1_pattern:\n\tdb $30,$G0\n"))},
                  {"BASIC", dir_.Write("big.bas", Bytes("10 DATA 255,256\n"))},
                  {"ORG", dir_.Write("org.asm", Bytes("\torg 100\n\tdb $30\n"))},
                  {"HEX", dir_.Write("shot.txt", Bytes("#30,\r\n#05,\r\n#81,\r\n#03"))},
                  {"OUT", dir_.Path("out.dat")}};
    }

    CliRun Run(std::vector<std::string> args) {
        for (std::string& arg : args) {
            for (const auto& [name, path] : files_) {
                if (arg == name) arg = path;
            }
        }
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCli(args, out, err);
        return {status, out.str(), err.str()};
    }

    std::string Expand(std::string text) const {
        for (const auto& [name, path] : files_) {
            const std::string mark = "{" + name + "}";
            for (std::size_t at; (at = text.find(mark)) != std::string::npos;) {
                text.replace(at, mark.size(), path);
            }
        }
        return text;
    }

    TempDir dir_;
    std::vector<std::pair<std::string, std::string>> files_;
};

struct OptionsRow {
    const char* name;
    std::vector<std::string> args;
    const char* text;
};

class TablesOptions : public RunCliTest, public testing::WithParamInterface<OptionsRow> {};

TEST_P(TablesOptions, ChooseTheTables) {
    const CliRun run = Run(GetParam().args);
    EXPECT_EQ(run.out, Expand(GetParam().text));
    EXPECT_EQ(run.status, run.err.empty() ? kExitOk : kExitRuleBroken) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TablesOptions,
    testing::Values(
        OptionsRow{"DefaultsAreSpriteCommaNoColour", {"tables", "OK"}, "#70"},
        OptionsRow{"ColourData", {"tables", "--color-data", "OK"}, "#70,\r\n#01"},
        OptionsRow{"NoComma", {"tables", "--color-data", "--no-comma", "OK"}, "70\r\n01"},
        OptionsRow{"TwoLayersWithColourData",
                   {"tables", "--two-layers", "--color-data", "OK"},
                   "#50,\r\n#30,\r\n#01,\r\n#42"},
        OptionsRow{"TwoLayersWithoutColourData", {"tables", "--two-layers", "OK"}, "#40,\r\n#20"},
        OptionsRow{"TypeChr", {"tables", "--type", "chr", "OK"}, "#70,#10\r\n"},
        OptionsRow{"TypeChrWithEquals", {"tables", "--type=chr", "OK"}, "#70,#10\r\n"},
        OptionsRow{"ChrIgnoresLayerOptions",
                   {"tables", "--type", "chr", "--two-layers", "--color-data", "OK"},
                   "#70,#10\r\n"},
        OptionsRow{"OptionsAfterFile", {"tables", "OK", "--no-comma"}, "70"},
        OptionsRow{"FormatHexIsTheDefault", {"tables", "--format", "hex", "OK"}, "#70"},
        OptionsRow{"FormatAsmNamedAfterTheFile",
                   {"tables", "--format", "asm", "OK"},
                   "ok_c1_pattern:\n\tdb $70\n"},
        OptionsRow{"FormatAsmEveryOption",
                   {"tables", "--format=asm", "--name", "ship", "--directive", "defb",
                    "--number-style=h", "--eol", "crlf", "OK"},
                   "ship_c1_pattern:\r\n\tdefb 70h\r\n"},
        OptionsRow{"NameMadeAnIdentifier",
                   {"tables", "--format", "asm", "ODD"},
                   "_2_b_c1_pattern:\n\tdb $80\n"},
        OptionsRow{"FormatC",
                   {"tables", "--format", "c", "--two-layers", "--color-data", "OK"},
                   "/* Tables of ok.dat */\n#ifndef OK_TABLES_H\n#define OK_TABLES_H\n\n#define "
                   "ok_CELS 1\n"
                   "\nstatic const unsigned char ok_pattern1[1][1] = {\n    /* cel 1 */\n    { "
                   "0x50 },\n};\n"
                   "\nstatic const unsigned char ok_pattern2[1][1] = {\n    /* cel 1 */\n    { "
                   "0x30 },\n};\n"
                   "\nstatic const unsigned char ok_colour1[1][1] = {\n    /* cel 1 */\n    { 0x01 "
                   "},\n};\n"
                   "\nstatic const unsigned char ok_colour2[1][1] = {\n    /* cel 1 */\n    { 0x42 "
                   "},\n};\n"
                   "\n#endif\n"},
        OptionsRow{"FormatBasic",
                   {"tables", "--format", "basic", "--line-start", "100", "--line-step", "5", "OK"},
                   "100 REM ok cel 1 pattern\n105 DATA &H70\n"},
        OptionsRow{"FormatBinToAPipe", {"tables", "--format", "bin", "-o", "-", "OK"}, "\x70"},
        OptionsRow{"SeveralFilesHexKeptApartByABreak", {"tables", "OK", "B"}, "#70\r\n#80"},
        OptionsRow{"SeveralFilesAsmEachWithItsLabels",
                   {"tables", "--format", "asm", "OK", "B"},
                   "ok_c1_pattern:\n\tdb $70\nb_c1_pattern:\n\tdb $80\n"},
        OptionsRow{"SeveralFilesBasicLinesGoOnCounting",
                   {"tables", "--format", "basic", "OK", "B"},
                   "10 REM ok cel 1 pattern\n20 DATA &H70\n30 REM b cel 1 pattern\n40 DATA &H80\n"},
        OptionsRow{
            "SeveralFilesBinary", {"tables", "--format", "bin", "-o", "-", "OK", "B"}, "\x70\x80"}),
    [](const auto& row) { return std::string(row.param.name); });

struct FailureRow {
    const char* name;
    std::vector<std::string> args;
    const char* message;  // part of what standard error says
};

class Failures : public RunCliTest, public testing::WithParamInterface<FailureRow> {};

TEST_P(Failures, WriteNothingAndExit2) {
    const CliRun run = Run(GetParam().args);
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir_.Path("out.dat")));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Failures,
    testing::Values(
        FailureRow{"NoCommand", {}, "missing command"},
        FailureRow{"UnknownCommand", {"draw", "OK"}, "unknown command 'draw'"},
        FailureRow{"UnknownOption", {"tables", "--fast", "OK"}, "unknown option '--fast'"},
        FailureRow{"TypeWithoutValue", {"tables", "OK", "--type"}, "'--type' needs a value"},
        FailureRow{"UnknownType", {"tables", "--type", "png", "OK"}, "unknown table type 'png'"},
        FailureRow{"DashNameIsOption", {"tables", "-x.dat"}, "unknown option '-x.dat'"},
        FailureRow{"DoubleDashEndsOptions", {"tables", "--", "-x.dat"}, "Cannot open -x.dat"},
        FailureRow{"TablesWithoutFile", {"tables", "--no-comma"}, "tables needs a FILE.dat"},
        FailureRow{"UnknownFormat",
                   {"tables", "--format", "png", "OK"},
                   "unknown format 'png': use hex, asm, c, basic or bin"},
        FailureRow{"FormatWithoutValue",
                   {"tables", "OK", "--format"},
                   "option '--format' needs a value: hex, asm, c, basic or bin"},
        FailureRow{"NameThatIsNoIdentifier",
                   {"tables", "--format", "asm", "--name", "3d", "OK"},
                   "'3d' is not a name for labels"},
        FailureRow{"NameWithHex",
                   {"tables", "--name", "ship", "OK"},
                   "option '--name' is for --format asm, c or basic"},
        FailureRow{"DirectiveWithC",
                   {"tables", "--directive", "db", "--format", "c", "OK"},
                   "option '--directive' is for --format asm"},
        FailureRow{"EmptyDirective",
                   {"tables", "--format", "asm", "--directive=", "OK"},
                   "the directive must be one word of printable characters without ';'"},
        FailureRow{"RepeatedOption",
                   {"tables", "--format", "asm", "--format=c", "OK"},
                   "option '--format' is given twice"},
        FailureRow{"VersionWithMore", {"--version", "extra"}, "--version takes nothing after it"},
        FailureRow{"DirectiveThatCommentsOutTheBytes",
                   {"tables", "--format", "asm", "--directive", "db;", "OK"},
                   "the directive must be one word of printable characters without ';'"},
        FailureRow{"DirectiveWithAnEscapeSequence",
                   {"tables", "--format", "asm", "--directive", "\x1b[2Jdb", "OK"},
                   "the directive must be one word of printable characters without ';'"},
        FailureRow{"UnknownNumberStyle",
                   {"tables", "--format", "asm", "--number-style", "%", "OK"},
                   "unknown number style '%': use $, #, 0x, &H or h"},
        FailureRow{"NumberStyleWithBasic",
                   {"tables", "--format", "basic", "--number-style", "$", "OK"},
                   "option '--number-style' is for --format asm"},
        FailureRow{"LineStartNotANumber",
                   {"tables", "--format", "basic", "--line-start", "ten", "OK"},
                   "'ten' is not a line number from 0 to 65529"},
        FailureRow{"LineStartPast65529",
                   {"tables", "--format", "basic", "--line-start", "65530", "OK"},
                   "'65530' is not a line number from 0 to 65529"},
        FailureRow{"LineStepZero",
                   {"tables", "--format", "basic", "--line-step", "0", "OK"},
                   "'0' is not a line step from 1 to 65529"},
        FailureRow{"LinesPast65529",
                   {"tables", "--format", "basic", "--line-start", "65520", "OK"},
                   "would end at line 65530, past 65529"},
        FailureRow{"LineStepWithAsm",
                   {"tables", "--format", "asm", "--line-step", "5", "OK"},
                   "option '--line-step' is for --format basic"},
        FailureRow{"EolWithHex",
                   {"tables", "--eol", "crlf", "OK"},
                   "option '--eol' is for --format asm, c or basic"},
        FailureRow{"UnknownEol",
                   {"tables", "--format", "c", "--eol", "cr", "OK"},
                   "unknown line end 'cr': use lf or crlf"},
        FailureRow{"NoCommaWithAsm",
                   {"tables", "--format", "asm", "--no-comma", "OK"},
                   "option '--no-comma' is for --format hex"},
        FailureRow{"BinaryWithoutOutput",
                   {"tables", "--format", "bin", "OK"},
                   "--format bin needs -o FILE"},
        FailureRow{"OutputWithoutValue", {"tables", "OK", "-o"}, "option '-o' needs a value"},
        FailureRow{"NameWithSeveralFiles",
                   {"tables", "--format", "asm", "--name", "s", "OK", "B"},
                   "--name takes one FILE.dat"},
        FailureRow{"TwoFilesOfOneName",
                   {"tables", "--format", "c", "B", "OK", "B"},
                   "b.dat both make the name b, so their labels would clash"},
        FailureRow{"OneUnreadableFileWritesNothing",
                   {"tables", "OK", "MISSING", "B"},
                   "/missing.dat: No such file or directory."},
        FailureRow{
            "OutputOntoAnInput", {"tables", "-o", "B", "OK", "B"}, "b.dat: is the sprite file"},
        FailureRow{"CheckTakesNoOutputOption",
                   {"check", "--format", "asm", "OK"},
                   "unknown option '--format' for check"},
        FailureRow{"CheckWithoutFile", {"check", "--two-layers"}, "check needs a FILE.dat"},
        FailureRow{"PiecesOfCharacters",
                   {"tables", "--type", "chr", "--pieces", "8", "OK"},
                   "character tables (--type chr) have no sprites"},
        FailureRow{"LayersOfCharacters",
                   {"check", "--type", "chr", "--layers", "3", "OK"},
                   "character tables (--type chr) have no layers"},
        FailureRow{"TwoLayersWithThree",
                   {"tables", "--layers", "3", "--two-layers", "OK"},
                   "--two-layers is --layers 2; it cannot go with --layers 3"},
        FailureRow{"UnknownLayerCount",
                   {"tables", "--layers", "5", "OK"},
                   "unknown layer count '5': use 1, 2, 3, 4 or auto"},
        FailureRow{"InfoUnknownOption", {"info", "-v", "OK"}, "unknown option '-v'"},
        FailureRow{"InfoWithoutFile", {"info"}, "info needs a FILE.dat"},
        FailureRow{
            "MissingFile", {"tables", "MISSING"}, "/missing.dat: No such file or directory."},
        FailureRow{"ZeroWidth", {"tables", "ZERO_WIDTH"}, "its width 0 is outside 1 to 64"},
        FailureRow{"TooShort", {"tables", "SHORT"}, "short.dat is not a sprite file"},
        FailureRow{"InfoOnInvalidFile", {"info", "ZERO_WIDTH"}, "zero.dat is not a sprite file"},
        FailureRow{"DecodeNotAByte",
                   {"decode", "--size", "8x1", "ASM", "OUT"},
                   "bad.asm:2:9: '$G0' is not a byte"},
        FailureRow{"DecodePast255",
                   {"decode", "--size", "8x1", "BASIC", "OUT"},
                   "big.bas:1:13: '256' is more than 255"},
        FailureRow{"DecodeOnlyDirectivesOfBytes",
                   {"decode", "--size", "8x1", "ORG", "OUT"},
                   "org.asm:1:2: 'org' is not a directive of bytes"},
        FailureRow{"DecodeTooFew",
                   {"decode", "--size", "8x1", "--color-data", "--cels", "3", "HEX", "OUT"},
                   "shot.txt holds 4 bytes; 3 cels of 8 × 1 sprite tables with colour data need "
                   "6: 2 are missing"},
        FailureRow{"DecodeLessThanACel",
                   {"decode", "--size", "8x5", "HEX", "OUT"},
                   "1 cel of 8 × 5 sprite tables needs 5: 1 is missing"},
        FailureRow{"DecodeColourOfColourData",
                   {"decode", "--size", "8x1", "--color-data", "--colour", "3", "HEX", "OUT"},
                   "--colour is for tables without colour data"},
        FailureRow{
            "DecodeOntoItsInput", {"decode", "--size", "8x1", "HEX", "HEX"}, "shot.txt itself"},
        FailureRow{"DecodeWithoutSize", {"decode", "HEX", "OUT"}, "decode needs --size WxH"}),
    [](const auto& row) { return std::string(row.param.name); });

// The example of formats.md, "..55...." and "3......1" with colour data: the first cel alone,
// and a note of what is left out.
TEST_F(RunCliTest, DecodeTakesTheCelsAskedFor) {
    const CliRun run = Run({"decode", "--size", "8x1", "--color-data", "--cels", "1", "HEX", "-"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.out, std::string("\x08\x01\x01\0\0\x05\x05\0\0\0\0", 11));
    EXPECT_EQ(run.err,
              Expand("spritehex-cli: {HEX}: 1 cel read; 2 bytes after it are left out.\n"));
}

TEST_F(RunCliTest, BrokenRuleWritesTablesThenNamesEveryRowAndTheRule) {
    const CliRun run = Run({"tables", "--two-layers", "OK"});
    EXPECT_EQ(run.status, kExitRuleBroken);
    EXPECT_EQ(run.out, "#40,\r\n#20");
    EXPECT_EQ(run.err, Expand("{OK}: cel 1, row 0: colour 3 is not one of the cel's two (1 and 2); "
                              "it is dropped\n{OK}: too many colors\n"));
}

// Pixels that no table holds are named as check names them, but the tables are what they are.
TEST_F(RunCliTest, PixelsInNoTableAreNamedWithoutFailing) {
    const CliRun run = Run({"tables", "WIDE"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.out, "#80,#00");
    EXPECT_EQ(run.err, Expand("{WIDE}: cel 1, row 0: column 16 is not in any sprite pattern\n"));
}

struct CheckRow {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* err;
};

class Check : public RunCliTest, public testing::WithParamInterface<CheckRow> {};

TEST_P(Check, NamesEveryClashOnStandardErrorOnly) {
    const CliRun run = Run(GetParam().args);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, Expand(GetParam().err));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Check,
    testing::Values(
        CheckRow{"NothingToSay", {"check", "--two-layers", "--color-data", "OK"}, kExitOk, ""},
        CheckRow{"ThirdColourOfACel",
                 {"check", "--two-layers", "OK"},
                 kExitRuleBroken,
                 "{OK}: cel 1, row 0: colour 3 is not one of the cel's two (1 and 2); it is "
                 "dropped\n"},
        CheckRow{"ThreeLayersTakeTheThirdColour", {"check", "--layers", "3", "OK"}, kExitOk, ""},
        CheckRow{"AutoSaysHowManyLayers",
                 {"check", "--layers", "auto", "--color-data", "OK"},
                 kExitOk,
                 "{OK}: --layers auto: 2 layers\n"},
        CheckRow{"OneLayerWithColourData",
                 {"check", "--color-data", "B", "OK"},
                 kExitRuleBroken,
                 "{OK}: cel 1, row 0: colours 1, 2 and 3; the line takes 1\n"},
        CheckRow{"FiveSpritesOnALineOverFour",
                 {"check", "--pieces", "8", "SET"},
                 kExitRuleBroken,
                 "{SET}: cel 1, lines 0 to 7: 5 sprites on a line; the chip shows 4\n"},
        CheckRow{"FiveSpritesWithinALimitOfFive",
                 {"check", "--pieces", "8", "--sprites-per-line", "5", "SET"},
                 kExitOk,
                 ""},
        CheckRow{"TenSpritesOnALineOverEightButEightAreShown",
                 {"check", "--pieces", "8", "--two-layers", "--color-data", "SET"},
                 kExitRuleBroken,
                 "{SET}: cel 1, lines 0 to 7: 10 sprites on a line; the chip shows 8\n"},
        CheckRow{"TenOverALimitOfNine",
                 {"check", "--pieces", "8", "--two-layers", "--sprites-per-line", "9", "SET"},
                 kExitRuleBroken,
                 "{SET}: cel 1, lines 0 to 7: 10 sprites on a line; the chip shows 9\n"},
        CheckRow{"AnUnreadableFileIsTheWorst",
                 {"check", "--color-data", "MISSING", "OK"},
                 kExitFailure,
                 "spritehex-cli: Cannot open {MISSING}: No such file or directory.\n"
                 "{OK}: cel 1, row 0: colours 1, 2 and 3; the line takes 1\n"}),
    [](const auto& row) { return std::string(row.param.name); });

// -o writes the file through the one writer of files; standard output stays empty.
TEST_F(RunCliTest, OutputFileReplacesTheOldOne) {
    const std::string path = dir_.Write("ok.asm", {'o', 'l', 'd'});
    const CliRun run = Run({"tables", "--format", "asm", "-o", path, "OK"});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "");
    std::ifstream file(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(text, "ok_c1_pattern:\n\tdb $70\n");
    const CliRun missingFolder = Run({"tables", "-o", dir_.Path("none/ok.txt"), "OK"});
    EXPECT_EQ(missingFolder.status, kExitFailure);
    EXPECT_EQ(missingFolder.err, "spritehex-cli: Cannot create " + dir_.Path("none/ok.txt") +
                                     ": No such file or directory.\n");
}

TEST_F(RunCliTest, InfoPrintsSize) {
    const std::string path = dir_.Write("three.dat", SpriteFileImage(16, 2, Zeros(96)));
    const CliRun run = Run({"info", path});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.out, "width: 16\nheight: 2\ncels: 3\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(RunCliTest, HelpAndVersionGoToStandardOutput) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"-h"}, {"tables", "--help"}}) {
        const CliRun help = Run(args);
        EXPECT_EQ(help.status, kExitOk);
        EXPECT_TRUE(help.out.starts_with("Usage:\n  spritehex-cli tables [--type sprite|chr]"));
        EXPECT_NE(help.out.find("spritehex-cli info FILE.dat"), std::string::npos);
        EXPECT_NE(help.out.find("spritehex-cli check [--type sprite|chr]"), std::string::npos);
        for (const char* option : {"--format", "--name", "--directive", "--number-style",
                                   "--line-start", "--line-step", "--eol", "-o FILE"}) {
            EXPECT_NE(help.out.find(std::string("  ") + option), std::string::npos) << option;
        }
        EXPECT_EQ(help.err, "");
    }
    const CliRun version = Run({"--version"});
    EXPECT_EQ(version.status, kExitOk);
    EXPECT_EQ(version.out, "spritehex-cli " SPRITEHEX_VERSION "\n");
}

// A program with a command of its own keeps the core commands and lists its own in the help.
TEST(RunCliCommands, ExtraCommandIsDispatchedAndListed) {
    std::vector<CliCommand> commands(CoreCommands().begin(), CoreCommands().end());
    commands.push_back({"hello", "NAME", "Greet.",
                        [](std::span<const std::string> args, std::ostream& out, std::ostream&) {
                            out << "hello " << args.front();
                            return 0;
                        },
                        0, ""});
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCli(std::vector<std::string>{"hello", "ann"}, out, err, commands), kExitOk);
    EXPECT_EQ(out.str(), "hello ann");
    std::ostringstream help;
    EXPECT_EQ(RunCli(std::vector<std::string>{"--help"}, help, err, commands), kExitOk);
    EXPECT_NE(help.str().find("spritehex-cli hello NAME"), std::string::npos);
    EXPECT_NE(help.str().find("spritehex-cli info FILE.dat"), std::string::npos);
}

}  // namespace
