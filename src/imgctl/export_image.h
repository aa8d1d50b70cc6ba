#pragma once
// The exported picture of a cel: every pixel becomes the 2 x 2 block of its colour from the
// colour strip (colour index v at x = v * 16, y = 0).

#include <cstdint>

#include <QImage>

inline constexpr int kColourSwatchWidth = 16;

// The colour strip must be at least 16 * 15 + 2 pixels wide and 2 high; a pixel byte above 15
// takes the block of its low four bits.
QImage AssembleExportImage(const QImage& colourStrip, const std::uint8_t* cel, int width,
                           int height);

// True when the strip is large enough for all sixteen colour indices.
bool ColourStripFits(const QImage& colourStrip);
