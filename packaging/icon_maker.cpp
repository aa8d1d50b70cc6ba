// Build-time tool: draws one cel of a sprite file as the editor's PNG export does (every pixel a
// 2 x 2 block of its colour from color.bmp) and writes it as a PNG file. The desktop icon is
// examples/ship.dat made this way.
//
//   spritehex_icon_maker SPRITE.dat COLOR.bmp OUTPUT.png

#include <cstdio>
#include <memory>

#include <QImage>
#include <QString>

#include "document/sprite_document.h"
#include "document/sprite_file.h"
#include "imgctl/export_image.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: spritehex_icon_maker SPRITE.dat COLOR.bmp OUTPUT.png\n");
        return 2;
    }
    auto doc = std::make_unique<TSpriteDocument>();
    const FileResult loaded = LoadSpriteFile(*doc, argv[1]);
    if (!loaded.ok()) {
        std::fprintf(stderr, "spritehex_icon_maker: %s\n", loaded.message.c_str());
        return 1;
    }
    const QImage strip(QString::fromLocal8Bit(argv[2]));
    if (!ColourStripFits(strip)) {
        std::fprintf(stderr, "spritehex_icon_maker: %s is missing or too small\n", argv[2]);
        return 1;
    }
    const QImage picture =
        AssembleExportImage(strip, doc->CurrentCelPixels(), doc->Width(), doc->Height());
    if (!picture.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "spritehex_icon_maker: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
