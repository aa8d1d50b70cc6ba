// spritehex-cli import in-process: its options and operands, what it says on standard error, and
// every failure leaving nothing written (the import itself: tests/image/picture_import_test.cpp).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/import_command.h"
#include "example_tables.h"
#include "image/bmp_file.h"
#include "image/colour_strip.h"
#include "image/picture_import.h"
#include "image/png_codec.h"
#include "strip_command_run.h"
#include "temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Sixteen distinct colours.
std::uint32_t StripColour(int v) {
    return Rgb(v * 16, 255 - v * 9, 7 * v);
}

// Cel pixels where no two neighbours are alike.
std::uint8_t Busy(int x, int y) {
    return static_cast<std::uint8_t>((x * 7 + y * 3) % 16);
}

// A w x h picture of the strip's colours, no two neighbours alike; brown at (1, 0) if asked.
Bytes Png(int w, int h, bool brown = false) {
    RgbImage picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) picture.Set(x, y, StripColour(Busy(x, y)));
    if (brown) picture.Set(1, 0, Rgb(0x7F, 0x3F, 0));
    return EncodePng(picture, 9);
}

// A colour strip ("good"; "none" has none) and pictures in a temporary folder.
class ImportCommandTest : public testing::Test {
  protected:
    ImportCommandTest() {
        std::filesystem::create_directory(dir_.Path("good"));
        std::filesystem::create_directory(dir_.Path("none"));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 256; ++x) strip_.Set(x, y, StripColour(x / 16));
        dir_.Write("good/color.bmp", EncodeBmp(strip_));
        // A 16 x 8 cel as the png command writes it (32 x 16), a sheet of four 8 x 8 cels, a
        // picture wider than one cel, one of a colour not in the strip, and a single pixel.
        cel_ = Pixels(16 * 8);
        for (int i = 0; i < 16 * 8; ++i) cel_[static_cast<std::size_t>(i)] = Busy(i % 16, i / 16);
        dir_.Write("cel.png", EncodePng(AssembleExportImage(strip_, cel_.data(), 16, 8), 9));
        dir_.Write("sheet.png", Png(32, 8));
        dir_.Write("wide.png", Png(72, 8));
        dir_.Write("brown.png", Png(8, 8, true));
        dir_.Write("dot.png", Png(1, 1));
        dir_.Write("text.png", {'n', 'o', 't', ' ', 'P', 'N', 'G'});
    }

    // Pictures by their names, "OUT" and "DIR/" stand for their paths in the temporary folder.
    CommandRun RunIn(const std::string& stripDir, std::vector<std::string> args) {
        for (std::string& arg : args) {
            if (arg == "OUT") arg = "DIR/out.dat";
            if (arg.ends_with(".png")) arg = "DIR/" + arg;
            arg = Named(arg);
        }
        return RunStripCommand(RunImport, args, dir_.Path(stripDir));
    }

    std::string Named(std::string text) const {
        for (std::size_t at = text.find("DIR/"); at != std::string::npos; at = text.find("DIR/"))
            text.replace(at, 4, dir_.Path(""));
        return text;
    }

    // What the import gives with those options: the command line must ask for exactly these.
    Bytes Imported(const std::string& picture, const ImportOptions& options) const {
        const Result<PngPicture> read = ReadPictureToImport(dir_.Path(picture), picture);
        const Result<ImportedDocument> imported = ImportPicture(*read, picture, options, strip_);
        return imported ? imported->image : Bytes();
    }

    TempDir dir_;
    RgbImage strip_{256, 2};
    Pixels cel_;
};

TEST_F(ImportCommandTest, WritesTheDocument) {
    const ImportScale one = ImportScale::kOne;
    const auto halved = [this](const std::string& picture) {
        return Named("spritehex-cli: DIR/" + picture +
                     " was taken at half its size: each 2 × 2 block became one pixel.\n");
    };
    struct Row {
        std::vector<std::string> args;
        Bytes document;
        std::string err = {};
    };
    const Row rows[] = {
        // Without --size: the whole picture, halved; with it, as it is unless a scale is given.
        {{"cel.png", "OUT"}, SpriteFileImage(16, 8, cel_), halved("cel.png")},
        {{"--size=8X8", "sheet.png", "OUT"}, Imported("sheet.png", {8, 8, one})},
        {{"--size", "16x8", "cel.png", "OUT"}, Imported("cel.png", {16, 8, one})},
        {{"--scale=1", "cel.png", "OUT"}, Imported("cel.png", {32, 16, one})},
        {{"--scale", "2", "--size", "16x4", "sheet.png", "OUT"},
         Imported("sheet.png", {16, 4, ImportScale::kTwo}),
         halved("sheet.png") +
             "spritehex-cli: 64 blocks of 2 × 2 pixels were not of one colour: each became the "
             "colour of its top-left pixel.\n"},
        {{"--scale", "auto", "--strict", "--size", "8x8", "cel.png", "OUT"},
         Imported("cel.png", {8, 8}),
         halved("cel.png")},
        {{"brown.png", "OUT"},
         Imported("brown.png", {8, 8}),
         "spritehex-cli: 1 pixel in 1 colour was matched to the nearest palette colour.\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.args[r.args.size() - 2]);
        std::filesystem::remove(dir_.Path("out.dat"));
        const CommandRun run = RunIn("good", r.args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, r.err);
        EXPECT_FALSE(r.document.empty());
        EXPECT_EQ(ReadBytes(dir_.Path("out.dat")), r.document);
    }
    // - is standard output, as for every output of the program.
    const CommandRun piped = RunIn("good", {"cel.png", "-"});
    EXPECT_EQ(Bytes(piped.out.begin(), piped.out.end()), rows[0].document);
}

TEST_F(ImportCommandTest, FailsWritingNothing) {
    const std::string usage = "\nTry 'spritehex-cli --help' for more information.\n";
    std::vector<std::pair<std::vector<std::string>, std::string>> rows = {
        {{"cel.png"}, "import needs a PICTURE.png and an OUT.dat" + usage},
        {{"cel.png", "OUT", "x"}, "import takes only a PICTURE.png and an OUT.dat" + usage},
        {{"--cel", "1", "cel.png", "OUT"}, "unknown option '--cel' for import" + usage},
        {{"cel.png", "OUT", "--size"},
         "option '--size' needs a cel size WxH, such as 16x16" + usage},
        {{"--scale", "3", "cel.png", "OUT"}, "unknown scale '3': use 1, 2 or auto" + usage},
        {{"--scale=1", "--scale", "2", "cel.png", "OUT"},
         "option '--scale' is given twice" + usage},
        {{"--size", "0x8", "cel.png", "OUT"}, "--size 0x8: Width must be from 1 to 64." + usage},
        {{"text.png", "OUT"}, "DIR/text.png is not a PNG picture.\n"},
        {{"wide.png", "OUT"},
         "DIR/wide.png is 72 × 8 pixels, more than one cel of at most 64 × 64: give the cel size "
         "with --size WxH\n"},
        {{"--scale", "2", "dot.png", "OUT"},
         "DIR/dot.png is 1 × 1 pixels: too small for one 1 × 1 cel at twice its size.\n"},
        {{"--strict", "brown.png", "OUT"},
         "DIR/brown.png: pixel (1, 0) has colour #7F3F00, which is not in the palette.\n"},
        {{"cel.png", "cel.png"},
         "DIR/cel.png: is the picture DIR/cel.png itself; write the sprite file elsewhere\n"},
        {{"cel.png", "DIR/no/out.dat"},
         "Cannot create DIR/no/out.dat: No such file or directory.\n"},
        {{"none", "cel.png", "OUT"},
         "Cannot open DIR/none/color.bmp: No such file or directory.\n"},
    };
    for (const char* size : {"16", "x16", "16x16x16", "-8x8", "8 x8", "1234567890x1", ""}) {
        rows.push_back(
            {{"--size", size, "cel.png", "OUT"},
             std::string("'").append(size).append("' is not a cel size: use WxH, such as 16x16") +
                 usage});
    }
    const auto files = [&] {
        return std::distance(std::filesystem::recursive_directory_iterator(dir_.Path("")),
                             std::filesystem::recursive_directory_iterator());
    };
    const auto before = files();
    for (auto [args, err] : rows) {
        const bool noStrip = !args.empty() && args[0] == "none";
        if (noStrip) args.erase(args.begin());
        SCOPED_TRACE(err);
        const CommandRun run = RunIn(noStrip ? "none" : "good", args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, Named("spritehex-cli: " + err));
        EXPECT_EQ(files(), before) << "a file was left behind";
    }
}

}  // namespace
