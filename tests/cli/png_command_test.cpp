// spritehex-cli png in-process: the cel's picture at twice its size from the colour strip, the
// cel number, and every failure leaving no output file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <QFile>
#include <QImage>

#include "cli/png_command.h"
#include "example_tables.h"
#include "strip_command_run.h"
#include "temp_dir.h"

namespace {

// Every pixel of the strip is different, so a block taken from the wrong place shows.
QImage Strip(int width = 256, int height = 2) {
    QImage strip(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) strip.setPixel(x, y, qRgb(x & 0xFF, 30 + y * 90, 7));
    }
    return strip;
}

QString Q(const std::string& path) {
    return QString::fromStdString(path);
}

// Three 4 x 4 cels and colour strips of every kind, each in its own folder.
class PngCommandTest : public testing::Test {
  protected:
    PngCommandTest() {
        Pixels pixels = Zeros(3 * 16);
        pixels[0] = 1;         // cel 1 (0, 0)
        pixels[16 + 5] = 2;    // cel 2 (1, 1)
        pixels[32 + 15] = 15;  // cel 3 (3, 3)
        pixels[32 + 2] = 9;    // cel 3 (2, 0)
        pixels_ = pixels;
        file_ = dir_.Write("walk.dat", SpriteFileImage(4, 4, pixels));
        for (const char* name : {"good", "none", "small", "text", "folder", "cut", "offset"}) {
            std::filesystem::create_directory(dir_.Path(name));
        }
        EXPECT_TRUE(Strip().save(Q(dir_.Path("good/color.bmp")), "BMP"));
        // A strip cut short, and one whose header puts its pixels past its end.
        std::vector<std::uint8_t> strip = ReadBytes(dir_.Path("good/color.bmp"));
        dir_.Write("cut/color.bmp", {strip.begin(), strip.end() - 10});
        strip[10] = 0xFF;
        strip[11] = 0xFF;
        dir_.Write("offset/color.bmp", strip);
        EXPECT_TRUE(Strip(241, 2).save(Q(dir_.Path("small/color.bmp")), "BMP"));
        dir_.Write("text/color.bmp", {'n', 'o', 't', ' ', 'B', 'M', 'P'});
        std::filesystem::create_directory(dir_.Path("folder/color.bmp"));
    }

    using Run = CommandRun;

    // "FILE" and "OUT" in args stand for walk.dat and out.png in the temporary folder.
    Run RunIn(const std::string& stripDir, std::vector<std::string> args) {
        for (std::string& arg : args) {
            if (arg == "FILE") arg = file_;
            if (arg == "OUT") arg = dir_.Path("out.png");
        }
        return RunStripCommand(RunPng, args, dir_.Path(stripDir));
    }

    TempDir dir_;
    std::string file_;
    Pixels pixels_;
};

struct CelRow {
    const char* name;
    std::vector<std::string> args;
    int cel;  // counted from 0
};

class PngCels : public PngCommandTest, public testing::WithParamInterface<CelRow> {};

TEST_P(PngCels, WriteThatCelAtTwiceItsSize) {
    const Run run = RunIn("good", GetParam().args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    const QImage png(Q(dir_.Path("out.png")), "PNG");
    ASSERT_EQ(png.size(), QSize(8, 8));
    const QImage strip = Strip();
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const int v = pixels_[static_cast<std::size_t>(GetParam().cel * 16 + y * 4 + x)];
            for (int d = 0; d < 4; ++d) {
                ASSERT_EQ(png.pixel(2 * x + d % 2, 2 * y + d / 2),
                          strip.pixel(16 * v + d % 2, d / 2))
                    << "pixel (" << x << ", " << y << ") of colour " << v;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PngCels,
    testing::Values(CelRow{"FirstCelByDefault", {"FILE", "OUT"}, 0},
                    CelRow{"CelTwo", {"--cel", "2", "FILE", "OUT"}, 1},
                    CelRow{"CelWithEquals", {"--cel=3", "FILE", "OUT"}, 2},
                    CelRow{"OptionAfterOperands", {"FILE", "OUT", "--cel", "3"}, 2},
                    CelRow{"DoubleDashEndsOptions", {"--cel", "2", "--", "FILE", "OUT"}, 1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(PngCommandTest, LargestAndSmallestCels) {
    for (const int side : {1, 64}) {
        SCOPED_TRACE(side);
        Pixels pixels = Zeros(side * side);
        pixels.back() = 15;
        const std::string file = dir_.Write("square.dat", SpriteFileImage(side, side, pixels));
        const Run run = RunIn("good", {file, "OUT"});
        ASSERT_EQ(run.status, 0) << run.err;
        const QImage png(Q(dir_.Path("out.png")), "PNG");
        EXPECT_EQ(png.size(), QSize(2 * side, 2 * side));
        EXPECT_EQ(png.pixel(2 * side - 1, 2 * side - 1), Strip().pixel(241, 1));
    }
}

struct FailureRow {
    const char* name;
    const char* stripDir;
    std::vector<std::string> args;
    const char* message;  // part of what standard error says
};

class PngFailures : public PngCommandTest, public testing::WithParamInterface<FailureRow> {};

TEST_P(PngFailures, WriteNothingAndExit2) {
    const Run run = RunIn(GetParam().stripDir, GetParam().args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_TRUE(run.err.starts_with("spritehex-cli: ")) << run.err;
    EXPECT_FALSE(QFile::exists(Q(dir_.Path("out.png"))));
    // No temporary file is left beside the output either.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path("")),
                            std::filesystem::directory_iterator()),
              8);  // walk.dat and the seven strip folders
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PngFailures,
    testing::Values(
        FailureRow{"CelZero", "good", {"--cel", "0", "FILE", "OUT"}, "cel 0 is outside 1 to 3"},
        FailureRow{"CelPastTheLast", "good", {"--cel=4", "FILE", "OUT"}, "cel 4 is outside 1 to 3"},
        FailureRow{"CelNotANumber", "good", {"--cel", "two", "FILE", "OUT"}, "'two' is not a cel"},
        FailureRow{"CelNegative", "good", {"--cel", "-1", "FILE", "OUT"}, "'-1' is not a cel"},
        FailureRow{"CelWithSign", "good", {"--cel", "+2", "FILE", "OUT"}, "'+2' is not a cel"},
        FailureRow{"CelTooLarge", "good", {"--cel", "99999999999", "FILE", "OUT"}, "not a cel"},
        FailureRow{"CelWithoutValue", "good", {"FILE", "OUT", "--cel"}, "'--cel' needs a cel"},
        FailureRow{"CelTwice", "good", {"--cel", "3", "--cel=1", "FILE", "OUT"}, "given twice"},
        FailureRow{"UnknownOption", "good", {"--scale", "FILE", "OUT"}, "unknown option '--scale'"},
        FailureRow{"NoOutput", "good", {"FILE"}, "png needs a FILE.dat and an OUT.png"},
        FailureRow{"ThreeOperands", "good", {"FILE", "OUT", "x"}, "png takes only"},
        FailureRow{"MissingDocument", "good", {"missing.dat", "OUT"}, "Cannot open missing.dat"},
        FailureRow{"NoColourStrip", "none", {"FILE", "OUT"}, "none/color.bmp: No such file"},
        FailureRow{"ColourStripTooSmall", "small", {"FILE", "OUT"}, "it is 241 x 2 pixels"},
        FailureRow{"ColourStripNotABitmap", "text", {"FILE", "OUT"}, "not a valid BMP picture"},
        FailureRow{"ColourStripUnreadable", "folder", {"FILE", "OUT"}, "Cannot read "},
        FailureRow{"ColourStripCutShort",
                   "cut",
                   {"FILE", "OUT"},
                   "(its pixel data ends past the end of the file (10 bytes are missing))"},
        FailureRow{"ColourStripPixelsPastItsEnd",
                   "offset",
                   {"FILE", "OUT"},
                   "(its pixel data starts past the end of the file)"},
        FailureRow{"OutputIsTheInput", "good", {"FILE", "FILE"}, "walk.dat: is the sprite file"}),
    [](const auto& row) { return std::string(row.param.name); });

// The output is written through the programs' one file writer, whose faults are its own test: what
// it refuses is said with the name as typed. Another name of the sprite file is refused before.
TEST_F(PngCommandTest, UnwritableOutputIsReported) {
    std::filesystem::create_hard_link(file_, dir_.Path("same.png"));
    const struct {
        std::string output;
        std::string message;
    } rows[] = {
        {dir_.Path("no/such/dir/out.png"),
         "Cannot create " + dir_.Path("no/such/dir/out.png") + ": No such file or directory."},
        {dir_.Path("same.png"), dir_.Path("same.png") + ": is the sprite file " + file_ +
                                    " itself; write the picture elsewhere"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.output);
        const Run run = RunIn("good", {"FILE", row.output});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "spritehex-cli: " + row.message + "\n");
    }
    EXPECT_EQ(ReadBytes(file_), ReadBytes(dir_.Path("same.png")));
}

// A failed run leaves an earlier picture at the output path as it was.
TEST_F(PngCommandTest, FailureKeepsAnEarlierPicture) {
    const std::string earlier = dir_.Write("out.png", {'e', 'a', 'r', 'l', 'i', 'e', 'r'});
    EXPECT_EQ(RunIn("none", {"FILE", "OUT"}).status, 2);
    EXPECT_EQ(RunIn("good", {"--cel", "9", "FILE", "OUT"}).status, 2);
    EXPECT_EQ(ReadText(earlier), "earlier");
}

TEST(PngCommandHelp, IsListedWithTheCoreCommands) {
    std::vector<CliCommand> commands(CoreCommands().begin(), CoreCommands().end());
    commands.push_back(PngCommand());
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCli(std::vector<std::string>{"--help"}, out, err, commands), kExitOk);
    EXPECT_NE(out.str().find("spritehex-cli png [--cel N] FILE.dat OUT.png"), std::string::npos);
    EXPECT_NE(out.str().find("spritehex-cli tables"), std::string::npos);
}

}  // namespace
