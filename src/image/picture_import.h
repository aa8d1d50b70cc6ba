#pragma once
// A PNG picture or sprite sheet brought in as a sprite document: cut into cels of a given size,
// left to right, then top to bottom, at most 100; a picture exported by the PNG export (each
// pixel a 2 x 2 block) taken back at its own size; its colours turned into colour indices.
//
// Colours, in this order:
// 1. An indexed picture of at most 16 palette entries whose entries in use have the strip colours
//    of their indices (our own palette), or any such picture when asked to keep indices: its
//    indices are the colour indices.
// 2. Any other picture, pixel by pixel (see colour_match.h): a colour of the colour strip gives
//    its index; alpha 0 gives colour 0; any other colour the nearest strip colour of 1 to 15
//    (never 0, the transparent background), which the import counts (and refuses when strict). A
//    colour that several strip colours share gives the lowest of their indices, and the import says
//    so (and refuses when strict), since that pixel cannot come back as the index it was exported
//    from.
//
// The editor and spritehex-cli both import through ReadPictureToImport and ImportPicture.

#include <cstdint>
#include <string>
#include <vector>

#include "base/result.h"
#include "document/size_rules.h"
#include "document/sprite_document.h"
#include "image/png_codec.h"
#include "image/rgb_image.h"

// The largest picture imported: 100 cels of 64 x 64 pixels' worth. No side above 6400 pixels
// (100 cels of 64 in one row) and no more than 409,600 pixels in all; a larger picture is refused
// from its header alone, before anything is decoded.
inline constexpr PngLimits kImportLimits{kMaxCels * kMaxWidth,
                                         std::int64_t{kMaxCels} * kCelCapacity};

enum class ImportScale {
    kAuto,  // kTwo when the picture is halvable and twice a whole number of cels, else kOne
    kOne,   // one picture pixel a sprite pixel
    kTwo,   // each 2 x 2 block a sprite pixel (its top-left pixel's colour)
};

struct ImportOptions {
    int celWidth = 8;  // 1 to 64
    int celHeight = 8;
    ImportScale scale = ImportScale::kAuto;
    bool strict = false;  // refuse a colour that is not exactly one strip colour
    // Take the indices of an indexed picture of at most 16 entries whatever its palette's colours.
    bool keepIndices = false;
};

// What the import can tell of a picture before it is given a cel size.
struct PictureShape {
    int width = 0;
    int height = 0;
    // Both sides even and every 2 x 2 block (from (0, 0)) either of one colour or exactly the
    // block the PNG export paints for a colour index (the top-left 2 x 2 pixels of its swatch in
    // the colour strip): the look of a picture the export wrote. Colours count as one when the
    // import would take them as one: equal indices of an indexed picture of at most 16 entries;
    // any two with alpha 0.
    bool halvable = false;
    // An indexed picture whose indices are taken as they are (see the colours above).
    bool takesIndices = false;
    // An indexed picture of at most 16 entries whose indices are not taken: they would be if
    // asked (keepIndices).
    bool indicesOnRequest = false;
};

// The colour strip must fit (ColourStripFits).
PictureShape ShapeOfPicture(const PngPicture& picture, const RgbImage& colourStrip,
                            bool keepIndices = false);

// 1 or 2: the scale the import takes with that cel size (see ImportScale).
int ScaleOfImport(const PictureShape& shape, int celWidth, int celHeight, ImportScale scale);

// The cel size that makes the whole picture one cel at the scale the import takes (kAuto: 2 when
// halvable). It may be larger than the limits of a cel; CheckCelSize says so.
CelSize WholePictureCel(const PictureShape& shape, ImportScale scale);

// A colour of the picture that several strip colours have.
struct SharedColour {
    std::uint32_t colour = 0;  // 0xFFRRGGBB
    std::vector<int> indices;  // the strip colours that have it, lowest first; the pixels took the
                               // first
    int pixels = 0;
};

struct ImportedDocument {
    // The .dat file image: width, height, cel count, then the cels.
    std::vector<std::uint8_t> image;
    int scale = 1;
    int celsInPicture = 0;  // whole cels the picture holds
    int celsImported = 0;   // the first of them, at most 100
    bool tookIndices = false;
    bool paletteOrderUnused = false;  // an indexed picture whose pixels were matched by colour
    // Imported pixels (after halving) matched to the nearest strip colour, and how many distinct
    // colours they had.
    int nearestPixels = 0;
    int nearestColours = 0;
    std::vector<SharedColour> shared;
    // With kTwo chosen by the caller: blocks that were neither of one colour nor a block the
    // export paints.
    int mixedBlocks = 0;
    // With tookIndices: the first palette entry used whose colour is that of another colour
    // index (the strip colour of another index, or alpha 0 away from entry 0), and that index;
    // -1 when there is none. Tools that save exported pictures as indexed ones (ImageMagick,
    // optipng) order the palette as they like, and the picture then shows other colours than its
    // indices mean.
    int strayEntry = -1;
    int strayEntryColour = -1;
};

// The PNG file at path, within kImportLimits: the failures of ReadPngFile, naming the file as
// shown gives it ("ship.png is not a PNG picture.", "ship.png is 30000 × 30000 pixels: wider than
// 6400 pixels.").
Result<PngPicture> ReadPictureToImport(const std::string& path, const std::string& shown);

// The document the picture makes, or why it makes none, naming the picture as shown gives it:
// "Width must be from 1 to 64." (kInvalid); "ship.png is 40 × 16 pixels: not a whole number of
// 16 × 16 cels (8 pixels left over across)."; with strict, "ship.png: pixel (12, 3) has colour
// #7F3F00, which is not in the palette." (kNotUsable). The colour strip must fit
// (ColourStripFits).
Result<ImportedDocument> ImportPicture(const PngPicture& picture, const std::string& shown,
                                       const ImportOptions& options, const RgbImage& colourStrip);

// What the user is told after an import, one text each, none when there is nothing to say:
// "ship.png holds 120 cels; the first 100 were imported.", "37 pixels in 3 colours were matched
// to the nearest palette colour." ...
std::vector<std::string> ImportNotes(const ImportedDocument& imported, const std::string& shown);
