#pragma once
// Tables back into pixels, as the video chip shows them: for every kind of tables, a cel of
// width x height colour indices. Where the tables leave a choice to us (cels narrower than 8
// pixels, widths 9 to 15) the pixels are read where our generators put them, so decoding the
// tables of a cel gives the cel back wherever the tables can show it.
//
// - single-layer sprites: a set bit shows the line's colour byte, or without colour data the
//   colour given for the cel;
// - two layers: a bit of layer 1 shows its colour, of layer 2 its colour, of both colour1 OR
//   colour2 when layer 2's colour byte carries the OR bit (0x40), else layer 1's; without colour
//   data the layers take the cel's two colours (GeneratedTables::layerColours) or the given ones;
// - characters: bit 1 the segment's foreground (the colour byte's high nibble), bit 0 its
//   background;
// - sprite sets: each entry of a cel's sprite table draws its pattern at its place, in the colours
//   of its colour table (with colour data) or of the entry; the sprites of a piece lie on each
//   other as two layers do;
// - a pixel that no pattern byte covers (column 16 on, but in sprite sets) shows colour 0.
// A colour byte's low nibble is the colour; the bits above it are the chip's flags.

#include <cstdint>
#include <vector>

#include "generator/captured_document.h"
#include "generator/options.h"
#include "generator/tables.h"

// The colours of set bits where the tables hold none: single-layer sprites without colour data
// take first; two layers without layer colours take first and second.
struct UnheldColours {
    int first = 15;
    int second = 15;
};

// Decodes cel `cel` of the tables into width x height pixels, row by row from pixels. The tables
// must have the layout of a cel of this size.
void DecodeCel(const GeneratedTables& tables, int cel, int width, int height, UnheldColours colours,
               std::uint8_t* pixels);

// Whether the tables say what colour each pixel shows; single-layer sprite tables without colour
// data hold the pattern bits alone (in sprite sets, with the colour of each piece's first drawn
// pixel, which is not every pixel's).
bool TablesHoldColours(const GeneratedTables& tables);

// The colour of a cel's first drawn pixel, row by row: the one colour of a single-layer sprite
// without colour data, as the sprite attribute table would hold it. 0 for an empty cel.
int FirstDrawnColour(const std::uint8_t* cel, int width, int height);

// A place the tables cannot show as drawn: the row, and the column where its mark goes (0 for
// sprites; the left edge of the 8-pixel segment for characters, of the piece for sprite sets).
struct RowMark {
    int row = 0;
    int column = 0;
    bool operator==(const RowMark&) const = default;
};

// The marks of a cel: where the shown pixels differ from the drawn ones, comparing colours when
// the tables hold them and drawn or not otherwise. Sprite rows get one mark; character rows one
// per segment that differs. In order of rows, then columns.
void MarkCel(const std::uint8_t* drawn, const std::uint8_t* shown, int width, int height,
             GeneratorKind kind, bool holdsColours, std::vector<RowMark>& marks);

// A cel as the chip shows it under a set of options: its tables, their pixels and the marks.
// Keeps its storage from one cel to the next.
class ChipCel {
  public:
    // Generates the tables of cel `cel` of doc under the options and decodes them.
    void Show(const CapturedDocument& doc, int cel, const GeneratorOptions& options);

    // The cel as drawn, as the chip shows it (width x height, row by row), and its size.
    const std::uint8_t* Drawn() const { return drawn_; }
    const std::uint8_t* Pixels() const { return shown_.data(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::vector<RowMark>& Marks() const { return marks_; }
    const GeneratedTables& Tables() const { return tables_; }

  private:
    const std::uint8_t* drawn_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    GeneratedTables tables_;
    std::vector<std::uint8_t> shown_;
    std::vector<RowMark> marks_;
};

// A row of a document that the tables cannot show as drawn.
struct CelRow {
    int cel = 0;
    int row = 0;
    bool operator==(const CelRow&) const = default;
};

// Every row of every cel that the tables of these options cannot show as drawn, in order.
std::vector<CelRow> RowsNotAsDrawn(const CapturedDocument& doc, const GeneratorOptions& options);
