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
                             int height, int scale) {
    RgbImage out(scale * width, scale * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int v = cel[y * width + x] & 15;
            for (int dy = 0; dy < scale; ++dy) {
                const std::uint32_t* src = colourStrip.Row(dy * 2 / scale) + v * kColourSwatchWidth;
                std::uint32_t* dst = out.Row(scale * y + dy) + scale * x;
                for (int dx = 0; dx < scale; ++dx) dst[dx] = src[dx * 2 / scale];
            }
        }
    }
    return out;
}
