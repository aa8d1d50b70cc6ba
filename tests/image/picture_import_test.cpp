// The picture import: colours to indices (exact, transparent, nearest, alike strip colours,
// strict, an indexed picture's own palette), cutting into cels, halving what the PNG export wrote,
// pictures it refuses, and the round trip from the export back to the cel.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <random>

#include "image/colour_match.h"
#include "image/colour_strip.h"
#include "image/picture_import.h"
#include "temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Colours = std::vector<std::uint32_t>;

// The colours of the built-in strip, colour 0 a flat dark grey.
const StripColours kChip = {
    Rgb(48, 48, 56),  Rgb(0, 0, 0),       Rgb(33, 200, 66),   Rgb(94, 220, 120),
    Rgb(84, 85, 237), Rgb(125, 118, 252), Rgb(212, 82, 77),   Rgb(66, 235, 245),
    Rgb(252, 85, 84), Rgb(255, 121, 120), Rgb(212, 193, 84),  Rgb(230, 206, 128),
    Rgb(33, 176, 59), Rgb(201, 91, 186),  Rgb(204, 204, 204), Rgb(255, 255, 255)};

constexpr std::uint32_t kBrown = Rgb(0x7F, 0x3F, 0);
const std::string kHalved = "x.png was taken at half its size: each 2 × 2 block became one pixel.";

// A colour strip of 16 swatches 16 x 16, each of one colour.
RgbImage StripOf(const StripColours& colours) {
    RgbImage strip(256, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 256; ++x) strip.Set(x, y, colours[static_cast<std::size_t>(x / 16)]);
    return strip;
}

PngPicture Painted(int w, int h, const std::function<std::uint32_t(int, int)>& colour) {
    PngPicture picture;
    picture.width = w;
    picture.height = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) picture.pixels.push_back(colour(x, y));
    return picture;
}

// Rows separated by "/", a character a pixel: 0-F that strip colour of kChip; "." alpha 0 (each a
// different colour); "b" brown #7F3F00, "h" brown at alpha 128, "g" #004400, "w" #FAFAFA.
PngPicture Drawn(const std::string& rows) {
    const int w =
        static_cast<int>(rows.find('/') == std::string::npos ? rows.size() : rows.find('/'));
    const int h = static_cast<int>(std::count(rows.begin(), rows.end(), '/')) + 1;
    return Painted(w, h, [&](int x, int y) -> std::uint32_t {
        const char c = rows[static_cast<std::size_t>(y * (w + 1) + x)];
        if (std::isxdigit(static_cast<unsigned char>(c)) && !std::islower(c)) {
            return kChip[static_cast<std::size_t>(std::stoi(std::string(1, c), nullptr, 16))];
        }
        switch (c) {
            case '.':
                return static_cast<std::uint32_t>(x * 40 + y);
            case 'b':
                return kBrown;
            case 'h':
                return 0x80000000u | (kBrown & 0xFFFFFFu);
            case 'g':
                return Rgb(0, 0x44, 0);
            default:
                return Rgb(250, 250, 250);
        }
    });
}

PngPicture Indexed(int w, int h, Colours palette, Bytes indices) {
    PngPicture picture = Painted(
        w, h, [&](int x, int y) { return palette[indices[static_cast<std::size_t>(y * w + x)]]; });
    picture.indexed = true;
    picture.palette = std::move(palette);
    picture.indices = std::move(indices);
    return picture;
}

// The document image of cels written as hexadecimal digits, one a pixel.
Bytes Document(int w, int h, const std::string& digits) {
    Bytes image = {static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(h),
                   static_cast<std::uint8_t>(digits.size() / static_cast<std::size_t>(w * h))};
    for (char c : digits)
        image.push_back(static_cast<std::uint8_t>(std::stoi(std::string(1, c), nullptr, 16)));
    return image;
}

// The obvious cut: cel k is the kth w x h square, left to right, then top to bottom, each pixel
// the top-left one of its block at that scale, as the index whose strip colour it has (alpha 0:
// 0; an indexed picture: its index).
Bytes ExpectedCels(const PngPicture& p, int w, int h, int scale, int cels,
                   const StripColours& strip) {
    Bytes image = {static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(h),
                   static_cast<std::uint8_t>(cels)};
    const int columns = p.width / (w * scale);
    for (int k = 0; k < cels; ++k) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const auto at = static_cast<std::size_t>(
                    ((k / columns * h + y) * p.width + k % columns * w + x) * scale);
                const std::uint32_t c = p.pixels[at];
                image.push_back(
                    p.indexed      ? p.indices[at]
                    : c >> 24 == 0 ? 0
                                   : static_cast<std::uint8_t>(
                                         std::find(strip.begin(), strip.end(), c) - strip.begin()));
            }
        }
    }
    return image;
}

TEST(PictureImport, MatchesColoursToTheStrip) {
    StripColours blackTwice = kChip;  // 0 and 1 alike
    blackTwice[0] = kChip[1];
    StripColours whiteThrice = kChip;  // 1, 5 and 15 alike
    whiteThrice[1] = whiteThrice[5] = kChip[15];
    const std::string nearest1 = "1 pixel in 1 colour was matched to the nearest palette colour.";
    const std::string own =
        "x.png has a palette of its own, whose entries were taken as colour indices as they are, "
        "but its entry ";
    struct Row {
        const char* name;
        PngPicture picture;
        bool strict;
        std::string cels;  // or the problem, when it starts with "x.png"
        std::vector<std::string> notes = {};
        StripColours strip = kChip;
        bool keepIndices = false;
    };
    const std::string foreign =
        "x.png has a palette of its own: its colours were matched, not its entries' order.";
    const Row rows[] = {
        {"every strip colour, colour 0's opaque swatch included", Drawn("0123456789ABCDEF"), true,
         "0123456789ABCDEF"},
        {"alpha 0 is colour 0, whatever its colour", Drawn("..."), true, "000"},
        // Never colour 0, the transparent background: its swatch (48, 48, 56) is nearer.
        {"a dark colour goes to the nearest of 1 to 15", Drawn("g"), false, "1", {nearest1}},
        {"partly transparent: matched by its colour, and counted",
         Drawn("hb"),
         false,
         "66",
         {"2 pixels in 2 colours were matched to the nearest palette colour."}},
        {"pixels and distinct colours counted",
         Drawn("b2bwbw"),
         false,
         "626F6F",
         {"5 pixels in 2 colours were matched to the nearest palette colour."}},
        // Cels of 2 x 2: (0, 1) comes first in cel order, (3, 0) in reading order.
        {"strict: the first pixel in reading order", Drawn("111b/b111"), true,
         "x.png: pixel (3, 0) has colour #7F3F00, which is not in the palette."},
        {"strict: partly transparent", Drawn("1h"), true,
         "x.png: pixel (1, 0) has colour #7F3F00 with alpha 128, which is not in the palette."},
        {"alike strip colours: the lowest index, said",
         Drawn("121"),
         false,
         "020",
         {"2 pixels of colour #000000, which palette colours 0 and 1 share, became colour 0."},
         blackTwice},
        {"three alike",
         Drawn("F"),
         false,
         "1",
         {"1 pixel of colour #FFFFFF, which palette colours 1, 5 and 15 share, became colour 1."},
         whiteThrice},
        {"strict: alike strip colours refused",
         Drawn("21"),
         true,
         "x.png: pixel (1, 0) has colour #000000, which palette colours 0 and 1 share.",
         {},
         blackTwice},
        {"equally near: the lower index", Drawn("w"), false, "1", {nearest1}, whiteThrice},
        {"alike strip colours the picture does not use change nothing",
         Drawn("F"),
         true,
         "F",
         {},
         blackTwice},
        {"indexed, a palette of its own: matched by colour, said",
         Indexed(4, 1, {kBrown, Rgb(1, 1, 1), kChip[9], 0}, {3, 2, 1, 0}),
         false,
         "0916",
         {"2 pixels in 2 colours were matched to the nearest palette colour.", foreign}},
        {"indices kept when asked; an entry looking like another index is said",
         Indexed(4, 1, {kBrown, Rgb(1, 1, 1), kChip[9], 0}, {3, 2, 1, 0}),
         true,
         "3210",
         {own +
          "2 looks like colour 9: save the picture as RGB to have its colours matched instead."},
         kChip,
         true},
        {"indices kept: a transparent entry away from 0 is said, unused entries are not",
         Indexed(2, 1, {kChip[0], kChip[5], 0, kChip[1]}, {0, 2}),
         false,
         "02",
         {own +
          "2 looks like colour 0: save the picture as RGB to have its colours matched instead."},
         kChip,
         true},
        {"indexed, 16 entries in the strip's order",
         Indexed(2, 1, {kChip.begin(), kChip.end()}, {15, 0}), true, "F0"},
        {"indexed, 17 entries: matched by colour",
         Indexed(2, 1,
                 {kChip[15], kChip[14], kChip[0], kBrown, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                 {0, 2}),
         true,
         "F0",
         {foreign}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const bool squares = r.picture.width == 4 && r.picture.height == 2;
        const Result<ImportedDocument> imported =
            ImportPicture(r.picture, "x.png",
                          {squares ? 2 : r.picture.width, r.picture.height, ImportScale::kOne,
                           r.strict, r.keepIndices},
                          StripOf(r.strip));
        if (r.cels.starts_with("x.png")) {
            EXPECT_EQ(imported.message(), r.cels);
            continue;
        }
        ASSERT_TRUE(imported.ok()) << imported.message();
        EXPECT_EQ(imported->image, Document(r.picture.width, r.picture.height, r.cels));
        EXPECT_EQ(ImportNotes(*imported, "x.png"), r.notes);
    }
}

// No two neighbours alike, so no picture here looks like an exported one.
std::uint32_t Busy(int x, int y) {
    return kChip[static_cast<std::size_t>((x * 7 + y * 3 + x / 5) % 16)];
}

TEST(PictureImport, CutsIntoCels) {
    struct Row {
        const char* name;
        int width, height, celWidth, celHeight;
        int celsInPicture;  // or the problem
        std::string problem = {};
    };
    const Row rows[] = {
        {"the whole picture one cel", 16, 16, 16, 16, 1},
        {"a column of cels", 8, 24, 8, 8, 3},
        {"a sheet: left to right, then top to bottom", 20, 12, 5, 3, 16},
        {"100 cels of 1 x 1", 10, 10, 1, 1, 100},
        {"the widest picture: 100 cels of 64 x 64 in a row", 6400, 64, 64, 64, 100},
        {"110 cels: the first 100, said", 88, 80, 8, 8, 110},
        {"409600 cels of 1 x 1: the first 100, said", 640, 640, 1, 1, 409600},
        {"left over across", 40, 16, 16, 16, 0,
         "x.png is 40 × 16 pixels: not a whole number of 16 × 16 cels (8 pixels left over "
         "across)."},
        {"left over down", 16, 20, 16, 16, 0,
         "x.png is 16 × 20 pixels: not a whole number of 16 × 16 cels (4 pixels left over down)."},
        {"both ways", 17, 18, 8, 8, 0,
         "x.png is 17 × 18 pixels: not a whole number of 8 × 8 cels (1 pixel left over across and "
         "2 down)."},
        {"wide enough, not tall enough", 40, 8, 16, 16, 0,
         "x.png is 40 × 8 pixels: too small for one 16 × 16 cel."},
        {"no width", 8, 8, 0, 8, 0, "Width must be from 1 to 64."},
        {"too tall a cel", 8, 130, 8, 65, 0, "Height must be from 1 to 64."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const PngPicture picture = Painted(r.width, r.height, Busy);
        const Result<ImportedDocument> imported =
            ImportPicture(picture, "x.png", {r.celWidth, r.celHeight}, StripOf(kChip));
        EXPECT_EQ(imported.message(), r.problem);
        if (!imported) continue;
        const int cels = std::min(r.celsInPicture, 100);
        EXPECT_EQ(imported->image, ExpectedCels(picture, r.celWidth, r.celHeight, 1, cels, kChip));
        std::vector<std::string> notes;
        if (cels < r.celsInPicture) {
            notes.push_back("x.png holds " + std::to_string(r.celsInPicture) +
                            " cels; the first 100 were imported.");
        }
        EXPECT_EQ(ImportNotes(*imported, "x.png"), notes);
    }
}

TEST(PictureImport, HalvesWhatTheExportWrote) {
    // Swatches whose top-left 2 x 2 pixels are not of one colour: the export paints those blocks.
    RgbImage patterned = StripOf(kChip);
    StripColours black = kChip;  // colours 0 and 1 alike
    black[0] = kChip[1];
    const RgbImage blackTwice = StripOf(black);
    for (int v = 0; v < 16; ++v) patterned.Set(v * 16 + 1, 1, Rgb(v, 99, 1));
    const auto twice = [](int x, int y) { return Busy(x / 2, y / 2); };
    const auto auto_ = ImportScale::kAuto;
    struct Row {
        const char* name;
        PngPicture picture;
        int celWidth, celHeight;
        ImportScale scale;
        bool halvable;
        int wholeWidth;  // of WholePictureCel
        int expectedScale, cels;
        std::string problem = {};
        const RgbImage* strip = nullptr;
    };
    const Row rows[] = {
        {"an exported picture halves", Painted(32, 32, twice), 16, 16, auto_, true, 16, 2, 1},
        {"halving wins when both sizes fit", Painted(32, 32, twice), 8, 8, auto_, true, 16, 2, 4},
        {"halved, not a whole number of cels: as it is", Painted(16, 16, twice), 16, 16, auto_,
         true, 8, 1, 1},
        {"one block of two colours: as it is",
         Painted(32, 32, [&](int x, int y) { return x == 31 && y == 30 ? kChip[1] : twice(x, y); }),
         16, 16, auto_, false, 32, 1, 4},
        {"an odd side: as it is", Drawn("444/444/444/444/444/444"), 3, 3, auto_, false, 3, 1, 2},
        {"any two transparent pixels are one colour", Drawn("..../..../..../...."), 2, 2, auto_,
         true, 2, 2, 1},
        {"blocks the export paints from a patterned strip",
         Painted(8, 4,
                 [&](int x, int y) { return patterned.At((x / 2 + y / 2) * 16 + x % 2, y % 2); }),
         4, 2, auto_, true, 4, 2, 1, "", &patterned},
        {"indexed, our palette: two indices of one colour are two colours",
         Indexed(2, 2, {kChip[1], kChip[1]}, {0, 1, 0, 0}), 1, 1, auto_, false, 2, 1, 4, "",
         &blackTwice},
        {"--scale 1 keeps an exported picture as it is", Painted(32, 32, twice), 16, 16,
         ImportScale::kOne, true, 32, 1, 4},
        {"--scale 2 on blocks of mixed colours: their top-left pixels, said", Painted(4, 4, Busy),
         2, 2, ImportScale::kTwo, false, 2, 2, 1},
        {"--scale 2 with an odd side", Painted(5, 4, Busy), 2, 2, ImportScale::kTwo, false, 2, 2, 0,
         "x.png is 5 × 4 pixels: not a whole number of 2 × 2 cels at twice their size (1 pixel "
         "left over across)."},
        {"--scale 2 too small", Painted(2, 2, Busy), 2, 2, ImportScale::kTwo, false, 1, 2, 0,
         "x.png is 2 × 2 pixels: too small for one 2 × 2 cel at twice its size."},
    };
    const RgbImage chip = StripOf(kChip);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const RgbImage& strip = r.strip != nullptr ? *r.strip : chip;
        const PictureShape shape = ShapeOfPicture(r.picture, strip);
        EXPECT_EQ(shape.halvable, r.halvable);
        EXPECT_EQ(WholePictureCel(shape, r.scale).width, r.wholeWidth);
        EXPECT_EQ(ScaleOfImport(shape, r.celWidth, r.celHeight, r.scale), r.expectedScale);
        const Result<ImportedDocument> imported =
            ImportPicture(r.picture, "x.png", {r.celWidth, r.celHeight, r.scale}, strip);
        EXPECT_EQ(imported.message(), r.problem);
        if (!imported) continue;
        EXPECT_EQ(imported->image, ExpectedCels(r.picture, r.celWidth, r.celHeight, r.expectedScale,
                                                r.cels, StripColoursOf(strip)));
        std::vector<std::string> notes;
        if (r.expectedScale == 2) notes.push_back(kHalved);
        if (r.scale == ImportScale::kTwo) {
            notes.push_back(
                "4 blocks of 2 × 2 pixels were not of one colour: each became the "
                "colour of its top-left pixel.");
        }
        EXPECT_EQ(ImportNotes(*imported, "x.png"), notes);
    }
}

// What the reader refuses, through the import (the PNG codec's tests give every limit at the
// import's, 100 cels of 64 x 64).
TEST(PictureImport, RefusesPicturesItCannotRead) {
    TempDir dir;
    Bytes huge = EncodePng(RgbImage(2, 2), 9);
    huge[18] = 0x75;  // 30000 wide, and the header's CRC made right
    huge[19] = 0x30;
    const auto crc = static_cast<std::uint32_t>(crc32(0, &huge[12], 17));
    for (std::size_t i = 0; i < 4; ++i)
        huge[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    const std::pair<std::string, std::string> rows[] = {
        {dir.Path("none.png"),
         "Cannot open " + dir.Path("none.png") + ": No such file or directory."},
        {dir.Write("empty.png", {}), dir.Path("empty.png") + " is empty."},
        {dir.Write("walk.png", {8, 8, 1}), dir.Path("walk.png") + " is not a PNG picture."},
        {dir.Write("huge.png", huge),
         dir.Path("huge.png") + " is 30000 × 2 pixels: wider than 6400 pixels."},
    };
    for (const auto& [path, problem] : rows)
        EXPECT_EQ(ReadPictureToImport(path, path).message(), problem);
}

// Cel by cel: the export's picture, encoded and decoded as a PNG file, imported strictly at the
// cel's size with the scale left to the import, is the cel, colour 0 included. Strips: the built
// one, and random ones of 16 distinct colours, half of them with patterned swatches.
TEST(PictureImport, ExportedCelsComeBack) {
    std::mt19937 random(16);
    Result<RgbImage> built = ReadColourStrip(SPRITEHEX_COLOUR_STRIP, "color.bmp");
    ASSERT_TRUE(built.ok()) << built.message();
    for (int round = 0; round < 200; ++round) {
        RgbImage strip = built.value();
        if (round % 2 == 1) {
            StripColours colours{};
            for (std::size_t i = 0; i < 16; ++i)
                colours[i] = Rgb(static_cast<int>(i) * 16, static_cast<int>(random() % 256),
                                 static_cast<int>(random() % 256));
            strip = StripOf(colours);
            for (int v = 0; v < 16 && round % 4 == 1; ++v)
                strip.Set(v * 16 + 1, 0, static_cast<std::uint32_t>(random()) | 0xFF000000u);
        }
        const int w = 1 + static_cast<int>(random() % 64);
        const int h = 1 + static_cast<int>(random() % 64);
        Bytes cel(static_cast<std::size_t>(w * h));
        const unsigned colours = 1 + random() % 16;
        for (std::uint8_t& v : cel) v = static_cast<std::uint8_t>(random() % colours);
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h) + ", round " +
                     std::to_string(round));
        const Result<PngPicture> picture = DecodePng(
            EncodePng(AssembleExportImage(strip, cel.data(), w, h), 9), "x.png", kImportLimits);
        ASSERT_TRUE(picture.ok()) << picture.message();
        const Result<ImportedDocument> imported =
            ImportPicture(*picture, "x.png", {w, h, ImportScale::kAuto, true}, strip);
        ASSERT_TRUE(imported.ok()) << imported.message();
        Bytes document(cel.size() + 3, 1);
        document[0] = static_cast<std::uint8_t>(w);
        document[1] = static_cast<std::uint8_t>(h);
        std::copy(cel.begin(), cel.end(), document.begin() + 3);
        ASSERT_EQ(imported->image, document);
        EXPECT_EQ(ImportNotes(*imported, "x.png"), std::vector<std::string>{kHalved});
    }
}

}  // namespace
