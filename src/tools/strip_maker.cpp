// Build-time tool: writes pal.bmp and color.bmp from the palette table into the directory given
// as its only argument, as 24-bit BMP pictures through the image module.

#include <cstdio>
#include <string>

#include "image/bmp_file.h"
#include "tools/palette_table.h"

namespace {

template <typename PixelAt>
bool WriteStrip(const std::string& path, int width, int height, PixelAt pixelAt) {
    RgbImage strip(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const ChipRgb c = pixelAt(x, y);
            strip.Set(x, y, Rgb(c.r, c.g, c.b));
        }
    }
    const Result<> written = WriteBmpFile(strip, path, path);
    if (!written) std::fprintf(stderr, "strip_maker: %s\n", written.message().c_str());
    return written.ok();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: strip_maker OUTPUT_DIRECTORY\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const bool pal = WriteStrip(dir + "pal.bmp", 16 * kZoom, kZoom, [](int x, int y) {
        return PaletteSwatchPixel(x / kZoom, x % kZoom, y);
    });
    const bool colour = WriteStrip(dir + "color.bmp", 16 * kColourSwatch, kColourSwatch,
                                   [](int x, int) { return ColourStripPixel(x / kColourSwatch); });
    return pal && colour ? 0 : 1;
}
