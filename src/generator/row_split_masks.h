#pragma once
// The fast ways of splitting lines into two layers, by the mask of each line's colours: byte
// shuffles of SSSE3, and with AVX2 32 pixels at a time for the masks. x86 only; elsewhere the
// processor has neither way.

#include <cstdint>

#include "generator/row_split.h"

// Whether the processor has SSSE3 (avx2 false) or AVX2 (avx2 true).
bool ProcessorHasMaskWay(bool avx2);

// Splits the lines of a cel the fast way (the processor must have it) into out and breaches.
// False, with the tables partly written, when a pixel holds a byte above 15: such cels go the way
// of SplitRows(SplitWay::kInOrder, ...).
bool SplitRowsByMasks(bool avx2, const std::uint8_t* pixels, int width, int stride, int rows,
                      const LayerRows& out, RowBreaches& breaches);

// Splits lines into three or four layers the fast way, by the colour mask of each line. False
// (with the tables partly written) when a pixel holds a byte above 15; fits is false when a line
// needs more layers than there are.
bool SplitLayersByMasks(bool avx2, const std::uint8_t* pixels, int width, int stride, int rows,
                        int layers, const ManyLayerRows& out, bool& fits);
