#pragma once
// The colour strip color.bmp and the exported picture of a cel: every pixel becomes the 2 x 2
// block of its colour from the strip (colour index v at x = v * 16, y = 0).

#include <cstdint>
#include <string>

#include "base/result.h"
#include "image/rgb_image.h"

inline constexpr int kColourSwatchWidth = 16;

// True when the strip is large enough for all sixteen colour indices: 16 * 15 + 2 pixels wide
// and 2 high.
bool ColourStripFits(const RgbImage& colourStrip);

// The colour strip at path, or why not: the failures of ReadBmpFile, or a strip too small for the
// sixteen colour swatches (kNotUsable).
Result<RgbImage> ReadColourStrip(const std::string& path, const std::string& shown);

// The strip must fit (ColourStripFits); a pixel byte above 15 takes the block of its low four
// bits. With another scale (1 or more) every pixel is a scale x scale block instead: the 2 x 2
// block enlarged pixel by pixel, as the desktop icons are made.
RgbImage AssembleExportImage(const RgbImage& colourStrip, const std::uint8_t* cel, int width,
                             int height, int scale = 2);
