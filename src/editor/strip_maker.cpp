// Build-time tool: writes pal.bmp and color.bmp from the palette table into the directory given
// as its only argument. Uncompressed 24-bit Windows bitmaps, rows bottom-up, each padded to four
// bytes.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "editor/palette_table.h"

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, unsigned v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

template <typename PixelAt>
bool WriteBmp(const std::string& path, int width, int height, PixelAt pixelAt) {
    const unsigned rowBytes = (static_cast<unsigned>(width) * 3 + 3) & ~3u;
    const unsigned imageBytes = rowBytes * static_cast<unsigned>(height);
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageBytes);  // file size
    Put32(out, 0);                // reserved
    Put32(out, 54);               // offset of the pixels
    Put32(out, 40);               // size of the info header
    Put32(out, static_cast<unsigned>(width));
    Put32(out, static_cast<unsigned>(height));  // positive: bottom-up rows
    Put16(out, 1);                              // planes
    Put16(out, 24);                             // bits per pixel
    Put32(out, 0);                              // no compression
    Put32(out, imageBytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixelAt(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        while (out.size() - rowStart < rowBytes) out.push_back(0);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "strip_maker: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: strip_maker OUTPUT_DIRECTORY\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const bool pal = WriteBmp(dir + "pal.bmp", 16 * kZoom, kZoom, [](int x, int y) {
        return PaletteSwatchPixel(x / kZoom, x % kZoom, y);
    });
    const bool colour = WriteBmp(dir + "color.bmp", 16 * kColourSwatch, kColourSwatch,
                                 [](int x, int) { return ColourStripPixel(x / kColourSwatch); });
    return pal && colour ? 0 : 1;
}
