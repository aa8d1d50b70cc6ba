// spritehex-cli import in-process: its options and operands, the notes it prints, and every
// failure leaving nothing written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/import_command.h"
#include "example_tables.h"
#include "image/bmp_file.h"
#include "image/colour_strip.h"
#include "image/png_codec.h"
#include "strip_command_run.h"
#include "temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Sixteen distinct colours, colour 4 at 0x5455ED.
std::uint32_t StripColour(int v) {
    return v == 4 ? Rgb(0x54, 0x55, 0xED) : Rgb(v * 16, 255 - v * 9, 7 * v);
}

RgbImage Strip(int same = -1) {
    RgbImage strip(256, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 256; ++x) strip.Set(x, y, StripColour(x / 16 == same ? 4 : x / 16));
    }
    return strip;
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A picture of the strip's colours: pixel (x, y) has colour colour(x, y).
template <typename F>
Bytes Png(int width, int height, F colour) {
    RgbImage picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.Set(x, y, colour(x, y));
    return EncodePng(picture, 9);
}

// Cel pixels where no two neighbours are alike.
std::uint8_t Busy(int x, int y) {
    return static_cast<std::uint8_t>((x * 7 + y * 3) % 16);
}

// Colour strips and pictures in a temporary folder.
class ImportCommandTest : public testing::Test {
  protected:
    ImportCommandTest() {
        for (const char* name : {"good", "shared", "none"}) {
            std::filesystem::create_directory(dir_.Path(name));
        }
        dir_.Write("good/color.bmp", EncodeBmp(Strip()));
        dir_.Write("shared/color.bmp", EncodeBmp(Strip(9)));  // 9 looks like 4
        // A 16 x 8 cel as the png command writes it: 32 x 16 pixels.
        cel_ = Bytes(16 * 8);
        for (int i = 0; i < 16 * 8; ++i) cel_[static_cast<std::size_t>(i)] = Busy(i % 16, i / 16);
        dir_.Write("cel.png", EncodePng(AssembleExportImage(Strip(), cel_.data(), 16, 8), 9));
        // Four 8 x 8 cels in a row, and 110 of them in 11 rows of 10.
        dir_.Write("sheet.png", Png(32, 8, [](int x, int y) { return StripColour(Busy(x, y)); }));
        dir_.Write("many.png", Png(80, 88, [](int x, int y) { return StripColour(Busy(x, y)); }));
        dir_.Write("wide.png", Png(72, 8, [](int x, int y) { return StripColour(Busy(x, y)); }));
        dir_.Write("brown.png", Png(2, 1, [](int x, int) {
                       return x == 0 ? StripColour(3) : Rgb(0x7F, 0x3F, 0);
                   }));
        dir_.Write("blue.png", Png(2, 1, [](int x, int) { return StripColour(x == 0 ? 4 : 1); }));
        dir_.Write("text.png", {'n', 'o', 't', ' ', 'P', 'N', 'G'});
    }

    using Run = CommandRun;

    // Names of pictures and "OUT" stand for their paths in the temporary folder.
    Run RunIn(const std::string& stripDir, std::vector<std::string> args) {
        for (std::string& arg : args) {
            if (arg == "OUT") arg = dir_.Path("out.dat");
            if (arg.ends_with(".png")) arg = dir_.Path(arg);
            if (arg.starts_with("DIR/")) arg = Named(arg);
        }
        return RunStripCommand(RunImport, args, dir_.Path(stripDir));
    }

    // The message with the picture's name as the test gives it.
    std::string Named(const std::string& text) {
        std::string named = text;
        for (std::size_t at = named.find("DIR/"); at != std::string::npos; at = named.find("DIR/"))
            named.replace(at, 4, dir_.Path(""));
        return named;
    }

    TempDir dir_;
    Bytes cel_;
};

Bytes Document(int width, int height, const Pixels& pixels) {
    return SpriteFileImage(width, height, pixels);
}

// The busy cels of a sheet: cel k is its kth 8 x 8 square, left to right, then top to bottom.
Pixels SheetCels(int columns, int cels) {
    Pixels pixels;
    for (int k = 0; k < cels; ++k)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                pixels.push_back(Busy(k % columns * 8 + x, k / columns * 8 + y));
    return pixels;
}

TEST_F(ImportCommandTest, WritesTheDocument) {
    const Bytes cel = Document(16, 8, cel_);
    const Bytes sheet = Document(8, 8, SheetCels(4, 4));
    struct Row {
        const char* name;
        const char* stripDir;
        std::vector<std::string> args;
        Bytes document;
        std::string err = {};
    };
    const Row rows[] = {
        {"the whole picture one cel, halved", "good", {"cel.png", "OUT"}, cel},
        {"a cel size", "good", {"--size", "8x8", "sheet.png", "OUT"}, sheet},
        {"a cel size with =", "good", {"--size=8x8", "sheet.png", "OUT"}, sheet},
        {"a capital X", "good", {"--size", "8X8", "sheet.png", "OUT"}, sheet},
        {"options after the operands", "good", {"sheet.png", "OUT", "--size", "8x8"}, sheet},
        {"the last size wins",
         "good",
         {"--size", "4x4", "--size", "8x8", "sheet.png", "OUT"},
         sheet},
        {"-- ends the options", "good", {"--size", "8x8", "--", "sheet.png", "OUT"}, sheet},
        {"--scale 2", "good", {"--scale", "2", "--size", "16x8", "cel.png", "OUT"}, cel},
        {"--scale=auto", "good", {"--scale=auto", "cel.png", "OUT"}, cel},
        {"--strict with exact colours", "good", {"--strict", "cel.png", "OUT"}, cel},
        {"--scale 1: the picture as it is, 4 cels",
         "good",
         {"--scale", "1", "--size", "16x8", "cel.png", "OUT"},
         [&] {
             Pixels pixels;
             for (int k = 0; k < 4; ++k)
                 for (int y = 0; y < 8; ++y)
                     for (int x = 0; x < 16; ++x)
                         pixels.push_back(cel_[static_cast<std::size_t>((k / 2 * 8 + y) / 2 * 16 +
                                                                        (k % 2 * 16 + x) / 2)]);
             return Document(16, 8, pixels);
         }()},
        {"the nearest colour, said",
         "good",
         {"brown.png", "OUT"},
         Document(2, 1, {3, 11}),
         "spritehex-cli: 1 pixel in 1 colour was matched to the nearest palette colour.\n"},
        {"110 cels: the first 100, said",
         "good",
         {"--size", "8x8", "many.png", "OUT"},
         Document(8, 8, SheetCels(10, 100)),
         "spritehex-cli: DIR/many.png holds 110 cels; the first 100 were imported.\n"},
        {"a colour two strip colours have, said",
         "shared",
         {"blue.png", "OUT"},
         Document(2, 1, {4, 1}),
         "spritehex-cli: 1 pixel of colour #5455ED, which palette colours 4 and 9 share, became "
         "colour 4.\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::filesystem::remove(dir_.Path("out.dat"));
        const Run run = RunIn(r.stripDir, r.args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, Named(r.err));
        EXPECT_EQ(ReadBytes(dir_.Path("out.dat")), r.document);
    }
}

TEST_F(ImportCommandTest, FailsWritingNothing) {
    const std::string usage = "\nTry 'spritehex-cli --help' for more information.\n";
    struct Row {
        const char* name;
        const char* stripDir;
        std::vector<std::string> args;
        std::string err;
    };
    std::vector<Row> rows = {
        {"no operands", "good", {}, "import needs a PICTURE.png and an OUT.dat" + usage},
        {"no output", "good", {"cel.png"}, "import needs a PICTURE.png and an OUT.dat" + usage},
        {"three operands",
         "good",
         {"cel.png", "OUT", "x"},
         "import takes only a PICTURE.png and an OUT.dat" + usage},
        {"an unknown option",
         "good",
         {"--cel", "1", "cel.png", "OUT"},
         "unknown option '--cel' for import" + usage},
        {"--size without a value",
         "good",
         {"cel.png", "OUT", "--size"},
         "option '--size' needs a cel size WxH, such as 16x16" + usage},
        {"--scale without a value",
         "good",
         {"cel.png", "OUT", "--scale"},
         "option '--scale' needs a value: 1, 2 or auto" + usage},
        {"an unknown scale",
         "good",
         {"--scale", "3", "cel.png", "OUT"},
         "unknown scale '3': use 1, 2 or auto" + usage},
        {"a width of 0",
         "good",
         {"--size", "0x8", "cel.png", "OUT"},
         "--size 0x8: Width must be from 1 to 64." + usage},
        {"a height of 65",
         "good",
         {"--size", "8x65", "cel.png", "OUT"},
         "--size 8x65: Height must be from 1 to 64." + usage},
        {"a width of 999999999",
         "good",
         {"--size", "999999999x1", "cel.png", "OUT"},
         "--size 999999999x1: Width must be from 1 to 64." + usage},
        {"not a PNG picture", "good", {"text.png", "OUT"}, "DIR/text.png is not a PNG picture.\n"},
        {"no picture",
         "good",
         {"none.png", "OUT"},
         "Cannot find DIR/none.png: there is no such file.\n"},
        {"no colour strip",
         "none",
         {"cel.png", "OUT"},
         "Cannot find DIR/none/color.bmp: there is no such file.\n"},
        {"the output is the picture",
         "good",
         {"cel.png", "cel.png"},
         "DIR/cel.png: is the picture DIR/cel.png itself; write the sprite file elsewhere\n"},
        {"too large for one cel, and no size",
         "good",
         {"wide.png", "OUT"},
         "DIR/wide.png is 72 × 8 pixels, more than one cel of at most 64 × 64: give the cel size "
         "with --size WxH\n"},
        {"not a whole number of cels",
         "good",
         {"--size", "12x8", "sheet.png", "OUT"},
         "DIR/sheet.png is 32 × 8 pixels: not a whole number of 12 × 8 cels (8 pixels left over "
         "across).\n"},
        {"strict: a colour not in the palette",
         "good",
         {"--strict", "brown.png", "OUT"},
         "DIR/brown.png: pixel (1, 0) has colour #7F3F00, which is not in the palette.\n"},
        {"strict: a colour two strip colours have",
         "shared",
         {"--strict", "blue.png", "OUT"},
         "DIR/blue.png: pixel (0, 0) has colour #5455ED, which palette colours 4 and 9 share.\n"},
        {"an output folder that does not exist",
         "good",
         {"cel.png", "DIR/no/such/out.dat"},
         "Cannot create DIR/no/such/out.dat: No such file or directory.\n"},
    };
    for (const char* size :
         {"16", "x16", "16x", "16x16x16", "-8x8", "+8x8", "8 x8", "1234567890x1", ""}) {
        rows.push_back(
            {"a size that is not WxH",
             "good",
             {"--size", size, "cel.png", "OUT"},
             std::string("'").append(size).append("' is not a cel size: use WxH, such as 16x16") +
                 usage});
    }
    const auto files = [&] {
        return std::distance(std::filesystem::recursive_directory_iterator(dir_.Path("")),
                             std::filesystem::recursive_directory_iterator());
    };
    const auto before = files();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name + std::string(" ") + (r.args.size() > 1 ? r.args[1] : ""));
        const Run run = RunIn(r.stripDir, r.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, Named("spritehex-cli: " + r.err));
        EXPECT_EQ(files(), before) << "a file was left behind";
    }
}

// A failed import leaves an earlier document at the output path as it was.
TEST_F(ImportCommandTest, FailureKeepsAnEarlierDocument) {
    const Bytes earlier = Document(1, 1, {5});
    dir_.Write("out.dat", earlier);
    EXPECT_EQ(RunIn("good", {"--strict", "brown.png", "OUT"}).status, 2);
    EXPECT_EQ(RunIn("none", {"cel.png", "OUT"}).status, 2);
    EXPECT_EQ(ReadBytes(dir_.Path("out.dat")), earlier);
}

TEST(ImportCommandHelp, IsListedWithTheOtherCommands) {
    std::vector<CliCommand> commands(CoreCommands().begin(), CoreCommands().end());
    commands.push_back(ImportCommand());
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCli(std::vector<std::string>{"--help"}, out, err, commands), kExitOk);
    EXPECT_NE(
        out.str().find(
            "spritehex-cli import [--size WxH] [--scale 1|2|auto] [--strict] PICTURE.png OUT.dat"),
        std::string::npos);
    EXPECT_NE(out.str().find("--strict      refuse a colour"), std::string::npos);
}

}  // namespace
