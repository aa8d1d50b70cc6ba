// Build-time tool: draws one cel of a sprite file as the editor's PNG export does (every pixel a
// 2 x 2 block of its colour from color.bmp) and writes it as a PNG file. With SIZE, every pixel is
// a whole block of SIZE / width pixels instead, so that the picture is SIZE x SIZE; the sprite
// must be square and SIZE a whole multiple of its side. The desktop icons are examples/ship.dat
// made this way.
//
//   spritehex_icon_maker SPRITE.dat COLOR.bmp OUTPUT.png [SIZE]

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "document/sprite_document.h"
#include "document/sprite_file.h"
#include "image/colour_strip.h"
#include "image/png_codec.h"

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr,
                     "usage: spritehex_icon_maker SPRITE.dat COLOR.bmp OUTPUT.png [SIZE]\n");
        return 2;
    }
    auto doc = std::make_unique<TSpriteDocument>();
    const Result<> loaded = LoadSpriteFile(*doc, argv[1]);
    if (!loaded.ok()) {
        std::fprintf(stderr, "spritehex_icon_maker: %s\n", loaded.message().c_str());
        return 1;
    }
    int scale = 2;
    if (argc == 5) {
        const int size = std::atoi(argv[4]);
        if (doc->Width() != doc->Height() || size <= 0 || size % doc->Width() != 0) {
            std::fprintf(stderr,
                         "spritehex_icon_maker: %s is %d x %d, not a square %s can divide\n",
                         argv[1], doc->Width(), doc->Height(), argv[4]);
            return 2;
        }
        scale = size / doc->Width();
    }
    const Result<RgbImage> strip = ReadColourStrip(argv[2], argv[2]);
    if (!strip) {
        std::fprintf(stderr, "spritehex_icon_maker: %s\n", strip.message().c_str());
        return 1;
    }
    const RgbImage picture =
        AssembleExportImage(*strip, doc->CurrentCelPixels(), doc->Width(), doc->Height(), scale);
    const Result<> written = WritePngFile(picture, argv[3], argv[3], kExportPngLevel);
    if (!written.ok()) {
        std::fprintf(stderr, "spritehex_icon_maker: %s\n", written.message().c_str());
        return 1;
    }
    return 0;
}
