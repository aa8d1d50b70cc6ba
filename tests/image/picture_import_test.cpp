// The picture import: colours to indices (exact, transparent, nearest, shared, strict), cutting
// into cels, halving what the PNG export wrote, pictures it must refuse, and the round trip from
// the export back to the cel.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <random>

#include <sys/stat.h>

#include "document/sprite_file.h"
#include "image/colour_match.h"
#include "image/colour_strip.h"
#include "image/picture_import.h"
#include "temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Colours = std::vector<std::uint32_t>;

constexpr std::uint32_t Argb(int a, std::uint32_t rgb) {
    return static_cast<std::uint32_t>(a) << 24 | (rgb & 0xFFFFFFu);
}

// The colours of the built-in strip, colour 0 a flat dark grey.
const StripColours kChip = {
    Rgb(48, 48, 56),  Rgb(0, 0, 0),       Rgb(33, 200, 66),   Rgb(94, 220, 120),
    Rgb(84, 85, 237), Rgb(125, 118, 252), Rgb(212, 82, 77),   Rgb(66, 235, 245),
    Rgb(252, 85, 84), Rgb(255, 121, 120), Rgb(212, 193, 84),  Rgb(230, 206, 128),
    Rgb(33, 176, 59), Rgb(201, 91, 186),  Rgb(204, 204, 204), Rgb(255, 255, 255)};

// A colour strip of 16 swatches 16 x 16, each of one colour.
RgbImage StripOf(const StripColours& colours) {
    RgbImage strip(16 * kColourSwatchWidth, 16);
    for (int y = 0; y < strip.height; ++y) {
        for (int x = 0; x < strip.width; ++x) {
            strip.Set(x, y, colours[static_cast<std::size_t>(x / kColourSwatchWidth)]);
        }
    }
    return strip;
}

PngPicture RgbPicture(int width, int height, Colours pixels) {
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels = std::move(pixels);
    return picture;
}

PngPicture Painted(int width, int height, const std::function<std::uint32_t(int, int)>& colour) {
    Colours pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(colour(x, y));
    return RgbPicture(width, height, pixels);
}

PngPicture IndexedPicture(int width, int height, Colours palette, Bytes indices) {
    PngPicture picture = RgbPicture(width, height, {});
    picture.indexed = true;
    picture.palette = std::move(palette);
    for (std::uint8_t i : indices) picture.pixels.push_back(picture.palette[i]);
    picture.indices = std::move(indices);
    return picture;
}

// The document image of one w x h cel.
Bytes OneCel(int width, int height, const Bytes& cel) {
    Bytes image = {static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(height), 1};
    image.insert(image.end(), cel.begin(), cel.end());
    return image;
}

Result<ImportedDocument> Import(const PngPicture& picture, int celWidth, int celHeight,
                                ImportScale scale = ImportScale::kOne, bool strict = false,
                                const RgbImage& strip = StripOf(kChip)) {
    return ImportPicture(picture, "x.png", {celWidth, celHeight, scale, strict}, strip);
}

// --- colours ----------------------------------------------------------------------------------

TEST(PictureImport, MatchesColoursToTheStrip) {
    const std::uint32_t brown = Rgb(0x7F, 0x3F, 0x00);
    StripColours sharedBlack = kChip;
    sharedBlack[0] = Rgb(0, 0, 0);
    StripColours threeWhites = kChip;  // 15 is white already
    threeWhites[1] = threeWhites[5] = Rgb(255, 255, 255);
    Bytes all16(16);
    for (std::uint8_t i = 0; i < 16; ++i) all16[i] = i;
    struct Row {
        const char* name;
        PngPicture picture;
        bool strict = false;
        Bytes cels = {};  // the indices, when the import succeeds
        std::string problem = {};
        std::vector<std::string> notes = {};
        StripColours strip = kChip;
    };
    const Row rows[] = {
        {"every strip colour, colour 0's swatch included",
         RgbPicture(16, 1, {kChip.begin(), kChip.end()}), true, all16},
        {"alpha 0 is colour 0, whatever its colour",
         RgbPicture(3, 1, {Argb(0, kChip[15]), Argb(0, 0), Argb(0, brown)}),
         true,
         {0, 0, 0}},
        {"a colour near a strip colour goes to it",
         RgbPicture(2, 1, {kChip[5] + 0x010100, kChip[9]}),
         false,
         {5, 9},
         "",
         {"1 pixel in 1 colour was matched to the nearest palette colour."}},
        // By plain RGB distance black is nearer; green weighs most, and colour 0 differs less in
        // it.
        {"green weighs most: a dark green is nearer the dark grey than black",
         RgbPicture(1, 1, {Rgb(0, 68, 0)}),
         false,
         {0},
         "",
         {"1 pixel in 1 colour was matched to the nearest palette colour."}},
        {"a partly transparent strip colour is matched by its colour, and counted",
         RgbPicture(2, 1, {Argb(128, kChip[3]), kChip[3]}),
         false,
         {3, 3},
         "",
         {"1 pixel in 1 colour was matched to the nearest palette colour."}},
        {"pixels and distinct colours counted",
         RgbPicture(6, 1, {brown, kChip[2], brown, Rgb(250, 250, 250), brown, Rgb(250, 250, 250)}),
         false,
         {0, 2, 0, 15, 0, 15},
         "",
         {"5 pixels in 2 colours were matched to the nearest palette colour."}},
        {"strict: exact and transparent colours pass",
         RgbPicture(2, 1, {kChip[7], Argb(0, brown)}),
         true,
         {7, 0}},
        // Cels of 2 x 2: (0, 1) comes first in cel order, (3, 0) in reading order.
        {"strict: the first pixel in reading order is named",
         RgbPicture(4, 2,
                    {kChip[1], kChip[1], kChip[1], brown, brown, kChip[1], kChip[1], kChip[1]}),
         true,
         {},
         "x.png: pixel (3, 0) has colour #7F3F00, which is not in the palette."},
        {"strict: a partly transparent pixel",
         RgbPicture(2, 1, {kChip[1], Argb(128, brown)}),
         true,
         {},
         "x.png: pixel (1, 0) has colour #7F3F00 with alpha 128, which is not in the palette."},
        {"indexed, 4 entries: indices as they are, whatever their colours; an entry that looks "
         "like another colour index is said",
         IndexedPicture(4, 1, {brown, Rgb(1, 1, 1), kChip[9], Argb(0, 0)}, {3, 2, 1, 0}),
         true,
         {3, 2, 1, 0},
         "",
         {"x.png has a palette of its own, whose entries were taken as colour indices as they are, "
          "but its entry 2 looks like colour 9: save the picture as RGB to have its colours "
          "matched "
          "instead."}},
        {"indexed: a transparent entry away from 0 is said; unused entries are not",
         IndexedPicture(2, 1, {kChip[0], kChip[5], Argb(0, 0), kChip[1]}, {0, 2}),
         false,
         {0, 2},
         "",
         {"x.png has a palette of its own, whose entries were taken as colour indices as they are, "
          "but its entry 2 looks like colour 0: save the picture as RGB to have its colours "
          "matched "
          "instead."}},
        {"indexed: entries in the strip's order say nothing",
         IndexedPicture(3, 1, {kChip[0], kChip[1], kChip[2]}, {2, 1, 0}),
         false,
         {2, 1, 0}},
        {"indexed, 16 entries: indices as they are",
         IndexedPicture(2, 1, Colours(16, brown), {15, 0}),
         true,
         {15, 0}},
        {"indexed, 17 entries: matched by colour",
         IndexedPicture(2, 1,
                        [&] {
                            Colours reversed(kChip.rbegin(), kChip.rend());
                            reversed.push_back(brown);
                            return reversed;
                        }(),
                        {0, 15}),
         true,
         {15, 0}},
        {"two strip colours alike: the lower index, and said",
         RgbPicture(3, 1, {Rgb(0, 0, 0), kChip[2], Rgb(0, 0, 0)}),
         false,
         {0, 2, 0},
         "",
         {"2 pixels of colour #000000, which palette colours 0 and 1 share, became colour 0."},
         sharedBlack},
        {"three strip colours alike",
         RgbPicture(1, 1, {Rgb(255, 255, 255)}),
         false,
         {1},
         "",
         {"1 pixel of colour #FFFFFF, which palette colours 1, 5 and 15 share, became colour 1."},
         threeWhites},
        {"strict: a colour two strip colours share is refused",
         RgbPicture(2, 1, {kChip[2], Rgb(0, 0, 0)}),
         true,
         {},
         "x.png: pixel (1, 0) has colour #000000, which palette colours 0 and 1 share.",
         {},
         sharedBlack},
        {"alike strip colours that the picture does not use change nothing",
         RgbPicture(1, 1, {Rgb(255, 255, 255)}),
         true,
         {15},
         "",
         {},
         sharedBlack},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        // Cels of 2 x 2 where the picture allows, so that cel order and reading order differ.
        const bool squares = r.picture.width == 4 && r.picture.height == 2;
        const Result<ImportedDocument> imported =
            Import(r.picture, squares ? 2 : r.picture.width, squares ? 2 : r.picture.height,
                   ImportScale::kOne, r.strict, StripOf(r.strip));
        EXPECT_EQ(imported.message(), r.problem);
        if (!imported) continue;
        EXPECT_EQ(imported->image, OneCel(r.picture.width, r.picture.height, r.cels));
        EXPECT_EQ(ImportNotes(*imported, "x.png"), r.notes);
        EXPECT_EQ(imported->tookIndices, r.picture.indexed && r.picture.palette.size() <= 16);
    }
}

TEST(PictureImport, ColourTexts) {
    EXPECT_EQ(ColourText(Rgb(0x7F, 0x3F, 0)), "#7F3F00");
    EXPECT_EQ(ColourText(Argb(0, Rgb(1, 2, 3))), "#010203 with alpha 0");
    // Nothing is nearer a colour than itself, and the distance goes both ways.
    for (const std::uint32_t c : kChip) {
        EXPECT_EQ(ColourDistance(c, c), 0);
        EXPECT_EQ(ColourDistance(c, kChip[9]), ColourDistance(kChip[9], c));
    }
}

// --- cutting ----------------------------------------------------------------------------------

// No two neighbours alike, so no picture here looks like an exported one.
std::uint32_t Busy(int x, int y) {
    return kChip[static_cast<std::size_t>((x * 7 + y * 3 + x / 5) % 16)];
}

// Cel k of the picture, cut the obvious way: cels left to right, then top to bottom.
Bytes ExpectedCels(int width, int celWidth, int celHeight, int cels) {
    Bytes out = {static_cast<std::uint8_t>(celWidth), static_cast<std::uint8_t>(celHeight),
                 static_cast<std::uint8_t>(cels)};
    const int columns = width / celWidth;
    for (int k = 0; k < cels; ++k) {
        for (int y = 0; y < celHeight; ++y) {
            for (int x = 0; x < celWidth; ++x) {
                const std::uint32_t c =
                    Busy(k % columns * celWidth + x, k / columns * celHeight + y);
                out.push_back(static_cast<std::uint8_t>(std::find(kChip.begin(), kChip.end(), c) -
                                                        kChip.begin()));
            }
        }
    }
    return out;
}

TEST(PictureImport, CutsIntoCels) {
    struct Row {
        const char* name;
        int width, height, celWidth, celHeight;
        int celsInPicture = 0;
        std::string problem = {};
    };
    const Row rows[] = {
        {"the whole picture one cel", 16, 16, 16, 16, 1},
        {"a row of cels", 48, 16, 16, 16, 3},
        {"a column of cels", 8, 24, 8, 8, 3},
        {"a sheet: left to right, then top to bottom", 24, 16, 8, 8, 6},
        {"cels that are not square", 20, 12, 5, 3, 16},
        {"100 cels of 1 x 1", 10, 10, 1, 1, 100},
        {"the largest cel", 64, 64, 64, 64, 1},
        {"the widest picture: 100 cels of 64 x 64 in a row", 6400, 64, 64, 64, 100},
        {"110 cels: the first 100", 88, 80, 8, 8, 110},
        {"409600 cels of 1 x 1: the first 100", 640, 640, 1, 1, 409600},
        {"pixels left over across", 40, 16, 16, 16, 0,
         "x.png is 40 × 16 pixels: not a whole number of 16 × 16 cels (8 pixels left over "
         "across)."},
        {"pixels left over down", 16, 20, 16, 16, 0,
         "x.png is 16 × 20 pixels: not a whole number of 16 × 16 cels (4 pixels left over down)."},
        {"both ways", 17, 18, 8, 8, 0,
         "x.png is 17 × 18 pixels: not a whole number of 8 × 8 cels (1 pixel left over across and "
         "2 down)."},
        {"smaller than a cel", 8, 8, 16, 16, 0,
         "x.png is 8 × 8 pixels: too small for one 16 × 16 cel."},
        {"wide enough, not tall enough", 40, 8, 16, 16, 0,
         "x.png is 40 × 8 pixels: too small for one 16 × 16 cel."},
        {"no width", 8, 8, 0, 8, 0, "Width must be from 1 to 64."},
        {"too wide a cel", 130, 8, 65, 8, 0, "Width must be from 1 to 64."},
        {"too tall a cel", 8, 130, 8, 65, 0, "Height must be from 1 to 64."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const Result<ImportedDocument> imported =
            Import(Painted(r.width, r.height, Busy), r.celWidth, r.celHeight, ImportScale::kAuto);
        EXPECT_EQ(imported.message(), r.problem);
        if (!imported) continue;
        const int cels = std::min(r.celsInPicture, 100);
        EXPECT_EQ(imported->scale, 1);
        EXPECT_EQ(imported->celsInPicture, r.celsInPicture);
        EXPECT_EQ(imported->celsImported, cels);
        EXPECT_EQ(imported->image, ExpectedCels(r.width, r.celWidth, r.celHeight, cels));
        EXPECT_TRUE(CheckSpriteImage(imported->image.data(), imported->image.size(), "x").ok());
        const std::vector<std::string> notes = ImportNotes(*imported, "x.png");
        if (r.celsInPicture > 100) {
            EXPECT_EQ(notes,
                      std::vector<std::string>{"x.png holds " + std::to_string(r.celsInPicture) +
                                               " cels; the first 100 were imported."});
        } else {
            EXPECT_EQ(notes, std::vector<std::string>{});
        }
    }
}

// --- scale ------------------------------------------------------------------------------------

// Each pixel of the busy picture as a 2 x 2 block, as the export writes it.
std::uint32_t BusyTwice(int x, int y) {
    return Busy(x / 2, y / 2);
}

TEST(PictureImport, HalvesWhatTheExportWrote) {
    // Swatches whose top-left 2 x 2 pixels are not of one colour: the export paints those blocks.
    RgbImage patterned = StripOf(kChip);
    for (int v = 0; v < 16; ++v) patterned.Set(v * 16 + 1, 1, Rgb(v, 99, 1));
    const auto patternedBlock = [&](int x, int y) {
        return patterned.At((x / 2 + y / 2) % 16 * 16 + x % 2, y % 2);
    };
    struct Row {
        const char* name;
        PngPicture picture;
        int celWidth, celHeight;
        ImportScale scale;
        bool halvable;
        CelSize whole;  // WholePictureCel at that scale
        int expectedScale = 0;
        int cels = 0;
        std::string problem = {};
        int mixedBlocks = 0;
        RgbImage strip = StripOf(kChip);
    };
    const Row rows[] = {
        {"an exported picture halves",
         Painted(32, 32, BusyTwice),
         16,
         16,
         ImportScale::kAuto,
         true,
         {16, 16},
         2,
         1},
        {"halving wins when both sizes fit",
         Painted(32, 32, BusyTwice),
         8,
         8,
         ImportScale::kAuto,
         true,
         {16, 16},
         2,
         4},
        {"halved, not a whole number of cels: as it is",
         Painted(16, 16, BusyTwice),
         16,
         16,
         ImportScale::kAuto,
         true,
         {8, 8},
         1,
         1},
        {"one block of two colours: as it is",
         Painted(32, 32,
                 [](int x, int y) { return x == 31 && y == 30 ? kChip[1] : BusyTwice(x, y); }),
         16,
         16,
         ImportScale::kAuto,
         false,
         {32, 32},
         1,
         4},
        {"an odd side: as it is",
         Painted(6, 3, [](int, int) { return kChip[4]; }),
         3,
         3,
         ImportScale::kAuto,
         false,
         {6, 3},
         1,
         2},
        {"any two transparent pixels are one colour",
         Painted(4, 4,
                 [](int x, int y) { return Argb(0, static_cast<std::uint32_t>(x * 40 + y)); }),
         2,
         2,
         ImportScale::kAuto,
         true,
         {2, 2},
         2,
         1},
        {"blocks the export paints from a patterned strip",
         Painted(8, 4, patternedBlock),
         4,
         2,
         ImportScale::kAuto,
         true,
         {4, 2},
         2,
         1,
         "",
         0,
         patterned},
        {"indexed: blocks of two indices of one colour are two colours",
         IndexedPicture(2, 2, {kChip[3], kChip[3]}, {0, 1, 0, 0}),
         1,
         1,
         ImportScale::kAuto,
         false,
         {2, 2},
         1,
         4},
        {"indexed: blocks of one index halve",
         IndexedPicture(2, 2, {kChip[3], kChip[5]}, {1, 1, 1, 1}),
         1,
         1,
         ImportScale::kAuto,
         true,
         {1, 1},
         2,
         1},
        {"--scale 1 keeps an exported picture as it is",
         Painted(32, 32, BusyTwice),
         16,
         16,
         ImportScale::kOne,
         true,
         {32, 32},
         1,
         4},
        {"--scale 2 on blocks of mixed colours: their top-left pixels, said",
         Painted(4, 4, Busy),
         2,
         2,
         ImportScale::kTwo,
         false,
         {2, 2},
         2,
         1,
         "",
         4},
        {"--scale 2 with an odd side",
         Painted(5, 4, Busy),
         2,
         2,
         ImportScale::kTwo,
         false,
         {2, 2},
         0,
         0,
         "x.png is 5 × 4 pixels: not a whole number of 2 × 2 cels at twice their size (1 pixel "
         "left "
         "over across)."},
        {"--scale 2 too small",
         Painted(2, 2, Busy),
         2,
         2,
         ImportScale::kTwo,
         false,
         {1, 1},
         0,
         0,
         "x.png is 2 × 2 pixels: too small for one 2 × 2 cel at twice its size."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const PictureShape shape = ShapeOfPicture(r.picture, r.strip);
        EXPECT_EQ(shape.width, r.picture.width);
        EXPECT_EQ(shape.height, r.picture.height);
        EXPECT_EQ(shape.halvable, r.halvable);
        const CelSize whole = WholePictureCel(shape, r.scale);
        EXPECT_EQ(whole.width, r.whole.width);
        EXPECT_EQ(whole.height, r.whole.height);
        const Result<ImportedDocument> imported =
            Import(r.picture, r.celWidth, r.celHeight, r.scale, false, r.strip);
        EXPECT_EQ(imported.message(), r.problem);
        if (!imported) continue;
        EXPECT_EQ(ScaleOfImport(shape, r.celWidth, r.celHeight, r.scale), r.expectedScale);
        EXPECT_EQ(imported->scale, r.expectedScale);
        EXPECT_EQ(imported->celsImported, r.cels);
        EXPECT_EQ(imported->mixedBlocks, r.mixedBlocks);
        EXPECT_EQ(imported->nearestPixels, 0);
        // Every sprite pixel is the top-left pixel of its block.
        const int columns = r.picture.width / (r.celWidth * r.expectedScale);
        const int s = r.expectedScale;
        const StripColours colours = StripColoursOf(r.strip);
        for (int k = 0; k < r.cels; ++k) {
            for (int y = 0; y < r.celHeight; ++y) {
                for (int x = 0; x < r.celWidth; ++x) {
                    const int px = (k % columns * r.celWidth + x) * s;
                    const int py = (k / columns * r.celHeight + y) * s;
                    const std::size_t at = static_cast<std::size_t>(py * r.picture.width + px);
                    const std::uint8_t v = imported->image[static_cast<std::size_t>(
                        3 + k * r.celWidth * r.celHeight + y * r.celWidth + x)];
                    if (r.picture.indexed) {
                        ASSERT_EQ(v, r.picture.indices[at]);
                    } else if (r.picture.pixels[at] >> 24 == 0) {
                        ASSERT_EQ(v, 0);
                    } else {
                        ASSERT_EQ(colours[v], r.picture.pixels[at])
                            << "(" << px << ", " << py << ")";
                    }
                }
            }
        }
        if (r.mixedBlocks > 0) {
            EXPECT_EQ(ImportNotes(*imported, "x.png"),
                      std::vector<std::string>{
                          "4 blocks of 2 × 2 pixels were not of one colour: each became the colour "
                          "of its top-left pixel."});
        }
    }
}

// --- pictures it refuses ----------------------------------------------------------------------

void Put32(Bytes& png, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        png[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// A real PNG whose header says another size (the pixels stay those of 2 x 2).
Bytes Resized(std::uint32_t width, std::uint32_t height) {
    Bytes png = EncodePng(RgbImage(2, 2), 9);
    Put32(png, 16, width);
    Put32(png, 20, height);
    Put32(png, 29, static_cast<std::uint32_t>(crc32(0, &png[12], 17)));
    return png;
}

TEST(PictureImport, RefusesPicturesItCannotRead) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.Path("pipe.png").c_str(), 0600), 0);
    const Bytes good = EncodePng(RgbImage(2, 2), 9);
    struct Row {
        const char* name;
        std::string path;
        std::string problem;
    };
    const Row rows[] = {
        {"no such file", dir.Path("none.png"),
         "Cannot find " + dir.Path("none.png") + ": there is no such file."},
        {"a named pipe", dir.Path("pipe.png"),
         "Cannot read " + dir.Path("pipe.png") + ": it is a named pipe, not a regular file."},
        {"a folder", dir.Path(""), "Cannot read " + dir.Path("") + ": Is a directory."},
        {"empty", dir.Write("empty.png", {}), dir.Path("empty.png") + " is empty."},
        {"a sprite file", dir.Write("walk.png", {8, 8, 1}),
         dir.Path("walk.png") + " is not a PNG picture."},
        {"cut short", dir.Write("cut.png", Bytes(good.begin(), good.end() - 5)),
         dir.Path("cut.png") + " is cut short."},
        {"30000 x 30000, refused from its header", dir.Write("huge.png", Resized(30000, 30000)),
         dir.Path("huge.png") + " is 30000 × 30000 pixels: wider than 6400 pixels."},
        {"one row taller than 100 cels of 64", dir.Write("tall.png", Resized(1, 6401)),
         dir.Path("tall.png") + " is 1 × 6401 pixels: taller than 6400 pixels."},
        {"each side allowed, more pixels than 100 cels", dir.Write("big.png", Resized(641, 640)),
         dir.Path("big.png") + " is 641 × 640 pixels: more than 409600 pixels."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const Result<PngPicture> picture = ReadPictureToImport(r.path, r.path);
        EXPECT_EQ(picture.message(), r.problem);
    }
    // The largest picture that is read.
    const std::string largest = dir.Write("largest.png", EncodePng(RgbImage(6400, 64), 1));
    const Result<PngPicture> picture = ReadPictureToImport(largest, "largest.png");
    ASSERT_TRUE(picture.ok()) << picture.message();
    const Result<ImportedDocument> imported = Import(*picture, 64, 64, ImportScale::kAuto);
    ASSERT_TRUE(imported.ok()) << imported.message();
    EXPECT_EQ(imported->celsImported, 100);
}

// --- the round trip ---------------------------------------------------------------------------

RgbImage BuiltStrip() {
    Result<RgbImage> strip = ReadColourStrip(SPRITEHEX_COLOUR_STRIP, "color.bmp");
    EXPECT_TRUE(strip.ok()) << strip.message();
    return strip ? strip.Take() : StripOf(kChip);
}

// 16 distinct random colours; the swatches' top-left 2 x 2 pixels patterned or not.
RgbImage RandomStrip(std::mt19937& random) {
    StripColours colours{};
    for (std::size_t i = 0; i < 16; ++i) {
        do {
            colours[i] = static_cast<std::uint32_t>(random()) | 0xFF000000u;
        } while (std::find(colours.begin(), colours.begin() + static_cast<std::ptrdiff_t>(i),
                           colours[i]) != colours.begin() + static_cast<std::ptrdiff_t>(i));
    }
    RgbImage strip = StripOf(colours);
    if (random() % 2 == 0) {
        for (int v = 0; v < 16; ++v)
            strip.Set(v * 16 + 1, 0, static_cast<std::uint32_t>(random()) | 0xFF000000u);
    }
    return strip;
}

// Cel by cel: the export's picture, encoded and decoded as a PNG file, imported at the cel's size
// with the scale left to the import, is the cel, colour 0 included.
TEST(PictureImport, ExportedCelsComeBack) {
    std::mt19937 random(16);
    const RgbImage built = BuiltStrip();
    int cels = 0;
    for (int round = 0; round < 120; ++round) {
        const RgbImage strip = round % 2 == 0 ? built : RandomStrip(random);
        const int width = 1 + static_cast<int>(random() % 64);
        const int height = 1 + static_cast<int>(random() % 64);
        const int colours = 1 + static_cast<int>(random() % 16);
        for (int k = 0; k < 1 + static_cast<int>(random() % 3); ++k) {
            Bytes cel(static_cast<std::size_t>(width * height));
            for (std::uint8_t& v : cel)
                v = static_cast<std::uint8_t>(random() % static_cast<unsigned>(colours));
            SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + ", round " +
                         std::to_string(round));
            const Bytes png = EncodePng(AssembleExportImage(strip, cel.data(), width, height), 9);
            const Result<PngPicture> picture = DecodePng(png, "x.png", kImportLimits);
            ASSERT_TRUE(picture.ok()) << picture.message();
            const Result<ImportedDocument> imported =
                ImportPicture(*picture, "x.png", {width, height, ImportScale::kAuto, true}, strip);
            ASSERT_TRUE(imported.ok()) << imported.message();
            ASSERT_EQ(imported->image, OneCel(width, height, cel));
            EXPECT_EQ(imported->scale, 2);
            EXPECT_EQ(ImportNotes(*imported, "x.png"), std::vector<std::string>{});
            ++cels;
        }
    }
    EXPECT_GT(cels, 200);
}

// Two strip colours alike: the export of the higher one comes back as the lower one, and the
// import says so (strict refuses it).
TEST(PictureImport, AlikeStripColoursAreSaid) {
    StripColours colours = kChip;
    colours[9] = colours[4];
    const RgbImage strip = StripOf(colours);
    const Bytes cel = {1, 9, 4, 0};
    const Result<PngPicture> picture = DecodePng(
        EncodePng(AssembleExportImage(strip, cel.data(), 2, 2), 9), "x.png", kImportLimits);
    ASSERT_TRUE(picture.ok());
    const Result<ImportedDocument> imported =
        ImportPicture(*picture, "x.png", {2, 2, ImportScale::kAuto, false}, strip);
    ASSERT_TRUE(imported.ok()) << imported.message();
    EXPECT_EQ(imported->image, OneCel(2, 2, {1, 4, 4, 0}));
    EXPECT_EQ(
        ImportNotes(*imported, "x.png"),
        std::vector<std::string>{
            "2 pixels of colour #5455ED, which palette colours 4 and 9 share, became colour 4."});
    EXPECT_EQ(ImportPicture(*picture, "x.png", {2, 2, ImportScale::kAuto, true}, strip).message(),
              "x.png: pixel (2, 0) has colour #5455ED, which palette colours 4 and 9 share.");
}

}  // namespace
