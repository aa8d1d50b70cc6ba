#pragma once
// How each pixel line of a cel splits into the two layers of the two-layer tables with colour
// data: the line's colours in ascending order c0 < c1 < c2 (the first three to appear, when it
// holds more), layer 1 drawing c0 and c2, layer 2 drawing c1 and c2. Layer 1's colour byte is c0,
// layer 2's is c1 OR 0x40.

#include <array>
#include <cstdint>

#include "generator/result_codes.h"
#include "generator/tables.h"

// Where the tables of one cel go: row r's pattern bytes at [r] for pixels 0 to 7 and, when the
// cel is wider than 8 pixels, at [rows + r] for pixels 8 to 15; its colour bytes at [r].
struct LayerRows {
    TableValue* pattern1;
    TableValue* pattern2;
    TableValue* colour1;
    TableValue* colour2;
};

// What the lines of a cel break, in the order they are read: a line sets kTooManyColours when a
// fourth colour is left out, then kNotOrColour when c2 is there and is not c0 OR c1.
struct RowBreaches {
    int lastCode = kNoError;  // the code the last breaking line set
    bool dropped = false;     // some line left a colour out
};

// How lines are split. With SSSE3, lines of colour indices 0 to 15 are split by the mask of the
// colours they hold, made 16 pixels at a time (32 with AVX2, a whole line with AVX-512, which also
// chooses the colours of 32 lines at once): of up to three colours the order of appearance plays
// no part, since they are sorted anyway. A cel with a byte above 15, or a processor without SSSE3,
// takes the way that works everywhere: each line's colours collected in order of appearance.
enum class SplitWay { kInOrder, kMaskSsse3, kMaskAvx2, kAvx512 };

// Where the tables of one cel go with three or four layers: layer j's pattern bytes of row r at
// patterns[j][r] (and [rows + r] for pixels 8 to 15, when the cel is wider than 8), its colour
// bytes at colours[j][r].
struct ManyLayerRows {
    std::array<TableValue*, 4> patterns;
    std::array<TableValue*, 4> colours;
};

// The fastest way this processor has.
SplitWay FastestSplitWay();
bool ProcessorHas(SplitWay way);

// Splits rows lines of width pixels, each stride pixels after the one before (the lines of a cel
// with stride width, or a piece of one), the fastest way.
RowBreaches SplitRows(const std::uint8_t* pixels, int width, int stride, int rows,
                      const LayerRows& out);
// The same a given way, which the processor must have; the tests hold every way against kInOrder.
RowBreaches SplitRows(SplitWay way, const std::uint8_t* pixels, int width, int stride, int rows,
                      const LayerRows& out);

// Splits lines as SplitRows does into `layers` layers (3 or 4), each line by its colours as
// SplitColours splits them (pixel bytes above 15 taken as their low four bits). False when a line
// needs more layers than there are.
bool SplitRowsInLayers(const std::uint8_t* pixels, int width, int stride, int rows, int layers,
                       const ManyLayerRows& out);
// The same a given way.
bool SplitRowsInLayers(SplitWay way, const std::uint8_t* pixels, int width, int stride, int rows,
                       int layers, const ManyLayerRows& out);
