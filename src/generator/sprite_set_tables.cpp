// Sprite sets: every cel cut into pieces of pieces x pieces pixels, left to right, then top to
// bottom, pixels past the cel taken as 0. Each piece with a drawn pixel becomes a hardware sprite
// per layer, split as a cel of that size is split by the sprite tables. Per cel: the patterns of
// every sprite in the chip's order, their colour tables (with colour data), then the sprite table.

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "generator/generators.h"
#include "generator/layer_basis.h"
#include "generator/piece_row_split.h"
#include "generator/pixel_words.h"
#include "generator/row_split.h"
#include "generator/two_layer_colours.h"

namespace {

using namespace pixel_words;

constexpr int kLargestPiece = 16;
constexpr TableValue kEndOfSprites = 0xD0;

// Where a piece lies in its cel: its top-left pixel, the distance between its lines, and how many
// of its columns and lines the cel holds (fewer than its side at the right and bottom edges).
struct Piece {
    const std::uint8_t* first;
    int stride;
    int columns;
    int lines;
};

// A piece at the cel's edge into a side x side buffer, pixels past the cel as 0; false when nothing
// is drawn in it.
bool CutPiece(const Piece& piece, int side, std::uint8_t* out) {
    std::memset(out, 0, static_cast<std::size_t>(side * side));
    std::uint8_t drawn = 0;
    for (int y = 0; y < piece.lines; ++y) {
        const std::uint8_t* row = piece.first + static_cast<std::ptrdiff_t>(y) * piece.stride;
        std::memcpy(out + y * side, row, static_cast<std::size_t>(piece.columns));
        for (int x = 0; x < piece.columns; ++x) drawn |= row[x];
    }
    return drawn != 0;
}

// The tables of one cel as they are made: every sprite's pattern and colour bytes, and its entry.
class CelSprites {
  public:
    void Start(int side) {
        side_ = side;
        patternBytes_ = side == 16 ? 32 : 8;
        // Every byte of a sprite is written before it is added: the room needs no clearing.
        patterns_.resize(kMostSprites * static_cast<std::size_t>(patternBytes_));
        colours_.resize(kMostSprites * static_cast<std::size_t>(side));
        count_ = 0;
    }
    // Room for the pattern bytes (left column's rows, then the right column's) and the colour
    // bytes, one per line, of the next sprite, or with layer 1 of the one after it.
    TableValue* Pattern(int layer = 0) {
        return patterns_.data() + (Count() + Size(layer)) * Size(patternBytes_);
    }
    TableValue* Colours(int layer = 0) {
        return colours_.data() + (Count() + Size(layer)) * Size(side_);
    }
    // Ends the sprite whose bytes were just written.
    void Add(int x0, int y0, TableValue colour) {
        const std::size_t units = Size(patternBytes_ / 8);
        TableValue* entry = entries_.data() + 4 * count_;
        entry[0] = static_cast<TableValue>(y0);
        entry[1] = static_cast<TableValue>(x0);
        entry[2] = static_cast<TableValue>(Count() * units);
        entry[3] = colour;
        ++count_;
    }
    void Put(GeneratedTables& out, bool colorData) {
        out.AddTable(std::span(patterns_).first(Count() * Size(patternBytes_)));
        if (colorData) out.AddTable(std::span(colours_).first(Count() * Size(side_)));
        entries_[4 * count_] = kEndOfSprites;
        out.AddTable(std::span(entries_).first(4 * count_ + 1));
    }

  private:
    // 64 pieces of 8 x 8 in a cel of 64 x 64, four layers each.
    static constexpr std::size_t kMostSprites = 64 * kMostLayers;
    static std::size_t Size(int n) { return static_cast<std::size_t>(n); }
    std::size_t Count() const { return count_; }
    int side_ = 16;
    int patternBytes_ = 32;
    std::vector<TableValue> patterns_;
    std::vector<TableValue> colours_;
    // Four values a sprite and the end mark.
    std::array<TableValue, 4 * kMostSprites + 1> entries_{};
    std::size_t count_ = 0;
};

// One layer straight from the cel's lines, sixteen pixels at a time: a bit per drawn pixel, each
// line's first drawn colour. The bits of eight lines turn into pattern bytes together. False when
// nothing is drawn in the piece. A whole piece (kWhole) has all its lines and columns in the cel.
template <int kSide, bool kWhole>
bool OneLayerOf(const Piece& piece, CelSprites& sprites) {
    TableValue* pattern = sprites.Pattern();
    TableValue* colours = sprites.Colours();
    const int columns = kWhole ? kSide : piece.columns;
    unsigned drawn = 0;
    for (int r0 = 0; r0 < kSide; r0 += 8) {
        // Lane i: line r0 + i's bits, its first pixel in bit 0; 0 past the piece's lines.
        PixelBits bits{};
        // Unrolled, so that each line's bits go straight into their lane, not through memory.
#pragma GCC unroll 8
        for (int i = 0; i < 8; ++i) {
            const int r = r0 + i;
            if (!kWhole && r >= piece.lines) {
                colours[r] = 0;
                continue;
            }
            const std::uint8_t* row = piece.first + static_cast<std::ptrdiff_t>(r) * piece.stride;
            const unsigned lineBits = DrawnBits(LoadLanes(row, columns));
            bits[i] = static_cast<std::uint16_t>(lineBits);
            // A line with nothing drawn reads its first pixel, which is 0.
            colours[r] = row[std::countr_zero(lineBits) & 15];
            drawn |= lineBits;
        }
        const PixelBits bytes = PatternBytes(bits);
        StoreEight(pattern + r0, bytes & 0xFF);
        if (kSide == 16) StoreEight(pattern + 16 + r0, bytes >> 8);
    }
    return drawn != 0;
}

bool OneLayer(const Piece& piece, int side, CelSprites& sprites) {
    const bool whole = piece.columns == side && piece.lines == side;
    if (side == 16) {
        return whole ? OneLayerOf<16, true>(piece, sprites) : OneLayerOf<16, false>(piece, sprites);
    }
    return whole ? OneLayerOf<8, true>(piece, sprites) : OneLayerOf<8, false>(piece, sprites);
}

// The first colour byte that is not 0, or 0.
TableValue FirstColour(const TableValue* colours, int count) {
    const TableValue* end = colours + count;
    const TableValue* found = std::find_if(colours, end, [](TableValue c) { return c != 0; });
    return found == end ? TableValue{0} : *found;
}

// Layers split by the piece's first colours, one each, as a cel without colour data is split;
// the colour bytes hold the layer's colour on every line. False when a further colour is left
// out.
bool PieceLayers(const std::uint8_t* piece, int side, int layers, CelSprites& sprites,
                 std::array<TableValue, kMostLayers>& layerColours) {
    const LayerColours colours = CollectColours(piece, side * side, layers);
    for (int j = 0; j < layers; ++j) {
        const auto colour = static_cast<std::uint8_t>(colours.slots[j]);
        layerColours[static_cast<std::size_t>(j)] = colour;
        TableValue* pattern = sprites.Pattern(j);
        for (int r = 0; r < side; ++r) {
            const Lanes lanes = LoadLanes(piece + r * side, side);
            const auto bits = (lanes != 0) & (lanes == colour);
            pattern[r] = static_cast<TableValue>(PatternByte(HalfFlags(bits, 0)));
            if (side == 16)
                pattern[16 + r] = static_cast<TableValue>(PatternByte(HalfFlags(bits, 1)));
        }
        std::fill_n(sprites.Colours(j), side, colour);
    }
    return !colours.dropped;
}

}  // namespace

void GenerateSpriteSet(const CapturedDocument& doc, const GeneratorOptions& options,
                       GeneratedTables& out) {
    const int side = options.pieces == 8 ? 8 : kLargestPiece;
    const bool colorData = options.colorData;
    if (colorData) {
        out.ResetVarying(GeneratorKind::kSpriteSet,
                         {TableRole::kPattern, TableRole::kColour, TableRole::kSprites},
                         doc.celCount);
    } else {
        out.ResetVarying(GeneratorKind::kSpriteSet, {TableRole::kPattern, TableRole::kSprites},
                         doc.celCount);
    }
    out.pieces = side;
    const int layers = std::clamp(options.layers, 1, kMostLayers);
    out.layers = layers;
    std::array<std::uint8_t, kLargestPiece * kLargestPiece> cut{};
    CelSprites sprites;
    // Rows of pieces split whole where the processor can.
    const bool rowsAtOnce = side == kLargestPiece && (layers == 1 || (colorData && layers == 2));
    for (int cel = 0; cel < out.celCount; ++cel) {
        const std::uint8_t* pixels = CelPixels(doc, doc.width, doc.height, cel);
        sprites.Start(side);
        for (int y0 = 0; y0 < doc.height; y0 += side) {
            if (rowsAtOnce) {
                PieceRow row;
                const std::uint8_t* first = pixels + static_cast<std::ptrdiff_t>(y0) * doc.width;
                const int lines = std::min(side, doc.height - y0);
                const bool done =
                    layers == 1 ? PieceRowInOneLayer(first, doc.width, lines, sprites.Pattern(),
                                                     colorData ? sprites.Colours() : nullptr, row)
                                : SplitPieceRow(first, doc.width, lines, sprites.Pattern(),
                                                sprites.Colours(), row);
                if (done) {
                    for (int x = 0; x * side < doc.width; ++x) {
                        if ((row.drawn >> x & 1) == 0) continue;
                        // Each layer's entry takes its first line's colour byte; without colour
                        // data, a single layer's takes the piece's first drawn colour.
                        for (int j = 0; j < layers; ++j) {
                            sprites.Add(x * side, y0,
                                        colorData ? sprites.Colours()[0]
                                                  : row.firstColours[static_cast<std::size_t>(x)]);
                        }
                    }
                    if (row.lastCode != kNoError) out.resultCode = row.lastCode;
                    continue;
                }
            }
            for (int x0 = 0; x0 < doc.width; x0 += side) {
                const Piece piece = {pixels + static_cast<std::ptrdiff_t>(y0) * doc.width + x0,
                                     doc.width, std::min(side, doc.width - x0),
                                     std::min(side, doc.height - y0)};
                if (layers == 1) {
                    if (!OneLayer(piece, side, sprites)) continue;
                    // Without colour data the sprite's colour is the piece's first drawn colour.
                    sprites.Add(
                        x0, y0,
                        colorData ? sprites.Colours()[0] : FirstColour(sprites.Colours(), side));
                    continue;
                }
                // A whole piece is split where it lies; one at the cel's edge from a copy.
                const bool whole = piece.columns == side && piece.lines == side;
                const std::uint8_t* first = piece.first;
                int stride = piece.stride;
                if (!whole) {
                    if (!CutPiece(piece, side, cut.data())) continue;
                    first = cut.data();
                    stride = side;
                }
                // Each layer's entry takes its first line's colour byte.
                std::array<TableValue, kMostLayers> entryColours{};
                if (colorData && layers == 2) {
                    const LayerRows rows = {sprites.Pattern(0), sprites.Pattern(1),
                                            sprites.Colours(0), sprites.Colours(1)};
                    const RowBreaches breaches = SplitRows(first, side, stride, side, rows);
                    // A line's first colour byte is its least colour: 0 only on empty lines.
                    if (FirstColour(rows.colour1, side) == 0) continue;
                    if (breaches.lastCode != kNoError) out.resultCode = breaches.lastCode;
                } else if (colorData) {
                    ManyLayerRows rows{};
                    for (int j = 0; j < layers; ++j) {
                        rows.patterns[static_cast<std::size_t>(j)] = sprites.Pattern(j);
                        rows.colours[static_cast<std::size_t>(j)] = sprites.Colours(j);
                    }
                    const bool fits = SplitRowsInLayers(first, side, stride, side, layers, rows);
                    if (FirstColour(rows.colours[0], side) == 0) continue;
                    if (!fits) out.resultCode = kTooManyColours;
                } else {
                    if (whole && !CutPiece(piece, side, cut.data())) continue;
                    if (!PieceLayers(cut.data(), side, layers, sprites, entryColours)) {
                        out.resultCode = kTooManyColours;
                    }
                }
                for (int j = 0; colorData && j < layers; ++j) {
                    entryColours[static_cast<std::size_t>(j)] = sprites.Colours(j)[0];
                }
                for (int j = 0; j < layers; ++j) {
                    sprites.Add(x0, y0, entryColours[static_cast<std::size_t>(j)]);
                }
            }
        }
        sprites.Put(out, colorData);
    }
}
