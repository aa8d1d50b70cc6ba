#pragma once
// Sprite sets of 16 x 16 pieces in two layers with colour data, or in one, a whole row of pieces
// at once. The
// lines of the four pieces across a cel lie side by side in the cel's lines, so a cel line is one
// 64-byte register of AVX-512: the colour masks of four piece lines come from its byte shuffles,
// and the pattern bits of both layers from one bit shuffle each. Every line is split as SplitRows
// splits it. Processors without AVX-512 (with its byte, bit-algorithm and conflict parts) split
// piece by piece.

#include <array>
#include <cstdint>

#include "generator/tables.h"

// What a row of pieces gave: bit i of drawn set for piece i (from the left) when it has a drawn
// pixel; the code of the last line that breaks the split, piece by piece, or kNoError.
struct PieceRow {
    unsigned drawn = 0;
    int lastCode = 0;
    // In one layer: the colour of each piece's first drawn pixel, line by line.
    std::array<TableValue, 4> firstColours{};
};

bool ProcessorSplitsPieceRows();

// Splits the row of 16 x 16 pieces whose top left pixel is first: lines lines (1 to 16) of width
// pixels (1 to 64), one after the other, pixels past them taken as 0. The tables of each drawn
// piece go to the next two sprites, layer 1 then layer 2: 32 pattern bytes each at patterns (the
// left column's lines, then the right column's) and 16 colour bytes each at colours. False, with
// the tables partly written, when a pixel holds a byte above 15 or the processor cannot.
bool SplitPieceRow(const std::uint8_t* first, int width, int lines, TableValue* patterns,
                   TableValue* colours, PieceRow& row);

// The same in one layer: a bit for every drawn pixel, whatever its byte, and (when colours is not
// null) each line's colour byte, that of its first drawn pixel (0 on a line with none). The tables
// of each drawn piece go to the next sprite. False when the processor cannot.
bool PieceRowInOneLayer(const std::uint8_t* first, int width, int lines, TableValue* patterns,
                        TableValue* colours, PieceRow& row);
