// The command line in-process: option parsing, usage errors, file errors and exit status.
#include <gtest/gtest.h>

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

// Files the rows name: "OK" is an 8 × 1 sprite of colours 1, 2 and 3 = 1 OR 2; the others cannot
// be used.
class RunCliTest : public testing::Test {
  protected:
    RunCliTest() {
        const std::vector<std::uint8_t> ok = SpriteFileImage(8, 1, {0, 1, 2, 3, 0, 0, 0, 0});
        files_ = {{"OK", dir_.Write("ok.dat", ok)},
                  {"ZERO_WIDTH", dir_.Write("zero.dat", {0, 1, 1, 0})},
                  {"SHORT", dir_.Write("short.dat", {8, 2, 1, 0, 0})},
                  {"MISSING", dir_.Path("missing.dat")}};
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
    EXPECT_EQ(run.out, GetParam().text);
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
        OptionsRow{"LastTypeWins", {"tables", "--type", "chr", "--type", "sprite", "OK"}, "#70"},
        OptionsRow{"OptionsAfterFile", {"tables", "OK", "--no-comma"}, "70"}),
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
        FailureRow{"TablesWithTwoFiles", {"tables", "OK", "OK"}, "takes only one FILE.dat"},
        FailureRow{"InfoUnknownOption", {"info", "-v", "OK"}, "unknown option '-v'"},
        FailureRow{"InfoWithoutFile", {"info"}, "info needs a FILE.dat"},
        FailureRow{
            "MissingFile", {"tables", "MISSING"}, "/missing.dat: No such file or directory."},
        FailureRow{"ZeroWidth", {"tables", "ZERO_WIDTH"}, "its width 0 is outside 1 to 64"},
        FailureRow{"TooShort", {"tables", "SHORT"}, "short.dat is not a sprite file"},
        FailureRow{"InfoOnInvalidFile", {"info", "ZERO_WIDTH"}, "zero.dat is not a sprite file"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(RunCliTest, BrokenRuleWritesTablesThenNamesFileAndRule) {
    const CliRun run = Run({"tables", "--two-layers", "OK"});
    EXPECT_EQ(run.status, kExitRuleBroken);
    EXPECT_EQ(run.out, "#40,\r\n#20");
    EXPECT_EQ(run.err, files_[0].second + ": too many colors\n");
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
                        }});
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
