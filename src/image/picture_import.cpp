#include "image/picture_import.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "document/size_rules.h"
#include "image/colour_match.h"
#include "image/colour_strip.h"

namespace {

std::size_t At(const PngPicture& picture, int x, int y) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
           static_cast<std::size_t>(x);
}

// An indexed picture keeps its indices when asked to, or when its palette is ours: every entry a
// pixel uses has the strip colour of its index (entry 0 may be transparent instead). Any other
// palette is in an order of its own (ImageMagick orders entries as it likes), and its pixels are
// matched by colour.
bool TakesIndices(const PngPicture& picture, const RgbImage& colourStrip, bool keepIndices) {
    if (!picture.indexed || picture.palette.size() > 16) return false;
    if (keepIndices) return true;
    std::array<bool, 16> used{};
    for (const std::uint8_t index : picture.indices) used[index] = true;
    const StripColours strip = StripColoursOf(colourStrip);
    for (std::size_t entry = 0; entry < picture.palette.size(); ++entry) {
        const std::uint32_t colour = picture.palette[entry];
        const bool ours = colour == strip[entry] || (entry == 0 && colour >> 24 == 0);
        if (used[entry] && !ours) return false;
    }
    return true;
}

// What makes two pixels one colour to the import: the index of a picture whose indices are
// taken, otherwise the colour, with every colour of alpha 0 the same.
std::uint32_t ColourKey(const PngPicture& picture, bool takesIndices, std::size_t i) {
    if (takesIndices) return picture.indices[i];
    return picture.pixels[i] >> 24 == 0 ? 0 : picture.pixels[i];
}

// The 2 x 2 blocks of a picture: whether each stands for one sprite pixel.
class Blocks {
  public:
    Blocks(const PngPicture& picture, bool takesIndices, const RgbImage& colourStrip)
        : picture_(picture), takesIndices_(takesIndices) {
        for (int v = 0; v < 16; ++v) {
            for (int d = 0; d < 4; ++d) {
                painted_[static_cast<std::size_t>(v)][static_cast<std::size_t>(d)] =
                    colourStrip.At(v * kColourSwatchWidth + d % 2, d / 2) | 0xFF000000u;
            }
        }
    }

    // The block with its top-left pixel at (x, y) is of one colour, or is painted by the export.
    bool IsOnePixel(int x, int y) const {
        const std::size_t at[4] = {At(picture_, x, y), At(picture_, x + 1, y),
                                   At(picture_, x, y + 1), At(picture_, x + 1, y + 1)};
        const std::uint32_t key = ColourKey(picture_, takesIndices_, at[0]);
        bool one = true;
        for (std::size_t d = 1; d < 4; ++d)
            one = one && ColourKey(picture_, takesIndices_, at[d]) == key;
        if (one || takesIndices_) return one;
        for (const auto& block : painted_) {
            bool painted = true;
            for (std::size_t d = 0; d < 4; ++d)
                painted = painted && picture_.pixels[at[d]] == block[d];
            if (painted) return true;
        }
        return false;
    }

  private:
    const PngPicture& picture_;
    bool takesIndices_;
    std::array<std::array<std::uint32_t, 4>, 16> painted_{};
};

std::string Pixels(int count) {
    return std::to_string(count) + (count == 1 ? " pixel" : " pixels");
}

// "ship.png is 40 × 16 pixels: not a whole number of 16 × 16 cels (8 pixels left over across)."
// Empty when the picture is a whole number of cels (of at least one).
std::string SizeProblem(const PngPicture& picture, const std::string& shown, int celWidth,
                        int celHeight, int scale) {
    const std::string size = shown + " is " + std::to_string(picture.width) + " × " +
                             std::to_string(picture.height) + " pixels: ";
    const std::string cel = std::to_string(celWidth) + " × " + std::to_string(celHeight) + " cel";
    const std::string twice = scale == 2 ? " at twice its size" : "";
    if (picture.width < celWidth * scale || picture.height < celHeight * scale) {
        return size + "too small for one " + cel + twice + ".";
    }
    const int across = picture.width % (celWidth * scale);
    const int down = picture.height % (celHeight * scale);
    if (across == 0 && down == 0) return {};
    std::string left;
    if (across != 0) left = Pixels(across) + " left over across";
    if (down != 0)
        left += across != 0 ? " and " + std::to_string(down) + " down"
                            : Pixels(down) + " left over down";
    return size + "not a whole number of " + cel + "s" +
           (scale == 2 ? " at twice their size" : "") + " (" + left + ").";
}

std::string IndexList(const std::vector<int>& indices) {
    std::string text;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i > 0) text += i + 1 == indices.size() ? " and " : ", ";
        text += std::to_string(indices[i]);
    }
    return text;
}

// Colour indices of pixels matched against the strip, each distinct colour matched once, with
// the tally of what was not an exact match.
class StripMatcher {
  public:
    StripMatcher(const RgbImage& colourStrip, ImportedDocument& out)
        : strip_(StripColoursOf(colourStrip)), out_(out) {}

    MatchedColour Match(std::uint32_t argb) {
        auto [at, isNew] = seen_.try_emplace(argb);
        if (isNew) {
            at->second = MatchColour(argb, strip_);
            if (at->second.how == ColourMatch::kNearest) ++out_.nearestColours;
        }
        const MatchedColour match = at->second;
        if (match.how == ColourMatch::kNearest) ++out_.nearestPixels;
        if (match.how == ColourMatch::kShared) SharedOf(argb).pixels++;
        return match;
    }

    // The strip colours that have this colour, lowest first.
    std::vector<int> IndicesOf(std::uint32_t argb) const {
        std::vector<int> indices;
        for (int i = 0; i < 16; ++i) {
            if (strip_[static_cast<std::size_t>(i)] == argb) indices.push_back(i);
        }
        return indices;
    }

  private:
    SharedColour& SharedOf(std::uint32_t argb) {
        for (SharedColour& shared : out_.shared) {
            if (shared.colour == argb) return shared;
        }
        return out_.shared.emplace_back(SharedColour{argb, IndicesOf(argb), 0});
    }

    StripColours strip_;
    ImportedDocument& out_;
    std::unordered_map<std::uint32_t, MatchedColour> seen_;
};

void FindStrayEntry(const std::vector<std::uint32_t>& palette, const std::array<bool, 16>& used,
                    const StripMatcher& matcher, ImportedDocument& out) {
    for (std::size_t entry = 0; entry < palette.size(); ++entry) {
        if (!used[entry]) continue;
        const std::uint32_t alpha = palette[entry] >> 24;
        const std::vector<int> alike = alpha == 0xFF ? matcher.IndicesOf(palette[entry])
                                       : alpha == 0  ? std::vector<int>{0}
                                                     : std::vector<int>{};
        if (alike.empty() || std::ranges::find(alike, static_cast<int>(entry)) != alike.end()) {
            continue;
        }
        out.strayEntry = static_cast<int>(entry);
        out.strayEntryColour = alike.front();
        return;
    }
}

}  // namespace

PictureShape ShapeOfPicture(const PngPicture& picture, const RgbImage& colourStrip,
                            bool keepIndices) {
    PictureShape shape{picture.width, picture.height, false,
                       TakesIndices(picture, colourStrip, keepIndices), false};
    shape.indicesOnRequest = !shape.takesIndices && TakesIndices(picture, colourStrip, true);
    if (picture.IsNull() || picture.width % 2 != 0 || picture.height % 2 != 0) return shape;
    const Blocks blocks(picture, shape.takesIndices, colourStrip);
    for (int y = 0; y < picture.height; y += 2) {
        for (int x = 0; x < picture.width; x += 2) {
            if (!blocks.IsOnePixel(x, y)) return shape;
        }
    }
    shape.halvable = true;
    return shape;
}

int ScaleOfImport(const PictureShape& shape, int celWidth, int celHeight, ImportScale scale) {
    if (scale != ImportScale::kAuto) return scale == ImportScale::kTwo ? 2 : 1;
    if (!shape.halvable || celWidth < 1 || celHeight < 1) return 1;
    return shape.width % (2 * celWidth) == 0 && shape.height % (2 * celHeight) == 0 ? 2 : 1;
}

CelSize WholePictureCel(const PictureShape& shape, ImportScale scale) {
    const bool halved =
        scale == ImportScale::kTwo || (scale == ImportScale::kAuto && shape.halvable);
    // A side of one pixel halves to one, so that the import says the picture is too small.
    return halved ? CelSize{std::max(shape.width / 2, 1), std::max(shape.height / 2, 1)}
                  : CelSize{shape.width, shape.height};
}

Result<PngPicture> ReadPictureToImport(const std::string& path, const std::string& shown) {
    return ReadPngFile(path, shown, kImportLimits);
}

Result<ImportedDocument> ImportPicture(const PngPicture& picture, const std::string& shown,
                                       const ImportOptions& options, const RgbImage& colourStrip) {
    const int celWidth = options.celWidth;
    const int celHeight = options.celHeight;
    if (Result<> size = CheckCelSize(celWidth, celHeight); !size) return size.error();
    if (!ColourStripFits(colourStrip)) {
        return Fail(Failure::kInvalid, "The colour strip is too small for 16 colour swatches.");
    }
    if (picture.IsNull() || picture.pixels.size() != At(picture, 0, picture.height)) {
        return Fail(Failure::kNotUsable, shown + " holds no picture.");
    }
    const PictureShape shape = ShapeOfPicture(picture, colourStrip, options.keepIndices);
    const Blocks blocks(picture, shape.takesIndices, colourStrip);
    ImportedDocument out;
    out.paletteOrderUnused = picture.indexed && !shape.takesIndices;
    out.scale = ScaleOfImport(shape, celWidth, celHeight, options.scale);
    out.tookIndices = shape.takesIndices;
    if (std::string problem = SizeProblem(picture, shown, celWidth, celHeight, out.scale);
        !problem.empty()) {
        return Fail(Failure::kNotUsable, problem);
    }
    const int columns = picture.width / (celWidth * out.scale);
    out.celsInPicture = columns * (picture.height / (celHeight * out.scale));
    out.celsImported = std::min(out.celsInPicture, kMaxCels);
    const int celSize = celWidth * celHeight;
    out.image.assign(static_cast<std::size_t>(kHeaderSize + out.celsImported * celSize), 0);
    out.image[0] = static_cast<std::uint8_t>(celWidth);
    out.image[1] = static_cast<std::uint8_t>(celHeight);
    out.image[2] = static_cast<std::uint8_t>(out.celsImported);

    StripMatcher matcher(colourStrip, out);
    std::array<bool, 16> entriesUsed{};
    // Row by row through the picture, so that strict names the first pixel in reading order.
    const int rows = (out.celsImported + columns - 1) / columns * celHeight;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns * celWidth; ++x) {
            const int cel = y / celHeight * columns + x / celWidth;
            if (cel >= out.celsImported) break;
            const int px = x * out.scale;
            const int py = y * out.scale;
            if (out.scale == 2 && !blocks.IsOnePixel(px, py)) {
                ++out.mixedBlocks;
            }
            const std::size_t i = At(picture, px, py);
            std::uint8_t index = 0;
            if (shape.takesIndices) {
                index = picture.indices[i];
                entriesUsed[index] = true;
            } else {
                const MatchedColour match = matcher.Match(picture.pixels[i]);
                const bool exact =
                    match.how == ColourMatch::kExact || match.how == ColourMatch::kTransparent;
                if (options.strict && !exact) {
                    std::string where = shown + ": pixel (" + std::to_string(px) + ", " +
                                        std::to_string(py) + ") has colour " +
                                        ColourText(picture.pixels[i]);
                    return Fail(Failure::kNotUsable,
                                where + (match.how == ColourMatch::kShared
                                             ? ", which palette colours " +
                                                   IndexList(matcher.IndicesOf(picture.pixels[i])) +
                                                   " share."
                                             : ", which is not in the palette."));
                }
                index = match.index;
            }
            out.image[static_cast<std::size_t>(kHeaderSize + cel * celSize +
                                               y % celHeight * celWidth + x % celWidth)] = index;
        }
    }
    if (shape.takesIndices) FindStrayEntry(picture.palette, entriesUsed, matcher, out);
    return out;
}

std::vector<std::string> ImportNotes(const ImportedDocument& imported, const std::string& shown) {
    std::vector<std::string> notes;
    if (imported.celsInPicture > imported.celsImported) {
        notes.push_back(shown + " holds " + std::to_string(imported.celsInPicture) +
                        " cels; the first " + std::to_string(imported.celsImported) +
                        " were imported.");
    }
    if (imported.nearestPixels > 0) {
        const int n = imported.nearestColours;
        notes.push_back(Pixels(imported.nearestPixels) + " in " + std::to_string(n) +
                        (n == 1 ? " colour" : " colours") +
                        (imported.nearestPixels == 1 ? " was" : " were") +
                        " matched to the nearest palette colour.");
    }
    for (const SharedColour& shared : imported.shared) {
        notes.push_back(Pixels(shared.pixels) + " of colour " + ColourText(shared.colour) +
                        ", which palette colours " + IndexList(shared.indices) +
                        " share, became colour " + std::to_string(shared.indices.front()) + ".");
    }
    if (imported.scale == 2) {
        notes.push_back(shown + " was taken at half its size: each 2 × 2 block became one pixel.");
    }
    if (imported.paletteOrderUnused) {
        notes.push_back(shown +
                        " has a palette of its own: its colours were matched, not its entries' "
                        "order.");
    }
    if (imported.strayEntry >= 0) {
        notes.push_back(shown +
                        " has a palette of its own, whose entries were taken as colour indices as "
                        "they are, but its entry " +
                        std::to_string(imported.strayEntry) + " looks like colour " +
                        std::to_string(imported.strayEntryColour) +
                        ": save the picture as RGB to have its colours matched instead.");
    }
    if (imported.mixedBlocks > 0) {
        const bool one = imported.mixedBlocks == 1;
        notes.push_back(std::to_string(imported.mixedBlocks) +
                        (one ? " block of 2 × 2 pixels was not of one colour: it became the colour "
                               "of its top-left pixel."
                             : " blocks of 2 × 2 pixels were not of one colour: each became the "
                               "colour of its top-left pixel."));
    }
    return notes;
}
