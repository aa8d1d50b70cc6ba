#include "image/colour_strip.h"

#include "image/bmp_file.h"

bool ColourStripFits(const RgbImage& colourStrip) {
    return colourStrip.width >= 15 * kColourSwatchWidth + 2 && colourStrip.height >= 2;
}

Result<RgbImage> ReadColourStrip(const std::string& path, const std::string& shown) {
    Result<RgbImage> strip = ReadBmpFile(path, shown);
    if (!strip || ColourStripFits(*strip)) return strip;
    return Fail(Failure::kNotUsable,
                "Cannot use " + shown + ": it is " + std::to_string(strip->width) + " x " +
                    std::to_string(strip->height) + " pixels, smaller than the " +
                    std::to_string(15 * kColourSwatchWidth + 2) +
                    " x 2 pixels of 16 colour swatches.");
}

RgbImage AssembleExportImage(const RgbImage& colourStrip, const std::uint8_t* cel, int width,
                             int height) {
    RgbImage out(2 * width, 2 * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int v = cel[y * width + x] & 15;
            for (int dy = 0; dy < 2; ++dy) {
                const std::uint32_t* src = colourStrip.Row(dy) + v * kColourSwatchWidth;
                std::uint32_t* dst = out.Row(2 * y + dy) + 2 * x;
                dst[0] = src[0];
                dst[1] = src[1];
            }
        }
    }
    return out;
}
