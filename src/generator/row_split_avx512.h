#pragma once
// Splitting lines with AVX-512, 32 lines at a time: each line of up to 64 pixels one register for
// its colour mask, the masks of 32 lines one register for the choice of colours, and the pattern
// bits of four lines from one bit shuffle. x86 only; elsewhere the processor has no such way.

#include <cstdint>

#include "generator/row_split.h"

// Whether the processor has the parts of AVX-512 this way uses.
bool ProcessorHasAvx512Split();

// As SplitRowsByMasks: false, with the tables partly written, when a pixel holds a byte above 15.
bool SplitRowsAvx512(const std::uint8_t* pixels, int width, int stride, int rows,
                     const LayerRows& out, RowBreaches& breaches);

// As SplitLayersByMasks.
bool SplitLayersAvx512(const std::uint8_t* pixels, int width, int stride, int rows, int layers,
                       const ManyLayerRows& out, bool& fits);
