#include "generator/decode_tables.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "generator/layer_basis.h"
#include "generator/piece_draw_avx512.h"
#include "generator/pixel_words.h"
#include "generator/regenerate.h"

namespace {

using pixel_words::kOnes;

// A pattern byte as a pixel word: 1 in the byte of every pixel whose bit is set, bit 7 the first
// pixel. A word times a colour is the pixels of that colour, since no byte carries.
constexpr std::array<std::uint64_t, 256> kExpanded = [] {
    std::array<std::uint64_t, 256> words{};
    for (int byte = 0; byte < 256; ++byte) {
        for (int pixel = 0; pixel < 8; ++pixel) {
            if ((byte >> (7 - pixel) & 1) != 0) {
                words[static_cast<std::size_t>(byte)] |= std::uint64_t{1} << (8 * pixel);
            }
        }
    }
    return words;
}();

std::uint64_t Expanded(TableValue byte) {
    return kExpanded[byte & 0xFFu];
}

std::uint64_t Colour(TableValue value) {
    return value & 0x0Fu;
}

std::uint64_t Character(TableValue bits, TableValue colours) {
    const std::uint64_t foreground = colours >> 4 & 0x0Fu;
    const std::uint64_t background = colours & 0x0Fu;
    return kOnes * background ^ Expanded(bits) * (foreground ^ background);
}

// One row of pixels: the left word's pixels, the right word's, colour 0 from column 16 on.
void StoreRow(std::uint8_t* row, int width, std::uint64_t left, std::uint64_t right) {
    if (width >= 16) {
        // Moves of sizes known here, not copies of a length only known when they run.
        std::memcpy(row, &left, sizeof left);
        std::memcpy(row + 8, &right, sizeof right);
        std::uint8_t* at = row + 16;
        std::uint8_t* const end = row + width;
        for (; at + 16 <= end; at += 16) std::memset(at, 0, 16);
        if (at < end) std::memset(at, 0, static_cast<std::size_t>(end - at));
        return;
    }
    std::memcpy(row, &left, static_cast<std::size_t>(std::min(width, 8)));
    if (width <= 8) return;
    std::memcpy(row + 8, &right, static_cast<std::size_t>(std::min(width - 8, 8)));
    if (width > 16) std::memset(row + 16, 0, static_cast<std::size_t>(width - 16));
}

// The rows of layered tables in kLayers layers, drawn in order: a pixel no earlier layer shows
// takes the layer's colour; one that an earlier layer shows ORs the colour on when the layer's
// colour byte carries the OR bit, and keeps its colour otherwise. The count known, every row's
// words stay in registers. Line colour bytes follow the patterns (lineColours), or
// each layer has the colour byte of layerColours on every line.
template <std::size_t kLayers>
void LayerRows(const TableValue* t, std::size_t rows, std::size_t patterns, std::size_t right,
               bool lineColours, const std::array<TableValue, kMostLayers>& layerColours, int width,
               std::uint8_t* pixels) {
    for (std::size_t r = 0; r < rows; ++r) {
        std::uint64_t words[2] = {0, 0};
        std::uint64_t shown[2] = {0, 0};
        for (std::size_t j = 0; j < kLayers; ++j) {
            const TableValue colourByte =
                lineColours ? t[kLayers * patterns + j * rows + r] : layerColours[j];
            const std::uint64_t colour = Colour(colourByte);
            // A pixel no earlier layer shows takes the colour; one that one shows ORs it on where
            // the OR bit is set. The two never share a byte, so one product makes both.
            const bool ors = (colourByte & 0x40u) != 0;
            const TableValue bits[2] = {t[j * patterns + r], t[j * patterns + right + r]};
            for (std::size_t h = 0; h < 2; ++h) {
                const std::uint64_t set = Expanded(bits[h]);
                words[h] |= (set & (ors ? ~std::uint64_t{0} : ~shown[h])) * colour;
                shown[h] |= set;
            }
        }
        StoreRow(pixels + r * static_cast<std::size_t>(width), width, words[0], words[1]);
    }
}

// A sprite set: every entry of the sprite table draws its pattern at its place. Within a piece,
// whose sprites follow each other at one place, a later sprite's bit ORs its colour onto an
// earlier one's where its colour byte carries the OR bit and is hidden by it otherwise; pieces
// never overlap.
void DecodeSpriteSet(const GeneratedTables& tables, int cel, int width, int height,
                     std::uint8_t* pixels) {
    std::memset(pixels, 0, static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const std::size_t roles = tables.shapes.size();
    const std::span<const TableValue> patterns = tables.Table(cel, 0);
    const std::span<const TableValue> colours = tables.Table(cel, roles == 3 ? 1 : 0);
    const std::span<const TableValue> entries = tables.Table(cel, roles - 1);
    const int side = tables.pieces;
    const int halves = side == 16 ? 2 : 1;
    // Per line and 8-pixel half of the piece, the pixels an earlier sprite of it shows (1 in a
    // pixel's byte).
    std::array<std::uint64_t, 2 * 16> shown{};
    // A piece's sprites, one a layer; a place with more (from tables not made here) is drawn
    // sprite by sprite.
    std::array<PieceSprite, kMostLayers> whole{};
    const auto atPlace = [&entries](std::size_t e) {
        return e + 4 <= entries.size() && entries[e] != 0xD0;
    };
    for (std::size_t run = 0; atPlace(run);) {
        // The run of sprites at one place: a piece.
        std::size_t next = run + 4;
        while (atPlace(next) && entries[next] == entries[run] &&
               entries[next + 1] == entries[run + 1]) {
            next += 4;
        }
        const int y0 = entries[run];
        const int x0 = entries[run + 1];
        // A piece of 16 x 16 inside the cel whose tables hold all its bytes, in one go where the
        // processor can.
        bool drawn = false;
        const std::size_t sprites = (next - run) / 4;
        if (side == 16 && x0 + 16 <= width && y0 + 16 <= height && sprites <= whole.size()) {
            std::size_t held = 0;
            for (std::size_t e = run; e < next; e += 4, ++held) {
                const std::size_t pattern = std::size_t{entries[e + 2]} * 8;
                const std::size_t lines = e / 4 * 16;
                if (pattern + 32 > patterns.size() || (roles == 3 && lines + 16 > colours.size())) {
                    break;
                }
                whole[held] = {patterns.data() + pattern,
                               roles == 3 ? colours.data() + lines : nullptr, entries[e + 3]};
            }
            drawn = held == sprites &&
                    DrawPieceAvx512(pixels + static_cast<std::ptrdiff_t>(y0) * width + x0, width,
                                    whole.data(), sprites);
        }
        if (drawn) {
            run = next;
            continue;
        }
        shown.fill(0);
        for (std::size_t e = run; e < next; e += 4) {
            const std::size_t pattern = std::size_t{entries[e + 2]} * 8;
            const std::size_t sprite = e / 4;
            for (int y = 0; y < side && y0 + y < height; ++y) {
                const TableValue colour = roles == 3
                                              ? colours[sprite * static_cast<std::size_t>(side) +
                                                        static_cast<std::size_t>(y)]
                                              : entries[e + 3];
                const std::uint64_t paint = Colour(colour);
                const bool ors = (colour & 0x40u) != 0;
                for (int h = 0; h < halves; ++h) {
                    const std::size_t at = pattern + static_cast<std::size_t>(y + 16 * h);
                    const int left = x0 + 8 * h;
                    const int count = std::min(8, width - left);
                    if (at >= patterns.size() || count <= 0) continue;
                    const std::uint64_t bits = Expanded(patterns[at]);
                    std::uint64_t& earlier = shown[static_cast<std::size_t>(2 * y + h)];
                    std::uint8_t* to = pixels + static_cast<std::ptrdiff_t>(y0 + y) * width + left;
                    // A pixel no earlier sprite shows takes the colour; one it shows ORs it on.
                    const std::uint64_t fresh = bits & ~earlier;
                    const auto paintOn = [&](std::uint64_t word) {
                        word = (word & ~(fresh * 0xFF)) | fresh * paint;
                        return ors ? word | (bits & earlier) * paint : word;
                    };
                    std::uint64_t word = 0;
                    if (count == 8) {
                        // A whole half in one move each way, not a copy of a length only known
                        // here.
                        std::memcpy(&word, to, sizeof word);
                        word = paintOn(word);
                        std::memcpy(to, &word, sizeof word);
                    } else {
                        std::memcpy(&word, to, static_cast<std::size_t>(count));
                        word = paintOn(word);
                        std::memcpy(to, &word, static_cast<std::size_t>(count));
                    }
                    earlier |= bits;
                }
            }
        }
        run = next;
    }
}

}  // namespace

bool TablesHoldColours(const GeneratedTables& tables) {
    switch (tables.kind) {
        case GeneratorKind::kSprite:
            return tables.shapes.size() > 1;
        case GeneratorKind::kSpriteLayersNoColor:
            return !tables.layerColours.empty();
        case GeneratorKind::kSpriteSet:
            return tables.layers >= 2 || tables.shapes.size() == 3;
        case GeneratorKind::kSpriteLayers:
        case GeneratorKind::kChr:
            return true;
    }
    return true;
}

void DecodeCel(const GeneratedTables& tables, int cel, int width, int height, UnheldColours colours,
               std::uint8_t* pixels) {
    if (tables.kind == GeneratorKind::kSpriteSet) {
        DecodeSpriteSet(tables, cel, width, height, pixels);
        return;
    }
    const auto rows = static_cast<std::size_t>(height);
    const std::size_t patterns = rows * (width > 8 ? 2 : 1);
    const TableValue* t = tables.Cel(cel).data();
    // Where the right column's pattern bytes start: after the left column's rows.
    const std::size_t right = width > 8 ? rows : 0;
    // Layers without colour data: each its cel's colour, or the given ones; the OR bit on every
    // layer after the first, though such layers never share a pixel.
    const int layers = std::max(tables.layers, 2);
    std::array<TableValue, kMostLayers> layerColours = {
        static_cast<TableValue>(colours.first), static_cast<TableValue>(colours.second | 0x40),
        0x40, 0x40};
    if (tables.kind == GeneratorKind::kSpriteLayersNoColor && !tables.layerColours.empty()) {
        for (std::size_t j = 0; j < static_cast<std::size_t>(layers); ++j) {
            layerColours[j] = static_cast<TableValue>(
                tables.layerColours[static_cast<std::size_t>(cel * layers) + j] |
                (j == 0 ? 0u : 0x40u));
        }
    }
    if (tables.kind == GeneratorKind::kSpriteLayers ||
        tables.kind == GeneratorKind::kSpriteLayersNoColor) {
        const bool lineColours = tables.kind == GeneratorKind::kSpriteLayers;
        switch (layers) {
            case 2:
                LayerRows<2>(t, rows, patterns, right, lineColours, layerColours, width, pixels);
                return;
            case 3:
                LayerRows<3>(t, rows, patterns, right, lineColours, layerColours, width, pixels);
                return;
            default:
                LayerRows<4>(t, rows, patterns, right, lineColours, layerColours, width, pixels);
                return;
        }
    }
    // A single-layer sprite narrower than 8 pixels has its bits at the right of the byte.
    const int narrowShift = width < 8 ? 8 - width : 0;
    const bool lineColours = TablesHoldColours(tables);
    for (std::size_t r = 0; r < rows; ++r) {
        std::uint64_t leftWord = 0;
        std::uint64_t rightWord = 0;
        switch (tables.kind) {
            case GeneratorKind::kSprite: {
                const std::uint64_t colour = lineColours
                                                 ? Colour(t[patterns + r])
                                                 : Colour(static_cast<TableValue>(colours.first));
                leftWord = Expanded(static_cast<TableValue>(t[r] << narrowShift)) * colour;
                rightWord = Expanded(t[right + r]) * colour;
                break;
            }
            case GeneratorKind::kChr:
                leftWord = Character(t[r], t[patterns + r]);
                rightWord = Character(t[right + r], t[patterns + right + r]);
                break;
            case GeneratorKind::kSpriteLayers:
            case GeneratorKind::kSpriteLayersNoColor:
            case GeneratorKind::kSpriteSet:
                break;
        }
        StoreRow(pixels + r * static_cast<std::size_t>(width), width, leftWord, rightWord);
    }
}

int FirstDrawnColour(const std::uint8_t* cel, int width, int height) {
    const std::uint8_t* end = cel + static_cast<std::ptrdiff_t>(width) * height;
    const std::uint8_t* drawn = std::find_if(cel, end, [](std::uint8_t p) { return p != 0; });
    return drawn == end ? 0 : *drawn;
}

void MarkCel(const std::uint8_t* drawn, const std::uint8_t* shown, int width, int height,
             GeneratorKind kind, bool holdsColours, std::vector<RowMark>& marks, int pieces) {
    const int segment = kind == GeneratorKind::kChr ? 8 : pieces > 0 ? pieces : width;
    for (int r = 0; r < height; ++r) {
        const std::uint8_t* d = drawn + static_cast<std::ptrdiff_t>(r) * width;
        const std::uint8_t* s = shown + static_cast<std::ptrdiff_t>(r) * width;
        for (int x0 = 0; x0 < width; x0 += segment) {
            const int count = std::min(segment, width - x0);
            const bool differs =
                holdsColours ? std::memcmp(d + x0, s + x0, static_cast<std::size_t>(count)) != 0
                             : !std::equal(d + x0, d + x0 + count, s + x0,
                                           [](std::uint8_t a, std::uint8_t b) {
                                               return (a != 0) == (b != 0);
                                           });
            if (differs) marks.push_back({r, x0});
        }
    }
}

void ChipCel::Show(const CapturedDocument& doc, int cel, const GeneratorOptions& given) {
    // The layers of the whole document, not of the cel alone.
    const GeneratorOptions options = WithLayersChosen(doc, given);
    const int width = width_ = doc.width;
    const int height = height_ = doc.height;
    const std::uint8_t* drawn = drawn_ = CelPixels(doc, width, height, cel);
    // The cel alone, as a document of one cel: its pixels follow a header's place.
    const CapturedDocument one{drawn - kHeaderSize, width, height, 1};
    GenerateTables(one, options, tables_);
    shown_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const int first = FirstDrawnColour(drawn, width, height);
    DecodeCel(tables_, 0, width, height, {first, first}, shown_.data());
    marks_.clear();
    MarkCel(drawn, shown_.data(), width, height, tables_.kind, TablesHoldColours(tables_), marks_,
            tables_.pieces);
}

std::vector<CelRow> RowsNotAsDrawn(const CapturedDocument& doc, const GeneratorOptions& given) {
    // The layers of the whole document, not of each cel alone.
    const GeneratorOptions options = WithLayersChosen(doc, given);
    std::vector<CelRow> rows;
    ChipCel chip;
    for (int cel = 0; cel < doc.celCount; ++cel) {
        chip.Show(doc, cel, options);
        for (const RowMark& mark : chip.Marks()) {
            if (rows.empty() || rows.back() != CelRow{cel, mark.row})
                rows.push_back({cel, mark.row});
        }
    }
    return rows;
}
