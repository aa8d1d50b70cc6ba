// PNG files from outside through the picture import. Every picture the reader takes is imported
// as a whole, with cel sizes that fit it and with one that most likely does not, at a scale and
// strictness taken from the input, against a colour strip of distinct colours, one with colours
// alike, or one with patterned swatches. An import either refuses with a message or gives a valid
// sprite file holding exactly the cels a plain cut of the picture gives, each pixel the colour
// index its picture pixel matches, with the nearest matches counted right.
//
// Every input is read twice: as it is, and with the CRC of each chunk made right.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "document/size_rules.h"
#include "document/sprite_file.h"
#include "fuzz_check.h"
#include "image/colour_match.h"
#include "image/colour_strip.h"
#include "image/picture_import.h"
#include "png_crcs.h"

namespace {

// Pictures larger than this are checked for their size and cel count only; comparing every pixel
// of each would slow the search.
constexpr int kPixelsCompared = 16384;

std::uint64_t Hash(const std::uint8_t* data, std::size_t size) {
    std::uint64_t h = 14695981039346656037u;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 1099511628211u;
    return h;
}

// 0: sixteen distinct colours; 1: colours 0 and 1 alike, and 4 and 9; 2: distinct colours with
// the top-left 2 x 2 pixels of each swatch patterned.
RgbImage Strip(int kind) {
    RgbImage strip(256, 2);
    for (int x = 0; x < 256; ++x) {
        int v = x / 16;
        if (kind == 1 && (v == 1 || v == 9)) v = v == 1 ? 0 : 4;
        for (int y = 0; y < 2; ++y) strip.Set(x, y, Rgb(v * 17, 255 - v * 16, v % 4 * 80));
    }
    if (kind == 2) {
        for (int v = 0; v < 16; ++v) strip.Set(v * 16 + 1, 1, Rgb(v, 3, 250));
    }
    return strip;
}

// A divisor of side of at most 64, picked by pick.
int DivisorOf(int side, std::uint64_t pick) {
    std::vector<int> divisors;
    for (int d = 1; d <= std::min(side, 64); ++d) {
        if (side % d == 0) divisors.push_back(d);
    }
    return divisors[pick % divisors.size()];
}

void CheckNotes(const ImportedDocument& imported) {
    for (const std::string& note : ImportNotes(imported, "fuzz.png")) {
        FUZZ_CHECK(!note.empty() && note.back() == '.');
    }
}

// The imported cels against a plain cut of the picture.
void CheckCels(const PngPicture& picture, const ImportOptions& options, const RgbImage& strip,
               const ImportedDocument& imported) {
    const int w = options.celWidth;
    const int h = options.celHeight;
    const int s = imported.scale;
    const int columns = picture.width / (w * s);
    const StripColours colours = StripColoursOf(strip);
    int nearest = 0;
    for (int k = 0; k < imported.celsImported; ++k) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int px = (k % columns * w + x) * s;
                const int py = (k / columns * h + y) * s;
                const std::size_t at =
                    static_cast<std::size_t>(py) * static_cast<std::size_t>(picture.width) +
                    static_cast<std::size_t>(px);
                const std::uint8_t v =
                    imported.image[static_cast<std::size_t>(kHeaderSize + k * w * h + y * w + x)];
                if (imported.tookIndices) {
                    FUZZ_CHECK(v == picture.indices[at]);
                    continue;
                }
                const std::uint32_t colour = picture.pixels[at];
                const MatchedColour match = MatchColour(colour, colours);
                FUZZ_CHECK(v == match.index);
                if (colour >> 24 == 0) FUZZ_CHECK(v == 0);
                if (match.how == ColourMatch::kExact || match.how == ColourMatch::kShared) {
                    FUZZ_CHECK(colours[v] == colour);
                }
                // Colour 0 only for what is transparent or exactly its strip colour.
                if (v == 0) FUZZ_CHECK(colour >> 24 == 0 || colour == colours[0]);
                if (match.how == ColourMatch::kNearest) {
                    ++nearest;
                    FUZZ_CHECK(v != 0);
                    for (std::size_t other = 1; other < 16; ++other) {
                        FUZZ_CHECK(ColourDistance(colour, colours[v]) <=
                                   ColourDistance(colour, colours[other]));
                    }
                }
            }
        }
    }
    FUZZ_CHECK(nearest == imported.nearestPixels);
}

void CheckImport(const PngPicture& picture, const PictureShape& shape, const ImportOptions& options,
                 const RgbImage& strip) {
    const Result<ImportedDocument> result = ImportPicture(picture, "fuzz.png", options, strip);
    if (!result) {
        FUZZ_CHECK(!result.message().empty() && result.message().back() == '.');
        return;
    }
    const ImportedDocument& imported = *result;
    const int w = options.celWidth;
    const int h = options.celHeight;
    const int s = imported.scale;
    FUZZ_CHECK(s == ScaleOfImport(shape, w, h, options.scale));
    FUZZ_CHECK(picture.width % (w * s) == 0 && picture.height % (h * s) == 0);
    const int cels = picture.width / (w * s) * (picture.height / (h * s));
    FUZZ_CHECK(imported.celsInPicture == cels);
    FUZZ_CHECK(imported.celsImported == std::min(cels, kMaxCels));
    FUZZ_CHECK(imported.image.size() ==
               static_cast<std::size_t>(kHeaderSize + imported.celsImported * w * h));
    FUZZ_CHECK(imported.image[0] == w && imported.image[1] == h &&
               imported.image[2] == imported.celsImported);
    FUZZ_CHECK(CheckSpriteImage(imported.image.data(), imported.image.size(), "fuzz").ok());
    FUZZ_CHECK(imported.tookIndices == shape.takesIndices);
    FUZZ_CHECK(imported.nearestColours <= imported.nearestPixels);
    FUZZ_CHECK((imported.nearestPixels == 0) == (imported.nearestColours == 0));
    if (options.strict) FUZZ_CHECK(imported.nearestPixels == 0 && imported.shared.empty());
    if (s == 2 && options.scale == ImportScale::kAuto) FUZZ_CHECK(imported.mixedBlocks == 0);
    CheckNotes(imported);
    if (imported.celsImported * w * h <= kPixelsCompared) {
        CheckCels(picture, options, strip, imported);
    }
}

void Check(const std::uint8_t* data, std::size_t size) {
    const Result<PngPicture> picture = DecodePng({data, size}, "fuzz.png", kImportLimits);
    if (!picture) {
        FUZZ_CHECK(!picture.message().empty());
        return;
    }
    const std::uint64_t pick = Hash(data, size);
    const RgbImage strip = Strip(static_cast<int>(pick % 3));
    const bool keepIndices = pick / 18 % 2 == 1;
    const PictureShape shape = ShapeOfPicture(*picture, strip, keepIndices);
    FUZZ_CHECK(shape.width == picture->width && shape.height == picture->height);
    if (shape.halvable) FUZZ_CHECK(shape.width % 2 == 0 && shape.height % 2 == 0);
    const ImportScale scales[] = {ImportScale::kAuto, ImportScale::kOne, ImportScale::kTwo};
    ImportOptions options;
    options.scale = scales[pick / 3 % 3];
    options.strict = pick / 9 % 2 == 1;
    options.keepIndices = keepIndices;

    const CelSize whole = WholePictureCel(shape, options.scale);
    if (CheckCelSize(whole.width, whole.height)) {
        options.celWidth = whole.width;
        options.celHeight = whole.height;
        CheckImport(*picture, shape, options, strip);
    }
    const int halved = options.scale == ImportScale::kTwo ? 2 : 1;
    options.celWidth = DivisorOf(std::max(1, picture->width / halved), pick >> 8);
    options.celHeight = DivisorOf(std::max(1, picture->height / halved), pick >> 24);
    CheckImport(*picture, shape, options, strip);
    options.celWidth = 1 + static_cast<int>(pick >> 40) % 64;
    options.celHeight = 1 + static_cast<int>(pick >> 48) % 64;
    CheckImport(*picture, shape, options, strip);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckAlsoWithRightCrcs(data, size, Check);
    return 0;
}
